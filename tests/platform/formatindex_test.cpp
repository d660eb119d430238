// SPDX-License-Identifier: GPL-2.0-or-later
// The selection's formatting is answered from per-paragraph summaries; these tests hold those
// answers against plain walks over the characters after long runs of random edits.
#include "platform/formatindex.h"
#include "platform/richtextbox.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>
#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace penwick::test {
namespace {

// Everything the editor reports about a selection, as one comparable value.
struct Answers
{
    TriState bold, italic, underline, strike;
    std::optional<float> size;
    std::optional<QString> family;
    std::optional<OleColor> color;
    std::optional<int> alignment;
    TriState bullet;
    friend bool operator==(const Answers&, const Answers&) = default;
};

std::ostream& operator<<(std::ostream& out, const Answers& a)
{
    const auto tri = [](TriState t) { return t ? (*t ? "on" : "off") : "mixed"; };
    return out << "bold " << tri(a.bold) << " italic " << tri(a.italic) << " underline "
               << tri(a.underline) << " strike " << tri(a.strike) << " size "
               << (a.size ? std::to_string(*a.size) : "mixed") << " family "
               << (a.family ? a.family->toStdString() : "mixed") << " color "
               << (a.color ? std::to_string(*a.color) : "mixed") << " align "
               << (a.alignment ? std::to_string(*a.alignment) : "mixed") << " bullet "
               << tri(a.bullet);
}

Answers answersOf(const RichTextBox& box)
{
    return { box.SelBold(), box.SelItalic(), box.SelUnderline(), box.SelStrikeThru(),
        box.SelFontSize(), box.SelFontName(), box.SelColor(), box.SelAlignment(), box.SelBullet() };
}

template <typename T> std::optional<T> single(const std::vector<T>& values)
{
    for (const T& v : values) {
        if (!(v == values.front()))
            return std::nullopt;
    }
    return values.front();
}

// The answers by looking at every selected character on its own.
Answers answersByWalking(const RichTextBox& box)
{
    QTextDocument& doc = *box.document();
    const int from = box.SelStart();
    const int to = from + box.SelLength();
    std::vector<QTextCharFormat> formats;
    for (int p = from; p < to; ++p) {
        if (doc.characterAt(p) == QChar::ParagraphSeparator)
            continue;
        QTextCursor c(&doc);
        c.setPosition(p);
        c.setPosition(p + 1, QTextCursor::KeepAnchor);
        const QTextCharFormat f = c.charFormat();
        if (!f.isImageFormat())
            formats.push_back(f);
    }
    if (formats.empty()) {
        QTextCursor c = box.textCursor();
        if (c.hasSelection())
            c.setPosition(from);
        formats.push_back(c.charFormat());
    }
    const QFont base = doc.defaultFont();
    std::vector<bool> bold, italic, underline, strike;
    std::vector<float> size;
    std::vector<QString> family;
    std::vector<OleColor> color;
    for (const QTextCharFormat& f : formats) {
        bold.push_back(f.fontWeight() > QFont::Medium);
        italic.push_back(f.fontItalic());
        // Any underline style counts, dotted and wavy ones too.
        underline.push_back(f.hasProperty(QTextFormat::TextUnderlineStyle)
                ? f.underlineStyle() != QTextCharFormat::NoUnderline
                : f.boolProperty(QTextFormat::FontUnderline));
        strike.push_back(f.fontStrikeOut());
        size.push_back(f.fontPointSize() > 0 ? float(f.fontPointSize()) : float(base.pointSizeF()));
        family.push_back(f.fontFamilies().toStringList().value(0, base.family()));
        color.push_back(f.foreground().style() == Qt::NoBrush ? SystemWindowText
                                                              : colorToOle(f.foreground().color()));
    }
    std::vector<int> alignment;
    std::vector<bool> bullet;
    const QTextBlock last = doc.findBlock(std::max(from, to - 1));
    for (QTextBlock b = doc.findBlock(from); b.isValid(); b = b.next()) {
        const Qt::Alignment a = b.blockFormat().alignment();
        alignment.push_back(a & Qt::AlignJustify ? 3
                : a & Qt::AlignHCenter           ? 2
                : a & Qt::AlignRight             ? 1
                                                 : 0);
        const QTextList* list = b.textList();
        const auto style = list ? list->format().style() : QTextListFormat::ListStyleUndefined;
        bullet.push_back(style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
            || style == QTextListFormat::ListSquare);
        if (b == last)
            break;
    }
    return { single(bold), single(italic), single(underline), single(strike), single(size),
        single(family), single(color), single(alignment), single(bullet) };
}

QString randomText(std::mt19937& rng)
{
    static const char16_t pieces[][8]
        = { u"word", u" ", u"\n", u"ab", u"Z", u"\u00e9", u"\u2028", u"tail " };
    QString text;
    const int n = int(rng() % 5);
    for (int i = 0; i < n; ++i)
        text += QString::fromUtf16(pieces[rng() % std::size(pieces)]);
    return text;
}

void randomSelection(RichTextBox& box, std::mt19937& rng)
{
    const int length = int(box.Text().size());
    const int start = int(rng() % unsigned(length + 1));
    box.setSelStart(start);
    // Mostly short selections, sometimes up to everything.
    const int span = rng() % 4 == 0 ? length : int(rng() % 12);
    box.setSelLength(int(rng() % unsigned(span + 1)));
}

// One random edit: through the editor's own calls, keys and undo, or on its document directly.
void randomEdit(RichTextBox& box, std::mt19937& rng)
{
    randomSelection(box, rng);
    const bool on = rng() % 2;
    QTextCursor c = box.textCursor();
    QTextDocument& doc = *box.document();
    const std::function<void()> edits[] = {
        [&] { box.setSelBold(on); },
        [&] { box.setSelItalic(on); },
        [&] { box.setSelUnderline(on); },
        [&] { box.setSelStrikeThru(on); },
        [&] { box.setSelFontSize(float(8 + 2 * (rng() % 3))); },
        [&] { box.setSelFontName(on ? QStringLiteral("Alpha") : QStringLiteral("Beta")); },
        [&] {
            box.setSelColor(rng() % 3 == 0 ? SystemWindowText : on ? 255u : 0xFF0000u);
        },
        [&] { box.setSelAlignment(int(rng() % 4)); },
        [&] { box.setSelBullet(on); },
        [&] { box.setSelText(randomText(rng)); },
        [&] { QTest::keyClicks(&box, on ? "x" : "y z"); },
        [&] { QTest::keyClick(&box, on ? Qt::Key_Backspace : Qt::Key_Delete); },
        [&] { QTest::keyClick(&box, Qt::Key_Return); },
        [&] { box.Undo(); },
        [&] { box.redo(); },
        [&] {
            QTextImageFormat picture;
            picture.setName(QStringLiteral("picture"));
            c.insertImage(picture);
        },
        [&] { // a copy of some other part of the note, formatting and all
            QTextCursor from(&doc);
            const int length = doc.characterCount() - 1;
            from.setPosition(int(rng() % unsigned(length + 1)));
            from.setPosition(
                std::min(length, from.position() + int(rng() % 30)), QTextCursor::KeepAnchor);
            c.insertFragment(from.selection());
        },
        [&] {
            c.insertFragment(QTextDocumentFragment::fromHtml(
                QStringLiteral("<p align=center><b>bold</b> <i>it</i></p><ul><li>item</li></ul>")));
        },
        [&] {
            QTextListFormat f;
            f.setStyle(on ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal);
            c.createList(f);
        },
        [&] { // a list changes its style, and with it whether it counts as bullets
            if (QTextList* list = c.currentList()) {
                QTextListFormat f = list->format();
                f.setStyle(f.style() == QTextListFormat::ListDisc ? QTextListFormat::ListDecimal
                                                                  : QTextListFormat::ListDisc);
                list->setFormat(f);
            }
        },
        [&] { c.insertBlock(); },
    };
    edits[rng() % std::size(edits)]();
}

TEST(SelectionIndex, AnswersMatchAWalkAfterRandomEdits)
{
    for (unsigned seed : { 1u, 2u, 3u, 4u }) {
        std::mt19937 rng(seed);
        RichTextBox box;
        box.setText(QStringLiteral("The quick brown fox\njumps over\nthe lazy dog."));
        for (int step = 0; step < 300; ++step) {
            randomEdit(box, rng);
            if (step % 97 == 96)
                box.setText(box.Text()); // start over with plain text now and then
            for (int q = 0; q < 4; ++q) {
                if (q > 0)
                    randomSelection(box, rng);
                ASSERT_EQ(answersOf(box), answersByWalking(box))
                    << "seed " << seed << " step " << step << " selection " << box.SelStart() << "+"
                    << box.SelLength() << " of " << box.Text().size();
            }
        }
    }
}

TEST(SelectionIndex, FollowsADocumentThatIsClearedAndRefilled)
{
    QTextDocument doc;
    FormatIndex index;
    index.setDocument(&doc);
    QTextCursor c(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("bold"), bold);
    doc.clear(); // the format table starts again: its numbers mean other formats now
    QTextCursor fresh(&doc);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    fresh.insertText(QStringLiteral("plain "));
    fresh.insertText(QStringLiteral("italic"), italic);
    ASSERT_TRUE(index.consistent());
    const RangeFacts facts = index.facts(0, 12);
    EXPECT_EQ(styleState(facts.chars, CharFacts::Bold), false);
    EXPECT_EQ(styleState(facts.chars, CharFacts::Italic), std::nullopt);
}

} // namespace
} // namespace penwick::test
