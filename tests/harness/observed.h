// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "harness/testenv.h"
#include "platform/richtextbox.h"
#include "shell/frmnotes.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QStringList>
#include <iterator>
#include <utility>
#include <vector>

namespace penwick::test {

// What the user can see of the window and the note, field by field, and of the dialogs,
// messages and addresses opened.
class Observed
{
public:
    Observed(frmNotes& w, TestEnvironment& env)
    {
        const RichTextBox& e = *w.rtfNotes;
        const auto tri = [](auto v) { return v ? QString::number(*v) : QStringLiteral("?"); };
        const QWidget* popup = QApplication::activePopupWidget();
        QStringList windows; // the program's other windows
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            if (window != &w && window->isVisible() && window->windowType() != Qt::Popup)
                windows << window->objectName();
        }
        m_fields = { { "text", e.Text() },
            { "selection", QStringLiteral("%1+%2").arg(e.SelStart()).arg(e.SelLength()) },
            { "bold", tri(e.SelBold()) }, { "italic", tri(e.SelItalic()) },
            { "underline", tri(e.SelUnderline()) }, { "strike", tri(e.SelStrikeThru()) },
            { "size", tri(e.SelFontSize()) }, { "bullet", tri(e.SelBullet()) },
            { "align", tri(e.SelAlignment()) }, { "menu", popup ? popup->objectName() : QString() },
            { "window", windows.join(u',') }, { "clipboard", QApplication::clipboard()->text() },
            { "saved", QString::number(QFile::exists(env.notePath())) } };
        for (const auto& shown : env.dialogs->shown())
            m_events[0] << QStringLiteral("dialog=") + shown.values.DialogTitle;
        for (const auto& shown : env.prompter->shown())
            m_events[1] << QStringLiteral("message=") + shown.prompt;
        for (const QUrl& url : env.shell->opened())
            m_events[2] << QStringLiteral("open=")
                    + (url.isLocalFile() ? url.fileName() : url.toString());
    }

    // The fields that differ from `before`, and what was shown since, as "field=value".
    QString changedSince(const Observed& before) const
    {
        QStringList changes;
        for (size_t i = 0; i < m_fields.size(); ++i) {
            if (before.m_fields[i].second != m_fields[i].second)
                changes << QLatin1String(m_fields[i].first) + u'=' + m_fields[i].second;
        }
        for (size_t i = 0; i < std::size(m_events); ++i)
            changes << m_events[i].mid(before.m_events[i].size());
        return changes.join(u' ');
    }

private:
    std::vector<std::pair<const char*, QString>> m_fields;
    QStringList m_events[3]; // dialogs, messages and addresses, each in the order shown
};

} // namespace penwick::test
