#include "authoring/text_commands.h"

#include "platform/windows1252.h"

namespace Authoring {

namespace {

// clang-format off
const struct {
    const char16_t *name, *caption, *shortcut, *opening, *closing;
    bool raw;
} kWrapCommands[] = {
    {u"StyleGras",          u"&Gras",               u"Ctrl+B", u"<b>",      u"</b>",      false},
    {u"StyleItalique",      u"&Italique",           u"Ctrl+I", u"<i>",      u"</i>",      false},
    {u"StyleSouligne",      u"&Souligné",           u"Ctrl+U", u"<u>",      u"</u>",      false},
    {u"StyleExposant",      u"Exposant",            u"",       u"<sup>",    u"</sup>",    false},
    {u"StyleIndice",        u"Indice",              u"",       u"<sub>",    u"</sub>",    false},
    {u"Barr1",              u"Barré",               u"",       u"<s>",      u"</s>",      false},
    {u"Tltype1",            u"Télétype",            u"",       u"<tt>",     u"</tt>",     false},
    {u"Accentuation1",      u"Accentuation",        u"",       u"<em>",     u"</em>",     false},
    {u"Forteaccentuation1", u"Forte accentuation",  u"",       u"<strong>", u"</strong>", false},
    {u"Code1",              u"Code",                u"",       u"<code>",   u"</code>",   false},
    {u"Variable1",          u"Variable",            u"",       u"<var>",    u"</var>",    false},
    {u"Echantillon1",       u"Echantillon",         u"",       u"<samp>",   u"</samp>",   false},
    {u"Clavie1",            u"Clavier",             u"",       u"<kbd>",    u"</kbd>",    false},
    {u"Citation1",          u"Citation",            u"",       u"<cite>",   u"</cite>",   false},
    {u"Dfinition1",         u"Définition",          u"",       u"<dfn>",    u"</dfn>",    false},
    {u"Head1", u"<H&1> (le plus grand)", u"Ctrl+F1", u"<h1>", u"</h1>", false},
    {u"Head2", u"<H&2>",                 u"Ctrl+F2", u"<h2>", u"</h2>", false},
    {u"Head3", u"<H&3>",                 u"Ctrl+F3", u"<h3>", u"</h3>", false},
    {u"Head4", u"<H&4>",                 u"Ctrl+F4", u"<h4>", u"</h4>", false},
    {u"Head5", u"<H&5>",                 u"Ctrl+F5", u"<h5>", u"</h5>", false},
    {u"Head6", u"<H&6> (le plus petit)", u"Ctrl+F6", u"<h6>", u"</h6>", false},
    {u"TexteParagraphe",  u"&Paragraphe",  u"Ctrl+Shift+P", u"<p>",          u"</p>",          false},
    {u"TexteRetrait",     u"&Retrait",     u"",             u"<blockquote>", u"</blockquote>", false},
    // Ctrl and the keypad's "/"; a comment keeps its case.
    {u"TexteCommentaire", u"&Commentaire", u"Ctrl+Num+/",   u"<!-- ",        u" -->",          true},
    {u"AlignementGauche",   u"à &gauche", u"", u"<div align=\"left\">",               u"</div>", false},
    {u"AlignementCentre",   u"&centré",   u"", u"<div align=\"center\">",             u"</div>", false},
    {u"AlignementDroite",   u"à &droite", u"", u"<div align=\"right\">",              u"</div>", false},
    {u"Alignementjustifie", u"&justifié", u"", u"<div style=\"text-align:justify;\">", u"</div>", false},
};
// clang-format on

QList<WrapCommand> makeWrapCommands() {
    QList<WrapCommand> list;
    for (const auto &c : kWrapCommands) {
        list.append({QString::fromUtf16(c.name), QString::fromUtf16(c.caption),
                     QString::fromUtf16(c.shortcut), QString::fromUtf16(c.opening),
                     QString::fromUtf16(c.closing), c.raw});
    }
    return list;
}

QList<FontSizeItem> makeFontSizeItems() {
    QList<FontSizeItem> list;
    const struct {
        const char16_t *submenu;
        const char16_t *prefix;
    } groups[] = {
        {u"&Taille", u""}, {u"Au&gmenter la taille", u"+"}, {u"&Diminuer la taille", u"-"}};
    for (const auto &g : groups) {
        for (int i = 1; i <= 7; ++i)
            list.append(
                {QString::fromUtf16(g.submenu), QString::fromUtf16(g.prefix) + QString::number(i)});
    }
    return list;
}

QList<EntityItem> makeEntityItems() {
    QList<EntityItem> list;

    const QString accents = QStringLiteral("Caractères &Accentués");
    // Per base letter: the characters and their reference names, capitals after.
    const struct {
        const char16_t *letter;
        const char16_t *chars;
        const char *names[6];
    } letters[] = {
        {u"a", u"áàâäã", {"aacute", "agrave", "acirc", "auml", "atilde"}},
        {u"e", u"éèêë", {"eacute", "egrave", "ecirc", "euml"}},
        {u"i", u"íìîï", {"iacute", "igrave", "icirc", "iuml"}},
        {u"o", u"óòôöõø", {"oacute", "ograve", "ocirc", "ouml", "otilde", "oslash"}},
        {u"u", u"úùûü", {"uacute", "ugrave", "ucirc", "uuml"}},
        {u"y", u"ýÿ", {"yacute", "yuml"}},
        {u"A", u"ÁÀÂÄÃ", {"Aacute", "Agrave", "Acirc", "Auml", "Atilde"}},
        {u"E", u"ÉÈÊË", {"Eacute", "Egrave", "Ecirc", "Euml"}},
        {u"I", u"ÍÌÎÏ", {"Iacute", "Igrave", "Icirc", "Iuml"}},
        {u"O", u"ÓÒÔÖÕØ", {"Oacute", "Ograve", "Ocirc", "Ouml", "Otilde", "Oslash"}},
        {u"U", u"ÚÙÛÜ", {"Uacute", "Ugrave", "Ucirc", "Uuml"}},
        {u"Y", u"Ý", {"Yacute"}},
    };
    for (const auto &l : letters) {
        const QString chars = QString::fromUtf16(l.chars);
        for (qsizetype i = 0; i < chars.size(); ++i) {
            list.append({accents,
                         QString::fromUtf16(l.letter),
                         chars.mid(i, 1),
                         QStringLiteral("&%1;").arg(QLatin1String(l.names[i])),
                         {}});
        }
    }

    const QString special = QStringLiteral("&Caractères Spéciaux");
    const struct {
        const char16_t *group;
        const char16_t *caption;
        const char *name;
        const char *shortcut;
    } specials[] = {
        {u"Arithmétiques", u"¹", "sup1", ""},
        {u"Arithmétiques", u"²", "sup2", ""},
        {u"Arithmétiques", u"³", "sup3", ""},
        {u"Arithmétiques", u"¼", "frac14", ""},
        {u"Arithmétiques", u"½", "frac12", ""},
        {u"Arithmétiques", u"¾", "frac34", ""},
        {u"Arithmétiques", u"±", "plusmn", ""},
        {u"Arithmétiques", u"×", "times", ""},
        {u"Arithmétiques", u"÷", "divide", ""},
        // The "<>" key of European keyboards, alone and shifted.
        {u"Arithmétiques", u"<", "lt", "Ctrl+<"},
        {u"Arithmétiques", u">", "gt", "Ctrl+Shift+<"},
        {u"Monétaires", u"¤", "curren", ""},
        {u"Monétaires", u"£ (Livre)", "pound", ""},
        {u"Monétaires", u"¢ (Cent)", "cent", ""},
        {u"Monétaires", u"¥ (Yen)", "yen", ""},
        {u"Monétaires", u"€ (Euro)", "euro", ""},
        {u"Littéraires", u"«", "laquo", ""},
        {u"Littéraires", u"»", "raquo", ""},
        {u"Littéraires", u"¿", "iquest", ""},
        {u"Littéraires", u"¡", "iexcl", ""},
        {u"Littéraires", u"§", "sect", ""},
        {u"Littéraires", u"¶", "para", ""},
        {u"Littéraires", u"ç", "ccedil", ""},
        {u"Littéraires", u"Ç", "Ccedil", ""},
        {u"Littéraires", u"ñ", "ntilde", ""},
        {u"Littéraires", u"Ñ", "Ntilde", ""},
        {u"Littéraires", u"æ", "aelig", ""},
        {u"Littéraires", u"Æ", "AElig", ""},
        {u"Littéraires", u"œ", "oelig", ""},
        {u"Littéraires", u"Œ", "OElig", ""},
        {u"Littéraires", u"…", "hellip", ""},
        {u"Autres", u"&&", "amp", ""},
        {u"Autres", u"®", "reg", ""},
        {u"Autres", u"©", "copy", ""},
        {u"Autres", u"™", "trade", ""},
        {u"Autres", u"°", "deg", ""},
        {u"Autres", u"¦", "brvbar", ""},
    };
    for (const auto &s : specials) {
        list.append({special, QString::fromUtf16(s.group), QString::fromUtf16(s.caption),
                     QStringLiteral("&%1;").arg(QLatin1String(s.name)), QLatin1String(s.shortcut)});
    }
    return list;
}

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

const QList<WrapCommand> &WrapCommands() {
    static const QList<WrapCommand> list = makeWrapCommands();
    return list;
}

const QList<FontSizeItem> &FontSizeItems() {
    static const QList<FontSizeItem> list = makeFontSizeItems();
    return list;
}

QString FontSizeOpening(const QString &caption) {
    return QStringLiteral("<font size=\"") + caption + QStringLiteral("\">");
}

QString FontSizeClosing() {
    return QStringLiteral("</font>");
}

QString FormatDate(const QDateTime &when, int format) {
    const QDate date = when.date();
    const QTime time = when.time();
    const QString dayMonth = twoDigits(date.day()) + u'/' + twoDigits(date.month()) + u'/';
    const QString longDate =
        dayMonth + QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
    const QString shortDate = dayMonth + twoDigits(((date.year() % 100) + 100) % 100);
    const QString clock = twoDigits(time.hour()) + u':' + twoDigits(time.minute());
    switch (format) {
    case 1:
        return longDate + u' ' + clock;
    case 2:
        return longDate;
    case 3:
        return shortDate;
    case 4:
        return clock;
    default:
        return clock + u' ' + longDate;
    }
}

const QList<EntityItem> &EntityItems() {
    static const QList<EntityItem> list = makeEntityItems();
    return list;
}

QString EntityText(const EntityItem &item, bool caracteresAlphabetiques) {
    if (caracteresAlphabetiques || item.caption.isEmpty()) return item.hint;
    const int code = Windows1252::fromUnicode(item.caption.at(0).unicode());
    // Every caption's character is in the code page; the named form is the safe fallback.
    if (code < 0) return item.hint;
    return QStringLiteral("&#") + QString::number(code) + u';';
}

} // namespace Authoring
