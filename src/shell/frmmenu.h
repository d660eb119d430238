// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QPoint>

class QAction;
class QMenu;

namespace penwick {

class frmNotes;

// The holder of the editor's popup menu. It is never shown; its items act on the main window.
class frmMenu : public QObject
{
    Q_OBJECT
public:
    explicit frmMenu(frmNotes& main);

    // The popup, which is owned by the main window so that it opens as the window's own.
    QMenu* mnuPopup = nullptr;

    // Opens the popup with its left edge at `globalPos`; either mouse button chooses an item.
    void popup(QPoint globalPos);

    // Items that differ from their menu-bar twins.
    void mnuInsert_Click();
    void mnuTimeD_Click();
    void mnuLeft_Click();
    void mnuCenter_Click();
    void mnuRight_Click();

    // An item or submenu by its name ("mnuCut"); null for an unknown name.
    QAction* item(const QString& name) const;
    QMenu* submenu(const QString& name) const;

private:
    void build();
    void refreshStamps();

    frmNotes& m_main;
    QHash<QString, QAction*> m_items;
    QHash<QString, QMenu*> m_menus;
};

} // namespace penwick
