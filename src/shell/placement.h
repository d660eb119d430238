// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QList>
#include <QRect>

namespace penwick {

// Where a window whose outer frame would be `outer` (pixels of the virtual desktop) is placed.
// As it is while a usable part of its title bar, the top `titleBar` pixels of the frame, lies on
// one of `screens`; otherwise centred in `primary` (the primary screen's work area) and no
// larger than it, so that a window stored on a screen that is gone can still be reached.
QRect placeOnScreens(
    const QRect& outer, int titleBar, const QList<QRect>& screens, const QRect& primary);

} // namespace penwick
