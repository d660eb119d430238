// SPDX-License-Identifier: GPL-2.0-or-later
#include "autosave/frmauto.h"
#include "platform/prompter.h"
#include "shell/frmnotes.h"

#include <QCheckBox>
#include <QDir>
#include <QTimer>

namespace penwick {

frmAuto& frmNotes::autoSaveDialog()
{
    if (!m_auto)
        m_auto = new frmAuto(*this);
    return *m_auto;
}

// Unloaded: the next touch makes it afresh from the store. It goes once nothing uses it any
// more (a modal run of it may still be returning).
void frmNotes::unloadAutoSaveDialog()
{
    if (frmAuto* dialog = std::exchange(m_auto, nullptr)) {
        dialog->hide();
        dialog->deleteLater();
    }
}

void frmNotes::mnuAutoSave_Click()
{
    showOwnedDialog(autoSaveDialog());
    unloadAutoSaveDialog();
}

// Once a minute: a save every AutoSaveMinutes ticks. After a save that failed, every tick tries
// again until one works.
void frmNotes::tmrAuto_Timer()
{
    if (!autoSaveDialog().chkAuto->isChecked())
        tmrAuto->stop();
    if (Module.AutoSaveMinutes == 1) {
        m_saver->save(NoteSaver::Auto);
    } else if (Module.AutoSaveCount != Module.AutoSaveMinutes) {
        ++Module.AutoSaveCount;
        if (m_autoSaveFailing)
            m_saver->save(NoteSaver::Auto);
    } else {
        m_saver->save(NoteSaver::Auto);
        Module.AutoSaveCount = 1;
    }
}

void frmNotes::finishSaving()
{
    m_saver->finish();
}

// A save the user asked for that fails says so every time. An auto-save that fails says so once;
// the next ones try again silently, and only a failure after a save that worked speaks again.
// The note stays in the window either way, and closing the program rescues it.
void frmNotes::noteSaved(NoteSaver::Kind kind, bool ok, const QString& error)
{
    if (ok) {
        m_autoSaveFailing = false;
        return;
    }
    const QString note = QDir::toNativeSeparators(m_notePath);
    if (kind == NoteSaver::Command) {
        m_env.prompter->MsgBox(this,
            tr("The note could not be saved to %1.\n\n%2\n\nThe previous version of the file is "
               "unchanged.")
                .arg(note, error),
            MsgIcon::Critical);
        return;
    }
    if (std::exchange(m_autoSaveFailing, true))
        return;
    m_env.prompter->MsgBox(this,
        tr("Auto Save could not save the note to %1.\n\n%2\n\nYour note is kept in the window and "
           "the previous version of the file is unchanged. Auto Save tries again every minute "
           "and tells you again only if it fails after saving once more.")
            .arg(note, error),
        MsgIcon::Warning);
}

} // namespace penwick
