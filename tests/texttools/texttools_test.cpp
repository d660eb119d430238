// SPDX-License-Identifier: GPL-2.0-or-later
#include "texttools/texttools.h"

#include <gtest/gtest.h>

namespace penwick {
namespace {

QString q(const char16_t* text)
{
    return QString::fromUtf16(text);
}

std::string show(const QString& text)
{
    std::string out;
    for (QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            out += char(c.unicode());
        } else {
            char buf[10];
            std::snprintf(buf, sizeof buf, "\\u%04X", unsigned(c.unicode()));
            out += buf;
        }
    }
    return out;
}

// The cases below use characters outside the basic plane: an emoji (U+1F600), a CJK extension B
// ideograph (U+20000), and a Deseret letter pair (small U+10428, capital U+10400) that has case.

struct Case
{
    const char16_t* in;
    const char16_t* out;
};

TEST(TextTools, ReverseText)
{
    const Case cases[] = {
        { u"", u"" },
        { u"a", u"a" },
        { u"abc", u"cba" },
        { u"a\r\nb", u"b\n\ra" },
        { u"ab  ", u"  ba" },
        { u"a\U0001F600b", u"b\U0001F600a" },
        { u"\U00020000\U0001F600x", u"x\U0001F600\U00020000" },
        { u"\U0001F600", u"\U0001F600" },
        // A lone surrogate stays a single unit.
        { u"\xD83Dx", u"x\xD83D" },
        { u"x\xDE00y", u"y\xDE00x" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(show(ReverseText(q(c.in))), show(q(c.out))) << show(q(c.in));

    const QString mixed = q(u"Line one\r\nzwei \U0001F600 \U00020000\U00020001 end");
    EXPECT_EQ(ReverseText(ReverseText(mixed)), mixed);
    EXPECT_TRUE(QStringView(ReverseText(mixed)).isValidUtf16());
}

TEST(TextTools, RemoveExtraSpaces)
{
    const Case cases[] = {
        { u"", u"" },
        { u"x", u"x" },
        { u" ", u" " },
        { u"     ", u" " },
        { u"a   b", u"a b" },
        { u"   a", u" a" },
        { u"a   ", u"a " },
        { u"a  b  c", u"a b c" },
        // Only code 32 is a space; anything else ends a run.
        { u"a \t  b", u"a \t b" },
        { u"a\u00A0\u00A0b", u"a\u00A0\u00A0b" },
        { u"a \r\n  b", u"a \r\n b" },
        { u"\t\t", u"\t\t" },
        { u"\U0001F600   \U0001F600", u"\U0001F600 \U0001F600" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(show(RemoveExtraSpaces(q(c.in))), show(q(c.out))) << show(q(c.in));
}

TEST(TextTools, DelimitText)
{
    const struct
    {
        const char16_t* in;
        const char16_t* delimiter;
        const char16_t* out;
    } cases[] = {
        { u"abc", u"-", u"a-b-c" },
        { u"abc", u", ", u"a, b, c" },
        { u"abc", u"", u"abc" },
        { u"ab", u"-", u"a-b" },
        { u"a", u"-", u"a" },
        { u"", u"-", u"" },
        { u"a\r\nb", u"-", u"a-\r-\n-b" },
        { u"\U0001F600\U0001F600", u"-", u"\U0001F600-\U0001F600" },
        { u"a\U00020000b", u"|", u"a|\U00020000|b" },
        { u"\U0001F600", u"-", u"\U0001F600" },
        { u"\xD83Dx", u"-", u"\xD83D-x" },
        { u"xy", u"\U0001F600", u"x\U0001F600y" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(show(DelimitText(q(c.in), q(c.delimiter))), show(q(c.out)))
            << show(q(c.in)) << " / " << show(q(c.delimiter));
}

TEST(TextTools, DelimitTextLongDelimiter)
{
    const QString delimiter(10000, u'*');
    const QString result = DelimitText(QStringLiteral("abc"), delimiter);
    EXPECT_EQ(result, u'a' + delimiter + u'b' + delimiter + u'c');

    // A result too large to hold leaves the text as it was rather than failing.
    const QString text(1 << 16, u'x');
    EXPECT_EQ(DelimitText(text, delimiter), text);
}

TEST(TextTools, AlternateCaps)
{
    const struct
    {
        const char16_t* in;
        bool startUpper;
        const char16_t* out;
    } cases[] = {
        { u"hello world", false, u"hElLo wOrLd" },
        { u"ABC", false, u"aBc" },
        { u"a b", false, u"a b" },
        { u"AB CD", false, u"aB Cd" },
        { u"X", false, u"x" },
        { u"", false, u"" },
        { u"abc", true, u"AbC" },
        // Line breaks take their turn like any other character.
        { u"a\r\nbc", false, u"a\r\nBc" },
        { u"\u00E9\u00C9\u00E9", false, u"\u00E9\u00C9\u00E9" },
        // A pair takes the turn of its first unit and uses up two turns.
        { u"\U00010428\U00010428", true, u"\U00010400\U00010400" },
        { u"a\U00010428b", false, u"a\U00010400B" },
        { u"\U0001F600ab", false, u"\U0001F600aB" },
        { u"x\U00020000yz", false, u"x\U00020000Yz" },
        { u"\xD83D"
          u"ab",
            false,
            u"\xD83D"
            u"Ab" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(show(AlternateCaps(q(c.in), c.startUpper)), show(q(c.out)))
            << show(q(c.in)) << " " << c.startUpper;
}

TEST(TextTools, CaseConversions)
{
    EXPECT_EQ(Lowercase(q(u"MiXeD \u00C9\U00010400 1")), q(u"mixed \u00E9\U00010428 1"));
    EXPECT_EQ(Uppercase(q(u"MiXeD \u00E9\U00010428 1")), q(u"MIXED \u00C9\U00010400 1"));
}

TEST(TextTools, TitleCase)
{
    const Case cases[] = {
        { u"", u"" },
        { u"hELLO   wORLD", u"Hello   World" },
        { u"3rd street", u"3rd Street" },
        { u"o'neil-smith", u"O'neil-smith" },
        { u"x.y (z)", u"X.y (z)" },
        { u"a\tb\nc\vd\fe\rf", u"A\tB\nC\vD\fE\rF" },
        { u"a\u00A0b", u"A\u00A0b" },
        { u"\U00010428\U00010428 \U00010428", u"\U00010400\U00010428 \U00010400" },
        { u"\U0001F600abc dEF", u"\U0001F600abc Def" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(show(TitleCase(q(c.in))), show(q(c.out))) << show(q(c.in));
    // The NUL character separates words too.
    EXPECT_EQ(
        TitleCase(QStringView(u"ab\0cd", 5).toString()), QStringView(u"Ab\0Cd", 5).toString());
}

TEST(TextTools, TrueProperCase)
{
    const Case cases[] = {
        { u"o'neil-smith", u"O'Neil-Smith" },
        { u"don't", u"Don't" },
        { u"(hello)", u"(Hello)" },
        { u"hELLO   wORLD", u"Hello   World" },
        { u"3rd street", u"3rd Street" },
        { u"jean-luc picard", u"Jean-Luc Picard" },
        { u"d'arcy", u"D'Arcy" },
        { u"o\u2019neil", u"O\u2019Neil" },
        { u"i'm sure i'll go", u"I'm Sure I'll Go" },
        { u"rock'n'roll", u"Rock'n'roll" },
        { u"'tis the \"big one\"", u"'Tis The \"Big One\"" },
        { u"\u201Csmart quotes\u201D", u"\u201CSmart Quotes\u201D" },
        { u"[x] {y} a\u2014b", u"[X] {Y} A\u2014B" },
        { u"it's", u"It's" },
        { u"a'", u"A'" },
        { u"\U00010428'\U00010428\U00010428\U00010428",
            u"\U00010400'\U00010400\U00010428\U00010428" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(show(TrueProperCase(q(c.in))), show(q(c.out))) << show(q(c.in));
}

TEST(TextTools, ResultsKeepPairsWhole)
{
    QString text;
    for (int i = 0; i < 50; ++i)
        text += q(u"ab \U0001F600\U00020000\U00010428 x\r\n");
    for (const QString& result : { ReverseText(text), DelimitText(text, QStringLiteral("-")),
             AlternateCaps(text, false), AlternateCaps(text, true), TitleCase(text),
             TrueProperCase(text), RemoveExtraSpaces(text) })
        EXPECT_TRUE(QStringView(result).isValidUtf16()) << show(result.left(40));
}

TEST(TextTools, CharacterCountMessage)
{
    EXPECT_EQ(CharacterCountMessage(2, 3),
        QStringLiteral(
            "Selected text character count: 2\r\n\r\nEntire document character count: 3"));
    EXPECT_EQ(CharacterCountMessage(0, 12345678),
        QStringLiteral(
            "Selected text character count: 0\r\n\r\nEntire document character count: 12345678"));
}

} // namespace
} // namespace penwick
