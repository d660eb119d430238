// SPDX-License-Identifier: GPL-2.0-or-later
// The rich-text codec on a realistic 10 MB note: reading against the floor of inserting the same
// content through QTextCursor, the tokenizer alone, writing against a bare walk of the document,
// and the memory a load takes.
#include "platform/pictures.h"
#include "platform/rtf/rtf.h"
#include "platform/rtf/tokenizer.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <benchmark/benchmark.h>

#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr qsizetype TargetSize = 10 * 1000 * 1000;

// Deterministic words, runs, fonts, sizes, colours and bullets, in the way WordPad writes them.
QByteArray makeNote(int pictures)
{
    static const char* words[] = { "the", "note", "keeps", "every", "line", "written", "while",
        "meeting", "notes", "caf\\'e9", "quickly", "gather", "around", "ideas", "for", "tomorrow",
        "and", "later", "review", "with", "colleagues", "project", "schedule", "budget", "draft",
        "na\\'efve", "r\\'e9sum\\'e9", "\\u8364?", "plans", "of", "a", "small", "team" };
    constexpr int wordCount = int(sizeof words / sizeof *words);
    std::uint32_t state = 2024;
    const auto next = [&state](std::uint32_t n) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % n;
    };
    QByteArray out
        = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset0 "
          "Calibri;}{\\f1\\fnil\\fcharset0 Arial;}{\\f2\\froman\\fcharset0 Times New "
          "Roman;}{\\f3\\fnil\\fcharset2 Symbol;}}\r\n{\\colortbl ;\\red192\\green57\\blue43;"
          "\\red42\\green127\\blue184;\\red39\\green174\\blue96;}\r\n"
          "\\viewkind4\\uc1\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 ";
    out.reserve(TargetSize + (1 << 20));
    QByteArray picture;
    if (pictures > 0) {
        QImage image(240, 160, QImage::Format_RGB32);
        QPainter p(&image);
        p.fillRect(image.rect(), QColor(42, 127, 184));
        p.setPen(Qt::white);
        p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("chart"));
        p.end();
        QBuffer b(&picture);
        b.open(QIODevice::WriteOnly);
        image.save(&b, "PNG");
    }
    const qsizetype pictureEvery = pictures > 0 ? TargetSize / pictures : 0;
    qsizetype nextPicture = pictureEvery / 2;
    int paragraph = 0;
    while (out.size() < TargetSize) {
        ++paragraph;
        if (paragraph % 9 == 0) {
            out += "\\pard{\\pntext\\f3\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf3\\pnindent0{\\pntxtb\\'"
                   "B7}}"
                   "\\fi-360\\li720\\sa200\\sl276\\slmult1 ";
        } else if (paragraph % 9 == 3) {
            out += "\\pard\\sa200\\sl276\\slmult1 ";
        }
        const int length = 40 + int(next(80));
        for (int w = 0; w < length; ++w) {
            const std::uint32_t roll = next(100);
            const char* word = words[next(wordCount)];
            if (roll < 8) {
                out += "\\b ";
                out += word;
                out += "\\b0 ";
            } else if (roll < 14) {
                out += "\\i ";
                out += word;
                out += "\\i0 ";
            } else if (roll < 16) {
                out += "{\\cf";
                out += char('1' + next(3));
                out += ' ';
                out += word;
                out += '}';
            } else if (roll < 17) {
                out += "{\\f1\\fs28 ";
                out += word;
                out += '}';
            } else {
                out += word;
            }
            out += w + 1 < length ? " " : ".";
        }
        if (pictures > 0 && out.size() >= nextPicture) {
            out += " {\\pict\\pngblip\\picw240\\pich160\\picwgoal3600\\pichgoal2400\r\n";
            out += picture.toHex();
            out += "}";
            nextPicture += pictureEvery;
        }
        out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}

const QByteArray& note(int pictures)
{
    static const QByteArray plain = makeNote(0);
    static const QByteArray withPictures = makeNote(20);
    return pictures ? withPictures : plain;
}

// The content of a read document, as the floor inserts it.
struct Paragraph
{
    QTextBlockFormat format;
    QTextCharFormat mark;
    std::optional<QTextListFormat> list;
    std::vector<std::pair<QString, QTextCharFormat>> runs;
};

std::vector<Paragraph> contentOf(const QTextDocument& doc)
{
    std::vector<Paragraph> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        Paragraph p;
        p.format = b.blockFormat();
        p.format.setObjectIndex(-1);
        p.mark = b.charFormat();
        if (b.textList())
            p.list = b.textList()->format();
        for (auto it = b.begin(); !it.atEnd(); ++it)
            p.runs.emplace_back(it.fragment().text(), it.fragment().charFormat());
        out.push_back(std::move(p));
    }
    return out;
}

// Inserting the same paragraphs and runs directly, in one edit block, undo off as readRtf has it.
void insertFloor(
    QTextDocument& doc, const std::vector<Paragraph>& content, const QTextDocument& source)
{
    doc.setUndoRedoEnabled(false);
    // Pictures come decoded already: the floor pays only for inserting them.
    for (const Paragraph& p : content)
        for (const auto& [text, format] : p.runs)
            if (format.isImageFormat()) {
                const QUrl url(format.toImageFormat().name());
                doc.addResource(QTextDocument::ImageResource, url,
                    source.resource(QTextDocument::ImageResource, url));
            }
    QTextCursor c(&doc);
    c.beginEditBlock();
    QTextList* list = nullptr;
    bool first = true;
    for (const Paragraph& p : content) {
        QTextBlockFormat f = p.format;
        const bool joins = p.list && list && list->format() == *p.list;
        if (joins)
            f.setObjectIndex(list->objectIndex());
        if (first)
            c.setBlockFormat(f);
        else
            c.insertBlock(f, p.mark);
        first = false;
        if (p.list && !joins)
            list = c.createList(*p.list);
        else if (!p.list)
            list = nullptr;
        for (const auto& [text, format] : p.runs) {
            if (format.isImageFormat())
                c.insertImage(format.toImageFormat());
            else
                c.insertText(text, format);
        }
    }
    c.endEditBlock();
}

void BM_Read(benchmark::State& state)
{
    const QByteArray& data = note(int(state.range(0)));
    for (auto _ : state) {
        QTextDocument doc;
        penwick::rtf::readRtf(doc, data);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(BM_Read)->Arg(0)->Arg(20)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_ReadFloor(benchmark::State& state)
{
    const QByteArray& data = note(int(state.range(0)));
    QTextDocument source;
    penwick::rtf::readRtf(source, data);
    const auto content = contentOf(source);
    for (auto _ : state) {
        QTextDocument doc;
        insertFloor(doc, content, source);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(BM_ReadFloor)->Arg(0)->Arg(20)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_Tokenize(benchmark::State& state)
{
    const QByteArray& data = note(0);
    for (auto _ : state) {
        penwick::rtf::Tokenizer tok(data);
        qsizetype tokens = 0;
        while (tok.next().type != penwick::rtf::Token::End)
            ++tokens;
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(BM_Tokenize)->Unit(benchmark::kMillisecond);

void BM_Write(benchmark::State& state)
{
    QTextDocument doc;
    penwick::rtf::readRtf(doc, note(int(state.range(0))));
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray out = penwick::rtf::writeRtf(doc);
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["output_MB"] = double(size) / 1e6;
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_Write)->Arg(0)->Arg(20)->Unit(benchmark::kMillisecond)->MinTime(3);

// A bare walk over blocks and fragments that writes as many bytes as the writer: each
// fragment's text as Latin-1 behind a fixed control-word string, sized so that the totals match.
void BM_WriteFloor(benchmark::State& state)
{
    QTextDocument doc;
    penwick::rtf::readRtf(doc, note(0));
    const qsizetype target = penwick::rtf::writeRtf(doc).size();
    qsizetype textBytes = 0, fragments = 0, blocks = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next(), ++blocks)
        for (auto it = b.begin(); !it.atEnd(); ++it, ++fragments)
            textBytes += it.fragment().length();
    const QByteArray paragraphEnd = "\\par\r\n";
    const qsizetype pad = std::max<qsizetype>(
        0, (target - textBytes - blocks * paragraphEnd.size()) / std::max<qsizetype>(1, fragments));
    const QByteArray run = "\\" + QByteArray(std::max<qsizetype>(pad - 2, 0), 'b') + " ";
    qsizetype size = 0;
    for (auto _ : state) {
        QByteArray out;
        out.reserve(target + 1024);
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                out += run;
                out += it.fragment().text().toLatin1();
            }
            out += paragraphEnd;
        }
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["output_MB"] = double(size) / 1e6;
    state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_WriteFloor)->Unit(benchmark::kMillisecond)->MinTime(3);

long statusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(key.size()));
    return -1;
}

// Peak resident memory during a load, against what the loaded document keeps. Free heap is
// handed back first, so that the load cannot hide in pages an earlier benchmark left resident.
void BM_LoadMemory(benchmark::State& state)
{
    const QByteArray& data = note(int(state.range(0)));
    for (auto _ : state) {
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5"; // restart the peak count
        const long before = statusKb("VmRSS");
        auto doc = std::make_unique<QTextDocument>();
        penwick::rtf::readRtf(*doc, data);
        const long peak = statusKb("VmHWM");
        malloc_trim(0);
        const long after = statusKb("VmRSS");
        state.counters["doc_MB"] = double(after - before) / 1024.0;
        state.counters["peak_MB"] = double(peak - before) / 1024.0;
        state.counters["peak_over_doc"]
            = double(peak - before) / double(std::max(1L, after - before));
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadMemory)->Arg(0)->Arg(20)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Freed memory stays with the process, so that every timed run, reading or floor, starts from
    // the same warm heap instead of paying first-touch page faults in whichever run comes first.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
