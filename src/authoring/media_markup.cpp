#include "authoring/media_markup.h"

#include "authoring/rule_markup.h"

#include <cmath>

namespace Authoring {

namespace {

QString sizeAttribute(const QString &name, const QString &text, SizeUnit unit) {
    if (text.isEmpty()) return {};
    return EscapedAttribute(name, unit == SizeUnit::Percent ? text + u'%' : text);
}

QString alignAttribute(ImageAlign align) {
    switch (align) {
    case ImageAlign::Default:
        return {};
    // These three are written with a capital A.
    case ImageAlign::Top:
        return Attribute(QStringLiteral("Align"), QStringLiteral("top"));
    case ImageAlign::Middle:
        return Attribute(QStringLiteral("Align"), QStringLiteral("middle"));
    case ImageAlign::Bottom:
        return Attribute(QStringLiteral("Align"), QStringLiteral("bottom"));
    case ImageAlign::TextTop:
        return Attribute(QStringLiteral("align"), QStringLiteral("texttop"));
    case ImageAlign::AbsMiddle:
        return Attribute(QStringLiteral("align"), QStringLiteral("absmiddle"));
    case ImageAlign::AbsBottom:
        return Attribute(QStringLiteral("align"), QStringLiteral("absbottom"));
    case ImageAlign::Baseline:
        return Attribute(QStringLiteral("align"), QStringLiteral("baseline"));
    case ImageAlign::Left:
        return Attribute(QStringLiteral("align"), QStringLiteral("left"));
    case ImageAlign::Right:
        return Attribute(QStringLiteral("align"), QStringLiteral("right"));
    }
    return {};
}

QString addressAttribute(const QString &name, const QString &text, bool picked,
                         UrlEncoding encoding) {
    return EscapedAttribute(name, EncodeAddress(text, picked, encoding));
}

} // namespace

QString BuildImageMarkup(const ImageValues &v, bool xhtml, UrlEncoding encoding) {
    QString m = QStringLiteral("<img");
    m += addressAttribute(QStringLiteral("src"), v.source, v.picked, encoding);
    m += sizeAttribute(QStringLiteral("width"), v.width, v.widthUnit);
    m += sizeAttribute(QStringLiteral("height"), v.height, v.heightUnit);
    m += EscapedAttribute(QStringLiteral("border"), v.border);
    m += OptionalEscapedAttribute(QStringLiteral("hspace"), v.hspace);
    m += OptionalEscapedAttribute(QStringLiteral("vspace"), v.vspace);
    m += EscapedAttribute(QStringLiteral("alt"), v.alt);
    m += alignAttribute(v.align);
    m += XhtmlAdjust(QStringLiteral(">"), xhtml);
    return m;
}

QString BuildSoundMarkup(const SoundValues &v, bool xhtml, UrlEncoding encoding) {
    QString m = QStringLiteral("<bgsound");
    m += addressAttribute(QStringLiteral("src"), v.source, v.picked, encoding);
    bool ok = false;
    const int repetitions = v.repetitions.trimmed().toInt(&ok);
    if (ok && repetitions == 0)
        m += Attribute(QStringLiteral("loop"), QStringLiteral("infinite"));
    else if (ok && repetitions != 1 && repetitions != -1)
        m += EscapedAttribute(QStringLiteral("loop"), v.repetitions);
    m += XhtmlAdjust(QStringLiteral(">"), xhtml);
    return m;
}

QString BuildVideoMarkup(const VideoValues &v, bool xhtml, UrlEncoding encoding) {
    QString m = QStringLiteral("<img");
    m += addressAttribute(QStringLiteral("dynsrc"), v.source, v.picked, encoding);
    if (!v.image.isEmpty())
        m += addressAttribute(QStringLiteral("src"), v.image, v.imagePicked, encoding);
    m += EscapedAttribute(QStringLiteral("alt"), v.alt);
    m += XhtmlAdjust(QStringLiteral(">"), xhtml);
    return m;
}

UnitChange ConvertSizeUnit(const QString &fieldText, SizeUnit to, int natural) {
    UnitChange r;
    // Nothing to convert: the unit simply changes.
    if (fieldText.trimmed().isEmpty()) return r;
    bool ok = false;
    const qint64 value = fieldText.trimmed().toLongLong(&ok);
    if (!ok) {
        r.ok = false;
        r.text = fieldText;
        r.error = IntegerConversionError(fieldText);
        return r;
    }
    r.text = fieldText;
    if (value == 0 || natural <= 0) return r;
    qint64 converted = 0;
    if (to == SizeUnit::Percent) {
        converted = std::min<qint64>(value * 100 / natural, 100);
    } else {
        // Half to even, in integers: value x natural / 100.
        const qint64 product = value * natural;
        converted = product / 100;
        const qint64 rest = product % 100;
        if (rest > 50 || (rest == 50 && converted % 2 == 1)) ++converted;
    }
    r.text = QString::number(converted);
    return r;
}

bool SizeDiffersFromNatural(const QString &fieldText, SizeUnit unit, int natural) {
    // An empty field writes no attribute: the picture keeps its own size.
    if (natural <= 0 || fieldText.trimmed().isEmpty()) return false;
    bool ok = false;
    const int value = fieldText.trimmed().toInt(&ok);
    if (unit == SizeUnit::Percent) return !(ok && value == 100);
    return !ok || value != natural;
}

QString RestoredSize(SizeUnit unit, int natural) {
    if (unit == SizeUnit::Percent) return QStringLiteral("100");
    return natural > 0 ? QString::number(natural) : QString();
}

QString ImageReadError(const QString &format) {
    const QString f = format.toLower();
    if (f == QLatin1String("gif")) return QStringLiteral("Impossible d'ouvrir cette image GIF");
    if (f == QLatin1String("png")) return QStringLiteral("Impossible d'ouvrir cette image PNG");
    return QStringLiteral("Impossible d'ouvrir cette image");
}

} // namespace Authoring
