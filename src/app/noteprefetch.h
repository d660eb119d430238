// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <future>
#include <memory>

class QTextDocument;

namespace penwick {

// Reads the note on a second thread while the window is being built, so that start-up does not
// wait for both. What it read is used only if the file is still the very file it read (same
// inode, size and change time) once the program owns the note; otherwise the note is read again.
class NotePrefetch
{
public:
    explicit NotePrefetch(QString path);
    ~NotePrefetch() { wait(); }

    const QString& path() const { return m_path; }
    void wait() const // until the reading has ended
    {
        if (m_read.valid())
            m_read.wait();
    }
    // The document read, in the calling thread; nullptr when it could not be read or the file has
    // changed since. Only the first call can return one.
    std::unique_ptr<QTextDocument> take();

    struct Identity
    {
        long long inode = -1;
        long long size = -1;
        long long changedNs = -1;
        bool operator==(const Identity&) const = default;
    };

private:
    struct Read
    {
        std::unique_ptr<QTextDocument> document;
        Identity identity;
    };
    QString m_path;
    std::future<Read> m_read;
};

} // namespace penwick
