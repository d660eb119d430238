// SPDX-License-Identifier: GPL-2.0-or-later
// The program's main window on a large note against a bare QTextEdit holding the same text:
// pasting 5 MB, selecting all of a 10 MB note (time and the memory it keeps) and typing into it.
// Every case runs the event loop until it is idle, so painting and, under X11, the offer of the
// primary selection are counted. Run it offscreen and under Xvfb with QT_QPA_PLATFORM=xcb.
#include "app/environment.h"
#include "platform/richtextbox.h"
#include "qtmain.h"
#include "shell/frmnotes.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>

namespace {

using penwick::frmNotes;
using penwick::RichTextBox;

int units(int megabytes)
{
    return penwick::bench::smokeRun() ? megabytes * 4096 : megabytes << 20;
}

// Prose in paragraphs of about 400 characters, a bold or italic word every few words.
std::unique_ptr<QTextDocument> makeNote(int length)
{
    static const char16_t* words[]
        = { u"note", u"Penwick", u"morning", u"remember", u"the", u"milk", u"meeting", u"garden",
              u"letters", u"and", u"quietly", u"window", u"caf\u00E9", u"rich", u"schedule" };
    auto note = std::make_unique<QTextDocument>();
    note->setUndoRedoEnabled(false);
    QTextCursor c(note.get());
    QTextCharFormat plain, bold, italic;
    bold.setFontWeight(QFont::Bold);
    italic.setFontItalic(true);
    c.beginEditBlock();
    for (int n = 1, written = 0; written < length; ++n) {
        const QString word = QString::fromUtf16(words[n % std::size(words)]);
        c.insertText(word, n % 7 == 0 ? bold : n % 11 == 0 ? italic : plain);
        c.insertText(QStringLiteral(" "), plain);
        written += int(word.size()) + 1;
        if (n % 60 == 0) {
            c.insertBlock();
            ++written;
        }
    }
    c.endEditBlock();
    return note;
}

QString plainNote(int length)
{
    QString text;
    text.reserve(length + 100);
    const QString line = QStringLiteral(
        "A line of pasted text, long enough to wrap once or twice in the window, with some words "
        "in it that could have come from a mail or a web page someone copied from.\n");
    while (text.size() < length)
        text += line;
    return text;
}

double residentMB()
{
    malloc_trim(0);
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

void send(QWidget* to, int key, Qt::KeyboardModifiers modifiers, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(to, &press);
    QApplication::sendEvent(to, &release);
}

// Runs the event loop until nothing is left to do now (painting included); returns the longest
// turn in milliseconds.
double idle()
{
    double longest = 0;
    QElapsedTimer turn;
    for (int quiet = 0; quiet < 3;) {
        turn.start();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        const double ms = turn.nsecsElapsed() / 1e6;
        longest = std::max(longest, ms);
        quiet = ms < 1 ? quiet + 1 : 0;
    }
    return longest;
}

// Runs the event loop until the whole text is laid out; returns the longest turn.
double laidOut(QTextEdit& editor)
{
    double longest = 0;
    QElapsedTimer turn;
    while (editor.document()->lastBlock().layout()->lineCount() == 0) {
        turn.start();
        QCoreApplication::processEvents();
        longest = std::max(longest, turn.nsecsElapsed() / 1e6);
    }
    return std::max(longest, idle());
}

// The program's window or a bare editor, shown 800 x 600 with the note laid out and in focus.
struct Editor
{
    explicit Editor(bool program, std::unique_ptr<QTextDocument> note)
    {
        if (program) {
            window = std::make_unique<frmNotes>(penwick::Environment {});
            window->rtfNotes->AdoptDocument(std::move(note));
            editor = window->rtfNotes;
        } else {
            bare = std::make_unique<QTextEdit>();
            note->setParent(bare.get());
            note->setUndoRedoEnabled(true);
            bare->setDocument(note.release());
            editor = bare.get();
        }
        QWidget* top = editor->window();
        top->resize(800, 600);
        top->show();
        QApplication::setActiveWindow(top);
        editor->setFocus();
        laidOut(*editor);
    }
    std::unique_ptr<frmNotes> window;
    std::unique_ptr<QTextEdit> bare;
    QTextEdit* editor = nullptr;
};

// Pastes 5 MB from the clipboard at the end of a small note: the time in Paste, the longest turn
// of the event loop until the pasted text is laid out, and the time until then.
void BM_Paste(benchmark::State& state)
{
    const bool program = state.range(0) != 0;
    const bool rich = state.range(1) != 0;
    const QString text = plainNote(units(5));
    QByteArray rtf;
    if (rich) {
        RichTextBox source;
        source.setText(text);
        rtf = source.TextRTF();
    }
    double longest = 0, settled = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Editor e(program, makeNote(4096));
        auto* mime = new QMimeData;
        if (rich)
            mime->setData(QStringLiteral("text/rtf"), rtf);
        mime->setText(text);
        QGuiApplication::clipboard()->setMimeData(mime);
        QTextCursor end(e.editor->document());
        end.movePosition(QTextCursor::End);
        e.editor->setTextCursor(end);
        idle();
        state.ResumeTiming();
        e.editor->paste();
        state.PauseTiming();
        QElapsedTimer clock;
        clock.start();
        longest = std::max(longest, laidOut(*e.editor));
        settled = std::max(settled, clock.nsecsElapsed() / 1e6);
        state.ResumeTiming();
    }
    state.counters["longest_turn_ms"] = longest;
    state.counters["laid_out_after_ms"] = settled;
}

Editor& tenMegabytes(bool program)
{
    static std::unique_ptr<Editor> kept[2];
    std::unique_ptr<Editor>& e = kept[program ? 1 : 0];
    if (!e) {
        e = std::make_unique<Editor>(program, makeNote(units(10)));
        penwick::bench::releaseBeforeExit([&e] { e.reset(); });
    }
    return *e;
}

// Ctrl+A and the event loop until idle; then a caret move, untimed. Memory is what the process
// holds after the last select-all against before the first.
void BM_SelectAll(benchmark::State& state)
{
    Editor& e = tenMegabytes(state.range(0) != 0);
    send(e.editor, Qt::Key_Home, Qt::ControlModifier);
    idle();
    const double before = residentMB();
    double longest = 0;
    for (auto _ : state) {
        send(e.editor, Qt::Key_A, Qt::ControlModifier);
        longest = std::max(longest, idle());
        state.PauseTiming();
        const double held = residentMB();
        state.counters["held_MB"] = held - before;
        send(e.editor, Qt::Key_Home, Qt::ControlModifier);
        idle();
        state.ResumeTiming();
    }
    state.counters["longest_turn_ms"] = longest;
}

// A character typed in the middle of the note and the event loop until idle (the paint of the
// changed line included).
void BM_Typing(benchmark::State& state)
{
    Editor& e = tenMegabytes(state.range(0) != 0);
    QTextCursor middle(e.editor->document());
    middle.setPosition(e.editor->document()->characterCount() / 2);
    e.editor->setTextCursor(middle);
    e.editor->ensureCursorVisible();
    idle();
    for (auto _ : state) {
        send(e.editor, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        idle();
    }
}

BENCHMARK(BM_Paste)
    ->ArgNames({ "program", "rtf" })
    ->Args({ 1, 0 })
    ->Args({ 0, 0 })
    ->Args({ 1, 1 })
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_SelectAll)
    ->ArgName("program")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_Typing)->ArgName("program")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
