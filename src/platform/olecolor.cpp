// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/olecolor.h"

namespace penwick {
namespace {

std::optional<QPalette::ColorRole> systemRole(unsigned index)
{
    switch (index) {
    case 4:
        return QPalette::Window; // menu
    case 5:
        return QPalette::Base; // window background
    case 7:
        return QPalette::WindowText; // menu text
    case 8:
        return QPalette::Text; // window text
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 15:
        return QPalette::Button; // button face
    case 16:
        return QPalette::Dark; // button shadow
    case 17:
        return QPalette::PlaceholderText; // grey text
    case 18:
        return QPalette::ButtonText;
    case 20:
        return QPalette::Light; // button highlight
    case 21:
        return QPalette::Shadow;
    case 22:
        return QPalette::Midlight;
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    case 0:
    case 1:
    case 2:
    case 3:
    case 6:
    case 9:
    case 10:
    case 11:
    case 12:
    case 19:
        return QPalette::Window; // frames, captions, desktop, workspace
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<QColor> oleToColor(OleColor value, const QPalette& palette)
{
    if (value & 0x80000000u) {
        if ((value & 0x7FFFFF00u) != 0)
            return std::nullopt;
        const auto role = systemRole(value & 0xFFu);
        if (!role)
            return std::nullopt;
        return palette.color(QPalette::Active, *role);
    }
    if (value > 0x00FFFFFFu)
        return std::nullopt;
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

OleColor colorToOle(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return OleColor(rgb.red()) | (OleColor(rgb.green()) << 8) | (OleColor(rgb.blue()) << 16);
}

} // namespace penwick
