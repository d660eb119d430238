// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>

namespace penwick {
namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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
    EXPECT_EQ(readAll(path), "first");
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
        | QFile::ReadGroup; // 0640
    ASSERT_TRUE(QFile::setPermissions(path, mode));
    ASSERT_TRUE(writeFileAtomically(path, "second"));
    EXPECT_EQ(readAll(path), "second");
    EXPECT_EQ(QFile::permissions(path), mode);
    ASSERT_TRUE(writeFileAtomically(path, QByteArray()));
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_EQ(entries(dir.path()), QStringList { QStringLiteral("data.nbx") });
}

int noSpace()
{
    errno = ENOSPC;
    return -1;
}

// Whatever step fails, the old file stays byte for byte and nothing is left behind.
TEST(AtomicFile, AFailedStepLeavesTheOldFile)
{
    const AtomicFileOps saved = atomicFileOps();
    AtomicFileOps failing[4] = { saved, saved, saved, saved };
    failing[0].write = [](int, const void*, unsigned long) -> long { return noSpace(); };
    failing[1].write = [](int, const void*, unsigned long) -> long { return 0; }; // short write
    failing[2].fsync = [](int) { return noSpace(); };
    failing[3].rename = [](const char*, const char*) { return noSpace(); };
    for (int step = 0; step < 4; ++step) {
        SCOPED_TRACE(step);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("note"));
        ASSERT_TRUE(writeFileAtomically(path, "old content"));
        atomicFileOps() = failing[step];
        QString error;
        const bool ok = writeFileAtomically(path, "new content", &error);
        atomicFileOps() = saved;
        EXPECT_FALSE(ok);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(readAll(path), "old content");
        EXPECT_EQ(entries(dir.path()), QStringList { QStringLiteral("note") });
    }
}

TEST(AtomicFile, RefusesTargetsItCannotReplace)
{
    QTemporaryDir dir;
    QString error;
    const QString folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inside")));
    EXPECT_FALSE(writeFileAtomically(folder, "x", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/inside")).isDir());
    EXPECT_FALSE(writeFileAtomically(dir.filePath(QStringLiteral("missing/note")), "x", &error));
    EXPECT_FALSE(error.isEmpty());
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
        while (seen < ticks && child.waitForReadyRead(30000))
            seen += child.readAllStandardOutput().size();
        child.kill();
        child.waitForFinished();
        const QByteArray now = readAll(path);
        EXPECT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    }
    // Killed writers may leave a temporary file; never the note itself in pieces.
    for (const QString& name : entries(dir.path()))
        EXPECT_TRUE(name == u"data.nbx" || name.startsWith(u".data.nbx.")) << name.toStdString();
}

} // namespace
} // namespace penwick
