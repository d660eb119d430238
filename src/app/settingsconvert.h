// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace penwick {

// Conversions of stored option texts. Each gives nothing for a text that does not convert, so
// that the caller can skip that one assignment.

// "True"/"False" in any case, or a number (0 is false).
std::optional<bool> toBoolean(QStringView text);
// Decimal numbers, rounded half to even; nothing when out of range.
std::optional<std::int16_t> toInt16(QStringView text);
std::optional<std::int32_t> toInt32(QStringView text);
// Single precision; nothing when out of its range.
std::optional<float> toSingle(QStringView text);

QString fromBoolean(bool value); // "True" or "False"
QString fromSingle(float value); // up to 7 significant digits: "6945", "12.5", "1E+20"

} // namespace penwick
