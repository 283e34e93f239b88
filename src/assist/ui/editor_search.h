#pragma once

#include "assist/text_search.h"

class TMyMwCustomEdit;

// Searching an editor's text in place and the ten bookmarks of a document, in the
// editor's own byte positions.
namespace EditorSearch {

struct Scope {
    qsizetype from = 0;
    qsizetype to = 0;
};
// The whole text, or the selection when asked and there is one.
Scope scopeOf(const TMyMwCustomEdit *e, bool selectionOnly);
qsizetype caretPos(const TMyMwCustomEdit *e);

// Finds from a position (forwards: a match starting there or after; backwards: one
// ending there or before) within the scope.
TextMatch find(const TMyMwCustomEdit *e, const TextSearch &search, qsizetype from, bool backwards,
               const Scope &scope);
// Selects a match with the caret at its end (at its start when backwards) and shows it.
void selectMatch(TMyMwCustomEdit *e, const TextMatch &m, bool backwards);
// The matched text.
QString matchedText(const TMyMwCustomEdit *e, const TextMatch &m);

// Replaces one match; returns the length of the inserted bytes.
qsizetype replaceMatch(TMyMwCustomEdit *e, const TextMatch &m, const QString &text);
// Replaces every match in [from, to) with one change of the text; returns the number of
// matches and moves *to by the change of length. Part of the caller's undo step if the
// caller opened one, otherwise one undo step of its own.
int replaceAll(TMyMwCustomEdit *e, const TextSearch &search, qsizetype from, qsizetype *to,
               const QString &replacement);

// The word at the caret, or an empty text.
QString wordAtCaret(const TMyMwCustomEdit *e);

} // namespace EditorSearch

// Ten numbered bookmarks per document, drawn as their digit in the editor's margin;
// each remembers its column.
namespace Bookmarks {
constexpr int kFirstMarker = 10; // markers 10 to 19 stand for bookmarks 0 to 9
// Sets bookmark n at the caret, or clears it when it is on the caret's line.
void toggle(TMyMwCustomEdit *e, int n);
// Moves the caret to bookmark n; false when it is not set.
bool go(TMyMwCustomEdit *e, int n);
void clearAll(TMyMwCustomEdit *e);
// The line (from 1) of bookmark n, 0 when not set; and its column (from 1).
int line(const TMyMwCustomEdit *e, int n);
int column(const TMyMwCustomEdit *e, int n);
} // namespace Bookmarks
