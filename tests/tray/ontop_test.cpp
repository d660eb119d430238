// SPDX-License-Identifier: GPL-2.0-or-later
#include "autosave/frmauto.h"
#include "harness/programtest.h"
#include "shell/ontop.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

namespace penwick::test {
namespace {

using OnTop = ProgramTest;

bool above(const QWidget* w)
{
    return w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)
        && w->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
}

// The flag changes on the window as it is: same native window, place and size, still shown.
TEST_F(OnTop, TheFlagChangesWithoutMovingOrRecreatingTheWindow)
{
    frmNotes& w = start();
    w.tmrOnTop_Timer();
    const WId id = w.winId();
    const QRect place = w.geometry();
    for (const bool on : { true, false, true }) {
        w.mnuOnTop_Click();
        EXPECT_EQ(above(&w), on);
        EXPECT_EQ(w.winId(), id);
        EXPECT_EQ(w.geometry(), place);
        EXPECT_TRUE(w.isVisible());
    }
    EXPECT_TRUE(restartWith().isVisible());
    EXPECT_TRUE(above(window.get()));
}

// Around a dialog: the main window lets go, the dialog takes over while open, and on closing
// the main window takes the flag back, then once more a moment later. With the option off
// nothing is touched.
TEST_F(OnTop, ADialogTakesTheFlagWhileItIsOpen)
{
    for (const bool on : { true, false }) {
        SCOPED_TRACE(on);
        frmNotes& w
            = restartWith({ { "OnTop", on ? QStringLiteral("True") : QStringLiteral("False") } });
        w.tmrOnTop_Timer();
        QStringList seen;
        QTimer::singleShot(0, &w, [&] {
            frmAuto& dialog = w.autoSaveDialog();
            QApplication::setActiveWindow(&dialog);
            seen << QStringLiteral("open: main %1 dialog %2").arg(above(&w)).arg(above(&dialog));
            dialog.cmdCancel->click();
            seen << QStringLiteral("closed: armed %1").arg(w.tmrOnTop->isActive());
        });
        w.mnuAutoSave_Click();
        seen << QStringLiteral("returned: main %1").arg(above(&w));
        w.tmrOnTop_Timer();
        seen << QStringLiteral("tick: main %1 armed %2").arg(above(&w)).arg(w.tmrOnTop->isActive());
        EXPECT_EQ(seen.join(u"; "),
            on ? u"open: main 0 dialog 1; closed: armed 1; returned: main 1; tick: main 1 armed 0"
               : u"open: main 0 dialog 0; closed: armed 0; returned: main 0; tick: main 0 armed 0");
    }
}

} // namespace
} // namespace penwick::test
