// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDateTime>

namespace penwick {

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace penwick
