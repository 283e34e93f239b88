#include "assist/text_search.h"

#include <QChar>
#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {
inline bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The code point at pos and the offset after it (bad bytes read as themselves).
char32_t decodeAt(const char *data, qsizetype len, qsizetype pos, qsizetype *next) {
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const unsigned char c = p[pos];
    int n = 0;
    char32_t cp = c;
    if (c >= 0xF0) {
        n = 3;
        cp = c & 0x07;
    } else if (c >= 0xE0) {
        n = 2;
        cp = c & 0x0F;
    } else if (c >= 0xC0) {
        n = 1;
        cp = c & 0x1F;
    }
    if (n && pos + n >= len) {
        *next = pos + 1;
        return c;
    }
    for (int i = 1; i <= n; ++i) {
        if (!isContinuation(p[pos + i])) {
            *next = pos + 1;
            return c;
        }
        cp = (cp << 6) | (p[pos + i] & 0x3F);
    }
    *next = pos + n + 1;
    return cp;
}

// The code point that ends just before pos.
char32_t decodeBefore(const char *data, qsizetype len, qsizetype pos) {
    qsizetype start = pos - 1;
    while (start > 0 && pos - start < 4 && isContinuation(static_cast<unsigned char>(data[start])))
        --start;
    qsizetype next;
    return decodeAt(data, len, start, &next);
}

bool isWordChar(char32_t c) {
    return c == U'_' || QChar::isLetterOrNumber(c);
}

// The last place of a byte in a range (memrchr where the C library has it).
const void *lastByte(const char *data, unsigned char c, size_t n) {
#ifdef __GLIBC__
    return memrchr(data, c, n);
#else
    for (size_t i = n; i > 0; --i) {
        if (static_cast<unsigned char>(data[i - 1]) == c) return data + i - 1;
    }
    return nullptr;
#endif
}

// How common a byte is in web pages, from 0 (rare) up: the search looks for the rarest
// byte of the pattern first.
int commonness(unsigned char c, bool caseSensitive) {
    static const char order[] = "zqjxkwyvbfghpmcdulsrhntioae=\"/<> ";
    if (c >= 'A' && c <= 'Z' && !caseSensitive) c = c - 'A' + 'a';
    for (int i = 0; order[i]; ++i) {
        if (order[i] == char(c)) return i + 2;
    }
    if (c == '\r' || c == '\n' || c == '\t' || c == '.' || c == ',') return 30;
    return c >= 0x80 ? 1 : 0;
}

} // namespace

bool TextSearch::prepare(const QString &pattern, const MatchRules &rules, QString *error) {
    m_rules = rules;
    m_valid = false;
    m_pattern.clear();
    m_mapped.clear();
    m_folded.clear();
    m_needsFold = false;
    m_ascii = false;
    if (pattern.isEmpty()) return true;
    if (rules.regularExpression) {
        m_valid = m_regex.setPattern(pattern, rules.caseSensitive, error);
        return m_valid;
    }

    m_pattern = pattern.toUtf8();
    m_ascii = std::all_of(m_pattern.cbegin(), m_pattern.cend(),
                          [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    for (int c = 0; c < 256; ++c) {
        unsigned char v = static_cast<unsigned char>(c);
        if (!rules.caseSensitive) {
            if (v >= 'A' && v <= 'Z')
                v = v - 'A' + 'a';
            else if (v >= 0x80)
                v = 0x80; // letters beyond ASCII are compared exactly once found
        }
        m_map[c] = v;
    }
    m_mapped.resize(m_pattern.size());
    for (qsizetype i = 0; i < m_pattern.size(); ++i)
        m_mapped[i] = char(m_map[static_cast<unsigned char>(m_pattern[i])]);
    if (!rules.caseSensitive) {
        for (char c : m_pattern)
            m_needsFold = m_needsFold || static_cast<unsigned char>(c) >= 0x80;
        if (m_needsFold) {
            for (char32_t c : pattern.toUcs4())
                m_folded << QChar::toCaseFolded(c);
        }
    }
    const qsizetype m = m_mapped.size();
    m_skipForward.fill(m);
    m_skipBackward.fill(m);
    for (qsizetype i = 0; i + 1 < m; ++i)
        m_skipForward[static_cast<unsigned char>(m_mapped[i])] = m - 1 - i;
    for (qsizetype i = m - 1; i >= 1; --i)
        m_skipBackward[static_cast<unsigned char>(m_mapped[i])] = i;
    m_rare = -1;
    int best = 1000;
    for (qsizetype i = 0; i < m; ++i) {
        const auto c = static_cast<unsigned char>(m_pattern[i]);
        if (c >= 0x80 && !rules.caseSensitive)
            continue; // letters beyond ASCII have other bytes in the other case
        const int score = commonness(c, rules.caseSensitive);
        if (score < best) {
            best = score;
            m_rare = i;
        }
    }
    // The second byte compared beside the rare one: the next rarest elsewhere in the
    // pattern, another byte than the first where one is as good.
    m_pair = false;
    if (m_rare >= 0) {
        qsizetype second = -1;
        int secondBest = 1000;
        for (qsizetype i = 0; i < m; ++i) {
            const auto c = static_cast<unsigned char>(m_pattern[i]);
            if (i == m_rare || (c >= 0x80 && !rules.caseSensitive)) continue;
            const int score =
                commonness(c, rules.caseSensitive) + (m_mapped[i] == m_mapped[m_rare] ? 100 : 0);
            if (score < secondBest) {
                secondBest = score;
                second = i;
            }
        }
        if (second >= 0) {
            m_pair = true;
            const qsizetype at[2] = {m_rare, second};
            for (int k = 0; k < 2; ++k) {
                const auto c = static_cast<unsigned char>(m_mapped[at[k]]);
                const bool letter = !rules.caseSensitive && c >= 'a' && c <= 'z';
                m_pairAt[k] = at[k];
                m_pairOr[k] = letter ? 0x20 : 0;
                m_pairWant[k] = c;
            }
        }
    }
    if (m_rare >= 0) {
        const auto c = static_cast<unsigned char>(m_pattern[m_rare]);
        m_rareLower = m_rareUpper = c;
        if (!rules.caseSensitive && c >= 'a' && c <= 'z')
            m_rareUpper = c - 'a' + 'A';
        else if (!rules.caseSensitive && c >= 'A' && c <= 'Z')
            m_rareLower = c - 'A' + 'a';
    }
    m_valid = true;
    return true;
}

bool TextSearch::literalAt(const char *data, qsizetype len, qsizetype pos, qsizetype limit,
                           qsizetype *end) const {
    if (!m_needsFold) {
        *end = pos + m_mapped.size();
        return *end <= limit; // the mapped bytes already matched exactly
    }
    if (isContinuation(static_cast<unsigned char>(data[pos]))) return false;
    qsizetype p = pos;
    for (char32_t want : m_folded) {
        if (p >= limit) return false;
        qsizetype next;
        const char32_t got = decodeAt(data, len, p, &next);
        if (QChar::toCaseFolded(got) != want) return false;
        p = next;
    }
    *end = p;
    return p <= limit;
}

bool TextSearch::wordBoundaries(const char *data, qsizetype len, qsizetype start,
                                qsizetype end) const {
    if (!m_rules.wholeWords) return true;
    if (start > 0 && isWordChar(decodeBefore(data, len, start))) return false;
    qsizetype next;
    if (end < len && isWordChar(decodeAt(data, len, end, &next))) return false;
    return true;
}

TextMatch TextSearch::fromRegex(LineRegex::Match &&m) {
    return {m.start, m.end, std::move(m.captures)};
}

TextMatch TextSearch::findForward(const char *data, qsizetype len, qsizetype from,
                                  qsizetype limit) const {
    limit = std::min(limit, len);
    if (!m_valid || from < 0 || from >= limit) return {};
    if (m_rules.regularExpression)
        return fromRegex(m_regex.first(data, from, limit, [&](qsizetype s, qsizetype e) {
            return e > s && wordBoundaries(data, len, s, e);
        }));
    const qsizetype m = m_mapped.size();
    const auto *text = reinterpret_cast<const unsigned char *>(data);
    const auto *pat = reinterpret_cast<const unsigned char *>(m_mapped.constData());
    qsizetype pos = from;
    const qsizetype last = limit - m;
    if (m_rare >= 0) {
        // Candidates are the places of the rare byte, in either case, found with memchr in
        // windows, so the case that is absent costs no scan to the end of the text. When
        // they come thick (the byte is not rare in this text), two bytes compared sixteen
        // places at a time take over: memchr is then called for little.
        constexpr qsizetype kWindow = 4096;
        constexpr int kDenseCheck = 16;          // candidates between two looks at the rate
        constexpr qsizetype kDenseBytes = 256;   // fewer bytes than this per candidate: thick
        const qsizetype end = last + m_rare + 1; // the rare byte's last possible place
        qsizetype at = pos + m_rare;
        const qsizetype firstAt = at;
        int misses = 0;
        while (at < end) {
            const qsizetype windowEnd = std::min(end, at + kWindow);
            const void *lo = memchr(data + at, m_rareLower, size_t(windowEnd - at));
            const qsizetype loAt = lo ? static_cast<const char *>(lo) - data : windowEnd;
            const void *up = m_rareUpper == m_rareLower
                                 ? nullptr
                                 : memchr(data + at, m_rareUpper, size_t(loAt - at));
            const qsizetype cand = up ? static_cast<const char *>(up) - data : loAt;
            if (cand == windowEnd) {
                at = windowEnd;
                continue;
            }
            const qsizetype p = cand - m_rare;
            qsizetype j = 0;
            while (j < m && m_map[text[p + j]] == pat[j])
                ++j;
            qsizetype e;
            if (j == m && literalAt(data, len, p, limit, &e) && wordBoundaries(data, len, p, e))
                return {p, e, {}};
            if (m_pair && ++misses % kDenseCheck == 0 && cand - firstAt < misses * kDenseBytes)
                return findPair(data, len, p + 1, limit);
            at = cand + 1;
        }
        return {};
    }
    while (pos <= last) {
        qsizetype j = m - 1;
        while (j >= 0 && m_map[text[pos + j]] == pat[j])
            --j;
        if (j < 0) {
            qsizetype end;
            if (literalAt(data, len, pos, limit, &end) && wordBoundaries(data, len, pos, end))
                return {pos, end, {}};
            ++pos;
            continue;
        }
        pos += m_skipForward[m_map[text[pos + m - 1]]];
    }
    return {};
}

TextMatch TextSearch::findPair(const char *data, qsizetype len, qsizetype from,
                               qsizetype limit) const {
    const qsizetype m = m_mapped.size();
    const auto *text = reinterpret_cast<const unsigned char *>(data);
    const auto *pat = reinterpret_cast<const unsigned char *>(m_mapped.constData());
    const qsizetype last = limit - m; // the last place a match may start
    const qsizetype a = m_pairAt[0];
    const qsizetype b = m_pairAt[1];
    // A place whose two bytes suit: the whole pattern is compared there.
    const auto verify = [&](qsizetype p, qsizetype *end) {
        qsizetype j = 0;
        while (j < m && m_map[text[p + j]] == pat[j])
            ++j;
        return j == m && literalAt(data, len, p, limit, end) && wordBoundaries(data, len, p, *end);
    };
    qsizetype p = from;
#ifdef __SSE2__
    // Sixteen places at a time; the bytes read stay before 'limit', as the places do.
    const __m128i orA = _mm_set1_epi8(char(m_pairOr[0]));
    const __m128i wantA = _mm_set1_epi8(char(m_pairWant[0]));
    const __m128i orB = _mm_set1_epi8(char(m_pairOr[1]));
    const __m128i wantB = _mm_set1_epi8(char(m_pairWant[1]));
    for (; p + 15 <= last; p += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + p + a));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + p + b));
        unsigned hits =
            unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(x, orA), wantA),
                                                     _mm_cmpeq_epi8(_mm_or_si128(y, orB), wantB))));
        while (hits) {
            const qsizetype at = p + __builtin_ctz(hits);
            qsizetype end;
            if (verify(at, &end)) return {at, end, {}};
            hits &= hits - 1;
        }
    }
#endif
    for (; p <= last; ++p) {
        if ((text[p + a] | m_pairOr[0]) != m_pairWant[0] ||
            (text[p + b] | m_pairOr[1]) != m_pairWant[1])
            continue;
        qsizetype end;
        if (verify(p, &end)) return {p, end, {}};
    }
    return {};
}

void TextSearch::forEachMatch(const char *data, qsizetype len,
                              const std::function<bool(qsizetype, qsizetype)> &visit) const {
    if (!m_valid) return;
    if (m_rules.regularExpression) {
        m_regex.forEachSpan(data, 0, len, [&](qsizetype s, qsizetype e) {
            return !wordBoundaries(data, len, s, e) || visit(s, e);
        });
        return;
    }
    for (qsizetype pos = 0; pos < len;) {
        const TextMatch m = findForward(data, len, pos, len);
        if (!m.found() || !visit(m.start, m.end)) return;
        pos = m.end;
    }
}

TextMatch TextSearch::findBackward(const char *data, qsizetype len, qsizetype from,
                                   qsizetype lower) const {
    from = std::min(from, len);
    lower = std::max<qsizetype>(lower, 0);
    if (!m_valid || from <= lower) return {};
    if (m_rules.regularExpression)
        return fromRegex(m_regex.last(data, from, lower, [&](qsizetype s, qsizetype e) {
            return e > s && wordBoundaries(data, len, s, e);
        }));
    const qsizetype m = m_mapped.size();
    const auto *text = reinterpret_cast<const unsigned char *>(data);
    const auto *pat = reinterpret_cast<const unsigned char *>(m_mapped.constData());
    qsizetype pos = from - m;
    if (m_rare >= 0 && pos >= lower) {
        // Backwards, the places of the rare byte come from memrchr, in windows too.
        constexpr qsizetype kWindow = 4096;
        const qsizetype begin = lower + m_rare; // the rare byte's first possible place
        qsizetype at = pos + m_rare;            // the last place still to look at
        while (at >= begin) {
            const qsizetype windowStart = std::max(begin, at - kWindow + 1);
            const void *lo =
                lastByte(data + windowStart, m_rareLower, size_t(at - windowStart + 1));
            const qsizetype loAt = lo ? static_cast<const char *>(lo) - data : windowStart - 1;
            const void *up = m_rareUpper == m_rareLower
                                 ? nullptr
                                 : lastByte(data + loAt + 1, m_rareUpper, size_t(at - loAt));
            const qsizetype cand = up ? static_cast<const char *>(up) - data : loAt;
            if (cand < windowStart) {
                at = windowStart - 1;
                continue;
            }
            const qsizetype p = cand - m_rare;
            qsizetype j = 0;
            while (j < m && m_map[text[p + j]] == pat[j])
                ++j;
            qsizetype e;
            if (j == m && literalAt(data, len, p, from, &e) && wordBoundaries(data, len, p, e))
                return {p, e, {}};
            at = cand - 1;
        }
        return {};
    }
    while (pos >= lower) {
        qsizetype j = 0;
        while (j < m && m_map[text[pos + j]] == pat[j])
            ++j;
        if (j == m) {
            qsizetype end;
            if (literalAt(data, len, pos, from, &end) && wordBoundaries(data, len, pos, end))
                return {pos, end, {}};
            --pos;
            continue;
        }
        pos -= m_skipBackward[m_map[text[pos]]];
    }
    return {};
}

QString TextSearch::replacementFor(const TextMatch &m, const QString &replacement,
                                   const QString &eol) const {
    if (!m_rules.regularExpression) return replacement;
    QString out;
    out.reserve(replacement.size());
    for (qsizetype i = 0; i < replacement.size(); ++i) {
        const QChar c = replacement[i];
        if (c != QLatin1Char('\\') || i + 1 == replacement.size()) {
            out += c;
            continue;
        }
        const QChar n = replacement[++i];
        if (n.isDigit() && n.unicode() < 0x80)
            out += m.captures.value(n.unicode() - '0');
        else if (n == QLatin1Char('n'))
            out += eol;
        else if (n == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (n == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        else
            out += c, out += n;
    }
    return out;
}

QList<Replacement> TextSearch::replacements(const char *data, qsizetype len, qsizetype from,
                                            qsizetype to, const QString &replacement,
                                            const QString &eol) const {
    QList<Replacement> out;
    to = std::min(to, len);
    if (!m_valid || from >= to) return out;
    if (!m_rules.regularExpression) {
        const QByteArray rep = replacement.toUtf8(); // shared by every match
        for (qsizetype pos = from;;) {
            const TextMatch m = findForward(data, len, pos, to);
            if (!m.found()) break;
            out.append({m.start, m.end, rep});
            pos = m.end;
        }
        return out;
    }
    m_regex.forEach(data, from, to, [&](const LineRegex::Match &m) {
        if (wordBoundaries(data, len, m.start, m.end))
            out.append({m.start, m.end,
                        replacementFor({m.start, m.end, m.captures}, replacement, eol).toUtf8()});
        return true;
    });
    return out;
}
