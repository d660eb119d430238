// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <array>

namespace penwick {

// The pieces the date and time stamps are built from. `locale` defaults to the program's
// locale (the user's, unless QLocale::setDefault changed it).

// The locale's short date, e.g. "11/16/98" in English (United States).
QString ShortDateText(const QDate& date, const QLocale& locale = QLocale());
// The locale's long date, e.g. "Monday, November 16, 1998".
QString LongDateText(const QDate& date, const QLocale& locale = QLocale());
// Full month name in the locale's language, the day without a leading zero and the four-digit
// year: "November 16, 1998".
QString MonthDateText(const QDate& date, const QLocale& locale = QLocale());
// Twelve-hour clock without a leading zero, two-digit minutes and the locale's morning or
// afternoon designator: "4:20 PM", "12:00 AM" at midnight.
QString TimeText(const QTime& time, const QLocale& locale = QLocale());

// The seven stamp items, in menu order.
enum class Stamp { Date, DateTime, LongDDate, LongDDT, LongDate, LongDT, Time };

struct StampItem
{
    Stamp stamp;
    const char* name; // the menu item's object name
};

inline constexpr std::array<StampItem, 7> StampItems { {
    { Stamp::Date, "mnuDate" },
    { Stamp::DateTime, "mnuDateTime" },
    { Stamp::LongDDate, "mnuLongDDate" },
    { Stamp::LongDDT, "mnuLongDDT" },
    { Stamp::LongDate, "mnuLongDate" },
    { Stamp::LongDT, "mnuLongDT" },
    { Stamp::Time, "mnuTime" },
} };

// What an item shows as its caption and inserts when clicked, at `now`. Note the pair that looks
// swapped: mnuLongDate carries the month date with the time, mnuLongDT the month date alone.
QString StampText(Stamp stamp, const QDateTime& now, const QLocale& locale = QLocale());

} // namespace penwick
