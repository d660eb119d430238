// SPDX-License-Identifier: GPL-2.0-or-later
// Keys pressed on the real keyboard of an X session: the font dialog and the menu bar's access
// keys behave as in any desktop program.
#include "e2e/desktop.h"
#include "harness/qtprinters.h"
#include "platform/richtextbox.h"

#include <QFileSystemWatcher>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace penwick::test {
namespace {

using Keys = ProgramOnDesktop;

TEST_F(Keys, FontDialogAndSharedAccessKeys)
{
    const QString window = start();
    ASSERT_FALSE(window.isEmpty());

    // Typing picks a face in the list; Enter takes it (and never opens the colour picker).
    xdotool({ "key", "--clearmodifiers", "ctrl+f" });
    const QString dialog
        = xdotool({ "search", "--sync", "--all", "--onlyvisible", "--pid",
                      QString::number(process->processId()), "--name", "^Choose Font$" })
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

    closeThroughWindow(window);
    RichTextBox note;
    ASSERT_TRUE(note.LoadFile(folder.notePath()));
    EXPECT_EQ(note.Text(), u"mono");
    note.setSelStart(0);
    note.setSelLength(4);
    EXPECT_EQ(note.SelFontName(), u"DejaVu Sans Mono");
}

} // namespace
} // namespace penwick::test
