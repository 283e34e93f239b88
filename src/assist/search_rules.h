#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

// The rules around searching that need no editor: histories, the proposed search
// text, the order tabs are visited in, where the confirmation goes, the line box,
// and the keys of the bookmarks.
namespace SearchRules {

constexpr int kHistorySize = 10;

// Puts a text at the top of a history: moved there if present, never empty, at most
// kHistorySize entries.
QStringList pushHistory(const QStringList &history, const QString &text);

// The text a search dialog proposes: a selection within one line, else the word at
// the caret, else the last search text.
QString proposedText(const QString &selection, const QString &wordAtCaret,
                     const QString &lastSearch);

// The tab after 'index' (before it when backwards), round the end.
int nextTab(int index, int count, bool backwards);

// Where the confirmation dialog goes, in screen pixels: 'area' is the main window's
// client area, 'match' the rectangle of the match's line (its left edge at the match).
QPoint confirmPlacement(const QRect &area, const QSize &dialog, const QRect &match);

// The go-to-line box.
QString lineLabel(int lineCount);
struct LineChoice {
    bool accepted = false; // false: beyond the last line
    int line = 1;          // the line to go to, from 1
};
// Any number of digits is read; a text that is not a number goes to line 1.
LineChoice parseLine(const QString &text, int lineCount);

// Messages.
QString notFoundMessage(const QString &searchText);
QString confirmMessage(const QString &searchText);
QString documentsLabel(bool replace, int count);

// A Ctrl+digit key as the bookmark it names (0 to 9), or -1. The physical key is
// read from the platform's key code where one is known ("xcb": X key codes 10 to 19;
// "windows": virtual keys '0' to '9'; "cocoa": the ANSI digit key codes), so a
// keyboard whose digits are shifted (French: & é " ' ( - è _ ç à) still works;
// without a platform code the character itself is read, digit or French symbol.
int bookmarkDigit(const QString &platform, quint32 scanCode, quint32 virtualKey, int qtKey,
                  const QString &text);

} // namespace SearchRules
