// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/buildinfo.h"

namespace penwick {

MakerAddresses builtMakerAddresses()
{
    return { QStringLiteral(PENWICK_WEB_ADDRESS), QStringLiteral(PENWICK_WEB_TIP),
        QStringLiteral(PENWICK_EMAIL_ADDRESS), QStringLiteral(PENWICK_EMAIL_TIP) };
}

QString installedDocFolder()
{
    return QStringLiteral(PENWICK_DOCDIR);
}

} // namespace penwick
