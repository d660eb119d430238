// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/programtest.h"
#include "platform/twips.h"
#include "shell/frmabout.h"

#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace penwick::test {
namespace {

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

TEST_F(About, PlacesTextsAndLinkLookAtTheScreensDpi)
{
    frmNotes& w = start();
    frmAbout& b
        = open({ "www.example.org", "example.net", "notes@example.org", "help@example.org" });
    const Twips t = Twips::forScreenOf(&w);
    EXPECT_EQ(b.windowTitle(), u"About Penwick");
    EXPECT_EQ(b.maximumSize(), QSize(*t.toPixelsX(4605), *t.toPixelsY(2970)));
    EXPECT_EQ(b.minimumSize(), b.maximumSize());
    EXPECT_EQ(b.cmdClose->geometry(),
        QRect(*t.toPixelsX(3600), *t.toPixelsY(2115), *t.toPixelsX(915), *t.toPixelsY(345)));
    EXPECT_EQ(b.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint),
        Qt::WindowCloseButtonHint);
    EXPECT_EQ(b.windowIcon().cacheKey(), w.windowIcon().cacheKey());
    EXPECT_LE((b.frameGeometry().center() - w.frameGeometry().center()).manhattanLength(), 1);
    // Labels are never cut short.
    QStringList texts { b.Frame2->title(), b.Frame1->title(), b.cmdRead->text(),
        b.cmdClose->text() };
    const QLabel* labels[] = { b.Label1, b.Label[3], b.lblWeb, b.Label[5], b.lblEmail, b.Label[0],
        b.Label[1], b.Label[2] };
    for (const QLabel* label : labels) {
        texts << label->text();
        EXPECT_GE(label->width(), label->sizeHint().width());
    }
    EXPECT_EQ(texts.join(u'|'),
        u"Support Information|Version Information|&Readme|&Close|Penwick 4.0|Web Site:|"
        "www.example.org|E-mail:|notes@example.org|Version:             4.0|"
        "Build Date:        April 28, 2004|Written by the Penwick authors");
    EXPECT_EQ(b.Label1->font().pointSize(), 24);
    for (const LinkLabel* link : { b.lblWeb, b.lblEmail }) {
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->cursor().hotSpot(), QPoint(13, 9));
        EXPECT_EQ(link->cursor().pixmap().size(), QSize(32, 32));
    }
    EXPECT_EQ(b.lblWeb->toolTip() + b.lblEmail->toolTip(), u"example.nethelp@example.org");

    // An address left out leaves out its row, and with neither, the frame.
    frmAbout& mailOnly = open({ {}, {}, "notes@example.org", {} });
    EXPECT_FALSE(mailOnly.lblWeb->isVisible() || mailOnly.Label[3]->isVisible());
    EXPECT_TRUE(mailOnly.lblEmail->isVisible() && mailOnly.Label[5]->isVisible());
    EXPECT_FALSE(open({}).Frame2->isVisible());
}

// Enter presses the button with the focus, Close at first; Escape does nothing; links and the
// read-me leave the box open.
TEST_F(About, KeysLinksAndTheReadme)
{
    start();
    frmAbout& b = open({ "www.example.org", {}, "notes@example.org", {} });
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
    env.shell->expectOpen();
    const QString beside = readme(env.programFolder());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(env.shell->opened().back(), QUrl::fromLocalFile(beside));
    EXPECT_TRUE(b.isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(b.isVisible());
}

// The command shows a modal box owned by the window, on top while the window is; the close box
// closes it, and it is gone.
TEST_F(About, CommandShowsItModallyWithTheOnTopHandOver)
{
    frmNotes& w = start();
    w.mnuOnTop_Click();
    frmAbout* shown = nullptr;
    QTimer::singleShot(0, &w, [&] {
        shown = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        QApplication::setActiveWindow(shown);
        EXPECT_EQ(shown->parentWidget(), &w);
        EXPECT_TRUE(shown->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_FALSE(w.windowFlags() & Qt::WindowStaysOnTopHint);
        w.tmrOnTop->stop();
        shown->close();
        EXPECT_TRUE(w.tmrOnTop->isActive());
    });
    w.mnuAbout_Click();
    EXPECT_NE(shown, nullptr);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w.findChildren<frmAbout*>().isEmpty());
}

// Beside the program first, then the installed documentation, whose folder may hold blanks.
TEST_F(About, ReadmeFoundOrWhereItWasLookedFor)
{
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
}

} // namespace
} // namespace penwick::test
