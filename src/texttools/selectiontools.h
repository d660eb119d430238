// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace penwick {

class Prompter;
class RichTextBox;

// The selection tools as the menus run them: the selected text in, the result written back in
// its place (it is not selected again).
void transformSelection(RichTextBox& editor, QString (*routine)(const QString&));
// Asks for the delimiter first, even with nothing selected; a cancelled box gives "".
void delimitSelection(RichTextBox& editor, Prompter& prompter, QWidget* owner);
void countCharacters(RichTextBox& editor, Prompter& prompter, QWidget* owner);

} // namespace penwick
