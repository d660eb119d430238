// SPDX-License-Identifier: GPL-2.0-or-later
// The editing commands as the menus run them, on the real editor. The editor's own rules (how
// styles read over a selection, which sizes it takes, how pasting picks a format) are tested on
// RichTextBox, the texts of the tools and stamps in their own tests; here each command's own
// decisions and its wiring.
#include "commands/datestamps.h"
#include "harness/programtest.h"
#include "platform/richtextbox.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>

namespace penwick::test {
namespace {

class Commands : public ProgramTest
{
protected:
    void SetUp() override { editor = start().rtfNotes; }

    // Runs a command the way the menu does.
    void run(const char* name) { item(name)->trigger(); }
    void select(int from, int to)
    {
        editor->setSelStart(from);
        editor->setSelLength(to - from);
    }

    RichTextBox* editor = nullptr;
};

using Style
    = std::tuple<const char*, TriState (RichTextBox::*)() const, void (RichTextBox::*)(TriState)>;
const Style styles[] = { { "mnuBold", &RichTextBox::SelBold, &RichTextBox::setSelBold },
    { "mnuItalic", &RichTextBox::SelItalic, &RichTextBox::setSelItalic },
    { "mnuUnder", &RichTextBox::SelUnderline, &RichTextBox::setSelUnderline },
    { "mnuStrike", &RichTextBox::SelStrikeThru, &RichTextBox::setSelStrikeThru } };

// None -> all -> none; a mixed selection stays exactly as it was. Normal clears all four
// styles and keeps size and colour.
TEST_F(Commands, StyleAndSizeCommands)
{
    for (const auto& [name, read, write] : styles) {
        editor->setText(QStringLiteral("one two three"));
        select(0, 13);
        run(name);
        EXPECT_EQ((editor->*read)(), TriState(true)) << name;
        run(name);
        EXPECT_EQ((editor->*read)(), TriState(false)) << name;
        select(4, 7);
        (editor->*write)(true);
        select(0, 13);
        run(name);
        EXPECT_EQ((editor->*read)(), std::nullopt) << name;
    }
    for (const auto& [name, read, write] : styles)
        (editor->*write)(true);
    editor->setSelColor(255);
    ASSERT_TRUE(editor->setSelFontSize(14));
    run("mnuNormal");
    for (const auto& [name, read, write] : styles)
        EXPECT_EQ((editor->*read)(), TriState(false)) << name;
    EXPECT_EQ(editor->SelColor(), std::optional<OleColor>(255));
    EXPECT_EQ(editor->SelFontSize(), std::optional<float>(14));

    // The size steps by two; mixed sizes stay as they are.
    ASSERT_TRUE(editor->setSelFontSize(10));
    run("mnuFPlusOne");
    EXPECT_EQ(editor->SelFontSize(), std::optional<float>(12));
    run("mnuFMinusOne");
    run("mnuFMinusOne");
    EXPECT_EQ(editor->SelFontSize(), std::optional<float>(8));
    select(0, 2);
    ASSERT_TRUE(editor->setSelFontSize(20));
    select(0, 13);
    run("mnuFPlusOne");
    select(0, 2);
    EXPECT_EQ(editor->SelFontSize(), std::optional<float>(20));
}

TEST_F(Commands, TheFontDialogAppliesFiveAttributesButNeverBoldOrItalic)
{
    editor->setText(QStringLiteral("face"));
    select(0, 4);
    env.dialogs->expectFont({ QStringLiteral("DejaVu Serif"), 14, true, true, true, true, 0xFF });
    run("mnuFont");
    ASSERT_EQ(env.dialogs->shown().size(), 1u);
    const CommonDialogValues& shown = env.dialogs->shown()[0].values;
    EXPECT_TRUE(shown.DialogTitle == u"Choose Font" && shown.Flags == 0x10101 && shown.CancelError);
    const auto look = [this] {
        return std::tuple(editor->SelFontName().value_or(QString()), editor->SelFontSize(),
            editor->SelUnderline(), editor->SelStrikeThru(), editor->SelColor(), editor->SelBold(),
            editor->SelItalic());
    };
    const auto chosen
        = std::tuple(QStringLiteral("DejaVu Serif"), std::optional<float>(14), TriState(true),
            TriState(true), std::optional<OleColor>(0xFF), TriState(false), TriState(false));
    EXPECT_EQ(look(), chosen);

    env.dialogs->expectCancel(FakeCommonDialog::Kind::Font);
    run("mnuFont");
    EXPECT_EQ(look(), chosen);

    // A size the editor refuses (which is the editor's rule) leaves the size; the other choices
    // still apply.
    env.dialogs->expectFont({ QStringLiteral("DejaVu Sans"), 0, false, false, false, false, 0 });
    run("mnuFont");
    EXPECT_EQ(editor->SelFontSize(), std::optional<float>(14));
    EXPECT_EQ(editor->SelUnderline(), TriState(false));
}

TEST_F(Commands, ColourDialogsRememberTheLastColour)
{
    editor->setText(QStringLiteral("red"));
    select(0, 3);
    env.dialogs->expectColor(0x0000FF);
    run("mnuFC");
    env.dialogs->expectColor(0x00FF00);
    run("mnuBG");
    ASSERT_EQ(env.dialogs->shown().size(), 2u);
    EXPECT_EQ(env.dialogs->shown()[0].values.DialogTitle, u"Text Color");
    const auto& back = env.dialogs->shown()[1].values;
    EXPECT_TRUE(back.DialogTitle == u"Background Color" && back.Flags == 3);
    EXPECT_EQ(back.Color, 0xFFu); // opens on red, the last colour chosen

    for (const char* name : { "mnuBG", "mnuFC" }) {
        env.dialogs->expectCancel(FakeCommonDialog::Kind::Color);
        run(name);
    }
    // The text keeps its colour; a cancel changes nothing.
    EXPECT_EQ(editor->BackColor(), 0x00FF00u);
    EXPECT_EQ(editor->SelColor(), std::optional<OleColor>(0xFF));
    closeWindow();
    EXPECT_EQ(env.stored("BG"), u"65280");
}

// Center and Right toggle back to left; on a mixed selection they set every paragraph.
TEST_F(Commands, CenterAndRightToggleBackToLeft)
{
    editor->setText(QStringLiteral("one\ntwo\nthree"));
    const std::tuple<int, int, const char*, std::optional<int>> steps[]
        = { { 0, 0, "mnuCenter", 2 }, { 0, 0, "mnuCenter", 0 }, { 0, 0, "mnuRight", 1 },
              { 0, 0, "mnuRight", 0 }, { 4, 4, "mnuCenter", 2 }, { 0, 6, nullptr, std::nullopt },
              { 0, 6, "mnuRight", 1 }, { 0, 6, "mnuLeft", 0 }, { 0, 6, "mnuLeft", 0 } };
    for (const auto& [from, to, name, after] : steps) {
        SCOPED_TRACE(testing::Message() << from << '-' << to << ' ' << (name ? name : ""));
        select(from, to);
        if (name)
            run(name);
        EXPECT_EQ(editor->SelAlignment(), after);
    }
}

TEST_F(Commands, BulletsOnAMixedSelectionGoThenComeBackForAll)
{
    editor->setText(QStringLiteral("one\ntwo\nthree"));
    run("mnuBullet");
    EXPECT_EQ(window->chkBullet, 0);
    EXPECT_EQ(editor->SelBullet(), TriState(true));
    select(0, 9);
    ASSERT_EQ(editor->SelBullet(), std::nullopt);
    // The snapshot taken before each press decides: mixed (2), none (0), all (1).
    const std::pair<int, TriState> presses[] = { { 2, false }, { 0, true }, { 1, false } };
    for (const auto& [snapshot, after] : presses) {
        run("mnuBullet");
        EXPECT_EQ(window->chkBullet, snapshot);
        EXPECT_EQ(editor->SelBullet(), after);
    }
    EXPECT_EQ(editor->Text(), u"one\ntwo\nthree");
}

// Opening either menu refreshes the captions; each item inserts its text built at the click.
TEST_F(Commands, StampCaptionsAreRefreshedWhenTheMenusOpen)
{
    const QDateTime shown(QDate(1998, 11, 16), QTime(16, 20));
    const QDateTime clicked = shown.addSecs(60);
    env.clock->set(shown);
    for (const char* menu : { "mnuInsert", "mnuTimeD" }) {
        for (const StampItem& stamp : StampItems)
            item(stamp.name)->setText(QStringLiteral("stale"));
        emit window->menuOf(QLatin1String(menu))->aboutToShow();
        for (const StampItem& stamp : StampItems)
            EXPECT_EQ(item(stamp.name)->text(), StampText(stamp.stamp, shown)) << menu;
    }
    env.clock->set(clicked);
    for (const StampItem& stamp : StampItems) {
        editor->setText(QStringLiteral("[word]"));
        select(1, 5);
        run(stamp.name);
        EXPECT_EQ(editor->Text(), u'[' + StampText(stamp.stamp, clicked) + u']') << stamp.name;
    }
}

TEST_F(Commands, SelectionToolsReplaceOnlyASelection)
{
    const char* const tools[][3] = { { "mnuLowercase", "[MiXeD Case]", "[mixed case]" },
        { "mnuUppercase", "[MiXeD Case]", "[MIXED CASE]" },
        { "mnuTitleCase", "[hELLO   wORLD]", "[Hello   World]" },
        { "mnuTruePCase", "[o'neil-smith]", "[O'Neil-Smith]" },
        { "mnuAltCaps", "[hello world]", "[hElLo wOrLd]" }, { "mnuReverse", "[abc]", "[cba]" },
        { "mnuRemoveSp", "[a   b]", "[a b]" } };
    for (const auto& [name, before, after] : tools) {
        editor->setText(QString::fromUtf8(before));
        select(1, int(editor->Text().size()) - 1);
        run(name);
        EXPECT_EQ(editor->Text(), QString::fromUtf8(after)) << name;
        select(2, 2);
        run(name);
        EXPECT_EQ(editor->Text(), QString::fromUtf8(after)) << name;
    }
}

// Delimit asks first, even with nothing selected; the count reports selection and document.
TEST_F(Commands, DelimitAndCharacterCountUseTheirBoxes)
{
    editor->setText(QStringLiteral("abc"));
    select(0, 3);
    env.prompter->expectInputBox(QStringLiteral(", "));
    run("mnuDelimit");
    EXPECT_EQ(editor->Text(), u"a, b, c");
    ASSERT_EQ(env.prompter->shown().size(), 1u);
    const auto& box = env.prompter->shown()[0];
    EXPECT_EQ(QStringList({ box.title, box.prompt, box.defaultText }),
        QStringList(
            { "Text delimiter", "Enter character with which to delimit the selected text:", "-" }));
    // Cancel gives the empty delimiter: the text stays as it was.
    select(0, 7);
    env.prompter->expectInputBox(QString());
    run("mnuDelimit");
    EXPECT_EQ(editor->Text(), u"a, b, c");
    select(1, 1);
    env.prompter->expectInputBox(QStringLiteral("-"));
    run("mnuDelimit");
    EXPECT_EQ(env.prompter->shown().size(), 3u);

    select(0, 2);
    env.prompter->expectMsgBox();
    run("mnuCountChar");
    EXPECT_EQ(env.prompter->shown().back().prompt,
        u"Selected text character count: 2\r\n\r\nEntire document character count: 7");
}

TEST_F(Commands, ClipboardCommandsAndSelectAll)
{
    run("mnuSelectAll"); // empty note: nothing selected, caret at 0
    EXPECT_EQ(editor->SelStart() + editor->SelLength(), 0);
    editor->setText(QStringLiteral("cut me"));
    run("mnuSelectAll");
    EXPECT_EQ(editor->SelLength(), 6);
    run("mnuCopy");
    EXPECT_EQ(QApplication::clipboard()->text(), u"cut me");
    select(0, 4);
    run("mnuCut");
    EXPECT_EQ(editor->Text(), u"me");
    EXPECT_EQ(QApplication::clipboard()->text(), u"cut ");
    select(2, 2);
    run("mnuPaste");
    EXPECT_EQ(editor->Text(), u"mecut ");
    run("mnuUndo");
    EXPECT_EQ(editor->Text(), u"me");
}

} // namespace
} // namespace penwick::test
