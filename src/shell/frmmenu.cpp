// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/frmmenu.h"

#include "commands/paraformat.h"
#include "commands/stampcommands.h"
#include "platform/clock.h"
#include "platform/richtextbox.h"
#include "platform/twips.h"
#include "shell/frmnotes.h"
#include "shell/popuptable.h"

#include <QAction>
#include <QMenu>

namespace penwick {

frmMenu::frmMenu(frmNotes& main)
    : QObject(&main)
    , m_main(main)
{
    setObjectName(QStringLiteral("frmMenu"));
    build();
    connect(
        &main, &frmNotes::popupUndoEnabled, item(QStringLiteral("mnuUndo")), &QAction::setEnabled);
    for (const char* name : { "mnuCut", "mnuCopy" })
        connect(
            &main, &frmNotes::popupCutCopyEnabled, item(QLatin1String(name)), &QAction::setEnabled);
}

void frmMenu::build()
{
    const auto rows = popupRows();
    QMenu* parents[4] = {};
    for (size_t i = 0; i < rows.size(); ++i) {
        const PopupRow& row = rows[i];
        const QString name = QString::fromLatin1(row.name);
        const QString caption = QString::fromUtf8(row.caption);
        const bool hasChildren = i + 1 < rows.size() && rows[i + 1].level > row.level;
        QAction* action = nullptr;
        if (row.level == 0 || hasChildren) {
            QMenu* menu = row.level == 0 ? new QMenu(caption, &m_main)
                                         : parents[row.level - 1]->addMenu(caption);
            menu->setObjectName(name);
            parents[row.level] = menu;
            m_menus.insert(name, menu);
            action = menu->menuAction();
            if (row.own)
                connect(menu, &QMenu::aboutToShow, this, row.own);
        } else if (caption == u"-") {
            action = parents[row.level - 1]->addSeparator();
        } else {
            action = parents[row.level - 1]->addAction(caption);
            // Shown beside the item only: the keys belong to the menu bar's twins, and a key
            // claimed twice would run neither.
            if (row.shortcut != QKeyCombination()) {
                action->setShortcut(QKeySequence(row.shortcut));
                action->setShortcutContext(Qt::WidgetShortcut);
            }
            if (row.twin)
                connect(action, &QAction::triggered, &m_main, row.twin);
            else if (row.own)
                connect(action, &QAction::triggered, this, row.own);
        }
        action->setObjectName(name);
        m_items.insert(name, action);
    }
    mnuPopup = parents[0];
}

QAction* frmMenu::item(const QString& name) const
{
    return m_items.value(name);
}

QMenu* frmMenu::submenu(const QString& name) const
{
    return m_menus.value(name);
}

void frmMenu::popup(QPoint globalPos)
{
    // Nothing follows the popup, so it need not hold up the mouse handler in a loop of its own.
    mnuPopup->popup(globalPos);
}

// The popup's own stamp items show the time of opening; typing goes on in the note.
void frmMenu::refreshStamps()
{
    refreshStampCaptions([this](const char* name) { return item(QLatin1String(name)); },
        m_main.environment().clock->now());
    m_main.rtfNotes->SetFocus();
}

void frmMenu::mnuInsert_Click()
{
    refreshStamps();
}
void frmMenu::mnuTimeD_Click()
{
    refreshStamps();
}

// Unlike the menu bar's, these set their alignment every time, never turning it back to left.
void frmMenu::mnuLeft_Click()
{
    paraformat::align(*m_main.rtfNotes, paraformat::Left, false);
}
void frmMenu::mnuCenter_Click()
{
    paraformat::align(*m_main.rtfNotes, paraformat::Centre, false);
}
void frmMenu::mnuRight_Click()
{
    paraformat::align(*m_main.rtfNotes, paraformat::Right, false);
}

// A right press opens the popup where it was pressed, whatever modifiers are held, and leaves
// the selection as it is: the chosen command acts on it.
void frmNotes::rtfNotes_MouseDown(int Button, int Shift, float X, float Y)
{
    Q_UNUSED(Shift);
    if (Button != 2)
        return;
    QWidget* surface = rtfNotes->viewport();
    const Twips t = Twips::forScreenOf(surface);
    const QPoint at(qRound(X / t.twipsPerPixelX), qRound(Y / t.twipsPerPixelY));
    menuForm->popup(surface->mapToGlobal(at));
}

} // namespace penwick
