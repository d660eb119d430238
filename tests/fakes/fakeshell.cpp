// SPDX-License-Identifier: GPL-2.0-or-later
#include "fakes/fakeshell.h"

#include <gtest/gtest.h>

namespace penwick::test {

FakeShell::~FakeShell()
{
    if (!m_script.empty())
        ADD_FAILURE() << m_script.size() << " scripted shell request(s) never came";
}

void FakeShell::expectOpenUrl(bool result)
{
    m_script.push_back({ true, result });
}
void FakeShell::expectStart(bool result)
{
    m_script.push_back({ false, result });
}

bool FakeShell::openUrl(const QUrl& url)
{
    m_requests.push_back({ {}, {}, url });
    if (m_script.empty() || !m_script.front().url) {
        ADD_FAILURE() << "unscripted URL: " << url.toString().toStdString();
        return false;
    }
    const bool result = m_script.front().result;
    m_script.pop_front();
    return result;
}

bool FakeShell::startDetached(const QString& program, const QStringList& arguments)
{
    m_requests.push_back({ program, arguments, {} });
    if (m_script.empty() || m_script.front().url) {
        ADD_FAILURE() << "unscripted program start: " << program.toStdString();
        return false;
    }
    const bool result = m_script.front().result;
    m_script.pop_front();
    return result;
}

} // namespace penwick::test
