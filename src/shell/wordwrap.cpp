// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/richtextbox.h"
#include "shell/frmnotes.h"

#include <QAction>

namespace penwick {

void frmNotes::mnuWrap_Click()
{
    QAction* item = menuItem(QStringLiteral("mnuWrap"));
    item->setChecked(!item->isChecked());
    rtfNotes->setRightMargin(item->isChecked() ? 0 : 99999);
}

} // namespace penwick
