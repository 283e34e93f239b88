#include "authoring/ui/script_boxes.h"

#include "app/ui/help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kAllFiles = QStringLiteral("Tous les fichiers (*.*)|*.*");
const QString kAspFilter = QStringLiteral(
    "Fichiers ASP (*.asp;*.aspx;*.inc)|*.asp;*.aspx;*.inc|Fichiers HTML "
    "(*.htm;*.html;*.shtm;*.shtml)|*.htm;*.html;*.shtm;*.shtml|Tous les fichiers (*.*)|*.*");
const QString kPhpFilter = QStringLiteral(
    "Fichiers PHP (*.php;*.php3;*.phtml;*.inc)|*.php;*.php3;*.phtml;*.inc|Fichiers HTML "
    "(*.htm;*.html;*.shtm;*.shtml)|*.htm;*.html;*.shtm;*.shtml|Tous les fichiers (*.*)|*.*");

QRadioButton *radio(QWidget *parent, const char *name, const QString &text) {
    auto *r = new QRadioButton(text, parent);
    r->setObjectName(QLatin1String(name));
    return r;
}

} // namespace

TScriptBoite::TScriptBoite(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TScriptBoite"));
    setWindowTitle(QStringLiteral("Script"));
    m_internal = radio(this, "RadioInterne", QStringLiteral("Interne"));
    m_external = radio(this, "RadioExterne", QStringLiteral("Externe"));
    m_internal->setChecked(true);
    m_file = DialogParts::historyCombo(this, "ScriptEdit");
    auto *browse = DialogParts::browseButton(this, "BoutOpen");
    auto *languageGroup = new QGroupBox(QStringLiteral(" Langage "), this);
    m_language = new QComboBox(languageGroup);
    m_language->setObjectName(QStringLiteral("cblanguage"));
    m_language->setEditable(true);
    m_language->setInsertPolicy(QComboBox::NoInsert);
    m_language->setCompleter(nullptr);
    m_language->addItems({QStringLiteral("JavaScript"), QStringLiteral("JavaScript1.1"),
                          QStringLiteral("JavaScript1.2"), QStringLiteral("JavaScript1.3"),
                          QStringLiteral("JavaScript1.4"), QStringLiteral("JScript"),
                          QStringLiteral("VBScript"), QStringLiteral("VBS"), QStringLiteral("VB"),
                          QStringLiteral("PHP"), QStringLiteral("TCL")});
    m_language->setEditText(QString());
    m_server = new QCheckBox(QStringLiteral("Serveur"), languageGroup);
    m_server->setObjectName(QStringLiteral("cbServeur"));
    auto *languageRow = new QHBoxLayout(languageGroup);
    languageRow->addWidget(m_language, 1);
    languageRow->addWidget(m_server);

    auto *grid = new QGridLayout;
    grid->addWidget(m_internal, 0, 0);
    grid->addWidget(m_external, 1, 0);
    grid->addWidget(m_file, 1, 1);
    grid->addWidget(browse, 1, 2);
    grid->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(languageGroup);
    layout->addLayout(DialogParts::okCancelHelp(
        this, [] { ShowHelpTopic(QStringLiteral("Ressources/script.htm")); }));

    // A file typed or chosen means an external script.
    connect(m_file, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (!text.isEmpty()) m_external->setChecked(true);
    });
    connect(browse, &QToolButton::clicked, this, [this] {
        if (!m_browser) return;
        const auto file = m_browser(kAllFiles);
        if (!file) return;
        DialogParts::fillBrowsedPath(m_file, file->url);
        m_picked << file->url;
        m_external->setChecked(true);
    });
}

Authoring::ScriptValues TScriptBoite::values() const {
    Authoring::ScriptValues v;
    v.external = m_external->isChecked();
    v.file = m_file->currentText();
    v.picked = m_picked.contains(v.file);
    v.language = m_language->currentText();
    v.server = m_server->isChecked();
    return v;
}

void TScriptBoite::rememberCurrent() {
    const QString file = m_file->currentText();
    if (file.isEmpty()) return;
    m_history.add(file);
    DialogParts::setHistory(m_file, m_history.items());
}

void TScriptBoite::prepareForShow() {
    const QSignalBlocker block(m_file);
    m_file->setEditText(QString());
}

void TScriptBoite::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) prepareForShow();
    QDialog::showEvent(event);
}

TIncludeBox::TIncludeBox(Authoring::IncludeKind kind, QWidget *parent)
    : QDialog(parent), m_kind(kind) {
    const bool asp = kind == Authoring::IncludeKind::Asp;
    setObjectName(asp ? QStringLiteral("TASPIncludeBox") : QStringLiteral("TPHPIncludeBox"));
    setWindowTitle(QStringLiteral("Ajouter une inclusion de fichier"));
    m_path = DialogParts::historyCombo(this, "EditInclude");
    m_browse = DialogParts::browseButton(this, "BoutOpen");
    m_first =
        radio(this, "cbTypePhysique", asp ? QStringLiteral("Physique") : QStringLiteral("include"));
    m_second =
        radio(this, "cbTypeVirtuel", asp ? QStringLiteral("Virtuel") : QStringLiteral("require"));
    m_first->setChecked(true);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Chemin :"), this), 0, 0);
    grid->addWidget(m_path, 0, 1);
    grid->addWidget(m_browse, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Type :"), this), 1, 0);
    auto *types = new QHBoxLayout;
    types->addWidget(m_first);
    types->addWidget(m_second);
    types->addStretch();
    grid->addLayout(types, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(DialogParts::okCancelHelp(this, [asp] {
        if (asp)
            ShowHelpTopic(QStringLiteral("Ressources/asp_include.htm"));
        else
            ShowHelpTopic(QStringLiteral("Ressources/php_include.htm"));
    }));

    connect(m_browse, &QToolButton::clicked, this, [this] {
        if (!m_browser) return;
        const auto file =
            m_browser(m_kind == Authoring::IncludeKind::Asp ? kAspFilter : kPhpFilter);
        if (!file) return;
        const QSignalBlocker block(m_path);
        DialogParts::fillBrowsedPath(m_path, file->url);
    });
    connect(m_first, &QRadioButton::clicked, this, &TIncludeBox::typeClicked);
    connect(m_second, &QRadioButton::clicked, this, &TIncludeBox::typeClicked);
    connect(m_path, &QComboBox::textActivated, this, &TIncludeBox::pathChosen);
    connect(m_path, &QComboBox::editTextChanged, this, &TIncludeBox::pathChosen);
    updateBrowse();
}

QString TIncludeBox::path() const {
    return m_path->currentText();
}

bool TIncludeBox::secondType() const {
    return m_second->isChecked();
}

void TIncludeBox::rememberCurrent() {
    if (path().isEmpty()) return;
    m_history.add({path(), secondType()},
                  [](const Entry &a, const Entry &b) { return a.path == b.path; });
    const QSignalBlocker block(m_path);
    DialogParts::setHistory(m_path, history());
}

QStringList TIncludeBox::history() const {
    QStringList l;
    for (const Entry &e : m_history.items())
        l << e.path;
    return l;
}

void TIncludeBox::prepareForShow() {
    const QSignalBlocker block(m_path);
    m_path->setEditText(QString());
}

void TIncludeBox::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) prepareForShow();
    QDialog::showEvent(event);
    m_path->setFocus();
}

void TIncludeBox::typeClicked() {
    // A physical path and a virtual one are not the same text.
    if (m_kind == Authoring::IncludeKind::Asp) {
        const QSignalBlocker block(m_path);
        m_path->setEditText(QString());
    }
    updateBrowse();
}

void TIncludeBox::pathChosen(const QString &text) {
    for (const Entry &e : m_history.items()) {
        if (e.path != text) continue;
        (e.second ? m_second : m_first)->setChecked(true);
        updateBrowse();
        return;
    }
}

void TIncludeBox::updateBrowse() {
    // A virtual path is not a file on this disk.
    m_browse->setVisible(m_kind == Authoring::IncludeKind::Php || m_first->isChecked());
}

TASPIncludeBox::TASPIncludeBox(QWidget *parent)
    : TIncludeBox(Authoring::IncludeKind::Asp, parent) {}

TPHPIncludeBox::TPHPIncludeBox(QWidget *parent)
    : TIncludeBox(Authoring::IncludeKind::Php, parent) {}

TASPProcedureBox::TASPProcedureBox(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TASPProcedureBox"));
    setWindowTitle(QStringLiteral("Ajouter une procédure ASP"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("EditNom"));
    m_name->setMinimumWidth(240);
    auto *sub = radio(this, "RadioSub", QStringLiteral("Procédure"));
    m_function = radio(this, "RadioFunc", QStringLiteral("Fonction"));
    sub->setChecked(true);
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Nom :"), this), 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Type :"), this), 1, 0);
    auto *types = new QHBoxLayout;
    types->addWidget(sub);
    types->addWidget(m_function);
    types->addStretch();
    grid->addLayout(types, 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(DialogParts::okCancelHelp(
        this, [] { ShowHelpTopic(QStringLiteral("Ressources/asp_procedure.htm")); }));
}

QString TASPProcedureBox::name() const {
    return m_name->text();
}

bool TASPProcedureBox::isFunction() const {
    return m_function->isChecked();
}

TASPChaineBox::TASPChaineBox(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TASPChaineBox"));
    setWindowTitle(QStringLiteral("Transformer les lignes sélectionnées en chaîne ASP"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("EditNom"));
    m_name->setMinimumWidth(200);
    m_multi = radio(this, "RadioMultiLigne", QStringLiteral("Multiligne"));
    auto *single = radio(this, "RadioSimpleLigne", QStringLiteral("Une seule ligne"));
    m_multi->setChecked(true);
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Nom de la variable :"), this), 0, 0);
    grid->addWidget(m_name, 0, 1);
    auto *forms = new QHBoxLayout;
    forms->addWidget(m_multi);
    forms->addWidget(single);
    forms->addStretch();
    grid->addLayout(forms, 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(DialogParts::okCancelHelp(
        this, [] { ShowHelpTopic(QStringLiteral("Ressources/asp_chaine.htm")); }));
}

void TASPChaineBox::setName(const QString &name) {
    m_name->setText(name);
}

QString TASPChaineBox::name() const {
    return m_name->text();
}

bool TASPChaineBox::multiLine() const {
    return m_multi->isChecked();
}
