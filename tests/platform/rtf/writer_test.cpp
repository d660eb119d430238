// SPDX-License-Identifier: GPL-2.0-or-later
#include "rtftestutil.h"

#include <QTextCursor>
#include <QTextList>
#include <gtest/gtest.h>

using namespace penwick;
using penwick::test::blockOf;
using penwick::test::family;
using penwick::test::formatOf;
using penwick::test::plain;
using penwick::test::readDoc;

namespace {

bool isAscii(const QByteArray& b)
{
    return std::all_of(b.begin(), b.end(), [](char c) { return uchar(c) < 0x80; });
}

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

TEST(Writer, OutputIsAsciiWithTheExpectedHeader)
{
    const QByteArray rtf = rtf::writeRtf(*richDocument());
    EXPECT_TRUE(isAscii(rtf));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0"));
    EXPECT_TRUE(rtf.contains("{\\colortbl ;\\red192\\green57\\blue43;"));
    EXPECT_TRUE(rtf.contains("{\\*\\generator Penwick 4.0;}\\viewkind4"));
    EXPECT_TRUE(rtf.contains("\\pard\\qc"));
    EXPECT_TRUE(rtf.contains("\\u1055?"));
    EXPECT_TRUE(rtf.contains("\\u-10179?\\u-8704?"));
    EXPECT_TRUE(rtf.contains("caf\\'e9 \\'80"));
    EXPECT_TRUE(rtf.contains("a\\\\b\\{c\\}\\tab d\\~e\\-f\\_g\\line h"));
    EXPECT_TRUE(rtf.trimmed().endsWith('}'));
}

TEST(Writer, BulletsInTheLegacyForm)
{
    const QByteArray rtf = rtf::writeRtf(*richDocument());
    EXPECT_TRUE(rtf.contains("{\\pntext\\f"));
    EXPECT_TRUE(rtf.contains("\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf"));
    EXPECT_TRUE(rtf.contains("\\li720\\fi-360"));
    EXPECT_TRUE(rtf.contains("\\fcharset2 Symbol;"));
}

TEST(Writer, RoundTripKeepsTextAndFormatting)
{
    const auto original = richDocument();
    const auto copy = readDoc(rtf::writeRtf(*original));
    EXPECT_EQ(plain(*copy), plain(*original));
    EXPECT_EQ(copy->blockCount(), original->blockCount());

    // Every fragment of the original reads back with the same formatting.
    for (QTextBlock b = original->begin(); b.isValid(); b = b.next()) {
        const QTextBlock other = copy->findBlock(b.position());
        ASSERT_TRUE(other.isValid());
        EXPECT_EQ(other.blockFormat().alignment() & Qt::AlignHorizontal_Mask,
            b.blockFormat().alignment() & Qt::AlignHorizontal_Mask)
            << b.text().toStdString();
        EXPECT_EQ(other.textList() != nullptr, b.textList() != nullptr) << b.text().toStdString();
        if (!b.textList()) {
            EXPECT_EQ(other.blockFormat().leftMargin(), b.blockFormat().leftMargin());
            EXPECT_EQ(other.blockFormat().textIndent(), b.blockFormat().textIndent());
            EXPECT_EQ(other.blockFormat().topMargin(), b.blockFormat().topMargin());
        }
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat a = f.charFormat();
            const QTextCharFormat r = formatOf(*copy, f.text().left(4));
            const std::string what = f.text().toStdString();
            EXPECT_EQ(r.fontWeight() >= QFont::Bold, a.fontWeight() >= QFont::Bold) << what;
            EXPECT_EQ(r.fontItalic(), a.fontItalic()) << what;
            EXPECT_EQ(r.fontUnderline(), a.fontUnderline()) << what;
            EXPECT_EQ(r.fontStrikeOut(), a.fontStrikeOut()) << what;
            EXPECT_EQ(family(r), family(a)) << what;
            EXPECT_EQ(r.fontPointSize(), a.fontPointSize()) << what;
            EXPECT_EQ(r.verticalAlignment(), a.verticalAlignment()) << what;
            EXPECT_EQ(r.hasProperty(QTextFormat::ForegroundBrush),
                a.hasProperty(QTextFormat::ForegroundBrush))
                << what;
            EXPECT_EQ(r.foreground().color(), a.foreground().color()) << what;
            EXPECT_EQ(r.hasProperty(QTextFormat::BackgroundBrush),
                a.hasProperty(QTextFormat::BackgroundBrush))
                << what;
        }
    }
    ASSERT_NE(blockOf(*copy, "first").textList(), nullptr);
    EXPECT_EQ(blockOf(*copy, "first").textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(blockOf(*copy, "first").textList(), blockOf(*copy, "second").textList());
}

TEST(Writer, WritingTwiceGivesTheSameBytes)
{
    const QByteArray once = rtf::writeRtf(*richDocument());
    EXPECT_EQ(rtf::writeRtf(*readDoc(once)), once);
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
    const auto copy = readDoc(rtf);
    ASSERT_NE(blockOf(*copy, "two").textList(), nullptr);
    EXPECT_EQ(blockOf(*copy, "two").textList()->format().style(), QTextListFormat::ListDecimal);
}

struct RangeCase
{
    const char* name;
    int from, to;
    QString expected;
};

class Ranges : public ::testing::TestWithParam<RangeCase>
{
};

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
), [](const auto& p) { return std::string(p.param.name); });
// clang-format on

TEST(Writer, EmptyAndTrailingEmptyParagraphsSurvive)
{
    QTextDocument empty;
    EXPECT_EQ(plain(*readDoc(rtf::writeRtf(empty))), "");
    QTextDocument trailing;
    trailing.setPlainText("abc\n");
    EXPECT_EQ(plain(*readDoc(rtf::writeRtf(trailing))), "abc\n");
    QTextDocument blank;
    blank.setPlainText("\n\n");
    EXPECT_EQ(plain(*readDoc(rtf::writeRtf(blank))), "\n\n");
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
