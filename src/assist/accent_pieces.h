#pragma once

#include "assist/accents.h"

#include <QList>

#include <utility>

namespace Assist {

// Converts several byte ranges of one text, given in text order and apart (the
// line pieces of a column selection), in one pass: the script and style regions
// are found once for all of them, not again from the start of the text for each
// piece. Returns each piece's converted bytes, in the same order.
QList<QByteArray> ConvertAccentPieces(const char *utf8, qsizetype size,
                                      const QList<std::pair<qsizetype, qsizetype>> &pieces,
                                      AccentDirection direction, bool named,
                                      const RawTextRegions &regions = {});

} // namespace Assist
