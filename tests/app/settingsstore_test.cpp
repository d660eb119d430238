// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/settingsstore.h"

#include "harness/testenv.h"

#include <QFile>
#include <gtest/gtest.h>

namespace penwick::test {
namespace {

// Texts come back exactly as written, in the [Penwick] section; a missing key gives the default as
// text, and a hand-edited list (a value with commas) reads as its text.
TEST(SettingsStore, TextsRoundTripExactly)
{
    TestEnvironment env;
    const QString values[] = { QStringLiteral("True"), QStringLiteral("-2147483643"),
        QStringLiteral("a,b, c"), QStringLiteral("@odd"), QStringLiteral(" padded "),
        QStringLiteral("ünï😀"), QString(10 * 1024, u'x'), QString() };
    {
        IniSettingsStore store(env.settingsFile());
        for (const QString& v : values)
            EXPECT_TRUE(store.Write(QStringLiteral("Key %1").arg(&v - values), v));
    }
    QFile file(env.settingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    EXPECT_TRUE(file.readAll().startsWith("[Penwick]\n"));
    file.write("Width=1,5\nGarbage=\xff\xfe\x00zz\n");
    file.close();
    IniSettingsStore reopened(env.settingsFile());
    for (const QString& v : values)
        EXPECT_EQ(reopened.Read(QStringLiteral("Key %1").arg(&v - values), "missing"), v);
    EXPECT_EQ(reopened.Read(QStringLiteral("Width"), 6945), u"1,5");
    reopened.Read(QStringLiteral("Garbage"), "x"); // whatever it is, it is a text
    EXPECT_TRUE(reopened.Read(QStringLiteral("Startup"), false) == u"False"
        && reopened.Read(QStringLiteral("Height"), 5610) == u"5610");
}

} // namespace
} // namespace penwick::test
