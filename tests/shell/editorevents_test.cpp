// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/programtest.h"
#include "platform/richtextbox.h"
#include "shell/toolbar.h"

#include <QApplication>
#include <QTest>

namespace penwick::test {
namespace {

class EditorEvents : public ProgramTest
{
protected:
    // Cut and Copy enabled on the toolbar and on the menu bar (the popup's pair is Popup's).
    QString cutCopy() const
    {
        QString on;
        for (const char* key : { "Cut", "Copy" })
            on += QString::number(window->Toolbar->Buttons(QLatin1String(key))->Enabled())
                + QString::number(item((std::string("mnu") + key).c_str())->isEnabled());
        return on;
    }
    void select(int start, int length)
    {
        window->rtfNotes->setSelStart(start);
        window->rtfNotes->setSelLength(length);
    }
};

// Start-up primes the states; Ctrl+Z with any other modifiers undoes one step: the command runs
// once and the editor does not undo on its own.
TEST_F(EditorEvents, StartUpPrimesTheStatesAndUndoTakesOneStepAPress)
{
    frmNotes& w = start();
    EXPECT_EQ(w.rtfNotes->BulletIndent(), 250.f);
    EXPECT_FALSE(item("mnuUndo")->isEnabled());
    EXPECT_EQ(cutCopy(), u"0000");
    EXPECT_EQ(w.chkBullet, 0);
    EXPECT_EQ(w.Toolbar->Buttons(QStringLiteral("Align Left"))->Value(), 1);
    QApplication::setActiveWindow(&w);
    w.rtfNotes->setFocus();
    // Two separate edits: "a", then "b" before it.
    QTest::keyClicks(w.rtfNotes, QStringLiteral("a"));
    EXPECT_TRUE(item("mnuUndo")->isEnabled());
    QTest::keyClick(w.rtfNotes, Qt::Key_Home);
    QTest::keyClicks(w.rtfNotes, QStringLiteral("b"));
    QTest::keyClick(w.rtfNotes, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.rtfNotes->Text(), u"a");
    QTest::keyClick(
        w.rtfNotes, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_TRUE(w.rtfNotes->Text().isEmpty());
    EXPECT_TRUE(item("mnuUndo")->isEnabled()); // for good
    // Z alone is the editor's: it types.
    QTest::keyClicks(w.rtfNotes, QStringLiteral("z"));
    EXPECT_EQ(w.rtfNotes->Text(), u"z");
}

// Style buttons follow the characters, Bullet and the alignment group the paragraphs; Cut and
// Copy need a selection, if only of a paragraph break.
TEST_F(EditorEvents, ButtonsFollowTheCaretAndTheSelection)
{
    frmNotes& w = start();
    RichTextBox& e = *w.rtfNotes;
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
    // Start, length, chkBullet and the buttons Bold, Italic, Underline, Bullet, Align Left,
    // Center, Align Right.
    const std::tuple<int, int, int, const char*> cases[]
        = { { 2, 0, 1, "0001010" }, { 8, 0, 1, "1001010" }, { 13, 0, 1, "0011010" },
              { 20, 0, 1, "0101010" }, { 6, 4, 1, "1001010" }, { 4, 4, 1, "0001010" },
              { 6, 10, 1, "0001010" }, { 24, 0, 0, "0000001" }, { 0, 26, 2, "0000000" },
              { 28, 2, 0, "0000100" }, { 23, 9, 0, "0000000" }, { 22, 1, 1, "0101010" } };
    for (const auto& [start, length, chkBullet, shown] : cases) {
        SCOPED_TRACE(testing::Message() << start << '+' << length);
        select(start, length);
        EXPECT_EQ(w.chkBullet, chkBullet);
        QString pressed;
        for (const char* key :
            { "Bold", "Italic", "Underline", "Bullet", "Align Left", "Center", "Align Right" })
            pressed += QString::number(w.Toolbar->Buttons(QLatin1String(key))->Value());
        EXPECT_EQ(pressed, QLatin1String(shown));
        EXPECT_EQ(cutCopy(), length ? u"1111" : u"0000");
    }
}

} // namespace
} // namespace penwick::test
