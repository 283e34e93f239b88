#include "assist/page_checker.h"

#include "assist/accents.h"
#include "assist/html_rules.h"
#include "editor/html_vocabulary.h"
#include "editor/multi_highlighter.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace PageCheck {

namespace {

// What the code regions of the page become: never markup, never a name. UTF-8
// continuation bytes and line breaks are kept, so lines and columns stay right.
constexpr char kCode = '\x01';

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
}

void maskSpans(char *s, const std::vector<std::pair<qsizetype, qsizetype>> &spans) {
    for (const auto &[b, e] : spans)
        for (qsizetype i = b; i < e; ++i) {
            const char c = s[i];
            if (c != '\n' && c != '\r' && (static_cast<unsigned char>(c) & 0xC0) != 0x80)
                s[i] = kCode;
        }
}

// The code regions of a PHP or ASP page, their markers included, and the content
// of script and style elements (whose tags are markup) become kCode.
void maskCode(QByteArray &text, const MultiHighlighter *page) {
    if (!page || text.isEmpty()) return;
    char *s = text.data();
    const Highlighter *inner = page->defaultHighlighter();
    if (inner && inner->isMultiLanguage()) {
        maskSpans(s, Assist::RawTextRegions(page).find(s, text.size(), true));
        page = static_cast<const MultiHighlighter *>(inner);
    }
    maskSpans(s, Assist::RawTextRegions(page).find(s, text.size(), false));
}

// A lower-case name of up to eight bytes as one integer (0: longer): most names
// are compared and looked up this way, without a string.
constexpr std::uint64_t pack(std::string_view name) {
    if (name.empty() || name.size() > 8) return 0;
    std::uint64_t key = 0;
    for (size_t i = 0; i < name.size(); ++i)
        key |= std::uint64_t(static_cast<unsigned char>(name[i])) << (8 * i);
    return key;
}

// Attribute names of the vocabulary, "data-*" left to the rule below.
class AttributeNames {
public:
    AttributeNames() {
        for (const HtmlVocabulary::Attribute &a : HtmlVocabulary::attributes()) {
            if (a.name.endsWith(QLatin1Char('*'))) continue;
            const std::string n = a.name.toStdString();
            if (const std::uint64_t key = pack(n)) {
                size_t k = slot(key);
                while (m_keys[k] != 0)
                    k = (k + 1) % m_keys.size();
                m_keys[k] = key;
            } else {
                m_long.insert(n);
            }
        }
    }
    bool contains(std::string_view name, std::uint64_t key) const {
        if (!key) return m_long.count(std::string(name)) != 0;
        for (size_t k = slot(key);; k = (k + 1) % m_keys.size()) {
            if (m_keys[k] == key) return true;
            if (m_keys[k] == 0) return false;
        }
    }

private:
    static size_t slot(std::uint64_t key) { return size_t((key * 0x9E3779B97F4A7C15ull) >> 54); }
    std::array<std::uint64_t, 1024> m_keys{};
    std::unordered_set<std::string> m_long;
};

bool attributeKnown(std::string_view name, std::uint64_t key) {
    static const AttributeNames names;
    if (names.contains(name, key)) return true;
    if (name.size() > 5 && (name.substr(0, 5) == "data-" || name.substr(0, 5) == "aria-"))
        return true;
    // Event handlers, and the namespaced names of XHTML (xml:lang, xmlns:og).
    if (name.size() > 2 && name[0] == 'o' && name[1] == 'n') return true;
    return name == "xmlns" || name.find(':') != std::string_view::npos;
}

// Character references of attribute values that matter in a URL or a name.
QString decodeValue(std::string_view v) {
    QString out = QString::fromUtf8(v.data(), qsizetype(v.size()));
    if (!out.contains(QLatin1Char('&'))) return out;
    static const std::pair<const char *, char16_t> named[] = {
        {"amp", u'&'}, {"lt", u'<'}, {"gt", u'>'}, {"quot", u'"'}, {"apos", u'\''}, {"nbsp", 0xA0}};
    QString r;
    r.reserve(out.size());
    for (qsizetype i = 0; i < out.size(); ++i) {
        const qsizetype semi =
            out.at(i) == QLatin1Char('&') ? out.indexOf(QLatin1Char(';'), i) : -1;
        if (semi > i + 1 && semi - i <= 10) {
            const QString ref = out.mid(i + 1, semi - i - 1);
            bool done = false;
            if (ref.startsWith(QLatin1Char('#'))) {
                bool ok = false;
                const uint code = ref.startsWith(QLatin1String("#x"), Qt::CaseInsensitive)
                                      ? ref.mid(2).toUInt(&ok, 16)
                                      : ref.mid(1).toUInt(&ok, 10);
                if (ok && code > 0 && code <= 0x10FFFF) {
                    const char32_t c = code;
                    r += QString::fromUcs4(&c, 1);
                    done = true;
                }
            } else {
                for (const auto &[name, c] : named)
                    if (ref == QLatin1String(name)) {
                        r += QChar(c);
                        done = true;
                    }
            }
            if (done) {
                i = semi;
                continue;
            }
        }
        r += out.at(i);
    }
    return r;
}

QString shown(std::string_view v) {
    QString s = QString::fromUtf8(v.data(), qsizetype(std::min<size_t>(v.size(), 200)));
    if (s.size() > 60) s = s.left(57) + QStringLiteral("…");
    return s;
}

QString tagText(const std::string &name, bool end = false) {
    return (end ? QStringLiteral("</") : QStringLiteral("<")) + shown(name) + QLatin1Char('>');
}

// A finding before its line and column are known. When `related` is set, the
// message is prefix + the line of `related` + suffix.
struct Pending {
    qsizetype offset;
    int length;
    Kind kind;
    QString prefix;
    QString suffix;
    qsizetype related = -1;
};

// What the rules say of one element name, found once per name and page.
struct Element {
    std::string name; // lower case
    bool isVoid;
    bool optionalEnd;
    bool known;       // in the vocabulary, custom (with a hyphen), svg or math
    bool raw;         // its text up to its end tag is not markup
    bool outer;       // html, head, body: HTML implies them
    bool foreignRoot; // svg, math
};

// Element names met in a page, as small numbers.
class Elements {
public:
    int intern(std::string_view name) {
        const auto it = m_index.find(name);
        if (it != m_index.end()) return it->second;
        const int id = int(m_all.size());
        Element e;
        e.name = std::string(name);
        e.isVoid = HtmlRules::isVoid(name);
        e.optionalEnd = HtmlRules::endTagOptional(name);
        e.foreignRoot = name == "svg" || name == "math";
        e.known = e.foreignRoot || name.find('-') != std::string_view::npos ||
                  HtmlVocabulary::isKnownElement(name.data(), int(name.size()));
        e.raw = name == "script" || name == "style" || name == "textarea" || name == "title" ||
                name == "xmp";
        e.outer = name == "html" || name == "head" || name == "body";
        m_all.push_back(std::move(e));
        m_index.emplace(m_all.back().name, id);
        return id;
    }
    const Element &operator[](int id) const { return m_all[size_t(id)]; }
    // Whether the start tag `tag` ends the open element `open` (HtmlRules, kept).
    bool startEnds(int tag, int open) {
        if (!m_all[size_t(open)].optionalEnd) return false;
        if (tag >= kMemo || open >= kMemo)
            return HtmlRules::startTagEnds(m_all[size_t(tag)].name, m_all[size_t(open)].name) !=
                   HtmlRules::Implied::No;
        std::int8_t &m = m_startEnds[size_t(open * kMemo + tag)];
        if (m < 0)
            m = HtmlRules::startTagEnds(m_all[size_t(tag)].name, m_all[size_t(open)].name) !=
                HtmlRules::Implied::No;
        return m != 0;
    }

private:
    static constexpr int kMemo = 128;
    std::unordered_map<std::string_view, int> m_index; // keys: names in m_all
    std::deque<Element> m_all;                         // never moves its elements
    std::vector<std::int8_t> m_startEnds = std::vector<std::int8_t>(kMemo * kMemo, -1);
};

struct Open {
    int element;
    qsizetype offset;
    int length;
    bool foreign = false;    // svg or math, or inside them: no HTML rule applies
    qsizetype closedBy = -1; // an outer end tag that closed it (crossed elements)
    int closer = -1;
};

// A URL value as written, for the checks made once the page is read.
struct RawUrl {
    std::string_view value; // into the checked text
    qsizetype offset;
    bool file; // href or src, outside <base>
};

class Checker {
public:
    Checker(const char *s, qsizetype n, const Options &o, bool linksOnly)
        : m_s(s), m_n(n), m_options(o), m_linksOnly(linksOnly) {}

    bool run();
    Result result();
    std::vector<Link> links();
    void targets(QSet<QString> *out, bool *dynamic) const {
        for (const auto &[id, at] : m_ids)
            out->insert(decodeValue(id));
        for (std::string_view name : m_names)
            out->insert(decodeValue(name));
        *dynamic = m_dynamicTargets;
    }

private:
    // Reads a tag's name from q into m_name, lowered; true when code writes part of it.
    bool readName(qsizetype &q);
    void startTag(qsizetype &p);
    void endTag(qsizetype &p);
    void attribute(int element, std::string_view name, qsizetype nameAt, std::string_view value,
                   qsizetype valueAt, bool hasValue, bool customElement, bool &dynamicTag,
                   bool &hasAlt);
    void push(int element, qsizetype offset, int length, bool foreign);
    void skipRawText(const std::string &name, qsizetype &p);
    QString tag(int element, bool end = false) const {
        return tagText(m_elements[element].name, end);
    }
    bool foreign() const { return !m_stack.empty() && m_stack.back().foreign; }
    void pop() {
        --m_openCount[size_t(m_stack.back().element)];
        m_stack.pop_back();
    }
    bool isTarget(std::string_view v) const { return m_ids.count(v) || m_names.count(v); }
    void notClosed(const Open &o);
    void add(qsizetype offset, int length, Kind kind, QString prefix, QString suffix = {},
             qsizetype related = -1);
    void finish();
    // Line and column of each offset, in one walk over the text.
    void locate(std::vector<std::pair<qsizetype, std::pair<int, int> *>> &wanted) const;

    const char *m_s;
    qsizetype m_n;
    const Options &m_options;
    bool m_linksOnly;
    std::vector<Pending> m_pending;
    bool m_truncated = false;
    std::vector<Open> m_stack;
    std::vector<int> m_openCount;     // by element: how many are in m_stack
    std::vector<Open> m_crossed;      // closed by an outer end tag; their own may still come
    bool m_foreign = false;           // the tag being read is inside svg or math
    bool m_foreignAttributes = false; // ... or is svg or math itself
    Elements m_elements;
    // Identifiers and names, as written in the text.
    std::unordered_map<std::string_view, qsizetype> m_ids;
    std::unordered_set<std::string_view> m_names;
    bool m_dynamicTargets = false;
    std::vector<RawUrl> m_urls; // "#name" links and relative file candidates
    std::vector<Link> m_links;  // every URL, only when the links are asked for
    bool m_base = false;        // a <base href> changes where relative links lead
    std::string m_name, m_attr;
};

void Checker::add(qsizetype offset, int length, Kind kind, QString prefix, QString suffix,
                  qsizetype related) {
    if (m_linksOnly) return;
    if (m_options.limit > 0 && int(m_pending.size()) >= m_options.limit) {
        m_truncated = true;
        return;
    }
    m_pending.push_back({offset, length, kind, std::move(prefix), std::move(suffix), related});
}

void Checker::notClosed(const Open &o) {
    if (o.closedBy >= 0)
        add(o.offset, o.length, Kind::Structure,
            QStringLiteral("L'élément %1 n'est pas fermé avant %2 (ligne ")
                .arg(tag(o.element), tag(o.closer, true)),
            QStringLiteral(")"), o.closedBy);
    else
        add(o.offset, o.length, Kind::Structure,
            QStringLiteral("L'élément %1 n'est jamais fermé").arg(tag(o.element)));
}

void Checker::push(int element, qsizetype offset, int length, bool foreign) {
    if (!foreign)
        while (!m_stack.empty() && m_elements.startEnds(element, m_stack.back().element))
            pop();
    m_stack.push_back({element, offset, length, foreign, -1, -1});
    if (size_t(element) >= m_openCount.size()) m_openCount.resize(size_t(element) + 1, 0);
    ++m_openCount[size_t(element)];
}

bool Checker::run() {
    const std::atomic<bool> *stop = m_options.stop;
    qsizetype nextLook = 0;
    qsizetype p = 0;
    while (p < m_n) {
        if (stop && p >= nextLook) {
            if (stop->load(std::memory_order_relaxed)) return false;
            nextLook = p + (1 << 18);
        }
        const void *lt = std::memchr(m_s + p, '<', size_t(m_n - p));
        if (!lt) break;
        p = static_cast<const char *>(lt) - m_s;
        if (p + 1 >= m_n) break;
        const char c = m_s[p + 1];
        if (c == '!') {
            const std::string_view rest(m_s + p, size_t(m_n - p));
            if (rest.substr(0, 4) == "<!--") {
                const size_t e = rest.find("-->", 4);
                p = e == std::string_view::npos ? m_n : p + qsizetype(e) + 3;
                continue;
            }
        }
        if (c == '!' || c == '?' || (c == '/' && (p + 2 >= m_n || !isAlpha(m_s[p + 2])))) {
            // Declarations, processing instructions and bogus comments end at '>'.
            const void *gt = std::memchr(m_s + p, '>', size_t(m_n - p));
            p = gt ? static_cast<const char *>(gt) - m_s + 1 : m_n;
        } else if (c == '/') {
            endTag(p);
        } else if (isAlpha(c)) {
            startTag(p);
        } else {
            ++p;
        }
    }
    finish();
    return true;
}

bool Checker::readName(qsizetype &q) {
    m_name.clear();
    bool dynamic = false;
    while (q < m_n && !isSpace(m_s[q]) && m_s[q] != '>' && m_s[q] != '/') {
        dynamic = dynamic || m_s[q] == kCode;
        m_name.push_back(lower(m_s[q]));
        ++q;
    }
    return dynamic;
}

void Checker::startTag(qsizetype &p) {
    const qsizetype tagOffset = p;
    qsizetype q = p + 1;
    const bool dynamic = readName(q);
    const int nameLength = int(q - p);
    // A name written by code (dynamic): neither it nor its end tag is known.
    const int id = dynamic ? -1 : m_elements.intern(m_name);
    const Element *el = dynamic ? nullptr : &m_elements[id];
    m_foreign = foreign();
    const bool enteringForeign = el && !m_foreign && el->foreignRoot;
    m_foreignAttributes = dynamic || m_foreign || enteringForeign;
    const bool custom = el && el->name.find('-') != std::string::npos;
    const bool known = !el || m_foreign || el->known;
    if (!known)
        add(p, nameLength, Kind::Unknown,
            QStringLiteral("Élément inconnu : %1").arg(tagText(el->name)));

    bool selfClosing = false;
    bool dynamicTag = dynamic;
    bool hasAlt = false;
    for (;;) {
        while (q < m_n && isSpace(m_s[q]))
            ++q;
        if (q >= m_n) break;
        if (m_s[q] == '>') {
            ++q;
            break;
        }
        if (m_s[q] == '/') {
            ++q;
            if (q < m_n && m_s[q] == '>') {
                selfClosing = true;
                ++q;
                break;
            }
            continue;
        }
        const qsizetype a = q;
        ++q; // a name may begin with '='
        while (q < m_n && !isSpace(m_s[q]) && m_s[q] != '>' && m_s[q] != '=' && m_s[q] != '/')
            ++q;
        const std::string_view attrName(m_s + a, size_t(q - a));
        qsizetype r = q;
        while (r < m_n && isSpace(m_s[r]))
            ++r;
        std::string_view value;
        qsizetype valueAt = r;
        bool hasValue = false;
        if (r < m_n && m_s[r] == '=') {
            ++r;
            while (r < m_n && isSpace(m_s[r]))
                ++r;
            hasValue = true;
            if (r < m_n && (m_s[r] == '"' || m_s[r] == '\'')) {
                const void *close = std::memchr(m_s + r + 1, m_s[r], size_t(m_n - r - 1));
                valueAt = r + 1;
                const qsizetype e = close ? static_cast<const char *>(close) - m_s : m_n;
                value = std::string_view(m_s + valueAt, size_t(e - valueAt));
                q = close ? e + 1 : m_n;
            } else {
                valueAt = r;
                while (r < m_n && !isSpace(m_s[r]) && m_s[r] != '>')
                    ++r;
                value = std::string_view(m_s + valueAt, size_t(r - valueAt));
                q = r;
            }
        }
        attribute(id, attrName, a, value, valueAt, hasValue, custom || !known, dynamicTag, hasAlt);
    }
    p = q;
    if (!el) return;
    if (el->name == "img" && !hasAlt && !dynamicTag && !m_foreign)
        add(tagOffset, nameLength, Kind::Alternative,
            QStringLiteral("Image sans texte de remplacement (attribut alt)"));
    if (m_foreign) {
        if (!selfClosing) push(id, tagOffset, nameLength, true);
        return;
    }
    if (el->isVoid || (selfClosing && !enteringForeign)) {
        // XHTML's "<x />" closes the element there.
        if (!el->isVoid)
            while (!m_stack.empty() && m_elements.startEnds(id, m_stack.back().element))
                pop();
        return;
    }
    push(id, tagOffset, nameLength, enteringForeign);
    if (el->raw) skipRawText(el->name, p);
}

// Text up to the element's end tag is not markup.
void Checker::skipRawText(const std::string &name, qsizetype &p) {
    for (qsizetype q = p; q < m_n;) {
        const void *lt = std::memchr(m_s + q, '<', size_t(m_n - q));
        if (!lt) break;
        q = static_cast<const char *>(lt) - m_s;
        if (q + 2 + qsizetype(name.size()) <= m_n && m_s[q + 1] == '/') {
            bool same = true;
            for (size_t k = 0; k < name.size() && same; ++k)
                same = lower(m_s[q + 2 + qsizetype(k)]) == name[k];
            const qsizetype after = q + 2 + qsizetype(name.size());
            if (same &&
                (after == m_n || isSpace(m_s[after]) || m_s[after] == '>' || m_s[after] == '/')) {
                p = q;
                return;
            }
        }
        ++q;
    }
    p = m_n; // never closed: the end says so
}

void Checker::endTag(qsizetype &p) {
    const qsizetype tagOffset = p;
    qsizetype q = p + 2;
    const bool dynamic = readName(q);
    const int length = int(q - p);
    const void *gt = q < m_n ? std::memchr(m_s + q, '>', size_t(m_n - q)) : nullptr;
    p = gt ? static_cast<const char *>(gt) - m_s + 1 : m_n;
    if (dynamic) return;
    const int id = m_elements.intern(m_name);
    const Element &el = m_elements[id];
    if (!foreign() && el.isVoid) {
        add(tagOffset, length, Kind::Structure,
            QStringLiteral("%1 est un élément vide : il n'a pas de balise de fin").arg(tag(id)));
        return;
    }
    // Only an element that is open is looked for: a page of stray end tags over a
    // deep nesting stays linear.
    const bool open = size_t(id) < m_openCount.size() && m_openCount[size_t(id)] > 0;
    for (qsizetype k = open ? qsizetype(m_stack.size()) - 1 : -1; k >= 0; --k) {
        if (m_stack[size_t(k)].element != id) continue;
        for (qsizetype i = qsizetype(m_stack.size()) - 1; i > k; --i) {
            Open &o = m_stack[size_t(i)];
            const Element &inner = m_elements[o.element];
            if (inner.optionalEnd && HtmlRules::endTagEnds(el.name, inner.name)) continue;
            o.closedBy = tagOffset;
            o.closer = id;
            m_crossed.push_back(o);
        }
        // A few pending at most: an old one whose end tag never came is reported.
        while (m_crossed.size() > 32) {
            notClosed(m_crossed.front());
            m_crossed.erase(m_crossed.begin());
        }
        while (qsizetype(m_stack.size()) > k)
            pop();
        return;
    }
    for (auto it = m_crossed.rbegin(); it != m_crossed.rend(); ++it) {
        if (it->element != id) continue;
        add(tagOffset, length, Kind::Structure,
            QStringLiteral("Balises croisées : %1 vient après %2 (ligne ")
                .arg(tag(id, true), tag(it->closer, true)),
            QStringLiteral("), qui ferme l'élément englobant"), it->closedBy);
        m_crossed.erase(std::next(it).base());
        return;
    }
    // The page's outer elements may be implied by HTML.
    if (el.outer) return;
    add(tagOffset, length, Kind::Structure,
        QStringLiteral("Balise de fin %1 sans élément %2 ouvert").arg(tag(id, true), tag(id)));
}

void Checker::attribute(int element, std::string_view name, qsizetype nameAt,
                        std::string_view value, qsizetype valueAt, bool hasValue,
                        bool customElement, bool &dynamicTag, bool &hasAlt) {
    m_attr.clear();
    for (char c : name) {
        if (c == kCode) {
            dynamicTag = true;
            return;
        }
        m_attr.push_back(lower(c));
    }
    const std::uint64_t key = pack(m_attr);
    constexpr std::uint64_t kAlt = pack("alt"), kId = pack("id"), kName = pack("name"),
                            kHref = pack("href"), kSrc = pack("src"), kPoster = pack("poster"),
                            kAction = pack("action"), kData = pack("data");
    if (key == kAlt) hasAlt = true;
    if (!m_foreignAttributes && !customElement && !attributeKnown(m_attr, key))
        add(nameAt, int(name.size()), Kind::Unknown,
            QStringLiteral("Attribut inconnu : %1").arg(shown(name)));
    if (!hasValue) return;
    const bool dynamicValue = value.find(kCode) != std::string_view::npos;

    if (key == kId || key == kName) {
        if (dynamicValue) {
            m_dynamicTargets = true;
            return;
        }
        if (value.empty()) return;
        if (key == kName) {
            m_names.insert(value);
        } else {
            auto [it, added] = m_ids.try_emplace(value, valueAt);
            if (!added && !m_foreign)
                add(valueAt, int(value.size()), Kind::Identifier,
                    QStringLiteral("L'identifiant « %1 » est déjà utilisé (ligne ")
                        .arg(shown(value)),
                    QStringLiteral(")"), it->second);
        }
        return;
    }

    const std::string_view elementName =
        element >= 0 ? std::string_view(m_elements[element].name) : std::string_view();
    const bool url = key == kHref || key == kSrc || key == kPoster || key == kAction ||
                     m_attr == "background" || (key == kData && elementName == "object");
    if (!url) return;
    if (m_linksOnly) {
        Link l;
        l.offset = valueAt;
        l.length = int(value.size());
        l.element = QByteArray(elementName.data(), qsizetype(elementName.size()));
        l.attribute = QByteArray::fromStdString(m_attr);
        l.url = decodeValue(value).trimmed();
        l.dynamic = dynamicValue || element < 0;
        m_links.push_back(std::move(l));
        return;
    }
    if (elementName == "base" && key == kHref) {
        m_base = true;
        return;
    }
    if (dynamicValue || value.empty()) return;
    const bool file = key == kHref || key == kSrc;
    if (file || value.front() == '#') m_urls.push_back({value, valueAt, file});
}

void Checker::finish() {
    for (const Open &o : m_crossed)
        notClosed(o);
    for (const Open &o : m_stack)
        if (!m_elements[o.element].optionalEnd) notClosed(o);
    if (m_linksOnly) return;

    const bool files = !m_options.baseFolder.isEmpty() && !m_base;
    const QDir base(m_options.baseFolder);
    // Each distinct value is looked at once: a page repeats its links.
    std::unordered_map<std::string_view, bool> anchorFound, fileFound;
    std::string target;
    for (const RawUrl &u : m_urls) {
        if (u.value.front() == '#') {
            if (m_dynamicTargets || u.value.size() < 2) continue;
            auto [it, added] = anchorFound.try_emplace(u.value, true);
            if (added) {
                bool found = isTarget(u.value.substr(1));
                if (!found) {
                    const QString t = QUrl::fromPercentEncoding(
                        decodeValue(u.value.substr(1)).trimmed().toUtf8());
                    target = t.toStdString();
                    found = isTarget(target) ||
                            t.compare(QLatin1String("top"), Qt::CaseInsensitive) == 0;
                }
                it->second = found;
            }
            if (!it->second)
                add(u.offset, int(u.value.size()), Kind::Anchor,
                    QStringLiteral("Lien « %1 » : aucun élément de la page n'a cet identifiant "
                                   "ou ce nom")
                        .arg(shown(u.value)));
            continue;
        }
        if (!files || !u.file) continue;
        auto [it, added] = fileFound.try_emplace(u.value, true);
        QString path;
        if (added) {
            if (IsRelativeFileUrl(decodeValue(u.value), &path))
                it->second = QFileInfo::exists(base.filePath(path));
        }
        if (!it->second) {
            IsRelativeFileUrl(decodeValue(u.value), &path);
            add(u.offset, int(u.value.size()), Kind::MissingFile,
                QStringLiteral("Fichier introuvable : %1").arg(path));
        }
    }
}

void Checker::locate(std::vector<std::pair<qsizetype, std::pair<int, int> *>> &wanted) const {
    std::sort(wanted.begin(), wanted.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    qsizetype pos = 0;
    int line = 1, column = 1;
    for (auto &[offset, out] : wanted) {
        const qsizetype to = std::min(offset, m_n);
        while (pos < to) {
            const char c = m_s[pos++];
            if (c == '\n') {
                ++line;
                column = 1;
            } else if (c == '\r') {
                if (pos < m_n && m_s[pos] == '\n') ++pos;
                ++line;
                column = 1;
            } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
                ++column;
            }
        }
        *out = {line, column};
    }
}

Result Checker::result() {
    Result r;
    r.truncated = m_truncated;
    std::stable_sort(m_pending.begin(), m_pending.end(),
                     [](const Pending &a, const Pending &b) { return a.offset < b.offset; });
    std::vector<std::pair<int, int>> at(m_pending.size()), relatedAt(m_pending.size());
    std::vector<std::pair<qsizetype, std::pair<int, int> *>> wanted;
    wanted.reserve(m_pending.size() * 2);
    for (size_t i = 0; i < m_pending.size(); ++i) {
        wanted.emplace_back(m_pending[i].offset, &at[i]);
        if (m_pending[i].related >= 0) wanted.emplace_back(m_pending[i].related, &relatedAt[i]);
    }
    locate(wanted);
    r.findings.reserve(m_pending.size());
    for (size_t i = 0; i < m_pending.size(); ++i) {
        Pending &p = m_pending[i];
        Finding f;
        f.offset = p.offset;
        f.length = std::max(1, p.length);
        f.line = at[i].first;
        f.column = at[i].second;
        f.kind = p.kind;
        f.message = p.related >= 0 ? p.prefix + QString::number(relatedAt[i].first) + p.suffix
                                   : std::move(p.prefix);
        r.findings.push_back(std::move(f));
    }
    return r;
}

std::vector<Link> Checker::links() {
    std::vector<std::pair<int, int>> at(m_links.size());
    std::vector<std::pair<qsizetype, std::pair<int, int> *>> wanted;
    for (size_t i = 0; i < m_links.size(); ++i)
        wanted.emplace_back(m_links[i].offset, &at[i]);
    locate(wanted);
    for (size_t i = 0; i < m_links.size(); ++i) {
        m_links[i].line = at[i].first;
        m_links[i].column = at[i].second;
    }
    return std::move(m_links);
}

} // namespace

Result Check(QByteArray text, const Options &options) {
    maskCode(text, options.page);
    Checker c(text.constData(), text.size(), options, false);
    if (!c.run()) {
        Result r;
        r.stopped = true;
        return r;
    }
    return c.result();
}

std::vector<Link> Links(QByteArray text, const MultiHighlighter *page) {
    maskCode(text, page);
    Options o;
    o.page = page;
    Checker c(text.constData(), text.size(), o, true);
    c.run();
    return c.links();
}

PageLinks LinksAndTargets(QByteArray text, const MultiHighlighter *page) {
    maskCode(text, page);
    Options o;
    o.page = page;
    Checker c(text.constData(), text.size(), o, true);
    c.run();
    PageLinks r;
    c.targets(&r.targets, &r.dynamicTargets);
    r.links = c.links();
    return r;
}

bool IsRelativeFileUrl(const QString &url, QString *path) {
    const QString u = url.trimmed();
    if (u.isEmpty() || u.startsWith(QLatin1Char('#')) || u.startsWith(QLatin1Char('/')) ||
        u.startsWith(QLatin1Char('\\')) || u.contains(QLatin1Char(kCode)) ||
        u.contains(QLatin1String("{{")) || u.contains(QLatin1String("${")) ||
        u.contains(QLatin1String("<%")) || u.contains(QLatin1String("<?")))
        return false;
    // A scheme: letters, digits, "+", "-", "." before the first ':'.
    for (qsizetype i = 0; i < u.size(); ++i) {
        const QChar c = u.at(i);
        if (c == QLatin1Char(':')) return false;
        const bool schemeChar = (c.unicode() < 128 && c.isLetterOrNumber()) ||
                                c == QLatin1Char('+') || c == QLatin1Char('-') ||
                                c == QLatin1Char('.');
        if (!schemeChar || (i == 0 && !c.isLetter())) break;
    }
    qsizetype cut = u.size();
    for (QChar end : {QLatin1Char('#'), QLatin1Char('?')}) {
        const qsizetype at = u.indexOf(end);
        if (at >= 0) cut = std::min(cut, at);
    }
    const QString file = QUrl::fromPercentEncoding(u.left(cut).toUtf8());
    if (file.isEmpty()) return false;
    if (path) *path = file;
    return true;
}

} // namespace PageCheck
