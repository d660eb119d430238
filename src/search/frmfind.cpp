// SPDX-License-Identifier: GPL-2.0-or-later
#include "search/frmfind.h"

#include "shell/frmnotes.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace penwick {

frmFind::frmFind(frmNotes& owner)
    : SearchDialog(owner, "frmFind", QStringLiteral("Find"), 4950, 1020)
{
    // Created in tab order. Places are in twips; the options' are in their frame.
    Label = add<QLabel>(this, "Label", QStringLiteral("Fi&nd what:"), { 90, 135, 735, 195 });
    txtFind = add<QLineEdit>(this, "txtFind", QString(), { 885, 82, 2865, 300 });
    chkCase = add<QCheckBox>(this, "chkCase", QStringLiteral("Match &Case"),
        { 120, 510, 1335, 495 }, QStringLiteral("Case Sensitivity"));
    Frame1 = add<QGroupBox>(this, "Frame1", QStringLiteral("Direction"), { 2130, 420, 1575, 570 });
    optDirection[0] = add<QRadioButton>(Frame1, "optDirection0", QStringLiteral("&Up"),
        { 120, 225, 540, 252 }, QStringLiteral("Search to Beginning of Document"));
    optDirection[1] = add<QRadioButton>(Frame1, "optDirection1", QStringLiteral("&Down"),
        { 705, 224, 765, 255 }, QStringLiteral("Search to End of Document"));
    cmdFind = add<QPushButton>(this, "cmdFind", QStringLiteral("&Find Next"),
        { 3825, 75, 1065, 330 }, QStringLiteral("Start Search"));
    cmdCancel = add<QPushButton>(this, "cmdCancel", QStringLiteral("Cancel"),
        { 3825, 465, 1065, 330 }, QStringLiteral("Return to Notepad"));
    m_cancelButton = cmdCancel;

    Label->setBuddy(txtFind); // before sizing: the "&" then marks the key and takes no room
    Label->adjustSize();
    txtFind->setFocus();
    cmdFind->setDefault(true);
    cmdFind->setEnabled(false);

    connect(txtFind, &QLineEdit::textChanged, this, &frmFind::txtFind_Change);
    connect(chkCase, &QCheckBox::toggled, this, &frmFind::chkCase_Click);
    for (int index : { 0, 1 }) {
        optDirection[index]->setFocusPolicy(Qt::ClickFocus);
        connect(optDirection[index], &QRadioButton::toggled, this, [this, index](bool on) {
            // Tab stops at the chosen option only; the arrow keys move between the two.
            optDirection[index]->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
            if (on)
                optDirection_Click(index);
        });
    }
    connect(cmdFind, &QPushButton::clicked, this, &frmFind::cmdFind_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFind::cmdCancel_Click);

    // The direction chosen last, and Match Case as it was left.
    const ProgramState& state = owner.Module;
    optDirection[state.SearchDirection == 0 ? 0 : 1]->setChecked(true);
    chkCase->setChecked(state.MatchCaseValue != 0);
    preFill(*txtFind);
}

void frmFind::txtFind_Change()
{
    cmdFind->setEnabled(!txtFind->text().isEmpty());
}

void frmFind::chkCase_Click()
{
    owner().Module.MatchCaseValue = chkCase->isChecked() ? 1 : 0;
}

void frmFind::optDirection_Click(int Index)
{
    owner().Module.SearchDirection = std::int16_t(Index);
}

SearchOptions frmFind::options() const
{
    return { chkCase->isChecked(), true, optDirection[0]->isChecked() };
}

void frmFind::cmdFind_Click()
{
    // A disabled default button is not pressed by Enter, but a stray click must not search for
    // nothing either.
    const QString text = txtFind->text();
    if (text.isEmpty())
        return;
    rememberSearch(text, options());
    searchNote(text, options());
}

void frmFind::cmdCancel_Click()
{
    rememberSearch(txtFind->text(), options());
    owner().Module.MatchCaseValue = chkCase->isChecked() ? 1 : 0;
    reject();
}

} // namespace penwick
