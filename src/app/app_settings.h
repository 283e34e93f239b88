#pragma once

#include <QString>
#include <array>

class SettingsStore;

// The editor preferences (sections Editor, RightEdge and Gutter), as typed in the
// preferences: sizes stay text until an editor needs them as numbers.
struct EditorPreferences {
    bool autoIndent = true;
    bool dragDropEditing = true;
    bool dropFiles = true;
    bool halfPageScroll = true;
    bool scrollPastEol = false;
    bool noTrimTrailingSpaces = true; // hidden, always on: trailing spaces are kept
    bool wantTabs = true;
    bool smartTabs = true;
    bool enhanceHomeKey = true;
    bool tabsToSpaces = true;
    bool keepCaretX = true;
    bool groupUndo = true;
    bool rightMouseMovesCursor = false;
    QString tabsWidth = QStringLiteral("4");
    QString policeNom = QStringLiteral("Courier New");
    int policeTaille = 10;
    bool matchBrackets = true;
    QString rightEdgeSize = QStringLiteral("0");
    bool showGutter = true;
    QString gutterSize = QStringLiteral("30");
    bool showLineNumbers = false;

    int tabWidth() const;     // 4 when the text is not a number
    int rightEdge() const;    // 0 (no edge) when not a number
    int gutterWidth() const;  // 30 when not a number
};

struct WindowBounds {
    int width = 617;
    int height = 460;
    int left = 0;
    int top = 0;
    bool maximised = false;
};

struct SearchFlags {
    bool backwards = false;
    bool caseSensitive = false;
    bool fromCaret = false;
    bool selectionOnly = false;
    bool wholeWords = false;
    bool regularExpression = false;
};

struct BrowserSettings {
    static QString defaultLabel() { return QStringLiteral("Navigateur utilisateur"); }
    std::array<bool, 4> nav = {true, false, false, false}; // Nav1 to Nav4
    QString cheminNav3;
    QString cheminNav4;
    QString libelleNav3 = defaultLabel();
    QString libelleNav4 = defaultLabel();
};

// The caption of a user browser: never empty.
QString userBrowserLabel(const QString &label);

struct FontPreset {
    QString nom;
    QString taille;
    QString couleur;
    QString face;
};

// Every program-wide option, named after its stored value.
struct Options {
    // Options
    bool oneInstance = true;
    bool splash = true;
    bool showTips = true;
    bool saveCheck = false;
    bool casse = false;
    bool xhtml = false;
    int formatDate = 0;
    bool multiDoc = false;
    bool compHTML = true;
    bool docExiste = true;
    bool wordWrap = false;
    bool showSpecialChars = false;
    bool alwaysOnTop = false;
    // Highlighters
    int typeDefaut = 0;
    QString extensionDefaut = QStringLiteral("htm");
    // Text
    bool dossierParDefaut = false;
    QString dossierParDefautSTR;
    bool caracteresAlphabetiques = true;
    QString nomVariableASP;
    // Fonts
    int fontSelect = 0;
    std::array<FontPreset, 10> fonts;

    EditorPreferences editor;
    SearchFlags search;
    SearchFlags replace;
    BrowserSettings browser;
    WindowBounds window;
};

// Read at program entry: OneInstance, Splash, ShowTips.
void readStartupOptions(const SettingsStore &store, Options &o);
// Read at first show (the values not owned by other stores: highlighters, the
// recent-file list and the toolbar layout are read by their owners).
void loadSettings(const SettingsStore &store, Options &o);
// Written when the main window closes.
void saveSessionSettings(SettingsStore &store, const Options &o);
// Written after the preferences dialog's OK.
void savePreferences(SettingsStore &store, const Options &o);
