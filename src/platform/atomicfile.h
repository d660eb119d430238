// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

namespace penwick {

// Replaces `path` with `data` so that, whatever happens, the file holds either its old or its
// new content: the bytes go to a temporary file in the same folder, which is flushed to disk and
// renamed over the old file, and the folder is then flushed too. On failure the previous file is
// left untouched and `error` (when given) says why. A symbolic link stays a link: the file it
// points to is the one replaced.
bool writeFileAtomically(const QString& path, QByteArrayView data, QString* error = nullptr);

// Removes the temporary files that writes of `path` left behind when they were killed half way
// (".<name>.XXXXXX" beside the file written). Call it only while nothing else writes `path`.
void removeLeftoverTemporaries(const QString& path);

// Seam for tests: the system calls the writer makes, so that each can be made to fail.
struct AtomicFileOps
{
    long (*write)(int fd, const void* buf, unsigned long count);
    int (*fsync)(int fd);
    int (*rename)(const char* from, const char* to);
};
AtomicFileOps& atomicFileOps();

} // namespace penwick
