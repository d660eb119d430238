// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "app/environment.h"
#include "app/settingsstore.h"
#include "fakes/fakeclock.h"
#include "fakes/fakecommondialog.h"
#include "fakes/fakeprompter.h"
#include "fakes/fakeshell.h"
#include "harness/qtprinters.h"
#include "platform/atomicfile.h"

#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace penwick::test {

// A settings store that records every write, in order, and passes it on to an INI file.
class RecordingSettings final : public SettingsStore
{
public:
    explicit RecordingSettings(const QString& fileName)
        : m_ini(fileName)
    { }
    QString Read(const QString& key, const QString& defaultText) override
    {
        return m_ini.Read(key, defaultText);
    }
    bool Write(const QString& key, const QString& text) override
    {
        writes.emplace_back(key, text);
        return m_ini.Write(key, text);
    }
    bool Flush() override { return m_ini.Flush(); }
    using SettingsStore::Read;
    std::vector<std::pair<QString, QString>> writes;

private:
    IniSettingsStore m_ini;
};

// The bytes of a file, empty when it cannot be read.
QByteArray readFile(const QString& path);
// The text of the note file at `path` as the editor reads it, or "-" when it cannot.
QString noteText(const QString& path);

// While it lives, the rename that puts a new "data.nbx" in place fails with `err` (the atomic
// writer's own failure paths are tested with it); other files are written as usual.
inline int noteWriteError = 0;
struct FailNoteWrites
{
    explicit FailNoteWrites(int err)
    {
        noteWriteError = err;
        atomicFileOps().rename = [](const char* from, const char* to) {
            return QByteArrayView(to).endsWith("/data.nbx") ? (errno = noteWriteError, -1)
                                                            : ::rename(from, to);
        };
    }
    ~FailNoteWrites() { atomicFileOps() = saved; }
    AtomicFileOps saved = atomicFileOps();
};

// Everything one test needs around the program: a temporary program folder, data folder and
// settings file, and the scripted fakes.
class TestEnvironment
{
public:
    TestEnvironment();

    QString programFolder() const { return m_root.path() + QStringLiteral("/program/"); }
    QString dataFolder() const { return m_root.path() + QStringLiteral("/data/Penwick"); }
    QString settingsFile() const
    {
        return m_root.path() + QStringLiteral("/config/Bramblecot.ini");
    }
    QString notePath() const { return programFolder() + QStringLiteral("data.nbx"); }

    // Stores option texts before the program starts.
    void store(std::initializer_list<std::pair<const char*, QString>> values);
    QString stored(const QString& key) const; // the stored text, or a null string

    Environment environment() const;

    std::shared_ptr<FakePrompter> prompter = std::make_shared<FakePrompter>();
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<FakeShell> shell = std::make_shared<FakeShell>();
    std::shared_ptr<FakeCommonDialog> dialogs = std::make_shared<FakeCommonDialog>();
    std::shared_ptr<RecordingSettings> settings;
    std::function<bool()> isTrayAvailable; // null: the platform's answer (none, offscreen)

private:
    QTemporaryDir m_root;
};

} // namespace penwick::test
