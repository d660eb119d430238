// SPDX-License-Identifier: GPL-2.0-or-later
#include "texttools/selectiontools.h"

#include "platform/prompter.h"
#include "platform/richtextbox.h"
#include "texttools/texttools.h"

namespace penwick {

void transformSelection(RichTextBox& editor, QString (*routine)(const QString&))
{
    const QString text = editor.SelText();
    if (text.isEmpty())
        return; // the result would be empty too: nothing to replace
    editor.setSelText(routine(text));
}

void delimitSelection(RichTextBox& editor, Prompter& prompter, QWidget* owner)
{
    const QString delimiter = prompter.InputBox(owner,
        QStringLiteral("Enter character with which to delimit the selected text:"),
        QStringLiteral("Text delimiter"), QStringLiteral("-"));
    const QString text = editor.SelText();
    if (!text.isEmpty())
        editor.setSelText(DelimitText(text, delimiter));
}

void countCharacters(RichTextBox& editor, Prompter& prompter, QWidget* owner)
{
    prompter.MsgBox(owner, CharacterCountMessage(editor.SelText().size(), editor.Text().size()),
        MsgIcon::Information, MsgButtons::Ok);
}

} // namespace penwick
