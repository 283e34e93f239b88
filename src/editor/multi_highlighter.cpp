#include "editor/multi_highlighter.h"

#include "editor/scan_support.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstring>

MultiHighlighter::MultiHighlighter(const Highlighter *defaultHighlighter,
                                   const QString &defaultLanguageName,
                                   const std::vector<RegionScheme> &schemes, QObject *parent)
    : Highlighter(Language::Marker, nullptr, 0, parent), m_default(defaultHighlighter),
      m_defaultLanguageName(defaultLanguageName) {
    for (const RegionScheme &s : schemes) {
        m_schemes.push_back(std::unique_ptr<CompiledScheme>(
            new CompiledScheme{s,
                               RegionPattern(s.startExpression, s.caseSensitive),
                               RegionPattern(s.endExpression, s.caseSensitive),
                               {}}));
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
        // Runs of three bytes or more past the prefix screen candidates; most
        // tags have none of them (the prefix itself is tested first).
        if (cs->start.isAnalysed())
            for (const std::string &required : cs->start.requiredRuns()) {
                if (required.size() < 3 || cs->start.prefix().find(required) != std::string::npos)
                    continue;
                const auto same = [&](const Run &r) {
                    return r.text == required && r.caseInsensitive == ci;
                };
                const auto it = std::find_if(m_runs.begin(), m_runs.end(), same);
                const int id = int(it - m_runs.begin());
                if (it == m_runs.end()) m_runs.push_back({required, ci});
                if (std::find(cs->runs.begin(), cs->runs.end(), id) == cs->runs.end())
                    cs->runs.push_back(id);
            }
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
    m_runSchemes.assign(m_runs.size(), 0);
    for (size_t k = 0; k < m_schemes.size() && k < 64; ++k) {
        const RegionPattern &start = m_schemes[k]->start;
        const std::uint64_t bit = std::uint64_t(1) << k;
        for (int c = 0; c < 256; ++c)
            if (start.canStartWith((unsigned char)c)) m_firstByteSchemes[size_t(c)] |= bit;
        const std::string &prefix = start.prefix();
        const bool ci = !start.caseSensitive();
        for (int c = 0; c < 257; ++c) {
            bool may = !start.isAnalysed() || prefix.size() < 2;
            if (!may && c < 256)
                may = ci ? scan::lower((unsigned char)c) == scan::lower((unsigned char)prefix[1])
                         : c == (unsigned char)prefix[1];
            if (may) m_secondByteSchemes[size_t(c)] |= bit;
        }
        for (int id : m_schemes[k]->runs)
            m_runSchemes[size_t(id)] |= bit;
    }
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

// Every byte that can begin a region is a candidate, and at each one every
// scheme is tried in order. Most candidates fail on the start's first bytes or
// on a literal run the start needs (say "script" in a tag), so those are tested
// first, with what one candidate learns kept for the next: the next '>' and the
// next occurrence of each run. Only the survivors go to the full match.
bool MultiHighlighter::findStart(const char *s, int from, int to, int *scheme, int *matchStart,
                                 int *matchEnd) const {
    constexpr int Unknown = -2;
    const size_t schemeCount = m_schemes.size();
    const size_t screened = std::min<size_t>(schemeCount, 64);
    // Schemes with a run that is nowhere in the rest of the span cannot start in it.
    std::uint64_t alive = screened == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << screened) - 1;
    int nextRun[16];
    const int runCount = std::min<int>(int(m_runs.size()), 16);
    std::fill(nextRun, nextRun + runCount, Unknown);
    int greaterThan = Unknown; // the first '>' at or after the candidate, or -1

    // Whether scheme k starts at p: its first bytes, its runs before the end the
    // start can reach, then the full match.
    const auto startsAt = [&](size_t k, int p) {
        const CompiledScheme &cs = *m_schemes[k];
        const RegionPattern &start = cs.start;
        if (start.isAnalysed()) {
            if (!scan::startsWith(s, p, to, start.prefix().c_str(), !start.caseSensitive()))
                return false;
            if (cs.runs.empty()) return start.matchAt(s, p, to, matchEnd);
            // Each run's next occurrence, kept for the candidates that follow.
            int runsEnd = p;
            for (int id : cs.runs) {
                if (id >= runCount) continue;
                const Run &run = m_runs[size_t(id)];
                int &next = nextRun[id];
                if (next == Unknown || (next >= 0 && next < p)) {
                    next = scan::find(s, p, to, run.text.c_str(), int(run.text.size()),
                                      run.caseInsensitive);
                    if (next < 0) alive &= ~m_runSchemes[size_t(id)];
                }
                if (next < 0) return false;
                runsEnd = std::max(runsEnd, next + int(run.text.size()));
            }
            // They must lie before the end the start can reach.
            if (start.greaterThan() != RegionPattern::GreaterThan::Anywhere) {
                if (greaterThan == Unknown || (greaterThan >= 0 && greaterThan < p)) {
                    const void *gt = std::memchr(s + p, '>', size_t(to - p));
                    greaterThan = gt ? int(static_cast<const char *>(gt) - s) : -1;
                }
                if (start.greaterThan() == RegionPattern::GreaterThan::OnlyAtEnd) {
                    if (greaterThan < 0 || runsEnd > greaterThan + 1) return false;
                } else if (greaterThan >= 0 && runsEnd > greaterThan) {
                    return false;
                }
            }
        }
        return start.matchAt(s, p, to, matchEnd);
    };

    // Whether a region starts at p: the schemes in order.
    bool dead = false;
    const auto candidate = [&](int p) {
        if (alive == 0 && schemeCount <= 64) {
            dead = true;
            return true;
        }
        std::uint64_t candidates = m_firstByteSchemes[(unsigned char)s[p]] &
                                   m_secondByteSchemes[p + 1 < to ? (unsigned char)s[p + 1] : 256];
        for (candidates &= alive; candidates; candidates &= alive & (candidates - 1)) {
            const size_t k = size_t(std::countr_zero(candidates));
            if (startsAt(k, p)) {
                *scheme = int(k);
                return true;
            }
        }
        for (size_t k = screened; k < schemeCount; ++k) {
            if (m_schemes[k]->start.canStartWith((unsigned char)s[p]) && startsAt(k, p)) {
                *scheme = int(k);
                return true;
            }
        }
        return false;
    };
    int found = -1;
    if (m_startByte >= 0) {
        found = scan::forEachByte(s, from, to, char(m_startByte), candidate);
    } else {
        for (int p = from; p < to && found < 0; ++p)
            if (m_startBytes[(unsigned char)s[p]] && candidate(p)) found = p;
    }
    if (found < 0 || dead) return false;
    *matchStart = found;
    return true;
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
