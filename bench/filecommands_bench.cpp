// SPDX-License-Identifier: GPL-2.0-or-later
// Inserting a 10 MB rich-text file at the selection against loading the same file as the note,
// and exporting the note as rich text against the note's own save, on the real editor.
#include "app/notestore.h"
#include "commands/filecommands.h"
#include "platform/commondialog.h"
#include "platform/prompter.h"
#include "platform/richtextbox.h"
#include "platform/rtf/rtf.h"
#include "startup/notegen.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

using namespace penwick;

// Every file dialog chooses `path`; nothing else is ever shown.
class ChoosePath final : public CommonDialog
{
public:
    QString path;
    DialogResult ShowOpen(CommonDialogValues& d, QWidget*) override { return choose(d); }
    DialogResult ShowSave(CommonDialogValues& d, QWidget*) override { return choose(d); }
    DialogResult ShowColor(CommonDialogValues&, QWidget*) override { return failed(); }
    DialogResult ShowFont(CommonDialogValues&, QWidget*) override { return failed(); }
    DialogResult ShowPrinter(CommonDialogValues&, QWidget*) override { return failed(); }

private:
    DialogResult choose(CommonDialogValues& d)
    {
        d.FileName = path;
        return DialogResult::Ok;
    }
    static DialogResult failed()
    {
        std::abort();
        return DialogResult::Failed;
    }
};

// A message means the command failed: the figures would be meaningless.
class NoMessages final : public Prompter
{
public:
    MsgResult MsgBox(QWidget*, const QString& prompt, MsgIcon, MsgButtons, const QString&) override
    {
        qFatal("%s", qPrintable(prompt));
    }
    QString InputBox(QWidget*, const QString&, const QString&, const QString&) override
    {
        std::abort();
    }
};

struct Fixture
{
    QTemporaryDir dir;
    QString file;
    Fixture()
    {
        // About 10 MB of rich text: prose with a bold or italic word every few words.
        QTextDocument doc;
        generateNote(doc, 8'300'000);
        file = dir.filePath(QStringLiteral("note.rtf"));
        QFile f(file);
        const QByteArray rtf = rtf::writeRtf(doc);
        if (!f.open(QIODevice::WriteOnly) || f.write(rtf) != rtf.size())
            std::abort();
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

// The note as the program shows it.
struct Shown
{
    RichTextBox note;
    Shown()
    {
        note.resize(800, 600);
        note.show();
        QCoreApplication::processEvents();
    }
};

void BM_LoadAsNote(benchmark::State& state)
{
    Shown w;
    for (auto _ : state) {
        state.PauseTiming();
        w.note.setText(QString());
        QCoreApplication::processEvents();
        state.ResumeTiming();
        if (!w.note.LoadFile(fixture().file))
            std::abort();
    }
    state.counters["MB"] = double(QFileInfo(fixture().file).size()) / 1e6;
}
BENCHMARK(BM_LoadAsNote)->Unit(benchmark::kMillisecond)->MinTime(5);

void BM_InsertRichTextFile(benchmark::State& state)
{
    Shown w;
    ChoosePath dialogs;
    dialogs.path = fixture().file;
    NoMessages prompter;
    CommonDialogValues values;
    for (auto _ : state) {
        state.PauseTiming();
        w.note.setText(QStringLiteral("before after"));
        w.note.setSelStart(7);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        filecommands::insertFile(
            filecommands::InsertKind::RichText, w.note, values, dialogs, prompter, nullptr);
    }
}
BENCHMARK(BM_InsertRichTextFile)->Unit(benchmark::kMillisecond)->MinTime(5);

void BM_SaveNote(benchmark::State& state)
{
    Shown w;
    if (!w.note.LoadFile(fixture().file))
        std::abort();
    const QString path = fixture().dir.filePath(QStringLiteral("data.nbx"));
    for (auto _ : state) {
        if (!saveNote(w.note, path))
            std::abort();
    }
}
BENCHMARK(BM_SaveNote)->Unit(benchmark::kMillisecond)->MinTime(5);

void BM_ExportRichText(benchmark::State& state)
{
    Shown w;
    if (!w.note.LoadFile(fixture().file))
        std::abort();
    ChoosePath dialogs;
    dialogs.path = fixture().dir.filePath(QStringLiteral("export.rtf"));
    NoMessages prompter;
    CommonDialogValues values;
    for (auto _ : state)
        filecommands::exportNote(
            filecommands::ExportKind::RichText, w.note, values, dialogs, prompter, nullptr);
}
BENCHMARK(BM_ExportRichText)->Unit(benchmark::kMillisecond)->MinTime(5);

} // namespace
