// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/prompter.h"

#include <QInputDialog>
#include <QMessageBox>

namespace penwick {

MsgResult QtPrompter::MsgBox(
    QWidget* owner, const QString& prompt, MsgIcon icon, MsgButtons buttons, const QString& title)
{
    QMessageBox box(owner);
    box.setWindowTitle(title);
    box.setText(prompt);
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    default: // closed by the window manager: the escape answer
        return buttons == MsgButtons::Ok      ? MsgResult::Ok
            : buttons == MsgButtons::OkCancel ? MsgResult::Cancel
                                              : MsgResult::No;
    }
}

QString QtPrompter::InputBox(
    QWidget* owner, const QString& prompt, const QString& title, const QString& defaultText)
{
    bool ok = false;
    QString text = QInputDialog::getText(owner, title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

} // namespace penwick
