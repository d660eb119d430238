// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <memory>
#include <utility>

class QTextCursor;
class QTextDocument;

namespace penwick::rtf {

// True when the bytes begin like a rich-text file ("{\rtf", after an optional UTF-8 BOM).
bool looksLikeRtf(QByteArrayView data);

// Reads rich text and inserts it at the cursor, replacing its selection, as one undo step.
// Returns false and changes nothing when the data is not rich text.
// The last \par of the data ends the inserted content rather than adding an empty paragraph.
bool insertRtf(QTextCursor& cursor, QByteArrayView data);

// Replaces the whole document by the rich text (the fast way to load a file): undo history is
// cleared. Returns false and changes nothing when the data is not rich text.
bool readRtf(QTextDocument& document, QByteArrayView data);

// Writes the characters [from, to) of the document (all of it when to is -1) as rich text.
// Every paragraph written ends with \par (the reader takes the last one as the end mark), so
// a range that ends inside a paragraph reads back without a break after it. Output is 7-bit ASCII.
QByteArray writeRtf(const QTextDocument& document, int from = 0, int to = -1);

// Writes a whole document as writeRtf does, a piece at a time, so that a long document does not
// hold up the thread it lives on. Between pieces the document may be edited at or after
// position(); the result is then the document as it stands after the last piece. An edit before
// position() needs a new writer.
class PiecewiseWriter
{
public:
    explicit PiecewiseWriter(const QTextDocument& document);
    ~PiecewiseWriter();
    PiecewiseWriter(const PiecewiseWriter&) = delete;
    PiecewiseWriter& operator=(const PiecewiseWriter&) = delete;

    // Writes about `units` more characters (whole fragments, and at least one); true once the
    // whole document is written.
    bool step(int units);
    int position() const;
    // The whole file, once step() has returned true.
    QByteArray take();
    // The same file in two parts, the tables and the text, for a caller that joins them where
    // copying megabytes holds up nobody (joining a fresh 10 MB buffer takes tens of milliseconds).
    std::pair<QByteArray, QByteArray> takeParts();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace penwick::rtf
