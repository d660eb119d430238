// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/settingsconvert.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace penwick {
namespace {

TEST(SettingsConvert, BooleansAndIntegers)
{
    const std::tuple<const char16_t*, std::optional<std::int16_t>, std::optional<std::int32_t>>
        cases[] = { { u"0", 0, 0 }, { u" -7 ", -7, -7 }, { u"+12", 12, 12 },
            // Halves round to even.
            { u"2.5", 2, 2 }, { u"3.5", 4, 4 }, { u"-2.5", -2, -2 }, { u"32767", 32767, 32767 },
            { u"32768", std::nullopt, 32768 }, { u"-32768", -32768, -32768 },
            { u"-32769", std::nullopt, -32769 }, { u"-2147483643", std::nullopt, -2147483643 },
            { u"2147483647", std::nullopt, 2147483647 },
            { u"2147483648", std::nullopt, std::nullopt }, { u"1e9", std::nullopt, 1000000000 },
            { u"1e10", std::nullopt, std::nullopt }, { u"abc", std::nullopt, std::nullopt },
            { u"", std::nullopt, std::nullopt }, { u"12abc", std::nullopt, std::nullopt },
            { u"1,000", std::nullopt, std::nullopt }, { u"-", std::nullopt, std::nullopt },
            { u"1e", std::nullopt, std::nullopt } };
    for (const auto& [text, i16, i32] : cases)
        EXPECT_EQ(
            std::pair(toInt16(QStringView(text)), toInt32(QStringView(text))), std::pair(i16, i32))
            << QString::fromUtf16(text).toStdString();
    const std::pair<const char16_t*, std::optional<bool>> booleans[]
        = { { u"True", true }, { u"False", false }, { u"FALSE", false }, { u" True ", true },
              { u"1", true }, { u"0", false }, { u"-1", true }, { u"2.5", true },
              { u"yes", std::nullopt }, { u"", std::nullopt }, { u"0x1", std::nullopt },
              { u"inf", std::nullopt }, { u"nan", std::nullopt }, { u"1 0", std::nullopt } };
    for (const auto& [text, expected] : booleans)
        EXPECT_EQ(toBoolean(QStringView(text)), expected) << QString::fromUtf16(text).toStdString();
}

// Singles read plain decimals (E or D exponent) within single precision, and are written in the
// shortest form that reads back as the same number.
TEST(SettingsConvert, Single)
{
    const std::pair<const char16_t*, std::optional<float>> cases[]
        = { { u"6945", 6945.0f }, { u"5610.5", 5610.5f }, { u"1E+20", 1e20f }, { u"2D3", 2000.0f },
              { u"1e39", std::nullopt }, { u"yes", std::nullopt } };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(toSingle(QStringView(text)), expected) << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(toSingle(QString(10 * 1024, u'7')), std::nullopt);
    QStringList texts { fromBoolean(true), fromBoolean(false) };
    for (const float v : { 6945.f, -20000.f, 0.f, 12.5f, 1e20f, 1234567.f }) {
        texts << fromSingle(v);
        EXPECT_EQ(toSingle(texts.back()), v);
    }
    EXPECT_EQ(texts.join(u' '), u"True False 6945 -20000 0 12.5 1E+20 1234567");
    for (const float v : { 1234.5f, -0.25f, 3.4e38f, 1e-5f })
        EXPECT_EQ(toSingle(fromSingle(v)), v) << v;
}

} // namespace
} // namespace penwick
