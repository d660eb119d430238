// SPDX-License-Identifier: GPL-2.0-or-later
#include "autosave/frmauto.h"
#include "harness/programtest.h"
#include "platform/atomicfile.h"
#include "platform/richtextbox.h"
#include "platform/twips.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cerrno>

namespace penwick::test {
namespace {

using AutoSave = ProgramTest;

TEST(AutoSaveMinutes, EveryTextStandsForAWholeNumberFrom1To255)
{
    const std::pair<const char*, int> cases[]
        = { { "10", 10 }, { "05", 5 }, { " 7 ", 7 }, { "255", 255 }, { "256", 255 },
              { "99999999999999999999", 255 }, { "-99999999999999999999", 1 }, { "0", 1 },
              { "00", 1 }, { "-3", 1 }, { "", 10 }, { "ab", 10 }, { "1.5", 10 }, { "+", 10 } };
    for (const auto& [text, minutes] : cases)
        EXPECT_EQ(autoSaveMinutesOf(QLatin1String(text)), minutes) << text;
}

// The dialog as designed: caption, fixed size, captions; the minutes box; Cancel.
TEST_F(AutoSave, TheDialogTheMinutesBoxAndCancel)
{
    frmNotes& w = start();
    frmAuto& d = w.autoSaveDialog();
    const Twips t = Twips::forScreenOf(&w);
    EXPECT_EQ(std::pair(d.minimumSize(), d.maximumSize()),
        std::pair(QSize(*t.toPixelsX(3285), *t.toPixelsY(1560)), d.minimumSize()));
    EXPECT_FALSE(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(QStringList({ d.windowTitle(), d.chkAuto->text(), d.Label1->text(), d.txtAuto->text(),
                              d.Label2->text(), d.cmdOkay->text(), d.cmdCancel->text() })
                  .join(u'|'),
        u"Auto Save|Enabled|Auto Save notes every:|10|minutes.|Okay|Cancel");
    EXPECT_EQ(QList({ d.VScroll1->minimum(), d.VScroll1->maximum(), d.VScroll1->value() }),
        QList({ 1, 99, 10 }));
    EXPECT_FALSE(d.txtAuto->isEnabled() || d.VScroll1->isEnabled());
    d.chkAuto->click();
    // The tab order; Enter and Escape in the box press neither button.
    d.show();
    QApplication::setActiveWindow(&d);
    d.txtAuto->setFocus();
    QStringList order;
    for (int i = 0; i < 5; ++i, press("Tab"))
        order << QApplication::focusWidget()->objectName();
    press("Return, Escape", d.txtAuto);
    EXPECT_EQ(order.join(u' ') + u' ' + QString::number(d.isVisible()),
        u"txtAuto cmdCancel chkAuto cmdOkay VScroll1 1");

    // Typing, the arrow keys and the scroll bar move together; the number always ends up from 1 to
    // 255 (one over 99 leaves the scroll bar where it was); at most two characters are typed. The
    // text and the keys typed at its end, the text and the scroll bar after them.
    const std::tuple<const char*, const char*, const char*, int> cases[]
        = { { "", "0", "1", 1 }, { "5", "Up", "6", 6 }, { "255", "Up, Up", "255", 6 },
              { "ab", "Down", "9", 9 }, { "4", "2, 7", "42", 42 } };
    for (const auto& [before, keys, text, scroll] : cases) {
        d.txtAuto->setText(QLatin1String(before));
        d.txtAuto->end(false);
        press(keys, d.txtAuto);
        EXPECT_EQ(d.txtAuto->text() + u' ' + QString::number(d.VScroll1->value()),
            QStringLiteral("%1 %2").arg(QLatin1String(text)).arg(scroll))
            << before << '+' << keys;
    }
    d.VScroll1->setValue(30);
    EXPECT_EQ(d.txtAuto->text(), u"30");

    // Cancel, or the close box, brings the stored choice back; a box cleared and left open over a
    // tick stops the timer. Minutes stored out of range are shown as used.
    frmNotes& v = restartWith(
        { { "AutoSave", QStringLiteral("1") }, { "AutoSaveText", QStringLiteral("300") } });
    frmAuto& c = v.autoSaveDialog();
    env.settings->writes.clear();
    EXPECT_EQ(c.txtAuto->text() + u' ' + QString::number(v.Module.AutoSaveMinutes), u"255 255");
    for (const bool closeBox : { false, true }) {
        c.chkAuto->click();
        EXPECT_TRUE(!checked("mnuAutoSave") && v.tmrAuto->isActive());
        c.show();
        closeBox ? (void)c.close() : c.cmdCancel->click();
        EXPECT_TRUE(c.chkAuto->isChecked() && checked("mnuAutoSave") && v.tmrAuto->isActive());
    }
    c.chkAuto->click();
    v.tmrAuto_Timer();
    EXPECT_TRUE(!v.tmrAuto->isActive() && env.settings->writes.empty());
}

// Okay stores the choice and starts the count: with 3 minutes the note is saved at the 3rd,
// 6th ... tick; after a start with the same choice stored, at the 4th, then every 3rd.
TEST_F(AutoSave, OkayStoresTheChoiceAndTicksSaveEveryNthMinute)
{
    frmNotes& w = start();
    EXPECT_FALSE(w.tmrAuto->isActive() || checked("mnuAutoSave"));
    QTimer::singleShot(0, &w, [&] {
        frmAuto& d = w.autoSaveDialog();
        d.chkAuto->click();
        d.txtAuto->setText(QStringLiteral("3"));
        d.cmdOkay->click();
    });
    w.mnuAutoSave_Click();
    EXPECT_FALSE(w.autoSaveDialogLoaded());
    EXPECT_EQ(env.settings->writes,
        (std::vector<std::pair<QString, QString>> {
            { "AutoSave", "1" }, { "AutoSaveText", "3" } }));
    EXPECT_TRUE(w.tmrAuto->isActive() && checked("mnuAutoSave") && w.tmrAuto->interval() == 60000);

    const auto ticks = [&](int count) {
        QString saves;
        for (int tick = 1; tick <= count; ++tick) {
            window->rtfNotes->setText(QString::number(tick));
            window->tmrAuto_Timer();
            window->finishSaving();
            if (noteText(env.notePath()) == QString::number(tick))
                saves += QString::number(tick) + u' ';
        }
        return saves;
    };
    EXPECT_EQ(ticks(7), u"3 6 ");
    restartWith();
    EXPECT_TRUE(window->tmrAuto->isActive());
    EXPECT_EQ(ticks(10), u"4 7 10 ");

    // A tick that finds the note as saved writes nothing.
    window->tmrAuto_Timer();
    window->tmrAuto_Timer();
    QFile::remove(env.notePath());
    window->tmrAuto_Timer();
    window->finishSaving();
    EXPECT_FALSE(QFile::exists(env.notePath()));
}

// A failing auto-save says so once and tries again every tick; after a save that works, a new
// failure says so again. The note is never lost.
TEST_F(AutoSave, AFailingAutoSaveSaysSoOnceAndKeepsTrying)
{
    env.store({ { "AutoSave", QStringLiteral("1") }, { "AutoSaveText", QStringLiteral("2") } });
    frmNotes& w = start();
    std::optional<FailNoteWrites> full; // writing the note fails, as on a full disk
    // Each tick (a save every 2nd, from the 3rd): the text typed before it, ':' when the disk
    // has room and '!' when it is full, the text in the file after it ('-' for none), and the
    // messages shown so far. The save at e fails and says so; f and g try again silently, h works;
    // the save at k fails after one that worked and says so again.
    const QString ticks = QStringLiteral("a:-0 b:-0 c:c0 d!c0 e!c1 f!c1 g!c1 h:h1 i:i1 j!i1 k!i2");
    for (const QString& tick : ticks.split(u' ')) {
        SCOPED_TRACE(tick.toStdString());
        tick[1] == u'!' ? void(full.emplace(ENOSPC)) : full.reset();
        const size_t told = tick[3].digitValue();
        if (told > env.prompter->shown().size())
            env.prompter->expectMsgBox();
        w.rtfNotes->setText(tick.left(1));
        w.tmrAuto_Timer();
        w.finishSaving();
        EXPECT_EQ(noteText(env.notePath()), tick.mid(2, 1));
        EXPECT_EQ(env.prompter->shown().size(), told);
    }
    full.reset();
    EXPECT_TRUE(env.prompter->shown().back().prompt.contains(QLatin1String("No space left")));
    EXPECT_EQ(w.rtfNotes->Text(), u"k");
}

// An edit made while a long note is saved is in that save (made before the part written, the
// save starts over) or in the next one. Closing in the middle of a save leaves the latest text.
TEST_F(AutoSave, EditsDuringASaveAreNeverLost)
{
    env.store({ { "AutoSave", QStringLiteral("1") }, { "AutoSaveText", QStringLiteral("1") } });
    frmNotes& w = start();
    RichTextBox& e = *w.rtfNotes;
    e.setText(QStringLiteral("a line of the note\n").repeated(40000));
    w.mnuSave_Click();
    QTextCursor(e.document()).insertText(QStringLiteral("first "));
    w.finishSaving();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    w.tmrAuto_Timer();
    w.finishSaving();
    EXPECT_TRUE(noteText(env.notePath()).startsWith(u"first a line"));

    w.mnuSave_Click();
    QTextCursor(e.document()).insertText(QStringLiteral("second "));
    closeWindow();
    EXPECT_TRUE(noteText(env.notePath()).startsWith(u"second first a line"));
}

} // namespace
} // namespace penwick::test
