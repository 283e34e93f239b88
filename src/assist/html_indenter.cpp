#include "assist/html_indenter.h"

#include "assist/html_rules.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace {

enum Flag { Container = 1, LineBreakElement = 2, OptionalEnd = 4, RawContent = 8 };

struct ElementInfo {
    const char *name;
    int flags;
};

// The containers, then frame (a line-break element that opens no level). Which of
// them are void or may lose their end tag comes from the HTML rules.
constexpr ElementInfo kElements[] = {
    {"a", Container},
    {"abbr", Container},
    {"acronym", Container},
    {"address", Container},
    {"applet", Container},
    {"b", Container},
    {"bdo", Container},
    {"big", Container},
    {"blink", Container},
    {"blockquote", Container},
    {"body", Container | LineBreakElement},
    {"button", Container},
    {"caption", Container},
    {"center", Container},
    {"cite", Container},
    {"code", Container},
    {"del", Container},
    {"dfn", Container},
    {"dir", Container},
    {"div", Container},
    {"dl", Container},
    {"fieldset", Container},
    {"font", Container},
    {"form", Container | LineBreakElement},
    {"frameset", Container},
    {"h1", Container},
    {"h2", Container},
    {"h3", Container},
    {"h4", Container},
    {"h5", Container},
    {"h6", Container},
    {"head", Container | LineBreakElement},
    {"html", Container | LineBreakElement},
    {"i", Container},
    {"iframe", Container},
    {"ins", Container},
    {"kbd", Container},
    {"legend", Container},
    {"li", Container},
    {"marquee", Container},
    {"menu", Container},
    {"nobr", Container},
    {"noframes", Container},
    {"noscript", Container},
    {"object", Container},
    {"ol", Container},
    {"optgroup", Container},
    {"p", Container},
    {"param", Container},
    {"pre", Container | RawContent},
    {"q", Container},
    {"s", Container},
    {"samp", Container},
    {"script", Container},
    {"select", Container},
    {"small", Container},
    {"span", Container},
    {"strike", Container},
    {"strong", Container},
    {"style", Container},
    {"sub", Container},
    {"sup", Container},
    {"table", Container | LineBreakElement},
    {"tbody", Container | LineBreakElement},
    {"td", Container},
    {"textarea", Container | RawContent},
    {"tfoot", Container | LineBreakElement},
    {"th", Container},
    {"thead", Container | LineBreakElement},
    {"title", Container},
    {"tr", Container | LineBreakElement},
    {"tt", Container},
    {"u", Container},
    {"ul", Container},
    {"var", Container},
    {"frame", LineBreakElement},
};
static_assert(std::size(kElements) == 76);

// The indenter's elements with what the HTML rules say about them: the containers
// above, and the other tags that close one of them by starting.
struct Vocabulary {
    std::vector<std::string_view> names;
    std::vector<int> flags;
    std::unordered_map<std::string_view, int> index;
    // The same index by first letter: tags are looked up at every tag of a page.
    std::array<std::vector<std::pair<std::string_view, int>>, 128> byFirst;
    std::vector<char> startCloses; // [tag * size + open]: the start tag ends the open element
    std::vector<char> endCloses;   // [tag * size + open]: the end tag ends it on its way

    Vocabulary() {
        for (const ElementInfo &e : kElements)
            add(e.name, e.flags);
        for (size_t i = 0; i < std::size(kElements); ++i) {
            int &f = flags[i];
            if (HtmlRules::isVoid(names[i])) f &= ~Container;
            if ((f & Container) && HtmlRules::endTagOptional(names[i])) f |= OptionalEnd;
        }
        for (size_t i = 0; i < std::size(kElements); ++i)
            if (flags[i] & OptionalEnd)
                for (std::string_view tag :
                     HtmlRules::startTagsEnding(names[i], HtmlRules::Implied::Sibling))
                    if (!index.count(tag)) add(tag, 0);
        const size_t n = names.size();
        startCloses.assign(n * n, 0);
        endCloses.assign(n * n, 0);
        for (size_t tag = 0; tag < n; ++tag)
            for (size_t open = 0; open < n; ++open) {
                if (!(flags[open] & OptionalEnd)) continue;
                startCloses[tag * n + open] =
                    HtmlRules::startTagEnds(names[tag], names[open]) == HtmlRules::Implied::Sibling;
                endCloses[tag * n + open] = HtmlRules::endTagEnds(names[tag], names[open]);
            }
    }
    void add(std::string_view name, int f) {
        byFirst[size_t(name[0]) & 127].emplace_back(name, int(names.size()));
        index.emplace(name, int(names.size()));
        names.push_back(name);
        flags.push_back(f);
    }
    bool startTagCloses(int tag, int open) const {
        return startCloses[size_t(tag) * names.size() + size_t(open)];
    }
    bool endTagCloses(int tag, int open) const {
        return endCloses[size_t(tag) * names.size() + size_t(open)];
    }
};

const Vocabulary &vocabulary() {
    static const Vocabulary v;
    return v;
}

// The element a tag names when its name is followed by a space, ">" or a tab;
// -1 otherwise. *closing tells an end tag.
int tagElement(const char *t, qsizetype n, bool *closing) {
    *closing = n > 1 && t[1] == '/';
    qsizetype i = *closing ? 2 : 1;
    char name[12];
    int len = 0;
    for (; i < n; ++i) {
        const char c = t[i];
        if (c == ' ' || c == '>' || c == '\t') break;
        if (len == int(sizeof name)) return -1;
        name[len++] = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
    }
    if (i >= n || len == 0 || static_cast<unsigned char>(name[0]) >= 128) return -1;
    for (const auto &[known, element] : vocabulary().byFirst[size_t(name[0])])
        if (known.size() == size_t(len) && std::memcmp(known.data(), name, size_t(len)) == 0)
            return element;
    return -1;
}

QByteArray nameOf(int element) {
    const std::string_view name = vocabulary().names[size_t(element)];
    return QByteArray(name.data(), qsizetype(name.size()));
}

inline bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

inline bool isBreak(char c) {
    return c == '\r' || c == '\n';
}

// The length of the line break at s[i] (CR LF, CR or LF) within s[0, n).
inline int breakLength(const char *s, qsizetype i, qsizetype n) {
    return s[i] == '\r' && i + 1 < n && s[i + 1] == '\n' ? 2 : 1;
}

constexpr qsizetype kChunk = 1 << 20;

// The bytes a tag's reader acts on.
constexpr std::array<bool, 256> kTagSpecial = [] {
    std::array<bool, 256> t{};
    for (unsigned char c : {' ', '\t', '\r', '\n', '"', '<', '>'})
        t[c] = true;
    return t;
}();

} // namespace

int THtmlIndenter::LineAt(const QByteArray &text, qsizetype offset) {
    int line = 1;
    const qsizetype end = std::min(offset, text.size());
    for (qsizetype i = 0; i < end; ++i) {
        if (text[i] == '\n')
            ++line;
        else if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))
            ++line;
    }
    return line;
}

void THtmlIndenter::changeLevel(int levels) {
    m_indentCount = std::max<qsizetype>(0, m_indentCount + qsizetype(levels) * Indentation);
}

std::string_view THtmlIndenter::indentation() {
    const size_t bytes = size_t(m_indentCount) * size_t(Symbol.size());
    while (m_indent.size() < bytes)
        m_indent.append(Symbol.constData(), size_t(Symbol.size()));
    return std::string_view(m_indent.data(), bytes);
}

void THtmlIndenter::writeIndentation() {
    const std::string_view s = indentation();
    m_out.append(s.data(), qsizetype(s.size()));
}

void THtmlIndenter::writeBreak() {
    m_out.append(m_break, m_breakLength);
    ++m_lines;
}

void THtmlIndenter::flushIfFull() {
    if (!m_sink || m_out.size() < kChunk) return;
    (*m_sink)(m_out.data(), m_out.size());
    m_flushed += m_out.size();
    m_out.clear();
    if (OnProgress && !OnProgress(m_pos, m_end)) m_cancelled = true;
}

void THtmlIndenter::writeSource(const char *s, qsizetype n) {
    // Source bytes as they are, but for their line breaks.
    qsizetype run = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (!isBreak(s[i])) continue;
        m_out.append(s + run, i - run);
        const int length = breakLength(s, i, n);
        writeBreak();
        i += length - 1;
        run = i + 1;
        if (m_out.size() >= kChunk) flushIfFull();
    }
    m_out.append(s + run, n - run);
    flushIfFull();
}

void THtmlIndenter::writeToken(const Token &t) {
    m_out.append(t.text, t.length);
    m_lines += t.breaks;
}

bool THtmlIndenter::topIsPendingBreak() const {
    return !m_stack.empty() && (m_stack.back().kind == ItemKind::LineBreak ||
                                m_stack.back().kind == ItemKind::ForcedBreak);
}

void THtmlIndenter::nextToken(Token &t) {
    t = Token();
    if (m_pos < m_end && !isBreak(m_src[m_pos])) {
        t.spaceBefore = m_src[m_pos] == ' ';
        while (m_pos < m_end && isBlank(m_src[m_pos]))
            ++m_pos;
        // The right end is trimmed once for the whole text: trimming again changes nothing.
        m_end = std::max(m_pos, std::min(m_end, m_trimmedEnd));
    }
    if (m_pos >= m_end) return;

    const char first = m_src[m_pos];
    if (isBreak(first)) {
        t.kind = Kind::LineBreak;
        m_pos += breakLength(m_src, m_pos, m_end);
        return;
    }
    if (first != '<') {
        // Text runs to the next line break or "<".
        const qsizetype start = m_pos;
        while (m_pos < m_end && !isBreak(m_src[m_pos]) && m_src[m_pos] != '<')
            ++m_pos;
        t.kind = Kind::Text;
        if (t.spaceBefore) {
            m_tag.assign(1, ' ');
            m_tag.append(m_src + start, size_t(m_pos - start));
            t.text = m_tag.data();
            t.length = qsizetype(m_tag.size());
        } else {
            t.text = m_src + start;
            t.length = m_pos - start;
        }
        return;
    }

    t.kind = Kind::Tag;
    m_tag.assign(1, '<');
    ++m_pos;
    bool quoted = false;
    bool ended = false;
    while (m_pos < m_end && !ended) {
        const char c = m_src[m_pos];
        switch (c) {
        case ' ':
        case '\t':
            if (quoted || (m_tag.back() != ' ' && m_tag.back() != '\t')) m_tag.push_back(c);
            ++m_pos;
            break;
        case '\r':
        case '\n':
            m_tag.append(m_break, size_t(m_breakLength));
            m_pos += breakLength(m_src, m_pos, m_end);
            m_tag.append(indentation());
            ++t.breaks;
            break;
        case '"':
            quoted = !quoted;
            m_tag.push_back(c);
            ++m_pos;
            break;
        case '<':
            if (quoted) {
                m_tag.push_back(c);
                ++m_pos;
            } else {
                t.kind = Kind::Text;
                ended = true;
            }
            break;
        case '>':
            m_tag.push_back(c);
            ++m_pos;
            ended = !quoted;
            break;
        default: {
            // The run of ordinary bytes up to the next one that matters.
            const qsizetype from = m_pos++;
            while (m_pos < m_end && !kTagSpecial[static_cast<unsigned char>(m_src[m_pos])])
                ++m_pos;
            m_tag.append(m_src + from, size_t(m_pos - from));
            break;
        }
        }
    }
    // A value left open runs to the end of the text; its marker stays on the stack.
    if (quoted) m_stack.push_back({ItemKind::Quote});
    if (t.kind == Kind::Text && t.spaceBefore) m_tag.insert(m_tag.begin(), ' ');
    t.text = m_tag.data();
    t.length = qsizetype(m_tag.size());
}

void THtmlIndenter::copyRawContent(int element) {
    // Up to the element's end tag (or the end of the text), unchanged.
    const std::string_view name = vocabulary().names[size_t(element)];
    qsizetype p = m_pos;
    for (;;) {
        const void *lt = std::memchr(m_src + p, '<', size_t(m_end - p));
        if (!lt) {
            p = m_end;
            break;
        }
        p = static_cast<const char *>(lt) - m_src;
        bool closing = false;
        const qsizetype avail = std::min<qsizetype>(m_end - p, qsizetype(name.size()) + 3);
        if (tagElement(m_src + p, avail, &closing) == element && closing) break;
        ++p;
    }
    writeSource(m_src + m_pos, p - m_pos);
    m_pos = p;
}

void THtmlIndenter::failAtEndTag(qsizetype p, int element) {
    // An element still open below the blocking one means that one was left open;
    // otherwise the end tag has no opening at all.
    m_failed = true;
    Failure &f = m_failure;
    f.element = nameOf(element);
    f.stop = Stop::UnmatchedEnd;
    for (qsizetype i = p; i >= 0; --i) {
        const Item &it = m_stack[size_t(i)];
        if (it.kind != ItemKind::Element || it.element != element) continue;
        for (qsizetype j = p; j > i; --j) {
            const Item &open = m_stack[size_t(j)];
            if (open.kind != ItemKind::Element) continue;
            f.stop = Stop::UnclosedElement;
            f.endTag = f.element;
            f.element = nameOf(open.element);
            f.openedAt = open.line;
            break;
        }
        break;
    }
}

void THtmlIndenter::checkEnd() {
    // Pending line breaks are dropped and the elements whose end tag may be left out
    // end with the page; a quote or another element still open fails the run.
    const Item *open = nullptr;
    for (auto it = m_stack.rbegin(); it != m_stack.rend(); ++it) {
        if (it->kind == ItemKind::Quote) {
            open = &*it;
            break;
        }
        if (!open && it->kind == ItemKind::Element &&
            !(vocabulary().flags[size_t(it->element)] & OptionalEnd))
            open = &*it;
    }
    if (!open) return;
    m_failed = true;
    m_failure.atEnd = true;
    if (open->kind == ItemKind::Quote) {
        // A quote left open runs to the end of the text: it opened in the last tag.
        m_failure.stop = Stop::OpenQuote;
        m_failure.openedAt = m_tagLine;
    } else {
        m_failure.stop = Stop::UnclosedElement;
        m_failure.element = nameOf(open->element);
        m_failure.openedAt = open->line;
    }
}

void THtmlIndenter::closeImplied(int tag) {
    // The deepest open element this start tag ends, reached through elements whose
    // end tag may be left out: <li> ends an open <li> and the <p> inside it.
    const Vocabulary &v = vocabulary();
    qsizetype top = qsizetype(m_stack.size()) - 1;
    if (topIsPendingBreak()) --top;
    qsizetype target = -1;
    for (qsizetype q = top; q >= 0; --q) {
        const Item &it = m_stack[size_t(q)];
        if (it.kind != ItemKind::Element) break;
        if (v.startTagCloses(tag, it.element))
            target = q;
        else if (!(v.flags[size_t(it.element)] & OptionalEnd))
            break;
    }
    if (target < 0) return;
    // The pending line break, if any, stays on top.
    m_stack.erase(m_stack.begin() + target, m_stack.begin() + top + 1);
    changeLevel(-int(top + 1 - target));
}

void THtmlIndenter::processTag(const Token &t) {
    bool closing = false;
    const int element = tagElement(t.text, t.length, &closing);
    const int flags = element >= 0 ? vocabulary().flags[size_t(element)] : 0;
    const bool b = flags & LineBreakElement;
    const Item forced{ItemKind::ForcedBreak};
    if (element >= 0 && !closing) closeImplied(element);

    if ((flags & Container) && !closing) {
        if (topIsPendingBreak()) {
            writeBreak();
            m_stack.pop_back();
            writeIndentation();
        } else if (b && !m_out.isEmpty()) {
            writeBreak();
            writeIndentation();
        } else if (t.spaceBefore) {
            m_out.append(' ');
        }
        m_stack.push_back({ItemKind::Element, element, m_lines + 1});
        if (b) m_stack.push_back(forced);
        writeToken(t);
        changeLevel(1);
        if (flags & RawContent) copyRawContent(element);
        return;
    }

    if (flags & Container) {
        changeLevel(-1);
        qsizetype p;
        if (m_stack.size() >= 2 && topIsPendingBreak()) {
            p = qsizetype(m_stack.size()) - 2;
        } else if (b) {
            m_stack.push_back(forced);
            p = qsizetype(m_stack.size()) - 2;
        } else {
            p = qsizetype(m_stack.size()) - 1;
        }
        while (!(p >= 0 && m_stack[size_t(p)].kind == ItemKind::Element &&
                 m_stack[size_t(p)].element == element)) {
            if (p >= 0 && m_stack[size_t(p)].kind == ItemKind::Element &&
                vocabulary().endTagCloses(element, m_stack[size_t(p)].element)) {
                // Closed silently; the line break above it, if any, stays on top.
                m_stack.erase(m_stack.begin() + p);
                --p;
                changeLevel(-1);
            } else {
                failAtEndTag(p, element);
                break;
            }
        }
        if (p < qsizetype(m_stack.size()) - 1) {
            writeBreak();
            m_stack.pop_back();
            writeIndentation();
        }
        if (!m_failed) m_stack.pop_back();
        writeToken(t);
        if (b) m_stack.push_back(forced);
        return;
    }

    if (topIsPendingBreak()) {
        writeBreak();
        m_stack.pop_back();
        writeIndentation();
    } else if (b) {
        writeBreak();
        writeIndentation();
    }
    writeToken(t);
    if (b) m_stack.push_back(forced);
}

QByteArray THtmlIndenter::IndentHtml(const QByteArray &source, qsizetype *codeErr) {
    m_sink = nullptr;
    m_break[0] = '\r';
    m_break[1] = '\n';
    m_breakLength = 2;
    // Room for the indentation added; pages never written stay unallocated, so a
    // generous reservation costs nothing and spares copying a large output.
    m_out.reset(source.size() * 2 + 4096);
    const qsizetype result = run(source.constData(), source.size());
    if (codeErr) *codeErr = result;
    if (result >= 0 && OnError) OnError(this, result);
    return m_out.take();
}

qsizetype THtmlIndenter::IndentHtml(const char *source, qsizetype size, std::string_view lineBreak,
                                    const Sink &sink) {
    m_sink = &sink;
    m_breakLength = int(std::min<size_t>(2, lineBreak.size()));
    std::memcpy(m_break, lineBreak.data(), size_t(m_breakLength));
    m_out.reset(kChunk + 64 * 1024);
    const qsizetype result = run(source, size);
    if (!m_out.isEmpty()) sink(m_out.data(), m_out.size());
    m_out.take();
    m_sink = nullptr;
    if (result >= 0 && OnError) OnError(this, result);
    return result;
}

qsizetype THtmlIndenter::run(const char *source, qsizetype size) {
    m_src = source;
    m_pos = 0;
    m_end = size;
    m_trimmedEnd = size;
    while (m_trimmedEnd > 0 && isBlank(m_src[m_trimmedEnd - 1]))
        --m_trimmedEnd;
    m_flushed = 0;
    m_stack.clear();
    m_indentCount = 0;
    m_lines = 0;
    m_failed = false;
    m_cancelled = false;
    m_failure = Failure();

    Token t;
    while (m_pos < m_end && !m_failed && !m_cancelled) {
        nextToken(t);
        switch (t.kind) {
        case Kind::Text:
            if (topIsPendingBreak()) {
                writeBreak();
                m_stack.pop_back();
                writeIndentation();
            }
            writeToken(t);
            break;
        case Kind::LineBreak:
            if (!m_stack.empty() && m_stack.back().kind == ItemKind::ForcedBreak)
                m_stack.pop_back();
            if (!m_stack.empty() && m_stack.back().kind == ItemKind::LineBreak) {
                writeBreak();
                m_stack.pop_back();
            }
            m_stack.push_back({ItemKind::LineBreak});
            break;
        case Kind::Tag:
            processTag(t);
            m_tagLine = m_lines - t.breaks + 1;
            break;
        case Kind::Unknown:
            break;
        }
        flushIfFull();
    }
    if (m_cancelled) return -1;
    if (!m_failed) checkEnd();

    qsizetype result = -1;
    if (m_failed) {
        result = m_flushed + m_out.size();
        m_failure.line = m_lines + 1;
        const qsizetype restEnd = std::max(m_pos, m_trimmedEnd);
        writeSource(m_src + m_pos, restEnd - m_pos);
    }
    m_stack.clear();
    m_tag.clear();
    m_tag.shrink_to_fit();
    return result;
}
