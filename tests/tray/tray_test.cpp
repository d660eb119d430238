// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/programtest.h"
#include "platform/richtextbox.h"
#include "platform/singleinstance.h"
#include "platform/windowsystem.h"

#include <QApplication>
#include <QEventLoop>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

namespace penwick::test {
namespace {

// The desktop's tray comes and goes as the test says.
class Tray : public ProgramTest
{
protected:
    Tray()
    {
        env.isTrayAvailable = [this] { return tray; };
    }
    // The tray menu's item on offer: "&Show" or "&Hide" (both or neither would be a fault).
    QString offered() const
    {
        QStringList items;
        for (const char* name : { "mnuShow", "mnuHide" })
            if (item(name)->isVisible())
                items << item(name)->text();
        return items.join(u'+');
    }
    bool tray = true;
};

// Every way of hiding sends the window to the tray, off the task bar; a click on the icon
// brings it back as it was, normal or maximized, with the editor focused.
TEST_F(Tray, EveryWayOfHidingGoesToTheTrayAndAClickBringsTheWindowBackAsItWas)
{
    frmNotes& w = start();
    EXPECT_EQ(w.picTray->toolTip(), u"Penwick 4.0");
    EXPECT_FALSE(w.picTray->icon().isNull());
    EXPECT_EQ(offered(), u"&Hide");
    const std::pair<const char*, std::function<void()>> ways[] = {
        { "File Hide", [&] { w.mnuFHide_Click(); } },
        { "tray Hide", [&] { w.mnuHide_Click(); } },
        { "Escape", [&] { QTest::keyClick(w.rtfNotes, Qt::Key_Escape); } },
        { "Ctrl+Escape",
            [&] { QTest::keyClick(w.rtfNotes, Qt::Key_Escape, Qt::ControlModifier); } },
        // as the window manager does it
        { "minimize", [&] { w.setWindowState(w.windowState() | Qt::WindowMinimized); } },
        { "icon click", [&] { w.picTray_Activated(QSystemTrayIcon::Trigger); } },
    };
    for (const bool maximized : { false, true }) {
        for (const auto& [how, hide] : ways) {
            SCOPED_TRACE(testing::Message() << how << (maximized ? " maximized" : " normal"));
            maximized ? w.showMaximized() : w.showNormal();
            hide();
            EXPECT_FALSE(w.isVisible());
            EXPECT_EQ(offered(), u"&Show");
            w.picTray_Activated(QSystemTrayIcon::Trigger);
            EXPECT_TRUE(w.isVisible());
            EXPECT_EQ(w.windowState(), maximized ? Qt::WindowMaximized : Qt::WindowNoState);
            EXPECT_EQ(offered(), u"&Hide");
            EXPECT_EQ(w.focusWidget(), w.rtfNotes);
        }
    }
    // A double click is two clicks; a middle click does nothing.
    for (const auto reason : { QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick })
        w.picTray_Activated(reason);
    w.picTray_Activated(QSystemTrayIcon::MiddleClick);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(offered(), u"&Hide");

    // The right button offers the menu, the left button's choice in bold.
    for (const bool shown : { true, false }) {
        w.picTray_Activated(QSystemTrayIcon::Context);
        QMenu* menu = w.menuOf(QStringLiteral("mnuTPop"));
        EXPECT_EQ(QApplication::activePopupWidget(), menu);
        EXPECT_EQ(menu->defaultAction()->text(), shown ? u"&Hide" : u"&Show");
        menu->close();
        w.mnuHide_Click();
    }

    // Exit from the tray while hidden closes the program the usual way, icon and all.
    w.rtfNotes->setText(QStringLiteral("kept"));
    w.mnuTExit_Click();
    EXPECT_FALSE(w.picTray->isVisible());
    EXPECT_EQ(restartWith().rtfNotes->Text(), u"kept");
}

// Without a tray there would be no way back: hiding minimizes to the task bar, and so does
// starting minimized. Once a tray appears, its rules apply again.
TEST_F(Tray, WithoutATrayTheWindowStaysOnTheTaskBar)
{
    tray = false;
    frmNotes& w = start();
    const std::pair<const char*, std::function<void()>> ways[] = {
        { "File Hide", [&] { w.mnuFHide_Click(); } },
        { "Escape", [&] { QTest::keyClick(w.rtfNotes, Qt::Key_Escape); } },
        { "minimize", [&] { w.showMinimized(); } },
    };
    for (const auto& [how, hide] : ways) {
        SCOPED_TRACE(how);
        hide();
        EXPECT_TRUE(w.isVisible());
        EXPECT_TRUE(w.isMinimized());
        w.mnuShow_Click();
        EXPECT_FALSE(w.isMinimized());
    }
    tray = true;
    w.setWindowState(w.windowState() | Qt::WindowMinimized);
    EXPECT_FALSE(w.isVisible());

    // Minimize on startup: on the task bar without a tray, only the icon with one.
    for (const bool withTray : { false, true }) {
        SCOPED_TRACE(withTray);
        tray = withTray;
        frmNotes& again = restartWith({ { "Startup", QStringLiteral("True") } });
        EXPECT_EQ(again.isVisible(), !withTray);
        EXPECT_EQ(again.isMinimized(), !withTray);
        EXPECT_EQ(offered(), u"&Show");
    }
}

// A later start asks the copy that owns the note to show itself; the lock, not the socket,
// decides which copy owns it.
TEST(SingleInstanceShow, ALaterStartAsksTheOwnerToShow)
{
    TestEnvironment env;
    SingleInstance owner;
    const QString runtime = env.environment().lockFolder;
    ASSERT_TRUE(owner.acquire(env.programFolder(), runtime));
    int shown = 0;
    QEventLoop loop;
    owner.listen([&] {
        ++shown;
        loop.quit();
    });
    SingleInstance later;
    ASSERT_FALSE(later.acquire(env.programFolder(), runtime));
    ASSERT_TRUE(later.askOwnerToShow());
    QTimer::singleShot(30000, &loop, &QEventLoop::quit); // a guard, not a wait
    loop.exec();
    EXPECT_EQ(shown, 1);
}

// Where a Wayland session offers X11 too, the program runs on X11, unless the user chose.
TEST(WindowSystem, X11IsPreferredWhereAWaylandSessionOffersIt)
{
    const char* names[] = { "WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM" };
    std::vector<std::optional<QByteArray>> saved;
    for (const char* name : names)
        saved.push_back(
            qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    const struct
    {
        const char* values[3]; // null: not set
        const char* platform; // afterwards
    } cases[] = {
        { { "wayland-0", ":0", nullptr }, "xcb" },
        { { "wayland-0", nullptr, nullptr }, nullptr },
        { { "wayland-0", "", nullptr }, nullptr },
        { { nullptr, ":0", nullptr }, nullptr },
        { { "wayland-0", ":0", "wayland" }, "wayland" },
        { { "wayland-0", ":0", "" }, "" },
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 3; ++i)
            c.values[i] ? (void)qputenv(names[i], c.values[i]) : (void)qunsetenv(names[i]);
        preferX11UnderWayland();
        EXPECT_EQ(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"), c.platform != nullptr);
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray(c.platform));
    }
    for (int i = 0; i < 3; ++i)
        saved[i] ? (void)qputenv(names[i], *saved[i]) : (void)qunsetenv(names[i]);
}

} // namespace
} // namespace penwick::test
