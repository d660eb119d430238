// SPDX-License-Identifier: GPL-2.0-or-later
// Find and Replace in the real program, typed on the keyboard of an X session.
#include "e2e/desktop.h"
#include "harness/qtprinters.h"
#include "platform/richtextbox.h"

#include <gtest/gtest.h>

namespace penwick::test {
namespace {

using Search = ProgramOnDesktop;

TEST_F(Search, FindAWordThenReplaceIt)
{
    const QString window = start();
    ASSERT_FALSE(window.isEmpty());
    // Waits for a window of the program with this title, and gives it the keyboard.
    const auto activate = [this](const char* title) {
        const QString id = xdotool({ "search", "--sync", "--all", "--onlyvisible", "--pid",
                                       QString::number(process->processId()), "--name", title })
                               .section(u'\n', 0, 0);
        if (!id.isEmpty())
            xdotool({ "windowactivate", "--sync", id });
        return !id.isEmpty();
    };
    xdotool({ "type", "--delay", "1", "--window", window, "one two one two" });

    // Up from the end, the last "two" is found and selected; Replace opens with it.
    xdotool({ "key", "--clearmodifiers", "ctrl+g" });
    ASSERT_TRUE(activate("^Find$"));
    xdotool({ "type", "--delay", "20", "two" });
    xdotool({ "key", "--delay", "50", "alt+u", "Return", "Escape" });
    ASSERT_TRUE(activate("^Penwick 4\\.0$"));
    xdotool({ "key", "--clearmodifiers", "ctrl+h" });
    ASSERT_TRUE(activate("^Replace$"));
    xdotool({ "key", "alt+p" });
    xdotool({ "type", "--delay", "20", "2" });
    xdotool({ "key", "alt+a" });
    ASSERT_TRUE(activate("^Penwick$")); // "2 occurrences replaced."
    xdotool({ "key", "Return" });
    ASSERT_TRUE(activate("^Replace$"));
    xdotool({ "key", "Escape" });
    ASSERT_TRUE(activate("^Penwick 4\\.0$"));
    closeThroughWindow(window);

    RichTextBox note;
    ASSERT_TRUE(note.LoadFile(folder.notePath()));
    EXPECT_EQ(note.Text(), u"one 2 one 2");
}

} // namespace
} // namespace penwick::test
