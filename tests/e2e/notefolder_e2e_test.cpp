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

#include <sys/stat.h>
#include <unistd.h>

namespace penwick::test {
namespace {

const QString binary = QStringLiteral(PENWICK_BINARY);

bool run(const QString& program, const QStringList& arguments, QString* output = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    const bool ok
        = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(p.readAll()).trimmed();
    return ok;
}

// A folder made read-only for everyone, root included, by mounting it read-only over itself;
// unmounted again whatever happens.
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
        QString output;
        m_mounted = run(QStringLiteral("mount"), { "--bind", m_folder, m_folder }, &output);
        if (m_mounted)
            run(QStringLiteral("mount"), { "-o", "remount,ro,bind", m_folder }, &output);
        if (::access(QFile::encodeName(m_folder).constData(), W_OK) == 0)
            m_why = QStringLiteral("cannot mount the folder read-only: ") + output;
    }
    ~ReadOnlyFolder()
    {
        // A program still running from the folder keeps it busy: detach it then.
        if (m_mounted && !run(QStringLiteral("umount"), { m_folder }))
            run(QStringLiteral("umount"), { "--lazy", m_folder });
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
            process->waitForFinished(30000);
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
        ASSERT_TRUE(process->waitForStarted(30000));
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
        ASSERT_TRUE(process->waitForFinished(60000));
        EXPECT_EQ(process->exitCode(), 0);
    }
    static QString noteText(const QString& path)
    {
        RichTextBox note;
        return note.LoadFile(path) ? note.Text() : QStringLiteral("(no note at %1)").arg(path);
    }
    static QString userFolder(const ProgramFolder& folder)
    {
        return QDir::cleanPath(folder.path() + QStringLiteral("../data/Penwick"));
    }

    std::unique_ptr<QProcess> process;
};

// First run with no per-user folder yet: the note is kept there and comes back.
TEST_F(NoteFolderEndToEnd, FirstRunInAReadOnlyFolderKeepsTheNotePerUser)
{
    ProgramFolder folder(binary);
    ReadOnlyFolder readOnly(folder.path());
    if (!readOnly.why().isEmpty())
        GTEST_SKIP() << readOnly.why().toStdString();
    const QString kept = userFolder(folder) + QStringLiteral("/data.nbx");

    start(folder);
    appendAndClose(QStringLiteral("typed first"));
    EXPECT_EQ(noteText(kept), u"typed first");
    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(userFolder(folder)).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    EXPECT_EQ(QDir(userFolder(folder)).entryList(QDir::Files), QStringList { "data.nbx" });

    start(folder);
    appendAndClose(QStringLiteral(" and then"));
    EXPECT_EQ(noteText(kept), u"typed first and then");
    EXPECT_FALSE(QFileInfo::exists(folder.notePath()));
}

// A note beside the program is read, the user told once where it is kept from now on, and the
// original stays as it was.
TEST_F(NoteFolderEndToEnd, ANoteBesideAReadOnlyProgramIsCarriedOver)
{
    ProgramFolder folder(binary);
    {
        RichTextBox original;
        original.setText(QStringLiteral("from the program folder"));
        ASSERT_TRUE(original.SaveFile(folder.notePath()));
    }
    QFile file(folder.notePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray originalBytes = file.readAll();
    file.close();
    ReadOnlyFolder readOnly(folder.path());
    if (!readOnly.why().isEmpty())
        GTEST_SKIP() << readOnly.why().toStdString();
    const QString kept = userFolder(folder) + QStringLiteral("/data.nbx");

    start(folder);
    const QString told = windowNamed(QStringLiteral("^Penwick$"));
    ASSERT_FALSE(told.isEmpty());
    xdotool({ "windowactivate", "--sync", told });
    xdotool({ "key", "--clearmodifiers", "Return" });
    appendAndClose(QStringLiteral(", edited"));
    EXPECT_EQ(noteText(kept), u"from the program folder, edited");

    // Told once: the second start opens straight into the note (a message would take the keys).
    start(folder);
    appendAndClose(QStringLiteral(" twice"));
    EXPECT_EQ(noteText(kept), u"from the program folder, edited twice");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), originalBytes);
}

} // namespace
} // namespace penwick::test
