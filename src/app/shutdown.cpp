// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/notestore.h"
#include "app/settingsconvert.h"
#include "app/settingsstore.h"
#include "autosave/frmauto.h"
#include "platform/clock.h"
#include "platform/prompter.h"
#include "platform/richtextbox.h"
#include "platform/singleinstance.h"
#include "platform/twips.h"
#include "shell/frmnotes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>

namespace penwick {

// Saving runs between events and on a thread of its own, so that a long note does not hold up
// the window; what went wrong is told when it ends.
void frmNotes::mnuSave_Click()
{
    m_saver->save(NoteSaver::Command);
}

void frmNotes::mnuExit_Click()
{
    close();
}
void frmNotes::mnuTExit_Click()
{
    close();
}

void frmNotes::endSession()
{
    m_closingByUser = false;
    close();
}

// Shut-down: the note, then the options, then the geometry of the normal window. Each step
// stands alone; one that fails does not stop the next.
void frmNotes::Form_QueryUnload()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    SettingsStore& settings = *m_env.settings;
    const auto mark = [this](const char* item) {
        return fromBoolean(menuItem(QLatin1String(item))->isChecked());
    };

    // 1. The note. When its file cannot be written the edits go to a rescue file instead. A save
    // still running would end after this one, with older text: it is waited for.
    m_saver->cancel();
    QString error;
    if (!saveNote(*rtfNotes, m_notePath, &error)) {
        QString rescueError;
        const QString rescued
            = rescueNote(*rtfNotes, m_env.dataFolder, m_env.clock->now(), &rescueError);
        if (m_closingByUser) {
            const QString note = QDir::toNativeSeparators(m_notePath);
            m_env.prompter->MsgBox(this,
                rescued.isEmpty()
                    ? tr("The note could not be saved to %1 (%2), nor to a rescue file (%3).")
                          .arg(note, error, rescueError)
                    : tr("The note could not be saved to %1 (%2).\n\nYour text was saved to:\n%3")
                          .arg(note, error, QDir::toNativeSeparators(rescued)),
                MsgIcon::Critical);
        }
    }

    // 2. The options, in this order.
    settings.Write(
        QStringLiteral("BG"), QString::number(static_cast<std::int32_t>(rtfNotes->BackColor())));
    settings.Write(QStringLiteral("OnTop"), mark("mnuOnTop"));
    settings.Write(QStringLiteral("Startup"), mark("mnuStartup"));
    settings.Write(QStringLiteral("Toolbar"), mark("mnuToolbar"));
    settings.Write(QStringLiteral("Flat Toolbar"), mark("mnuFlatTool"));
    settings.Write(QStringLiteral("Word Wrap"), mark("mnuWrap"));
    const auto [autoSave, autoSaveText] = autoSaveValues();
    settings.Write(QStringLiteral("AutoSave"), autoSave);
    settings.Write(QStringLiteral("AutoSaveText"), autoSaveText);
    settings.Write(QStringLiteral("RememberSize"), mark("mnuRememberSize"));
    settings.Write(QStringLiteral("RememberPos"), mark("mnuRememberPos"));

    // 3. Hidden, then normal, so that the geometry written is the normal window's.
    const QRect outer = normalOuterGeometry();
    hide();
    setWindowState(
        windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));

    // 4.
    const Twips t = Twips::forScreenOf(this);
    if (menuItem(QStringLiteral("mnuRememberSize"))->isChecked()) {
        settings.Write(QStringLiteral("Width"), fromSingle(float(t.toTwipsX(outer.width()))));
        settings.Write(QStringLiteral("Height"), fromSingle(float(t.toTwipsY(outer.height()))));
    }
    if (menuItem(QStringLiteral("mnuRememberPos"))->isChecked()) {
        settings.Write(QStringLiteral("Left"), fromSingle(float(t.toTwipsX(outer.x()))));
        settings.Write(QStringLiteral("Top"), fromSingle(float(t.toTwipsY(outer.y()))));
    }
    settings.Flush();

    // 5.
    unloadAutoSaveDialog();
}

void frmNotes::Form_Unload()
{
    if (picTray)
        picTray->hide();
    m_instance->release();
    // Ending the loop also stops any loop started later: only the running program does it.
    if (m_env.endProgramOnUnload)
        QCoreApplication::exit(0);
}

// The outer rectangle of the window in its normal state, in pixels.
QRect frmNotes::normalOuterGeometry() const
{
    if (windowStateValue() != vbNormal && m_normalOuter.isValid())
        return m_normalOuter;
    QRect outer = geometry().marginsAdded(frameMargins());
    if (m_pendingOuterSize)
        outer.setSize(*m_pendingOuterSize);
    return outer;
}

// The auto-save dialog's choice. Loading the dialog reads the stored one, so an unchanged choice
// is written back unchanged; one left unconfirmed in the open dialog is dropped, as by Cancel.
std::pair<QString, QString> frmNotes::autoSaveValues()
{
    frmAuto& dialog = autoSaveDialog();
    if (dialog.isVisible())
        dialog.cmdCancel_Click();
    return { QString::number(dialog.checkValue()), dialog.txtAuto->text() };
}

} // namespace penwick
