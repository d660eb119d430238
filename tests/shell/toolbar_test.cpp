// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/observed.h"
#include "harness/programtest.h"
#include "platform/richtextbox.h"
#include "platform/toolbarstyle.h"
#include "shell/toolbar.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

namespace penwick::test {
namespace {

class ToolbarTest : public ProgramTest
{
protected:
    ToolbarButton* button(const char* key) const
    {
        ToolbarButton* b = window->Toolbar->Buttons(QLatin1String(key));
        EXPECT_NE(b, nullptr) << key;
        return b;
    }
    void click(const char* key) const { QTest::mouseClick(button(key), Qt::LeftButton); }
    void select(int start, int length) const
    {
        window->rtfNotes->setSelStart(start);
        window->rtfNotes->setSelLength(length);
    }
    // Selects "start+length", or presses the button named.
    void run(const char* step) const
    {
        const QStringList at = QString::fromLatin1(step).split(u'+');
        at.size() == 2 ? select(at[0].toInt(), at[1].toInt()) : click(step);
    }
    QList<ToolbarButton*> buttons() const
    {
        return window->Toolbar->findChildren<ToolbarButton*>();
    }
};

// Every button shows a drawing (ours where the desktop theme has none) and its tooltip.
TEST_F(ToolbarTest, EntriesImagesAndTooltips)
{
    frmNotes& w = start();
    QStringList entries;
    for (QWidget* item : w.Toolbar->strip()->items()) {
        const auto* b = qobject_cast<ToolbarButton*>(item);
        entries << (b ? b->Key() + u'=' + b->ToolTip() : QStringLiteral("|"));
        if (!b)
            continue;
        const QImage alpha
            = b->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_Alpha8);
        const uchar* bits = alpha.constBits();
        EXPECT_GT(std::count_if(bits, bits + alpha.sizeInBytes(), [](uchar a) { return a > 128; }),
            16 * 16 / 10)
            << b->Key().toStdString();
    }
    EXPECT_EQ(entries.join(u','),
        u"|,Save=Save (CTRL + S),SaveAs=Save As...,|,Cut=Cut (CTRL + X),Copy=Copy (CTRL + C),"
        "Paste=Paste (CTRL + V),|,Find=Find (CTRL + F),|,Print=Print (CTRL + P),|,"
        "FontUp=Font Up (F3),FontDown=Font Down (F2),|,Bold=Bold (CTRL + B),"
        "Italic=Italic (CTRL + I),Underline=Underline (CTRL + U),|,Align Left=Left Justify (F5),"
        "Center=Center (F6),Align Right=Right Justify (F7),|,Bullet=Bullets  (ALT + Backspace),|");
}

// Buttons run their commands: each does what its menu item does, seen by its effect. SaveAs pops
// up the Export menu under the mouse; choosing from it is the menu's own business.
TEST_F(ToolbarTest, CommandButtonsRunTheirCommands)
{
    frmNotes& w = start();
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
    QObject::disconnect(item("mnuFind"), &QAction::triggered, nullptr, nullptr);
    QSignalSpy find(item("mnuFind"), &QAction::triggered);
    click("Find");
    EXPECT_EQ(find.count(), 1);
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
        { "8+0", "10021 1000101 1 0000" }, { "13+0", "00121 0010101 1 0000" },
        { "20+0", "01021 0100101 1 0000" }, { "6+4", "10021 1000101 1 1111" },
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

// Flat off and on again restores the look. Hiding moves the editor up into the band and outlives
// a restart; a hidden toolbar still gets the flat look, so that it shows flat later.
TEST_F(ToolbarTest, HidingPersists)
{
    frmNotes& w = start();
    for (const bool flat : { false, true }) {
        item("mnuFlatTool")->trigger();
        EXPECT_EQ(checked("mnuFlatTool"), flat);
        EXPECT_EQ(w.Toolbar->strip()->styleBits(), flat ? ToolbarWindow::TBSTYLE_FLAT : 0u);
        for (ToolbarButton* b : buttons())
            EXPECT_EQ(b->autoRaise(), flat) << b->Key().toStdString();
    }
    for (const bool shown : { false, true, false }) {
        item("mnuToolbar")->trigger();
        EXPECT_EQ(checked("mnuToolbar"), shown);
        EXPECT_EQ(w.Toolbar->isVisible(), shown);
        EXPECT_EQ(w.rtfNotes->geometry().top(), shown ? w.Toolbar->height() : 0);
    }
    EXPECT_EQ(w.rtfNotes->geometry(), w.centralWidget()->rect());
    restartWith();
    EXPECT_FALSE(checked("mnuToolbar"));
    EXPECT_TRUE(window->Toolbar->isHidden());
    EXPECT_EQ(window->Toolbar->strip()->styleBits(), ToolbarWindow::TBSTYLE_FLAT);
    item("mnuToolbar")->trigger();
    EXPECT_TRUE(button("Bold")->autoRaise());
}

// At the window's designed size all 25 entries fit one row; on a narrower window the toolbar grows
// more rows, every button inside it and none over another, and the editor fills the rest.
TEST_F(ToolbarTest, OneRowAtTheDesignedSizeMoreOnANarrowWindow)
{
    frmNotes& w = start();
    const QList<ToolbarButton*> all = buttons();
    ASSERT_EQ(all.size(), 16);
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
}

} // namespace
} // namespace penwick::test
