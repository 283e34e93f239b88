#include "authoring/ui/font_boite.h"

#include "app/ui/ui_services.h"
#include "authoring/ui/colour_widgets.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Authoring;

TFontNom::TFontNom(const FontPresetList &presets, QWidget *parent)
    : QDialog(parent), m_presets(presets) {
    setObjectName(QStringLiteral("TFontNom"));
    setWindowTitle(QStringLiteral("Modèle de police"));
    auto *label = new QLabel(QStringLiteral("Nom du nouveau modèle"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("EditNom"));
    label->setBuddy(m_name);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BoutOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_name);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    layout->addLayout(row);
}

QString TFontNom::name() const {
    return m_name->text();
}

void TFontNom::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) {
        m_name->clear();
        m_name->setFocus();
    }
    QDialog::showEvent(event);
}

void TFontNom::done(int result) {
    if (result == QDialog::Accepted) {
        const FontPresetList::NameCheck check = m_presets.checkNewName(name());
        if (check != FontPresetList::NameCheck::Ok) {
            ui().message(MsgType::Warning, MsgButtons::Ok, NameCheckMessage(check));
            m_name->setFocus();
            return;
        }
    }
    QDialog::done(result);
}

TFont_Boite::TFont_Boite(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFont_Boite"));
    setWindowTitle(QStringLiteral("Polices"));

    auto *presetGroup = new QGroupBox(QStringLiteral(" Modèle de police "), this);
    m_names = new QComboBox(presetGroup);
    m_names->setObjectName(QStringLiteral("ComboModeles"));
    m_names->setMaxVisibleItems(10);
    m_names->setMinimumWidth(160);
    m_new = new QPushButton(QStringLiteral("Nouveau"), presetGroup);
    m_new->setObjectName(QStringLiteral("BoutNouveau"));
    m_new->setToolTip(QStringLiteral("Créer un nouveau modèle de police"));
    m_delete = new QPushButton(QStringLiteral("Supprimer"), presetGroup);
    m_delete->setObjectName(QStringLiteral("BoutSupprimerModele"));
    m_delete->setToolTip(QStringLiteral("Supprimer le modèle courant"));
    auto *presetLayout = new QHBoxLayout(presetGroup);
    presetLayout->addWidget(m_names, 1);
    presetLayout->addWidget(m_new);
    presetLayout->addWidget(m_delete);

    auto *faceGroup = new QGroupBox(QStringLiteral(" Sélection Polices "), this);
    m_faces = new QListWidget(faceGroup);
    m_faces->setObjectName(QStringLiteral("ListePolices"));
    m_faces->installEventFilter(this);
    m_up = new QToolButton(faceGroup);
    m_up->setObjectName(QStringLiteral("BoutMonter"));
    m_up->setArrowType(Qt::UpArrow);
    m_down = new QToolButton(faceGroup);
    m_down->setObjectName(QStringLiteral("BoutDescendre"));
    m_down->setArrowType(Qt::DownArrow);
    m_deleteFace = new QPushButton(QStringLiteral("&Supprimer"), faceGroup);
    m_deleteFace->setObjectName(QStringLiteral("BoutSupprimerPolice"));
    m_deleteFace->setToolTip(QStringLiteral("Supprimer la police sélectionnée"));
    m_fonts = new QFontComboBox(faceGroup);
    m_fonts->setObjectName(QStringLiteral("ComboPolices"));
    m_fonts->setWritingSystem(QFontDatabase::Latin);
    m_fonts->setCurrentIndex(0);
    m_addFace = new QPushButton(QStringLiteral("A&jouter"), faceGroup);
    m_addFace->setObjectName(QStringLiteral("BoutAjouter"));
    m_addFace->setToolTip(QStringLiteral("Ajouter la police"));
    m_addFace->setDefault(true);
    auto *faceLayout = new QGridLayout(faceGroup);
    faceLayout->addWidget(m_faces, 0, 0, 3, 1);
    auto *arrows = new QVBoxLayout;
    arrows->addWidget(m_up);
    arrows->addWidget(m_down);
    arrows->addStretch();
    faceLayout->addLayout(arrows, 0, 1);
    faceLayout->addWidget(m_deleteFace, 2, 1);
    faceLayout->addWidget(m_fonts, 3, 0);
    faceLayout->addWidget(m_addFace, 3, 1);

    auto *attrGroup = new QGroupBox(QStringLiteral(" Attributs "), this);
    auto *sizeLabel = new QLabel(QStringLiteral("Taille"), attrGroup);
    m_size = new QComboBox(attrGroup);
    m_size->setObjectName(QStringLiteral("ComboTaille"));
    m_size->addItems(FontSizeChoices());
    m_size->setMaxVisibleItems(22);
    sizeLabel->setBuddy(m_size);
    auto *colourLabel = new QLabel(QStringLiteral("Couleur"), attrGroup);
    m_colour = new QLineEdit(attrGroup);
    m_colour->setObjectName(QStringLiteral("EditCouleur"));
    m_colour->setMaxLength(7);
    m_colour->setMaximumWidth(80);
    colourLabel->setBuddy(m_colour);
    m_selector = new TColorSelector(attrGroup);
    m_selector->setObjectName(QStringLiteral("ColorSelector"));
    auto *attrLayout = new QHBoxLayout(attrGroup);
    attrLayout->addWidget(sizeLabel);
    attrLayout->addWidget(m_size);
    attrLayout->addSpacing(16);
    attrLayout->addWidget(colourLabel);
    attrLayout->addWidget(m_colour);
    attrLayout->addWidget(m_selector);
    attrLayout->addStretch();

    m_close = new QPushButton(QStringLiteral("Fermer"), this);
    m_close->setObjectName(QStringLiteral("BoutFermer"));
    m_close->setAutoDefault(false);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(presetGroup);
    layout->addWidget(faceGroup);
    layout->addWidget(attrGroup);
    layout->addLayout(bottom);

    connect(m_names, &QComboBox::activated, this, &TFont_Boite::showPreset);
    connect(m_new, &QPushButton::clicked, this, &TFont_Boite::newPreset);
    connect(m_delete, &QPushButton::clicked, this, &TFont_Boite::deletePreset);
    connect(m_addFace, &QPushButton::clicked, this, &TFont_Boite::addFace);
    connect(m_deleteFace, &QPushButton::clicked, this, &TFont_Boite::deleteFace);
    connect(m_up, &QToolButton::clicked, this, [this] { moveFace(-1); });
    connect(m_down, &QToolButton::clicked, this, [this] { moveFace(1); });
    connect(m_size, &QComboBox::activated, this, &TFont_Boite::sizeChosen);
    connect(m_colour, &QLineEdit::textEdited, this, &TFont_Boite::colourTyped);
    connect(m_selector, &TColorSelector::colourChosen, this, &TFont_Boite::colourChosen);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    updateEnabled();
}

void TFont_Boite::setPresets(const FontPresetList::Slots &presets, int selected) {
    m_list = FontPresetList(presets);
    refreshNames(m_list.count() == 0 ? -1 : qBound(0, selected, m_list.count() - 1));
}

int TFont_Boite::shownPreset() const {
    return m_shown < 0 ? 0 : m_shown;
}

void TFont_Boite::refreshNames(int show) {
    m_loading = true;
    m_names->clear();
    m_names->addItems(m_list.names());
    m_loading = false;
    showPreset(show);
}

void TFont_Boite::showPreset(int index) {
    m_loading = true;
    m_shown = index >= 0 && index < m_list.count() ? index : -1;
    m_names->setCurrentIndex(m_shown);
    const FontPreset p = m_shown >= 0 ? m_list.at(m_shown) : FontPreset{};
    m_size->setCurrentIndex(p.taille.isEmpty() ? 0 : qMax(0, m_size->findText(p.taille)));
    m_colour->setText(p.couleur);
    m_selector->setColour(ColourFromText(p.couleur));
    m_faces->clear();
    m_faces->addItems(SplitFaces(p.face));
    m_loading = false;
    updateEnabled();
}

void TFont_Boite::updateEnabled() {
    const bool any = m_list.count() > 0;
    for (QWidget *w :
         std::initializer_list<QWidget *>{m_names, m_delete, m_faces, m_up, m_down, m_deleteFace,
                                          m_fonts, m_addFace, m_size, m_colour, m_selector})
        w->setEnabled(any);
}

void TFont_Boite::newPreset() {
    if (m_list.count() >= FontPresetList::kSlots) {
        ui().message(MsgType::Warning, MsgButtons::Ok,
                     NameCheckMessage(FontPresetList::NameCheck::Full));
        return;
    }
    TFontNom dialog(m_list, this);
    if (ui().execDialog(&dialog) != QDialog::Accepted) return;
    const int slot = m_list.add(dialog.name());
    if (slot >= 0) refreshNames(slot);
}

void TFont_Boite::deletePreset() {
    if (m_shown < 0) return;
    if (ui().message(MsgType::Warning, MsgButtons::YesNo,
                     QStringLiteral("Etes-vous sûr de vouloir supprimer ce modèle ?")) !=
        MsgAnswer::Yes)
        return;
    const int next = m_list.remove(m_shown);
    refreshNames(m_list.count() == 0 ? -1 : next);
}

void TFont_Boite::addFace() {
    if (m_shown < 0) return;
    if (m_list.addFace(m_shown, m_fonts->currentText())) storeFaces(m_faces->count());
}

void TFont_Boite::deleteFace() {
    const int row = m_faces->currentRow();
    if (m_shown < 0 || row < 0) return;
    m_list.removeFace(m_shown, row);
    storeFaces(qMin(row, m_faces->count() - 2));
}

void TFont_Boite::moveFace(int delta) {
    const int row = m_faces->currentRow();
    if (m_shown < 0 || row < 0) return;
    storeFaces(m_list.moveFace(m_shown, row, delta));
}

void TFont_Boite::storeFaces(int selectRow) {
    m_faces->clear();
    m_faces->addItems(SplitFaces(m_list.at(m_shown).face));
    m_faces->setCurrentRow(selectRow);
}

void TFont_Boite::sizeChosen(int row) {
    if (m_shown < 0 || m_loading) return;
    m_list.at(m_shown).taille = row <= 0 ? QString() : m_size->itemText(row);
}

void TFont_Boite::colourTyped(const QString &text) {
    if (m_shown < 0 || m_loading) return;
    m_list.at(m_shown).couleur = text;
    m_selector->setColour(ColourFromText(text));
}

void TFont_Boite::colourChosen(const Rgb &colour) {
    if (m_shown < 0) return;
    const QString text = ColourText(colour);
    m_colour->setText(text);
    m_list.at(m_shown).couleur = text;
}

bool TFont_Boite::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_faces && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        deleteFace();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
