// SPDX-License-Identifier: GPL-2.0-or-later
#include "e2e/desktop.h"
#include "platform/richtextbox.h"

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

QString output(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(6 * processGuardMs);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
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

QString windowOf(const QProcess& process, const char* title)
{
    return xdotool({ "search", "--all", "--sync", "--onlyvisible", "--pid",
                       QString::number(process.processId()), "--name", title })
        .section(u'\n', 0, 0);
}

QString hexId(const QString& id)
{
    return QStringLiteral("0x%1").arg(id.toULongLong(), 0, 16);
}

bool waitForProperty(
    const QString& id, const char* property, const QString& word, bool present, int guardMs)
{
    QProcess spy; // tells the property's value, then each change as it comes
    const QStringList window = id.isEmpty() ? QStringList { "-root" } : QStringList { "-id", id };
    spy.start(QStringLiteral("xprop"), window + QStringList { "-spy", property });
    if (!spy.waitForStarted(processGuardMs))
        return false;
    bool done = false;
    while (!done && spy.waitForReadyRead(guardMs)) {
        for (const QString& line : QString::fromUtf8(spy.readAll()).split(u'\n'))
            if (line.contains(QLatin1String(property)))
                done = line.contains(word) == present;
    }
    spy.kill();
    spy.waitForFinished();
    return done;
}

bool maximizeByTitleBar(const QString& id)
{
    xdotool({ "mousemove", "--window", id, "200", "-8", "click", "--repeat", "2", "--delay", "100",
        "1" });
    return waitForProperty(id, "_NET_WM_STATE", QStringLiteral("MAXIMIZED_HORZ"), true);
}

QString noteText(const QString& path)
{
    RichTextBox note;
    return note.LoadFile(path) ? note.Text() : QStringLiteral("(no note)");
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

void ProgramOnDesktop::launch()
{
    process.reset(folder.start(nullptr, QStringLiteral("xcb")));
    EXPECT_TRUE(process->waitForStarted(processGuardMs));
}

QString ProgramOnDesktop::start()
{
    launch();
    return activate();
}

QString ProgramOnDesktop::activate(const char* title)
{
    const QString id = windowOf(*process, title);
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
