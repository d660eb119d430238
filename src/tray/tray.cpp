// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/richtextbox.h"
#include "shell/frmnotes.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QTimer>

namespace penwick {
namespace {

// How often a window hidden in the tray checks that the tray is still there.
constexpr int trayWatchMilliseconds = 2000;

} // namespace

bool frmNotes::trayAvailable() const
{
    return m_env.isTrayAvailable ? m_env.isTrayAvailable()
                                 : QSystemTrayIcon::isSystemTrayAvailable();
}

void frmNotes::addTrayIcon()
{
    picTray = new QSystemTrayIcon(windowIcon(), this);
    picTray->setObjectName(QStringLiteral("picTray"));
    picTray->setToolTip(QStringLiteral("Penwick 4.0"));
    connect(picTray, &QSystemTrayIcon::activated, this, &frmNotes::picTray_Activated);
    // A tray that starts later takes the icon by itself.
    picTray->show();

    // Hidden in a tray that then goes away, the window would be out of reach: it goes to the
    // task bar instead.
    m_trayWatch = new QTimer(this);
    m_trayWatch->setInterval(trayWatchMilliseconds);
    connect(m_trayWatch, &QTimer::timeout, this, [this] {
        if (!isVisible() && !m_shutDown && !trayAvailable())
            showMinimized();
        if (isVisible())
            m_trayWatch->stop();
    });
}

// A left click shows or hides the window; the second click of a double click counts as one
// more. A right click opens the tray menu with the item a left click would run in bold.
void frmNotes::picTray_Activated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::DoubleClick:
        if (menuItem(QStringLiteral("mnuShow"))->isVisible())
            mnuShow_Click();
        else if (menuItem(QStringLiteral("mnuHide"))->isVisible())
            hideToTray(false);
        break;
    case QSystemTrayIcon::Context: {
        QMenu* menu = menuOf(QStringLiteral("mnuTPop"));
        QAction* show = menuItem(QStringLiteral("mnuShow"));
        menu->setDefaultAction(show->isVisible() ? show : menuItem(QStringLiteral("mnuHide")));
        menu->popup(QCursor::pos());
        break;
    }
    default:
        break;
    }
}

// Back from the tray (or the task bar) in the state it had before. The minimized mark is
// cleared before showing: a window shown while still marked minimized comes back iconic.
void frmNotes::mnuShow_Click()
{
    if (LastWindowState == vbMaximized)
        showMaximized();
    else
        showNormal();
    raise();
    activateWindow();
    rtfNotes->SetFocus();
    showTrayItems(false);
}

void frmNotes::mnuHide_Click()
{
    hideToTray(true);
}

void frmNotes::mnuFHide_Click()
{
    hideToTray(true);
}

// Hidden only: a window also marked minimized while unmapped would be mapped iconified when it
// is shown again. Without a tray there would be no way back: the window is minimized to the task
// bar instead.
void frmNotes::hideToTray(bool rememberState)
{
    if (rememberState && windowStateValue() != vbMinimized)
        LastWindowState = windowStateValue();
    if (!trayAvailable()) {
        showMinimized();
        return;
    }
    hide();
    showTrayItems(true);
    if (m_trayWatch)
        m_trayWatch->start();
}

// The last step of every resize: a minimized window leaves the screen and the task bar for the
// tray, where there is one.
void frmNotes::followStateToTray()
{
    const bool minimized = windowStateValue() == vbMinimized;
    if (minimized && isVisible() && trayAvailable()) {
        hide();
        if (m_trayWatch)
            m_trayWatch->start();
    }
    showTrayItems(minimized || !isVisible());
}

void frmNotes::showTrayItems(bool hidden)
{
    menuItem(QStringLiteral("mnuShow"))->setVisible(hidden);
    menuItem(QStringLiteral("mnuHide"))->setVisible(!hidden);
}

} // namespace penwick
