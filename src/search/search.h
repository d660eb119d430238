// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <vector>

class QWidget;

namespace penwick {

class Prompter;
class RichTextBox;

struct SearchOptions
{
    bool matchCase = false;
    bool wholeWord = true;
    bool up = false; // backward, towards the start of the note
};

// Where the next match of `needle` in `text` begins, or -1. Down: the first match that begins at
// or after `from`. Up: the last one that ends at or before `from`. A whole-word match is not
// joined to a letter, digit or underscore on a side where the needle itself ends in one.
qsizetype findInText(
    QStringView text, QStringView needle, qsizetype from, const SearchOptions& options);
// Whether a match of `needle` begins at `at` in `text`.
bool matchesAt(QStringView text, QStringView needle, qsizetype at, const SearchOptions& options);

// Searches the note from the selection: down from its end (the caret when nothing is
// selected), up from its start. Selects the match and returns where it begins, or -1.
int findNext(RichTextBox& editor, const QString& needle, const SearchOptions& options);
// findNext, and "Word not found." in a message box when there is no match.
bool findNextOrSay(RichTextBox& editor, const QString& needle, const SearchOptions& options,
    Prompter& prompter, QWidget* owner);

// Whether the selection is exactly one match of `needle`.
bool selectionMatches(
    const RichTextBox& editor, const QString& needle, const SearchOptions& options);
// Every match in the note, from the start, none overlapping: where each begins.
std::vector<int> allMatches(
    const RichTextBox& editor, const QString& needle, const SearchOptions& options);
// Replaces every match by `replacement` as one step to undo, and returns how many there were.
// The replacements themselves are never searched, so this ends for every input.
int replaceAll(RichTextBox& editor, const QString& needle, const QString& replacement,
    const SearchOptions& options);

// The message that reports a Replace All.
QString replacedMessage(int count);

} // namespace penwick
