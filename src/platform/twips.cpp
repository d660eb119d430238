// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace penwick {
namespace {

Twips fromScreen(const QScreen* screen)
{
    const double dpiX = screen ? screen->logicalDotsPerInchX() : 96.0;
    const double dpiY = screen ? screen->logicalDotsPerInchY() : 96.0;
    return { 1440.0 / (dpiX > 0 ? dpiX : 96.0), 1440.0 / (dpiY > 0 ? dpiY : 96.0) };
}

std::optional<int> toPixels(double twips, double perPixel)
{
    if (!std::isfinite(twips))
        return std::nullopt;
    const double px = std::round(twips / perPixel);
    // Beyond this a window coordinate overflows inside the toolkit and the window system.
    constexpr double limit = 16777215.0;
    if (px < -limit || px > limit)
        return std::nullopt;
    return static_cast<int>(px);
}

} // namespace

Twips Twips::forScreenOf(const QWidget* widget)
{
    return fromScreen(
        widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen());
}

Twips Twips::primaryScreen()
{
    return fromScreen(QGuiApplication::primaryScreen());
}

std::optional<int> Twips::toPixelsX(double twips) const
{
    return toPixels(twips, twipsPerPixelX);
}
std::optional<int> Twips::toPixelsY(double twips) const
{
    return toPixels(twips, twipsPerPixelY);
}

} // namespace penwick
