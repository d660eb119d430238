// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/frmnotes.h"

#include <QAction>

namespace penwick {
namespace {
void toggle(QAction* item)
{
    item->setChecked(!item->isChecked());
}
} // namespace

// These three only flip their mark: it is read at the next start and written at shut-down.
void frmNotes::mnuStartup_Click()
{
    toggle(menuItem(QStringLiteral("mnuStartup")));
}
void frmNotes::mnuRememberPos_Click()
{
    toggle(menuItem(QStringLiteral("mnuRememberPos")));
}
void frmNotes::mnuRememberSize_Click()
{
    toggle(menuItem(QStringLiteral("mnuRememberSize")));
}

void frmNotes::mnuDefaults_Click()
{
    menuItem(QStringLiteral("mnuStartup"))->setChecked(false);
    menuItem(QStringLiteral("mnuOnTop"))->setChecked(false);
    // A maximized or minimized window refuses a new size; that step is skipped.
    setWindowWidth(6225);
    setWindowHeight(5235);
}

} // namespace penwick
