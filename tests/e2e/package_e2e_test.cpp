// SPDX-License-Identifier: GPL-2.0-or-later
// The Debian package on this machine: installed with apt, started through its menu entry as a
// user would, keeping the note in the user's own folder, and removed without a trace. It
// changes the system, so it runs only when asked to (scripts/check-install, as root, does).
#include "e2e/desktop.h"
#include "harness/qtprinters.h"
#include "platform/richtextbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

#include <unistd.h>

namespace penwick::test {
namespace {

const QString entryPath = QStringLiteral("/usr/share/applications/penwick.desktop");

// Runs a command; its output when it fails.
std::optional<QString> run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DEBIAN_FRONTEND"), QStringLiteral("noninteractive"));
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    if (p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return std::nullopt;
    return program + u' ' + arguments.join(u' ') + QStringLiteral(": ")
        + QString::fromLocal8Bit(p.readAll()).trimmed();
}

QString output(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// The value of `key` in the menu entry's main group.
QString entryValue(const QString& key)
{
    QFile file(entryPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QString prefix = key + u'=';
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    }
    return {};
}

class InstalledPackage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_deb = qEnvironmentVariable("PENWICK_INSTALL_TEST_DEB");
        if (m_deb.isEmpty())
            GTEST_SKIP() << "installs a package system-wide: set PENWICK_INSTALL_TEST_DEB to the "
                            "built .deb (scripts/check-install does when PENWICK_INSTALL_TEST=1)";
        if (::geteuid() != 0)
            GTEST_SKIP() << "installing a package needs root";
        if (!Desktop::instance().ready())
            GTEST_SKIP() << Desktop::instance().why().toStdString();
    }
    void TearDown() override
    {
        if (m_program && m_program->state() != QProcess::NotRunning) {
            m_program->kill();
            m_program->waitForFinished(10000);
        }
        if (m_installed)
            run(QStringLiteral("apt-get"), { "remove", "--purge", "-y", "-q", "penwick" });
    }

    QString m_deb;
    bool m_installed = false;
    std::unique_ptr<QProcess> m_program;
};

TEST_F(InstalledPackage, StartsFromItsMenuEntryKeepsTheNoteInHomeAndRemovesCleanly)
{
    m_installed = true;
    const auto installed = run(QStringLiteral("apt-get"),
        { "install", "-y", "-q", "--no-install-recommends", QFileInfo(m_deb).absoluteFilePath() });
    ASSERT_FALSE(installed) << installed->toStdString();
    const QString icons = QStringLiteral("/usr/share/icons/hicolor/");
    for (const char* icon : { "scalable/apps/penwick.svg", "16x16/apps/penwick.png",
             "48x48/apps/penwick.png", "256x256/apps/penwick.png" })
        EXPECT_TRUE(QFileInfo::exists(icons + QLatin1String(icon))) << icon;
    EXPECT_EQ(entryValue(QStringLiteral("Icon")), u"penwick");

    // As the menu starts it: the entry's command through PATH, in a fresh home folder.
    QTemporaryDir home;
    QDir().mkpath(home.path() + QStringLiteral("/runtime"));
    QFile::setPermissions(home.path() + QStringLiteral("/runtime"),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME" })
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path() + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    const QStringList command = entryValue(QStringLiteral("Exec")).split(u' ', Qt::SkipEmptyParts);
    ASSERT_FALSE(command.isEmpty());
    m_program = std::make_unique<QProcess>();
    m_program->setProcessEnvironment(env);
    m_program->start(command.first(), command.mid(1));
    ASSERT_TRUE(m_program->waitForStarted(30000));
    const QString id
        = xdotool({ "search", "--sync", "--all", "--onlyvisible", "--pid",
                      QString::number(m_program->processId()), "--name", "^Penwick 4\\.0$" })
              .section(u'\n', 0, 0);
    ASSERT_FALSE(id.isEmpty());

    // The task bar groups the window under the menu entry by its class.
    const QString wmClass = entryValue(QStringLiteral("StartupWMClass"));
    EXPECT_EQ(wmClass, u"penwick");
    EXPECT_EQ(output(QStringLiteral("xprop"), { "-id", id, "WM_CLASS" }),
        QStringLiteral("WM_CLASS(STRING) = \"penwick\", \"%1\"").arg(wmClass));

    // It shows the installed theme icon, as the menu and the task bar do: only that one has a
    // 22-pixel size.
    const QString icon = output(QStringLiteral("xprop"), { "-id", id, "_NET_WM_ICON" });
    EXPECT_TRUE(icon.contains(u"Icon (22 x 22)")) << icon.left(300).toStdString();

    xdotool({ "windowactivate", "--sync", id });
    xdotool({ "type", "--delay", "1", "--window", id, "kept at home" });
    xdotool({ "key", "--clearmodifiers", "alt+F4" });
    ASSERT_TRUE(m_program->waitForFinished(30000));
    EXPECT_EQ(m_program->exitCode(), 0);
    RichTextBox note;
    ASSERT_TRUE(note.LoadFile(home.path() + QStringLiteral("/.local/share/Penwick/data.nbx")));
    EXPECT_EQ(note.Text(), u"kept at home");
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/usr/bin/data.nbx")));

    m_installed = false;
    const auto removed
        = run(QStringLiteral("apt-get"), { "remove", "--purge", "-y", "-q", "penwick" });
    ASSERT_FALSE(removed) << removed->toStdString();
    for (const char* path :
        { "/usr/bin/penwick", "/usr/bin/penwick-rtf", "/usr/share/applications/penwick.desktop",
            "/usr/share/doc/penwick", "/usr/share/icons/hicolor/scalable/apps/penwick.svg" })
        EXPECT_FALSE(QFileInfo::exists(QLatin1String(path))) << path;
    // Purged: dpkg no longer knows the package, or knows it only as not installed.
    const QString status
        = output(QStringLiteral("dpkg-query"), { "-W", "-f=${db:Status-Status}", "penwick" });
    EXPECT_TRUE(status.isEmpty() || status == u"not-installed") << status.toStdString();
}

} // namespace
} // namespace penwick::test
