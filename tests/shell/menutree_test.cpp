// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/observed.h"
#include "harness/programtest.h"
#include "platform/richtextbox.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <vector>

namespace penwick::test {
namespace {

using MenuTree = ProgramTest;
using Dialog = FakeCommonDialog::Kind;

// The bar as the user reads it, and captions that look like slips but are kept as they are.
TEST_F(MenuTree, TheBarAndItsCaptions)
{
    frmNotes& w = start();
    QStringList bar;
    for (const QAction* menu : w.menuBar()->actions())
        bar << (menu->isVisible() ? menu->text() : QStringLiteral("(%1)").arg(menu->text()));
    EXPECT_EQ(bar.join(u' '), u"&File &Edit &Insert &Format &Options Se&arch &Help (Tray Menu)");
    QStringList captions;
    for (const char* name : { "mnuStrike", "mnuCut", "mnuDateTime", "mnuFPlusOne", "mnuExport" })
        captions << item(name)->text();
    EXPECT_EQ(
        captions.join(u'|'), u"&Strike Thu|C&ut|11/16/98 4:20 PM |Font Size +1|Export (Save &As)");
}

// What the user answers to what a key brings up.
template <Dialog kind> void cancel(TestEnvironment& env)
{
    env.dialogs->expectCancel(kind);
}
void answerOk(TestEnvironment& env)
{
    env.prompter->expectMsgBox();
}
void opens(TestEnvironment& env)
{
    env.shell->expectOpen();
}
// Types into the search dialog that opens and presses `keys` there; they must close it.
void inSearchDialog(const char* typed, const char* keys)
{
    QTimer::singleShot(0, [typed, keys] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        QApplication::setActiveWindow(dialog);
        QTest::keyClicks(dialog->focusWidget(), QLatin1String(typed));
        const QKeySequence sequence = QKeySequence::fromString(QLatin1String(keys));
        for (int i = 0; i < sequence.count(); ++i)
            QTest::keyClick(
                dialog->focusWidget(), sequence[i].key(), sequence[i].keyboardModifiers());
        if (dialog->isVisible()) {
            ADD_FAILURE() << "search dialog left open";
            dialog->close();
        }
    });
}
// Before any search F4 asks what to find; then it repeats the search, here up from "one".
void findOneUpwards(TestEnvironment&)
{
    inSearchDialog("one", "Alt+U, Return, Escape");
}
void findTwo(TestEnvironment&)
{
    inSearchDialog("two", "Alt+D, Return, Escape");
}
// Replace opens with the selection; replacing it finds nothing more.
void replaceByTwo(TestEnvironment& env)
{
    env.prompter->expectMsgBox();
    inSearchDialog("", "Alt+P, 2, Alt+R, Escape");
}

// Every shortcut of the menu bar and the access key of every menu, pressed in the window, one
// after the other; each does what its command does, seen by its effect. Menus left open are
// closed with Escape, as a user would.
TEST_F(MenuTree, EveryShortcutAndAccessKeyRunsItsCommand)
{
    frmNotes& w = start();
    RichTextBox& e = *w.rtfNotes;
    e.setText(QStringLiteral("one two"));
    e.setSelLength(7);
    ASSERT_TRUE(e.setSelFontSize(10));
    e.setSelStart(7);
    QFile readme(env.programFolder() + QStringLiteral("Readme.txt"));
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.close();
    QApplication::setActiveWindow(&w);
    e.setFocus();

    const struct
    {
        const char* keys;
        const char* effect;
        void (*answer)(TestEnvironment&) = nullptr;
    } presses[] = {
        { "Ctrl+A", "selection=0+7" },
        { "Ctrl+B", "bold=1" },
        { "Ctrl+I", "italic=1" },
        { "Ctrl+U", "underline=1" },
        { "F3", "size=12" },
        { "F2", "size=10" },
        { "Alt+Backspace", "bullet=1" },
        { "Ctrl+Z", "selection=7+0 bullet=0" }, // the editor leaves the caret after the undone step
        { "F6", "align=2" },
        { "F7", "align=1" },
        { "F5", "align=0" },
        { "Ctrl+F", "dialog=Choose Font", cancel<Dialog::Font> },
        { "Ctrl+E", "dialog=Text Color", cancel<Dialog::Color> },
        { "Ctrl+D", "dialog=Background Color", cancel<Dialog::Color> },
        // Before any search F4 asks what to find; then it repeats the search, here up from "one".
        { "F4", "selection=0+3", findOneUpwards },
        { "F4", "message=Word not found.", answerOk },
        { "Ctrl+G", "selection=4+3", findTwo },
        { "Ctrl+H", "text=one 2 selection=5+0 message=Word not found.", replaceByTwo },
        { "Ctrl+J", "dialog=Select an Image", cancel<Dialog::Open> },
        { "Ctrl+P", "dialog=Print", cancel<Dialog::Printer> },
        { "Ctrl+S", "saved=1" },
        { "F1", "open=Readme.txt", opens },
        // Two menus share the F: Alt+F always opens the first, another F moves on.
        { "Alt+F", "menu=mnuFile" },
        { "Alt+F", "menu=mnuFile" },
        { "Alt+F, F", "menu=mnuFormat" },
        { "Alt+F, F, F", "menu=mnuFontStuff" },
        { "Alt+F, Return", "saved=1" },
        { "Alt+E", "menu=mnuEdit" },
        { "Alt+I", "menu=mnuInsert" },
        { "Alt+O", "menu=mnuOptions" },
        { "Alt+A", "menu=mnuSearch" },
        { "Alt+H", "menu=mnuHelp" },
    };
    for (const auto& press : presses) {
        SCOPED_TRACE(press.keys);
        if (press.answer)
            press.answer(env);
        const Observed before(w, env);
        const QKeySequence keys = QKeySequence::fromString(QLatin1String(press.keys));
        for (int i = 0; i < keys.count(); ++i) {
            QWidget* popup = QApplication::activePopupWidget();
            QTest::keyClick(popup ? popup : QApplication::focusWidget(), keys[i].key(),
                keys[i].keyboardModifiers());
        }
        w.finishSaving();
        EXPECT_EQ(Observed(w, env).changedSince(before), QLatin1String(press.effect));

        if (!QApplication::activeWindow())
            QApplication::setActiveWindow(&w); // as the window manager does when a dialog closes
        for (int escapes = 0; escapes < 8 && QApplication::focusWidget() != &e; ++escapes) {
            QWidget* popup = QApplication::activePopupWidget();
            QTest::keyClick(popup ? popup : QApplication::focusWidget(), Qt::Key_Escape);
        }
        ASSERT_EQ(QApplication::focusWidget(), &e);
        QFile::remove(env.notePath());
    }
}

} // namespace
} // namespace penwick::test
