// SPDX-License-Identifier: GPL-2.0-or-later
#include "rtftestutil.h"

namespace penwick::test {
namespace {

// A document with every kind of formatting the writer knows.
std::unique_ptr<QTextDocument> richDocument()
{
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor c(doc.get());
    const auto run = [&](const QString& text, auto&& set) {
        QTextCharFormat f;
        f.setFontFamilies({ QStringLiteral("Arial") });
        f.setFontPointSize(12);
        set(f);
        c.insertText(text, f);
    };
    const auto none = [](QTextCharFormat&) {};
    QTextBlockFormat centre;
    centre.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centre);
    run("plain ", none);
    run("bold", [](auto& f) { f.setFontWeight(QFont::Bold); });
    run(" ", none);
    run("italic", [](auto& f) { f.setFontItalic(true); });
    run(" ", none);
    run("under", [](auto& f) { f.setFontUnderline(true); });
    run(" ", none);
    run("strike", [](auto& f) { f.setFontStrikeOut(true); });
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    right.setLeftMargin(48);
    right.setTextIndent(-12);
    right.setTopMargin(8);
    c.insertBlock(right);
    run("mono", [](auto& f) { f.setFontFamilies({ QStringLiteral("Courier New") }); });
    run("big", [](auto& f) { f.setFontPointSize(20.5); });
    run("red", [](auto& f) { f.setForeground(QColor(0xC0, 0x39, 0x2B)); });
    run("marked", [](auto& f) { f.setBackground(QColor(255, 255, 0)); });
    run("sup", [](auto& f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); });
    QTextBlockFormat justify;
    justify.setAlignment(Qt::AlignJustify);
    c.insertBlock(justify);
    run(QString::fromUtf8("a\\b{c}\td\u00A0e\u00ADf\u2011g\u2028h café € Привет 😀 ∑"), none);
    c.insertBlock(QTextBlockFormat());
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    bullets.setIndent(1);
    c.createList(bullets);
    run("first", none);
    c.insertBlock();
    run("second", none);
    QTextBlockFormat plainBlock;
    c.insertBlock(plainBlock);
    if (QTextList* l = c.block().textList())
        l->remove(c.block());
    run("after", none);
    c.insertBlock(plainBlock);
    return doc;
}

TEST(Writer, OutputIsAsciiWithTheExpectedHeaderAndLegacyBullets)
{
    const QByteArray rtf = rtf::writeRtf(*richDocument());
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; }));
    for (const char* part :
        { "{\\colortbl ;\\red192\\green57\\blue43;", "{\\*\\generator Penwick 4.0;}\\viewkind4",
            "\\pard\\qc", "\\u1055?", "\\u-10179?\\u-8704?", "caf\\'e9 \\'80",
            "a\\\\b\\{c\\}\\tab d\\~e\\-f\\_g\\line h", "{\\pntext\\f",
            "\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf", "\\li720\\fi-360", "\\fcharset2 Symbol;" })
        EXPECT_TRUE(rtf.contains(part)) << part;
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0"));
    EXPECT_TRUE(rtf.trimmed().endsWith('}'));
}

TEST(Writer, RoundTripKeepsTextAndFormattingAndWritesTheSameBytesAgain)
{
    const auto original = richDocument();
    const QByteArray once = rtf::writeRtf(*original);
    const auto copy = readDoc(once);
    expectSameFormatting(*original, *copy);
    EXPECT_EQ(blockOf(*copy, "first").textList(), blockOf(*copy, "second").textList());
    EXPECT_EQ(rtf::writeRtf(*copy), once);
}

TEST(Writer, NumberedListsReadBackNumbered)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextListFormat f;
    f.setStyle(QTextListFormat::ListDecimal);
    c.createList(f);
    c.insertText("one");
    c.insertBlock();
    c.insertText("two");
    const QByteArray rtf = rtf::writeRtf(doc);
    EXPECT_TRUE(rtf.contains("{\\pntext\\f0 2.\\tab}"));
    EXPECT_EQ(listStyle(blockOf(*readDoc(rtf), "two")), QTextListFormat::ListDecimal);
}

struct RangeCase
{
    const char* name;
    int from, to;
    QString expected;
};

using Ranges = ::testing::TestWithParam<RangeCase>;

TEST_P(Ranges, ReadBackAsTheSelection)
{
    QTextDocument doc;
    doc.setPlainText("alpha\nbeta\ngamma");
    const QByteArray rtf = rtf::writeRtf(doc, GetParam().from, GetParam().to);
    QTextDocument target;
    QTextCursor c(&target);
    ASSERT_TRUE(rtf::insertRtf(c, rtf));
    EXPECT_EQ(plain(target), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, Ranges, ::testing::Values(
    RangeCase{"Whole", 0, -1, "alpha\nbeta\ngamma"},
    RangeCase{"InsideOneParagraph", 1, 4, "lph"},
    RangeCase{"AcrossParagraphs", 3, 8, "ha\nbe"},
    RangeCase{"EndingAtParagraphStart", 0, 6, "alpha\n"},
    RangeCase{"Empty", 2, 2, ""},
    RangeCase{"PastTheEndClamped", 11, 999, "gamma"}
), caseName);
// clang-format on

TEST(Writer, EmptyAndTrailingEmptyParagraphsSurvive)
{
    for (const char* text : { "", "abc\n", "\n\n" }) {
        QTextDocument doc;
        doc.setPlainText(text);
        EXPECT_EQ(plain(*readDoc(rtf::writeRtf(doc))), text);
    }
}

TEST(Writer, EmptyParagraphKeepsItsSize)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat big;
    big.setFontPointSize(30);
    c.insertText("x", big);
    c.insertBlock(QTextBlockFormat(), big);
    c.insertBlock(QTextBlockFormat(), big);
    c.insertText("y", big);
    const auto copy = readDoc(rtf::writeRtf(doc));
    EXPECT_EQ(copy->findBlockByNumber(1).charFormat().fontPointSize(), 30.0);
}

} // namespace
} // namespace penwick::test
