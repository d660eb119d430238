// SPDX-License-Identifier: GPL-2.0-or-later
// The real program under a real window manager: typed into, closed through its window.
#include "e2e/desktop.h"
#include "harness/penwickprocess.h"
#include "harness/qtprinters.h"
#include "platform/richtextbox.h"

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

} // namespace
} // namespace penwick::test
