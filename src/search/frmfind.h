// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "search/searchdialog.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace penwick {

// The Find dialog: a whole word, up or down from the selection, matching case or not.
class frmFind final : public SearchDialog
{
    Q_OBJECT
public:
    // Form_Load: the controls, the remembered direction and Match Case, and the search text.
    explicit frmFind(frmNotes& owner);

    void txtFind_Change();
    void chkCase_Click();
    void optDirection_Click(int Index);
    void cmdFind_Click();
    void cmdCancel_Click();

    QLabel* Label = nullptr;
    QLineEdit* txtFind = nullptr;
    QCheckBox* chkCase = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* optDirection[2] = {}; // 0 up, 1 down
    QPushButton* cmdFind = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    SearchOptions options() const;
};

} // namespace penwick
