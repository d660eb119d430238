// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace penwick {

enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgResult { Ok, Cancel, Yes, No };

inline const QString DefaultMsgTitle = QStringLiteral("Penwick");

// The program's message and input boxes, modal over `owner`.
class Prompter
{
public:
    virtual ~Prompter() = default;
    virtual MsgResult MsgBox(QWidget* owner, const QString& prompt, MsgIcon icon,
        MsgButtons buttons = MsgButtons::Ok, const QString& title = DefaultMsgTitle)
        = 0;
    // The text the user entered; an empty string when the box is cancelled.
    virtual QString InputBox(
        QWidget* owner, const QString& prompt, const QString& title, const QString& defaultText)
        = 0;
};

class QtPrompter final : public Prompter
{
public:
    MsgResult MsgBox(QWidget* owner, const QString& prompt, MsgIcon icon, MsgButtons buttons,
        const QString& title) override;
    QString InputBox(QWidget* owner, const QString& prompt, const QString& title,
        const QString& defaultText) override;
};

} // namespace penwick
