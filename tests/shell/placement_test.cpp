// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/placement.h"

#include <gtest/gtest.h>

namespace penwick {
namespace {

// A window 463 x 374 with a title bar of 24, on a 1280 x 1024 screen whose work area ends above
// a 30 pixel panel, and maybe a second screen to its right.
TEST(Placement, OnlyAWindowWhoseTitleBarCannotBeReachedMoves)
{
    const QRect first(0, 0, 1280, 1024);
    const QRect second(1280, 0, 1920, 1080);
    const QRect workArea(0, 0, 1280, 994);
    const QRect centred(408, 310, 463, 374);
    const QRect stays; // where it was put
    const struct
    {
        const char* what;
        QRect outer;
        QList<QRect> screens;
        QRect placed;
    } cases[] = { { "on the screen", { 100, 80, 463, 374 }, { first }, stays },
        { "far left and up", { -1333, -1333, 463, 374 }, { first }, centred },
        { "far right and down", { 20000, 20000, 463, 374 }, { first }, centred },
        { "200 px of the bar on the left edge", { -263, 80, 463, 374 }, { first }, stays },
        { "50 px of the bar on the left edge", { -413, 80, 463, 374 }, { first }, centred },
        { "60 px of the bar on the right edge", { 1220, 80, 463, 374 }, { first }, centred },
        { "half the bar above the top", { 100, -12, 463, 374 }, { first }, stays },
        { "the bar above the top, the rest on screen", { 100, -20, 463, 374 }, { first }, centred },
        { "the bar below the bottom", { 100, 1020, 463, 374 }, { first }, centred },
        { "on the second screen", { 1500, 100, 463, 374 }, { first, second }, stays },
        { "on a second screen unplugged since", { 1500, 100, 463, 374 }, { first }, centred },
        { "60 px on each side of the seam", { 1220, 80, 463, 374 }, { first, second }, stays },
        { "below the second screen", { 1500, 1075, 463, 374 }, { second, first }, centred },
        { "a narrow window, all of it on screen", { 1200, 80, 60, 100 }, { first }, stays },
        { "larger than the screen and off it", { 5000, 5000, 3000, 2000 }, { first },
            { 0, 0, 1280, 994 } },
        { "larger than the screen, its bar on it", { 0, 0, 3000, 2000 }, { first }, stays } };
    for (const auto& c : cases)
        EXPECT_EQ(placeOnScreens(c.outer, 24, c.screens, workArea),
            c.placed.isNull() ? c.outer : c.placed)
            << c.what;
}

} // namespace
} // namespace penwick
