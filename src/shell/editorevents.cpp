// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/richtextbox.h"
#include "shell/frmnotes.h"
#include "shell/toolbar.h"

#include <QAction>

namespace penwick {
namespace {

constexpr int vbKeyBack = 8;
constexpr int vbKeyEscape = 27;
constexpr int vbKeyZ = 90;
constexpr int vbCtrlMask = 2;
constexpr int vbAltMask = 4;

int pressedIf(bool on)
{
    return on ? 1 : 0;
}

} // namespace

void frmNotes::connectEditorEvents()
{
    connect(rtfNotes, &RichTextBox::Change, this, &frmNotes::rtfNotes_Change);
    connect(rtfNotes, &RichTextBox::KeyDown, this, &frmNotes::rtfNotes_KeyDown);
    connect(rtfNotes, &RichTextBox::SelChange, this, &frmNotes::rtfNotes_SelChange);
    connect(rtfNotes, &RichTextBox::MouseDown, this, &frmNotes::rtfNotes_MouseDown);
}

// The first edit makes Undo available; nothing takes it away again.
void frmNotes::rtfNotes_Change()
{
    menuItem(QStringLiteral("mnuUndo"))->setEnabled(true);
    emit popupUndoEnabled(true);
}

void frmNotes::rtfNotes_KeyDown(int& KeyCode, int& Shift)
{
    // Escape with any modifiers sends the window to the tray.
    if (KeyCode == vbKeyEscape)
        mnuFHide_Click();
    // Ctrl+Z with any other modifiers runs the Undo command. The editor must not see the key as
    // well, or one press would undo two steps.
    if ((Shift & vbCtrlMask) && KeyCode == vbKeyZ) {
        mnuUndo_Click();
        KeyCode = 0;
    }
    // Alt+Backspace is the Bullet command's, though some desktops make it the editor's undo
    // too: then it reaches the editor instead of the menu.
    if ((Shift & 7) == vbAltMask && KeyCode == vbKeyBack) {
        mnuBullet_Click();
        KeyCode = 0;
    }
}

// Runs on every caret move: each read below is answered from the editor's format index, so the
// cost does not grow with the size of the selection.
void frmNotes::rtfNotes_SelChange()
{
    const TriState bullet = rtfNotes->SelBullet();
    chkBullet = !bullet ? 2 : *bullet ? 1 : 0;

    const auto show = [this](const char* key, bool pressed) {
        if (ToolbarButton* button = Toolbar->Buttons(QLatin1String(key)))
            button->setValue(pressedIf(pressed));
    };
    show("Bold", rtfNotes->SelBold() == true);
    show("Italic", rtfNotes->SelItalic() == true);
    show("Underline", rtfNotes->SelUnderline() == true);
    // A mixed alignment leaves all three up.
    const std::optional<int> alignment = rtfNotes->SelAlignment();
    show("Align Left", alignment == 0);
    show("Align Right", alignment == 1);
    show("Center", alignment == 2);
    show("Bullet", bullet == true);

    // A selection holds text exactly when it is not empty (a paragraph mark or a picture counts
    // as a character), so its length answers without copying a large selection out.
    const bool hasText = rtfNotes->SelLength() > 0;
    for (const char* key : { "Cut", "Copy" }) {
        if (ToolbarButton* button = Toolbar->Buttons(QLatin1String(key)))
            button->setEnabled(hasText);
    }
    menuItem(QStringLiteral("mnuCut"))->setEnabled(hasText);
    menuItem(QStringLiteral("mnuCopy"))->setEnabled(hasText);
    emit popupCutCopyEnabled(hasText);
}

} // namespace penwick
