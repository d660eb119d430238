// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/richtextbox.h"

#include "platform/atomicfile.h"
#include "platform/formatindex.h"
#include "platform/pictures.h"
#include "platform/rtf/rtf.h"
#include "platform/selectionmime.h"
#include "platform/textdecode.h"
#include "platform/twips.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrinter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>
#include <algorithm>
#include <climits>
#include <cmath>

namespace penwick {

namespace {

constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
// Margins and indents live in the document in pixels of a 96 DPI page.
constexpr double TwipsPerDocumentPixel = 15.0;
// Below this a bullet has no room left of its text.
constexpr double MinBulletIndentPixels = 8.0;
constexpr float MinFontSize = 1;
constexpr float MaxFontSize = 1638;
// An edit of this many characters or more is laid out after it, a part between events, as a
// freshly loaded note is: laying out ten megabytes at once would hold the program for seconds.
constexpr int LazyLayoutSpan = 1 << 20;

const char* const RtfMimeTypes[] = { "text/rtf", "application/rtf", "text/richtext" };

// CR LF and a lone CR become "\n", so that each line end makes one paragraph break.
QString normalisedLineEnds(const QString& text)
{
    if (!text.contains(u'\r'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            out += u'\n';
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

int shiftMask(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

// The Windows virtual-key code of a key (a US keyboard's for punctuation), or 0 for a key that
// has none.
int virtualKey(const QKeyEvent& event)
{
    const int key = event.key();
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key; // 65..90
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return keypad ? 96 + (key - Qt::Key_0) : key; // 48..57
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Print:
    case Qt::Key_SysReq:
        return 44;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Help:
        return 47;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
        return 91;
    case Qt::Key_Super_R:
        return 92;
    case Qt::Key_Menu:
        return 93;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    // Shifted digits keep the digit's key.
    case Qt::Key_ParenRight:
        return 48;
    case Qt::Key_Exclam:
        return 49;
    case Qt::Key_At:
        return 50;
    case Qt::Key_NumberSign:
        return 51;
    case Qt::Key_Dollar:
        return 52;
    case Qt::Key_Percent:
        return 53;
    case Qt::Key_AsciiCircum:
        return 54;
    case Qt::Key_Ampersand:
        return 55;
    case Qt::Key_Asterisk:
        return keypad ? 106 : 56;
    case Qt::Key_ParenLeft:
        return 57;
    case Qt::Key_Plus:
        return keypad ? 107 : 187;
    case Qt::Key_Minus:
        return keypad ? 109 : 189;
    case Qt::Key_Period:
        return keypad ? 110 : 190;
    case Qt::Key_Slash:
        return keypad ? 111 : 191;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
        return 186;
    case Qt::Key_Equal:
        return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return 188;
    case Qt::Key_Underscore:
        return 189;
    case Qt::Key_Greater:
        return 190;
    case Qt::Key_Question:
        return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return 222;
    default:
        return 0;
    }
}

bool isUndoKey(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Z && (event.modifiers() & Qt::ControlModifier);
}

// Keys that move the caret, select or copy leave the text as it is; any other key may change it.
bool leavesTextAlone(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_Escape:
        return true;
    default:
        return event.matches(QKeySequence::Copy) || event.matches(QKeySequence::SelectAll);
    }
}

} // namespace

struct RichTextBox::Private
{
    float rightMargin = 0;
    float bulletIndent = 0;
    OleColor backColor = SystemWindowBackground;
    FormatIndex index;

    // The facts of the selection last asked about, while the document is unchanged.
    int factsFrom = -1;
    int factsTo = -1;
    quint64 factsVersion = 0;
    RangeFacts facts;

    // The selection SelChange last reported.
    int reportedAnchor = -1;
    int reportedPosition = -1;
    // While above 0, Change and SelChange are held back (one event per operation).
    int quiet = 0;

    // After a large edit the view keeps its old picture until the text it showed is laid out
    // again: the character that stood at its top, and that character's line top in the viewport.
    bool viewHeld = false;
    int heldPosition = 0;
    int heldTop = 0;
    QMetaObject::Connection layoutProgress;
    // The document's revision after the last large edit: undoing it is a large edit too.
    int largeEditRevision = -1;
    // After a large paste the view shows the caret once the text up to it is laid out.
    bool followCaret = false;

    // Selections handed to the clipboard that still read from the document.
    std::vector<QPointer<SelectionMimeData>> offers;

    // Called before the document changes: what was offered keeps what was selected.
    void freezeOffers()
    {
        for (const QPointer<SelectionMimeData>& offer : offers) {
            if (offer)
                offer->freeze();
        }
        offers.clear();
    }

    const RangeFacts& factsOf(QTextDocument* document, int from, int to)
    {
        if (index.document() != document)
            index.setDocument(document);
        if (from != factsFrom || to != factsTo || index.version() != factsVersion) {
            facts = index.facts(from, to);
            factsFrom = from;
            factsTo = to;
            factsVersion = index.version();
        }
        return facts;
    }

    // The selected characters, or the caret's formatting when there are none.
    CharFacts charFacts(const QTextEdit& edit)
    {
        const QTextCursor cursor = edit.textCursor();
        if (!cursor.hasSelection())
            return index.factsOf(cursor.charFormat());
        const RangeFacts& range
            = factsOf(edit.document(), cursor.selectionStart(), cursor.selectionEnd());
        if (range.chars.hasCharacters())
            return range.chars;
        QTextCursor at(edit.document());
        at.setPosition(cursor.selectionStart());
        return index.factsOf(at.charFormat());
    }
};

RichTextBox::RichTextBox(QWidget* parent)
    : QTextEdit(parent)
    , d(std::make_unique<Private>())
{
    setAcceptRichText(true);
    d->index.setDocument(document());
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (d->quiet == 0)
            emit Change();
    });
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] { reportSelection(false); });
    connect(this, &QTextEdit::selectionChanged, this, [this] { reportSelection(false); });
    // The editor's own text control blinks the caret from a timer; see eventFilter.
    for (QObject* child : children()) {
        if (child->inherits("QWidgetTextControl"))
            child->installEventFilter(this);
    }
}

RichTextBox::~RichTextBox()
{
    // Another program may still paste what was copied here.
    d->freezeOffers();
    // The editor's own teardown may still move its cursor; nothing is reported from here on.
    disconnect(this, nullptr, this, nullptr);
}

void RichTextBox::reportSelection(bool always)
{
    if (d->quiet > 0)
        return;
    const QTextCursor cursor = textCursor();
    if (!always && cursor.anchor() == d->reportedAnchor && cursor.position() == d->reportedPosition)
        return;
    d->reportedAnchor = cursor.anchor();
    d->reportedPosition = cursor.position();
    emit SelChange();
}

// --- Whole content ---------------------------------------------------------------------------

namespace {

// An empty document with no undo history being recorded yet.
std::unique_ptr<QTextDocument> newDocument()
{
    auto fresh = std::make_unique<QTextDocument>();
    fresh->setUndoRedoEnabled(false);
    return fresh;
}

// Gives `fresh` the editor-wide settings of `model`.
void setUpLike(const QTextDocument& model, QTextDocument& fresh)
{
    fresh.setDefaultFont(model.defaultFont());
    fresh.setDocumentMargin(model.documentMargin());
    fresh.setIndentWidth(model.indentWidth());
    fresh.setDefaultStyleSheet(model.defaultStyleSheet());
    fresh.setUseDesignMetrics(model.useDesignMetrics());
    fresh.setDefaultTextOption(model.defaultTextOption());
    fresh.setDefaultCursorMoveStyle(model.defaultCursorMoveStyle());
    fresh.setBaseUrl(model.baseUrl());
}

} // namespace

void RichTextBox::replaceDocument(QTextDocument* fresh)
{
    // The editor deletes a document it made itself; one read by LoadFile is ours to delete.
    QTextDocument* old = document();
    const bool ours = old->parent() == this;
    d->freezeOffers();
    showView(); // nothing of the old text is left to wait for
    d->largeEditRevision = -1;
    ++d->quiet;
    fresh->setUndoRedoEnabled(true);
    setDocument(fresh);
    // A fresh cursor: no formatting left over from the old text, caret at the start.
    setTextCursor(QTextCursor(fresh));
    d->index.setDocument(fresh);
    if (ours)
        delete old;
    --d->quiet;
    emit Change();
    reportSelection(true);
}

std::unique_ptr<QTextDocument> RichTextBox::ReadFile(const QString& path, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return nullptr;
    };
    const QFileInfo info(path);
    if (info.isDir())
        return fail(tr("It is a folder."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    if (file.size() > MaxFileSize)
        return fail(tr("It is larger than 64 MB."));
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (bytes.size() > MaxFileSize)
        return fail(tr("It is larger than 64 MB."));
    if (!rtf::looksLikeRtf(bytes))
        return fail(tr("It is not a rich-text file."));
    // A document of its own: a file the reader refuses changes nothing, and a large file is not
    // laid out or recorded for undo while it is read.
    std::unique_ptr<QTextDocument> fresh = newDocument();
    if (!rtf::readRtf(*fresh, bytes))
        return fail(tr("It is not a rich-text file."));
    return fresh;
}

void RichTextBox::AdoptDocument(std::unique_ptr<QTextDocument> fresh)
{
    setUpLike(*document(), *fresh);
    fresh->setParent(this);
    replaceDocument(fresh.release());
}

bool RichTextBox::LoadFile(const QString& path, QString* error)
{
    std::unique_ptr<QTextDocument> fresh = ReadFile(path, error);
    if (!fresh)
        return false;
    AdoptDocument(std::move(fresh));
    return true;
}

bool RichTextBox::SaveFile(const QString& path, int fileType, QString* error)
{
    QByteArray bytes;
    if (fileType == 1) // pictures are left out
        bytes = Text().remove(QChar::ObjectReplacementCharacter).toUtf8();
    else
        bytes = rtf::writeRtf(*document());
    return writeFileAtomically(path, bytes, error);
}

QString RichTextBox::Text() const
{
    return plainText(*document(), 0, document()->characterCount() - 1);
}

void RichTextBox::setText(const QString& text)
{
    d->freezeOffers();
    ++d->quiet;
    setPlainText(normalisedLineEnds(text));
    --d->quiet;
    emit Change();
    reportSelection(true);
}

QByteArray RichTextBox::TextRTF() const
{
    return rtf::writeRtf(*document());
}

void RichTextBox::setTextRTF(const QByteArray& rtf)
{
    if (rtf::looksLikeRtf(rtf)) {
        std::unique_ptr<QTextDocument> fresh = newDocument();
        if (rtf::readRtf(*fresh, rtf)) {
            AdoptDocument(std::move(fresh));
            return;
        }
    }
    setText(decodePlainText(rtf));
}

// --- Selection -------------------------------------------------------------------------------

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
    const QTextCursor c = textCursor();
    return plainText(*document(), c.selectionStart(), c.selectionEnd());
}

void RichTextBox::setSelText(const QString& text)
{
    QTextCursor c = textCursor();
    QTextCharFormat format = c.charFormat();
    if (c.hasSelection()) {
        // The new text takes the format of the first character it replaces.
        QTextCursor first(document());
        first.setPosition(c.selectionStart() + 1);
        format = first.charFormat();
    }
    format.clearProperty(QTextFormat::ObjectType);
    const QString lines = normalisedLineEnds(text);
    const int span = std::max(c.selectionEnd() - c.selectionStart(), int(lines.size()));
    runEdit(span, [&] { c.insertText(lines, format); });
    // The editor's own caret has already moved with the edit; setting it again would scroll to
    // it, which lays out all the text before it at once.
    const QTextCursor caret = textCursor();
    if (caret.position() != c.position() || caret.anchor() != c.anchor())
        setTextCursor(c);
}

QByteArray RichTextBox::SelRTF() const
{
    const QTextCursor c = textCursor();
    return rtf::writeRtf(*document(), c.selectionStart(), c.selectionEnd());
}

void RichTextBox::setSelRTF(const QByteArray& rtf)
{
    if (rtf::looksLikeRtf(rtf)) {
        QTextCursor c = textCursor();
        bool read = false;
        // The size of the rich text stands for the size of the edit: text takes most of it. Like
        // a paste, the view then shows where the new text ends.
        runEdit(
            std::max(c.selectionEnd() - c.selectionStart(), int(rtf.size())),
            [&] { read = rtf::insertRtf(c, rtf); }, true);
        if (read) {
            const QTextCursor caret = textCursor();
            if (caret.position() != c.position() || caret.anchor() != c.anchor())
                setTextCursor(c);
            return;
        }
    }
    setSelText(decodePlainText(rtf));
}

// --- Selection attributes --------------------------------------------------------------------

namespace {

struct Span
{
    int from;
    int to;
};

Span spanOf(const QTextCursor& c)
{
    return { c.selectionStart(), c.selectionEnd() };
}

// The paragraphs a selection touches: one that it enters only at its start is not touched.
std::pair<QTextBlock, QTextBlock> paragraphsOf(const QTextDocument& document, Span span)
{
    const QTextBlock first = document.findBlock(span.from);
    const QTextBlock last = span.to > span.from ? document.findBlock(span.to - 1) : first;
    return { first, last };
}

float defaultPointSize(const QTextDocument& document)
{
    const QFont font = document.defaultFont();
    if (font.pointSizeF() > 0)
        return float(font.pointSizeF());
    return float(std::max(font.pixelSize(), 1)) * 0.75f;
}

} // namespace

TriState RichTextBox::SelBold() const
{
    const CharFacts chars = d->charFacts(*this);
    return styleState(chars, CharFacts::Bold);
}

TriState RichTextBox::SelItalic() const
{
    const CharFacts chars = d->charFacts(*this);
    return styleState(chars, CharFacts::Italic);
}

TriState RichTextBox::SelUnderline() const
{
    const CharFacts chars = d->charFacts(*this);
    return styleState(chars, CharFacts::Underline);
}

TriState RichTextBox::SelStrikeThru() const
{
    const CharFacts chars = d->charFacts(*this);
    return styleState(chars, CharFacts::Strike);
}

std::optional<QString> RichTextBox::SelFontName() const
{
    const CharFacts chars = d->charFacts(*this);
    const auto id = resolved(chars.family, d->index.familyId(document()->defaultFont().family()));
    if (!id)
        return std::nullopt;
    return d->index.familyName(*id);
}

std::optional<float> RichTextBox::SelFontSize() const
{
    const CharFacts chars = d->charFacts(*this);
    return resolved(chars.size, defaultPointSize(*document()));
}

std::optional<OleColor> RichTextBox::SelColor() const
{
    const CharFacts chars = d->charFacts(*this);
    // The automatic colour stands apart from every explicit one (rgb() is always opaque).
    const auto rgb = resolved(chars.color, QRgb(0));
    if (!rgb)
        return std::nullopt;
    if (*rgb == 0)
        return SystemWindowText;
    return colorToOle(QColor::fromRgb(*rgb));
}

std::optional<int> RichTextBox::SelAlignment() const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return alignmentCode(cursor.blockFormat().alignment());
    return alignmentState(
        d->factsOf(document(), cursor.selectionStart(), cursor.selectionEnd()).paragraphs);
}

TriState RichTextBox::SelBullet() const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return isBulleted(cursor.block());
    return bulletState(
        d->factsOf(document(), cursor.selectionStart(), cursor.selectionEnd()).paragraphs);
}

void RichTextBox::applyCharFormat(const QTextCharFormat& format)
{
    // With nothing selected this sets the caret's format, which the next typed text takes.
    const QTextCursor c = textCursor();
    runEdit(c.selectionEnd() - c.selectionStart(), [&] { mergeCurrentCharFormat(format); });
}

void RichTextBox::setSelStyles(
    TriState bold, TriState italic, TriState underline, TriState strikeThru)
{
    QTextCharFormat format;
    if (bold)
        format.setFontWeight(*bold ? QFont::Bold : QFont::Normal);
    if (italic)
        format.setFontItalic(*italic);
    if (underline)
        format.setFontUnderline(*underline);
    if (strikeThru)
        format.setFontStrikeOut(*strikeThru);
    if (!format.properties().isEmpty())
        applyCharFormat(format);
}

void RichTextBox::setSelBold(TriState value)
{
    setSelStyles(value, std::nullopt, std::nullopt, std::nullopt);
}

void RichTextBox::setSelItalic(TriState value)
{
    setSelStyles(std::nullopt, value, std::nullopt, std::nullopt);
}

void RichTextBox::setSelUnderline(TriState value)
{
    setSelStyles(std::nullopt, std::nullopt, value, std::nullopt);
}

void RichTextBox::setSelStrikeThru(TriState value)
{
    setSelStyles(std::nullopt, std::nullopt, std::nullopt, value);
}

void RichTextBox::setSelFontName(const std::optional<QString>& name)
{
    if (!name || name->trimmed().isEmpty())
        return;
    QTextCharFormat format;
    format.setFontFamilies({ *name });
    applyCharFormat(format);
}

bool RichTextBox::setSelFontSize(std::optional<float> points)
{
    if (!points)
        return true;
    if (!(*points >= MinFontSize && *points <= MaxFontSize))
        return false;
    QTextCharFormat format;
    format.setFontPointSize(*points);
    applyCharFormat(format);
    return true;
}

bool RichTextBox::setSelColor(std::optional<OleColor> color)
{
    if (!color)
        return true;
    QTextCharFormat format;
    if (*color == SystemWindowText) {
        format.setForeground(QBrush()); // follow the system's text colour
    } else {
        const auto resolvedColor = oleToColor(*color, QApplication::palette(this));
        if (!resolvedColor)
            return false;
        format.setForeground(*resolvedColor);
    }
    applyCharFormat(format);
    return true;
}

bool RichTextBox::setSelAlignment(std::optional<int> alignment)
{
    if (!alignment)
        return true;
    static constexpr Qt::Alignment byCode[]
        = { Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignJustify };
    if (*alignment < 0 || *alignment > 3)
        return false;
    d->freezeOffers();
    const auto [first, last] = paragraphsOf(*document(), spanOf(textCursor()));
    QTextCursor c(document());
    c.setPosition(first.position());
    c.setPosition(last.position(), QTextCursor::KeepAnchor);
    QTextBlockFormat format;
    format.setAlignment(byCode[*alignment]);
    c.mergeBlockFormat(format);
    return true;
}

void RichTextBox::setSelBullet(TriState value)
{
    if (!value)
        return;
    d->freezeOffers();
    const auto [first, last] = paragraphsOf(*document(), spanOf(textCursor()));
    QTextCursor c(document());
    c.beginEditBlock();
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        if (*value && !isBulleted(block)) {
            // Each paragraph gets a list of its own: adding an item to a long list costs time in
            // proportion to its length, and disc bullets look the same either way.
            QTextBlockFormat format = block.blockFormat();
            format.setObjectIndex(-1);
            c.setPosition(block.position());
            c.setBlockFormat(format);
            QTextListFormat list;
            list.setStyle(QTextListFormat::ListDisc);
            list.setIndent(1);
            c.createList(list);
        } else if (!*value && block.textList()) {
            // Leaving the list takes its indent away; the paragraph's own margins stay.
            QTextBlockFormat format = block.blockFormat();
            format.setObjectIndex(-1);
            c.setPosition(block.position());
            c.setBlockFormat(format);
        }
        if (block == last)
            break;
    }
    c.endEditBlock();
}

// --- Layout and look -------------------------------------------------------------------------

float RichTextBox::RightMargin() const
{
    return d->rightMargin;
}

void RichTextBox::setRightMargin(float twips)
{
    d->rightMargin = twips;
    if (!(twips > 0)) {
        setLineWrapMode(QTextEdit::WidgetWidth);
    } else if (twips >= 99999) {
        setLineWrapMode(QTextEdit::NoWrap);
    } else {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(
            std::max(1, Twips::forScreenOf(this).toPixelsX(twips).value_or(1)));
    }
}

float RichTextBox::BulletIndent() const
{
    return d->bulletIndent;
}

void RichTextBox::setBulletIndent(float twips)
{
    if (!std::isfinite(twips))
        return;
    d->bulletIndent = twips;
    // A list level is indented by the document's indent width: bullets read from files sit at
    // the same place as the ones made here.
    document()->setIndentWidth(
        std::max(MinBulletIndentPixels, std::max(0.0, double(twips)) / TwipsPerDocumentPixel));
}

OleColor RichTextBox::BackColor() const
{
    return d->backColor;
}

bool RichTextBox::setBackColor(OleColor color)
{
    // System colours come from the desktop's palette, not from the colour set here before.
    const auto resolved = oleToColor(color, QApplication::palette(this));
    if (!resolved)
        return false;
    d->backColor = color;
    QPalette p = palette();
    p.setColor(QPalette::Base, *resolved);
    setPalette(p);
    return true;
}

// --- Replace and print -----------------------------------------------------------------------

void RichTextBox::ReplaceEach(const std::vector<int>& starts, int length, const QString& text)
{
    if (starts.empty() || length <= 0)
        return;
    const QString lines = normalisedLineEnds(text);
    // Everything from the first replacement to the last is laid out again.
    const int span = starts.back() + std::max(length, int(lines.size())) - starts.front();
    runEdit(span, [&] {
        QTextCursor c(document());
        c.beginEditBlock();
        // From the last to the first, so that the places still to come do not move.
        for (auto at = starts.rbegin(); at != starts.rend(); ++at) {
            c.setPosition(*at + 1);
            QTextCharFormat format = c.charFormat();
            format.clearProperty(QTextFormat::ObjectType);
            c.setPosition(*at);
            c.setPosition(*at + length, QTextCursor::KeepAnchor);
            c.insertText(lines, format);
        }
        c.endEditBlock();
    });
}

void RichTextBox::SelPrint(QPrinter& printer)
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        document()->print(&printer);
        return;
    }
    // A copy keeps the pictures and the page set-up; everything outside the selection goes.
    const std::unique_ptr<QTextDocument> part(document()->clone());
    QTextCursor cut(part.get());
    cut.setPosition(c.selectionEnd());
    cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    cut.setPosition(0);
    cut.setPosition(c.selectionStart(), QTextCursor::KeepAnchor);
    cut.removeSelectedText();
    part->print(&printer);
}

// --- Editing messages ------------------------------------------------------------------------

void RichTextBox::Cut()
{
    if (!textCursor().hasSelection())
        return;
    d->freezeOffers();
    copy();
    // What was copied leaves the document at once.
    d->freezeOffers();
    textCursor().removeSelectedText();
}

void RichTextBox::Copy()
{
    copy();
}

void RichTextBox::Paste()
{
    paste();
}

void RichTextBox::Undo()
{
    // The document undoes a large edit itself: the editor's own Undo then scrolls to the caret,
    // which lays out all the text before it at once. The caret moves with the text either way.
    if (document()->revision() == d->largeEditRevision) {
        runEdit(LazyLayoutSpan, [this] { document()->undo(); });
    } else {
        d->freezeOffers();
        undo();
    }
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

bool RichTextBox::canInsertFromMimeData(const QMimeData* source) const
{
    for (const char* type : RtfMimeTypes) {
        if (source->hasFormat(QLatin1String(type)))
            return true;
    }
    return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

void RichTextBox::insertFromMimeData(const QMimeData* source)
{
    // Read first: the clipboard may hold a selection of this very document.
    QByteArray rtf;
    for (const char* type : RtfMimeTypes) {
        rtf = source->data(QLatin1String(type));
        if (rtf::looksLikeRtf(rtf))
            break;
        rtf.clear();
    }
    const QString html = rtf.isEmpty() && source->hasHtml() ? source->html() : QString();
    const QString text = rtf.isEmpty() && html.isEmpty() && source->hasText()
        ? normalisedLineEnds(source->text())
        : QString();

    QTextCursor c = textCursor();
    // The size of what is offered stands for the size of the edit.
    const qsizetype offered = std::max({ rtf.size(), html.size(), text.size() });
    const int span = int(std::min<qsizetype>(
        std::max<qsizetype>(c.selectionEnd() - c.selectionStart(), offered), LazyLayoutSpan));
    const bool large = span >= LazyLayoutSpan;
    runEdit(
        span,
        [&] {
            c.beginEditBlock();
            bool done = !rtf.isEmpty() && rtf::insertRtf(c, rtf);
            if (!done && !html.isEmpty()) {
                c.insertFragment(QTextDocumentFragment::fromHtml(html, document()));
                done = true;
            }
            if (!done && !text.isEmpty()) {
                c.insertText(text);
                done = true;
            }
            if (!done && source->hasImage()) {
                if (const auto picture
                    = pictureFromImage(qvariant_cast<QImage>(source->imageData())))
                    insertPicture(c, *picture);
            }
            c.endEditBlock();
        },
        large);
    if (large) {
        // Scrolling to the caret now would lay out all the text before it at once; the view
        // shows it once the text up to it is laid out.
        const QTextCursor caret = textCursor();
        if (caret.position() != c.position() || caret.anchor() != c.anchor())
            setTextCursor(c);
        return;
    }
    setTextCursor(c);
    ensureCursorVisible();
}

QMimeData* RichTextBox::createMimeDataFromSelection() const
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return new QMimeData;
    // Under X11 this runs on every change of the selection: nothing is made before it is asked for.
    auto* offer = new SelectionMimeData(*document(), c.selectionStart(), c.selectionEnd());
    std::erase_if(d->offers, [](const QPointer<SelectionMimeData>& o) { return o.isNull(); });
    d->offers.emplace_back(offer);
    return offer;
}

// --- Large edits ----------------------------------------------------------------------------

void RichTextBox::runEdit(int span, const std::function<void()>& edit, bool followCaret)
{
    d->freezeOffers();
    if (span < LazyLayoutSpan) {
        edit();
        return;
    }
    releaseView(false);
    d->followCaret = followCaret;
    QTextDocument* doc = document();
    // A view still held from an earlier edit still shows the place taken then.
    if (!d->viewHeld) {
        const QTextCursor top = cursorForPosition(QPoint(0, 0));
        d->heldPosition = top.position();
        d->heldTop = cursorRect(top).top();
    }
    // A block with no lines has not been laid out since: these two tell how far the new layout
    // has come.
    doc->findBlock(d->heldPosition).layout()->clearLayout();
    doc->lastBlock().layout()->clearLayout();
    viewport()->setUpdatesEnabled(false);
    d->viewHeld = true;
    // Without a page size the document is not laid out at all while it changes; setting the size
    // back makes the layout start afresh from the top and go on in steps between events. (Had the
    // layout of a small note already finished, the edit would be laid out whole, at once.)
    const QSizeF page = doc->pageSize();
    doc->setPageSize(QSizeF(0, 0));
    // Inside an edit block a cursor that moves does not measure where it now stands, which would
    // lay out everything before it at once.
    QTextCursor block(doc);
    block.beginEditBlock();
    edit();
    block.endEditBlock();
    doc->setPageSize(page);
    d->largeEditRevision = doc->revision();
    disconnect(d->layoutProgress);
    d->layoutProgress = connect(doc->documentLayout(),
        &QAbstractTextDocumentLayout::documentSizeChanged, this, [this] { releaseView(false); });
    releaseView(false);
}

void RichTextBox::releaseView(bool now)
{
    if (!d->viewHeld)
        return;
    QTextDocument* doc = document();
    // Measuring a place lays out the text before it at once, but the layout reports its new size
    // only at its next step: the scroll range must reach the place first.
    const auto measured = [doc, this](const QTextCursor& at) {
        const QRect rect = cursorRect(at);
        QAbstractTextDocumentLayout* layout = doc->documentLayout();
        d->viewHeld = false; // not back in here through layoutProgress
        emit layout->documentSizeChanged(layout->frameBoundingRect(doc->rootFrame()).size());
        d->viewHeld = true;
        return rect;
    };
    if (d->followCaret) {
        if (!now && doc->findBlock(textCursor().position()).layout()->lineCount() == 0)
            return;
        measured(textCursor());
        showView();
        ensureCursorVisible();
        return;
    }
    const int position = std::clamp(d->heldPosition, 0, doc->characterCount() - 1);
    // Only blocks are looked at until the place is laid out: placing a cursor lays out the text
    // before it.
    if (!now && doc->findBlock(position).layout()->lineCount() == 0)
        return;
    QTextCursor held(doc);
    held.setPosition(position);
    QScrollBar* bar = verticalScrollBar();
    const int target = bar->value() + measured(held).top() - d->heldTop;
    if (!now && target > bar->maximum() && doc->lastBlock().layout()->lineCount() == 0)
        return; // the view would not reach it yet
    bar->setValue(target);
    showView();
}

void RichTextBox::showView()
{
    if (!d->viewHeld)
        return;
    d->viewHeld = false;
    d->followCaret = false;
    disconnect(d->layoutProgress);
    viewport()->setUpdatesEnabled(true);
    viewport()->update();
}

// --- Events ----------------------------------------------------------------------------------

bool RichTextBox::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress)
        releaseView(true); // the user acts on what the view shows: it must be the real text
    // Ctrl+Z belongs to the editor while it has the focus, so that a menu shortcut for the same
    // keys does not undo a second time.
    if (event->type() == QEvent::ShortcutOverride && isUndoKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QTextEdit::event(event);
}

bool RichTextBox::eventFilter(QObject* watched, QEvent* event)
{
    // Blinking the caret measures where it stands, which would lay out at once all the text
    // before it; while the view is held nothing of it shows anyway.
    if (d->viewHeld && event->type() == QEvent::Timer && watched != this)
        return true;
    return QTextEdit::eventFilter(watched, event);
}

bool RichTextBox::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Resize:
        releaseView(true);
        break;
    default:
        break;
    }
    return QTextEdit::viewportEvent(event);
}

void RichTextBox::keyPressEvent(QKeyEvent* event)
{
    if (const int code = virtualKey(*event)) {
        int keyCode = code;
        // A modifier key counts itself as held, whatever state the window system reports.
        int shift = shiftMask(event->modifiers())
            | (code == 16        ? 1
                    : code == 17 ? 2
                    : code == 18 ? 4
                                 : 0);
        emit KeyDown(keyCode, shift);
        if (keyCode == 0) {
            event->accept();
            return;
        }
    }
    if (event->matches(QKeySequence::Cut)) {
        // The editor's own cut would change the text before what it copied is kept.
        Cut();
        event->accept();
        return;
    }
    if (!leavesTextAlone(*event))
        d->freezeOffers();
    QTextEdit::keyPressEvent(event);
}

void RichTextBox::inputMethodEvent(QInputMethodEvent* event)
{
    d->freezeOffers();
    QTextEdit::inputMethodEvent(event);
}

void RichTextBox::dropEvent(QDropEvent* event)
{
    // Moving text within the editor takes it out before inserting it.
    d->freezeOffers();
    QTextEdit::dropEvent(event);
}

void RichTextBox::mousePressEvent(QMouseEvent* event)
{
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton:
        button = 1;
        break;
    case Qt::RightButton:
        button = 2;
        break;
    case Qt::MiddleButton:
        button = 4;
        break;
    default:
        break;
    }
    if (button != 0) {
        const Twips t = Twips::forScreenOf(this);
        const QPointF at = event->position();
        emit MouseDown(button, shiftMask(event->modifiers()), float(at.x() * t.twipsPerPixelX),
            float(at.y() * t.twipsPerPixelY));
    }
    QTextEdit::mousePressEvent(event);
}

void RichTextBox::contextMenuEvent(QContextMenuEvent* event)
{
    // The program shows its own popup from MouseDown.
    event->accept();
}

} // namespace penwick
