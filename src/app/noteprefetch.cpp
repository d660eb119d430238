// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/noteprefetch.h"

#include "platform/richtextbox.h"

#include <QFile>
#include <QTextDocument>
#include <QThread>

#include <sys/stat.h>

namespace penwick {
namespace {

// The file as the system knows it; a save replaces the note by renaming a new file over it,
// which gives it a new inode.
NotePrefetch::Identity identityOf(const QString& path)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return { static_cast<long long>(st.st_ino), static_cast<long long>(st.st_size),
        static_cast<long long>(st.st_ctim.tv_sec) * 1000000000LL + st.st_ctim.tv_nsec };
}

} // namespace

NotePrefetch::NotePrefetch(QString path)
    : m_path(std::move(path))
{
    QThread* owner = QThread::currentThread();
    m_read = std::async(std::launch::async, [path = m_path, owner] {
        Read read;
        read.identity = identityOf(path);
        if (read.identity.inode < 0)
            return read;
        read.document = RichTextBox::ReadFile(path);
        if (read.document && identityOf(path) == read.identity)
            read.document->moveToThread(owner);
        else
            read.document.reset();
        return read;
    });
}

std::unique_ptr<QTextDocument> NotePrefetch::take()
{
    if (!m_read.valid())
        return {};
    Read read = m_read.get();
    if (!read.document || identityOf(m_path) != read.identity)
        return {};
    return std::move(read.document);
}

} // namespace penwick
