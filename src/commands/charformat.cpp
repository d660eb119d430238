// SPDX-License-Identifier: GPL-2.0-or-later
#include "commands/charformat.h"

#include "platform/commondialog.h"
#include "platform/richtextbox.h"

namespace penwick::charformat {
namespace {

// "Not value" compared with true: plain negation for on and off, mixed for mixed.
TriState negated(TriState value)
{
    return value ? TriState(!*value) : std::nullopt;
}

bool showColor(CommonDialogValues& dialog, CommonDialog& dialogs, QWidget* owner, const char* title)
{
    dialog.DialogTitle = QString::fromLatin1(title);
    dialog.CancelError = true;
    dialog.Flags = DialogFlags::ColorInitial | DialogFlags::ColorFullOpen;
    return dialogs.ShowColor(dialog, owner) == DialogResult::Ok;
}

} // namespace

void toggle(RichTextBox& editor, Style style)
{
    switch (style) {
    case Style::Bold:
        editor.setSelBold(negated(editor.SelBold()));
        break;
    case Style::Italic:
        editor.setSelItalic(negated(editor.SelItalic()));
        break;
    case Style::Underline:
        editor.setSelUnderline(negated(editor.SelUnderline()));
        break;
    case Style::StrikeThru:
        editor.setSelStrikeThru(negated(editor.SelStrikeThru()));
        break;
    }
}

void normal(RichTextBox& editor)
{
    editor.setSelStyles(false, false, false, false);
}

void stepSize(RichTextBox& editor, float points)
{
    if (const auto size = editor.SelFontSize())
        editor.setSelFontSize(*size + points);
}

void chooseFont(
    RichTextBox& editor, CommonDialogValues& dialog, CommonDialog& dialogs, QWidget* owner)
{
    dialog.CancelError = true;
    dialog.DialogTitle = QStringLiteral("Choose Font");
    dialog.Flags
        = DialogFlags::FontScreenFonts | DialogFlags::FontEffects | DialogFlags::FontForceExist;
    if (dialogs.ShowFont(dialog, owner) != DialogResult::Ok)
        return;
    editor.setSelUnderline(dialog.FontUnderline);
    editor.setSelStrikeThru(dialog.FontStrikethru);
    editor.setSelColor(dialog.Color);
    editor.setSelFontName(dialog.FontName);
    editor.setSelFontSize(dialog.FontSize);
}

void chooseTextColor(
    RichTextBox& editor, CommonDialogValues& dialog, CommonDialog& dialogs, QWidget* owner)
{
    if (showColor(dialog, dialogs, owner, "Text Color"))
        editor.setSelColor(dialog.Color);
}

void chooseBackColor(
    RichTextBox& editor, CommonDialogValues& dialog, CommonDialog& dialogs, QWidget* owner)
{
    if (showColor(dialog, dialogs, owner, "Background Color"))
        editor.setBackColor(dialog.Color);
}

} // namespace penwick::charformat
