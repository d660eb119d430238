// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>
#include <thread>

class QTextDocument;

namespace penwick {

class RichTextBox;
namespace rtf {
class PiecewiseWriter;
}

// Saves the note without holding up the window, however long the note: its rich text is made a
// piece at a time between events, and the file is written on a thread of its own, atomically.
// The file holds the note as it was when its last piece was made; an edit made while the file
// is being written is saved by the next save.
class NoteSaver : public QObject
{
    Q_OBJECT
public:
    enum Kind { Auto, Command };
    Q_ENUM(Kind)

    explicit NoteSaver(RichTextBox& editor, QObject* parent = nullptr);
    ~NoteSaver() override;

    void setPath(const QString& path) { m_path = path; }
    // Saves the note. A save asked for while one runs follows it. An auto-save of a note that
    // has not changed since it was last saved writes nothing (and reports nothing).
    void save(Kind kind);
    bool isSaving() const { return m_writer || m_thread.joinable(); }
    // Whether the note changed since it was last saved (or loaded).
    bool isModified() const { return m_changes != m_savedAt; }
    // The note in the editor is the one in the file.
    void markSaved() { m_savedAt = m_changes; }
    // Completes the save in progress, and any that follows it, before returning.
    void finish();
    // Drops the save in progress and any that follows: nothing more is written or reported once
    // this returns.
    void cancel();

    // The most a piece of work may hold the window, in milliseconds.
    static constexpr int PieceMilliseconds = 15;

signals:
    void saved(NoteSaver::Kind kind, bool ok, const QString& error);

private:
    void start(Kind kind);
    void restart();
    void nextPiece(bool all);
    void writeFinished(unsigned sequence);

    RichTextBox& m_editor;
    QString m_path;
    unsigned long long m_changes = 0;
    unsigned long long m_savedAt = 0;
    unsigned long long m_writtenAt = 0; // m_changes when the rich text in writing was made

    Kind m_kind = Auto;
    std::optional<Kind> m_following;
    std::unique_ptr<rtf::PiecewiseWriter> m_writer;
    QPointer<QTextDocument> m_document;
    QMetaObject::Connection m_watch;
    bool m_stale = false; // edited before the part already made
    int m_restarts = 0;
    QTimer m_piece;
    bool m_cursor = false;

    std::thread m_thread;
    unsigned m_sequence = 0;
    bool m_ok = false; // the thread's result, read once it is joined
    QString m_error;
};

} // namespace penwick
