// SPDX-License-Identifier: GPL-2.0-or-later
// The editing commands as the menus run them, on the real editor: each command's own decisions
// and its wiring. The editor's rules are tested on RichTextBox, the texts of the tools and stamps
// in their own tests; alignment and the cancelled dialogs through the popup's twins, and
// the shortcuts in the menu tree test.
#include "commands/datestamps.h"
#include "harness/programtest.h"
#include "platform/richtextbox.h"

#include <QMenu>

namespace penwick::test {
namespace {

class Commands : public ProgramTest
{
protected:
    void SetUp() override { editor = start().rtfNotes; }
    void run(const char* name) { item(name)->trigger(); }
    // Sets the text, then selects [from, to).
    void select(int from, int to, const char* text = nullptr)
    {
        if (text)
            editor->setText(QString::fromUtf8(text));
        editor->setSelStart(from);
        editor->setSelLength(to - from);
    }

    RichTextBox* editor = nullptr;
};

// Each style toggles on and off; a mixed selection stays exactly as it was. (The toolbar's
// buttons toggle by their own rule.)
TEST_F(Commands, StyleTogglesLeaveAMixedSelectionAlone)
{
    const std::tuple<const char*, TriState (RichTextBox::*)() const,
        void (RichTextBox::*)(TriState)>
        styles[] = { { "mnuBold", &RichTextBox::SelBold, &RichTextBox::setSelBold },
            { "mnuItalic", &RichTextBox::SelItalic, &RichTextBox::setSelItalic },
            { "mnuUnder", &RichTextBox::SelUnderline, &RichTextBox::setSelUnderline },
            { "mnuStrike", &RichTextBox::SelStrikeThru, &RichTextBox::setSelStrikeThru } };
    editor->setText(QStringLiteral("one two three"));
    for (const auto& [name, read, write] : styles) {
        select(4, 7);
        (editor->*write)(true);
        select(0, 13);
        run(name);
        const TriState mixed = (editor->*read)();
        select(4, 7);
        const TriState kept = (editor->*read)();
        run(name);
        const TriState off = (editor->*read)();
        run(name);
        EXPECT_EQ(std::tuple(mixed, kept, off, (editor->*read)()),
            std::tuple(TriState(), TriState(true), TriState(false), TriState(true)))
            << name;
    }
}

// Normal clears all four styles and keeps size and colour; a size step (two points, pressed in
// the menu tree test) leaves mixed sizes as they are.
TEST_F(Commands, NormalAndSizeCommands)
{
    select(0, 2, "one two three");
    ASSERT_TRUE(editor->setSelFontSize(20));
    select(0, 13);
    editor->setSelStyles(true, true, true, true);
    editor->setSelColor(255);
    run("mnuNormal");
    run("mnuFPlusOne");
    EXPECT_EQ(std::tuple(editor->SelBold(), editor->SelItalic(), editor->SelUnderline(),
                  editor->SelStrikeThru(), editor->SelColor(), editor->SelFontSize()),
        std::tuple(TriState(false), TriState(false), TriState(false), TriState(false),
            std::optional<OleColor>(255), std::optional<float>()));
    select(0, 2);
    EXPECT_EQ(editor->SelFontSize(), std::optional<float>(20));
}

// The font dialog applies five attributes but never bold or italic; a size the editor refuses
// leaves the size, the other choices still apply. The colour dialogs open on the last colour.
TEST_F(Commands, FontAndColourDialogs)
{
    select(0, 4, "face");
    env.dialogs->expectFont({ QStringLiteral("DejaVu Serif"), 14, true, true, true, true, 0xFF });
    run("mnuFont");
    const CommonDialogValues& shown = env.dialogs->shown().back().values;
    EXPECT_TRUE(shown.DialogTitle == u"Choose Font" && shown.Flags == 0x10101 && shown.CancelError);
    EXPECT_EQ(std::tuple(editor->SelFontName().value_or(QString()), editor->SelFontSize(),
                  editor->SelUnderline(), editor->SelStrikeThru(), editor->SelColor(),
                  editor->SelBold(), editor->SelItalic()),
        std::tuple(QStringLiteral("DejaVu Serif"), std::optional<float>(14), TriState(true),
            TriState(true), std::optional<OleColor>(0xFF), TriState(false), TriState(false)));
    env.dialogs->expectFont({ QStringLiteral("DejaVu Sans"), 0, false, false, false, false, 0 });
    run("mnuFont");
    EXPECT_EQ(std::tuple(editor->SelFontSize(), editor->SelUnderline()),
        std::tuple(std::optional<float>(14), TriState(false)));

    env.dialogs->expectColor(0x0000FF);
    run("mnuFC");
    env.dialogs->expectColor(0x00FF00);
    run("mnuBG");
    const auto& text = env.dialogs->shown()[2].values;
    const auto& back = env.dialogs->shown()[3].values;
    EXPECT_TRUE(text.DialogTitle == u"Text Color" && back.DialogTitle == u"Background Color"
        && back.Flags == 3);
    EXPECT_EQ(back.Color, 0xFFu); // opens on red, the last colour chosen
    EXPECT_EQ(editor->SelColor(), std::optional<OleColor>(0xFF));
    closeWindow();
    EXPECT_EQ(env.stored("BG"), u"65280");
}

// The snapshot taken before each press decides: mixed (2) takes bullets off, none (0) puts them
// on, all (1) takes them off.
TEST_F(Commands, BulletsOnAMixedSelectionGoThenComeBackForAll)
{
    editor->setText(QStringLiteral("one\ntwo\nthree"));
    run("mnuBullet");
    select(0, 9);
    QStringList seen;
    for (int i = 0; i < 3; ++i) {
        run("mnuBullet");
        seen << QStringLiteral("%1:%2").arg(window->chkBullet).arg(*editor->SelBullet());
    }
    EXPECT_EQ(seen.join(u' ') + u' ' + editor->Text(), u"2:0 0:1 1:0 one\ntwo\nthree");
}

// Opening either menu refreshes the captions; each item inserts its text built at the click.
TEST_F(Commands, StampCaptionsAreRefreshedWhenTheMenusOpen)
{
    const QDateTime shown(QDate(2026, 3, 4), QTime(9, 5));
    for (const char* menu : { "mnuInsert", "mnuTimeD" }) {
        env.clock->set(shown.addDays(menu[3] == 'I' ? 0 : 1));
        emit window->menuOf(QLatin1String(menu))->aboutToShow();
        for (const StampItem& stamp : StampItems)
            EXPECT_EQ(item(stamp.name)->text(), StampText(stamp.stamp, env.clock->now())) << menu;
    }
    for (const StampItem& stamp : StampItems) {
        select(1, 5, "[word]");
        run(stamp.name);
        EXPECT_EQ(editor->Text(), u'[' + StampText(stamp.stamp, env.clock->now()) + u']');
    }
}

// Each tool on its item; with nothing selected nothing changes.
TEST_F(Commands, SelectionToolsReplaceOnlyASelection)
{
    QStringList results;
    for (const char* name : { "mnuLowercase", "mnuUppercase", "mnuTitleCase", "mnuTruePCase",
             "mnuAltCaps", "mnuReverse", "mnuRemoveSp" }) {
        select(1, 15, "[o'neil   wORLD]");
        run(name);
        select(2, 2);
        run(name);
        results << editor->Text();
    }
    EXPECT_EQ(results.join(u'|'),
        u"[o'neil   world]|[O'NEIL   WORLD]|[O'neil   World]|[O'Neil   World]|"
        "[o'nEiL   WoRlD]|[DLROw   lien'o]|[o'neil wORLD]");
}

// Delimit asks first, even with nothing selected; the count reports selection and document.
TEST_F(Commands, DelimitAndCharacterCountUseTheirBoxes)
{
    select(0, 3, "abc");
    env.prompter->expectInputBox(QStringLiteral(", "));
    run("mnuDelimit");
    const auto& box = env.prompter->shown()[0];
    EXPECT_EQ(QStringList({ box.title, box.prompt, box.defaultText }),
        QStringList(
            { "Text delimiter", "Enter character with which to delimit the selected text:", "-" }));
    select(0, 7);
    env.prompter->expectInputBox(QString()); // Cancel: the empty delimiter leaves the text
    run("mnuDelimit");
    select(1, 1);
    env.prompter->expectInputBox(QStringLiteral("-"));
    run("mnuDelimit");
    EXPECT_EQ(editor->Text(), u"a, b, c");
    select(0, 2);
    env.prompter->expectMsgBox();
    run("mnuCountChar");
    EXPECT_EQ(env.prompter->shown().back().prompt,
        u"Selected text character count: 2\r\n\r\nEntire document character count: 7");
}

} // namespace
} // namespace penwick::test
