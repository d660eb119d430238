// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/formatindex.h"

#include <QDebug>
#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextList>
#include <algorithm>
#include <bit>

namespace penwick {
namespace {

bool paragraphsSaturated(const ParagraphFacts& p)
{
    return std::popcount(unsigned(p.alignments)) >= 2 && p.bullets == 3;
}

bool isObject(const QTextFormat& format)
{
    return format.objectType() != QTextFormat::NoObject || format.objectIndex() != -1;
}

} // namespace

int alignmentCode(Qt::Alignment alignment)
{
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignJustify)
        return 3;
    if (horizontal & Qt::AlignHCenter)
        return 2;
    if (horizontal & Qt::AlignRight)
        return 1;
    return 0;
}

bool isBulleted(const QTextBlock& block)
{
    const QTextList* list = block.textList();
    if (!list)
        return false;
    switch (list->format().style()) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return true;
    default:
        return false;
    }
}

std::optional<bool> styleState(const CharFacts& facts, CharFacts::Style style)
{
    const bool on = facts.on & style;
    const bool off = facts.off & style;
    if (on && off)
        return std::nullopt;
    return on;
}

std::optional<int> alignmentState(const ParagraphFacts& facts)
{
    if (std::popcount(unsigned(facts.alignments)) != 1)
        return facts.alignments == 0 ? std::optional<int>(0) : std::nullopt;
    return std::countr_zero(unsigned(facts.alignments));
}

std::optional<bool> bulletState(const ParagraphFacts& facts)
{
    if (facts.bullets == 3)
        return std::nullopt;
    return facts.bullets == 2;
}

FormatIndex::FormatIndex(QObject* parent)
    : QObject(parent)
{ }

void FormatIndex::setDocument(QTextDocument* document)
{
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    m_formats.clear();
    m_formatFacts.clear();
    m_formatKnown.clear();
    if (m_document) {
        // A document reports its changes only once it has a layout.
        m_document->documentLayout();
        connect(m_document, &QTextDocument::contentsChange, this, &FormatIndex::onContentsChange);
        connect(m_document, &QObject::destroyed, this, [this] {
            m_entries.clear();
            m_length = 0;
            ++m_version;
        });
    }
    rebuild();
}

int FormatIndex::familyId(const QString& name)
{
    const auto it = m_familyIds.constFind(name);
    if (it != m_familyIds.constEnd())
        return *it;
    const int id = int(m_families.size());
    m_families.append(name);
    m_familyIds.insert(name, id);
    return id;
}

CharFacts FormatIndex::fragmentFacts(const QTextCharFormat& format)
{
    return isObject(format) ? CharFacts() : factsOf(format);
}

CharFacts FormatIndex::factsOf(const QTextCharFormat& format)
{
    CharFacts facts;
    const auto style
        = [&facts](bool on, CharFacts::Style bit) { (on ? facts.on : facts.off) |= bit; };
    style(format.fontWeight() > QFont::Medium, CharFacts::Bold);
    style(format.fontItalic(), CharFacts::Italic);
    style(format.hasProperty(QTextFormat::TextUnderlineStyle)
            ? format.underlineStyle() != QTextCharFormat::NoUnderline
            : format.boolProperty(QTextFormat::FontUnderline),
        CharFacts::Underline);
    style(format.fontStrikeOut(), CharFacts::Strike);

    const double points = format.doubleProperty(QTextFormat::FontPointSize);
    const int pixels = format.intProperty(QTextFormat::FontPixelSize);
    if (points > 0)
        facts.size.addValue(float(points));
    else if (pixels > 0)
        facts.size.addValue(float(pixels) * 0.75f); // 96 pixels to the inch
    else
        facts.size.unset = true;

    QString family;
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
        if (!families.isEmpty())
            family = families.first();
    } else if (format.hasProperty(QTextFormat::OldFontFamily)) {
        family = format.stringProperty(QTextFormat::OldFontFamily);
    }
    if (family.isEmpty())
        facts.family.unset = true;
    else
        facts.family.addValue(familyId(family));

    const QBrush foreground = format.foreground();
    if (foreground.style() == Qt::NoBrush)
        facts.color.unset = true;
    else
        facts.color.addValue(foreground.color().rgb());
    return facts;
}

void FormatIndex::checkFormatCache()
{
    if (!m_document)
        return;
    const QList<QTextFormat> current = m_document->allFormats();
    if (current.constData() == m_formats.constData() && current.size() == m_formats.size())
        return;
    // The table only grows while the document lives, but clearing the document starts it
    // afresh: keep only the facts of formats that are still the same.
    const qsizetype kept = std::min(current.size(), m_formats.size());
    for (qsizetype i = 0; i < kept; ++i) {
        if (m_formatKnown[size_t(i)] && !(current.at(i) == m_formats.at(i)))
            m_formatKnown[size_t(i)] = false;
    }
    m_formatKnown.resize(size_t(current.size()), false);
    m_formatFacts.resize(size_t(current.size()));
    m_formats = current;
}

const CharFacts& FormatIndex::factsOfIndex(int formatIndex)
{
    if (formatIndex < 0 || size_t(formatIndex) >= m_formatFacts.size())
        checkFormatCache();
    if (formatIndex < 0 || size_t(formatIndex) >= m_formatFacts.size()) {
        static const CharFacts none;
        return none;
    }
    const size_t i = size_t(formatIndex);
    if (!m_formatKnown[i]) {
        m_formatFacts[i] = fragmentFacts(m_formats.at(formatIndex).toCharFormat());
        m_formatKnown[i] = true;
    }
    return m_formatFacts[i];
}

FormatIndex::Entry FormatIndex::summarise(const QTextBlock& block)
{
    Entry entry;
    int lastIndex = -1;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const int index = it.fragment().charFormatIndex();
        if (index != lastIndex)
            entry.chars.add(factsOfIndex(index));
        lastIndex = index;
    }
    entry.paragraph.alignments = std::uint8_t(1u << alignmentCode(block.blockFormat().alignment()));
    entry.paragraph.bullets = isBulleted(block) ? 2 : 1;
    return entry;
}

CharFacts FormatIndex::walkBlock(const QTextBlock& block, int from, int to)
{
    CharFacts facts;
    int position = block.position();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int start = position;
        position += fragment.length();
        if (position <= from)
            continue;
        if (start >= to)
            break;
        facts.add(factsOfIndex(fragment.charFormatIndex()));
    }
    return facts;
}

void FormatIndex::rebuild()
{
    m_entries.clear();
    ++m_version;
    if (!m_document) {
        m_length = 0;
        return;
    }
    checkFormatCache();
    m_entries.reserve(size_t(m_document->blockCount()));
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next())
        m_entries.push_back(summarise(block));
    m_length = m_document->characterCount();
}

void FormatIndex::onContentsChange(int from, int removed, int added)
{
    if (!m_document)
        return;
    checkFormatCache();
    ++m_version;
    const int length = m_document->characterCount();
    // Clearing the document reports lengths that do not add up: start again from scratch then.
    if (from < 0 || removed < 0 || added < 0 || from >= length
        || qint64(m_length) - removed + added != length) {
        rebuild();
        return;
    }
    // Blocks before `from` are untouched, and so are the blocks after the end of the change, in
    // the old and the new text alike; only their numbers shift.
    const QTextBlock first = m_document->findBlock(from);
    QTextBlock last = m_document->findBlock(std::min(from + added, length - 1));
    if (last.isValid() && last.next().isValid())
        last = last.next();
    if (!first.isValid() || !last.isValid()) {
        rebuild();
        return;
    }
    const int firstNumber = first.blockNumber();
    const int lastNumber = last.blockNumber();
    const int oldLast = lastNumber - (m_document->blockCount() - int(m_entries.size()));
    if (oldLast < firstNumber || size_t(oldLast) >= m_entries.size()) {
        rebuild();
        return;
    }
    std::vector<Entry> fresh;
    fresh.reserve(size_t(lastNumber - firstNumber + 1));
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        fresh.push_back(summarise(block));
        if (block == last)
            break;
    }
    const auto begin = m_entries.begin() + firstNumber;
    const size_t common = std::min(fresh.size(), size_t(oldLast - firstNumber + 1));
    std::copy_n(fresh.begin(), common, begin);
    if (fresh.size() > common)
        m_entries.insert(begin + qsizetype(common), fresh.begin() + qsizetype(common), fresh.end());
    else
        m_entries.erase(begin + qsizetype(common), m_entries.begin() + oldLast + 1);
    m_length = length;
}

RangeFacts FormatIndex::facts(int from, int to)
{
    RangeFacts result;
    if (!m_document)
        return result;
    if (m_entries.size() != size_t(m_document->blockCount())
        || m_length != m_document->characterCount())
        rebuild();
    const int end = m_length - 1; // the final paragraph mark cannot be selected
    from = std::clamp(from, 0, end);
    to = std::clamp(to, from, end);
    const QTextBlock first = m_document->findBlock(from);
    const QTextBlock last = to > from ? m_document->findBlock(to - 1) : first;
    const int firstNumber = first.blockNumber();
    const int lastNumber = last.blockNumber();

    for (int n = firstNumber; n <= lastNumber; ++n) {
        result.paragraphs.add(m_entries[size_t(n)].paragraph);
        if (paragraphsSaturated(result.paragraphs))
            break;
    }
    if (to == from)
        return result;

    const auto ends = [&](const QTextBlock& block, int number) {
        const int start = block.position();
        if (from <= start && to >= start + block.length() - 1)
            return m_entries[size_t(number)].chars;
        return walkBlock(block, from, to);
    };
    result.chars = ends(first, firstNumber);
    if (lastNumber == firstNumber)
        return result;
    for (int n = firstNumber + 1; n < lastNumber && !result.chars.saturated(); ++n)
        result.chars.add(m_entries[size_t(n)].chars);
    result.chars.add(ends(last, lastNumber));
    return result;
}

RangeFacts FormatIndex::factsByWalking(int from, int to)
{
    RangeFacts result;
    if (!m_document)
        return result;
    const int end = m_document->characterCount() - 1;
    from = std::clamp(from, 0, end);
    to = std::clamp(to, from, end);
    const QTextBlock first = m_document->findBlock(from);
    const QTextBlock last = to > from ? m_document->findBlock(to - 1) : first;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        result.paragraphs.alignments
            |= std::uint8_t(1u << alignmentCode(block.blockFormat().alignment()));
        result.paragraphs.bullets |= isBulleted(block) ? 2 : 1;
        int position = block.position();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = position;
            position += fragment.length();
            if (position > from && start < to && from < to)
                result.chars.add(fragmentFacts(fragment.charFormat()));
        }
        if (block == last)
            break;
    }
    return result;
}

bool FormatIndex::consistent()
{
    if (!m_document)
        return m_entries.empty();
    if (m_entries.size() != size_t(m_document->blockCount())
        || m_length != m_document->characterCount())
        return false;
    size_t n = 0;
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next(), ++n) {
        Entry fresh;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            fresh.chars.add(fragmentFacts(it.fragment().charFormat()));
        fresh.paragraph.alignments
            = std::uint8_t(1u << alignmentCode(block.blockFormat().alignment()));
        fresh.paragraph.bullets = isBulleted(block) ? 2 : 1;
        if (!(fresh.chars == m_entries[n].chars) || !(fresh.paragraph == m_entries[n].paragraph)) {
            qDebug() << "DEBUG mismatch block" << n << "align" << fresh.paragraph.alignments
                     << m_entries[n].paragraph.alignments << "bullets" << fresh.paragraph.bullets
                     << m_entries[n].paragraph.bullets << "on/off" << fresh.chars.on
                     << fresh.chars.off << m_entries[n].chars.on << m_entries[n].chars.off;
            return false;
        }
    }
    return true;
}

} // namespace penwick
