// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/shell.h"

#include <QDesktopServices>
#include <QProcess>

namespace penwick {

bool DesktopShell::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool DesktopShell::startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

} // namespace penwick
