// SPDX-License-Identifier: GPL-2.0-or-later
#include "commands/stampcommands.h"

#include "platform/richtextbox.h"

#include <QAction>

namespace penwick {

void refreshStampCaptions(
    const std::function<QAction*(const char* name)>& item, const QDateTime& now)
{
    for (const StampItem& stamp : StampItems) {
        if (QAction* action = item(stamp.name))
            action->setText(StampText(stamp.stamp, now));
    }
}

void insertStamp(RichTextBox& editor, Stamp stamp, const QDateTime& now)
{
    editor.setSelText(StampText(stamp, now));
}

} // namespace penwick
