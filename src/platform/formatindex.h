// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRgb>
#include <QStringList>
#include <QTextFormat>
#include <cstdint>
#include <optional>
#include <vector>

class QTextBlock;
class QTextCharFormat;
class QTextDocument;

namespace penwick {

// The values one attribute takes over a range of characters: whether some character leaves it to
// the document's default, and the explicit values seen (none, one, or several).
template <typename T> struct ValueFacts
{
    bool unset = false;
    std::uint8_t explicitCount = 0; // 0 none, 1 exactly `value`, 2 several
    T value {};

    void addValue(T v)
    {
        if (explicitCount == 0) {
            explicitCount = 1;
            value = v;
        } else if (explicitCount == 1 && !(value == v)) {
            explicitCount = 2;
        }
    }
    void add(const ValueFacts& other)
    {
        unset = unset || other.unset;
        if (other.explicitCount == 2)
            explicitCount = 2;
        else if (other.explicitCount == 1)
            addValue(other.value);
    }
    bool saturated() const { return explicitCount == 2; }
    friend bool operator==(const ValueFacts&, const ValueFacts&) = default;
};

// What the characters of a range hold. Block separators and embedded objects (pictures) are not
// characters here: they carry formats the user never sees.
struct CharFacts
{
    enum Style : std::uint8_t { Bold = 1, Italic = 2, Underline = 4, Strike = 8, AllStyles = 15 };
    std::uint8_t on = 0; // styles some character has
    std::uint8_t off = 0; // styles some character lacks
    ValueFacts<float> size; // points
    ValueFacts<int> family; // FormatIndex::familyName
    ValueFacts<QRgb> color; // unset: the automatic text colour

    bool hasCharacters() const { return (on | off) != 0; }
    void add(const CharFacts& other)
    {
        on |= other.on;
        off |= other.off;
        size.add(other.size);
        family.add(other.family);
        color.add(other.color);
    }
    bool saturated() const
    {
        return (on & off) == AllStyles && size.saturated() && family.saturated()
            && color.saturated();
    }
    friend bool operator==(const CharFacts&, const CharFacts&) = default;
};

// What the paragraphs of a range hold: bit n of `alignments` is set when a paragraph has
// alignment code n (0 left, 1 right, 2 centre, 3 justified); `bullets` bit 0 for a paragraph
// without a bullet, bit 1 for one with.
struct ParagraphFacts
{
    std::uint8_t alignments = 0;
    std::uint8_t bullets = 0;

    void add(const ParagraphFacts& other)
    {
        alignments |= other.alignments;
        bullets |= other.bullets;
    }
    friend bool operator==(const ParagraphFacts&, const ParagraphFacts&) = default;
};

struct RangeFacts
{
    CharFacts chars;
    ParagraphFacts paragraphs;
    friend bool operator==(const RangeFacts&, const RangeFacts&) = default;
};

// Alignment code of a block format: 0 left, 1 right, 2 centre, 3 justified.
int alignmentCode(Qt::Alignment alignment);

// The answers a range gives: on, off or mixed (nullopt) for a style; the single value of an
// attribute, `fallback` standing for characters that leave it to the default, or mixed.
std::optional<bool> styleState(const CharFacts& facts, CharFacts::Style style);
template <typename T> std::optional<T> resolved(const ValueFacts<T>& facts, T fallback)
{
    if (facts.explicitCount == 2)
        return std::nullopt;
    if (facts.explicitCount == 1) {
        if (facts.unset && !(facts.value == fallback))
            return std::nullopt;
        return facts.value;
    }
    return fallback;
}
std::optional<int> alignmentState(const ParagraphFacts& facts);
std::optional<bool> bulletState(const ParagraphFacts& facts);
// True for a paragraph that shows a bullet (a disc, circle or square list item).
bool isBulleted(const QTextBlock& block);

// Keeps one summary per paragraph of a document, up to date through the document's change
// signal, so that the formatting of a selection is known without walking every fragment of it:
// the selection's inner paragraphs are combined from their summaries and only the two end
// paragraphs are walked. Every answer equals what a walk over the whole range gives.
class FormatIndex : public QObject
{
    Q_OBJECT
public:
    explicit FormatIndex(QObject* parent = nullptr);

    void setDocument(QTextDocument* document);
    QTextDocument* document() const { return m_document; }

    // The characters in [from, to) and the paragraphs from the one holding `from` to the one
    // holding the last selected character (the one holding `from` when the range is empty).
    RangeFacts facts(int from, int to);
    // The same, by walking the document: the reference the index must always agree with.
    RangeFacts factsByWalking(int from, int to);

    // The facts of one character of the given format.
    CharFacts factsOf(const QTextCharFormat& format);
    // The same for a fragment of the document, where pictures hold no characters.
    CharFacts fragmentFacts(const QTextCharFormat& format);
    int familyId(const QString& name);
    QString familyName(int id) const { return m_families.value(id); }

    // Changes whenever the document or its formatting changes.
    quint64 version() const { return m_version; }
    // True when every paragraph summary matches a fresh walk (for tests).
    bool consistent();

private:
    struct Entry
    {
        CharFacts chars;
        ParagraphFacts paragraph;
    };

    void rebuild();
    void onContentsChange(int from, int removed, int added);
    void checkFormatCache();
    const CharFacts& factsOfIndex(int formatIndex);
    Entry summarise(const QTextBlock& block);
    CharFacts walkBlock(const QTextBlock& block, int from, int to);

    QPointer<QTextDocument> m_document;
    std::vector<Entry> m_entries; // one per block, by block number
    int m_length = 0; // characterCount() the entries describe
    quint64 m_version = 0;

    // Facts per format index; the snapshot tells when the document's format table was reset.
    QList<QTextFormat> m_formats;
    std::vector<CharFacts> m_formatFacts;
    std::vector<bool> m_formatKnown;

    QHash<QString, int> m_familyIds;
    QStringList m_families;
};

} // namespace penwick
