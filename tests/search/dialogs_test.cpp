// SPDX-License-Identifier: GPL-2.0-or-later
// The Find and Replace dialogs, driven by keys inside their own modal loops.
#include "harness/programtest.h"
#include "platform/richtextbox.h"
#include "search/frmfind.h"
#include "search/frmreplace.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace penwick::test {
namespace {

class SearchDialogs : public ProgramTest
{
protected:
    void SetUp() override
    {
        start();
        // Matches of "the" at 0, 9, 13 and 24; not in "other".
        e().setText(QStringLiteral("the cat: the the other. The end"));
        e().setSelStart(0);
    }
    RichTextBox& e() { return *window->rtfNotes; }

    // Opens a dialog with `open` and runs `steps` in it once it is shown; they must close it.
    template <typename D> void in(const std::function<void()>& open, std::function<void(D&)> steps)
    {
        QObject scope;
        bool shown = false;
        QTimer::singleShot(0, &scope, [&] {
            auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
            shown = d != nullptr;
            if (!d)
                return;
            QApplication::setActiveWindow(d);
            steps(*d);
            if (d->isVisible()) {
                ADD_FAILURE() << "the dialog was left open";
                d->reject();
            }
        });
        open();
        EXPECT_TRUE(shown) << D::staticMetaObject.className() << " not shown";
    }
    void inFind(std::function<void(frmFind&)> steps)
    {
        in<frmFind>([this] { window->mnuFind_Click(); }, std::move(steps));
    }
    // Presses keys where the focus is, as "Alt+U, Return".
    static void press(QWidget& d, const char* keys)
    {
        const QKeySequence sequence = QKeySequence::fromString(QLatin1String(keys));
        for (int i = 0; i < sequence.count(); ++i) {
            QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, sequence[i].key(),
                sequence[i].keyboardModifiers());
        }
    }
    // Where each Enter selects a match, and the message that ends the walk.
    QStringList walk(QWidget& d)
    {
        const size_t before = env.prompter->shown().size();
        env.prompter->expectMsgBox();
        QStringList found;
        while (found.size() < 10) {
            press(d, "Return");
            if (env.prompter->shown().size() > before)
                break;
            found << QStringLiteral("%1+%2").arg(e().SelStart()).arg(e().SelLength());
        }
        found << env.prompter->shown().back().prompt;
        return found;
    }
};

QString describe(const QWidget& w)
{
    const QRect r = w.geometry();
    QString caption;
    if (const auto* b = qobject_cast<const QAbstractButton*>(&w))
        caption = b->text();
    return QStringLiteral("%1 %2 %3,%4,%5,%6 %7")
        .arg(w.objectName(), caption)
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .arg(w.toolTip());
}

TEST_F(SearchDialogs, FindLooksAndAnswersKeysAsDesigned)
{
    QApplication::setActiveWindow(window.get());
    e().setFocus();
    in<frmFind>([&] { QTest::keyClick(&e(), Qt::Key_G, Qt::ControlModifier); },
        [&](frmFind& d) {
            EXPECT_EQ(d.windowTitle(), u"Find");
            EXPECT_EQ(d.minimumSize(), QSize(330, 68)); // 4950 by 1020 twips at 96 DPI
            EXPECT_EQ(d.maximumSize(), QSize(330, 68));
            EXPECT_FALSE(d.windowFlags() & (Qt::WindowMinMaxButtonsHint));
            EXPECT_TRUE(d.windowFlags() & Qt::WindowCloseButtonHint);
            EXPECT_LE((d.geometry().center() - window->geometry().center()).manhattanLength(), 2);
            QStringList controls;
            for (QWidget* w : std::initializer_list<QWidget*> { d.txtFind, d.chkCase,
                     d.optDirection[0], d.optDirection[1], d.cmdFind, d.cmdCancel })
                controls << describe(*w);
            EXPECT_EQ(controls.join(u'\n'),
                u"txtFind  59,5,191,20 \n"
                "chkCase Match &Case 8,34,89,33 Case Sensitivity\n"
                "optDirection0 &Up 8,15,36,17 Search to Beginning of Document\n"
                "optDirection1 &Down 47,15,51,17 Search to End of Document\n"
                "cmdFind &Find Next 255,5,71,22 Start Search\n"
                "cmdCancel Cancel 255,31,71,22 Return to Notepad");
            EXPECT_EQ(d.Frame1->geometry(), QRect(142, 28, 105, 38));
            EXPECT_EQ(d.Frame1->title(), u"Direction");
            EXPECT_EQ(d.Label->text(), u"Fi&nd what:");
            EXPECT_EQ(d.Label->pos(), QPoint(6, 9));
            EXPECT_LE(d.Label->geometry().right(), d.txtFind->x());

            // The box starts empty and focused, Find Next disabled until it holds text.
            EXPECT_EQ(d.focusWidget(), d.txtFind);
            EXPECT_FALSE(d.cmdFind->isEnabled());
            EXPECT_TRUE(d.cmdFind->isDefault());
            QTest::keyClicks(d.txtFind, QStringLiteral("The"));
            EXPECT_TRUE(d.cmdFind->isEnabled());
            QStringList order;
            do {
                press(d, "Tab");
                order << d.focusWidget()->objectName();
            } while (d.focusWidget() != d.txtFind && order.size() < 8);
            EXPECT_EQ(order.join(u' '), u"chkCase optDirection1 cmdFind cmdCancel txtFind");
            press(d, "Alt+C");
            EXPECT_TRUE(d.chkCase->isChecked());
            press(d, "Alt+N, Return"); // down from the caret, matching case
            EXPECT_EQ(e().SelStart(), 24);
            press(d, "Escape");
        });
    EXPECT_EQ(window->Module.LastSearchText, u"The");
    EXPECT_EQ(window->Module.MatchCaseValue, 1);
}

TEST_F(SearchDialogs, FindNextVisitsEveryMatchOnceInEitherDirection)
{
    inFind([&](frmFind& d) {
        QTest::keyClicks(d.txtFind, QStringLiteral("the"));
        EXPECT_EQ(walk(d).join(u' '), u"0+3 9+3 13+3 24+3 Word not found.");
        EXPECT_EQ(e().SelStart(), 24); // a failed search leaves the last match selected
        press(d, "Alt+U");
        EXPECT_EQ(walk(d).join(u' '), u"13+3 9+3 0+3 Word not found.");
        d.close();
    });
    const auto& message = env.prompter->shown().back();
    EXPECT_EQ(message.title, u"Penwick");
    EXPECT_EQ(message.icon, MsgIcon::None);
    inFind([&](frmFind& d) {
        EXPECT_TRUE(d.optDirection[0]->isChecked()); // opens with the direction chosen last
        d.close();
    });
}

TEST_F(SearchDialogs, WhatTheNextFindOpensWith)
{
    const struct
    {
        int start, length;
        const char* opensWith; // the box, and Match Case
        const char* typed;
        const char* keys;
        bool closeBox;
    } steps[] = {
        { 4, 3, "cat 0", "dog", "", true }, // the close box forgets what was typed
        { 9, 0, " 0", "end", "Alt+C", false }, // Escape keeps the text and Match Case
        { 10, 0, "end 1", "", "Alt+C", true }, // unticking counts at once
        { 0, 0, "end 0", "", "", false },
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.opensWith);
        e().setSelStart(step.start);
        e().setSelLength(step.length);
        inFind([&](frmFind& d) {
            EXPECT_EQ(d.txtFind->text() + u' ' + QString::number(d.chkCase->isChecked()),
                QLatin1String(step.opensWith));
            EXPECT_EQ(d.cmdFind->isEnabled(), !d.txtFind->text().isEmpty());
            QTest::keyClicks(d.txtFind, QLatin1String(step.typed));
            press(d, step.keys);
            if (step.closeBox)
                d.close();
            else
                press(d, "Escape");
        });
    }
}

TEST_F(SearchDialogs, FindNextKeyRepeatsTheLastSearch)
{
    // Before any search it asks what to search for; pressing Find Next is enough to remember it.
    in<frmFind>([&] { window->mnuFindAgain_Click(); },
        [&](frmFind& d) {
            QTest::keyClicks(d.txtFind, QStringLiteral("the"));
            press(d, "Return");
            d.close();
        });
    EXPECT_EQ(e().SelStart(), 0);
    e().setSelStart(4);
    e().setSelLength(8); // "cat: the": on from its end
    QStringList found;
    for (int i = 0; i < 2; ++i) {
        window->mnuFindAgain_Click();
        found << QStringLiteral("%1+%2").arg(e().SelStart()).arg(e().SelLength());
    }
    env.prompter->expectMsgBox();
    window->mnuFindAgain_Click();
    EXPECT_EQ(found.join(u' '), u"13+3 24+3");
    EXPECT_EQ(env.prompter->shown().back().prompt, u"Word not found.");
}

TEST_F(SearchDialogs, ReplaceReplacesTheMatchInViewAndMovesOn)
{
    e().setSelStart(24);
    e().setSelLength(1);
    e().setSelBold(true); // the "T" of "The"
    e().setSelStart(0);
    in<frmReplace>([&] { window->mnuReplace_Click(); },
        [&](frmReplace& d) {
            QStringList captions;
            for (QWidget* w : d.findChildren<QWidget*>()) {
                if (auto* label = qobject_cast<QLabel*>(w))
                    captions << label->text();
                else if (auto* button = qobject_cast<QAbstractButton*>(w))
                    captions << button->text() + (button->isEnabled() ? "" : "(off)")
                            + (button->isChecked() ? "(on)" : "");
            }
            EXPECT_EQ(captions.join(u'|'),
                u"Fi&nd what:|Re&place with:|Match &Case|&Whole word only(on)|&Find Next(off)|"
                "&Replace(off)|Replace &All(off)|Cancel");
            EXPECT_EQ(d.windowTitle(), u"Replace");
            EXPECT_LE(d.lblReplace->geometry().right(), d.txtReplace->x());
            QTest::keyClicks(d.txtFind, QStringLiteral("the"));
            press(d, "Alt+P");
            QTest::keyClicks(d.txtReplace, QStringLiteral("a"));
            press(d, "Alt+R"); // nothing selected: finds the first
            EXPECT_EQ(e().SelText(), u"the");
            env.prompter->expectMsgBox();
            press(d, "Alt+R, Alt+R, Alt+R, Alt+R");
            press(d, "Escape");
        });
    EXPECT_EQ(e().Text(), u"a cat: a a other. a end");
    EXPECT_EQ(env.prompter->shown().back().prompt, u"Word not found.");
    e().setSelStart(18);
    e().setSelLength(1);
    EXPECT_EQ(e().SelBold(), true); // the format of the first character replaced
}

TEST_F(SearchDialogs, ReplaceAllEndsAndUndoesInOneStep)
{
    const QString text = e().Text();
    const struct
    {
        QString find, with;
        const char* keys;
        QString result;
        const char* message;
    } cases[] = {
        { "the", "a", "", "a cat: a a other. a end", "4 occurrences replaced." },
        { "the", "the the", "Alt+C", "the the cat: the the the the other. The end",
            "3 occurrences replaced." },
        { "he", "hehe", "Alt+W", "thehe cat: thehe thehe otheher. Thehe end",
            "5 occurrences replaced." },
        { "cat:", "", "", "the  the the other. The end", "1 occurrence replaced." },
        { "he", "x", "", text, "Word not found." },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        env.prompter->expectMsgBox();
        in<frmReplace>([&] { window->mnuReplace_Click(); },
            [&](frmReplace& d) {
                QTest::keyClicks(d.txtFind, c.find);
                QTest::keyClicks(d.txtReplace, c.with);
                press(d, c.keys);
                press(d, "Alt+A, Escape");
            });
        EXPECT_EQ(e().Text(), c.result);
        EXPECT_EQ(env.prompter->shown().back().prompt, QLatin1String(c.message));
        e().Undo();
        EXPECT_EQ(e().Text(), text);
    }
}

} // namespace
} // namespace penwick::test
