// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <span>

namespace penwick {

// How a toolbar button behaves: a plain push button, a check button that stays down while
// pressed, a member of a group of adjacent buttons of which at most one is down, or a gap.
enum class ButtonStyle { Default, Check, ButtonGroup, Separator };

// One picture of the toolbar's image list: its key, the desktop theme's name for it, and our
// own drawing, used where the theme has none.
struct ImageRow
{
    const char* key;
    const char* themeName;
    const char* file; // in the ":/penwick/icons/" resources
};

// One entry of the toolbar, in order. Separators have no key, image or tooltip; `image` is the
// 1-based index of an image list row.
struct ToolbarRow
{
    const char* key;
    ButtonStyle style;
    int image;
    const char* toolTip;
};

std::span<const ImageRow> toolbarImageRows();
std::span<const ToolbarRow> toolbarRows();

} // namespace penwick
