// SPDX-License-Identifier: GPL-2.0-or-later
// The real program under a real window manager: typed into, its dialogs answered on the
// keyboard, closed through its window.
#include "e2e/desktop.h"
#include "harness/qtprinters.h"

#include <QFileSystemWatcher>
#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace penwick::test {
namespace {

using EndToEnd = ProgramOnDesktop;

// Find and Replace, opened by their keys: up from the end the last "two" is found and selected,
// Replace opens with it and replaces both.
TEST_F(EndToEnd, TypedTextFoundAndReplacedIsInTheNoteAfterClosing)
{
    const QString id = start();
    ASSERT_FALSE(id.isEmpty());
    xdotool({ "type", "--delay", "1", "--window", id, "one two one two" });
    xdotool({ "key", "--clearmodifiers", "ctrl+g" });
    ASSERT_FALSE(activate("^Find$").isEmpty());
    xdotool({ "type", "--delay", "20", "two" });
    xdotool({ "key", "--delay", "50", "alt+u", "Return", "Escape" });
    activate();
    xdotool({ "key", "--clearmodifiers", "ctrl+h" });
    ASSERT_FALSE(activate("^Replace$").isEmpty());
    xdotool({ "key", "alt+p", "type", "--delay", "20", "2" });
    xdotool({ "key", "alt+a" });
    ASSERT_FALSE(activate("^Penwick$").isEmpty()); // "2 occurrences replaced."
    xdotool({ "key", "Return" });
    activate("^Replace$");
    xdotool({ "key", "Escape" });
    closeThroughWindow(id);

    EXPECT_EQ(noteText(folder.notePath()), u"one 2 one 2");
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
        ASSERT_FALSE(activate(title).isEmpty()) << title;
        xdotool({ "key", "ctrl+a" });
        xdotool({ "type", "--delay", "1", path });
        xdotool({ "key", "Return" });
    };
    xdotool({ "key", "--clearmodifiers", "ctrl+j" });
    answer("^Select an Image$", picture);
    QFileSystemWatcher watcher({ folder.path() });
    QSignalSpy changed(&watcher, &QFileSystemWatcher::directoryChanged);
    xdotool({ "windowactivate", "--sync", id, "key", "alt+f", "a", "r" });
    answer("^Save Document$", exported);
    while (!QFile::exists(exported) && changed.wait(5000)) { }
    closeThroughWindow(id);
    EXPECT_EQ(noteText(exported), u"before \uFFFC");
}

} // namespace
} // namespace penwick::test
