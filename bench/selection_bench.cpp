// SPDX-License-Identifier: GPL-2.0-or-later
// The editor on a realistic 10 MB note: the reads the toolbar makes after every caret move (bullet,
// bold, italic, underline, alignment, empty selection) for caret moves, select-all and a
// selection stretched over the whole note; against them the plain walk the index spares; and the
// other whole-note operations of the editor (load, text, formatting, typing).
#include "platform/formatindex.h"
#include "platform/richtextbox.h"
#include "qtmain.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

using penwick::RichTextBox;

// A quick run only checks that the benchmark starts and ends cleanly.
const qsizetype TargetCharacters = penwick::bench::smokeRun() ? 50 * 1000 : 10 * 1000 * 1000;

// Prose paragraphs with a bold or italic run every few words, several fonts, sizes and colours,
// small groups of bulleted paragraphs and every alignment, as rich text.
QByteArray makeNote()
{
    static const char* words[] = { "the", "note", "keeps", "every", "line", "written", "while",
        "meeting", "notes", "caf\\'e9", "quickly", "gather", "around", "ideas", "for", "tomorrow",
        "and", "later", "review", "with", "colleagues", "project", "schedule", "budget", "draft",
        "plans", "of", "a", "small", "team" };
    constexpr unsigned wordCount = sizeof words / sizeof *words;
    std::uint32_t state = 7;
    const auto next = [&state](std::uint32_t n) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % n;
    };
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Calibri;}{\\f1\\fnil "
                     "Arial;}{\\f2\\froman Times New Roman;}{\\f3\\fnil\\fcharset2 Symbol;}}"
                     "{\\colortbl ;\\red192\\green57\\blue43;\\red42\\green127\\blue184;}"
                     "\\viewkind4\\uc1\\pard\\f0\\fs22 ";
    out.reserve(TargetCharacters + TargetCharacters / 3);
    qsizetype characters = 0;
    for (int paragraph = 1; characters < TargetCharacters; ++paragraph) {
        if (paragraph % 10 >= 7) {
            out += "\\pard{\\pntext\\f3\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf3\\pnindent0{\\pntxtb\\'"
                   "B7}}"
                   "\\fi-360\\li720 ";
        } else {
            static const char* aligns[]
                = { "\\pard\\ql ", "\\pard\\ql ", "\\pard\\qc ", "\\pard\\qr ", "\\pard\\qj " };
            out += aligns[next(5)];
        }
        const int length = 40 + int(next(80));
        for (int w = 0; w < length; ++w) {
            const char* word = words[next(wordCount)];
            const std::uint32_t roll = next(100);
            if (roll < 12) {
                out += "{\\b ";
                out += word;
                out += "}";
            } else if (roll < 20) {
                out += "{\\i ";
                out += word;
                out += "}";
            } else if (roll < 22) {
                out += "{\\ul\\cf1 ";
                out += word;
                out += "}";
            } else if (roll < 23) {
                out += "{\\f2\\fs28\\cf2 ";
                out += word;
                out += "}";
            } else {
                out += word;
            }
            out += ' ';
            characters += qsizetype(strlen(word)) + 1;
        }
        out += "\\par\r\n";
        ++characters;
    }
    out += "}";
    return out;
}

// Kept between benchmarks; each must go while the application still exists.
template <typename Widget> Widget& keptUntilExit(std::unique_ptr<Widget> (*make)())
{
    static std::unique_ptr<Widget> kept;
    if (!kept) {
        kept = make();
        penwick::bench::releaseBeforeExit([] { kept.reset(); });
    }
    return *kept;
}

// One note shared by the benchmarks, loaded once.
RichTextBox& note()
{
    return keptUntilExit<RichTextBox>([] {
        auto b = std::make_unique<RichTextBox>();
        b->resize(800, 600);
        b->setBulletIndent(250);
        b->setTextRTF(makeNote());
        // Shown and laid out to the end, as the note is a moment after it was loaded.
        b->show();
        QApplication::processEvents();
        b->document()->documentLayout()->documentSize();
        return b;
    });
}

int length(RichTextBox& box)
{
    return box.document()->characterCount() - 1;
}

// What the selection sync reads after every caret move.
void syncReads(RichTextBox& box);

// Times the reads alone: moving the caret costs the editor its own work (scrolling, layout).
void timeSyncReads(benchmark::State& state, RichTextBox& box)
{
    const auto start = std::chrono::steady_clock::now();
    syncReads(box);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

void syncReads(RichTextBox& box)
{
    int v = box.SelBullet().value_or(2);
    v += box.SelBold().value_or(2);
    v += box.SelItalic().value_or(2);
    v += box.SelUnderline().value_or(2);
    v += box.SelAlignment().value_or(9);
    v += box.SelLength() > 0;
    benchmark::DoNotOptimize(v);
}

void select(RichTextBox& box, int anchor, int position)
{
    QTextCursor c(box.document());
    c.setPosition(anchor);
    c.setPosition(position, QTextCursor::KeepAnchor);
    box.setTextCursor(c);
}

void BM_LoadFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("note.rtf"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(makeNote());
    }
    RichTextBox box;
    box.resize(800, 600);
    for (auto _ : state) {
        if (!box.LoadFile(path))
            state.SkipWithError("not loaded");
    }
    state.counters["MB"] = double(QFileInfo(path).size()) / 1e6;
    state.counters["blocks"] = box.document()->blockCount();
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SyncCaretMove(benchmark::State& state)
{
    RichTextBox& box = note();
    std::uint32_t at = 12345;
    for (auto _ : state) {
        at = (at * 1103515245u + 12345u) % std::uint32_t(length(box));
        select(box, int(at), int(at));
        timeSyncReads(state, box);
    }
}
BENCHMARK(BM_SyncCaretMove)->Unit(benchmark::kMicrosecond)->UseManualTime();

void BM_SyncSelectAll(benchmark::State& state)
{
    RichTextBox& box = note();
    const int end = length(box);
    int n = 0;
    for (auto _ : state) {
        // Two selections in turn, so that no answer is reused.
        select(box, 0, end - (n++ & 1));
        timeSyncReads(state, box);
    }
    state.counters["blocks"] = box.document()->blockCount();
}
BENCHMARK(BM_SyncSelectAll)->Unit(benchmark::kMicrosecond)->UseManualTime();

void BM_SyncShiftExtend(benchmark::State& state)
{
    // Shift+Down held from the start, or from the middle, over the whole note.
    RichTextBox& box = note();
    const int end = length(box);
    const int anchor = int(state.range(0)) * end / 100;
    int position = anchor;
    for (auto _ : state) {
        position += 1999;
        if (position > end)
            position = anchor + position % 1999;
        select(box, anchor, position);
        timeSyncReads(state, box);
    }
}
BENCHMARK(BM_SyncShiftExtend)->Arg(0)->Arg(50)->Unit(benchmark::kMicrosecond)->UseManualTime();

void BM_SyncAfterTyping(benchmark::State& state)
{
    // A character typed somewhere, then everything selected: the index takes in the change.
    RichTextBox& box = note();
    std::uint32_t at = 99;
    for (auto _ : state) {
        at = (at * 1103515245u + 12345u) % std::uint32_t(length(box));
        select(box, int(at), int(at));
        box.setSelText(QStringLiteral("x"));
        select(box, 0, length(box));
        syncReads(box);
    }
}
BENCHMARK(BM_SyncAfterTyping)->Unit(benchmark::kMillisecond);

QTextEdit& plainEditor()
{
    // The same note in a plain editor, without any index.
    return keptUntilExit<QTextEdit>([] {
        auto e = std::make_unique<QTextEdit>();
        e->resize(800, 600);
        e->setDocument(note().document()->clone(e.get()));
        e->show();
        QApplication::processEvents();
        e->document()->documentLayout()->documentSize();
        return e;
    });
}

void BM_TypingFloor(benchmark::State& state)
{
    QTextEdit* plain = &plainEditor();
    std::uint32_t at = 99;
    for (auto _ : state) {
        at = (at * 1103515245u + 12345u) % std::uint32_t(plain->document()->characterCount() - 1);
        QTextCursor c(plain->document());
        c.setPosition(int(at));
        c.insertText(QStringLiteral("x"));
    }
}
BENCHMARK(BM_TypingFloor)->Unit(benchmark::kMillisecond);

void BM_Typing(benchmark::State& state)
{
    RichTextBox& box = note();
    std::uint32_t at = 99;
    for (auto _ : state) {
        at = (at * 1103515245u + 12345u) % std::uint32_t(length(box));
        QTextCursor c(box.document());
        c.setPosition(int(at));
        c.insertText(QStringLiteral("x"));
    }
}
BENCHMARK(BM_Typing)->Unit(benchmark::kMillisecond);

void BM_PlainWalkOfEverything(benchmark::State& state)
{
    // What answering select-all would cost without the index.
    penwick::FormatIndex index;
    index.setDocument(note().document());
    const int end = length(note());
    for (auto _ : state)
        benchmark::DoNotOptimize(index.factsByWalking(0, end));
}
BENCHMARK(BM_PlainWalkOfEverything)->Unit(benchmark::kMillisecond);

void BM_Text(benchmark::State& state)
{
    RichTextBox& box = note();
    for (auto _ : state)
        benchmark::DoNotOptimize(box.Text());
}
BENCHMARK(BM_Text)->Unit(benchmark::kMillisecond);

void BM_SelTextAll(benchmark::State& state)
{
    RichTextBox& box = note();
    select(box, 0, length(box));
    for (auto _ : state)
        benchmark::DoNotOptimize(box.SelText());
}
BENCHMARK(BM_SelTextAll)->Unit(benchmark::kMillisecond);

void BM_SelTextParagraph(benchmark::State& state)
{
    RichTextBox& box = note();
    select(box, length(box) / 2, length(box) / 2 + 500);
    for (auto _ : state)
        benchmark::DoNotOptimize(box.SelText());
}
BENCHMARK(BM_SelTextParagraph)->Unit(benchmark::kMicrosecond);

template <typename Apply>
void timeAndUndo(benchmark::State& state, QTextEdit& editor, Apply apply, int steps)
{
    for (auto _ : state) {
        QTextCursor all(editor.document());
        all.select(QTextCursor::Document);
        editor.setTextCursor(all);
        const auto start = std::chrono::steady_clock::now();
        apply();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        for (int i = 0; i < steps; ++i)
            editor.undo();
        editor.document()->documentLayout()->documentSize();
    }
}

void BM_FormatEverything(benchmark::State& state)
{
    // Bold, or the four styles off as Normal does, on the whole note, then the reads that follow.
    RichTextBox& box = note();
    if (state.range(0) == 0) {
        timeAndUndo(
            state, box,
            [&] {
                box.setSelBold(true);
                syncReads(box);
            },
            1);
    } else {
        timeAndUndo(
            state, box,
            [&] {
                box.setSelItalic(false);
                box.setSelBold(false);
                box.setSelUnderline(false);
                box.setSelStrikeThru(false);
                syncReads(box);
            },
            4);
    }
}
BENCHMARK(BM_FormatEverything)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseManualTime();

void BM_FormatEverythingFloor(benchmark::State& state)
{
    // Bold on the whole note in the plain editor: the toolkit's own merge and relayout.
    QTextEdit& plain = plainEditor();
    timeAndUndo(
        state, plain,
        [&] {
            QTextCharFormat bold;
            bold.setFontWeight(QFont::Bold);
            plain.mergeCurrentCharFormat(bold);
        },
        1);
}
BENCHMARK(BM_FormatEverythingFloor)->Unit(benchmark::kMillisecond)->Iterations(2)->UseManualTime();

} // namespace
