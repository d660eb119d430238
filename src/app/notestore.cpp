// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/notestore.h"

#include "app/noteprefetch.h"
#include "platform/richtextbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include <unistd.h>

namespace penwick {
namespace {

// `stem` + `suffix`, or with "-2", "-3"... after the stem when that name is taken.
QString freeName(const QString& stem, const QString& suffix = {})
{
    QString candidate = stem + suffix;
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = stem + QStringLiteral("-%1").arg(n) + suffix;
    return candidate;
}

QString stamp(const QDateTime& now)
{
    return now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

} // namespace

bool isWritableFolder(const QString& folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

QString chooseNoteFolder(const QString& appFolder, const QString& dataFolder,
    const std::function<bool(const QString&)>& isWritable)
{
    if (isWritable(appFolder))
        return appFolder;
    return dataFolder.endsWith(u'/') ? dataFolder : dataFolder + u'/';
}

NoteLoad loadNote(
    RichTextBox& editor, const QString& path, const QDateTime& now, NotePrefetch* readAhead)
{
    NoteLoad result;
    if (readAhead && readAhead->path() == path) {
        if (std::unique_ptr<QTextDocument> read = readAhead->take()) {
            editor.AdoptDocument(std::move(read));
            result.outcome = NoteLoad::Loaded;
            return result;
        }
    }
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return result;
    if (editor.LoadFile(path, &result.reason)) {
        result.outcome = NoteLoad::Loaded;
        return result;
    }
    const QString aside = freeName(path + QStringLiteral(".unreadable-") + stamp(now));
    if (QFile::rename(path, aside)) {
        result.outcome = NoteLoad::MovedAside;
        result.movedTo = aside;
    } else {
        result.outcome = NoteLoad::Unreadable;
    }
    return result;
}

QString rescueNote(
    RichTextBox& editor, const QString& rescueFolder, const QDateTime& now, QString* error)
{
    if (!QDir().mkpath(rescueFolder)) {
        if (error)
            *error = QObject::tr("The folder %1 could not be created.").arg(rescueFolder);
        return {};
    }
    const QString path
        = freeName(QDir(rescueFolder).filePath(QStringLiteral("rescued-note-") + stamp(now)),
            QStringLiteral(".rtf"));
    if (!editor.SaveFile(path, 0, error))
        return {};
    return path;
}

} // namespace penwick
