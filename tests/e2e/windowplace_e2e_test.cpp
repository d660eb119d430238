// SPDX-License-Identifier: GPL-2.0-or-later
// Where the real window opens under a real window manager: the normal size survives closing
// while maximized, and a place off every screen is not where it opens.
#include "e2e/desktop.h"
#include "harness/qtprinters.h"

#include <QRect>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace penwick::test {
namespace {

const QRect screen(0, 0, 1280, 1024); // the Xvfb screen the tests run on

// The window's own area (inside the frame) on the screen, as the X server has it.
QRect clientArea(const QString& id)
{
    const QString info = output(QStringLiteral("xwininfo"), { QStringLiteral("-id"), id });
    const auto number = [&](const char* label) {
        const QRegularExpression line(QLatin1String(label) + QStringLiteral(":\\s+(-?\\d+)"));
        return line.match(info).captured(1).toInt();
    };
    return { number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"),
        number("Height") };
}

using WindowPlace = ProgramOnDesktop;

// Outer measure written, outer measure restored, run after run, though the window manager draws
// a maximized window with another frame than a normal one.
TEST_F(WindowPlace, ClosingWhileMaximizedKeepsTheNormalSizeAndPlace)
{
    store({ { "RememberPos", "True" }, { "Left", "1500" }, { "Top", "1200" }, { "Width", "7200" },
        { "Height", "5400" } });
    QRect normal;
    for (int cycle = 0; cycle < 5; ++cycle) {
        SCOPED_TRACE(cycle);
        const QString id = start();
        ASSERT_FALSE(id.isEmpty());
        if (cycle == 0)
            normal = clientArea(id);
        EXPECT_EQ(clientArea(id), normal);
        ASSERT_TRUE(maximizeByTitleBar(id));
        closeThroughWindow(id);
        EXPECT_EQ(
            stored({ "Width", "Height", "Left", "Top" }), QStringLiteral("7200 5400 1500 1200"));
    }
}

// Off every screen (and larger than it): centred on the screen, no larger than it. A window that
// shows enough of its title bar stays exactly where it was put, even partly off the screen.
TEST_F(WindowPlace, APlaceOffEveryScreenComesBackOnTheScreen)
{
    const struct
    {
        const char* left;
        const char* top;
        const char* width; // also the height
        const char* storedLeft; // after closing; null: centred
    } cases[] = {
        { "-20000", "-20000", "6945", nullptr },
        { "1500", "300000", "300000", nullptr },
        { "-1500", "1200", "6945", "-1500" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << ' ' << c.top << ' ' << c.width);
        store({ { "RememberPos", "True" }, { "Left", c.left }, { "Top", c.top },
            { "Width", c.width }, { "Height", c.width } });
        const QString id = start();
        ASSERT_FALSE(id.isEmpty());
        const QRect area = clientArea(id);
        closeThroughWindow(id);
        if (c.storedLeft) {
            EXPECT_EQ(stored({ "Left", "Top" }), QLatin1String(c.storedLeft) + u' ' + c.top);
            continue;
        }
        const int width = std::min(QString::fromLatin1(c.width).toInt() / 15, screen.width());
        EXPECT_TRUE(screen.contains(area)) << area.x() << ',' << area.y();
        EXPECT_EQ(stored({ "Left", "Width" }),
            QStringLiteral("%1 %2").arg((screen.width() - width) / 2 * 15).arg(width * 15));
        const int top = stored({ "Top" }).toInt() / 15;
        const int height = stored({ "Height" }).toInt() / 15;
        EXPECT_TRUE(top >= 0 && top + height <= screen.height()) << top << '+' << height;
    }
}

} // namespace
} // namespace penwick::test
