// SPDX-License-Identifier: GPL-2.0-or-later
#include "commands/paraformat.h"

#include "platform/richtextbox.h"

namespace penwick::paraformat {

void align(RichTextBox& editor, Alignment alignment, bool toggle)
{
    if (toggle && alignment != Left && editor.SelAlignment() == int(alignment))
        editor.setSelAlignment(int(Left));
    else
        editor.setSelAlignment(int(alignment));
}

std::int16_t bulletSnapshot(const RichTextBox& editor)
{
    const TriState bullet = editor.SelBullet();
    return !bullet ? 2 : *bullet ? 1 : 0;
}

void toggleBullets(RichTextBox& editor, std::int16_t& chkBullet)
{
    chkBullet = bulletSnapshot(editor);
    editor.setSelBullet(chkBullet == 0);
}

} // namespace penwick::paraformat
