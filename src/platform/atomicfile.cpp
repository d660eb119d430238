// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/atomicfile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
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

// The file that writing `path` replaces: symbolic links are followed, so that a note kept in
// another folder through a link is saved there and the link stays. Empty on a loop of links.
QByteArray followLinks(QByteArray path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st
        {
        };
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        QByteArray target(qsizetype(st.st_size > 0 ? st.st_size : 4096) + 1, Qt::Uninitialized);
        const ssize_t n = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (n < 0 || n >= target.size())
            return path; // changed under us: write where the name is
        target.truncate(n);
        if (!target.startsWith('/'))
            target.prepend(path.left(path.lastIndexOf('/') + 1));
        path = target;
    }
    errno = ELOOP;
    return {};
}

// The final file and its folder, links followed; false (errno set) when they cannot be named.
bool resolveTarget(const QString& path, QByteArray& file, QByteArray& folder)
{
    file = followLinks(QFile::encodeName(QFileInfo(path).absoluteFilePath()));
    if (file.isEmpty())
        return false;
    folder = file.left(std::max<qsizetype>(file.lastIndexOf('/'), 1));
    return true;
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
    if (QFileInfo(path).isDir())
        return fail(QCoreApplication::translate("penwick", "It is a folder."));
    QByteArray finalName, folder;
    if (!resolveTarget(path, finalName, folder))
        return fail(describe(errno));

    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    mode_t mode = 0666 & ~processUmask();
    struct stat st
    {
    };
    if (::stat(finalName.constData(), &st) == 0)
        mode = st.st_mode & 07777;

    QByteArray tempName = folder + "/." + finalName.mid(finalName.lastIndexOf('/') + 1) + ".XXXXXX";
    Fd fd(::mkstemp(tempName.data()));
    if (fd.get() < 0)
        return fail(describe(errno));
    const auto abandon = [&](int err) {
        fd.close();
        ::unlink(tempName.constData());
        return fail(describe(err));
    };
    if (::fchmod(fd.get(), mode) != 0) // on our own new file: only on a failing file system
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
    if (fd.close() != 0) { // after fsync succeeded: only network file systems report here
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

void removeLeftoverTemporaries(const QString& path)
{
    QByteArray file, folder;
    if (!resolveTarget(path, file, folder))
        return;
    // Exactly the names mkstemp makes for this file: the stem and six letters or digits.
    const QByteArray stem = "." + file.mid(file.lastIndexOf('/') + 1) + ".";
    const auto isOurs = [&stem](QByteArrayView name) {
        return name.size() == stem.size() + 6 && name.startsWith(stem)
            && std::all_of(name.end() - 6, name.end(), [](char c) {
                   return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
                       || (c >= '0' && c <= '9');
               });
    };
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isOurs(QByteArrayView(entry->d_name)))
            continue;
        struct stat st
        {
        };
        // Only plain files: never follow a link or empty a folder of that name.
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISREG(st.st_mode))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace penwick
