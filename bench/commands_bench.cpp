// SPDX-License-Identifier: GPL-2.0-or-later
// The menu commands on a whole selected note of 1 MB and 10 MB, on the real editor: each text
// tool reads the selection, transforms it and writes the result back; Bold and Normal format it.
#include "commands/charformat.h"
#include "platform/richtextbox.h"
#include "texttools/selectiontools.h"
#include "texttools/texttools.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <benchmark/benchmark.h>

namespace {

using namespace penwick;

// Prose in paragraphs, a bold or italic word every few words, as a note grows.
void fill(RichTextBox& editor, int units, bool withBold)
{
    static const char16_t* words[] = { u"note", u"Penwick", u"morning", u"remember", u"the",
        u"milk", u"o'neil-smith", u"garden", u"letters", u"and", u"quietly", u"window",
        u"\U0001F600", u"caf\u00E9", u"rich" };
    editor.setText(QString());
    QTextCursor c(editor.document());
    QTextCharFormat plain, bold, italic;
    bold.setFontWeight(QFont::Bold);
    italic.setFontItalic(true);
    c.beginEditBlock();
    int length = 0, n = 0;
    while (length < units) {
        const QString word = QString::fromUtf16(words[n++ % std::size(words)]);
        c.insertText(word, withBold && n % 7 == 0 ? bold : n % 11 == 0 ? italic : plain);
        c.insertText(n % 40 == 0 ? QStringLiteral("   ") : QStringLiteral(" "), plain);
        length += int(word.size()) + 1;
        if (n % 60 == 0) {
            c.insertBlock();
            ++length;
        }
    }
    c.endEditBlock();
    editor.document()->clearUndoRedoStacks();
}

// Runs the event loop until the whole text is laid out again, and returns the longest time one
// turn of the loop took: what a key pressed meanwhile would wait at most.
double settle(RichTextBox& editor)
{
    double longest = 0;
    QElapsedTimer turn;
    // The last paragraph is laid out last.
    while (editor.document()->lastBlock().layout()->lineCount() == 0) {
        turn.start();
        QCoreApplication::processEvents();
        longest = std::max(longest, turn.nsecsElapsed() / 1e6);
    }
    QCoreApplication::processEvents();
    return longest;
}

void nothing(RichTextBox&)
{ }

// `command` is timed; `before` runs first, untimed, and its layout is let finish.
template <typename Command, typename Before = decltype(&nothing)>
void onWholeNote(
    benchmark::State& state, Command command, bool withBold = true, Before before = &nothing)
{
    // Shown, as in the program, with the whole note selected and the caret at its end in view.
    RichTextBox editor;
    editor.resize(800, 600);
    editor.show();
    double longestTurn = 0;
    double settling = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fill(editor, int(state.range(0)), withBold);
        editor.setSelStart(0);
        editor.setSelLength(int(editor.document()->characterCount()));
        QCoreApplication::processEvents(); // let the layout of the new text settle
        before(editor);
        settle(editor);
        state.ResumeTiming();
        command(editor);
        state.PauseTiming();
        QElapsedTimer clock;
        clock.start();
        longestTurn = std::max(longestTurn, settle(editor));
        settling = std::max(settling, clock.nsecsElapsed() / 1e6);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.counters["longest_turn_ms"] = longestTurn;
    state.counters["laid_out_after_ms"] = settling;
}

#define TOOL(name, routine)                                                                        \
    void BM_##name(benchmark::State& state)                                                        \
    {                                                                                              \
        onWholeNote(state, [](RichTextBox& e) { transformSelection(e, routine); });                \
    }
TOOL(Lowercase, Lowercase)
TOOL(Uppercase, Uppercase)
TOOL(TitleCase, TitleCase)
TOOL(TrueProperCase, TrueProperCase)
TOOL(ReverseText, ReverseText)
TOOL(RemoveExtraSpaces, RemoveExtraSpaces)
void BM_AlternateCaps(benchmark::State& state)
{
    onWholeNote(state, [](RichTextBox& e) {
        transformSelection(e, [](const QString& t) { return AlternateCaps(t, false); });
    });
}
void BM_DelimitText(benchmark::State& state)
{
    onWholeNote(state, [](RichTextBox& e) {
        transformSelection(e, [](const QString& t) { return DelimitText(t, QStringLiteral("-")); });
    });
}
void BM_Bold(benchmark::State& state)
{
    // Not a bold word in it, so that Bold formats the whole selection.
    onWholeNote(
        state, [](RichTextBox& e) { charformat::toggle(e, charformat::Style::Bold); }, false);
}
void BM_Normal(benchmark::State& state)
{
    onWholeNote(state, [](RichTextBox& e) { charformat::normal(e); });
}

void BM_UndoBold(benchmark::State& state)
{
    onWholeNote(
        state, [](RichTextBox& e) { e.Undo(); }, false,
        [](RichTextBox& e) { charformat::toggle(e, charformat::Style::Bold); });
}

#define SIZES ->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->Iterations(3)
BENCHMARK(BM_Lowercase) SIZES;
BENCHMARK(BM_Uppercase) SIZES;
BENCHMARK(BM_TitleCase) SIZES;
BENCHMARK(BM_TrueProperCase) SIZES;
BENCHMARK(BM_AlternateCaps) SIZES;
BENCHMARK(BM_ReverseText) SIZES;
BENCHMARK(BM_DelimitText) SIZES;
BENCHMARK(BM_RemoveExtraSpaces) SIZES;
BENCHMARK(BM_Bold) SIZES;
BENCHMARK(BM_Normal) SIZES;
BENCHMARK(BM_UndoBold) SIZES;

} // namespace
