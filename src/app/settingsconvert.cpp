// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/settingsconvert.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace penwick {
namespace {

// A plain decimal number: optional sign, digits with an optional point, optional exponent
// (E or D), with blanks around it. Anything else (hex, "inf", thousands separators) is refused.
std::optional<double> parseNumber(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 400)
        return std::nullopt;
    std::string ascii;
    ascii.reserve(size_t(text.size()));
    qsizetype i = 0;
    const auto at = [&](qsizetype k) { return k < text.size() ? text[k].unicode() : char16_t(0); };
    if (at(i) == u'+' || at(i) == u'-')
        ascii += char(text[i++].unicode());
    int digits = 0;
    while (at(i) >= u'0' && at(i) <= u'9')
        ascii += char(text[i++].unicode()), ++digits;
    if (at(i) == u'.') {
        ascii += '.';
        ++i;
        while (at(i) >= u'0' && at(i) <= u'9')
            ascii += char(text[i++].unicode()), ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (at(i) == u'e' || at(i) == u'E' || at(i) == u'd' || at(i) == u'D') {
        ascii += 'e';
        ++i;
        if (at(i) == u'+' || at(i) == u'-')
            ascii += char(text[i++].unicode());
        int expDigits = 0;
        while (at(i) >= u'0' && at(i) <= u'9')
            ascii += char(text[i++].unicode()), ++expDigits;
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    const double value = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

template <typename Int> std::optional<Int> toInteger(QStringView text)
{
    const auto value = parseNumber(text);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value); // the default rounding mode: half to even
    if (rounded < double(std::numeric_limits<Int>::min())
        || rounded > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

} // namespace

std::optional<bool> toBoolean(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    const auto value = parseNumber(t);
    if (!value)
        return std::nullopt;
    return *value != 0.0;
}

std::optional<std::int16_t> toInt16(QStringView text)
{
    return toInteger<std::int16_t>(text);
}
std::optional<std::int32_t> toInt32(QStringView text)
{
    return toInteger<std::int32_t>(text);
}

std::optional<float> toSingle(QStringView text)
{
    const auto value = parseNumber(text);
    if (!value || std::fabs(*value) > double(FLT_MAX))
        return std::nullopt;
    return static_cast<float>(*value);
}

QString fromBoolean(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString fromSingle(float value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7G", double(value));
    QString text = QString::fromLatin1(buffer);
    // "1E+20" rather than "1E+020"-style padding; %G already omits trailing zeros.
    const qsizetype e = text.indexOf(u'E');
    if (e >= 0) {
        qsizetype digits = e + 2;
        while (digits < text.size() - 1 && text[digits] == u'0')
            text.remove(digits, 1);
    }
    return text;
}

} // namespace penwick
