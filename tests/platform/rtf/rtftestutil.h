// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/pictures.h"
#include "platform/rtf/rtf.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <tuple>

namespace penwick::test {

inline QString fixturePath(const char* name)
{
    return QStringLiteral(PENWICK_RTF_FIXTURES "/") + QLatin1String(name);
}

inline QByteArray fixture(const char* name)
{
    QFile f(fixturePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline std::unique_ptr<QTextDocument> readDoc(const QByteArray& rtf)
{
    auto doc = std::make_unique<QTextDocument>();
    rtf::readRtf(*doc, rtf);
    return doc;
}

// The document's text with paragraph and line breaks as "\n" (and nothing else changed).
inline QString plain(const QTextDocument& doc)
{
    return doc.toRawText()
        .replace(QChar::ParagraphSeparator, u'\n')
        .replace(QChar::LineSeparator, u'\n');
}

// The character format at `at`, or of the first character of the first occurrence of text.
inline QTextCharFormat formatAt(const QTextDocument& doc, int at)
{
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(at + 1);
    return c.charFormat();
}
inline QTextCharFormat formatOf(const QTextDocument& doc, const QString& text)
{
    const int at = plain(doc).indexOf(text);
    return at < 0 ? QTextCharFormat() : formatAt(doc, at);
}

inline QTextBlock blockOf(const QTextDocument& doc, const QString& text)
{
    const int at = plain(doc).indexOf(text);
    return at < 0 ? QTextBlock() : doc.findBlock(at);
}

inline constexpr auto family
    = [](const QTextCharFormat& f) { return f.fontFamilies().toStringList().value(0); };
inline constexpr auto bold = [](const QTextCharFormat& f) { return f.fontWeight() >= QFont::Bold; };
inline constexpr auto align
    = [](const QTextBlock& b) { return b.blockFormat().alignment() & Qt::AlignHorizontal_Mask; };

// The paragraph's list style; nothing when it is in no list.
inline std::optional<QTextListFormat::Style> listStyle(const QTextBlock& b)
{
    return b.textList() ? std::optional(b.textList()->format().style()) : std::nullopt;
}

inline std::vector<Picture> picturesOf(const QTextDocument& doc)
{
    std::vector<Picture> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (auto p = pictureFromFormat(it.fragment().charFormat(), doc))
                out.push_back(*p);
    return out;
}

// Two documents of the same text have the same paragraph and character formatting, position by
// position.
inline void expectSameFormatting(const QTextDocument& a, const QTextDocument& b)
{
    ASSERT_EQ(plain(a), plain(b));
    const auto paragraph = [](const QTextBlock& x) {
        const QTextBlockFormat f = x.blockFormat();
        return x.textList() // a list sets its own indent
            ? std::tuple(align(x), listStyle(x), 0.0, 0.0, 0.0)
            : std::tuple(align(x), listStyle(x), f.leftMargin(), f.textIndent(), f.topMargin());
    };
    const auto character = [](const QTextDocument& d, int at) {
        const QTextCharFormat f = formatAt(d, at);
        return std::tuple(bold(f), f.fontItalic(), f.fontUnderline(), f.fontStrikeOut(),
            f.fontPointSize(), family(f).toStdString(), int(f.verticalAlignment()),
            f.foreground().color().rgba(), f.hasProperty(QTextFormat::ForegroundBrush),
            f.hasProperty(QTextFormat::BackgroundBrush));
    };
    for (QTextBlock x = a.begin(), y = b.begin(); x.isValid() && y.isValid();
         x = x.next(), y = y.next()) {
        SCOPED_TRACE(x.text().toStdString());
        EXPECT_EQ(paragraph(x), paragraph(y));
        for (int i = x.position(); i < x.position() + x.length() - 1; ++i)
            EXPECT_EQ(character(a, i), character(b, i)) << "at " << i;
    }
}

} // namespace penwick::test
