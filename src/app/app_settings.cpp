#include "app/app_settings.h"

#include "app/settings_store.h"

namespace {
const QString kOptions = QStringLiteral("Options");
const QString kForm = QStringLiteral("Form");
const QString kHighlighters = QStringLiteral("Highlighters");
const QString kEditor = QStringLiteral("Editor");
const QString kRightEdge = QStringLiteral("RightEdge");
const QString kGutter = QStringLiteral("Gutter");
const QString kText = QStringLiteral("Text");
const QString kFonts = QStringLiteral("Fonts");
const QString kBrowser = QStringLiteral("Browser");

int textAsInteger(const QString &text, int def)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : def;
}

void readSearch(const SettingsStore &s, const QString &section, SearchFlags &f)
{
    f.backwards = s.readBool(section, QStringLiteral("SearchBackwards"), false);
    f.caseSensitive = s.readBool(section, QStringLiteral("SearchCaseSensitive"), false);
    f.fromCaret = s.readBool(section, QStringLiteral("SearchFromCaret"), false);
    f.selectionOnly = s.readBool(section, QStringLiteral("SearchSelectionOnly"), false);
    f.wholeWords = s.readBool(section, QStringLiteral("SearchWholeWords"), false);
    f.regularExpression = s.readBool(section, QStringLiteral("SearchRegularExpression"), false);
}

void writeSearch(SettingsStore &s, const QString &section, const SearchFlags &f)
{
    s.writeBool(section, QStringLiteral("SearchBackwards"), f.backwards);
    s.writeBool(section, QStringLiteral("SearchCaseSensitive"), f.caseSensitive);
    s.writeBool(section, QStringLiteral("SearchFromCaret"), f.fromCaret);
    s.writeBool(section, QStringLiteral("SearchSelectionOnly"), f.selectionOnly);
    s.writeBool(section, QStringLiteral("SearchWholeWords"), f.wholeWords);
    s.writeBool(section, QStringLiteral("SearchRegularExpression"), f.regularExpression);
}

void writeNavChoice(SettingsStore &s, const BrowserSettings &b)
{
    for (int i = 0; i < 4; ++i)
        s.writeBool(kBrowser, QStringLiteral("Nav%1").arg(i + 1), b.nav[i]);
}
} // namespace

int EditorPreferences::tabWidth() const { return textAsInteger(tabsWidth, 4); }
int EditorPreferences::rightEdge() const { return textAsInteger(rightEdgeSize, 0); }
int EditorPreferences::gutterWidth() const { return textAsInteger(gutterSize, 30); }

void readStartupOptions(const SettingsStore &s, Options &o)
{
    o.oneInstance = s.readBool(kOptions, QStringLiteral("OneInstance"), true);
    o.splash = s.readBool(kOptions, QStringLiteral("Splash"), true);
    o.showTips = s.readBool(kOptions, QStringLiteral("ShowTips"), true);
}

void loadSettings(const SettingsStore &s, Options &o)
{
    WindowBounds &w = o.window;
    w.width = s.readInteger(kForm, QStringLiteral("Largeur"), 617);
    w.height = s.readInteger(kForm, QStringLiteral("Hauteur"), 460);
    w.left = s.readInteger(kForm, QStringLiteral("Gauche"), 0);
    w.top = s.readInteger(kForm, QStringLiteral("Haut"), 0);
    w.maximised = s.readInteger(kForm, QStringLiteral("Etat"), 0) == 1;

    o.typeDefaut = s.readInteger(kHighlighters, QStringLiteral("TypeDefaut"), 0);
    o.extensionDefaut = s.readString(kHighlighters, QStringLiteral("ExtensionDefaut"),
                                     QStringLiteral("htm"));

    EditorPreferences &e = o.editor;
    e.autoIndent = s.readBool(kEditor, QStringLiteral("AutoIndent"), true);
    e.dragDropEditing = s.readBool(kEditor, QStringLiteral("DragDropEditing"), true);
    e.dropFiles = s.readBool(kEditor, QStringLiteral("DropFiles"), true);
    e.halfPageScroll = s.readBool(kEditor, QStringLiteral("HalfPageScroll"), true);
    e.scrollPastEol = s.readBool(kEditor, QStringLiteral("ScrollPastEol"), false);
    e.noTrimTrailingSpaces = true; // hidden preference, never read
    e.wantTabs = s.readBool(kEditor, QStringLiteral("WantTabs"), true);
    e.smartTabs = s.readBool(kEditor, QStringLiteral("SmartTabs"), true);
    e.enhanceHomeKey = s.readBool(kEditor, QStringLiteral("EnhanceHomeKey"), true);
    e.tabsToSpaces = s.readBool(kEditor, QStringLiteral("TabsToSpaces"), true);
    e.keepCaretX = s.readBool(kEditor, QStringLiteral("KeepCaretX"), true);
    e.groupUndo = s.readBool(kEditor, QStringLiteral("GroupUndo"), true);
    e.rightMouseMovesCursor = s.readBool(kEditor, QStringLiteral("RightMouseMovesCursor"), false);
    e.tabsWidth = s.readString(kEditor, QStringLiteral("TabsWidth"), QStringLiteral("4"));
    e.policeNom = s.readString(kEditor, QStringLiteral("PoliceNom"), QStringLiteral("Courier New"));
    e.policeTaille = s.readInteger(kEditor, QStringLiteral("PoliceTaille"), 10);
    e.matchBrackets = s.readBool(kEditor, QStringLiteral("MatchBrackets"), true);
    e.rightEdgeSize = s.readString(kRightEdge, QStringLiteral("RightEdgeSize"), QStringLiteral("0"));
    e.showGutter = s.readBool(kGutter, QStringLiteral("ShowGutter"), true);
    e.gutterSize = s.readString(kGutter, QStringLiteral("GutterSize"), QStringLiteral("30"));
    e.showLineNumbers = s.readBool(kGutter, QStringLiteral("ShowLineNumbers"), false);

    o.saveCheck = s.readBool(kOptions, QStringLiteral("SaveCheck"), false);
    o.casse = s.readBool(kOptions, QStringLiteral("Casse"), false);
    o.xhtml = s.readBool(kOptions, QStringLiteral("XHTML"), false);
    o.formatDate = s.readInteger(kOptions, QStringLiteral("FormatDate"), 0);
    o.multiDoc = s.readBool(kOptions, QStringLiteral("MultiDoc"), false);
    o.compHTML = s.readBool(kOptions, QStringLiteral("CompHTML"), true);
    o.docExiste = s.readBool(kOptions, QStringLiteral("DocExiste"), true);
    o.wordWrap = s.readBool(kOptions, QStringLiteral("WordWrap"), false);
    o.showSpecialChars = s.readBool(kOptions, QStringLiteral("ShowSpecialChars"), false);
    o.alwaysOnTop = s.readBool(kOptions, QStringLiteral("AlwaysOnTop"), false);

    o.dossierParDefaut = s.readBool(kText, QStringLiteral("DossierParDefaut"), false);
    o.dossierParDefautSTR = s.readString(kText, QStringLiteral("DossierParDefautSTR"), QString());
    o.caracteresAlphabetiques = s.readBool(kText, QStringLiteral("CaracteresAlphabetiques"), true);
    o.nomVariableASP = s.readString(kText, QStringLiteral("NomVariableASP"), QString());

    readSearch(s, QStringLiteral("Search"), o.search);
    readSearch(s, QStringLiteral("Replace"), o.replace);

    o.fontSelect = s.readInteger(kFonts, QStringLiteral("Select"), 0);
    if (o.fontSelect > 9 || o.fontSelect < 0)
        o.fontSelect = 0;
    for (int i = 0; i < 10; ++i) {
        const QString sec = QStringLiteral("Fonts\\Font%1").arg(i + 1);
        FontPreset &f = o.fonts[i];
        f.nom = s.readString(sec, QStringLiteral("Nom"), QString());
        f.taille = s.readString(sec, QStringLiteral("Taille"), QString());
        f.couleur = s.readString(sec, QStringLiteral("Couleur"), QString());
        f.face = s.readString(sec, QStringLiteral("Face"), QString());
    }

    BrowserSettings &b = o.browser;
    for (int i = 0; i < 4; ++i)
        b.nav[i] = s.readBool(kBrowser, QStringLiteral("Nav%1").arg(i + 1), i == 0);
    b.cheminNav3 = s.readString(kBrowser, QStringLiteral("CheminNav3"), QString());
    b.cheminNav4 = s.readString(kBrowser, QStringLiteral("CheminNav4"), QString());
    b.libelleNav3 =
        userBrowserLabel(s.readString(kBrowser, QStringLiteral("LibelleNav3"), QString()));
    b.libelleNav4 =
        userBrowserLabel(s.readString(kBrowser, QStringLiteral("LibelleNav4"), QString()));
}

void saveSessionSettings(SettingsStore &s, const Options &o)
{
    s.writeBool(kOptions, QStringLiteral("SaveCheck"), o.saveCheck);
    s.writeBool(kOptions, QStringLiteral("ShowTips"), o.showTips);
    s.writeString(kText, QStringLiteral("DossierParDefautSTR"), o.dossierParDefautSTR);
    s.writeString(kText, QStringLiteral("NomVariableASP"), o.nomVariableASP);
    s.writeInteger(kFonts, QStringLiteral("Select"), o.fontSelect);
    writeNavChoice(s, o.browser);
    writeSearch(s, QStringLiteral("Search"), o.search);
    writeSearch(s, QStringLiteral("Replace"), o.replace);
    s.writeBool(kOptions, QStringLiteral("WordWrap"), o.wordWrap);
    s.writeBool(kOptions, QStringLiteral("ShowSpecialChars"), o.showSpecialChars);
    s.writeBool(kOptions, QStringLiteral("AlwaysOnTop"), o.alwaysOnTop);
    if (o.window.maximised) {
        // The stored bounds stay those of the last run that ended not maximised.
        s.writeInteger(kForm, QStringLiteral("Etat"), 1);
    } else {
        s.writeInteger(kForm, QStringLiteral("Largeur"), o.window.width);
        s.writeInteger(kForm, QStringLiteral("Hauteur"), o.window.height);
        s.writeInteger(kForm, QStringLiteral("Gauche"), o.window.left);
        s.writeInteger(kForm, QStringLiteral("Haut"), o.window.top);
        s.writeInteger(kForm, QStringLiteral("Etat"), 0);
    }
}

void savePreferences(SettingsStore &s, const Options &o)
{
    s.writeInteger(kHighlighters, QStringLiteral("TypeDefaut"), o.typeDefaut);
    s.writeString(kHighlighters, QStringLiteral("ExtensionDefaut"), o.extensionDefaut);

    const EditorPreferences &e = o.editor;
    s.writeBool(kEditor, QStringLiteral("AutoIndent"), e.autoIndent);
    s.writeBool(kEditor, QStringLiteral("DragDropEditing"), e.dragDropEditing);
    s.writeBool(kEditor, QStringLiteral("DropFiles"), e.dropFiles);
    s.writeBool(kEditor, QStringLiteral("HalfPageScroll"), e.halfPageScroll);
    s.writeBool(kEditor, QStringLiteral("ScrollPastEol"), e.scrollPastEol);
    s.writeBool(kEditor, QStringLiteral("NoTrimTrailingSpaces"), e.noTrimTrailingSpaces);
    s.writeBool(kEditor, QStringLiteral("WantTabs"), e.wantTabs);
    s.writeBool(kEditor, QStringLiteral("SmartTabs"), e.smartTabs);
    s.writeBool(kEditor, QStringLiteral("EnhanceHomeKey"), e.enhanceHomeKey);
    s.writeBool(kEditor, QStringLiteral("TabsToSpaces"), e.tabsToSpaces);
    s.writeBool(kEditor, QStringLiteral("KeepCaretX"), e.keepCaretX);
    s.writeBool(kEditor, QStringLiteral("GroupUndo"), e.groupUndo);
    s.writeBool(kEditor, QStringLiteral("RightMouseMovesCursor"), e.rightMouseMovesCursor);
    s.writeString(kEditor, QStringLiteral("TabsWidth"), e.tabsWidth);
    s.writeString(kEditor, QStringLiteral("PoliceNom"), e.policeNom);
    s.writeInteger(kEditor, QStringLiteral("PoliceTaille"), e.policeTaille);
    s.writeBool(kEditor, QStringLiteral("MatchBrackets"), e.matchBrackets);
    s.writeString(kRightEdge, QStringLiteral("RightEdgeSize"), e.rightEdgeSize);
    s.writeBool(kGutter, QStringLiteral("ShowLineNumbers"), e.showLineNumbers);
    s.writeBool(kGutter, QStringLiteral("ShowGutter"), e.showGutter);
    s.writeString(kGutter, QStringLiteral("GutterSize"), e.gutterSize);

    s.writeBool(kOptions, QStringLiteral("Splash"), o.splash);
    s.writeBool(kOptions, QStringLiteral("ShowTips"), o.showTips);
    s.writeBool(kOptions, QStringLiteral("SaveCheck"), o.saveCheck);
    s.writeBool(kOptions, QStringLiteral("OneInstance"), o.oneInstance);
    s.writeBool(kOptions, QStringLiteral("Casse"), o.casse);
    s.writeBool(kOptions, QStringLiteral("XHTML"), o.xhtml);
    s.writeInteger(kOptions, QStringLiteral("FormatDate"), o.formatDate);
    s.writeBool(kOptions, QStringLiteral("MultiDoc"), o.multiDoc);
    s.writeBool(kOptions, QStringLiteral("CompHTML"), o.compHTML);
    s.writeBool(kOptions, QStringLiteral("DocExiste"), o.docExiste);
    s.writeBool(kText, QStringLiteral("DossierParDefaut"), o.dossierParDefaut);
    s.writeBool(kText, QStringLiteral("CaracteresAlphabetiques"), o.caracteresAlphabetiques);
    s.writeInteger(kFonts, QStringLiteral("Select"), o.fontSelect);
    writeNavChoice(s, o.browser);
    s.writeString(kBrowser, QStringLiteral("CheminNav3"), o.browser.cheminNav3);
    s.writeString(kBrowser, QStringLiteral("CheminNav4"), o.browser.cheminNav4);
    s.writeString(kBrowser, QStringLiteral("LibelleNav3"), userBrowserLabel(o.browser.libelleNav3));
    s.writeString(kBrowser, QStringLiteral("LibelleNav4"), userBrowserLabel(o.browser.libelleNav4));
}

QString userBrowserLabel(const QString &label)
{
    return label.isEmpty() ? BrowserSettings::defaultLabel() : label;
}
