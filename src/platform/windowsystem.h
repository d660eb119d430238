// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

namespace penwick {

// Before the application is made: where a Wayland session also offers X11 (XWayland) and the
// user has not chosen a platform, run on X11, where a window can keep itself on top and place
// itself, and where the tray is the usual one.
void preferX11UnderWayland();

} // namespace penwick
