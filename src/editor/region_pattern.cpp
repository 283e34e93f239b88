#include "editor/region_pattern.h"

#include "editor/scan_support.h"

#include <atomic>
#include <bitset>
#include <cstring>

namespace {

using Bytes = std::bitset<256>;

// One element of a pattern: a character, a class or a group, with its repeat.
struct Atom {
    Bytes bytes;             // what one repetition matches (characters and classes)
    bool singleByte = true;  // false for a group
    bool canMatchGt = false; // can match a '>' somewhere
    int min = 1;
    int max = 1; // -1: unbounded
};

Bytes shorthand(char c) {
    Bytes b;
    switch (c | 0x20) {
    case 'd':
        for (int k = '0'; k <= '9'; ++k)
            b[k] = true;
        break;
    case 'w':
        for (int k = 0; k < 256; ++k)
            b[k] = scan::isAsciiLetter(k) || scan::isDigit(k) || k == '_';
        break;
    case 's':
        for (char k : {' ', '\t', '\n', '\r', '\f', '\v'})
            b[(unsigned char)k] = true;
        break;
    }
    if (c >= 'A' && c <= 'Z') b.flip();
    return b;
}

int controlEscape(char e) {
    switch (e) {
    case 'n':
        return '\n';
    case 't':
        return '\t';
    case 'r':
        return '\r';
    case 'f':
        return '\f';
    case 'a':
        return 7;
    case 'e':
        return 27;
    default:
        return -1;
    }
}

// Reads the subset of the regular-expression syntax that region expressions
// use; anything else (anchors, alternation at the top, back references,
// look-arounds) makes the pattern "not analysed".
class Parser {
public:
    Parser(const std::string &p, bool ci) : m_p(p), m_ci(ci) {}

    bool parseSequence(std::vector<Atom> &atoms, bool inGroup) {
        while (m_i < m_p.size()) {
            const char c = m_p[m_i];
            if (c == ')') return inGroup;
            if (c == '|') {
                if (!inGroup) return false;
                ++m_i; // inside a group only "can it match '>'" matters
                continue;
            }
            Atom a;
            if (c == '(') {
                ++m_i;
                if (m_i < m_p.size() && m_p[m_i] == '?') {
                    if (m_i + 1 < m_p.size() && m_p[m_i + 1] == ':')
                        m_i += 2;
                    else
                        return false;
                }
                std::vector<Atom> inner;
                if (!parseSequence(inner, true) || m_i >= m_p.size()) return false;
                ++m_i; // ')'
                a.singleByte = false;
                for (const Atom &x : inner)
                    a.canMatchGt = a.canMatchGt || x.canMatchGt;
            } else if (c == '[') {
                ++m_i;
                if (!parseClass(a.bytes)) return false;
            } else if (c == '\\') {
                if (m_i + 1 >= m_p.size()) return false;
                const char e = m_p[m_i + 1];
                m_i += 2;
                if (std::strchr("dDwWsS", e)) {
                    a.bytes = shorthand(e);
                } else if (controlEscape(e) >= 0) {
                    a.bytes[controlEscape(e)] = true;
                } else if (scan::isAsciiLetter((unsigned char)e) ||
                           scan::isDigit((unsigned char)e)) {
                    return false;
                } else {
                    a.bytes[(unsigned char)e] = true;
                }
            } else if (c == '.') {
                a.bytes.set();
                a.bytes['\n'] = false;
                ++m_i;
            } else if (std::strchr("^$*+?", c)) {
                return false;
            } else {
                a.bytes[(unsigned char)c] = true;
                ++m_i;
            }
            if (a.singleByte) {
                if (m_ci)
                    for (int k = 'a'; k <= 'z'; ++k)
                        if (a.bytes[k] || a.bytes[k - 32]) a.bytes[k] = a.bytes[k - 32] = true;
                a.canMatchGt = a.bytes['>'];
            }
            parseQuantifier(a);
            atoms.push_back(a);
        }
        return !inGroup;
    }

private:
    bool parseClass(Bytes &out) {
        bool negate = false;
        if (m_i < m_p.size() && m_p[m_i] == '^') {
            negate = true;
            ++m_i;
        }
        bool first = true;
        while (m_i < m_p.size()) {
            const char c = m_p[m_i];
            if (c == ']' && !first) {
                ++m_i;
                if (negate) out.flip();
                return true;
            }
            first = false;
            int ch;
            if (c == '\\') {
                if (m_i + 1 >= m_p.size()) return false;
                const char e = m_p[m_i + 1];
                m_i += 2;
                if (std::strchr("dDwWsS", e)) {
                    out |= shorthand(e);
                    continue;
                }
                ch = controlEscape(e);
                if (ch < 0) {
                    if (scan::isAsciiLetter((unsigned char)e) || scan::isDigit((unsigned char)e))
                        return false;
                    ch = (unsigned char)e;
                }
            } else if (c == '[' && m_i + 1 < m_p.size() && m_p[m_i + 1] == ':') {
                return false;
            } else {
                ch = (unsigned char)c;
                ++m_i;
            }
            if (m_i + 1 < m_p.size() && m_p[m_i] == '-' && m_p[m_i + 1] != ']') {
                const unsigned char hi = (unsigned char)m_p[m_i + 1];
                if (hi == '\\' || hi < ch) return false;
                m_i += 2;
                for (int k = ch; k <= hi; ++k)
                    out[k] = true;
                continue;
            }
            out[ch] = true;
        }
        return false;
    }

    void parseQuantifier(Atom &a) {
        if (m_i >= m_p.size()) return;
        const char c = m_p[m_i];
        if (c == '?') {
            a.min = 0;
            a.max = 1;
            ++m_i;
        } else if (c == '*') {
            a.min = 0;
            a.max = -1;
            ++m_i;
        } else if (c == '+') {
            a.max = -1;
            ++m_i;
        } else if (c == '{') {
            size_t j = m_i + 1;
            int lo = 0, hi;
            size_t digits = j;
            while (j < m_p.size() && scan::isDigit((unsigned char)m_p[j]))
                lo = lo * 10 + (m_p[j++] - '0');
            if (j == digits) return; // a literal '{'
            hi = lo;
            if (j < m_p.size() && m_p[j] == ',') {
                ++j;
                hi = -1;
                if (j < m_p.size() && scan::isDigit((unsigned char)m_p[j])) {
                    hi = 0;
                    while (j < m_p.size() && scan::isDigit((unsigned char)m_p[j]))
                        hi = hi * 10 + (m_p[j++] - '0');
                }
            }
            if (j >= m_p.size() || m_p[j] != '}') return;
            m_i = j + 1;
            a.min = lo;
            a.max = hi;
        } else {
            return;
        }
        if (m_i < m_p.size() && (m_p[m_i] == '?' || m_p[m_i] == '+'))
            ++m_i; // lazy or possessive: same set of possible matches' starts
    }

    const std::string &m_p;
    bool m_ci;
    size_t m_i = 0;
};

// The single character an atom stands for, lower-cased when case is ignored.
bool literalOf(const Atom &a, bool ci, char *ch) {
    if (!a.singleByte) return false;
    const size_t n = a.bytes.count();
    if (n == 1) {
        for (int k = 0; k < 256; ++k)
            if (a.bytes[k]) {
                *ch = char(k);
                return true;
            }
    }
    if (ci && n == 2)
        for (int k = 'a'; k <= 'z'; ++k)
            if (a.bytes[k] && a.bytes[k - 32]) {
                *ch = char(k);
                return true;
            }
    return false;
}

} // namespace

// Lines are matched as Latin-1 text, one character per byte, so that match
// offsets are byte offsets; the pattern is read the same way from its UTF-8 form.
RegionPattern::RegionPattern(const QString &pattern, bool caseSensitive)
    : m_pattern(pattern), m_regex(QString::fromLatin1(pattern.toUtf8()),
                                  caseSensitive ? QRegularExpression::NoPatternOption
                                                : QRegularExpression::CaseInsensitiveOption),
      m_caseSensitive(caseSensitive) {
    static std::atomic<std::uint64_t> patterns{0};
    m_id = ++patterns;
    // The engine compiles an expression at its first use, and checking one compiles
    // it: done here for every type's expressions, that took a noticeable part of the
    // program's start, mostly for expressions never used. An expression the reading
    // below understands is taken as well formed (the engine still has the last word
    // where it runs); only the others are checked now.
    m_valid = !pattern.isEmpty();
    m_firstBytes.fill(m_valid);
    if (!m_valid) return;
    analyse(pattern.toUtf8().toStdString());
    if (!m_analysed && !m_regex.isValid()) {
        m_valid = false;
        m_firstBytes.fill(false);
    }
}

void RegionPattern::analyse(const std::string &pattern) {
    const bool ci = !m_caseSensitive;
    std::vector<Atom> atoms;
    Parser parser(pattern, ci);
    if (!parser.parseSequence(atoms, false) || atoms.empty()) return;
    m_analysed = true;

    char ch;
    m_literal = true;
    for (const Atom &a : atoms)
        if (!literalOf(a, ci, &ch) || a.min != 1 || a.max != 1) m_literal = false;

    for (const Atom &a : atoms) {
        if (!literalOf(a, ci, &ch) || a.min < 1) break;
        m_prefix.append(size_t(a.min), ch);
        if (a.min != 1 || a.max != 1) break;
    }

    std::string run;
    for (const Atom &a : atoms) {
        if (literalOf(a, ci, &ch) && a.min >= 1) {
            run.append(size_t(a.min), ch);
            if (a.min == 1 && a.max == 1) continue;
        }
        if (!run.empty()) m_required.push_back(run);
        run.clear();
    }
    if (!run.empty()) m_required.push_back(run);

    bool gtBeforeLast = false;
    for (size_t k = 0; k + 1 < atoms.size(); ++k)
        gtBeforeLast = gtBeforeLast || atoms[k].canMatchGt;
    const Atom &last = atoms.back();
    if (!gtBeforeLast && !last.canMatchGt)
        m_greaterThan = GreaterThan::Never;
    else if (!gtBeforeLast && literalOf(last, ci, &ch) && ch == '>' && last.min == 1 &&
             last.max == 1)
        m_greaterThan = GreaterThan::OnlyAtEnd;

    if (!m_prefix.empty()) {
        const unsigned char c = (unsigned char)m_prefix[0];
        m_firstBytes.fill(false);
        m_firstBytes[c] = true;
        if (ci && scan::isAsciiLetter(c))
            m_firstBytes[c - 32] = true;
        else
            m_firstByte = c;
    } else if (atoms.front().singleByte && atoms.front().min >= 1) {
        for (int k = 0; k < 256; ++k)
            m_firstBytes[k] = atoms.front().bytes[k];
    }
}

bool RegionPattern::matchAt(const char *s, int pos, int to, int *matchEnd) const {
    if (!m_valid || pos >= to || !m_firstBytes[(unsigned char)s[pos]]) return false;
    int spanEnd = to;
    if (m_analysed) {
        const bool ci = !m_caseSensitive;
        if (!scan::startsWith(s, pos, to, m_prefix.c_str(), ci)) return false;
        if (m_literal) {
            *matchEnd = pos + int(m_prefix.size());
            return true;
        }
        if (m_greaterThan != GreaterThan::Anywhere) {
            const void *gt = std::memchr(s + pos, '>', size_t(to - pos));
            if (m_greaterThan == GreaterThan::OnlyAtEnd) {
                if (!gt) return false;
                spanEnd = int(static_cast<const char *>(gt) - s) + 1;
            } else if (gt) {
                spanEnd = int(static_cast<const char *>(gt) - s);
            }
        }
        int q = pos;
        for (const std::string &lit : m_required) {
            const int at = scan::find(s, q, spanEnd, lit.c_str(), ci);
            if (at < 0) return false;
            q = at + int(lit.size());
        }
    }
    if (!m_regex.isValid()) return false;
    // A page repeats the same few tags, and the engine's answer for a tag (the
    // text up to its '>') is a function of that text: the last few are kept.
    struct Answer {
        std::uint64_t pattern = 0;
        std::string text;
        int length = 0; // of the match, 0 for none
    };
    thread_local std::array<Answer, 8> answers;
    thread_local unsigned nextAnswer = 0;
    const bool byTag = m_analysed && m_greaterThan != GreaterThan::Anywhere;
    const size_t n = size_t(spanEnd - pos);
    if (byTag)
        for (const Answer &a : answers)
            if (a.pattern == m_id && a.text.size() == n &&
                std::memcmp(a.text.data(), s + pos, n) == 0) {
                if (a.length == 0) return false;
                *matchEnd = pos + a.length;
                return true;
            }
    const QString text = QString::fromLatin1(s + pos, spanEnd - pos);
    const QRegularExpressionMatch m = m_regex.match(text, 0, QRegularExpression::NormalMatch,
                                                    QRegularExpression::AnchorAtOffsetMatchOption);
    const int length = m.hasMatch() ? int(m.capturedEnd(0)) : 0;
    if (byTag) answers[nextAnswer++ % answers.size()] = {m_id, std::string(s + pos, n), length};
    if (length == 0) return false;
    *matchEnd = pos + length;
    return true;
}

bool RegionPattern::find(const char *s, int from, int to, int *matchStart, int *matchEnd) const {
    if (!m_valid) return false;
    if (!m_analysed) {
        // Byte offsets and Latin-1 character offsets are the same.
        const QString text = QString::fromLatin1(s + from, to - from);
        QRegularExpressionMatchIterator it = m_regex.globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            if (m.capturedLength(0) > 0) {
                *matchStart = from + int(m.capturedStart(0));
                *matchEnd = from + int(m.capturedEnd(0));
                return true;
            }
        }
        return false;
    }
    for (int p = from; p < to; ++p) {
        if (m_firstByte >= 0) {
            const void *hit = std::memchr(s + p, m_firstByte, size_t(to - p));
            if (!hit) return false;
            p = int(static_cast<const char *>(hit) - s);
        } else {
            while (p < to && !m_firstBytes[(unsigned char)s[p]])
                ++p;
            if (p == to) return false;
        }
        if (matchAt(s, p, to, matchEnd)) {
            *matchStart = p;
            return true;
        }
    }
    return false;
}

std::string RegionPattern::longestRequiredRun() const {
    std::string best = m_analysed ? m_prefix : std::string();
    if (!m_analysed) return best;
    for (const std::string &run : m_required)
        if (run.size() > best.size()) best = run;
    return best;
}
