// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's popup menu, opened with the real mouse.
#include "e2e/desktop.h"
#include "harness/qtprinters.h"
#include "platform/richtextbox.h"

#include <QFileSystemWatcher>
#include <QProcess>
#include <QRect>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace penwick::test {
namespace {

using PopupMenu = ProgramOnDesktop;

// A window's place and size as xdotool reports them.
QRect geometryOf(const QString& id)
{
    int values[4] = {};
    const char* names[4] = { "X=", "Y=", "WIDTH=", "HEIGHT=" };
    for (const QString& line : xdotool({ "getwindowgeometry", "--shell", id }).split(u'\n')) {
        for (int i = 0; i < 4; ++i) {
            if (line.startsWith(QLatin1String(names[i])))
                values[i] = line.section(u'=', 1).toInt();
        }
    }
    return { values[0], values[1], values[2], values[3] };
}

TEST_F(PopupMenu, RightPressOpensItAtThePointerAndItsItemsAct)
{
    const QString window = start();
    ASSERT_FALSE(window.isEmpty());
    const QString pid = QString::number(process->processId());
    // A menu of the program's is a window of its own with the program's name; the one that
    // opens is the one not there before.
    const auto windows = [&pid] {
        QProcess search; // finding none is no failure here
        search.start(QStringLiteral("xdotool"),
            { "search", "--onlyvisible", "--pid", pid, "--name", "^penwick$" });
        search.waitForFinished(60000);
        return QString::fromUtf8(search.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    };
    const auto openMenu = [&windows](const QStringList& before) {
        for (int tries = 0; tries < 500; ++tries) {
            for (const QString& id : windows()) {
                if (!before.contains(id))
                    return id;
            }
        }
        return QString();
    };
    // The menu bar's Edit menu, for its height: five items and two separators.
    const QStringList closed = windows();
    xdotool({ "key", "--clearmodifiers", "alt+e" });
    const QString edit = openMenu(closed);
    ASSERT_FALSE(edit.isEmpty());
    const int editHeight = geometryOf(edit).height();
    xdotool({ "key", "Escape", "Escape" });
    xdotool({ "type", "--delay", "1", "one two" });
    xdotool({ "key", "--clearmodifiers", "ctrl+a" });

    // A press with Ctrl held, in the middle of the note, away from the selected text.
    const QRect frame = geometryOf(window);
    const QPoint at = frame.topLeft() + QPoint(frame.width() / 2, frame.height() / 3);
    xdotool({ "mousemove", "--sync", QString::number(at.x()), QString::number(at.y()) });
    const QStringList before = windows();
    xdotool({ "keydown", "ctrl", "mousedown", "3", "keyup", "ctrl" });
    const QString popup = openMenu(before);
    ASSERT_FALSE(popup.isEmpty());
    xdotool({ "mouseup", "3" });
    const QRect menu = geometryOf(popup);
    EXPECT_LE((menu.topLeft() - at).manhattanLength(), 2) << menu.x() << ',' << menu.y();
    // Twelve items and six separators: more than twice the Edit menu.
    EXPECT_GT(menu.height(), 2 * editHeight);

    // Selec&tion, &Uppercase: the whole selection, untouched by the press, is upper-cased.
    xdotool({ "key", "t", "u" });
    QFileSystemWatcher watcher({ folder.path() });
    QSignalSpy changed(&watcher, &QFileSystemWatcher::directoryChanged);
    xdotool({ "key", "--clearmodifiers", "ctrl+s" });
    while (!QFile::exists(folder.notePath()) && changed.wait(5000)) { }
    closeThroughWindow(window);
    RichTextBox note;
    ASSERT_TRUE(note.LoadFile(folder.notePath()));
    EXPECT_EQ(note.Text(), u"ONE TWO");
}

} // namespace
} // namespace penwick::test
