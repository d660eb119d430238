// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "harness/penwickprocess.h"
#include "harness/testenv.h"

#include <QProcess>
#include <QSettings>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <utility>

namespace penwick::test {

// The desktop on the X display the tests run on (Xvfb): a window manager and a panel with a
// system tray, started once for the whole test executable. Why it could not start, or empty.
QString desktopMissing();
// Ends the panel (and so the tray); starts it again when `run`.
void runPanel(bool run);
// Runs a program and gives its standard output, trimmed; fails the test if it fails and
// `mustSucceed`.
QString output(const QString& program, const QStringList& arguments, bool mustSucceed = false);
// Kills a process that still runs, and waits for it.
void end(QProcess* process);
// Waits, watching the X server, until a property of the window (of the root window when `id` is
// empty) has `word`, or no longer has it; false if that did not happen within `guardMs`.
bool waitForProperty(const QString& id, const char* property, const QString& word, bool present,
    int guardMs = 20000);

// A test of the real program on the desktop, from a program folder of its own.
class ProgramOnDesktop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!desktopMissing().isEmpty())
            GTEST_SKIP() << desktopMissing().toStdString();
    }
    void TearDown() override { end(process.get()); }

    static QString xdotool(const QStringList& args) { return output("xdotool", args, true); }
    // The first shown window of `process` whose title matches `title`, once there is one.
    static QString windowOf(const QProcess& process, const char* title = "^Penwick 4\\.0$")
    {
        return xdotool({ "search", "--all", "--sync", "--onlyvisible", "--pid",
                           QString::number(process.processId()), "--name", title })
            .section(u'\n', 0, 0);
    }
    // A window's id as the window manager's lists give it.
    static QString hexId(const QString& id) { return "0x" + QString::number(id.toULongLong(), 16); }
    // Until the window's _NET_WM_STATE has `word` (or no longer has it), or until the window is on
    // the task bar (or off it); false if it did not happen in time.
    static bool waitForState(const QString& id, const QString& word, bool present = true)
    {
        return waitForProperty(id, "_NET_WM_STATE", word, present);
    }
    static bool waitForTaskBar(const QString& id, bool listed)
    {
        return waitForProperty({}, "_NET_CLIENT_LIST", hexId(id), listed);
    }
    // Minimizes a window the program then hides in the tray; false if it stayed on the task bar. A
    // window just shown may not take the request yet on a busy machine: then it comes again.
    static bool minimizeToTray(const QString& id)
    {
        return thrice({ "windowminimize", id }, {}, "_NET_CLIENT_LIST", hexId(id), false);
    }
    // Maximizes a window with a double click on its title bar; false if it did not happen. On a
    // busy machine the window manager may take the two clicks apart: then they come again.
    static bool maximizeByTitleBar(const QString& id)
    {
        return thrice({ "mousemove", "--window", id, "200", "-8", "click", "--repeat", "2",
                          "--delay", "100", "1" },
            id, "_NET_WM_STATE", QStringLiteral("MAXIMIZED_HORZ"), true);
    }
    // Sends `request` until the property holds the word (or not), at most three times.
    static bool thrice(const QStringList& request, const QString& id, const char* property,
        const QString& word, bool present)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            xdotool(request);
            if (waitForProperty(id, property, word, present, 5000))
                return true;
        }
        return false;
    }

    // Stores option texts before the program starts; the stored texts of `keys`, joined by blanks.
    void store(std::initializer_list<std::pair<const char*, const char*>> values)
    {
        QSettings ini(folder.settingsFile(), QSettings::IniFormat);
        for (const auto& [key, value] : values)
            ini.setValue(QStringLiteral("Penwick/") + QLatin1String(key), QLatin1String(value));
    }
    QString stored(std::initializer_list<const char*> keys) const
    {
        QSettings ini(folder.settingsFile(), QSettings::IniFormat);
        QStringList texts;
        for (const char* key : keys)
            texts << ini.value(QStringLiteral("Penwick/") + QLatin1String(key)).toString();
        return texts.join(u' ');
    }

    // Starts the program without waiting for a window.
    void launch()
    {
        process.reset(folder.start(nullptr, QStringLiteral("xcb")));
        EXPECT_TRUE(process->waitForStarted(processGuardMs));
    }
    // Starts the program and gives its window once it is shown and active.
    QString start()
    {
        launch();
        return activate();
    }
    // Waits for the program's window named `title` and gives it the keyboard; its id.
    QString activate(const char* title = "^Penwick 4\\.0$")
    {
        const QString id = windowOf(*process, title);
        if (!id.isEmpty())
            xdotool({ "windowactivate", "--sync", id });
        return id;
    }
    // Closes the program through its window (the window manager's close), and waits for it.
    void closeThroughWindow(const QString& id)
    {
        xdotool({ "windowactivate", "--sync", id, "key", "--clearmodifiers", "alt+F4" });
        ASSERT_TRUE(process->waitForFinished(processGuardMs));
        EXPECT_TRUE(process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0);
    }

    ProgramFolder folder { QStringLiteral(PENWICK_BINARY) };
    std::unique_ptr<QProcess> process;
};

} // namespace penwick::test
