// SPDX-License-Identifier: GPL-2.0-or-later
#include "commands/datestamps.h"

#include <gtest/gtest.h>

namespace penwick {
namespace {

const QLocale UnitedStates(QLocale::English, QLocale::UnitedStates);
const QDateTime sample(QDate(1998, 11, 16), QTime(16, 20));

// Month and day names are the locale's own; the popup test reads the captions under the
// default locale.
TEST(DateStamps, ItemTextsOfTheSampleMoment)
{
    QStringList texts;
    for (const StampItem& item : StampItems)
        texts << QLatin1String(item.name) + u'=' + StampText(item.stamp, sample, UnitedStates);
    EXPECT_EQ(texts.join(u'|'),
        u"mnuDate=11/16/98|mnuDateTime=11/16/98 4:20 PM|mnuLongDDate=Monday, November 16, 1998|"
        "mnuLongDDT=Monday, November 16, 1998 4:20 PM|mnuLongDate=November 16, 1998 4:20 PM|"
        "mnuLongDT=November 16, 1998|mnuTime=4:20 PM");
    // Midnight, noon and the minutes either side of them.
    texts.clear();
    for (const QTime time : { QTime(0, 0), QTime(12, 0), QTime(9, 5), QTime(23, 59), QTime(0, 1),
             QTime(11, 59), QTime(13, 0) })
        texts << TimeText(time, UnitedStates);
    EXPECT_EQ(texts.join(u'|'), u"12:00 AM|12:00 PM|9:05 AM|11:59 PM|12:01 AM|11:59 AM|1:00 PM");
    // Digits and punctuation as written, whatever the locale.
    EXPECT_EQ(MonthDateText(QDate(2005, 3, 1), QLocale(QLocale::French)), u"mars 1, 2005");
}

} // namespace
} // namespace penwick
