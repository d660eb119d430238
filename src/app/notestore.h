// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

namespace penwick {

class RichTextBox;
class NotePrefetch;

inline const QString NoteFileName = QStringLiteral("data.nbx");

// The note lives beside the program; an installed copy whose folder the user cannot write
// keeps it in the per-user data folder instead.
QString chooseNoteFolder(const QString& appFolder, const QString& dataFolder,
    const std::function<bool(const QString&)>& isWritable);
bool isWritableFolder(const QString& folder);

struct NoteLoad
{
    enum Outcome { Loaded, Missing, MovedAside, Unreadable } outcome = Missing;
    QString reason; // why the file could not be read
    QString movedTo; // where an unreadable file was put
};

// Loads the note. A file that exists but cannot be read as rich text is moved aside, byte for
// byte, to "<name>.unreadable-YYYYMMDD-HHMMSS" so that the next save cannot destroy it. A note
// read ahead for the same path is taken when it is still the file's content.
NoteLoad loadNote(RichTextBox& editor, const QString& path, const QDateTime& now,
    NotePrefetch* readAhead = nullptr);

// Writes the note where it cannot be lost when its own file cannot be written: a new file in
// `rescueFolder`. Returns the file's path, or an empty string (with `error`) on failure.
QString rescueNote(RichTextBox& editor, const QString& rescueFolder, const QDateTime& now,
    QString* error = nullptr);

} // namespace penwick
