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

QString run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(processGuardMs);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class WindowPlace : public ProgramOnDesktop
{
protected:
    // The window's own area (inside the frame) on the screen, as the X server has it.
    static QRect clientArea(const QString& id)
    {
        const QString info = run(QStringLiteral("xwininfo"), { QStringLiteral("-id"), id });
        const auto number = [&](const char* label) {
            const QRegularExpression line(QLatin1String(label) + QStringLiteral(":\\s+(-?\\d+)"));
            return line.match(info).captured(1).toInt();
        };
        return { number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"),
            number("Height") };
    }
    // Maximizes the window with a double click on its title bar; false if it did not happen.
    static bool maximize(const QString& id)
    {
        QProcess watch; // tells each change of the window's state as it comes
        watch.start(QStringLiteral("xprop"), { "-spy", "-id", id, "_NET_WM_STATE" });
        if (!watch.waitForStarted(10000) || !watch.waitForReadyRead(10000))
            return false;
        xdotool({ "mousemove", "--window", id, "200", "-8", "click", "--repeat", "2", "--delay",
            "100", "1" });
        QByteArray seen = watch.readAll();
        while (!seen.contains("MAXIMIZED_HORZ") && watch.waitForReadyRead(10000))
            seen += watch.readAll();
        watch.kill();
        watch.waitForFinished();
        return seen.contains("MAXIMIZED_HORZ");
    }
};

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
        const QRect area = clientArea(id);
        if (cycle == 0)
            normal = area;
        EXPECT_EQ(area, normal);
        ASSERT_TRUE(maximize(id));
        closeThroughWindow(id);
        EXPECT_EQ(
            stored({ "Width", "Height", "Left", "Top" }), QStringLiteral("7200 5400 1500 1200"));
    }
}

// Off every screen: centred on the screen, no larger than it. A window that shows enough of its
// title bar stays exactly where it was put, even partly off the screen.
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
        { "300000", "300000", "6945", nullptr },
        { "1500", "300000", "6945", nullptr },
        { "300000", "300000", "300000", nullptr },
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
        const int width = std::min(QString::fromLatin1(c.width).toInt() / 15, screen.width());
        if (c.storedLeft) {
            EXPECT_EQ(stored({ "Left", "Top" }), QLatin1String(c.storedLeft) + u' ' + c.top);
            continue;
        }
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
