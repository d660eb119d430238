// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/olecolor.h"

#include <QByteArray>
#include <QString>
#include <QTextEdit>
#include <memory>
#include <optional>

class QPrinter;

namespace penwick {

// A selection attribute: on, off, or mixed (nullopt). Writing nullopt changes nothing.
using TriState = std::optional<bool>;

// The rich-text editing surface. Positions and lengths count UTF-16 units from 0; a paragraph
// break counts as one unit and reads as "\n" in Text and SelText.
class RichTextBox : public QTextEdit
{
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);
    ~RichTextBox() override;

    // Replaces the whole content by the file read as rich text. A missing, unreadable or
    // non-RTF file fails and leaves the document as it was.
    bool LoadFile(const QString& path, QString* error = nullptr);
    // Writes the whole content: fileType 0 rich text, 1 plain text (UTF-8, "\n" line ends).
    // The file is replaced atomically: a failed write leaves the previous file in place.
    bool SaveFile(const QString& path, int fileType = 0, QString* error = nullptr);

    QString Text() const;
    void setText(const QString& text); // plain text; "" empties the editor
    QByteArray TextRTF() const;
    void setTextRTF(const QByteArray& rtf);

    int SelStart() const;
    void setSelStart(int start); // moves the caret, clamped; the selection becomes empty
    int SelLength() const;
    void setSelLength(int length); // extends from SelStart, clamped
    QString SelText() const;
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
    TriState SelBullet() const;
    void setSelBullet(TriState value);
    std::optional<QString> SelFontName() const;
    void setSelFontName(const std::optional<QString>& name);
    std::optional<float> SelFontSize() const;
    // Sizes outside 1..1638 points are refused: returns false and changes nothing.
    bool setSelFontSize(std::optional<float> points);
    std::optional<OleColor> SelColor() const;
    void setSelColor(std::optional<OleColor> color);
    // 0 left, 1 right, 2 centre.
    std::optional<int> SelAlignment() const;
    void setSelAlignment(std::optional<int> alignment);

    float BulletIndent() const; // twips
    void setBulletIndent(float twips);
    float RightMargin() const; // twips: 0 wraps at the edge, 99999 (or more) does not wrap
    void setRightMargin(float twips);

    // Options: 2 whole word, 4 match case. Without start and end it searches from the selection
    // start to the end. Selects the match and returns its position, or returns -1.
    int Find(const QString& text, std::optional<int> start = std::nullopt,
        std::optional<int> end = std::nullopt, int options = 0);
    // Prints the selection, or everything when nothing is selected.
    void SelPrint(QPrinter& printer);

    OleColor BackColor() const;
    bool setBackColor(OleColor color); // false for a value that names no colour

    // The editing messages of the control.
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
    // 2 Ctrl, 4 Alt.
    void KeyDown(int& KeyCode, int& Shift);
    void SelChange();
    // Button 1 left, 2 right, 4 middle; X and Y in twips.
    void MouseDown(int Button, int Shift, float X, float Y);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace penwick
