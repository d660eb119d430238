// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/notestore.h"

#include "app/noteprefetch.h"
#include "platform/atomicfile.h"
#include "platform/richtextbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
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

NotePlace locateNote(const QString& appFolder, const QString& dataFolder,
    const std::function<bool(const QString&)>& isWritable)
{
    NotePlace place;
    // A program installed into a prefix shares its bin folder with every other program; the
    // note there would be one for all users (root can write /usr/bin), so it is kept per user.
    const bool installed = QDir(QDir::cleanPath(appFolder)).dirName() == QLatin1String("bin");
    if (!installed && isWritable(appFolder)) {
        place.folder = appFolder;
        place.readPath = place.path();
        return place;
    }
    place.folder = dataFolder.endsWith(u'/') ? dataFolder : dataFolder + u'/';
    place.readPath = place.path();
    const auto present = [](const QString& path) {
        const QFileInfo info(path);
        return info.exists() || info.isSymLink();
    };
    if (!present(place.readPath) && present(appFolder + NoteFileName))
        place.readPath = appFolder + NoteFileName;
    return place;
}

bool makePrivateFolder(const QString& folder, QString* error)
{
    const QString absolute = QDir::cleanPath(QDir(folder).absolutePath());
    // From the top down, so that each new folder is made inside one that exists.
    const QStringList parts = absolute.split(u'/', Qt::SkipEmptyParts);
    QString path;
    for (const QString& part : parts) {
        path += u'/' + part;
        const QByteArray name = QFile::encodeName(path);
        struct stat st = {};
        if (::stat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode))
            continue;
        if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
            if (error)
                *error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
    }
    if (QFileInfo(absolute).isDir())
        return true;
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(ENOTDIR));
    return false;
}

bool writeNote(const QString& path, QByteArrayView rtf, QString* error)
{
    return makePrivateFolder(QFileInfo(path).absolutePath(), error)
        && writeFileAtomically(path, rtf, error);
}

bool saveNote(RichTextBox& editor, const QString& path, QString* error)
{
    return writeNote(path, editor.TextRTF(), error);
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
    // A link to a note not written yet (a synced folder) is saved through like a missing file.
    const QFileInfo info(path);
    if (!info.exists())
        return result;
    if (info.isFile() && info.size() == 0) {
        result.outcome = NoteLoad::Loaded; // nothing written yet: an empty note, not a damaged one
        return result;
    }
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
    QString why;
    if (!makePrivateFolder(rescueFolder, &why)) {
        if (error)
            *error = QObject::tr("The folder %1 could not be created (%2).").arg(rescueFolder, why);
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
