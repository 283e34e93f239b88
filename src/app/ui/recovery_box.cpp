#include "app/ui/recovery_box.h"

#include "app/recovery_journal.h"
#include "app/ui/help.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TRecuperationBox::TRecuperationBox(const QList<RecoveryItem> &items, QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TRecuperationBox"));
    setWindowTitle(QStringLiteral("Récupération de documents"));
    auto *text = new QLabel(
        QStringLiteral("Balizor ne s'est pas terminé normalement. Les documents suivants "
                       "contenaient des modifications qui n'avaient pas été enregistrées.\n"
                       "Cochez ceux que vous souhaitez récupérer : ils s'ouvriront dans des "
                       "onglets, modifiés, et vous pourrez les enregistrer."),
        this);
    text->setWordWrap(true);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListeDocuments"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels(
        {QStringLiteral("Document"), QStringLiteral("Copie du"), QStringLiteral("Taille")});
    const QLocale fr(QLocale::French);
    for (const RecoveryItem &i : items) {
        auto *row = new QTreeWidgetItem(m_list);
        row->setText(0, i.name);
        row->setToolTip(0, i.name);
        row->setText(1,
                     fr.toString(i.written.toLocalTime(), QStringLiteral("dd/MM/yyyy HH:mm:ss")));
        row->setText(2, Journal::sizeText(i.size));
        row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        row->setCheckState(0, Qt::Checked);
    }
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);

    m_delete =
        new QCheckBox(QStringLiteral("&Supprimer les copies des documents non cochés"), this);
    m_delete->setObjectName(QStringLiteral("cbSupprimer"));

    auto *ok = new QPushButton(QStringLiteral("&Récupérer"), this);
    ok->setObjectName(QStringLiteral("BoutOK"));
    ok->setDefault(true);
    auto *later = new QPushButton(QStringLiteral("Plus &tard"), this);
    later->setObjectName(QStringLiteral("BoutAnnuler"));
    later->setToolTip(QStringLiteral("Ne rien récupérer maintenant : les copies seront "
                                     "proposées au prochain démarrage"));
    auto *help = new QPushButton(QStringLiteral("Aide"), this);
    help->setObjectName(QStringLiteral("BoutAide"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(later, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { ShowHelpTopic(QStringLiteral("Ressources/recuperation.htm")); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(later);
    buttons->addWidget(help);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_delete);
    layout->addLayout(buttons);
    resize(620, 340);
}

RecoveryChoice TRecuperationBox::choice() const {
    RecoveryChoice c;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        c.restore << (m_list->topLevelItem(i)->checkState(0) == Qt::Checked);
    c.deleteDeclined = m_delete->isChecked();
    return c;
}
