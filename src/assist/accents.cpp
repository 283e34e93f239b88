#include "assist/accents.h"

#include "editor/multi_highlighter.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace Assist {

namespace {

constexpr const char *kNames[95] = {
    "&iexcl;",  "&cent;",   "&pound;",  "&curren;", "&yen;",    "&brvbar;", "&sect;",   "&uml;",
    "&copy;",   "&ordf;",   "&laquo;",  "&not;",    "&shy;",    "&reg;",    "&macr;",   "&deg;",
    "&plusmn;", "&sup2;",   "&sup3;",   "&acute;",  "&micro;",  "&para;",   "&middot;", "&cedil;",
    "&sup1;",   "&ordm;",   "&raquo;",  "&frac14;", "&frac12;", "&frac34;", "&iquest;", "&Agrave;",
    "&Aacute;", "&Acirc;",  "&Atilde;", "&Auml;",   "&Aring;",  "&AElig;",  "&Ccedil;", "&Egrave;",
    "&Eacute;", "&Ecirc;",  "&Euml;",   "&Igrave;", "&Iacute;", "&Icirc;",  "&Iuml;",   "&ETH;",
    "&Ntilde;", "&Ograve;", "&Oacute;", "&Ocirc;",  "&Otilde;", "&Ouml;",   "&times;",  "&Oslash;",
    "&Ugrave;", "&Uacute;", "&Ucirc;",  "&Uuml;",   "&Yacute;", "&THORN;",  "&szlig;",  "&agrave;",
    "&aacute;", "&acirc;",  "&atilde;", "&auml;",   "&aring;",  "&aelig;",  "&ccedil;", "&egrave;",
    "&eacute;", "&ecirc;",  "&euml;",   "&igrave;", "&iacute;", "&icirc;",  "&iuml;",   "&eth;",
    "&ntilde;", "&ograve;", "&oacute;", "&ocirc;",  "&otilde;", "&ouml;",   "&divide;", "&oslash;",
    "&ugrave;", "&uacute;", "&ucirc;",  "&uuml;",   "&yacute;", "&thorn;",  "&yuml;"};

// Numeric references live in static storage so rows can point at them.
struct Tables {
    std::array<AccentRow, 97> rows{};
    std::array<std::string, 97> numeric;
    std::array<const AccentRow *, 256> byLatin1{};
    // Reference text without "&" and ";" -> row.
    std::unordered_map<std::string_view, const AccentRow *> named;
    std::unordered_map<int, const AccentRow *> byCode;

    Tables() {
        for (int i = 0; i < 97; ++i) {
            const int code = i < 95 ? 161 + i : (i == 95 ? 0x153 : 0x152);
            numeric[size_t(i)] = "&#" + std::to_string(code) + ";";
            const char *name = i < 95 ? kNames[i] : (i == 95 ? "&oelig;" : "&OElig;");
            rows[size_t(i)] = {char16_t(code), numeric[size_t(i)].c_str(), name};
        }
        for (const AccentRow &r : rows) {
            if (r.character < 256) byLatin1[r.character] = &r;
            const std::string_view n(r.named);
            named.emplace(n.substr(1, n.size() - 2), &r);
            byCode.emplace(int(r.character), &r);
        }
    }
};

const Tables &tables() {
    static const Tables t;
    return t;
}

void appendUtf8(QByteArray &out, char16_t c) {
    if (c < 0x80) {
        out.append(char(c));
    } else if (c < 0x800) {
        out.append(char(0xC0 | (c >> 6)));
        out.append(char(0x80 | (c & 0x3F)));
    } else {
        out.append(char(0xE0 | (c >> 12)));
        out.append(char(0x80 | ((c >> 6) & 0x3F)));
        out.append(char(0x80 | (c & 0x3F)));
    }
}

// The row of the reference starting at s[0] == '&' within s[0, n), and its length.
const AccentRow *referenceAt(const char *s, qsizetype n, qsizetype *length) {
    const Tables &t = tables();
    // The longest table reference is "&Ccedil;"/"&middot;": 8 bytes.
    const qsizetype limit = std::min<qsizetype>(n, 9);
    qsizetype semi = 1;
    while (semi < limit && s[semi] != ';' && s[semi] != '&')
        ++semi;
    if (semi >= limit || s[semi] != ';' || semi < 3) return nullptr;
    *length = semi + 1;
    if (s[1] == '#') {
        // Only the exact decimal form: no leading zero, no hexadecimal.
        if (s[2] == '0') return nullptr;
        int code = 0;
        for (qsizetype i = 2; i < semi; ++i) {
            if (s[i] < '0' || s[i] > '9') return nullptr;
            code = code * 10 + (s[i] - '0');
        }
        const auto it = t.byCode.find(code);
        return it == t.byCode.end() ? nullptr : it->second;
    }
    const auto it = t.named.find(std::string_view(s + 1, size_t(semi - 1)));
    return it == t.named.end() ? nullptr : it->second;
}

// The row of a Windows-1252 byte: the code page agrees with Latin-1 from 0xA0 on,
// and holds the two ligatures at 0x8C and 0x9C.
const AccentRow *rowOfByte(const Tables &t, unsigned char b) {
    if (b == 0x8C) return &t.rows[96];
    if (b == 0x9C) return &t.rows[95];
    return t.byLatin1[b];
}

void appendReference(QByteArray &out, const AccentRow *row, bool named) {
    const char *text = named ? row->named : row->numeric;
    out.append(text, qsizetype(std::char_traits<char>::length(text)));
}

char byteOf(const AccentRow *row) {
    if (row->character == 0x152) return char(0x8C);
    if (row->character == 0x153) return char(0x9C);
    return char(row->character);
}

// Converts one span that lies outside every region; returns the replacements made.
qsizetype convertSpan(const char *s, qsizetype from, qsizetype to, AccentDirection direction,
                      bool named, bool singleByte, QByteArray &out) {
    const Tables &t = tables();
    qsizetype run = from;
    qsizetype i = from;
    qsizetype replaced = 0;
    if (direction == AccentDirection::ToReferences && singleByte) {
        while (i < to) {
            while (i + 8 <= to) {
                quint64 word;
                std::memcpy(&word, s + i, 8);
                if (word & 0x8080808080808080ULL) break;
                i += 8;
            }
            if (i >= to) break;
            const AccentRow *row = rowOfByte(t, static_cast<unsigned char>(s[i]));
            if (!row) {
                ++i;
                continue;
            }
            out.append(s + run, i - run);
            appendReference(out, row, named);
            ++replaced;
            run = ++i;
        }
    } else if (direction == AccentDirection::ToReferences) {
        while (i < to) {
            // Skip ASCII eight bytes at a time.
            while (i + 8 <= to) {
                quint64 word;
                std::memcpy(&word, s + i, 8);
                if (word & 0x8080808080808080ULL) break;
                i += 8;
            }
            if (i >= to) break;
            const unsigned char c = static_cast<unsigned char>(s[i]);
            if (c < 0xC2 || i + 1 >= to) {
                ++i;
                continue;
            }
            const unsigned char c2 = static_cast<unsigned char>(s[i + 1]);
            const AccentRow *row = nullptr;
            if (c == 0xC2 || c == 0xC3)
                row = t.byLatin1[((c & 0x03) << 6) | (c2 & 0x3F)];
            else if (c == 0xC5 && (c2 == 0x92 || c2 == 0x93))
                row = t.byCode.at(c2 == 0x92 ? 0x152 : 0x153);
            if (!row || (c2 & 0xC0) != 0x80) {
                ++i;
                continue;
            }
            out.append(s + run, i - run);
            appendReference(out, row, named);
            ++replaced;
            i += 2;
            run = i;
        }
    } else {
        while (i < to) {
            const void *amp = std::memchr(s + i, '&', size_t(to - i));
            if (!amp) break;
            i = static_cast<const char *>(amp) - s;
            qsizetype length = 0;
            const AccentRow *row = referenceAt(s + i, to - i, &length);
            if (!row) {
                ++i;
                continue;
            }
            out.append(s + run, i - run);
            if (singleByte)
                out.append(byteOf(row));
            else
                appendUtf8(out, row->character);
            ++replaced;
            i += length;
            run = i;
        }
    }
    out.append(s + run, to - run);
    return replaced;
}

} // namespace

const std::array<AccentRow, 97> &AccentTable() {
    return tables().rows;
}

const AccentRow *AccentRowOf(char16_t c) {
    const Tables &t = tables();
    if (c < 256) return t.byLatin1[c];
    const auto it = t.byCode.find(int(c));
    return it == t.byCode.end() ? nullptr : it->second;
}

QString TypedCharacterReference(char16_t c, bool named) {
    if (c < 161 || c > 255) return {};
    const AccentRow *row = AccentRowOf(c);
    return QString::fromLatin1(named ? row->named : row->numeric);
}

std::vector<std::pair<qsizetype, qsizetype>> RawTextRegions::find(const char *s, qsizetype size,
                                                                  bool markers) const {
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    if (!m_page) return spans;
    int scheme = -1;
    qsizetype regionStart = 0;
    qsizetype lineStart = 0;
    while (lineStart < size) {
        if (scheme < 0) {
            // Straight to the line where a region may start.
            const qsizetype at = m_page->nextRegionLiteral(s, lineStart, size);
            if (at >= size) break;
            for (qsizetype b = at; b > lineStart; --b)
                if (s[b - 1] == '\n' || s[b - 1] == '\r') {
                    lineStart = b;
                    break;
                }
        }
        // Region markers are matched within one line, as the colouring does.
        qsizetype lineEnd = lineStart;
        while (lineEnd < size && s[lineEnd] != '\n' && s[lineEnd] != '\r')
            ++lineEnd;
        const char *line = s + lineStart;
        const int length = int(lineEnd - lineStart);
        int p = 0;
        while (p <= length) {
            int ms = 0, me = 0;
            if (scheme < 0) {
                if (!m_page->findRegionStart(line, p, length, &scheme, &ms, &me)) {
                    scheme = -1;
                    break;
                }
                regionStart = lineStart + (markers ? ms : me);
            } else {
                if (!m_page->findRegionEnd(scheme, line, p, length, &ms, &me)) break;
                spans.emplace_back(regionStart, lineStart + (markers ? me : ms));
                scheme = -1;
            }
            p = me;
        }
        lineStart = lineEnd;
        if (lineStart < size && s[lineStart] == '\r') ++lineStart;
        if (lineStart < size && s[lineStart] == '\n') ++lineStart;
    }
    if (scheme >= 0) spans.emplace_back(regionStart, size);
    return spans;
}

qsizetype AppendConvertedAccents(const char *s, qsizetype from, qsizetype to,
                                 AccentDirection direction, bool named, bool singleByte,
                                 const std::vector<std::pair<qsizetype, qsizetype>> &spans,
                                 QByteArray &out) {
    qsizetype replaced = 0;
    qsizetype p = from;
    // The first region that ends after `from`.
    auto it = std::upper_bound(spans.begin(), spans.end(), from,
                               [](qsizetype v, const auto &span) { return v < span.second; });
    for (; it != spans.end() && p < to; ++it) {
        const auto [b, e] = *it;
        if (b >= to) break;
        if (b > p) replaced += convertSpan(s, p, b, direction, named, singleByte, out);
        const qsizetype keepFrom = std::max(p, b);
        out.append(s + keepFrom, std::min(e, to) - keepFrom);
        p = std::min(e, to);
    }
    if (p < to) replaced += convertSpan(s, p, to, direction, named, singleByte, out);
    return replaced;
}

QByteArray ConvertAccents(const char *s, qsizetype size, qsizetype from, qsizetype to,
                          AccentDirection direction, bool named, const RawTextRegions &regions) {
    QByteArray out;
    out.reserve((to - from) + (to - from) / 8 + 16);
    AppendConvertedAccents(s, from, to, direction, named, false, regions.find(s, to), out);
    Q_UNUSED(size);
    return out;
}

} // namespace Assist
