// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/shell.h"

#include <deque>
#include <vector>

namespace penwick::test {

// No test lets the program start anything. Addresses it may open are scripted, with the answer
// the desktop gives; any other request fails the test, and so does a scripted one never made.
class FakeShell final : public Shell
{
public:
    ~FakeShell() override;
    void expectOpen(bool opens = true) { m_script.push_back(opens); }
    // Every address asked for, in order.
    const std::vector<QUrl>& opened() const { return m_opened; }

    bool openUrl(const QUrl& url) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;

private:
    std::deque<bool> m_script;
    std::vector<QUrl> m_opened;
};

} // namespace penwick::test
