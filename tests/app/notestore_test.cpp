// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/noteprefetch.h"
#include "app/notestore.h"
#include "harness/programtest.h"
#include "platform/atomicfile.h"
#include "platform/richtextbox.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QThread>

#include <cerrno>
#include <initializer_list>
#include <sys/stat.h>
#include <utility>

namespace penwick::test {
namespace {

using NoteStoreTest = ProgramTest;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Makes the rename that puts a new "data.nbx" in place fail (the atomic writer's own failure
// paths are tested with it); other files are written as usual.
struct FailNoteWrites
{
    explicit FailNoteWrites(int err)
        : saved(atomicFileOps())
    {
        error = err;
        atomicFileOps().rename = [](const char* from, const char* to) {
            if (!QByteArrayView(to).endsWith("/data.nbx"))
                return ::rename(from, to);
            errno = error;
            return -1;
        };
    }
    ~FailNoteWrites() { atomicFileOps() = saved; }
    AtomicFileOps saved;
    static inline int error = 0;
};

QStringList asideFiles(const QString& folder)
{
    return QDir(folder).entryList({ QStringLiteral("data.nbx.unreadable-*") },
        QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
}

// Save writes the note, even unchanged. A failed save says so, names the file and the reason,
// and leaves the last save in place. Either way the hourglass is taken down.
TEST_F(NoteStoreTest, SaveWritesTheNoteOrReportsAndKeepsThePreviousFile)
{
    frmNotes& w = start();
    w.rtfNotes->setText(QStringLiteral("saved version"));
    w.mnuSave_Click();
    w.finishSaving();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    QFile::remove(env.notePath());
    w.mnuSave_Click();
    w.finishSaving();
    RichTextBox reader;
    ASSERT_TRUE(reader.LoadFile(env.notePath()));
    EXPECT_EQ(reader.Text(), u"saved version");
    const QByteArray before = readAll(env.notePath());
    w.rtfNotes->setText(QStringLiteral("unsaved edit"));
    FailNoteWrites failing(ENOSPC);
    env.prompter->expectMsgBox();
    w.mnuSave_Click();
    w.finishSaving();
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
        ASSERT_EQ(local.prompter->shown().size(), byUser ? 1u : 0u);
        EXPECT_TRUE(!byUser || local.prompter->shown().front().prompt.contains(rescued.front()));
        // The options were still written.
        EXPECT_EQ(local.stored("Toolbar"), u"True");
    }
}

// A note that cannot be read (bad bytes, a folder, too big) is moved aside as it is, and the user
// told once; the next shut-down writes a new note and leaves the old one alone.
TEST_F(NoteStoreTest, AnUnreadableNoteIsMovedAsideNotOverwritten)
{
    enum Kind { File, Folder, Huge };
    const std::tuple<const char*, Kind, QByteArray> cases[]
        = { { "binary", File,
                QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + QByteArray(4000, '\xAB') },
              { "almost rich text", File, "{\\rtx1 hello}" },
              { "plain text", File, "just words\n" }, { "folder", Folder, {} },
              { "huge", Huge, {} } };
    for (const auto& [what, kind, content] : cases) {
        SCOPED_TRACE(what);
        TestEnvironment local;
        QFile note(local.notePath());
        if (kind == Folder) {
            ASSERT_TRUE(QDir().mkpath(local.notePath() + QStringLiteral("/inside")));
        } else {
            ASSERT_TRUE(note.open(QIODevice::WriteOnly) && note.write(content) == content.size());
            if (kind == Huge) { // sparse: no disk space used
                ASSERT_TRUE(note.resize(200LL * 1024 * 1024));
            }
            note.close();
        }
        const qint64 size = QFileInfo(local.notePath()).size();
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
            EXPECT_EQ(after.isDir(), kind == Folder);
            EXPECT_EQ(after.size(), size);
            if (kind == Folder) {
                EXPECT_TRUE(QFileInfo::exists(after.filePath() + QStringLiteral("/inside")));
            } else if (kind == File) {
                EXPECT_EQ(readAll(after.filePath()), content);
            }
            w.rtfNotes->setText(QStringLiteral("new note"));
            w.close();
        }
        EXPECT_EQ(asideFiles(local.programFolder()).size(), 1);
        // The next start reads the new note without a word.
        frmNotes again(local.environment());
        ASSERT_TRUE(again.Form_Load());
        EXPECT_EQ(again.rtfNotes->Text(), u"new note");
        again.close();
    }
}

// New folders on the way to the data folder are private to the user; existing ones are left as
// they are, and a file in the way is an error.
TEST(NoteFolder, MissingFoldersAreMadePrivate)
{
    QTemporaryDir root;
    const QString top = root.filePath(QStringLiteral("share"));
    ASSERT_TRUE(QDir().mkpath(top));
    ASSERT_TRUE(QFile::setPermissions(top, QFile::permissions(top) | QFile::WriteOther));
    const QFileDevice::Permissions before = QFile::permissions(top);
    const QString path = top + QStringLiteral("/a/b/Penwick/data.nbx");
    QString error;
    ASSERT_TRUE(writeNote(path, "{\\rtf1 x}", &error)) << error.toStdString();
    EXPECT_EQ(QFile::permissions(top), before);
    for (const char* folder : { "/a", "/a/b", "/a/b/Penwick" }) {
        struct stat st = {};
        ASSERT_EQ(::stat(QFile::encodeName(top + QLatin1String(folder)).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u) << folder;
    }
    EXPECT_TRUE(makePrivateFolder(top + QStringLiteral("/a/b")));
    EXPECT_FALSE(makePrivateFolder(path));
    EXPECT_FALSE(writeNote(path + QStringLiteral("/under/a/file"), "x", &error));
    EXPECT_EQ(error, u"Not a directory");
}

// With the program folder read-only, the first save makes the data folder and the note comes
// back at the next start. A note already beside the program is loaded, kept from then on in the
// data folder (whose note then wins), and the user is told once; the original is never written.
TEST(NoteFolder, AReadOnlyProgramFolderLosesNothing)
{
    for (const bool original : { false, true }) {
        SCOPED_TRACE(original);
        TestEnvironment local;
        Environment env = local.environment();
        env.isWritable = [&](const QString& f) { return f != local.programFolder(); };
        if (original) {
            RichTextBox box;
            box.setText(QStringLiteral("original"));
            ASSERT_TRUE(box.SaveFile(local.notePath()));
            local.prompter->expectMsgBox();
        }
        const QByteArray originalBytes = readAll(local.notePath());
        const QString kept = local.dataFolder() + QStringLiteral("/data.nbx");
        {
            frmNotes w(env);
            ASSERT_TRUE(w.Form_Load());
            EXPECT_EQ(w.notePath(), kept);
            EXPECT_EQ(w.rtfNotes->Text(), original ? u"original" : u"");
            if (original) {
                const QString told = local.prompter->shown().at(0).prompt;
                EXPECT_TRUE(told.contains(kept) && told.contains(local.notePath()))
                    << told.toStdString();
            }
            w.rtfNotes->setText(QStringLiteral("edited"));
            w.mnuSave_Click(); // an unscripted failure message would fail the test
            w.finishSaving();
            w.close();
        }
        frmNotes again(env);
        ASSERT_TRUE(again.Form_Load());
        EXPECT_EQ(again.rtfNotes->Text(), u"edited");
        EXPECT_EQ(local.prompter->shown().size(), original ? 1u : 0u);
        EXPECT_EQ(readAll(local.notePath()), originalBytes);
        EXPECT_EQ(QFileInfo::exists(local.notePath()), original);
        again.close();
    }
    EXPECT_TRUE(isWritableFolder(QDir::tempPath()));
    EXPECT_FALSE(isWritableFolder(QStringLiteral("/no/such/folder")));
}

// A program in a bin folder is installed: its folder is no place for one user's note, even when
// writable (as /usr/bin is for root, ~/.local/bin for its user).
TEST(NoteFolder, AnInstalledProgramKeepsTheNotePerUser)
{
    const auto writable = [](const QString&) { return true; };
    const QString data = QStringLiteral("/home/u/.local/share/Penwick");
    for (const auto& [folder, kept] : std::initializer_list<std::pair<const char*, const char*>> {
             { "/usr/bin/", "/home/u/.local/share/Penwick/" },
             { "/home/u/.local/bin/", "/home/u/.local/share/Penwick/" },
             { "/home/u/Penwick/", "/home/u/Penwick/" },
             { "/home/u/src/penwick/build/dev/", "/home/u/src/penwick/build/dev/" },
             { "/home/u/bin.old/", "/home/u/bin.old/" } })
        EXPECT_EQ(locateNote(QLatin1String(folder), data, writable).folder, QLatin1String(kept))
            << folder;
}

// A note file of no bytes, or a link to a note not there yet, is an empty note: nothing moved
// aside, nothing said. The note is then saved where the link points.
TEST(NoteFile, AnEmptyFileOrADanglingLinkIsAnEmptyNote)
{
    for (const bool link : { false, true }) {
        TestEnvironment local;
        QFile note(local.notePath());
        ASSERT_TRUE(link ? QFile::link(
                        local.programFolder() + QStringLiteral("synced.rtf"), local.notePath())
                         : note.open(QIODevice::WriteOnly));
        note.close();
        frmNotes w(local.environment());
        ASSERT_TRUE(w.Form_Load());
        EXPECT_TRUE(w.rtfNotes->Text().isEmpty());
        EXPECT_TRUE(asideFiles(local.programFolder()).isEmpty()) << link;
        w.close();
        EXPECT_EQ(QFileInfo(local.notePath()).isSymLink(), link);
        EXPECT_TRUE(readAll(local.notePath()).startsWith("{\\rtf1")) << link;
    }
}

// The copy that owns the note clears the temporaries of saves that were killed half way; a copy
// refused at start touches nothing.
TEST_F(NoteStoreTest, TheOwnerRemovesTemporariesOfKilledSaves)
{
    const QString leftover = env.programFolder() + QStringLiteral(".data.nbx.Ab12Cd");
    const auto leave = [&] {
        QFile f(leftover);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("half a note") > 0);
    };
    leave();
    start();
    EXPECT_FALSE(QFileInfo::exists(leftover));
    leave();
    frmNotes second(env.environment());
    EXPECT_FALSE(second.Form_Load());
    EXPECT_TRUE(QFileInfo::exists(leftover));
}

// The note read ahead on a second thread is taken only while the file is the one it read; else
// loading goes the ordinary way, so a note saved in between is not lost.
TEST(NoteReadAhead, IsTakenOnlyWhileTheFileIsTheOneItRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.nbx"));
    const auto write = [&](const QString& text) {
        RichTextBox box;
        box.setText(text);
        ASSERT_TRUE(box.SaveFile(path));
    };
    write(QStringLiteral("first"));
    {
        NotePrefetch ahead(path);
        ahead.wait();
        RichTextBox editor;
        EXPECT_EQ(
            loadNote(editor, path, QDateTime::currentDateTime(), &ahead).outcome, NoteLoad::Loaded);
        EXPECT_EQ(editor.Text(), QStringLiteral("first"));
        EXPECT_EQ(editor.document()->thread(), QThread::currentThread());
    }
    {
        NotePrefetch ahead(path);
        ahead.wait();
        write(QStringLiteral("second")); // saved by the copy that owned the note until now
        RichTextBox editor;
        EXPECT_EQ(
            loadNote(editor, path, QDateTime::currentDateTime(), &ahead).outcome, NoteLoad::Loaded);
        EXPECT_EQ(editor.Text(), QStringLiteral("second"));
        EXPECT_FALSE(ahead.take());
    }
    QFile::remove(path);
    NotePrefetch missing(path);
    EXPECT_FALSE(missing.take());
}

// Names already taken get "-2"; a note whose name cannot take the suffix stays where it is, and a
// rescue folder that cannot be made is named in the error.
TEST(NoteFile, AsideAndRescueNamesAreFree)
{
    QTemporaryDir dir;
    const QDateTime now(QDate(2026, 3, 14), QTime(15, 9, 26));
    const auto junk = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write("junk") == 4;
    };
    const QString note = dir.filePath(QStringLiteral("data.nbx"));
    ASSERT_TRUE(junk(note) && junk(note + QStringLiteral(".unreadable-20260314-150926")));
    RichTextBox editor;
    const NoteLoad load = loadNote(editor, note, now);
    EXPECT_EQ(load.outcome, NoteLoad::MovedAside);
    EXPECT_EQ(load.movedTo, note + QStringLiteral(".unreadable-20260314-150926-2"));
    const QString longName = dir.filePath(QString(240, u'n'));
    ASSERT_TRUE(junk(longName));
    EXPECT_EQ(loadNote(editor, longName, now).outcome, NoteLoad::Unreadable);
    EXPECT_EQ(readAll(longName), "junk");

    editor.setText(QStringLiteral("words"));
    const QString rescue = dir.filePath(QStringLiteral("rescue"));
    EXPECT_EQ(rescueNote(editor, rescue, now),
        rescue + QStringLiteral("/rescued-note-20260314-150926.rtf"));
    EXPECT_EQ(rescueNote(editor, rescue, now),
        rescue + QStringLiteral("/rescued-note-20260314-150926-2.rtf"));
    QString error;
    EXPECT_EQ(rescueNote(editor, longName + QStringLiteral("/sub"), now, &error), QString());
    EXPECT_EQ(error,
        QStringLiteral("The folder %1/sub could not be created (Not a directory).").arg(longName));
}

} // namespace
} // namespace penwick::test
