// SPDX-License-Identifier: GPL-2.0-or-later
#include "rtftestutil.h"

#include <functional>

namespace penwick::test {
namespace {

const QByteArray header = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern "
                          "Courier New;}{\\f2\\fnil\\fcharset2 Symbol;}}"
                          "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;"
                          "\\red255\\green255\\blue0;}\n";

std::unique_ptr<QTextDocument> body(const QByteArray& b)
{
    return readDoc(header + b + "}");
}

// ---- Character formatting ----

// A document body, the run or paragraph looked at, and what must hold of its format.
template <typename Format> struct FormatCase
{
    const char* name;
    QByteArray body;
    const char* text;
    std::function<bool(const Format&)> check;
};
using CharCase = FormatCase<QTextCharFormat>;
using ParaCase = FormatCase<QTextBlock>;

using CharFormatting = ::testing::TestWithParam<CharCase>;

TEST_P(CharFormatting, Applies)
{
    const auto doc = body(GetParam().body);
    const QTextCharFormat f = formatOf(*doc, QString::fromUtf8(GetParam().text));
    ASSERT_TRUE(f.isValid()) << plain(*doc).toStdString();
    EXPECT_TRUE(GetParam().check(f)) << plain(*doc).toStdString();
}

const QByteArray styled = "{\\stylesheet{\\s0 Normal;}{\\cs62\\b footnote reference;}"
                          "{\\s1\\i\\super\\sbasedon2 One;}{\\*\\cs2\\ul Two;}}"
                          "\\pard\\plain\\s0 Hello\\par\\s1\\cs2 styled\\par";
bool unformatted(const QTextCharFormat& f)
{
    return !bold(f) && !f.fontItalic() && !f.fontUnderline()
        && f.verticalAlignment() == QTextCharFormat::AlignNormal;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Kinds, CharFormatting, ::testing::Values(
    CharCase{"Bold", "a \\b on\\b0  off", "on", bold},
    CharCase{"Off", "\\b\\ul\\super a \\b0\\ulnone\\nosupersub off", "off", [](auto& f) {
        return !bold(f) && !f.fontUnderline() && f.verticalAlignment() == QTextCharFormat::AlignNormal; }},
    CharCase{"GroupRestores", "{\\b in}out", "out", [](auto& f) { return !bold(f); }},
    CharCase{"Plain", "\\b\\i\\ul a\\plain  p", "p", [](auto& f) {
        return !bold(f) && !f.fontItalic() && !f.fontUnderline(); }},
    CharCase{"ItalicUnderlineStrike", "\\i\\ulwave\\strike s", "s", [](auto& f) {
        return f.fontItalic() && f.fontUnderline() && f.fontStrikeOut(); }},
    CharCase{"Size", "\\fs36 big", "big", [](auto& f) { return f.fontPointSize() == 18.0; }},
    CharCase{"Defaults", "x", "x", [](auto& f) { return f.fontPointSize() == 12.0 && family(f) == "Arial"; }},
    CharCase{"HugeSizeClamped", "\\fs99999999 x", "x", [](auto& f) {
        return f.fontPointSize() > 0 && f.fontPointSize() <= 1638; }},
    CharCase{"Font", "\\f1 mono", "mono", [](auto& f) { return family(f) == "Courier New"; }},
    CharCase{"UndefinedFontFallsBack", "\\f77 x", "x", [](auto& f) { return family(f) == "Arial"; }},
    CharCase{"Colour", "\\cf2 blue", "blue", [](auto& f) {
        return f.foreground().color() == QColor(0, 0, 255); }},
    CharCase{"AutoColour", "\\cf1 r\\cf0 auto", "auto", [](auto& f) {
        return !f.hasProperty(QTextFormat::ForegroundBrush); }},
    CharCase{"UnknownColour", "\\cf99 x", "x", [](auto& f) {
        return !f.hasProperty(QTextFormat::ForegroundBrush); }},
    CharCase{"Highlight", "\\highlight3 hl", "hl", [](auto& f) {
        return f.background().color() == QColor(255, 255, 0); }},
    CharCase{"Shading", "\\chcbpat1 sh", "sh", [](auto& f) {
        return f.background().color() == QColor(255, 0, 0); }},
    CharCase{"Super", "\\super sup", "sup", [](auto& f) {
        return f.verticalAlignment() == QTextCharFormat::AlignSuperScript; }},
    // Style sheet entries format nothing, with or without \*; only what the text says counts.
    CharCase{"StyleSheetEntriesFormatNothing", styled, "Hello", unformatted},
    CharCase{"StylesNamedInTheTextFormatNothing", styled, "styled", unformatted}
), caseName);
// clang-format on

// ---- Paragraphs ----

using Paragraphs = ::testing::TestWithParam<ParaCase>;

TEST_P(Paragraphs, Apply)
{
    const auto doc = body(GetParam().body);
    const QTextBlock b = blockOf(*doc, QString::fromUtf8(GetParam().text));
    ASSERT_TRUE(b.isValid()) << plain(*doc).toStdString();
    EXPECT_TRUE(GetParam().check(b)) << plain(*doc).toStdString();
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Kinds, Paragraphs, ::testing::Values(
    ParaCase{"Justify", "\\qj x\\par", "x", [](auto& b) { return align(b) == Qt::AlignJustify; }},
    ParaCase{"CarriesOverPar", "\\qc a\\par b\\par", "b", [](auto& b) { return align(b) == Qt::AlignHCenter; }},
    ParaCase{"PardResets", "\\qc a\\par\\pard b\\par", "b", [](auto& b) { return align(b) == Qt::AlignLeft; }},
    ParaCase{"PropertiesAtTheMarkWin", "\\qr a\\pard\\qc\\par b", "a", [](auto& b) {
        return align(b) == Qt::AlignHCenter; }},
    ParaCase{"LastParagraphWithoutPar", "a\\par\\qr b", "b", [](auto& b) {
        return align(b) == Qt::AlignRight; }},
    ParaCase{"IndentsAndSpacing", "\\li720\\ri360\\fi-180\\sb240\\sa120 x\\par", "x", [](auto& b) {
        const auto f = b.blockFormat();
        return f.leftMargin() == 48 && f.rightMargin() == 24 && f.textIndent() == -12
            && f.topMargin() == 16 && f.bottomMargin() == 8; }},
    ParaCase{"LineSpacingMultiple", "\\sl480\\slmult1 x\\par", "x", [](auto& b) {
        return b.blockFormat().lineHeightType() == QTextBlockFormat::ProportionalHeight
            && b.blockFormat().lineHeight() == 200; }},
    ParaCase{"HugeIndentClamped", "\\li999999999 x\\par", "x", [](auto& b) {
        return b.blockFormat().leftMargin() <= 31680 / 15; }}
), caseName);
// clang-format on

// ---- Text: code pages, Unicode, special characters, structure ----

struct TextCase
{
    const char* name;
    QByteArray rtf; // whole document
    const char* expected; // UTF-8
};

using Text = ::testing::TestWithParam<TextCase>;

TEST_P(Text, Reads)
{
    EXPECT_EQ(plain(*readDoc(GetParam().rtf)).toStdString(), std::string(GetParam().expected));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(CodePages, Text, ::testing::Values(
    TextCase{"Ansi", "{\\rtf1\\ansi caf\\'e9 \\'80 \\'93q\\'94}", "café € “q”"},
    TextCase{"RawHighBytes", "{\\rtf1\\ansi caf\xE9}", "café"},
    TextCase{"CpgOverrides", "{\\rtf1{\\fonttbl{\\f0\\fcharset0\\cpg1251 A;}}\\f0 \\'cf}", "П"},
    TextCase{"PerFont", "{\\rtf1{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}\\f0 \\'e9\\f1 \\'e9}", "éй"},
    TextCase{"GroupRestoresCodePage",
        "{\\rtf1{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}{\\f1 \\'e9}\\'e9}", "йé"},
    TextCase{"ShiftJisLiteralAndBraceTrail", "{\\rtf1{\\fonttbl{\\f0\\fcharset128 M;}}\\f0 \\'82l\\'96\\'7b}", "Ｍ本"},
    TextCase{"LeadAtGroupEnd", "{\\rtf1{\\fonttbl{\\f0\\fcharset128 M;}}{\\f0 \\'82}x}", "\xEF\xBF\xBDx"},
    TextCase{"Symbol", "{\\rtf1{\\fonttbl{\\f0 A;}{\\f1\\fcharset2 Symbol;}}{\\f1 abp\\'b7}}", "αβπ•"},
    TextCase{"OtherSymbolFontsPrivateUse",
        "{\\rtf1{\\fonttbl{\\f0 A;}{\\f1\\fcharset2 Wingdings;}}{\\f1 J\\'fc}}", "\xEF\x81\x8A\xEF\x83\xBC"},
    TextCase{"FontNameInItsCodePage",
        "{\\rtf1{\\fonttbl{\\f0\\fcharset204 \\'c0\\'e1;}}\\f0 x}", "x"}
), caseName);

INSTANTIATE_TEST_SUITE_P(Unicode, Text, ::testing::Values(
    TextCase{"Basic", "{\\rtf1 \\u8364?uro}", "€uro"},
    TextCase{"Negative", "{\\rtf1 \\u-4064?}", "\xEF\x80\xA0"},
    TextCase{"SurrogatePair", "{\\rtf1 \\u-10179?\\u-8704?}", "😀"},
    TextCase{"SurrogatePairAbove32767", "{\\rtf1 \\u55357?\\u56832?}", "😀"},
    TextCase{"LoneHighAndLow", "{\\rtf1 \\u-10179?x\\u-8704?x}", "\xEF\xBF\xBDx\xEF\xBF\xBDx"},
    TextCase{"HighThenHigh", "{\\rtf1 \\u-10179?\\u-10179?\\u-8704?}", "\xEF\xBF\xBD😀"},
    TextCase{"OutOfRange", "{\\rtf1 \\u99999?\\u-99999?x}", "\xEF\xBF\xBD\xEF\xBF\xBDx"},
    TextCase{"Uc2Uc0", "{\\rtf1\\uc2\\u8364??x\\uc0\\u8364 x}", "€x€x"},
    TextCase{"UcScoped", "{\\rtf1{\\uc2\\u8364??}\\u8364?x}", "€€x"},
    TextCase{"SkipStopsAtGroupEnd", "{\\rtf1{\\uc5\\u8364?}x}", "€x"},
    TextCase{"SkipCountsHexAndControlWords", "{\\rtf1\\u233\\'e9x\\u233\\tab x}", "éxéx"},
    TextCase{"Utf8BomAccepted", "\xEF\xBB\xBF{\\rtf1 ok}", "ok"}
), caseName);

INSTANTIATE_TEST_SUITE_P(Structure, Text, ::testing::Values(
    TextCase{"Hidden", "{\\rtf1{\\v hidden}shown\\v  gone\\v0  back}", "shown back"},
    TextCase{"EscapesAndSpecials", "{\\rtf1 a\\\\b\\{c\\}\\~b\\-c\\_d}",
        "a\\b{c}\xC2\xA0" "b\xC2\xAD" "c\xE2\x80\x91" "d"},
    TextCase{"LastParIsTheEndMark", "{\\rtf1 a\\par b\\par}", "a\nb"},
    TextCase{"EmptyLastParagraphKept", "{\\rtf1 a\\par\\par}", "a\n"},
    TextCase{"BackslashNewline", "{\\rtf1 a\\\nb}", "a\nb"},
    TextCase{"TrailingBytesIgnored", QByteArray("{\\rtf1 a}\r\n\0junk", 16), "a"},
    TextCase{"PageAfterParAddsNothing", "{\\rtf1 a\\page b\\par\\page c}", "a\nb\nc"},
    TextCase{"UnknownWordTextKeptStarSkipped", "{\\rtf1 \\foo a{\\bar b}{\\*\\foo hidden{x}}c}", "abc"},
    TextCase{"FieldWithoutStar", "{\\rtf1 {\\field{\\fldinst PAGE}{\\fldrslt 3}}}", "3"},
    TextCase{"NestedFieldInstruction",
        "{\\rtf1{\\field{\\*\\fldinst IF {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} = 1 \"y\"}"
        "{\\fldrslt y}}}", "y"},
    TextCase{"Table", "{\\rtf1\\trowd\\cellx100\\cellx200\\cellx300\\intbl A\\cell B\\cell C\\cell\\row"
        "\\intbl D\\cell\\cell F\\cell\\row\\pard after}", "A\tB\tC\nD\t\tF\nafter"},
    TextCase{"Upr", "{\\rtf1{\\upr{ansi}{\\*\\ud{uni}}}}", "ansi"},
    TextCase{"EmptyDocument", "{\\rtf1}", ""},
    TextCase{"ControlTab", "{\\rtf1 a\\\tb}", "a\tb"},
    TextCase{"SkippedAtTheTopEndsTheDocument", "{\\rtf1 a\\*\\foo b}c", "a"},
    TextCase{"SkippedPastTheDepthLimit", "{\\rtf1 " + QByteArray(1100, '{') + "{\\*\\foo x}y"
        + QByteArray(1100, '}') + "z}", "yz"},
    TextCase{"PicturesAndNumbersInTablesAreSkipped",
        "{\\rtf1{\\fonttbl{\\f0 A;}{\\pict\\pngblip 00}{\\pn x}}ok}", "ok"}
), caseName);
// clang-format on

// ---- Lists ----

struct ListCase
{
    const char* name;
    QByteArray rtf;
    const char* text;
    std::optional<QTextListFormat::Style> style; // nullopt: not in a list
};

using Lists = ::testing::TestWithParam<ListCase>;

TEST_P(Lists, Kind)
{
    const auto doc = readDoc(GetParam().rtf);
    const QTextBlock b = blockOf(*doc, QString::fromUtf8(GetParam().text));
    ASSERT_TRUE(b.isValid()) << plain(*doc).toStdString();
    EXPECT_EQ(listStyle(b), GetParam().style);
    if (b.textList()) {
        EXPECT_GE(b.textList()->format().indent(), 1);
    }
    EXPECT_EQ(plain(*doc).indexOf(QChar(0xB7)), -1) << "labels are never text";
}

const QByteArray legacyBullet
    = "{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
      "\\fi-360\\li720 ";
const QByteArray listTables
    = "{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}}"
      "\\listid7}{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid8}"
      "{\\list{\\listlevel\\levelnfc255{\\leveltext;}}\\listid9}}"
      "{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}"
      "{\\listoverride\\listid8\\ls2}{\\listoverride\\listid9\\ls3}}";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Kinds, Lists, ::testing::Values(
    ListCase{"LegacyBullet", "{\\rtf1 " + legacyBullet + "one\\par}", "one", QTextListFormat::ListDisc},
    ListCase{"LegacyNumbered", "{\\rtf1{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}"
        "n\\par}", "n", QTextListFormat::ListDecimal},
    ListCase{"ModernBullet", "{\\rtf1" + listTables + "\\pard\\ls1{\\listtext\\'b7\\tab}b\\par}", "b",
        QTextListFormat::ListDisc},
    ListCase{"ModernNumbered", "{\\rtf1" + listTables + "\\pard\\ls2{\\listtext 1.\\tab}n\\par}", "n",
        QTextListFormat::ListDecimal},
    ListCase{"NoLabelIsNoList", "{\\rtf1" + listTables + "\\pard\\ls3 h\\par}", "h", std::nullopt},
    ListCase{"DanglingLsIsBullet", "{\\rtf1\\pard\\ls42 d\\par}", "d", QTextListFormat::ListDisc},
    ListCase{"LsWinsOverPn", "{\\rtf1" + listTables + "\\pard\\ls2{\\*\\pn\\pnlvlblt}w\\par}", "w",
        QTextListFormat::ListDecimal}
), caseName);
// clang-format on

TEST(Reader, ConsecutiveBulletsShareOneList)
{
    const auto doc = readDoc("{\\rtf1 " + legacyBullet + "a\\par{\\pntext\\'B7\\tab}b\\par"
        + "\\pard c\\par" + legacyBullet + "d\\par}");
    const QTextList* a = blockOf(*doc, "a").textList();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(blockOf(*doc, "b").textList(), a);
    EXPECT_EQ(blockOf(*doc, "c").textList(), nullptr);
    EXPECT_NE(blockOf(*doc, "d").textList(), nullptr);
    EXPECT_NE(blockOf(*doc, "d").textList(), a);
}

// ---- Insertion at a cursor ----

struct InsertCase
{
    const char* name;
    QString host;
    int at;
    QByteArray rtf;
    QString expected;
};

using Insert = ::testing::TestWithParam<InsertCase>;

TEST_P(Insert, MergesWithHost)
{
    QTextDocument doc;
    doc.setPlainText(GetParam().host);
    QTextCursor c(&doc);
    c.setPosition(GetParam().at);
    ASSERT_TRUE(rtf::insertRtf(c, GetParam().rtf));
    EXPECT_EQ(plain(doc), GetParam().expected);
    doc.undo();
    EXPECT_EQ(plain(doc), GetParam().host) << "one undo step";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, Insert, ::testing::Values(
    InsertCase{"Inline", "XYZ", 2, "{\\rtf1 ab\\par}", "XYabZ"},
    InsertCase{"TwoParagraphs", "XYZ", 2, "{\\rtf1 A\\par B\\par}", "XYA\nBZ"},
    InsertCase{"KeepsEmptyParagraph", "XYZ", 2, "{\\rtf1 A\\par\\par}", "XYA\nZ"},
    InsertCase{"AtStart", "XYZ", 0, "{\\rtf1 A\\par B}", "A\nBXYZ"},
    InsertCase{"AtEnd", "XYZ", 3, "{\\rtf1 A\\par B\\par}", "XYZA\nB"},
    InsertCase{"IntoEmpty", "", 0, "{\\rtf1 A}", "A"}
), caseName);
// clang-format on

TEST(Reader, InsertReplacesSelectionAndFormatsWholeParagraphsOnly)
{
    QTextDocument doc;
    doc.setPlainText("one two three");
    QTextCursor c(&doc);
    c.setPosition(4);
    c.setPosition(7, QTextCursor::KeepAnchor);
    ASSERT_TRUE(rtf::insertRtf(c, "{\\rtf1 \\b 2}"));
    EXPECT_EQ(plain(doc), "one 2 three");
    EXPECT_TRUE(bold(formatOf(doc, "2")));
    c.setPosition(0);
    ASSERT_TRUE(rtf::insertRtf(c, "{\\rtf1\\qc centred\\par\\par}"));
    EXPECT_EQ(plain(doc), "centred\none 2 three");
    EXPECT_EQ(align(blockOf(doc, "centred")), Qt::AlignHCenter);
    EXPECT_EQ(align(blockOf(doc, "one")), Qt::AlignLeft);
}

// ---- Files in the styles of other programs ----

TEST(Reader, FilesOfOtherPrograms)
{
    const std::pair<const char*, const char*> files[] = {
        { "wordpad.rtf", "WordPad bold both blue\none\ntwo\nthree\nПривет\n“quoted” 😀" },
        { "word.rtf",
            "Heading\nWord bold text– dash日本link\ndot one\ndot two\nnumbered\ncell one\tcell "
            "two\nstyled loop" },
        { "libreoffice.rtf",
            "Centred bold italic under struck\nred café € Привет 日本\nfirst bullet\nsecond "
            "bullet\nnumbered\nA1\tB1\nA2\tB2\nright end" }
    };
    for (const auto& [name, text] : files)
        EXPECT_EQ(plain(*readDoc(fixture(name))).toStdString(), text) << name;

    const auto word = readDoc(fixture("word.rtf"));
    EXPECT_EQ(family(formatOf(*word, "日本")), "MS Mincho");
    EXPECT_EQ(listStyle(blockOf(*word, "dot two")), QTextListFormat::ListDisc);
    EXPECT_EQ(listStyle(blockOf(*word, "numbered")), QTextListFormat::ListDecimal);
    const auto libre = readDoc(fixture("libreoffice.rtf"));
    EXPECT_EQ(family(formatOf(*libre, "Centred")), "DejaVu Serif");
    EXPECT_EQ(formatOf(*libre, "red caf").foreground().color(), QColor(0xC0, 0x39, 0x2B));
}

} // namespace
} // namespace penwick::test
