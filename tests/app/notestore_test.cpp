// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/noteprefetch.h"
#include "app/notestore.h"
#include "harness/programtest.h"
#include "platform/atomicfile.h"
#include "platform/richtextbox.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QThread>

#include <cerrno>
#include <sys/stat.h>

namespace penwick::test {
namespace {

using NoteStoreTest = ProgramTest;

QStringList asideFiles(const QString& folder)
{
    return QDir(folder).entryList({ QStringLiteral("data.nbx.unreadable-*") },
        QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
}

// Save writes the note, even unchanged. A failed save says so, names the file and the reason,
// and leaves the last save in place. Either way the hourglass is taken down. The copy that owns
// the note clears the temporaries of saves that were killed half way; a copy refused at start
// touches nothing.
TEST_F(NoteStoreTest, SaveWritesTheNoteOrReportsAndKeepsThePreviousFile)
{
    const QString leftover = env.programFolder() + QStringLiteral(".data.nbx.Ab12Cd");
    ASSERT_TRUE(writeNote(leftover, "half a note"));
    frmNotes& w = start();
    EXPECT_FALSE(QFileInfo::exists(leftover));
    ASSERT_TRUE(writeNote(leftover, "half a note"));
    EXPECT_FALSE(frmNotes(env.environment()).Form_Load());
    EXPECT_TRUE(QFileInfo::exists(leftover));
    w.rtfNotes->setText(QStringLiteral("saved version"));
    w.mnuSave_Click();
    w.finishSaving();
    QFile::remove(env.notePath());
    w.mnuSave_Click();
    w.finishSaving();
    EXPECT_EQ(noteText(env.notePath()), u"saved version");
    const QByteArray before = readFile(env.notePath());
    w.rtfNotes->setText(QStringLiteral("unsaved edit"));
    FailNoteWrites failing(ENOSPC);
    env.prompter->expectMsgBox();
    w.mnuSave_Click();
    w.finishSaving();
    const auto& shown = env.prompter->shown().back();
    EXPECT_TRUE(shown.prompt.contains(QDir::toNativeSeparators(env.notePath()))
        && shown.prompt.contains(QLatin1String("No space left on device"))
        && shown.icon == MsgIcon::Critical && !QGuiApplication::overrideCursor());
    EXPECT_EQ(readFile(env.notePath()), before);

    // When the note cannot be written at shut-down, the text goes to a rescue file and the user
    // is told where; a shut-down the system asked for shows nothing. The options are still
    // written.
    env.prompter->expectMsgBox();
    closeWindow();
    frmNotes& again = restartWith();
    again.rtfNotes->setText(QStringLiteral("precious words"));
    again.endSession();
    const QDir data(env.dataFolder());
    const QStringList rescued = data.entryList({ QStringLiteral("rescued-note-*.rtf") });
    ASSERT_EQ(rescued.size(), 2); // "...-2.rtf" sorts first
    EXPECT_EQ(noteText(data.filePath(rescued[0])) + u'|' + noteText(data.filePath(rescued[1])),
        u"precious words|unsaved edit");
    EXPECT_TRUE(env.prompter->shown().back().prompt.contains(rescued[1])
        && env.stored("Toolbar") == u"True");
}

// A note that cannot be read (bad bytes, a folder, too big) is moved aside as it is, and the user
// told once; the next shut-down writes a new note and leaves the old one alone. A note file of no
// bytes, or a link to a note not there yet, is an empty note: nothing moved aside, nothing said;
// the note is then saved where the link points.
TEST(NoteFile, AnUnreadableNoteIsMovedAsideNotOverwritten)
{
    const std::pair<const char*, QByteArray> cases[] = {
        { "binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + QByteArray(4000, '\xAB') },
        { "almost rich text", "{\\rtx1 hello}" }, { "folder", {} }, { "huge", {} }, { "empty", {} },
        { "link", {} }
    };
    for (const auto& [what, content] : cases) {
        SCOPED_TRACE(what);
        TestEnvironment local;
        const std::string_view kind(what);
        const bool folder = kind == "folder", link = kind == "link";
        const bool bad = !link && kind != "empty";
        if (folder || link) {
            ASSERT_TRUE(folder
                    ? QDir().mkpath(local.notePath() + QStringLiteral("/inside"))
                    : QFile::link(local.programFolder() + "synced.rtf", local.notePath()));
        } else {
            ASSERT_TRUE(writeNote(local.notePath(), content));
            // "huge": sparse, no disk space used
            ASSERT_TRUE(kind != "huge" || QFile::resize(local.notePath(), 200LL << 20));
        }
        const qint64 size = QFileInfo(local.notePath()).size();
        if (bad)
            local.prompter->expectMsgBox();
        {
            frmNotes w(local.environment());
            ASSERT_TRUE(w.Form_Load());
            EXPECT_TRUE(w.rtfNotes->Text().isEmpty());
            const QString aside = QStringLiteral("data.nbx.unreadable-20260314-150926");
            ASSERT_EQ(
                asideFiles(local.programFolder()), bad ? QStringList { aside } : QStringList());
            const QFileInfo after(local.programFolder() + aside);
            EXPECT_TRUE(!bad
                || (local.prompter->shown().front().prompt.contains(aside)
                    && after.isDir() == folder && after.size() == size
                    && (folder ? QFileInfo::exists(after.filePath() + QStringLiteral("/inside"))
                               : readFile(after.filePath()).startsWith(content))));
            w.rtfNotes->setText(QStringLiteral("new note"));
            w.close();
        }
        EXPECT_EQ(asideFiles(local.programFolder()).size(), bad ? 1 : 0);
        EXPECT_TRUE(noteText(local.notePath()) == u"new note"
            && QFileInfo(local.notePath()).isSymLink() == link);
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
    QString modes;
    for (const char* folder : { "/a", "/a/b", "/a/b/Penwick" }) {
        struct stat st = {};
        ::stat(QFile::encodeName(top + QLatin1String(folder)).constData(), &st);
        modes += QString::number(st.st_mode & 07777, 8) + u' ';
    }
    EXPECT_EQ(modes, u"700 700 700 ");
    EXPECT_TRUE(makePrivateFolder(top + QStringLiteral("/a/b")) && !makePrivateFolder(path));
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
            writeNote(local.notePath(), "{\\rtf1 original}");
            local.prompter->expectMsgBox();
        }
        const QByteArray originalBytes = readFile(local.notePath());
        const QString kept = local.dataFolder() + QStringLiteral("/data.nbx");
        {
            frmNotes w(env);
            ASSERT_TRUE(w.Form_Load());
            EXPECT_EQ(
                w.notePath() + u'|' + w.rtfNotes->Text(), kept + (original ? "|original" : "|"));
            EXPECT_TRUE(!original
                || (local.prompter->shown().at(0).prompt.contains(kept)
                    && local.prompter->shown().at(0).prompt.contains(local.notePath())));
            w.rtfNotes->setText(QStringLiteral("edited"));
            w.mnuSave_Click(); // an unscripted failure message would fail the test
            w.finishSaving();
            w.close();
        }
        frmNotes again(env);
        ASSERT_TRUE(again.Form_Load());
        EXPECT_TRUE(again.rtfNotes->Text() == u"edited"
            && local.prompter->shown().size() == (original ? 1u : 0u));
        EXPECT_TRUE(readFile(local.notePath()) == originalBytes
            && QFileInfo::exists(local.notePath()) == original);
        again.close();
    }
    EXPECT_TRUE(isWritableFolder(QDir::tempPath()) && !isWritableFolder("/no/such/folder"));
}

// A program in a bin folder is installed: its folder is no place for one user's note, even when
// writable (as /usr/bin is for root, ~/.local/bin for its user).
TEST(NoteFolder, AnInstalledProgramKeepsTheNotePerUser)
{
    const QString data = QStringLiteral("/home/u/.local/share/Penwick");
    QStringList folders;
    for (const char* folder : { "/usr/bin/", "/home/u/.local/bin/", "/home/u/Penwick/",
             "/home/u/src/penwick/build/dev/", "/home/u/bin.old/" })
        folders << locateNote(QLatin1String(folder), data, [](const QString&) {
            return true;
        }).folder;
    EXPECT_EQ(folders.join(u' '),
        u"/home/u/.local/share/Penwick/ /home/u/.local/share/Penwick/ /home/u/Penwick/ "
        "/home/u/src/penwick/build/dev/ /home/u/bin.old/");
}

// The note read ahead on a second thread is taken only while the file is the one it read; else
// loading goes the ordinary way, so a note saved in between is not lost.
TEST(NoteReadAhead, IsTakenOnlyWhileTheFileIsTheOneItRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.nbx"));
    ASSERT_TRUE(writeNote(path, "{\\rtf1 first}"));
    for (const char* savedInBetween : { "", "second" }) {
        NotePrefetch ahead(path);
        ahead.wait();
        if (*savedInBetween) // by the copy that owned the note until now
            writeNote(path, QByteArray("{\\rtf1 ") + savedInBetween + '}');
        RichTextBox editor;
        EXPECT_EQ(
            loadNote(editor, path, QDateTime::currentDateTime(), &ahead).outcome, NoteLoad::Loaded);
        EXPECT_EQ(editor.Text(), *savedInBetween ? savedInBetween : "first");
        EXPECT_TRUE(editor.document()->thread() == QThread::currentThread() && !ahead.take());
    }
    QFile::remove(path);
    EXPECT_FALSE(NotePrefetch(path).take());
}

// Names already taken get "-2"; a note whose name cannot take the suffix stays where it is, and a
// rescue folder that cannot be made is named in the error.
TEST(NoteFile, AsideAndRescueNamesAreFree)
{
    QTemporaryDir dir;
    const QDateTime now(QDate(2026, 3, 14), QTime(15, 9, 26));
    const QString note = dir.filePath(QStringLiteral("data.nbx"));
    ASSERT_TRUE(writeNote(note, "junk") && writeNote(note + ".unreadable-20260314-150926", "junk"));
    RichTextBox editor;
    const NoteLoad load = loadNote(editor, note, now);
    EXPECT_TRUE(load.outcome == NoteLoad::MovedAside
        && load.movedTo == note + QStringLiteral(".unreadable-20260314-150926-2"));
    const QString longName = dir.filePath(QString(240, u'n'));
    ASSERT_TRUE(writeNote(longName, "junk"));
    EXPECT_TRUE(loadNote(editor, longName, now).outcome == NoteLoad::Unreadable
        && readFile(longName) == "junk");

    editor.setText(QStringLiteral("words"));
    const QString rescue = dir.filePath(QStringLiteral("rescue"));
    const QString first = rescueNote(editor, rescue, now);
    EXPECT_EQ(first + u' ' + rescueNote(editor, rescue, now),
        QStringLiteral("%1/rescued-note-20260314-150926.rtf %1/rescued-note-20260314-150926-2.rtf")
            .arg(rescue));
    QString error;
    EXPECT_EQ(rescueNote(editor, longName + QStringLiteral("/sub"), now, &error), QString());
    EXPECT_EQ(error,
        QStringLiteral("The folder %1/sub could not be created (Not a directory).").arg(longName));
}

} // namespace
} // namespace penwick::test
