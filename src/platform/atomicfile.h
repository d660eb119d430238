// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

namespace penwick {

// Replaces `path` with `data` so that, whatever happens, the file holds either its old or its
// new content: the bytes go to a temporary file in the same folder, which is flushed to disk and
// renamed over the old file, and the folder is then flushed too. On failure the previous file is
// left untouched and `error` (when given) says why.
bool writeFileAtomically(const QString& path, QByteArrayView data, QString* error = nullptr);

// Seam for tests: the system calls the writer makes, so that each can be made to fail.
struct AtomicFileOps
{
    long (*write)(int fd, const void* buf, unsigned long count);
    int (*fsync)(int fd);
    int (*rename)(const char* from, const char* to);
};
AtomicFileOps& atomicFileOps();

} // namespace penwick
