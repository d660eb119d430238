// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "search/searchdialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace penwick {

// The Replace dialog: finds down from the selection, replaces the match in view or every match.
class frmReplace final : public SearchDialog
{
    Q_OBJECT
public:
    explicit frmReplace(frmNotes& owner);

    void txtFind_Change();
    void chkCase_Click();
    void cmdFind_Click();
    void cmdReplace_Click();
    void cmdReplaceAll_Click();
    void cmdCancel_Click();

    QLabel* lblFind = nullptr;
    QLineEdit* txtFind = nullptr;
    QLabel* lblReplace = nullptr;
    QLineEdit* txtReplace = nullptr;
    QCheckBox* chkCase = nullptr;
    QCheckBox* chkWhole = nullptr;
    QPushButton* cmdFind = nullptr;
    QPushButton* cmdReplace = nullptr;
    QPushButton* cmdReplaceAll = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    SearchOptions options() const;
    // The text to search for, remembered for Find Next; empty when there is nothing to search.
    QString searchText();
};

} // namespace penwick
