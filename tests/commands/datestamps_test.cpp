// SPDX-License-Identifier: GPL-2.0-or-later
#include "commands/datestamps.h"

#include <gtest/gtest.h>

namespace penwick {
namespace {

const QLocale UnitedStates(QLocale::English, QLocale::UnitedStates);
const QDateTime sample(QDate(1998, 11, 16), QTime(16, 20));

TEST(DateStamps, ItemTextsOfTheSampleMoment)
{
    const std::pair<const char*, const char*> expected[] = { { "mnuDate", "11/16/98" },
        { "mnuDateTime", "11/16/98 4:20 PM" }, { "mnuLongDDate", "Monday, November 16, 1998" },
        { "mnuLongDDT", "Monday, November 16, 1998 4:20 PM" },
        { "mnuLongDate", "November 16, 1998 4:20 PM" }, { "mnuLongDT", "November 16, 1998" },
        { "mnuTime", "4:20 PM" } };
    ASSERT_EQ(StampItems.size(), std::size(expected));
    for (std::size_t i = 0; i < StampItems.size(); ++i) {
        EXPECT_STREQ(StampItems[i].name, expected[i].first);
        EXPECT_EQ(StampText(StampItems[i].stamp, sample, UnitedStates),
            QLatin1String(expected[i].second));
    }
    // Midnight, noon and the minutes either side of them.
    const std::pair<QTime, const char*> times[] = { { QTime(0, 0), "12:00 AM" },
        { QTime(12, 0), "12:00 PM" }, { QTime(9, 5), "9:05 AM" }, { QTime(23, 59), "11:59 PM" },
        { QTime(0, 1), "12:01 AM" }, { QTime(11, 59), "11:59 AM" }, { QTime(13, 0), "1:00 PM" } };
    for (const auto& [time, text] : times)
        EXPECT_EQ(TimeText(time, UnitedStates), QLatin1String(text));
}

TEST(DateStamps, FollowTheLocale)
{
    const QLocale french(QLocale::French, QLocale::France);
    EXPECT_EQ(MonthDateText(QDate(2005, 3, 1), french), QStringLiteral("mars 1, 2005"));
    // The locale's own designators, as the locale writes them.
    const QLocale british(QLocale::English, QLocale::UnitedKingdom);
    EXPECT_EQ(TimeText(QTime(0, 0), british), QStringLiteral("12:00 ") + british.amText());
    // Without a locale argument the program's default locale applies.
    const QLocale previous;
    QLocale::setDefault(UnitedStates);
    EXPECT_EQ(StampText(Stamp::DateTime, sample), QStringLiteral("11/16/98 4:20 PM"));
    QLocale::setDefault(previous);
}

} // namespace
} // namespace penwick
