// SPDX-License-Identifier: GPL-2.0-or-later
// The selection's formatting is answered from per-paragraph summaries; these tests hold those
// answers against plain walks over the characters after long runs of random edits.
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

// Everything the editor reports about a selection, as one comparable, printable value.
using Answers = std::tuple<TriState, TriState, TriState, TriState, std::optional<float>,
    std::optional<std::string>, std::optional<OleColor>, std::optional<int>, TriState>;

Answers answersOf(const RichTextBox& box)
{
    return { box.SelBold(), box.SelItalic(), box.SelUnderline(), box.SelStrikeThru(),
        box.SelFontSize(),
        box.SelFontName() ? std::optional(box.SelFontName()->toStdString()) : std::nullopt,
        box.SelColor(), box.SelAlignment(), box.SelBullet() };
}

// The one value all of `values` hold, or none.
template <typename T> std::optional<T> single(const std::vector<T>& values)
{
    const bool same = std::equal(values.begin() + 1, values.end(), values.begin());
    return same ? std::optional(values.front()) : std::nullopt;
}

// The answers by looking at every selected character and paragraph on its own.
Answers answersByWalking(const RichTextBox& box)
{
    QTextDocument& doc = *box.document();
    const int from = box.SelStart(), to = from + box.SelLength();
    std::vector<QTextCharFormat> formats;
    QTextCursor c(&doc);
    for (int p = from; p < to; ++p) {
        c.setPosition(p + 1);
        if (doc.characterAt(p) != QChar::ParagraphSeparator && !c.charFormat().isImageFormat())
            formats.push_back(c.charFormat());
    }
    if (formats.empty()) {
        c = box.textCursor();
        if (c.hasSelection())
            c.setPosition(from);
        formats.push_back(c.charFormat());
    }
    const QFont base = doc.defaultFont();
    std::vector<bool> bold, italic, underline, strike, bullet;
    std::vector<float> size;
    std::vector<std::string> family;
    std::vector<OleColor> color;
    std::vector<int> alignment;
    for (const QTextCharFormat& f : formats) {
        bold.push_back(f.fontWeight() > QFont::Medium);
        italic.push_back(f.fontItalic());
        // Any underline style counts, dotted and wavy ones too.
        underline.push_back(f.hasProperty(QTextFormat::TextUnderlineStyle)
                ? f.underlineStyle() != QTextCharFormat::NoUnderline
                : f.boolProperty(QTextFormat::FontUnderline));
        strike.push_back(f.fontStrikeOut());
        size.push_back(f.fontPointSize() > 0 ? float(f.fontPointSize()) : float(base.pointSizeF()));
        family.push_back(f.fontFamilies().toStringList().value(0, base.family()).toStdString());
        color.push_back(f.foreground().style() == Qt::NoBrush ? SystemWindowText
                                                              : colorToOle(f.foreground().color()));
    }
    const QTextBlock last = doc.findBlock(std::max(from, to - 1));
    for (QTextBlock b = doc.findBlock(from); b.isValid(); b = b.next()) {
        const Qt::Alignment a = b.blockFormat().alignment();
        alignment.push_back(a & Qt::AlignJustify ? 3
                : a & Qt::AlignHCenter           ? 2
                : a & Qt::AlignRight             ? 1
                                                 : 0);
        const auto style
            = b.textList() ? b.textList()->format().style() : QTextListFormat::ListStyleUndefined;
        bullet.push_back(style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
            || style == QTextListFormat::ListSquare);
        if (b == last)
            break;
    }
    return { single(bold), single(italic), single(underline), single(strike), single(size),
        single(family), single(color), single(alignment), single(bullet) };
}

void randomSelection(RichTextBox& box, std::mt19937& rng)
{
    const int length = int(box.Text().size());
    box.setSelStart(int(rng() % unsigned(length + 1)));
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
                    << "seed " << seed << " step " << step;
            }
        }
    }
}

} // namespace
} // namespace penwick::test
