// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>
#include <optional>

namespace penwick {

// Colours travel as 32-bit values 0x00BBGGRR (255 is red); a value with the top bit set names a
// system colour by its index in the low byte (0x80000005 is the window background).
using OleColor = std::uint32_t;

inline constexpr OleColor SystemWindowBackground = 0x80000005u;
inline constexpr OleColor SystemWindowText = 0x80000008u;

// The colour a value stands for under `palette`, or nothing for a value that is neither a plain
// colour nor a known system colour.
std::optional<QColor> oleToColor(OleColor value, const QPalette& palette);
OleColor colorToOle(const QColor& color);

} // namespace penwick
