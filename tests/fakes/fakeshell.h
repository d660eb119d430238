// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/shell.h"

namespace penwick::test {

// No test lets the program start anything: every request fails the test.
class FakeShell final : public Shell
{
public:
    bool openUrl(const QUrl& url) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
};

} // namespace penwick::test
