// SPDX-License-Identifier: GPL-2.0-or-later
// The fuzz target's entry point over its seed corpus and cheap, fixed mutations of it, so that
// every normal build runs what the fuzzer runs.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void run(const QByteArray& input)
{
    EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()),
                  std::size_t(input.size())),
        0);
}

QList<QByteArray> seeds()
{
    QList<QByteArray> out;
    for (const QString& dir :
        { QStringLiteral(PENWICK_FUZZ_CORPUS), QStringLiteral(PENWICK_RTF_FIXTURES) }) {
        const QDir d(dir);
        for (const QString& name : d.entryList({ QStringLiteral("*.rtf") }, QDir::Files)) {
            QFile f(d.filePath(name));
            if (f.open(QIODevice::ReadOnly))
                out.append(f.readAll());
        }
    }
    return out;
}

TEST(FuzzSmoke, SeedsTruncationsAndFlips)
{
    const QList<QByteArray> corpus = seeds();
    ASSERT_GE(corpus.size(), 8);
    std::uint32_t state = 12345;
    const auto random = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (const QByteArray& seed : corpus) {
        for (int i = 1; i <= 17; ++i) // the last is the seed itself
            run(seed.left(seed.size() * i / 17));
        for (int i = 0; i < 16; ++i) {
            QByteArray mutated = seed;
            for (int k = 0; k < 4; ++k) {
                const qsizetype at = qsizetype(random() % std::uint32_t(mutated.size()));
                const char bytes[] = { '{', '}', '\\', '\'', '0', '9', '-', char(0xFF), ' ' };
                mutated[at] = bytes[random() % sizeof bytes];
            }
            run(mutated);
        }
        QByteArray unbalanced = seed;
        unbalanced.replace('}', "");
        run(unbalanced);
    }
}

} // namespace
