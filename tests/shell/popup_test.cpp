// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/observed.h"
#include "harness/programtest.h"
#include "platform/twips.h"
#include "shell/frmabout.h"
#include "shell/frmmenu.h"
#include "shell/popuptable.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
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

TEST_F(Popup, TreeStatesRightPressAndOwnHandlers)
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

    // A right press, whatever modifiers are held, opens it with its left edge at the pointer and
    // leaves the selection alone; left and middle presses do not open it.
    w.move(0, 0);
    w.rtfNotes->setText(QStringLiteral("one two three"));
    select(4, 3);
    QWidget* surface = w.rtfNotes->viewport();
    const auto all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    QTest::mousePress(surface, Qt::RightButton, all, QPoint(40, 12));
    ASSERT_EQ(QApplication::activePopupWidget(), popup());
    EXPECT_EQ(popup()->pos(), surface->mapToGlobal(QPoint(40, 12)));
    popup()->close();
    EXPECT_EQ(w.rtfNotes->SelText(), u"two");
    for (const Qt::MouseButton button : { Qt::LeftButton, Qt::MiddleButton }) {
        QTest::mouseClick(surface, button, {}, QPoint(40, 12));
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << button;
    }

    // Unlike the menu bar's, the popup's alignment is set every time; opening Insert or Time / Date
    // refreshes the popup's own stamps and hands the keys back to the note.
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

class About : public ProgramTest
{
protected:
    // Shown without a loop of its own, so that the test can press keys in it.
    frmAbout& open(const MakerAddresses& with)
    {
        box = std::make_unique<frmAbout>(*window, with);
        box->show();
        QApplication::setActiveWindow(box.get());
        return *box;
    }
    QString readme(const QString& folder)
    {
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/Readme.txt"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return QFileInfo(file).absoluteFilePath();
    }
    QString lastPrompt() const { return env.prompter->shown().back().prompt; }
    std::unique_ptr<frmAbout> box;
};

TEST_F(About, TheBoxItsLinksKeysCommandAndReadme)
{
    frmNotes& w = start();
    frmAbout& b
        = open({ "www.example.org", "example.net", "notes@example.org", "help@example.org" });
    const Twips t = Twips::forScreenOf(&w);
    const auto px = [&](int left, int top, int width, int height) {
        return QRect(
            *t.toPixelsX(left), *t.toPixelsY(top), *t.toPixelsX(width), *t.toPixelsY(height));
    };
    EXPECT_EQ(std::pair(b.minimumSize(), b.maximumSize()),
        std::pair(px(0, 0, 4605, 2970).size(), px(0, 0, 4605, 2970).size()));
    EXPECT_EQ(b.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint),
        Qt::WindowCloseButtonHint);
    EXPECT_EQ(b.windowIcon().cacheKey(), w.windowIcon().cacheKey());
    EXPECT_LE((b.frameGeometry().center() - w.frameGeometry().center()).manhattanLength(), 1);
    // Every control at its designed place; labels keep theirs and are never cut short.
    const std::pair<QWidget*, QRect> boxes[] = { { b.picIcon, px(105, 75, 480, 480) },
        { b.Frame2, px(30, 600, 4545, 975) }, { b.Frame1, px(30, 1620, 3465, 855) },
        { b.cmdRead, px(3600, 1725, 915, 345) }, { b.cmdClose, px(3600, 2115, 915, 345) } };
    for (const auto& [control, designed] : boxes)
        EXPECT_EQ(control->geometry(), designed) << control->objectName().toStdString();
    QStringList texts { b.windowTitle(), b.Frame2->title(), b.Frame1->title(), b.cmdRead->text(),
        b.cmdClose->text() };
    const std::pair<QLabel*, QRect> labels[]
        = { { b.Label1, px(840, 45, 2895, 555) }, { b.Label[3], px(240, 330, 705, 195) },
              { b.lblWeb, px(1125, 330, 1860, 195) }, { b.Label[5], px(240, 630, 465, 195) },
              { b.lblEmail, px(1125, 630, 1455, 195) }, { b.Label[0], px(240, 255, 1380, 195) },
              { b.Label[1], px(240, 540, 2115, 195) }, { b.Label[2], px(705, 2520, 3195, 405) } };
    for (const auto& [label, designed] : labels) {
        texts << label->text();
        EXPECT_TRUE(
            label->pos() == designed.topLeft() && label->width() >= label->sizeHint().width())
            << label->text().toStdString();
    }
    EXPECT_EQ(texts.join(u'|'),
        u"About Penwick|Support Information|Version Information|&Readme|&Close|Penwick 4.0|"
        "Web Site:|www.example.org|E-mail:|notes@example.org|Version:             4.0|"
        "Build Date:        April 28, 2004|Written by the Penwick authors");
    EXPECT_EQ(b.Label1->font().pointSize(), 24);
    for (const LinkLabel* link : { b.lblWeb, b.lblEmail })
        EXPECT_TRUE(link->palette().color(QPalette::WindowText) == QColor(0, 0, 255)
            && link->font().underline() && link->cursor().hotSpot() == QPoint(13, 9));
    EXPECT_EQ(b.lblWeb->toolTip() + b.lblEmail->toolTip(), u"example.nethelp@example.org");

    // Enter presses the button with the focus, Close at first; Escape does nothing; links and the
    // read-me leave the box open.
    EXPECT_EQ(QApplication::focusWidget(), b.cmdClose);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(b.isVisible());
    env.shell->expectOpen();
    env.shell->expectOpen(false);
    env.prompter->expectMsgBox();
    QTest::mouseClick(b.lblWeb, Qt::LeftButton);
    QTest::mouseClick(b.lblEmail, Qt::LeftButton);
    EXPECT_EQ(env.shell->opened(),
        (std::vector<QUrl> { QUrl("http://www.example.org"), QUrl("mailto:notes@example.org") }));
    EXPECT_EQ(lastPrompt(),
        u"Could not open mailto:notes@example.org.\n"
        "The desktop has no program that opens it.");

    // The read-me: beside the program first, then the installed documentation, whose folder may
    // hold blanks.
    const QString docs = env.programFolder() + QStringLiteral("../share dir/doc");
    const QString here = env.programFolder();
    env.prompter->expectMsgBox();
    EXPECT_FALSE(openReadme(*env.shell, *env.prompter, nullptr, here, docs));
    EXPECT_EQ(lastPrompt(),
        "Readme.txt was not found. It was looked for in:\n" + here + "\n" + docs + "/");
    const QString installed = readme(docs);
    env.shell->expectOpen();
    EXPECT_TRUE(openReadme(*env.shell, *env.prompter, nullptr, here, docs));
    EXPECT_EQ(env.shell->opened().back().toLocalFile(), installed);
    const QString beside = readme(here);
    env.shell->expectOpen(false);
    env.prompter->expectMsgBox();
    EXPECT_FALSE(openReadme(*env.shell, *env.prompter, nullptr, here, docs));
    EXPECT_EQ(lastPrompt(),
        "Could not open " + beside + ".\nThe desktop has no program that shows text files.");

    env.shell->expectOpen();
    for (const bool open : { true, false }) {
        press("Tab, Return");
        EXPECT_EQ(b.isVisible(), open);
    }
    EXPECT_EQ(env.shell->opened().back(), QUrl::fromLocalFile(beside));

    // An address left out leaves out its row, and with neither, the frame.
    frmAbout& mailOnly = open({ {}, {}, "notes@example.org", {} });
    EXPECT_FALSE(mailOnly.lblWeb->isVisible() || mailOnly.Label[3]->isVisible());
    EXPECT_TRUE(mailOnly.lblEmail->isVisible() && mailOnly.Label[5]->isVisible());
    EXPECT_FALSE(open({}).Frame2->isVisible());

    // The command shows a modal box owned by the window (the on-top hand-over around it is
    // OnTop.ADialogTakesTheFlagWhileItIsOpen's); the close box closes it, and it is gone.
    box.reset();
    frmAbout* shown = nullptr;
    QTimer::singleShot(0, &w, [&] {
        shown = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->parentWidget(), &w);
        shown->close();
    });
    w.mnuAbout_Click();
    EXPECT_NE(shown, nullptr);
    EXPECT_TRUE(w.findChildren<frmAbout*>().isEmpty());
}

} // namespace
} // namespace penwick::test
