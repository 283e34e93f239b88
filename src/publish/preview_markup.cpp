#include "publish/preview_markup.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <cstring>

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isNameChar(char c) {
    return isLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == ':' || c == '_' || c == '.';
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

bool equalsLower(const char *p, qsizetype n, const char *name) {
    const qsizetype len = qsizetype(std::strlen(name));
    if (n != len) return false;
    for (qsizetype i = 0; i < n; ++i) {
        if (lower(p[i]) != name[i]) return false;
    }
    return true;
}

// Elements whose content the browser does not read as markup.
bool rawContent(const char *p, qsizetype n) {
    for (const char *name : {"script", "style", "textarea", "title", "xmp", "iframe", "noembed",
                             "noframes", "noscript", "plaintext"}) {
        if (equalsLower(p, n, name)) return true;
    }
    return false;
}

class Scanner {
public:
    Scanner(const QByteArray &page, const PreviewMarkupOptions &options)
        : m_p(page.constData()), m_n(page.size()), m_page(page), m_options(options) {}

    PreviewMarkup run() {
        qsizetype i = 0;
        while (i < m_n) {
            const char *lt = static_cast<const char *>(std::memchr(m_p + i, '<', size_t(m_n - i)));
            if (!lt) break;
            i = lt - m_p;
            i = markup(i);
        }
        return finish();
    }

private:
    // Position just after the first `end` at or after i, or the end of the page.
    qsizetype after(qsizetype i, const char *end) const {
        const qsizetype at = m_page.indexOf(end, i);
        return at < 0 ? m_n : at + qsizetype(std::strlen(end));
    }

    bool startsWith(qsizetype i, const char *s) const {
        const qsizetype len = qsizetype(std::strlen(s));
        return i + len <= m_n && std::memcmp(m_p + i, s, size_t(len)) == 0;
    }

    // The line of position i; positions are asked in increasing order.
    int lineAt(qsizetype i) {
        for (; m_counted < i; ++m_counted) {
            const char c = m_p[m_counted];
            if (c == '\n' || (c == '\r' && (m_counted + 1 >= m_n || m_p[m_counted + 1] != '\n')))
                ++m_line;
        }
        return m_line;
    }

    // Handles what starts with the '<' at i; returns where text resumes.
    qsizetype markup(qsizetype i) {
        if (startsWith(i, "<!--")) return after(i + 4, "-->");
        if (startsWith(i, "<?")) return after(i + 2, "?>");
        if (startsWith(i, "<%")) return after(i + 2, "%>");
        if (startsWith(i, "<![CDATA[")) return after(i + 9, "]]>");
        if (startsWith(i, "<!") || startsWith(i, "</")) return after(i + 2, ">");
        if (i + 1 < m_n && isLetter(m_p[i + 1])) return startTag(i);
        return i + 1;
    }

    qsizetype startTag(qsizetype i) {
        const qsizetype nameStart = i + 1;
        qsizetype k = nameStart;
        while (k < m_n && isNameChar(m_p[k]))
            ++k;
        // A name glued to something else ("<a<?php ...", "<x=") is left as it is.
        if (k < m_n && !isSpace(m_p[k]) && m_p[k] != '>' && m_p[k] != '/') return k;
        const char *name = m_p + nameStart;
        const qsizetype nameLength = k - nameStart;
        const bool scriptOrStyle =
            equalsLower(name, nameLength, "script") || equalsLower(name, nameLength, "style");
        if (m_options.lineAttributes && !scriptOrStyle) {
            const QByteArray attribute = QByteArray(" ") + kPreviewLineAttribute + "=\"" +
                                         QByteArray::number(lineAt(i)) + '"';
            m_edits.append({k, 0, attribute});
        }
        const char *linkAttribute = equalsLower(name, nameLength, "link")     ? "href"
                                    : equalsLower(name, nameLength, "script") ? "src"
                                                                              : nullptr;
        const qsizetype end = attributes(k, linkAttribute);
        // As the browser reads it, a "/>" does not end these elements either.
        if (end >= m_n || !rawContent(name, nameLength)) return end;
        if (equalsLower(name, nameLength, "plaintext")) return m_n;
        // The content runs to the element's end tag, whatever it holds.
        QByteArray close = "</" + QByteArray(name, nameLength).toLower();
        qsizetype at = end;
        while (true) {
            at = m_page.indexOf("</", at);
            if (at < 0) return m_n;
            if (at + close.size() <= m_n &&
                equalsLower(m_p + at, close.size(), close.constData()) &&
                (at + close.size() == m_n || !isNameChar(m_p[at + close.size()])))
                return at;
            at += 2;
        }
    }

    // Reads the attributes from k to the tag's '>'; returns the position after it.
    // The value of the attribute named `wanted` is reported and may be relinked.
    qsizetype attributes(qsizetype k, const char *wanted) {
        while (k < m_n) {
            const char c = m_p[k];
            if (c == '>') return k + 1;
            if (isSpace(c) || c == '/') {
                ++k;
                continue;
            }
            // Server code inside a tag is skipped whole.
            if (startsWith(k, "<?")) {
                k = after(k + 2, "?>");
                continue;
            }
            if (startsWith(k, "<%")) {
                k = after(k + 2, "%>");
                continue;
            }
            const qsizetype nameStart = k;
            while (k < m_n && !isSpace(m_p[k]) && m_p[k] != '=' && m_p[k] != '>' &&
                   !(m_p[k] == '/' && k > nameStart))
                ++k;
            if (k == nameStart) ++k; // a lone '=': skip it
            const qsizetype nameEnd = k;
            qsizetype j = k;
            while (j < m_n && isSpace(m_p[j]))
                ++j;
            if (j >= m_n || m_p[j] != '=') continue;
            ++j;
            while (j < m_n && isSpace(m_p[j]))
                ++j;
            qsizetype valueStart = j, valueEnd = j;
            if (j < m_n && (m_p[j] == '"' || m_p[j] == '\'')) {
                const char quote = m_p[j];
                valueStart = ++j;
                while (j < m_n && m_p[j] != quote) {
                    if (startsWith(j, "<?"))
                        j = after(j + 2, "?>");
                    else if (startsWith(j, "<%"))
                        j = after(j + 2, "%>");
                    else
                        ++j;
                }
                valueEnd = std::min(j, m_n);
                k = std::min(j + 1, m_n);
            } else {
                while (j < m_n && !isSpace(m_p[j]) && m_p[j] != '>')
                    ++j;
                valueEnd = k = j;
            }
            if (wanted && equalsLower(m_p + nameStart, nameEnd - nameStart, wanted))
                link(valueStart, valueEnd);
        }
        return m_n;
    }

    void link(qsizetype from, qsizetype to) {
        const QByteArray value(m_p + from, to - from);
        m_links.append(value);
        if (!m_options.relink) return;
        const QByteArray replacement = m_options.relink(value);
        if (!replacement.isEmpty()) m_edits.append({from, to - from, replacement});
    }

    PreviewMarkup finish() {
        PreviewMarkup result;
        result.links = m_links;
        if (m_edits.isEmpty()) {
            result.bytes = m_page;
            return result;
        }
        qsizetype extra = 0;
        for (const Edit &e : m_edits)
            extra += e.text.size();
        result.bytes.reserve(m_n + extra);
        qsizetype from = 0;
        for (const Edit &e : m_edits) {
            result.bytes.append(m_p + from, e.at - from);
            result.bytes.append(e.text);
            from = e.at + e.removed;
        }
        result.bytes.append(m_p + from, m_n - from);
        return result;
    }

    struct Edit {
        qsizetype at;
        qsizetype removed;
        QByteArray text;
    };

    const char *m_p;
    qsizetype m_n;
    const QByteArray &m_page;
    const PreviewMarkupOptions &m_options;
    QList<Edit> m_edits;
    QList<QByteArray> m_links;
    qsizetype m_counted = 0;
    int m_line = 1;
};

} // namespace

PreviewMarkup decoratePreviewPage(const QByteArray &page, const PreviewMarkupOptions &options) {
    return Scanner(page, options).run();
}

QString linkedLocalFile(const QString &pagePath, const QByteArray &value) {
    if (pagePath.isEmpty()) return {};
    QByteArray v = value.trimmed();
    v.replace("&amp;", "&");
    if (v.isEmpty() || v.startsWith('#')) return {};
    const QUrl url = QUrl::fromEncoded(v);
    if (!url.isValid()) return {};
    const QUrl resolved = QUrl::fromLocalFile(QFileInfo(pagePath).absoluteFilePath()).resolved(url);
    if (!resolved.isLocalFile()) return {};
    return QDir::cleanPath(resolved.toLocalFile());
}

QByteArray relinkedValue(const QByteArray &value, const QString &fileName) {
    qsizetype end = value.size();
    for (char c : {'?', '#'}) {
        const qsizetype at = value.indexOf(c);
        if (at >= 0 && at < end) end = at;
    }
    const qsizetype slash = end > 0 ? value.lastIndexOf('/', end - 1) : -1;
    return value.left(slash + 1) + QUrl::toPercentEncoding(fileName, "~$!'()*+,;=@") +
           value.mid(end);
}
