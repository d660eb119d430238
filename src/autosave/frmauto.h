// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace penwick {

class frmNotes;

// The minutes a text in the box stands for: its whole number, made to fit 1 to 255. A text
// that is no whole number (empty, letters, a fraction) stands for 10.
int autoSaveMinutesOf(const QString& text);

// The Auto Save dialog: auto-save on or off, and the minutes between saves. Loading it (making
// it) reads the stored choice and switches auto-save to match; it lives hidden until unloaded.
class frmAuto : public QDialog
{
    Q_OBJECT
public:
    explicit frmAuto(frmNotes& notes);

    void Form_Load();
    void chkAuto_Click();
    void txtAuto_Change();
    void txtAuto_KeyDown(int KeyCode);
    void VScroll1_Change();
    void cmdOkay_Click();
    void cmdCancel_Click();

    QFrame* Frame1 = nullptr;
    QCheckBox* chkAuto = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtAuto = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* cmdOkay = nullptr;
    QPushButton* cmdCancel = nullptr;

    // "AutoSave" as stored: 1 while the box is checked, else 0.
    int checkValue() const;

protected:
    bool event(QEvent* event) override;
    void done(int result) override;
    // Cancel, and the close box too: the stored choice comes back.
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readStored();
    void applySwitch(bool loading);
    // The box shows the minutes it stands for when its text is not a number from 1 to 255.
    int settleMinutes();

    frmNotes& m_notes;
};

} // namespace penwick
