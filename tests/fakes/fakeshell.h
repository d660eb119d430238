// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/shell.h"

#include <deque>
#include <vector>

namespace penwick::test {

// Records what the program asked the shell to start. Unscripted requests fail the test.
class FakeShell final : public Shell
{
public:
    struct Request
    {
        QString program; // empty for a URL
        QStringList arguments;
        QUrl url;
    };
    ~FakeShell() override;

    void expectOpenUrl(bool result = true);
    void expectStart(bool result = true);
    const std::vector<Request>& requests() const { return m_requests; }

    bool openUrl(const QUrl& url) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;

private:
    struct Answer
    {
        bool url;
        bool result;
    };
    std::deque<Answer> m_script;
    std::vector<Request> m_requests;
};

} // namespace penwick::test
