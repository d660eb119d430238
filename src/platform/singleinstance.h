// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace penwick {

// One running copy per note: a lock file beside the note, or in `fallbackFolder` when the
// note's folder cannot hold it. A lock left by a copy that was killed is taken over.
class SingleInstance
{
public:
    // True when this process now owns the note in `noteFolder`.
    bool acquire(const QString& noteFolder, const QString& fallbackFolder);
    void release();
    QString lockPath() const { return m_path; }

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
};

} // namespace penwick
