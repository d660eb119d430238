// SPDX-License-Identifier: GPL-2.0-or-later
// Placeholder codec: plain paragraphs only, until the full reader and writer land.
#include "platform/rtf/rtf.h"

#include "platform/textdecode.h"

#include <QTextCursor>
#include <QTextDocument>

namespace penwick::rtf {

bool looksLikeRtf(QByteArrayView data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    return data.startsWith("{\\rtf");
}

bool insertRtf(QTextCursor& cursor, QByteArrayView data)
{
    if (!looksLikeRtf(data))
        return false;
    QString text;
    int depth = 0;
    int skipDepth = -1;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (c == '{') {
            ++depth;
            if (i + 2 < data.size() && data[i + 1] == '\\' && data[i + 2] == '*' && skipDepth < 0)
                skipDepth = depth;
        } else if (c == '}') {
            if (depth == skipDepth)
                skipDepth = -1;
            --depth;
        } else if (c == '\\' && i + 1 < data.size()) {
            qsizetype j = i + 1;
            if (data[j] == '\'' && j + 2 < data.size()) {
                if (skipDepth < 0)
                    text += QChar(cp1252ToUnicode(uchar(data.sliced(j + 1, 2).toInt(nullptr, 16))));
                i = j + 2;
                continue;
            }
            if (!std::isalpha(uchar(data[j]))) {
                if (skipDepth < 0 && (data[j] == '\\' || data[j] == '{' || data[j] == '}'))
                    text += QLatin1Char(data[j]);
                i = j;
                continue;
            }
            while (j < data.size() && std::isalpha(uchar(data[j])))
                ++j;
            const QByteArrayView word = data.sliced(i + 1, j - i - 1);
            qsizetype numStart = j;
            if (j < data.size() && data[j] == '-')
                ++j;
            while (j < data.size() && std::isdigit(uchar(data[j])))
                ++j;
            const int param = data.sliced(numStart, j - numStart).toInt();
            if (j < data.size() && data[j] == ' ')
                ++j;
            i = j - 1;
            if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info")
                skipDepth = skipDepth < 0 ? depth : skipDepth;
            if (skipDepth >= 0)
                continue;
            if (word == "par")
                text += QChar(u'\n');
            else if (word == "u")
                text += QChar(char16_t(param < 0 ? param + 65536 : param));
        } else if (skipDepth < 0 && c != '\r' && c != '\n' && depth > 0) {
            text += QChar(cp1252ToUnicode(uchar(c)));
        }
    }
    if (text.endsWith(u'\n'))
        text.chop(1);
    cursor.insertText(text);
    return true;
}

QByteArray writeRtf(const QTextDocument& document, int from, int to)
{
    QString text = document.toRawText();
    if (to < 0 || to > text.size())
        to = int(text.size());
    text = text.mid(from, to - from);
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\n";
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == 0x2029 || u == 0x2028)
            out += "\\par\n";
        else if (u == '\\' || u == '{' || u == '}')
            out += '\\', out += char(u);
        else if (u >= 0x20 && u < 0x80)
            out += char(u);
        else
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
    }
    out += "\\par\n}";
    return out;
}

} // namespace penwick::rtf
