#include "editor/multi_highlighter.h"

#include "editor/scan_support.h"

#include <algorithm>
#include <cctype>
#include <cstring>

MultiHighlighter::MultiHighlighter(const Highlighter *defaultHighlighter,
                                   const QString &defaultLanguageName,
                                   const std::vector<RegionScheme> &schemes, QObject *parent)
    : Highlighter(Language::Marker, nullptr, 0, parent), m_default(defaultHighlighter),
      m_defaultLanguageName(defaultLanguageName) {
    for (const RegionScheme &s : schemes) {
        m_schemes.push_back(std::unique_ptr<CompiledScheme>(
            new CompiledScheme{s, RegionPattern(s.startExpression, s.caseSensitive),
                               RegionPattern(s.endExpression, s.caseSensitive)}));
        for (int c = 0; c < 256; ++c)
            m_startBytes[c] = m_startBytes[c] || m_schemes.back()->start.canStartWith(c);
        m_regionBits = std::max(m_regionBits, s.highlighter->stateBits());
    }
    while ((1u << m_schemeBits) <= schemes.size())
        ++m_schemeBits;
    m_defaultBits = m_default->stateBits();
    if (std::count(m_startBytes.begin(), m_startBytes.end(), true) == 1)
        m_startByte =
            int(std::find(m_startBytes.begin(), m_startBytes.end(), true) - m_startBytes.begin());
    for (const auto &cs : m_schemes) {
        const std::string run = cs->start.longestRequiredRun();
        const bool ci = !cs->start.caseSensitive();
        if (run.empty()) m_filterLines = false;
        const std::pair<std::string, bool> key{run, ci};
        if (std::find(m_startLiterals.begin(), m_startLiterals.end(), key) == m_startLiterals.end())
            m_startLiterals.push_back(key);
        if (run.empty()) continue;
        const unsigned char first = static_cast<unsigned char>(run[0]);
        m_literalFirstBytes[first] = true;
        if (ci) {
            m_literalFirstBytes[unsigned(std::tolower(first))] = true;
            m_literalFirstBytes[unsigned(std::toupper(first))] = true;
        }
    }
    m_literalPairs.assign(65536 / 64, 0);
    for (const auto &[literal, ci] : m_startLiterals) {
        if (literal.size() < 2) {
            m_literalPairs.clear();
            break;
        }
        const auto cases = [ci = ci](unsigned char c) {
            return ci ? std::array<unsigned, 2>{unsigned(std::tolower(c)),
                                                unsigned(std::toupper(c))}
                      : std::array<unsigned, 2>{c, c};
        };
        for (unsigned a : cases(static_cast<unsigned char>(literal[0])))
            for (unsigned b : cases(static_cast<unsigned char>(literal[1]))) {
                const unsigned pair = (a << 8) | b;
                m_literalPairs[pair >> 6] |= quint64(1) << (pair & 63);
            }
    }
    int firstBytes = 0;
    for (int c = 0; c < 256; ++c)
        if (m_literalFirstBytes[size_t(c)]) {
            ++firstBytes;
            m_onlyFirstByte = c;
        }
    if (firstBytes != 1) m_onlyFirstByte = -1;
    if (stateBits() > 64) qFatal("MultiHighlighter: nested line states need more than 64 bits");
}

MultiHighlighter::~MultiHighlighter() = default;

bool MultiHighlighter::lineMayStartRegion(const char *line, int length) const {
    if (!m_filterLines) return true;
    // One pass over the line, trying the literals only where one could begin.
    for (int p = 0; p < length; ++p) {
        if (!m_literalFirstBytes[static_cast<unsigned char>(line[p])]) continue;
        for (const auto &[literal, ci] : m_startLiterals)
            if (scan::startsWith(line, p, length, literal.c_str(), ci)) return true;
    }
    return false;
}

qsizetype MultiHighlighter::nextRegionLiteral(const char *s, qsizetype from, qsizetype to) const {
    if (!m_filterLines) return from;
    const auto *u = reinterpret_cast<const unsigned char *>(s);
    for (qsizetype p = from; p < to; ++p) {
        if (m_onlyFirstByte >= 0) {
            const void *hit = std::memchr(s + p, m_onlyFirstByte, size_t(to - p));
            if (!hit) return to;
            p = static_cast<const char *>(hit) - s;
        }
        if (!m_literalPairs.empty()) {
            // The first two bytes, looked up at once.
            if (p + 1 >= to) return to;
            const unsigned pair = (unsigned(u[p]) << 8) | u[p + 1];
            if (!((m_literalPairs[pair >> 6] >> (pair & 63)) & 1)) continue;
        } else if (!m_literalFirstBytes[u[p]]) {
            continue;
        }
        // Literals are short: a line of text holds them whole.
        const int span = int(std::min<qsizetype>(to - p, 256));
        for (const auto &[literal, ci] : m_startLiterals)
            if (scan::startsWith(s + p, 0, span, literal.c_str(), ci)) return p;
    }
    return to;
}

int MultiHighlighter::schemeAt(LineState state) const {
    return int(scan::field(state, 0, m_schemeBits)) - 1;
}

const Highlighter *MultiHighlighter::plainAt(LineState state) const {
    const int scheme = schemeAt(state);
    if (scheme >= 0 && scheme < schemeCount())
        return m_schemes[scheme]->definition.highlighter->plainAt(
            scan::field(state, m_schemeBits, m_regionBits));
    return m_default->plainAt(scan::field(state, m_schemeBits + m_regionBits, m_defaultBits));
}

void MultiHighlighter::collectPlain(std::vector<const Highlighter *> &out) const {
    m_default->collectPlain(out);
    for (const auto &s : m_schemes)
        s->definition.highlighter->collectPlain(out);
}

bool MultiHighlighter::findStart(const char *s, int from, int to, int *scheme, int *matchStart,
                                 int *matchEnd) const {
    for (int p = from; p < to; ++p) {
        if (m_startByte >= 0) {
            const void *hit = std::memchr(s + p, m_startByte, size_t(to - p));
            if (!hit) return false;
            p = int(static_cast<const char *>(hit) - s);
        } else {
            while (p < to && !m_startBytes[(unsigned char)s[p]])
                ++p;
            if (p == to) return false;
        }
        for (size_t k = 0; k < m_schemes.size(); ++k) {
            if (m_schemes[k]->start.matchAt(s, p, to, matchEnd)) {
                *scheme = int(k);
                *matchStart = p;
                return true;
            }
        }
    }
    return false;
}

bool MultiHighlighter::findEnd(const CompiledScheme &cs, const char *s, int lineLength, int from,
                               int to, LineState region, int *matchStart, int *matchEnd) const {
    if (!cs.definition.endInCodeOnly) return cs.end.find(s, from, to, matchStart, matchEnd);
    // Scan up to each candidate end to learn whether it stands in code.
    thread_local TokenSink scratch;
    const Highlighter *h = cs.definition.highlighter;
    int scanned = from;
    int at = from;
    while (cs.end.find(s, at, to, matchStart, matchEnd)) {
        scratch.clear();
        region = h->scan(s, lineLength, scanned, *matchStart, region, scratch);
        scanned = *matchStart;
        if (h->regionMayEndAt(region)) return true;
        at = *matchStart + 1;
    }
    return false;
}

LineState MultiHighlighter::scanSpan(const char *s, int lineLength, int begin, int end,
                                     LineState state, TokenSink &out) const {
    int scheme = int(scan::field(state, 0, m_schemeBits));
    if (scheme > schemeCount()) scheme = 0;
    LineState region = scan::field(state, m_schemeBits, m_regionBits);
    LineState outside = scan::field(state, m_schemeBits + m_regionBits, m_defaultBits);
    int p = begin;
    for (;;) {
        int markerStart = 0, markerEnd = 0;
        if (scheme == 0) {
            int k = 0;
            const bool found = findStart(s, p, end, &k, &markerStart, &markerEnd);
            outside = m_default->scan(s, lineLength, p, found ? markerStart : end, outside, out);
            if (!found) break;
            scheme = k + 1;
            region = 0;
        } else {
            const CompiledScheme &cs = *m_schemes[scheme - 1];
            const bool found = findEnd(cs, s, lineLength, p, end, region, &markerStart, &markerEnd);
            region = cs.definition.highlighter->scan(s, lineLength, p, found ? markerStart : end,
                                                     region, out);
            if (!found) break;
            scheme = 0;
            region = 0;
        }
        out.setLanguage(Language::Marker);
        out.add(markerStart, markerEnd - markerStart, 0);
        p = markerEnd;
    }
    LineState result = 0;
    result = scan::withField(result, 0, m_schemeBits, LineState(scheme));
    result = scan::withField(result, m_schemeBits, m_regionBits, region);
    result = scan::withField(result, m_schemeBits + m_regionBits, m_defaultBits, outside);
    return result;
}
