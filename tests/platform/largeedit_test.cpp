// SPDX-License-Identifier: GPL-2.0-or-later
// Edits of a megabyte or more are laid out after the edit, between events: the text must come out
// the same, the view must stay where it stood, and undo must take back the whole edit at once.
#include "platform/richtextbox.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

namespace penwick::test {
namespace {

// Over a million characters in short paragraphs, with the caret at the end and in view.
class LargeEdit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString text = QStringLiteral("a quiet line of the note, and some more words\n")
                                 .repeated((1 << 20) / 46 + 30);
        editor.resize(600, 400);
        editor.show();
        editor.setText(text);
        editor.setSelStart(int(text.size()));
        laidOut();
    }

    // Lets the layout finish now instead of in steps, then runs what is due at once.
    void laidOut()
    {
        editor.document()->documentLayout()->documentSize();
        QCoreApplication::processEvents();
    }

    // The character at the top of the view.
    int topOfView() { return editor.cursorForPosition(QPoint(0, 0)).position(); }

    RichTextBox editor;
};

// Formatting or replacing all of it keeps the view where it stood; a megabyte pasted or set as
// rich text at the start is shown where it ends. Either way the layout waits until after the
// edit, and one undo takes the whole edit back.
TEST_F(LargeEdit, EditsAreLaidOutAfterwardsAndUndoneInOneStep)
{
    const QString before = editor.Text();
    const QString pasted = QStringLiteral("pasted words\n").repeated((1 << 20) / 13 + 1);
    RichTextBox source;
    source.setText(pasted);
    const QByteArray rtf = source.TextRTF();
    const auto paste = [&](bool rich) {
        auto* mime = new QMimeData;
        rich ? mime->setData(QStringLiteral("text/rtf"), rtf) : mime->setText(pasted);
        QGuiApplication::clipboard()->setMimeData(mime);
        editor.setSelStart(0);
        editor.Paste();
    };
    const auto selectAll = [&] { editor.setSelStart(0), editor.setSelLength(INT_MAX); };
    const struct
    {
        const char* name;
        std::function<void()> edit;
        QString text;
        TriState bold; // of the selection after the edit
    } cases[] = {
        { "four styles", [&] { selectAll(), editor.setSelStyles(true, true, true, true); }, before,
            true },
        { "text replaced", [&] { selectAll(), editor.setSelText(before.toUpper()); },
            before.toUpper(), false },
        { "text pasted", [&] { paste(false); }, pasted + before, false },
        { "rich text pasted", [&] { paste(true); }, pasted + before, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool keepsView = c.text.size() == before.size();
        const int top = topOfView();
        ASSERT_TRUE(!keepsView || top > (1 << 19)); // the view shows the end of the note
        QSignalSpy changes(&editor, &RichTextBox::Change);
        c.edit();
        EXPECT_FALSE(editor.viewport()->updatesEnabled()); // laid out later, the view held
        EXPECT_EQ(std::tuple(changes.count(), editor.Text(), editor.SelBold()),
            std::tuple(1, c.text, c.bold));
        if (keepsView) { // a key pressed before the layout is done shows the text at once
            QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
            QApplication::sendEvent(&editor, &shift);
            EXPECT_TRUE(editor.viewport()->updatesEnabled() && topOfView() == top);
        }
        laidOut();
        EXPECT_TRUE(editor.viewport()->updatesEnabled());
        EXPECT_TRUE(keepsView ? topOfView() == top
                              : editor.viewport()->rect().contains(editor.cursorRect()));
        editor.Undo();
        laidOut();
        EXPECT_EQ(std::pair(editor.Text(), editor.SelBold()), std::pair(before, TriState(false)));
        EXPECT_TRUE(!keepsView || topOfView() == top);
    }
}

} // namespace
} // namespace penwick::test
