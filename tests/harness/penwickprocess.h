// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace penwick::test {

// How long a test waits for a copy of the program to start, take its lock, or end before it
// fails: long enough for a sanitizer build on a busy machine, short enough that a broken lock
// fails the run in seconds rather than minutes.
inline constexpr int processGuardMs = 10000;

// The real program, started from its own temporary program folder with per-user folders of its
// own, so that a test can run several copies side by side.
class ProgramFolder
{
public:
    // `binary` is the built program; it is linked (or copied) into the folder, because the
    // program keeps its note beside itself.
    explicit ProgramFolder(const QString& binary);

    QString path() const { return m_root.path() + QStringLiteral("/program/"); }
    QString program() const { return path() + QStringLiteral("penwick"); }
    QString notePath() const { return path() + QStringLiteral("data.nbx"); }
    QString settingsFile() const
    {
        return m_root.path() + QStringLiteral("/config/Bramblecot.ini");
    }

    // Starts a copy; `platform` is the Qt platform plugin ("offscreen" or "xcb").
    QProcess* start(QObject* owner, const QString& platform = QStringLiteral("offscreen")) const;

private:
    QTemporaryDir m_root;
};

} // namespace penwick::test
