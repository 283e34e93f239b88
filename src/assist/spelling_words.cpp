#include "assist/spelling_words.h"

#include "assist/accents.h"
#include "editor/highlighter.h"
#include "editor/plain_highlighters.h"

#include <QHash>

#include <cctype>
#include <cstring>

namespace Spelling {

namespace {

// Decoded text with the byte offset of each of its characters in the document.
struct Segment {
    QString text;
    std::vector<qsizetype> at; // at[i]: where text[i] starts; then where the segment ends
    qsizetype end = 0;

    bool empty() const { return text.isEmpty(); }
    void clear() {
        text.clear();
        at.clear();
    }
    void appendChar(char32_t c, qsizetype from, qsizetype to) {
        if (c > 0xffff) {
            const QChar pair[2] = {QChar::highSurrogate(c), QChar::lowSurrogate(c)};
            text.append(pair, 2);
            at.push_back(from);
            at.push_back(from);
        } else {
            text.append(QChar(char16_t(c)));
            at.push_back(from);
        }
        end = to;
    }
    // Appends the UTF-8 bytes s[from, to); offsets are the document's.
    void appendUtf8(const char *s, qsizetype from, qsizetype to) {
        qsizetype p = from;
        while (p < to) {
            const unsigned char c = static_cast<unsigned char>(s[p]);
            if (c < 0x80) {
                appendChar(c, p, p + 1);
                ++p;
                continue;
            }
            const int n = c >= 0xf0 ? 4 : c >= 0xe0 ? 3 : c >= 0xc0 ? 2 : 1;
            char32_t cp = n == 4 ? c & 0x07 : n == 3 ? c & 0x0f : c & 0x1f;
            bool ok = n > 1 && p + n <= to;
            for (int k = 1; ok && k < n; ++k) {
                const unsigned char d = static_cast<unsigned char>(s[p + k]);
                ok = (d & 0xc0) == 0x80;
                cp = (cp << 6) | (d & 0x3f);
            }
            if (!ok) {
                appendChar(0xfffd, p, p + 1);
                ++p;
            } else {
                appendChar(cp, p, p + n);
                p += n;
            }
        }
    }
};

bool isLetter(QChar c) {
    return c.isLetter() || c.isMark();
}
bool isApostrophe(QChar c) {
    return c == QLatin1Char('\'') || c == QChar(0x2019);
}
bool isJoiner(QChar c) {
    return isApostrophe(c) || c == QLatin1Char('-') || c == QChar(0x00ad);
}
bool isBlank(QChar c) {
    return c.isSpace() || c == QChar(0x200b);
}
// Characters that make a run of letters an identifier, a number or a path.
bool isCodeChar(QChar c) {
    if (c.isDigit()) return true;
    switch (c.unicode()) {
    case '_':
    case '/':
    case '\\':
    case '=':
    case '#':
    case '$':
    case '{':
    case '}':
    case '<':
    case '>':
    case '@':
    case '%':
    case '|':
    case '~':
    case '^':
    case '*':
        return true;
    default:
        return false;
    }
}

// A web address, an e-mail address, a file or domain name.
bool isAddress(const QString &t, int a, int b) {
    const QStringView chunk = QStringView(t).mid(a, b - a);
    if (chunk.contains(QLatin1String("://")) ||
        chunk.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return true;
    const qsizetype at = chunk.indexOf(QLatin1Char('@'));
    if (at > 0 && chunk.indexOf(QLatin1Char('.'), at) > at + 1) return true;
    for (qsizetype i = 1; i + 1 < chunk.size(); ++i)
        if (chunk[i] == QLatin1Char('.') && chunk[i - 1].isLetterOrNumber() &&
            chunk[i + 1].isLetterOrNumber())
            return true;
    return false;
}

// "JavaScript", "iPhone": a lower-case letter then a capital in one part of a word.
bool mixedCase(const QString &t, int a, int b) {
    bool lower = false;
    for (int i = a; i < b; ++i) {
        if (isJoiner(t[i]))
            lower = false;
        else if (t[i].isLower())
            lower = true;
        else if (lower && t[i].isUpper())
            return true;
    }
    return false;
}

void splitWords(const Segment &seg, const QString &language, std::vector<Word> &out) {
    const QString &t = seg.text;
    const int n = int(t.size());
    int i = 0;
    while (i < n) {
        while (i < n && isBlank(t[i]))
            ++i;
        const int a = i;
        while (i < n && !isBlank(t[i]))
            ++i;
        const int b = i;
        if (a == b || isAddress(t, a, b)) continue;
        int p = a;
        while (p < b) {
            if (!t[p].isLetter()) { // a word starts with a letter, marks only follow one
                ++p;
                continue;
            }
            const int ws = p;
            while (p < b && (isLetter(t[p]) || (isJoiner(t[p]) && p + 1 < b && isLetter(t[p + 1]))))
                ++p;
            const int we = p;
            const bool code = (ws > a && isCodeChar(t[ws - 1])) || (we < b && isCodeChar(t[we]));
            if (code) {
                while (p < b && (isLetter(t[p]) || isCodeChar(t[p]) || isJoiner(t[p])))
                    ++p;
                continue;
            }
            if (we - ws < 2 || mixedCase(t, ws, we)) continue;
            Word w;
            w.start = seg.at[size_t(ws)];
            w.length = seg.at[size_t(we)] - w.start;
            w.text = t.mid(ws, we - ws);
            w.text.remove(QChar(0x00ad));
            w.language = language;
            out.push_back(std::move(w));
        }
    }
}

void flush(Segment &seg, const QString &language, std::vector<Word> &out) {
    if (seg.empty()) return;
    seg.at.push_back(seg.end);
    splitWords(seg, language, out);
    seg.clear();
}

// Calls f(lineStart, lineEnd) for every line of the text, breaks excluded, until it
// returns false.
template <class F> void forEachLine(const char *s, qsizetype size, F f) {
    qsizetype p = 0;
    while (p <= size) {
        qsizetype e = p;
        while (e < size && s[e] != '\n' && s[e] != '\r')
            ++e;
        if (!f(p, e)) return;
        if (e >= size) break;
        p = e + 1 + (s[e] == '\r' && e + 1 < size && s[e + 1] == '\n');
    }
}

bool isVoidElement(const QString &name) {
    static const QStringList names = {
        QStringLiteral("area"),  QStringLiteral("base"),   QStringLiteral("br"),
        QStringLiteral("col"),   QStringLiteral("embed"),  QStringLiteral("hr"),
        QStringLiteral("img"),   QStringLiteral("input"),  QStringLiteral("link"),
        QStringLiteral("meta"),  QStringLiteral("param"),  QStringLiteral("source"),
        QStringLiteral("track"), QStringLiteral("wbr"),    QStringLiteral("basefont"),
        QStringLiteral("frame"), QStringLiteral("isindex")};
    return names.contains(name);
}

// Elements whose text is code, not prose (and scripts and styles the regions missed).
bool isCodeElement(const QString &name) {
    static const QStringList names = {QStringLiteral("code"),   QStringLiteral("kbd"),
                                      QStringLiteral("samp"),   QStringLiteral("var"),
                                      QStringLiteral("script"), QStringLiteral("style")};
    return names.contains(name);
}

bool isReadAttribute(const QString &name) {
    return name == QLatin1String("alt") || name == QLatin1String("title") ||
           name == QLatin1String("placeholder");
}

// Follows the tokens of a page: tags, their lang and spellcheck attributes, the
// open elements, and the text to read.
class PageReader {
public:
    explicit PageReader(const char *s, std::vector<Word> &out) : m_s(s), m_out(out) {}

    void token(qsizetype at, int length, int category, Language language) {
        if (language != Language::Html) {
            // A region (script, style, server block) or its marker: no word runs across it.
            flushAll();
            return;
        }
        const char *t = m_s + at;
        switch (category) {
        case HtmlHighlighter::Text:
            if (m_inTag) break;
            if (m_segAttr) flushAll();
            m_seg.appendUtf8(m_s, at, at + length);
            break;
        case HtmlHighlighter::SpecialChar: {
            const char32_t c = DecodeReference(t, length);
            if (m_inTag) {
                if (m_attr == Attr::Read) {
                    if (!m_segAttr) flushAll();
                    m_segAttr = true;
                    appendReference(c, at, length);
                } else if (m_attr == Attr::Lang && c) {
                    m_lang += QString::fromUcs4(&c, 1);
                }
            } else {
                if (m_segAttr) flushAll();
                appendReference(c, at, length);
            }
            break;
        }
        case HtmlHighlighter::Value:
            if (!m_inTag) break;
            if (m_attr == Attr::Read) {
                if (!m_segAttr) flushAll();
                m_segAttr = true;
                m_seg.appendUtf8(m_s, at, at + length);
            } else if (m_attr == Attr::Lang || m_attr == Attr::Spellcheck) {
                QString v = QString::fromUtf8(t, length);
                v.remove(QLatin1Char('"')).remove(QLatin1Char('\''));
                if (m_attr == Attr::Lang)
                    m_lang += v;
                else
                    m_spellcheck += v;
            }
            break;
        case HtmlHighlighter::Symbol:
            flushAll();
            symbol(t[0]);
            break;
        case HtmlHighlighter::Identifier:
        case HtmlHighlighter::UnknownWord:
            if (m_inTag && m_expectName) {
                m_tagName = QString::fromLatin1(t, length).toLower();
                m_expectName = false;
            }
            break;
        case HtmlHighlighter::ReservedWord:
            flushAll();
            if (m_inTag) {
                m_expectName = false;
                const QString name = QString::fromLatin1(t, length).toLower();
                m_attr = isReadAttribute(name) ? Attr::Read
                         : name == QLatin1String("lang") || name == QLatin1String("xml:lang")
                             ? Attr::Lang
                         : name == QLatin1String("spellcheck") ? Attr::Spellcheck
                                                               : Attr::Other;
                if (m_attr == Attr::Lang) {
                    m_hasLang = true;
                    m_lang.clear();
                } else if (m_attr == Attr::Spellcheck) {
                    m_hasSpellcheck = true;
                    m_spellcheck.clear();
                }
            }
            break;
        default: // comments, spaces
            flushAll();
            break;
        }
    }
    void lineEnd() { flushAll(); }

private:
    enum class Attr { Other, Read, Lang, Spellcheck };
    struct Open {
        QString name;
        QString language;
        bool checked;
    };

    void appendReference(char32_t c, qsizetype at, int length) {
        if (!c) {
            flushAll(); // unknown: a word ends there
        } else if (c == 0xa0 || c == 0x2009 || c == 0x202f) {
            flushAll();
        } else {
            m_seg.appendChar(c, at, at + length);
        }
    }

    QString language() const { return m_open.empty() ? QString() : m_open.back().language; }
    bool checked() const { return m_open.empty() || m_open.back().checked; }

    void flushAll() {
        if (m_seg.empty()) return;
        if (m_segAttr) {
            flush(m_seg, QString(), m_tagWords);
        } else {
            if (checked()) {
                flush(m_seg, language(), m_out);
            } else {
                m_seg.clear();
            }
        }
        m_segAttr = false;
    }

    void symbol(char c) {
        if (c == '<') {
            // Also an unclosed tag: a new one starts here.
            m_inTag = true;
            m_expectName = true;
            m_closing = false;
            m_declaration = false;
            m_selfClosing = false;
            m_tagName.clear();
            m_attr = Attr::Other;
            m_hasLang = m_hasSpellcheck = false;
            m_tagWords.clear();
            return;
        }
        if (!m_inTag) return;
        if (c == '/') {
            if (m_expectName)
                m_closing = true;
            else
                m_selfClosing = true;
        } else if (c == '!' || c == '?') {
            m_declaration = true;
            m_expectName = false;
        } else if (c == '=') {
            m_selfClosing = false;
        } else if (c == '>') {
            endTag();
        }
    }

    void endTag() {
        m_inTag = false;
        if (m_declaration || m_tagName.isEmpty()) return;
        if (m_closing) {
            for (size_t i = m_open.size(); i-- > 0;)
                if (m_open[i].name == m_tagName) {
                    m_open.resize(i);
                    break;
                }
            return;
        }
        const QString lang = m_hasLang ? NormalLanguageTag(m_lang.trimmed()) : language();
        bool check = checked() && !isCodeElement(m_tagName);
        if (m_hasSpellcheck) check = m_spellcheck.trimmed().toLower() != QLatin1String("false");
        // The element's own attributes are in its own language.
        for (Word &w : m_tagWords) {
            w.language = lang;
            if (check) m_out.push_back(std::move(w));
        }
        m_tagWords.clear();
        if (!m_selfClosing && !isVoidElement(m_tagName))
            m_open.push_back(
                {m_tagName,
                 m_hasLang ? (lang.isEmpty() ? QStringLiteral("und") : lang) : language(), check});
    }

    const char *m_s;
    std::vector<Word> &m_out;
    Segment m_seg;
    bool m_segAttr = false;

    bool m_inTag = false;
    bool m_expectName = false;
    bool m_closing = false;
    bool m_declaration = false;
    bool m_selfClosing = false;
    QString m_tagName;
    Attr m_attr = Attr::Other;
    bool m_hasLang = false;
    QString m_lang;
    bool m_hasSpellcheck = false;
    QString m_spellcheck;
    std::vector<Word> m_tagWords;
    std::vector<Open> m_open;
};

bool reachesHtml(const Highlighter *h) {
    if (!h) return false;
    if (h->language() == Language::Html) return true;
    if (!h->isMultiLanguage()) return false;
    std::vector<const Highlighter *> plain;
    h->collectPlain(plain);
    for (const Highlighter *p : plain)
        if (p->language() == Language::Html) return true;
    return false;
}

} // namespace

TextKind TextKindOf(const Highlighter *highlighter) {
    if (!highlighter || highlighter->language() == Language::General) return TextKind::Plain;
    return reachesHtml(highlighter) ? TextKind::Markup : TextKind::None;
}

void ForEachWord(const char *s, qsizetype size, const Highlighter *highlighter,
                 const std::function<bool(const Word &)> &f) {
    const TextKind kind = TextKindOf(highlighter);
    if (kind == TextKind::None) return;
    // Words are handed on line by line: a pass over a huge text never holds them all.
    std::vector<Word> out;
    const auto handOn = [&] {
        for (const Word &w : out)
            if (!f(w)) return false;
        out.clear();
        return true;
    };
    if (kind == TextKind::Plain) {
        forEachLine(s, size, [&](qsizetype a, qsizetype b) {
            Segment seg;
            seg.appendUtf8(s, a, b);
            flush(seg, QString(), out);
            return handOn();
        });
        return;
    }
    PageReader reader(s, out);
    TokenSink sink;
    LineState state = 0;
    forEachLine(s, size, [&](qsizetype a, qsizetype b) {
        sink.clear();
        state = highlighter->scanLine(s + a, int(b - a), state, sink);
        for (const HighlightToken &t : sink.tokens())
            reader.token(a + t.start, t.length, t.category, t.language);
        reader.lineEnd();
        return handOn();
    });
}

std::vector<Word> ExtractWords(const char *s, qsizetype size, const Highlighter *highlighter) {
    std::vector<Word> words;
    ForEachWord(s, size, highlighter, [&](const Word &w) {
        words.push_back(w);
        return true;
    });
    return words;
}

char32_t DecodeReference(const char *s, qsizetype length) {
    if (length < 2 || s[0] != '&') return 0;
    qsizetype end = length;
    if (s[end - 1] == ';') --end;
    if (s[1] == '#') {
        const bool hex = length > 2 && (s[2] | 0x20) == 'x';
        bool ok = false;
        const uint v =
            QByteArray(s + (hex ? 3 : 2), end - (hex ? 3 : 2)).toUInt(&ok, hex ? 16 : 10);
        return ok && v > 0 && v < 0x110000 && (v < 0xd800 || v > 0xdfff) ? char32_t(v) : 0;
    }
    static const QHash<QByteArray, char32_t> named = [] {
        QHash<QByteArray, char32_t> h;
        for (const Assist::AccentRow &r : Assist::AccentTable()) {
            QByteArray name(r.named + 1);
            name.chop(1);
            h.insert(name, r.character);
        }
        const std::pair<const char *, char32_t> more[] = {
            {"amp", '&'},      {"lt", '<'},        {"gt", '>'},        {"quot", '"'},
            {"apos", '\''},    {"nbsp", 0xa0},     {"rsquo", 0x2019},  {"lsquo", 0x2018},
            {"rdquo", 0x201d}, {"ldquo", 0x201c},  {"hellip", 0x2026}, {"ndash", 0x2013},
            {"mdash", 0x2014}, {"thinsp", 0x2009}, {"euro", 0x20ac},   {"shy", 0xad},
            {"oelig", 0x153},  {"OElig", 0x152},   {"Yuml", 0x178},    {"zwsp", 0x200b}};
        for (const auto &[name, c] : more)
            h.insert(name, c);
        return h;
    }();
    return named.value(QByteArray::fromRawData(s + 1, end - 1), 0);
}

QString DecodeText(const QByteArray &utf8) {
    QString out;
    qsizetype p = 0;
    const char *s = utf8.constData();
    while (p < utf8.size()) {
        const qsizetype amp = utf8.indexOf('&', p);
        const qsizetype stop = amp < 0 ? utf8.size() : amp;
        out += QString::fromUtf8(s + p, stop - p);
        if (amp < 0) break;
        qsizetype q = amp + 1;
        while (q < utf8.size() && q - amp < 12 &&
               (std::isalnum(static_cast<unsigned char>(s[q])) || s[q] == '#'))
            ++q;
        if (q < utf8.size() && s[q] == ';') ++q;
        const char32_t c = DecodeReference(s + amp, q - amp);
        if (c)
            out += QString::fromUcs4(&c, 1);
        else
            out += QString::fromUtf8(s + amp, q - amp);
        p = q;
    }
    return out;
}

QString NormalLanguageTag(const QString &tag) {
    QString t = tag.toLower();
    t.replace(QLatin1Char('_'), QLatin1Char('-'));
    return t;
}

} // namespace Spelling
