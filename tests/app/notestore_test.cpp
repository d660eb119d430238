// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/notestore.h"
#include "harness/programtest.h"
#include "platform/atomicfile.h"
#include "platform/richtextbox.h"
#include "platform/rtf/rtf.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <functional>

#include <cerrno>

namespace penwick::test {
namespace {

using NoteStoreTest = ProgramTest;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Makes the rename that puts a new "data.nbx" in place fail (the atomic writer's own failure
// paths are tested with it); other files are written as usual.
struct FailNoteWrites
{
    static inline int error = 0;
    explicit FailNoteWrites(int err)
    {
        saved = atomicFileOps();
        error = err;
        atomicFileOps().rename = [](const char* from, const char* to) {
            if (QByteArrayView(to).endsWith("/data.nbx")) {
                errno = error;
                return -1;
            }
            return ::rename(from, to);
        };
    }
    ~FailNoteWrites() { atomicFileOps() = saved; }
    AtomicFileOps saved;
};

QStringList asideFiles(const QString& folder)
{
    return QDir(folder).entryList({ QStringLiteral("data.nbx.unreadable-*") },
        QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
}

TEST_F(NoteStoreTest, SaveWritesTheNoteWithTheHourglassRestored)
{
    frmNotes& w = start();
    w.rtfNotes->setText(QStringLiteral("first"));
    w.mnuSave_Click();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    RichTextBox reader;
    ASSERT_TRUE(reader.LoadFile(env.notePath()));
    EXPECT_EQ(reader.Text(), u"first");
    // Saving again without changes rewrites the file all the same.
    QFile::remove(env.notePath());
    w.mnuSave_Click();
    EXPECT_TRUE(QFile::exists(env.notePath()));
}

// A failed save says so, names the file and the reason, and leaves the last save in place.
TEST_F(NoteStoreTest, AFailedSaveIsReportedAndKeepsThePreviousFile)
{
    frmNotes& w = start();
    w.rtfNotes->setText(QStringLiteral("saved version"));
    w.mnuSave_Click();
    const QByteArray before = readAll(env.notePath());
    w.rtfNotes->setText(QStringLiteral("unsaved edit"));
    FailNoteWrites failing(ENOSPC);
    env.prompter->expectMsgBox();
    w.mnuSave_Click();
    ASSERT_EQ(env.prompter->shown().size(), 1u);
    const auto& shown = env.prompter->shown().back();
    EXPECT_TRUE(shown.prompt.contains(QDir::toNativeSeparators(env.notePath())));
    EXPECT_TRUE(shown.prompt.contains(QLatin1String("No space left on device")));
    EXPECT_EQ(shown.icon, MsgIcon::Critical);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(readAll(env.notePath()), before);
}

// When the note cannot be written at shut-down, the text goes to a rescue file and the user
// is told where; a shut-down the system asked for shows nothing.
TEST_F(NoteStoreTest, ShutdownRescuesTheNoteWhenItsFileCannotBeWritten)
{
    for (const bool byUser : { true, false }) {
        TestEnvironment local;
        frmNotes w(local.environment());
        ASSERT_TRUE(w.Form_Load());
        w.rtfNotes->setText(QStringLiteral("precious words"));
        FailNoteWrites failing(EROFS);
        if (byUser)
            local.prompter->expectMsgBox();
        byUser ? (void)w.close() : w.endSession();
        const QStringList rescued
            = QDir(local.dataFolder()).entryList({ QStringLiteral("rescued-note-*.rtf") });
        ASSERT_EQ(rescued.size(), 1) << byUser;
        RichTextBox reader;
        ASSERT_TRUE(reader.LoadFile(QDir(local.dataFolder()).filePath(rescued.front())));
        EXPECT_EQ(reader.Text(), u"precious words");
        if (byUser) {
            ASSERT_EQ(local.prompter->shown().size(), 1u);
            EXPECT_TRUE(local.prompter->shown().front().prompt.contains(rescued.front()));
        } else {
            EXPECT_TRUE(local.prompter->shown().empty());
        }
        // The options were still written.
        EXPECT_EQ(local.stored("Toolbar"), u"True");
    }
}

// A note that cannot be read (bad bytes, a folder, too big) is moved aside as it is, and the user
// told once; the next shut-down writes a new note and leaves the old one alone.
TEST_F(NoteStoreTest, AnUnreadableNoteIsMovedAsideNotOverwritten)
{
    const auto bytes = [](QByteArray content) {
        return [content](const QString& path) { writeAll(path, content); };
    };
    const struct
    {
        const char* what;
        std::function<void(const QString&)> make;
    } cases[] = {
        { "binary",
            bytes(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + QByteArray(4000, '\xAB')) },
        { "empty", bytes(QByteArray()) },
        { "almost rich text", bytes("{\\rtx1 hello}") },
        { "plain text", bytes("just words\n") },
        { "folder", [](const QString& path) { QDir().mkpath(path + QStringLiteral("/inside")); } },
        { "huge",
            [](const QString& path) {
                QFile huge(path);
                ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
                ASSERT_TRUE(huge.resize(200LL * 1024 * 1024)); // sparse: no disk space used
            } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestEnvironment local;
        c.make(local.notePath());
        const bool folder = QFileInfo(local.notePath()).isDir();
        const qint64 size = QFileInfo(local.notePath()).size();
        const QByteArray content = size < 65536 ? readAll(local.notePath()) : QByteArray();
        local.prompter->expectMsgBox();
        {
            frmNotes w(local.environment());
            ASSERT_TRUE(w.Form_Load());
            EXPECT_TRUE(w.rtfNotes->Text().isEmpty());
            ASSERT_EQ(local.prompter->shown().size(), 1u);
            const QStringList aside = asideFiles(local.programFolder());
            ASSERT_EQ(aside.size(), 1);
            EXPECT_EQ(aside.front(), u"data.nbx.unreadable-20260314-150926");
            EXPECT_TRUE(local.prompter->shown().front().prompt.contains(aside.front()));
            const QFileInfo after(local.programFolder() + aside.front());
            EXPECT_EQ(after.isDir(), folder);
            EXPECT_EQ(after.size(), size);
            if (folder) {
                EXPECT_TRUE(QFileInfo::exists(after.filePath() + QStringLiteral("/inside")));
            } else if (size < 65536) {
                EXPECT_EQ(readAll(after.filePath()), content);
            }
            w.rtfNotes->setText(QStringLiteral("new note"));
            w.close();
        }
        EXPECT_TRUE(rtf::looksLikeRtf(readAll(local.notePath())));
        EXPECT_EQ(asideFiles(local.programFolder()).size(), 1);
        // The next start reads the new note without a word.
        frmNotes again(local.environment());
        ASSERT_TRUE(again.Form_Load());
        EXPECT_EQ(again.rtfNotes->Text(), u"new note");
        again.close();
    }
}

TEST(NoteFolder, AnUnwritableProgramFolderKeepsTheNoteInTheUsersDataFolder)
{
    const auto writable = [](const QString& f) { return f == u"/home/me/penwick/"; };
    EXPECT_EQ(chooseNoteFolder(QStringLiteral("/home/me/penwick/"),
                  QStringLiteral("/home/me/.local/share/Penwick"), writable),
        u"/home/me/penwick/");
    EXPECT_EQ(chooseNoteFolder(QStringLiteral("/usr/bin/"),
                  QStringLiteral("/home/me/.local/share/Penwick"), writable),
        u"/home/me/.local/share/Penwick/");
    EXPECT_TRUE(isWritableFolder(QDir::tempPath()));
    EXPECT_FALSE(isWritableFolder(QStringLiteral("/no/such/folder")));
}

} // namespace
} // namespace penwick::test
