// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/prompter.h"

#include <deque>
#include <vector>

namespace penwick::test {

// Message and input boxes answered from a script. A box the test did not script fails the test,
// and so does a scripted box that was never shown.
class FakePrompter final : public Prompter
{
public:
    struct Shown
    {
        enum Kind { Message, Input } kind;
        QString prompt;
        QString title;
        MsgIcon icon = MsgIcon::None;
        QString defaultText;
    };

    ~FakePrompter() override;

    void expectMsgBox(MsgResult answer = MsgResult::Ok)
    {
        m_script.push_back({ Shown::Message, answer, {} });
    }
    void expectInputBox(const QString& answer)
    {
        m_script.push_back({ Shown::Input, MsgResult::Ok, answer });
    }

    // Everything shown so far, in order.
    const std::vector<Shown>& shown() const { return m_shown; }

    MsgResult MsgBox(QWidget* owner, const QString& prompt, MsgIcon icon, MsgButtons buttons,
        const QString& title) override;
    QString InputBox(QWidget* owner, const QString& prompt, const QString& title,
        const QString& defaultText) override;

private:
    struct Answer
    {
        Shown::Kind kind;
        MsgResult result;
        QString text;
    };
    std::deque<Answer> m_script;
    std::vector<Shown> m_shown;
};

} // namespace penwick::test
