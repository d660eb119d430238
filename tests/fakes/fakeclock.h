// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/clock.h"

namespace penwick::test {

// A clock that reads whatever the test set.
class FakeClock final : public Clock
{
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26)))
        : m_now(std::move(now))
    { }
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& now) { m_now = now; }

private:
    QDateTime m_now;
};

} // namespace penwick::test
