#include "authoring/ui/listes_boite.h"

#include "authoring/ui/list_style_icons.h"
#include "authoring/ui/up_down.h"
#include "app/ui/help.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCollator>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

using Authoring::ListKind;

const QString TListes_Boite::HelpPage = QStringLiteral("Ressources/liste.htm");

TListes_Boite::TListes_Boite(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TListes_Boite"));
    setWindowTitle(QStringLiteral("Listes"));

    // List type: one page per kind, its picture buttons one down at a time.
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PCListe"));
    const struct {
        const char16_t *title;
        int first;
        int last;
    } pages[] = {
        {u"Liste à puces", 1, 3}, {u"Liste ordonnée", 4, 8}, {u"Liste de définitions", 9, 9}};
    for (int page = 0; page < 3; ++page) {
        auto *sheet = new QWidget(m_pages);
        auto *row = new QHBoxLayout(sheet);
        m_typeGroups[page] = new QButtonGroup(this);
        m_typeGroups[page]->setExclusive(true);
        // What each picture shows, for its hint and screen readers.
        static const char16_t *const hints[] = {u"",
                                                u"Puces pleines",
                                                u"Puces carrées",
                                                u"Puces rondes vides",
                                                u"Numéros (1, 2, 3)",
                                                u"Lettres minuscules (a, b, c)",
                                                u"Lettres majuscules (A, B, C)",
                                                u"Chiffres romains minuscules (i, ii, iii)",
                                                u"Chiffres romains majuscules (I, II, III)",
                                                u"Termes et définitions"};
        for (int b = pages[page].first; b <= pages[page].last; ++b) {
            auto *button = new QToolButton(sheet);
            button->setObjectName(QStringLiteral("BoutType%1").arg(b));
            button->setToolTip(QString::fromUtf16(hints[b]));
            button->setCheckable(true);
            button->setIcon(ListStyleIcon(b));
            button->setIconSize(QSize(32, 32));
            button->setFixedSize(44, 44);
            button->setChecked(b == pages[page].first);
            m_typeGroups[page]->addButton(button, b);
            row->addWidget(button);
        }
        row->addStretch();
        m_pages->addTab(sheet, QString::fromUtf16(pages[page].title));
    }

    auto *group = new QGroupBox(QStringLiteral(" Eléments "), this);
    m_entry = new QLineEdit(group);
    m_entry->setObjectName(QStringLiteral("Editelt"));
    m_entry->setToolTip(QStringLiteral("Texte de l'élément à ajouter"));
    m_add = new QPushButton(QStringLiteral("Ajouter"), group);
    m_add->setObjectName(QStringLiteral("BoutAjouter"));
    m_add->setDefault(true);
    m_list = new QListWidget(group);
    m_list->setObjectName(QStringLiteral("ListBox1"));
    m_list->setToolTip(QStringLiteral("Eléments de la liste"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_delete = new QPushButton(QStringLiteral("Supprimer"), group);
    m_delete->setObjectName(QStringLiteral("BoutSuppr"));
    m_upButton = new QToolButton(group);
    m_upButton->setObjectName(QStringLiteral("BoutHaut"));
    m_upButton->setArrowType(Qt::UpArrow);
    m_upButton->setToolTip(QStringLiteral("Monter l'élément"));
    m_downButton = new QToolButton(group);
    m_downButton->setObjectName(QStringLiteral("BoutBas"));
    m_downButton->setArrowType(Qt::DownArrow);
    m_downButton->setToolTip(QStringLiteral("Descendre l'élément"));
    m_edit = new QPushButton(QStringLiteral("Editer"), group);
    m_edit->setObjectName(QStringLiteral("BoutEdit"));
    m_edit->setCheckable(true);
    m_sort = new QCheckBox(QStringLiteral("Trier les éléments par ordre alphabétique"), group);
    m_sort->setObjectName(QStringLiteral("cbTri"));

    auto *countLabel = new QLabel(QStringLiteral("Nombre d'éléments"), group);
    m_count = new QLineEdit(group);
    m_count->setObjectName(QStringLiteral("Editlignes"));
    m_count->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), m_count));
    m_count->setMaximumWidth(60);
    countLabel->setBuddy(m_count);
    m_countUpDown = new UpDown(m_count, 0, 9999, group);
    m_countUpDown->setObjectName(QStringLiteral("UpDownLignes"));

    auto *sideButtons = new QVBoxLayout;
    sideButtons->addWidget(m_delete);
    sideButtons->addWidget(m_edit);
    auto *arrows = new QHBoxLayout;
    arrows->addWidget(m_upButton);
    arrows->addWidget(m_downButton);
    arrows->addStretch();
    sideButtons->addLayout(arrows);
    sideButtons->addStretch();

    auto *countRow = new QHBoxLayout;
    countRow->addWidget(countLabel);
    countRow->addWidget(m_count);
    countRow->addWidget(m_countUpDown);
    countRow->addStretch();

    auto *grid = new QGridLayout(group);
    grid->addWidget(m_entry, 0, 0);
    grid->addWidget(m_add, 0, 1);
    grid->addWidget(m_list, 1, 0);
    grid->addLayout(sideButtons, 1, 1);
    grid->addWidget(m_sort, 2, 0, 1, 2);
    grid->addLayout(countRow, 3, 0, 1, 2);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BoutOK"));
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("BoutAnnuler"));
    auto *help = new QPushButton(QStringLiteral("Aide"), this);
    help->setObjectName(QStringLiteral("BoutAide"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(group, 1);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { ShowHelpTopic(HelpPage); });
    connect(m_entry, &QLineEdit::textChanged, this, &TListes_Boite::updateButtons);
    connect(m_add, &QPushButton::clicked, this, &TListes_Boite::addOrModify);
    connect(m_delete, &QPushButton::clicked, this, &TListes_Boite::deleteSelected);
    connect(m_upButton, &QToolButton::clicked, this, [this] { moveSelected(-1); });
    connect(m_downButton, &QToolButton::clicked, this, [this] { moveSelected(1); });
    connect(m_edit, &QPushButton::toggled, this, &TListes_Boite::editToggled);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &TListes_Boite::selectionChanged);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        selectRow(m_list->row(item));
        if (m_edit->isChecked())
            m_entry->setText(item->text());
        else
            m_edit->setChecked(true);
    });
    connect(m_sort, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            sortItems();
            itemsChanged();
        }
    });

    itemsChanged();
}

void TListes_Boite::setKind(ListKind kind) {
    m_pages->setCurrentIndex(static_cast<int>(kind));
}

void TListes_Boite::setItems(const QStringList &items) {
    m_edit->setChecked(false);
    m_list->clear();
    m_list->addItems(items);
    itemsChanged();
}

QStringList TListes_Boite::items() const {
    QStringList list;
    for (int i = 0; i < m_list->count(); ++i)
        list.append(m_list->item(i)->text());
    return list;
}

Authoring::ListValues TListes_Boite::values() const {
    Authoring::ListValues v;
    const int page = m_pages->currentIndex();
    v.kind = static_cast<ListKind>(page);
    v.button = m_typeGroups[page]->checkedId();
    v.items = items();
    v.itemCountText = m_count->text();
    return v;
}

void TListes_Boite::prepareForShow() {
    m_edit->setChecked(false);
    m_entry->clear();
    if (m_sort->isChecked()) sortItems();
    itemsChanged();
    m_entry->setFocus();
}

void TListes_Boite::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) prepareForShow();
    QDialog::showEvent(event);
}

int TListes_Boite::selectedRow() const {
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

void TListes_Boite::selectRow(int row) {
    m_list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void TListes_Boite::addOrModify() {
    const QString text = m_entry->text();
    if (text.isEmpty()) return;
    const int row = selectedRow();
    if (m_edit->isChecked() && row >= 0) {
        m_list->item(row)->setText(text);
        if (m_sort->isChecked()) sortItems();
    } else {
        m_list->addItem(text);
        m_list->scrollToItem(m_list->item(m_list->count() - 1));
        if (m_sort->isChecked()) sortItems();
        // Ready for the next item.
        m_entry->clear();
    }
    m_entry->setFocus();
    itemsChanged();
}

void TListes_Boite::deleteSelected() {
    const int row = selectedRow();
    if (row < 0) return;
    delete m_list->takeItem(row);
    m_list->clearSelection();
    itemsChanged();
}

void TListes_Boite::moveSelected(int delta) {
    const int row = selectedRow();
    const int other = row + delta;
    if (row < 0 || other < 0 || other >= m_list->count()) return;
    // A hand-made order ends sorting.
    m_sort->setChecked(false);
    QListWidgetItem *a = m_list->item(row);
    QListWidgetItem *b = m_list->item(other);
    const QString text = a->text();
    a->setText(b->text());
    b->setText(text);
    selectRow(other);
    itemsChanged();
}

void TListes_Boite::editToggled(bool down) {
    if (down) {
        const int row = selectedRow();
        if (row >= 0) m_entry->setText(m_list->item(row)->text());
        m_add->setText(QStringLiteral("Modifier"));
        m_entry->setFocus();
    } else {
        m_entry->clear();
        m_add->setText(QStringLiteral("Ajouter"));
    }
    updateButtons();
}

void TListes_Boite::selectionChanged() {
    if (m_edit->isChecked()) {
        const int row = selectedRow();
        if (row >= 0)
            m_entry->setText(m_list->item(row)->text());
        else
            m_edit->setChecked(false); // nothing left to edit
    }
    updateButtons();
}

void TListes_Boite::sortItems() {
    const QStringList texts = items();
    if (texts.size() < 2) return;
    const int selected = selectedRow();
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<int> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return collator.compare(texts.at(a), texts.at(b)) < 0; });
    int newSelected = -1;
    {
        const QSignalBlocker block(m_list);
        for (int i = 0; i < int(order.size()); ++i) {
            m_list->item(i)->setText(texts.at(order[i]));
            if (order[i] == selected) newSelected = i;
        }
        m_list->clearSelection();
    }
    if (newSelected >= 0)
        selectRow(newSelected);
    else
        updateButtons();
}

void TListes_Boite::itemsChanged() {
    m_count->setText(QString::number(m_list->count()));
    updateButtons();
}

void TListes_Boite::updateButtons() {
    const int row = selectedRow();
    m_add->setEnabled(!m_entry->text().isEmpty());
    m_delete->setEnabled(row >= 0);
    m_edit->setEnabled(row >= 0 || m_edit->isChecked());
    m_upButton->setEnabled(row > 0);
    m_downButton->setEnabled(row >= 0 && row < m_list->count() - 1);
}
