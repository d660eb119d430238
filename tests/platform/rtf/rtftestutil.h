// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/rtf/rtf.h"

#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <memory>

namespace penwick::test {

inline QByteArray fixture(const char* name)
{
    QFile f(QStringLiteral(PENWICK_RTF_FIXTURES "/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QString fixturePath(const char* name)
{
    return QStringLiteral(PENWICK_RTF_FIXTURES "/") + QLatin1String(name);
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
    const QTextBlock block = doc.findBlock(at);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.position() <= at && at < f.position() + f.length())
            return f.charFormat();
    }
    return {};
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

} // namespace penwick::test
