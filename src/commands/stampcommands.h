// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "commands/datestamps.h"

#include <functional>

class QAction;

namespace penwick {

class RichTextBox;

// Sets the captions of the seven stamp items to what each would insert at `now`.
void refreshStampCaptions(
    const std::function<QAction*(const char* name)>& item, const QDateTime& now);

// Inserts the stamp, built at `now`, in place of the selection.
void insertStamp(RichTextBox& editor, Stamp stamp, const QDateTime& now);

} // namespace penwick
