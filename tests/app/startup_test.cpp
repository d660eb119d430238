// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/programtest.h"
#include "platform/richtextbox.h"

#include <QGuiApplication>

namespace penwick::test {
namespace {

using StartupTest = ProgramTest;

// The checked items among the seven stored options.
QStringList checkedOptions(const frmNotes& w)
{
    QStringList on;
    for (const char* name : { "mnuStartup", "mnuOnTop", "mnuToolbar", "mnuFlatTool", "mnuWrap",
             "mnuRememberSize", "mnuRememberPos" }) {
        if (w.menuItem(QLatin1String(name))->isChecked())
            on << QLatin1String(name);
    }
    return on;
}
const QStringList defaultOptions { "mnuToolbar", "mnuFlatTool", "mnuWrap", "mnuRememberSize" };
// The stored values start-up reads.
const char* const storedKeys[] = { "BG", "Startup", "OnTop", "Toolbar", "Flat Toolbar", "Word Wrap",
    "RememberSize", "RememberPos", "AutoSaveText", "AutoSave", "Height", "Width", "Left", "Top" };

// The first run takes every default: 6945 by 5610 twips (the size is checked as stored at
// shut-down), centred on the screen (the offscreen one is 800 by 800 pixels, 15 twips each). Stored
// options are applied; the position is centred (on the restored size) unless remembered, and then
// applied as stored, even partly off the screen while the title bar can be reached, or centred when
// nothing is stored.
TEST_F(StartupTest, FirstRunTakesEveryDefaultThenStoredOptionsAndPlaceApply)
{
    frmNotes& w = start();
    EXPECT_TRUE(w.isVisible() && w.windowTitle() == u"Penwick 4.0" && w.rtfNotes->Text().isEmpty());
    EXPECT_EQ(checkedOptions(w), defaultOptions);
    EXPECT_TRUE(
        w.rtfNotes->RightMargin() == 0.f && w.rtfNotes->BackColor() == SystemWindowBackground);
    EXPECT_TRUE(w.Module.AppFolder == env.programFolder() && w.notePath() == env.notePath());
    EXPECT_EQ(w.pos(), QPoint(168, 213));
    EXPECT_TRUE(w.rtfNotes->hasFocus() || !QGuiApplication::focusWindow());

    EXPECT_EQ(restartWith({ { "RememberPos", "True" } }).pos(), QPoint(168, 213));
    EXPECT_EQ(restartWith({ { "Left", "-1500" }, { "Top", "1500" } }).pos(), QPoint(-100, 100));
    restartWith({ { "RememberPos", "False" }, { "Width", "9000" }, { "Height", "6000" } });
    EXPECT_EQ(window->pos(), QPoint(100, 200));

    frmNotes& o = restartWith({ { "Toolbar", "False" }, { "Flat Toolbar", "False" },
        { "OnTop", "1" }, { "Word Wrap", "False" }, { "RememberSize", "0" }, { "BG", "255" } });
    EXPECT_EQ(checkedOptions(o), QStringList { "mnuOnTop" });
    EXPECT_TRUE(o.rtfNotes->RightMargin() == 99999.f && o.rtfNotes->BackColor() == 255u);
    EXPECT_EQ(o.windowWidth(), 6945.0); // without Remember Size the stored 9000 is not read
}

// Every stored value may be garbage, or a number the window or the editor refuses: start-up
// skips that one assignment and runs on with the designed state.
TEST_F(StartupTest, UnusableValuesLeaveTheDesignedState)
{
    // The converters' own tests read every kind of text; one of each outcome is enough here.
    const QString garbage[] = { QString(), QStringLiteral("0x10"), QString(10 * 1024, u'9') };
    std::vector<std::pair<const char*, QString>> cases;
    for (const char* key : storedKeys)
        for (const QString& value : garbage)
            cases.emplace_back(key, value);
    // Numbers that convert but that the window refuses, or that name no colour.
    for (const char* value : { "0", "-5", "1e30", "1e40" })
        for (const char* key : { "Width", "Height" })
            cases.emplace_back(key, QString::fromLatin1(value));
    for (const char* value : { "16777216", "-1", "2147483648", "-2147483000" })
        cases.emplace_back("BG", QString::fromLatin1(value));

    for (const auto& [key, value] : cases) {
        SCOPED_TRACE(std::string(key) + "=" + value.left(20).toStdString());
        const bool garbledPos = std::string_view(key) == "RememberPos";
        TestEnvironment local;
        local.store(
            { { key, value }, { "RememberPos", garbledPos ? value : QStringLiteral("True") } });
        frmNotes w(local.environment());
        ASSERT_TRUE(w.Form_Load());
        EXPECT_EQ(checkedOptions(w),
            garbledPos ? defaultOptions : defaultOptions + QStringList { "mnuRememberPos" });
        EXPECT_EQ(w.rtfNotes->BackColor(), SystemWindowBackground);
        EXPECT_TRUE(w.windowWidth() == 6945.0 && w.windowHeight() == 5610.0);
        w.close();
    }
}

} // namespace
} // namespace penwick::test
