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

// Each row becomes one named item, next in its parent menu, with the row's caption, shortcut and
// check mark.
TEST_F(MenuTree, EveryRowBecomesOneItemInItsPlace)
{
    frmNotes w(env.environment());
    QSet<QString> names;
    QList<QAction*> siblings[4]; // the items of the menu open at each level, and how many seen
    int seen[4] = {};
    for (const MenuRow& row : mainMenuRows()) {
        const QString name = QString::fromLatin1(row.name);
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(names.contains(name));
        names.insert(name);
        QAction* action = w.menuItem(name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(w.findChild<QAction*>(name), action);
        if (row.level == 0 && siblings[0].isEmpty())
            siblings[0] = w.menuBar()->actions();
        EXPECT_EQ(siblings[row.level].value(seen[row.level]++), action);
        if (QMenu* menu = w.menuOf(name)) {
            siblings[row.level + 1] = menu->actions();
            seen[row.level + 1] = 0;
        }
        const bool separator = QByteArrayView(row.caption) == "-";
        EXPECT_EQ(action->isSeparator(), separator);
        EXPECT_EQ(action->text(), separator ? QString() : QString::fromUtf8(row.caption));
        EXPECT_EQ(action->shortcut(),
            row.shortcut == QKeyCombination() ? QKeySequence() : QKeySequence(row.shortcut));
        EXPECT_EQ(action->isCheckable(), row.check != MenuCheck::None);
        EXPECT_EQ(action->isChecked(), row.check == MenuCheck::Checked);
        EXPECT_TRUE(action->isEnabled());
    }
    EXPECT_EQ(names.size(), 97);
    // Spot checks of the table itself; the stamp captions keep their trailing blanks.
    const std::tuple<const char*, const char*, QKeySequence> items[]
        = { { "mnuDateTime", "11/16/98 4:20 PM ", {} }, { "mnuStrike", "&Strike Thu", {} },
              { "mnuSave", "&Save", Qt::CTRL | Qt::Key_S },
              { "mnuFind", "Find", Qt::CTRL | Qt::Key_G }, { "mnuFindAgain", nullptr, Qt::Key_F4 },
              { "mnuBullet", nullptr, Qt::ALT | Qt::Key_Backspace },
              { "mnuFPlusOne", nullptr, Qt::Key_F3 }, { "mnuFMinusOne", nullptr, Qt::Key_F2 },
              { "mnuHelpC", nullptr, Qt::Key_F1 }, { "mnuCut", "C&ut", {} } };
    for (const auto& [name, caption, keys] : items) {
        const QAction* action = w.menuItem(QLatin1String(name));
        EXPECT_TRUE(!caption || action->text() == QString::fromUtf8(caption)) << name;
        EXPECT_EQ(action->shortcut(), keys) << name;
    }
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
