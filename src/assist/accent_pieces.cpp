#include "assist/accent_pieces.h"

#include <algorithm>

namespace Assist {

QList<QByteArray> ConvertAccentPieces(const char *s, qsizetype size,
                                      const QList<std::pair<qsizetype, qsizetype>> &pieces,
                                      AccentDirection direction, bool named,
                                      const RawTextRegions &regions) {
    QList<QByteArray> out;
    out.reserve(pieces.size());
    qsizetype last = 0;
    for (const auto &[from, to] : pieces)
        last = std::max(last, to);
    const auto spans = regions.find(s, last);
    size_t k = 0; // the first region that does not end before the piece
    for (const auto &[from, to] : pieces) {
        while (k < spans.size() && spans[k].second <= from)
            ++k;
        QByteArray bytes;
        qsizetype p = from;
        for (size_t j = k; j < spans.size() && spans[j].first < to; ++j) {
            const auto [b, e] = spans[j];
            // Outside the regions, each stretch alone: no region to look for there.
            if (b > p) bytes += ConvertAccents(s, size, p, b, direction, named);
            const qsizetype keepFrom = std::max(p, b), keepTo = std::min(e, to);
            bytes.append(s + keepFrom, keepTo - keepFrom);
            p = keepTo;
        }
        if (p < to) bytes += ConvertAccents(s, size, p, to, direction, named);
        out << bytes;
    }
    return out;
}

} // namespace Assist
