// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windowsystem.h"

#include <QtGlobal>

namespace penwick {

void preferX11UnderWayland()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace penwick
