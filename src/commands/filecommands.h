// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/pictures.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

class QWidget;

namespace penwick {

class CommonDialog;
class Prompter;
class RichTextBox;
struct CommonDialogValues;

// Files in and out of the note: inserting a text, rich-text or picture file at the selection,
// exporting the note, printing it. Shared by the menu bar, the toolbar and the popup menu.
namespace filecommands {

// Largest file inserted: the note itself is not loaded beyond this size either.
inline constexpr qint64 MaxInsertBytes = 64 * 1024 * 1024;

// The whole of a file chosen for inserting. Refuses folders, pipes and devices (reading those
// could wait forever), files over MaxInsertBytes and unreadable ones, saying why in `error`.
std::optional<QByteArray> readChosenFile(const QString& path, QString* error);

// Text of a plain-text file: UTF-8 (with or without BOM), UTF-16 with a BOM, else Windows-1252.
// Refuses binary data (NUL characters) and broken UTF-16, saying why in `error`.
std::optional<QString> decodeTextFile(QByteArrayView bytes, QString* error);

// A picture file's content, checked so far that it can be shown: a truncated JPEG or a header
// asking for more pixels than the loader allows is refused, saying why in `error`.
std::optional<Picture> decodePictureFile(const QByteArray& bytes, QString* error);

enum class InsertKind { Text, RichText, Picture };

// Asks for a file and puts its content in at the note's selection, as one step to undo. A cancel
// ends silently; a file that cannot be inserted leaves the note as it was and is reported through
// `prompter`, naming the file and the reason.
void insertFile(InsertKind kind, RichTextBox& note, CommonDialogValues& dialog,
    CommonDialog& dialogs, Prompter& prompter, QWidget* owner);

enum class ExportKind { PlainText = 1, RichText = 0 };

// Asks for a file name and writes the whole note there, under the name exactly as given. The
// file is replaced whole or not at all; a failure is reported, a cancel writes nothing.
void exportNote(ExportKind kind, RichTextBox& note, CommonDialogValues& dialog,
    CommonDialog& dialogs, Prompter& prompter, QWidget* owner);

// Asks for a printer and prints the selection, or the whole note when nothing is selected. A
// job that cannot start is reported; a cancel prints nothing.
void printNote(RichTextBox& note, CommonDialogValues& dialog, CommonDialog& dialogs,
    Prompter& prompter, QWidget* owner);

} // namespace filecommands
} // namespace penwick
