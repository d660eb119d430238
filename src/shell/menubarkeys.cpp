// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/menubarkeys.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcutEvent>

namespace penwick {
namespace {

// The letter key of an Alt+letter access key, or of a letter typed on the bar (an open menu passes
// on the letters none of its items takes).
Qt::Key letterOf(const QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        const auto* shortcut = static_cast<const QShortcutEvent*>(event);
        if (!shortcut->isAmbiguous() || shortcut->key().count() != 1
            || shortcut->key()[0].keyboardModifiers() != Qt::AltModifier)
            return Qt::Key_unknown;
        return shortcut->key()[0].key();
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* press = static_cast<const QKeyEvent*>(event);
        if ((press->modifiers() & ~Qt::AltModifier) == Qt::NoModifier && press->text().size() == 1)
            return Qt::Key(press->key());
    }
    return Qt::Key_unknown;
}

} // namespace

SharedAccessKeys::SharedAccessKeys(QMenuBar* bar)
    : QObject(bar)
    , m_bar(bar)
{
    bar->installEventFilter(this);
}

bool SharedAccessKeys::eventFilter(QObject* watched, QEvent* event)
{
    const Qt::Key letter = watched == m_bar ? letterOf(event) : Qt::Key_unknown;
    if (letter == Qt::Key_unknown)
        return false;
    QList<QAction*> sharing;
    for (QAction* action : m_bar->actions()) {
        if (action->menu() && action->isVisible() && action->isEnabled()
            && QKeySequence::mnemonic(action->text()) == QKeySequence(Qt::ALT | letter))
            sharing << action;
    }
    if (sharing.size() < 2)
        return false;
    // With no menu open the first menu with the letter opens; with one of them open, the next.
    // (A letter typed in an open menu that none of its items takes comes here too; the bar's own
    // search does not move on while a menu is open.)
    QAction* current = m_bar->activeAction();
    const bool menuOpen = current && current->menu() && current->menu()->isVisible();
    const qsizetype at = menuOpen ? sharing.indexOf(current) : -1;
    QAction* next = sharing.at(at < 0 ? 0 : (at + 1) % sharing.size());
    m_bar->setActiveAction(next);
    // As when a menu is opened from the keyboard, its first item is chosen (a submenu stays shut).
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(next->menu(), &down);
    return true;
}

} // namespace penwick
