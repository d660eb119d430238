// SPDX-License-Identifier: GPL-2.0-or-later
// The editing commands of the main window: character and paragraph formatting, date and time
// stamps, undo and the clipboard.
#include "commands/charformat.h"
#include "commands/paraformat.h"
#include "commands/stampcommands.h"
#include "platform/clock.h"
#include "platform/commondialog.h"
#include "platform/richtextbox.h"
#include "shell/frmnotes.h"

namespace penwick {

using charformat::Style;

void frmNotes::mnuBold_Click()
{
    charformat::toggle(*rtfNotes, Style::Bold);
}
void frmNotes::mnuItalic_Click()
{
    charformat::toggle(*rtfNotes, Style::Italic);
}
void frmNotes::mnuUnder_Click()
{
    charformat::toggle(*rtfNotes, Style::Underline);
}
void frmNotes::mnuStrike_Click()
{
    charformat::toggle(*rtfNotes, Style::StrikeThru);
}
void frmNotes::mnuNormal_Click()
{
    charformat::normal(*rtfNotes);
}
// The captions say one point; the step has always been two.
void frmNotes::mnuFPlusOne_Click()
{
    charformat::stepSize(*rtfNotes, 2);
}
void frmNotes::mnuFMinusOne_Click()
{
    charformat::stepSize(*rtfNotes, -2);
}

void frmNotes::mnuFont_Click()
{
    charformat::chooseFont(*rtfNotes, Dialog1, *m_env.dialogs, this);
}

void frmNotes::mnuFC_Click()
{
    charformat::chooseTextColor(*rtfNotes, Dialog1, *m_env.dialogs, this);
}

void frmNotes::mnuBG_Click()
{
    charformat::chooseBackColor(*rtfNotes, Dialog1, *m_env.dialogs, this);
}

void frmNotes::mnuLeft_Click()
{
    paraformat::align(*rtfNotes, paraformat::Left, false);
}
void frmNotes::mnuCenter_Click()
{
    paraformat::align(*rtfNotes, paraformat::Centre, true);
}
void frmNotes::mnuRight_Click()
{
    paraformat::align(*rtfNotes, paraformat::Right, true);
}
void frmNotes::mnuBullet_Click()
{
    paraformat::toggleBullets(*rtfNotes, chkBullet);
}

void frmNotes::refreshStamps()
{
    refreshStampCaptions(
        [this](const char* name) { return menuItem(QLatin1String(name)); }, m_env.clock->now());
    rtfNotes->SetFocus();
}

void frmNotes::mnuInsert_Click()
{
    refreshStamps();
}
void frmNotes::mnuTimeD_Click()
{
    refreshStamps();
}
void frmNotes::mnuDate_Click()
{
    insertStamp(*rtfNotes, Stamp::Date, m_env.clock->now());
}
void frmNotes::mnuDateTime_Click()
{
    insertStamp(*rtfNotes, Stamp::DateTime, m_env.clock->now());
}
void frmNotes::mnuLongDDate_Click()
{
    insertStamp(*rtfNotes, Stamp::LongDDate, m_env.clock->now());
}
void frmNotes::mnuLongDDT_Click()
{
    insertStamp(*rtfNotes, Stamp::LongDDT, m_env.clock->now());
}
void frmNotes::mnuLongDate_Click()
{
    insertStamp(*rtfNotes, Stamp::LongDate, m_env.clock->now());
}
void frmNotes::mnuLongDT_Click()
{
    insertStamp(*rtfNotes, Stamp::LongDT, m_env.clock->now());
}
void frmNotes::mnuTime_Click()
{
    insertStamp(*rtfNotes, Stamp::Time, m_env.clock->now());
}

void frmNotes::mnuUndo_Click()
{
    rtfNotes->Undo();
}
void frmNotes::mnuCut_Click()
{
    rtfNotes->Cut();
}
void frmNotes::mnuCopy_Click()
{
    rtfNotes->Copy();
}
void frmNotes::mnuPaste_Click()
{
    rtfNotes->Paste();
}

void frmNotes::mnuSelectAll_Click()
{
    rtfNotes->setSelStart(0);
    rtfNotes->setSelLength(int(rtfNotes->Text().size()));
}

} // namespace penwick
