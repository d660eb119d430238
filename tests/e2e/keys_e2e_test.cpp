// SPDX-License-Identifier: GPL-2.0-or-later
// Keys pressed on the real keyboard of an X session: the font dialog and the menu bar's access
// keys behave as in any desktop program.
#include "e2e/desktop.h"
#include "harness/penwickprocess.h"
#include "harness/qtprinters.h"
#include "platform/richtextbox.h"

#include <QFileSystemWatcher>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace penwick::test {
namespace {

TEST(KeysEndToEnd, FontDialogAndSharedAccessKeys)
{
    if (!Desktop::instance().ready())
        GTEST_SKIP() << Desktop::instance().why().toStdString();
    ProgramFolder folder(QStringLiteral(PENWICK_BINARY));
    std::unique_ptr<QProcess> process(folder.start(nullptr, QStringLiteral("xcb")));
    ASSERT_TRUE(process->waitForStarted(30000));
    const QString pid = QString::number(process->processId());
    const QString window = xdotool(
        { "search", "--sync", "--onlyvisible", "--pid", pid, "--name", "^Penwick 4\\.0$" })
                               .section(u'\n', 0, 0);
    ASSERT_FALSE(window.isEmpty());
    xdotool({ "windowactivate", "--sync", window });

    // Typing picks a face in the list; Enter takes it (and never opens the colour picker).
    xdotool({ "key", "--clearmodifiers", "ctrl+f" });
    const QString dialog
        = xdotool({ "search", "--sync", "--onlyvisible", "--pid", pid, "--name", "^Choose Font$" })
              .section(u'\n', 0, 0);
    ASSERT_FALSE(dialog.isEmpty());
    xdotool({ "windowactivate", "--sync", dialog });
    xdotool({ "type", "--delay", "20", "dejavu sans mono" });
    xdotool({ "key", "Return" });
    xdotool({ "windowactivate", "--sync", window });
    xdotool({ "type", "--delay", "1", "mono" });

    // Alt+F opens File every time, not File and Format by turns: the fourth one saves.
    QFileSystemWatcher watcher({ folder.path() });
    QSignalSpy changed(&watcher, &QFileSystemWatcher::directoryChanged);
    for (int i = 0; i < 3; ++i)
        xdotool({ "key", "alt+f", "Escape", "Escape" });
    xdotool({ "key", "alt+f", "Return" });
    while (!QFile::exists(folder.notePath()) && changed.wait(5000)) { }
    EXPECT_TRUE(QFile::exists(folder.notePath())) << "not saved";

    xdotool({ "key", "--clearmodifiers", "alt+F4" });
    ASSERT_TRUE(process->waitForFinished(5000));
    RichTextBox note;
    ASSERT_TRUE(note.LoadFile(folder.notePath()));
    EXPECT_EQ(note.Text(), u"mono");
    note.setSelStart(0);
    note.setSelLength(4);
    EXPECT_EQ(note.SelFontName(), u"DejaVu Sans Mono");
}

} // namespace
} // namespace penwick::test
