// SPDX-License-Identifier: GPL-2.0-or-later
// The Debian package on this machine: installed with apt, started through its menu entry as a
// user would, keeping the note in the user's own folder, and removed without a trace. It
// changes the system, so it runs only when asked to (scripts/check-install, as root, does).
#include "e2e/desktop.h"
#include "harness/qtprinters.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

#include <unistd.h>

namespace penwick::test {
namespace {

// Runs apt-get, its output going with the test's; true when it succeeds.
bool aptGet(const QString& arguments)
{
    return std::system(qPrintable("DEBIAN_FRONTEND=noninteractive apt-get -y -q " + arguments))
        == 0;
}

// The value of `key` in the installed menu entry.
QString entryValue(const char* key)
{
    QFile file(QStringLiteral("/usr/share/applications/penwick.desktop"));
    file.open(QIODevice::ReadOnly | QIODevice::Text);
    const QRegularExpression line(
        QStringLiteral("^%1=(.*)$").arg(QLatin1String(key)), QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(file.readAll())).captured(1);
}

using InstalledPackage = ProgramOnDesktop;

TEST_F(InstalledPackage, StartsFromItsMenuEntryKeepsTheNoteInHomeAndRemovesCleanly)
{
    const QString deb = qEnvironmentVariable("PENWICK_INSTALL_TEST_DEB");
    if (deb.isEmpty() || ::geteuid() != 0)
        GTEST_SKIP() << "installs a package system-wide, as root: set PENWICK_INSTALL_TEST_DEB to "
                        "the built .deb (scripts/check-install does when PENWICK_INSTALL_TEST=1)";
    struct Purge // however the test ends (again after the purge tested below, which is harmless)
    {
        ~Purge() { aptGet(QStringLiteral("remove --purge penwick")); }
    } purge;
    ASSERT_TRUE(
        aptGet("install --no-install-recommends '" + QFileInfo(deb).absoluteFilePath() + "'"));

    // As the menu starts it: the entry's command through PATH, in a fresh (and private) home.
    QTemporaryDir home;
    const QString command = entryValue("Exec");
    ASSERT_FALSE(command.isEmpty());
    process = std::make_unique<QProcess>();
    process->start("env",
        QStringList { "-u", "XDG_CONFIG_HOME", "-u", "XDG_DATA_HOME", "-u", "XDG_CACHE_HOME",
            "HOME=" + home.path(), "XDG_RUNTIME_DIR=" + home.path(), "QT_QPA_PLATFORM=xcb" }
            + command.split(u' ', Qt::SkipEmptyParts));
    ASSERT_TRUE(process->waitForStarted(processGuardMs));
    const QString id = activate();
    ASSERT_FALSE(id.isEmpty());

    // The task bar groups the window under the menu entry by its class, and shows the installed
    // theme icon, as the menu does: only that one has a 22-pixel size.
    EXPECT_EQ(entryValue("StartupWMClass") + u' ' + entryValue("Icon"), u"penwick penwick");
    EXPECT_EQ(
        output("xprop", { "-id", id, "WM_CLASS" }), u"WM_CLASS(STRING) = \"penwick\", \"penwick\"");
    const QString icon = output("xprop", { "-id", id, "_NET_WM_ICON" });
    EXPECT_TRUE(icon.contains(u"Icon (22 x 22)")) << icon.left(300).toStdString();

    xdotool({ "type", "--delay", "1", "--window", id, "kept at home" });
    closeThroughWindow(id);
    EXPECT_EQ(
        noteText(home.path() + QStringLiteral("/.local/share/Penwick/data.nbx")), u"kept at home");

    ASSERT_TRUE(aptGet(QStringLiteral("remove --purge penwick")));
    // Purged: dpkg no longer knows the package, or knows it only as not installed (its files are
    // gone with it, as check-install's file list says which they are).
    const QString status = output("dpkg-query", { "-W", "-f=${db:Status-Status}", "penwick" });
    EXPECT_TRUE(status.isEmpty() || status == u"not-installed") << status.toStdString();
}

} // namespace
} // namespace penwick::test
