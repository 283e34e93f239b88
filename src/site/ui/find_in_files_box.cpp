#include "site/ui/find_in_files_box.h"

#include "app/settings_store.h"
#include "app/ui/help.h"
#include "app/ui/ui_services.h"
#include "assist/search_rules.h"
#include "site/site_folder.h"
#include "site/site_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kSection = QStringLiteral("RechercheFichiers");

QComboBox *editableCombo(const char *name, QWidget *parent) {
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumContentsLength(36);
    return c;
}

QStringList readList(const SettingsStore &store, const QString &prefix) {
    QStringList out;
    for (int i = 1; i <= SearchRules::kHistorySize; ++i) {
        const QString v = store.readString(kSection, prefix + QString::number(i), QString());
        if (!v.isEmpty()) out << v;
    }
    return out;
}

void writeList(SettingsStore &store, const QString &prefix, const QStringList &items) {
    for (int i = 1; i <= SearchRules::kHistorySize; ++i) {
        if (i <= items.size())
            store.writeString(kSection, prefix + QString::number(i), items[i - 1]);
        else
            store.deleteValue(kSection, prefix + QString::number(i));
    }
}

QStringList comboItems(const QComboBox *c) {
    QStringList l;
    for (int i = 0; i < c->count(); ++i)
        l << c->itemText(i);
    return SearchRules::pushHistory(l, c->currentText());
}
} // namespace

TRechercheFichiersBoite::TRechercheFichiersBoite(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TRechercheFichiersBoite"));
    setWindowTitle(QStringLiteral("Rechercher dans les fichiers"));
    auto *form = new QFormLayout;
    m_text = editableCombo("EditRecherche", this);
    m_replacement = editableCombo("EditRemplacement", this);
    form->addRow(QStringLiteral("&Rechercher :"), m_text);
    form->addRow(QStringLiteral("Rem&placer par :"), m_replacement);

    auto *rules = new QHBoxLayout;
    m_regex = new QCheckBox(QStringLiteral("E&xpression régulière"), this);
    m_regex->setObjectName(QStringLiteral("CheckRegex"));
    m_case = new QCheckBox(QStringLiteral("Respecter la &casse"), this);
    m_case->setObjectName(QStringLiteral("CheckCasse"));
    m_words = new QCheckBox(QStringLiteral("&Mots entiers"), this);
    m_words->setObjectName(QStringLiteral("CheckMotsEntiers"));
    rules->addWidget(m_regex);
    rules->addWidget(m_case);
    rules->addWidget(m_words);
    rules->addStretch();
    form->addRow(QString(), rules);

    auto *folderRow = new QHBoxLayout;
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("EditDossier"));
    auto *browse = new QToolButton(this);
    browse->setObjectName(QStringLiteral("BoutDossier"));
    browse->setText(QStringLiteral("..."));
    browse->setToolTip(SiteTexts::chooseFolder());
    connect(browse, &QToolButton::clicked, this, &TRechercheFichiersBoite::chooseFolder);
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);
    auto *folderLabel = new QLabel(QStringLiteral("&Dossier :"), this);
    folderLabel->setBuddy(m_folder);
    form->addRow(folderLabel, folderRow);
    m_masks = editableCombo("EditMasques", this);
    m_masks->setToolTip(QStringLiteral("Séparés par des points-virgules, par exemple "
                                       "*.html;*.php ; vide : tous les fichiers"));
    form->addRow(QStringLiteral("&Types de fichiers :"), m_masks);
    m_excluded = new QLineEdit(this);
    m_excluded->setObjectName(QStringLiteral("EditExclus"));
    m_excluded->setToolTip(QStringLiteral("Noms de dossiers laissés de côté, à toute profondeur, "
                                          "séparés par des points-virgules"));
    form->addRow(QStringLiteral("Dossiers e&xclus :"), m_excluded);

    auto *box = new QDialogButtonBox(this);
    QPushButton *find = box->addButton(QStringLiteral("Rechercher"), QDialogButtonBox::AcceptRole);
    find->setObjectName(QStringLiteral("BoutRechercher"));
    find->setDefault(true);
    QPushButton *replace =
        box->addButton(QStringLiteral("Remplacer..."), QDialogButtonBox::ActionRole);
    replace->setObjectName(QStringLiteral("BoutRemplacer"));
    QPushButton *cancel = box->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("BoutAnnuler"));
    QPushButton *help = box->addButton(QStringLiteral("Aide"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("BoutAide"));
    connect(find, &QPushButton::clicked, this, [this] { finish(false); });
    connect(replace, &QPushButton::clicked, this, [this] { finish(true); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { ShowHelpTopic(QStringLiteral("Ressources/rechercher_fichiers.htm")); });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);
}

void TRechercheFichiersBoite::load(const SettingsStore &store, const QString &folder,
                                   const QString &proposed) {
    m_text->addItems(readList(store, QStringLiteral("Recherche")));
    m_replacement->addItems(readList(store, QStringLiteral("Remplacement")));
    QStringList masks = readList(store, QStringLiteral("Masques"));
    if (masks.isEmpty())
        masks = {QStringLiteral("*.htm;*.html;*.php;*.css;*.js"), QStringLiteral("*.*")};
    m_masks->addItems(masks);
    m_text->setCurrentText(proposed.isEmpty() ? m_text->itemText(0) : proposed);
    m_replacement->setCurrentText(m_replacement->itemText(0));
    m_masks->setCurrentIndex(0);
    m_regex->setChecked(store.readBool(kSection, QStringLiteral("Regex"), false));
    m_case->setChecked(store.readBool(kSection, QStringLiteral("Casse"), false));
    m_words->setChecked(store.readBool(kSection, QStringLiteral("MotsEntiers"), false));
    m_excluded->setText(
        store.readString(kSection, QStringLiteral("Exclus"), SiteFolder::defaultExcludedFolders()));
    m_folder->setText(folder);
    m_text->lineEdit()->selectAll();
}

void TRechercheFichiersBoite::save(SettingsStore &store) const {
    writeList(store, QStringLiteral("Recherche"), comboItems(m_text));
    if (!m_replacement->currentText().isEmpty() || m_replace)
        writeList(store, QStringLiteral("Remplacement"), comboItems(m_replacement));
    writeList(store, QStringLiteral("Masques"), comboItems(m_masks));
    store.writeBool(kSection, QStringLiteral("Regex"), m_regex->isChecked());
    store.writeBool(kSection, QStringLiteral("Casse"), m_case->isChecked());
    store.writeBool(kSection, QStringLiteral("MotsEntiers"), m_words->isChecked());
    store.writeString(kSection, QStringLiteral("Exclus"), m_excluded->text());
}

FindInFilesRequest TRechercheFichiersBoite::request() const {
    FindInFilesRequest r;
    r.options.pattern = m_text->currentText();
    r.options.rules.regularExpression = m_regex->isChecked();
    r.options.rules.caseSensitive = m_case->isChecked();
    r.options.rules.wholeWords = m_words->isChecked();
    r.options.folder = m_folder->text().trimmed();
    r.options.masks = m_masks->currentText().trimmed();
    if (r.options.masks == QLatin1String("*.*")) r.options.masks = QStringLiteral("*");
    r.options.excluded = m_excluded->text().trimmed();
    r.replacement = m_replacement->currentText();
    r.replace = m_replace;
    return r;
}

void TRechercheFichiersBoite::chooseFolder() {
    const QString chosen = ui().selectFolder(this, SiteTexts::chooseFolder(), m_folder->text());
    if (!chosen.isEmpty()) m_folder->setText(chosen);
}

void TRechercheFichiersBoite::finish(bool replace) {
    if (m_text->currentText().isEmpty()) {
        ui().message(MsgType::Warning, MsgButtons::Ok, SiteTexts::emptyPattern());
        m_text->setFocus();
        return;
    }
    if (!QFileInfo(m_folder->text().trimmed()).isDir()) {
        ui().message(MsgType::Warning, MsgButtons::Ok, SiteTexts::noFolder());
        m_folder->setFocus();
        return;
    }
    QString error;
    TextSearch probe;
    if (!probe.prepare(m_text->currentText(),
                       {m_case->isChecked(), m_words->isChecked(), m_regex->isChecked()}, &error)) {
        ui().message(MsgType::Error, MsgButtons::Ok, error);
        m_text->setFocus();
        return;
    }
    m_replace = replace;
    accept();
}
