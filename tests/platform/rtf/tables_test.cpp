// SPDX-License-Identifier: GPL-2.0-or-later
// The reader's tables walked entry by entry: every character set and code page, every
// destination that never shows, every underline style and every named character.
#include "platform/rtf/codepages.h"
#include "rtftestutil.h"

namespace penwick::test {
namespace {

QString text(const QByteArray& rtf)
{
    return plain(*readDoc(rtf));
}

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

// The document's code page, named by \ansicpg or by the old \mac and \pca words.
TEST(Tables, EveryDocumentCodePage)
{
    // Pages no character set names, and the words that name pages.
    const std::pair<const char*, const char16_t*> cases[] = { { "\\ansicpg437 \\'82", u"é" },
        { "\\ansicpg852 \\'85", u"ů" }, { "\\ansicpg866 \\'80", u"А" },
        { "\\ansicpg1251 \\'cf\\'f0", u"Пр" }, { "\\mac \\'8e", u"é" }, { "\\pc \\'82", u"é" },
        { "\\pca \\'d5", u"ı" }, { "\\ansicpg1361 \\'88\\'61", u"가" },
        // A page we have no table for reads as the Western one.
        { "\\ansicpg1200 \\'80", u"€" } };
    for (const auto& [words, expected] : cases)
        EXPECT_EQ(text("{\\rtf1" + QByteArray(words) + "}"), QString::fromUtf16(expected)) << words;
}

// In a double-byte page: ASCII as is, the page's single-byte characters (half-width katakana),
// and a byte that is neither as the replacement character.
TEST(Tables, DoubleBytePagesReadSingleBytesToo)
{
    EXPECT_EQ(text("{\\rtf1\\ansicpg932 a\\'b1\\'80\\'82\\'a0}"), u"aｱ\uFFFDあ");
    EXPECT_EQ(text("{\\rtf1\\ansicpg936 \\'80}"), u"€");
    // Johab's lead bytes come in three ranges.
    EXPECT_EQ(text("{\\rtf1\\ansicpg1361 \\'d9\\'31\\'e0\\'31\\'d4A}"), u"\u3000伽\uFFFDA");
}

// Past the number of pairs it keeps, the decoder still reads every pair right.
TEST(Tables, DoubleByteDecoderReadsPairsPastItsCache)
{
    rtf::CodePageDecoder gbk(936);
    QByteArray pairs;
    for (int lead : { 0xD0, 0x81 }) // 21 010 different pairs, 你 (C4 E3) not among them
        for (int l = lead; l < (lead == 0x81 ? 0xC0 : 0xFF); ++l)
            for (int trail = 0x40; trail < 0xFF; ++trail)
                pairs.append(char(l)).append(char(trail));
    QString out;
    gbk.decode(pairs, out);
    EXPECT_EQ(out.size(), 21010);
    out.clear();
    gbk.decode("\xC4\xE3\xC4\xE3\xC4", out);
    EXPECT_TRUE(gbk.pending());
    gbk.flush(out);
    EXPECT_EQ(out, u"你你\uFFFD");
}

TEST(Tables, EveryDestinationThatNeverShowsIsSkipped)
{
    for (const char* word : { "stylesheet", "info", "header", "headerl", "headerr", "headerf",
             "footer", "footerl", "footerr", "footerf", "footnote", "fldinst", "objdata", "pntext",
             "listtext", "nonshppict", "pnseclvl", "themedata", "datastore", "latentstyles",
             "bkmkstart", "bkmkend", "annotation", "atnid", "atnauthor", "atrfstart", "atrfend",
             "atndate", "xe", "tc", "txe", "rxe", "template", "revtbl", "rsidtbl", "generator",
             "xmlnstbl", "filetbl", "listpicture", "pgdsctbl", "private", "userprops", "docvar",
             "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn", "objclass", "objname",
             "objalias", "objsect", "objtime", "shpinst", "do", "mmathPr", "operator", "author",
             "comment", "title", "subject", "keywords", "doccomm", "company", "password",
             "protusertbl", "wgrffmtfilter", "falt", "panose", "fname", "leveltext", "levelnumbers",
             "listname", "blipuid", "picprop", "sp", "ud", "nesttableprops", "background", "shpgrp",
             "fchars", "lchars", "colorschememapping", "factoidname" })
        EXPECT_EQ(text("{\\rtf1 a{\\" + QByteArray(word) + " hidden}b}"), u"ab") << word;
}

TEST(Tables, EveryUnderlineStyleUnderlines)
{
    for (const char* word : { "ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
             "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash",
             "ululdbwave", "ulw", "ulwave" }) {
        const auto doc = readDoc("{\\rtf1 \\" + QByteArray(word) + " u\\ulnone  n}");
        EXPECT_TRUE(formatOf(*doc, "u").fontUnderline()) << word;
        EXPECT_FALSE(formatOf(*doc, "n").fontUnderline()) << word;
    }
}

TEST(Tables, EveryNamedCharacter)
{
    const std::pair<const char*, char16_t> cases[] = { { "emdash", u'—' }, { "endash", u'–' },
        { "bullet", u'•' }, { "lquote", u'‘' }, { "rquote", u'’' }, { "ldblquote", u'“' },
        { "rdblquote", u'”' }, { "emspace", u'\u2003' }, { "enspace", u'\u2002' },
        { "qmspace", u'\u2005' }, { "zwj", u'\u200D' }, { "zwnj", u'\u200C' },
        { "ltrmark", u'\u200E' }, { "rtlmark", u'\u200F' }, { "zwbo", u'\u200B' },
        { "zwnbo", u'\uFEFF' }, { "tab", u'\t' }, { "line", u'\n' } };
    for (const auto& [word, expected] : cases)
        EXPECT_EQ(text("{\\rtf1 a\\" + QByteArray(word) + " b}"),
            QStringLiteral("a") + QChar(expected) + u'b')
            << word;
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
        const QTextList* list = blockOf(*doc, "a").textList();
        ASSERT_NE(list, nullptr) << word;
        EXPECT_GE(list->format().indent(), 1) << word;
        EXPECT_EQ(blockOf(*doc, "b").textList(), blockOf(*doc, "a").textList()) << word;
        EXPECT_EQ(listStyle(blockOf(*readDoc(rtf::writeRtf(*doc)), "b")), style) << word;
    }
}

// Line spacing of each kind, in twips: at least, exactly (negative), or in 240ths of a line.
TEST(Tables, EveryLineSpacingReadsAndWritesBack)
{
    const std::tuple<const char*, int, double, const char*> cases[] = {
        { "\\sl300", QTextBlockFormat::MinimumHeight, 20, "\\sl300\\slmult0" },
        { "\\sl-300\\slmult0", QTextBlockFormat::FixedHeight, 20, "\\sl-300\\slmult0" },
        { "\\sl360\\slmult1", QTextBlockFormat::ProportionalHeight, 150, "\\sl360\\slmult1" }
    };
    for (const auto& [words, type, height, written] : cases) {
        const auto doc = readDoc("{\\rtf1" + QByteArray(words) + " x\\par}");
        const QTextBlockFormat f = blockOf(*doc, "x").blockFormat();
        EXPECT_EQ(std::pair(f.lineHeightType(), f.lineHeight()), std::pair(type, height)) << words;
        EXPECT_TRUE(rtf::writeRtf(*doc).contains(written)) << words;
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

// Font names keep characters written as escapes or \uN.
TEST(Tables, FontNamesKeepEscapedCharacters)
{
    const auto doc = readDoc("{\\rtf1{\\fonttbl{\\f0 Caf\\u233?\\{x\\};}}\\f0 t}");
    EXPECT_EQ(family(formatOf(*doc, "t")), u"Café{x}");
}

// More distinct formats than the reader keeps at once: each run still gets its own.
TEST(Tables, ManyDistinctFormats)
{
    QByteArray rtf = "{\\rtf1 ";
    for (int halfPoints = 2; halfPoints <= 3276; ++halfPoints)
        rtf += "\\fs" + QByteArray::number(halfPoints) + "\\b x\\b0 y";
    const auto doc = readDoc(rtf + "}");
    QTextCursor c(doc.get());
    for (const auto& [at, size, isBold] : { std::tuple { 1, 1.0, true }, { 2, 1.0, false },
             { 4096, 1024.5, false }, { 6549, 1638.0, true }, { 6550, 1638.0, false } }) {
        c.setPosition(at);
        EXPECT_EQ(c.charFormat().fontPointSize(), size) << at;
        EXPECT_EQ(bold(c.charFormat()), isBold) << at;
    }
}

} // namespace
} // namespace penwick::test
