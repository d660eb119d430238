// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/programtest.h"
#include "platform/richtextbox.h"
#include "shell/menutable.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>

namespace penwick::test {
namespace {

using MenuTree = ProgramTest;

// The items of a menu as "name:caption" ("-" for separators), in display order.
QStringList outline(const QMenu* menu)
{
    QStringList items;
    for (const QAction* a : menu->actions())
        items << a->objectName() + u':' + (a->isSeparator() ? QStringLiteral("-") : a->text());
    return items;
}

TEST_F(MenuTree, EveryRowBecomesOneNamedItemInItsPlace)
{
    frmNotes w(env.environment());
    QSet<QString> names;
    for (const MenuRow& row : mainMenuRows()) {
        const QString name = QString::fromLatin1(row.name);
        EXPECT_FALSE(names.contains(name)) << row.name;
        names.insert(name);
        SCOPED_TRACE(row.name);
        QAction* action = w.menuItem(name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(w.findChild<QAction*>(name), action);
        EXPECT_EQ(action->isSeparator(), QByteArrayView(row.caption) == "-");
        EXPECT_EQ(action->isCheckable(), row.check != MenuCheck::None);
        EXPECT_EQ(action->isChecked(), row.check == MenuCheck::Checked);
        EXPECT_TRUE(action->isEnabled());
    }
    EXPECT_EQ(names.size(), 97);
}

TEST_F(MenuTree, NestingCaptionsAndSeparatorsAreExact)
{
    frmNotes w(env.environment());
    EXPECT_EQ(outline(w.menuOf(QStringLiteral("mnuExport"))),
        (QStringList { "mnuTextFile:&Plain Text (.txt)", "mnuRichText:&Rich Text (.rtf)" }));
    // The design-time stamp captions keep their trailing blanks.
    EXPECT_EQ(outline(w.menuOf(QStringLiteral("mnuTimeD"))),
        (QStringList { "mnuDate:11/16/98", "mnuDateTime:11/16/98 4:20 PM ",
            "mnuLongDDate:Monday, November 16, 1998",
            "mnuLongDDT:Monday, November 16, 1998 4:20 PM ", "mnuLongDate:November 16, 1998",
            "mnuLongDT:November 16, 1998 4:20 PM", "mnuTime:4:20 PM" }));
    EXPECT_EQ(outline(w.menuOf(QStringLiteral("mnuSelection"))),
        (QStringList { "mnuLowercase:&Lowercase", "mnuUppercase:&Uppercase", "mnS:-",
            "mnuTitleCase:&Title Case", "mnuTruePCase:True Proper Case", "mnS2:-",
            "mnuAltCaps:Alternate Caps", "mnuReverse:Reverse Text", "mnS4:-",
            "mnuDelimit:Delimit Text", "mnuRemoveSp:Remove Extra Spaces", "mnS3:-",
            "mnuCountChar:Character Count" }));
    EXPECT_EQ(outline(w.menuOf(QStringLiteral("mnuTPop"))),
        (QStringList { "mnuShow:&Show", "mnuHide:&Hide", "mnutrsp:-", "mnuTExit:E&xit" }));
    EXPECT_EQ(w.menuItem(QStringLiteral("mnuStrike"))->text(), u"&Strike Thu");
    // Submenus sit inside their parents.
    EXPECT_EQ(w.menuOf(QStringLiteral("mnuFormat"))->actions().value(0),
        w.menuItem(QStringLiteral("mnuFontStuff")));
    EXPECT_EQ(w.menuOf(QStringLiteral("mnuInsert"))->actions().last(),
        w.menuItem(QStringLiteral("mnuTimeD")));
}

TEST_F(MenuTree, ShortcutsAreTheTablesOnes)
{
    frmNotes w(env.environment());
    const std::pair<const char*, QKeySequence> shortcuts[] = { { "mnuSave", Qt::CTRL | Qt::Key_S },
        { "mnuFont", Qt::CTRL | Qt::Key_F }, { "mnuFind", Qt::CTRL | Qt::Key_G },
        { "mnuFindAgain", Qt::Key_F4 }, { "mnuBullet", Qt::ALT | Qt::Key_Backspace },
        { "mnuFPlusOne", Qt::Key_F3 }, { "mnuFMinusOne", Qt::Key_F2 }, { "mnuHelpC", Qt::Key_F1 },
        { "mnuCut", {} }, { "mnuCopy", {} }, { "mnuPaste", {} } };
    for (const auto& [name, keys] : shortcuts)
        EXPECT_EQ(w.menuItem(QLatin1String(name))->shortcut(), keys) << name;
}

// Ctrl+S pressed in the editor saves the note, once.
TEST_F(MenuTree, CtrlSSavesFromTheKeyboard)
{
    frmNotes& w = start();
    QApplication::setActiveWindow(&w);
    w.rtfNotes->setFocus();
    w.rtfNotes->setText(QStringLiteral("typed"));
    ASSERT_FALSE(QFile::exists(env.notePath()));
    QTest::keyClick(w.rtfNotes, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(env.notePath()));
    EXPECT_EQ(w.rtfNotes->Text(), u"typed");
}

} // namespace
} // namespace penwick::test
