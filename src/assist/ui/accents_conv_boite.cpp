#include "assist/ui/accents_conv_boite.h"

#include "app/ui/help.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TAccentsConvBoite::TAccentsConvBoite(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AccentsConvBoite"));
    auto *group = new QGroupBox(QStringLiteral(" Remplacer les accents dans : "), this);
    m_selection = new QRadioButton(QStringLiteral("Le texte sélectionné"), group);
    m_selection->setObjectName(QStringLiteral("RadioDocSel"));
    m_document = new QRadioButton(QStringLiteral("Tout le document courant"), group);
    m_document->setObjectName(QStringLiteral("RadioDoc"));
    m_all = new QRadioButton(QStringLiteral("Tous les documents ouverts"), group);
    m_all->setObjectName(QStringLiteral("RadioDocAll"));
    auto *radios = new QVBoxLayout(group);
    radios->addWidget(m_selection);
    radios->addWidget(m_document);
    radios->addWidget(m_all);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BoutOK"));
    ok->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("BoutAnnuler"));
    QPushButton *help = buttons->addButton(QStringLiteral("Aide"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("BoutAide"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { ShowHelpTopic(QStringLiteral("Ressources/accents.htm")); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    prepare(true, false);
}

void TAccentsConvBoite::prepare(bool toReferences, bool hasSelection) {
    setWindowTitle(toReferences ? QStringLiteral("Conversion des accents")
                                : QStringLiteral("Déconversion des accents"));
    (hasSelection ? m_selection : m_document)->setChecked(true);
}

AccentScope TAccentsConvBoite::scope() const {
    if (m_selection->isChecked()) return AccentScope::Selection;
    if (m_all->isChecked()) return AccentScope::AllDocuments;
    return AccentScope::Document;
}
