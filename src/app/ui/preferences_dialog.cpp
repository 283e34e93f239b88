#include "app/ui/preferences_dialog.h"

#include "app/app_settings.h"
#include "app/document_types.h"
#include "app/preference_rules.h"
#include "app/settings_store.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/ui_services.h"
#include "editor/highlighter.h"
#include "editor/ui/highlight_lexer.h"
#include "app/ui/help.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <Qsci/qsciscintilla.h>

#include <functional>

namespace PR = PreferenceRules;

// The sixteen basic colours; a click picks the foreground, a right click the
// background. The current pair is marked "AP" (premier plan) and "AR" (arrière-plan).
class HighlighterColourGrid : public QWidget {
public:
    explicit HighlighterColourGrid(QWidget *parent) : QWidget(parent) {
        setObjectName(QStringLiteral("ColorGrid"));
        setMinimumSize(4 * 26 + 1, 4 * 20 + 1);
        setToolTip(QStringLiteral("Clic : couleur du texte ; clic droit : couleur du fond"));
    }
    static const TextColour &colour(int i) {
        static const TextColour c[16] = {
            TextColour::rgb(0, 0, 0),       TextColour::rgb(128, 0, 0),
            TextColour::rgb(0, 128, 0),     TextColour::rgb(128, 128, 0),
            TextColour::rgb(0, 0, 128),     TextColour::rgb(128, 0, 128),
            TextColour::rgb(0, 128, 128),   TextColour::rgb(128, 128, 128),
            TextColour::rgb(192, 192, 192), TextColour::rgb(255, 0, 0),
            TextColour::rgb(0, 255, 0),     TextColour::rgb(255, 255, 0),
            TextColour::rgb(0, 0, 255),     TextColour::rgb(255, 0, 255),
            TextColour::rgb(0, 255, 255),   TextColour::rgb(255, 255, 255)};
        return c[i];
    }
    static int indexOf(TextColour c) {
        for (int i = 0; i < 16; ++i) {
            if (colour(i) == c) return i;
        }
        return -1;
    }
    void setPair(TextColour fg, TextColour bg) {
        m_fg = indexOf(fg);
        m_bg = indexOf(bg);
        update();
    }
    QRect cell(int i) const {
        const int w = (width() - 1) / 4, h = (height() - 1) / 4;
        return QRect((i % 4) * w, (i / 4) * h, w, h);
    }
    std::function<void(TextColour)> foregroundChosen;
    std::function<void(TextColour)> backgroundChosen;

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        for (int i = 0; i < 16; ++i) {
            const QRect r = cell(i);
            const TextColour c = colour(i);
            const QColor q(c.red(), c.green(), c.blue());
            p.fillRect(r.adjusted(1, 1, 0, 0), q);
            p.setPen(palette().color(QPalette::Mid));
            p.drawRect(r);
            QString mark;
            if (i == m_fg) mark = QStringLiteral("AP");
            if (i == m_bg) mark += mark.isEmpty() ? QStringLiteral("AR") : QStringLiteral("/AR");
            if (!mark.isEmpty()) {
                p.setPen(q.lightness() > 128 ? Qt::black : Qt::white);
                p.drawText(r, Qt::AlignCenter, mark);
            }
        }
    }
    void mousePressEvent(QMouseEvent *e) override {
        for (int i = 0; i < 16; ++i) {
            if (!cell(i).contains(e->position().toPoint())) continue;
            if (e->button() == Qt::LeftButton && foregroundChosen) {
                m_fg = i;
                foregroundChosen(colour(i));
            } else if (e->button() == Qt::RightButton && backgroundChosen) {
                m_bg = i;
                backgroundChosen(colour(i));
            }
            update();
            return;
        }
    }

private:
    int m_fg = -1;
    int m_bg = -1;
};

namespace {
QCheckBox *check(const char *name, const QString &caption, const QString &hint = {}) {
    auto *c = new QCheckBox(caption);
    c->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) c->setToolTip(hint);
    return c;
}

QComboBox *editableList(const char *name, const QStringList &entries, const QString &text) {
    auto *c = new QComboBox;
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(entries);
    c->setEditText(text);
    return c;
}

// A few lines that show every kind of word of a language.
QString sampleText(Language l) {
    switch (l) {
    case Language::Html:
        return QStringLiteral("<!-- Exemple -->\n<p class=\"note\" id=\"p1\">Texte "
                              "&eacute;crit &amp; <b>gras</b></p>\n<inconnu>");
    case Language::Xml:
        return QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE liste>\n<!-- Exemple -->\n"
                              "<liste xmlns:a=\"urn:x\" type=\"a\">&amp; texte"
                              "<![CDATA[x < y]]></liste>");
    case Language::Css:
        return QStringLiteral("/* Exemple */\nh1.titre { color: #FF0000; margin: 2px; "
                              "font-family: \"Arial\"; inconnue: 1; }");
    case Language::JavaScript:
        return QStringLiteral("// Exemple\nfunction carre(x) {\n  window.onload = null;\n"
                              "  return x * 2 + \"px\";\n}");
    case Language::VBScript:
        return QStringLiteral("' Exemple\nDim nombre\nnombre = 10 & \"px\"\nIf nombre > 2 Then "
                              "MsgBox nombre");
    case Language::Php:
        return QStringLiteral("// Exemple\n$nom = \"Balizor\";\necho strlen($nom) + 1;");
    case Language::Perl:
        return QStringLiteral("# Exemple\nuse strict;\nmy $nom = \"Balizor\";\n"
                              "print length($nom) + 1;");
    case Language::Sql:
        return QStringLiteral("-- Exemple\nSELECT nom, prix FROM produits\nWHERE id = 1 AND "
                              "nom = 'table';");
    default:
        return QString();
    }
}

QString typeNameOf(const HighlighterEntry &e) {
    return e.typeName();
}
} // namespace

TfrmEnvOpts::TfrmEnvOpts(AppContext &ctx, DocumentTypes &types, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_types(types) {
    setObjectName(QStringLiteral("frmEnvOpts"));
    setWindowTitle(QStringLiteral("Préférences"));
    setModal(true);
}

TfrmEnvOpts::~TfrmEnvOpts() {
    // The sample's lexer colours with a copy that goes first.
    if (m_sample) m_sample->setLexer(nullptr);
    delete m_sampleLexer;
}

void TfrmEnvOpts::build() {
    m_built = true;
    auto *root = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(buildGeneral(), QStringLiteral("Général"));
    m_pages->addTab(buildTypes(), QStringLiteral("Type de document"));
    m_pages->addTab(buildStartup(), QStringLiteral("Démarrage"));
    m_pages->addTab(buildAccents(), QStringLiteral("Accents"));
    m_pages->addTab(buildEditor(), QStringLiteral("Editeur"));
    m_pages->addTab(buildColours(), QStringLiteral("Couleurs"));
    root->addWidget(m_pages);

    auto *buttons = new QHBoxLayout;
    auto *aide = new QPushButton(QStringLiteral("Aide"), this);
    aide->setObjectName(QStringLiteral("BoutAide"));
    aide->setAutoDefault(false);
    connect(aide, &QPushButton::clicked, this, &TfrmEnvOpts::help);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BoutOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (apply()) accept();
    });
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("BoutAnnuler"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *applyButton = new QPushButton(QStringLiteral("Appliquer"), this);
    applyButton->setObjectName(QStringLiteral("BoutAppliquer"));
    applyButton->setAutoDefault(false);
    connect(applyButton, &QPushButton::clicked, this, [this] { apply(); });
    buttons->addWidget(aide);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(applyButton);
    root->addLayout(buttons);
    m_pages->setCurrentIndex(0);
}

QWidget *TfrmEnvOpts::buildGeneral() {
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabGeneral"));
    auto *v = new QVBoxLayout(page);

    auto *spec = new QGroupBox(QStringLiteral(" Spécifications "));
    auto *sv = new QHBoxLayout(spec);
    m_xhtml = check("cbnormeXHTML", QStringLiteral("Norme XHTML"),
                    QStringLiteral("Ferme les balises uniques"));
    m_casse = check("cbCasseMarqueurs", QStringLiteral("Marqueurs en majuscule"),
                    QStringLiteral("Les marqueurs insérés via les boîtes de dialogue de Balizor  "
                                   "seront en majuscules"));
    sv->addWidget(m_xhtml);
    sv->addWidget(m_casse);
    sv->addStretch();
    v->addWidget(spec);

    auto *opts = new QGroupBox(QStringLiteral(" Options "));
    auto *ov = new QVBoxLayout(opts);
    auto *dateRow = new QHBoxLayout;
    auto *dateLabel = new QLabel(QStringLiteral("Format de la date :"));
    m_date = new QComboBox;
    m_date->setObjectName(QStringLiteral("comboDate"));
    m_date->addItems(PR::dateFormats());
    dateLabel->setBuddy(m_date);
    dateRow->addWidget(dateLabel);
    dateRow->addWidget(m_date);
    dateRow->addStretch();
    ov->addLayout(dateRow);
    m_saveCheck = check("cbSaveCheck",
                        QStringLiteral("Demander confirmation à l'insertion lorsqu'un document "
                                       "n'est pas sauvegardé"),
                        QStringLiteral("Lorsque vous insérez un lien ou une image, si le document "
                                       "n'a pas encore été sauvegardé, un message d'avertissement "
                                       "vous l'indique"));
    m_compHTML =
        check("cbCompHTML", QStringLiteral("Activer la complétion pour les marqueurs HTML"),
              QStringLiteral("En activant cette option, vous affichez la liste de "
                             "marqueurs disponibles en  commençant un marqueur avec "
                             "\"<\", et la liste des attributs en utilisant Ctrl+Espace"));
    m_docExiste = check("cbDocExiste",
                        QStringLiteral("Vérifier que les documents ouverts dans Balizor sont "
                                       "toujours accessibles"),
                        QStringLiteral("Si un document ouvert dans Balizor a été modifié, déplacé "
                                       "ou supprimé, un message vous l'indique"));
    m_instances = check("cbInstances", QStringLiteral("Autoriser plusieurs instances de Balizor"),
                        QStringLiteral("En activant cette option vous autorisez le lancement de "
                                       "plusieurs instances de Balizor"));
    m_multiDoc =
        check("cbMultiDoc", QStringLiteral("Autoriser plusieurs instances du même document"),
              QStringLiteral("En activant cette option, vous pouvez ouvrir plusieurs fois "
                             "le même document dans Balizor"));
    for (QCheckBox *c : {m_saveCheck, m_compHTML, m_docExiste, m_instances, m_multiDoc})
        ov->addWidget(c);
    v->addWidget(opts);

    auto *navGroup = new QGroupBox(QStringLiteral(" Navigateur utilisé "));
    auto *nv = new QVBoxLayout(navGroup);
    m_nav = new QComboBox;
    m_nav->setObjectName(QStringLiteral("ComboNav"));
    connect(m_nav, &QComboBox::activated, this, &TfrmEnvOpts::browserChosen);
    nv->addWidget(m_nav);
    m_userBrowser = new QWidget;
    m_userBrowser->setObjectName(QStringLiteral("PanelNavUtilisateur"));
    auto *ub = new QGridLayout(m_userBrowser);
    ub->setContentsMargins(0, 0, 0, 0);
    m_libelle = new QLineEdit;
    m_libelle->setObjectName(QStringLiteral("LibelleEdit"));
    m_chemin = new QLineEdit;
    m_chemin->setObjectName(QStringLiteral("CheminEdit"));
    auto *browse = new QToolButton;
    browse->setObjectName(QStringLiteral("BoutParcourirNav"));
    browse->setText(QStringLiteral("..."));
    browse->setToolTip(QStringLiteral("Parcourir..."));
    connect(browse, &QToolButton::clicked, this, &TfrmEnvOpts::browseBrowser);
    auto *l1 = new QLabel(QStringLiteral("Libellé :"));
    l1->setBuddy(m_libelle);
    auto *l2 = new QLabel(QStringLiteral("Chemin :"));
    l2->setBuddy(m_chemin);
    ub->addWidget(l1, 0, 0);
    ub->addWidget(m_libelle, 0, 1, 1, 2);
    ub->addWidget(l2, 1, 0);
    ub->addWidget(m_chemin, 1, 1);
    ub->addWidget(browse, 1, 2);
    nv->addWidget(m_userBrowser);
    // Typing stores at once: the browser choice is not undone by "Annuler".
    connect(m_libelle, &QLineEdit::textEdited, this, [this](const QString &t) {
        BrowserSettings &b = m_ctx.options->browser;
        (selectedBrowser() == 2 ? b.libelleNav3 : b.libelleNav4) = t;
    });
    connect(m_libelle, &QLineEdit::editingFinished, this, &TfrmEnvOpts::browserLabelLeft);
    connect(m_chemin, &QLineEdit::textEdited, this, [this](const QString &t) {
        BrowserSettings &b = m_ctx.options->browser;
        (selectedBrowser() == 2 ? b.cheminNav3 : b.cheminNav4) = t;
    });
    v->addWidget(navGroup);
    v->addStretch();
    return page;
}

QWidget *TfrmEnvOpts::buildTypes() {
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabTypes"));
    auto *v = new QVBoxLayout(page);
    auto *form = new QGridLayout;
    m_extDefaut = new QLineEdit;
    m_extDefaut->setObjectName(QStringLiteral("ExtDefaut"));
    m_extDefaut->setMaximumWidth(80);
    connect(m_extDefaut, &QLineEdit::textEdited, this, &TfrmEnvOpts::defaultExtensionEdited);
    auto *l1 = new QLabel(QStringLiteral("Extension par défaut :"));
    l1->setBuddy(m_extDefaut);
    form->addWidget(l1, 0, 0);
    form->addWidget(m_extDefaut, 0, 1, Qt::AlignLeft);
    m_defaultType = new QComboBox;
    m_defaultType->setObjectName(QStringLiteral("OptcbxHighlighter"));
    auto *l2 = new QLabel(QStringLiteral("Type de document par défaut :"));
    l2->setBuddy(m_defaultType);
    form->addWidget(l2, 1, 0);
    form->addWidget(m_defaultType, 1, 1);
    form->addWidget(new QLabel(QStringLiteral("(Redémarrage nécessaire)")), 1, 2);
    form->setColumnStretch(3, 1);
    v->addLayout(form);

    auto *group = new QGroupBox(QStringLiteral(" Type (Redémarrage nécessaire)"));
    auto *g = new QGridLayout(group);
    m_typeList = new QComboBox;
    m_typeList->setObjectName(QStringLiteral("cbxHighlighter"));
    connect(m_typeList, &QComboBox::currentIndexChanged, this, &TfrmEnvOpts::typeSelected);
    m_extensions = new QLineEdit;
    m_extensions->setObjectName(QStringLiteral("EditExtensions"));
    connect(m_extensions, &QLineEdit::textEdited, this, &TfrmEnvOpts::extensionsEdited);
    auto *l3 = new QLabel(QStringLiteral("Extensions associées :"));
    l3->setBuddy(m_extensions);
    g->addWidget(m_typeList, 0, 0, 1, 2, Qt::AlignLeft);
    g->addWidget(l3, 1, 0);
    g->addWidget(m_extensions, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("( ex. : *.htm; *.html )")), 2, 1);
    v->addWidget(group);
    v->addStretch();
    return page;
}

QWidget *TfrmEnvOpts::buildStartup() {
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabDemarrage"));
    auto *v = new QVBoxLayout(page);
    auto *group =
        new QGroupBox(QStringLiteral(" Dossier par défaut lors de la première ouverture "));
    auto *g = new QGridLayout(group);
    m_dosDef = new QLineEdit;
    m_dosDef->setObjectName(QStringLiteral("EditDosDef"));
    m_dosDefBrowse = new QToolButton;
    m_dosDefBrowse->setObjectName(QStringLiteral("BoutDosDef"));
    m_dosDefBrowse->setText(QStringLiteral("..."));
    m_dosDefBrowse->setToolTip(QStringLiteral("Parcourir..."));
    connect(m_dosDefBrowse, &QToolButton::clicked, this, &TfrmEnvOpts::chooseFolder);
    m_lastDoc =
        check("cbLastDoc", QStringLiteral("Toujours ouvrir le dossier du dernier document traité"));
    connect(m_lastDoc, &QCheckBox::toggled, this, &TfrmEnvOpts::lastDocToggled);
    g->addWidget(m_dosDef, 0, 0);
    g->addWidget(m_dosDefBrowse, 0, 1);
    g->addWidget(m_lastDoc, 1, 0, 1, 2);
    v->addWidget(group);
    m_splash = check("cbSplashScreen", QStringLiteral("Voir l'écran de démarrage"));
    v->addWidget(m_splash);
    v->addStretch();
    return page;
}

QWidget *TfrmEnvOpts::buildAccents() {
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabAccents"));
    auto *v = new QVBoxLayout(page);
    auto *group = new QGroupBox(QStringLiteral(" Remplacement des caractères accentués "));
    auto *g = new QGridLayout(group);
    m_carA = new QRadioButton(QStringLiteral("Utiliser les caractères alphabétiques"));
    m_carA->setObjectName(QStringLiteral("RBCarA"));
    m_carN = new QRadioButton(QStringLiteral("Utiliser les caractères numériques"));
    m_carN->setObjectName(QStringLiteral("RBCarN"));
    g->addWidget(m_carA, 0, 0);
    g->addWidget(new QLabel(QStringLiteral("(ex. : \" j'ai utilis&eacute; Balizor \")")), 0, 1);
    g->addWidget(m_carN, 1, 0);
    g->addWidget(new QLabel(QStringLiteral("(ex. : \" j'ai utilis&#233; Balizor \")")), 1, 1);
    g->setColumnStretch(2, 1);
    v->addWidget(group);
    v->addStretch();
    return page;
}

QWidget *TfrmEnvOpts::buildEditor() {
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabEditeur"));
    auto *v = new QVBoxLayout(page);
    auto *group = new QGroupBox(QStringLiteral(" Options de l'éditeur "));
    auto *g = new QGridLayout(group);
    m_dragDrop = check("cbDragDropEditing", QStringLiteral("Glisser-déplacer"),
                       QStringLiteral("Permet de glisser déplacer le bloc de texte sélectionné "
                                      "avec la souris (maintenant Ctrl enfoncé pour effectuer une "
                                      "copie)"));
    m_dropFiles = check("cbDropFiles", QStringLiteral("Ouverture par Glisser-déplacer"),
                        QStringLiteral("Offre la possibilité d'ouvrir des documents par simple "
                                       "glisser-déplacer sur l'application"));
    m_halfPage = check("cbHalfPageScroll", QStringLiteral("Défilement par demi pages"),
                       QStringLiteral("Défilement des touches Page précédente et Page suivante "
                                      "par demi page"));
    m_pastEol = check("cbScrollPastEol", QStringLiteral("Défilement après la ligne"),
                      QStringLiteral("Permet de déplacer le curseur au delà de la ligne"));
    m_keepCaretX = check("cbKeepCaretX", QStringLiteral("Conserver la position du curseur"),
                         QStringLiteral("Conserve la position (colonne) du curseur lorsqu'on se "
                                        "déplace d'une ligne à l'autre"));
    m_groupUndo = check("cbGroupUndo", QStringLiteral("Grouper les annulations"),
                        QStringLiteral("Groupe les annulations par type de modification "
                                       "effectuée"));
    m_autoIndent = check("cbAutoIndent", QStringLiteral("Mode auto-indentation"),
                         QStringLiteral("Permet de conserver la même indentation que la ligne "
                                        "précédente"));
    m_homeKey = check("cbEnhanceHomeKey", QStringLiteral("Utiliser la touche Home avancée"),
                      QStringLiteral("La touche Home (ou Origine) permet de déplacer le curseur "
                                     "successivement sur le premier caractère non vide de la "
                                     "ligne ou en début de ligne"));
    m_wantTabs = check("cbWantTabs", QStringLiteral("Utiliser le caractère TAB"),
                       QStringLiteral("Si activée, la touche TAB insère un caractère de "
                                      "tabulation, sinon la touche TAB bascule d'un contrôle à un "
                                      "autre"));
    m_tabsToSpaces = check("cbTabsToSpaces", QStringLiteral("Convertir les tabulations en espaces"),
                           QStringLiteral("Convertir les tabulations en espaces"));
    m_smartTabs = check("cbSmartTabs", QStringLiteral("Tabulation intelligente"),
                        QStringLiteral("Tabulation intelligente, en fonction des lignes "
                                       "précédentes"));
    m_brackets = check("cbMatchBrackets", QStringLiteral("Mettre en surbrillance les parenthèses"),
                       QStringLiteral("Mettre en surbrillance les parenthèses sous le curseur"));
    // Two preferences that are kept but never shown.
    m_trailing = check("cbNoTrimTrailingSpaces", QStringLiteral("Conserver les espaces de fin"));
    m_rightMouse =
        check("cbRightMouseMovesCursor", QStringLiteral("Défilement avec le bouton droit"));
    m_trailing->setVisible(false);
    m_rightMouse->setVisible(false);
    m_trailing->setParent(group);
    m_rightMouse->setParent(group);
    const QList<QCheckBox *> left = {m_dragDrop, m_dropFiles,  m_halfPage,
                                     m_pastEol,  m_keepCaretX, m_groupUndo};
    const QList<QCheckBox *> right = {m_autoIndent,   m_homeKey,   m_wantTabs,
                                      m_tabsToSpaces, m_smartTabs, m_brackets};
    for (int i = 0; i < left.size(); ++i) {
        g->addWidget(left[i], i, 0);
        g->addWidget(right[i], i, 1);
    }
    connect(m_smartTabs, &QCheckBox::toggled, this, [this](bool on) {
        if (on && !m_loading) m_tabsToSpaces->setChecked(true);
    });
    connect(m_tabsToSpaces, &QCheckBox::toggled, this, [this](bool on) {
        if (!on && !m_loading) m_smartTabs->setChecked(false);
    });
    v->addWidget(group);

    auto *bottom = new QHBoxLayout;
    auto *gutterGroup = new QGroupBox(QStringLiteral(" Marge et gouttière "));
    auto *gg = new QGridLayout(gutterGroup);
    m_gutter = check("cbGutterVisible", QStringLiteral("Gouttière Visible"));
    m_lineNumbers = check("cbShowLineNumbers", QStringLiteral("Numéros de ligne visibles"));
    m_rightEdge = editableList("cbxRightEdge", {QStringLiteral("0"), QStringLiteral("80")},
                               QStringLiteral("0"));
    m_gutterSize = editableList("cbxGutterSize", {QStringLiteral("30")}, QStringLiteral("30"));
    auto *l1 = new QLabel(QStringLiteral("Marge de droite :"));
    l1->setBuddy(m_rightEdge);
    auto *l2 = new QLabel(QStringLiteral("Largeur de gouttière :"));
    l2->setBuddy(m_gutterSize);
    gg->addWidget(m_gutter, 0, 0);
    gg->addWidget(m_lineNumbers, 1, 0);
    gg->addWidget(l1, 0, 1);
    gg->addWidget(m_rightEdge, 0, 2);
    gg->addWidget(l2, 1, 1);
    gg->addWidget(m_gutterSize, 1, 2);
    connect(m_gutter, &QCheckBox::toggled, this, &TfrmEnvOpts::gutterToggled);
    connect(m_lineNumbers, &QCheckBox::toggled, this, &TfrmEnvOpts::lineNumbersToggled);
    connect(m_gutterSize, &QComboBox::currentTextChanged, this, &TfrmEnvOpts::gutterSizeChanged);
    bottom->addWidget(gutterGroup);

    auto *tabs = new QGridLayout;
    m_tabSize =
        editableList("cbxTabSize", {QStringLiteral("4"), QStringLiteral("8")}, QStringLiteral("4"));
    auto *l3 = new QLabel(QStringLiteral("Arrêts tabulations :"));
    l3->setBuddy(m_tabSize);
    m_font = new QPushButton;
    m_font->setObjectName(QStringLiteral("btnFont"));
    m_font->setAutoDefault(false);
    connect(m_font, &QPushButton::clicked, this, &TfrmEnvOpts::chooseFont);
    tabs->addWidget(l3, 0, 0);
    tabs->addWidget(m_tabSize, 0, 1);
    tabs->addWidget(m_font, 1, 0, 1, 2);
    bottom->addLayout(tabs);
    v->addLayout(bottom);
    v->addStretch();
    return page;
}

QWidget *TfrmEnvOpts::buildColours() {
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabCouleurs"));
    auto *g = new QGridLayout(page);
    m_languages = new QListWidget;
    m_languages->setObjectName(QStringLiteral("lbLanguage"));
    m_elements = new QListWidget;
    m_elements->setObjectName(QStringLiteral("lbElement"));
    auto *l1 = new QLabel(QStringLiteral("Type :"));
    l1->setBuddy(m_languages);
    auto *l2 = new QLabel(QStringLiteral("Elément :"));
    l2->setBuddy(m_elements);
    connect(m_languages, &QListWidget::currentRowChanged, this, &TfrmEnvOpts::languageSelected);
    connect(m_elements, &QListWidget::currentRowChanged, this, &TfrmEnvOpts::elementSelected);

    auto *attrs = new QGroupBox(QStringLiteral(" Attributs "));
    auto *av = new QVBoxLayout(attrs);
    m_grid = new HighlighterColourGrid(attrs);
    m_grid->foregroundChosen = [this](TextColour c) { writeAttribute(&c, nullptr); };
    m_grid->backgroundChosen = [this](TextColour c) { writeAttribute(nullptr, &c); };
    av->addWidget(m_grid);
    m_bold = check("cbBold", QStringLiteral("&Gras"));
    m_italic = check("cbItalic", QStringLiteral("&Italique"));
    m_underline = check("cbUnderline", QStringLiteral("&Souligné"));
    m_strike = check("cbStrikeOut", QStringLiteral("&Barré"));
    auto *styles = new QGridLayout;
    styles->addWidget(m_bold, 0, 0);
    styles->addWidget(m_italic, 0, 1);
    styles->addWidget(m_underline, 1, 0);
    styles->addWidget(m_strike, 1, 1);
    av->addLayout(styles);
    for (QCheckBox *c : {m_bold, m_italic, m_underline, m_strike})
        connect(c, &QCheckBox::toggled, this, [this] { writeAttribute(); });

    auto *reset = new QPushButton(QStringLiteral("Réinitialiser avec les valeurs par défaut"));
    reset->setObjectName(QStringLiteral("BoutReinitialiser"));
    reset->setAutoDefault(false);
    connect(reset, &QPushButton::clicked, this, &TfrmEnvOpts::resetColours);

    m_sample = new QsciScintilla;
    m_sample->setObjectName(QStringLiteral("ApercuCouleurs"));
    m_sample->setReadOnly(true);
    m_sample->setMarginWidth(0, 0);
    m_sample->setMarginWidth(1, 0);
    m_sample->setFocusPolicy(Qt::NoFocus);
    m_sample->setMinimumHeight(70);
    m_sample->SendScintilla(QsciScintilla::SCI_SETHSCROLLBAR, 0L);

    g->addWidget(l1, 0, 0);
    g->addWidget(l2, 0, 1);
    g->addWidget(m_languages, 1, 0);
    g->addWidget(m_elements, 1, 1);
    g->addWidget(attrs, 0, 2, 2, 1);
    g->addWidget(m_sample, 2, 0, 1, 3);
    g->addWidget(reset, 3, 0, 1, 3, Qt::AlignLeft);
    g->setRowStretch(1, 1);

    m_copies = std::make_unique<DocumentTypes>();
    for (int i = 0; i < m_copies->count(); ++i) {
        const HighlighterEntry &e = m_copies->entry(i);
        if (e.tag == 0 || e.tag == 1) {
            m_languageIndex << i;
            m_languages->addItem(typeNameOf(e));
        }
    }
    return page;
}

// ---- showing ----

bool TfrmEnvOpts::internalBrowserAvailable() const {
    QAction *nav1 = m_ctx.actions->action(QStringLiteral("Nav1"));
    return nav1 && nav1->isVisible();
}

void TfrmEnvOpts::prepare() {
    if (!m_built) build();
    m_loading = true;
    const Options &o = *m_ctx.options;

    // Browser list, with the user browsers' captions.
    const bool internal = internalBrowserAvailable();
    m_nav->clear();
    m_nav->addItems(PR::browserEntries(internal, o.browser.libelleNav3, o.browser.libelleNav4));

    // Type lists and the working filters.
    m_filters.clear();
    m_typeIndex.clear();
    m_typeList->clear();
    m_defaultType->clear();
    m_defaultType->addItem(QStringLiteral("Aucun"));
    for (int i = 0; i < m_types.count(); ++i) {
        const HighlighterEntry &e = m_types.entry(i);
        if (e.tag <= 0 || e.filter.isEmpty()) continue;
        m_typeIndex << i;
        m_filters << e.filter;
        m_typeList->addItem(e.typeName());
        m_defaultType->addItem(e.typeName());
    }
    m_typeList->setCurrentIndex(0);
    typeSelected(0);

    // Colours: the window's copies start from the highlighters in use.
    copyColours();
    m_languages->setCurrentRow(0);
    languageSelected(0);

    // Editor options of the active editor.
    const TMyMwCustomEdit *active = m_ctx.docs ? m_ctx.docs->ActiveEditor() : nullptr;
    const EditorPreferences &p = active ? active->preferences() : o.editor;
    m_autoIndent->setChecked(p.autoIndent);
    m_dragDrop->setChecked(p.dragDropEditing);
    m_dropFiles->setChecked(p.dropFiles);
    m_halfPage->setChecked(p.halfPageScroll);
    m_pastEol->setChecked(p.scrollPastEol);
    m_trailing->setChecked(p.noTrimTrailingSpaces);
    m_smartTabs->setChecked(p.smartTabs);
    m_homeKey->setChecked(p.enhanceHomeKey);
    m_tabsToSpaces->setChecked(p.tabsToSpaces);
    m_keepCaretX->setChecked(p.keepCaretX);
    m_groupUndo->setChecked(p.groupUndo);
    m_rightMouse->setChecked(p.rightMouseMovesCursor);
    m_wantTabs->setChecked(p.wantTabs);
    const bool gutterShown = p.showGutter && p.gutterWidth() > 0;
    m_gutter->setChecked(gutterShown);
    m_lineNumbers->setChecked(gutterShown && p.showLineNumbers);
    m_gutterSize->setEditText(gutterShown ? p.gutterSize : QStringLiteral("0"));
    m_rightEdge->setEditText(p.rightEdgeSize);
    m_tabSize->setEditText(p.tabsWidth);
    m_fontName = p.policeNom;
    m_fontSize = p.policeTaille;
    m_font->setText(PR::fontCaption(m_fontName, m_fontSize));

    // The other options.
    m_xhtml->setChecked(o.xhtml);
    m_casse->setChecked(o.casse);
    m_date->setCurrentIndex(std::clamp(o.formatDate, 0, m_date->count() - 1));
    m_multiDoc->setChecked(o.multiDoc);
    m_compHTML->setChecked(o.compHTML);
    m_extDefaut->setText(o.extensionDefaut);
    m_lastExt = o.extensionDefaut;
    m_defaultType->setCurrentIndex(
        o.typeDefaut >= 0 && o.typeDefaut < m_defaultType->count() ? o.typeDefaut : 0);
    m_splash->setChecked(o.splash);
    m_saveCheck->setChecked(!o.saveCheck);
    m_instances->setChecked(!o.oneInstance);
    m_docExiste->setChecked(o.docExiste);
    m_brackets->setChecked(o.editor.matchBrackets);
    m_lastDoc->setChecked(!o.dossierParDefaut);
    lastDocToggled(m_lastDoc->isChecked());
    m_dosDef->setText(o.dossierParDefautSTR);
    m_carA->setChecked(o.caracteresAlphabetiques);
    m_carN->setChecked(!o.caracteresAlphabetiques);

    // The chosen browser.
    m_nav->setCurrentIndex(PR::browserEntryForChoice(o.browser.nav, internal));
    showBrowserFields();
    m_loading = false;
}

void TfrmEnvOpts::showPage(int page) {
    if (!m_built) build();
    m_pages->setCurrentIndex(page);
}

void TfrmEnvOpts::help() {
    switch (m_pages->currentIndex()) {
    case 1:
        ShowHelpTopic(QStringLiteral("Ressources/preferences2.htm"));
        break;
    case 2:
        ShowHelpTopic(QStringLiteral("Ressources/preferences3.htm"));
        break;
    case 3:
        ShowHelpTopic(QStringLiteral("Ressources/preferences4.htm"));
        break;
    case 4:
        ShowHelpTopic(QStringLiteral("Ressources/preferences5.htm"));
        break;
    case 5:
        ShowHelpTopic(QStringLiteral("Ressources/preferences6.htm"));
        break;
    default:
        ShowHelpTopic(QStringLiteral("Ressources/preferences.htm"));
        break;
    }
}

// ---- browsers ----

int TfrmEnvOpts::selectedBrowser() const {
    return PR::browserForEntry(m_nav->currentIndex(), internalBrowserAvailable());
}

void TfrmEnvOpts::browserChosen(int entry) {
    const int browser = PR::browserForEntry(entry, internalBrowserAvailable());
    if (browser < 0) return;
    // The main window's choice changes at once, everywhere it is shown.
    if (QAction *a = m_ctx.actions->action(QStringLiteral("Nav%1").arg(browser + 1))) a->trigger();
    BrowserSettings &b = m_ctx.options->browser;
    b.nav = {};
    b.nav[size_t(browser)] = true;
    showBrowserFields();
}

void TfrmEnvOpts::showBrowserFields() {
    const int browser = selectedBrowser();
    const bool user = browser == 2 || browser == 3;
    m_userBrowser->setVisible(user);
    if (!user) return;
    const BrowserSettings &b = m_ctx.options->browser;
    m_libelle->setText(browser == 2 ? b.libelleNav3 : b.libelleNav4);
    m_chemin->setText(browser == 2 ? b.cheminNav3 : b.cheminNav4);
}

void TfrmEnvOpts::browserLabelLeft() {
    const int browser = selectedBrowser();
    if (browser != 2 && browser != 3) return;
    const QString label = userBrowserLabel(m_libelle->text());
    m_libelle->setText(label);
    BrowserSettings &b = m_ctx.options->browser;
    (browser == 2 ? b.libelleNav3 : b.libelleNav4) = label;
    m_nav->setItemText(m_nav->currentIndex(), label);
    if (QAction *a = m_ctx.actions->action(QStringLiteral("Nav%1").arg(browser + 1))) {
        QString caption = label;
        a->setText(caption.replace(QLatin1Char('&'), QLatin1String("&&")));
        a->setToolTip(label);
        a->setStatusTip(label);
    }
}

void TfrmEnvOpts::browseBrowser() {
    const int browser = selectedBrowser();
    if (browser != 2 && browser != 3) return;
    FileDialogRequest r;
    r.caption = QStringLiteral("Choisir le navigateur");
    r.filter = QStringLiteral("Tous les fichiers (*)|*");
    const QString current = m_chemin->text();
    r.startFolder = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    const QStringList chosen = ui().openFileNames(this, r);
    if (chosen.isEmpty()) return;
    const QString path = QDir::toNativeSeparators(chosen.first());
    const QFileInfo fi(chosen.first());
    if (!fi.isFile() || !fi.isExecutable()) {
        ui().message(MsgType::Warning, MsgButtons::Ok, PR::notExecutableMessage(path));
        return;
    }
    m_chemin->setText(path);
    BrowserSettings &b = m_ctx.options->browser;
    (browser == 2 ? b.cheminNav3 : b.cheminNav4) = path;
}

// ---- types ----

void TfrmEnvOpts::typeSelected(int index) {
    if (index < 0 || index >= m_filters.size()) {
        m_extensions->clear();
        return;
    }
    m_extensions->setText(PR::extensionListOf(m_filters[index]));
}

void TfrmEnvOpts::extensionsEdited(const QString &text) {
    const int i = m_typeList->currentIndex();
    if (i >= 0 && i < m_filters.size()) m_filters[i] = PR::filterWithExtensions(m_filters[i], text);
}

void TfrmEnvOpts::defaultExtensionEdited(const QString &text) {
    // The whole text is checked, so a pasted name is refused as a typed one.
    if (!PR::extensionHasForbiddenCharacter(text)) {
        m_lastExt = text;
        return;
    }
    const int caret = m_extDefaut->cursorPosition() - int(text.size() - m_lastExt.size());
    m_extDefaut->setText(m_lastExt);
    m_extDefaut->setCursorPosition(std::clamp(caret, 0, int(m_lastExt.size())));
    ui().message(MsgType::Warning, MsgButtons::Ok, PR::forbiddenExtensionMessage());
}

// ---- linked check boxes ----

void TfrmEnvOpts::gutterToggled(bool on) {
    if (m_loading || m_linking) return;
    m_linking = true;
    if (on) {
        int n = 0;
        if (!PR::isWholeNumber(m_gutterSize->currentText(), 0, 1000000, &n) || n == 0)
            m_gutterSize->setEditText(QStringLiteral("30"));
    } else {
        m_gutterSize->setEditText(QStringLiteral("0"));
        m_lineNumbers->setChecked(false);
    }
    m_linking = false;
}

void TfrmEnvOpts::lineNumbersToggled(bool on) {
    if (!m_loading && on && !m_gutter->isChecked()) m_gutter->setChecked(true);
}

void TfrmEnvOpts::gutterSizeChanged(const QString &text) {
    if (m_loading || m_linking) return;
    int n = 0;
    const bool shown = PR::isWholeNumber(text, 0, 1000000, &n) && n > 0;
    // Only the boxes follow: the size being typed is not rewritten. No gutter shows
    // no line numbers either.
    m_linking = true;
    m_gutter->setChecked(shown);
    if (!shown) m_lineNumbers->setChecked(false);
    m_linking = false;
}

void TfrmEnvOpts::lastDocToggled(bool on) {
    m_dosDef->setEnabled(!on);
    m_dosDefBrowse->setEnabled(!on);
}

void TfrmEnvOpts::chooseFont() {
    QFont f(m_fontName, m_fontSize);
    if (!ui().selectFont(this, &f)) return;
    m_fontName = f.family();
    m_fontSize = f.pointSize() > 0 ? f.pointSize() : m_fontSize;
    m_font->setText(PR::fontCaption(m_fontName, m_fontSize));
}

void TfrmEnvOpts::chooseFolder() {
    const QString folder =
        ui().selectFolder(this, QStringLiteral("Sélectionnez un dossier"), m_dosDef->text());
    if (!folder.isEmpty()) m_dosDef->setText(QDir::toNativeSeparators(folder));
}

// ---- colours ----

void TfrmEnvOpts::copyColours() {
    for (int i : m_languageIndex)
        m_copies->highlighter(i)->setAttributes(m_types.highlighter(i)->attributes());
}

void TfrmEnvOpts::languageSelected(int row) {
    if (row < 0 || row >= m_languageIndex.size()) return;
    Highlighter *h = m_copies->highlighter(m_languageIndex[row]);
    {
        const QSignalBlocker block(m_elements);
        m_elements->clear();
        for (int c = 0; c < h->categoryCount(); ++c)
            m_elements->addItem(h->categoryName(c));
    }
    m_elements->setCurrentRow(0);
    elementSelected(0);

    // The sample shows this type in the edited colours, as they change.
    auto *lexer = new HighlightLexer(h, m_sample);
    lexer->setBaseFont(QFont(m_ctx.options->editor.policeNom, m_ctx.options->editor.policeTaille));
    m_sample->setLexer(lexer);
    delete m_sampleLexer;
    m_sampleLexer = lexer;
    m_sample->setReadOnly(false);
    m_sample->setText(sampleText(h->language()));
    m_sample->setReadOnly(true);
}

void TfrmEnvOpts::elementSelected(int row) {
    const int lang = m_languages->currentRow();
    if (lang < 0 || lang >= m_languageIndex.size()) return;
    const Highlighter *h = m_copies->highlighter(m_languageIndex[lang]);
    if (row < 0 || row >= h->categoryCount()) return;
    const TokenAttribute &a = h->attribute(row);
    const bool was = m_loading;
    m_loading = true;
    m_grid->setPair(a.foreground, a.background);
    m_bold->setChecked(a.style & StyleBold);
    m_italic->setChecked(a.style & StyleItalic);
    m_underline->setChecked(a.style & StyleUnderline);
    m_strike->setChecked(a.style & StyleStrikeOut);
    m_loading = was;
}

void TfrmEnvOpts::writeAttribute(const TextColour *foreground, const TextColour *background) {
    if (m_loading) return;
    const int lang = m_languages->currentRow();
    const int row = m_elements->currentRow();
    if (lang < 0 || lang >= m_languageIndex.size() || row < 0) return;
    Highlighter *h = m_copies->highlighter(m_languageIndex[lang]);
    TokenAttribute a = h->attribute(row);
    if (foreground) a.foreground = *foreground;
    if (background) a.background = *background;
    a.style = (m_bold->isChecked() ? StyleBold : 0) | (m_italic->isChecked() ? StyleItalic : 0) |
              (m_underline->isChecked() ? StyleUnderline : 0) |
              (m_strike->isChecked() ? StyleStrikeOut : 0);
    h->setAttribute(row, a);
}

void TfrmEnvOpts::resetColours() {
    if (ui().message(MsgType::Confirmation, MsgButtons::YesNo,
                     QStringLiteral("Etes-vous sûr de vouloir réinitialiser tous les types de "
                                    "documents avec les valeurs par défaut ?")) != MsgAnswer::Yes)
        return;
    m_types.resetColours(*m_ctx.store);
    ui().message(MsgType::Information, MsgButtons::Ok,
                 QStringLiteral("Les modifications seront prises en compte après redémarrage de "
                                "l'application."));
}

// ---- applying ----

bool TfrmEnvOpts::validate() {
    struct NumberField {
        QComboBox *box;
        int page;
        int min;
        int max;
        const char *what;
    };
    const NumberField numbers[] = {
        {m_rightEdge, 4, 0, 1000, "La marge de droite"},
        {m_gutterSize, 4, 0, 500, "La largeur de gouttière"},
        {m_tabSize, 4, 1, 32, "L'arrêt de tabulation"},
    };
    for (const NumberField &f : numbers) {
        if (PR::isWholeNumber(f.box->currentText(), f.min, f.max)) continue;
        m_pages->setCurrentIndex(f.page);
        f.box->setFocus();
        ui().message(MsgType::Error, MsgButtons::Ok,
                     QStringLiteral("%1 doit être un nombre entier de %2 à %3 : \"%4\" ne convient "
                                    "pas.")
                         .arg(QString::fromUtf8(f.what))
                         .arg(f.min)
                         .arg(f.max)
                         .arg(f.box->currentText()));
        return false;
    }
    for (int i = 0; i < m_filters.size(); ++i) {
        const QString list = PR::extensionListOf(m_filters[i]);
        if (PR::isValidExtensionList(list)) continue;
        m_pages->setCurrentIndex(1);
        m_typeList->setCurrentIndex(i);
        m_extensions->setFocus();
        ui().message(MsgType::Error, MsgButtons::Ok,
                     PR::invalidExtensionListMessage(m_typeList->itemText(i), list));
        return false;
    }
    return true;
}

bool TfrmEnvOpts::apply() {
    if (!m_built) return true;
    if (!validate()) return false;

    // Filters of the document types, and the edited colours.
    for (int k = 0; k < m_typeIndex.size(); ++k)
        m_types.entry(m_typeIndex[k]).filter = m_filters[k];
    for (int i : m_languageIndex)
        m_types.highlighter(i)->setAttributes(m_copies->highlighter(i)->attributes());

    // Editor options, for every open editor.
    Options &o = *m_ctx.options;
    EditorPreferences &p = o.editor;
    p.autoIndent = m_autoIndent->isChecked();
    p.dragDropEditing = m_dragDrop->isChecked();
    p.dropFiles = m_dropFiles->isChecked();
    p.halfPageScroll = m_halfPage->isChecked();
    p.scrollPastEol = m_pastEol->isChecked();
    p.noTrimTrailingSpaces = m_trailing->isChecked();
    p.wantTabs = m_wantTabs->isChecked();
    p.smartTabs = m_smartTabs->isChecked();
    p.enhanceHomeKey = m_homeKey->isChecked();
    p.tabsToSpaces = m_tabsToSpaces->isChecked();
    p.keepCaretX = m_keepCaretX->isChecked();
    p.groupUndo = m_groupUndo->isChecked();
    p.rightMouseMovesCursor = m_rightMouse->isChecked();
    p.tabsWidth = m_tabSize->currentText().trimmed();
    p.policeNom = m_fontName;
    p.policeTaille = m_fontSize;
    p.matchBrackets = m_brackets->isChecked();
    p.rightEdgeSize = m_rightEdge->currentText().trimmed();
    p.showGutter = m_gutter->isChecked();
    p.gutterSize = m_gutterSize->currentText().trimmed();
    p.showLineNumbers = m_lineNumbers->isChecked() && p.showGutter;
    if (m_ctx.docs) {
        for (int i = 0; i < m_ctx.docs->EditorCount(); ++i) {
            if (TMyMwCustomEdit *e = m_ctx.docs->EditorAt(i)) e->applyPreferences(p);
        }
    }

    o.casse = m_casse->isChecked();
    o.xhtml = m_xhtml->isChecked();
    o.formatDate = m_date->currentIndex();
    o.multiDoc = m_multiDoc->isChecked();
    o.compHTML = m_compHTML->isChecked();
    o.extensionDefaut = m_extDefaut->text();
    o.typeDefaut = m_defaultType->currentIndex();
    o.splash = m_splash->isChecked();
    o.saveCheck = !m_saveCheck->isChecked();
    o.docExiste = m_docExiste->isChecked();
    o.oneInstance = !m_instances->isChecked();
    o.caracteresAlphabetiques = m_carA->isChecked();
    o.dossierParDefaut = !m_lastDoc->isChecked();
    if (o.dossierParDefaut) o.dossierParDefautSTR = m_dosDef->text();
    if (m_ctx.events) emit m_ctx.events->stateChanged();
    return true;
}
