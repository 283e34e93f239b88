#pragma once

#include "app/ui/app_context.h"

#include <QDialog>
#include <QStringList>

#include <memory>

class DocumentTypes;
class HighlightLexer;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;
class QsciScintilla;
class HighlighterColourGrid;
struct TextColour;

// The preferences window: six pages of options, created once and kept. Its pages
// are built the first time it is shown, so the program starts as fast without it.
// "Appliquer" and OK apply at once (OK then closes); "Annuler" closes without
// applying, and what an earlier "Appliquer" did stays. Storing the options is the
// caller's part, after OK.
class TfrmEnvOpts : public QDialog {
    Q_OBJECT
public:
    TfrmEnvOpts(AppContext &ctx, DocumentTypes &types, QWidget *parent);
    ~TfrmEnvOpts() override;

    // Fills every page from the options, the active editor and the highlighters;
    // call before each showing.
    void prepare();
    void showPage(int page);
    // The apply steps; false (with a message) when a field is refused.
    bool apply();
    bool built() const { return m_built; }

private:
    void build();
    QWidget *buildGeneral();
    QWidget *buildTypes();
    QWidget *buildStartup();
    QWidget *buildAccents();
    QWidget *buildEditor();
    QWidget *buildColours();
    void help();

    // Browsers.
    bool internalBrowserAvailable() const;
    void browserChosen(int entry);
    void showBrowserFields();
    int selectedBrowser() const; // 0 to 3, or -1
    void browseBrowser();
    void browserLabelLeft();

    // Types and extensions.
    void typeSelected(int index);
    void extensionsEdited(const QString &text);
    void defaultExtensionEdited(const QString &text);

    // Linked check boxes.
    void gutterToggled(bool on);
    void lineNumbersToggled(bool on);
    void gutterSizeChanged(const QString &text);
    void lastDocToggled(bool on);
    void chooseFont();
    void chooseFolder();

    // Colours.
    void copyColours();
    void languageSelected(int row);
    void elementSelected(int row);
    void writeAttribute(const TextColour *foreground = nullptr,
                        const TextColour *background = nullptr);
    void resetColours();

    bool validate();

    AppContext &m_ctx;
    DocumentTypes &m_types;
    bool m_built = false;
    bool m_loading = false;
    bool m_linking = false;
    QTabWidget *m_pages = nullptr;

    // Général
    QCheckBox *m_xhtml = nullptr, *m_casse = nullptr, *m_saveCheck = nullptr, *m_compHTML = nullptr,
              *m_docExiste = nullptr, *m_instances = nullptr, *m_multiDoc = nullptr;
    QComboBox *m_date = nullptr, *m_nav = nullptr;
    QWidget *m_userBrowser = nullptr;
    QLineEdit *m_libelle = nullptr, *m_chemin = nullptr;
    // Type de document
    QLineEdit *m_extDefaut = nullptr, *m_extensions = nullptr;
    QString m_lastExt;
    QComboBox *m_defaultType = nullptr, *m_typeList = nullptr;
    QStringList m_filters;  // working filter of each entry of the type list
    QList<int> m_typeIndex; // the table entry behind it
    // Démarrage
    QLineEdit *m_dosDef = nullptr;
    QToolButton *m_dosDefBrowse = nullptr;
    QCheckBox *m_lastDoc = nullptr, *m_splash = nullptr;
    // Accents
    class QRadioButton *m_carA = nullptr, *m_carN = nullptr;
    // Editeur
    QCheckBox *m_dragDrop = nullptr, *m_dropFiles = nullptr, *m_halfPage = nullptr,
              *m_pastEol = nullptr, *m_keepCaretX = nullptr, *m_groupUndo = nullptr,
              *m_autoIndent = nullptr, *m_homeKey = nullptr, *m_wantTabs = nullptr,
              *m_tabsToSpaces = nullptr, *m_smartTabs = nullptr, *m_brackets = nullptr,
              *m_trailing = nullptr, *m_rightMouse = nullptr, *m_gutter = nullptr,
              *m_lineNumbers = nullptr;
    QComboBox *m_rightEdge = nullptr, *m_gutterSize = nullptr, *m_tabSize = nullptr;
    QPushButton *m_font = nullptr;
    QString m_fontName;
    int m_fontSize = 10;
    // Couleurs
    std::unique_ptr<DocumentTypes> m_copies; // the window's own highlighters
    QList<int> m_languageIndex;              // table entry of each row of the type list
    QListWidget *m_languages = nullptr, *m_elements = nullptr;
    HighlighterColourGrid *m_grid = nullptr;
    QCheckBox *m_bold = nullptr, *m_italic = nullptr, *m_underline = nullptr, *m_strike = nullptr;
    QsciScintilla *m_sample = nullptr;
    HighlightLexer *m_sampleLexer = nullptr;
};
