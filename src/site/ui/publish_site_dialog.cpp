#include "site/ui/publish_site_dialog.h"

#include "app/settings_store.h"
#include "app/ui/help.h"
#include "app/ui/ui_services.h"
#include "publish/ftp_texts.h"
#include "publish/ui/ftp_dialogs.h"
#include "publish/ui/ftp_passwords.h"
#include "site/publish_site_texts.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kSection = QStringLiteral("PublierSite");
enum Role { PathRole = Qt::UserRole };
} // namespace

PublishSiteDialog::PublishSiteDialog(SettingsStore *store, FtpPasswords *passwords, QWidget *parent)
    : QDialog(parent), m_store(store), m_passwords(passwords),
      m_publisher(new SitePublisher(this)) {
    setObjectName(QStringLiteral("PublishSiteDialog"));
    setWindowTitle(QStringLiteral("Publier le site"));
    setSizeGripEnabled(true);
    resize(720, 540);

    m_site = new QLineEdit(this);
    m_site->setObjectName(QStringLiteral("EditDossierSite"));
    m_browse = new QPushButton(QStringLiteral("&Parcourir..."), this);
    auto *siteRow = new QHBoxLayout;
    siteRow->addWidget(m_site, 1);
    siteRow->addWidget(m_browse);
    m_sessions = new QComboBox(this);
    m_sessions->setObjectName(QStringLiteral("ComboSession"));
    m_sessions->addItems(FtpSessions::names(*m_store));
    m_remote = new QLineEdit(this);
    m_remote->setObjectName(QStringLiteral("EditDossierDistant"));
    m_remote->setPlaceholderText(QStringLiteral("celui de la session"));
    m_compare = new QPushButton(QStringLiteral("&Comparer"), this);
    auto *remoteRow = new QHBoxLayout;
    remoteRow->addWidget(m_remote, 1);
    remoteRow->addWidget(m_compare);
    auto *siteLabel = new QLabel(QStringLiteral("Dossier du &site :"), this);
    siteLabel->setBuddy(m_site);
    auto *remoteLabel = new QLabel(QStringLiteral("&Dossier distant :"), this);
    remoteLabel->setBuddy(m_remote);
    auto *form = new QFormLayout;
    form->addRow(siteLabel, siteRow);
    form->addRow(QStringLiteral("S&ession FTP :"), m_sessions);
    form->addRow(remoteLabel, remoteRow);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("ListeChangements"));
    m_tree->setAccessibleName(QStringLiteral("Changements à publier"));
    m_tree->setHeaderLabels(
        {QStringLiteral("Fichier"), QStringLiteral("Changement"), QStringLiteral("Taille")});
    m_tree->setColumnWidth(0, 360);
    m_tree->setColumnWidth(1, 200);
    m_tree->setUniformRowHeights(true);

    m_file = new QLabel(this);
    m_file->setTextFormat(Qt::PlainText);
    m_fileBar = new QProgressBar(this);
    m_fileBar->setAccessibleName(QStringLiteral("Progression du fichier"));
    m_allBar = new QProgressBar(this);
    m_allBar->setAccessibleName(QStringLiteral("Progression de la publication"));
    m_allBar->setRange(0, 1000);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("LabelEtat"));
    m_status->setWordWrap(true);
    m_status->setTextFormat(Qt::PlainText);

    m_publish = new QPushButton(QStringLiteral("P&ublier"), this);
    m_publish->setObjectName(QStringLiteral("BoutPublier"));
    m_publish->setEnabled(false);
    m_close = new QPushButton(QStringLiteral("Fermer"), this);
    m_close->setObjectName(QStringLiteral("BoutFermer"));
    auto *help = new QPushButton(QStringLiteral("Aide"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_publish);
    buttons->addWidget(m_close);
    buttons->addWidget(help);

    auto *main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addWidget(m_tree, 1);
    main->addWidget(m_file);
    main->addWidget(m_fileBar);
    main->addWidget(m_allBar);
    main->addWidget(m_status);
    main->addLayout(buttons);

    connect(m_browse, &QPushButton::clicked, this, &PublishSiteDialog::browse);
    connect(m_sessions, &QComboBox::currentIndexChanged, this, &PublishSiteDialog::sessionChanged);
    connect(m_compare, &QPushButton::clicked, this, &PublishSiteDialog::compare);
    connect(m_publish, &QPushButton::clicked, this, &PublishSiteDialog::publish);
    connect(m_close, &QPushButton::clicked, this, &PublishSiteDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { ShowHelpTopic(QStringLiteral("Ressources/publier_site.htm")); });
    // A changed field makes the last comparison stale.
    for (QLineEdit *e : {m_site, m_remote})
        connect(e, &QLineEdit::textEdited, this, [this] { m_publish->setEnabled(false); });

    SitePublisher *p = m_publisher;
    connect(p, &SitePublisher::stage, m_status, &QLabel::setText);
    connect(p, &SitePublisher::compared, this, &PublishSiteDialog::showPlan);
    connect(p, &SitePublisher::compareFailed, this, &PublishSiteDialog::compareFailed);
    connect(p, &SitePublisher::fileStarted, this, &PublishSiteDialog::fileStarted);
    connect(p, &SitePublisher::progress, this, &PublishSiteDialog::progress);
    connect(p, &SitePublisher::fileFinished, this, &PublishSiteDialog::fileFinished);
    connect(p, &SitePublisher::published, this, &PublishSiteDialog::published);

    // The fields of the last publishing.
    m_site->setText(m_store->readString(kSection, QStringLiteral("Dossier"), QString()));
    const int i =
        m_sessions->findText(m_store->readString(kSection, QStringLiteral("Session"), QString()));
    m_sessions->setCurrentIndex(qMax(0, i));
    sessionChanged();
    if (m_sessions->currentText() ==
        m_store->readString(kSection, QStringLiteral("Session"), QString()))
        m_remote->setText(
            m_store->readString(kSection, QStringLiteral("DossierDistant"), m_remote->text()));
    m_status->setText(m_sessions->count() ? QStringLiteral("Cliquez sur Comparer pour voir ce "
                                                           "qui changerait sur le serveur.")
                                          : PublishSiteTexts::noSession());
}

PublishSiteDialog::~PublishSiteDialog() = default;

void PublishSiteDialog::setSiteFolder(const QString &folder) {
    m_site->setText(QDir::toNativeSeparators(folder));
    m_publish->setEnabled(false);
}

QString PublishSiteDialog::siteFolder() const {
    return QDir::fromNativeSeparators(m_site->text().trimmed());
}

void PublishSiteDialog::browse() {
    const QString folder =
        ui().selectFolder(this, QStringLiteral("Dossier du site"), m_site->text());
    if (!folder.isEmpty()) setSiteFolder(folder);
}

void PublishSiteDialog::sessionChanged() {
    m_publish->setEnabled(false);
    if (m_sessions->currentIndex() < 0) return;
    m_session = FtpSessions::read(*m_store, m_sessions->currentText());
    // A password left in plain text by older versions moves to the secret store.
    FtpSessions::movePlainPassword(*m_store, m_session.name, [this](const QString &pw) {
        return m_passwords->store(m_session.name, pw);
    });
    m_session.password.clear();
    m_remote->setText(m_session.folder);
}

void PublishSiteDialog::saveFields() {
    m_store->writeString(kSection, QStringLiteral("Dossier"), m_site->text());
    m_store->writeString(kSection, QStringLiteral("Session"), m_sessions->currentText());
    m_store->writeString(kSection, QStringLiteral("DossierDistant"), m_remote->text());
}

void PublishSiteDialog::setBusy(bool busy) {
    m_busy = busy;
    for (QWidget *w : std::initializer_list<QWidget *>{m_site, m_browse, m_sessions, m_remote,
                                                       m_compare, m_publish})
        w->setEnabled(!busy);
    m_close->setText(busy ? QStringLiteral("Annuler") : QStringLiteral("Fermer"));
    if (!busy) m_publish->setEnabled(m_publisher->hasPlan() && !m_publisher->plan().isEmpty());
}

// ---- comparing ----

void PublishSiteDialog::compare() {
    if (m_busy) return;
    if (m_sessions->currentIndex() < 0) {
        ui().message(MsgType::Warning, MsgButtons::Ok, PublishSiteTexts::noSession());
        return;
    }
    const QString site = siteFolder();
    if (site.isEmpty()) {
        ui().message(MsgType::Warning, MsgButtons::Ok, PublishSiteTexts::noSite());
        return;
    }
    if (!QFileInfo(site).isDir()) {
        ui().message(MsgType::Error, MsgButtons::Ok, PublishSiteTexts::siteMissing(site));
        return;
    }
    FtpSession s = m_session;
    m_promptedPassword = false;
    if (!m_passwords->find(s.name, &s.password) && !s.user.isEmpty() &&
        s.user.compare(QLatin1String("anonymous"), Qt::CaseInsensitive) != 0) {
        TPasswordBox box(s.user, s.host, this);
        if (ui().execDialog(&box) != QDialog::Accepted) return;
        s.password = box.password();
        m_promptedPassword = true;
    }
    saveFields();
    m_tree->clear();
    m_items.clear();
    m_file->clear();
    m_fileBar->setValue(0);
    m_allBar->setValue(0);
    setBusy(true);
    m_publisher->compare(s, site, m_remote->text().trimmed());
    m_session.password = s.password;
}

void PublishSiteDialog::showPlan(const PublishPlan &plan) {
    if (m_promptedPassword) m_passwords->store(m_session.name, m_session.password);
    m_promptedPassword = false;
    m_session.password.clear();
    m_tree->clear();
    m_items.clear();
    auto group = [this](const QString &caption) {
        auto *g = new QTreeWidgetItem(m_tree, {caption});
        QFont f = g->font(0);
        f.setBold(true);
        g->setFont(0, f);
        g->setFirstColumnSpanned(true);
        g->setExpanded(true);
        return g;
    };
    if (!plan.uploads.isEmpty()) {
        QTreeWidgetItem *g = group(QStringLiteral("À envoyer (%1)").arg(plan.uploads.size()));
        for (const PublishItem &i : plan.uploads) {
            auto *item = new QTreeWidgetItem(
                g, {i.path, PublishPlanner::changeText(i.change), PublishSiteTexts::size(i.size)});
            item->setData(0, PathRole, i.path);
            m_items.insert(i.path, item);
        }
    }
    if (!plan.extras.isEmpty()) {
        QTreeWidgetItem *g =
            group(QStringLiteral("Sur le serveur seulement (%1) : cochez ceux à supprimer")
                      .arg(plan.extras.size()));
        for (const PublishItem &i : plan.extras) {
            auto *item = new QTreeWidgetItem(g, {i.path, QStringLiteral("Gardé sur le serveur"),
                                                 PublishSiteTexts::size(i.size)});
            item->setData(0, PathRole, i.path);
            item->setCheckState(0, Qt::Unchecked);
            m_items.insert(i.path, item);
        }
    }
    m_status->setText(PublishSiteTexts::compared(int(plan.uploads.size()), plan.bytes,
                                                 int(plan.extras.size()), plan.unchanged));
    setBusy(false);
    emit comparedShown();
}

void PublishSiteDialog::compareFailed(const FtpReply &reply) {
    setBusy(false);
    m_promptedPassword = m_promptedPassword && !reply.loginRefused;
    if (reply.loginRefused) m_passwords->forget(m_session.name);
    if (reply.aborted) {
        m_status->setText(QStringLiteral("Comparaison annulée."));
        emit comparedShown();
        if (m_closeWhenDone) QDialog::reject();
        return;
    }
    const QString why = !reply.message.isEmpty() ? reply.message : reply.error;
    m_status->setText(why);
    const FtpTrust &t = reply.trust;
    if (t.kind == FtpTrust::None) {
        ui().message(MsgType::Error, MsgButtons::Ok, why);
    } else if (t.changed) {
        ui().message(MsgType::Error, MsgButtons::Ok,
                     t.kind == FtpTrust::Certificate ? FtpTexts::certificateChanged(t.host)
                                                     : FtpTexts::hostKeyChanged(t.host));
    } else {
        const QString question = t.kind == FtpTrust::Certificate
                                     ? FtpTexts::certificateQuestion(t.host, t.fingerprint)
                                     : FtpTexts::hostKeyQuestion(t.host, t.fingerprint);
        if (ui().message(MsgType::Confirmation, MsgButtons::YesNo, question) == MsgAnswer::Yes &&
            m_publisher->client()->trust(t)) {
            compare();
            return;
        }
    }
    emit comparedShown();
}

// ---- publishing ----

QStringList PublishSiteDialog::tickedExtras() const {
    QStringList out;
    for (QTreeWidgetItem *item : m_items)
        if (item->data(0, Qt::CheckStateRole).isValid() && item->checkState(0) == Qt::Checked)
            out << item->data(0, PathRole).toString();
    out.sort();
    return out;
}

void PublishSiteDialog::publish() {
    if (m_busy || !m_publisher->hasPlan()) return;
    const QStringList extras = tickedExtras();
    if (!extras.isEmpty() &&
        ui().message(MsgType::Confirmation, MsgButtons::YesNo,
                     PublishSiteTexts::deleteQuestion(int(extras.size()))) != MsgAnswer::Yes)
        return;
    // What the user agreed to is what is sent: no more ticking from now on.
    for (QTreeWidgetItem *item : m_items)
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    setBusy(true);
    m_publisher->publish(extras);
}

void PublishSiteDialog::fileStarted(const QString &path, qint64 size, int index, int count) {
    m_file->setText(PublishSiteTexts::sending(path, index, count));
    m_fileBar->setRange(0, 1000);
    m_fileBar->setValue(0);
    m_fileBar->setProperty("total", size);
    m_fileBar->setProperty("path", path);
    if (QTreeWidgetItem *item = m_items.value(path)) m_tree->scrollToItem(item);
}

void PublishSiteDialog::progress(const QString &path, qint64 fileBytes, qint64 doneBytes,
                                 qint64 totalBytes) {
    // Two files go at once: the file bar follows the one named above it.
    const qint64 size = m_fileBar->property("total").toLongLong();
    if (path == m_fileBar->property("path").toString())
        m_fileBar->setValue(size > 0 ? int(fileBytes * 1000 / size) : 1000);
    m_allBar->setValue(totalBytes > 0 ? int(doneBytes * 1000 / totalBytes) : 0);
}

void PublishSiteDialog::mark(const QString &path, const QString &text, bool failed) {
    QTreeWidgetItem *item = m_items.value(path);
    if (!item) return;
    item->setText(1, text);
    item->setToolTip(1, text);
    if (failed) item->setForeground(1, QColor(0xb0, 0x00, 0x00));
}

void PublishSiteDialog::fileFinished(const QString &path, bool ok, const QString &error) {
    const bool extra =
        m_items.value(path) && m_items.value(path)->data(0, Qt::CheckStateRole).isValid();
    if (ok)
        mark(path, extra ? QStringLiteral("Supprimé") : QStringLiteral("Envoyé"), false);
    else
        mark(path, QStringLiteral("Échec : ") + error, true);
    if (!m_items.contains(path)) {
        // A folder that could not be made.
        auto *item = new QTreeWidgetItem(m_tree, {path + QLatin1Char('/'), QString()});
        m_items.insert(path, item);
        mark(path, QStringLiteral("Échec : ") + error, true);
    }
}

void PublishSiteDialog::published(const PublishResult &result) {
    for (const QString &path : result.notSent)
        mark(path, PublishSiteTexts::notSent(), true);
    m_file->clear();
    QString text;
    if (result.cancelled)
        text = PublishSiteTexts::cancelled(result.sent, int(result.notSent.size()));
    else if (!result.notSent.isEmpty())
        text = PublishSiteTexts::connectionLost(result.sent, int(result.notSent.size()));
    else
        text = PublishSiteTexts::done(result.sent, result.deleted, int(result.failures.size()));
    m_status->setText(text);
    if (!result.cancelled) m_allBar->setValue(m_allBar->maximum());
    setBusy(false);
    emit publishFinished();
    if (m_closeWhenDone) QDialog::reject();
}

void PublishSiteDialog::reject() {
    if (!m_busy) {
        m_publisher->disconnectFromServer();
        QDialog::reject();
        return;
    }
    // Escape, the close box and "Annuler" while something runs: stop it first.
    if (sender() != m_close && ui().message(MsgType::Confirmation, MsgButtons::YesNo,
                                            PublishSiteTexts::stopQuestion()) != MsgAnswer::Yes)
        return;
    m_closeWhenDone = sender() != m_close;
    m_publisher->cancel();
}
