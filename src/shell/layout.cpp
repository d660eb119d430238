// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/richtextbox.h"
#include "platform/twips.h"
#include "shell/frmnotes.h"
#include "shell/toolbar.h"

namespace penwick {

// Fits the editor below the toolbar's band and remembers the last non-minimized state. Each
// step stands alone: one that fails is skipped.
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
}

} // namespace penwick
