#pragma once

#include <QString>

// The horizontal rule written from the rule dialog's values.
namespace Authoring {

enum class RuleAlign { Centre, Left, Right };

struct RuleValues {
    RuleAlign align = RuleAlign::Centre;
    QString width = QStringLiteral("100"); // field text
    bool percent = true;
    QString thickness = QStringLiteral("2"); // field text
    QString color;                           // field text, may be empty
    bool effect3D = true;
};

// The message of a field whose text is not an integer.
QString IntegerConversionError(const QString &text);

// "<hr" + attributes + XhtmlAdjust(">"), to be inserted with the tag case. When the
// width or the thickness is not an integer, returns an empty string and sets *error.
QString BuildRuleMarkup(const RuleValues &values, bool xhtml, QString *error = nullptr);

} // namespace Authoring
