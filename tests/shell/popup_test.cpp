// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/observed.h"
#include "harness/programtest.h"
#include "shell/frmmenu.h"
#include "shell/popuptable.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <map>

namespace penwick::test {
namespace {

class Popup : public ProgramTest
{
protected:
    QMenu* popup() const { return window->menuForm->mnuPopup; }
    QAction* popupItem(const char* name) const
    {
        return window->menuForm->item(QLatin1String(name));
    }
    void select(int start, int length)
    {
        window->rtfNotes->setSelStart(start);
        window->rtfNotes->setSelLength(length);
    }
};

// The menu as the user reads it, submenus indented, shortcuts after a bar.
QString tree(const QMenu* menu, const QString& indent = {})
{
    QString text;
    for (const QAction* a : menu->actions()) {
        const QString keys = a->shortcut().toString();
        text += indent + (a->isSeparator() ? QStringLiteral("-") : a->text())
            + (keys.isEmpty() ? QString() : QStringLiteral(" | ") + keys) + u'\n';
        if (a->menu())
            text += tree(a->menu(), indent + QStringLiteral("  "));
    }
    return text;
}

TEST_F(Popup, TheTreeAndTheStatesThatFollowTheEditor)
{
    frmNotes& w = start();
    EXPECT_EQ(tree(popup()),
        u"Undo | Ctrl+Z\n-\nC&ut\n&Copy\n&Paste\n-\nSelect &All | Ctrl+A\n-\n&Insert\n"
        "  &Bullet | Alt+Backspace\n  -\n  I&mage | Ctrl+J\n  -\n  Text &File (.TXT)\n"
        "  &Rich Text File (.RTF)\n  -\n  Time / &Date\n    11/16/98\n    11/16/98 4:20 PM \n"
        "    Monday, November 16, 1998\n    Monday, November 16, 1998 4:20 PM \n"
        "    November 16, 1998\n    November 16, 1998 4:20 PM\n    4:20 PM\n-\n&Font\n"
        "  Change &Font | Ctrl+F\n  -\n  Font Size +1 | F3\n  Font Size -1 | F2\n&Style\n"
        "  &Bold | Ctrl+B\n  &Italic | Ctrl+I\n  &Underline | Ctrl+U\n  &Strike Thru\n  -\n"
        "  &Normal\nCo&lors\n  &Font Color | Ctrl+E\n  &Back Color | Ctrl+D\n&Alignment\n"
        "  &Left | F5\n  &Center | F6\n  &Right | F7\n-\nSelec&tion\n  &Lowercase\n"
        "  &Uppercase\n  -\n  &Title Case\n  True Proper Case\n  -\n  Alternate Caps\n"
        "  Reverse Text\n  -\n  Delimit Text\n  Remove Extra Spaces\n  -\n  Character Count\n");

    // Undo waits for the first change; Cut and Copy for a selection, as on the menu bar (whose
    // Undo is last).
    const auto states = [&] {
        QString s;
        for (const char* name : { "mnuUndo", "mnuCut", "mnuCopy", "mnuPaste" })
            s += QString::number(popupItem(name)->isEnabled());
        return s + QString::number(item("mnuUndo")->isEnabled());
    };
    EXPECT_EQ(states(), u"00010");
    QTest::keyClicks(w.rtfNotes, QStringLiteral("ab"));
    EXPECT_EQ(states(), u"10011");
    select(0, 1);
    EXPECT_EQ(states(), u"11111");
    select(1, 0);
    EXPECT_EQ(states(), u"10011");
}

// Only the right button opens it, whatever modifiers are held, its left edge at the pointer,
// and the press leaves the selection alone (what a chosen item does is end to end).
TEST_F(Popup, RightPressOpensAtThePointerAndKeepsTheSelection)
{
    frmNotes& w = start();
    w.move(0, 0);
    w.rtfNotes->setText(QStringLiteral("one two three"));
    select(4, 3);
    QWidget* surface = w.rtfNotes->viewport();
    const QPoint at(40, 12);
    for (const auto button : { Qt::LeftButton, Qt::MiddleButton }) {
        QTest::mousePress(surface, button, {}, at);
        QTest::mouseRelease(surface, button, {}, at);
    }
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    select(4, 3);
    for (auto held : { Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier }) {
        QTest::mousePress(surface, Qt::RightButton, held, at);
        ASSERT_EQ(QApplication::activePopupWidget(), popup()) << held;
        EXPECT_EQ(popup()->pos(), surface->mapToGlobal(at));
        popup()->close();
    }
    EXPECT_EQ(w.rtfNotes->SelText(), u"two");
}

// Unlike the menu bar's, the popup's alignment is set every time; opening Insert or Time / Date
// refreshes the popup's own stamps and hands the keys back to the note.
TEST_F(Popup, AlignmentStaysAndStampsRefreshOnOpening)
{
    frmNotes& w = start();
    w.rtfNotes->setText(QStringLiteral("one"));
    for (const char* name : { "mnuCenter", "mnuRight" }) {
        popupItem(name)->trigger();
        popupItem(name)->trigger();
        EXPECT_NE(w.rtfNotes->SelAlignment(), 0) << name;
        item(name)->trigger();
        EXPECT_EQ(w.rtfNotes->SelAlignment(), 0) << name;
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication::setActiveWindow(&w);
    env.clock->set(QDateTime(QDate(2026, 3, 4), QTime(9, 5)));
    w.menuForm->submenu(QStringLiteral("mnuInsert"))->aboutToShow();
    EXPECT_EQ(popupItem("mnuDateTime")->text(), u"3/4/26 9:05 AM");
    EXPECT_EQ(item("mnuDateTime")->text(), u"11/16/98 4:20 PM ");
    env.clock->set(QDateTime(QDate(2026, 3, 5), QTime(21, 0)));
    QLineEdit elsewhere(&w);
    elsewhere.show();
    elsewhere.setFocus();
    ASSERT_TRUE(elsewhere.hasFocus());
    w.menuForm->submenu(QStringLiteral("mnuTimeD"))->aboutToShow();
    EXPECT_EQ(popupItem("mnuLongDDate")->text(), u"Thursday, March 5, 2026");
    EXPECT_TRUE(w.rtfNotes->hasFocus());
    QLocale::setDefault(QLocale::system());
}

// Every popup item that runs a command does what its menu-bar twin does, seen by the effect,
// from a note where each has something to change. Items wired later are covered too.
TEST_F(Popup, EveryItemActsAsItsMenuBarTwin)
{
    frmNotes& w = start();
    RichTextBox& e = *w.rtfNotes;
    const std::map<QString, QString> twinOf = { { "mnuImage", "mnuInsertImage" },
        { "mnuText", "mnuImportText" }, { "mnuRtf", "mnuImportRtf" },
        { "mnuPlusOne", "mnuFPlusOne" }, { "mnuMinusOne", "mnuFMinusOne" },
        { "mnuFColor", "mnuFC" }, { "mnuBColor", "mnuBG" }, { "mnuUnderline", "mnuUnder" } };
    using Dialog = FakeCommonDialog::Kind; // a dialog a command brings up is cancelled
    const std::map<QString, Dialog> cancelled = { { "mnuFont", Dialog::Font },
        { "mnuFC", Dialog::Color }, { "mnuBG", Dialog::Color }, { "mnuInsertImage", Dialog::Open },
        { "mnuImportText", Dialog::Open }, { "mnuImportRtf", Dialog::Open } };
    // Two paragraphs, right and centred, of one size, the part to select underlined, and a
    // typed step to undo.
    e.setText(QStringLiteral("alpha  Beta\ngamma delta"));
    e.setSelAlignment(1);
    select(12, 0);
    e.setSelAlignment(2);
    select(0, 23);
    e.setSelFontSize(10);
    select(3, 12);
    e.setSelUnderline(true);
    const QByteArray note = e.TextRTF();
    int compared = 0;
    for (const PopupRow& row : popupRows()) {
        QAction* mine = popupItem(row.name);
        if ((!row.twin && !row.own) || mine->menu())
            continue;
        SCOPED_TRACE(row.name);
        const auto found = twinOf.find(QLatin1String(row.name));
        QAction* twin = w.menuItem(found == twinOf.end() ? QLatin1String(row.name) : found->second);
        ASSERT_NE(twin, nullptr);
        QString effects[2];
        for (QAction* action : { mine, twin }) {
            e.setTextRTF(note);
            select(0, 0);
            e.setSelText(QStringLiteral("x"));
            select(4, 12);
            QApplication::clipboard()->setText(QStringLiteral("clip"));
            if (const auto dialog = cancelled.find(twin->objectName()); dialog != cancelled.end())
                env.dialogs->expectCancel(dialog->second);
            if (twin->objectName() == u"mnuDelimit")
                env.prompter->expectInputBox(QStringLiteral("'"));
            if (twin->objectName() == u"mnuCountChar")
                env.prompter->expectMsgBox();
            const Observed before(w, env);
            action->trigger();
            effects[action == twin] = Observed(w, env).changedSince(before);
        }
        EXPECT_EQ(effects[0], effects[1]);
        EXPECT_FALSE(effects[0].isEmpty());
        ++compared;
    }
    EXPECT_GE(compared, 35);
}

} // namespace
} // namespace penwick::test
