// SPDX-License-Identifier: GPL-2.0-or-later
#include "harness/programtest.h"
#include "platform/richtextbox.h"
#include "shell/toolbar.h"

namespace penwick::test {
namespace {

using Layout = ProgramTest;

TEST_F(Layout, TheEditorFillsTheClientAreaBelowTheToolbarBand)
{
    frmNotes& w = start();
    for (const QSize size : { QSize(500, 400), QSize(300, 250), QSize(900, 700) }) {
        w.resize(size);
        const QRect client = w.centralWidget()->rect();
        EXPECT_EQ(w.rtfNotes->geometry(),
            QRect(0, w.Toolbar->height(), client.width(), client.height() - w.Toolbar->height()))
            << size.width();
        EXPECT_EQ(w.Toolbar->geometry().top(), 0);
        EXPECT_EQ(w.Toolbar->width(), client.width());
    }
    // Hidden toolbar: the editor starts at the top.
    w.Toolbar->hide();
    w.Form_Resize();
    EXPECT_EQ(w.rtfNotes->geometry(), w.centralWidget()->rect());
    // The band's height is read afresh on every call.
    w.Toolbar->show();
    w.Toolbar->setFixedHeight(57);
    w.Form_Resize();
    EXPECT_EQ(w.rtfNotes->geometry().top(), 57);
}

TEST_F(Layout, LastWindowStateFollowsNormalAndMaximizedOnly)
{
    frmNotes& w = start();
    EXPECT_EQ(w.LastWindowState, vbNormal);
    w.showMaximized();
    EXPECT_EQ(w.LastWindowState, vbMaximized);
    w.showMinimized();
    EXPECT_EQ(w.LastWindowState, vbMaximized); // a minimized state leaves it
    w.showNormal();
    EXPECT_EQ(w.LastWindowState, vbNormal);
}

} // namespace
} // namespace penwick::test
