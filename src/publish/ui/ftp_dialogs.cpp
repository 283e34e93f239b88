#include "publish/ui/ftp_dialogs.h"

#include "app/ui/ui_services.h"
#include "publish/ftp_names.h"
#include "publish/ftp_texts.h"
#include "app/ui/help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPushButton *addButton(QHBoxLayout *row, const QString &text, const char *name, QWidget *parent) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    row->addWidget(b);
    return b;
}

void refocus(QLineEdit *edit) {
    edit->setFocus();
    edit->selectAll();
}
} // namespace

QString TParamFTPBox::placeholderPassword() {
    return QStringLiteral("motdepasse");
}

TParamFTPBox::TParamFTPBox(bool openMode, const QStringList &others, const QString &editing,
                           QWidget *parent)
    : QDialog(parent), m_openMode(openMode), m_others(others), m_editing(editing) {
    setObjectName(QStringLiteral("TParamFTPBox"));
    setWindowTitle(QStringLiteral("Session"));

    auto *nameLabel = new QLabel(QStringLiteral("Nom de la session : (Ex : Mon site perso)"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("SessionNameEdit"));
    m_name->setMaxLength(50);
    nameLabel->setBuddy(m_name);

    auto *group = new QGroupBox(QStringLiteral(" Connexion "), this);
    auto *grid = new QGridLayout(group);
    m_protocol = new QComboBox(group);
    m_protocol->setObjectName(QStringLiteral("ComboProtocole"));
    m_protocol->addItems({QStringLiteral("FTP"), QStringLiteral("FTP avec TLS (FTPS explicite)"),
                          QStringLiteral("SFTP (SSH)")});
    m_host = new QLineEdit(group);
    m_host->setObjectName(QStringLiteral("FtpServerEdit"));
    m_port = new QLineEdit(group);
    m_port->setObjectName(QStringLiteral("FtpPortEdit"));
    m_port->setValidator(new QIntValidator(1, 65535, m_port));
    m_port->setMaximumWidth(70);
    m_passive = new QCheckBox(QStringLiteral("Utiliser le mode passif"), group);
    m_passive->setObjectName(QStringLiteral("UsePassiveMode"));
    m_user = new QLineEdit(group);
    m_user->setObjectName(QStringLiteral("UserIDEdit"));
    m_password = new QLineEdit(group);
    m_password->setObjectName(QStringLiteral("UserPasswordEdit"));
    m_password->setEchoMode(QLineEdit::Password);
    m_folder = new QLineEdit(group);
    m_folder->setObjectName(QStringLiteral("CurrentDirEdit"));

    // Each field is named by its own label, also those written above their field.
    auto label = [group](const QString &text, QWidget *field) {
        auto *l = new QLabel(text, group);
        l->setBuddy(field);
        return l;
    };
    int row = 0;
    grid->addWidget(label(QStringLiteral("Protocole :"), m_protocol), row, 0);
    grid->addWidget(m_protocol, row++, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Serveur : (Ex : ftp.monsite.fr)"), m_host), row++, 0, 1,
                    4);
    grid->addWidget(m_host, row, 0, 1, 2);
    grid->addWidget(label(QStringLiteral("Port :"), m_port), row, 2, Qt::AlignRight);
    grid->addWidget(m_port, row++, 3);
    grid->addWidget(m_passive, row++, 0, 1, 4);
    grid->addWidget(label(QStringLiteral("Nom d'utilisateur :"), m_user), row, 0);
    grid->addWidget(m_user, row++, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Mot de passe :"), m_password), row, 0);
    grid->addWidget(m_password, row++, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("Dossier distant : (Ex : www/html)"), m_folder), row++, 0,
                    1, 4);
    grid->addWidget(m_folder, row++, 0, 1, 4);

    auto *buttons = new QHBoxLayout;
    QPushButton *help = addButton(buttons, QStringLiteral("&Aide"), "BoutAide", this);
    buttons->addStretch();
    QPushButton *ok = addButton(buttons, QStringLiteral("OK"), "BoutOK", this);
    QPushButton *cancel = addButton(buttons, QStringLiteral("Annuler"), "BoutAnnuler", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TParamFTPBox::accept);
    connect(cancel, &QPushButton::clicked, this, &TParamFTPBox::reject);
    connect(help, &QPushButton::clicked, this, [this] {
        if (m_openMode)
            ShowHelpTopic(QStringLiteral("Ressources/session_ftp_o.htm"));
        else
            ShowHelpTopic(QStringLiteral("Ressources/session_ftp_e.htm"));
    });
    connect(m_protocol, &QComboBox::currentIndexChanged, this, &TParamFTPBox::protocolChanged);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(nameLabel);
    layout->addWidget(m_name);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(360);
}

void TParamFTPBox::protocolChanged(int index) {
    // The usual port follows the protocol unless the user chose another one.
    const QString port = m_port->text().trimmed();
    if (port.isEmpty() || port == QLatin1String("21") || port == QLatin1String("22"))
        m_port->setText(QString::number(FtpSessions::defaultPort(FtpProtocol(index))));
    m_passive->setEnabled(FtpProtocol(index) != FtpProtocol::Sftp);
}

void TParamFTPBox::setSession(const FtpSession &s, bool hasPassword) {
    m_name->setText(s.name);
    m_host->setText(s.host);
    m_port->setText(QString::number(s.port));
    m_protocol->setCurrentIndex(int(s.protocol));
    m_passive->setChecked(s.passive);
    m_passive->setEnabled(s.protocol != FtpProtocol::Sftp);
    m_user->setText(s.user);
    m_password->setText(hasPassword || m_editing.isEmpty() ? placeholderPassword() : QString());
    m_folder->setText(s.folder);
}

bool TParamFTPBox::passwordChanged() const {
    return m_password->text() != placeholderPassword();
}

FtpSession TParamFTPBox::session() const {
    FtpSession s;
    s.name = m_name->text();
    s.host = m_host->text().trimmed();
    s.protocol = FtpProtocol(qMax(0, m_protocol->currentIndex()));
    s.port = FtpSessions::portFromText(m_port->text(), s.protocol);
    s.passive = m_passive->isChecked();
    s.user = m_user->text();
    s.password = passwordChanged() ? m_password->text() : QString();
    s.folder = m_folder->text();
    return s;
}

void TParamFTPBox::accept() {
    const QString error = FtpSessions::nameError(m_name->text(), m_others, m_editing);
    if (!error.isEmpty()) {
        ui().message(MsgType::Plain, MsgButtons::Ok, error);
        refocus(m_name);
        return;
    }
    QDialog::accept();
}

TNewFolderBox::TNewFolderBox(const QString &caption, const QString &label, const QString &initial,
                             QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TNewFolderBox"));
    setWindowTitle(caption);
    auto *text = new QLabel(label, this);
    m_edit = new QLineEdit(initial, this);
    m_edit->setObjectName(QStringLiteral("EditNom"));
    text->setBuddy(m_edit);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = addButton(buttons, QStringLiteral("OK"), "BoutOK", this);
    QPushButton *cancel = addButton(buttons, QStringLiteral("Annuler"), "BoutAnnuler", this);
    m_ok->setDefault(true);
    m_ok->setEnabled(!initial.isEmpty());
    connect(m_edit, &QLineEdit::textChanged, this,
            [this](const QString &t) { m_ok->setEnabled(!t.isEmpty()); });
    connect(m_ok, &QPushButton::clicked, this, &TNewFolderBox::accept);
    connect(cancel, &QPushButton::clicked, this, &TNewFolderBox::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_edit);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(300);
    m_edit->selectAll();
}

QString TNewFolderBox::name() const {
    return m_edit->text();
}

void TNewFolderBox::accept() {
    if (m_edit->text().isEmpty()) return;
    const QString error = FtpNames::typedNameError(m_edit->text());
    if (!error.isEmpty()) {
        ui().message(MsgType::Error, MsgButtons::Ok, error);
        refocus(m_edit);
        return;
    }
    QDialog::accept();
}

TPasswordBox::TPasswordBox(const QString &user, const QString &host, QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TPasswordBox"));
    setWindowTitle(QStringLiteral("Mot de passe"));
    auto *text = new QLabel(FtpTexts::passwordPrompt(user, host), this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("EditMotDePasse"));
    m_edit->setEchoMode(QLineEdit::Password);
    auto *note = new QLabel(
        QStringLiteral("Il sera gardé en mémoire jusqu'à la fermeture du programme."), this);
    note->setWordWrap(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton *ok = addButton(buttons, QStringLiteral("OK"), "BoutOK", this);
    QPushButton *cancel = addButton(buttons, QStringLiteral("Annuler"), "BoutAnnuler", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_edit);
    layout->addWidget(note);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(320);
}

QString TPasswordBox::password() const {
    return m_edit->text();
}
