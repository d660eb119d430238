// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

namespace penwick {

// One running copy per note: a lock file beside the note, or in `fallbackFolder` when the
// note's folder cannot hold it. A lock left by a copy that was killed is taken over. The copy
// that holds the lock listens on a local socket named after it, where a later start asks it to
// show its window.
class SingleInstance
{
public:
    SingleInstance();
    ~SingleInstance();
    // True when this process now owns the note in `noteFolder`.
    bool acquire(const QString& noteFolder, const QString& fallbackFolder);
    void release();
    // The lock taken, or the one another copy holds.
    QString lockPath() const { return m_path; }

    // For the owner: `show` runs each time a later start asks.
    void listen(std::function<void()> show);
    // For a later start: asks the owner to show its window; false when it cannot be reached.
    bool askOwnerToShow() const;

private:
    QString socketName() const;

    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
    QString m_socketFolder;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace penwick
