// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// The note both programs show: about `units` characters of prose in paragraphs of 60 words,
// with (`formatted`) a bold or italic word every few words; the same every time.
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>

inline void generateNote(QTextDocument& document, int units, bool formatted = true)
{
    static const char* words[] = { "note", "penwick", "morning", "remember", "the", "milk",
        "meeting", "with", "garden", "letters", "and", "quietly", "window", "tray", "rich" };
    QRandomGenerator rng(42);
    QTextCursor c(&document);
    QTextCharFormat plain, bold, italic;
    bold.setFontWeight(QFont::Bold);
    italic.setFontItalic(true);
    int length = 0;
    c.beginEditBlock();
    while (length < units) {
        for (int w = 0; w < 60; ++w) {
            const QString word = QString::fromLatin1(words[rng.bounded(int(std::size(words)))]);
            const int pick = formatted ? int(rng.bounded(12)) : 2;
            c.insertText(word, pick == 0 ? bold : pick == 1 ? italic : plain);
            c.insertText(QStringLiteral(" "), plain);
            length += int(word.size()) + 1;
        }
        c.insertBlock();
        ++length;
    }
    c.endEditBlock();
}
