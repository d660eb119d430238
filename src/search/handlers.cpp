// SPDX-License-Identifier: GPL-2.0-or-later
// The Search menu of the main window.
#include "search/frmfind.h"
#include "search/frmreplace.h"
#include "search/search.h"
#include "shell/frmnotes.h"

namespace penwick {

void frmNotes::mnuFind_Click()
{
    // A dialog of its own each time: its controls start afresh, the state above them stays.
    frmFind dialog(*this);
    showOwnedDialog(dialog);
}

void frmNotes::mnuFindAgain_Click()
{
    // Repeats the last search, as it was made; before any, it asks what to search for.
    if (Module.LastSearchText.isEmpty()) {
        mnuFind_Click();
        return;
    }
    findNextOrSay(
        *rtfNotes, Module.LastSearchText, Module.LastSearchOptions, *m_env.prompter, this);
}

void frmNotes::mnuReplace_Click()
{
    frmReplace dialog(*this);
    showOwnedDialog(dialog);
}

} // namespace penwick
