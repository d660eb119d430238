// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

class QWidget;

namespace penwick {

// Window geometry is kept in twips (1440 per inch) and converted with the
// screen's logical DPI, 15 twips per pixel at 96 DPI.
struct Twips
{
    double twipsPerPixelX;
    double twipsPerPixelY;

    static Twips forScreenOf(const QWidget* widget);
    static Twips primaryScreen();

    double toTwipsX(int px) const { return px * twipsPerPixelX; }
    double toTwipsY(int px) const { return px * twipsPerPixelY; }
    // Pixels for a twips value, or nothing when it does not fit a window coordinate.
    std::optional<int> toPixelsX(double twips) const;
    std::optional<int> toPixelsY(double twips) const;
};

} // namespace penwick
