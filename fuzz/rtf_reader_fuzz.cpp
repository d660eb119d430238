// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target: the rich-text reader (and the writer on what it read) must survive any input.
#include "platform/rtf/rtf.h"

#include <QTextCursor>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument doc;
    if (!penwick::rtf::readRtf(doc, bytes))
        return 0;
    // What was read must write and read again.
    const QByteArray written = penwick::rtf::writeRtf(doc);
    QTextDocument again;
    if (!penwick::rtf::readRtf(again, written))
        __builtin_trap();
    // And insert into the middle of other text.
    QTextDocument host;
    host.setPlainText(QStringLiteral("before\nafter"));
    QTextCursor cursor(&host);
    cursor.setPosition(8);
    penwick::rtf::insertRtf(cursor, bytes);
    return 0;
}
