// SPDX-License-Identifier: GPL-2.0-or-later
// The cost of keeping the toolbar and the menus in step with the selection on a 10 MB note with
// mixed formatting: the selection-change handler alone after a caret move, after select-all and
// while a whole-note selection is being extended, and a whole Shift+arrow key press for scale.
#include "app/environment.h"
#include "platform/richtextbox.h"
#include "qtmain.h"
#include "shell/frmnotes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using penwick::frmNotes;
using penwick::RichTextBox;

// A quick run only checks that the benchmark starts and ends cleanly.
const int noteSize = penwick::bench::smokeRun() ? 64 * 1024 : 10 * 1024 * 1024;

// Prose in paragraphs of about 600 characters; words in every mix of bold, italic and underline,
// paragraphs in all three alignments, every seventh paragraph bulleted.
void fillNote(RichTextBox& editor)
{
    static const char* words[] = { "note", "penwick", "morning", "remember", "the", "milk",
        "meeting", "with", "garden", "letters", "and", "quietly", "window", "tray", "rich" };
    QRandomGenerator rng(7);
    QTextCursor c(editor.document());
    std::vector<int> bulleted;
    int length = 0;
    int paragraph = 0;
    c.beginEditBlock();
    while (length < noteSize) {
        QTextBlockFormat block;
        block.setAlignment(paragraph % 5 == 1 ? Qt::AlignHCenter
                : paragraph % 5 == 3          ? Qt::AlignRight
                                              : Qt::AlignLeft);
        if (paragraph > 0)
            c.insertBlock(block);
        else
            c.setBlockFormat(block);
        if (paragraph % 7 == 3)
            bulleted.push_back(c.position());
        for (int w = 0; w < 90; ++w) {
            const QString word = QString::fromLatin1(words[rng.bounded(int(std::size(words)))]);
            const quint32 style = rng.bounded(16u);
            QTextCharFormat format;
            format.setFontWeight(style & 1 ? QFont::Bold : QFont::Normal);
            format.setFontItalic(style & 2);
            format.setFontUnderline(style & 4);
            c.insertText(word, format);
            c.insertText(QStringLiteral(" "), QTextCharFormat());
            length += int(word.size()) + 1;
        }
        ++length;
        ++paragraph;
    }
    c.endEditBlock();
    // Bullets through the editor, as the bullet command makes them.
    for (const int at : bulleted) {
        editor.setSelStart(at);
        editor.setSelLength(1);
        editor.setSelBullet(true);
    }
}

struct Fixture
{
    Fixture()
        : window(std::make_unique<frmNotes>(penwick::Environment {}))
    {
        fillNote(*window->rtfNotes);
        window->show();
        length = int(window->rtfNotes->Text().size());
        // The note must be mixed throughout, or the figures would flatter the sync.
        select(0, length);
        const RichTextBox& e = *window->rtfNotes;
        if (e.SelBold() || e.SelItalic() || e.SelUnderline() || e.SelBullet() || e.SelAlignment()
            || length < noteSize) {
            qFatal("the benchmark note is not a mixed 10 MB note");
        }
    }
    void select(int start, int selLength) const
    {
        window->rtfNotes->setSelStart(start);
        window->rtfNotes->setSelLength(selLength);
    }
    void key(int key, Qt::KeyboardModifiers modifiers) const
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(window->rtfNotes, &press);
        QApplication::sendEvent(window->rtfNotes, &release);
    }
    std::unique_ptr<frmNotes> window;
    int length = 0;
};

std::unique_ptr<Fixture> theFixture; // made on first use

Fixture& fixture()
{
    if (!theFixture) {
        theFixture = std::make_unique<Fixture>();
        // Its window must go while the application still exists.
        penwick::bench::releaseBeforeExit([] { theFixture.reset(); });
    }
    return *theFixture;
}

// Every handler run below follows a fresh selection, so nothing read for the last one helps.
void BM_SelChange_Caret(benchmark::State& state)
{
    Fixture& f = fixture();
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.select(f.length / 2 + (++step % 1000) * 97, 0);
        state.ResumeTiming();
        f.window->rtfNotes_SelChange();
    }
    state.counters["chars"] = f.length;
}

void BM_SelChange_SelectAll(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.select(f.length / 3, 0);
        f.select(0, f.length);
        state.ResumeTiming();
        f.window->rtfNotes_SelChange();
    }
}

// A selection from the start of the note to its end, its end moving by one character.
void BM_SelChange_WholeNoteExtending(benchmark::State& state)
{
    Fixture& f = fixture();
    bool shorter = true;
    for (auto _ : state) {
        state.PauseTiming();
        f.select(0, shorter ? f.length - 1 : f.length);
        shorter = !shorter;
        state.ResumeTiming();
        f.window->rtfNotes_SelChange();
    }
}

// The whole key press: the editor moves the selection's end and raises the selection change.
void BM_ShiftArrowKey_WholeNote(benchmark::State& state)
{
    Fixture& f = fixture();
    f.select(0, f.length);
    bool left = true;
    for (auto _ : state) {
        f.key(left ? Qt::Key_Left : Qt::Key_Right, Qt::ShiftModifier);
        left = !left;
    }
}

void BM_ArrowKey_Caret(benchmark::State& state)
{
    Fixture& f = fixture();
    f.select(f.length / 2, 0);
    bool left = true;
    for (auto _ : state) {
        f.key(left ? Qt::Key_Left : Qt::Key_Right, Qt::NoModifier);
        left = !left;
    }
}

// For scale: asking the selection for its text, which the sync avoids by asking for its length.
void BM_SelText_WholeNote(benchmark::State& state)
{
    Fixture& f = fixture();
    f.select(0, f.length);
    for (auto _ : state)
        benchmark::DoNotOptimize(f.window->rtfNotes->SelText().isEmpty());
}

BENCHMARK(BM_SelChange_Caret)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelChange_SelectAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelChange_WholeNoteExtending)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShiftArrowKey_WholeNote)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrowKey_Caret)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelText_WholeNote)->Unit(benchmark::kMillisecond);

} // namespace
