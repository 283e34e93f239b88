#include "assist/ui/document_info_box.h"

#include "app/ui/help.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TBoiteInfo::TBoiteInfo(const DocumentInfoFields &f, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TBoiteInfo"));
    setWindowTitle(QStringLiteral("Informations Document"));
    auto *pages = new QTabWidget(this);
    auto *page = new QWidget(pages);
    pages->addTab(page, QStringLiteral("Général"));
    auto *form = new QFormLayout(page);

    const char *labels[8] = {
        "Nom du document :", "Emplacement :", "Nombre de lignes :", "Nombre de caractères :",
        "Taille :",          "Créé le :",     "Modifié le :",       "Dernier accès le :"};
    const QString values[8] = {f.name, f.path,    f.lines,    f.characters,
                               f.size, f.created, f.modified, f.accessed};
    for (int i = 0; i < 8; ++i) {
        auto *edit = new QLineEdit(values[i], page);
        edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        if (i > 0 || !f.nameEditable) {
            edit->setReadOnly(true);
            if (i > 0) edit->setFrame(false);
        }
        edit->setMinimumWidth(320);
        edit->installEventFilter(this);
        m_edits[i] = edit;
        form->addRow(QString::fromUtf8(labels[i]), edit);
    }
    m_readOnly = new QCheckBox(QStringLiteral("&Lecture seule"), page);
    m_readOnly->setObjectName(QStringLiteral("cbLectureSeule"));
    m_hidden = new QCheckBox(QStringLiteral("Cac&hé"), page);
    m_hidden->setObjectName(QStringLiteral("cbCache"));
    m_archive = new QCheckBox(QStringLiteral("&Archive"), page);
    m_archive->setObjectName(QStringLiteral("cbArchive"));
    m_readOnly->setChecked(f.readOnly);
    m_hidden->setChecked(f.hidden);
    m_archive->setChecked(f.archive);
    m_readOnly->setEnabled(f.readOnlyEnabled);
    m_hidden->setEnabled(f.hiddenArchiveEnabled);
    m_archive->setEnabled(f.hiddenArchiveEnabled);
    auto *attrs = new QHBoxLayout;
    attrs->addWidget(m_readOnly);
    attrs->addWidget(m_hidden);
    attrs->addWidget(m_archive);
    attrs->addStretch();
    form->addRow(QStringLiteral("Attributs :"), attrs);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BoutOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("BoutAnnuler"));
    auto *help = new QPushButton(QStringLiteral("Aide"), this);
    help->setObjectName(QStringLiteral("BoutAide"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { ShowHelpTopic(QStringLiteral("Ressources/infos_document.htm")); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TBoiteInfo::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (auto *edit = qobject_cast<QLineEdit *>(watched)) {
            edit->selectAll();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString TBoiteInfo::name() const {
    return m_edits[0]->text();
}
bool TBoiteInfo::readOnly() const {
    return m_readOnly->isChecked();
}
bool TBoiteInfo::hidden() const {
    return m_hidden->isChecked();
}
bool TBoiteInfo::archive() const {
    return m_archive->isChecked();
}
