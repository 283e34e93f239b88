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

} // namespace Brackets
