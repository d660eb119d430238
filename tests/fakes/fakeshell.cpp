// SPDX-License-Identifier: GPL-2.0-or-later
#include "fakes/fakeshell.h"

#include <gtest/gtest.h>

namespace penwick::test {

FakeShell::~FakeShell()
{
    if (!m_script.empty())
        ADD_FAILURE() << m_script.size() << " scripted address(es) were never opened";
}

bool FakeShell::openUrl(const QUrl& url)
{
    m_opened.push_back(url);
    if (m_script.empty()) {
        ADD_FAILURE() << "unexpected URL: " << url.toString().toStdString();
        return false;
    }
    const bool opens = m_script.front();
    m_script.pop_front();
    return opens;
}

bool FakeShell::startDetached(const QString& program, const QStringList&)
{
    ADD_FAILURE() << "unexpected program start: " << program.toStdString();
    return false;
}

} // namespace penwick::test
