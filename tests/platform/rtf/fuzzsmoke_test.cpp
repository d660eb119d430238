// SPDX-License-Identifier: GPL-2.0-or-later
// The fuzz target's entry point over its seed corpus and the seeds cut short, so that every
// normal build runs what the fuzzer runs (the fuzzer itself mutates them in CI).
#include "harness/testenv.h"

#include <QDir>
#include <gtest/gtest.h>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

TEST(FuzzSmoke, SeedsAndTruncations)
{
    int seeds = 0;
    for (const QString& dir :
        { QStringLiteral(PENWICK_FUZZ_CORPUS), QStringLiteral(PENWICK_RTF_FIXTURES) }) {
        const QDir d(dir);
        for (const QString& name : d.entryList({ QStringLiteral("*.rtf") }, QDir::Files)) {
            const QByteArray seed = penwick::test::readFile(d.filePath(name));
            ASSERT_FALSE(seed.isEmpty()) << name.toStdString();
            ++seeds;
            for (int i = 1; i <= 8; ++i) { // the last is the seed itself
                const QByteArray input = seed.left(seed.size() * i / 8);
                EXPECT_EQ(
                    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()),
                        std::size_t(input.size())),
                    0);
            }
        }
    }
    EXPECT_GE(seeds, 8);
}

} // namespace
