// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/notesaver.h"

#include "app/notestore.h"
#include "platform/richtextbox.h"
#include "platform/rtf/rtf.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextDocument>

namespace penwick {
namespace {

// Characters made between two looks at the clock: well under a millisecond of work.
constexpr int UnitsPerStep = 16384;
// Edits above the part already made start it again; a note edited faster than it can be made
// is then made in one go.
constexpr int MostRestarts = 4;

} // namespace

NoteSaver::NoteSaver(RichTextBox& editor, QObject* parent)
    : QObject(parent)
    , m_editor(editor)
{
    connect(&editor, &RichTextBox::Change, this, [this] { ++m_changes; });
    m_piece.setSingleShot(true);
    m_piece.setInterval(0);
    connect(&m_piece, &QTimer::timeout, this, [this] { nextPiece(false); });
}

NoteSaver::~NoteSaver()
{
    cancel();
}

void NoteSaver::save(Kind kind)
{
    if (isSaving()) {
        if (!m_following || kind == Command)
            m_following = kind;
        return;
    }
    start(kind);
}

void NoteSaver::start(Kind kind)
{
    if (kind == Auto && !isModified())
        return;
    m_kind = kind;
    m_restarts = 0;
    if (!m_cursor) {
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
        m_cursor = true;
    }
    restart();
    nextPiece(false);
}

void NoteSaver::restart()
{
    disconnect(m_watch);
    m_document = m_editor.document();
    m_writer = std::make_unique<rtf::PiecewiseWriter>(*m_document);
    m_stale = false;
    m_watch
        = connect(m_document, &QTextDocument::contentsChange, this, [this](int position, int, int) {
              if (m_writer && position < m_writer->position())
                  m_stale = true;
          });
}

void NoteSaver::nextPiece(bool all)
{
    if (!m_writer)
        return;
    if (m_stale || m_document != m_editor.document()) {
        all = all || ++m_restarts > MostRestarts;
        restart();
    }
    QElapsedTimer clock;
    clock.start();
    bool done = false;
    while (!done && (all || clock.elapsed() < PieceMilliseconds))
        done = m_writer->step(UnitsPerStep);
    if (!done) {
        m_piece.start();
        return;
    }
    disconnect(m_watch);
    // The two parts are joined on the writing thread: the copy into a new buffer of the note's size
    // would hold the event loop.
    std::pair<QByteArray, QByteArray> parts = m_writer->takeParts();
    m_writer.reset();
    m_writtenAt = m_changes;
    const unsigned sequence = ++m_sequence;
    m_thread = std::thread([this, path = m_path, parts = std::move(parts), sequence]() mutable {
        QByteArray bytes = std::move(parts.first);
        bytes.reserve(bytes.size() + parts.second.size());
        bytes.append(parts.second);
        parts.second = QByteArray();
        QString error;
        m_ok = writeNote(path, bytes, &error);
        m_error = error;
        QMetaObject::invokeMethod(
            this, [this, sequence] { writeFinished(sequence); }, Qt::QueuedConnection);
    });
}

void NoteSaver::writeFinished(unsigned sequence)
{
    if (sequence != m_sequence || !m_thread.joinable())
        return; // already taken by finish()
    m_thread.join();
    if (m_ok)
        m_savedAt = m_writtenAt;
    const Kind kind = m_kind;
    const bool ok = m_ok;
    const QString error = m_error;
    if (const std::optional<Kind> next = std::exchange(m_following, std::nullopt))
        start(*next);
    if (!isSaving() && m_cursor) {
        QGuiApplication::restoreOverrideCursor();
        m_cursor = false;
    }
    emit saved(kind, ok, error);
}

void NoteSaver::finish()
{
    while (isSaving()) {
        m_piece.stop();
        nextPiece(true);
        if (m_thread.joinable())
            writeFinished(m_sequence);
    }
}

void NoteSaver::cancel()
{
    m_piece.stop();
    m_following.reset();
    disconnect(m_watch);
    m_writer.reset();
    if (m_thread.joinable()) {
        m_thread.join();
        ++m_sequence; // its report is dropped
        if (m_ok)
            m_savedAt = m_writtenAt;
    }
    if (m_cursor) {
        QGuiApplication::restoreOverrideCursor();
        m_cursor = false;
    }
}

} // namespace penwick
