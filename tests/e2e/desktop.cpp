// SPDX-License-Identifier: GPL-2.0-or-later
#include "e2e/desktop.h"

#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

namespace penwick::test {

Desktop& Desktop::instance()
{
    static Desktop desktop;
    return desktop;
}

Desktop::Desktop()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        m_why = QStringLiteral("no X display (run under xvfb-run)");
        return;
    }
    // Openbox runs its start-up command once it manages the screen: that line is our signal.
    m_wm = std::make_unique<QProcess>();
    m_wm->setProcessChannelMode(QProcess::SeparateChannels);
    m_wm->start(QStringLiteral("openbox"),
        { QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
            QStringLiteral("echo openbox-ready") });
    m_wm->waitForStarted(processGuardMs);
    while (!m_wm->readAllStandardOutput().contains("openbox-ready")) {
        if (!m_wm->waitForReadyRead(processGuardMs)) {
            m_why = QStringLiteral("openbox did not start");
            return;
        }
    }
    // The panel brings the tray; programs dock into it whenever it appears.
    restartPanel();
    m_ready = true;
}

void Desktop::restartPanel(const QString& config)
{
    if (m_panel && m_panel->state() != QProcess::NotRunning) {
        m_panel->terminate();
        m_panel->waitForFinished(10000);
    }
    QStringList arguments;
    if (!config.isEmpty()) {
        QFile installed(QStringLiteral("/etc/xdg/tint2/tint2rc"));
        QFile mine(m_panelConfig.filePath(QStringLiteral("tint2rc")));
        if (installed.open(QIODevice::ReadOnly) && mine.open(QIODevice::WriteOnly))
            mine.write(installed.readAll() + '\n' + config.toUtf8() + '\n');
        arguments << QStringLiteral("-c") << mine.fileName();
    }
    m_panel = std::make_unique<QProcess>();
    m_panel->setStandardOutputFile(QProcess::nullDevice());
    m_panel->setStandardErrorFile(QProcess::nullDevice());
    m_panel->start(QStringLiteral("tint2"), arguments);
    m_panel->waitForStarted(processGuardMs);
    m_ready = true;
}

Desktop::~Desktop()
{
    for (QProcess* p : { m_panel.get(), m_wm.get() }) {
        if (p && p->state() != QProcess::NotRunning) {
            p->terminate();
            p->waitForFinished(processGuardMs);
        }
    }
}

QString xdotool(const QStringList& arguments)
{
    // A search walks the window tree; a window that closes during the walk (a tooltip, the
    // previous dialog) ends it with BadWindow, and the next walk no longer meets that window.
    const bool search = arguments.value(0) == QLatin1String("search");
    for (int attempt = 1;; ++attempt) {
        QProcess p;
        p.start(QStringLiteral("xdotool"), arguments);
        // "--sync" waits on the window manager, which takes its time on a busy machine.
        const bool finished = p.waitForFinished(6 * processGuardMs);
        if (finished && p.exitCode() == 0)
            return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        const QByteArray error = p.readAllStandardError();
        if (finished && search && attempt < 5 && error.contains("BadWindow"))
            continue;
        ADD_FAILURE() << "xdotool " << arguments.join(u' ').toStdString()
                      << " failed: " << error.toStdString();
        return {};
    }
}

void ProgramOnDesktop::SetUp()
{
    if (!Desktop::instance().ready())
        GTEST_SKIP() << Desktop::instance().why().toStdString();
}

void ProgramOnDesktop::TearDown()
{
    if (process && process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(processGuardMs);
    }
}

void ProgramOnDesktop::store(std::initializer_list<std::pair<const char*, const char*>> values)
{
    QSettings ini(folder.settingsFile(), QSettings::IniFormat);
    for (const auto& [key, value] : values)
        ini.setValue(QStringLiteral("Penwick/") + QLatin1String(key), QLatin1String(value));
}

QString ProgramOnDesktop::stored(std::initializer_list<const char*> keys) const
{
    QSettings ini(folder.settingsFile(), QSettings::IniFormat);
    QStringList texts;
    for (const char* key : keys)
        texts << ini.value(QStringLiteral("Penwick/") + QLatin1String(key)).toString();
    return texts.join(u' ');
}

QString ProgramOnDesktop::start()
{
    process.reset(folder.start(nullptr, QStringLiteral("xcb")));
    EXPECT_TRUE(process->waitForStarted(processGuardMs));
    const QString id
        = xdotool({ "search", "--all", "--sync", "--onlyvisible", "--pid",
                      QString::number(process->processId()), "--name", "^Penwick 4\\.0$" })
              .section(u'\n', 0, 0);
    if (!id.isEmpty())
        xdotool({ "windowactivate", "--sync", id });
    return id;
}

void ProgramOnDesktop::closeThroughWindow(const QString& id)
{
    xdotool({ "windowactivate", "--sync", id });
    xdotool({ "key", "--clearmodifiers", "alt+F4" });
    ASSERT_TRUE(process->waitForFinished(processGuardMs));
    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process->exitCode(), 0);
}

} // namespace penwick::test
