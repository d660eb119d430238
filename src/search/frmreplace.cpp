// SPDX-License-Identifier: GPL-2.0-or-later
#include "search/frmreplace.h"

#include "platform/prompter.h"
#include "platform/richtextbox.h"
#include "shell/frmnotes.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace penwick {

frmReplace::frmReplace(frmNotes& owner)
    : SearchDialog(owner, "frmReplace", QStringLiteral("Replace"), 4950, 1650)
{
    // Created in tab order; places in twips, in the style of Find.
    lblFind = add<QLabel>(this, "lblFind", QStringLiteral("Fi&nd what:"), { 90, 135, 735, 195 });
    txtFind = add<QLineEdit>(this, "txtFind", QString(), { 1215, 82, 2535, 300 });
    lblReplace
        = add<QLabel>(this, "lblReplace", QStringLiteral("Re&place with:"), { 90, 525, 1005, 195 });
    txtReplace = add<QLineEdit>(this, "txtReplace", QString(), { 1215, 472, 2535, 300 });
    chkCase = add<QCheckBox>(this, "chkCase", QStringLiteral("Match &Case"),
        { 120, 900, 1335, 300 }, QStringLiteral("Case Sensitivity"));
    chkWhole = add<QCheckBox>(this, "chkWhole", QStringLiteral("&Whole word only"),
        { 120, 1230, 1695, 300 }, QStringLiteral("Match Whole Words Only"));
    cmdFind = add<QPushButton>(this, "cmdFind", QStringLiteral("&Find Next"),
        { 3825, 75, 1065, 330 }, QStringLiteral("Start Search"));
    cmdReplace = add<QPushButton>(this, "cmdReplace", QStringLiteral("&Replace"),
        { 3825, 465, 1065, 330 }, QStringLiteral("Replace and Find Next"));
    cmdReplaceAll = add<QPushButton>(this, "cmdReplaceAll", QStringLiteral("Replace &All"),
        { 3825, 855, 1065, 330 }, QStringLiteral("Replace Every Match"));
    cmdCancel = add<QPushButton>(this, "cmdCancel", QStringLiteral("Cancel"),
        { 3825, 1245, 1065, 330 }, QStringLiteral("Return to Notepad"));
    m_cancelButton = cmdCancel;

    lblFind->setBuddy(txtFind);
    lblFind->adjustSize();
    lblReplace->setBuddy(txtReplace);
    lblReplace->adjustSize();
    txtFind->setFocus();
    cmdFind->setDefault(true);
    chkWhole->setChecked(true);
    chkCase->setChecked(owner.Module.MatchCaseValue != 0);

    connect(txtFind, &QLineEdit::textChanged, this, &frmReplace::txtFind_Change);
    connect(chkCase, &QCheckBox::toggled, this, &frmReplace::chkCase_Click);
    connect(cmdFind, &QPushButton::clicked, this, &frmReplace::cmdFind_Click);
    connect(cmdReplace, &QPushButton::clicked, this, &frmReplace::cmdReplace_Click);
    connect(cmdReplaceAll, &QPushButton::clicked, this, &frmReplace::cmdReplaceAll_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmReplace::cmdCancel_Click);
    txtFind_Change();
    preFill(*txtFind);
}

void frmReplace::txtFind_Change()
{
    const bool searchable = !txtFind->text().isEmpty();
    for (QPushButton* button : { cmdFind, cmdReplace, cmdReplaceAll })
        button->setEnabled(searchable);
}

void frmReplace::chkCase_Click()
{
    owner().Module.MatchCaseValue = chkCase->isChecked() ? 1 : 0;
}

SearchOptions frmReplace::options() const
{
    return { chkCase->isChecked(), chkWhole->isChecked(), false };
}

QString frmReplace::searchText()
{
    const QString text = txtFind->text();
    if (!text.isEmpty())
        rememberSearch(text, options());
    return text;
}

void frmReplace::cmdFind_Click()
{
    if (const QString text = searchText(); !text.isEmpty())
        searchNote(text, options());
}

void frmReplace::cmdReplace_Click()
{
    const QString text = searchText();
    if (text.isEmpty())
        return;
    // Only a match that is selected is replaced; otherwise this finds the next one first.
    RichTextBox& editor = *owner().rtfNotes;
    if (selectionMatches(editor, text, options()))
        editor.setSelText(txtReplace->text());
    searchNote(text, options());
}

void frmReplace::cmdReplaceAll_Click()
{
    const QString text = searchText();
    if (text.isEmpty())
        return;
    const int count = replaceAll(*owner().rtfNotes, text, txtReplace->text(), options());
    owner().environment().prompter->MsgBox(this,
        count == 0 ? QStringLiteral("Word not found.") : replacedMessage(count), MsgIcon::None,
        MsgButtons::Ok);
}

void frmReplace::cmdCancel_Click()
{
    rememberSearch(txtFind->text(), options());
    owner().Module.MatchCaseValue = chkCase->isChecked() ? 1 : 0;
    reject();
}

} // namespace penwick
