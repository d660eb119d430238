// SPDX-License-Identifier: GPL-2.0-or-later
// The real program, several copies at once: one note, one running copy.
#include "harness/penwickprocess.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include <csignal>

namespace penwick::test {
namespace {

const QString binary = QStringLiteral(PENWICK_BINARY);

// Waits, without polling, until `done` holds or `process` ends, watching the program folder and
// the files named in `files` (which may be created and then written).
bool waitUntil(const ProgramFolder& folder, QProcess* process, const std::function<bool()>& done,
    const QStringList& files = {})
{
    process->waitForStarted(processGuardMs);
    QFileSystemWatcher watcher({ folder.path() });
    QEventLoop loop;
    const auto check = [&] {
        for (const QString& file : files)
            if (QFile::exists(file) && !watcher.files().contains(file))
                watcher.addPath(file);
        if (done())
            loop.quit();
    };
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, check);
    QObject::connect(&watcher, &QFileSystemWatcher::fileChanged, &loop, check);
    check();
    QObject::connect(process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(processGuardMs, &loop, &QEventLoop::quit); // a guard, not a wait
    if (!done())
        loop.exec();
    return done() && process->state() == QProcess::Running;
}

// Until `owner` holds the lock beside the note (the lock file names its process first).
bool waitForLock(const ProgramFolder& folder, QProcess* owner)
{
    const QString lock = folder.path() + QStringLiteral(".data.nbx.lock");
    return waitUntil(folder, owner,
        [&] {
            QFile file(lock);
            return owner->processId() > 0 && file.open(QIODevice::ReadOnly)
                && file.readLine().trimmed().toLongLong() == owner->processId();
        },
        { lock });
}

void terminate(QProcess* process)
{
    process->terminate(); // SIGTERM: the program closes the ordinary way
    ASSERT_TRUE(process->waitForFinished(processGuardMs));
    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process->exitCode(), 0);
}

// A second start ends at once and writes nothing; a lock left by a killed copy does not block.
// SIGTERM, SIGHUP and SIGINT run the ordinary shut-down: note and options written, lock gone.
TEST(SingleCopy, ASecondStartEndsAtOnceAndAKilledCopysLockDoesNotBlock)
{
    ProgramFolder folder(binary);
    const QString lock = folder.path() + QStringLiteral(".data.nbx.lock");
    QObject owner;
    QProcess* first = folder.start(&owner);
    ASSERT_TRUE(waitForLock(folder, first));
    QProcess* second = folder.start(&owner);
    ASSERT_TRUE(second->waitForFinished(processGuardMs));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(folder.settingsFile()) || QFileInfo::exists(folder.notePath()));
    EXPECT_EQ(first->state(), QProcess::Running);
    first->kill();
    ASSERT_TRUE(first->waitForFinished(processGuardMs) && QFileInfo::exists(lock));
    for (const int signal : { SIGTERM, SIGHUP, SIGINT }) {
        SCOPED_TRACE(signal);
        QFile::remove(folder.notePath());
        QFile::remove(folder.settingsFile());
        QProcess* next = folder.start(&owner);
        ASSERT_TRUE(waitForLock(folder, next));
        ::kill(pid_t(next->processId()), signal);
        ASSERT_TRUE(next->waitForFinished(processGuardMs));
        EXPECT_TRUE(next->exitStatus() == QProcess::NormalExit && next->exitCode() == 0);
        EXPECT_TRUE(
            QFileInfo::exists(folder.notePath()) && QFileInfo::exists(folder.settingsFile()));
        EXPECT_FALSE(QFileInfo::exists(lock));
    }
}

// Told to end while a start-up message waits (here: the note could not be read), the program
// shuts down as usual instead of running on without a window.
TEST(SingleCopy, ASignalDuringAStartupMessageEndsTheProgram)
{
    ProgramFolder folder(binary);
    QFile note(folder.notePath());
    ASSERT_TRUE(note.open(QIODevice::WriteOnly) && note.write("not a note") > 0);
    note.close();
    QObject owner;
    QProcess* copy = folder.start(&owner);
    // The note is moved aside just before the message is shown.
    ASSERT_TRUE(waitUntil(folder, copy, [&] { return !QFile::exists(folder.notePath()); }));
    terminate(copy);
    EXPECT_TRUE(QFileInfo::exists(folder.notePath()));
}

TEST(SingleCopy, ExactlyOneOfTwentySimultaneousStartsSurvives)
{
    ProgramFolder folder(binary);
    QObject owner;
    QEventLoop loop;
    int finished = 0; // all but one end on their own: wait for nineteen to finish
    std::vector<QProcess*> copies;
    for (int i = 0; i < 20; ++i) {
        copies.push_back(folder.start(&owner));
        QObject::connect(copies.back(), &QProcess::finished, &loop, [&] {
            if (++finished == 19)
                loop.quit();
        });
    }
    // A guard, not a wait: twenty copies start on a machine with few cores.
    QTimer::singleShot(2 * processGuardMs, &loop, &QEventLoop::quit);
    loop.exec();
    std::vector<QProcess*> running;
    for (QProcess* p : copies) {
        if (p->state() == QProcess::Running)
            running.push_back(p);
        else
            EXPECT_EQ(p->exitCode(), 0);
    }
    ASSERT_EQ(running.size(), 1u);
    terminate(running.front());
}

} // namespace
} // namespace penwick::test
