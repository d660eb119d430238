// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QKeyCombination>
#include <span>

namespace penwick {

class frmNotes;

// Shortcut spellings for the menu tables.
inline constexpr QKeyCombination none {};
constexpr QKeyCombination ctrl(Qt::Key key)
{
    return Qt::CTRL | key;
}

// Whether an item carries a check mark (an option) and its design-time state.
enum class MenuCheck { None, Unchecked, Checked };

// One row of the menu bar: nesting level (0 = a menu of the bar), name, caption ("-" is a
// separator), shortcut, check mark, and the handler. A handler on a submenu runs each time the
// submenu opens.
struct MenuRow
{
    int level;
    const char* name;
    const char* caption;
    QKeyCombination shortcut;
    MenuCheck check;
    void (frmNotes::*handler)();
};

std::span<const MenuRow> mainMenuRows();

} // namespace penwick
