// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

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

private:
    Desktop();
    std::unique_ptr<QProcess> m_wm;
    std::unique_ptr<QProcess> m_panel;
    bool m_ready = false;
    QString m_why;
};

// Runs xdotool and gives its standard output, trimmed; fails the test when it fails.
QString xdotool(const QStringList& arguments);

} // namespace penwick::test
