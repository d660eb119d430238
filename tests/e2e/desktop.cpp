// SPDX-License-Identifier: GPL-2.0-or-later
#include "e2e/desktop.h"

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
    m_wm->waitForStarted(30000);
    while (!m_wm->readAllStandardOutput().contains("openbox-ready")) {
        if (!m_wm->waitForReadyRead(30000)) {
            m_why = QStringLiteral("openbox did not start");
            return;
        }
    }
    // The panel brings the tray; programs dock into it whenever it appears.
    m_panel = std::make_unique<QProcess>();
    m_panel->setStandardOutputFile(QProcess::nullDevice());
    m_panel->setStandardErrorFile(QProcess::nullDevice());
    m_panel->start(QStringLiteral("tint2"), {});
    m_panel->waitForStarted(30000);
    m_ready = true;
}

Desktop::~Desktop()
{
    for (QProcess* p : { m_panel.get(), m_wm.get() }) {
        if (p && p->state() != QProcess::NotRunning) {
            p->terminate();
            p->waitForFinished(10000);
        }
    }
}

QString xdotool(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        ADD_FAILURE() << "xdotool " << arguments.join(u' ').toStdString()
                      << " failed: " << p.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

} // namespace penwick::test
