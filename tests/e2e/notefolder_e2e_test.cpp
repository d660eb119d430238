// SPDX-License-Identifier: GPL-2.0-or-later
// The real program installed in a folder it cannot write: the note is kept per user, nothing is
// lost, and a note left beside the program is carried over.
#include "e2e/desktop.h"
#include "harness/penwickprocess.h"
#include "harness/qtprinters.h"
#include "platform/richtextbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace penwick::test {
namespace {

const QString binary = QStringLiteral(PENWICK_BINARY);

// Runs a shell command line; its output when it fails.
std::optional<QString> shell(const QString& command, const QString& folder)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("sh"), { "-c", command, "sh", folder });
    if (p.waitForFinished(processGuardMs) && p.exitStatus() == QProcess::NormalExit
        && p.exitCode() == 0)
        return std::nullopt;
    return QString::fromLocal8Bit(p.readAll()).trimmed();
}

// A folder made read-only for everyone, root included, by mounting it read-only over itself;
// unmounted again whatever happens (detached if a program still runs from it).
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString& folder)
        : m_folder(QDir::cleanPath(folder))
    {
        if (::geteuid() != 0) {
            m_why = QStringLiteral("making a folder read-only for the program needs root (mount)");
            return;
        }
        m_mounted = !shell(QStringLiteral("mount --bind \"$1\" \"$1\""), m_folder);
        const auto failed = shell(QStringLiteral("mount -o remount,ro,bind \"$1\""), m_folder);
        if (::access(QFile::encodeName(m_folder).constData(), W_OK) == 0)
            m_why = QStringLiteral("cannot mount the folder read-only: ") + failed.value_or("");
    }
    ~ReadOnlyFolder()
    {
        if (m_mounted)
            shell(QStringLiteral("umount \"$1\" || umount --lazy \"$1\""), m_folder);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    QString why() const { return m_why; }

private:
    QString m_folder;
    QString m_why;
    bool m_mounted = false;
};

class NoteFolderEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!Desktop::instance().ready())
            GTEST_SKIP() << Desktop::instance().why().toStdString();
    }
    void TearDown() override
    {
        if (process && process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(processGuardMs);
        }
    }

    // The window of the running program named `title`, found once it is shown.
    QString windowNamed(const QString& title)
    {
        return xdotool({ "search", "--sync", "--all", "--onlyvisible", "--pid",
                           QString::number(process->processId()), "--name", title })
            .section(u'\n', 0, 0);
    }
    void start(const ProgramFolder& folder)
    {
        process.reset(folder.start(nullptr, QStringLiteral("xcb")));
        ASSERT_TRUE(process->waitForStarted(processGuardMs));
    }
    // Types at the end of the note, then closes the program through its window.
    void appendAndClose(const QString& text)
    {
        const QString id = windowNamed(QStringLiteral("^Penwick 4\\.0$"));
        ASSERT_FALSE(id.isEmpty());
        xdotool({ "windowactivate", "--sync", id });
        xdotool({ "key", "--clearmodifiers", "ctrl+End" });
        xdotool({ "type", "--delay", "1", "--window", id, text });
        xdotool({ "key", "--clearmodifiers", "alt+F4" });
        ASSERT_TRUE(process->waitForFinished(processGuardMs));
        EXPECT_EQ(process->exitCode(), 0);
    }
    static QString noteText(const QString& path)
    {
        RichTextBox note;
        return note.LoadFile(path) ? note.Text() : QStringLiteral("(no note)");
    }

    std::unique_ptr<QProcess> process;
};

// Run twice from a read-only folder, with and without a note beside the program: the note is
// kept in the user's own folder (made private) and comes back; a note beside the program is
// carried over, the user told once, and the original left as it was.
TEST_F(NoteFolderEndToEnd, AReadOnlyProgramFolderKeepsTheNotePerUser)
{
    for (const QString& original : { QString(), QStringLiteral("from the program folder") }) {
        SCOPED_TRACE(original.toStdString());
        ProgramFolder folder(binary);
        if (!original.isNull()) {
            RichTextBox note;
            note.setText(original);
            ASSERT_TRUE(note.SaveFile(folder.notePath()));
        }
        const auto bytes = [&] {
            QFile file(folder.notePath());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
        };
        const QByteArray originalBytes = bytes();
        ReadOnlyFolder readOnly(folder.path());
        if (!readOnly.why().isEmpty())
            GTEST_SKIP() << readOnly.why().toStdString();
        const QString userFolder
            = QDir::cleanPath(folder.path() + QStringLiteral("../data/Penwick"));
        const QString kept = userFolder + QStringLiteral("/data.nbx");

        start(folder);
        if (!original.isNull()) {
            const QString told = windowNamed(QStringLiteral("^Penwick$"));
            ASSERT_FALSE(told.isEmpty());
            xdotool({ "windowactivate", "--sync", told });
            xdotool({ "key", "--clearmodifiers", "Return" });
        }
        appendAndClose(QStringLiteral(", typed"));
        EXPECT_EQ(noteText(kept), original + QStringLiteral(", typed"));
        struct stat st = {};
        ASSERT_EQ(::stat(QFile::encodeName(userFolder).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u);
        EXPECT_EQ(QDir(userFolder).entryList(QDir::Files), QStringList { "data.nbx" });

        // Told once: the second start opens straight into the note (a message would take the
        // keys).
        start(folder);
        appendAndClose(QStringLiteral(" again"));
        EXPECT_EQ(noteText(kept), original + QStringLiteral(", typed again"));
        EXPECT_EQ(bytes(), originalBytes);
    }
}

} // namespace
} // namespace penwick::test
