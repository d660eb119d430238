// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/selectionmime.h"

#include "platform/rtf/rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace penwick {

namespace {

const char* const RtfTypes[] = { "text/rtf", "application/rtf" };
const QLatin1String HtmlType("text/html");
const QLatin1String TextType("text/plain");

bool isRtfType(const QString& mimeType)
{
    for (const char* type : RtfTypes) {
        if (mimeType == QLatin1String(type))
            return true;
    }
    return false;
}

} // namespace

// Block by block: both the cursor's selectedText() and the document's toRawText() are several
// times slower on a long text.
QString plainText(const QTextDocument& document, int from, int to)
{
    if (to <= from)
        return {};
    QString text;
    text.reserve(to - from);
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        const int start = block.position();
        const QString blockText = block.text();
        const int a = std::max(from, start) - start;
        const int b = int(std::min<qsizetype>(to - start, blockText.size()));
        if (b > a)
            text += QStringView(blockText).mid(a, b - a);
        const int separator = start + block.length() - 1;
        if (separator >= from && separator < to)
            text += u'\n';
    }
    for (QChar& ch : text) {
        if (ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator)
            ch = u'\n';
    }
    return text;
}

SelectionMimeData::SelectionMimeData(const QTextDocument& document, int from, int to)
    : m_document(&document)
    , m_from(from)
    , m_to(to)
{
    // A change the editor did not announce leaves nothing to offer; the editor freezes the data
    // before each of its own.
    m_watch = connect(&document, &QTextDocument::contentsChange, this, [this] {
        if (!m_frozen)
            m_lost = true;
    });
}

SelectionMimeData::~SelectionMimeData() = default;

const QTextDocument* SelectionMimeData::source() const
{
    if (m_frozen) {
        if (!m_thawed) {
            m_thawed = std::make_unique<QTextDocument>();
            m_thawed->setUndoRedoEnabled(false);
            rtf::readRtf(*m_thawed, m_rtf);
        }
        return m_thawed.get();
    }
    return m_lost ? nullptr : m_document.data();
}

void SelectionMimeData::freeze()
{
    if (m_frozen)
        return;
    if (!m_lost && m_document)
        m_rtf = rtf::writeRtf(*m_document, m_from, m_to);
    else
        m_lost = true;
    m_frozen = !m_lost;
    m_document = nullptr;
    disconnect(m_watch);
}

QStringList SelectionMimeData::formats() const
{
    if (m_lost)
        return {};
    return { QLatin1String(RtfTypes[0]), QLatin1String(RtfTypes[1]), HtmlType, TextType };
}

bool SelectionMimeData::hasFormat(const QString& mimeType) const
{
    return formats().contains(mimeType);
}

QVariant SelectionMimeData::retrieveData(const QString& mimeType, QMetaType type) const
{
    Q_UNUSED(type);
    if (m_lost)
        return {};
    if (isRtfType(mimeType)) {
        if (m_frozen)
            return m_rtf;
        if (const QTextDocument* document = source())
            return rtf::writeRtf(*document, m_from, m_to);
        return {};
    }
    const QTextDocument* document = source();
    if (!document)
        return {};
    // A frozen selection is the whole of the document read back.
    const int from = m_frozen ? 0 : m_from;
    const int to = m_frozen ? document->characterCount() - 1 : m_to;
    if (mimeType == HtmlType) {
        QTextCursor c(const_cast<QTextDocument*>(document));
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        return c.selection().toHtml();
    }
    if (mimeType == TextType)
        return plainText(*document, from, to);
    return {};
}

} // namespace penwick
