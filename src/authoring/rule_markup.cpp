#include "authoring/rule_markup.h"

#include "authoring/insertion.h"

namespace Authoring {

QString IntegerConversionError(const QString &text) {
    return u'\'' + text + QStringLiteral("' n'est pas une valeur entière correcte");
}

QString BuildRuleMarkup(const RuleValues &values, bool xhtml, QString *error) {
    bool ok = false;
    const int width = values.width.trimmed().toInt(&ok);
    if (!ok) {
        if (error) *error = IntegerConversionError(values.width);
        return {};
    }
    const int thickness = values.thickness.trimmed().toInt(&ok);
    if (!ok) {
        if (error) *error = IntegerConversionError(values.thickness);
        return {};
    }

    QString markup = QStringLiteral("<hr");
    if (!(width == 100 && values.percent)) {
        markup +=
            Attribute(QStringLiteral("width"),
                      QString::number(width) + (values.percent ? QStringLiteral("%") : QString()));
    }
    if (thickness != 2) markup += Attribute(QStringLiteral("size"), QString::number(thickness));
    if (values.align == RuleAlign::Left)
        markup += Attribute(QStringLiteral("align"), QStringLiteral("left"));
    else if (values.align == RuleAlign::Right)
        markup += Attribute(QStringLiteral("align"), QStringLiteral("right"));
    markup += OptionalAttribute(QStringLiteral("color"), values.color);
    if (!values.effect3D) markup += XhtmlAdjust(QStringLiteral(" noshade"), xhtml);
    markup += XhtmlAdjust(QStringLiteral(">"), xhtml);
    if (error) error->clear();
    return markup;
}

} // namespace Authoring
