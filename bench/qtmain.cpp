// SPDX-License-Identifier: GPL-2.0-or-later
// The entry point of the benchmarks that need a widget application (offscreen unless a platform
// is named).
#include "qtmain.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <vector>

namespace penwick::bench {
namespace {

std::vector<std::function<void()>>& releases()
{
    static std::vector<std::function<void()>> all;
    return all;
}

} // namespace

void releaseBeforeExit(std::function<void()> release)
{
    releases().push_back(std::move(release));
}

bool smokeRun()
{
    return !qEnvironmentVariableIsEmpty("PENWICK_BENCH_SMOKE");
}

} // namespace penwick::bench

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Last made, first gone.
    auto& all = penwick::bench::releases();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        (*it)();
    all.clear();
    return 0;
}
