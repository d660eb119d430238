// SPDX-License-Identifier: GPL-2.0-or-later
// The Selection menu of the main window.
#include "shell/frmnotes.h"
#include "texttools/selectiontools.h"
#include "texttools/texttools.h"

namespace penwick {

void frmNotes::mnuLowercase_Click()
{
    transformSelection(*rtfNotes, Lowercase);
}
void frmNotes::mnuUppercase_Click()
{
    transformSelection(*rtfNotes, Uppercase);
}
void frmNotes::mnuTitleCase_Click()
{
    transformSelection(*rtfNotes, TitleCase);
}
void frmNotes::mnuTruePCase_Click()
{
    transformSelection(*rtfNotes, TrueProperCase);
}
void frmNotes::mnuAltCaps_Click()
{
    transformSelection(*rtfNotes, [](const QString& text) { return AlternateCaps(text, false); });
}
void frmNotes::mnuReverse_Click()
{
    transformSelection(*rtfNotes, ReverseText);
}
void frmNotes::mnuRemoveSp_Click()
{
    transformSelection(*rtfNotes, RemoveExtraSpaces);
}
void frmNotes::mnuDelimit_Click()
{
    delimitSelection(*rtfNotes, *m_env.prompter, this);
}
void frmNotes::mnuCountChar_Click()
{
    countCharacters(*rtfNotes, *m_env.prompter, this);
}

} // namespace penwick
