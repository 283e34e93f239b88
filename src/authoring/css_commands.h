#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The style-sheet commands without widgets: the declaration items of the seven
// property families, the rule skeletons, the selector list and the style-sheet
// element.
namespace Authoring {

enum class CssForm {
    Property,    // the bare property around the selection: "prop:" ... ";"
    Value,       // "prop:value;" in front of the selection
    Placeholder, // as Property; the caption tells what to type (shown in italics)
};

// One declaration command.
struct CssItem {
    QString name;    // action name
    QString caption; // menu caption
    QString text;    // the hint: the property, or "property:value"
    CssForm form = CssForm::Property;
};

// A property row of a family's drop-down: its split item, then its value items,
// its placeholders, or a colour palette.
struct CssProperty {
    CssItem item;
    QList<CssItem> values;
    QList<CssItem> placeholders;
    bool palette = false;
};

struct CssFamily {
    QString name;    // the toolbar button: CSSBackground...
    QString caption; // "Fond"...
    bool hasShorthand = false;
    CssItem shorthand;
    QList<CssProperty> properties;

    // Every item of the family, in menu order (the palettes are not items).
    QList<CssItem> items() const;
};

// The seven families in toolbar order: Fond, Texte, Police, Bordure, Marges,
// Remplissage, Listes.
const QList<CssFamily> &CssFamilies();

// What an item writes around the selection (always raw).
struct CssWrap {
    QString opening;
    QString closing;
};
CssWrap CssDeclaration(const CssItem &item);
// A colour chosen in a property's palette: "property:#RRGGBB;" in front of the selection.
CssWrap CssColourDeclaration(const QString &property, const QString &colourText);

// The hundred selectors offered by the rule-skeleton dialogs.
const QStringList &CssSelectors();

enum class CssRuleKind { Tag, Class, Ident };
// The opening of a rule skeleton; the closing is CssRuleClosing(). The selector
// gets the tag case; a class or identifier name is written as typed. `restricted`
// says whether the class or identifier applies to the selector only.
QString CssRuleOpening(CssRuleKind kind, const QString &selector, const QString &name,
                       bool restricted, bool casse);
QString CssRuleClosing();

// The embedded style sheet around the selection.
CssWrap StyleSheetInternal();
// The link to an external style sheet; `encodedAddress` is already percent-encoded.
QString StyleSheetLink(const QString &encodedAddress, bool xhtml);

// Puts an address at the top of a history: an entry equal to it in any letter case
// is removed first, an empty one is not added, and only the `max` newest remain.
QStringList PushHistory(QStringList history, const QString &entry, int max = 6);

} // namespace Authoring
