// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/programtest.h"
#include "platform/richtextbox.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
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

// What the user can see of the window and the note, field by field, and of the dialogs and
// messages shown.
class Observed
{
public:
    Observed(frmNotes& w, TestEnvironment& env)
    {
        const RichTextBox& e = *w.rtfNotes;
        const auto tri = [](TriState v) { return v ? QString::number(*v) : QStringLiteral("?"); };
        const QWidget* popup = QApplication::activePopupWidget();
        QStringList windows; // the program's other windows
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            if (window != &w && window->isVisible() && window->windowType() != Qt::Popup)
                windows << window->objectName();
        }
        m_fields = { { "text", e.Text() },
            { "selection", QStringLiteral("%1+%2").arg(e.SelStart()).arg(e.SelLength()) },
            { "bold", tri(e.SelBold()) }, { "italic", tri(e.SelItalic()) },
            { "underline", tri(e.SelUnderline()) },
            { "size", e.SelFontSize() ? QString::number(*e.SelFontSize()) : QStringLiteral("?") },
            { "bullet", tri(e.SelBullet()) },
            { "align",
                e.SelAlignment() ? QString::number(*e.SelAlignment()) : QStringLiteral("?") },
            { "menu", popup ? popup->objectName() : QString() }, { "window", windows.join(u',') },
            { "saved", QString::number(QFile::exists(env.notePath())) } };
        for (const auto& shown : env.dialogs->shown())
            m_dialogs << QStringLiteral("dialog=") + shown.values.DialogTitle;
        for (const auto& shown : env.prompter->shown())
            m_messages << QStringLiteral("message=") + shown.prompt;
    }

    // The fields that differ from `before`, and the dialogs shown since, as "field=value".
    QString changedSince(const Observed& before) const
    {
        QStringList changes;
        for (size_t i = 0; i < m_fields.size(); ++i) {
            if (before.m_fields[i].second != m_fields[i].second)
                changes << QLatin1String(m_fields[i].first) + u'=' + m_fields[i].second;
        }
        changes << m_dialogs.mid(before.m_dialogs.size())
                << m_messages.mid(before.m_messages.size());
        return changes.join(u' ');
    }

private:
    std::vector<std::pair<const char*, QString>> m_fields;
    QStringList m_dialogs;
    QStringList m_messages;
};

// What the user answers to what a key brings up.
template <Dialog kind> void cancel(TestEnvironment& env)
{
    env.dialogs->expectCancel(kind);
}
[[maybe_unused]] void answerOk(TestEnvironment& env)
{
    env.prompter->expectMsgBox();
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
        { "Ctrl+H", "" },
        { "Ctrl+S", "saved=1" },
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
