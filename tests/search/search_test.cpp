// SPDX-License-Identifier: GPL-2.0-or-later
// The search rules, and the Find and Replace dialogs driven by keys inside their modal loops.
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

namespace penwick::test {
namespace {

TEST(WholeWordSearch, Rules)
{
    const QString text = QStringLiteral("the other then The the.");
    // text, needle, from, { match case, whole word, up }, found. Rows: not inside "other" or
    // "then", any case; match case; not whole word; up; up, only what ends before the start; an
    // edge that is no letter may touch anything; digits and underscores make words; a letter
    // beyond 16 bits; nothing to find.
    const std::tuple<QString, QString, qsizetype, SearchOptions, qsizetype> cases[]
        = { { text, "the", 1, {}, 15 }, { text, "the", 1, { true, true, false }, 19 },
              { text, "the", 1, { false, false, false }, 5 },
              { text, "the", 19, { false, true, true }, 15 },
              { text, "the", 2, { false, true, true }, -1 }, { text, "the.", 0, {}, 19 },
              { "a_the 2the the", "the", 0, {}, 11 },
              { QStringLiteral("\U00020000the the"), "the", 0, {}, 6 }, { text, "", 0, {}, -1 } };
    for (const auto& [in, needle, from, options, found] : cases)
        EXPECT_EQ(findInText(in, needle, from, options), found) << in.toStdString() << from;
}

class SearchDialogs : public ProgramTest
{
protected:
    void SetUp() override
    {
        start();
        e().setText(QStringLiteral("the cat: the the other. The end")); // "the" at 0 9 13 24
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
            if ((shown = d != nullptr)) {
                QApplication::setActiveWindow(d);
                steps(*d);
                EXPECT_FALSE(d->isVisible());
                d->reject();
            }
        });
        open();
        EXPECT_TRUE(shown) << D::staticMetaObject.className();
    }
};

TEST_F(SearchDialogs, FindLooksAndAnswersKeysAsDesigned)
{
    QApplication::setActiveWindow(window.get());
    e().setFocus();
    in<frmFind>([&] { QTest::keyClick(&e(), Qt::Key_G, Qt::ControlModifier); },
        [&](frmFind& d) {
            // 4950 by 1020 twips at 96 DPI, fixed, centred on the window, close box only.
            EXPECT_TRUE(d.minimumSize() == QSize(330, 68) && d.maximumSize() == QSize(330, 68)
                && (d.windowFlags() & (Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint))
                    == Qt::WindowCloseButtonHint
                && (d.geometry().center() - window->geometry().center()).manhattanLength() <= 2);
            QStringList looks { d.windowTitle(), d.Label->text(), d.Frame1->title() };
            for (QAbstractButton* b : std::initializer_list<QAbstractButton*> {
                     d.chkCase, d.optDirection[0], d.optDirection[1], d.cmdFind, d.cmdCancel })
                looks << b->text() + u'=' + b->toolTip();
            EXPECT_EQ(looks.join(u'|'),
                u"Find|Fi&nd what:|Direction|Match &Case=Case Sensitivity|"
                "&Up=Search to Beginning of Document|&Down=Search to End of Document|"
                "&Find Next=Start Search|Cancel=Return to Notepad");
            const std::pair<QWidget*, QRect> places[] = { { d.txtFind, { 59, 5, 191, 20 } },
                { d.chkCase, { 8, 34, 89, 33 } }, { d.Frame1, { 142, 28, 105, 38 } },
                { d.optDirection[0], { 8, 15, 36, 17 } }, { d.optDirection[1], { 47, 15, 51, 17 } },
                { d.cmdFind, { 255, 5, 71, 22 } }, { d.cmdCancel, { 255, 31, 71, 22 } } };
            for (const auto& [control, place] : places)
                EXPECT_EQ(control->geometry(), place) << control->objectName().toStdString();
            // The label is sized to its text.
            EXPECT_TRUE(
                d.Label->pos() == QPoint(6, 9) && d.Label->geometry().right() <= d.txtFind->x());
            QTest::keyClicks(d.txtFind, QStringLiteral("The"));
            QStringList order; // where each Tab lands
            for (int i = 0; i < 5; ++i, order << d.focusWidget()->objectName())
                press("Tab");
            EXPECT_EQ(order.join(u' '), u"chkCase optDirection1 cmdFind cmdCancel txtFind");
            press("Alt+C, Return"); // down from the caret, matching case
            EXPECT_TRUE(e().SelStart() == 24 && e().SelLength() == 3);
            press("Escape");
        });
    // Escape kept the text and Match Case; the close box forgets what was typed. (F4 and the
    // direction chosen last are in the menu tree test.)
    e().setSelStart(0);
    for (int i = 0; i < 2; ++i)
        in<frmFind>([&] { window->mnuFind_Click(); },
            [&](frmFind& d) {
                EXPECT_EQ(d.txtFind->text() + QString::number(d.chkCase->isChecked()), u"The1");
                QTest::keyClicks(d.txtFind, QStringLiteral("dog"));
                d.close();
            });
}

TEST_F(SearchDialogs, ReplaceAndReplaceAll)
{
    e().setSelStart(24);
    e().setSelLength(1);
    e().setSelBold(true); // the "T" of "The"
    e().setSelStart(0);
    const QString text = e().Text();
    const struct
    {
        QString find, with;
        const char* keys;
        QString result, message;
        int undos;
    } cases[] = {
        // Nothing selected: the first Replace only finds.
        { "the", "a", "Alt+R, Alt+R, Alt+R, Alt+R, Alt+R", "a cat: a a other. a end",
            "Word not found.", 4 },
        { "the", "the the", "Alt+C, Alt+A", "the the cat: the the the the other. The end",
            "3 occurrences replaced.", 1 },
        { "he", "hehe", "Alt+W, Alt+A", "thehe cat: thehe thehe otheher. Thehe end",
            "5 occurrences replaced.", 1 },
        { "cat:", "", "Alt+A", "the  the the other. The end", "1 occurrence replaced.", 1 },
        { "he", "x", "Alt+A", text, "Word not found.", 0 },
    };
    for (const auto& c : cases) {
        env.prompter->expectMsgBox();
        in<frmReplace>([&] { window->mnuReplace_Click(); },
            [&](frmReplace& d) {
                EXPECT_TRUE(d.chkWhole->isChecked());
                QTest::keyClicks(d.txtFind, c.find);
                press("Alt+P");
                QTest::keyClicks(d.txtReplace, c.with);
                press(c.keys);
                press("Escape");
            });
        const auto& told = env.prompter->shown().back();
        EXPECT_EQ(e().Text() + u'|' + told.prompt, c.result + u'|' + c.message);
        if (&c == cases) { // a plain message titled "Penwick"
            EXPECT_TRUE(told.title == u"Penwick" && told.icon == MsgIcon::None);
            e().setSelStart(18);
            e().setSelLength(1);
            EXPECT_EQ(e().SelBold(), true); // the format of the first character replaced
        }
        for (int i = 0; i < c.undos; ++i)
            e().Undo();
        EXPECT_EQ(e().Text(), text);
    }
}

} // namespace
} // namespace penwick::test
