// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

class QTextCursor;
class QTextDocument;

namespace penwick::rtf {

// True when the bytes begin like a rich-text file ("{\rtf", after an optional UTF-8 BOM).
bool looksLikeRtf(QByteArrayView data);

// Reads rich text and inserts it at the cursor, replacing its selection, as one undo step.
// Returns false and changes nothing when the data is not rich text.
bool insertRtf(QTextCursor& cursor, QByteArrayView data);

// Writes the characters [from, to) of the document (all of it when to is -1) as rich text.
QByteArray writeRtf(const QTextDocument& document, int from = 0, int to = -1);

} // namespace penwick::rtf
