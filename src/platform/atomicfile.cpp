// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/atomicfile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace penwick {
namespace {

long sysWrite(int fd, const void* buf, unsigned long count)
{
    return ::write(fd, buf, count);
}
int sysFsync(int fd)
{
    return ::fsync(fd);
}
int sysRename(const char* from, const char* to)
{
    return ::rename(from, to);
}

QString describe(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

mode_t processUmask()
{
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

class Fd
{
public:
    explicit Fd(int fd)
        : m_fd(fd)
    { }
    ~Fd() { close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    int close()
    {
        const int rc = m_fd >= 0 ? ::close(m_fd) : 0;
        m_fd = -1;
        return rc;
    }

private:
    int m_fd;
};

} // namespace

AtomicFileOps& atomicFileOps()
{
    static AtomicFileOps ops { sysWrite, sysFsync, sysRename };
    return ops;
}

bool writeFileAtomically(const QString& path, QByteArrayView data, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const AtomicFileOps& ops = atomicFileOps();
    const QFileInfo target(path);
    if (target.isDir())
        return fail(QCoreApplication::translate("penwick", "It is a folder."));
    const QByteArray finalName = QFile::encodeName(target.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(target.absolutePath());

    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    mode_t mode = 0666 & ~processUmask();
    struct stat st
    {
    };
    if (::stat(finalName.constData(), &st) == 0)
        mode = st.st_mode & 07777;

    QByteArray tempName = folder + "/." + QFile::encodeName(target.fileName()) + ".XXXXXX";
    Fd fd(::mkstemp(tempName.data()));
    if (fd.get() < 0)
        return fail(describe(errno));
    const auto abandon = [&](int err) {
        fd.close();
        ::unlink(tempName.constData());
        return fail(describe(err));
    };
    if (::fchmod(fd.get(), mode) != 0)
        return abandon(errno);

    const char* p = data.data();
    qsizetype left = data.size();
    while (left > 0) {
        const long n = ops.write(fd.get(), p, static_cast<unsigned long>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return abandon(errno);
        }
        if (n == 0)
            return abandon(ENOSPC);
        p += n;
        left -= n;
    }
    if (ops.fsync(fd.get()) != 0)
        return abandon(errno);
    if (fd.close() != 0) {
        const int err = errno;
        ::unlink(tempName.constData());
        return fail(describe(err));
    }
    if (ops.rename(tempName.constData(), finalName.constData()) != 0) {
        const int err = errno;
        ::unlink(tempName.constData());
        return fail(describe(err));
    }
    // Make the rename itself durable.
    Fd dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
    return true;
}

} // namespace penwick
