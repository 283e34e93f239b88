#include "authoring/ui/tab_boite.h"

#include "app/ui/ui_services.h"
#include "authoring/rule_markup.h"
#include "authoring/ui/form_control_box.h"
#include "authoring/ui/up_down.h"
#include "app/ui/help.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Authoring;

namespace {

void addRow(QGridLayout *grid, int row, const NumberField &f, QWidget *after = nullptr) {
    grid->addWidget(f.label, row, 0);
    auto *fieldRow = new QHBoxLayout;
    fieldRow->setSpacing(0);
    fieldRow->addWidget(f.edit);
    fieldRow->addWidget(f.upDown);
    if (after) {
        fieldRow->addSpacing(6);
        fieldRow->addWidget(after);
    }
    fieldRow->addStretch();
    grid->addLayout(fieldRow, row, 1);
}

} // namespace

TTab_Boite::TTab_Boite(CellStore &cells, QWidget *parent) : QDialog(parent), m_cells(cells) {
    setObjectName(QStringLiteral("TTab_Boite"));
    setWindowTitle(QStringLiteral("Tableau"));

    const NumberField rows = makeNumberField(this, QStringLiteral("Nombre de lignes"), "EditLignes",
                                             1, CellStore::Size, 2, QStringLiteral("1"));
    const NumberField columns =
        makeNumberField(this, QStringLiteral("Nombre de colonnes"), "EditColonnes", 1,
                        CellStore::Size, 2, QStringLiteral("1"));
    const NumberField border = makeNumberField(this, QStringLiteral("Taille de la bordure"),
                                               "EditBorder", 0, 999, 3, QStringLiteral("0"));
    const NumberField spacing =
        makeNumberField(this, QStringLiteral("Espacement entre les cellules"), "cellspac", 0, 99, 2,
                        QStringLiteral("2"));
    const NumberField padding =
        makeNumberField(this, QStringLiteral("Espacement dans les cellules"), "cellpad", 0, 99, 2,
                        QStringLiteral("1"));
    const NumberField width =
        makeNumberField(this, QStringLiteral("Largeur"), "Editw", 0, 9999, 4, QString());
    const NumberField height =
        makeNumberField(this, QStringLiteral("Hauteur"), "Edith", 0, 9999, 4, QString());
    m_rows = rows.edit;
    m_columns = columns.edit;
    m_border = border.edit;
    m_spacing = spacing.edit;
    m_padding = padding.edit;
    m_width = width.edit;
    m_height = height.edit;
    m_widthPercent = new QCheckBox(QStringLiteral("%"), this);
    m_widthPercent->setObjectName(QStringLiteral("pourcw"));
    m_heightPercent = new QCheckBox(QStringLiteral("%"), this);
    m_heightPercent->setObjectName(QStringLiteral("pourch"));

    auto *colourLabel = new QLabel(QStringLiteral("Couleur du fond"), this);
    m_colourButton = new QToolButton(this);
    m_colourButton->setObjectName(QStringLiteral("BoutCouleur1"));
    m_colourButton->setIconSize(QSize(24, 14));
    m_colour = new QLineEdit(this);
    m_colour->setObjectName(QStringLiteral("EditBGColor"));
    m_colour->setMaximumWidth(90);
    colourLabel->setBuddy(m_colour);

    auto *fields = new QGridLayout;
    addRow(fields, 0, rows);
    addRow(fields, 1, columns);
    addRow(fields, 2, border);
    addRow(fields, 3, spacing);
    addRow(fields, 4, padding);
    addRow(fields, 5, width, m_widthPercent);
    addRow(fields, 6, height, m_heightPercent);
    fields->addWidget(colourLabel, 7, 0);
    auto *colourRow = new QHBoxLayout;
    colourRow->addWidget(m_colourButton);
    colourRow->addWidget(m_colour);
    colourRow->addStretch();
    fields->addLayout(colourRow, 7, 1);

    auto *alignGroup = new QGroupBox(QStringLiteral(" Alignement horizontal "), this);
    alignGroup->setObjectName(QStringLiteral("Radiohor"));
    auto *alignLayout = new QVBoxLayout(alignGroup);
    const char16_t *alignCaptions[] = {u"à gauche (défaut)", u"au centre", u"à droite"};
    for (int i = 0; i < 3; ++i) {
        m_align[i] = new QRadioButton(QString::fromUtf16(alignCaptions[i]), alignGroup);
        m_align[i]->setObjectName(QStringLiteral("Radiohor%1").arg(i));
        alignLayout->addWidget(m_align[i]);
    }
    m_align[0]->setChecked(true);

    auto *captionLabel = new QLabel(QStringLiteral("Titre (optionnel) :"), this);
    m_caption = new QLineEdit(this);
    m_caption->setObjectName(QStringLiteral("EditCaption"));
    captionLabel->setBuddy(m_caption);

    auto *right = new QVBoxLayout;
    right->addWidget(alignGroup);
    right->addSpacing(8);
    right->addWidget(captionLabel);
    right->addWidget(m_caption);
    right->addStretch();

    auto *top = new QHBoxLayout;
    top->addLayout(fields);
    top->addSpacing(12);
    top->addLayout(right, 1);

    // The cell being edited.
    auto *cellGroup = new QGroupBox(QStringLiteral(" Contenu des cellules "), this);
    const NumberField row =
        makeNumberField(cellGroup, QStringLiteral("Ligne"), "ligne", 1, 1, 2, QStringLiteral("1"));
    const NumberField column = makeNumberField(cellGroup, QStringLiteral("Colonne"), "colonne", 1,
                                               1, 2, QStringLiteral("1"));
    m_row = row.edit;
    m_rowUpDown = row.upDown;
    m_column = column.edit;
    m_columnUpDown = column.upDown;
    m_cell = new QLineEdit(cellGroup);
    m_cell->setObjectName(QStringLiteral("EditTable"));
    auto *add = new QPushButton(QStringLiteral("Ajouter"), cellGroup);
    add->setObjectName(QStringLiteral("BitBtn3"));
    add->setDefault(true);
    auto *reset = new QPushButton(QStringLiteral("Tout réinitialiser"), cellGroup);
    reset->setObjectName(QStringLiteral("BitBtn4"));
    reset->setAutoDefault(false);
    auto *position = new QHBoxLayout;
    for (const NumberField &f : {row, column}) {
        position->addWidget(f.label);
        position->addWidget(f.edit);
        position->addWidget(f.upDown);
        position->addSpacing(10);
    }
    position->addStretch();
    auto *cellRow = new QHBoxLayout;
    cellRow->addWidget(m_cell, 1);
    cellRow->addWidget(add);
    auto *cellLayout = new QVBoxLayout(cellGroup);
    cellLayout->addLayout(position);
    cellLayout->addLayout(cellRow);
    auto *resetRow = new QHBoxLayout;
    resetRow->addStretch();
    resetRow->addWidget(reset);
    cellLayout->addLayout(resetRow);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BoutOK"));
    ok->setAutoDefault(false);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("BoutAnnuler"));
    cancel->setAutoDefault(false);
    auto *help = new QPushButton(QStringLiteral("Aide"), this);
    help->setObjectName(QStringLiteral("BoutAide"));
    help->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(cellGroup);
    layout->addLayout(buttons);

    m_picker = [this](const QColor &initial) -> std::optional<QColor> {
        QColorDialog dialog(initial.isValid() ? initial : QColor(Qt::white), this);
        if (ui().execDialog(&dialog) != QDialog::Accepted) return std::nullopt;
        return dialog.currentColor();
    };

    connect(ok, &QPushButton::clicked, this, &TTab_Boite::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { ShowHelpTopic(QStringLiteral("Ressources/tableau.htm")); });
    connect(add, &QPushButton::clicked, this, &TTab_Boite::storeAndMoveOn);
    connect(reset, &QPushButton::clicked, this, &TTab_Boite::resetAll);
    for (QLineEdit *count : {m_rows, m_columns}) {
        connect(count, &QLineEdit::textChanged, this, &TTab_Boite::countChanged);
        connect(count, &QLineEdit::editingFinished, this, [this, count] { fixCount(count); });
    }
    for (QLineEdit *size : {m_width, m_height}) {
        connect(size, &QLineEdit::editingFinished, this,
                [size] { size->setText(TableSizeText(size->text())); });
    }
    for (QLineEdit *position : {m_row, m_column}) {
        // A typed cell number outside the table is brought back into it.
        connect(position, &QLineEdit::editingFinished, this, [this, position] {
            const CellPos pos = currentCell();
            const QString text = QString::number(position == m_row ? pos.row : pos.column);
            if (text != position->text()) position->setText(text);
        });
    }
    connect(m_row, &QLineEdit::textChanged, this, &TTab_Boite::showCurrentCell);
    connect(m_column, &QLineEdit::textChanged, this, &TTab_Boite::showCurrentCell);
    connect(m_colourButton, &QToolButton::clicked, this, &TTab_Boite::chooseColour);
    connect(m_colour, &QLineEdit::textChanged, this, &TTab_Boite::colourTextChanged);

    colourTextChanged(QString());
    showCurrentCell();
}

void TTab_Boite::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // Typing a count at once replaces the one shown.
    m_rows->setFocus();
    m_rows->selectAll();
}

CellPos TTab_Boite::currentCell() const {
    const int row = std::min(TableCount(m_row->text()).value_or(1), m_rowUpDown->maximum());
    const int column =
        std::min(TableCount(m_column->text()).value_or(1), m_columnUpDown->maximum());
    return {row, column};
}

void TTab_Boite::showCurrentCell() {
    const CellPos pos = currentCell();
    m_cell->setText(m_cells.cell(pos.row, pos.column));
}

void TTab_Boite::storeAndMoveOn() {
    const CellPos pos = currentCell();
    m_cells.setCell(pos.row, pos.column, m_cell->text());
    const CellPos next = NextCell(pos, m_rowUpDown->maximum(), m_columnUpDown->maximum());
    {
        const QSignalBlocker blockRow(m_row);
        const QSignalBlocker blockColumn(m_column);
        m_row->setText(QString::number(next.row));
        m_column->setText(QString::number(next.column));
    }
    showCurrentCell();
    // Typing goes on in the next cell.
    m_cell->setFocus();
    m_cell->selectAll();
}

void TTab_Boite::resetAll() {
    m_cells.clear();
    m_width->clear();
    m_height->clear();
    m_caption->clear();
    m_colour->clear();
    m_rows->setText(QStringLiteral("1"));
    m_columns->setText(QStringLiteral("1"));
    m_spacing->setText(QStringLiteral("2"));
    m_padding->setText(QStringLiteral("1"));
    m_align[0]->setChecked(true);
    m_widthPercent->setChecked(false);
    m_heightPercent->setChecked(false);
    m_row->setText(QStringLiteral("1"));
    m_column->setText(QStringLiteral("1"));
    showCurrentCell();
}

void TTab_Boite::countChanged() {
    // An emptied field keeps the maxima until a number is typed.
    // A count of 0 makes no table; the cell being edited stays in the first row or column.
    if (const std::optional<int> rows = TableCount(m_rows->text()))
        m_rowUpDown->setRange(1, std::max(1, *rows));
    if (const std::optional<int> columns = TableCount(m_columns->text()))
        m_columnUpDown->setRange(1, std::max(1, *columns));
}

void TTab_Boite::fixCount(QLineEdit *field) {
    if (const std::optional<int> count = TableCount(field->text())) {
        const QString text = QString::number(*count);
        if (text != field->text()) field->setText(text);
    }
}

void TTab_Boite::confirm() {
    for (QLineEdit *count : {m_rows, m_columns}) {
        if (!TableCount(count->text())) {
            ui().message(MsgType::Error, MsgButtons::Ok, IntegerConversionError(count->text()));
            count->setFocus();
            return;
        }
    }
    accept();
}

void TTab_Boite::chooseColour() {
    if (!m_picker) return;
    const std::optional<QColor> chosen = m_picker(QColor::fromString(m_colour->text()));
    if (!chosen || !chosen->isValid()) return;
    m_colour->setText(HexColour(chosen->red(), chosen->green(), chosen->blue()));
}

void TTab_Boite::colourTextChanged(const QString &text) {
    // The button shows the colour the field names; no swatch for no colour.
    const QColor colour = QColor::fromString(text);
    if (!colour.isValid()) {
        m_colourButton->setIcon(QIcon());
        m_colourButton->setText(QStringLiteral("..."));
        return;
    }
    QPixmap swatch(m_colourButton->iconSize());
    swatch.fill(colour);
    QPainter p(&swatch);
    p.setPen(palette().color(QPalette::Shadow));
    p.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    p.end();
    m_colourButton->setIcon(QIcon(swatch));
}

TableValues TTab_Boite::values() const {
    TableValues v;
    v.rows = m_rows->text();
    v.columns = m_columns->text();
    v.border = m_border->text();
    v.spacing = m_spacing->text();
    v.padding = m_padding->text();
    v.width = m_width->text();
    v.widthPercent = m_widthPercent->isChecked();
    v.height = m_height->text();
    v.heightPercent = m_heightPercent->isChecked();
    v.bgColor = m_colour->text();
    v.align = m_align[1]->isChecked()   ? TableAlign::Centre
              : m_align[2]->isChecked() ? TableAlign::Right
                                        : TableAlign::Left;
    v.caption = m_caption->text();
    return v;
}
