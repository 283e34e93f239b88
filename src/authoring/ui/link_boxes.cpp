#include "authoring/ui/link_boxes.h"

#include "authoring/ui/insertion_glue.h"
#include "app/ui/help.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kLinkFilter = QStringLiteral(
    "Tous les fichiers "
    "connus|*.htm;*.html;*.shtm;*.shtml;*.asp;*.aspx;*.php;*.php3;*.phtml;*.txt|Fichiers HTML "
    "(*.htm;*.html;*.shtm;*.shtml)|*.htm;*.html;*.shtm;*.shtml|Fichiers ASP "
    "(*.asp;*.aspx)|*.asp;*.aspx|Fichiers PHP (*.php;*.php3;*.phtml)|*.php;*.php3;*.phtml|"
    "Fichiers texte (*.txt)|*.txt|Tous les fichiers (*.*)|*.*");

} // namespace

TLien_Boite::TLien_Boite(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TLien_Boite"));
    setWindowTitle(QStringLiteral("Lien"));
    m_href = DialogParts::historyCombo(this, "Edit_Href");
    auto *browse = DialogParts::browseButton(this);
    m_target = new QComboBox(this);
    m_target->setObjectName(QStringLiteral("edit_target"));
    m_target->setEditable(true);
    m_target->setInsertPolicy(QComboBox::NoInsert);
    m_target->setCompleter(nullptr);
    m_target->addItems({QStringLiteral("_blank"), QStringLiteral("_self"),
                        QStringLiteral("_parent"), QStringLiteral("_top")});
    m_targetText = new QLabel(this);
    m_targetText->setObjectName(QStringLiteral("LabelTarget"));
    m_targetText->setMinimumWidth(330);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Fichier de référence :"), this), 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("HREF ="), this), 1, 0);
    grid->addWidget(m_href, 1, 1);
    grid->addWidget(browse, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Cible :"), this), 2, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("TARGET ="), this), 3, 0);
    grid->addWidget(m_target, 3, 1);
    grid->addWidget(m_targetText, 4, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(DialogParts::okCancelHelp(
        this, [] { ShowHelpTopic(QStringLiteral("Ressources/lien.htm")); }));

    connect(browse, &QToolButton::clicked, this, [this] {
        if (!m_browser) return;
        const auto file = m_browser(kLinkFilter);
        if (!file) return;
        DialogParts::fillBrowsedPath(m_href, file->url);
        m_picked << file->url;
    });
    connect(m_target, &QComboBox::editTextChanged, this,
            [this](const QString &t) { m_targetText->setText(Authoring::TargetDescription(t)); });
    prepareForShow();
}

Authoring::LinkValues TLien_Boite::values() const {
    Authoring::LinkValues v;
    v.address = m_href->currentText();
    v.picked = m_picked.contains(v.address);
    v.target = m_target->currentText();
    return v;
}

void TLien_Boite::rememberCurrent() {
    const QString address = m_href->currentText();
    if (address.isEmpty()) return;
    m_history.add(address);
    DialogParts::setHistory(m_href, m_history.items());
}

void TLien_Boite::prepareForShow() {
    m_href->setEditText(QString());
    m_target->setEditText(QString());
    m_targetText->clear();
}

void TLien_Boite::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) prepareForShow();
    QDialog::showEvent(event);
    m_href->setFocus();
}

TAncre_Boite::TAncre_Boite(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAncre_Boite"));
    setWindowTitle(QStringLiteral("Ancre"));
    m_name = DialogParts::historyCombo(this, "Edit_name");
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Nom du signet :"), this), 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("NAME ="), this), 1, 0);
    grid->addWidget(m_name, 1, 1);
    grid->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(DialogParts::okCancelHelp(
        this, [] { ShowHelpTopic(QStringLiteral("Ressources/ancre.htm")); }));
}

void TAncre_Boite::offerFragments(const QStringList &linkHistory) {
    const Authoring::AnchorOffer offer = Authoring::AnchorNamesFromLinks(linkHistory, m_names);
    m_names = offer.names;
    m_name->clear();
    m_name->addItems(m_names);
    m_name->setEditText(offer.text);
}

QString TAncre_Boite::name() const {
    return m_name->currentText();
}

void TAncre_Boite::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    m_name->setFocus();
}

TMail_Box::TMail_Box(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TMail_Box"));
    setWindowTitle(QStringLiteral("Adresse e-mail"));
    m_mail = new QLineEdit(this);
    m_mail->setObjectName(QStringLiteral("MailEdit"));
    m_mail->setMinimumWidth(280);
    m_subject = new QLineEdit(this);
    m_subject->setObjectName(QStringLiteral("SujetEdit"));
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("e-mail :"), this), 0, 0);
    grid->addWidget(m_mail, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Sujet (optionnel) :"), this), 1, 0);
    grid->addWidget(m_subject, 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(DialogParts::okCancelHelp(
        this, [] { ShowHelpTopic(QStringLiteral("Ressources/email.htm")); }));
}

void TMail_Box::setAddress(const QString &address) {
    m_mail->setText(address);
}

QString TMail_Box::address() const {
    return m_mail->text();
}

QString TMail_Box::subject() const {
    return m_subject->text();
}
