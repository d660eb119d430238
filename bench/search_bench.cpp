// SPDX-License-Identifier: GPL-2.0-or-later
// Find Next and Replace All on a 10 MB note of formatted prose, shown and laid out: a match 9 MB
// after the caret, a word that is nowhere, and 10 000 matches replaced at once.
#include "platform/richtextbox.h"
#include "search/search.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace penwick;

constexpr int TargetCharacters = 10 * 1000 * 1000;
constexpr int Markers = 10000;

// Paragraphs of 40 to 120 words with a bold or italic word now and then; "marker" 10 000 times,
// evenly spread, and "zebra" once, 9 MB after the start.
QString makeNote()
{
    static const char* words[] = { "the", "note", "keeps", "every", "line", "written", "while",
        "meeting", "notes", "quickly", "gather", "around", "ideas", "for", "tomorrow", "and",
        "later", "review", "with", "colleagues", "project", "schedule", "budget", "draft" };
    constexpr unsigned wordCount = sizeof words / sizeof *words;
    std::uint32_t state = 7;
    const auto next = [&state](std::uint32_t n) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % n;
    };
    QString text;
    text.reserve(TargetCharacters + 1000);
    int markers = 0;
    bool zebra = false;
    while (text.size() < TargetCharacters) {
        const int length = 40 + int(next(80));
        for (int w = 0; w < length; ++w) {
            if (markers < Markers
                && text.size() >= qsizetype(markers) * TargetCharacters / Markers) {
                text += u"marker ";
                ++markers;
            }
            if (!zebra && text.size() >= 9 * 1000 * 1000) {
                text += u"zebra ";
                zebra = true;
            }
            text += QLatin1String(words[next(wordCount)]);
            text += u' ';
        }
        text += u'\n';
    }
    return text;
}

RichTextBox& note()
{
    static std::unique_ptr<RichTextBox> box = [] {
        auto b = std::make_unique<RichTextBox>();
        b->resize(800, 600);
        b->setText(makeNote());
        // Some formatting, so that paragraphs are made of several pieces.
        QTextCursor c(b->document());
        for (int at = 100; at < TargetCharacters; at += 997) {
            c.setPosition(at);
            c.setPosition(at + 5, QTextCursor::KeepAnchor);
            QTextCharFormat format;
            format.setFontWeight(at % 2 ? QFont::Bold : QFont::Normal);
            format.setFontItalic(at % 3 == 0);
            c.mergeCharFormat(format);
        }
        b->document()->clearUndoRedoStacks();
        b->show();
        QApplication::processEvents();
        b->document()->documentLayout()->documentSize();
        return b;
    }();
    return *box;
}

// Searches down from the start; `far` tells whether a match is expected 9 MB away.
void findFromStart(benchmark::State& state, const QString& word, bool far)
{
    RichTextBox& box = note();
    for (auto _ : state) {
        state.PauseTiming();
        box.setSelStart(0);
        QApplication::processEvents();
        state.ResumeTiming();
        const int found = findNext(box, word, {});
        if (far ? found < 9 * 1000 * 1000 : found != -1)
            state.SkipWithError("unexpected result");
    }
}

void BM_FindNext9MBAway(benchmark::State& state)
{
    findFromStart(state, QStringLiteral("zebra"), true);
}
void BM_FindNextNotFound(benchmark::State& state)
{
    findFromStart(state, QStringLiteral("quokka"), false);
}

void BM_ReplaceAll10000(benchmark::State& state)
{
    RichTextBox& box = note();
    for (auto _ : state) {
        const int count = replaceAll(box, QStringLiteral("marker"), QStringLiteral("signpost"), {});
        state.PauseTiming();
        if (count != Markers)
            state.SkipWithError("not every marker was replaced");
        // The text is laid out again between events, as after any large edit: 0 here.
        state.counters["laid out to the end"]
            = box.document()->lastBlock().layout()->lineCount() > 0 ? 1 : 0;
        QApplication::processEvents();
        box.Undo();
        box.document()->documentLayout()->documentSize();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_FindNext9MBAway)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_FindNextNotFound)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ReplaceAll10000)->Unit(benchmark::kMillisecond)->Iterations(3);
