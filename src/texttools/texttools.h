// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

namespace penwick {

// The selection tools' string routines. Each returns a new string and leaves its input alone.
// Lengths and positions count UTF-16 units, but a surrogate pair is never split: it moves, takes
// its case and gets its delimiters as one character.

// The longest result a tool builds (512 MB of text); beyond it, it leaves the text as it was.
inline constexpr qsizetype MaxToolResultLength = qsizetype(1) << 28;

// The characters in reverse order: "abc" gives "cba", "\r\n" gives "\n\r".
QString ReverseText(const QString& Text);

// Every run of spaces (code 32 only) cut to its first space; tabs, no-break spaces and line
// breaks stay and end a run.
QString RemoveExtraSpaces(const QString& Text);

// `Delimiter` between every two adjacent characters, never before the first or after the last.
// A result longer than MaxToolResultLength units leaves the text as it was.
QString DelimitText(const QString& Text, const QString& Delimiter);

// Lower and upper case by turns, the first character upper when `StartUpper`. Every UTF-16 unit
// uses up a turn, letters or not; a surrogate pair takes the case of its first unit's turn.
QString AlternateCaps(const QString& Text, bool StartUpper);

QString Lowercase(const QString& Text);
QString Uppercase(const QString& Text);

// The first character and every character after a word separator (NUL, tab, line feed, vertical
// tab, form feed, carriage return, space) upper case, all others lower case.
QString TitleCase(const QString& Text);

// Title Case that also starts a word after a hyphen or dash, after an opening bracket or opening
// quote, and after an apostrophe that follows a one-letter word ("o'neil-smith" gives
// "O'Neil-Smith"), except before the contraction endings s, t, d, m, ll, re, ve ("i'm" gives
// "I'm").
QString TrueProperCase(const QString& Text);

// The message of the Character Count command.
QString CharacterCountMessage(qsizetype selected, qsizetype entire);

} // namespace penwick
