// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/atomicfile.h"
#include "platform/formatindex.h"
#include "platform/richtextbox.h"
#include "platform/selectionmime.h"

#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace penwick::test {
namespace {

void select(RichTextBox& box, int start, int length)
{
    box.setSelStart(start);
    box.setSelLength(length);
}

class RichTextBoxTest : public ::testing::Test
{
protected:
    RichTextBox box;
    QTemporaryDir dir;
};

// --- Files and whole content ------------------------------------------------------------------

// A file read starts a fresh history; one refused leaves the document and its history as they
// were (the note store's tests refuse folders, files over 64 MB and files not in rich text, all
// through LoadFile).
TEST_F(RichTextBoxTest, LoadStartsAFreshHistoryAndRefusedFilesChangeNothing)
{
    const QString path = dir.filePath(QStringLiteral("note.rtf"));
    ASSERT_TRUE(writeFileAtomically(path, "{\\rtf1\\ansi First\\par Second}"));
    box.setText(QStringLiteral("keep\rme"));
    QTest::keyClicks(&box, "!");
    QSignalSpy changes(&box, &RichTextBox::Change);
    QSignalSpy moves(&box, &RichTextBox::SelChange);
    QString error;
    EXPECT_FALSE(box.LoadFile(dir.filePath(QStringLiteral("none.rtf")), &error) || error.isEmpty());
    EXPECT_EQ(std::tuple(box.Text(), box.document()->isUndoAvailable(), changes.count()),
        std::tuple(QStringLiteral("!keep\nme"), true, 0));

    ASSERT_TRUE(box.LoadFile(path));
    EXPECT_EQ(std::tuple(box.Text(), box.document()->isUndoAvailable(), box.SelStart(),
                  changes.count(), moves.count()),
        std::tuple(QStringLiteral("First\nSecond"), false, 0, 1, 1));
    QTest::keyClicks(&box, "Z"); // the editor goes on working on the new document
    EXPECT_EQ(box.Text(), u"ZFirst\nSecond");
}

// --- Selection, text and formats ------------------------------------------------------------

TEST_F(RichTextBoxTest, StartAndLengthAreClampedAndSelTextAndSelRtfReplaceTheSelection)
{
    box.setText(QStringLiteral("abc\ndef")); // 7 units
    const std::tuple<int, int, int, int> cases[] = { { 2, 3, 2, 3 }, { -4, 2, 0, 2 },
        { 5, 99, 5, 2 }, { 50, 1, 7, 0 }, { 3, -2, 3, 0 }, { 0, 7, 0, 7 } };
    for (const auto& [start, length, wantStart, wantLength] : cases) {
        select(box, start, length);
        EXPECT_EQ(std::pair(box.SelStart(), box.SelLength()), std::pair(wantStart, wantLength))
            << start << "," << length;
    }

    box.setText(QStringLiteral("Hello world\nsecond line\nthird"));
    select(box, 6, 12);
    EXPECT_EQ(box.SelText(), u"world\nsecond");
    box.setSelText(QStringLiteral("there\r\nnew"));
    EXPECT_EQ(std::tuple(box.Text(), box.SelStart(), box.SelLength()),
        std::tuple(QStringLiteral("Hello there\nnew line\nthird"), 15, 0));
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
    EXPECT_EQ(std::pair(box.SelText(), box.SelBold()),
        std::pair(QStringLiteral("upper"), TriState(true)));

    // Markup is read, and what SelRTF gives goes back in the same. (Nothing in the program hands
    // it plain bytes: the text-file command decodes those itself and its tests cover them.)
    box.setText(QStringLiteral("[x\nline {x}]"));
    select(box, 1, 1);
    box.setSelRTF(QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}}\\f0\\b rich}"));
    EXPECT_EQ(box.Text(), u"[rich\nline {x}]");

    select(box, 1, 4);
    RichTextBox other;
    other.setTextRTF(box.SelRTF());
    select(other, 0, 4);
    EXPECT_EQ(std::tuple(other.Text(), other.SelBold(), other.SelFontName()),
        std::tuple(
            QStringLiteral("rich"), TriState(true), std::optional(QStringLiteral("Courier New"))));
}

// The four styles share one path (the commands' test toggles each over mixed selections): what
// only this level sees is undo, the mixed value written, and the format at the caret.
TEST_F(RichTextBoxTest, StylesAreOnOffOrMixed)
{
    box.setText(QStringLiteral("one two three"));
    const auto at = [&](int start, int length) {
        select(box, start, length);
        return box.SelBold();
    };
    select(box, 4, 3);
    box.setSelBold(true);
    EXPECT_EQ(at(2, 4), std::nullopt);

    // Writing the mixed value changes nothing and records no undo step.
    const int steps = box.document()->availableUndoSteps();
    box.setSelBold(std::nullopt);
    EXPECT_EQ(box.document()->availableUndoSteps(), steps);

    // Off over a mixed selection clears it all; one undo step brings the mix back.
    box.setSelBold(false);
    const TriState off = box.SelBold();
    box.Undo();
    EXPECT_EQ(std::pair(off, at(2, 4)), std::pair(TriState(false), TriState()));

    // At the caret it reads the character before and sets the format for the next text.
    EXPECT_EQ(at(3, 0), false);
    box.setSelBold(true);
    QTest::keyClicks(&box, "X");
    EXPECT_EQ(box.Text(), u"oneX two three");
    EXPECT_EQ(std::tuple(at(3, 1), at(4, 1), at(4, 0)),
        std::tuple(TriState(true), TriState(false), TriState(true)));
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
    EXPECT_EQ(std::tuple(box.SelFontName(), box.SelFontSize(), box.SelColor()),
        std::tuple(std::optional(QStringLiteral("DejaVu Sans")), std::optional(10.0f),
            std::optional(SystemWindowText)));

    // Sizes the editor cannot take are refused and change nothing.
    select(box, 6, 4);
    ASSERT_TRUE(box.setSelFontSize(14.5f));
    for (float bad : { 0.0f, -5.0f, 0.99f, 1638.5f, 1e9f, std::numeric_limits<float>::quiet_NaN(),
             std::numeric_limits<float>::infinity() }) {
        EXPECT_FALSE(box.setSelFontSize(bad)) << bad;
        EXPECT_EQ(box.SelFontSize(), 14.5f) << bad;
    }
    EXPECT_TRUE(box.setSelFontSize(1) && box.setSelFontSize(1638)
        && box.setSelFontSize(std::nullopt) && box.SelFontSize() == 1638.0f);

    // The automatic colour comes back when asked for.
    ASSERT_TRUE(box.setSelColor(0x0000FFu) && box.SelColor() == 0x0000FFu); // red
    EXPECT_TRUE(box.setSelColor(SystemWindowText) && !box.setSelColor(0x800000FFu));
    EXPECT_EQ(box.SelColor(), SystemWindowText);
}

// Alignment and bullets cover the paragraphs the selection touches; bullets come off leaving the
// paragraph's own indent, all in one undo step.
TEST_F(RichTextBoxTest, AlignmentAndBulletsCoverTheTouchedParagraphs)
{
    box.setText(QStringLiteral("one\ntwo\nthree"));
    select(box, 4, 3); // "two"
    ASSERT_TRUE(box.setSelAlignment(2));
    select(box, 0, 4); // ends at the start of "two": that paragraph is not touched
    ASSERT_TRUE(box.setSelAlignment(1));
    const auto first = box.SelAlignment();
    box.setSelStart(4);
    EXPECT_EQ(std::pair(first, box.SelAlignment()), std::pair(std::optional(1), std::optional(2)));
    select(box, 0, 13); // refused values change nothing
    EXPECT_TRUE(box.setSelAlignment(std::nullopt) && !box.setSelAlignment(4)
        && !box.setSelAlignment(-1) && !box.SelAlignment());
    EXPECT_TRUE(box.setSelAlignment(3) && box.SelAlignment() == 3);

    QTextCursor indent(box.document());
    QTextBlockFormat margin;
    margin.setLeftMargin(30);
    indent.setPosition(5);
    indent.mergeBlockFormat(margin);
    select(box, 2, 4); // "e\ntw": the first two paragraphs
    EXPECT_EQ(box.SelBullet(), false);
    box.setSelBullet(true);
    EXPECT_EQ(std::pair(box.SelBullet(), box.Text()),
        std::pair(TriState(true), QStringLiteral("one\ntwo\nthree")));
    select(box, 5, 5); // the third paragraph has none
    ASSERT_EQ(box.SelBullet(), std::nullopt);
    box.setSelBullet(false);
    const QTextBlockFormat second = box.document()->findBlock(4).blockFormat();
    EXPECT_EQ(std::tuple(box.SelBullet(), second.leftMargin(), second.indent()),
        std::tuple(TriState(false), 30.0, 0));
    select(box, 0, 13);
    box.setSelBullet(true);
    box.Undo(); // one step
    select(box, 0, 13);
    EXPECT_EQ(box.SelBullet(), std::nullopt);
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
        const QString pasted = box.Text() + QString::number(box.SelStart());
        box.Undo();
        EXPECT_EQ(pasted + box.Text(), QString::fromUtf16(want[first]) + "2[x]") << first;
    }
}

// What was copied is made only when a program asks for it, and pastes as it was copied after the
// note changed or the editor closed.
TEST(RichTextBoxCopy, PastesWhatWasCopiedAfterEditsAndClosing)
{
    using E = RichTextBox*&;
    const std::tuple<const char*, std::function<void(E)>, bool> cases[] = {
        // What is done after the selection is taken; whether it was made before the change.
        { "nothing", [](E e) { e->Copy(); }, false },
        { "caret moved", [](E e) { e->Copy(), QTest::keyClick(e, Qt::Key_Right); }, false },
        { "typed over", [](E e) { e->Copy(), QTest::keyClicks(e, "x"); }, true },
        { "unbolded", [](E e) { e->Copy(), e->setSelBold(false); }, true },
        { "text replaced", [](E e) { e->Copy(), e->setText(QStringLiteral("o")); }, true },
        { "closed", [](E e) { e->Copy(), delete std::exchange(e, nullptr); }, true },
        { "cut", [](E e) { e->Cut(); }, true },
        { "cut with the keyboard", [](E e) { QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier); },
            true },
    };
    RichTextBox target;
    for (const auto& [name, act, frozen] : cases) {
        SCOPED_TRACE(name);
        auto* editor = new RichTextBox;
        editor->setTextRTF("{\\rtf1\\ansi plain {\\b bold words} tail\\par next}");
        select(*editor, 6, 10);
        act(editor);
        const auto* offered
            = dynamic_cast<const SelectionMimeData*>(QGuiApplication::clipboard()->mimeData());
        ASSERT_NE(offered, nullptr);
        EXPECT_TRUE(offered->isFrozen() == frozen && offered->html().contains(u"bold words"));
        target.setText(QString());
        target.Paste();
        select(target, 0, 10);
        EXPECT_EQ(std::pair(target.Text(), target.SelBold()),
            std::pair(QStringLiteral("bold words"), TriState(true)));
        EXPECT_TRUE(!editor || !std::string_view(name).starts_with("cut")
            || editor->Text() == u"plain  tail\nnext"); // a cut takes the words away
        delete editor;
    }
}

// --- Format index ----------------------------------------------------------------------------

// The selection's formatting is answered from per-paragraph summaries kept up to date edit by
// edit; after long runs of random edits they must still equal a fresh walk over the document.

// One random edit: through the editor's own calls, keys and undo, or on its document directly.
void randomEdit(RichTextBox& box, std::mt19937& rng)
{
    const int length = int(box.Text().size());
    box.setSelStart(int(rng() % unsigned(length + 1)));
    box.setSelLength(int(rng() % unsigned((rng() % 4 == 0 ? length : 12) + 1)));
    const bool on = rng() % 2;
    QTextCursor c = box.textCursor();
    QTextDocument& doc = *box.document();
    const Qt::Key keys[]
        = { Qt::Key_X, Qt::Key_Space, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return };
    QTextListFormat list; // a list is made, or changes its style and with it whether it has bullets
    list.setStyle(on ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal);
    QTextCursor from(&doc); // a copy of some other part of the note, formatting and all
    from.setPosition(int(rng() % unsigned(doc.characterCount())));
    from.setPosition(std::min(doc.characterCount() - 1, from.position() + int(rng() % 30)),
        QTextCursor::KeepAnchor);
    const std::function<void()> edits[] = {
        // clang-format off
        [&] { box.setSelBold(on); }, [&] { box.setSelItalic(on); },
        [&] { box.setSelUnderline(on); }, [&] { box.setSelStrikeThru(on); },
        [&] { box.setSelFontSize(float(8 + 2 * (rng() % 3))); },
        [&] { box.setSelFontName(on ? QStringLiteral("Alpha") : QStringLiteral("Beta")); },
        [&] { box.setSelColor(rng() % 3 == 0 ? SystemWindowText : on ? 255u : 0xFF0000u); },
        [&] { box.setSelAlignment(int(rng() % 4)); }, [&] { box.setSelBullet(on); },
        [&] { box.setSelText(on ? QStringLiteral("ab\nZ\u00e9") : QStringLiteral("\u2028tail ")); },
        [&] { QTest::keyClick(&box, keys[rng() % std::size(keys)]); },
        [&] { on ? box.Undo() : box.redo(); }, [&] { c.insertImage(QStringLiteral("picture")); },
        [&] { c.insertFragment(from.selection()); },
        [&] { c.currentList() ? c.currentList()->setFormat(list) : void(c.createList(list)); },
        // clang-format on
    };
    edits[rng() % std::size(edits)]();
}

// What a range answers: each style, then size, font and colour, alignment and bullet. (The
// index stops adding once every answer is mixed, so its facts may hold less than a walk's.)
auto answers(const RangeFacts& f)
{
    const CharFacts& c = f.chars;
    return std::tuple(styleState(c, CharFacts::Bold), styleState(c, CharFacts::Italic),
        styleState(c, CharFacts::Underline), styleState(c, CharFacts::Strike),
        resolved(c.size, 0.0f), resolved(c.family, -1), resolved(c.color, QRgb(1)),
        alignmentState(f.paragraphs), bulletState(f.paragraphs));
}

TEST(SelectionIndex, AnswersMatchAWalkAfterRandomEdits)
{
    std::mt19937 rng(1);
    RichTextBox box;
    box.setText(QStringLiteral("The quick brown fox\njumps over\nthe lazy dog."));
    FormatIndex index; // follows the editor's document as the editor's own index does
    index.setDocument(box.document());
    for (int step = 0; step < 1200; ++step) {
        randomEdit(box, rng);
        if (step % 97 == 96)
            box.setText(box.Text()); // start over with plain text now and then
        ASSERT_TRUE(index.consistent()) << "step " << step;
        const int length = int(box.Text().size());
        const int from = int(rng() % unsigned(length + 1));
        const int to = from + int(rng() % unsigned((rng() % 4 == 0 ? length : 12) + 1));
        ASSERT_EQ(answers(index.facts(from, to)), answers(index.factsByWalking(from, to)))
            << "step " << step;
    }
}

} // namespace
} // namespace penwick::test
