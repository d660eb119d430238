// SPDX-License-Identifier: GPL-2.0-or-later
#include "search/search.h"

#include "platform/prompter.h"
#include "platform/richtextbox.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace penwick {
namespace {

char32_t codePointAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[i + 1]);
    return c.unicode();
}

char32_t codePointBefore(QStringView text, qsizetype i)
{
    const QChar c = text[i - 1];
    if (c.isLowSurrogate() && i >= 2 && text[i - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[i - 2], c);
    return c.unicode();
}

bool isWordCharacter(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::isMark(c) || c == u'_';
}

// The word test of one needle: an edge of the needle that is part of a word must not run on
// into more of a word in the text; a needle that begins or ends in a blank or a stop is found
// wherever it stands.
class WholeWord
{
public:
    WholeWord(QStringView needle, bool wholeWord)
        : m_start(wholeWord && isWordCharacter(codePointAt(needle, 0)))
        , m_end(wholeWord && isWordCharacter(codePointBefore(needle, needle.size())))
        , m_length(needle.size())
    { }
    bool at(QStringView text, qsizetype i) const
    {
        const qsizetype end = i + m_length;
        return (!m_start || i == 0 || !isWordCharacter(codePointBefore(text, i)))
            && (!m_end || end == text.size() || !isWordCharacter(codePointAt(text, end)));
    }

private:
    bool m_start;
    bool m_end;
    qsizetype m_length;
};

Qt::CaseSensitivity caseOf(const SearchOptions& options)
{
    return options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

void select(RichTextBox& editor, int start, int length)
{
    QTextCursor c(editor.document());
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    editor.setTextCursor(c);
}

} // namespace

qsizetype findInText(
    QStringView text, QStringView needle, qsizetype from, const SearchOptions& options)
{
    const qsizetype length = needle.size();
    if (length == 0 || length > text.size())
        return -1;
    const WholeWord whole(needle, options.wholeWord);
    const Qt::CaseSensitivity cs = caseOf(options);
    if (!options.up) {
        for (qsizetype i = std::max<qsizetype>(from, 0); (i = text.indexOf(needle, i, cs)) >= 0;
             ++i) {
            if (whole.at(text, i))
                return i;
        }
        return -1;
    }
    // lastIndexOf() reads a negative start as counted from the end: stop before one.
    for (qsizetype i = std::min(from, text.size()) - length;
         i >= 0 && (i = text.lastIndexOf(needle, i, cs)) >= 0; --i) {
        if (whole.at(text, i))
            return i;
    }
    return -1;
}

bool matchesAt(QStringView text, QStringView needle, qsizetype at, const SearchOptions& options)
{
    if (needle.isEmpty() || at < 0 || at + needle.size() > text.size())
        return false;
    return text.mid(at, needle.size()).compare(needle, caseOf(options)) == 0
        && WholeWord(needle, options.wholeWord).at(text, at);
}

// A match never spans a paragraph break (the needle holds none), so the note is searched a
// paragraph at a time, without copying the whole text.
int findNext(RichTextBox& editor, const QString& needle, const SearchOptions& options)
{
    if (needle.isEmpty())
        return -1;
    const QTextCursor selection = editor.textCursor();
    const QTextDocument& document = *editor.document();
    int found = -1;
    if (!options.up) {
        const int from = selection.selectionEnd();
        for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
            const qsizetype at = findInText(block.text(), needle, from - block.position(), options);
            if (at >= 0) {
                found = block.position() + int(at);
                break;
            }
        }
    } else {
        const int from = selection.selectionStart();
        for (QTextBlock block = document.findBlock(from); block.isValid();
             block = block.previous()) {
            const QString text = block.text();
            const qsizetype at = findInText(
                text, needle, std::min<qsizetype>(from - block.position(), text.size()), options);
            if (at >= 0) {
                found = block.position() + int(at);
                break;
            }
        }
    }
    if (found >= 0)
        select(editor, found, int(needle.size()));
    return found;
}

bool findNextOrSay(RichTextBox& editor, const QString& needle, const SearchOptions& options,
    Prompter& prompter, QWidget* owner)
{
    if (findNext(editor, needle, options) >= 0)
        return true;
    prompter.MsgBox(owner, QStringLiteral("Word not found."), MsgIcon::None, MsgButtons::Ok);
    return false;
}

bool selectionMatches(
    const RichTextBox& editor, const QString& needle, const SearchOptions& options)
{
    const QTextCursor selection = editor.textCursor();
    const int start = selection.selectionStart();
    if (needle.isEmpty() || selection.selectionEnd() - start != needle.size())
        return false;
    const QTextBlock block = editor.document()->findBlock(start);
    return matchesAt(block.text(), needle, start - block.position(), options);
}

std::vector<int> allMatches(
    const RichTextBox& editor, const QString& needle, const SearchOptions& options)
{
    std::vector<int> starts;
    if (needle.isEmpty())
        return starts;
    SearchOptions down = options;
    down.up = false;
    for (QTextBlock block = editor.document()->firstBlock(); block.isValid();
         block = block.next()) {
        const QString text = block.text();
        for (qsizetype at = 0; (at = findInText(text, needle, at, down)) >= 0; at += needle.size())
            starts.push_back(block.position() + int(at));
    }
    return starts;
}

int replaceAll(RichTextBox& editor, const QString& needle, const QString& replacement,
    const SearchOptions& options)
{
    const std::vector<int> starts = allMatches(editor, needle, options);
    if (!starts.empty())
        editor.ReplaceEach(starts, int(needle.size()), replacement);
    return int(starts.size());
}

QString replacedMessage(int count)
{
    return count == 1 ? QStringLiteral("1 occurrence replaced.")
                      : QStringLiteral("%1 occurrences replaced.").arg(count);
}

} // namespace penwick
