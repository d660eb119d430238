// SPDX-License-Identifier: GPL-2.0-or-later
// The editing commands as the menus run them, on the real editor.
#include "harness/programtest.h"
#include "platform/richtextbox.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

namespace penwick::test {
namespace {

class Commands : public ProgramTest
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        start();
        editor = window->rtfNotes;
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    // Runs a command the way the menu does.
    void run(const char* name) { item(name)->trigger(); }

    // Puts `text` in the editor, with [boldFrom, boldTo) bold, and selects [from, to).
    void setUp(const QString& text, int from, int to, int boldFrom = 0, int boldTo = 0)
    {
        editor->setText(text);
        if (boldTo > boldFrom) {
            select(boldFrom, boldTo);
            editor->setSelBold(true);
        }
        select(from, to);
    }
    void select(int from, int to)
    {
        editor->setSelStart(from);
        editor->setSelLength(to - from);
    }

    RichTextBox* editor = nullptr;
};

TEST_F(Commands, StyleTogglesFollowTheTriStateRule)
{
    const struct
    {
        const char* item;
        TriState (RichTextBox::*read)() const;
        void (RichTextBox::*write)(TriState);
    } styles[] = {
        { "mnuBold", &RichTextBox::SelBold, &RichTextBox::setSelBold },
        { "mnuItalic", &RichTextBox::SelItalic, &RichTextBox::setSelItalic },
        { "mnuUnder", &RichTextBox::SelUnderline, &RichTextBox::setSelUnderline },
        { "mnuStrike", &RichTextBox::SelStrikeThru, &RichTextBox::setSelStrikeThru },
    };
    for (const auto& s : styles) {
        editor->setText(QStringLiteral("one two three"));
        select(0, 13);
        run(s.item); // none -> all
        EXPECT_EQ((editor->*s.read)(), TriState(true)) << s.item;
        run(s.item); // all -> none
        EXPECT_EQ((editor->*s.read)(), TriState(false)) << s.item;
        select(4, 7);
        (editor->*s.write)(true);
        select(0, 13);
        ASSERT_EQ((editor->*s.read)(), std::nullopt) << s.item;
        run(s.item); // mixed stays mixed: nothing changes
        EXPECT_EQ((editor->*s.read)(), std::nullopt) << s.item;
        select(4, 7);
        EXPECT_EQ((editor->*s.read)(), TriState(true)) << s.item;
        select(0, 3);
        EXPECT_EQ((editor->*s.read)(), TriState(false)) << s.item;
    }
}

TEST_F(Commands, NormalClearsStylesButKeepsFaceSizeAndColour)
{
    editor->setText(QStringLiteral("styled"));
    select(0, 6);
    for (auto set : { &RichTextBox::setSelBold, &RichTextBox::setSelItalic,
             &RichTextBox::setSelUnderline, &RichTextBox::setSelStrikeThru })
        (editor->*set)(true);
    editor->setSelColor(255);
    ASSERT_TRUE(editor->setSelFontSize(14));
    run("mnuNormal");
    EXPECT_EQ(editor->SelBold(), TriState(false));
    EXPECT_EQ(editor->SelItalic(), TriState(false));
    EXPECT_EQ(editor->SelUnderline(), TriState(false));
    EXPECT_EQ(editor->SelStrikeThru(), TriState(false));
    EXPECT_EQ(editor->SelColor(), std::optional<OleColor>(255));
    EXPECT_EQ(editor->SelFontSize(), std::optional<float>(14));
}

TEST_F(Commands, FontSizeStepsByTwoWithinWhatTheEditorAccepts)
{
    editor->setText(QStringLiteral("sized"));
    select(0, 5);
    ASSERT_TRUE(editor->setSelFontSize(10));
    run("mnuFPlusOne");
    EXPECT_EQ(editor->SelFontSize(), std::optional<float>(12));
    run("mnuFMinusOne");
    run("mnuFMinusOne");
    EXPECT_EQ(editor->SelFontSize(), std::optional<float>(8));
    // At the edges the editor refuses and the size stays.
    ASSERT_TRUE(editor->setSelFontSize(1));
    run("mnuFMinusOne");
    EXPECT_EQ(editor->SelFontSize(), std::optional<float>(1));
    ASSERT_TRUE(editor->setSelFontSize(1637));
    run("mnuFPlusOne");
    EXPECT_EQ(editor->SelFontSize(), std::optional<float>(1637));
    // Mixed sizes stay mixed.
    select(0, 2);
    ASSERT_TRUE(editor->setSelFontSize(20));
    select(0, 5);
    run("mnuFPlusOne");
    select(0, 2);
    EXPECT_EQ(editor->SelFontSize(), std::optional<float>(20));
}

TEST_F(Commands, TheFontDialogAppliesFiveAttributesButNeverBoldOrItalic)
{
    editor->setText(QStringLiteral("face"));
    select(0, 4);
    env.dialogs->expectFont(
        { QStringLiteral("DejaVu Serif"), 14, true, true, true, true, 0x0000FF });
    run("mnuFont");
    ASSERT_EQ(env.dialogs->shown().size(), 1u);
    const CommonDialogValues& shown = env.dialogs->shown()[0].values;
    EXPECT_EQ(shown.DialogTitle, u"Choose Font");
    EXPECT_EQ(shown.Flags, 0x10101);
    EXPECT_TRUE(shown.CancelError);
    EXPECT_EQ(editor->SelFontName(), std::optional<QString>(QStringLiteral("DejaVu Serif")));
    EXPECT_EQ(editor->SelFontSize(), std::optional<float>(14));
    EXPECT_EQ(editor->SelUnderline(), TriState(true));
    EXPECT_EQ(editor->SelStrikeThru(), TriState(true));
    EXPECT_EQ(editor->SelColor(), std::optional<OleColor>(0xFF));
    EXPECT_EQ(editor->SelBold(), TriState(false));
    EXPECT_EQ(editor->SelItalic(), TriState(false));

    // Cancel changes nothing.
    env.dialogs->expectCancel(FakeCommonDialog::Kind::Font);
    run("mnuFont");
    EXPECT_EQ(editor->SelFontName(), std::optional<QString>(QStringLiteral("DejaVu Serif")));
    EXPECT_EQ(editor->SelUnderline(), TriState(true));

    // Sizes the editor refuses leave the size; the other choices still apply.
    for (const float bad : { 0.f, -5.f, 1e9f }) {
        env.dialogs->expectFont(
            { QStringLiteral("DejaVu Sans"), bad, false, false, false, false, 0 });
        run("mnuFont");
        EXPECT_EQ(editor->SelFontSize(), std::optional<float>(14)) << bad;
        EXPECT_EQ(editor->SelFontName(), std::optional<QString>(QStringLiteral("DejaVu Sans")))
            << bad;
        EXPECT_EQ(editor->SelUnderline(), TriState(false)) << bad;
    }
}

TEST_F(Commands, ColourDialogsRememberTheLastColour)
{
    editor->setText(QStringLiteral("red"));
    select(0, 3);
    env.dialogs->expectColor(0x0000FF);
    run("mnuFC");
    EXPECT_EQ(editor->SelColor(), std::optional<OleColor>(0xFF));
    env.dialogs->expectColor(0x00FF00);
    run("mnuBG");
    ASSERT_EQ(env.dialogs->shown().size(), 2u);
    const auto& text = env.dialogs->shown()[0].values;
    const auto& back = env.dialogs->shown()[1].values;
    EXPECT_EQ(text.DialogTitle, u"Text Color");
    EXPECT_EQ(back.DialogTitle, u"Background Color");
    EXPECT_EQ(back.Flags, 3);
    EXPECT_EQ(back.Color, 0xFFu); // opens on red, the last colour chosen
    EXPECT_EQ(editor->BackColor(), 0x00FF00u);
    EXPECT_EQ(editor->SelColor(), std::optional<OleColor>(0xFF)); // the text keeps its colour

    env.dialogs->expectCancel(FakeCommonDialog::Kind::Color);
    run("mnuBG");
    env.dialogs->expectCancel(FakeCommonDialog::Kind::Color);
    run("mnuFC");
    EXPECT_EQ(editor->BackColor(), 0x00FF00u);
    EXPECT_EQ(editor->SelColor(), std::optional<OleColor>(0xFF));
    closeWindow();
    EXPECT_EQ(env.stored("BG"), u"65280");
}

// Center and Right toggle back to left; on a mixed selection they set every paragraph.
TEST_F(Commands, CenterAndRightToggleBackToLeft)
{
    editor->setText(QStringLiteral("one\ntwo\nthree"));
    const struct
    {
        int from, to;
        const char* item;
        std::optional<int> after;
    } steps[] = { { 0, 0, "mnuCenter", 2 }, { 0, 0, "mnuCenter", 0 }, { 0, 0, "mnuRight", 1 },
        { 0, 0, "mnuRight", 0 }, { 4, 4, "mnuCenter", 2 }, { 0, 6, nullptr, std::nullopt },
        { 0, 6, "mnuRight", 1 }, { 0, 6, "mnuLeft", 0 }, { 0, 6, "mnuLeft", 0 } };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message()
            << step.from << '-' << step.to << ' ' << (step.item ? step.item : ""));
        select(step.from, step.to);
        if (step.item)
            run(step.item);
        EXPECT_EQ(editor->SelAlignment(), step.after);
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

TEST_F(Commands, StampCaptionsAreRefreshedWhenTheMenusOpen)
{
    // The seven captions, in menu order, at 4:mm PM on 16 November 1998.
    const auto captions = [](const char* mm) {
        return QStringList { "11/16/98", "11/16/98 4:mm PM", "Monday, November 16, 1998",
            "Monday, November 16, 1998 4:mm PM", "November 16, 1998 4:mm PM", "November 16, 1998",
            "4:mm PM" }
            .replaceInStrings(QStringLiteral("mm"), QLatin1String(mm));
    };
    QMenu* stamps = window->menuOf(QStringLiteral("mnuTimeD"));
    env.clock->set(QDateTime(QDate(1998, 11, 16), QTime(16, 20)));
    for (const char* menu : { "mnuInsert", "mnuTimeD" }) {
        for (const char* stamp : { "mnuDate", "mnuTime" })
            item(stamp)->setText(QStringLiteral("stale"));
        emit window->menuOf(QLatin1String(menu))->aboutToShow();
        QStringList shown;
        for (QAction* a : stamps->actions())
            shown << a->text();
        EXPECT_EQ(shown, captions("20")) << menu;
    }
    // Each item inserts its caption's text, built again at the click.
    env.clock->set(QDateTime(QDate(1998, 11, 16), QTime(16, 21)));
    for (int i = 0; i < 7; ++i) {
        editor->setText(QStringLiteral("[word]"));
        select(1, 5);
        stamps->actions().at(i)->trigger();
        EXPECT_EQ(editor->Text(), u'[' + captions("21").at(i) + u']') << i;
    }
    env.clock->set(QDateTime(QDate(2005, 3, 1), QTime(9, 5)));
    editor->setText(QStringLiteral("at "));
    select(3, 3);
    run("mnuTime");
    EXPECT_EQ(editor->Text(), u"at 9:05 AM");
}

TEST_F(Commands, SelectionToolsReplaceTheSelection)
{
    const struct
    {
        const char* item;
        const char* before;
        const char* after;
    } tools[] = {
        { "mnuLowercase", "[MiXeD Case]", "[mixed case]" },
        { "mnuUppercase", "[MiXeD Case]", "[MIXED CASE]" },
        { "mnuTitleCase", "[hELLO   wORLD]", "[Hello   World]" },
        { "mnuTruePCase", "[o'neil-smith]", "[O'Neil-Smith]" },
        { "mnuAltCaps", "[hello world]", "[hElLo wOrLd]" },
        { "mnuReverse", "[abc]", "[cba]" },
        { "mnuRemoveSp", "[a   b]", "[a b]" },
    };
    for (const auto& t : tools) {
        const QString before = QString::fromUtf8(t.before);
        editor->setText(before);
        select(1, int(before.size()) - 1);
        run(t.item);
        EXPECT_EQ(editor->Text(), QString::fromUtf8(t.after)) << t.item;
        // With nothing selected nothing changes.
        select(2, 2);
        const QString now = editor->Text();
        run(t.item);
        EXPECT_EQ(editor->Text(), now) << t.item;
    }
    // An emoji stays whole when reversed.
    editor->setText(QStringLiteral("a😀b"));
    select(0, 4);
    run("mnuReverse");
    EXPECT_EQ(editor->Text(), u"b😀a");
}

TEST_F(Commands, DelimitAsksFirstEvenWithNothingSelected)
{
    editor->setText(QStringLiteral("abc"));
    select(0, 3);
    env.prompter->expectInputBox(QStringLiteral(", "));
    run("mnuDelimit");
    EXPECT_EQ(editor->Text(), u"a, b, c");
    ASSERT_EQ(env.prompter->shown().size(), 1u);
    const auto& box = env.prompter->shown()[0];
    EXPECT_EQ(box.title, u"Text delimiter");
    EXPECT_EQ(box.prompt, u"Enter character with which to delimit the selected text:");
    EXPECT_EQ(box.defaultText, u"-");
    // Cancel gives the empty delimiter: the text stays as it was.
    select(0, 7);
    env.prompter->expectInputBox(QString());
    run("mnuDelimit");
    EXPECT_EQ(editor->Text(), u"a, b, c");
    select(1, 1);
    env.prompter->expectInputBox(QStringLiteral("-"));
    run("mnuDelimit");
    EXPECT_EQ(env.prompter->shown().size(), 3u);
}

TEST_F(Commands, CharacterCountReportsSelectionAndDocument)
{
    editor->setText(QStringLiteral("abc"));
    select(0, 2);
    env.prompter->expectMsgBox();
    run("mnuCountChar");
    ASSERT_EQ(env.prompter->shown().size(), 1u);
    const auto& box = env.prompter->shown()[0];
    EXPECT_EQ(
        box.prompt, u"Selected text character count: 2\r\n\r\nEntire document character count: 3");
    EXPECT_TRUE(box.icon == MsgIcon::Information && box.buttons == MsgButtons::Ok);
    EXPECT_EQ(box.title, u"Penwick");
    EXPECT_EQ(editor->Text(), u"abc");
}

TEST_F(Commands, ClipboardCommandsAndSelectAll)
{
    run("mnuSelectAll"); // empty note: nothing selected, caret at 0
    EXPECT_EQ(editor->SelStart(), 0);
    EXPECT_EQ(editor->SelLength(), 0);
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
    // Rich text offered on the clipboard comes in with its formatting.
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("text/rtf"), "{\\rtf1\\ansi {\\b bold}}");
    mime->setText(QStringLiteral("bold"));
    QApplication::clipboard()->setMimeData(mime);
    editor->setText(QString());
    run("mnuPaste");
    EXPECT_EQ(editor->Text(), u"bold");
    select(0, 4);
    EXPECT_EQ(editor->SelBold(), TriState(true));
}

} // namespace
} // namespace penwick::test
