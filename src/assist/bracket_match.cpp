#include "assist/bracket_match.h"

namespace Brackets {

int highlightedBracket(qsizetype caret, bool hasSelection,
                       const std::function<char(qsizetype)> &charAt,
                       const std::function<bool(qsizetype)> &isLoneSymbol) {
    if (hasSelection) return -1;
    const char before = caret > 0 ? charAt(caret - 1) : 0;
    const char after = charAt(caret);
    qsizetype pos;
    if (inSet(after))
        pos = caret;
    else if (inSet(before))
        pos = caret - 1;
    else
        return -1;
    if (!isPaired(charAt(pos)) || !isLoneSymbol(pos)) return -1;
    return int(pos);
}

qsizetype findPartner(const char *text, qsizetype low, qsizetype high, qsizetype position,
                      const std::function<bool(qsizetype)> &counts) {
    if (position < low || position >= high) return -1;
    const char first = text[position - low];
    const char *pairs = "()[]{}";
    const char *at = isPaired(first) ? std::strchr(pairs, first) : nullptr;
    if (!at) return -1;
    const bool forward = (at - pairs) % 2 == 0;
    const char partner = forward ? at[1] : at[-1];
    const qsizetype step = forward ? 1 : -1;
    int depth = 1;
    for (qsizetype p = position + step; p >= low && p < high; p += step) {
        const char c = text[p - low];
        if ((c != first && c != partner) || !counts(p)) continue;
        depth += c == first ? 1 : -1;
        if (depth == 0) return p;
    }
    return -1;
}

} // namespace Brackets
