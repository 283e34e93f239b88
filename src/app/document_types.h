#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class Highlighter;
class SettingsStore;

// One highlighter object of the document-type table.
struct HighlighterEntry {
    QString objectName; // "SynHTMLSyn1"...
    // -1: the type "Aucun"; 0: used only inside multi-language highlighters;
    // 1: a plain document type; 2, 3, 4: the multi-language types ASP, PHP, HTML.
    int tag = 0;
    QString languageName;
    QString builtInFilter; // "" for "Aucun"
    QString filter;        // description + "|" + extension list, as currently set
    Highlighter *highlighter = nullptr;

    QString typeName() const;
};

// The twelve highlighter objects of the program, in their fixed order (the
// order of the type list, of the dialog filters and of the search by
// extension). The program owns one instance; its highlighters, with their
// colours, are shared by every editor, so a colour change shows everywhere.
//
//   DocumentTypes types;
//   LoadHighlighterSettings(types, store);
//   const TypeLists lists = BuildTypeLists(types);
//   int i = HighlighterForExtension(types, "html");   // -> SynMultiSynHTML
//   auto *lexer = new HighlightLexer(types.highlighter(i), editor);  (editor/ui)
class DocumentTypes {
public:
    enum Entry {
        SynGeneralSyn1,
        SynHTMLSyn1,
        SynMultiSynHTML,
        SynXMLSyn1,
        SynCssSyn1,
        SynJScriptSyn1,
        SynVBScriptSyn1,
        SynPHPSyn1,
        SynPerlSyn1,
        SynSQLSyn1,
        SynMultiSynASP,
        SynMultiSynPHP,
        EntryCount
    };

    DocumentTypes();
    ~DocumentTypes();
    DocumentTypes(const DocumentTypes &) = delete;
    DocumentTypes &operator=(const DocumentTypes &) = delete;

    int count() const { return EntryCount; }
    const HighlighterEntry &entry(int index) const { return m_entries[size_t(index)]; }
    HighlighterEntry &entry(int index) { return m_entries[size_t(index)]; }
    Highlighter *highlighter(int index) const { return m_entries[size_t(index)].highlighter; }
    int indexOf(const Highlighter *highlighter) const;
    int indexOfObjectName(const QString &objectName) const;

    // Erases every stored colour key and stops SaveHighlighterSettings from
    // writing colours until the program ends, so the built-in colours come
    // back at the next start. The colours on screen do not change.
    void resetColours(SettingsStore &store);
    bool coloursReset() const { return m_coloursReset; }

private:
    std::vector<std::unique_ptr<Highlighter>> m_highlighters;
    std::vector<HighlighterEntry> m_entries;
    bool m_coloursReset = false;
};

// The type name of a highlighter from its language name and tag.
QString DocumentTypeName(const QString &languageName, int tag);

struct TypeLists {
    QStringList names;  // "Aucun", then one name per positive-tag highlighter with a filter
    QList<int> entries; // the table index behind each name
    QString filter;     // the Open and Save dialog filter
};
TypeLists BuildTypeLists(const DocumentTypes &types);

// True when the extension (with or without its dot, any case) is in the
// entry's extension list ("*.*" matches nothing; no extension never matches).
bool MatchHighlighter(const QString &extension, const HighlighterEntry &entry);
// The first highlighter with a positive tag whose list holds the extension, or -1.
int HighlighterForExtension(const DocumentTypes &types, const QString &extension);

// The Save dialog's rule: a file name typed without an extension gets the
// default one (ExtensionDefaut).
inline constexpr const char *DefaultExtension = "htm";
QString WithDefaultExtension(const QString &fileName, const QString &defaultExtension);

// Filters and colours in the settings store, section "Highlighters".
void LoadHighlighterSettings(DocumentTypes &types, const SettingsStore &store);
void SaveHighlighterSettings(const DocumentTypes &types, SettingsStore &store);
