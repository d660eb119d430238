// SPDX-License-Identifier: GPL-2.0-or-later
// The reader: formatting, text, code pages, lists and the tokens under it.
#include "platform/rtf/codepages.h"
#include "platform/rtf/tokenizer.h"
#include "rtftestutil.h"

namespace penwick::test {
namespace {

using rtf::Token;
using rtf::Tokenizer;

const QByteArray header = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern "
                          "Courier New;}{\\f2\\fnil\\fcharset2 Symbol;}{\\f3 Caf\\u233?\\{x\\};}}"
                          "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;"
                          "\\red255\\green255\\blue0;}\n";

QString text(const QByteArray& rtf)
{
    return plain(*readDoc(rtf));
}

// The character format as words: styles, size, font, colours that are set, vertical place.
std::string describe(const QTextCharFormat& f)
{
    QStringList w;
    const std::pair<bool, const char*> flags[] = { { bold(f), "b" }, { f.fontItalic(), "i" },
        { f.fontUnderline(), "u" }, { f.fontStrikeOut(), "s" } };
    for (const auto& [on, name] : flags)
        if (on)
            w << QLatin1String(name);
    w << QString::number(f.fontPointSize()) << family(f);
    if (f.hasProperty(QTextFormat::ForegroundBrush))
        w << "fg" + f.foreground().color().name();
    if (f.hasProperty(QTextFormat::BackgroundBrush))
        w << "bg" + f.background().color().name();
    if (f.verticalAlignment() != QTextCharFormat::AlignNormal)
        w << (f.verticalAlignment() == QTextCharFormat::AlignSuperScript ? "super" : "sub");
    return w.join(u' ').toStdString();
}

// The paragraph format as words: alignment, margins in pixels, line height.
std::string describe(const QTextBlock& b)
{
    const QTextBlockFormat f = b.blockFormat();
    const Qt::Alignment a = align(b);
    QString s = a == Qt::AlignJustify ? "justify"
        : a == Qt::AlignHCenter       ? "center"
        : a == Qt::AlignRight         ? "right"
                                      : "left";
    for (double m :
        { f.leftMargin(), f.rightMargin(), f.textIndent(), f.topMargin(), f.bottomMargin() })
        s += ' ' + QString::number(m);
    if (f.lineHeightType() != QTextBlockFormat::SingleHeight)
        s += " lh" + QString::number(f.lineHeightType()) + ':' + QString::number(f.lineHeight());
    return s.toStdString();
}

struct FormatCase
{
    QByteArray body;
    const char *text, *expected;
};

TEST(Reader, CharacterFormatting)
{
    const QByteArray styled = "{\\stylesheet{\\s0 Normal;}{\\cs62\\b footnote reference;}"
                              "{\\s1\\i\\super\\sbasedon2 One;}{\\*\\cs2\\ul Two;}}"
                              "\\pard\\plain\\s0 Hello\\par\\s1\\cs2 styled\\par";
    // clang-format off
    const FormatCase cases[] = {
        {"a \\b on\\b0  off", "on", "b 12 Arial"}, {"{\\b in}out", "out", "12 Arial"},
        {"\\b\\ul\\super a \\b0\\ulnone\\nosupersub off", "off", "12 Arial"},
        {"\\b\\i\\ul a\\plain  p", "p", "12 Arial"}, {"\\i\\ulwave\\strike s", "s", "i u s 12 Arial"},
        {"\\uldb u\\ulnone  n", "u", "u 12 Arial"}, {"\\ulthdashdd u\\ulnone  n", "n", "12 Arial"},
        {"\\fs36 big", "big", "18 Arial"}, {"\\fs99999999 x", "x", "1638 Arial"},
        {"\\f1 mono", "mono", "12 Courier New"}, {"\\f3 t", "t", "12 Café{x}"},
        {"\\f77 x", "x", "12 Arial"}, // no such font
        {"\\cf2 blue", "blue", "12 Arial fg#0000ff"}, {"\\cf1 r\\cf0 auto", "auto", "12 Arial"},
        {"\\cf99 x", "x", "12 Arial"}, {"\\highlight3 hl", "hl", "12 Arial bg#ffff00"},
        {"\\chcbpat1 sh", "sh", "12 Arial bg#ff0000"}, {"\\super sup\\sub sub", "sup", "12 Arial super"},
        {"\\super sup\\sub sub", "sub", "12 Arial sub"},
        // Style sheet entries format nothing, with or without \*; only what the text says counts.
        {styled, "Hello", "12 Arial"}, {styled, "styled", "12 Arial"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto doc = readDoc(header + c.body + "}");
        EXPECT_EQ(describe(formatOf(*doc, QString::fromUtf8(c.text))), c.expected) << c.body.data();
    }
}

TEST(Reader, Paragraphs)
{
    // clang-format off
    const FormatCase cases[] = {
        {"\\qj x\\par", "x", "justify 0 0 0 0 0"}, {"\\qc a\\par b\\par", "b", "center 0 0 0 0 0"},
        {"\\qc a\\par\\pard b\\par", "b", "left 0 0 0 0 0"},
        {"\\qr a\\pard\\qc\\par b", "a", "center 0 0 0 0 0"}, // the properties at the mark win
        {"a\\par\\qr b", "b", "right 0 0 0 0 0"}, // the last paragraph, without \par
        {"\\li720\\ri360\\fi-180\\sb240\\sa120 x\\par", "x", "left 48 24 -12 16 8"},
        {"\\li999999999 x\\par", "x", "left 2112 0 0 0 0"},
        // Line spacing in twips: at least, exactly (negative), or in 240ths of a line.
        {"\\sl300 x\\par", "x", "left 0 0 0 0 0 lh3:20"}, {"\\sl-300\\slmult0 x\\par", "x", "left 0 0 0 0 0 lh2:20"},
        {"\\sl360\\slmult1 x\\par", "x", "left 0 0 0 0 0 lh1:150"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto doc = readDoc(header + c.body + "}");
        EXPECT_EQ(describe(blockOf(*doc, QString::fromUtf8(c.text))), c.expected) << c.body.data();
    }
}

// ---- Text: code pages, Unicode, special characters, structure ----

TEST(Reader, Text)
{
    const std::pair<QByteArray, const char*> cases[] = {
        // clang-format off
        // Code pages: the document's, a font's, \cpg, raw high bytes, double-byte pairs.
        {"{\\rtf1\\ansi caf\\'e9 \\'80 \\'93q\\'94}", "café € “q”"}, {"{\\rtf1\\ansi caf\xE9}", "café"},
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset0\\cpg1251 A;}}\\f0 \\'cf}", "П"},
        {"{\\rtf1{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}\\f0 \\'e9\\f1 \\'e9}", "éй"},
        {"{\\rtf1{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}{\\f1 \\'e9}\\'e9}", "йé"},
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset128 M;}}\\f0 \\'82l\\'96\\'7b}", "Ｍ本"},
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset128 M;}}{\\f0 \\'82}x}", "\xEF\xBF\xBDx"}, // lead at group end
        {"{\\rtf1{\\fonttbl{\\f0 A;}{\\f1\\fcharset2 Symbol;}}{\\f1 abp\\'b7}}", "αβπ•"},
        {"{\\rtf1{\\fonttbl{\\f0 A;}{\\f1\\fcharset2 Wingdings;}}{\\f1 J\\'fc}}", "\xEF\x81\x8A\xEF\x83\xBC"},
        {"{\\rtf1{\\fonttbl{\\f0\\fcharset204 \\'c0\\'e1;}}\\f0 x}", "x"},
        // Document code pages: \\ansicpg, the old \\mac and \\pc words, pages we have no table for.
        {"{\\rtf1\\ansicpg437 \\'82}", "é"}, {"{\\rtf1\\ansicpg852 \\'85}", "ů"}, {"{\\rtf1\\ansicpg866 \\'80}", "А"},
        {"{\\rtf1\\mac \\'8e}", "é"}, {"{\\rtf1\\pc \\'82}", "é"}, {"{\\rtf1\\pca \\'d5}", "ı"},
        {"{\\rtf1\\ansicpg1361 \\'88\\'61}", "가"}, {"{\\rtf1\\ansicpg1200 \\'80}", "€"},
        // Double-byte pages: ASCII, single-byte characters, a byte that is neither; Johab's three lead ranges.
        {"{\\rtf1\\ansicpg932 a\\'b1\\'80\\'82\\'a0}", "aｱ\xEF\xBF\xBDあ"}, {"{\\rtf1\\ansicpg936 \\'80}", "€"},
        {"{\\rtf1\\ansicpg1361 \\'d9\\'31\\'e0\\'31\\'d4A}", "\xE3\x80\x80伽\xEF\xBF\xBD" "A"},
        // Unicode: negative, surrogates paired, lone and out of range, \ucN and what it skips.
        {"{\\rtf1 \\u8364?uro}", "€uro"}, {"{\\rtf1 \\u-4064?}", "\xEF\x80\xA0"},
        {"{\\rtf1 \\u-10179?\\u-8704?}", "😀"}, {"{\\rtf1 \\u55357?\\u56832?}", "😀"},
        {"{\\rtf1 \\u-10179?x\\u-8704?x}", "\xEF\xBF\xBDx\xEF\xBF\xBDx"},
        {"{\\rtf1 \\u-10179?\\u-10179?\\u-8704?}", "\xEF\xBF\xBD😀"},
        {"{\\rtf1 \\u99999?\\u-99999?x}", "\xEF\xBF\xBD\xEF\xBF\xBDx"},
        {"{\\rtf1\\uc2\\u8364??x\\uc0\\u8364 x}", "€x€x"}, {"{\\rtf1{\\uc2\\u8364??}\\u8364?x}", "€€x"},
        {"{\\rtf1{\\uc5\\u8364?}x}", "€x"}, {"{\\rtf1\\u233\\'e9x\\u233\\tab x}", "éxéx"},
        {"\xEF\xBB\xBF{\\rtf1 ok}", "ok"},
        // Structure: hidden text, specials, paragraph ends, skipped and unknown groups, fields.
        {"{\\rtf1{\\v hidden}shown\\v  gone\\v0  back}", "shown back"},
        {"{\\rtf1 a\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\emspace\\enspace\\qmspace"
            "\\zwj\\zwnj\\ltrmark\\rtlmark\\zwbo\\zwnbo\\tab\\line b}",
            "a—–•‘’“”\u2003\u2002\u2005\u200D\u200C\u200E\u200F\u200B\uFEFF\t\nb"}, // every named character
        {"{\\rtf1 a\\\\b\\{c\\}\\~b\\-c\\_d}", "a\\b{c}\xC2\xA0" "b\xC2\xAD" "c\xE2\x80\x91" "d"},
        {"{\\rtf1 a\\par b\\par}", "a\nb"}, {"{\\rtf1 a\\par\\par}", "a\n"}, {"{\\rtf1 a\\\nb}", "a\nb"},
        {QByteArray("{\\rtf1 a}\r\n\0junk", 16), "a"}, {"{\\rtf1 a\\page b\\par\\page c}", "a\nb\nc"},
        {"{\\rtf1 \\foo a{\\bar b}{\\*\\foo hidden{x}}c}", "abc"},
        {"{\\rtf1 a{\\info x}{\\header y}{\\fldinst z}{\\pntext p}{\\themedata t}b}", "ab"},
        {"{\\rtf1 {\\field{\\fldinst PAGE}{\\fldrslt 3}}}", "3"},
        {"{\\rtf1{\\field{\\*\\fldinst IF {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}} = 1 \"y\"}"
            "{\\fldrslt y}}}", "y"},
        {"{\\rtf1\\trowd\\cellx100\\cellx200\\cellx300\\intbl A\\cell B\\cell C\\cell\\row"
            "\\intbl D\\cell\\cell F\\cell\\row\\pard after}", "A\tB\tC\nD\t\tF\nafter"},
        {"{\\rtf1{\\upr{ansi}{\\*\\ud{uni}}}}", "ansi"}, {"{\\rtf1}", ""}, {"{\\rtf1 a\\\tb}", "a\tb"},
        {"{\\rtf1 a\\*\\foo b}c", "a"}, // skipped at the top: the document ends
        {"{\\rtf1 " + QByteArray(1100, '{') + "{\\*\\foo x}y" + QByteArray(1100, '}') + "z}", "yz"},
        {"{\\rtf1{\\fonttbl{\\f0 A;}{\\pict\\pngblip 00}{\\pn x}}ok}", "ok"},
        // clang-format on
    };
    for (const auto& [rtf, expected] : cases)
        EXPECT_EQ(text(rtf).toStdString(), expected) << rtf.left(60).data();
}

// Rich text put in at a cursor or over a selection joins the host's paragraphs; one undo step
// takes it back. Only whole paragraphs take its paragraph formats.
TEST(Reader, InsertMergesWithTheHost)
{
    const std::tuple<int, int, QByteArray, const char*> cases[] = {
        // clang-format off
        {2, 2, "{\\rtf1 ab\\par}", "XYabZ"}, {2, 2, "{\\rtf1 A\\par B\\par}", "XYA\nBZ"},
        {2, 2, "{\\rtf1 A\\par\\par}", "XYA\nZ"}, {0, 0, "{\\rtf1 A\\par B}", "A\nBXYZ"},
        {3, 3, "{\\rtf1 A\\par B\\par}", "XYZA\nB"}, {1, 2, "{\\rtf1 \\b 2}", "X2Z"},
        {0, 0, "{\\rtf1\\qc centred\\par\\par}", "centred\nXYZ"},
        // clang-format on
    };
    for (const auto& [from, to, rtf, expected] : cases) {
        QTextDocument doc;
        doc.setPlainText("XYZ");
        QTextCursor cursor(&doc);
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        ASSERT_TRUE(rtf::insertRtf(cursor, rtf));
        EXPECT_EQ(plain(doc), expected);
        EXPECT_EQ(bold(formatOf(doc, "2")), rtf.contains("\\b"));
        EXPECT_EQ(align(blockOf(doc, "XYZ")), Qt::AlignLeft);
        EXPECT_TRUE(!rtf.contains("\\qc") || align(blockOf(doc, "centred")) == Qt::AlignHCenter);
        doc.undo();
        EXPECT_EQ(plain(doc), "XYZ") << "one undo step";
    }
    QTextDocument empty;
    QTextCursor cursor(&empty);
    ASSERT_TRUE(rtf::insertRtf(cursor, "{\\rtf1 A}"));
    EXPECT_EQ(plain(empty), "A");
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

// ---- Tables: character sets, named characters, lists ----

// One character of each character set a font can name, in that set's own bytes.
TEST(Tables, EveryCharsetReadsInItsCodePage)
{
    const std::tuple<int, const char*, char16_t> cases[] = { { 0, "\\'80", u'€' },
        { 2, "a", u'\uF061' }, { 77, "\\'8e", u'é' }, { 128, "\\'82\\'a0", u'あ' },
        { 129, "\\'b0\\'a1", u'가' }, { 130, "\\'88\\'61", u'가' }, { 134, "\\'c4\\'e3", u'你' },
        { 136, "\\'a4\\'a4", u'中' }, { 161, "\\'e1", u'α' }, { 162, "\\'fd", u'ı' },
        { 163, "\\'f5", u'ơ' }, { 177, "\\'e0", u'א' }, { 178, "\\'c7", u'ا' },
        { 186, "\\'e0", u'ą' }, { 204, "\\'e9", u'й' }, { 222, "\\'a1", u'ก' },
        { 238, "\\'8a", u'Š' }, { 255, "\\'82", u'é' },
        // A set we do not know reads as Windows' Western page.
        { 1, "\\'80", u'€' } };
    for (const auto& [charset, bytes, expected] : cases)
        EXPECT_EQ(text("{\\rtf1{\\fonttbl{\\f0\\fcharset" + QByteArray::number(charset)
                      + " A;}}\\f0 " + bytes + "}"),
            QString(QChar(expected)))
            << charset;
    EXPECT_EQ(rtf::codePageForCharset(1), 0);
}

// Every numbering a list level or an old-style paragraph number names reads as its list style,
// and is written so that it reads the same again.
TEST(Tables, EveryListNumberingReadsAndWritesBack)
{
    using S = QTextListFormat::Style;
    const std::pair<const char*, S> cases[] = { { "\\levelnfc0", S::ListDecimal },
        { "\\levelnfc1", S::ListUpperRoman }, { "\\levelnfc2", S::ListLowerRoman },
        { "\\levelnfc3", S::ListUpperAlpha }, { "\\levelnfc4", S::ListLowerAlpha },
        { "\\levelnfc23", S::ListDisc }, { "\\levelnfc9", S::ListDecimal },
        { "\\pndec", S::ListDecimal }, { "\\pnucltr", S::ListUpperAlpha },
        { "\\pnlcltr", S::ListLowerAlpha }, { "\\pnucrm", S::ListUpperRoman },
        { "\\pnlcrm", S::ListLowerRoman }, { "\\pnlvlblt", S::ListDisc } };
    for (const auto& [word, style] : cases) {
        const QByteArray rtf = QByteArray(word).startsWith("\\level")
            ? "{\\rtf1{\\*\\listtable{\\list{\\listlevel" + QByteArray(word)
                + "{\\leveltext\\'01x;}}\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1"
                  "\\ls1}}\\pard\\ls1 a\\par b\\par}"
            : "{\\rtf1{\\*\\pn\\pnlvlbody" + QByteArray(word) + "}a\\par b\\par}";
        const auto doc = readDoc(rtf);
        EXPECT_EQ(listStyle(blockOf(*doc, "a")), style) << word;
        EXPECT_EQ(listStyle(blockOf(*readDoc(rtf::writeRtf(*doc)), "b")), style) << word;
    }
}

// A paragraph leaves its list when the next list level it names has no numbering, or another
// list (a list never defined is a bullet list, and \ls wins over \pn); pasted into the middle of a
// list item, the last paragraph stays in the item's list.
TEST(Tables, ParagraphsLeaveAndJoinLists)
{
    const auto doc = readDoc("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext"
                             "\\'01x;}}\\listid1}{\\list{\\listlevel\\levelnfc255{\\leveltext;}}"
                             "\\listid2}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}"
                             "{\\listoverride\\listid2\\ls2}}\\pard\\ls1 a\\par\\ls2 b\\par\\ls1 c"
                             "\\par\\ls3 d\\par\\pard\\ls1{\\*\\pn\\pnlvlbody\\pndec}e\\par}");
    EXPECT_EQ(blockOf(*doc, "b").textList(), nullptr); // a level without numbering
    EXPECT_EQ(listStyle(blockOf(*doc, "d")), QTextListFormat::ListDisc); // a dangling \ls
    EXPECT_EQ(listStyle(blockOf(*doc, "e")), QTextListFormat::ListDisc); // \ls wins over \pn
    EXPECT_NE(blockOf(*doc, "d").textList(), blockOf(*doc, "c").textList());

    QTextDocument host;
    QTextCursor c(&host);
    c.createList(QTextListFormat::ListDecimal);
    c.insertText("item, tail");
    c.setPosition(4);
    ASSERT_TRUE(rtf::insertRtf(c, "{\\rtf1 \\pard\\ls7 one\\par\\pard two}"));
    EXPECT_EQ(plain(host), "itemone\ntwo, tail");
    ASSERT_NE(blockOf(host, "item").textList(), nullptr);
    EXPECT_EQ(blockOf(host, "two").textList(), blockOf(host, "item").textList());
}

// ---- Tokens ----

// One line per token: W:word[param] T:text S:symbol H:hex B:binary P { }
std::string dump(const QByteArray& input)
{
    Tokenizer tok(input);
    std::string out;
    for (Token t = tok.next(); t.type != Token::End; t = tok.next()) {
        const std::string view = t.view.toByteArray().toStdString();
        const std::string s = t.type == Token::GroupOpen ? "{"
            : t.type == Token::GroupClose                ? "}"
            : t.type == Token::ParBreak                  ? "P"
            : t.type == Token::Text                      ? "T:" + view
            : t.type == Token::Binary                    ? "B:" + view
            : t.type == Token::ControlSymbol             ? std::string("S:") + t.symbol
            : t.type == Token::HexByte ? "H:" + QByteArray::number(t.byte, 16).toStdString()
                                       : "W:" + view + (t.hasParam ? std::to_string(t.param) : "");
        out += (out.empty() ? "" : " ") + s;
    }
    return out;
}

TEST(Tokenizer, Edges)
{
    // clang-format off
    const std::pair<QByteArray, std::string> cases[] = {
        {"\\b0 x", "W:b0 T:x"}, {"\\b  x", "W:b T: x"}, {"\\par;x", "W:par T:;x"},
        {"\\li-360x", "W:li-360 T:x"}, {"\\li-x", "W:li T:-x"}, {"\\B1\\b1", "W:B1 W:b1"},
        {"\\fs99999999999999999999999 x", "W:fs2147483647 T:x"},
        {"\\li-99999999999999999999999 x", "W:li-2147483648 T:x"},
        {"{a{b}}", "{ T:a { T:b } }"},
        {QByteArray("a\r\nb\0c", 6), "T:a T:b T:c"}, // bare line ends and NUL are ignored
        {"a\\\r\nb\\\nc", "T:a P T:b P T:c"},
        {"\\'e9\\'4A", "H:e9 H:4a"}, {"\\'4", "H:4"}, {"x\\'", "T:x"}, {"\\'zz", "T:zz"},
        {"x\\", "T:x"}, {"\\~\\-\\_\\*\\\\\\{\\}", "S:~ S:- S:_ S:* S:\\ S:{ S:}"},
        {"\\bin3 {}}x", "B:{}} T:x"}, {"\\bin99 ab", "B:ab"}, {"\\bin-5 x", "B: T:x"},
        {"\\bin4294967296 abc", "B:abc"}, {"\\binary x", "W:binary T:x"},
        {"caf\xE9!", "T:caf\xE9!"},
        {"\\" + QByteArray(5000, 'a') + "12 x", "W:" + std::string(5000, 'a') + "12 T:x"},
    };
    // clang-format on
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(dump(input), expected) << input.left(40).toStdString();
}

TEST(Tokenizer, SkipGroupHonoursNestingAndBinaryAndStopsAtTheEnd)
{
    Tokenizer tok("a{b}\\bin2 }}\\}c}d");
    tok.skipGroup();
    EXPECT_EQ(tok.next().view.toByteArray(), "d");
    Tokenizer open("{{{\\bin999 x");
    open.skipGroup();
    EXPECT_TRUE(open.remaining() == 0 && open.next().type == Token::End);
}

} // namespace
} // namespace penwick::test
