// SPDX-License-Identifier: GPL-2.0-or-later
// The selection tools on large selections: each must stay linear, since a 10 MB selection has
// to be transformed and written back within a second.
#include "texttools/texttools.h"

#include <benchmark/benchmark.h>

namespace {

// Mixed prose: words, runs of spaces, line breaks, punctuation and some characters outside the
// basic plane, repeated to `units` UTF-16 units.
QString sample(qsizetype units)
{
    const QString piece
        = QString::fromUtf16(u"The quick brown fox   jumps over o'neil-smith's lazy dog.\r\n"
                             u"Caf\u00E9 \U0001F600 and \U00020000 (quoted) \"text\"  \t tabs\r\n");
    QString text;
    text.reserve(units + piece.size());
    while (text.size() < units)
        text += piece;
    text.truncate(units);
    if (text.back().isHighSurrogate())
        text.back() = u'x';
    return text;
}

template <typename Tool> void run(benchmark::State& state, Tool tool)
{
    const QString text = sample(state.range(0));
    for (auto _ : state) {
        QString result = tool(text);
        benchmark::DoNotOptimize(result.constData());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * qsizetype(sizeof(QChar)));
}

void BM_ReverseText(benchmark::State& state)
{
    run(state, [](const QString& t) { return penwick::ReverseText(t); });
}
void BM_RemoveExtraSpaces(benchmark::State& state)
{
    run(state, [](const QString& t) { return penwick::RemoveExtraSpaces(t); });
}
void BM_DelimitText(benchmark::State& state)
{
    run(state, [](const QString& t) { return penwick::DelimitText(t, QStringLiteral("-")); });
}
void BM_AlternateCaps(benchmark::State& state)
{
    run(state, [](const QString& t) { return penwick::AlternateCaps(t, false); });
}
void BM_Lowercase(benchmark::State& state)
{
    run(state, [](const QString& t) { return penwick::Lowercase(t); });
}
void BM_Uppercase(benchmark::State& state)
{
    run(state, [](const QString& t) { return penwick::Uppercase(t); });
}
void BM_TitleCase(benchmark::State& state)
{
    run(state, [](const QString& t) { return penwick::TitleCase(t); });
}
void BM_TrueProperCase(benchmark::State& state)
{
    run(state, [](const QString& t) { return penwick::TrueProperCase(t); });
}

// 1 MB and 10 MB of text as the editor would hand it over: one UTF-16 unit per byte of a
// mostly Latin note.
#define PENWICK_SIZES ->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_ReverseText) PENWICK_SIZES;
BENCHMARK(BM_RemoveExtraSpaces) PENWICK_SIZES;
BENCHMARK(BM_DelimitText) PENWICK_SIZES;
BENCHMARK(BM_AlternateCaps) PENWICK_SIZES;
BENCHMARK(BM_Lowercase) PENWICK_SIZES;
BENCHMARK(BM_Uppercase) PENWICK_SIZES;
BENCHMARK(BM_TitleCase) PENWICK_SIZES;
BENCHMARK(BM_TrueProperCase) PENWICK_SIZES;

} // namespace

BENCHMARK_MAIN();
