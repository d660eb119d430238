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

    RichTextBox* editor = nullptr;
};

// A style toggles on and off, and a mixed selection stays exactly as it was (every style item
// runs in the popup twin test, on and off by their keys in the menu tree test; the toolbar's
// buttons toggle by their own rule). Normal clears all four styles and keeps size and colour; a
// size step leaves mixed sizes as they are.
TEST_F(Commands, FormatCommands)
{
    select(4, 3, "one two three");
    ASSERT_TRUE(editor->setSelFontSize(20));
    editor->setSelItalic(true);
    // Italic pressed (or not) on [from, to), then read: 0, 1, or 2 for mixed.
    QString seen;
    for (const auto& [from, to, press] : { std::tuple(0, 13, true), std::tuple(4, 7, false),
             std::tuple(4, 7, true), std::tuple(0, 13, true) }) {
        select(from, to - from);
        if (press)
            run("mnuItalic");
        seen += QString::number(editor->SelItalic() ? int(*editor->SelItalic()) : 2);
    }
    EXPECT_EQ(seen, u"2101"); // mixed stays, the part kept; off, then on for all
    editor->setSelStyles(true, true, true, true);
    editor->setSelColor(255);
    run("mnuNormal");
    run("mnuFPlusOne");
    EXPECT_EQ(std::tuple(editor->SelBold(), editor->SelItalic(), editor->SelUnderline(),
                  editor->SelStrikeThru(), editor->SelColor(), editor->SelFontSize()),
        std::tuple(TriState(false), TriState(false), TriState(false), TriState(false),
            std::optional<OleColor>(255), std::optional<float>()));
    select(4, 3);
    EXPECT_EQ(editor->SelFontSize(), std::optional<float>(20));

    // For bullets the snapshot taken before each press decides: mixed (2) takes bullets off,
    // none (0) puts them on, all (1) takes them off.
    editor->setText(QStringLiteral("one\ntwo\nthree"));
    run("mnuBullet");
    select(0, 9);
    seen.clear();
    for (int i = 0; i < 3; ++i) {
        run("mnuBullet");
        seen += QStringLiteral("%1:%2 ").arg(window->chkBullet).arg(*editor->SelBullet());
    }
    EXPECT_EQ(seen + editor->Text(), u"2:0 0:1 1:0 one\ntwo\nthree");
    // The font dialog applies five attributes but never bold or italic; the colour dialogs open
    // on the colour chosen last (the titles are the menu tree test's).
    select(0, 3);
    env.dialogs->expectFont({ QStringLiteral("DejaVu Serif"), 14, true, true, true, true, 0xFF });
    run("mnuFont");
    const CommonDialogValues& font = env.dialogs->shown().back().values;
    EXPECT_TRUE(font.DialogTitle == u"Choose Font" && font.Flags == 0x10101 && font.CancelError);
    EXPECT_EQ(std::tuple(editor->SelFontName().value_or(QString()), editor->SelFontSize(),
                  editor->SelUnderline(), editor->SelStrikeThru(), editor->SelColor(),
                  editor->SelBold(), editor->SelItalic()),
        std::tuple(QStringLiteral("DejaVu Serif"), std::optional<float>(14), TriState(true),
            TriState(true), std::optional<OleColor>(0xFF), TriState(false), TriState(false)));
    env.dialogs->expectColor(0x00FF00);
    run("mnuBG");
    EXPECT_TRUE(env.dialogs->shown().back().values.Flags == 3
        && env.dialogs->shown().back().values.Color == 0xFFu);
    env.dialogs->expectColor(0x0000FF);
    run("mnuFC");
    EXPECT_EQ(std::pair(env.dialogs->shown().back().values.Color, editor->SelColor()),
        std::pair(OleColor(0x00FF00), std::optional<OleColor>(0x0000FF)));
    closeWindow();
    EXPECT_EQ(env.stored("BG"), u"65280");
}

// The Insert and Selection menus: each tool on its item; with nothing selected nothing changes.
// Delimit asks first, even with nothing selected; the count reports selection and document.
TEST_F(Commands, SelectionToolsAndStampCaptions)
{
    QStringList results;
    for (const char* name : { "mnuLowercase", "mnuUppercase", "mnuTitleCase", "mnuTruePCase",
             "mnuAltCaps", "mnuReverse", "mnuRemoveSp" }) {
        select(1, 14, "[o'neil   wORLD]");
        run(name);
        select(2, 0);
        run(name);
        results << editor->Text();
    }
    EXPECT_EQ(results.join(u'|'),
        u"[o'neil   world]|[O'NEIL   WORLD]|[O'neil   World]|[O'Neil   World]|"
        "[o'nEiL   WoRlD]|[DLROw   lien'o]|[o'neil wORLD]");

    select(0, 3, "abc");
    env.prompter->expectInputBox(QStringLiteral(", "));
    run("mnuDelimit");
    const auto& box = env.prompter->shown()[0];
    EXPECT_EQ(box.title + u'|' + box.prompt + u'|' + box.defaultText,
        u"Text delimiter|Enter character with which to delimit the selected text:|-");
    select(1, 0);
    env.prompter->expectInputBox(QStringLiteral("-"));
    run("mnuDelimit");
    EXPECT_EQ(editor->Text(), u"a, b, c");
    select(0, 2);
    env.prompter->expectMsgBox();
    run("mnuCountChar");
    EXPECT_EQ(env.prompter->shown().back().prompt,
        u"Selected text character count: 2\r\n\r\nEntire document character count: 7");
    // Opening either menu refreshes the stamp captions (each item inserts its text in the popup
    // twin test).
    for (const char* menu : { "mnuInsert", "mnuTimeD" }) {
        env.clock->set(QDateTime(QDate(2026, 3, menu[3] == 'I' ? 4 : 5), QTime(9, 5)));
        emit window->menuOf(QLatin1String(menu))->aboutToShow();
        EXPECT_EQ(item("mnuLongDT")->text(), StampText(Stamp::LongDT, env.clock->now())) << menu;
    }
}

} // namespace
} // namespace penwick::test
