// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

class QWidget;

namespace penwick {

class CommonDialog;
class RichTextBox;
struct CommonDialogValues;

// Character formatting of the selection (or of the caret), shared by the menu bar and the
// editor's popup menu.
namespace charformat {

enum class Style { Bold, Italic, Underline, StrikeThru };

// Negates the style; a mixed selection stays as it is.
void toggle(RichTextBox& editor, Style style);
// Clears the four styles; face, size and colour stay.
void normal(RichTextBox& editor);
// Grows (or shrinks) the size by `points`; a size the editor refuses leaves it as it was.
void stepSize(RichTextBox& editor, float points);

// The font dialog: underline, strike-through, colour, face and size are applied, bold and
// italic are not. Cancel changes nothing.
void chooseFont(
    RichTextBox& editor, CommonDialogValues& dialog, CommonDialog& dialogs, QWidget* owner);
void chooseTextColor(
    RichTextBox& editor, CommonDialogValues& dialog, CommonDialog& dialogs, QWidget* owner);
// The background of the whole editor, not of the selection.
void chooseBackColor(
    RichTextBox& editor, CommonDialogValues& dialog, CommonDialog& dialogs, QWidget* owner);

} // namespace charformat
} // namespace penwick
