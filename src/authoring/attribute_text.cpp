#include "authoring/attribute_text.h"

namespace Authoring {

namespace {

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool isHexDigit(QChar c) {
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Whether text[at] is the "&" of "&name;", "&#123;" or "&#x1F;".
bool startsReference(const QString &text, qsizetype at) {
    qsizetype i = at + 1;
    const qsizetype n = text.size();
    if (i < n && text.at(i) == u'#') {
        ++i;
        const bool hex = i < n && (text.at(i) == u'x' || text.at(i) == u'X');
        if (hex) ++i;
        const qsizetype first = i;
        while (i < n && (hex ? isHexDigit(text.at(i)) : isDigit(text.at(i))))
            ++i;
        return i > first && i < n && text.at(i) == u';';
    }
    const qsizetype first = i;
    while (i < n && (isAsciiLetter(text.at(i)) || (i > first && isDigit(text.at(i)))))
        ++i;
    return i > first && i < n && text.at(i) == u';';
}

} // namespace

QString EscapeAttributeText(const QString &value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'"')
            out += QLatin1String("&quot;");
        else if (c == u'&' && !startsReference(value, i))
            out += QLatin1String("&amp;");
        else
            out += c;
    }
    return out;
}

QString SafeAttribute(const QString &name, const QString &value) {
    return Attribute(name, EscapeAttributeText(value));
}

QString SafeOptionalAttribute(const QString &name, const QString &value) {
    return value.isEmpty() ? QString() : SafeAttribute(name, value);
}

QString EncodeAddress(const QString &text, bool pickedFromDisk, UrlEncoding encoding) {
    if (pickedFromDisk) return UrlEncode(text, encoding);
    // Encode the pieces between existing escapes; the escapes pass unchanged.
    QString out;
    qsizetype from = 0;
    for (qsizetype i = 0; i + 2 < text.size(); ++i) {
        if (text.at(i) == u'%' && isHexDigit(text.at(i + 1)) && isHexDigit(text.at(i + 2))) {
            out += UrlEncode(text.mid(from, i - from), encoding);
            out += QStringView(text).mid(i, 3);
            i += 2;
            from = i + 1;
        }
    }
    out += UrlEncode(text.mid(from), encoding);
    return out;
}

} // namespace Authoring
