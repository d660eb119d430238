// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/ontop.h"

#include <QWidget>
#include <QWindow>

namespace penwick {
namespace {

void setStaysOnTop(QWidget* window, bool on)
{
    if (!window)
        return;
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (flags == window->windowFlags())
        return;
    // setWindowFlag() would re-create the native window (new id, unmapped, focus lost); telling
    // the existing native window instead only toggles its "above" state.
    window->overrideWindowFlags(flags);
    if (QWindow* handle = window->windowHandle())
        handle->setFlags(flags);
}

} // namespace

void SetWindowOnTop(QWidget* window)
{
    setStaysOnTop(window, true);
}

void SetWindowNotOnTop(QWidget* window)
{
    setStaysOnTop(window, false);
}

} // namespace penwick

#include "shell/frmnotes.h"

#include <QAction>
#include <QDialog>
#include <QTimer>

namespace penwick {

void frmNotes::mnuOnTop_Click()
{
    QAction* item = menuItem(QStringLiteral("mnuOnTop"));
    item->setChecked(!item->isChecked());
    applyOnTop();
}

void frmNotes::applyOnTop()
{
    if (menuItem(QStringLiteral("mnuOnTop"))->isChecked())
        SetWindowOnTop(this);
    else
        SetWindowNotOnTop(this);
}

void frmNotes::tmrOnTop_Timer()
{
    applyOnTop();
    tmrOnTop->stop();
}

int frmNotes::showOwnedDialog(QDialog& dialog)
{
    const bool onTop = menuItem(QStringLiteral("mnuOnTop"))->isChecked();
    if (onTop)
        SetWindowNotOnTop(this);
    if (dialog.parentWidget() != this)
        dialog.setParent(this, dialog.windowFlags());
    const int result = dialog.exec();
    if (onTop)
        SetWindowOnTop(this);
    return result;
}

void frmNotes::ownedDialogActivated(QWidget* dialog)
{
    if (menuItem(QStringLiteral("mnuOnTop"))->isChecked())
        SetWindowOnTop(dialog);
}

void frmNotes::ownedDialogClosing(QWidget* dialog)
{
    if (!menuItem(QStringLiteral("mnuOnTop"))->isChecked())
        return;
    SetWindowNotOnTop(dialog);
    tmrOnTop->start();
}

} // namespace penwick
