// SPDX-License-Identifier: GPL-2.0-or-later
#include "texttools/texttools.h"

#include <algorithm>

namespace penwick {
namespace {

bool startsPair(const QChar* s, qsizetype i, qsizetype n)
{
    return s[i].isHighSurrogate() && i + 1 < n && s[i + 1].isLowSurrogate();
}

// Simple case mapping never moves a character between the basic plane and the supplementary
// planes in Qt's Unicode data; should it ever, the character keeps its case, so that results keep
// the input's length and can be written in place.
char32_t sameWidth(char32_t original, char32_t mapped)
{
    return QChar::requiresSurrogates(original) == QChar::requiresSurrogates(mapped) ? mapped
                                                                                    : original;
}

// Writes `c`, or its upper or lower case form, at `d`; returns the number of units written.
qsizetype putCased(QChar* d, char32_t c, bool upper)
{
    const char32_t mapped = sameWidth(c, upper ? QChar::toUpper(c) : QChar::toLower(c));
    if (QChar::requiresSurrogates(mapped)) {
        d[0] = QChar(QChar::highSurrogate(mapped));
        d[1] = QChar(QChar::lowSurrogate(mapped));
        return 2;
    }
    d[0] = QChar(char16_t(mapped));
    return 1;
}

// The character starting at `i`: a whole surrogate pair, else the single unit.
char32_t characterAt(const QChar* s, qsizetype i, qsizetype n)
{
    return startsPair(s, i, n) ? QChar::surrogateToUcs4(s[i], s[i + 1]) : s[i].unicode();
}

bool isWordSeparator(char32_t c)
{
    return c == 0 || (c >= 9 && c <= 13) || c == 32;
}

// Walks the text a character at a time (a surrogate pair being one), writing a character that
// starts a word in upper case and any other in lower case. The first character starts a word;
// `next(c, atStart, rest)` tells whether the one after `c` does (`rest` is the text after `c`).
template <typename StartsNext> QString properCase(const QString& text, StartsNext next)
{
    const qsizetype n = text.size();
    if (n == 0)
        return {};
    const QChar* s = text.constData();
    QString out(n, Qt::Uninitialized);
    QChar* d = out.data();
    bool atStart = true;
    for (qsizetype i = 0; i < n;) {
        const char32_t c = characterAt(s, i, n);
        i += putCased(d + i, c, atStart);
        atStart = next(c, atStart, QStringView(s + i, n - i));
    }
    return out;
}

bool isApostrophe(char32_t c)
{
    return c == u'\'' || c == 0x2019;
}

// "i'm", "o's", "a'll": the apostrophe belongs to a contraction, not to a name like "O'Neil".
bool contractionFollows(QStringView rest)
{
    qsizetype letters = 0;
    while (letters < rest.size() && letters < 3 && rest[letters].isLetter())
        ++letters;
    if (letters == 3)
        return false;
    const QStringView ending = rest.first(letters);
    for (const char* known : { "s", "t", "d", "m", "ll", "re", "ve" })
        if (ending.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

QString ReverseText(const QString& Text)
{
    const qsizetype n = Text.size();
    if (n == 0)
        return {};
    const QChar* s = Text.constData();
    QString out(n, Qt::Uninitialized);
    QChar* d = out.data() + n;
    for (qsizetype i = 0; i < n;) {
        if (startsPair(s, i, n)) {
            d -= 2;
            d[0] = s[i];
            d[1] = s[i + 1];
            i += 2;
        } else {
            *--d = s[i++];
        }
    }
    return out;
}

QString RemoveExtraSpaces(const QString& Text)
{
    const qsizetype n = Text.size();
    if (n == 0)
        return {};
    const QChar* s = Text.constData();
    QString out(n, Qt::Uninitialized);
    QChar* d = out.data();
    *d++ = s[0];
    for (qsizetype i = 1; i < n; ++i)
        if (s[i] != u' ' || s[i - 1] != u' ')
            *d++ = s[i];
    out.truncate(d - out.constData());
    return out;
}

QString DelimitText(const QString& Text, const QString& Delimiter)
{
    const qsizetype n = Text.size();
    const QChar* s = Text.constData();
    qsizetype characters = 0;
    for (qsizetype i = 0; i < n; ++characters)
        i += startsPair(s, i, n) ? 2 : 1;
    if (characters < 2 || Delimiter.isEmpty())
        return Text;

    const qsizetype dn = Delimiter.size();
    if (characters - 1 > (MaxToolResultLength - n) / dn)
        return Text;
    QString out(n + (characters - 1) * dn, Qt::Uninitialized);
    QChar* d = out.data();
    const QChar* delim = Delimiter.constData();
    for (qsizetype i = 0; i < n;) {
        if (i > 0) {
            if (dn == 1)
                *d++ = *delim;
            else
                d = std::copy(delim, delim + dn, d);
        }
        *d++ = s[i];
        if (startsPair(s, i, n)) {
            *d++ = s[i + 1];
            i += 2;
        } else {
            ++i;
        }
    }
    return out;
}

QString AlternateCaps(const QString& Text, bool StartUpper)
{
    const qsizetype n = Text.size();
    if (n == 0)
        return {};
    const QChar* s = Text.constData();
    QString out(n, Qt::Uninitialized);
    QChar* d = out.data();
    bool lowerNext = !StartUpper;
    for (qsizetype i = 0; i < n;) {
        const qsizetype width = putCased(d + i, characterAt(s, i, n), !lowerNext);
        // A pair is two units and so two turns: the turn after it is the one it started on.
        if (width == 1)
            lowerNext = !lowerNext;
        i += width;
    }
    return out;
}

QString Lowercase(const QString& Text)
{
    return Text.toLower();
}

QString Uppercase(const QString& Text)
{
    return Text.toUpper();
}

QString TitleCase(const QString& Text)
{
    return properCase(Text, [](char32_t c, bool, QStringView) { return isWordSeparator(c); });
}

QString TrueProperCase(const QString& Text)
{
    bool singleLetter = false; // the word so far is one letter
    return properCase(Text, [&singleLetter](char32_t c, bool atStart, QStringView rest) {
        bool startsNext = false;
        if (isWordSeparator(c) || c == u'"') {
            startsNext = true;
        } else if (isApostrophe(c)) {
            // An opening quote, or the apostrophe of "o'neil" and "d'arcy".
            startsNext = atStart || (singleLetter && !contractionFollows(rest));
        } else {
            switch (QChar::category(c)) {
            case QChar::Punctuation_Dash:
            case QChar::Punctuation_Open:
            case QChar::Punctuation_InitialQuote:
                startsNext = true;
                break;
            default:
                break;
            }
        }
        singleLetter = atStart && QChar::isLetter(c) && !startsNext;
        return startsNext;
    });
}

QString CharacterCountMessage(qsizetype selected, qsizetype entire)
{
    return QStringLiteral("Selected text character count: ") + QString::number(selected)
        + QStringLiteral("\r\n\r\nEntire document character count: ") + QString::number(entire);
}

} // namespace penwick
