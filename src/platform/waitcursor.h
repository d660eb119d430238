// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QGuiApplication>

namespace penwick {

// The hourglass pointer for the lifetime of the guard, restored on every path out.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace penwick
