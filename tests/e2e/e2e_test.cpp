// SPDX-License-Identifier: GPL-2.0-or-later
// The real program under a real window manager: typed into, closed through its window.
#include "e2e/desktop.h"
#include "harness/penwickprocess.h"
#include "harness/qtprinters.h"
#include "platform/richtextbox.h"

#include <QFileSystemWatcher>
#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace penwick::test {
namespace {

using EndToEnd = ProgramOnDesktop;

TEST_F(EndToEnd, TypedTextIsInTheNoteAfterClosing)
{
    const QString id = start();
    ASSERT_FALSE(id.isEmpty());
    xdotool({ "type", "--delay", "1", "--window", id, "Hello from the keyboard" });
    xdotool({ "key", "--window", id, "Return" });
    xdotool({ "type", "--delay", "1", "--window", id, "second line" });
    closeThroughWindow(id);

    RichTextBox note;
    ASSERT_TRUE(note.LoadFile(folder.notePath()));
    EXPECT_EQ(note.Text(), u"Hello from the keyboard\nsecond line");
    EXPECT_EQ(stored({ "Toolbar", "Width", "Height" }), u"True 6945 5610");
}

// A picture chosen in the real file dialog goes into the note, and the note exported as rich
// text through the real save dialog carries it.
TEST_F(EndToEnd, InsertedPictureIsInTheExport)
{
    const QString picture = folder.path() + QStringLiteral("/red.png");
    QImage red(30, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(picture));
    const QString exported = folder.path() + QStringLiteral("/exported.rtf");
    const QString id = start();
    ASSERT_FALSE(id.isEmpty());
    xdotool({ "type", "--delay", "1", "--window", id, "before " });
    const auto answer = [this](const char* title, const QString& path) {
        const QString dialog = xdotool({ "search", "--sync", "--all", "--onlyvisible", "--pid",
                                           QString::number(process->processId()), "--name", title })
                                   .section(u'\n', 0, 0);
        ASSERT_FALSE(dialog.isEmpty()) << title;
        xdotool({ "windowactivate", "--sync", dialog });
        xdotool({ "key", "ctrl+a" });
        xdotool({ "type", "--delay", "1", path });
        xdotool({ "key", "Return" });
    };
    xdotool({ "key", "--clearmodifiers", "ctrl+j" });
    answer("^Select an Image$", picture);
    xdotool({ "windowactivate", "--sync", id });
    QFileSystemWatcher watcher({ folder.path() });
    QSignalSpy changed(&watcher, &QFileSystemWatcher::directoryChanged);
    xdotool({ "key", "alt+f", "a", "r" });
    answer("^Save Document$", exported);
    while (!QFile::exists(exported) && changed.wait(5000)) { }
    closeThroughWindow(id);

    RichTextBox note;
    ASSERT_TRUE(note.LoadFile(exported));
    EXPECT_EQ(note.Text(), u"before \uFFFC");
}

} // namespace
} // namespace penwick::test
