#include "authoring/page_properties.h"

#include "authoring/insertion.h"

#include <QList>

#include <algorithm>
#include <cctype>

namespace Authoring {

namespace {

struct Attr {
    QString name;  // lower case
    QString value; // as typed, without its quotes
    int nameStart = 0;
    int nameEnd = 0;
    int valueStart = -1; // first character of the value, its opening quote included
    int valueEnd = -1;   // after the value, its closing quote included
};

struct Tag {
    QString name; // lower case, "/" in front for an end tag
    int start = 0;
    int end = -1; // the ">" that ends it; -1 for a tag that is never closed
    QList<Attr> attrs;

    const Attr *attr(const QString &n) const {
        for (const Attr &a : attrs)
            if (a.name == n) return &a;
        return nullptr;
    }
};

bool isBreak(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}
bool isSpace(QChar c) {
    return c.isSpace();
}

// Skips a construct that holds no elements of its own (comment, server code); `open`
// tells whether it runs to the end of the text without its closing mark.
int skipOpaque(const QString &t, int i, bool *open = nullptr) {
    if (i + 1 >= t.size()) return -1;
    const QChar next = t[i + 1];
    if (next != QLatin1Char('!') && next != QLatin1Char('?') && next != QLatin1Char('%')) return -1;
    static const std::array<std::pair<const char *, const char *>, 4> kinds = {
        {{"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}, {"<%", "%>"}}};
    for (const auto &[openMark, close] : kinds) {
        if (QStringView(t).mid(i).startsWith(QLatin1String(openMark))) {
            const int e = int(t.indexOf(QLatin1String(close), i + int(qstrlen(openMark))));
            if (open) *open = e < 0;
            return e < 0 ? int(t.size()) : e + int(qstrlen(close));
        }
    }
    return -1;
}

// Server code inside a tag ("<body <?php body_class(); ?>>", bgcolor="<%=c%>"): where
// it ends, or -1 when none starts at i.
int skipServerCode(const QString &t, int i, bool *open = nullptr) {
    if (i + 1 >= t.size() || t[i] != QLatin1Char('<') ||
        (t[i + 1] != QLatin1Char('?') && t[i + 1] != QLatin1Char('%')))
        return -1;
    return skipOpaque(t, i, open);
}

// The first `c` at or after `from` that is not inside server code, or -1.
int findOutsideCode(const QString &t, int from, QChar c) {
    int i = from;
    for (;;) {
        const int hit = int(t.indexOf(c, i));
        if (hit < 0) return -1;
        int lt = int(t.indexOf(QLatin1Char('<'), i));
        int codeEnd = -1;
        while (lt >= 0 && lt <= hit) {
            codeEnd = skipServerCode(t, lt);
            if (codeEnd >= 0 || lt == hit) break;
            lt = int(t.indexOf(QLatin1Char('<'), lt + 1));
        }
        if (lt < 0 || lt > hit || codeEnd < 0) return hit;
        i = codeEnd;
    }
}

bool isKeptName(QStringView name) {
    static const QLatin1String kept[] = {
        QLatin1String("html"),     QLatin1String("/html"),   QLatin1String("head"),
        QLatin1String("/head"),    QLatin1String("title"),   QLatin1String("/title"),
        QLatin1String("body"),     QLatin1String("/body"),   QLatin1String("meta"),
        QLatin1String("!doctype"), QLatin1String("frameset")};
    if (name.size() < 4 || name.size() > 8) return false;
    for (const QLatin1String &k : kept)
        if (k.size() == name.size() && name.compare(k, Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool isRawTextName(QStringView name) {
    return (name.size() == 6 && name.compare(QLatin1String("script"), Qt::CaseInsensitive) == 0) ||
           (name.size() == 5 && name.compare(QLatin1String("style"), Qt::CaseInsensitive) == 0);
}

// The tags of the elements above, in order, that start in [from, until) (until -1: the
// end). Lenient: a tag without ">" ends where the next "<" starts; comments, server
// code, script and style contents are not looked into. `openAtEnd` tells whether the
// text ends inside one of those, or inside a tag, left open.
QList<Tag> scanTags(const QString &t, int from = 0, int until = -1, bool *openAtEnd = nullptr) {
    if (openAtEnd) *openAtEnd = false;
    int lastOpenTag = -1;
    QList<Tag> tags;
    const int n = int(t.size());
    int i = from;
    while (i < n) {
        i = int(t.indexOf(QLatin1Char('<'), i));
        if (i < 0 || (until >= 0 && i >= until)) break;
        bool open = false;
        const int skipped = skipOpaque(t, i, &open);
        if (skipped >= 0) {
            if (open && openAtEnd) *openAtEnd = true;
            i = skipped;
            continue;
        }
        int j = i + 1;
        if (j < n && t[j] == QLatin1Char('/')) ++j;
        if (j >= n || !(t[j].isLetter() || t[j] == QLatin1Char('!'))) {
            i = i + 1;
            continue;
        }
        Tag tag;
        tag.start = i;
        const int nameStart = j;
        while (j < n && !isSpace(t[j]) && t[j] != QLatin1Char('>') && t[j] != QLatin1Char('<') &&
               !(t[j] == QLatin1Char('/') && j > nameStart))
            ++j;
        // Only the elements the page properties use are kept; the others are
        // scanned past without copying anything.
        const QStringView nameView = QStringView(t).mid(i + 1, j - i - 1);
        const bool keep = isKeptName(nameView);
        if (keep) tag.name = nameView.toString().toLower();
        // Attributes up to ">".
        while (j < n) {
            const QChar c = t[j];
            if (c == QLatin1Char('>')) {
                tag.end = j;
                break;
            }
            if (c == QLatin1Char('<')) {
                const int code = skipServerCode(t, j, &open);
                if (code < 0) break;
                if (open && openAtEnd) *openAtEnd = true;
                j = code;
                continue;
            }
            if (isSpace(c) || c == QLatin1Char('/')) {
                ++j;
                continue;
            }
            Attr a;
            a.nameStart = j;
            while (j < n && !isSpace(t[j]) && t[j] != QLatin1Char('=') &&
                   t[j] != QLatin1Char('>') && t[j] != QLatin1Char('<'))
                ++j;
            a.nameEnd = j;
            if (keep) a.name = t.mid(a.nameStart, a.nameEnd - a.nameStart).toLower();
            int k = j;
            while (k < n && isSpace(t[k]))
                ++k;
            if (k < n && t[k] == QLatin1Char('=')) {
                ++k;
                while (k < n && isSpace(t[k]))
                    ++k;
                if (k < n && (t[k] == QLatin1Char('"') || t[k] == QLatin1Char('\''))) {
                    int close = int(t.indexOf(t[k], k + 1));
                    int nextTag = int(t.indexOf(QLatin1Char('<'), k + 1));
                    if (nextTag >= 0 && (close < 0 || nextTag < close)) {
                        // Server code in the value may hold quotes and "<", ">" of its own.
                        close = findOutsideCode(t, k + 1, t[k]);
                        nextTag = findOutsideCode(t, k + 1, QLatin1Char('<'));
                    }
                    if (close >= 0 && (nextTag < 0 || close < nextTag ||
                                       findOutsideCode(t, k + 1, QLatin1Char('>')) > close)) {
                        a.valueStart = k;
                        a.valueEnd = close + 1;
                        j = close + 1;
                        if (keep) {
                            a.value = t.mid(k + 1, close - k - 1);
                            tag.attrs << a;
                        }
                        continue;
                    }
                }
                // Unquoted: up to white space or ">", server code included.
                a.valueStart = k;
                while (k < n && !isSpace(t[k]) && t[k] != QLatin1Char('>')) {
                    if (t[k] == QLatin1Char('<')) {
                        const int code = skipServerCode(t, k, &open);
                        if (code < 0) break;
                        if (open && openAtEnd) *openAtEnd = true;
                        k = code;
                        continue;
                    }
                    ++k;
                }
                a.valueEnd = k;
                if (keep) a.value = t.mid(a.valueStart, k - a.valueStart);
                j = k;
            }
            if (keep) tag.attrs << a;
        }
        if (keep) tags << tag;
        if (tag.end < 0) {
            lastOpenTag = tag.start;
            i = j;
            continue;
        }
        i = tag.end + 1;
        if (isRawTextName(nameView)) {
            const QString close = QLatin1String("</") + nameView.toString().toLower();
            int k = i;
            while ((k = int(t.indexOf(close, k, Qt::CaseInsensitive))) >= 0) {
                const int after = k + int(close.size());
                if (after >= n || isSpace(t[after]) || t[after] == QLatin1Char('>')) break;
                k = after;
            }
            if (k < 0 && openAtEnd) *openAtEnd = true;
            i = k < 0 ? n : k;
        }
    }
    // No ">" after a tag left open: one added at the end would change how the quotes
    // before it pair up.
    if (openAtEnd && lastOpenTag >= 0 && t.lastIndexOf(QLatin1Char('>')) < lastOpenTag)
        *openAtEnd = true;
    return tags;
}

const Tag *firstTag(const QList<Tag> &tags, const QString &name, int from = 0) {
    for (const Tag &tag : tags)
        if (tag.start >= from && tag.name == name) return &tag;
    return nullptr;
}

const Tag *firstMeta(const QList<Tag> &tags, int meta) {
    const QString wanted = metaNameText(meta);
    for (const Tag &tag : tags) {
        if (tag.name != QLatin1String("meta")) continue;
        const Attr *a = tag.attr(QStringLiteral("name"));
        if (a && a->value.trimmed().compare(wanted, Qt::CaseInsensitive) == 0) return &tag;
    }
    return nullptr;
}

// The title text as the field shows it: a line break counts as a space.
QString titleText(const QString &t, const Tag &open, const QList<Tag> &tags) {
    const Tag *close = firstTag(tags, QStringLiteral("/title"), open.end + 1);
    const int from = open.end + 1;
    const int to = close ? close->start : int(t.size());
    QString s = t.mid(from, to - from);
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

// A tag the page needs cannot be found, even after it was added: an unclosed comment,
// script or style swallows it.
QString notFound() {
    return QStringLiteral("Les propriétés de la page n'ont pas été écrites : la structure de la "
                          "page (balises html, head, title, body) est introuvable, peut-être à "
                          "cause d'un commentaire ou d'un script non fermé. Le document n'a pas "
                          "été modifié.");
}

QString unterminated(const QString &name) {
    return QStringLiteral("Les propriétés de la page n'ont pas été écrites : la balise <%1 n'est "
                          "pas fermée par « > ». Le document n'a pas été modifié.")
        .arg(name);
}

// Builds the new text step by step; each step scans the current text again.
class Writer {
public:
    Writer(const QString &text, QString eol, bool casse)
        : m_text(text), m_eol(std::move(eol)), m_casse(casse) {
        rescan();
    }

    QString &text() { return m_text; }
    const QList<Tag> &tags() const { return m_tags; }
    const Tag *find(const QString &name) const { return firstTag(m_tags, name); }
    QString cased(const QString &markup) const { return ApplyTagCase(markup, m_casse); }
    QString error;

    void insert(int at, const QString &s) { replace(at, at, s); }
    // An edit that cannot change how the rest of the page reads (a whole tag, an
    // escaped attribute value, a line of our own markup) rescans only around itself.
    void replace(int from, int to, const QString &s, bool neutral = true) {
        m_text.replace(from, to - from, s);
        const bool unterminated =
            std::any_of(m_tags.cbegin(), m_tags.cend(), [](const Tag &t) { return t.end < 0; });
        if (!neutral || unterminated) {
            rescan();
            return;
        }
        const int delta = int(s.size()) - (to - from);
        qsizetype a = 0; // tags wholly before the edit stay
        while (a < m_tags.size() && m_tags[a].end < from)
            ++a;
        qsizetype b = a; // tags wholly after it move
        while (b < m_tags.size() && m_tags[b].start < to)
            ++b;
        const int windowStart = a < m_tags.size() ? std::min(m_tags[a].start, from) : from;
        QList<Tag> tags = m_tags.mid(0, a);
        const int windowEnd = b < m_tags.size() ? m_tags[b].start + delta : -1;
        tags += scanTags(m_text, windowStart, windowEnd);
        for (qsizetype k = b; k < m_tags.size(); ++k) {
            Tag tag = m_tags[k];
            tag.start += delta;
            tag.end += delta; // never -1 here: unterminated tags rescan all
            for (Attr &at : tag.attrs) {
                at.nameStart += delta;
                at.nameEnd += delta;
                if (at.valueStart >= 0) {
                    at.valueStart += delta;
                    at.valueEnd += delta;
                }
            }
            tags << tag;
        }
        m_tags = tags;
    }

    // Where a line of markup goes after a start tag: the start of the next line when
    // the tag ends its line, else right after the tag on a line of its own.
    bool insertAfterTag(const Tag *tag, const QString &line) {
        if (!tag) return false;
        if (tag->end < 0) return fail(tag->name);
        int at = tag->end + 1;
        if (at < m_text.size() && isBreak(m_text[at])) {
            at += (m_text.mid(at, 2) == QLatin1String("\r\n")) ? 2 : 1;
            insert(at, line + m_eol);
        } else {
            insert(at, m_eol + line + m_eol);
        }
        return true;
    }
    int lineAfter(const Tag &tag) const {
        int at = tag.end + 1;
        if (at < m_text.size() && isBreak(m_text[at]))
            at += (m_text.mid(at, 2) == QLatin1String("\r\n")) ? 2 : 1;
        return at;
    }
    // Before the ">" (and a closing "/") of a tag, after its last attribute.
    int attributeInsertPoint(const Tag &tag) const {
        int p = tag.end;
        if (p > tag.start && m_text[p - 1] == QLatin1Char('/')) --p;
        while (p > tag.start + 1 && isSpace(m_text[p - 1]))
            --p;
        return p;
    }
    bool fail(const QString &name) {
        if (error.isEmpty()) error = unterminated(name);
        return false;
    }
    // Sets an attribute's value, adding the attribute when the tag lacks it.
    bool setAttribute(const Tag &tag, const QString &name, const QString &value) {
        if (tag.end < 0) return fail(tag.name);
        const QString quoted = QLatin1Char('"') + EscapeAttributeValue(value) + QLatin1Char('"');
        if (const Attr *a = tag.attr(name)) {
            if (a->value == value) return true;
            if (a->valueStart >= 0)
                replace(a->valueStart, a->valueEnd, quoted);
            else
                insert(a->nameEnd, QLatin1Char('=') + quoted);
            return true;
        }
        // A missing attribute reads as empty: nothing to write.
        if (value.isEmpty()) return true;
        const QString shownName = m_casse ? name.toUpper() : name;
        insert(attributeInsertPoint(tag), QLatin1Char(' ') + shownName + QLatin1Char('=') + quoted);
        return true;
    }
    // Removes a tag; its line goes too when nothing else is left on it.
    void removeTag(const Tag &tag) {
        const int from = tag.start;
        const int to = tag.end + 1;
        int lineStart = from;
        while (lineStart > 0 && !isBreak(m_text[lineStart - 1]))
            --lineStart;
        int lineEnd = to;
        while (lineEnd < m_text.size() && !isBreak(m_text[lineEnd]))
            ++lineEnd;
        const QString rest = m_text.mid(lineStart, from - lineStart) + m_text.mid(to, lineEnd - to);
        if (!rest.trimmed().isEmpty()) {
            replace(from, to, QString());
            return;
        }
        int cutFrom = lineStart;
        int cutTo = lineEnd;
        if (cutTo < m_text.size())
            cutTo += (m_text.mid(cutTo, 2) == QLatin1String("\r\n")) ? 2 : 1;
        else if (cutFrom > 0)
            cutFrom -=
                (cutFrom >= 2 && m_text.mid(cutFrom - 2, 2) == QLatin1String("\r\n")) ? 2 : 1;
        replace(cutFrom, cutTo, QString());
    }

    const QString &eol() const { return m_eol; }
    // The text ends inside a comment, script, server code or tag left open.
    bool openAtEnd() const { return m_openAtEnd; }

private:
    void rescan() { m_tags = scanTags(m_text, 0, -1, &m_openAtEnd); }
    QString m_text;
    QString m_eol;
    bool m_casse;
    bool m_openAtEnd = false;
    QList<Tag> m_tags;
};

bool endsWithBreak(const QString &t) {
    return !t.isEmpty() && isBreak(t.back());
}

} // namespace

QString metaNameText(int meta) {
    static const std::array<QString, MetaCount> names = {
        QStringLiteral("description"), QStringLiteral("keywords"), QStringLiteral("author"),
        QStringLiteral("generator")};
    return names[size_t(meta)];
}

QString bodyAttributeText(int attribute) {
    static const std::array<QString, BodyCount> names = {
        QStringLiteral("background"), QStringLiteral("bgcolor"), QStringLiteral("text"),
        QStringLiteral("link"),       QStringLiteral("vlink"),   QStringLiteral("alink")};
    return names[size_t(attribute)];
}

PageProperties ReadPageProperties(const QString &text) {
    PageProperties p;
    const QList<Tag> tags = scanTags(text);
    if (const Tag *title = firstTag(tags, QStringLiteral("title")); title && title->end >= 0)
        p.title = titleText(text, *title, tags);
    if (const Tag *body = firstTag(tags, QStringLiteral("body"))) {
        for (int i = 0; i < BodyCount; ++i)
            if (const Attr *a = body->attr(bodyAttributeText(i))) p.body[size_t(i)] = a->value;
    } else {
        p.frameset = firstTag(tags, QStringLiteral("frameset")) != nullptr;
    }
    for (int m = 0; m < MetaCount; ++m) {
        if (const Tag *meta = firstMeta(tags, m)) {
            p.hasMeta[size_t(m)] = true;
            if (const Attr *a = meta->attr(QStringLiteral("content"))) p.meta[size_t(m)] = a->value;
        }
    }
    return p;
}

PageWrite WritePageProperties(const QString &text, const PageProperties &values, const QString &eol,
                              bool casse, bool xhtml) {
    Writer w(text, eol, casse);
    // Never an empty text without a reason: the caller would take it for the new page.
    auto failed = [&w] {
        return PageWrite{QString(), 0, w.error.isEmpty() ? notFound() : w.error};
    };
    const auto has = [&w](const char *name) { return w.find(QLatin1String(name)) != nullptr; };

    // A frames page keeps its frameset as its body.
    const bool frames = has("frameset");

    // The skeleton.
    if (!has("html")) {
        const QString &t = w.text();
        const auto skipBlank = [&t](int at) {
            while (at < t.size() && (isSpace(t[at]) || t[at] == QChar(0xFEFF)))
                ++at;
            return at;
        };
        int lead = skipBlank(0);
        // An XML declaration goes before everything, the doctype included.
        Tag declaration;
        while (QStringView(t).mid(lead).startsWith(QLatin1String("<?xml"), Qt::CaseInsensitive)) {
            const int close = int(t.indexOf(QLatin1String("?>"), lead));
            if (close < 0) break;
            declaration.start = lead;
            declaration.end = close + 1;
            lead = skipBlank(close + 2);
        }
        const Tag *doctype = nullptr;
        for (const Tag &tag : w.tags())
            if (tag.start == lead && tag.name == QLatin1String("!doctype")) doctype = &tag;
        if (!doctype && declaration.end >= 0) doctype = &declaration;
        if (doctype) {
            if (!w.insertAfterTag(doctype, w.cased(QStringLiteral("<html>")))) return failed();
        } else {
            w.insert(0, w.cased(QStringLiteral("<html>")) + eol);
        }
    }
    if (!has("head") &&
        !w.insertAfterTag(w.find(QStringLiteral("html")), w.cased(QStringLiteral("<head>"))))
        return failed();
    if (!has("title") && !w.insertAfterTag(w.find(QStringLiteral("head")),
                                           w.cased(QStringLiteral("<title></title>"))))
        return failed();
    const auto titleClose = [&w]() -> const Tag * {
        const Tag *open = w.find(QStringLiteral("title"));
        return open ? firstTag(w.tags(), QStringLiteral("/title"), open->start) : nullptr;
    };
    {
        const Tag *open = w.find(QStringLiteral("title"));
        if (!open) return failed();
        if (open->end < 0) {
            w.fail(QStringLiteral("title"));
            return failed();
        }
        if (!titleClose())
            return PageWrite{QString(), 0,
                             QStringLiteral("Les propriétés de la page n'ont pas été écrites : le "
                                            "titre n'a pas de balise de fin </title>. Le document "
                                            "n'a pas été modifié.")};
    }
    if (!has("/head") && !w.insertAfterTag(titleClose(), w.cased(QStringLiteral("</head>"))))
        return failed();
    if (!has("body") && !frames &&
        !w.insertAfterTag(w.find(QStringLiteral("/head")), w.cased(QStringLiteral("<body>"))))
        return failed();
    for (int m = MetaCount - 1; m >= 0; --m) {
        if (!values.hasMeta[size_t(m)] || firstMeta(w.tags(), m)) continue;
        const Tag *close = titleClose();
        if (!close) return failed();
        if (close->end < 0) return w.fail(QStringLiteral("/title")), failed();
        const QString tag = QStringLiteral("<meta name=\"") + metaNameText(m) +
                            QStringLiteral("\" content=\"\"") +
                            XhtmlAdjust(QStringLiteral(">"), xhtml);
        w.insert(close->end + 1, eol + w.cased(tag));
    }
    // End tags put at the end of a text left inside a comment or script would be part
    // of it: unseen, and added again at each run; after a tag left open, they could
    // change how it reads.
    if (!has("/html") && !w.openAtEnd()) {
        if (!w.text().isEmpty() && !endsWithBreak(w.text())) w.insert(int(w.text().size()), eol);
        w.insert(int(w.text().size()), w.cased(QStringLiteral("</html>")) + eol);
    }
    if (!has("/body") && !frames) {
        const Tag *html = w.find(QStringLiteral("/html"));
        if (html)
            w.insert(html->start, eol + w.cased(QStringLiteral("</body>")) + eol);
        else if (!w.openAtEnd())
            return failed();
    }

    // The title.
    {
        const Tag *open = w.find(QStringLiteral("title"));
        const Tag *close = titleClose();
        if (!open || !close) return failed();
        if (titleText(w.text(), *open, w.tags()) != values.title)
            // Typed text with a "<" may open a comment or a script: read all again.
            w.replace(open->end + 1, close->start, values.title,
                      !values.title.contains(QLatin1Char('<')));
    }
    // The body attributes; an empty field leaves the attribute alone. A frames page
    // without a body has nowhere to hold them.
    for (int i = 0; i < BodyCount; ++i) {
        const QString &v = values.body[size_t(i)];
        if (v.isEmpty()) continue;
        const Tag *body = w.find(QStringLiteral("body"));
        if (!body && frames) break;
        if (!body || !w.setAttribute(*body, bodyAttributeText(i), v)) return failed();
    }
    // The meta elements.
    for (int m = 0; m < MetaCount; ++m) {
        const Tag *meta = firstMeta(w.tags(), m);
        if (!meta) continue;
        if (meta->end < 0) return w.fail(QStringLiteral("meta")), failed();
        if (values.hasMeta[size_t(m)]) {
            if (!w.setAttribute(*meta, QStringLiteral("content"), values.meta[size_t(m)]))
                return failed();
        } else {
            w.removeTag(*meta);
        }
    }
    const Tag *body = w.find(QStringLiteral("body"));
    if (!body && frames) body = w.find(QStringLiteral("frameset"));
    if (!body) return failed();
    if (body->end < 0) return w.fail(body->name), failed();
    return PageWrite{w.text(), w.lineAfter(*body), QString()};
}

PageProperties PagePropertiesFields(const PageProperties &read) {
    PageProperties fields = read;
    if (!fields.hasMeta[MetaGenerator]) fields.meta[MetaGenerator] = QStringLiteral("Balizor");
    return fields;
}

namespace {
bool isHexDigit(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}
} // namespace

QString CompleteColourField(const QString &text) {
    // Six letters may name a colour ("yellow", "maroon"): only digits get the "#".
    if (text.size() == 6 && std::all_of(text.cbegin(), text.cend(), isHexDigit))
        return QLatin1Char('#') + text;
    return text;
}

QString TypedColourField(const QString &before, const QString &typed, bool backgroundField) {
    if (backgroundField) {
        const ChangedSpan span = FindChangedSpan(before, typed);
        const QStringView inserted = QStringView(typed).mid(span.from, span.afterEnd - span.from);
        for (qsizetype i = 0; i < inserted.size(); ++i) {
            const bool leadingHash = inserted[i] == QLatin1Char('#') && span.from + i == 0;
            if (!isHexDigit(inserted[i]) && !leadingHash) return before;
        }
        // A longer value read from the page may still be shortened.
        if (!inserted.isEmpty() && typed.size() > 7 && typed.size() > before.size()) return before;
    }
    return CompleteColourField(typed);
}

ChangedSpan FindChangedSpan(const QString &before, const QString &after) {
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    if (head == before.size() && head == after.size()) return {int(head), int(head), int(head)};
    // Never between the two halves of a character.
    if (head > 0 && before[head - 1].isHighSurrogate()) --head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    if (tail > 0 && before[before.size() - tail].isLowSurrogate()) --tail;
    return {int(head), int(before.size() - tail), int(after.size() - tail)};
}

std::optional<unsigned> ParseColourField(const QString &text) {
    if (text.size() != 7 || !text.startsWith(QLatin1Char('#'))) return std::nullopt;
    bool ok = false;
    const unsigned v = text.mid(1).toUInt(&ok, 16);
    for (QChar c : text.mid(1))
        if (!isxdigit(c.toLatin1())) return std::nullopt;
    if (!ok) return std::nullopt;
    return v;
}

QString ColourFieldText(unsigned rgb) {
    return QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

} // namespace Authoring
