#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

class MultiHighlighter;

namespace Assist {

// One row of the accent table: the character, its numeric and its named reference.
struct AccentRow {
    char16_t character;
    const char *numeric; // "&#233;"
    const char *named;   // "&eacute;"
};

// The 97 rows: codes 161 to 255 in order, then the ligatures oe and OE.
const std::array<AccentRow, 97> &AccentTable();

// The row of a character, or nullptr when the table does not hold it.
const AccentRow *AccentRowOf(char16_t c);

// The reference typed for a character while converting as one types, or an empty
// string when the character goes through unchanged (outside 161..255).
QString TypedCharacterReference(char16_t c, bool named);

// Where a page's script and style regions are, as the page highlighter finds them.
// Entities mean nothing there (a browser shows them literally), so the conversions
// leave those regions alone.
class RawTextRegions {
public:
    // No regions: every byte is converted.
    RawTextRegions() = default;
    explicit RawTextRegions(const MultiHighlighter *pageHighlighter) : m_page(pageHighlighter) {}

    // Byte spans [begin, end) of region content in utf8[0, size), in order; with
    // `markers`, each span takes in the region's start and end markers too.
    std::vector<std::pair<qsizetype, qsizetype>> find(const char *utf8, qsizetype size,
                                                      bool markers = false) const;

private:
    const MultiHighlighter *m_page = nullptr;
};

enum class AccentDirection { ToReferences, ToCharacters };

// Converts utf8[from, to) in one pass and returns the converted bytes. To references:
// each table character becomes its named (or numeric) reference. To characters: each
// named reference, then each numeric one of the table, becomes its character; other
// references ("&nbsp;", "&#xE9;", "&#0233;") stay. Bytes inside the regions stay.
QByteArray ConvertAccents(const char *utf8, qsizetype size, qsizetype from, qsizetype to,
                          AccentDirection direction, bool named,
                          const RawTextRegions &regions = {});

// The same conversion appended to `out`, for the text s[from, to) of a larger
// text whose regions are `spans` (RawTextRegions::find, in the larger text's
// offsets). `singleByte`: the text is Windows-1252 bytes rather than UTF-8.
// Returns how many characters or references were replaced.
qsizetype AppendConvertedAccents(const char *s, qsizetype from, qsizetype to,
                                 AccentDirection direction, bool named, bool singleByte,
                                 const std::vector<std::pair<qsizetype, qsizetype>> &spans,
                                 QByteArray &out);

inline QByteArray ConvertAccents(const QByteArray &utf8, AccentDirection direction, bool named,
                                 const RawTextRegions &regions = {}) {
    return ConvertAccents(utf8.constData(), utf8.size(), 0, utf8.size(), direction, named, regions);
}

} // namespace Assist
