// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/richtextbox.h"
#include "platform/twips.h"
#include "shell/frmnotes.h"
#include "shell/placement.h"
#include "shell/toolbar.h"

#include <QGuiApplication>
#include <QScreen>

namespace penwick {

// Fits the editor below the toolbar's band, remembers the last non-minimized state and sends a
// minimized window to the tray. Each step stands alone: one that fails is skipped.
void frmNotes::Form_Resize()
{
    if (!rtfNotes || !Toolbar)
        return;
    // The band's height is read afresh: the toolbar wraps into more rows on a narrow window.
    if (!Toolbar->isHidden()) {
        const double band = Twips::forScreenOf(this).toTwipsY(Toolbar->height());
        rtfNotes->Move(0, band, scaleWidth(), scaleHeight() - band);
    } else {
        rtfNotes->Move(0, 0, scaleWidth(), scaleHeight());
    }

    const std::int16_t state = windowStateValue();
    if (state == vbNormal || state == vbMaximized)
        LastWindowState = state;

    followStateToTray();
}

// A window placed where its title bar cannot be reached (a screen unplugged since, a damaged
// settings file) comes back centred on the primary screen; any other place is kept as it is.
void frmNotes::keepOnScreen()
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary || windowStateValue() != vbNormal)
        return;
    // Until the window manager has framed the window, a title bar of about this height.
    constexpr int usualTitleBar = 24;
    const QMargins frame = frameMargins();
    const QRect outer(pos(), m_pendingOuterSize.value_or(size().grownBy(frame)));
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->geometry();
    const QRect placed = placeOnScreens(outer, frame.top() > 0 ? frame.top() : usualTitleBar,
        screens, primary->availableGeometry());
    if (placed.size() != outer.size())
        applyOuterSize(placed.size());
    if (placed.topLeft() != outer.topLeft())
        move(placed.topLeft());
}

} // namespace penwick
