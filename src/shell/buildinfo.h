// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

namespace penwick {

// The maker's addresses the About box shows; an empty one is left out. The tips are second
// addresses, shown when the pointer rests on the first.
struct MakerAddresses
{
    QString web;
    QString webTip;
    QString email;
    QString emailTip;
};

// As chosen when the program was built.
MakerAddresses builtMakerAddresses();
// The folder the documentation is installed to.
QString installedDocFolder();

} // namespace penwick
