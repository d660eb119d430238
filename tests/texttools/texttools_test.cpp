// SPDX-License-Identifier: GPL-2.0-or-later
#include "texttools/texttools.h"

#include <gtest/gtest.h>

namespace penwick {
namespace {

QString q(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// Printable ASCII as is, every other unit as \uXXXX, so that a split pair shows.
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

QString dashes(const QString& text)
{
    return DelimitText(text, QStringLiteral("-"));
}
QString altLower(const QString& text)
{
    return AlternateCaps(text, false);
}
QString altUpper(const QString& text)
{
    return AlternateCaps(text, true);
}

// The cases use characters outside the basic plane: an emoji (U+1F600), a CJK extension B
// ideograph (U+20000), and a Deseret letter pair (small U+10428, capital U+10400) that has case.
TEST(TextTools, EachToolOnItsCases)
{
    const struct
    {
        const char* tool;
        QString (*run)(const QString&);
        const char16_t* in;
        const char16_t* out;
    } cases[] = { { "reverse", ReverseText, u"abc", u"cba" },
        { "reverse", ReverseText, u"a\r\nb", u"b\n\ra" },
        { "reverse", ReverseText, u"a\U0001F600b", u"b\U0001F600a" },
        { "reverse", ReverseText, u"\U00020000\U0001F600x", u"x\U0001F600\U00020000" },
        // A lone surrogate stays a single unit.
        { "reverse", ReverseText, u"\xD83Dx", u"x\xD83D" },
        { "reverse", ReverseText, u"x\xDE00y", u"y\xDE00x" },
        { "spaces", RemoveExtraSpaces, u"     ", u" " },
        { "spaces", RemoveExtraSpaces, u"a  b  c", u"a b c" },
        // Only code 32 is a space; anything else ends a run.
        { "spaces", RemoveExtraSpaces, u"a \t  b", u"a \t b" },
        { "spaces", RemoveExtraSpaces, u"a\u00A0\u00A0b", u"a\u00A0\u00A0b" },
        { "spaces", RemoveExtraSpaces, u"a \r\n  b", u"a \r\n b" },
        { "spaces", RemoveExtraSpaces, u"\U0001F600   \U0001F600", u"\U0001F600 \U0001F600" },
        { "delimit", dashes, u"abc", u"a-b-c" }, { "delimit", dashes, u"", u"" },
        { "delimit", dashes, u"a\r\nb", u"a-\r-\n-b" },
        { "delimit", dashes, u"\U0001F600\U0001F600", u"\U0001F600-\U0001F600" },
        { "delimit", dashes, u"\xD83Dx", u"\xD83D-x" },
        { "alternate", altLower, u"hello world", u"hElLo wOrLd" },
        { "alternate", altLower, u"AB CD", u"aB Cd" }, { "alternate", altUpper, u"abc", u"AbC" },
        // Line breaks take their turn like any other character.
        { "alternate", altLower, u"a\r\nbc", u"a\r\nBc" },
        // A pair takes the turn of its first unit and uses up two turns.
        { "alternate", altUpper, u"\U00010428\U00010428", u"\U00010400\U00010400" },
        { "alternate", altLower, u"a\U00010428b", u"a\U00010400B" },
        { "alternate", altLower, u"\U0001F600ab", u"\U0001F600aB" },
        { "alternate", altLower, u"\xD83D\u0061b", u"\xD83D\u0041b" },
        { "lower", Lowercase, u"MiXeD \u00C9\U00010400 1", u"mixed \u00E9\U00010428 1" },
        { "upper", Uppercase, u"MiXeD \u00E9\U00010428 1", u"MIXED \u00C9\U00010400 1" },
        { "title", TitleCase, u"hELLO   wORLD", u"Hello   World" },
        { "title", TitleCase, u"o'neil-smith", u"O'neil-smith" },
        { "title", TitleCase, u"x.y (z)", u"X.y (z)" },
        { "title", TitleCase, u"a\tb\nc\vd\fe\rf", u"A\tB\nC\vD\fE\rF" },
        { "title", TitleCase, u"a\u00A0b", u"A\u00A0b" },
        { "title", TitleCase, u"\U00010428\U00010428 \U00010428",
            u"\U00010400\U00010428 \U00010400" },
        { "title", TitleCase, u"\U0001F600abc dEF", u"\U0001F600abc Def" },
        { "proper", TrueProperCase, u"o'neil-smith", u"O'Neil-Smith" },
        { "proper", TrueProperCase, u"hELLO   wORLD", u"Hello   World" },
        { "proper", TrueProperCase, u"jean-luc picard", u"Jean-Luc Picard" },
        { "proper", TrueProperCase, u"o\u2019neil", u"O\u2019Neil" },
        { "proper", TrueProperCase, u"i'm sure i'll go", u"I'm Sure I'll Go" },
        { "proper", TrueProperCase, u"rock'n'roll", u"Rock'n'roll" },
        { "proper", TrueProperCase, u"'tis the \"big one\"", u"'Tis The \"Big One\"" },
        { "proper", TrueProperCase, u"\u201Csmart quotes\u201D", u"\u201CSmart Quotes\u201D" },
        { "proper", TrueProperCase, u"[x] {y} (z) a\u2014b", u"[X] {Y} (Z) A\u2014B" },
        { "proper", TrueProperCase, u"\U00010428'\U00010428\U00010428\U00010428",
            u"\U00010400'\U00010400\U00010428\U00010428" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tool) + " of " + show(q(c.in)));
        EXPECT_EQ(show(c.run(q(c.in))), show(q(c.out)));
    }
    // The NUL character separates words too.
    EXPECT_EQ(
        TitleCase(QStringView(u"ab\0cd", 5).toString()), QStringView(u"Ab\0Cd", 5).toString());
}

TEST(TextTools, DelimitersOfAnyLength)
{
    EXPECT_EQ(DelimitText(QStringLiteral("abc"), QStringLiteral(", ")), u"a, b, c");
    EXPECT_EQ(DelimitText(QStringLiteral("abc"), QString()), u"abc");
    EXPECT_EQ(DelimitText(QStringLiteral("xy"), q(u"\U0001F600")), q(u"x\U0001F600y"));
    const QString delimiter(10000, u'*');
    EXPECT_EQ(
        DelimitText(QStringLiteral("abc"), delimiter), u'a' + delimiter + u'b' + delimiter + u'c');
    // A result too large to hold leaves the text as it was rather than failing.
    const QString text(1 << 16, u'x');
    EXPECT_EQ(DelimitText(text, delimiter), text);
}

TEST(TextTools, ResultsKeepPairsWhole)
{
    QString text;
    for (int i = 0; i < 50; ++i)
        text += q(u"ab \U0001F600\U00020000\U00010428 x\r\n");
    for (const QString& result : { ReverseText(text), dashes(text), altLower(text), altUpper(text),
             TitleCase(text), TrueProperCase(text), RemoveExtraSpaces(text) })
        EXPECT_TRUE(QStringView(result).isValidUtf16()) << show(result.left(40));
}

TEST(TextTools, CharacterCountMessage)
{
    EXPECT_EQ(CharacterCountMessage(0, 12345678),
        QStringLiteral(
            "Selected text character count: 0\r\n\r\nEntire document character count: 12345678"));
}

} // namespace
} // namespace penwick
