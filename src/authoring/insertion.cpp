#include "authoring/insertion.h"

#include "platform/windows1252.h"

#include <algorithm>

namespace Authoring {

namespace {

struct Breaks {
    int count = 0;
    qsizetype afterLast = 0; // index of the text after the last break
};

// CR LF is the break of markup strings; a lone LF or CR counts as one too, so that
// text already converted to the document's line-break style gives the same places.
Breaks countBreaks(const QString &text) {
    Breaks b;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            if (i + 1 < n && text.at(i + 1) == u'\n') ++i;
        } else if (c != u'\n') {
            continue;
        }
        ++b.count;
        b.afterLast = i + 1;
    }
    return b;
}

void upperAsciiInto(QString &out, QStringView part) {
    for (QChar c : part)
        out += (c >= u'a' && c <= u'z') ? QChar(c.unicode() - 32) : c;
}

QString slashForm(const QString &path) {
    // A POSIX path keeps its backslashes: they are ordinary characters there.
    if (path.startsWith(u'/')) return path;
    QString p = path;
    p.replace(u'\\', u'/');
    return p;
}

QString fileUrl(const QString &path) {
    return path.startsWith(u'/') ? QStringLiteral("file://") + path
                                 : QStringLiteral("file:///") + path;
}

void appendPercent(QString &out, unsigned value) {
    static const char hex[] = "0123456789ABCDEF";
    out += u'%';
    out += QLatin1Char(hex[(value >> 4) & 0xF]);
    out += QLatin1Char(hex[value & 0xF]);
}

} // namespace

TextPos PositionAfter(TextPos start, const QString &text) {
    const Breaks b = countBreaks(text);
    if (b.count == 0) return {start.column + int(text.size()), start.line};
    return {int(text.size() - b.afterLast) + 1, start.line + b.count};
}

WrapEdit WrapSelection(TextPos start, TextPos end, TextPos caret, const QString &selected,
                       const QString &opening, const QString &closing, bool raw, bool casse) {
    TextPos s = start;
    TextPos e = end;
    if (s == e) s = e = caret;
    // A column selection can leave the caret on neither column; the caret's wins.
    if (caret.column != s.column && caret.column != e.column) s.column = e.column = caret.column;

    const int length = int(opening.size());
    const Breaks b = countBreaks(opening);

    TextPos n;
    n.column = b.count == 0 ? s.column + length : int(opening.size() - b.afterLast) + 1;
    n.line = s.line + b.count;

    TextPos m;
    m.line = e.line + b.count;
    if (s.line != e.line)
        m.column = e.column;
    else if (b.count == 0)
        m.column = e.column + length;
    else
        m.column = n.column + int(selected.size());

    WrapEdit edit;
    edit.text = raw ? opening + selected + closing
                    : ApplyTagCase(opening, casse) + selected + ApplyTagCase(closing, casse);
    edit.selStart = n;
    edit.selEnd = m;
    edit.caret = m;
    return edit;
}

InsertEdit InsertMarkup(TextPos start, const QString &text, bool raw, bool casse) {
    InsertEdit edit;
    edit.text = raw ? text : ApplyTagCase(text, casse);
    edit.caret = PositionAfter(start, edit.text);
    return edit;
}

QString ApplyTagCase(const QString &text, bool casse) {
    if (!casse) return text;
    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    const qsizetype n = text.size();
    for (;;) {
        const qsizetype eq = text.indexOf(u'=', pos);
        if (eq < 0) break;
        upperAsciiInto(out, QStringView(text).mid(pos, eq + 1 - pos));
        pos = eq + 1;
        if (pos >= n) return out;
        // The value, from the character after "=" up to and including its end
        // character, is kept as written.
        const QChar q = text.at(pos);
        const QChar endChar = q == u'"' ? QChar(u'"') : QChar(u' ');
        const qsizetype valueEnd = text.indexOf(endChar, pos + 1);
        if (valueEnd < 0) {
            out += QStringView(text).mid(pos);
            return out;
        }
        out += QStringView(text).mid(pos, valueEnd + 1 - pos);
        pos = valueEnd + 1;
    }
    if (pos == 0) {
        upperAsciiInto(out, text);
        return out;
    }
    // What follows the last value stays as it is.
    out += QStringView(text).mid(pos);
    return out;
}

QString XhtmlAdjust(const QString &piece, bool xhtml) {
    if (!xhtml) return piece;
    if (piece == QLatin1String(">")) return QStringLiteral(" />");
    return piece + QStringLiteral("=\"") + piece.mid(1).toLower() + u'"';
}

QString RelativeUrl(const QString &path, const QString &documentPath) {
    if (documentPath.isEmpty()) return fileUrl(slashForm(path));
    if (path.isEmpty() || path.at(0) != documentPath.at(0)) return fileUrl(path);

    QString p = slashForm(path);
    QString d = slashForm(documentPath);
    p.remove(0, p.indexOf(u'/') + 1);
    d.remove(0, d.indexOf(u'/') + 1);
    for (qsizetype slash = d.indexOf(u'/'); slash >= 0; slash = d.indexOf(u'/')) {
        const QStringView part = QStringView(d).left(slash + 1);
        if (p.startsWith(part))
            p.remove(0, part.size());
        else
            p.prepend(QStringLiteral("../"));
        d.remove(0, slash + 1);
    }
    return p;
}

QString UrlEncode(const QString &text, UrlEncoding encoding) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80) {
            if (c < 32 || c == u' ' || c == u'%' || c == u'*' || c == u'+' || c == u'<' ||
                c == u'>')
                appendPercent(out, c);
            else
                out += QChar(c);
            continue;
        }
        char32_t cp = c;
        if (QChar::isHighSurrogate(c) && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(c, text.at(i + 1).unicode());
            ++i;
        } else if (QChar::isSurrogate(c)) {
            cp = QChar::ReplacementCharacter;
        }
        if (encoding == UrlEncoding::Windows1252) {
            const int byte = Windows1252::fromUnicode(cp);
            if (byte >= 0) {
                appendPercent(out, unsigned(byte));
                continue;
            }
            // A character the code page cannot hold: its UTF-8 bytes, as browsers do.
        }
        const QByteArray bytes = QString::fromUcs4(&cp, 1).toUtf8();
        for (char byte : bytes)
            appendPercent(out, static_cast<unsigned char>(byte));
    }
    return out;
}

QString StripSpaces(const QString &text) {
    QString out = text;
    out.remove(u' ');
    return out;
}

LineRange SelectWholeLines(TextPos start, TextPos end, int lastLine, int endLineLength) {
    LineRange r;
    r.start = {1, start.line};
    r.end = end;
    if (end.column > 1) {
        if (end.line >= lastLine)
            r.end = {endLineLength + 1, end.line};
        else
            r.end = {1, end.line + 1};
    }
    return r;
}

QString FileDialogStartFolder(const QString &documentPath, const QString &defaultFolder) {
    if (documentPath.isEmpty()) return defaultFolder;
    const qsizetype cut = std::max({documentPath.lastIndexOf(u'\\'), documentPath.lastIndexOf(u'/'),
                                    documentPath.lastIndexOf(u':')});
    return documentPath.left(cut + 1);
}

int PathFieldSelectionLength(const QString &fieldText) {
    return int(fieldText.lastIndexOf(u'/') + 1);
}

QString Attribute(const QString &name, const QString &value) {
    return u' ' + name + QStringLiteral("=\"") + value + u'"';
}

QString OptionalAttribute(const QString &name, const QString &value) {
    return value.isEmpty() ? QString() : Attribute(name, value);
}

namespace {

// "&name;", "&#123;" or "&#x1F;" starting at `at` (which holds the "&").
bool startsCharacterReference(const QString &text, qsizetype at) {
    qsizetype i = at + 1;
    auto isAsciiLetter = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    };
    auto isAsciiDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    auto isHex = [&](QChar c) {
        return isAsciiDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    };
    qsizetype first = i;
    if (i < text.size() && text.at(i) == u'#') {
        ++i;
        const bool hex = i < text.size() && (text.at(i) == u'x' || text.at(i) == u'X');
        if (hex) ++i;
        first = i;
        while (i < text.size() && (hex ? isHex(text.at(i)) : isAsciiDigit(text.at(i))))
            ++i;
    } else {
        while (i < text.size() &&
               (isAsciiLetter(text.at(i)) || (i > first && isAsciiDigit(text.at(i)))))
            ++i;
    }
    return i > first && i < text.size() && text.at(i) == u';';
}

} // namespace

QString EscapeAttributeValue(const QString &value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'"')
            out += QStringLiteral("&quot;");
        else if (c == u'&' && !startsCharacterReference(value, i))
            out += QStringLiteral("&amp;");
        else
            out += c;
    }
    return out;
}

QString EscapedAttribute(const QString &name, const QString &value) {
    return Attribute(name, EscapeAttributeValue(value));
}

QString OptionalEscapedAttribute(const QString &name, const QString &value) {
    return value.isEmpty() ? QString() : EscapedAttribute(name, value);
}

} // namespace Authoring
