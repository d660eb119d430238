// SPDX-License-Identifier: GPL-2.0-or-later
#include "search/searchdialog.h"

#include "platform/richtextbox.h"
#include "shell/frmnotes.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcutEvent>

namespace penwick {

SearchDialog::SearchDialog(frmNotes& owner, const char* name, const QString& caption,
    double clientWidth, double clientHeight)
    : QDialog(&owner,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , m_owner(owner)
    , m_twips(Twips::forScreenOf(&owner))
{
    setObjectName(QLatin1String(name));
    setWindowTitle(caption);
    setModal(true);
    // The places below were laid out for this face and size; the nearest one present stands in.
    QFont face = font();
    face.setFamilies({ QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
        QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
        QStringLiteral("Helvetica") });
    face.setStyleHint(QFont::SansSerif);
    face.setPointSizeF(8.25);
    setFont(face);
    setFixedSize(
        m_twips.toPixelsX(clientWidth).value_or(0), m_twips.toPixelsY(clientHeight).value_or(0));
}

void SearchDialog::setUp(
    QWidget* control, const char* name, TwipsRect place, const QString& toolTip)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(m_twips.toPixelsX(place.left).value_or(0),
        m_twips.toPixelsY(place.top).value_or(0), m_twips.toPixelsX(place.width).value_or(0),
        m_twips.toPixelsY(place.height).value_or(0));
    control->setToolTip(toolTip);
    if (qobject_cast<QAbstractButton*>(control))
        control->installEventFilter(this);
}

bool SearchDialog::eventFilter(QObject* watched, QEvent* event)
{
    // An access key presses its button at once, as a click does, rather than after a moment of
    // showing it down: a second key pressed within that moment would be lost.
    if (event->type() == QEvent::Shortcut && !static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
        if (auto* button = qobject_cast<QAbstractButton*>(watched); button && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SearchDialog::preFill(QLineEdit& box) const
{
    QString text = m_owner.rtfNotes->SelText();
    // The box holds one line: a selection over several paragraphs gives its first.
    if (const qsizetype lineEnd = text.indexOf(u'\n'); lineEnd >= 0)
        text.truncate(lineEnd);
    box.setText(text.isEmpty() ? m_owner.Module.LastSearchText : text);
    box.selectAll();
}

bool SearchDialog::searchNote(const QString& text, const SearchOptions& options)
{
    return findNextOrSay(*m_owner.rtfNotes, text, options, *m_owner.environment().prompter, this);
}

void SearchDialog::rememberSearch(const QString& text, const SearchOptions& options)
{
    m_owner.Module.LastSearchText = text;
    m_owner.Module.LastSearchOptions = options;
}

bool SearchDialog::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        m_owner.ownedDialogActivated(this);
    return QDialog::event(event);
}

void SearchDialog::keyPressEvent(QKeyEvent* event)
{
    // Escape presses Cancel, with all it keeps; the close box only closes.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && m_cancelButton) {
        m_cancelButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SearchDialog::done(int result)
{
    m_owner.ownedDialogClosing(this);
    QDialog::done(result);
}

} // namespace penwick
