// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/textdecode.h"

#include <QStringDecoder>

namespace penwick {
namespace {

constexpr char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
};

bool isValidUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString ignored = decoder.decode(bytes);
    return !decoder.hasError();
}

QString normaliseLineEnds(QString text)
{
    if (!text.contains(u'\r'))
        return text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

char16_t cp1252ToUnicode(unsigned char byte)
{
    return (byte >= 0x80 && byte < 0xA0) ? cp1252High[byte - 0x80] : char16_t(byte);
}

QString decodePlainText(QByteArrayView bytes)
{
    if (bytes.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(bytes[0]);
        const auto b1 = static_cast<unsigned char>(bytes[1]);
        if (b0 == 0xFF && b1 == 0xFE)
            return normaliseLineEnds(
                QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.sliced(2)));
        if (b0 == 0xFE && b1 == 0xFF)
            return normaliseLineEnds(
                QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.sliced(2)));
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    if (isValidUtf8(bytes))
        return normaliseLineEnds(QString::fromUtf8(bytes));
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes)
        *out++ = QChar(cp1252ToUnicode(static_cast<unsigned char>(c)));
    return normaliseLineEnds(std::move(text));
}

} // namespace penwick
