// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

namespace penwick {

class RichTextBox;

// Alignment and bullets of the paragraphs the selection touches.
namespace paraformat {

enum Alignment : int { Left = 0, Right = 1, Centre = 2 };

// Sets the alignment; with `toggle`, paragraphs already so aligned go back to the left (the
// menu bar's Center and Right do that, the popup's do not).
void align(RichTextBox& editor, Alignment alignment, bool toggle);

// Bullets on when the selection has none, else off (a mixed selection loses them all).
// `chkBullet` keeps the snapshot taken first: 0 none, 1 bulleted, 2 mixed.
void toggleBullets(RichTextBox& editor, std::int16_t& chkBullet);
std::int16_t bulletSnapshot(const RichTextBox& editor);

} // namespace paraformat
} // namespace penwick
