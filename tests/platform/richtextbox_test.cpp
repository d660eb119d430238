// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/richtextbox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QMimeData>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>

#include <unistd.h>

namespace penwick::test {
namespace {

std::string str(const QString& s)
{
    return s.toStdString();
}

void select(RichTextBox& box, int start, int length)
{
    box.setSelStart(start);
    box.setSelLength(length);
}

QTextCharFormat formatAt(RichTextBox& box, int position)
{
    QTextCursor c(box.document());
    c.setPosition(position);
    c.setPosition(position + 1, QTextCursor::KeepAnchor);
    return c.charFormat();
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// --- Files and whole content ------------------------------------------------------------------

TEST(RichTextBoxFiles, LoadFileReplacesTheContentAndStartsAFreshHistory)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("note.rtf"));
    ASSERT_TRUE(writeAll(path, "{\\rtf1\\ansi First\\par Second}"));
    RichTextBox box;
    box.setText(QStringLiteral("old text"));
    QTest::keyClicks(&box, "x");
    ASSERT_TRUE(box.document()->isUndoAvailable());
    QSignalSpy changes(&box, &RichTextBox::Change);
    QSignalSpy moves(&box, &RichTextBox::SelChange);

    QString error;
    ASSERT_TRUE(box.LoadFile(path, &error)) << str(error);
    EXPECT_EQ(box.Text(), u"First\nSecond");
    EXPECT_FALSE(box.document()->isUndoAvailable());
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(moves.count(), 1);
    // The editor goes on working on the new document.
    QTest::keyClicks(&box, "Z");
    EXPECT_EQ(box.Text(), u"ZFirst\nSecond");
    box.Undo();
    EXPECT_EQ(box.Text(), u"First\nSecond");
}

TEST(RichTextBoxFiles, RefusedFilesLeaveTheDocumentAsItWas)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.txt"));
    ASSERT_TRUE(writeAll(plain, "just some text"));
    const QString huge = dir.filePath(QStringLiteral("huge.rtf"));
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\\rtf1 ");
        ASSERT_TRUE(f.resize(64 * 1024 * 1024 + 1)); // sparse: costs no disk
    }
    const QString locked = dir.filePath(QStringLiteral("locked.rtf"));
    ASSERT_TRUE(writeAll(locked, "{\\rtf1 secret}"));
    QFile::setPermissions(locked, QFile::Permissions());

    struct Case
    {
        const char* what;
        QString path;
    };
    std::vector<Case> cases = { { "missing", dir.filePath(QStringLiteral("none.rtf")) },
        { "folder", dir.path() }, { "not rich text", plain }, { "over 64 MB", huge } };
    if (::geteuid() != 0) // root reads any file
        cases.push_back({ "unreadable", locked });

    RichTextBox box;
    box.setText(QStringLiteral("keep me"));
    QTest::keyClicks(&box, "!");
    for (const Case& c : cases) {
        QSignalSpy changes(&box, &RichTextBox::Change);
        QString error;
        EXPECT_FALSE(box.LoadFile(c.path, &error)) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
        EXPECT_EQ(box.Text(), u"!keep me") << c.what;
        EXPECT_TRUE(box.document()->isUndoAvailable()) << c.what;
        EXPECT_EQ(changes.count(), 0) << c.what;
    }
}

TEST(RichTextBoxFiles, PlainSaveWritesUtf8WithNewlines)
{
    QTemporaryDir dir;
    RichTextBox box;
    box.setText(QStringLiteral("caf\u00e9 \u20ac\r\nsecond\rthird 😀"));
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    ASSERT_TRUE(box.SaveFile(path, 1));
    EXPECT_EQ(
        readAll(path), QByteArray("caf\xc3\xa9 \xe2\x82\xac\nsecond\nthird \xf0\x9f\x98\x80"));

    const QString rich = dir.filePath(QStringLiteral("out.rtf"));
    ASSERT_TRUE(box.SaveFile(rich));
    EXPECT_TRUE(readAll(rich).startsWith("{\\rtf"));
    RichTextBox other;
    ASSERT_TRUE(other.LoadFile(rich));
    EXPECT_EQ(other.Text(), box.Text());

    EXPECT_FALSE(box.SaveFile(dir.filePath(QStringLiteral("no/such/folder/x.rtf"))));
}

// --- Selection and text ----------------------------------------------------------------------

TEST(RichTextBoxSelection, StartAndLengthAreClamped)
{
    RichTextBox box;
    box.setText(QStringLiteral("abc\ndef")); // 7 units
    struct Case
    {
        int start, length, wantStart, wantLength;
    } cases[] = { { 2, 3, 2, 3 }, { -4, 2, 0, 2 }, { 5, 99, 5, 2 }, { 50, 1, 7, 0 },
        { 3, -2, 3, 0 }, { 0, 7, 0, 7 } };
    for (const Case& c : cases) {
        select(box, c.start, c.length);
        EXPECT_EQ(box.SelStart(), c.wantStart) << c.start << "," << c.length;
        EXPECT_EQ(box.SelLength(), c.wantLength) << c.start << "," << c.length;
    }
    // Select all the way the commands do it.
    select(box, 0, int(box.Text().size()));
    EXPECT_EQ(box.SelText(), box.Text());
    RichTextBox empty;
    select(empty, 0, int(empty.Text().size()));
    EXPECT_EQ(empty.SelStart(), 0);
    EXPECT_EQ(empty.SelLength(), 0);
}

TEST(RichTextBoxSelection, SelTextReadsAndReplacesInTheFirstCharactersFormat)
{
    RichTextBox box;
    box.setText(QStringLiteral("Hello world\nsecond line\nthird"));
    select(box, 6, 12);
    EXPECT_EQ(box.SelText(), u"world\nsecond");
    box.setSelText(QStringLiteral("there\r\nnew"));
    EXPECT_EQ(box.Text(), u"Hello there\nnew line\nthird");
    EXPECT_EQ(box.SelLength(), 0);
    EXPECT_EQ(box.SelStart(), 15); // after the inserted text
    // Nothing selected: inserted at the caret.
    box.setSelStart(0);
    box.setSelText(QStringLiteral(">"));
    EXPECT_EQ(box.Text(), u">Hello there\nnew line\nthird");
    // A selection that ends on a paragraph mark includes the break.
    select(box, 17, 10);
    EXPECT_EQ(box.SelText(), u"line\nthird");
    // Empty text removes the selection.
    box.setSelText(QString());
    EXPECT_EQ(box.Text(), u">Hello there\nnew ");

    // Replacing text takes the format of the first replaced character.
    box.setText(QStringLiteral("plain BOLD plain"));
    select(box, 6, 4);
    box.setSelBold(true);
    select(box, 6, 7); // "BOLD pl", backwards or forwards alike
    box.setSelText(QStringLiteral("upper"));
    EXPECT_EQ(box.Text(), u"plain upperain");
    select(box, 6, 5);
    EXPECT_EQ(box.SelBold(), true);
}

TEST(RichTextBoxSelection, SelRtfTakesPlainBytesAsTextAndReadsMarkup)
{
    RichTextBox box;
    box.setText(QStringLiteral("[]"));
    box.setSelStart(1);
    box.setSelRTF(QByteArray("caf\xe9\r\nline {x}"));
    EXPECT_EQ(box.Text(), u"[caf\u00e9\nline {x}]");
    select(box, 1, 4);
    box.setSelRTF(QByteArray("\xef\xbb\xbf\xe2\x82\xac")); // UTF-8 with a byte-order mark
    EXPECT_EQ(box.Text(), u"[\u20ac\nline {x}]");
    // Markup is read, not inserted as characters.
    select(box, 1, 1);
    box.setSelRTF(QByteArray("{\\rtf1\\ansi rich}"));
    EXPECT_EQ(box.Text(), u"[rich\nline {x}]");
    select(box, 1, 4);
    EXPECT_TRUE(box.SelRTF().startsWith("{\\rtf"));
    RichTextBox other;
    other.setSelRTF(box.SelRTF());
    EXPECT_EQ(other.Text(), u"rich");
    other.setTextRTF(QByteArray("na\xefve")); // the whole text alike
    EXPECT_EQ(other.Text(), u"na\u00efve");

    // Markup keeps fonts, colours and whole paragraphs' alignment.
    const QByteArray rich("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
                          "{\\colortbl ;\\red255\\green0\\blue0;}"
                          "\\pard\\qc\\f1\\fs28\\cf1\\b Big\\b0  red\\par\\pard\\qr right\\par}");
    box.setText(QStringLiteral("[]"));
    box.setSelStart(1);
    box.setSelRTF(rich);
    EXPECT_EQ(box.Text(), u"[Big red\nright]");
    select(box, 1, 3);
    EXPECT_EQ(box.SelBold(), true);
    EXPECT_EQ(box.SelFontName(), QStringLiteral("Courier New"));
    EXPECT_EQ(box.SelFontSize(), 14.0f);
    EXPECT_EQ(box.SelColor(), 0x0000FFu);

    RichTextBox empty;
    empty.setSelRTF(rich);
    EXPECT_EQ(empty.Text(), u"Big red\nright");
    empty.setSelStart(0);
    EXPECT_EQ(empty.SelAlignment(), 2);
    empty.setSelStart(9);
    EXPECT_EQ(empty.SelAlignment(), 1);

    // What SelRTF reads goes back in the same.
    select(box, 1, 3);
    other.setText(QString());
    other.setSelRTF(box.SelRTF());
    select(other, 0, 3);
    EXPECT_EQ(other.SelBold(), true);
    EXPECT_EQ(other.SelFontName(), QStringLiteral("Courier New"));
    EXPECT_EQ(other.SelColor(), 0x0000FFu);
}

// --- Tri-state attributes --------------------------------------------------------------------

struct StyleAttribute
{
    const char* name;
    TriState (RichTextBox::*get)() const;
    void (RichTextBox::*set)(TriState);
};

const StyleAttribute styles[] = {
    { "bold", &RichTextBox::SelBold, &RichTextBox::setSelBold },
    { "italic", &RichTextBox::SelItalic, &RichTextBox::setSelItalic },
    { "underline", &RichTextBox::SelUnderline, &RichTextBox::setSelUnderline },
    { "strike", &RichTextBox::SelStrikeThru, &RichTextBox::setSelStrikeThru },
};

TEST(RichTextBoxAttributes, StylesAreOnOffOrMixed)
{
    for (const StyleAttribute& a : styles) {
        RichTextBox box;
        box.setText(QStringLiteral("one two three"));
        select(box, 4, 3);
        (box.*a.set)(true);
        EXPECT_EQ((box.*a.get)(), true) << a.name;
        select(box, 0, 3);
        EXPECT_EQ((box.*a.get)(), false) << a.name;
        select(box, 2, 4);
        EXPECT_EQ((box.*a.get)(), std::nullopt) << a.name;

        // Writing the mixed value changes nothing and records no undo step.
        const int steps = box.document()->availableUndoSteps();
        QSignalSpy changes(&box, &RichTextBox::Change);
        (box.*a.set)(std::nullopt);
        EXPECT_EQ(box.document()->availableUndoSteps(), steps) << a.name;
        EXPECT_EQ(changes.count(), 0) << a.name;
        EXPECT_EQ((box.*a.get)(), std::nullopt) << a.name;

        // Off over a mixed selection clears it all; one undo step brings the mix back.
        (box.*a.set)(false);
        EXPECT_EQ((box.*a.get)(), false) << a.name;
        box.Undo();
        select(box, 2, 4);
        EXPECT_EQ((box.*a.get)(), std::nullopt) << a.name;

        // At the caret it reads the character before and sets the format for the next text.
        box.setSelStart(3);
        EXPECT_EQ((box.*a.get)(), false) << a.name;
        (box.*a.set)(true);
        EXPECT_EQ((box.*a.get)(), true) << a.name;
        EXPECT_EQ(box.Text(), u"one two three") << a.name;
        QTest::keyClicks(&box, "X");
        EXPECT_EQ(box.Text(), u"oneX two three") << a.name;
        select(box, 3, 1);
        EXPECT_EQ((box.*a.get)(), true) << a.name;
        select(box, 4, 1);
        EXPECT_EQ((box.*a.get)(), false) << a.name;
        box.setSelStart(4);
        EXPECT_EQ((box.*a.get)(), true) << a.name;
    }
}

TEST(RichTextBoxAttributes, FontNameSizeAndColour)
{
    RichTextBox box;
    QFont base(QStringLiteral("DejaVu Sans"));
    base.setPointSizeF(10);
    box.document()->setDefaultFont(base);
    box.setText(QStringLiteral("alpha beta gamma"));

    select(box, 0, 16);
    EXPECT_EQ(box.SelFontName(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(box.SelFontSize(), 10.0f);
    EXPECT_EQ(box.SelColor(), SystemWindowText);

    select(box, 6, 4);
    box.setSelFontName(QStringLiteral("Serif Face"));
    ASSERT_TRUE(box.setSelFontSize(14.5f));
    ASSERT_TRUE(box.setSelColor(0x0000FFu)); // red
    EXPECT_EQ(box.SelFontName(), QStringLiteral("Serif Face"));
    EXPECT_EQ(box.SelFontSize(), 14.5f);
    EXPECT_EQ(box.SelColor(), 0x0000FFu);
    EXPECT_EQ(formatAt(box, 6).foreground().color(), QColor(Qt::red));

    // An explicit value equal to the default is no mix.
    select(box, 0, 5);
    box.setSelFontSize(10);
    select(box, 0, 6);
    EXPECT_EQ(box.SelFontSize(), 10.0f);

    // Sizes the editor cannot take are refused and change nothing.
    select(box, 6, 4);
    for (float bad : { 0.0f, -5.0f, 0.99f, 1638.5f, 1e9f, std::numeric_limits<float>::quiet_NaN(),
             std::numeric_limits<float>::infinity() }) {
        EXPECT_FALSE(box.setSelFontSize(bad)) << bad;
        EXPECT_EQ(box.SelFontSize(), 14.5f) << bad;
    }
    EXPECT_TRUE(box.setSelFontSize(1));
    EXPECT_TRUE(box.setSelFontSize(1638));
    EXPECT_EQ(box.SelFontSize(), 1638.0f);
    EXPECT_TRUE(box.setSelFontSize(std::nullopt));
    EXPECT_EQ(box.SelFontSize(), 1638.0f);

    // The automatic colour comes back when asked for, and names no colour of its own.
    box.setSelColor(SystemWindowText);
    EXPECT_EQ(box.SelColor(), SystemWindowText);
    EXPECT_EQ(formatAt(box, 6).foreground().style(), Qt::NoBrush);
    EXPECT_FALSE(box.setSelColor(0x800000FFu));
    EXPECT_EQ(box.SelColor(), SystemWindowText);
}

TEST(RichTextBoxAttributes, AlignmentCoversTheTouchedParagraphs)
{
    RichTextBox box;
    box.setText(QStringLiteral("one\ntwo\nthree"));
    select(box, 4, 3); // "two"
    ASSERT_TRUE(box.setSelAlignment(2));
    EXPECT_EQ(box.SelAlignment(), 2);
    box.setSelStart(0);
    EXPECT_EQ(box.SelAlignment(), 0);
    select(box, 0, 5); // enters "two"
    EXPECT_EQ(box.SelAlignment(), std::nullopt);

    select(box, 0, 4); // ends at the start of "two": that paragraph is not touched
    ASSERT_TRUE(box.setSelAlignment(1));
    EXPECT_EQ(box.document()->findBlock(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
        Qt::AlignRight);
    EXPECT_EQ(box.document()->findBlock(4).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
        Qt::AlignHCenter);

    select(box, 0, 13);
    EXPECT_TRUE(box.setSelAlignment(std::nullopt));
    EXPECT_EQ(box.SelAlignment(), std::nullopt);
    EXPECT_FALSE(box.setSelAlignment(4));
    EXPECT_FALSE(box.setSelAlignment(-1));
    EXPECT_EQ(box.SelAlignment(), std::nullopt);
    ASSERT_TRUE(box.setSelAlignment(3));
    EXPECT_EQ(box.SelAlignment(), 3);
}

TEST(RichTextBoxAttributes, BulletsAreIndentedDiscListsThatComeOffCleanly)
{
    RichTextBox box;
    box.setBulletIndent(250);
    EXPECT_EQ(box.BulletIndent(), 250.0f);
    EXPECT_NEAR(box.document()->indentWidth(), 250.0 / 15, 1e-9);
    box.setText(QStringLiteral("one\ntwo\nthree"));
    QTextCursor indent(box.document());
    QTextBlockFormat margin;
    margin.setLeftMargin(30);
    indent.setPosition(5);
    indent.mergeBlockFormat(margin);

    select(box, 2, 4); // "e\ntw": the first two paragraphs
    EXPECT_EQ(box.SelBullet(), false);
    box.setSelBullet(true);
    EXPECT_EQ(box.SelBullet(), true);
    const QTextBlock first = box.document()->findBlock(0);
    const QTextBlock second = first.next();
    const QTextBlock third = second.next();
    for (const QTextBlock& b : { first, second }) {
        ASSERT_TRUE(b.textList());
        EXPECT_EQ(b.textList()->format().style(), QTextListFormat::ListDisc);
        EXPECT_EQ(b.textList()->format().indent(), 1);
    }
    EXPECT_FALSE(third.textList());
    EXPECT_EQ(box.Text(), u"one\ntwo\nthree");

    select(box, 5, 5);
    EXPECT_EQ(box.SelBullet(), std::nullopt);
    box.setSelBullet(std::nullopt);
    EXPECT_EQ(box.SelBullet(), std::nullopt);
    box.setSelBullet(false);
    EXPECT_EQ(box.SelBullet(), false);
    EXPECT_FALSE(second.textList());
    EXPECT_EQ(second.blockFormat().leftMargin(), 30); // back where it was
    EXPECT_EQ(second.blockFormat().indent(), 0);
    box.setSelStart(0);
    EXPECT_EQ(box.SelBullet(), true);

    select(box, 0, 13);
    box.setSelBullet(true);
    EXPECT_EQ(box.SelBullet(), true);
    box.Undo(); // one step
    select(box, 0, 13);
    EXPECT_EQ(box.SelBullet(), std::nullopt);

    // Bullets read from a file sit where the ones made here do.
    RichTextBox loaded;
    loaded.setBulletIndent(250);
    loaded.setTextRTF(box.TextRTF());
    const QTextBlock read = loaded.document()->begin();
    ASSERT_TRUE(read.textList());
    EXPECT_EQ(read.textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(read.textList()->format().indent(), 1);
    EXPECT_NEAR(loaded.document()->indentWidth(), 250.0 / 15, 1e-9);
    loaded.setSelBullet(false);
    EXPECT_FALSE(loaded.document()->begin().textList());
    EXPECT_EQ(loaded.document()->begin().blockFormat().leftMargin(), 0);

    // The indent is kept at a size where the bullet still shows.
    box.setBulletIndent(0);
    EXPECT_GT(box.document()->indentWidth(), 0);

    // A numbered list is no bullet; bullets over it make it one.
    box.setText(QStringLiteral("one\ntwo"));
    QTextListFormat numbered;
    numbered.setStyle(QTextListFormat::ListDecimal);
    QTextCursor(box.document()).createList(numbered);
    box.setSelStart(1);
    EXPECT_EQ(box.SelBullet(), false);
    box.setSelBullet(true);
    EXPECT_EQ(box.SelBullet(), true);
    EXPECT_EQ(box.document()->begin().textList()->format().style(), QTextListFormat::ListDisc);
}

// --- Find ------------------------------------------------------------------------------------

TEST(RichTextBoxFind, WholeWordsCaseAndRange)
{
    RichTextBox box;
    box.setText(QStringLiteral("other then The the\nthe end"));
    //                          0     6    11  15  19  23
    struct Case
    {
        std::optional<int> start, end;
        int options;
        const char* text;
        int want;
    } cases[] = {
        { 0, {}, 2, "the", 11 }, // not inside "other" or "then"
        { 0, {}, 6, "the", 15 }, // match case as well
        { 0, {}, 0, "the", 1 }, // anywhere
        { 0, {}, 4, "The", 11 },
        { 12, {}, 2, "the", 15 },
        { 16, {}, 2, "the", 19 }, // the next paragraph
        { 0, 14, 2, "the", 11 },
        { 0, 13, 2, "the", -1 }, // the match would end past the end
        { 999, {}, 2, "the", -1 }, // clamped to the end
        { -5, {}, 2, "other", 0 },
        { 0, -1, 2, "end", 23 }, // a negative end is the end of the text
        { 10, 5, 2, "the", -1 },
        { 0, {}, 2, "", -1 },
        { 0, {}, 2, "missing", -1 },
    };
    for (const Case& c : cases) {
        box.setSelStart(3);
        EXPECT_EQ(box.Find(QString::fromUtf8(c.text), c.start, c.end, c.options), c.want)
            << c.text << " from " << c.start.value_or(-99);
        if (c.want >= 0) {
            EXPECT_EQ(box.SelStart(), c.want);
            EXPECT_EQ(box.SelLength(), int(strlen(c.text)));
        } else {
            EXPECT_EQ(box.SelStart(), 3); // a failed search leaves the selection
        }
    }
}

TEST(RichTextBoxFind, WithoutARangeItSearchesOnFromTheSelectionStart)
{
    RichTextBox box;
    box.setText(QStringLiteral("a cat, a cat, a cat"));
    std::vector<int> found;
    box.setSelStart(0);
    for (int i = 0; i < 4; ++i) {
        const int at = box.Find(QStringLiteral("cat"), std::nullopt, std::nullopt, 2);
        found.push_back(at);
        if (at < 0)
            break;
        box.setSelStart(box.SelStart() + 1);
    }
    EXPECT_EQ(found, (std::vector<int> { 2, 9, 16, -1 }));
    // A selection's start, not its end, is where the search begins.
    select(box, 9, 3);
    EXPECT_EQ(box.Find(QStringLiteral("cat"), std::nullopt, std::nullopt, 2), 9);
}

// --- Clipboard and undo ----------------------------------------------------------------------

TEST(RichTextBoxClipboard, PasteTakesTheRichestFormat)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::green);
    // Offers the formats richest first, from `first` to `last`: rich text, HTML, text, picture.
    const auto offer = [&](int first, int last) {
        auto* mime = new QMimeData;
        const auto offered = [&](int kind) { return first <= kind && kind <= last; };
        if (offered(0))
            mime->setData(QStringLiteral("text/rtf"), "{\\rtf1 R}");
        if (offered(1))
            mime->setHtml(QStringLiteral("<b>H</b>"));
        if (offered(2))
            mime->setText(QStringLiteral("T"));
        if (offered(3))
            mime->setImageData(image);
        QGuiApplication::clipboard()->setMimeData(mime);
    };
    const char16_t* const want[] = { u"[R]", u"[H]", u"[T]", u"[\uFFFC]" };
    for (int first = 0; first < 4; ++first) {
        offer(first, 3);
        RichTextBox box;
        box.setText(QStringLiteral("[x]"));
        select(box, 1, 1);
        box.Paste();
        EXPECT_EQ(box.Text(), QStringView(want[first])) << first;
        EXPECT_EQ(box.SelStart(), 2) << first;
        box.Undo(); // one step
        EXPECT_EQ(box.Text(), u"[x]") << first;
    }
    // HTML keeps its formatting; a picture keeps its size.
    offer(1, 1);
    RichTextBox box;
    box.Paste();
    select(box, 0, 1);
    EXPECT_EQ(box.SelBold(), true);

    offer(3, 3);
    box.setText(QString());
    box.Paste();
    const QTextImageFormat pasted = formatAt(box, 0).toImageFormat();
    ASSERT_TRUE(pasted.isValid());
    EXPECT_EQ(pasted.width(), 4);
    const QImage kept = box.document()
                            ->resource(QTextDocument::ImageResource, QUrl(pasted.name()))
                            .value<QImage>();
    EXPECT_EQ(kept.size(), QSize(4, 3));
}

TEST(RichTextBoxClipboard, CopyOffersRichTextHtmlAndPlainText)
{
    RichTextBox box;
    box.setText(QStringLiteral("one\ntwo three"));
    select(box, 0, 7);
    box.Copy();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(mime);
    EXPECT_TRUE(mime->data(QStringLiteral("text/rtf")).startsWith("{\\rtf"));
    EXPECT_TRUE(mime->data(QStringLiteral("application/rtf")).startsWith("{\\rtf"));
    EXPECT_TRUE(mime->html().contains(u"two"));
    EXPECT_EQ(mime->text(), u"one\ntwo");

    box.Cut();
    EXPECT_EQ(box.Text(), u" three");
    box.setSelStart(6);
    box.Paste();
    EXPECT_EQ(box.Text(), u" threeone\ntwo");
}

TEST(RichTextBoxUndo, UndoTakesBackExactlyOneStep)
{
    RichTextBox box;
    box.setText(QStringLiteral("abc"));
    box.setSelStart(3);
    QTest::keyClicks(&box, "def");
    select(box, 0, 6);
    box.setSelBold(true);
    box.setSelAlignment(2);
    box.Undo();
    EXPECT_EQ(box.SelAlignment(), 0);
    EXPECT_EQ(box.SelBold(), true);
    box.Undo();
    EXPECT_EQ(box.SelBold(), false);
    EXPECT_EQ(box.Text(), u"abcdef");
    box.Undo();
    EXPECT_EQ(box.Text(), u"abc");
}

TEST(RichTextBoxUndo, CtrlZUndoesOnceWhenTheHandlerTakesTheKey)
{
    QMainWindow window;
    auto* box = new RichTextBox(&window);
    window.setCentralWidget(box);
    int menuUndos = 0;
    auto* menuUndo = new QAction(&window);
    menuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    window.addAction(menuUndo);
    QObject::connect(menuUndo, &QAction::triggered, [&] {
        ++menuUndos;
        box->Undo();
    });
    // The main window's handler: run Undo and take the key.
    QObject::connect(box, &RichTextBox::KeyDown, [&](int& keyCode, int& shift) {
        if (keyCode == 90 && (shift & 2)) {
            box->Undo();
            keyCode = 0;
        }
    });
    window.show();
    QApplication::setActiveWindow(&window);
    box->setFocus();
    box->setText(QStringLiteral("x"));
    box->setSelStart(1);
    QTest::keyClicks(box, "a");
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "b");
    ASSERT_EQ(box->Text(), u"xa\nb");

    ASSERT_EQ(QApplication::focusWidget(), box);
    // Through the shortcut machinery: the window's Ctrl+Z stays quiet while the editor has it.
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(menuUndos, 0);
    EXPECT_EQ(box->Text(), u"xa\n");
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(box->Text(), u"xa");
}

// --- Keyboard and mouse events ---------------------------------------------------------------

TEST(RichTextBoxEvents, KeyDownCarriesWindowsKeyCodesAndShiftMasks)
{
    struct Case
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int code, shift;
    } cases[] = {
        { Qt::Key_Escape, Qt::ShiftModifier, 27, 1 },
        { Qt::Key_Z, Qt::ControlModifier, 90, 2 },
        { Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, 90, 3 },
        { Qt::Key_F4, Qt::AltModifier, 115, 4 },
        { Qt::Key_0, Qt::NoModifier, 48, 0 },
        { Qt::Key_Exclam, Qt::ShiftModifier, 49, 1 },
        { Qt::Key_5, Qt::KeypadModifier, 101, 0 },
        { Qt::Key_Backspace, Qt::AltModifier, 8, 4 },
        { Qt::Key_Return, Qt::NoModifier, 13, 0 },
        { Qt::Key_Delete, Qt::NoModifier, 46, 0 },
        { Qt::Key_Left, Qt::ShiftModifier, 37, 1 },
        { Qt::Key_Shift, Qt::ShiftModifier, 16, 1 },
        { Qt::Key_Semicolon, Qt::NoModifier, 186, 0 },
    };
    RichTextBox box;
    std::vector<std::pair<int, int>> seen;
    QObject::connect(&box, &RichTextBox::KeyDown,
        [&](int& keyCode, int& shift) { seen.emplace_back(keyCode, shift); });
    for (const Case& c : cases) {
        seen.clear();
        QTest::keyPress(&box, c.key, c.modifiers);
        QTest::keyRelease(&box, c.key, c.modifiers);
        // The test library presses the modifier keys first: the key itself comes last.
        ASSERT_FALSE(seen.empty()) << c.code;
        EXPECT_EQ(seen.back(), std::make_pair(c.code, c.shift)) << c.code;
    }
}

TEST(RichTextBoxEvents, AKeyCodeSetToZeroIsSwallowed)
{
    RichTextBox box;
    QObject::connect(&box, &RichTextBox::KeyDown, [](int& keyCode, int&) {
        if (keyCode == 66) // B
            keyCode = 0;
    });
    QTest::keyClicks(&box, "abc");
    EXPECT_EQ(box.Text(), u"ac");
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.Text(), u"a");
}

TEST(RichTextBoxEvents, MouseDownReportsButtonsInTwipsAndNoBuiltInMenuOpens)
{
    RichTextBox box;
    box.resize(300, 200);
    box.show();
    std::vector<std::array<float, 4>> seen;
    QObject::connect(&box, &RichTextBox::MouseDown, [&](int button, int shift, float x, float y) {
        seen.push_back({ float(button), float(shift), x, y });
    });
    QTest::mousePress(box.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 20));
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 20));
    QTest::mousePress(box.viewport(), Qt::RightButton, Qt::ControlModifier, QPoint(4, 6));
    QTest::mouseRelease(box.viewport(), Qt::RightButton, Qt::ControlModifier, QPoint(4, 6));
    QTest::mousePress(box.viewport(), Qt::MiddleButton, Qt::ShiftModifier, QPoint(1, 1));
    ASSERT_EQ(seen.size(), 3u);
    const float twips = 1440.0f / float(box.logicalDpiX());
    EXPECT_EQ(seen[0][0], 1);
    EXPECT_EQ(seen[0][1], 0);
    EXPECT_FLOAT_EQ(seen[0][2], 10 * twips);
    EXPECT_FLOAT_EQ(seen[0][3], 20 * twips);
    EXPECT_EQ(seen[1][0], 2);
    EXPECT_EQ(seen[1][1], 2);
    EXPECT_EQ(seen[2][0], 4);
    EXPECT_EQ(seen[2][1], 1);

    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), box.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(box.viewport(), &menu);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST(RichTextBoxEvents, ChangeAndSelChangeComeOncePerAction)
{
    RichTextBox box;
    box.setText(QStringLiteral("hello world"));
    QSignalSpy changes(&box, &RichTextBox::Change);
    QSignalSpy moves(&box, &RichTextBox::SelChange);

    QTest::keyClick(&box, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(moves.count(), 1);
    EXPECT_EQ(changes.count(), 0);
    box.setSelBold(true);
    EXPECT_EQ(changes.count(), 1); // formatting is a change
    EXPECT_EQ(moves.count(), 1);
    QTest::keyClicks(&box, "X");
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(moves.count(), 2);
    select(box, 0, 11);
    EXPECT_EQ(moves.count(), 4); // two calls, two moves
    box.setSelBullet(true);
    box.setSelAlignment(1);
    EXPECT_EQ(changes.count(), 4);
    box.setSelStart(box.SelStart()); // no move at all
    EXPECT_EQ(moves.count(), 5);
    box.setSelStart(0);
    EXPECT_EQ(moves.count(), 5);
}

// --- Look and placement ----------------------------------------------------------------------

TEST(RichTextBoxLook, RightMarginBackColorAndPlacement)
{
    QWidget parent;
    auto* box = new RichTextBox(&parent);
    box->setRightMargin(99999);
    EXPECT_EQ(box->lineWrapMode(), QTextEdit::NoWrap);
    box->setRightMargin(0);
    EXPECT_EQ(box->lineWrapMode(), QTextEdit::WidgetWidth);
    box->setRightMargin(2880);
    EXPECT_EQ(box->lineWrapMode(), QTextEdit::FixedPixelWidth);
    EXPECT_EQ(box->lineWrapColumnOrWidth(), qRound(2880.0 * box->logicalDpiX() / 1440));
    EXPECT_EQ(box->RightMargin(), 2880.0f);

    EXPECT_EQ(box->BackColor(), SystemWindowBackground);
    ASSERT_TRUE(box->setBackColor(255));
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(Qt::red));
    EXPECT_EQ(box->BackColor(), 255u);
    ASSERT_TRUE(box->setBackColor(SystemWindowBackground));
    EXPECT_EQ(box->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
    EXPECT_FALSE(box->setBackColor(0x800000FFu));
    EXPECT_EQ(box->BackColor(), SystemWindowBackground);

    // Placement is in twips; negative sizes are refused.
    const double twips = 1440.0 / box->logicalDpiX();
    ASSERT_TRUE(box->Move(15 * twips, 30 * twips, 300 * twips, 150 * twips));
    EXPECT_EQ(box->geometry(), QRect(15, 30, 300, 150));
    EXPECT_FALSE(box->Move(0, 0, -15, 100));
    EXPECT_FALSE(box->Move(0, 0, 100, -15));
    EXPECT_EQ(box->geometry(), QRect(15, 30, 300, 150));
}

TEST(RichTextBoxPrint, PrintsTheSelectionOrEverything)
{
    QTemporaryDir dir;
    RichTextBox box;
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("line %1").arg(i);
    box.setText(lines.join(u'\n'));
    const auto pages = [&](const QString& name) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(name));
        box.SelPrint(printer);
        const QByteArray pdf = readAll(dir.filePath(name));
        const qsizetype at = pdf.indexOf("/Count ");
        return at < 0 ? -1 : pdf.mid(at + 7, 4).trimmed().split('\n').first().toInt();
    };
    box.setSelStart(5);
    const int everything = pages(QStringLiteral("all.pdf"));
    EXPECT_GT(everything, 1);
    select(box, 0, 7);
    EXPECT_EQ(pages(QStringLiteral("part.pdf")), 1);
    EXPECT_EQ(box.SelLength(), 7); // printing leaves the selection alone
    EXPECT_EQ(box.Text(), lines.join(u'\n'));
}

} // namespace
} // namespace penwick::test
