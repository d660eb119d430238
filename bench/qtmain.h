// SPDX-License-Identifier: GPL-2.0-or-later
// What the shared benchmark entry point offers the benchmarks that use it.
#pragma once

#include <functional>

namespace penwick::bench {

// Runs `release` once the benchmarks are done, while the application still exists: widgets that a
// benchmark keeps between runs must go before it.
void releaseBeforeExit(std::function<void()> release);

// True when PENWICK_BENCH_SMOKE is set: the benchmarks then use small inputs, so that a quick run
// checks that they start and end cleanly.
bool smokeRun();

} // namespace penwick::bench
