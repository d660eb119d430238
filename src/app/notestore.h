// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <functional>

namespace penwick {

class RichTextBox;
class NotePrefetch;

inline const QString NoteFileName = QStringLiteral("data.nbx");

// Where the note is kept and where it is read from. The note lives beside the program; an
// installed copy (in a folder named bin) or one whose folder the user cannot write keeps it in
// the per-user data folder. Until
// the first save puts a note there, the one beside the program (if any) is read; after that the
// per-user note is the user's latest and wins.
struct NotePlace
{
    QString folder; // where the note is saved and locked, with a trailing "/"
    QString readPath; // where it is loaded from
    QString path() const { return folder + NoteFileName; }
    // Read from the program folder, kept in the data folder from the first save on.
    bool movesToDataFolder() const { return readPath != path(); }
};
NotePlace locateNote(const QString& appFolder, const QString& dataFolder,
    const std::function<bool(const QString&)>& isWritable);
bool isWritableFolder(const QString& folder);

// Creates `folder` and the missing folders above it, each new one private to the user (0700),
// as per-user data folders are. True when it exists afterwards.
bool makePrivateFolder(const QString& folder, QString* error = nullptr);

// Writes the note's rich text to `path`, creating its folder first when it is missing. The
// previous file stays whole if the write fails.
bool writeNote(const QString& path, QByteArrayView rtf, QString* error = nullptr);
bool saveNote(RichTextBox& editor, const QString& path, QString* error = nullptr);

struct NoteLoad
{
    enum Outcome { Loaded, Missing, MovedAside, Unreadable } outcome = Missing;
    QString reason; // why the file could not be read
    QString movedTo; // where an unreadable file was put
};

// Loads the note. An empty file is an empty note. A file that exists but cannot be read as rich
// text is moved aside, byte for byte, to "<name>.unreadable-YYYYMMDD-HHMMSS" so that the next
// save cannot destroy it. A note read ahead for the same path is taken when it is still the
// file's content.
NoteLoad loadNote(RichTextBox& editor, const QString& path, const QDateTime& now,
    NotePrefetch* readAhead = nullptr);

// Writes the note where it cannot be lost when its own file cannot be written: a new file in
// `rescueFolder`. Returns the file's path, or an empty string (with `error`) on failure.
QString rescueNote(RichTextBox& editor, const QString& rescueFolder, const QDateTime& now,
    QString* error = nullptr);

} // namespace penwick
