// SPDX-License-Identifier: GPL-2.0-or-later
#include "fakes/fakeprompter.h"

#include <gtest/gtest.h>

namespace penwick::test {

FakePrompter::~FakePrompter()
{
    if (!m_script.empty())
        ADD_FAILURE() << m_script.size() << " scripted box(es) were never shown";
}

MsgResult FakePrompter::MsgBox(
    QWidget*, const QString& prompt, MsgIcon icon, MsgButtons, const QString& title)
{
    m_shown.push_back({ Shown::Message, prompt, title, icon, {} });
    if (m_script.empty() || m_script.front().kind != Shown::Message) {
        ADD_FAILURE() << "unscripted message box: " << prompt.toStdString();
        return MsgResult::Cancel;
    }
    const MsgResult answer = m_script.front().result;
    m_script.pop_front();
    return answer;
}

QString FakePrompter::InputBox(
    QWidget*, const QString& prompt, const QString& title, const QString& defaultText)
{
    m_shown.push_back({ Shown::Input, prompt, title, MsgIcon::None, defaultText });
    if (m_script.empty() || m_script.front().kind != Shown::Input) {
        ADD_FAILURE() << "unscripted input box: " << prompt.toStdString();
        return {};
    }
    QString answer = m_script.front().text;
    m_script.pop_front();
    return answer;
}

} // namespace penwick::test
