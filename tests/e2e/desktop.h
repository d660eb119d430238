// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "harness/penwickprocess.h"

#include <QProcess>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <utility>

namespace penwick::test {

// The desktop on the X display the tests run on (Xvfb): a window manager and a panel with a
// system tray, started once for the whole test executable. Why it could not start, or empty.
QString desktopMissing();
// Restarts the panel: with the lines of `config` after the installed configuration (a panel with
// only a task bar: "panel_items = T"), or as installed when empty.
void restartPanel(const QString& config = {});

// Runs a program and gives its standard output, trimmed; fails the test if it fails and
// `mustSucceed`.
QString output(const QString& program, const QStringList& arguments, bool mustSucceed = false);
// Runs xdotool and gives its standard output, trimmed; fails the test when it fails.
QString xdotool(const QStringList& arguments);
// The first shown window of `process` whose title matches `title`, once there is one.
QString windowOf(const QProcess& process, const char* title = "^Penwick 4\\.0$");
// A window's id as the window manager's lists give it.
QString hexId(const QString& id);
// Wait, watching the X server, until the window's _NET_WM_STATE has `word` (or no longer has
// it), or until the window is on the task bar (or off it); false if it did not happen in time.
bool waitForState(const QString& id, const QString& word, bool present = true);
bool waitForTaskBar(const QString& id, bool listed, int guardMs = 20000);
// Maximizes a window with a double click on its title bar; false if it did not happen.
bool maximizeByTitleBar(const QString& id);
// The text of the note in `path`, or "(no note)".
QString noteText(const QString& path);

// A test of the real program on the desktop, from a program folder of its own.
class ProgramOnDesktop : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Stores option texts before the program starts; the stored texts of `keys`, joined by blanks.
    void store(std::initializer_list<std::pair<const char*, const char*>> values);
    QString stored(std::initializer_list<const char*> keys) const;

    // Starts the program without waiting for a window.
    void launch();
    // Starts the program and gives its window once it is shown and active.
    QString start();
    // Waits for the program's window named `title` and gives it the keyboard; its id.
    QString activate(const char* title = "^Penwick 4\\.0$");
    // Closes the program through its window (the window manager's close), and waits for it.
    void closeThroughWindow(const QString& id);

    ProgramFolder folder { QStringLiteral(PENWICK_BINARY) };
    std::unique_ptr<QProcess> process;
};

} // namespace penwick::test
