// SPDX-License-Identifier: GPL-2.0-or-later
// The tray and the stacking of the real program on a desktop with a tray panel: hiding leaves
// the task bar, the icon brings the window back, a later start shows it, and Always On Top keeps
// it above another program's window, also around the Auto Save dialog. Without the panel (no
// tray), minimizing leaves the window on the task bar.
#include "e2e/desktop.h"
#include "harness/qtprinters.h"

#include <gtest/gtest.h>

namespace penwick::test {
namespace {

class TrayOnDesktop : public ProgramOnDesktop
{
protected:
    // The program's visible windows: its main window and (docked in the panel) its icon.
    QStringList visibleWindows() const
    {
        return output("xdotool",
            { "search", "--sync", "--onlyvisible", "--pid", QString::number(process->processId()) })
            .split(u'\n', Qt::SkipEmptyParts);
    }
    // The icon in the tray: the program's small visible window, once it has docked.
    QString trayIcon() const
    {
        for (int round = 0; round < 200; ++round) {
            for (const QString& id : visibleWindows()) {
                const QString size
                    = output("xdotool", { "getwindowgeometry", id }).section(u' ', -1);
                if (size.contains(u'x') && size.section(u'x', 0, 0).toInt() <= 64
                    && size.section(u'x', 1).toInt() <= 64)
                    return id;
            }
        }
        return {};
    }
    static void click(const QString& id, int button)
    {
        xdotool({ "mousemove", "--window", id, "4", "4", "click", QString::number(button) });
    }
};

TEST_F(TrayOnDesktop, HiddenInTheTrayAndBackByTheIconTheMenuOrALaterStart)
{
    store({ { "Startup", "True" } });
    launch();
    // Only the icon: no window on the screen or the task bar.
    const QString icon = trayIcon();
    ASSERT_FALSE(icon.isEmpty());
    EXPECT_EQ(visibleWindows(), QStringList { icon });

    // The icon brings it back normal; minimizing sends it back to the tray.
    click(icon, 1);
    const QString id = windowOf(*process);
    ASSERT_FALSE(id.isEmpty());
    ASSERT_TRUE(waitForTaskBar(id, true));
    EXPECT_TRUE(waitForState(id, "MAXIMIZED", false));
    xdotool({ "windowminimize", id });
    ASSERT_TRUE(waitForTaskBar(id, false));
    EXPECT_EQ(visibleWindows(), QStringList { icon });

    // Maximized, minimized, back by the icon: maximized again.
    click(icon, 1);
    ASSERT_TRUE(waitForTaskBar(id, true));
    xdotool({ "windowactivate", "--sync", id });
    ASSERT_TRUE(maximizeByTitleBar(id));
    xdotool({ "windowminimize", id });
    ASSERT_TRUE(waitForTaskBar(id, false));
    click(icon, 1);
    ASSERT_TRUE(waitForTaskBar(id, true));
    EXPECT_TRUE(waitForState(id, "MAXIMIZED_HORZ"));

    // Escape in the editor hides it; a later start shows it again, and ends by itself.
    xdotool({ "windowactivate", "--sync", id, "type", "--delay", "1", "kept in the tray" });
    xdotool({ "key", "Escape" });
    ASSERT_TRUE(waitForTaskBar(id, false));
    std::unique_ptr<QProcess> later(folder.start(nullptr, QStringLiteral("xcb")));
    ASSERT_TRUE(later->waitForFinished(30000));
    EXPECT_EQ(later->exitCode(), 0);
    ASSERT_TRUE(waitForTaskBar(id, true));

    // The tray menu's Exit ends the program, saving the note.
    click(icon, 3);
    for (int i = 0; i < 1000 && visibleWindows().size() < 3; ++i) { } // the menu is up
    xdotool({ "key", "x" });
    ASSERT_TRUE(process->waitForFinished(30000));
    EXPECT_EQ(process->exitCode(), 0);
    EXPECT_EQ(noteText(folder.notePath()), u"kept in the tray");
}

TEST_F(TrayOnDesktop, AlwaysOnTopAroundTheAutoSaveDialogAndADesktopWithoutATray)
{
    // Another program's window, made active over ours.
    ProgramFolder otherFolder { QStringLiteral(PENWICK_BINARY) };
    std::unique_ptr<QProcess> other(otherFolder.start(nullptr, QStringLiteral("xcb")));
    const QString otherId = windowOf(*other);
    store({ { "OnTop", "True" } });
    const QString id = start();
    ASSERT_FALSE(id.isEmpty() || otherId.isEmpty());
    const auto onTop = [&] {
        xdotool({ "windowactivate", "--sync", otherId });
        if (!waitForState(id, "_NET_WM_STATE_ABOVE"))
            return false;
        const QString stack = output("xprop", { "-root", "_NET_CLIENT_LIST_STACKING" });
        return stack.indexOf(hexId(id)) > stack.indexOf(hexId(otherId)); // bottom to top
    };
    EXPECT_TRUE(onTop());

    // The dialog is above while open; after it, the main window is on top again.
    xdotool({ "windowactivate", "--sync", id, "key", "alt+o", "a" });
    const QString dialog = windowOf(*process, "^Auto Save$");
    ASSERT_FALSE(dialog.isEmpty());
    ASSERT_TRUE(waitForTaskBar(dialog, true));
    EXPECT_TRUE(waitForState(dialog, "_NET_WM_STATE_ABOVE"));
    xdotool({ "windowactivate", "--sync", dialog, "key", "alt+F4" });
    ASSERT_TRUE(waitForTaskBar(dialog, false));
    EXPECT_TRUE(onTop());

    // No tray on the desktop: minimizing leaves the window on the task bar.
    runPanel(false);
    xdotool({ "windowminimize", id });
    ASSERT_TRUE(waitForState(id, "_NET_WM_STATE_HIDDEN"));
    EXPECT_TRUE(waitForTaskBar(id, true));
    runPanel(true);
    end(other.get());
}

} // namespace
} // namespace penwick::test
