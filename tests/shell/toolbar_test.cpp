// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/programtest.h"
#include "platform/richtextbox.h"
#include "platform/toolbarstyle.h"
#include "shell/toolbar.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTest>

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
    QList<ToolbarButton*> buttons() const
    {
        return window->Toolbar->findChildren<ToolbarButton*>();
    }
};

TEST_F(ToolbarTest, EntriesImagesAndTooltips)
{
    frmNotes& w = start();
    QStringList entries;
    for (QWidget* item : w.Toolbar->strip()->items()) {
        const auto* b = qobject_cast<ToolbarButton*>(item);
        entries << (b ? b->Key() + u'=' + b->ToolTip() : QStringLiteral("|"));
    }
    EXPECT_EQ(entries.join(u','),
        u"|,Save=Save (CTRL + S),SaveAs=Save As...,|,Cut=Cut (CTRL + X),Copy=Copy (CTRL + C),"
        "Paste=Paste (CTRL + V),|,Find=Find (CTRL + F),|,Print=Print (CTRL + P),|,"
        "FontUp=Font Up (F3),FontDown=Font Down (F2),|,Bold=Bold (CTRL + B),"
        "Italic=Italic (CTRL + I),Underline=Underline (CTRL + U),|,Align Left=Left Justify (F5),"
        "Center=Center (F6),Align Right=Right Justify (F7),|,Bullet=Bullets  (ALT + Backspace),|");

    // Each button shows the picture stored under its own key.
    for (ToolbarButton* b : buttons()) {
        const ListImage* image = w.imlToolbarIcons->ListImages(b->Image());
        ASSERT_NE(image, nullptr) << b->Key().toStdString();
        EXPECT_EQ(image->Key, b->Key());
        EXPECT_FALSE(b->icon().isNull()) << b->Key().toStdString();
    }
}

// Our own drawings stand in wherever the desktop theme has no icon: each must load and draw.
TEST_F(ToolbarTest, EveryImageHasADrawingOfItsOwn)
{
    for (const ImageRow& row : toolbarImageRows()) {
        QSvgRenderer svg(QStringLiteral(":/penwick/icons/") + QLatin1String(row.file));
        ASSERT_TRUE(svg.isValid()) << row.file;
        EXPECT_EQ(svg.viewBox(), QRect(0, 0, 16, 16)) << row.file;
        QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        svg.render(&painter);
        painter.end();
        int inked = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                inked += qAlpha(image.pixel(x, y)) > 128;
        EXPECT_GT(inked, 16 * 16 / 10) << row.file;
    }
}

// Buttons run their commands: each does what its menu item does, once.
TEST_F(ToolbarTest, CommandButtonsRunTheirCommands)
{
    frmNotes& w = start();
    RichTextBox& e = *w.rtfNotes;
    e.setText(QStringLiteral("some text"));
    select(0, 5);
    click("Copy");
    EXPECT_EQ(QApplication::clipboard()->text(), u"some ");
    click("Cut");
    EXPECT_EQ(e.Text(), u"text");
    select(4, 0);
    click("Paste");
    EXPECT_EQ(e.Text(), u"textsome ");

    select(0, 4);
    ASSERT_TRUE(e.setSelFontSize(10));
    click("FontUp");
    EXPECT_EQ(e.SelFontSize(), std::optional<float>(12));
    click("FontDown");
    EXPECT_EQ(e.SelFontSize(), std::optional<float>(10));

    // Find and Print run their menu items, once.
    for (const char* name : { "mnuFind", "mnuPrint" }) {
        QObject::disconnect(item(name), &QAction::triggered, nullptr, nullptr);
        QSignalSpy spy(item(name), &QAction::triggered);
        click(name == std::string_view("mnuFind") ? "Find" : "Print");
        EXPECT_EQ(spy.count(), 1) << name;
    }
    // Keys are compared exactly.
    for (const char* key : { "bold", "Bold ", "SAVE", "Align left", "" }) {
        ToolbarButton stranger(QLatin1String(key), ButtonStyle::Check);
        w.Toolbar_ButtonClick(&stranger);
        EXPECT_EQ(e.SelBold(), false) << key;
        EXPECT_EQ(e.SelAlignment(), 0) << key;
    }
    w.Toolbar_ButtonClick(nullptr);
    ASSERT_FALSE(QFile::exists(env.notePath()));
    click("Save");
    w.finishSaving();
    EXPECT_TRUE(QFile::exists(env.notePath()));
}

// Choosing from the popup is the menu's own business.
TEST_F(ToolbarTest, SaveAsPopsUpTheExportMenuUnderTheMouse)
{
    start();
    const QPoint mouse(120, 90);
    QCursor::setPos(mouse);
    click("SaveAs");
    QMenu* exportMenu = window->menuOf(QStringLiteral("mnuExport"));
    ASSERT_EQ(QApplication::activePopupWidget(), exportMenu);
    EXPECT_EQ(exportMenu->pos(), mouse);
    exportMenu->close();
}

// Bold, Italic and Underline write the negation and show what the editor then reports; a mixed
// selection stays as it is and shows the button up. (The toolbar has its own copy of the rule.)
TEST_F(ToolbarTest, StyleButtonsToggleAndShowTheRereadState)
{
    const std::tuple<const char*, TriState (RichTextBox::*)() const,
        void (RichTextBox::*)(TriState)>
        styles[] = { { "Bold", &RichTextBox::SelBold, &RichTextBox::setSelBold },
            { "Italic", &RichTextBox::SelItalic, &RichTextBox::setSelItalic },
            { "Underline", &RichTextBox::SelUnderline, &RichTextBox::setSelUnderline } };
    RichTextBox& e = *start().rtfNotes;
    e.setText(QStringLiteral("alpha beta"));
    for (const auto& [key, get, set] : styles) {
        for (const TriState after : { TriState(true), TriState(false), TriState() }) {
            if (after == std::nullopt) {
                select(0, 5);
                (e.*set)(true);
            }
            select(0, 10);
            click(key);
            EXPECT_EQ((e.*get)(), after) << key;
            EXPECT_EQ(button(key)->Value(), int(after == true)) << key;
        }
    }
}

// The alignment buttons are one group and, unlike the menu items, a second press does not
// toggle back. The bullet command decides what happens; the button shows whether all is
// bulleted.
TEST_F(ToolbarTest, ParagraphButtonsShowTheirState)
{
    RichTextBox& e = *start().rtfNotes;
    e.setText(QStringLiteral("one\ntwo"));
    const std::tuple<const char*, int, const char*> steps[] = { { "Align Right", 1, "001" },
        { "Center", 2, "010" }, { "Center", 2, "010" }, { "Align Left", 0, "100" } };
    for (const auto& [key, alignment, shown] : steps) {
        click(key);
        EXPECT_EQ(e.SelAlignment(), alignment) << key;
        QString group;
        for (const char* k : { "Align Left", "Center", "Align Right" })
            group += QString::number(button(k)->Value());
        EXPECT_EQ(group, QLatin1String(shown)) << key;
    }
    e.setSelBullet(true);
    select(0, 7);
    for (const int shown : { 0, 1 }) { // mixed: off; none: on
        click("Bullet");
        EXPECT_EQ(button("Bullet")->Value(), shown);
    }
}

// The menu item hides and shows the toolbar (the editor's place is the layout's), and the choice
// outlives a restart. A hidden toolbar still gets the flat look, so that it shows flat later.
TEST_F(ToolbarTest, HidingPersists)
{
    start();
    for (const bool shown : { false, true, false }) {
        item("mnuToolbar")->trigger();
        EXPECT_EQ(checked("mnuToolbar"), shown);
        EXPECT_EQ(window->Toolbar->isVisible(), shown);
    }
    restartWith();
    EXPECT_FALSE(checked("mnuToolbar"));
    EXPECT_TRUE(window->Toolbar->isHidden());
    EXPECT_EQ(window->Toolbar->strip()->styleBits(), ToolbarWindow::TBSTYLE_FLAT);
    item("mnuToolbar")->trigger();
    EXPECT_TRUE(button("Bold")->autoRaise());
}

// At the window's designed size all 25 entries fit one row; on a narrower window the toolbar grows
// more rows and every button stays inside it.
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
        w.resize(width, 400);
        const int band = w.Toolbar->height();
        EXPECT_GT(band, oneRow);
        EXPECT_EQ(w.rtfNotes->geometry().top(), band); // the editor sits below every row
        for (ToolbarButton* b : all) {
            const QRect inToolbar(b->mapTo(w.Toolbar, QPoint(0, 0)), b->size());
            EXPECT_TRUE(w.Toolbar->rect().contains(inToolbar) && b->isVisible())
                << b->Key().toStdString();
            for (ToolbarButton* other : all)
                EXPECT_TRUE(b == other || !b->geometry().intersects(other->geometry()))
                    << b->Key().toStdString();
        }
    }
    w.resize(800, 400);
    EXPECT_EQ(w.Toolbar->height(), oneRow);
}

// Off and on again, the flat look comes back as it was.
TEST_F(ToolbarTest, FlatToggledTwiceRestoresTheLook)
{
    frmNotes& w = start();
    const auto look = [&] {
        QString s = QString::number(w.Toolbar->strip()->styleBits(), 16);
        for (ToolbarButton* b : buttons())
            s += QStringLiteral("%1%2").arg(b->autoRaise()).arg(b->toolButtonStyle());
        return s;
    };
    const QString flat = look();
    item("mnuFlatTool")->trigger();
    EXPECT_FALSE(checked("mnuFlatTool"));
    EXPECT_EQ(w.Toolbar->strip()->styleBits(), 0u);
    EXPECT_FALSE(button("Save")->autoRaise());
    item("mnuFlatTool")->trigger();
    EXPECT_EQ(look(), flat);
}

} // namespace
} // namespace penwick::test
