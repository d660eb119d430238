// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace penwick {

bool SingleInstance::acquire(const QString& noteFolder, const QString& fallbackFolder)
{
    const auto tryPath = [this](const QString& path) -> std::optional<bool> {
        auto lock = std::make_unique<QLockFile>(path);
        lock->setStaleLockTime(0); // held for the whole run: only a dead owner makes it stale
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            m_path = path;
            return true;
        }
        if (lock->error() == QLockFile::LockFailedError)
            return false; // another live copy holds it
        return std::nullopt; // the folder cannot hold a lock
    };
    const QString beside = QDir(noteFolder).filePath(QStringLiteral(".data.nbx.lock"));
    if (const auto result = tryPath(beside))
        return *result;
    // Name the fallback after the note's folder, so that two program folders stay independent.
    const QByteArray key = QCryptographicHash::hash(
        QFile::encodeName(QFileInfo(noteFolder).absoluteFilePath()), QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    QDir().mkpath(fallbackFolder);
    const QString fallback
        = QDir(fallbackFolder)
              .filePath(QStringLiteral("penwick-%1.lock").arg(QString::fromLatin1(key)));
    // With no folder to lock in at all, run rather than refuse to start.
    return tryPath(fallback).value_or(true);
}

void SingleInstance::release()
{
    m_lock.reset();
    m_path.clear();
}

} // namespace penwick
