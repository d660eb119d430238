// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/pictures.h"
#include "platform/rtf/rtf.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace penwick::test {

// Names parameterised cases by their `name` member.
inline constexpr auto caseName = [](const auto& info) { return std::string(info.param.name); };

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

// The document's text with paragraph and line breaks as "\n".
inline QString plain(const QTextDocument& doc)
{
    QString t = doc.toRawText();
    for (QChar& c : t) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return t;
}

// The character format of the first character of the first occurrence of text.
inline QTextCharFormat formatOf(const QTextDocument& doc, const QString& text)
{
    const int at = plain(doc).indexOf(text);
    if (at < 0)
        return {};
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(at + 1);
    return c.charFormat();
}

inline QTextBlock blockOf(const QTextDocument& doc, const QString& text)
{
    const int at = plain(doc).indexOf(text);
    return at < 0 ? QTextBlock() : doc.findBlock(at);
}

inline QString family(const QTextCharFormat& f)
{
    const QStringList l = f.fontFamilies().toStringList();
    return l.isEmpty() ? QString() : l.first();
}

inline bool bold(const QTextCharFormat& f)
{
    return f.fontWeight() >= QFont::Bold;
}

inline Qt::Alignment align(const QTextBlock& b)
{
    return b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

// The paragraph's list style; nothing when it is in no list.
inline std::optional<QTextListFormat::Style> listStyle(const QTextBlock& b)
{
    if (!b.textList())
        return std::nullopt;
    return b.textList()->format().style();
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
    for (QTextBlock x = a.begin(), y = b.begin(); x.isValid() && y.isValid();
         x = x.next(), y = y.next()) {
        SCOPED_TRACE(x.text().toStdString());
        EXPECT_EQ(align(x), align(y));
        EXPECT_EQ(listStyle(x), listStyle(y));
        if (!x.textList()) { // a list sets its own indent
            EXPECT_EQ(x.blockFormat().leftMargin(), y.blockFormat().leftMargin());
            EXPECT_EQ(x.blockFormat().textIndent(), y.blockFormat().textIndent());
            EXPECT_EQ(x.blockFormat().topMargin(), y.blockFormat().topMargin());
        }
        for (int i = 0; i < x.length() - 1; ++i) {
            QTextCursor ca(const_cast<QTextDocument*>(&a));
            QTextCursor cb(const_cast<QTextDocument*>(&b));
            ca.setPosition(x.position() + i + 1);
            cb.setPosition(y.position() + i + 1);
            const QTextCharFormat f = ca.charFormat(), g = cb.charFormat();
            SCOPED_TRACE(i);
            EXPECT_EQ(bold(f), bold(g));
            EXPECT_EQ(f.fontItalic(), g.fontItalic());
            EXPECT_EQ(f.fontUnderline(), g.fontUnderline());
            EXPECT_EQ(f.fontStrikeOut(), g.fontStrikeOut());
            EXPECT_EQ(f.fontPointSize(), g.fontPointSize());
            EXPECT_EQ(family(f), family(g));
            EXPECT_EQ(f.verticalAlignment(), g.verticalAlignment());
            EXPECT_EQ(f.foreground().color(), g.foreground().color());
            EXPECT_EQ(f.hasProperty(QTextFormat::ForegroundBrush),
                g.hasProperty(QTextFormat::ForegroundBrush));
            EXPECT_EQ(f.hasProperty(QTextFormat::BackgroundBrush),
                g.hasProperty(QTextFormat::BackgroundBrush));
        }
    }
}

} // namespace penwick::test
