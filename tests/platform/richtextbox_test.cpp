// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/richtextbox.h"
#include "platform/selectionmime.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>
#include <gtest/gtest.h>

#include <unistd.h>

namespace penwick::test {
namespace {

void select(RichTextBox& box, int start, int length)
{
    box.setSelStart(start);
    box.setSelLength(length);
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

class RichTextBoxTest : public ::testing::Test
{
protected:
    RichTextBox box;
    QTemporaryDir dir;
};

// --- Files and whole content ------------------------------------------------------------------

TEST_F(RichTextBoxTest, LoadStartsAFreshHistoryAndPlainSaveWritesUtf8WithNewlines)
{
    const QString path = dir.filePath(QStringLiteral("note.rtf"));
    ASSERT_TRUE(writeAll(path, "{\\rtf1\\ansi First\\par Second}"));
    box.setText(QStringLiteral("old text"));
    QTest::keyClicks(&box, "x");
    QSignalSpy changes(&box, &RichTextBox::Change);
    QSignalSpy moves(&box, &RichTextBox::SelChange);

    ASSERT_TRUE(box.LoadFile(path));
    EXPECT_EQ(box.Text(), u"First\nSecond");
    EXPECT_FALSE(box.document()->isUndoAvailable());
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(moves.count(), 1);
    QTest::keyClicks(&box, "Z"); // the editor goes on working on the new document
    EXPECT_EQ(box.Text(), u"ZFirst\nSecond");

    box.setText(QStringLiteral("caf\u00e9 \u20ac\r\nsecond\rthird 😀"));
    ASSERT_TRUE(box.SaveFile(path, 1));
    EXPECT_EQ(
        readAll(path), QByteArray("caf\xc3\xa9 \xe2\x82\xac\nsecond\nthird \xf0\x9f\x98\x80"));
    EXPECT_FALSE(box.SaveFile(dir.filePath(QStringLiteral("no/such/folder/x.rtf"))));
}

TEST_F(RichTextBoxTest, RefusedFilesLeaveTheDocumentAsItWas)
{
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

    // Missing, a folder, not rich text, over 64 MB, unreadable (but root reads any file).
    QStringList cases = { dir.filePath(QStringLiteral("none.rtf")), dir.path(), plain, huge };
    if (::geteuid() != 0)
        cases << locked;

    box.setText(QStringLiteral("keep me"));
    QTest::keyClicks(&box, "!");
    QSignalSpy changes(&box, &RichTextBox::Change);
    for (const QString& path : cases) {
        QString error;
        EXPECT_FALSE(box.LoadFile(path, &error)) << path.toStdString();
        EXPECT_FALSE(error.isEmpty()) << path.toStdString();
        EXPECT_EQ(box.Text(), u"!keep me") << path.toStdString();
        EXPECT_TRUE(box.document()->isUndoAvailable()) << path.toStdString();
    }
    EXPECT_EQ(changes.count(), 0);
}

// --- Selection and text ----------------------------------------------------------------------

TEST_F(RichTextBoxTest, StartAndLengthAreClampedAndSelTextReplacesInTheFirstFormat)
{
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

    box.setText(QStringLiteral("Hello world\nsecond line\nthird"));
    select(box, 6, 12);
    EXPECT_EQ(box.SelText(), u"world\nsecond");
    box.setSelText(QStringLiteral("there\r\nnew"));
    EXPECT_EQ(box.Text(), u"Hello there\nnew line\nthird");
    EXPECT_EQ(std::make_pair(box.SelStart(), box.SelLength()), std::make_pair(15, 0));
    // A selection that ends on a paragraph mark includes the break; empty text removes it.
    select(box, 16, 10);
    EXPECT_EQ(box.SelText(), u"line\nthird");
    box.setSelText(QString());
    EXPECT_EQ(box.Text(), u"Hello there\nnew ");

    // Replacing text takes the format of the first replaced character.
    box.setText(QStringLiteral("plain BOLD plain"));
    select(box, 6, 4);
    box.setSelBold(true);
    select(box, 6, 7);
    box.setSelText(QStringLiteral("upper"));
    select(box, 6, 5);
    EXPECT_EQ(box.SelText(), u"upper");
    EXPECT_EQ(box.SelBold(), true);
}

// Fonts, colours and alignment read from markup are the reader's tests; here only that markup is
// read, plain bytes are text, and what SelRTF gives goes back in the same.
TEST_F(RichTextBoxTest, SelRtfTakesPlainBytesAsTextAndReadsMarkup)
{
    box.setText(QStringLiteral("[]"));
    box.setSelStart(1);
    box.setSelRTF(QByteArray("caf\xe9\r\nline {x}"));
    EXPECT_EQ(box.Text(), u"[caf\u00e9\nline {x}]");
    select(box, 1, 4);
    box.setSelRTF(QByteArray("\xef\xbb\xbf\xe2\x82\xac")); // UTF-8 with a byte-order mark
    EXPECT_EQ(box.Text(), u"[\u20ac\nline {x}]");
    select(box, 1, 1);
    box.setSelRTF(QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}}\\f0\\b rich}"));
    EXPECT_EQ(box.Text(), u"[rich\nline {x}]");

    select(box, 1, 4);
    RichTextBox other;
    other.setTextRTF(box.SelRTF());
    EXPECT_EQ(other.Text(), u"rich");
    select(other, 0, 4);
    EXPECT_EQ(other.SelBold(), true);
    EXPECT_EQ(other.SelFontName(), QStringLiteral("Courier New"));
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
        const auto at = [&](int start, int length) {
            select(box, start, length);
            return (box.*a.get)();
        };
        select(box, 4, 3);
        (box.*a.set)(true);
        EXPECT_EQ(at(2, 4), std::nullopt) << a.name;

        // Writing the mixed value changes nothing and records no undo step.
        const int steps = box.document()->availableUndoSteps();
        QSignalSpy changes(&box, &RichTextBox::Change);
        (box.*a.set)(std::nullopt);
        EXPECT_EQ(box.document()->availableUndoSteps(), steps) << a.name;
        EXPECT_EQ(changes.count(), 0) << a.name;

        // Off over a mixed selection clears it all; one undo step brings the mix back.
        (box.*a.set)(false);
        EXPECT_EQ((box.*a.get)(), false) << a.name;
        box.Undo();
        EXPECT_EQ(at(2, 4), std::nullopt) << a.name;

        // At the caret it reads the character before and sets the format for the next text.
        EXPECT_EQ(at(3, 0), false) << a.name;
        (box.*a.set)(true);
        EXPECT_EQ((box.*a.get)(), true) << a.name;
        QTest::keyClicks(&box, "X");
        EXPECT_EQ(box.Text(), u"oneX two three") << a.name;
        EXPECT_EQ(at(3, 1), true) << a.name;
        EXPECT_EQ(at(4, 1), false) << a.name;
        EXPECT_EQ(at(4, 0), true) << a.name;
    }
}

TEST_F(RichTextBoxTest, FontNameSizeAndColour)
{
    QFont base(QStringLiteral("DejaVu Sans"));
    base.setPointSizeF(10);
    box.document()->setDefaultFont(base);
    box.setText(QStringLiteral("alpha beta gamma"));

    // An explicit value equal to the default is no mix.
    select(box, 0, 5);
    box.setSelFontSize(10);
    select(box, 0, 16);
    EXPECT_EQ(box.SelFontName(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(box.SelFontSize(), 10.0f);
    EXPECT_EQ(box.SelColor(), SystemWindowText);

    select(box, 6, 4);
    ASSERT_TRUE(box.setSelFontSize(14.5f));

    // Sizes the editor cannot take are refused and change nothing.
    for (float bad : { 0.0f, -5.0f, 0.99f, 1638.5f, 1e9f, std::numeric_limits<float>::quiet_NaN(),
             std::numeric_limits<float>::infinity() }) {
        EXPECT_FALSE(box.setSelFontSize(bad)) << bad;
        EXPECT_EQ(box.SelFontSize(), 14.5f) << bad;
    }
    EXPECT_TRUE(box.setSelFontSize(1));
    EXPECT_TRUE(box.setSelFontSize(1638));
    EXPECT_TRUE(box.setSelFontSize(std::nullopt));
    EXPECT_EQ(box.SelFontSize(), 1638.0f);

    // The automatic colour comes back when asked for.
    ASSERT_TRUE(box.setSelColor(0x0000FFu)); // red
    EXPECT_EQ(box.SelColor(), 0x0000FFu);
    box.setSelColor(SystemWindowText);
    EXPECT_EQ(box.SelColor(), SystemWindowText);
    QTextCursor c(box.document());
    c.setPosition(7);
    EXPECT_EQ(c.charFormat().foreground().style(), Qt::NoBrush);
    EXPECT_FALSE(box.setSelColor(0x800000FFu));
    EXPECT_EQ(box.SelColor(), SystemWindowText);
}

TEST_F(RichTextBoxTest, AlignmentCoversTheTouchedParagraphs)
{
    box.setText(QStringLiteral("one\ntwo\nthree"));
    select(box, 4, 3); // "two"
    ASSERT_TRUE(box.setSelAlignment(2));

    select(box, 0, 4); // ends at the start of "two": that paragraph is not touched
    ASSERT_TRUE(box.setSelAlignment(1));
    EXPECT_EQ(box.SelAlignment(), 1);
    box.setSelStart(4);
    EXPECT_EQ(box.SelAlignment(), 2);

    select(box, 0, 13); // refused values change nothing
    EXPECT_TRUE(box.setSelAlignment(std::nullopt));
    EXPECT_FALSE(box.setSelAlignment(4));
    EXPECT_FALSE(box.setSelAlignment(-1));
    EXPECT_EQ(box.SelAlignment(), std::nullopt);
    ASSERT_TRUE(box.setSelAlignment(3));
    EXPECT_EQ(box.SelAlignment(), 3);
}

TEST_F(RichTextBoxTest, BulletsAreIndentedDiscListsThatComeOffCleanly)
{
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
    EXPECT_EQ(box.Text(), u"one\ntwo\nthree");

    select(box, 5, 5); // the third paragraph has none
    EXPECT_EQ(box.SelBullet(), std::nullopt);
    box.setSelBullet(false);
    const QTextBlock second = box.document()->findBlock(4);
    EXPECT_EQ(box.SelBullet(), false);
    EXPECT_EQ(second.blockFormat().leftMargin(), 30); // back where it was
    EXPECT_EQ(second.blockFormat().indent(), 0);

    select(box, 0, 13);
    box.setSelBullet(true);
    box.Undo(); // one step
    select(box, 0, 13);
    EXPECT_EQ(box.SelBullet(), std::nullopt);
}

// --- Find ------------------------------------------------------------------------------------

TEST_F(RichTextBoxTest, WholeWordsCaseAndRange)
{
    box.setText(QStringLiteral("other then The the\nthe end"));
    //                          0     6    11  15  19  23
    // Options: 2 whole words, 4 match case. A negative end is the end of the text; no range
    // searches on from the selection's start, not its end; a failed search leaves the selection.
    struct Case
    {
        std::optional<int> start, end;
        int options;
        const char* text;
        int want;
    } cases[] = { { 0, {}, 2, "the", 11 }, { 0, {}, 6, "the", 15 }, { 0, {}, 0, "the", 1 },
        { 16, {}, 2, "the", 19 }, { 0, 14, 2, "the", 11 }, { 0, 13, 2, "the", -1 },
        { 999, {}, 2, "the", -1 }, { -5, {}, 2, "other", 0 }, { 0, -1, 2, "end", 23 },
        { 0, {}, 2, "", -1 }, { {}, {}, 2, "the", 11 } };
    for (const Case& c : cases) {
        select(box, 3, 10);
        EXPECT_EQ(box.Find(QString::fromUtf8(c.text), c.start, c.end, c.options), c.want)
            << c.text << " from " << c.start.value_or(-99);
        EXPECT_EQ(box.SelStart(), c.want >= 0 ? c.want : 3);
        EXPECT_EQ(box.SelLength(), c.want >= 0 ? int(strlen(c.text)) : 10);
    }
}

// --- Clipboard and undo ----------------------------------------------------------------------

TEST_F(RichTextBoxTest, PasteTakesTheRichestFormatInOneStep)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::green);
    // Offers rich text, HTML, text and a picture, from the richest `first` on.
    const char16_t* const want[] = { u"[R]", u"[H]", u"[T]", u"[\uFFFC]" };
    box.setText(QStringLiteral("[x]"));
    for (int first = 0; first < 4; ++first) {
        auto* mime = new QMimeData;
        if (first <= 0)
            mime->setData(QStringLiteral("text/rtf"), "{\\rtf1 R}");
        if (first <= 1)
            mime->setHtml(QStringLiteral("<b>H</b>"));
        if (first <= 2)
            mime->setText(QStringLiteral("T"));
        mime->setImageData(image);
        QGuiApplication::clipboard()->setMimeData(mime);
        select(box, 1, 1);
        box.Paste();
        EXPECT_EQ(box.Text(), QStringView(want[first])) << first;
        EXPECT_EQ(box.SelStart(), 2) << first;
        if (first == 3) { // kept at its size
            QTextCursor c(box.document());
            c.setPosition(2);
            EXPECT_EQ(c.charFormat().toImageFormat().width(), 4);
        }
        box.Undo();
        EXPECT_EQ(box.Text(), u"[x]") << first;
    }
}

// What was copied is made only when a program asks for it, and pastes as it was copied after the
// note changed or the editor closed.
TEST(RichTextBoxCopy, PastesWhatWasCopiedAfterEditsAndClosing)
{
    using Step = std::function<void(RichTextBox*&)>;
    const Step copy = [](RichTextBox*& e) { e->Copy(); };
    const Step cut = [](RichTextBox*& e) { e->Cut(); };
    const Step none = [](RichTextBox*&) {};
    const struct
    {
        const char* name;
        Step take, after;
        bool frozen; // made before the change
    } cases[] = {
        { "nothing", copy, none, false },
        { "caret moved", copy, [](RichTextBox*& e) { QTest::keyClick(e, Qt::Key_Right); }, false },
        { "typed over", copy, [](RichTextBox*& e) { QTest::keyClicks(e, "x"); }, true },
        { "unbolded", copy, [](RichTextBox*& e) { e->setSelBold(false); }, true },
        { "text replaced", copy, [](RichTextBox*& e) { e->setText(QStringLiteral("o")); }, true },
        { "closed", copy,
            [](RichTextBox*& e) {
                delete e;
                e = nullptr;
            },
            true },
        { "cut", cut, none, true },
        { "cut with the keyboard",
            [](RichTextBox*& e) { QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier); }, none,
            true },
    };
    RichTextBox target;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* editor = new RichTextBox;
        editor->setTextRTF("{\\rtf1\\ansi plain {\\b bold words} tail\\par next}");
        select(*editor, 6, 10);
        c.take(editor);
        c.after(editor);
        const auto* offered
            = dynamic_cast<const SelectionMimeData*>(QGuiApplication::clipboard()->mimeData());
        ASSERT_NE(offered, nullptr);
        EXPECT_EQ(offered->isFrozen(), c.frozen);
        EXPECT_EQ(offered->text(), u"bold words");
        EXPECT_TRUE(offered->html().contains(QStringLiteral("bold words")));
        target.setText(QString());
        target.Paste();
        EXPECT_EQ(target.Text(), u"bold words");
        select(target, 0, 10);
        EXPECT_EQ(target.SelBold(), TriState(true));
        if (editor && std::string_view(c.name).starts_with("cut")) {
            EXPECT_EQ(editor->Text(), u"plain  tail\nnext");
        }
        delete editor;
    }
}

// --- Keyboard and mouse events ---------------------------------------------------------------

TEST_F(RichTextBoxTest, KeyDownCarriesWindowsKeyCodesAndShiftMasks)
{
    struct Case
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int code, shift;
    } cases[] = { { Qt::Key_Escape, Qt::ShiftModifier, 27, 1 },
        { Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, 90, 3 },
        { Qt::Key_F4, Qt::AltModifier, 115, 4 }, { Qt::Key_Exclam, Qt::ShiftModifier, 49, 1 },
        { Qt::Key_5, Qt::KeypadModifier, 101, 0 }, { Qt::Key_Shift, Qt::ShiftModifier, 16, 1 },
        { Qt::Key_Semicolon, Qt::NoModifier, 186, 0 } };
    std::pair<int, int> seen;
    QObject::connect(&box, &RichTextBox::KeyDown, [&](int& keyCode, int& shift) {
        seen = { keyCode, shift };
    });
    for (const Case& c : cases) {
        seen = {};
        // The test library presses the modifier keys first: the key itself comes last.
        QTest::keyPress(&box, c.key, c.modifiers);
        EXPECT_EQ(seen, std::make_pair(c.code, c.shift)) << c.code;
        QTest::keyRelease(&box, c.key, c.modifiers);
    }
}

TEST_F(RichTextBoxTest, MouseDownReportsButtonsInTwipsAndNoBuiltInMenuOpens)
{
    box.resize(300, 200);
    box.show();
    std::vector<std::array<float, 4>> seen;
    QObject::connect(&box, &RichTextBox::MouseDown, [&](int button, int shift, float x, float y) {
        seen.push_back({ float(button), float(shift), x, y });
    });
    QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 20));
    QTest::mouseClick(box.viewport(), Qt::RightButton, Qt::ControlModifier, QPoint(4, 6));
    QTest::mousePress(box.viewport(), Qt::MiddleButton, Qt::ShiftModifier, QPoint(1, 1));
    const float tw = 1440.0f / float(box.logicalDpiX());
    EXPECT_EQ(seen,
        (std::vector<std::array<float, 4>> {
            { 1, 0, 10 * tw, 20 * tw }, { 2, 2, 4 * tw, 6 * tw }, { 4, 1, tw, tw } }));

    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), box.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(box.viewport(), &menu);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(RichTextBoxTest, LookPlacementAndPrinting)
{
    const double twips = 1440.0 / box.logicalDpiX();
    box.setRightMargin(99999);
    EXPECT_EQ(box.lineWrapMode(), QTextEdit::NoWrap);
    box.setRightMargin(2880);
    EXPECT_EQ(box.lineWrapColumnOrWidth(), qRound(2880.0 / twips));
    ASSERT_TRUE(box.setBackColor(255));
    EXPECT_EQ(box.palette().color(QPalette::Base), QColor(Qt::red));
    EXPECT_FALSE(box.setBackColor(0x800000FFu));
    EXPECT_EQ(box.BackColor(), OleColor(255));
    // Placement is in twips; negative sizes are refused.
    ASSERT_TRUE(box.Move(15 * twips, 30 * twips, 300 * twips, 150 * twips));
    EXPECT_FALSE(box.Move(0, 0, -15, 100));
    EXPECT_EQ(box.geometry(), QRect(15, 30, 300, 150));

    // Printing takes the selection, or everything when nothing is selected.
    box.setText(QStringLiteral("line\n").repeated(300));
    const auto pages = [&](const QString& name) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(name));
        box.SelPrint(printer);
        const QByteArray pdf = readAll(dir.filePath(name));
        const qsizetype at = pdf.indexOf("/Count ");
        return at < 0 ? -1 : pdf.mid(at + 7, 4).trimmed().split('\n').first().toInt();
    };
    EXPECT_GT(pages(QStringLiteral("all.pdf")), 1);
    select(box, 0, 7);
    EXPECT_EQ(pages(QStringLiteral("part.pdf")), 1);
}

} // namespace
} // namespace penwick::test
