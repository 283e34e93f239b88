#include "authoring/ui/form_boxes.h"

#include "authoring/ui/insertion_glue.h"
#include "authoring/ui/up_down.h"
#include "app/ui/help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Authoring;

namespace {

QRadioButton *radio(QWidget *parent, const QString &caption, const QString &name) {
    auto *b = new QRadioButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QLineEdit *lineEdit(QWidget *parent, const char *name) {
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

// A group box holding one widget.
QGroupBox *groupOf(QWidget *parent, const QString &title, QWidget *content) {
    auto *group = new QGroupBox(title, parent);
    content->setParent(group);
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(content);
    return group;
}

// Label, field and arrows on one row of a grid, with an optional note after them.
void addNumberRow(QGridLayout *grid, int row, const NumberField &f, const QString &note = {}) {
    grid->addWidget(f.label, row, 0);
    auto *fieldRow = new QHBoxLayout;
    fieldRow->setSpacing(0);
    fieldRow->addWidget(f.edit);
    fieldRow->addWidget(f.upDown);
    if (!note.isEmpty()) {
        fieldRow->addSpacing(6);
        fieldRow->addWidget(new QLabel(note, f.edit->parentWidget()));
    }
    fieldRow->addStretch();
    grid->addLayout(fieldRow, row, 1);
}

} // namespace

// ---- Form

TFormulaire_Boite::TFormulaire_Boite(QWidget *parent)
    : FormControlBox(
          QStringLiteral("TFormulaire_Boite"), QStringLiteral("Feuille de formulaire"),
          [] { ShowHelpTopic(QStringLiteral("Ressources/formulaire.htm")); }, parent) {
    auto *recipientGroup = new QGroupBox(QStringLiteral(" Type du destinataire "), this);
    const struct {
        const char16_t *caption;
        const char *name;
    } recipients[] = {{u"( Aucun )", "aucun"},
                      {u"Lien HTTP", "http"},
                      {u"Lien FTP", "ftp"},
                      {u"Adresse e-mail", "mail"},
                      {u"Groupe de discussion", "news"}};
    auto *recipientLayout = new QGridLayout(recipientGroup);
    for (int i = 0; i < 5; ++i) {
        m_recipients[i] = radio(recipientGroup, QString::fromUtf16(recipients[i].caption),
                                QLatin1String(recipients[i].name));
        recipientLayout->addWidget(m_recipients[i], i, 0);
        connect(m_recipients[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) recipientChosen(Recipient(i));
        });
    }
    recipientLayout->addWidget(new QLabel(QStringLiteral("( NewsGroup )"), recipientGroup), 4, 1);
    recipientLayout->setColumnStretch(2, 1);

    auto *actionLabel = new QLabel(QStringLiteral("Action :"), this);
    m_action = lineEdit(this, "EditAction");
    actionLabel->setBuddy(m_action);
    auto *actionRow = new QHBoxLayout;
    actionRow->addWidget(actionLabel);
    actionRow->addWidget(m_action, 1);

    m_method = new QGroupBox(QStringLiteral(" Mode d'envoi "), this);
    auto *methodDefault = radio(m_method, QStringLiteral("Défaut"), QStringLiteral("ModeDefaut"));
    m_get = radio(m_method, QStringLiteral("Réception (GET)"), QStringLiteral("get"));
    m_post = radio(m_method, QStringLiteral("Emission (POST)"), QStringLiteral("post"));
    methodDefault->setChecked(true);
    auto *methodLayout = new QVBoxLayout(m_method);
    for (QRadioButton *b : {methodDefault, m_get, m_post})
        methodLayout->addWidget(b);

    m_encoding = new QGroupBox(QStringLiteral(" Type d'encodage "), this);
    auto *encodingDefault = radio(m_encoding, QStringLiteral("Défaut"), QStringLiteral("nul"));
    m_mime = radio(m_encoding, QStringLiteral("Mode MIME"), QStringLiteral("mime"));
    m_text = radio(m_encoding, QStringLiteral("Mode TEXTE"), QStringLiteral("texte"));
    encodingDefault->setChecked(true);
    auto *encodingLayout = new QVBoxLayout(m_encoding);
    for (QRadioButton *b : {encodingDefault, m_mime, m_text})
        encodingLayout->addWidget(b);

    m_targetGroup = new QGroupBox(QStringLiteral(" Cible "), this);
    m_target = new QComboBox(m_targetGroup);
    m_target->setObjectName(QStringLiteral("edit_target"));
    m_target->setEditable(true);
    // A typed target is not added to the choices.
    m_target->setInsertPolicy(QComboBox::NoInsert);
    m_target->addItems({QStringLiteral("_blank"), QStringLiteral("_self"),
                        QStringLiteral("_parent"), QStringLiteral("_top")});
    m_target->setCurrentIndex(-1);
    m_target->setEditText(QString());
    auto *targetLayout = new QHBoxLayout(m_targetGroup);
    targetLayout->addWidget(new QLabel(QStringLiteral("TARGET ="), m_targetGroup));
    targetLayout->addWidget(m_target, 1);

    auto *modes = new QHBoxLayout;
    modes->addWidget(m_method);
    modes->addWidget(m_encoding);

    body()->addWidget(recipientGroup);
    body()->addLayout(actionRow);
    body()->addLayout(modes);
    body()->addWidget(m_targetGroup);

    m_recipients[int(Recipient::Http)]->setChecked(true);
    setMinimumWidth(420);
}

void TFormulaire_Boite::recipientChosen(Recipient recipient) {
    m_action->setText(RecipientExample(recipient));
    const bool sending = recipient != Recipient::None;
    m_method->setEnabled(sending);
    m_encoding->setEnabled(sending);
    m_targetGroup->setEnabled(sending);
}

FormValues TFormulaire_Boite::values() const {
    FormValues v;
    v.name = name();
    for (int i = 0; i < 5; ++i) {
        if (m_recipients[i]->isChecked()) v.recipient = Recipient(i);
    }
    v.action = m_action->text();
    v.method = m_get->isChecked()    ? SendMethod::Get
               : m_post->isChecked() ? SendMethod::Post
                                     : SendMethod::Default;
    v.encoding = m_mime->isChecked()   ? FormEncoding::Mime
                 : m_text->isChecked() ? FormEncoding::Text
                                       : FormEncoding::Default;
    v.target = m_target->currentText();
    return v;
}

// ---- Radio buttons and check boxes

ChoiceGroupBox::ChoiceGroupBox(ChoiceKind kind, const QString &objectName, const QString &title,
                               std::function<void()> help, QWidget *parent)
    : FormControlBox(objectName, title, std::move(help), parent) {
    m_items = new ItemListEditor(
        kind == ChoiceKind::Radio ? ItemListEditor::SingleCheck : ItemListEditor::ManyChecks, this);
    m_lineBreaks = new QCheckBox(QStringLiteral("Retour à la ligne après chaque élément"), this);
    m_lineBreaks->setObjectName(kind == ChoiceKind::Radio ? QStringLiteral("CheckBox1")
                                                          : QStringLiteral("CheckRetourLigne"));
    m_lineBreaks->setChecked(true);
    body()->addWidget(m_items, 1);
    body()->addWidget(m_lineBreaks);
    // Enter in the entry field adds the item.
    okButton()->setDefault(false);
    m_items->addButton()->setDefault(true);
}

ChoiceGroupValues ChoiceGroupBox::values() const {
    return {name(), m_items->items().items(), m_lineBreaks->isChecked()};
}

TForm_Radio_Boite::TForm_Radio_Boite(QWidget *parent)
    : ChoiceGroupBox(
          ChoiceKind::Radio, QStringLiteral("TForm_Radio_Boite"), QStringLiteral("Cases radio"),
          [] { ShowHelpTopic(QStringLiteral("Ressources/formulaire_radio.htm")); }, parent) {}

TForm_Check_Boite::TForm_Check_Boite(QWidget *parent)
    : ChoiceGroupBox(
          ChoiceKind::CheckBox, QStringLiteral("TForm_Check_Boite"),
          QStringLiteral("Cases à cocher"),
          [] { ShowHelpTopic(QStringLiteral("Ressources/formulaire_coche.htm")); }, parent) {}

// ---- Drop-down list

TForm_Combo_Boite::TForm_Combo_Boite(QWidget *parent)
    : FormControlBox(
          QStringLiteral("TForm_Combo_Boite"), QStringLiteral("Boîte liste déroulante"),
          [] { ShowHelpTopic(QStringLiteral("Ressources/formulaire_combo.htm")); }, parent) {
    m_items = new ItemListEditor(ItemListEditor::NoChecks, this);
    m_default = new QComboBox;
    m_default->setObjectName(QStringLiteral("ComboBox1"));
    body()->addWidget(m_items, 1);
    body()->addWidget(groupOf(this, QStringLiteral(" Sélection par défaut "), m_default));
    okButton()->setDefault(false);
    m_items->addButton()->setDefault(true);

    connect(m_items, &ItemListEditor::itemsChanged, this, &TForm_Combo_Boite::itemsChanged);
    connect(m_default, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_items->setDefaultChoice(index); });
}

void TForm_Combo_Boite::itemsChanged() {
    // The choice follows its item; the list's own index change must not move it.
    const int chosen = m_items->items().defaultChoice();
    const QSignalBlocker block(m_default);
    m_default->clear();
    m_default->addItems(m_items->items().texts());
    m_default->setCurrentIndex(chosen);
}

DropDownValues TForm_Combo_Boite::values() const {
    return {name(), m_items->items().texts(), m_items->items().defaultChoice()};
}

// ---- List

TForm_ListBox_Boite::TForm_ListBox_Boite(QWidget *parent)
    : FormControlBox(
          QStringLiteral("TForm_ListBox_Boite"), QStringLiteral("Boîte liste"),
          [] { ShowHelpTopic(QStringLiteral("Ressources/formulaire_liste.htm")); }, parent) {
    m_items = new ItemListEditor(ItemListEditor::NoChecks, this);
    const NumberField lines = makeNumberField(this, QStringLiteral("Lignes visibles"), "Editlignes",
                                              1, 999, 3, QStringLiteral("3"));
    m_lines = lines.edit;
    m_multiple = new QCheckBox(QStringLiteral("Liste à sélection multiple"), this);
    m_multiple->setObjectName(QStringLiteral("CBMultiple"));
    auto *grid = new QGridLayout;
    addNumberRow(grid, 0, lines);
    grid->addWidget(m_multiple, 1, 0, 1, 2);
    body()->addWidget(m_items, 1);
    body()->addLayout(grid);
    okButton()->setDefault(false);
    m_items->addButton()->setDefault(true);
}

ListBoxValues TForm_ListBox_Boite::values() const {
    return {name(), m_items->items().texts(), m_lines->text(), m_multiple->isChecked()};
}

// ---- Text and password

TForm_edit_Boite::TForm_edit_Boite(QWidget *parent)
    : FormControlBox(
          QStringLiteral("TForm_edit_Boite"), QStringLiteral("Boîte texte"),
          [] { ShowHelpTopic(QStringLiteral("Ressources/formulaire_texte.htm")); }, parent) {
    m_value = lineEdit(nullptr, "Editelt");
    const NumberField size =
        makeNumberField(this, QStringLiteral("Taille"), "EditVis", 1, 999, 3, {});
    const NumberField maxLength = makeNumberField(
        this, QStringLiteral("Longueur maximale autorisée"), "EditAuto", 1, 999, 3, {});
    m_size = size.edit;
    m_maxLength = maxLength.edit;
    auto *grid = new QGridLayout;
    addNumberRow(grid, 0, size, QStringLiteral("(nb car.)"));
    addNumberRow(grid, 1, maxLength);
    body()->addWidget(groupOf(this, QStringLiteral(" Elément "), m_value));
    body()->addLayout(grid);
}

TextFieldValues TForm_edit_Boite::values() const {
    return {name(), m_size->text(), m_maxLength->text(), m_value->text()};
}

TForm_pass_Boite::TForm_pass_Boite(QWidget *parent)
    : FormControlBox(
          QStringLiteral("TForm_pass_Boite"), QStringLiteral("Boîte mot de passe"),
          [] { ShowHelpTopic(QStringLiteral("Ressources/formulaire_mdp.htm")); }, parent) {
    m_value = lineEdit(nullptr, "Editelt");
    const NumberField size = makeNumberField(this, QStringLiteral("Longueur maximale visible"),
                                             "EditVis", 1, 999, 3, {});
    const NumberField maxLength = makeNumberField(
        this, QStringLiteral("Longueur maximale autorisée"), "EditAuto", 1, 999, 3, {});
    m_size = size.edit;
    m_maxLength = maxLength.edit;
    auto *grid = new QGridLayout;
    addNumberRow(grid, 0, size);
    addNumberRow(grid, 1, maxLength);
    body()->addWidget(groupOf(this, QStringLiteral(" Valeur initiale "), m_value));
    body()->addLayout(grid);
}

TextFieldValues TForm_pass_Boite::values() const {
    return {name(), m_size->text(), m_maxLength->text(), m_value->text()};
}

// ---- Multi-line text

TForm_Memo_Boite::TForm_Memo_Boite(QWidget *parent)
    : FormControlBox(
          QStringLiteral("TForm_Memo_Boite"), QStringLiteral("Boîte texte multiligne"),
          [] { ShowHelpTopic(QStringLiteral("Ressources/formulaire_memo.htm")); }, parent) {
    const NumberField rows =
        makeNumberField(this, QStringLiteral("Ligne"), "Editligne", 1, 999, 3, QStringLiteral("2"));
    const NumberField columns = makeNumberField(this, QStringLiteral("Colonne"), "editcol", 1, 999,
                                                3, QStringLiteral("40"));
    m_rows = rows.edit;
    m_columns = columns.edit;
    auto *wrapLabel = new QLabel(QStringLiteral("Barres de défilement"), this);
    m_wrap = new QComboBox(this);
    m_wrap->setObjectName(QStringLiteral("ComboWrap"));
    m_wrap->addItems({QStringLiteral("Défaut"), QStringLiteral("Aucun"), QStringLiteral("Physical"),
                      QStringLiteral("Virtual")});
    wrapLabel->setBuddy(m_wrap);
    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo"));
    m_memo->setTabChangesFocus(true);
    auto *memoLabel = new QLabel(QStringLiteral("Texte initial"), this);
    memoLabel->setBuddy(m_memo);

    auto *grid = new QGridLayout;
    addNumberRow(grid, 0, rows);
    addNumberRow(grid, 1, columns);
    grid->addWidget(wrapLabel, 2, 0);
    grid->addWidget(m_wrap, 2, 1, Qt::AlignLeft);
    body()->addLayout(grid);
    body()->addWidget(memoLabel);
    body()->addWidget(m_memo, 1);
}

TextAreaValues TForm_Memo_Boite::values() const {
    return {name(), m_rows->text(), m_columns->text(), TextAreaWrap(m_wrap->currentIndex()),
            TextLines(m_memo->toPlainText())};
}

// ---- Button

TBoite_Bouton::TBoite_Bouton(QWidget *parent)
    : FormControlBox(
          QStringLiteral("TBoite_Bouton"), QStringLiteral("Bouton"),
          [] { ShowHelpTopic(QStringLiteral("Ressources/formulaire_bouton.htm")); }, parent) {
    auto *types = new QGroupBox(QStringLiteral("Type de bouton "), this);
    types->setObjectName(QStringLiteral("TypeBouton"));
    auto *typeLayout = new QVBoxLayout(types);
    const char16_t *captions[] = {u"Bouton standard", u"Bouton soumettre", u"Bouton réinitialiser"};
    for (int i = 0; i < 3; ++i) {
        m_types[i] =
            radio(types, QString::fromUtf16(captions[i]), QStringLiteral("TypeBouton%1").arg(i));
        typeLayout->addWidget(m_types[i]);
    }
    m_types[0]->setChecked(true);
    m_text = lineEdit(nullptr, "EditButton");
    body()->addWidget(types);
    body()->addWidget(groupOf(this, QStringLiteral("Texte affiché sur le bouton "), m_text));
}

void TBoite_Bouton::setType(ButtonType type) {
    m_types[int(type)]->setChecked(true);
}

ButtonValues TBoite_Bouton::values() const {
    ButtonValues v;
    for (int i = 0; i < 3; ++i) {
        if (m_types[i]->isChecked()) v.type = ButtonType(i);
    }
    v.name = name();
    v.text = m_text->text();
    return v;
}

// ---- File selection, hidden field, image button

TFormParcBoite::TFormParcBoite(QWidget *parent)
    : FormControlBox(
          QStringLiteral("TFormParcBoite"), QStringLiteral("Bouton parcourir"),
          [] { ShowHelpTopic(QStringLiteral("Ressources/formulaire_parcourir.htm")); }, parent) {
    const NumberField size =
        makeNumberField(this, QStringLiteral("Taille"), "EditVis", 1, 999, 3, {});
    m_size = size.edit;
    auto *grid = new QGridLayout;
    addNumberRow(grid, 0, size);
    body()->addLayout(grid);
}

FileFieldValues TFormParcBoite::values() const {
    return {name(), m_size->text()};
}

TBoite_Hidden::TBoite_Hidden(QWidget *parent)
    : FormControlBox(
          QStringLiteral("TBoite_Hidden"), QStringLiteral("Entrée cachée"),
          [] { ShowHelpTopic(QStringLiteral("Ressources/formulaire_hidden.htm")); }, parent) {
    m_value = lineEdit(nullptr, "EditHidden");
    body()->addWidget(groupOf(this, QStringLiteral(" Valeur cachée associée "), m_value));
}

HiddenFieldValues TBoite_Hidden::values() const {
    return {name(), m_value->text()};
}

TBoite_FormImage::TBoite_FormImage(QWidget *parent)
    : FormControlBox(
          QStringLiteral("TBoite_FormImage"), QStringLiteral("Image"),
          [] { ShowHelpTopic(QStringLiteral("Ressources/formulaire_image.htm")); }, parent) {
    auto *group = new QGroupBox(QStringLiteral(" Image "), this);
    m_source = lineEdit(group, "EditSRC");
    auto *browseButton = new QPushButton(QStringLiteral("..."), group);
    browseButton->setObjectName(QStringLiteral("BoutParcourir"));
    browseButton->setToolTip(QStringLiteral("Parcourir"));
    browseButton->setAutoDefault(false);
    auto *row = new QHBoxLayout(group);
    row->addWidget(m_source, 1);
    row->addWidget(browseButton);
    body()->addWidget(group);
    setMinimumWidth(360);
    connect(browseButton, &QPushButton::clicked, this, &TBoite_FormImage::browse);
}

void TBoite_FormImage::browse() {
    if (!m_browser) return;
    const QString url = m_browser();
    if (url.isEmpty()) return;
    m_source->setText(url);
    Markup::SelectPathFolder(m_source);
}

ImageButtonValues TBoite_FormImage::values() const {
    return {name(), m_source->text()};
}
