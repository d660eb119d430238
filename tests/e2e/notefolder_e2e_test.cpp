// SPDX-License-Identifier: GPL-2.0-or-later
// The real program installed in a folder it cannot write: the note is kept per user, nothing is
// lost, and a note left beside the program is carried over.
#include "e2e/desktop.h"
#include "harness/qtprinters.h"
#include "platform/richtextbox.h"

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace penwick::test {
namespace {

// The note beside the program before the first start; empty: none.
class ReadOnlyProgramFolder : public ProgramOnDesktop, public ::testing::WithParamInterface<QString>
{
protected:
    // Runs a shell command line, the program folder for %1; true when it succeeds.
    bool shell(const char* command) const
    {
        return std::system(qPrintable(QString::fromLatin1(command).arg(folder.path()))) == 0;
    }
    // Makes the program folder read-only for everyone, root included, by mounting it read-only
    // over itself; false if it is still writable.
    bool makeReadOnly()
    {
        mounted = ::geteuid() == 0 && shell("mount --bind '%1' '%1'");
        return mounted && shell("mount -o remount,ro,bind '%1'")
            && ::access(QFile::encodeName(folder.path()).constData(), W_OK) != 0;
    }
    void TearDown() override
    {
        ProgramOnDesktop::TearDown();
        if (mounted)
            shell("umount '%1' || umount --lazy '%1'");
    }
    // Types at the end of the note, then closes the program through its window.
    void appendAndClose(const QString& text)
    {
        const QString id = activate();
        ASSERT_FALSE(id.isEmpty());
        xdotool({ "key", "--clearmodifiers", "ctrl+End", "type", "--delay", "1", "--window", id,
            text });
        closeThroughWindow(id);
    }

    bool mounted = false;
};

// Run twice: the note is kept in the user's own folder (made private) and comes back; a note
// beside the program is carried over and the user told once (the original cannot change: the
// folder is mounted read-only).
TEST_P(ReadOnlyProgramFolder, KeepsTheNotePerUser)
{
    const QString original = GetParam();
    if (!original.isEmpty()) {
        RichTextBox note;
        note.setText(original);
        ASSERT_TRUE(note.SaveFile(folder.notePath()));
    }
    if (!makeReadOnly())
        GTEST_SKIP() << "cannot make the program folder read-only (a bind mount needs root)";
    const QString userFolder = QDir::cleanPath(folder.path() + QStringLiteral("../data/Penwick"));
    const QString kept = userFolder + QStringLiteral("/data.nbx");

    launch();
    if (!original.isEmpty())
        xdotool({ "windowactivate", "--sync", windowOf(*process, "^Penwick$"), "key", "Return" });
    appendAndClose(QStringLiteral(", typed"));
    EXPECT_EQ(noteText(kept), original + QStringLiteral(", typed"));
    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(userFolder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_EQ(QDir(userFolder).entryList(QDir::Files), QStringList { "data.nbx" });

    // Told once: the second start opens straight into the note (a message would take the keys).
    launch();
    appendAndClose(QStringLiteral(" again"));
    EXPECT_EQ(noteText(kept), original + QStringLiteral(", typed again"));
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, ReadOnlyProgramFolder,
    testing::Values(QString(), QStringLiteral("from the program folder")));

} // namespace
} // namespace penwick::test
