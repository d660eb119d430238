// SPDX-License-Identifier: GPL-2.0-or-later
#include "commands/datestamps.h"

#include <gtest/gtest.h>

namespace penwick {
namespace {

const QLocale UnitedStates(QLocale::English, QLocale::UnitedStates);

TEST(DateStamps, Pieces)
{
    const struct
    {
        QDate date;
        const char* shortDate;
        const char* longDate;
        const char* monthDate;
    } dates[] = {
        { QDate(1998, 11, 16), "11/16/98", "Monday, November 16, 1998", "November 16, 1998" },
        { QDate(2005, 3, 1), "3/1/05", "Tuesday, March 1, 2005", "March 1, 2005" },
        { QDate(2024, 12, 31), "12/31/24", "Tuesday, December 31, 2024", "December 31, 2024" },
        { QDate(2000, 1, 9), "1/9/00", "Sunday, January 9, 2000", "January 9, 2000" },
    };
    for (const auto& d : dates) {
        SCOPED_TRACE(d.date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(ShortDateText(d.date, UnitedStates), QLatin1String(d.shortDate));
        EXPECT_EQ(LongDateText(d.date, UnitedStates), QLatin1String(d.longDate));
        EXPECT_EQ(MonthDateText(d.date, UnitedStates), QLatin1String(d.monthDate));
    }
    // Midnight, noon and the minutes either side of them.
    const std::pair<QTime, const char*> times[] = { { QTime(16, 20), "4:20 PM" },
        { QTime(0, 0), "12:00 AM" }, { QTime(12, 0), "12:00 PM" }, { QTime(9, 5), "9:05 AM" },
        { QTime(23, 59), "11:59 PM" }, { QTime(0, 1), "12:01 AM" }, { QTime(11, 59), "11:59 AM" },
        { QTime(13, 0), "1:00 PM" } };
    for (const auto& [time, text] : times)
        EXPECT_EQ(TimeText(time, UnitedStates), QLatin1String(text));
}

TEST(DateStamps, ItemTextsOfTheSampleMoment)
{
    const QDateTime now(QDate(1998, 11, 16), QTime(16, 20));
    const char* const expected[] = {
        "11/16/98",
        "11/16/98 4:20 PM",
        "Monday, November 16, 1998",
        "Monday, November 16, 1998 4:20 PM",
        "November 16, 1998 4:20 PM",
        "November 16, 1998",
        "4:20 PM",
    };
    const char* const names[] = { "mnuDate", "mnuDateTime", "mnuLongDDate", "mnuLongDDT",
        "mnuLongDate", "mnuLongDT", "mnuTime" };
    ASSERT_EQ(StampItems.size(), std::size(expected));
    for (std::size_t i = 0; i < StampItems.size(); ++i) {
        EXPECT_STREQ(StampItems[i].name, names[i]);
        EXPECT_EQ(StampText(StampItems[i].stamp, now, UnitedStates), QLatin1String(expected[i]))
            << names[i];
    }
}

TEST(DateStamps, FollowTheLocale)
{
    const QDateTime now(QDate(1998, 11, 16), QTime(16, 20));
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(MonthDateText(now.date(), german), QStringLiteral("November 16, 1998"));
    EXPECT_EQ(
        StampText(Stamp::Date, now, german), german.toString(now.date(), QLocale::ShortFormat));
    EXPECT_EQ(
        StampText(Stamp::LongDDate, now, german), german.toString(now.date(), QLocale::LongFormat));

    const QLocale french(QLocale::French, QLocale::France);
    EXPECT_EQ(MonthDateText(QDate(2005, 3, 1), french), QStringLiteral("mars 1, 2005"));

    // The locale's own designators, as the locale writes them.
    const QLocale british(QLocale::English, QLocale::UnitedKingdom);
    EXPECT_EQ(TimeText(QTime(16, 20), british), QStringLiteral("4:20 ") + british.pmText());
    EXPECT_EQ(TimeText(QTime(0, 0), british), QStringLiteral("12:00 ") + british.amText());

    // Without a locale argument the program's default locale applies.
    const QLocale previous;
    QLocale::setDefault(UnitedStates);
    EXPECT_EQ(StampText(Stamp::DateTime, now), QStringLiteral("11/16/98 4:20 PM"));
    QLocale::setDefault(previous);
}

} // namespace
} // namespace penwick
