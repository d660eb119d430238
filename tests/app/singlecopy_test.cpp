// SPDX-License-Identifier: GPL-2.0-or-later
// The real program, several copies at once: one note, one running copy.
#include "app/notestore.h"
#include "harness/penwickprocess.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <utility>
#include <vector>

namespace penwick::test {
namespace {

const QString binary = QStringLiteral(PENWICK_BINARY);

// Starts a copy and waits, without polling, until it holds the lock beside the note (the lock file
// names its process first) and `also` holds, watching the program folder and the lock file (which
// is created and then written).
QProcess* startOwner(const ProgramFolder& folder, QObject* owner, const std::function<bool()>& also)
{
    QProcess* copy = folder.start(owner);
    copy->waitForStarted(processGuardMs);
    const QString lock = folder.path() + QStringLiteral(".data.nbx.lock");
    const auto done = [&] {
        QFile file(lock);
        return file.open(QIODevice::ReadOnly)
            && file.readLine().trimmed().toLongLong() == copy->processId() && also();
    };
    QFileSystemWatcher watcher({ folder.path() });
    QEventLoop loop;
    const auto check = [&] {
        if (QFile::exists(lock) && !watcher.files().contains(lock))
            watcher.addPath(lock);
        if (done())
            loop.quit();
    };
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, check);
    QObject::connect(&watcher, &QFileSystemWatcher::fileChanged, &loop, check);
    check();
    QObject::connect(copy, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(processGuardMs, &loop, &QEventLoop::quit); // a guard, not a wait
    if (!done())
        loop.exec();
    EXPECT_TRUE(done() && copy->state() == QProcess::Running);
    return copy;
}

// Of copies started together one runs on and the others end at once, writing nothing; a lock left
// by a killed copy does not block. SIGTERM, SIGHUP and SIGINT run the ordinary shut-down: note and
// options written, lock gone; so does SIGTERM while a start-up message waits (here: the note could
// not be read, and is moved aside just before the message is shown), rather than running on without
// a window.
TEST(SingleCopy, ASecondStartEndsAtOnceAndAKilledCopysLockDoesNotBlock)
{
    ProgramFolder folder(binary);
    const QString lock = folder.path() + QStringLiteral(".data.nbx.lock");
    QObject owner;
    // Ten starts at once: nine end by themselves (a guard, not a wait, ends the loop otherwise).
    std::vector<QProcess*> copies;
    QEventLoop loop;
    int ended = 0;
    for (int i = 0; i < 10; ++i) {
        copies.push_back(folder.start(&owner));
        QObject::connect(copies.back(), &QProcess::finished, &loop, [&ended, &loop] {
            if (++ended == 9)
                loop.quit();
        });
    }
    QTimer::singleShot(2 * processGuardMs, &loop, &QEventLoop::quit);
    loop.exec();
    QProcess* first = nullptr;
    for (QProcess* copy : copies) {
        const bool running = copy->state() == QProcess::Running;
        EXPECT_TRUE(running ? !std::exchange(first, copy) : copy->exitCode() == 0);
    }
    ASSERT_TRUE(first);
    EXPECT_FALSE(QFileInfo::exists(folder.settingsFile()) || QFileInfo::exists(folder.notePath()));
    first->kill();
    ASSERT_TRUE(first->waitForFinished(processGuardMs) && QFileInfo::exists(lock));
    for (const int signal : { SIGTERM, SIGHUP, SIGINT, 0 }) {
        SCOPED_TRACE(signal);
        QFile::remove(folder.notePath());
        QFile::remove(folder.settingsFile());
        ASSERT_TRUE(signal || writeNote(folder.notePath(), "not a note"));
        QProcess* next = startOwner(
            folder, &owner, [&] { return !QFile::exists(folder.notePath()) || signal; });
        ::kill(pid_t(next->processId()), signal ? signal : SIGTERM);
        ASSERT_TRUE(next->waitForFinished(processGuardMs));
        EXPECT_TRUE(next->exitStatus() == QProcess::NormalExit && next->exitCode() == 0);
        EXPECT_TRUE(QFileInfo::exists(folder.notePath()) && QFileInfo::exists(folder.settingsFile())
            && !QFileInfo::exists(lock));
    }
}

} // namespace
} // namespace penwick::test
