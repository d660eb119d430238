// SPDX-License-Identifier: GPL-2.0-or-later
#include "e2e/desktop.h"

namespace penwick::test {
namespace {

struct Desktop
{
    Desktop()
    {
        // Openbox runs its start-up command once it manages the screen: that line is our signal.
        wm.start(QStringLiteral("openbox"), { "--sm-disable", "--startup", "echo openbox-ready" });
        while (!wm.readAllStandardOutput().contains("openbox-ready")) {
            if (!wm.waitForReadyRead(processGuardMs)) {
                why = QStringLiteral("openbox did not start (run under xvfb-run)");
                return;
            }
        }
        // The panel brings the tray; programs dock into it whenever it appears.
        panel.start(QStringLiteral("sh"), { "-c", "exec tint2 >/dev/null 2>&1" });
        panel.waitForStarted(processGuardMs);
    }
    ~Desktop()
    {
        end(&panel);
        end(&wm);
    }

    QProcess wm, panel;
    QString why;
};

Desktop& desktop()
{
    static Desktop desktop;
    return desktop;
}

} // namespace

void end(QProcess* p)
{
    if (p && p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(processGuardMs);
    }
}

// Waits until the property's text (of the root window when `id` is empty) has `word`, or no
// longer has it.
bool waitForProperty(
    const QString& id, const char* property, const QString& word, bool present, int guardMs)
{
    QProcess spy; // tells the property's value, then each change as it comes
    const QStringList window = id.isEmpty() ? QStringList { "-root" } : QStringList { "-id", id };
    spy.start(QStringLiteral("xprop"), window + QStringList { "-spy", property });
    bool done = false;
    while (!done && spy.waitForReadyRead(guardMs)) {
        for (const QString& line : QString::fromUtf8(spy.readAll()).split(u'\n'))
            if (line.contains(QLatin1String(property)))
                done = line.contains(word) == present;
    }
    end(&spy);
    return done;
}

QString desktopMissing()
{
    return desktop().why;
}

void runPanel(bool run)
{
    QProcess& panel = desktop().panel;
    end(&panel);
    if (run)
        panel.start(QStringLiteral("sh"), { "-c", "exec tint2 >/dev/null 2>&1" });
    panel.waitForStarted(processGuardMs);
}

QString output(const QString& program, const QStringList& arguments, bool mustSucceed)
{
    for (int attempt = 1;; ++attempt) {
        QProcess p;
        p.start(program, arguments);
        // "--sync" waits on the window manager, which takes its time on a busy machine.
        const bool finished = p.waitForFinished(6 * processGuardMs);
        if (!mustSucceed || (finished && p.exitCode() == 0))
            return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        // A search walks the window tree; a window that closes during the walk (a tooltip, the
        // previous dialog) ends it with BadWindow, and the next walk no longer meets that window.
        const QByteArray error = p.readAllStandardError();
        if (finished && arguments.value(0) == u"search" && attempt < 5
            && error.contains("BadWindow"))
            continue;
        ADD_FAILURE() << program.toStdString() << ' ' << arguments.join(u' ').toStdString()
                      << " failed: " << error.toStdString();
        return {};
    }
}

} // namespace penwick::test
