// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QKeyCombination>
#include <span>

namespace penwick {

class frmNotes;
class frmMenu;

// One row of the editor's popup menu: nesting level (0 = the popup itself), name, caption ("-"
// is a separator), the shortcut shown beside the item, and what it runs. Most items run the main
// window's command of the same purpose, the very same function (`twin`); the few that behave
// differently from their menu-bar twin run a handler of the popup's own (`own`). A submenu's
// handler runs each time the submenu opens.
struct PopupRow
{
    int level;
    const char* name;
    const char* caption;
    QKeyCombination shortcut;
    void (frmNotes::*twin)();
    void (frmMenu::*own)();
};

std::span<const PopupRow> popupRows();

} // namespace penwick
