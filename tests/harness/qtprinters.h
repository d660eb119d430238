// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Readable test failure messages for Qt values, as QDebug writes them.
#include <QByteArray>
#include <QDebug>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <ostream>
#include <type_traits>

namespace penwick::test {
template <typename T, typename... Ts>
concept OneOf = (std::is_same_v<T, Ts> || ...);
}

template <penwick::test::OneOf<QString, QByteArray, QStringList, QSize, QPoint, QRect> T>
void PrintTo(const T& value, std::ostream* os)
{
    QString text;
    QDebug(&text).nospace() << value;
    *os << text.toStdString();
}
