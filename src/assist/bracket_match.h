#pragma once

#include <QtGlobal>

#include <cstring>
#include <functional>

// Which bracket beside the caret is highlighted, and its partner.
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

// The partner of the paired bracket at `position`, or -1. The search runs
// forwards from an opening bracket, backwards from a closing one, and only
// within [low, high): `text` holds those bytes (text[0] is the byte at `low`).
// Each further bracket like the first counts one more, each partner one less;
// brackets for which `counts` is false (in a string or comment) are passed over.
qsizetype findPartner(const char *text, qsizetype low, qsizetype high, qsizetype position,
                      const std::function<bool(qsizetype)> &counts);

} // namespace Brackets
