#include "authoring/ui/form_control_box.h"

#include "app/ui/ui_services.h"
#include "authoring/ui/up_down.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

FormControlBox::FormControlBox(const QString &objectName, const QString &title,
                               std::function<void()> help, QWidget *parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(title);

    auto *nameGroup = new QGroupBox(QStringLiteral(" Nom identificateur "), this);
    m_name = new QLineEdit(nameGroup);
    m_name->setObjectName(QStringLiteral("Edit_id"));
    auto *nameLayout = new QVBoxLayout(nameGroup);
    nameLayout->addWidget(m_name);

    m_body = new QVBoxLayout;

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("BoutOK"));
    m_ok->setDefault(true);
    auto *cancel = m_cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("BoutAnnuler"));
    auto *helpButton = m_help = new QPushButton(QStringLiteral("Aide"), this);
    helpButton->setObjectName(QStringLiteral("BoutAide"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(nameGroup);
    layout->addLayout(m_body, 1);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &FormControlBox::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [help = std::move(help)] { help(); });
}

void FormControlBox::showEvent(QShowEvent *event) {
    if (!m_tabOrderSet) {
        // The buttons were made before each dialog's own controls: Tab must reach
        // those controls first, right after the name.
        m_tabOrderSet = true;
        QList<QWidget *> chain;
        for (QWidget *w = m_help->nextInFocusChain(); w && w != m_name && w != this;
             w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && isAncestorOf(w)) chain << w;
        }
        QWidget *previous = m_name;
        for (QWidget *w : std::as_const(chain) + QList<QWidget *>{m_ok, m_cancel, m_help}) {
            setTabOrder(previous, w);
            previous = w;
        }
    }
    QDialog::showEvent(event);
}

QString FormControlBox::name() const {
    return m_name->text();
}

void FormControlBox::confirm() {
    if (Authoring::NameMissing(m_name->text(), nameRequired())) {
        ui().message(MsgType::Information, MsgButtons::Ok, Authoring::MissingNameMessage());
        m_name->setFocus();
        return;
    }
    accept();
}

NumberField makeNumberField(QWidget *parent, const QString &label, const char *name, int minimum,
                            int maximum, int maxDigits, const QString &text) {
    NumberField f;
    f.label = new QLabel(label, parent);
    f.edit = new QLineEdit(text, parent);
    f.edit->setObjectName(QLatin1String(name));
    f.edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(maxDigits)), f.edit));
    f.edit->setMaxLength(maxDigits);
    f.edit->setMaximumWidth(70);
    f.label->setBuddy(f.edit);
    f.upDown = new UpDown(f.edit, minimum, maximum, parent);
    f.upDown->setObjectName(QStringLiteral("UpDown") + QLatin1String(name));
    return f;
}

ItemListEditor::ItemListEditor(Checks checks, QWidget *parent)
    : QGroupBox(QStringLiteral(" Elément "), parent), m_model(checks == SingleCheck),
      m_checks(checks != NoChecks) {
    m_entry = new QLineEdit(this);
    m_entry->setObjectName(QStringLiteral("Editelt"));
    m_add = new QPushButton(QStringLiteral("&Ajouter"), this);
    m_add->setObjectName(QStringLiteral("BoutAjouter"));
    m_list = new QListWidget(this);
    m_list->setObjectName(m_checks ? QStringLiteral("CheckListBox1") : QStringLiteral("ListBox1"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_delete = new QPushButton(QStringLiteral("&Supprimer"), this);
    m_delete->setObjectName(QStringLiteral("BoutSuppr"));
    m_up = new QToolButton(this);
    m_up->setObjectName(QStringLiteral("BoutHaut"));
    m_up->setArrowType(Qt::UpArrow);
    m_down = new QToolButton(this);
    m_down->setObjectName(QStringLiteral("BoutBas"));
    m_down->setArrowType(Qt::DownArrow);

    auto *side = new QVBoxLayout;
    side->addWidget(m_delete);
    auto *arrows = new QHBoxLayout;
    arrows->addWidget(m_up);
    arrows->addWidget(m_down);
    arrows->addStretch();
    side->addLayout(arrows);
    side->addStretch();

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_entry, 0, 0);
    grid->addWidget(m_add, 0, 1);
    grid->addWidget(m_list, 1, 0);
    grid->addLayout(side, 1, 1);
    if (m_checks) {
        m_checkNew = new QCheckBox(QStringLiteral("Case cochée par défaut"), this);
        m_checkNew->setObjectName(QStringLiteral("CheckChecked"));
        grid->addWidget(m_checkNew, 2, 0, 1, 2);
    }

    connect(m_entry, &QLineEdit::textChanged, this, &ItemListEditor::updateButtons);
    connect(m_add, &QPushButton::clicked, this, &ItemListEditor::add);
    connect(m_delete, &QPushButton::clicked, this, &ItemListEditor::removeCurrent);
    connect(m_up, &QToolButton::clicked, this, [this] { move(true); });
    connect(m_down, &QToolButton::clicked, this, [this] { move(false); });
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_refreshing) return;
        m_model.setCurrent(row);
        updateButtons();
    });
    connect(m_list, &QListWidget::itemChanged, this, &ItemListEditor::itemChecked);
    updateButtons();
}

void ItemListEditor::setDefaultChoice(int row) {
    m_model.setDefaultChoice(row);
}

void ItemListEditor::add() {
    if (!m_model.add(m_entry->text(), m_checkNew && m_checkNew->isChecked())) return;
    m_entry->clear();
    m_entry->setFocus();
    refresh();
    emit itemsChanged();
}

void ItemListEditor::removeCurrent() {
    if (!m_model.removeCurrent()) return;
    refresh();
    emit itemsChanged();
}

void ItemListEditor::move(bool up) {
    if (!(up ? m_model.moveUp() : m_model.moveDown())) return;
    refresh();
    emit itemsChanged();
}

void ItemListEditor::itemChecked(QListWidgetItem *item) {
    if (m_refreshing || !m_checks) return;
    m_model.setChecked(m_list->row(item), item->checkState() == Qt::Checked);
    // In a radio group the box checked before goes out. The items stay in place:
    // this runs while the list is still changing the clicked one.
    m_refreshing = true;
    for (int row = 0; row < m_list->count(); ++row) {
        const Qt::CheckState state = m_model.items().at(row).checked ? Qt::Checked : Qt::Unchecked;
        if (m_list->item(row)->checkState() != state) m_list->item(row)->setCheckState(state);
    }
    m_refreshing = false;
}

void ItemListEditor::refresh() {
    m_refreshing = true;
    m_list->clear();
    for (const Authoring::ItemList::Item &item : m_model.items()) {
        auto *row = new QListWidgetItem(item.text, m_list);
        if (m_checks) {
            row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
            row->setCheckState(item.checked ? Qt::Checked : Qt::Unchecked);
        }
    }
    m_list->setCurrentRow(m_model.current());
    m_refreshing = false;
    updateButtons();
}

void ItemListEditor::updateButtons() {
    m_add->setEnabled(!m_entry->text().isEmpty());
    m_delete->setEnabled(m_model.current() >= 0);
    m_up->setEnabled(m_model.canMoveUp());
    m_down->setEnabled(m_model.canMoveDown());
}
