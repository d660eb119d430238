// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

namespace penwick {

// The per-user option store: text values under application "Bramblecot", section "Penwick".
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // The stored text, or `defaultText` when the key is missing.
    virtual QString Read(const QString& key, const QString& defaultText) = 0;
    // Stores the text; false when it could not be written.
    virtual bool Write(const QString& key, const QString& text) = 0;
    // Puts what was written on disk now; false when that failed.
    virtual bool Flush() { return true; }

    QString Read(const QString& key, bool defaultValue);
    QString Read(const QString& key, long long defaultValue);
    QString Read(const QString& key, int defaultValue)
    {
        return Read(key, static_cast<long long>(defaultValue));
    }
    QString Read(const QString& key, const char* defaultText)
    {
        return Read(key, QString::fromUtf8(defaultText));
    }
};

// The store as an INI file (by default <XDG config>/Bramblecot.ini, group [Penwick]).
class IniSettingsStore final : public SettingsStore
{
public:
    explicit IniSettingsStore(const QString& fileName);
    static QString defaultFileName();

    QString Read(const QString& key, const QString& defaultText) override;
    bool Write(const QString& key, const QString& text) override;
    bool Flush() override;
    using SettingsStore::Read;

private:
    QSettings m_settings;
};

} // namespace penwick
