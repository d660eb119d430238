// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/programtest.h"
#include "platform/twips.h"
#include "shell/frmabout.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace penwick::test {
namespace {

const MakerAddresses addresses { QStringLiteral("www.example.org"),
    QStringLiteral("https://example.net/penwick"), QStringLiteral("notes@example.org"),
    QStringLiteral("help@example.org") };

class About : public ProgramTest
{
protected:
    // A box shown without its own loop, so that the test can press keys in it.
    frmAbout& open(const MakerAddresses& with = addresses)
    {
        box = std::make_unique<frmAbout>(*window, with);
        box->show();
        QApplication::setActiveWindow(box.get());
        return *box;
    }
    void writeReadme(const QString& folder)
    {
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/Readme.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QStringList shownPrompts() const
    {
        QStringList prompts;
        for (const auto& shown : env.prompter->shown())
            prompts << shown.prompt;
        return prompts;
    }
    std::unique_ptr<frmAbout> box;
};

TEST_F(About, PlacesTextsAndLinkLookAtTheScreensDpi)
{
    frmNotes& w = start();
    frmAbout& b = open();
    const Twips t = Twips::forScreenOf(&w);
    const auto px = [&](int left, int top, int width, int height) {
        return QRect(
            *t.toPixelsX(left), *t.toPixelsY(top), *t.toPixelsX(width), *t.toPixelsY(height));
    };
    EXPECT_EQ(b.windowTitle(), u"About Penwick");
    EXPECT_EQ(b.size(), px(0, 0, 4605, 2970).size());
    EXPECT_EQ(b.minimumSize(), b.maximumSize());
    const Qt::WindowFlags flags = b.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(b.windowIcon().cacheKey(), w.windowIcon().cacheKey());
    EXPECT_LE((b.frameGeometry().center() - w.frameGeometry().center()).manhattanLength(), 1);

    // Boxes and buttons as designed; labels at their place, never cut short.
    const struct
    {
        QWidget* control;
        QRect designed;
        QString text;
    } controls[] = {
        { b.picIcon, px(105, 75, 480, 480), {} },
        { b.Frame2, px(30, 600, 4545, 975), "Support Information" },
        { b.Frame1, px(30, 1620, 3465, 855), "Version Information" },
        { b.cmdRead, px(3600, 1725, 915, 345), "&Readme" },
        { b.cmdClose, px(3600, 2115, 915, 345), "&Close" },
        { b.Label1, px(840, 45, 2895, 555), "Penwick 4.0" },
        { b.Label[3], px(240, 330, 705, 195), "Web Site:" },
        { b.lblWeb, px(1125, 330, 1860, 195), "www.example.org" },
        { b.Label[5], px(240, 630, 465, 195), "E-mail:" },
        { b.lblEmail, px(1125, 630, 1455, 195), "notes@example.org" },
        { b.Label[0], px(240, 255, 1380, 195), "Version:             4.0" },
        { b.Label[1], px(240, 540, 2115, 195), "Build Date:        April 28, 2004" },
        { b.Label[2], px(705, 2520, 3195, 405), "Written by the Penwick authors" },
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.control->objectName().toStdString());
        const auto* label = qobject_cast<QLabel*>(c.control);
        if (!label) {
            EXPECT_EQ(c.control->geometry(), c.designed);
        } else {
            EXPECT_EQ(label->text(), c.text);
            EXPECT_EQ(label->pos(), c.designed.topLeft());
            EXPECT_GE(label->width(), label->sizeHint().width());
        }
        if (const auto* frame = qobject_cast<QGroupBox*>(c.control)) {
            EXPECT_EQ(frame->title(), c.text);
        }
        if (const auto* button = qobject_cast<QPushButton*>(c.control)) {
            EXPECT_EQ(button->text(), c.text);
        }
    }
    EXPECT_EQ(b.Label1->font().pointSize(), 24);
    // Title and links are sized to their text.
    for (const QLabel* fitted :
        { b.Label1, static_cast<QLabel*>(b.lblWeb), static_cast<QLabel*>(b.lblEmail) })
        EXPECT_EQ(fitted->size(), fitted->sizeHint());

    for (const LinkLabel* link : { b.lblWeb, b.lblEmail }) {
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(link->cursor().hotSpot(), QPoint(13, 9));
        EXPECT_EQ(link->cursor().pixmap().size(), QSize(32, 32));
    }
    EXPECT_EQ(b.lblWeb->toolTip(), u"https://example.net/penwick");
    EXPECT_EQ(b.lblEmail->toolTip(), u"help@example.org");
}

TEST_F(About, AnAddressLeftOutHidesItsRow)
{
    start();
    frmAbout& b = open({ {}, {}, QStringLiteral("notes@example.org"), {} });
    EXPECT_TRUE(b.Frame2->isVisible());
    EXPECT_FALSE(b.lblWeb->isVisible() || b.Label[3]->isVisible());
    EXPECT_TRUE(b.lblEmail->isVisible() && b.Label[5]->isVisible());
    box.reset();
    EXPECT_FALSE(open(MakerAddresses {}).Frame2->isVisible());
}

// Enter presses the button with the focus, Close at first; Escape does nothing.
TEST_F(About, KeysAndLinks)
{
    start();
    frmAbout& b = open();
    EXPECT_EQ(QApplication::focusWidget(), b.cmdClose);
    QTest::keyClick(&b, Qt::Key_Escape);
    EXPECT_TRUE(b.isVisible());

    // Links open with the desktop's programs; the box stays.
    env.shell->expectOpen();
    env.shell->expectOpen(false);
    env.prompter->expectMsgBox();
    QTest::mouseClick(b.lblWeb, Qt::LeftButton);
    QTest::mouseClick(b.lblEmail, Qt::LeftButton);
    ASSERT_EQ(env.shell->opened().size(), 2u);
    EXPECT_EQ(env.shell->opened()[0], QUrl(QStringLiteral("http://www.example.org")));
    EXPECT_EQ(env.shell->opened()[1], QUrl(QStringLiteral("mailto:notes@example.org")));
    EXPECT_EQ(shownPrompts(),
        QStringList { "Could not open mailto:notes@example.org.\n"
                      "The desktop has no program that opens it." });
    EXPECT_TRUE(b.isVisible());

    // Tab to Readme: Enter opens the read-me and the box stays; back to Close, Enter closes.
    writeReadme(env.programFolder());
    env.shell->expectOpen();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), b.cmdRead);
    QTest::keyClick(b.cmdRead, Qt::Key_Return);
    EXPECT_EQ(env.shell->opened().back(), QUrl::fromLocalFile(env.programFolder() + "Readme.txt"));
    EXPECT_TRUE(b.isVisible());
    b.cmdClose->setFocus();
    QTest::keyClick(b.cmdClose, Qt::Key_Return);
    EXPECT_FALSE(b.isVisible());
}

// The About command: a modal box owned by the main window, on top while the window is, and
// gone when closed through its close box.
TEST_F(About, CommandShowsItModallyWithTheOnTopHandOver)
{
    frmNotes& w = start();
    w.mnuOnTop_Click();
    bool seen = false;
    QTimer::singleShot(0, &w, [&] {
        auto* b = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(b, nullptr);
        seen = true;
        EXPECT_EQ(b->parentWidget(), &w);
        QApplication::setActiveWindow(b);
        EXPECT_TRUE(b->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        w.tmrOnTop->stop();
        b->close(); // the close box
        EXPECT_TRUE(w.tmrOnTop->isActive());
    });
    w.mnuAbout_Click();
    EXPECT_TRUE(seen);
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.findChildren<frmAbout*>().isEmpty());
}

// The read-me is looked for beside the program, then in the installed documentation; the
// message says where when it is in neither, or when nothing on the desktop shows it.
TEST_F(About, ReadmeFoundBesideTheProgramOrInTheDocumentation)
{
    const QString docs = env.programFolder() + QStringLiteral("../share dir/doc");
    const QString beside = env.programFolder() + QStringLiteral("Readme.txt");
    Shell& shell = *env.shell;
    Prompter& prompter = *env.prompter;
    env.prompter->expectMsgBox();
    EXPECT_FALSE(openReadme(shell, prompter, nullptr, env.programFolder(), docs));
    EXPECT_EQ(shownPrompts().value(0),
        "Readme.txt was not found. It was looked for in:\n" + env.programFolder() + "\n" + docs
            + "/");

    writeReadme(docs);
    env.shell->expectOpen();
    EXPECT_TRUE(openReadme(shell, prompter, nullptr, env.programFolder(), docs));
    EXPECT_EQ(env.shell->opened().back().toLocalFile(), QDir(docs).absoluteFilePath("Readme.txt"));

    writeReadme(env.programFolder());
    env.shell->expectOpen(false);
    env.prompter->expectMsgBox();
    EXPECT_FALSE(openReadme(shell, prompter, nullptr, env.programFolder(), docs));
    EXPECT_EQ(env.shell->opened().back().toLocalFile(), beside);
    EXPECT_EQ(shownPrompts().value(1),
        "Could not open " + beside + ".\nThe desktop has no program that shows text files.");
}

} // namespace
} // namespace penwick::test
