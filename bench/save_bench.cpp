// SPDX-License-Identifier: GPL-2.0-or-later
// Saving a changed 10 MB note in the running program: an auto-save tick and File > Save, each
// timed by the longest turn of the event loop while it runs (what a key pressed meanwhile waits
// at most) and by the time until the file is written, beside a plain save that makes the rich
// text and writes the file in one piece.
#include "app/notestore.h"
#include "app/settingsstore.h"
#include "platform/clock.h"
#include "platform/commondialog.h"
#include "platform/prompter.h"
#include "platform/richtextbox.h"
#include "platform/rtf/rtf.h"
#include "platform/shell.h"
#include "shell/frmnotes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <benchmark/benchmark.h>

namespace {

using namespace penwick;

constexpr int noteUnits = 10 * 1024 * 1024;

// Prose in paragraphs, a bold or italic word every few words.
void fill(RichTextBox& editor, int units)
{
    static const char16_t* words[]
        = { u"note", u"Penwick", u"morning", u"remember", u"the", u"milk", u"o'neil-smith",
              u"garden", u"letters", u"and", u"quietly", u"window", u"caf\u00E9", u"rich" };
    editor.setText(QString());
    QTextCursor c(editor.document());
    QTextCharFormat plain, bold, italic;
    bold.setFontWeight(QFont::Bold);
    italic.setFontItalic(true);
    c.beginEditBlock();
    int length = 0, n = 0;
    while (length < units) {
        const QString word = QString::fromUtf16(words[n++ % std::size(words)]);
        c.insertText(word, n % 7 == 0 ? bold : n % 11 == 0 ? italic : plain);
        c.insertText(QStringLiteral(" "), plain);
        length += int(word.size()) + 1;
        if (n % 60 == 0) {
            c.insertBlock();
            ++length;
        }
    }
    c.endEditBlock();
    editor.document()->clearUndoRedoStacks();
}

// The running program in a folder of its own, with a 10 MB note.
struct Program
{
    Program()
    {
        Environment env;
        env.programFolder = dir.path() + QStringLiteral("/program");
        env.dataFolder = dir.path() + QStringLiteral("/data");
        env.lockFolder = dir.path();
        env.settings = std::make_shared<IniSettingsStore>(dir.filePath(QStringLiteral("s.ini")));
        env.prompter = std::make_shared<QtPrompter>();
        env.clock = std::make_shared<SystemClock>();
        env.shell = std::make_shared<DesktopShell>();
        env.dialogs = std::make_shared<QtCommonDialog>();
        QDir().mkpath(env.programFolder);
        notes = std::make_unique<frmNotes>(env);
        notes->Form_Load();
        notes->resize(800, 600);
        fill(*notes->rtfNotes, noteUnits);
        settle();
    }
    // Until the editor has laid the whole note out, so that its work is not counted as saving.
    void settle()
    {
        QTextDocument* doc = notes->rtfNotes->document();
        while (doc->lastBlock().layout()->lineCount() == 0)
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    QTemporaryDir dir;
    std::unique_ptr<frmNotes> notes;
};

// Left to the end of the process, which the application outlives.
Program& program()
{
    static Program* p = new Program;
    return *p;
}

// Runs `save` as the event loop would, then the loop until the file is written (the busy
// pointer goes), timing each turn.
template <typename Save> void savingTurns(benchmark::State& state, Save save)
{
    frmNotes& w = *program().notes;
    double longest = 0;
    double total = 0;
    for (auto _ : state) {
        QTextCursor(w.rtfNotes->document()).insertText(QStringLiteral("x")); // a change
        program().settle();
        QElapsedTimer all;
        all.start();
        QElapsedTimer turn;
        turn.start();
        save(w);
        double worst = turn.nsecsElapsed() / 1e6;
        while (QGuiApplication::overrideCursor()) {
            turn.start();
            QCoreApplication::processEvents();
            worst = std::max(worst, turn.nsecsElapsed() / 1e6);
        }
        longest = std::max(longest, worst);
        total = std::max(total, all.nsecsElapsed() / 1e6);
    }
    state.counters["longest_turn_ms"] = longest;
    state.counters["until_written_ms"] = total;
}

void BM_AutoSaveTick(benchmark::State& state)
{
    savingTurns(state, [](frmNotes& w) {
        w.Module.AutoSaveMinutes = 1;
        w.tmrAuto_Timer();
    });
}
BENCHMARK(BM_AutoSaveTick)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_FileSave(benchmark::State& state)
{
    savingTurns(state, [](frmNotes& w) { w.mnuSave_Click(); });
}
BENCHMARK(BM_FileSave)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// For scale: the rich text made and the file written in one piece, as one turn of the loop.
void BM_PlainSaveInOnePiece(benchmark::State& state)
{
    frmNotes& w = *program().notes;
    for (auto _ : state) {
        const QByteArray rtf = rtf::writeRtf(*w.rtfNotes->document());
        writeNote(w.notePath(), rtf);
    }
}
BENCHMARK(BM_PlainSaveInOnePiece)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
