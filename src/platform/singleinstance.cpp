// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/singleinstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <optional>

namespace penwick {
namespace {

const QByteArray showRequest = "show\n";

QByteArray shortHash(const QString& text)
{
    return QCryptographicHash::hash(QFile::encodeName(text), QCryptographicHash::Sha1)
        .toHex()
        .left(16);
}

} // namespace

SingleInstance::SingleInstance() = default;
SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire(const QString& noteFolder, const QString& fallbackFolder)
{
    m_socketFolder = fallbackFolder;
    const auto tryPath = [this](const QString& path) -> std::optional<bool> {
        auto lock = std::make_unique<QLockFile>(path);
        lock->setStaleLockTime(0); // held for the whole run: only a dead owner makes it stale
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            m_path = path;
            return true;
        }
        if (lock->error() == QLockFile::LockFailedError) {
            m_path = path;
            return false; // another live copy holds it
        }
        return std::nullopt; // the folder cannot hold a lock
    };
    const QString beside = QDir(noteFolder).filePath(QStringLiteral(".data.nbx.lock"));
    if (const auto result = tryPath(beside))
        return *result;
    // Name the fallback after the note's folder, so that two program folders stay independent.
    const QByteArray key = shortHash(QFileInfo(noteFolder).absoluteFilePath());
    QDir().mkpath(fallbackFolder);
    const QString fallback
        = QDir(fallbackFolder)
              .filePath(QStringLiteral("penwick-%1.lock").arg(QString::fromLatin1(key)));
    // With no folder to lock in at all, run rather than refuse to start.
    return tryPath(fallback).value_or(true);
}

void SingleInstance::release()
{
    m_server.reset();
    m_lock.reset();
    m_path.clear();
}

// In the user's runtime folder where there is one (private to the user), named after the lock.
QString SingleInstance::socketName() const
{
    const QString name
        = QStringLiteral("penwick-%1.socket")
              .arg(QString::fromLatin1(shortHash(QFileInfo(m_path).absoluteFilePath())));
    return m_socketFolder.isEmpty() || !QFileInfo(m_socketFolder).isDir()
        ? name
        : QDir(m_socketFolder).filePath(name);
}

void SingleInstance::listen(std::function<void()> show)
{
    if (!m_lock)
        return;
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the lock's owner gets here: a socket left by a copy that was killed is its to clear.
    QLocalServer::removeServer(socketName());
    if (!m_server->listen(socketName()))
        return;
    QLocalServer* server = m_server.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [server, show] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            // The request may come with the connection, before it or with its end.
            const auto take = [socket, show] {
                if (socket->property("taken").toBool()
                    || socket->bytesAvailable() < showRequest.size())
                    return;
                socket->setProperty("taken", true);
                if (socket->read(showRequest.size()) == showRequest)
                    show();
            };
            QObject::connect(socket, &QLocalSocket::readyRead, socket, take);
            QObject::connect(socket, &QLocalSocket::disconnected, socket, [socket, take] {
                take();
                socket->deleteLater();
            });
            take();
        }
    });
}

bool SingleInstance::askOwnerToShow() const
{
    if (m_path.isEmpty())
        return false;
    // The owner listens just after taking the lock: a start in between waits a moment for it.
    const QDeadlineTimer deadline(3000);
    QLocalSocket socket;
    while (true) {
        socket.connectToServer(socketName());
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    socket.write(showRequest);
    const bool sent
        = socket.waitForBytesWritten(int(std::max<qint64>(deadline.remainingTime(), 500)));
    socket.disconnectFromServer();
    return sent;
}

} // namespace penwick
