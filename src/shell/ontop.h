// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

class QWidget;

namespace penwick {

// Keep a top-level window above ordinary windows, or stop doing so. Only the stays-on-top flag
// changes: the window is not moved, resized, unmapped or re-created. A window without a native
// window yet keeps the flag for when it is shown.
void SetWindowOnTop(QWidget* window);
void SetWindowNotOnTop(QWidget* window);

} // namespace penwick
