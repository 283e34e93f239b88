#include "authoring/link_markup.h"

#include <cstring>

namespace Authoring {

namespace {

void appendPercent(QString &out, unsigned char byte) {
    static const char hex[] = "0123456789ABCDEF";
    out += u'%';
    out += QLatin1Char(hex[byte >> 4]);
    out += QLatin1Char(hex[byte & 0xF]);
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Percent-encodes the UTF-8 bytes of `text` except the ASCII characters in `keep`,
// letters and digits; escapes already in the text ("%XX") are kept.
QString mailtoEncode(const QString &text, const char *keep) {
    const QByteArray bytes = text.toUtf8();
    QString out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        const auto u = static_cast<unsigned char>(c);
        if (c == '%' && i + 2 < bytes.size() && isHex(bytes.at(i + 1)) && isHex(bytes.at(i + 2))) {
            out += QLatin1String(bytes.mid(i, 3));
            i += 2;
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   (u < 128 && c != 0 && std::strchr(keep, c))) {
            out += QLatin1Char(c);
        } else {
            appendPercent(out, u);
        }
    }
    return out;
}

} // namespace

QString BuildLinkOpening(const LinkValues &v, UrlEncoding encoding) {
    return QStringLiteral("<a") +
           EscapedAttribute(QStringLiteral("href"), EncodeAddress(v.address, v.picked, encoding)) +
           OptionalEscapedAttribute(QStringLiteral("target"), v.target) + u'>';
}

QString TargetDescription(const QString &target) {
    if (target == QLatin1String("_blank"))
        return QStringLiteral("Ouverture dans une nouvelle fenêtre du navigateur");
    if (target == QLatin1String("_self"))
        return QStringLiteral("Ouverture dans le cadre d'où le lien est appelé");
    if (target == QLatin1String("_parent")) return QStringLiteral("Ouverture dans le cadre parent");
    if (target == QLatin1String("_top"))
        return QStringLiteral("Ouverture dans une pleine page pour sortir des cadres");
    return {};
}

QString BuildAnchorMarkup(const QString &name, UrlEncoding encoding, bool casse) {
    // The rule of a typed link address, so that the name matches the fragment of a link
    // to it ("#a%20b" and the name offered from it, "a%20b").
    const QString start =
        QStringLiteral("<a") +
        EscapedAttribute(QStringLiteral("name"), EncodeAddress(name, false, encoding)) + u'>';
    return ApplyTagCase(start, casse) + ApplyTagCase(QStringLiteral("</a>"), casse);
}

AnchorOffer AnchorNamesFromLinks(const QStringList &linkHistory, const QStringList &anchorNames) {
    History<QString> names;
    for (qsizetype i = anchorNames.size() - 1; i >= 0; --i)
        names.add(anchorNames.at(i));
    AnchorOffer offer;
    // Oldest first, so the most recent fragment ends up first.
    for (qsizetype i = linkHistory.size() - 1; i >= 0; --i) {
        const QString &address = linkHistory.at(i);
        if (!address.startsWith(u'#')) continue;
        offer.text = address.mid(1);
        names.add(offer.text);
    }
    offer.names = names.items();
    return offer;
}

bool LooksLikeEmailAddress(const QString &text) {
    const qsizetype at = text.indexOf(u'@');
    const qsizetype dot = text.lastIndexOf(u'.');
    return at > 0 && dot > at && dot != text.size() - 1;
}

QString ExtractEmailAddress(const QString &selection) {
    QString text = selection.trimmed();
    // Whatever leads up to the address: words, a colon, an opening bracket...
    for (QChar c : {u'>', u'<', u'/', u'\\', u'"', u'\'', u':', u' '}) {
        for (;;) {
            const qsizetype pos = text.indexOf(c);
            const qsizetype at = text.indexOf(u'@');
            if (pos < 0 || at < 0 || pos > at) break;
            text.remove(0, pos + 1);
        }
    }
    // ...and whatever follows it.
    for (QChar c : {u' ', u'>', u'<', u'/', u'\\', u'"', u'\''}) {
        const qsizetype pos = text.indexOf(c);
        if (pos >= 0) text.truncate(pos);
    }
    return text;
}

QString BuildMailOpening(const QString &address, const QString &subject) {
    QString href = QStringLiteral("mailto:") + address;
    // "+" is encoded in the subject, since some programs read it as a space.
    if (!subject.isEmpty())
        href += (address.contains(u'?') ? QStringLiteral("&subject=")
                                         : QStringLiteral("?subject=")) +
                mailtoEncode(subject, "-._~!$'()*,;:@/");
    return QStringLiteral("<a") + EscapedAttribute(QStringLiteral("href"), href) + u'>';
}

} // namespace Authoring
