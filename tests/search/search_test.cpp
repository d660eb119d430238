// SPDX-License-Identifier: GPL-2.0-or-later
#include "search/search.h"

#include <gtest/gtest.h>

namespace penwick::test {
namespace {

TEST(WholeWordSearch, Rules)
{
    const QString text = QStringLiteral("the other then The the.");
    const struct
    {
        QString text, needle;
        qsizetype from;
        SearchOptions options;
        qsizetype found;
    } cases[] = {
        { text, "the", 0, {}, 0 },
        { text, "the", 1, {}, 15 }, // not inside "other" or "then"; any case
        { text, "the", 1, { true, true, false }, 19 },
        { text, "the", 1, { false, false, false }, 5 },
        { text, "the", 23, { false, true, true }, 19 },
        { text, "the", 19, { false, true, true }, 15 },
        { text, "the", 2, { false, true, true }, -1 }, // up: only what ends before the start
        { text, "the.", 0, {}, 19 }, // an edge that is no letter may touch anything
        { text, " the", 0, { false, true, true }, -1 },
        { text, "THE", 20, {}, -1 },
        { "a_the 2the the", "the", 0, {}, 11 }, // digits and underscores make words
        { QStringLiteral("\U00020000the the"), "the", 0, {}, 6 }, // a letter beyond 16 bits
        { text, "", 0, {}, -1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (&c - cases) << ": " << c.needle.toStdString());
        EXPECT_EQ(findInText(c.text, c.needle, c.from, c.options), c.found);
    }
    EXPECT_TRUE(matchesAt(text, u"THE", 15, {}));
    EXPECT_FALSE(matchesAt(text, u"the", 5, {}));
    EXPECT_FALSE(matchesAt(text, u"THE", 15, { true, true, false }));
}

} // namespace
} // namespace penwick::test
