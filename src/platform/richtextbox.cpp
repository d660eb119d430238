// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/richtextbox.h"

#include "platform/atomicfile.h"
#include "platform/rtf/rtf.h"
#include "platform/twips.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace penwick {

struct RichTextBox::Private
{
    float rightMargin = 0;
    float bulletIndent = 0;
    OleColor backColor = SystemWindowBackground;
};

namespace {

// Paragraph and line separators read as "\n"; every other unit is kept.
QString plainFromRaw(QString raw)
{
    for (QChar& ch : raw) {
        if (ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator)
            ch = u'\n';
    }
    return raw;
}

} // namespace

RichTextBox::RichTextBox(QWidget* parent)
    : QTextEdit(parent)
    , d(std::make_unique<Private>())
{
    setAcceptRichText(true);
    connect(this, &QTextEdit::textChanged, this, &RichTextBox::Change);
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextBox::SelChange);
    connect(this, &QTextEdit::selectionChanged, this, &RichTextBox::SelChange);
}

RichTextBox::~RichTextBox() = default;

bool RichTextBox::LoadFile(const QString& path, QString* error)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QFileInfo(path).isDir() ? tr("It is a folder.") : file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (!rtf::looksLikeRtf(bytes)) {
        if (error)
            *error = tr("It is not a rich-text file.");
        return false;
    }
    QTextDocument scratch;
    QTextCursor scratchCursor(&scratch);
    if (!rtf::insertRtf(scratchCursor, bytes)) {
        if (error)
            *error = tr("It is not a rich-text file.");
        return false;
    }
    QTextCursor all(document());
    all.beginEditBlock();
    all.select(QTextCursor::Document);
    all.removeSelectedText();
    rtf::insertRtf(all, bytes);
    all.endEditBlock();
    document()->clearUndoRedoStacks();
    moveCursor(QTextCursor::Start);
    return true;
}

bool RichTextBox::SaveFile(const QString& path, int fileType, QString* error)
{
    QByteArray bytes;
    if (fileType == 1)
        bytes = Text().toUtf8();
    else
        bytes = rtf::writeRtf(*document());
    return writeFileAtomically(path, bytes, error);
}

QString RichTextBox::Text() const
{
    return plainFromRaw(document()->toRawText());
}

void RichTextBox::setText(const QString& text)
{
    setPlainText(text);
}

QByteArray RichTextBox::TextRTF() const
{
    return rtf::writeRtf(*document());
}

int RichTextBox::SelStart() const
{
    return textCursor().selectionStart();
}

void RichTextBox::setSelStart(int start)
{
    QTextCursor c = textCursor();
    const int end = document()->characterCount() - 1;
    c.setPosition(std::clamp(start, 0, end));
    setTextCursor(c);
}

int RichTextBox::SelLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void RichTextBox::setSelLength(int length)
{
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    const int end = document()->characterCount() - 1;
    c.setPosition(start);
    c.setPosition(std::clamp(start + std::max(length, 0), start, end), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString RichTextBox::SelText() const
{
    return plainFromRaw(textCursor().selectedText());
}

void RichTextBox::setSelText(const QString& text)
{
    textCursor().insertText(text);
}

float RichTextBox::RightMargin() const
{
    return d->rightMargin;
}

void RichTextBox::setRightMargin(float twips)
{
    d->rightMargin = twips;
    if (twips <= 0) {
        setLineWrapMode(QTextEdit::WidgetWidth);
    } else if (twips >= 99999) {
        setLineWrapMode(QTextEdit::NoWrap);
    } else {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(Twips::forScreenOf(this).toPixelsX(twips).value_or(0));
    }
}

float RichTextBox::BulletIndent() const
{
    return d->bulletIndent;
}

void RichTextBox::setBulletIndent(float twips)
{
    d->bulletIndent = twips;
}

OleColor RichTextBox::BackColor() const
{
    return d->backColor;
}

bool RichTextBox::setBackColor(OleColor color)
{
    const auto resolved = oleToColor(color, palette());
    if (!resolved)
        return false;
    d->backColor = color;
    QPalette p = palette();
    p.setColor(QPalette::Base, *resolved);
    setPalette(p);
    return true;
}

void RichTextBox::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

bool RichTextBox::Move(double left, double top, double width, double height)
{
    const Twips t = Twips::forScreenOf(this);
    const auto x = t.toPixelsX(left);
    const auto y = t.toPixelsY(top);
    const auto w = t.toPixelsX(width);
    const auto h = t.toPixelsY(height);
    if (!x || !y || !w || !h || *w < 0 || *h < 0)
        return false;
    setGeometry(*x, *y, *w, *h);
    return true;
}

} // namespace penwick
