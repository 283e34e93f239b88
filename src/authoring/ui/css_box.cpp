#include "authoring/ui/css_box.h"

#include "authoring/ui/insertion_glue.h"
#include "app/ui/help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace Authoring;

namespace {

QHBoxLayout *buttonRow(QDialog *d, QPushButton **ok, bool withHelp) {
    auto *row = new QHBoxLayout;
    row->addStretch();
    *ok = new QPushButton(QStringLiteral("OK"), d);
    (*ok)->setObjectName(QStringLiteral("BoutOK"));
    (*ok)->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), d);
    cancel->setObjectName(QStringLiteral("BoutAnnuler"));
    cancel->setAutoDefault(false);
    row->addWidget(*ok);
    row->addWidget(cancel);
    QObject::connect(*ok, &QPushButton::clicked, d, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, d, &QDialog::reject);
    if (withHelp) {
        auto *help = new QPushButton(QStringLiteral("Aide"), d);
        help->setObjectName(QStringLiteral("BoutAide"));
        help->setAutoDefault(false);
        row->addWidget(help);
        QObject::connect(help, &QPushButton::clicked, d,
                         [] { ShowHelpTopic(QStringLiteral("Ressources/css.htm")); });
    }
    return row;
}

} // namespace

TCSSBox::TCSSBox(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TCSSBox"));
    setWindowTitle(QStringLiteral("Feuille de style"));

    auto *group = new QGroupBox(this);
    m_internal = new QRadioButton(QStringLiteral("Interne"), group);
    m_internal->setObjectName(QStringLiteral("RadioInterne"));
    m_internal->setChecked(true);
    m_external = new QRadioButton(QStringLiteral("Externe"), group);
    m_external->setObjectName(QStringLiteral("RadioExterne"));
    m_address = new QComboBox(group);
    m_address->setObjectName(QStringLiteral("CSSEdit"));
    m_address->setEditable(true);
    m_address->setInsertPolicy(QComboBox::NoInsert);
    m_address->setMinimumWidth(260);
    auto *browse = new QPushButton(QStringLiteral("..."), group);
    browse->setObjectName(QStringLiteral("BoutParcourir"));
    browse->setToolTip(QStringLiteral("Parcourir"));
    browse->setAutoDefault(false);
    browse->setFixedWidth(32);
    auto *grid = new QGridLayout(group);
    grid->addWidget(m_internal, 0, 0, 1, 2);
    grid->addWidget(m_external, 1, 0, 1, 2);
    grid->addWidget(m_address, 2, 0);
    grid->addWidget(browse, 2, 1);

    QPushButton *ok = nullptr;
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttonRow(this, &ok, true));

    connect(m_address, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (!text.isEmpty()) m_external->setChecked(true);
    });
    connect(browse, &QPushButton::clicked, this, &TCSSBox::browse);
}

bool TCSSBox::external() const {
    return m_external->isChecked();
}

QString TCSSBox::address() const {
    return m_address->currentText();
}

void TCSSBox::rememberAddress() {
    m_history = PushHistory(m_history, address());
    m_address->blockSignals(true);
    const QString text = address();
    m_address->clear();
    m_address->addItems(m_history);
    m_address->setEditText(text);
    m_address->blockSignals(false);
}

void TCSSBox::prepareForShow() {
    m_address->blockSignals(true);
    m_address->setEditText(QString());
    m_address->blockSignals(false);
}

void TCSSBox::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) prepareForShow();
    QDialog::showEvent(event);
}

void TCSSBox::browse() {
    if (!m_browser) return;
    const QString url = m_browser();
    if (url.isEmpty()) return;
    m_external->setChecked(true);
    m_address->setEditText(url);
    Markup::SelectPathFolder(m_address->lineEdit());
}

TCssRuleBox::TCssRuleBox(CssRuleKind kind, QWidget *parent) : QDialog(parent), m_kind(kind) {
    m_selector = new QComboBox(this);
    m_selector->setObjectName(QStringLiteral("ComboTags"));
    m_selector->setEditable(true);
    m_selector->setInsertPolicy(QComboBox::NoInsert);
    m_selector->addItems(CssSelectors());
    m_selector->setMaxVisibleItems(16);
    m_selector->setEditText(QString());
    m_selector->completer()->setCompletionMode(QCompleter::InlineCompletion);
    m_selector->completer()->setCaseSensitivity(Qt::CaseInsensitive);

    auto *layout = new QVBoxLayout(this);
    if (kind == CssRuleKind::Tag) {
        setObjectName(QStringLiteral("TFormBalise"));
        setWindowTitle(QStringLiteral("Insérer une nouvelle balise HTML"));
        auto *label = new QLabel(QStringLiteral("Balise HTML :"), this);
        label->setBuddy(m_selector);
        layout->addWidget(label);
        layout->addWidget(m_selector);
    } else {
        const bool isClass = kind == CssRuleKind::Class;
        setObjectName(isClass ? QStringLiteral("TFormClasse") : QStringLiteral("TFormIdent"));
        setWindowTitle(isClass ? QStringLiteral("Insérer une nouvelle classe")
                               : QStringLiteral("Insérer un nouvel identificateur unique"));
        auto *label = new QLabel(isClass ? QStringLiteral("Nom de la classe :")
                                         : QStringLiteral("Identificateur unique :"),
                                 this);
        m_name = new QLineEdit(this);
        m_name->setObjectName(QStringLiteral("EditNom"));
        label->setBuddy(m_name);
        m_restrict =
            new QCheckBox(QStringLiteral("Appliquer uniquement à la balise suivante :"), this);
        m_restrict->setObjectName(QStringLiteral("CheckBalise"));
        m_selector->setEnabled(false);
        layout->addWidget(label);
        layout->addWidget(m_name);
        layout->addWidget(m_restrict);
        layout->addWidget(m_selector);
        connect(m_restrict, &QCheckBox::toggled, m_selector, &QWidget::setEnabled);
        connect(m_name, &QLineEdit::textChanged, this, &TCssRuleBox::updateOk);
    }
    layout->addLayout(buttonRow(this, &m_ok, false));
    setMinimumWidth(300);
    connect(m_selector, &QComboBox::editTextChanged, this, &TCssRuleBox::updateOk);
    updateOk();
}

QString TCssRuleBox::selector() const {
    return m_selector->currentText();
}

QString TCssRuleBox::name() const {
    return m_name ? m_name->text() : QString();
}

bool TCssRuleBox::restricted() const {
    return m_restrict && m_restrict->isChecked();
}

QString TCssRuleBox::opening(bool casse) const {
    return CssRuleOpening(m_kind, selector(), name(), restricted(), casse);
}

void TCssRuleBox::updateOk() {
    m_ok->setEnabled(m_kind == CssRuleKind::Tag ? !selector().isEmpty() : !name().isEmpty());
}
