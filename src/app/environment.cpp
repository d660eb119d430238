// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/environment.h"

#include "app/noteprefetch.h"
#include "app/notestore.h"
#include "app/settingsstore.h"
#include "platform/clock.h"
#include "platform/commondialog.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "shell/buildinfo.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace penwick {

Environment Environment::system()
{
    Environment env;
    env.dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Penwick");
    env.docFolder = installedDocFolder();
    env.lockFolder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    env.settings = std::make_shared<IniSettingsStore>(IniSettingsStore::defaultFileName());
    env.prompter = std::make_shared<QtPrompter>();
    env.clock = std::make_shared<SystemClock>();
    env.shell = std::make_shared<DesktopShell>();
    env.dialogs = std::make_shared<QtCommonDialog>();
    env.handleTerminationSignals = true;
    env.endProgramOnUnload = true;
    env.notePrefetch = std::make_shared<NotePrefetch>(env.notePlace().readPath);
    return env;
}

QString Environment::programFolderPath() const
{
    QString folder
        = programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

NotePlace Environment::notePlace() const
{
    return locateNote(programFolderPath(), dataFolder, isWritable ? isWritable : isWritableFolder);
}

} // namespace penwick
