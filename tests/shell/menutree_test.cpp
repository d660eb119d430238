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
#include <optional>

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

// Presses `keys` one after the other where the user's keys go: an open menu, else the focus.
void press(const char* keys)
{
    const QKeySequence sequence = QKeySequence::fromString(QLatin1String(keys));
    for (int i = 0; i < sequence.count(); ++i) {
        QWidget* popup = QApplication::activePopupWidget();
        QTest::keyClick(popup ? popup : QApplication::focusWidget(), sequence[i].key(),
            sequence[i].keyboardModifiers());
    }
}

// Types into the search dialog that opens and presses `keys` there; they must close it.
void inSearchDialog(const char* typed, const char* keys)
{
    QTimer::singleShot(0, [typed, keys] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        QApplication::setActiveWindow(dialog);
        QTest::keyClicks(dialog->focusWidget(), QLatin1String(typed));
        press(keys);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "search dialog left open";
            dialog->close();
        }
    });
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
    ASSERT_TRUE(
        QFile(env.programFolder() + QStringLiteral("Readme.txt")).open(QIODevice::WriteOnly));
    QApplication::setActiveWindow(&w);
    e.setFocus();

    // A dialog a key brings up is cancelled; a search dialog gets `typed`, then `inDialog`, which
    // must close it; a message is answered and an address opened.
    const struct
    {
        const char* keys;
        const char* effect;
        std::optional<Dialog> cancel = {};
        const char* typed = nullptr;
        const char* inDialog = nullptr;
    } rows[] = { { "Ctrl+A", "selection=0+7" }, { "Ctrl+B", "bold=1" }, { "Ctrl+I", "italic=1" },
        { "Ctrl+U", "underline=1" }, { "F3", "size=12" }, { "F2", "size=10" },
        { "Alt+Backspace", "bullet=1" },
        { "Ctrl+Z", "selection=7+0 bullet=0" }, // the editor leaves the caret after the undone step
        // Z alone is the editor's (typed at Home); with other modifiers held too, Ctrl+Z undoes
        // one step a press.
        { "Home, Z", "text=zone two selection=1+0" },
        { "Ctrl+Alt+Shift+Z, End", "text=one two selection=7+0" }, { "F6", "align=2" },
        { "F7", "align=1" }, { "F5", "align=0" }, { "Ctrl+F", "dialog=Choose Font", Dialog::Font },
        { "Ctrl+E", "dialog=Text Color", Dialog::Color },
        { "Ctrl+D", "dialog=Background Color", Dialog::Color },
        // Before any search F4 asks what to find; then it repeats the search, here up from "one".
        { "F4", "selection=0+3", {}, "one", "Alt+U, Return, Escape" },
        { "F4", "message=Word not found." },
        { "Ctrl+G", "selection=4+3", {}, "two", "Alt+D, Return, Escape" },
        // Replace opens with the selection; replacing it finds nothing more.
        { "Ctrl+H", "text=one 2 selection=5+0 message=Word not found.", {}, "",
            "Alt+P, 2, Alt+R, Escape" },
        { "Ctrl+J", "dialog=Select an Image", Dialog::Open },
        { "Ctrl+P", "dialog=Print", Dialog::Printer }, { "Ctrl+S", "saved=1" },
        { "F1", "open=Readme.txt" },
        // Two menus share the F: Alt+F always opens the first, another F moves on.
        { "Alt+F", "menu=mnuFile" }, { "Alt+F", "menu=mnuFile" }, { "Alt+F, F", "menu=mnuFormat" },
        { "Alt+F, F, F", "menu=mnuFontStuff" }, { "Alt+F, Return", "saved=1" },
        { "Alt+E", "menu=mnuEdit" }, { "Alt+I", "menu=mnuInsert" }, { "Alt+O", "menu=mnuOptions" },
        { "Alt+A", "menu=mnuSearch" }, { "Alt+H", "menu=mnuHelp" } };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keys);
        if (row.cancel)
            env.dialogs->expectCancel(*row.cancel);
        if (row.inDialog)
            inSearchDialog(row.typed, row.inDialog);
        if (QLatin1String(row.effect).contains(QLatin1String("message=")))
            env.prompter->expectMsgBox();
        if (QLatin1String(row.effect).contains(QLatin1String("open=")))
            env.shell->expectOpen();
        const Observed before(w, env);
        press(row.keys);
        w.finishSaving();
        EXPECT_EQ(Observed(w, env).changedSince(before), QLatin1String(row.effect));

        if (!QApplication::activeWindow())
            QApplication::setActiveWindow(&w); // as the window manager does when a dialog closes
        for (int escapes = 0; escapes < 8 && QApplication::focusWidget() != &e; ++escapes)
            press("Escape");
        ASSERT_EQ(QApplication::focusWidget(), &e);
        QFile::remove(env.notePath());
    }
}

} // namespace
} // namespace penwick::test
