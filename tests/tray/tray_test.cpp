// SPDX-License-Identifier: GPL-2.0-or-later
#include "autosave/frmauto.h"
#include "harness/programtest.h"
#include "platform/richtextbox.h"
#include "platform/windowsystem.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <span>

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
    // The window as the user finds it, and the tray menu's item on offer: "&Show" or "&Hide"
    // (both or neither would be a fault).
    QString seen() const
    {
        QStringList s { !window->isVisible() ? QStringLiteral("hidden")
                : window->isMinimized()      ? QStringLiteral("minimized")
                : window->isMaximized()      ? QStringLiteral("maximized")
                                             : QStringLiteral("normal") };
        for (const char* name : { "mnuShow", "mnuHide" })
            if (item(name)->isVisible())
                s << item(name)->text();
        return s.join(u' ');
    }
    bool tray = true;
};

// Every way of hiding sends the window to the tray, off the task bar; a click on the icon
// brings it back as it was, normal or maximized, with the editor focused. Without a tray the
// window stays on the task bar.
TEST_F(Tray, EveryWayOfHidingAndBackAsItWasWithAndWithoutATray)
{
    frmNotes& w = start();
    EXPECT_EQ(w.picTray->toolTip(), u"Penwick 4.0");
    EXPECT_EQ(seen(), u"normal &Hide");
    // Minimizing first: the state it comes back in is the one the window last had (a minimized
    // state is not recorded), with no hiding command to record it.
    const std::pair<const char*, std::function<void()>> ways[]
        = { { "minimize (by the window manager)",
                [&] { w.setWindowState(w.windowState() | Qt::WindowMinimized); } },
              { "File Hide", [&] { w.mnuFHide_Click(); } },
              { "tray Hide", [&] { w.mnuHide_Click(); } },
              { "Escape", [&] { QTest::keyClick(w.rtfNotes, Qt::Key_Escape); } },
              { "Ctrl+Escape",
                  [&] { QTest::keyClick(w.rtfNotes, Qt::Key_Escape, Qt::ControlModifier); } },
              { "icon click", [&] { w.picTray_Activated(QSystemTrayIcon::Trigger); } } };
    // Without a tray there would be no way back: hiding minimizes to the task bar. Once a tray
    // appears, its rules apply again.
    for (const char* mode : { "maximized", "normal", "without a tray" }) {
        tray = mode[0] != 'w';
        for (const auto& [how, hide] : std::span(ways).first(tray ? 6 : 5)) {
            SCOPED_TRACE(testing::Message() << how << ' ' << mode);
            mode[0] == 'm' ? w.showMaximized() : w.showNormal();
            hide();
            EXPECT_EQ(seen(), tray ? u"hidden &Show" : u"minimized &Show");
            tray ? w.picTray_Activated(QSystemTrayIcon::Trigger) : w.mnuShow_Click();
            EXPECT_EQ(seen(), mode[0] == 'm' ? u"maximized &Hide" : u"normal &Hide");
            EXPECT_EQ(w.focusWidget(), w.rtfNotes);
        }
    }
    tray = true;
    w.setWindowState(w.windowState() | Qt::WindowMinimized);
    EXPECT_EQ(seen(), u"hidden &Show");
    // A double click (a click, then the double click) ends as it began; the middle button is inert.
    for (const auto reason :
        { QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick })
        w.picTray_Activated(reason);
    EXPECT_EQ(seen(), u"hidden &Show");
    // The right button offers the menu, the left button's choice in bold.
    for (const bool shown : { false, true }) {
        w.picTray_Activated(QSystemTrayIcon::Context);
        QMenu* menu = w.menuOf(QStringLiteral("mnuTPop"));
        EXPECT_EQ(QApplication::activePopupWidget(), menu);
        EXPECT_EQ(menu->defaultAction()->text(), shown ? u"&Hide" : u"&Show");
        menu->close();
        w.mnuShow_Click();
    }
    // Minimize on startup: on the task bar without a tray, only the icon with one.
    for (const bool withTray : { false, true }) {
        tray = withTray;
        restartWith({ { "Startup", QStringLiteral("True") } });
        EXPECT_EQ(seen(), withTray ? u"hidden &Show" : u"minimized &Show");
    }
}

using OnTop = ProgramTest;

bool above(const QWidget* w)
{
    return w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)
        && w->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
}

// The flag changes on the window as it is: same native window, place and size, still shown. Around
// a dialog: the main window lets go, the dialog takes over while open, and on closing the main
// window takes the flag back, then once more a moment later. With the option off nothing is
// touched.
TEST_F(OnTop, ADialogTakesTheFlagWhileItIsOpen)
{
    for (const bool on : { true, false }) {
        SCOPED_TRACE(on);
        frmNotes& w
            = restartWith({ { "OnTop", on ? QStringLiteral("True") : QStringLiteral("False") } });
        w.tmrOnTop_Timer();
        const WId id = w.winId();
        const QRect place = w.geometry();
        for (const bool now : { !on, on }) {
            w.mnuOnTop_Click();
            EXPECT_EQ(above(&w), now);
            EXPECT_TRUE(w.winId() == id && w.geometry() == place && w.isVisible());
        }
        QStringList seen;
        QTimer::singleShot(0, &w, [&] {
            frmAuto& dialog = w.autoSaveDialog();
            QApplication::setActiveWindow(&dialog);
            seen << QStringLiteral("open: main %1 dialog %2").arg(above(&w)).arg(above(&dialog));
            dialog.cmdCancel->click();
            seen << QStringLiteral("closed: armed %1").arg(w.tmrOnTop->isActive());
        });
        w.mnuAutoSave_Click();
        seen << QStringLiteral("returned: main %1").arg(above(&w));
        w.tmrOnTop_Timer();
        seen << QStringLiteral("tick: main %1 armed %2").arg(above(&w)).arg(w.tmrOnTop->isActive());
        EXPECT_EQ(seen.join(u"; "),
            on ? u"open: main 0 dialog 1; closed: armed 1; returned: main 1; tick: main 1 armed 0"
               : u"open: main 0 dialog 0; closed: armed 0; returned: main 0; tick: main 0 armed 0");
    }
}

// Wayland with XWayland runs on X11 unless the user chose a platform. Rows: WAYLAND_DISPLAY,
// DISPLAY, QT_QPA_PLATFORM before ("-" unset), and QT_QPA_PLATFORM after.
TEST(WindowSystem, X11IsPreferredWhereAWaylandSessionOffersIt)
{
    const char* names[] = { "WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM" };
    const auto get = [](const char* name) -> QByteArray {
        return qEnvironmentVariableIsSet(name) ? qgetenv(name) : "-";
    };
    // The last row, the environment as it was, only puts it back.
    const QByteArrayList rows[]
        = { { "wayland-0", ":0", "-", "xcb" }, { "wayland-0", "", "-", "-" },
              { "-", ":0", "-", "-" }, { "wayland-0", ":0", "wayland", "wayland" },
              { get(names[0]), get(names[1]), get(names[2]) } };
    for (const QByteArrayList& row : rows) {
        for (int i = 0; i < 3; ++i)
            row[i] == "-" ? void(qunsetenv(names[i])) : void(qputenv(names[i], row[i]));
        if (row.size() == 4) {
            preferX11UnderWayland();
            EXPECT_EQ(get(names[2]), row[3]) << row.join(' ').toStdString();
        }
    }
}

} // namespace
} // namespace penwick::test
