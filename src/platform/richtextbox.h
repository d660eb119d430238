// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/olecolor.h"

#include <QByteArray>
#include <QString>
#include <QTextEdit>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMimeData;
class QPrinter;

namespace penwick {

// A selection attribute: on, off, or mixed (nullopt). Writing nullopt changes nothing.
using TriState = std::optional<bool>;

// The rich-text editing surface. Positions and lengths count UTF-16 units from 0; a paragraph
// break counts as one unit and reads as "\n" in Text and SelText, a picture as U+FFFC.
//
// Selection attributes are read over the selected characters (paragraph marks and pictures do not
// count) or, for bullets and alignment, over the paragraphs the selection touches; a selection
// that ends at the start of a paragraph does not touch it. With nothing selected they read and
// write the formatting at the caret. A bulleted paragraph is an item of a disc (or circle or
// square) list; every list level is indented by BulletIndent.
class RichTextBox : public QTextEdit
{
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);
    ~RichTextBox() override;

    // Replaces the whole content by the file read as rich text and clears the undo history. A
    // missing, unreadable, non-RTF or over-large (more than 64 MB) file fails and leaves the
    // document as it was.
    bool LoadFile(const QString& path, QString* error = nullptr);
    // LoadFile in two halves. The reading needs no editor and may run on another thread; the
    // document it returns has no parent, and must be in the editor's thread when adopted.
    static std::unique_ptr<QTextDocument> ReadFile(const QString& path, QString* error = nullptr);
    void AdoptDocument(std::unique_ptr<QTextDocument> fresh);
    // Writes the whole content: fileType 0 rich text, 1 plain text (UTF-8 without BOM, "\n" line
    // ends, no pictures).
    // The file is replaced atomically: a failed write leaves the previous file in place.
    bool SaveFile(const QString& path, int fileType = 0, QString* error = nullptr);

    QString Text() const;
    void setText(const QString& text); // plain text; "" empties the editor
    QByteArray TextRTF() const;
    // Replaces the whole content; bytes that are not rich text go in as plain text.
    void setTextRTF(const QByteArray& rtf);

    int SelStart() const;
    void setSelStart(int start); // moves the caret, clamped; the selection becomes empty
    int SelLength() const;
    void setSelLength(int length); // extends from SelStart, clamped
    QString SelText() const;
    // Replaces the selection (or inserts at the caret) with plain text in the caret's format;
    // CR LF and CR count as one paragraph break. The caret ends after the new text.
    void setSelText(const QString& text);
    QByteArray SelRTF() const;
    // Bytes that are not rich text go in as plain text (UTF-8, UTF-16 with BOM, else cp1252).
    void setSelRTF(const QByteArray& rtf);

    TriState SelBold() const;
    void setSelBold(TriState value);
    TriState SelItalic() const;
    void setSelItalic(TriState value);
    TriState SelUnderline() const;
    void setSelUnderline(TriState value);
    TriState SelStrikeThru() const;
    void setSelStrikeThru(TriState value);
    // The four styles at once, as one step to undo; a mixed (nullopt) one is left as it is.
    void setSelStyles(TriState bold, TriState italic, TriState underline, TriState strikeThru);
    TriState SelBullet() const;
    void setSelBullet(TriState value);
    std::optional<QString> SelFontName() const;
    void setSelFontName(const std::optional<QString>& name);
    std::optional<float> SelFontSize() const;
    // Sizes outside 1..1638 points are refused: returns false and changes nothing.
    bool setSelFontSize(std::optional<float> points);
    // Text that follows the system's text colour reads as SystemWindowText, and writing that
    // value makes the text follow it again; other system colours are written as they look now.
    std::optional<OleColor> SelColor() const;
    bool setSelColor(std::optional<OleColor> color); // false for a value that names no colour
    // 0 left, 1 right, 2 centre, and 3 for justified paragraphs (which files may hold).
    std::optional<int> SelAlignment() const;
    bool setSelAlignment(std::optional<int> alignment); // false for any other value

    // Twips by which a list level, and so a bulleted paragraph, is indented.
    float BulletIndent() const;
    void setBulletIndent(float twips);
    float RightMargin() const; // twips: 0 wraps at the edge, 99999 (or more) does not wrap
    void setRightMargin(float twips);

    // Replaces `length` characters at each of `starts` (ascending, not overlapping) by `text`,
    // each in the format of the first character it replaces, as one step to undo.
    void ReplaceEach(const std::vector<int>& starts, int length, const QString& text);
    // Prints the selection, or everything when nothing is selected.
    void SelPrint(QPrinter& printer);

    OleColor BackColor() const;
    bool setBackColor(OleColor color); // false for a value that names no colour

    // The editing messages of the control. Paste takes the richest format offered: rich text,
    // then HTML, plain text, a picture; Copy offers rich text, HTML and plain text.
    void Cut();
    void Copy();
    void Paste();
    void Undo();

    void SetFocus();
    // Places the control, in twips of its parent; false (and no change) when refused.
    bool Move(double left, double top, double width, double height);

signals:
    void Change();
    // Raised before the editor handles a key: Windows virtual-key code, Shift mask 1 Shift,
    // 2 Ctrl, 4 Alt. A handler that sets KeyCode to 0 takes the key away from the editor.
    void KeyDown(int& KeyCode, int& Shift);
    // Raised once for each move of the caret or change of the selection.
    void SelChange();
    // Button 1 left, 2 right, 4 middle; X and Y in twips.
    void MouseDown(int Button, int Shift, float X, float Y);

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    struct Private;
    void replaceDocument(QTextDocument* fresh);
    void reportSelection(bool always);
    void applyCharFormat(const QTextCharFormat& format);
    // Runs an edit that changes `span` characters; see the definition for large ones, after
    // which the view shows the caret when `followCaret`, else the place it showed before.
    void runEdit(int span, const std::function<void()>& edit, bool followCaret = false);
    // Shows the text again once it is laid out where the view stood (or at once when `now`).
    void releaseView(bool now);
    void showView();
    std::unique_ptr<Private> d;
};

} // namespace penwick
