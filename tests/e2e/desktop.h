// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "harness/penwickprocess.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <utility>

namespace penwick::test {

// A desktop on the X display the tests run on (Xvfb): a window manager and a panel with a
// system tray, started once for the whole test executable.
class Desktop
{
public:
    static Desktop& instance();
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;
    bool ready() const { return m_ready; }
    QString why() const { return m_why; }
    // Restarts the panel: with the lines of `config` after the installed configuration (a
    // panel with only a task bar: "panel_items = T"), or as installed when empty.
    void restartPanel(const QString& config = {});

private:
    Desktop();
    std::unique_ptr<QProcess> m_wm;
    std::unique_ptr<QProcess> m_panel;
    QTemporaryDir m_panelConfig;
    bool m_ready = false;
    QString m_why;
};

// Runs a program and gives its standard output, trimmed.
QString output(const QString& program, const QStringList& arguments);
// Runs xdotool and gives its standard output, trimmed; fails the test when it fails.
QString xdotool(const QStringList& arguments);
// The first shown window of `process` whose title matches `title`, once there is one.
QString windowOf(const QProcess& process, const char* title = "^Penwick 4\\.0$");
// A window's id as xprop lists them.
QString hexId(const QString& id);
// Watches a property of a window (of the root window when `id` is empty) until its text has
// `word`, or no longer has it; false if that did not happen within `guardMs`.
bool waitForProperty(const QString& id, const char* property, const QString& word, bool present,
    int guardMs = 20000);
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
