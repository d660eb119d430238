// SPDX-License-Identifier: GPL-2.0-or-later
#include "rtftestutil.h"

namespace penwick::test {
namespace {

// A document with every kind of formatting the writer knows.
std::unique_ptr<QTextDocument> richDocument()
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setHtml(QString::fromUtf8(
        "<body style='font-family:Arial; font-size:12pt'><p align=center style='margin:0'>plain "
        "<b>bold</b> <i>italic</i> <u>under</u> <s>strike</s></p>"
        "<p align=right style='margin:8px 0 0 48px; text-indent:-12px'>"
        "<span style='font-family:Courier New'>mono</span><span style='font-size:20.5pt'>big</span>"
        "<span style='color:#c0392b'>red</span><span style='background:#ffff00'>marked</span>"
        "<sup>sup</sup></p><p align=justify style='margin:0; "
        "white-space:pre-wrap'>a\\b{c}\td\u00A0e\u00ADf"
        "\u2011g\u2028h café € Привет 😀 ∑</p><ul style='margin:0'><li>first</li><li>second</li>"
        "</ul><ol style='margin:0'><li>one</li><li>two</li></ol><p style='margin:0'>after</p>"
        "<p style='margin:0'></p></body>"));
    QTextCursor c(doc->findBlockByNumber(1)); // HTML's right is "absolute right"
    QTextBlockFormat right = c.blockFormat();
    right.setAlignment(Qt::AlignRight);
    c.setBlockFormat(right);
    return doc;
}

// The output is ASCII with the expected header, escapes and legacy bullets; it reads back with
// the text and formatting, and writes the same bytes again.
TEST(Writer, AsciiOutputReadsBackAndWritesTheSameBytesAgain)
{
    const auto original = richDocument();
    const QByteArray rtf = rtf::writeRtf(*original);
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; }));
    for (const char* part : { "{\\colortbl ;\\red192\\green57\\blue43;",
             "{\\*\\generator Penwick 4.0;}\\viewkind4", "\\pard\\qc", "\\u1055?",
             "\\u-10179?\\u-8704?", "caf\\'e9 \\'80", "a\\\\b\\{c\\}\\tab d\\~e\\-f\\_g\\line h",
             "{\\pntext\\f", "\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf", "\\li720\\fi-360",
             "\\fcharset2 Symbol;", "{\\pntext\\f0 2.\\tab}", "sup\\nosupersub\\par" })
        EXPECT_TRUE(rtf.contains(part)) << part;
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0")
        && rtf.trimmed().endsWith('}'));

    const auto copy = readDoc(rtf);
    expectSameFormatting(*original, *copy);
    EXPECT_EQ(blockOf(*copy, "first").textList(), blockOf(*copy, "second").textList());
    EXPECT_EQ(rtf::writeRtf(*copy), rtf);
}

// Whatever characters the reader puts into a document come back when the document is written
// and read again: control characters, every \uN, every \'hh and raw byte, and text in a font
// named Symbol beside bullets (whose font has the symbol character set).
TEST(Writer, EveryCharacterReadSurvivesWritingAndReadingBack)
{
    QByteArray units = "{\\rtf1\\ansi ";
    for (int u = 0; u < 0x10000; ++u)
        units += "\\u" + QByteArray::number(qint16(u)) + "?";
    QByteArray hex = "{\\rtf1\\ansi ", raw = "{\\rtf1\\ansi ";
    for (int b = 0; b < 256; ++b) {
        hex += "\\'" + QByteArray::number(b, 16).rightJustified(2, '0');
        if (!QByteArray("\\{}\r\n").contains(char(b)) && b != 0)
            raw += char(b);
    }
    const std::pair<const char*, QByteArray> cases[] = {
        { "\\uN", units + "}" },
        { "\\'hh", hex + "}" },
        { "raw bytes", raw + "}" },
        { "controls between words", "{\\rtf1\\ansi a\\'04b\\b\\'7f\\b0\x0c c\\'00\\par\\'1f}" },
        { "Symbol font text beside bullets",
            "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Symbol;}}\\f1 abc \\'e9\\par{\\pntext\\'B7\\tab}"
            "{\\*\\pn\\pnlvlblt{\\pntxtb\\'B7}}\\fi-360\\li720 item\\par}" },
    };
    for (const auto& [name, rtf] : cases) {
        SCOPED_TRACE(name);
        const auto read = readDoc(rtf);
        const QString text = read->toRawText();
        ASSERT_GT(text.size(), 5);
        const QString back = readDoc(rtf::writeRtf(*read))->toRawText();
        EXPECT_TRUE(back == text)
            << "differs at "
            << std::mismatch(text.begin(), text.end(), back.begin(), back.end()).first
                - text.begin();
    }
    // The characters once lost are there to be kept.
    const QString controls = readDoc(cases[3].second)->toRawText();
    for (const char16_t u : { u'\x04', u'\x7f', u'\x0c', u'\0', u'\x1f' })
        EXPECT_TRUE(controls.contains(QChar(u))) << int(u);
}

// Empty paragraphs survive, the trailing one too, and keep their size. (Ranges of a document are
// read back in the editor's tests of SelRTF and Copy.)
TEST(Writer, EmptyParagraphsReadBackWithTheirSize)
{
    QTextDocument doc;
    for (const char* text : { "abc\n", "\n\n", "" }) {
        doc.setPlainText(text);
        EXPECT_EQ(plain(*readDoc(rtf::writeRtf(doc))), text);
    }
    const auto big = readDoc("{\\rtf1\\fs60 x\\par\\par y}");
    EXPECT_EQ(
        readDoc(rtf::writeRtf(*big))->findBlockByNumber(1).charFormat().fontPointSize(), 30.0);
}

// A part holding a bullet still names the Symbol font its label needs; right indents and each
// kind of line spacing are written; a picture whose data the document lacks is left out.
TEST(Writer, PartsWithBulletsAndPicturesWithoutData)
{
    const auto doc
        = readDoc("{\\rtf1{\\pntext\\'B7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'B7}}a\\par b}");
    const QByteArray part = rtf::writeRtf(*doc, 0, 1);
    EXPECT_TRUE(part.contains("\\fcharset2 Symbol;")) << part.toStdString();
    EXPECT_EQ(listStyle(blockOf(*readDoc(part), "a")), QTextListFormat::ListDisc);
    for (const char* words :
        { "\\ri360", "\\sl300\\slmult0", "\\sl-300\\slmult0", "\\sl360\\slmult1" })
        EXPECT_TRUE(
            rtf::writeRtf(*readDoc("{\\rtf1" + QByteArray(words) + " x\\par}")).contains(words))
            << words;

    QTextDocument lacking;
    lacking.setHtml(QStringLiteral("a<img src=\"nowhere.png\">b"));
    EXPECT_EQ(plain(*readDoc(rtf::writeRtf(lacking))), "ab");
}

// Written a piece at a time, the file is the one written at once; edits made between pieces at
// or after the written part are in it, new fonts, colours and bullets included.
TEST(Writer, PiecewiseWritesTheSameFileAndTakesEditsAfterThePartWritten)
{
    for (const int units : { 1, 7, 1 << 20 }) {
        SCOPED_TRACE(units);
        const auto doc = richDocument();
        rtf::PiecewiseWriter whole(*doc);
        while (!whole.step(units)) { }
        EXPECT_EQ(whole.take(), rtf::writeRtf(*doc));

        rtf::PiecewiseWriter edited(*doc);
        bool done = edited.step(units);
        for (int edit = 0; !done; ++edit) {
            // Edits stop after a while: ahead of the writer they would keep it from catching up.
            if (edit < 12) {
                QTextCursor c(doc.get());
                c.setPosition(std::min(edited.position() + edit % 3, doc->characterCount() - 1));
                QTextCharFormat f;
                f.setFontFamilies({ QStringLiteral("Serif %1").arg(edit) });
                f.setForeground(QColor(edit, 1, 2));
                c.insertText(QStringLiteral("+\\"), f);
                if (edit == 4)
                    c.insertList(QTextListFormat::ListDisc);
            }
            done = edited.step(units);
        }
        // New fonts and colours may take other places in the tables: the same note all the same.
        const auto read = readDoc(edited.take());
        EXPECT_EQ(plain(*read), plain(*doc));
        expectSameFormatting(*readDoc(rtf::writeRtf(*doc)), *read);
    }
}

} // namespace
} // namespace penwick::test
