// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/testenv.h"
#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <unistd.h>

namespace penwick {
namespace {

using test::readFile;

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(AtomicFile, CreatesAndReplacesKeepingPermissions)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.nbx"));
    QString error;
    ASSERT_TRUE(writeFileAtomically(path, "first", &error)) << error.toStdString();
    EXPECT_EQ(readFile(path), "first");
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
        | QFile::ReadGroup; // 0640
    ASSERT_TRUE(QFile::setPermissions(path, mode));
    // Writes that are cut short or interrupted by a signal are carried on.
    const AtomicFileOps saved = atomicFileOps();
    atomicFileOps().write = [](int fd, const void* buf, unsigned long count) -> long {
        static bool interrupt = true;
        if ((interrupt = !interrupt)) {
            errno = EINTR;
            return -1;
        }
        return ::write(fd, buf, std::min(count, 2ul));
    };
    const bool written = writeFileAtomically(path, "second");
    atomicFileOps() = saved;
    ASSERT_TRUE(written);
    EXPECT_EQ(
        std::pair(readFile(path), QFile::permissions(path)), std::pair(QByteArray("second"), mode));
    EXPECT_TRUE(writeFileAtomically(path, QByteArray()) && QFileInfo(path).size() == 0);
    EXPECT_EQ(entries(dir.path()), QStringList { QStringLiteral("data.nbx") });
}

// Whatever step fails, the old file stays byte for byte and nothing is left behind; a folder, or
// a name in a missing folder, is refused.
TEST(AtomicFile, AFailedStepLeavesTheOldFile)
{
    const AtomicFileOps saved = atomicFileOps();
    AtomicFileOps failing[4] = { saved, saved, saved, saved };
    failing[0].write = [](int, const void*, unsigned long) -> long { return errno = ENOSPC, -1; };
    failing[1].write = [](int, const void*, unsigned long) -> long { return 0; }; // short write
    failing[2].fsync = [](int) { return errno = ENOSPC, -1; };
    failing[3].rename = [](const char*, const char*) { return errno = ENOSPC, -1; };
    for (int step = 0; step < 4; ++step) {
        SCOPED_TRACE(step);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("note"));
        ASSERT_TRUE(writeFileAtomically(path, "old content"));
        atomicFileOps() = failing[step];
        QString error;
        const bool ok = writeFileAtomically(path, "new content", &error);
        atomicFileOps() = saved;
        EXPECT_EQ(std::tuple(ok, error.isEmpty(), readFile(path), entries(dir.path())),
            std::tuple(false, false, QByteArray("old content"), QStringList { "note" }));
    }
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("folder/inside"))));
    EXPECT_FALSE(writeFileAtomically(dir.filePath(QStringLiteral("folder")), "x", &error)
        || error.isEmpty());
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("folder/inside"))).isDir());
    EXPECT_FALSE(writeFileAtomically(dir.filePath(QStringLiteral("missing/note")), "x"));
}

// A note kept elsewhere through a symbolic link is saved there: the link stays a link, the
// temporary file is made beside the file it points to, and the target's permissions are kept.
TEST(AtomicFile, SavesThroughSymbolicLinks)
{
    // Each link points to the next name, the last one to "synced/note.rtf"; whether it exists.
    const std::tuple<const char*, QStringList, bool> cases[]
        = { { "absolute", { "data.nbx" }, true }, { "relative", { "data.nbx" }, true },
              { "chain", { "data.nbx", "hop" }, true }, { "dangling", { "data.nbx" }, false } };
    for (const auto& [name, links, targetExists] : cases) {
        SCOPED_TRACE(name);
        QTemporaryDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("synced")));
        const QString target = dir.filePath(QStringLiteral("synced/note.rtf"));
        if (targetExists) {
            ASSERT_TRUE(writeFileAtomically(target, "old"));
            ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
        }
        for (qsizetype i = links.size() - 1; i >= 0; --i) {
            const QString next = i + 1 < links.size()  ? links[i + 1]
                : std::string_view(name) == "relative" ? QStringLiteral("synced/note.rtf")
                                                       : target;
            ASSERT_TRUE(QFile::link(next, dir.filePath(links[i])));
        }
        const QString path = dir.filePath(QStringLiteral("data.nbx"));
        QString error;
        ASSERT_TRUE(writeFileAtomically(path, "new", &error)) << error.toStdString();
        EXPECT_EQ(std::pair(QFileInfo(path).isSymLink(), readFile(target)),
            std::pair(true, QByteArray("new")));
        if (targetExists) {
            EXPECT_EQ(QFile::permissions(target) & 0x0FFF, QFile::ReadUser | QFile::WriteUser);
        }
        EXPECT_EQ(entries(dir.filePath(QStringLiteral("synced"))), QStringList { "note.rtf" });
    }
    // A loop of links is refused and left as it is.
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a")), b = dir.filePath(QStringLiteral("b"));
    ASSERT_TRUE(QFile::link(b, a) && QFile::link(a, b));
    QString error;
    EXPECT_FALSE(writeFileAtomically(a, "x", &error) || error.isEmpty());
    EXPECT_TRUE(QFileInfo(a).isSymLink() && QFileInfo(b).isSymLink());
    removeLeftoverTemporaries(a); // nothing to name, nothing done
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
        (QStringList { "a", "b" }));
}

// Only the temporaries of the file named go: six letters or digits after its own name, plain
// files only.
TEST(AtomicFile, RemovesOnlyItsOwnLeftoverTemporaries)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.nbx"));
    ASSERT_TRUE(writeFileAtomically(path, "note"));
    const QStringList leftovers { ".data.nbx.Ab12Cd", ".data.nbx.zzzzzz" };
    const QStringList others { ".data.nbx.lock", ".data.nbx.Ab12C", ".data.nbx.Ab12Cde",
        ".data.nbx.Ab-2Cd", ".data.nbx.Ab_2Cd", ".data.nbx.Ab~2Cd", ".data.nbx.Ab:2Cd",
        ".other.nbx.Ab12Cd", "data.nbx.Ab12Cd", "data.nbx.unreadable-1" };
    for (const QString& name : leftovers + others)
        ASSERT_TRUE(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral(".data.nbx.Folder")));
    ASSERT_TRUE(QFile::link(path, dir.filePath(QStringLiteral(".data.nbx.Link12"))));
    removeLeftoverTemporaries(path);
    QStringList kept = others + QStringList { ".data.nbx.Folder", ".data.nbx.Link12", "data.nbx" };
    kept.sort(Qt::CaseInsensitive); // as the folder lists them
    EXPECT_EQ(entries(dir.path()), kept);
    removeLeftoverTemporaries(dir.filePath(QStringLiteral("missing/data.nbx")));
}

// Killed at any moment during a save, the file holds the old or the new content in full.
TEST(AtomicFile, KillingTheWriterNeverLeavesAMix)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.nbx"));
    const QByteArray a(2 * 1024 * 1024, 'A');
    const QByteArray b(3 * 1024 * 1024, 'B');
    ASSERT_TRUE(writeFileAtomically(path, a));
    for (int round = 0; round < 25; ++round) {
        QProcess child;
        child.start(QStringLiteral(ATOMIC_WRITER_CHILD), { path });
        ASSERT_TRUE(child.waitForStarted());
        // Let it begin a varying number of saves, then kill it mid-way.
        const int ticks = 1 + int(QRandomGenerator::global()->bounded(4));
        qint64 seen = 0;
        while (seen < ticks && child.waitForReadyRead(10000))
            seen += child.readAllStandardOutput().size();
        child.kill();
        child.waitForFinished();
        const QByteArray now = readFile(path);
        EXPECT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    }
    // Killed writers may leave a temporary file, never the note itself in pieces; the next owner
    // of the note clears them.
    for (const QString& name : entries(dir.path()))
        EXPECT_TRUE(name == u"data.nbx" || name.startsWith(u".data.nbx.")) << name.toStdString();
    removeLeftoverTemporaries(path);
    EXPECT_EQ(entries(dir.path()), QStringList { QStringLiteral("data.nbx") });
}

} // namespace
} // namespace penwick
