// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/programtest.h"
#include "platform/richtextbox.h"
#include "shell/toolbar.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

namespace penwick::test {
namespace {

class EditorEvents : public ProgramTest
{
protected:
    int value(const char* key) const
    {
        const ToolbarButton* b = window->Toolbar->Buttons(QLatin1String(key));
        return b ? b->Value() : -1;
    }
    bool enabled(const char* key) const
    {
        const ToolbarButton* b = window->Toolbar->Buttons(QLatin1String(key));
        return b && b->Enabled();
    }
    void select(int start, int length) const
    {
        window->rtfNotes->setSelStart(start);
        window->rtfNotes->setSelLength(length);
    }
};

TEST_F(EditorEvents, StartUpPrimesTheStates)
{
    window = std::make_unique<frmNotes>(env.environment());
    QSignalSpy popupUndo(window.get(), &frmNotes::popupUndoEnabled);
    QSignalSpy popupCutCopy(window.get(), &frmNotes::popupCutCopyEnabled);
    ASSERT_TRUE(window->Form_Load());
    EXPECT_EQ(window->rtfNotes->BulletIndent(), 250.f);
    EXPECT_FALSE(item("mnuUndo")->isEnabled());
    ASSERT_FALSE(popupUndo.isEmpty());
    EXPECT_FALSE(popupUndo.last().at(0).toBool());
    // Designed enabled; the one sync at start-up sees no selection.
    EXPECT_FALSE(item("mnuCut")->isEnabled());
    EXPECT_FALSE(item("mnuCopy")->isEnabled());
    EXPECT_FALSE(enabled("Cut"));
    EXPECT_FALSE(enabled("Copy"));
    ASSERT_FALSE(popupCutCopy.isEmpty());
    EXPECT_FALSE(popupCutCopy.last().at(0).toBool());
    EXPECT_EQ(window->chkBullet, 0);
    EXPECT_EQ(value("Align Left"), 1);
}

TEST_F(EditorEvents, TheFirstChangeEnablesUndoForGood)
{
    frmNotes& w = start();
    QSignalSpy popupUndo(&w, &frmNotes::popupUndoEnabled);
    ASSERT_FALSE(item("mnuUndo")->isEnabled());
    QTest::keyClicks(w.rtfNotes, QStringLiteral("a"));
    EXPECT_TRUE(item("mnuUndo")->isEnabled());
    ASSERT_FALSE(popupUndo.isEmpty());
    EXPECT_TRUE(popupUndo.last().at(0).toBool());
    select(0, 0);
    w.rtfNotes->Undo();
    EXPECT_TRUE(item("mnuUndo")->isEnabled());
}

// One press undoes one step: the command runs once and the editor does not undo on its own.
TEST_F(EditorEvents, CtrlZUndoesExactlyOneStep)
{
    frmNotes& w = start();
    QApplication::setActiveWindow(&w);
    w.rtfNotes->setFocus();
    // Three separate edits: "a", then "b" before it, then "c" at the end.
    QTest::keyClicks(w.rtfNotes, QStringLiteral("a"));
    QTest::keyClick(w.rtfNotes, Qt::Key_Home);
    QTest::keyClicks(w.rtfNotes, QStringLiteral("b"));
    QTest::keyClick(w.rtfNotes, Qt::Key_End);
    QTest::keyClicks(w.rtfNotes, QStringLiteral("c"));
    ASSERT_EQ(w.rtfNotes->Text(), u"bac");

    const struct
    {
        Qt::KeyboardModifiers modifiers;
        const char* after;
    } presses[] = { { Qt::ControlModifier, "ba" }, { Qt::ControlModifier | Qt::ShiftModifier, "a" },
        { Qt::ControlModifier | Qt::AltModifier, "" } };
    for (const auto& press : presses) {
        QTest::keyClick(w.rtfNotes, Qt::Key_Z, press.modifiers);
        EXPECT_EQ(w.rtfNotes->Text(), QLatin1String(press.after));
    }
    // Z alone is the editor's: it types.
    QTest::keyClicks(w.rtfNotes, QStringLiteral("z"));
    EXPECT_EQ(w.rtfNotes->Text(), u"z");
}

TEST_F(EditorEvents, CutAndCopyNeedASelection)
{
    frmNotes& w = start();
    QSignalSpy popup(&w, &frmNotes::popupCutCopyEnabled);
    w.rtfNotes->setText(QStringLiteral("one\ntwo"));
    const struct
    {
        int start, length;
        bool on;
    } cases[] = { { 2, 0, false }, { 0, 3, true }, { 3, 1, true }, { 7, 0, false }, { 0, 7, true },
        { 5, 0, false } };
    for (const auto& c : cases) {
        select(c.start, c.length);
        EXPECT_EQ(enabled("Cut"), c.on) << c.start << '+' << c.length;
        EXPECT_EQ(enabled("Copy"), c.on) << c.start << '+' << c.length;
        EXPECT_EQ(item("mnuCut")->isEnabled(), c.on) << c.start << '+' << c.length;
        EXPECT_EQ(item("mnuCopy")->isEnabled(), c.on) << c.start << '+' << c.length;
        ASSERT_FALSE(popup.isEmpty());
        EXPECT_EQ(popup.last().at(0).toBool(), c.on);
    }
}

TEST_F(EditorEvents, StyleButtonsFollowTheCaretAndTheSelection)
{
    frmNotes& w = start();
    RichTextBox& e = *w.rtfNotes;
    e.setText(QStringLiteral("plain bold under slant"));
    select(6, 4);
    e.setSelBold(true);
    select(11, 5);
    e.setSelUnderline(true);
    select(17, 5);
    e.setSelItalic(true);
    const struct
    {
        int start, length;
        const char* shown; // Bold, Italic, Underline
    } cases[] = { { 2, 0, "000" }, { 8, 0, "100" }, { 13, 0, "001" }, { 20, 0, "010" },
        { 6, 4, "100" }, { 4, 4, "000" }, { 6, 10, "000" }, { 11, 5, "001" } };
    for (const auto& c : cases) {
        select(c.start, c.length);
        QString shown;
        for (const char* key : { "Bold", "Italic", "Underline" })
            shown += QString::number(value(key));
        EXPECT_EQ(shown, QLatin1String(c.shown)) << c.start << '+' << c.length;
    }
}

TEST_F(EditorEvents, BulletAndAlignmentFollowTheParagraphs)
{
    frmNotes& w = start();
    RichTextBox& e = *w.rtfNotes;
    e.setText(QStringLiteral("one\ntwo\nthree"));
    select(0, 3);
    e.setSelBullet(true);
    e.setSelAlignment(2);
    select(4, 3);
    e.setSelAlignment(1);
    const struct
    {
        int start, length;
        int chkBullet, bullet;
        const char* alignment; // Align Left, Center, Align Right
    } cases[] = { { 1, 0, 1, 1, "010" }, { 0, 3, 1, 1, "010" }, { 5, 0, 0, 0, "001" },
        { 0, 7, 2, 0, "000" }, { 9, 2, 0, 0, "100" }, { 4, 9, 0, 0, "000" } };
    for (const auto& c : cases) {
        select(c.start, c.length);
        EXPECT_EQ(w.chkBullet, c.chkBullet) << c.start << '+' << c.length;
        EXPECT_EQ(value("Bullet"), c.bullet) << c.start << '+' << c.length;
        QString shown;
        for (const char* key : { "Align Left", "Center", "Align Right" })
            shown += QString::number(value(key));
        EXPECT_EQ(shown, QLatin1String(c.alignment)) << c.start << '+' << c.length;
    }
}

} // namespace
} // namespace penwick::test
