// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/placement.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace penwick {
namespace {

// Enough of the title bar to grab it with the mouse: this wide, or all of a narrower bar.
constexpr int UsableTitleWidth = 100;

// Whether the middle row of the title bar lies on the screens for a usable stretch; screens side
// by side count as one.
bool titleBarReachable(const QRect& outer, int titleBar, const QList<QRect>& screens)
{
    const int row = outer.y() + std::max(titleBar, 1) / 2;
    std::vector<std::pair<int, int>> seen; // [from, to) along the row
    for (const QRect& screen : screens) {
        const int from = std::max(outer.left(), screen.left());
        const int to = std::min(outer.left() + outer.width(), screen.left() + screen.width());
        if (row >= screen.top() && row <= screen.bottom() && from < to)
            seen.emplace_back(from, to);
    }
    std::sort(seen.begin(), seen.end());
    const int wide = std::min(UsableTitleWidth, outer.width());
    std::pair<int, int> run = seen.empty() ? std::pair(0, 0) : seen.front();
    for (const auto& [from, to] : seen) {
        if (from > run.second)
            run.first = from;
        run.second = std::max(run.second, to);
        if (run.second - run.first >= wide)
            return true;
    }
    return false;
}

} // namespace

QRect placeOnScreens(
    const QRect& outer, int titleBar, const QList<QRect>& screens, const QRect& primary)
{
    if (titleBarReachable(outer, titleBar, screens) || primary.isEmpty())
        return outer;
    const QSize size(
        std::min(outer.width(), primary.width()), std::min(outer.height(), primary.height()));
    return { primary.x() + (primary.width() - size.width()) / 2,
        primary.y() + (primary.height() - size.height()) / 2, size.width(), size.height() };
}

} // namespace penwick
