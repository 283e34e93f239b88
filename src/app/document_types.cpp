#include "app/document_types.h"

#include "app/settings_store.h"
#include "editor/multi_highlighter.h"
#include "editor/plain_highlighters.h"

#include <QFileInfo>

namespace {

const QString Section = QStringLiteral("Highlighters");

// Region expressions, exactly as stored; case-insensitive unless noted.
const char *const CssStart = R"(<style[^>]+type[^>]*[=][^>]*[\'\"]?text[\/]css[^>]*[\'\"]?[^>]*>)";
const char *const JsLanguageStart =
    R"(<[^>]*script[^>]+language[^>]*[=][^>]*[\'\"]?j(ava)?script[^>]*[\'\"]?[^>]*>)";
const char *const JsTypeStart =
    R"(<[^>]*script[^>]+type[^>]*[=][^>]*[\'\"]?text[\/]j(ava)?script[^>]*[\'\"]?[^>]*>)";
const char *const VbLanguageStart =
    R"(<[^>]*script[^>]+language[^>]*[=][^>]*[\'\"]?vbscript[^>]*[\'\"]?[^>]*>)";
const char *const VbTypeStart =
    R"(<[^>]*script[^>]+type[^>]*[=][^>]*[\'\"]?text[\/]vbscript[^>]*[\'\"]?[^>]*>)";
const char *const ScriptStart = R"(<script[^>]*>)";
// Today's pages: <style> without a type is a style sheet; a <script> whose type
// names a module or another JavaScript type is JavaScript; any other typed
// <style> or <script> (a template, JSON data...) is left plain.
const char *const StyleOtherStart = R"(<style\s[^>]*type\s*=[^>]*>)";
const char *const StyleUntypedStart = R"(<style(\s[^>]*)?>)";
const char *const JsModernTypeStart =
    R"(<script\s[^>]*type\s*=\s*[\'\"]?(module|(text|application)/(x-)?(java|ecma)script)[\'\"]?(\s[^>]*)?>)";
const char *const ScriptOtherStart = R"(<script\s[^>]*(type|language)\s*=[^>]*>)";
const char *const PhpLanguageStart =
    R"(<[^>]*script[^>]+language[^>]*[=][^>]*[\'\"]?php[^>]*[\'\"]?[^>]*>)";

RegionScheme scheme(const char *name, const char *start, const char *end, bool caseSensitive,
                    const Highlighter *h, bool endInCodeOnly = false) {
    return {QString::fromLatin1(name),
            QString::fromLatin1(start),
            QString::fromLatin1(end),
            caseSensitive,
            h,
            endInCodeOnly};
}

QString colourSection(const QString &typeName) {
    return Section + QLatin1Char('\\') + typeName;
}

bool hasColourKey(const HighlighterEntry &e) {
    return e.tag == 0 || e.tag == 1;
}

} // namespace

QString HighlighterEntry::typeName() const {
    return DocumentTypeName(languageName, tag);
}

DocumentTypes::DocumentTypes() {
    auto own = [this](Highlighter *h) {
        m_highlighters.emplace_back(h);
        return h;
    };
    Highlighter *general = own(new GeneralHighlighter);
    Highlighter *html = own(new HtmlHighlighter);
    Highlighter *xml = own(new XmlHighlighter);
    Highlighter *css = own(new CssHighlighter);
    Highlighter *js = own(new JavaScriptHighlighter);
    Highlighter *vbs = own(new VBScriptHighlighter);
    Highlighter *php = own(new PhpHighlighter);
    Highlighter *perl = own(new PerlHighlighter);
    Highlighter *sql = own(new SqlHighlighter);
    Highlighter *htmlPage = own(new MultiHighlighter(
        html, QStringLiteral("HTML"),
        {scheme("CSSScheme", CssStart, "</style>", false, css),
         scheme("StyleSchemeOther", StyleOtherStart, "</style>", false, general),
         scheme("CSSSchemeUntyped", StyleUntypedStart, "</style>", false, css),
         scheme("JSSchemeLanguage", JsLanguageStart, "</script>", false, js),
         scheme("JSSchemeType", JsTypeStart, "</script>", false, js),
         scheme("VBSchemeLanguage", VbLanguageStart, "</script>", false, vbs),
         scheme("VBSchemeType", VbTypeStart, "</script>", false, vbs),
         scheme("JSSchemeModern", JsModernTypeStart, "</script>", false, js),
         scheme("ScriptSchemeOther", ScriptOtherStart, "</script>", false, general),
         scheme("JSScheme", ScriptStart, "</script>", false, js)}));
    Highlighter *aspPage = own(new MultiHighlighter(htmlPage, QStringLiteral("ASP"),
                                                    {scheme("VBScheme", "<%", "%>", false, vbs)}));
    Highlighter *phpPage = own(new MultiHighlighter(
        htmlPage, QStringLiteral("PHP"),
        {scheme("PHPScheme", R"(<\?(php)?)", R"(\?>)", true, php, true),
         scheme("PHPSchemePourc", "<%", "%>", true, php, true),
         scheme("PHPSchemeLanguage", PhpLanguageStart, "</script>", false, php)}));

    const QString f1 =
        QStringLiteral("Fichiers HTML (*.htm,*.html,*.shtm,*.shtml)|*.htm;*.html;*.shtm;*.shtml");
    const QString f9 =
        QStringLiteral("Fichiers PHP (*.php,*.php3,*.phtml;*.inc)|*.php;*.php3;*.phtml;*.inc");
    auto add = [this](const char *object, int tag, const char *language, const QString &filter,
                      Highlighter *h) {
        m_entries.push_back(
            {QString::fromLatin1(object), tag, QString::fromLatin1(language), filter, filter, h});
    };
    add("SynGeneralSyn1", -1, "General", QString(), general);
    add("SynHTMLSyn1", 0, "HTML", f1, html);
    add("SynMultiSynHTML", 4, "General Multi-Highlighter", f1, htmlPage);
    add("SynXMLSyn1", 1, "XML",
        QStringLiteral(
            "Fichiers XML (*.xml,*.xsd,*.xsl,*.xslt,*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd"),
        xml);
    add("SynCssSyn1", 1, "Cascading Style Sheet", QStringLiteral("Feuilles de style (*.css)|*.css"),
        css);
    add("SynJScriptSyn1", 1, "JavaScript", QStringLiteral("Fichiers Javascript (*.js)|*.js"), js);
    add("SynVBScriptSyn1", 1, "MS VBScript", QStringLiteral("Fichiers VBScript (*.vbs)|*.vbs"),
        vbs);
    add("SynPHPSyn1", 0, "PHP", f9, php);
    add("SynPerlSyn1", 1, "Perl", QStringLiteral("Fichiers Perl (*.pl,*.pm,*.cgi)|*.pl;*.pm;*.cgi"),
        perl);
    add("SynSQLSyn1", 1, "SQL", QStringLiteral("Fichiers SQL (*.sql)|*.sql"), sql);
    add("SynMultiSynASP", 2, "General Multi-Highlighter",
        QStringLiteral("Fichiers ASP (*.asp;*.aspx;*.asa)|*.asp;*.aspx;*.asa"), aspPage);
    add("SynMultiSynPHP", 3, "General Multi-Highlighter", f9, phpPage);
}

DocumentTypes::~DocumentTypes() = default;

int DocumentTypes::indexOf(const Highlighter *highlighter) const {
    for (int i = 0; i < EntryCount; ++i)
        if (m_entries[size_t(i)].highlighter == highlighter) return i;
    return -1;
}

int DocumentTypes::indexOfObjectName(const QString &objectName) const {
    for (int i = 0; i < EntryCount; ++i)
        if (m_entries[size_t(i)].objectName == objectName) return i;
    return -1;
}

void DocumentTypes::resetColours(SettingsStore &store) {
    // Only the category sub-keys: the type's filter is a value of the same name.
    for (const HighlighterEntry &e : m_entries) {
        const QString key = colourSection(e.typeName());
        for (const QString &sub : store.subSections(key))
            store.eraseSection(key + QLatin1Char('\\') + sub);
    }
    m_coloursReset = true;
}

QString DocumentTypeName(const QString &languageName, int tag) {
    if (languageName == QLatin1String("General")) return QStringLiteral("Aucun");
    if (languageName == QLatin1String("HTML document") || languageName == QLatin1String("HTML"))
        return QStringLiteral("Document HTML");
    if (languageName == QLatin1String("XML")) return QStringLiteral("Document XML");
    if (languageName == QLatin1String("Cascading Style Sheet"))
        return QStringLiteral("Feuille de style");
    if (languageName == QLatin1String("MS VBScript")) return QStringLiteral("VBScript");
    if (languageName == QLatin1String("Vrml97")) return QStringLiteral("VRML");
    if (languageName == QLatin1String("General Multi-Highlighter")) {
        switch (tag) {
        case 2:
            return QStringLiteral("ASP");
        case 3:
            return QStringLiteral("PHP");
        case 4:
            return QStringLiteral("Document HTML");
        default:
            break;
        }
    }
    return languageName;
}

TypeLists BuildTypeLists(const DocumentTypes &types) {
    TypeLists lists;
    lists.names << QStringLiteral("Aucun");
    lists.entries << DocumentTypes::SynGeneralSyn1;
    QString filter;
    QString known;
    for (int i = 0; i < types.count(); ++i) {
        const HighlighterEntry &e = types.entry(i);
        if (e.tag <= 0 || e.filter.isEmpty()) continue;
        lists.names << e.typeName();
        lists.entries << i;
        if (!filter.isEmpty()) filter += QLatin1Char('|');
        filter += e.filter;
        known += e.filter.mid(e.filter.indexOf(QLatin1Char('|')) + 1) + QLatin1Char(';');
    }
    if (!filter.isEmpty()) filter += QLatin1Char('|');
    filter += QStringLiteral("Fichiers texte (*.txt)|*.txt|");
    known += QStringLiteral("*.txt;");
    known.chop(1);
    lists.filter = QStringLiteral("Tous les fichiers connus|") + known + QLatin1Char('|') + filter +
                   QStringLiteral("Tous les fichiers (*.*)|*.*");
    return lists;
}

bool MatchHighlighter(const QString &extension, const HighlighterEntry &entry) {
    QString x = extension.toUpper();
    const int dot = int(x.indexOf(QLatin1Char('.')));
    if (dot >= 0) x = x.mid(dot + 1);
    const int bar = int(entry.filter.indexOf(QLatin1Char('|')));
    if (x.isEmpty() || bar < 0) return false;
    const QStringList items = entry.filter.mid(bar + 1).split(QLatin1Char(';'));
    for (QString item : items) {
        const int d = int(item.indexOf(QLatin1Char('.')));
        if (d >= 0) item = item.mid(d + 1);
        if (item.toUpper() == x) return true;
    }
    return false;
}

int HighlighterForExtension(const DocumentTypes &types, const QString &extension) {
    for (int i = 0; i < types.count(); ++i)
        if (types.entry(i).tag > 0 && MatchHighlighter(extension, types.entry(i))) return i;
    return -1;
}

QString WithDefaultExtension(const QString &fileName, const QString &defaultExtension) {
    if (defaultExtension.isEmpty() || !QFileInfo(fileName).suffix().isEmpty()) return fileName;
    if (fileName.endsWith(QLatin1Char('.'))) return fileName + defaultExtension;
    return fileName + QLatin1Char('.') + defaultExtension;
}

void LoadHighlighterSettings(DocumentTypes &types, const SettingsStore &store) {
    for (int i = 0; i < types.count(); ++i) {
        HighlighterEntry &e = types.entry(i);
        const QString name = e.typeName();
        const QString filter = store.readString(Section, name, QString());
        if (!filter.isEmpty()) e.filter = filter;
        if (!hasColourKey(e)) continue;
        Highlighter *h = e.highlighter;
        std::vector<TokenAttribute> attributes = h->attributes();
        for (int c = 0; c < h->categoryCount(); ++c) {
            const QString key = colourSection(name) + QLatin1Char('\\') + h->categoryName(c);
            TokenAttribute &a = attributes[size_t(c)];
            if (store.valueExists(key, QStringLiteral("Background")))
                a.background.code = std::uint32_t(
                    store.readInteger(key, QStringLiteral("Background"), int(a.background.code)));
            if (store.valueExists(key, QStringLiteral("Foreground")))
                a.foreground.code = std::uint32_t(
                    store.readInteger(key, QStringLiteral("Foreground"), int(a.foreground.code)));
            if (store.valueExists(key, QStringLiteral("Style")))
                a.style = store.readInteger(key, QStringLiteral("Style"), a.style);
        }
        h->setAttributes(attributes);
    }
}

void SaveHighlighterSettings(const DocumentTypes &types, SettingsStore &store) {
    for (int i = 0; i < types.count(); ++i) {
        const HighlighterEntry &e = types.entry(i);
        const QString name = e.typeName();
        if (e.tag > 0) store.writeString(Section, name, e.filter);
        if (!hasColourKey(e) || types.coloursReset()) continue;
        const Highlighter *h = e.highlighter;
        for (int c = 0; c < h->categoryCount(); ++c) {
            const QString key = colourSection(name) + QLatin1Char('\\') + h->categoryName(c);
            const TokenAttribute &a = h->attribute(c);
            store.writeInteger(key, QStringLiteral("Background"), int(a.background.code));
            store.writeInteger(key, QStringLiteral("Foreground"), int(a.foreground.code));
            store.writeInteger(key, QStringLiteral("Style"), a.style);
        }
    }
}
