// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/settingsstore.h"

#include "harness/testenv.h"

#include <QFile>
#include <gtest/gtest.h>

namespace penwick::test {
namespace {

TEST(SettingsStore, MissingKeysGiveTheDefaultAsText)
{
    TestEnvironment env;
    IniSettingsStore store(env.settingsFile());
    EXPECT_EQ(store.Read(QStringLiteral("Startup"), false), u"False");
    EXPECT_EQ(store.Read(QStringLiteral("Height"), 5610), u"5610");
    EXPECT_EQ(store.Read(QStringLiteral("AutoSaveText"), "10"), u"10");
}

TEST(SettingsStore, TextsRoundTripExactly)
{
    TestEnvironment env;
    const QString values[] = { QStringLiteral("True"), QStringLiteral("-2147483643"),
        QStringLiteral("a,b, c"), QStringLiteral("@odd"), QStringLiteral(" padded "),
        QStringLiteral("ünï😀"), QString(10 * 1024, u'x'), QString() };
    {
        IniSettingsStore store(env.settingsFile());
        int i = 0;
        for (const QString& v : values)
            EXPECT_TRUE(store.Write(QStringLiteral("Key %1").arg(i++), v));
    }
    IniSettingsStore reopened(env.settingsFile());
    int i = 0;
    for (const QString& v : values)
        EXPECT_EQ(reopened.Read(QStringLiteral("Key %1").arg(i++), "missing"), v);
    // Keys live in the [Penwick] section of the file, names as given.
    QFile file(env.settingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("[Penwick]"));
}

TEST(SettingsStore, HandEditedListsReadAsTheirText)
{
    TestEnvironment env;
    QFile file(env.settingsFile());
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Penwick]\nWidth=1,5\nGarbage=\xff\xfe\x00zz\n");
    file.close();
    IniSettingsStore store(env.settingsFile());
    EXPECT_EQ(store.Read(QStringLiteral("Width"), 6945), u"1,5");
    store.Read(QStringLiteral("Garbage"), "x"); // whatever it is, it is a text
}

} // namespace
} // namespace penwick::test
