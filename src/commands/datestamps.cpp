// SPDX-License-Identifier: GPL-2.0-or-later
#include "commands/datestamps.h"

namespace penwick {

QString ShortDateText(const QDate& date, const QLocale& locale)
{
    return locale.toString(date, QLocale::ShortFormat);
}

QString LongDateText(const QDate& date, const QLocale& locale)
{
    return locale.toString(date, QLocale::LongFormat);
}

QString MonthDateText(const QDate& date, const QLocale& locale)
{
    // Built from parts rather than a format string, so that the digits and punctuation stay as
    // written whatever the locale's numbering system.
    return locale.monthName(date.month(), QLocale::LongFormat) + u' ' + QString::number(date.day())
        + QStringLiteral(", ") + QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString TimeText(const QTime& time, const QLocale& locale)
{
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QString::number(hour) + u':'
        + QStringLiteral("%1").arg(time.minute(), 2, 10, QLatin1Char('0')) + u' '
        + (time.hour() < 12 ? locale.amText() : locale.pmText());
}

QString StampText(Stamp stamp, const QDateTime& now, const QLocale& locale)
{
    const QDate date = now.date();
    switch (stamp) {
    case Stamp::Date:
        return ShortDateText(date, locale);
    case Stamp::DateTime:
        return ShortDateText(date, locale) + u' ' + TimeText(now.time(), locale);
    case Stamp::LongDDate:
        return LongDateText(date, locale);
    case Stamp::LongDDT:
        return LongDateText(date, locale) + u' ' + TimeText(now.time(), locale);
    case Stamp::LongDate:
        return MonthDateText(date, locale) + u' ' + TimeText(now.time(), locale);
    case Stamp::LongDT:
        return MonthDateText(date, locale);
    case Stamp::Time:
        return TimeText(now.time(), locale);
    }
    return {};
}

} // namespace penwick
