// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/programtest.h"
#include "platform/richtextbox.h"
#include "platform/rtf/rtf.h"

#include <QCoreApplication>
#include <QFile>
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
    // The keys written, in order, joined by commas.
    QString written() const
    {
        QStringList keys;
        for (const auto& [key, value] : env.settings->writes)
            keys << key;
        return keys.join(u',');
    }
};

// Every way of closing saves the note: Exit from the menu, and the event loop ending.
TEST_F(ShutdownTest, WritesTheNoteAndEveryOptionInOrder)
{
    frmNotes& w = start();
    w.rtfNotes->setText(QStringLiteral("Remember the milk 🥛"));
    item("mnuExit")->trigger();

    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(written(),
        u"BG,OnTop,Startup,Toolbar,Flat Toolbar,Word Wrap,AutoSave,AutoSaveText,RememberSize,"
        "RememberPos,Width,Height");
    EXPECT_EQ(stored({ "BG", "OnTop", "Toolbar", "AutoSave", "AutoSaveText", "Width", "Height" }),
        u"-2147483643 False True 0 10 6945 5610");

    frmNotes& again = restartWith();
    EXPECT_EQ(again.rtfNotes->Text(), u"Remember the milk 🥛");

    // An empty note is still written, as rich text, also when it is the event loop that ends (the
    // close box and the tray's and the session's ends are in the other cases and the tray test).
    again.rtfNotes->setText(QString());
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    EXPECT_FALSE(again.isVisible());
    QFile note(env.notePath());
    ASSERT_TRUE(note.open(QIODevice::ReadOnly));
    EXPECT_TRUE(rtf::looksLikeRtf(note.readAll()));
    EXPECT_TRUE(restartWith().rtfNotes->Text().isEmpty());
}

// Each toggle flips its mark once per click. Defaults clears two options and sets the default
// size, unless maximized; the place written is the normal window's, and without Remember Size the
// stored size is left alone.
TEST_F(ShutdownTest, OptionTogglesAndDefaults)
{
    frmNotes& w = restartWith({ { "OnTop", "True" }, { "Toolbar", "False" },
        { "RememberPos", "True" }, { "Left", "1500" }, { "Top", "900" }, { "Width", "8000" } });
    for (const char* name :
        { "mnuStartup", "mnuRememberPos", "mnuRememberPos", "mnuRememberSize", "mnuWrap" }) {
        const bool before = checked(name);
        item(name)->trigger();
        EXPECT_EQ(checked(name), !before) << name;
    }
    EXPECT_EQ(w.rtfNotes->RightMargin(), 99999.f); // word wrap now off
    w.mnuDefaults_Click();
    EXPECT_TRUE(w.windowWidth() == 6225 && w.windowHeight() == 5235);
    EXPECT_FALSE(checked("mnuStartup") || checked("mnuOnTop") || checked("mnuToolbar"));
    w.showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(w.isMaximized());
    const QSize maximized = w.size();
    w.mnuDefaults_Click();
    EXPECT_EQ(w.size(), maximized);
    closeWindow();
    EXPECT_TRUE(written().endsWith(u",RememberSize,RememberPos,Left,Top"))
        << written().toStdString();
    EXPECT_EQ(stored({ "Startup", "OnTop", "RememberPos", "RememberSize", "Word Wrap", "Width",
                  "Left", "Top" }),
        u"False False True False False 8000 1500 900");
}

} // namespace
} // namespace penwick::test
