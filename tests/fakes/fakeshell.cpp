// SPDX-License-Identifier: GPL-2.0-or-later
#include "fakes/fakeshell.h"

#include <gtest/gtest.h>

namespace penwick::test {

bool FakeShell::openUrl(const QUrl& url)
{
    ADD_FAILURE() << "unexpected URL: " << url.toString().toStdString();
    return false;
}

bool FakeShell::startDetached(const QString& program, const QStringList&)
{
    ADD_FAILURE() << "unexpected program start: " << program.toStdString();
    return false;
}

} // namespace penwick::test
