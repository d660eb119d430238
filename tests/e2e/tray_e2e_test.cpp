// SPDX-License-Identifier: GPL-2.0-or-later
// The tray and the stacking of the real program on a desktop with a tray panel: hiding leaves
// the task bar, the icon brings the window back, a later start shows it, and Always On Top keeps
// it above another program's window, also around the Auto Save dialog.
#include "e2e/desktop.h"
#include "harness/qtprinters.h"
#include "platform/richtextbox.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace penwick::test {
namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString hexId(const QString& id)
{
    return QStringLiteral("0x%1").arg(id.toULongLong(), 0, 16);
}

// The window's _NET_WM_STATE, as xprop gives it.
QString netState(const QString& id)
{
    return run(QStringLiteral("xprop"), { "-id", id, "_NET_WM_STATE" });
}

// The root window's list of managed windows, bottom to top when `stacking`.
QStringList clientList(bool stacking = false)
{
    const QString line = run(QStringLiteral("xprop"),
        { "-root", stacking ? "_NET_CLIENT_LIST_STACKING" : "_NET_CLIENT_LIST" });
    return line.section(u'#', 1).remove(u' ').trimmed().split(u',', Qt::SkipEmptyParts);
}

// Waits, watching the root window, until `id` is on the window manager's list (on the task bar)
// or off it.
bool waitForClientList(const QString& id, bool listed, int guardMilliseconds = 20000)
{
    QProcess spy;
    spy.start(QStringLiteral("xprop"), { "-root", "-spy", "_NET_CLIENT_LIST" });
    if (!spy.waitForStarted(10000))
        return false;
    bool done = false;
    while (!done && spy.waitForReadyRead(guardMilliseconds)) {
        const QStringList lines = QString::fromUtf8(spy.readAll()).split(u'\n');
        for (const QString& line : lines) {
            if (line.contains(QLatin1String("_NET_CLIENT_LIST")))
                done = line.contains(hexId(id)) == listed;
        }
    }
    spy.kill();
    spy.waitForFinished();
    return done;
}

class TrayOnDesktop : public ProgramOnDesktop
{
protected:
    // The program's visible windows: its main window and (docked in the panel) its icon.
    QStringList visibleWindows() const
    {
        return run(QStringLiteral("xdotool"),
            { "search", "--onlyvisible", "--pid", QString::number(process->processId()) })
            .split(u'\n', Qt::SkipEmptyParts);
    }
    // The icon in the tray: the program's small visible window. Waits for it to dock.
    QString trayIcon() const
    {
        xdotool({ "search", "--all", "--sync", "--onlyvisible", "--pid",
            QString::number(process->processId()) });
        for (int round = 0; round < 200; ++round) {
            for (const QString& id : visibleWindows()) {
                const QString size = run(QStringLiteral("xdotool"), { "getwindowgeometry", id });
                const auto m
                    = QRegularExpression(QStringLiteral("Geometry: (\\d+)x(\\d+)")).match(size);
                if (m.hasMatch() && m.captured(1).toInt() <= 64 && m.captured(2).toInt() <= 64)
                    return id;
            }
            xdotool({ "search", "--all", "--sync", "--onlyvisible", "--pid",
                QString::number(process->processId()) });
        }
        return {};
    }
    // The main window, once it is shown.
    QString mainWindow() const
    {
        return xdotool({ "search", "--all", "--sync", "--onlyvisible", "--pid",
                           QString::number(process->processId()), "--name", "^Penwick 4\\.0$" })
            .section(u'\n', 0, 0);
    }
    static void click(const QString& id, int button)
    {
        xdotool({ "mousemove", "--window", id, "4", "4", "click", QString::number(button) });
    }
    // Waits, watching the window, until its _NET_WM_STATE has `word` (or no longer has it).
    static bool waitForState(const QString& id, const char* word, bool present)
    {
        QProcess spy;
        spy.start(QStringLiteral("xprop"), { "-spy", "-id", id, "_NET_WM_STATE" });
        if (!spy.waitForStarted(10000))
            return false;
        bool done = false;
        while (!done && spy.waitForReadyRead(20000)) {
            for (const QString& line : QString::fromUtf8(spy.readAll()).split(u'\n'))
                if (line.contains(QLatin1String("_NET_WM_STATE")))
                    done = line.contains(QLatin1String(word)) == present;
        }
        spy.kill();
        spy.waitForFinished();
        return done;
    }
    // Maximizes the window with a double click on its title bar.
    static bool maximizeByTitleBar(const QString& id)
    {
        xdotool({ "mousemove", "--window", id, "200", "-8", "click", "--repeat", "2", "--delay",
            "100", "1" });
        return waitForState(id, "MAXIMIZED_HORZ", true);
    }
};

TEST_F(TrayOnDesktop, HiddenInTheTrayAndBackByTheIconTheMenuOrALaterStart)
{
    store({ { "Startup", "True" } });
    process.reset(folder.start(nullptr, QStringLiteral("xcb")));
    ASSERT_TRUE(process->waitForStarted(30000));
    // Only the icon: no window on the screen or the task bar.
    const QString icon = trayIcon();
    ASSERT_FALSE(icon.isEmpty());
    EXPECT_EQ(visibleWindows(), QStringList { icon });

    // The icon brings it back normal; minimizing sends it back to the tray.
    click(icon, 1);
    const QString id = mainWindow();
    ASSERT_FALSE(id.isEmpty());
    ASSERT_TRUE(waitForClientList(id, true));
    EXPECT_FALSE(netState(id).contains(QLatin1String("MAXIMIZED")));
    xdotool({ "windowminimize", id });
    ASSERT_TRUE(waitForClientList(id, false));
    EXPECT_EQ(visibleWindows(), QStringList { icon });

    // Maximized, minimized, back by the icon: maximized again.
    click(icon, 1);
    ASSERT_TRUE(waitForClientList(id, true));
    xdotool({ "windowactivate", "--sync", id });
    ASSERT_TRUE(maximizeByTitleBar(id));
    xdotool({ "windowminimize", id });
    ASSERT_TRUE(waitForClientList(id, false));
    click(icon, 1);
    ASSERT_TRUE(waitForClientList(id, true));
    EXPECT_TRUE(netState(id).contains(QLatin1String("MAXIMIZED_HORZ")));

    // Escape in the editor hides it; a later start shows it again, and ends by itself.
    xdotool({ "windowactivate", "--sync", id });
    xdotool({ "type", "--delay", "1", "kept in the tray" });
    xdotool({ "key", "Escape" });
    ASSERT_TRUE(waitForClientList(id, false));
    std::unique_ptr<QProcess> later(folder.start(nullptr, QStringLiteral("xcb")));
    ASSERT_TRUE(later->waitForFinished(30000));
    EXPECT_EQ(later->exitCode(), 0);
    ASSERT_TRUE(waitForClientList(id, true));

    // The tray menu's Exit ends the program, saving the note.
    click(icon, 3);
    for (int i = 0; i < 1000 && visibleWindows().size() < 3; ++i) { } // the menu is up
    xdotool({ "key", "x" });
    ASSERT_TRUE(process->waitForFinished(30000));
    EXPECT_EQ(process->exitCode(), 0);
    RichTextBox note;
    ASSERT_TRUE(note.LoadFile(folder.notePath()));
    EXPECT_EQ(note.Text(), u"kept in the tray");
}

TEST_F(TrayOnDesktop, AlwaysOnTopAroundTheAutoSaveDialogAndADesktopWithoutATray)
{
    // Another program's window, made active over ours.
    ProgramFolder otherFolder { QStringLiteral(PENWICK_BINARY) };
    std::unique_ptr<QProcess> other(otherFolder.start(nullptr, QStringLiteral("xcb")));
    const QString otherId
        = xdotool({ "search", "--all", "--sync", "--onlyvisible", "--pid",
                      QString::number(other->processId()), "--name", "^Penwick 4\\.0$" })
              .section(u'\n', 0, 0);
    store({ { "OnTop", "True" } });
    const QString id = start();
    ASSERT_FALSE(id.isEmpty() || otherId.isEmpty());
    const auto onTop = [&] {
        xdotool({ "windowactivate", "--sync", otherId });
        const QStringList stack = clientList(true);
        return netState(id).contains(QLatin1String("_NET_WM_STATE_ABOVE"))
            && stack.indexOf(hexId(id)) > stack.indexOf(hexId(otherId));
    };
    EXPECT_TRUE(onTop());

    // The dialog is above while open; after it, the main window is on top again.
    xdotool({ "windowactivate", "--sync", id });
    xdotool({ "key", "alt+o", "a" });
    const QString dialog
        = xdotool({ "search", "--all", "--sync", "--onlyvisible", "--pid",
                      QString::number(process->processId()), "--name", "^Auto Save$" })
              .section(u'\n', 0, 0);
    ASSERT_FALSE(dialog.isEmpty());
    ASSERT_TRUE(waitForClientList(dialog, true));
    EXPECT_TRUE(waitForState(dialog, "_NET_WM_STATE_ABOVE", true));
    xdotool({ "windowactivate", "--sync", dialog });
    xdotool({ "key", "alt+F4" });
    ASSERT_TRUE(waitForClientList(dialog, false));
    EXPECT_TRUE(waitForState(id, "_NET_WM_STATE_ABOVE", true));
    EXPECT_TRUE(onTop());

    // No tray on the desktop: minimizing leaves the window on the task bar. Once a tray is back
    // (and the icon in it), minimizing hides the window again.
    Desktop::instance().restartPanel(QStringLiteral("panel_items = T"));
    xdotool({ "windowminimize", id });
    ASSERT_TRUE(waitForState(id, "_NET_WM_STATE_HIDDEN", true));
    EXPECT_TRUE(clientList().contains(hexId(id)));
    Desktop::instance().restartPanel();
    // The icon docks once the new tray is up; until then minimizing still goes to the task bar.
    bool hidden = false;
    for (int attempt = 0; attempt < 10 && !hidden; ++attempt) {
        xdotool({ "windowactivate", "--sync", id });
        xdotool({ "windowminimize", id });
        hidden = waitForClientList(id, false, 2000);
    }
    EXPECT_TRUE(hidden);
    other->terminate();
    other->waitForFinished(30000);
}

} // namespace
} // namespace penwick::test
