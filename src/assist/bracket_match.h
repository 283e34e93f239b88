#pragma once

#include <QtGlobal>

#include <cstring>
#include <functional>

// Which bracket beside the caret is highlighted with its partner. The partner
// itself is found by the editor's own brace matching, which skips brackets of
// another style (strings, comments).
namespace Brackets {

// The brackets looked at around the caret; angle brackets stop the look-up.
inline bool inSet(char c) {
    return c != 0 && std::strchr("()[]{}<>", c) != nullptr;
}
// The brackets that are paired.
inline bool isPaired(char c) {
    return c != 0 && std::strchr("()[]{}", c) != nullptr;
}

// The position of the bracket to highlight for a caret at `caret` (a position
// between characters), or -1. The bracket right of the caret is preferred; it
// must be a lone symbol token (not in a string, comment or longer token).
// `charAt` gives the character at a position (0 outside the text).
int highlightedBracket(qsizetype caret, bool hasSelection,
                       const std::function<char(qsizetype)> &charAt,
                       const std::function<bool(qsizetype)> &isLoneSymbol);

} // namespace Brackets
