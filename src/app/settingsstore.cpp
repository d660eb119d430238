// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/settingsstore.h"

#include "app/settingsconvert.h"

#include <QStandardPaths>
#include <QStringList>

namespace penwick {
namespace {
const QString section = QStringLiteral("Penwick/");
}

QString SettingsStore::Read(const QString& key, bool defaultValue)
{
    return Read(key, fromBoolean(defaultValue));
}

QString SettingsStore::Read(const QString& key, long long defaultValue)
{
    return Read(key, QString::number(defaultValue));
}

IniSettingsStore::IniSettingsStore(const QString& fileName)
    : m_settings(fileName, QSettings::IniFormat)
{ }

QString IniSettingsStore::defaultFileName()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Bramblecot.ini");
}

QString IniSettingsStore::Read(const QString& key, const QString& defaultText)
{
    const QVariant value = m_settings.value(section + key);
    if (!value.isValid())
        return defaultText;
    // A hand-edited value with commas comes back as a list; keep it as the text it was.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

bool IniSettingsStore::Write(const QString& key, const QString& text)
{
    // Written to disk together by Flush (or soon after by the toolkit), not key by key.
    m_settings.setValue(section + key, text);
    return m_settings.status() != QSettings::AccessError;
}

bool IniSettingsStore::Flush()
{
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

} // namespace penwick
