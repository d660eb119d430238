// SPDX-License-Identifier: GPL-2.0-or-later
// Where the real window opens under a real window manager: the normal size survives closing
// while maximized, and a place off every screen is not where it opens.
#include "e2e/desktop.h"
#include "harness/qtprinters.h"

#include <QRect>
#include <QRegularExpression>
#include <array>
#include <gtest/gtest.h>

namespace penwick::test {
namespace {

const QRect screen(0, 0, 1280, 1024); // the Xvfb screen the tests run on

// The window's own area (inside the frame) on the screen, as the X server has it.
QRect clientArea(const QString& id)
{
    const QString info = output("xwininfo", { "-id", id });
    const auto number = [&](const char* label) {
        const QRegularExpression line(label + QStringLiteral(":\\s+(-?\\d+)"));
        return line.match(info).captured(1).toInt();
    };
    return { number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"),
        number("Height") };
}

using WindowPlace = ProgramOnDesktop;

// Outer measure written, outer measure restored, run after run, though the window manager draws
// a maximized window with another frame than a normal one. The place shows enough of the title
// bar to stay exactly where it was put, though partly off the screen.
TEST_F(WindowPlace, ClosingWhileMaximizedKeepsTheNormalSizeAndPlace)
{
    store({ { "RememberPos", "True" }, { "Left", "-1500" }, { "Top", "1200" }, { "Width", "7200" },
        { "Height", "5400" } });
    QRect normal;
    for (int cycle = 0; cycle < 5; ++cycle) {
        SCOPED_TRACE(cycle);
        const QString id = start();
        ASSERT_FALSE(id.isEmpty());
        const QRect area = clientArea(id);
        if (cycle == 0)
            normal = area;
        EXPECT_EQ(area, normal);
        ASSERT_TRUE(maximizeByTitleBar(id));
        closeThroughWindow(id);
        EXPECT_EQ(stored({ "Width", "Height", "Left", "Top" }), u"7200 5400 -1500 1200");
    }
}

// Off every screen (or larger than it): wholly on the screen, centred across it, no wider.
TEST_F(WindowPlace, APlaceOffEveryScreenComesBackOnTheScreen)
{
    // Left, top, width and height.
    for (const auto& place :
        { std::array { "-20000", "-20000", "6945" }, std::array { "1500", "300000", "300000" } }) {
        SCOPED_TRACE(testing::Message() << place[0] << ' ' << place[1] << ' ' << place[2]);
        store({ { "RememberPos", "True" }, { "Left", place[0] }, { "Top", place[1] },
            { "Width", place[2] }, { "Height", place[2] } });
        const QString id = start();
        ASSERT_FALSE(id.isEmpty());
        const QRect area = clientArea(id);
        closeThroughWindow(id);
        const int width = std::min(QString::fromLatin1(place[2]).toInt() / 15, screen.width());
        EXPECT_TRUE(screen.contains(area)) << area.x() << ',' << area.y();
        EXPECT_EQ(stored({ "Left", "Width" }),
            QStringLiteral("%1 %2").arg((screen.width() - width) / 2 * 15).arg(width * 15));
    }
}

} // namespace
} // namespace penwick::test
