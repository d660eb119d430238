// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

namespace penwick {

// Text from a file written on any system: UTF-8 (with or without BOM), UTF-16 with a BOM, and
// otherwise Windows-1252. Line ends CR LF and lone CR become "\n".
QString decodePlainText(QByteArrayView bytes);

// Windows-1252 decoding of one byte (the five unassigned bytes map to the C1 controls).
char16_t cp1252ToUnicode(unsigned char byte);

} // namespace penwick
