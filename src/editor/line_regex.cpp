#include "editor/line_regex.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <QCoreApplication>

#include <algorithm>
#include <vector>

namespace {
// PCRE2's newline convention: CR, LF and CR LF all end a line.
constexpr char kNewlines[] = "(*ANYCRLF)";
constexpr qsizetype kNewlinesSize = sizeof(kNewlines) - 1;
// A backward search looks at ever larger stretches before its start, from this size on.
constexpr qsizetype kFirstWindow = 64 * 1024;
// How far back a backward search's stretch may move to begin at a line start.
constexpr qsizetype kLineReach = 4096;

inline bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

inline bool isBreak(char c) {
    return c == '\n' || c == '\r';
}

// One JIT stack per thread, kept for the thread's life: making one maps its megabyte,
// and a search over many small files would make and unmap one per file.
pcre2_jit_stack *threadJitStack() {
    struct Holder {
        pcre2_jit_stack *stack = pcre2_jit_stack_create(32 * 1024, 1024 * 1024, nullptr);
        ~Holder() { pcre2_jit_stack_free(stack); }
    };
    thread_local Holder holder;
    return holder.stack;
}

// One search's walk over the matches of a text, as a global search gives them: after an
// empty match, the next one may not be empty at the same place.
class Walk {
public:
    // 'latestStart' (when not -1) is the last offset where a match may begin: the text
    // after it is still read by the matches that began before.
    Walk(const pcre2_code *code, const char *subject, qsizetype length, qsizetype from,
         qsizetype latestStart = -1)
        : m_code(code), m_subject(reinterpret_cast<PCRE2_SPTR>(subject)), m_length(length),
          m_pos(from), m_data(pcre2_match_data_create_from_pattern(code, nullptr)),
          m_context(pcre2_match_context_create(nullptr)),
          m_stack(threadJitStack()) {
        if (m_context && m_stack) pcre2_jit_stack_assign(m_context, nullptr, m_stack);
        if (m_context && latestStart >= 0)
            pcre2_set_offset_limit(m_context, PCRE2_SIZE(latestStart));
    }
    ~Walk() {
        pcre2_match_context_free(m_context);
        pcre2_match_data_free(m_data);
    }
    Walk(const Walk &) = delete;
    Walk &operator=(const Walk &) = delete;

    bool next() {
        if (!m_data || m_pos > m_length) return false;
        // After an empty match, the next may not be empty at the same place. Left
        // unanchored, the matcher stays on its compiled road and itself never starts a
        // match between the CR and the LF of a line end.
        const int rc =
            pcre2_match(m_code, m_subject, size_t(m_length), size_t(m_pos),
                        m_emptyAt == m_pos ? PCRE2_NOTEMPTY_ATSTART : 0, m_data, m_context);
        if (rc <= 0) return false; // no match, or a limit met: nothing more found
        m_groups = rc;
        const PCRE2_SIZE *ov = pcre2_get_ovector_pointer(m_data);
        if (ov[1] < ov[0]) return false; // \K past the end: no place to go on from
        m_pos = qsizetype(ov[1]);
        m_emptyAt = ov[0] == ov[1] ? m_pos : -1;
        return true;
    }
    qsizetype start() const { return qsizetype(pcre2_get_ovector_pointer(m_data)[0]); }
    qsizetype end() const { return qsizetype(pcre2_get_ovector_pointer(m_data)[1]); }
    // The offsets of the groups of the current match.
    std::vector<PCRE2_SIZE> groups() const {
        const PCRE2_SIZE *ov = pcre2_get_ovector_pointer(m_data);
        return {ov, ov + 2 * m_groups};
    }
    LineRegex::Match match() const { return matchOf(groups()); }
    LineRegex::Match matchOf(const std::vector<PCRE2_SIZE> &ov) const {
        LineRegex::Match m{qsizetype(ov[0]), qsizetype(ov[1]), {}};
        for (size_t i = 0; i + 1 < ov.size(); i += 2) {
            if (ov[i] == PCRE2_UNSET)
                m.captures << QString();
            else
                m.captures << QString::fromUtf8(reinterpret_cast<const char *>(m_subject) + ov[i],
                                                qsizetype(ov[i + 1] - ov[i]));
        }
        return m;
    }

private:
    const pcre2_code *m_code;
    PCRE2_SPTR m_subject;
    qsizetype m_length;
    qsizetype m_pos;
    qsizetype m_emptyAt = -1;
    int m_groups = 0;
    pcre2_match_data *m_data;
    pcre2_match_context *m_context;
    pcre2_jit_stack *m_stack;
};
} // namespace

struct LineRegex::Code {
    explicit Code(pcre2_code *c) : code(c) {}
    ~Code() { pcre2_code_free(code); }
    pcre2_code *code;
};

QString LineRegex::linePattern(const QString &pattern) {
    return QLatin1String(kNewlines) + pattern;
}

bool LineRegex::setPattern(const QString &pattern, bool caseSensitive, QString *error) {
    if (m_code && pattern == m_pattern && caseSensitive == m_caseSensitive)
        return true; // already compiled: F3 after F3 costs nothing here
    m_pattern = pattern;
    m_caseSensitive = caseSensitive;
    m_code.reset();
    if (pattern.isEmpty()) return false;
    const QByteArray utf8 = linePattern(pattern).toUtf8();
    uint32_t options =
        PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_MULTILINE | PCRE2_USE_OFFSET_LIMIT;
    if (!caseSensitive) options |= PCRE2_CASELESS;
    int code = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code *compiled = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(utf8.constData()),
                                         size_t(utf8.size()), options, &code, &offset, nullptr);
    if (!compiled) {
        if (error) {
            PCRE2_UCHAR text[256];
            pcre2_get_error_message(code, text, sizeof text);
            // The position counts the user's characters, not what is put before them.
            const qsizetype at =
                std::clamp<qsizetype>(qsizetype(offset), kNewlinesSize, utf8.size());
            const qsizetype position =
                QString::fromUtf8(utf8.constData() + kNewlinesSize, at - kNewlinesSize).size() + 1;
            *error = QStringLiteral("Expression régulière incorrecte : %1 (position %2)")
                         .arg(QCoreApplication::translate("QRegularExpression",
                                                          reinterpret_cast<const char *>(text)))
                         .arg(position);
        }
        return false;
    }
    pcre2_jit_compile(compiled, PCRE2_JIT_COMPLETE); // the interpreter serves if it fails
    m_code = std::make_shared<const Code>(compiled);
    return true;
}

LineRegex::Match LineRegex::first(const char *data, qsizetype from, qsizetype limit,
                                  const Filter &accept) const {
    if (!m_code || from < 0 || from >= limit) return {};
    Walk walk(m_code->code, data, limit, from);
    while (walk.next()) {
        if (accept(walk.start(), walk.end())) return walk.match();
    }
    return {};
}

LineRegex::Match LineRegex::last(const char *data, qsizetype from, qsizetype lower,
                                 const Filter &accept) const {
    lower = std::max<qsizetype>(lower, 0);
    if (!m_code || from <= lower) return {};
    // Ever larger stretches before 'from', each searched from a line start when one is
    // near, until one holds a match; each reads on into the text already searched only
    // for the matches that begin before it.
    qsizetype latest = from;
    for (qsizetype size = kFirstWindow;; size *= 2) {
        qsizetype start = std::max(lower, from - size);
        if (start > lower) {
            qsizetype p = start;
            while (p > lower && start - p < kLineReach && !isBreak(data[p - 1]))
                --p;
            if (p == lower || isBreak(data[p - 1]))
                start = p;
            else
                while (start < from && isContinuation(data[start]))
                    ++start;
        }
        start = std::min(start, latest);
        Walk walk(m_code->code, data, from, start, latest);
        std::vector<PCRE2_SIZE> best;
        while (walk.next()) {
            if (accept(walk.start(), walk.end())) best = walk.groups();
        }
        if (!best.empty()) return walk.matchOf(best);
        if (start <= lower) return {};
        latest = start - 1;
    }
}

void LineRegex::forEach(const char *data, qsizetype from, qsizetype to,
                        const std::function<bool(const Match &)> &visit) const {
    if (!m_code || from < 0 || from >= to) return;
    Walk walk(m_code->code, data, to, from);
    while (walk.next()) {
        if (!visit(walk.match())) return;
    }
}

void LineRegex::forEachSpan(const char *data, qsizetype from, qsizetype to,
                            const std::function<bool(qsizetype, qsizetype)> &visit) const {
    if (!m_code || from < 0 || from >= to) return;
    Walk walk(m_code->code, data, to, from);
    while (walk.next()) {
        if (!visit(walk.start(), walk.end())) return;
    }
}
