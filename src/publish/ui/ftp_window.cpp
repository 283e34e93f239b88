#include "publish/ui/ftp_window.h"

#include "app/settings_store.h"
#include "app/ui/ui_services.h"
#include "platform/temp_folder.h"
#include "publish/ftp_names.h"
#include "publish/ftp_texts.h"
#include "publish/ui/ftp_dialogs.h"
#include "publish/ui/ftp_passwords.h"
#include "app/ui/help.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUuid>
#include <QVBoxLayout>
#include <climits>

namespace {
const int kKeepAliveMs = 60000;
const int kMaxMessages = 1000;

QToolButton *toolButton(QWidget *parent, const char *name, QStyle::StandardPixmap icon,
                        const QString &hint) {
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setIconSize(QSize(20, 20));
    return b;
}

QString settingsSection() {
    return FtpSessions::section();
}

// A row of the listing that writes its texts only when asked: filling the list then
// costs one small object per entry, whatever the folder's size, and only the rows
// on screen (or those an assistive tool reads) are ever formatted.
class ListingRow : public QTreeWidgetItem {
public:
    ListingRow(const QList<FtpEntry> *entries, const QIcon *icons, int index)
        : QTreeWidgetItem(UserType), m_entries(entries), m_icons(icons), m_index(index) {}

    QVariant data(int column, int role) const override {
        if (m_index >= m_entries->size()) return QTreeWidgetItem::data(column, role);
        const FtpEntry &e = m_entries->at(m_index);
        switch (role) {
        case Qt::DisplayRole:
            if (column == 0) return FtpNames::printable(e.name);
            if (column == 1) return e.isFolder() ? QString() : QString::number(e.size);
            if (column == 2) return FtpListing::dateText(e.modified);
            break;
        case Qt::DecorationRole:
            if (column == 0) return m_icons[int(e.type)];
            break;
        case Qt::TextAlignmentRole:
            if (column == 1) return int(Qt::AlignRight | Qt::AlignVCenter);
            break;
        case Qt::UserRole:
            if (column == 0) return m_index;
            break;
        default:
            break;
        }
        return QTreeWidgetItem::data(column, role);
    }

private:
    const QList<FtpEntry> *m_entries;
    const QIcon *m_icons; // by FtpEntryType
    int m_index;
};
} // namespace

TOpenFTPBox::TOpenFTPBox(SettingsStore *store, FtpPasswords *passwords, QWidget *parent)
    : QDialog(parent), m_store(store), m_passwords(passwords), m_client(new FtpClient(this)) {
    setObjectName(QStringLiteral("TOpenFTPBox"));
    setWindowTitle(QStringLiteral("Ouvrir via FTP"));
    setMinimumSize(508, 295);
    resize(640, 480);
    setSizeGripEnabled(true);

    // Top row: the sessions.
    auto *sessionLabel = new QLabel(QStringLiteral("Session :"), this);
    m_sessions = new QComboBox(this);
    m_sessions->setObjectName(QStringLiteral("ComboSession"));
    m_sessions->setMinimumWidth(220);
    sessionLabel->setBuddy(m_sessions);
    m_connect =
        toolButton(this, "BoutConnexion", QStyle::SP_DriveNetIcon, QStringLiteral("Connexion"));
    m_connect->setCheckable(true);
    m_params = toolButton(this, "BoutParametres", QStyle::SP_FileDialogDetailedView,
                          QStringLiteral("Paramétrer la session"));
    m_delete = toolButton(this, "BoutSupprimerSession", QStyle::SP_TrashIcon,
                          QStringLiteral("Supprimer la session"));
    m_newSession = toolButton(this, "BoutNouvelleSession", QStyle::SP_FileIcon,
                              QStringLiteral("Paramétrer une nouvelle session"));
    auto *top = new QHBoxLayout;
    top->addWidget(sessionLabel);
    top->addWidget(m_sessions, 1);
    top->addWidget(m_connect);
    top->addWidget(m_params);
    top->addWidget(m_delete);
    top->addWidget(m_newSession);

    // Command row.
    m_up = toolButton(this, "BoutRemonter", QStyle::SP_FileDialogToParent,
                      QStringLiteral("Remonter d'un niveau"));
    m_newFolder = toolButton(this, "BoutNouveauDossier", QStyle::SP_FileDialogNewFolder,
                             QStringLiteral("Créer un nouveau dossier"));
    m_refresh = toolButton(this, "BoutRafraichir", QStyle::SP_BrowserReload,
                           QStringLiteral("Rafraîchir le contenu du répertoire"));
    m_abort = toolButton(this, "BoutInterrompre", QStyle::SP_BrowserStop,
                         QStringLiteral("Annuler l'opération en cours"));
    m_abort->setVisible(false);
    m_path = new QLabel(this);
    m_path->setObjectName(QStringLiteral("LabelChemin"));
    m_path->setToolTip(QStringLiteral("Dossier courant"));
    m_path->setAccessibleName(QStringLiteral("Dossier courant"));
    m_path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_path->setTextFormat(Qt::PlainText);
    auto *commands = new QHBoxLayout;
    commands->addWidget(m_up);
    commands->addWidget(m_newFolder);
    commands->addWidget(m_refresh);
    commands->addWidget(m_abort);
    commands->addStretch();
    commands->addWidget(m_path);

    // The listing.
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("ListeFichiers"));
    // Its own name: the window's title changes with the mode.
    m_list->setAccessibleName(QStringLiteral("Contenu du dossier"));
    m_list->setColumnCount(3);
    m_list->setHeaderLabels(
        {QStringLiteral("Fichier"), QStringLiteral("Taille"), QStringLiteral("Date")});
    m_list->setColumnWidth(0, 250);
    m_list->setColumnWidth(1, 100);
    m_list->setColumnWidth(2, 100);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setSortIndicatorShown(true);
    m_list->setContextMenuPolicy(Qt::NoContextMenu);

    // File name, advice and buttons.
    auto *nameLabel = new QLabel(QStringLiteral("Nom de fichier :"), this);
    m_fileName = new QLineEdit(this);
    m_fileName->setObjectName(QStringLiteral("EditNomFichier"));
    nameLabel->setBuddy(m_fileName);
    m_advice = new QLabel(FtpTexts::spaceAdvice(), this);
    m_advice->setObjectName(QStringLiteral("PanelConseil"));
    m_advice->setStyleSheet(
        QStringLiteral("QLabel { background: #ffffe1; border: 1px solid #c0c0a0; padding: 3px; }"));
    m_advice->setVisible(false);
    m_ok = new QPushButton(QStringLiteral("Ouvrir"), this);
    m_ok->setObjectName(QStringLiteral("BoutOuvrir"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Annuler"), this);
    m_cancel->setObjectName(QStringLiteral("BoutAnnuler"));
    m_help = new QPushButton(QStringLiteral("Aide"), this);
    m_help->setObjectName(QStringLiteral("BoutAide"));
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(m_fileName, 1);
    nameRow->addWidget(m_ok);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_advice, 1);
    buttonRow->addStretch();
    buttonRow->addWidget(m_cancel);
    buttonRow->addWidget(m_help);

    // Messages of the client, then the status bar.
    m_messages = new QListWidget(this);
    m_messages->setObjectName(QStringLiteral("ListeMessages"));
    m_messages->setFrameShape(QFrame::NoFrame);
    m_messages->setFocusPolicy(Qt::NoFocus);
    m_messages->setStyleSheet(
        QStringLiteral("QListWidget { background: palette(window); color: #505050; }"));
    m_messages->setFixedHeight(2 * m_messages->fontMetrics().height() + 6);
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("BarreEtat"));
    m_statusBar->setSizeGripEnabled(false);
    m_progress = new QProgressBar(m_statusBar);
    m_progress->setObjectName(QStringLiteral("BarreProgression"));
    m_progress->setTextVisible(false);
    m_progress->setMaximumHeight(14);
    m_progress->setMinimumWidth(200);
    m_progress->setValue(0);
    m_state = new QLabel(m_statusBar);
    m_state->setObjectName(QStringLiteral("LabelEtat"));
    m_statusBar->addWidget(m_progress, 1);
    m_statusBar->addWidget(m_state, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(commands);
    layout->addWidget(m_list, 1);
    layout->addLayout(nameRow);
    layout->addLayout(buttonRow);
    layout->addWidget(m_messages);
    layout->addWidget(m_statusBar);

    m_keepAlive = new QTimer(this);
    m_keepAlive->setInterval(kKeepAliveMs);

    connect(m_sessions, &QComboBox::currentIndexChanged, this, &TOpenFTPBox::sessionSelected);
    // On toggled, not clicked: a screen reader's "Toggle" only toggles. The button shows
    // the connection, so only a change that disagrees with it is a request.
    connect(m_connect, &QToolButton::toggled, this, [this](bool on) {
        if (on != isConnected()) toggleConnection();
    });
    connect(m_params, &QToolButton::clicked, this,
            [this] { editSession(m_sessions->currentIndex() <= 0); });
    connect(m_delete, &QToolButton::clicked, this, &TOpenFTPBox::deleteSession);
    connect(m_newSession, &QToolButton::clicked, this, [this] { editSession(true); });
    connect(m_up, &QToolButton::clicked, this, &TOpenFTPBox::goUp);
    connect(m_newFolder, &QToolButton::clicked, this, &TOpenFTPBox::newFolder);
    connect(m_refresh, &QToolButton::clicked, this, [this] { listFolder(m_folder); });
    connect(m_abort, &QToolButton::clicked, m_client, &FtpClient::abort);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &TOpenFTPBox::headerClicked);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &TOpenFTPBox::rowSelected);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { mainButton(); });
    connect(m_list, &QWidget::customContextMenuRequested, this, &TOpenFTPBox::contextMenu);
    connect(m_fileName, &QLineEdit::textChanged, this, [this](const QString &t) {
        m_advice->setVisible(m_mode == Mode::Save && t.contains(QLatin1Char(' ')));
    });
    connect(m_ok, &QPushButton::clicked, this, &TOpenFTPBox::mainButton);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this, [this] {
        if (m_mode == Mode::Open)
            ShowHelpTopic(QStringLiteral("Ressources/ouvrir_ftp.htm"));
        else
            ShowHelpTopic(QStringLiteral("Ressources/enregistrer_ftp.htm"));
    });
    auto key = [this](const QKeySequence &k, void (TOpenFTPBox::*slot)()) {
        auto *s = new QShortcut(k, m_list, nullptr, nullptr, Qt::WidgetShortcut);
        connect(s, &QShortcut::activated, this, [this, slot] {
            if (isConnected() && !m_busy) (this->*slot)();
        });
    };
    key(QKeySequence(Qt::Key_Delete), &TOpenFTPBox::deleteSelected);
    key(QKeySequence(Qt::Key_F2), &TOpenFTPBox::renameSelected);
    key(QKeySequence(Qt::Key_Backspace), &TOpenFTPBox::goUp);

    connect(m_keepAlive, &QTimer::timeout, this, [this] {
        if (isConnected() && !m_client->isBusy()) m_client->noop();
    });
    connect(m_client, &FtpClient::status, this, &TOpenFTPBox::statusMessage);
    connect(m_client, &FtpClient::finished, this, &TOpenFTPBox::finished);
    connect(m_client, &FtpClient::connectedChanged, this, &TOpenFTPBox::connectedChanged);
    connect(m_client, &FtpClient::transferStarted, this, &TOpenFTPBox::transferStarted);
    connect(m_client, &FtpClient::transferProgress, this, &TOpenFTPBox::transferProgress);
    updateButtons();
}

TOpenFTPBox::~TOpenFTPBox() = default;

bool TOpenFTPBox::isConnected() const {
    return m_client->isConnected();
}

// ---- showing and closing ----

void TOpenFTPBox::showEvent(QShowEvent *e) {
    if (!m_firstShown) firstShow();
    QDialog::showEvent(e);
}

void TOpenFTPBox::firstShow() {
    m_firstShown = true;
    m_sortColumn =
        qBound(0, m_store->readInteger(settingsSection(), QStringLiteral("TriColonne"), 0), 2);
    m_sortDescending = m_store->readBool(settingsSection(), QStringLiteral("TriInverse"), false);
    m_list->header()->setSortIndicator(m_sortColumn,
                                       m_sortDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
    fillSessions(QString());
    const int last = m_store->readInteger(settingsSection(), QStringLiteral("DerniereSession"), 0);
    if (last > 0 && last < m_sessions->count()) m_sessions->setCurrentIndex(last);
    sessionSelected(m_sessions->currentIndex());
}

void TOpenFTPBox::prepareOpen() {
    if (!m_firstShown) firstShow();
    m_mode = Mode::Open;
    setResult(0);
    setWindowTitle(QStringLiteral("Ouvrir via FTP"));
    m_ok->setText(QStringLiteral("Ouvrir"));
    m_fileName->setReadOnly(true);
    // The emptied name box and the selection must agree.
    m_list->clearSelection();
    m_fileName->clear();
    m_advice->setVisible(false);
    m_downloaded.clear();
}

void TOpenFTPBox::prepareSave(const QString &localFile) {
    if (!m_firstShown) firstShow();
    m_mode = Mode::Save;
    setResult(0);
    m_localFile = localFile;
    m_uploaded = false;
    setWindowTitle(QStringLiteral("Enregistrer via FTP"));
    m_ok->setText(QStringLiteral("Enregistrer"));
    m_fileName->setReadOnly(false);
    m_fileName->setText(QFileInfo(localFile).fileName());
    m_advice->setVisible(m_fileName->text().contains(QLatin1Char(' ')));
}

QString TOpenFTPBox::takeDownloaded() {
    QString d;
    d.swap(m_downloaded);
    return d;
}

void TOpenFTPBox::done(int r) {
    m_closeRequested = false;
    saveState();
    QDialog::done(r);
}

void TOpenFTPBox::reject() {
    if (!m_transfer) {
        QDialog::reject();
        return;
    }
    // A transfer left running would end unseen: a download with no tab, an upload
    // replacing the server's file later.
    if (m_closeRequested || ui().message(MsgType::Confirmation, MsgButtons::YesNo,
                                         FtpTexts::stopTransferQuestion()) != MsgAnswer::Yes)
        return;
    if (!m_transfer) { // it ended while the question was open
        if (result() != QDialog::Accepted) QDialog::reject();
        return;
    }
    m_closeRequested = true;
    m_client->abort();
}

void TOpenFTPBox::saveState() {
    if (!m_firstShown) return;
    m_store->writeInteger(settingsSection(), QStringLiteral("DerniereSession"),
                          qMax(0, m_sessions->currentIndex()));
    m_store->writeInteger(settingsSection(), QStringLiteral("TriColonne"), m_sortColumn);
    m_store->writeBool(settingsSection(), QStringLiteral("TriInverse"), m_sortDescending);
    // No sync here: flushing the settings to disk right after a large download
    // stalled the window; the store writes them later (the file keeps its mode).
}

// ---- sessions ----

void TOpenFTPBox::fillSessions(const QString &select) {
    const QSignalBlocker block(m_sessions);
    m_sessions->clear();
    m_sessions->addItem(FtpTexts::placeholderSession());
    m_sessions->addItems(FtpSessions::names(*m_store));
    const int i = select.isEmpty() ? 0 : m_sessions->findText(select);
    m_sessions->setCurrentIndex(qMax(0, i));
}

void TOpenFTPBox::sessionSelected(int index) {
    if (index > 0) {
        m_session = FtpSessions::read(*m_store, m_sessions->itemText(index));
        // A password left in plain text by older versions moves to the secret store.
        FtpSessions::movePlainPassword(*m_store, m_session.name, [this](const QString &p) {
            return m_passwords->store(m_session.name, p);
        });
        m_session.password.clear();
        m_params->setToolTip(QStringLiteral("Paramétrer la session"));
    } else {
        m_session = FtpSession();
        m_params->setToolTip(QStringLiteral("Paramétrer une nouvelle session"));
    }
    updateButtons();
}

void TOpenFTPBox::editSession(bool create) {
    const QStringList others = FtpSessions::names(*m_store);
    const QString oldName = create ? QString() : m_session.name;
    TParamFTPBox box(m_mode == Mode::Open, others, oldName, this);
    if (create) {
        FtpSession s;
        s.name = FtpSessions::proposedName(others);
        s.user = QStringLiteral("anonymous");
        box.setSession(s, false);
    } else {
        QString p;
        box.setSession(m_session, m_passwords->find(m_session.name, &p));
    }
    if (ui().execDialog(&box) != QDialog::Accepted) return;
    FtpSession s = box.session();
    // A plain password the secret store could not take yet survives the rewrite.
    const QString plain = create ? QString() : FtpSessions::read(*m_store, oldName).password;
    if (!create && s.name != oldName) {
        FtpSessions::erase(*m_store, oldName);
        m_passwords->rename(oldName, s.name);
    }
    FtpSessions::write(*m_store, s);
    if (box.passwordChanged()) {
        if (s.password.isEmpty())
            m_passwords->remove(s.name);
        else
            m_passwords->store(s.name, s.password);
    } else if (!plain.isEmpty()) {
        FtpSessions::keepPlainPassword(*m_store, s.name, plain); // moved by the selection below
    }
    if (create || s.name != oldName) {
        fillSessions(s.name);
        sessionSelected(m_sessions->currentIndex());
    } else {
        sessionSelected(m_sessions->currentIndex());
    }
}

void TOpenFTPBox::deleteSession() {
    const int i = m_sessions->currentIndex();
    if (i <= 0) return;
    const QString name = m_sessions->itemText(i);
    if (ui().message(MsgType::Confirmation, MsgButtons::YesNo, FtpTexts::deleteSession(name)) !=
        MsgAnswer::Yes)
        return;
    FtpSessions::erase(*m_store, name);
    m_passwords->remove(name);
    {
        const QSignalBlocker block(m_sessions);
        m_sessions->removeItem(i);
        m_sessions->setCurrentIndex(0);
    }
    sessionSelected(0);
}

// ---- connection ----

void TOpenFTPBox::toggleConnection() {
    if (isConnected()) {
        disconnectFromServer();
        return;
    }
    m_connect->setChecked(false);
    if (m_sessions->currentIndex() <= 0 || m_busy) return;
    FtpSession s = m_session;
    m_promptedPassword = false;
    if (!m_passwords->find(s.name, &s.password)) {
        if (s.user.isEmpty() ||
            s.user.compare(QLatin1String("anonymous"), Qt::CaseInsensitive) == 0) {
            s.password.clear();
        } else {
            TPasswordBox box(s.user, s.host, this);
            if (ui().execDialog(&box) != QDialog::Accepted) return;
            s.password = box.password();
            m_promptedPassword = true;
        }
    }
    startConnection(s);
}

void TOpenFTPBox::startConnection(const FtpSession &session) {
    m_keepAlive->start();
    run([this, session] { m_client->connectTo(session); },
        [this, session](const FtpReply &reply) {
            if (reply.ok) {
                if (m_promptedPassword) m_passwords->store(session.name, session.password);
                m_promptedPassword = false;
                showListing(reply);
                return;
            }
            // A failed connection leaves no box: the messages are the trace.
            statusMessage(reply.error);
            // Only a refused password is forgotten: after a network failure or a trust
            // question, the one typed is still the right one for this run.
            if (reply.loginRefused) m_passwords->forget(session.name);
            const FtpTrust &t = reply.trust;
            if (t.kind == FtpTrust::None) return;
            if (t.changed) {
                ui().message(MsgType::Error, MsgButtons::Ok,
                             t.kind == FtpTrust::Certificate ? FtpTexts::certificateChanged(t.host)
                                                             : FtpTexts::hostKeyChanged(t.host));
                return;
            }
            const QString question = t.kind == FtpTrust::Certificate
                                         ? FtpTexts::certificateQuestion(t.host, t.fingerprint)
                                         : FtpTexts::hostKeyQuestion(t.host, t.fingerprint);
            if (ui().message(MsgType::Confirmation, MsgButtons::YesNo, question) ==
                    MsgAnswer::Yes &&
                m_client->trust(t))
                startConnection(session);
        });
}

void TOpenFTPBox::disconnectFromServer() {
    if (m_running) m_client->abort();
    m_client->disconnectFromHost();
}

void TOpenFTPBox::connectedChanged(bool connected) {
    m_connect->setChecked(connected);
    m_connect->setToolTip(connected ? QStringLiteral("Se déconnecter")
                                    : QStringLiteral("Se connecter"));
    m_list->setContextMenuPolicy(connected ? Qt::CustomContextMenu : Qt::NoContextMenu);
    if (connected) {
        m_keepAlive->start();
    } else {
        m_keepAlive->stop();
        m_list->clear();
        m_entries.clear();
        m_path->clear();
        m_folder.clear();
        m_state->setText(FtpTexts::disconnected());
    }
    updateButtons();
    emit connectionChanged(connected);
}

void TOpenFTPBox::updateButtons() {
    const bool connected = isConnected();
    const bool real = m_sessions->currentIndex() > 0;
    m_sessions->setEnabled(!connected && !m_busy);
    m_connect->setEnabled(connected || (real && !m_busy));
    m_params->setEnabled(!connected && real && !m_busy);
    m_delete->setEnabled(!connected && real && !m_busy);
    m_newSession->setEnabled(!connected && !m_busy);
    const bool commands = connected && !m_busy;
    m_up->setEnabled(commands);
    m_newFolder->setEnabled(commands);
    m_refresh->setEnabled(commands);
    m_ok->setEnabled(commands);
    m_abort->setVisible(m_running);
}

// ---- requests ----

void TOpenFTPBox::setBusy(bool busy) {
    m_busy = busy;
    updateButtons();
}

void TOpenFTPBox::run(const std::function<void()> &start,
                      const std::function<void(const FtpReply &)> &then) {
    m_then = then;
    setBusy(true);
    start();
}

void TOpenFTPBox::finished(const FtpReply &reply) {
    if (reply.op == FtpOp::Noop) {
        if (!reply.ok) statusMessage(reply.error);
        return;
    }
    if (reply.op == FtpOp::Disconnect) return;
    auto then = std::move(m_then);
    m_then = nullptr;
    setBusy(false);
    if (then) then(reply);
    if (m_closeRequested && !m_busy) QDialog::reject();
}

// ---- listing ----

void TOpenFTPBox::listFolder(const QString &folder) {
    if (!isConnected()) return;
    m_keepAlive->start();
    run([this, folder] { m_client->list(folder); }, [this](const FtpReply &r) { showListing(r); });
}

void TOpenFTPBox::showListing(const FtpReply &reply) {
    if (!reply.ok) {
        if (reply.protocolError)
            ui().message(MsgType::Error, MsgButtons::Ok, FtpTexts::folderUnreachable(reply.folder));
        else if (!reply.aborted)
            ui().message(MsgType::Error, MsgButtons::Ok, reply.error);
        return;
    }
    m_folder = reply.folder;
    m_entries = reply.entries;
    fillRows();
    m_path->setText(m_folder);
    emit listingShown();
}

void TOpenFTPBox::fillRows() {
    FtpListing::sort(m_entries, m_sortColumn, m_sortDescending);
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    if (m_rowIcons.isEmpty())
        m_rowIcons = {style()->standardIcon(QStyle::SP_FileIcon),
                      style()->standardIcon(QStyle::SP_DirIcon),
                      style()->standardIcon(QStyle::SP_FileLinkIcon)};
    // One call for all the rows: the view, and any assistive tool listening, hear of
    // them once.
    QList<QTreeWidgetItem *> rows;
    rows.reserve(m_entries.size());
    for (int i = 0; i < m_entries.size(); ++i)
        rows << new ListingRow(&m_entries, m_rowIcons.constData(), i);
    m_list->addTopLevelItems(rows);
    m_list->header()->setSortIndicator(m_sortColumn,
                                       m_sortDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
    m_list->setUpdatesEnabled(true);
}

void TOpenFTPBox::headerClicked(int column) {
    FtpListing::clickColumn(column, &m_sortColumn, &m_sortDescending);
    fillRows();
}

const FtpEntry *TOpenFTPBox::selectedEntry() const {
    const QList<QTreeWidgetItem *> sel = m_list->selectedItems();
    if (sel.isEmpty()) return nullptr;
    const int i = sel.first()->data(0, Qt::UserRole).toInt();
    return i >= 0 && i < m_entries.size() ? &m_entries[i] : nullptr;
}

void TOpenFTPBox::rowSelected() {
    const FtpEntry *e = selectedEntry();
    if (e && !e->isFolder()) m_fileName->setText(FtpNames::printable(e->name));
}

bool TOpenFTPBox::refuseHostile(const FtpEntry &e) {
    if (FtpNames::isPlainRemoteName(e.name)) return false;
    ui().message(MsgType::Error, MsgButtons::Ok,
                 FtpTexts::hostileName(FtpNames::printable(e.name)));
    return true;
}

// ---- commands ----

void TOpenFTPBox::mainButton() {
    if (m_busy || !isConnected()) return;
    const FtpEntry *e = selectedEntry();
    if (e && e->isFolder()) {
        if (!refuseHostile(*e)) listFolder(FtpNames::join(m_folder, e->name));
        return;
    }
    if (m_mode == Mode::Save) {
        upload();
        return;
    }
    if (e) download(*e);
}

void TOpenFTPBox::goUp() {
    if (m_busy || !isConnected()) return;
    listFolder(FtpNames::parent(m_folder));
}

void TOpenFTPBox::newFolder() {
    if (m_busy || !isConnected()) return;
    TNewFolderBox box(QStringLiteral("Nouveau répertoire"), QStringLiteral("Nom du répertoire :"),
                      QString(), this);
    if (ui().execDialog(&box) != QDialog::Accepted) return;
    const QString name = box.name();
    run([this, name] { m_client->makeFolder(m_folder, name); },
        [this](const FtpReply &r) {
            if (!r.ok)
                ui().message(MsgType::Error, MsgButtons::Ok,
                             r.protocolError ? FtpTexts::cannotMakeFolder() : r.error);
            listFolder(m_folder);
        });
}

void TOpenFTPBox::renameSelected() {
    const FtpEntry *e = selectedEntry();
    if (!e || m_busy || refuseHostile(*e)) return;
    const bool folder = e->isFolder();
    const QString old = e->name;
    TNewFolderBox box(
        folder ? QStringLiteral("Renommer un dossier") : QStringLiteral("Renommer un fichier"),
        folder ? QStringLiteral("Nom du dossier") : QStringLiteral("Nom du fichier"), old, this);
    if (ui().execDialog(&box) != QDialog::Accepted || box.name() == old) return;
    const QString name = box.name();
    run([this, old, name] { m_client->rename(m_folder, old, name); },
        [this, folder](const FtpReply &r) {
            if (!r.ok)
                ui().message(MsgType::Error, MsgButtons::Ok,
                             !r.protocolError ? r.error
                             : folder         ? FtpTexts::cannotRenameFolder()
                                              : FtpTexts::cannotRenameFile());
            listFolder(m_folder);
        });
}

void TOpenFTPBox::deleteSelected() {
    const FtpEntry *e = selectedEntry();
    if (!e || m_busy || refuseHostile(*e)) return;
    const bool folder = e->isFolder();
    const QString name = e->name;
    const QString question = folder ? FtpTexts::deleteFolder(name) : FtpTexts::deleteFile(name);
    if (ui().message(MsgType::Confirmation, MsgButtons::YesNo, question) != MsgAnswer::Yes) return;
    run(
        [this, folder, name] {
            if (folder)
                m_client->deleteFolder(m_folder, name);
            else
                m_client->deleteFile(m_folder, name);
        },
        [this](const FtpReply &r) {
            if (!r.ok)
                ui().message(MsgType::Error, MsgButtons::Ok,
                             r.protocolError ? FtpTexts::cannotDelete() : r.error);
            listFolder(m_folder);
        });
}

void TOpenFTPBox::contextMenu(const QPoint &pos) {
    if (!isConnected() || m_busy) return;
    const FtpEntry *e = selectedEntry();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("MenuFichiers"));
    menu.addAction(QStringLiteral("&Créer un nouveau dossier"), this, &TOpenFTPBox::newFolder);
    menu.addSeparator();
    const bool folder = e && e->isFolder();
    QAction *rename = menu.addAction(folder ? QStringLiteral("Renommer le dossier")
                                            : QStringLiteral("Renommer le fichier"),
                                     this, &TOpenFTPBox::renameSelected);
    QAction *remove = menu.addAction(folder ? QStringLiteral("Supprimer le dossier")
                                            : QStringLiteral("Supprimer le fichier"),
                                     this, &TOpenFTPBox::deleteSelected);
    rename->setVisible(e != nullptr);
    remove->setVisible(e != nullptr);
    menu.exec(m_list->viewport()->mapToGlobal(pos));
}

// ---- transfers ----

void TOpenFTPBox::download(const FtpEntry &e) {
    if (refuseHostile(e)) return;
    QString base = downloadFolder.isEmpty() ? TemporaryFolder() : downloadFolder;
    if (base.isEmpty()) {
        ui().message(MsgType::Error, MsgButtons::Ok,
                     QStringLiteral("Le dossier temporaire du programme n'a pas pu être créé."));
        return;
    }
    if (!base.endsWith(QLatin1Char('/')) && !base.endsWith(QDir::separator()))
        base += QDir::separator();
    QString folder;
    do {
        folder = base + QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
    } while (QFileInfo::exists(folder));
    if (!QDir().mkpath(folder)) {
        ui().message(MsgType::Error, MsgButtons::Ok,
                     QStringLiteral("Impossible de créer le dossier \"") + folder +
                         QLatin1Char('"'));
        return;
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString local = folder + QDir::separator() + e.name;
    m_expected = e.size;
    m_keepAlive->start();
    const QString name = e.name;
    m_transfer = true;
    run([this, name, local] { m_client->download(m_folder, name, local); },
        [this, local, folder](const FtpReply &r) {
            transferEnded();
            if (r.ok) {
                m_state->setText(FtpTexts::transferDone());
                m_downloaded = local;
                emit transferFinished(true);
                done(QDialog::Accepted);
                return;
            }
            QFile::remove(local);
            QDir().rmdir(folder);
            if (r.aborted)
                m_state->setText(FtpTexts::transferAborted());
            else
                ui().message(MsgType::Error, MsgButtons::Ok, r.error);
            emit transferFinished(false);
        });
}

void TOpenFTPBox::upload() {
    const QString name = m_fileName->text();
    if (name.trimmed().isEmpty()) {
        ui().message(MsgType::Warning, MsgButtons::Ok, FtpTexts::fileNameMissing());
        m_fileName->clear();
        m_fileName->setFocus();
        return;
    }
    const QString error = FtpNames::typedNameError(name);
    if (!error.isEmpty()) {
        ui().message(MsgType::Error, MsgButtons::Ok, error);
        m_fileName->setFocus();
        m_fileName->selectAll();
        return;
    }
    m_expected = QFileInfo(m_localFile).size();
    m_keepAlive->start();
    m_transfer = true;
    run([this, name] { m_client->upload(m_localFile, m_folder, name); },
        [this, name](const FtpReply &r) {
            transferEnded();
            if (!r.ok) {
                if (r.aborted)
                    m_state->setText(FtpTexts::transferAborted());
                else if (!r.leftover.isEmpty())
                    ui().message(MsgType::Error, MsgButtons::Ok,
                                 FtpTexts::renameRefused(r.leftover, name));
                else
                    ui().message(MsgType::Error, MsgButtons::Ok,
                                 r.message.isEmpty() ? FtpTexts::uploadFailed(r.error) : r.message);
                emit transferFinished(false);
                return;
            }
            m_state->setText(FtpTexts::transferDone());
            m_uploaded = true;
            run([this] { m_client->list(m_folder); },
                [this](const FtpReply &l) {
                    showListing(l);
                    emit transferFinished(true);
                    done(QDialog::Accepted);
                });
        });
}

void TOpenFTPBox::transferStarted(qint64 total) {
    m_running = true;
    m_abort->setVisible(true);
    m_started.start();
    const qint64 max = total > 0 ? total : m_expected;
    m_scale = max > INT_MAX ? max / INT_MAX + 1 : 1;
    m_progress->setMaximum(int(qMax<qint64>(max / m_scale, 1)));
    m_progress->setValue(0);
    m_speed = 0;
}

void TOpenFTPBox::transferProgress(qint64 bytes) {
    if (!m_running) return;
    const double seconds = m_started.elapsed() / 1000.0;
    if (seconds > 0) {
        m_speed = bytes / 1024.0 / seconds;
        m_state->setText(FtpTexts::speed(m_speed));
    }
    m_progress->setValue(int(qMin<qint64>(bytes / m_scale, m_progress->maximum())));
}

void TOpenFTPBox::transferEnded() {
    m_transfer = false;
    m_running = false;
    m_abort->setVisible(false);
    m_expected = 0;
    m_progress->setValue(0);
    m_speed = 0;
    updateButtons();
}

void TOpenFTPBox::statusMessage(const QString &text) {
    if (text.isEmpty()) return;
    m_messages->addItem(text);
    while (m_messages->count() > kMaxMessages)
        delete m_messages->takeItem(0);
    m_messages->setCurrentRow(m_messages->count() - 1);
}
