// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/observed.h"
#include "harness/programtest.h"
#include "platform/richtextbox.h"
#include "platform/toolbarstyle.h"
#include "shell/placement.h"
#include "shell/toolbar.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <optional>

namespace penwick::test {
namespace {

using MenuTree = ProgramTest;
using Dialog = FakeCommonDialog::Kind;

// Types into the search dialog that opens and presses `keys` there; they must close it.
void inSearchDialog(const char* typed, const char* keys)
{
    QTimer::singleShot(0, [typed, keys] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        QApplication::setActiveWindow(dialog);
        QTest::keyClicks(dialog->focusWidget(), QLatin1String(typed));
        press(keys);
        EXPECT_FALSE(dialog->isVisible()) << "search dialog left open";
        dialog->close();
    });
}

// The bar's captions. Every shortcut of the menu bar and the access key of every menu, pressed in
// the window, one after the other; each does what its command does, seen by its effect. Menus left
// open are closed with Escape, as a user would.
TEST_F(MenuTree, TheBarAndEveryShortcutAndAccessKey)
{
    frmNotes& w = start();
    // The bar as the user reads it, and captions that look like slips but are kept as they are.
    QStringList bar;
    for (const QAction* menu : w.menuBar()->actions())
        bar << (menu->isVisible() ? menu->text() : QStringLiteral("(%1)").arg(menu->text()));
    EXPECT_EQ(bar.join(u' '), u"&File &Edit &Insert &Format &Options Se&arch &Help (Tray Menu)");
    QStringList captions;
    for (const char* name : { "mnuStrike", "mnuCut", "mnuDateTime", "mnuFPlusOne", "mnuExport" })
        captions << item(name)->text();
    EXPECT_EQ(
        captions.join(u'|'), u"&Strike Thu|C&ut|11/16/98 4:20 PM |Font Size +1|Export (Save &As)");

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
    // must close it; a message is answered and an address opened. Undo leaves the caret after the
    // undone step. Z alone is the editor's (typed at Home); with other modifiers held too, Ctrl+Z
    // undoes one step a press. Before any search F4 asks what to find; then it repeats the search,
    // here up from "one". Replace opens with the selection; replacing it finds nothing more. Two
    // menus share the F: Alt+F always opens the first, another F moves on.
    const struct
    {
        const char* keys;
        const char* effect;
        std::optional<Dialog> cancel = {};
        const char* typed = nullptr;
        const char* inDialog = nullptr;
    } rows[] = { { "Ctrl+A", "selection=0+7" }, { "Ctrl+B", "bold=1" }, { "Ctrl+I", "italic=1" },
        { "Ctrl+U", "underline=1" }, { "F3", "size=12" }, { "F2", "size=10" },
        { "Alt+Backspace", "bullet=1" }, { "Ctrl+Z", "selection=7+0 bullet=0" },
        { "Home, Z", "text=zone two selection=1+0" },
        { "Ctrl+Alt+Shift+Z, End", "text=one two selection=7+0" }, { "F6", "align=2" },
        { "F7", "align=1" }, { "F5", "align=0" }, { "Ctrl+F", "dialog=Choose Font", Dialog::Font },
        { "Ctrl+E", "dialog=Text Color", Dialog::Color },
        { "Ctrl+D", "dialog=Background Color", Dialog::Color },
        { "F4", "selection=0+3", {}, "one", "Alt+U, Return, Escape" },
        { "F4", "message=Word not found." },
        { "Ctrl+G", "selection=4+3", {}, "two", "Alt+D, Return, Escape" },
        { "Ctrl+H", "text=one 2 selection=5+0 message=Word not found.", {}, "",
            "Alt+P, 2, Alt+R, Escape" },
        { "Ctrl+J", "dialog=Select an Image", Dialog::Open },
        { "Ctrl+P", "dialog=Print", Dialog::Printer }, { "Ctrl+S", "saved=1" },
        { "F1", "open=Readme.txt" }, { "Alt+F", "menu=mnuFile" }, { "Alt+F", "menu=mnuFile" },
        { "Alt+F, F", "menu=mnuFormat" }, { "Alt+F, F, F", "menu=mnuFontStuff" },
        { "Alt+F, Return", "saved=1" }, { "Alt+E", "menu=mnuEdit" }, { "Alt+I", "menu=mnuInsert" },
        { "Alt+O", "menu=mnuOptions" }, { "Alt+A", "menu=mnuSearch" },
        { "Alt+H", "menu=mnuHelp" } };
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

// A window 463 x 374 with a title bar of 24, on a 1280 x 1024 screen whose work area ends above
// a 30 pixel panel, and maybe a second screen to its right.
TEST(Placement, OnlyAWindowWhoseTitleBarCannotBeReachedMoves)
{
    const QRect first(0, 0, 1280, 1024);
    const QRect second(1280, 0, 1920, 1080);
    const QRect workArea(0, 0, 1280, 994);
    const QRect centred(408, 310, 463, 374);
    const QRect stays; // where it was put
    // What, where it was, the screens, where it is placed.
    const std::tuple<const char*, QRect, QList<QRect>, QRect> cases[] = {
        { "on the screen", { 100, 80, 463, 374 }, { first }, stays },
        { "far left and up", { -1333, -1333, 463, 374 }, { first }, centred },
        { "200 px of the bar on the left edge", { -263, 80, 463, 374 }, { first }, stays },
        { "60 px of the bar on the right edge", { 1220, 80, 463, 374 }, { first }, centred },
        { "half the bar above the top", { 100, -12, 463, 374 }, { first }, stays },
        { "the bar above the top, the rest on screen", { 100, -20, 463, 374 }, { first }, centred },
        { "on a second screen unplugged since", { 1500, 100, 463, 374 }, { first }, centred },
        { "60 px on each side of the seam", { 1220, 80, 463, 374 }, { first, second }, stays },
        { "below the second screen", { 1500, 1075, 463, 374 }, { second, first }, centred },
        { "a narrow window, all of it on screen", { 1200, 80, 60, 100 }, { first }, stays },
        { "larger than the screen and off it", { 5000, 5000, 3000, 2000 }, { first },
            { 0, 0, 1280, 994 } }
    };
    for (const auto& [what, outer, screens, placed] : cases)
        EXPECT_EQ(placeOnScreens(outer, 24, screens, workArea), placed.isNull() ? outer : placed)
            << what;
}

class ToolbarTest : public ProgramTest
{
protected:
    ToolbarButton* button(const char* key) const { return window->Toolbar->Buttons(key); }
    void click(const char* key) const { QTest::mouseClick(button(key), Qt::LeftButton); }
    // Selects "start+length", or presses the button named.
    void run(const char* step) const
    {
        const QStringList at = QString::fromLatin1(step).split(u'+');
        at.size() == 2 ? select(at[0].toInt(), at[1].toInt()) : click(step);
    }
};

// Buttons run their commands: each does what its menu item does, seen by its effect. SaveAs pops
// up the Export menu under the mouse; choosing from it is the menu's own business.
TEST_F(ToolbarTest, EntriesAndCommandButtons)
{
    frmNotes& w = start();
    // Every button shows a drawing (ours where the desktop theme has none) and its tooltip.
    QStringList entries;
    for (QWidget* item : w.Toolbar->strip()->items()) {
        const auto* b = qobject_cast<ToolbarButton*>(item);
        entries << (b ? b->Key() + u'=' + b->ToolTip() : QStringLiteral("|"));
        EXPECT_TRUE(!b || !b->icon().pixmap(16, 16).isNull());
    }
    EXPECT_EQ(entries.join(u','),
        u"|,Save=Save (CTRL + S),SaveAs=Save As...,|,Cut=Cut (CTRL + X),Copy=Copy (CTRL + C),"
        "Paste=Paste (CTRL + V),|,Find=Find (CTRL + F),|,Print=Print (CTRL + P),|,"
        "FontUp=Font Up (F3),FontDown=Font Down (F2),|,Bold=Bold (CTRL + B),"
        "Italic=Italic (CTRL + I),Underline=Underline (CTRL + U),|,Align Left=Left Justify (F5),"
        "Center=Center (F6),Align Right=Right Justify (F7),|,Bullet=Bullets  (ALT + Backspace),|");
    w.rtfNotes->setText(QStringLiteral("some text"));
    select(0, 9);
    ASSERT_TRUE(w.rtfNotes->setSelFontSize(10));
    QCursor::setPos(120, 90);
    QApplication::clipboard()->clear();
    env.dialogs->expectCancel(FakeCommonDialog::Kind::Printer);
    // A selection as start+length, or a button pressed, and what changed.
    const std::pair<const char*, const char*> steps[] = { { "0+5", "selection=0+5" },
        { "Copy", "clipboard=some " }, { "Cut", "text=text selection=0+0" },
        { "4+0", "selection=4+0" }, { "Paste", "text=textsome  selection=9+0" },
        { "0+4", "selection=0+4" }, { "FontUp", "size=12" }, { "FontDown", "size=10" },
        { "Print", "dialog=Print" }, { "SaveAs", "menu=mnuExport" }, { "Save", "saved=1" } };
    for (const auto& [step, effect] : steps) {
        const Observed before(w, env);
        run(step);
        w.finishSaving();
        EXPECT_EQ(Observed(w, env).changedSince(before), QLatin1String(effect)) << step;
    }
    EXPECT_EQ(w.menuOf(QStringLiteral("mnuExport"))->pos(), QPoint(120, 90));
    w.menuOf(QStringLiteral("mnuExport"))->close();
    inSearchDialog("", "Escape"); // Find opens the search dialog
    click("Find");
    w.Toolbar_ButtonClick(nullptr);
}

// The buttons show the characters (Bold, Italic, Underline) and the paragraphs (the alignment
// group, Bullet) at the caret or across the selection; Cut and Copy need a selection, if only of a
// paragraph break. A style button writes the negation of what the editor reports and shows what
// it then reads (a mixed selection stays mixed, the button up); the alignment buttons are one
// group and, unlike the menu items, a second press does not toggle back; Bullet shows whether all
// is bulleted.
TEST_F(ToolbarTest, ButtonsFollowTheSelectionAndShowWhatAPressWrote)
{
    frmNotes& w = start();
    RichTextBox& e = *w.rtfNotes;
    // The editor's bold, italic, underline, alignment, bullet; the buttons Bold, Italic,
    // Underline, Align Left, Center, Align Right, Bullet; chkBullet; Cut and Copy enabled on the
    // toolbar and the menu bar.
    const auto state = [&] {
        const auto tri = [](auto v) { return v ? QString::number(*v) : QStringLiteral("?"); };
        QString s = tri(e.SelBold()) + tri(e.SelItalic()) + tri(e.SelUnderline())
            + tri(e.SelAlignment()) + tri(e.SelBullet()) + u' ';
        for (const char* k :
            { "Bold", "Italic", "Underline", "Align Left", "Center", "Align Right", "Bullet" })
            s += QString::number(button(k)->Value());
        s += QStringLiteral(" %1 ").arg(w.chkBullet);
        for (const char* key : { "Cut", "Copy" })
            s += QString::number(button(key)->Enabled())
                + QString::number(item((std::string("mnu") + key).c_str())->isEnabled());
        return s;
    };
    EXPECT_EQ(state(), u"00000 0001000 0 0000"); // as start-up leaves them
    EXPECT_EQ(e.BulletIndent(), 250.f);
    e.setText(QStringLiteral("plain bold under slant\ntwo\nthree"));
    select(6, 4);
    e.setSelBold(true);
    select(11, 5);
    e.setSelUnderline(true);
    select(17, 5);
    e.setSelItalic(true);
    select(0, 0);
    e.setSelBullet(true);
    ASSERT_TRUE(e.setSelAlignment(2));
    select(24, 0);
    ASSERT_TRUE(e.setSelAlignment(1));
    // A selection as start+length, or a button pressed, and the state after it.
    const std::pair<const char*, const char*> steps[] = { { "2+0", "00021 0000101 1 0000" },
        { "8+0", "10021 1000101 1 0000" }, { "6+4", "10021 1000101 1 1111" },
        { "4+4", "?0021 0000101 1 1111" }, { "28+2", "00000 0001000 0 1111" },
        { "23+9", "000?0 0000000 0 1111" }, { "22+1", "01021 0100101 1 1111" },
        { "6+10", "?0?21 0000101 1 1111" }, { "Bold", "?0?21 0000101 1 1111" },
        { "Underline", "?0?21 0000101 1 1111" }, { "6+4", "10021 1000101 1 1111" },
        { "Bold", "00021 0000101 1 1111" }, { "Bold", "10021 1000101 1 1111" },
        { "17+5", "01021 0100101 1 1111" }, { "Italic", "00021 0000101 1 1111" },
        { "0+5", "00021 0000101 1 1111" }, { "Underline", "00121 0010101 1 1111" },
        { "24+0", "00010 0000010 0 0000" }, { "Align Right", "00010 0000010 0 0000" },
        { "Center", "00020 0000100 0 0000" }, { "Center", "00020 0000100 0 0000" },
        { "Align Left", "00000 0001000 0 0000" }, { "0+26", "?0??? 0000000 2 1111" },
        { "Bullet", "?0??0 0000000 2 1111" }, { "Bullet", "?0??1 0000001 0 1111" } };
    for (const auto& [step, after] : steps) {
        run(step);
        EXPECT_EQ(state(), QLatin1String(after)) << step;
    }
}

// At the window's designed size all 25 entries fit one row; on a narrower window the toolbar grows
// more rows, every button inside it and none over another, and the editor fills the rest.
TEST_F(ToolbarTest, RowsFlatLookAndHiding)
{
    frmNotes& w = start();
    const QList<ToolbarButton*> all = w.Toolbar->findChildren<ToolbarButton*>();
    for (ToolbarButton* b : all)
        EXPECT_EQ(b->y(), all.first()->y()) << b->Key().toStdString();
    EXPECT_LE(w.Toolbar->strip()->items().last()->geometry().right(), w.Toolbar->width());
    const int oneRow = w.Toolbar->height();
    for (const int width : { 400, 200, 120 }) {
        SCOPED_TRACE(width);
        w.resize(width, 300);
        const int band = w.Toolbar->height();
        const QRect client = w.centralWidget()->rect();
        EXPECT_GT(band, oneRow);
        EXPECT_EQ(w.Toolbar->geometry(), QRect(0, 0, client.width(), band));
        EXPECT_EQ(w.rtfNotes->geometry(), client.adjusted(0, band, 0, 0));
        for (ToolbarButton* b : all) {
            const QRect inToolbar(b->mapTo(w.Toolbar, QPoint(0, 0)), b->size());
            EXPECT_TRUE(w.Toolbar->rect().contains(inToolbar) && b->isVisible())
                << b->Key().toStdString();
            for (ToolbarButton* other : all)
                EXPECT_TRUE(b == other || !b->geometry().intersects(other->geometry()));
        }
    }
    w.resize(800, 400);
    EXPECT_EQ(w.Toolbar->height(), oneRow);

    // Flat off and on again restores the look. Hiding moves the editor up into the band and
    // outlives a restart; a hidden toolbar still gets the flat look, so that it shows flat later.
    for (const bool flat : { false, true }) {
        item("mnuFlatTool")->trigger();
        EXPECT_EQ(w.Toolbar->strip()->styleBits(), flat ? ToolbarWindow::TBSTYLE_FLAT : 0u);
        for (ToolbarButton* b : all)
            EXPECT_EQ(b->autoRaise(), flat) << b->Key().toStdString();
    }
    for (const bool shown : { false, true, false }) {
        item("mnuToolbar")->trigger();
        EXPECT_EQ(w.Toolbar->isVisible(), shown);
        EXPECT_EQ(w.rtfNotes->geometry().top(), shown ? w.Toolbar->height() : 0);
    }
    EXPECT_EQ(w.rtfNotes->geometry(), w.centralWidget()->rect());
    restartWith();
    EXPECT_TRUE(!checked("mnuToolbar") && window->Toolbar->isHidden());
    EXPECT_EQ(window->Toolbar->strip()->styleBits(), ToolbarWindow::TBSTYLE_FLAT);
    item("mnuToolbar")->trigger();
    EXPECT_TRUE(button("Bold")->autoRaise());
}

} // namespace
} // namespace penwick::test
