#include "authoring/attribute_text.h"

namespace Authoring {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool isHexDigit(QChar c) {
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

} // namespace

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
