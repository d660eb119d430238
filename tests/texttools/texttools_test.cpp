// SPDX-License-Identifier: GPL-2.0-or-later
#include "texttools/texttools.h"

#include <gtest/gtest.h>

namespace penwick {
namespace {

QString q(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// The UTF-16 units in hex, so that a split pair shows.
std::string show(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2)
        .toHex(' ')
        .toStdString();
}

// The cases use characters outside the basic plane: an emoji (U+1F600), a CJK extension B
// ideograph (U+20000), and a Deseret letter pair (small U+10428, capital U+10400) that has case.
TEST(TextTools, EachToolOnItsCases)
{
    using Tool = QString (*)(const QString&);
    const Tool dashes = [](const QString& t) { return DelimitText(t, QStringLiteral("-")); };
    const Tool altLower = [](const QString& t) { return AlternateCaps(t, false); };
    const Tool altUpper = [](const QString& t) { return AlternateCaps(t, true); };
    // Plain words on each tool, as the Selection menu runs them, are in the command tests.
    const std::tuple<Tool, const char16_t*, const char16_t*> cases[]
        = { { ReverseText, u"a\r\nb", u"b\n\ra" },
              { ReverseText, u"\U00020000\U0001F600x", u"x\U0001F600\U00020000" },
              // A lone surrogate stays a single unit.
              { ReverseText, u"\xD83Dx", u"x\xD83D" }, { ReverseText, u"x\xDE00y", u"y\xDE00x" },
              { RemoveExtraSpaces, u"     ", u" " },
              // Only code 32 is a space; anything else ends a run.
              { RemoveExtraSpaces, u"a \t  b", u"a \t b" },
              { RemoveExtraSpaces, u"a\u00A0\u00A0b", u"a\u00A0\u00A0b" },
              { RemoveExtraSpaces, u"\U0001F600   \U0001F600", u"\U0001F600 \U0001F600" },
              { dashes, u"", u"" }, { dashes, u"a\r\nb", u"a-\r-\n-b" },
              { dashes, u"\U0001F600\U0001F600", u"\U0001F600-\U0001F600" },
              { dashes, u"\xD83Dx", u"\xD83D-x" }, { altUpper, u"abc", u"AbC" },
              // Line breaks take their turn like any other character.
              { altLower, u"a\r\nbc", u"a\r\nBc" },
              // A pair takes the turn of its first unit and uses up two turns.
              { altUpper, u"\U00010428\U00010428", u"\U00010400\U00010400" },
              { altLower, u"a\U00010428b", u"a\U00010400B" },
              { altLower, u"\U0001F600ab", u"\U0001F600aB" },
              { altLower, u"\xD83D\u0061b", u"\xD83D\u0041b" },
              { Lowercase, u"MiXeD \u00C9\U00010400 1", u"mixed \u00E9\U00010428 1" },
              { Uppercase, u"MiXeD \u00E9\U00010428 1", u"MIXED \u00C9\U00010400 1" },
              { TitleCase, u"x.y (z)", u"X.y (z)" },
              { TitleCase, u"a\tb\nc\vd\fe\rf", u"A\tB\nC\vD\fE\rF" },
              { TitleCase, u"a\u00A0b", u"A\u00A0b" },
              { TitleCase, u"\U00010428\U00010428 \U00010428", u"\U00010400\U00010428 \U00010400" },
              { TitleCase, u"\U0001F600abc dEF", u"\U0001F600abc Def" },
              { TrueProperCase, u"jean-luc picard", u"Jean-Luc Picard" },
              { TrueProperCase, u"o\u2019neil", u"O\u2019Neil" },
              { TrueProperCase, u"i'm sure i'll go", u"I'm Sure I'll Go" },
              { TrueProperCase, u"rock'n'roll", u"Rock'n'roll" },
              { TrueProperCase, u"'tis the \"big one\"", u"'Tis The \"Big One\"" },
              { TrueProperCase, u"\u201Csmart quotes\u201D", u"\u201CSmart Quotes\u201D" },
              { TrueProperCase, u"[x] {y} (z) a\u2014b", u"[X] {Y} (Z) A\u2014B" },
              { TrueProperCase, u"\U00010428'\U00010428\U00010428\U00010428",
                  u"\U00010400'\U00010400\U00010428\U00010428" } };
    for (const auto& [run, in, out] : cases)
        EXPECT_EQ(show(run(q(in))), show(q(out))) << show(q(in));
    // The NUL character separates words too.
    EXPECT_EQ(
        TitleCase(QStringView(u"ab\0cd", 5).toString()), QStringView(u"Ab\0Cd", 5).toString());
    // Delimiters of any length.
    const QString abc = QStringLiteral("abc"), stars(10000, u'*');
    EXPECT_EQ(DelimitText(abc, QStringLiteral(", ")) + u'|' + DelimitText(abc, QString()) + u'|'
            + DelimitText(QStringLiteral("xy"), q(u"\U0001F600")),
        q(u"a, b, c|abc|x\U0001F600y"));
    EXPECT_EQ(DelimitText(abc, stars), u'a' + stars + u'b' + stars + u'c');
    // A result too large to hold leaves the text as it was rather than failing.
    const QString text(1 << 16, u'x');
    EXPECT_EQ(DelimitText(text, stars), text);
}

} // namespace
} // namespace penwick
