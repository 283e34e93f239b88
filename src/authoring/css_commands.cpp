#include "authoring/css_commands.h"

#include "authoring/insertion.h"

namespace Authoring {

namespace {

CssItem prop(const QString &name, const QString &caption, const QString &property) {
    return {name, caption, property, CssForm::Property};
}

// Value items named after their property item: `suffix` and the value (and caption).
struct V {
    const char *suffix;
    const char *value;
    const char *caption = nullptr;
};

CssProperty row(const QString &name, const QString &caption, const QString &property,
                std::initializer_list<V> values = {},
                std::initializer_list<std::pair<const char *, const char *>> placeholders = {},
                bool palette = false, const QString &valuePrefix = {}) {
    CssProperty p;
    p.item = prop(name, caption, property);
    const QString base = valuePrefix.isEmpty() ? name : valuePrefix;
    for (const V &v : values) {
        const QString value = QString::fromUtf8(v.value);
        p.values << CssItem{base + QLatin1String(v.suffix),
                            v.caption ? QString::fromUtf8(v.caption) : value,
                            property + QLatin1Char(':') + value, CssForm::Value};
    }
    for (const auto &[suffix, cap] : placeholders)
        p.placeholders << CssItem{base + QLatin1String(suffix), QString::fromUtf8(cap), property,
                                  CssForm::Placeholder};
    p.palette = palette;
    return p;
}

const std::initializer_list<V> kBorderStyles = {
    {"None", "none"},   {"Hidden", "hidden"}, {"Dotted", "dotted"}, {"Dashed", "dashed"},
    {"Solid", "solid"}, {"Double", "double"}, {"Groove", "groove"}, {"Ridge", "ridge"},
    {"Inset", "inset"}, {"Outset", "outset"}};
const std::initializer_list<V> kBorderWidths = {
    {"Thin", "thin"}, {"Medium", "medium"}, {"Thick", "thick"}};

CssFamily background() {
    CssFamily f{QStringLiteral("CSSBackground"),
                QStringLiteral("Fond"),
                true,
                prop(QStringLiteral("CSSBackground_"), QStringLiteral("Fond"),
                     QStringLiteral("background")),
                {}};
    f.properties
        << row(QStringLiteral("CSSBackgroundColor"), QStringLiteral("Couleur de fond"),
               QStringLiteral("background-color"), {{"Transparent", "transparent"}}, {}, true)
        << row(QStringLiteral("CSSBackgroundImage"), QStringLiteral("Image de fond"),
               QStringLiteral("background-image"), {{"None", "none"}}, {{"URL", "URL"}})
        << row(QStringLiteral("CSSBackgroundAttachment"),
               QStringLiteral("Ancrage de l'image de fond"),
               QStringLiteral("background-attachment"), {{"Scroll", "scroll"}, {"Fixed", "fixed"}})
        << row(QStringLiteral("CSSBackgroundPosition"),
               QStringLiteral("Position de l'image de fond"), QStringLiteral("background-position"),
               {{"TopLeft", "top left"},
                {"TopCenter", "top center"},
                {"TopRight", "top right"},
                {"CenterLeft", "center left"},
                {"CenterCenter", "center center"},
                {"CenterRight", "center right"},
                {"BottomLeft", "bottom left"},
                {"BottomCenter", "bottom center"},
                {"BottomRight", "bottom right"}},
               {{"XYpourc", "x-% y-%"}, {"XYpos", "x-pos y-pos"}})
        << row(QStringLiteral("CSSBackgroundRepeat"),
               QStringLiteral("Répétition de l'image de fond"), QStringLiteral("background-repeat"),
               {{"Repeat", "repeat"},
                {"Repeatx", "repeat-x"},
                {"Repeaty", "repeat-y"},
                {"NoRepeat", "no-repeat", "no repeat"}});
    return f;
}

CssFamily text() {
    CssFamily f{QStringLiteral("CSSText"), QStringLiteral("Texte"), false, {}, {}};
    const QString t = QStringLiteral("CSSTextText");
    f.properties
        << row(QStringLiteral("CSSTextColor"), QStringLiteral("Couleur du texte"),
               QStringLiteral("color"), {}, {}, true)
        << row(QStringLiteral("CSSTextDirection"), QStringLiteral("Direction du texte"),
               QStringLiteral("direction"), {{"Ltr", "ltr"}, {"Rtl", "rtl"}})
        << row(QStringLiteral("CSSTextLetterSpacing"),
               QStringLiteral("Espacement entre les caractères"), QStringLiteral("letter-spacing"),
               {{"Normal", "normal"}}, {{"Longueur", "Longueur"}})
        << row(QStringLiteral("CSSTextAlign"), QStringLiteral("Alignement du texte"),
               QStringLiteral("text-align"),
               {{"Left", "left"}, {"Right", "right"}, {"Center", "center"}, {"Justify", "justify"}},
               {}, false, t + QStringLiteral("Align"))
        << row(QStringLiteral("CSSTextDecoration"), QStringLiteral("Style du texte"),
               QStringLiteral("text-decoration"),
               {{"None", "none"},
                {"Underline", "underline"},
                {"Overline", "overline"},
                {"LineThrough", "line-through"},
                {"Blink", "blink"}},
               {}, false, t + QStringLiteral("Decoration"))
        << row(QStringLiteral("CSSTextIndent"), QStringLiteral("Indentation du texte"),
               QStringLiteral("text-indent"), {}, {{"Longueur", "Longueur"}, {"Pourc", "%"}}, false,
               t + QStringLiteral("Indent"))
        << row(QStringLiteral("CSSTextTransform"), QStringLiteral("Casse du texte"),
               QStringLiteral("text-transform"),
               {{"None", "none"},
                {"Capitalize", "capitalize"},
                {"Uppercase", "uppercase"},
                {"Lowercase", "lowercase"}},
               {}, false, t + QStringLiteral("Transform"))
        << row(QStringLiteral("CSSTextWhiteSpace"), QStringLiteral("Gestion des espaces"),
               QStringLiteral("white-space"),
               {{"Normal", "normal"}, {"Pre", "pre"}, {"Nowrap", "nowrap"}})
        << row(QStringLiteral("CSSTextWordSpacing"), QStringLiteral("Espacement entre les mots"),
               QStringLiteral("word-spacing"), {{"Normal", "normal"}}, {{"Longueur", "Longueur"}});
    return f;
}

CssFamily font() {
    CssFamily f{QStringLiteral("CSSFont"),
                QStringLiteral("Police"),
                true,
                prop(QStringLiteral("CSSFont_"), QStringLiteral("Police"), QStringLiteral("font")),
                {}};
    f.properties << row(QStringLiteral("CSSFontFamily"), QStringLiteral("Police de caractère"),
                        QStringLiteral("font-family"), {}, {{"FamilyName", "Nom de la police"}})
                 << row(QStringLiteral("CSSFontSize"), QStringLiteral("Taille de la police"),
                        QStringLiteral("font-size"),
                        {{"XxSmall", "xx-small"},
                         {"XSmall", "x-small"},
                         {"Small", "small"},
                         {"Medium", "medium"},
                         {"Large", "large"},
                         {"XLarge", "x-large"},
                         {"XXLarge", "xx-large"},
                         {"Smaller", "smaller"},
                         {"Larger", "larger"}},
                        {{"Length", "Taille"}, {"Pourc", "%"}})
                 << row(QStringLiteral("CSSFontWeight"), QStringLiteral("Epaisseur de la police"),
                        QStringLiteral("font-weight"),
                        {{"Normal", "normal"},
                         {"Bold", "bold"},
                         {"Bolder", "bolder"},
                         {"Lighter", "lighter"},
                         {"100", "100"},
                         {"200", "200"},
                         {"300", "300"},
                         {"400", "400"},
                         {"500", "500"},
                         {"600", "600"},
                         {"700", "700"},
                         {"800", "800"},
                         {"900", "900"}})
                 << row(QStringLiteral("CSSFontStyle"), QStringLiteral("Style de la police"),
                        QStringLiteral("font-style"),
                        {{"Normal", "normal"}, {"Italic", "italic"}, {"Oblique", "oblique"}})
                 << row(QStringLiteral("CSSFontVariant"),
                        QStringLiteral("Police en petites majuscules"),
                        QStringLiteral("font-variant"),
                        {{"Normal", "normal"}, {"SmallCaps", "small-caps"}});
    return f;
}

// A side group is written once for the bottom and made for the other sides by
// substitution in every name, property and caption.
QList<CssProperty> borderSide(const QString &side, const QString &property, const QString &where) {
    auto name = [&side](const char *rest) {
        return QStringLiteral("CSSBorder") + side + QLatin1String(rest);
    };
    auto caption = [&where](const char *what) { return QString::fromUtf8(what) + where; };
    const QString base = QStringLiteral("border-") + property;
    return {row(name(""), caption("Bordure "), base),
            row(name("Color"), caption("Couleur de la bordure "), base + QStringLiteral("-color"),
                {}, {}, true),
            row(name("Style"), caption("Style de la bordure "), base + QStringLiteral("-style"),
                kBorderStyles),
            row(name("Width"), caption("Taille de la bordure "), base + QStringLiteral("-width"),
                kBorderWidths, {{"Longueur", "Longueur"}})};
}

struct Side {
    QString name;     // Bottom
    QString property; // bottom
    QString border;   // du bas
    QString margin;   // Marge du bas
    QString padding;  // Remplissage du bas
};

const QList<Side> &sides() {
    static const QList<Side> s = {
        {QStringLiteral("Bottom"), QStringLiteral("bottom"), QStringLiteral("du bas"),
         QStringLiteral("Marge du bas"), QStringLiteral("Remplissage du bas")},
        {QStringLiteral("Left"), QStringLiteral("left"), QStringLiteral("de gauche"),
         QStringLiteral("Marge de gauche"), QStringLiteral("Remplissage de gauche")},
        {QStringLiteral("Right"), QStringLiteral("right"), QStringLiteral("de droite"),
         QStringLiteral("Marge de droite"), QStringLiteral("Remplissage de droite")},
        {QStringLiteral("Top"), QStringLiteral("top"), QStringLiteral("du haut"),
         QStringLiteral("Marge du haut"), QStringLiteral("Remplissage du haut")},
    };
    return s;
}

CssFamily border() {
    CssFamily f{
        QStringLiteral("CSSBorder"),
        QStringLiteral("Bordure"),
        true,
        prop(QStringLiteral("CSSBorder_"), QStringLiteral("Bordure"), QStringLiteral("border")),
        {}};
    f.properties << row(QStringLiteral("CSSBorderColor"), QStringLiteral("Couleur de la bordure"),
                        QStringLiteral("border-color"), {}, {}, true)
                 << row(QStringLiteral("CSSBorderStyle"), QStringLiteral("Style de la bordure"),
                        QStringLiteral("border-style"), kBorderStyles)
                 << row(QStringLiteral("CSSBorderWidth"), QStringLiteral("Taille de la bordure"),
                        QStringLiteral("border-width"), kBorderWidths, {{"Longueur", "Longueur"}});
    for (const Side &s : sides())
        f.properties << borderSide(s.name, s.property, s.border);
    return f;
}

CssFamily margin() {
    CssFamily f{
        QStringLiteral("CSSMargin"),
        QStringLiteral("Marges"),
        true,
        prop(QStringLiteral("CSSMargin_"), QStringLiteral("Marges"), QStringLiteral("margin")),
        {}};
    for (const Side &s : sides())
        f.properties << row(QStringLiteral("CSSMargin") + s.name, s.margin,
                            QStringLiteral("margin-") + s.property, {{"Auto", "auto"}},
                            {{"Longueur", "Longueur"}, {"Pourc", "%"}});
    return f;
}

CssFamily padding() {
    CssFamily f{QStringLiteral("CSSPadding"),
                QStringLiteral("Remplissage"),
                true,
                prop(QStringLiteral("CSSPadding_"), QStringLiteral("Remplissage"),
                     QStringLiteral("padding")),
                {}};
    for (const Side &s : sides())
        f.properties << row(QStringLiteral("CSSPadding") + s.name, s.padding,
                            QStringLiteral("padding-") + s.property, {},
                            {{"Longueur", "Longueur"}, {"Pourc", "%"}});
    return f;
}

CssFamily lists() {
    CssFamily f{QStringLiteral("CSSListStyle"),
                QStringLiteral("Listes"),
                true,
                prop(QStringLiteral("CSSList_"), QStringLiteral("Liste"),
                     QStringLiteral("list-style-type")),
                {}};
    f.properties << row(QStringLiteral("CSSListStyleImage"),
                        QStringLiteral("Image de puce de liste"),
                        QStringLiteral("list-style-image"), {{"None", "none"}}, {{"URL", "URL"}})
                 << row(QStringLiteral("CSSListStylePosition"),
                        QStringLiteral("Position de la puce de liste"),
                        QStringLiteral("list-style-position"),
                        {{"Inside", "inside"}, {"Outside", "outside"}})
                 << row(QStringLiteral("CSSListStyleType"), QStringLiteral("Type de liste"),
                        QStringLiteral("list-style-type"),
                        {{"None", "none"},
                         {"Disc", "disc"},
                         {"Circle", "circle"},
                         {"Square", "square"},
                         {"Decimal", "decimal"},
                         {"DecimalLeadingZero", "decimal-leading-zero"},
                         {"LowerRoman", "lower-roman"},
                         {"UpperRoman", "upper-roman"},
                         {"LowerAlpha", "lower-alpha"},
                         {"UpperAlpha", "upper-alpha"},
                         {"LowerGreek", "lower-greek"},
                         {"LowerLatin", "lower-latin"},
                         {"UpperLatin", "upper-latin"},
                         {"Hebrew", "hebrew"},
                         {"Armenian", "armenian"},
                         {"Georgian", "georgian"},
                         {"CjkIdeographic", "cjk-ideographic"},
                         {"Hiragana", "hiragana"},
                         {"Katakana", "katakana"},
                         {"HiraganaIroha", "hiragana-iroha"},
                         {"KatakanaIroha", "katakana-iroha"}});
    return f;
}

} // namespace

QList<CssItem> CssFamily::items() const {
    QList<CssItem> l;
    if (hasShorthand) l << shorthand;
    for (const CssProperty &p : properties)
        l << p.item << p.values << p.placeholders;
    return l;
}

const QList<CssFamily> &CssFamilies() {
    static const QList<CssFamily> f = {background(), text(),    font(), border(),
                                       margin(),     padding(), lists()};
    return f;
}

CssWrap CssDeclaration(const CssItem &item) {
    switch (item.form) {
    case CssForm::Value:
        return {item.text + QLatin1Char(';'), QString()};
    case CssForm::Property:
    case CssForm::Placeholder:
        break;
    }
    return {item.text + QLatin1Char(':'), QStringLiteral(";")};
}

CssWrap CssColourDeclaration(const QString &property, const QString &colourText) {
    return {property + QLatin1Char(':') + colourText + QLatin1Char(';'), QString()};
}

const QStringList &CssSelectors() {
    static const QStringList l =
        QStringLiteral(
            "a a:active a:hover a:link a:visited abbr acronym address applet area b base basefont "
            "bdo bgsound big blink blockquote body br button caption center cite code col colgroup "
            "dd del dfn dir div dl dt embed fieldset font form frame frameset h1 h2 h3 h4 h5 h6 "
            "head "
            "hr html i iframe img input ins isindex kbd label legend li link map marquee menu meta "
            "nobr noframes noscript object ol optgroup option p param pre q s samp script select "
            "small span strike strong style sub sup table tbody td textarea tfoot th thead title "
            "tr "
            "tt u ul var wbr")
            .split(QLatin1Char(' '));
    return l;
}

QString CssRuleOpening(CssRuleKind kind, const QString &selector, const QString &name,
                       bool restricted, bool casse) {
    const QString tag = ApplyTagCase(selector, casse);
    const QString open = QStringLiteral("{\r\n");
    switch (kind) {
    case CssRuleKind::Tag:
        return tag + open;
    case CssRuleKind::Class:
        return (restricted ? tag : QString()) + QLatin1Char('.') + name + open;
    case CssRuleKind::Ident:
        return (restricted ? tag : QString()) + QLatin1Char('#') + name + open;
    }
    return {};
}

QString CssRuleClosing() {
    return QStringLiteral("\r\n}");
}

CssWrap StyleSheetInternal() {
    return {QStringLiteral("<style type=\"text/css\">\r\n"), QStringLiteral("\r\n</style>")};
}

QString StyleSheetLink(const QString &encodedAddress, bool xhtml) {
    return QStringLiteral("<link") +
           Attribute(QStringLiteral("rel"), QStringLiteral("StyleSheet")) +
           Attribute(QStringLiteral("type"), QStringLiteral("text/css")) +
           EscapedAttribute(QStringLiteral("href"), encodedAddress) +
           XhtmlAdjust(QStringLiteral(">"), xhtml);
}

QStringList PushHistory(QStringList history, const QString &entry, int max) {
    if (entry.isEmpty()) return history;
    history.removeIf(
        [&entry](const QString &h) { return h.compare(entry, Qt::CaseInsensitive) == 0; });
    history.prepend(entry);
    while (history.size() > max)
        history.removeLast();
    return history;
}

} // namespace Authoring
