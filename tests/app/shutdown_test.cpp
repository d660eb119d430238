// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/programtest.h"
#include "platform/atomicfile.h"
#include "platform/richtextbox.h"
#include "platform/rtf/rtf.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTest>
#include <QTimer>

namespace penwick::test {
namespace {

class ShutdownTest : public ProgramTest
{
protected:
    // The stored texts of `keys`, joined by blanks.
    QString stored(std::initializer_list<const char*> keys) const
    {
        QStringList texts;
        for (const char* key : keys)
            texts << env.stored(QLatin1String(key));
        return texts.join(u' ');
    }
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::vector<QString> keysOf(const std::vector<std::pair<QString, QString>>& writes)
{
    std::vector<QString> keys;
    for (const auto& w : writes)
        keys.push_back(w.first);
    return keys;
}

TEST_F(ShutdownTest, WritesTheNoteAndEveryOptionInOrder)
{
    frmNotes& w = start();
    w.rtfNotes->setText(QStringLiteral("Remember the milk 🥛"));
    closeWindow();

    EXPECT_FALSE(w.isVisible());
    const std::vector<QString> expected { "BG", "OnTop", "Startup", "Toolbar", "Flat Toolbar",
        "Word Wrap", "AutoSave", "AutoSaveText", "RememberSize", "RememberPos", "Width", "Height" };
    EXPECT_EQ(keysOf(env.settings->writes), expected);
    EXPECT_EQ(stored({ "BG", "OnTop", "Toolbar", "AutoSave", "AutoSaveText", "Width", "Height" }),
        u"-2147483643 False True 0 10 6945 5610");
    EXPECT_TRUE(env.stored("Left").isNull());

    frmNotes& again = restartWith();
    EXPECT_EQ(again.rtfNotes->Text(), u"Remember the milk 🥛");
}

TEST_F(ShutdownTest, GeometryIsThatOfTheNormalWindow)
{
    frmNotes& w = restartWith({ { "RememberPos", "True" }, { "Left", "1500" }, { "Top", "900" },
        { "Width", "7500" }, { "Height", "6000" } });
    ASSERT_EQ(w.windowWidth(), 7500.0);
    const QSize normal = w.size();
    w.showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(w.isMaximized());
    ASSERT_NE(w.size(), normal);
    closeWindow();
    const auto keys = keysOf(env.settings->writes);
    ASSERT_GE(keys.size(), 4u);
    EXPECT_EQ(std::vector<QString>(keys.end() - 4, keys.end()),
        (std::vector<QString> { "Width", "Height", "Left", "Top" }));
    EXPECT_EQ(stored({ "Width", "Height", "Left", "Top" }), u"7500 6000 1500 900");
}

TEST_F(ShutdownTest, WithoutRememberSizeTheStoredSizeIsLeftAlone)
{
    frmNotes& w = restartWith({ { "Width", "8000" } });
    w.mnuRememberSize_Click();
    EXPECT_FALSE(checked("mnuRememberSize"));
    closeWindow();
    EXPECT_EQ(env.stored("Width"), u"8000");
    EXPECT_EQ(env.stored("RememberSize"), u"False");
    for (const auto& [key, value] : env.settings->writes)
        EXPECT_NE(key, u"Width");
}

TEST_F(ShutdownTest, OptionTogglesFlipTheirMarkOnly)
{
    frmNotes& w = start();
    const struct
    {
        const char* item;
        void (frmNotes::*handler)();
        const char* key;
    } toggles[] = {
        { "mnuStartup", &frmNotes::mnuStartup_Click, "Startup" },
        { "mnuRememberPos", &frmNotes::mnuRememberPos_Click, "RememberPos" },
        { "mnuRememberSize", &frmNotes::mnuRememberSize_Click, "RememberSize" },
        { "mnuWrap", &frmNotes::mnuWrap_Click, "Word Wrap" },
    };
    for (const auto& t : toggles) {
        const bool before = checked(t.item);
        (w.*t.handler)();
        EXPECT_EQ(checked(t.item), !before) << t.item;
        // The menu runs the same handler: one click, one flip.
        item(t.item)->trigger();
        EXPECT_EQ(checked(t.item), before) << t.item;
        (w.*t.handler)();
    }
    EXPECT_EQ(w.rtfNotes->RightMargin(), 99999.f); // word wrap now off
    closeWindow();
    EXPECT_EQ(stored({ "Startup", "RememberPos", "RememberSize", "Word Wrap" }),
        u"True True False False");
}

TEST_F(ShutdownTest, DefaultsClearsTwoOptionsAndSetsTheDefaultSize)
{
    frmNotes& w = restartWith({ { "Startup", "True" }, { "OnTop", "True" }, { "Toolbar", "False" },
        { "RememberPos", "True" }, { "Word Wrap", "False" } });
    w.showNormal();
    w.mnuDefaults_Click();
    EXPECT_FALSE(checked("mnuStartup") || checked("mnuOnTop"));
    // The others stay as they were.
    EXPECT_FALSE(checked("mnuToolbar") || checked("mnuWrap"));
    EXPECT_TRUE(checked("mnuRememberPos"));
    EXPECT_EQ(w.windowWidth(), 6225.0);
    EXPECT_EQ(w.windowHeight(), 5235.0);
    closeWindow();
    EXPECT_EQ(stored({ "Startup", "OnTop", "Width", "Height" }), u"False False 6225 5235");
}

TEST_F(ShutdownTest, DefaultsLeavesAMaximizedWindowsSize)
{
    frmNotes& w = start();
    w.showMaximized();
    QCoreApplication::processEvents();
    const QSize maximized = w.size();
    w.mnuDefaults_Click();
    EXPECT_EQ(w.size(), maximized);
    EXPECT_FALSE(checked("mnuStartup"));
}

TEST_F(ShutdownTest, EveryWayOfClosingSavesTheNote)
{
    const struct
    {
        const char* how;
        void (*close)(frmNotes&);
    } ways[] = {
        { "Exit", [](frmNotes& w) { w.mnuExit_Click(); } },
        { "tray Exit", [](frmNotes& w) { w.mnuTExit_Click(); } },
        { "Exit from the menu",
            [](frmNotes& w) { w.menuItem(QStringLiteral("mnuExit"))->trigger(); } },
        { "close box", [](frmNotes& w) { w.close(); } },
        { "session end", [](frmNotes& w) { w.endSession(); } },
        { "event loop ending",
            [](frmNotes&) {
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
                QCoreApplication::exec();
            } },
    };
    for (const auto& way : ways) {
        TestEnvironment local;
        frmNotes w(local.environment());
        ASSERT_TRUE(w.Form_Load());
        w.rtfNotes->setText(QString::fromLatin1(way.how));
        way.close(w);
        EXPECT_FALSE(w.isVisible()) << way.how;
        frmNotes again(local.environment());
        ASSERT_TRUE(again.Form_Load());
        EXPECT_EQ(again.rtfNotes->Text(), QString::fromLatin1(way.how)) << way.how;
        again.close();
    }
}

TEST_F(ShutdownTest, AnEmptyNoteIsStillWritten)
{
    start();
    closeWindow();
    EXPECT_TRUE(rtf::looksLikeRtf(readAll(env.notePath())));
    frmNotes& again = restartWith();
    EXPECT_TRUE(again.rtfNotes->Text().isEmpty());
}

} // namespace
} // namespace penwick::test
