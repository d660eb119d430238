// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/testenv.h"

#include "platform/richtextbox.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace penwick::test {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString noteText(const QString& path)
{
    RichTextBox note;
    return note.LoadFile(path) ? note.Text() : QStringLiteral("-");
}

TestEnvironment::TestEnvironment()
{
    QDir().mkpath(m_root.path() + QStringLiteral("/program"));
    QDir().mkpath(m_root.path() + QStringLiteral("/runtime"));
    settings = std::make_shared<RecordingSettings>(settingsFile());
}

void TestEnvironment::store(std::initializer_list<std::pair<const char*, QString>> values)
{
    QSettings ini(settingsFile(), QSettings::IniFormat);
    for (const auto& [key, value] : values)
        ini.setValue(QStringLiteral("Penwick/") + QLatin1String(key), value);
}

QString TestEnvironment::stored(const QString& key) const
{
    QSettings ini(settingsFile(), QSettings::IniFormat);
    const QVariant value = ini.value(QStringLiteral("Penwick/") + key);
    return value.isValid() ? value.toString() : QString();
}

Environment TestEnvironment::environment() const
{
    Environment env;
    env.programFolder = programFolder();
    env.dataFolder = dataFolder();
    env.lockFolder = m_root.path() + QStringLiteral("/runtime");
    env.settings = settings;
    env.prompter = prompter;
    env.clock = clock;
    env.shell = shell;
    env.dialogs = dialogs;
    env.isTrayAvailable = isTrayAvailable;
    return env;
}

} // namespace penwick::test
