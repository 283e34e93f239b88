#include "app/document_texts.h"
#include "app/settings_store.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "ftp_test_server.h"
#include "publish/ftp_texts.h"
#include "publish/ui/ftp_commands.h"
#include "publish/ui/ftp_dialogs.h"
#include "publish/ui/ftp_passwords.h"
#include "publish/ui/ftp_window.h"
#include "app/ui/help.h"
#include "test_support.h"
#include "ui/ui_test_support.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTcpServer>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using namespace TestSupport;

namespace {
const char *kScript = BALIZOR_SOURCE_DIR "/tests/support/ftp_test_server.py";

template <typename T> T *child(QObject *o, const char *name) {
    return o->findChild<T *>(QLatin1String(name));
}

QTreeWidgetItem *row(TOpenFTPBox *box, const QString &text) {
    QTreeWidget *list = child<QTreeWidget>(box, "ListeFichiers");
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == text) return list->topLevelItem(i);
    return nullptr;
}

// The accessibility layer as a screen reader uses it: objects found by role and name,
// acted on through their actions and edited through their text interfaces.
QString nameOf(QAccessibleInterface *iface) {
    return iface ? iface->text(QAccessible::Name) : QString();
}

QAccessibleInterface *findAccessible(QAccessibleInterface *root, QAccessible::Role role,
                                     const std::function<bool(const QString &)> &name) {
    if (!root) return nullptr;
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface *c = root->child(i);
        if (!c) continue;
        // Entries of a closed menu count as invisible, yet a reader reaches them.
        if (c->role() == role && (!c->state().invisible || role == QAccessible::MenuItem) &&
            name(nameOf(c)))
            return c;
        if (QAccessibleInterface *found = findAccessible(c, role, name)) return found;
    }
    return nullptr;
}

QAccessibleInterface *findAccessible(QObject *root, QAccessible::Role role, const QString &name) {
    return findAccessible(QAccessible::queryAccessibleInterface(root), role,
                          [&name](const QString &n) { return n == name; });
}

bool act(QAccessibleInterface *iface, const QString &action) {
    if (!iface || !iface->actionInterface() ||
        !iface->actionInterface()->actionNames().contains(action))
        return false;
    iface->actionInterface()->doAction(action);
    return true;
}

// A menu command, by the captions a reader speaks: "Fichier", "FTP", "Ouvrir via FTP...".
bool runMenuCommand(QWidget *window, const QStringList &path) {
    QAccessibleInterface *level = QAccessible::queryAccessibleInterface(window);
    level = findAccessible(level, QAccessible::MenuBar, [](const QString &) { return true; });
    for (const QString &step : path) {
        level = findAccessible(level, QAccessible::MenuItem,
                               [&step](const QString &n) { return n == step; });
        if (!level) return false;
    }
    return act(level, QAccessibleActionInterface::pressAction());
}

QStringList rowNames(TOpenFTPBox *box) {
    QTreeWidget *list = child<QTreeWidget>(box, "ListeFichiers");
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(0);
    return out;
}
} // namespace

class TstFtpUi : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sessionDialog();
    void sessionNamesRefused_data();
    void sessionNamesRefused();
    void passwordAskedAndNeverWritten();
    void typedPasswordKeptForTheRun();
    void downloadEditUploadBack_data();
    void downloadEditUploadBack();
    void abortedDownloadOpensNothing();
    void hostileNamesListedButRefused();
    void browsingSortingAndKeys();
    void untitledDocumentAsksFirst();
    void helpPages();
    void accessibleRoad();
    void plainPasswordKeptUntilStored();
    void unsentEditsStayMarkedAndKept();
    void closingDuringTransferAsks_data();
    void closingDuringTransferAsks();

private:
    // A main window whose settings hold one session for the test server.
    void makeForm();
    // Restarts the server with options, before makeForm().
    bool restartServer(const QStringList &options);
    void selectSession(TOpenFTPBox *box);
    bool connectBox(TOpenFTPBox *box);
    QString remote(const QString &name) const { return m_root->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<FtpTestServer> m_server;
    std::unique_ptr<MainFormFixture> m_fx;
    FtpCommands *m_ftp = nullptr;
    MemoryFtpPasswords *m_passwords = nullptr;
    QString m_downloads;
};

void TstFtpUi::init() {
    m_root.reset(new QTemporaryDir);
    QDir(m_root->path()).mkdir(QStringLiteral("site"));
    QDir(m_root->path()).mkdir(QStringLiteral("site/images"));
    QVERIFY(writeAll(remote(QStringLiteral("site/index.html")), "<p>accueil</p>\r\n"));
    m_server.reset(new FtpTestServer);
    QVERIFY(m_server->start(QString::fromUtf8(kScript), m_root->path()));
}

void TstFtpUi::cleanup() {
    m_fx.reset();
    m_server.reset();
    m_root.reset();
}

bool TstFtpUi::restartServer(const QStringList &options) {
    return m_server->start(QString::fromUtf8(kScript), m_root->path(), options);
}

void TstFtpUi::makeForm() {
    const int port = m_server->port;
    m_fx.reset(new MainFormFixture({}, true, [port](SettingsStore &s) {
        FtpSession f;
        f.name = QStringLiteral("Essai");
        f.host = QStringLiteral("127.0.0.1");
        f.port = port;
        f.user = QStringLiteral("balizor");
        f.folder = QStringLiteral("site");
        f.passive = true;
        FtpSessions::write(s, f);
    }));
    m_ftp = m_fx->form->findChild<FtpCommands *>();
    QVERIFY(m_ftp);
    m_passwords = new MemoryFtpPasswords;
    m_ftp->usePasswords(m_passwords);
    m_downloads = m_fx->path(QStringLiteral("telechargements"));
    QDir().mkpath(m_downloads);
    m_ftp->window()->downloadFolder = m_downloads;
}

void TstFtpUi::selectSession(TOpenFTPBox *box) {
    auto *combo = child<QComboBox>(box, "ComboSession");
    combo->setCurrentIndex(combo->findText(QStringLiteral("Essai")));
}

bool TstFtpUi::connectBox(TOpenFTPBox *box) {
    if (box->isConnected()) return true;
    selectSession(box);
    child<QToolButton>(box, "BoutConnexion")->click();
    return QTest::qWaitFor([box] { return box->isConnected() && !box->currentFolder().isEmpty(); },
                           15000);
}

void TstFtpUi::sessionDialog() {
    makeForm();
    TOpenFTPBox *box = m_ftp->window();
    box->prepareOpen();
    auto *combo = child<QComboBox>(box, "ComboSession");
    QCOMPARE(combo->itemText(0), FtpTexts::placeholderSession());
    QCOMPARE(combo->currentIndex(), 0);
    QVERIFY(!child<QToolButton>(box, "BoutConnexion")->isEnabled());
    QVERIFY(!child<QToolButton>(box, "BoutParametres")->isEnabled());

    // A new session: proposed name, anonymous user, placeholder password.
    QStringList proposed;
    m_fx->ui.onDialog = [&](QDialog *d) {
        if (d->objectName() != QLatin1String("TParamFTPBox")) return false;
        proposed << child<QLineEdit>(d, "SessionNameEdit")->text()
                 << child<QLineEdit>(d, "UserIDEdit")->text()
                 << child<QLineEdit>(d, "FtpPortEdit")->text();
        child<QLineEdit>(d, "FtpServerEdit")->setText(QStringLiteral("ftp.exemple.fr"));
        child<QLineEdit>(d, "UserPasswordEdit")->setText(QStringLiteral("MotSecret7"));
        child<QComboBox>(d, "ComboProtocole")->setCurrentIndex(2);
        child<QPushButton>(d, "BoutOK")->click();
        return d->result() == QDialog::Accepted;
    };
    child<QToolButton>(box, "BoutNouvelleSession")->click();
    QCOMPARE(proposed, (QStringList{"Mon site", "anonymous", "21"}));
    QCOMPARE(combo->currentText(), QStringLiteral("Mon site"));
    QVERIFY(child<QToolButton>(box, "BoutConnexion")->isEnabled());
    const FtpSession stored = FtpSessions::read(*m_fx->store, QStringLiteral("Mon site"));
    QCOMPARE(stored.host, QStringLiteral("ftp.exemple.fr"));
    QCOMPARE(stored.protocol, FtpProtocol::Sftp);
    QCOMPARE(stored.port, 22);
    QString password;
    QVERIFY(m_passwords->find(QStringLiteral("Mon site"), &password));
    QCOMPARE(password, QStringLiteral("MotSecret7"));

    // Renaming it keeps the password; deleting it asks first.
    QString shownPassword;
    m_fx->ui.onDialog = [&](QDialog *d) {
        child<QLineEdit>(d, "SessionNameEdit")->setText(QStringLiteral("Perso"));
        shownPassword = child<QLineEdit>(d, "UserPasswordEdit")->text();
        child<QPushButton>(d, "BoutOK")->click();
        return d->result() == QDialog::Accepted;
    };
    child<QToolButton>(box, "BoutParametres")->click();
    QCOMPARE(combo->currentText(), QStringLiteral("Perso"));
    QCOMPARE(shownPassword, TParamFTPBox::placeholderPassword());
    QVERIFY(!FtpSessions::exists(*m_fx->store, QStringLiteral("Mon site")));
    QVERIFY(m_passwords->find(QStringLiteral("Perso"), &password));
    m_fx->ui.answers = {MsgAnswer::Yes};
    child<QToolButton>(box, "BoutSupprimerSession")->click();
    QCOMPARE(m_fx->ui.lastMessage(), FtpTexts::deleteSession(QStringLiteral("Perso")));
    QCOMPARE(combo->currentIndex(), 0);
    QVERIFY(!FtpSessions::exists(*m_fx->store, QStringLiteral("Perso")));

    // The last session is selected again at the next first showing; one beyond the
    // list leaves the placeholder.
    combo->setCurrentIndex(1);
    box->reject();
    QCOMPARE(m_fx->store->readInteger(QStringLiteral("FTP"), QStringLiteral("DerniereSession"), -1),
             1);
}

void TstFtpUi::sessionNamesRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("taken, other case")
        << "ESSAI" << FtpTexts::sessionNameTaken(QStringLiteral("ESSAI"));
    QTest::newRow("empty") << "" << FtpTexts::sessionNameMissing();
    QTest::newRow("slash") << "a/b" << FtpTexts::sessionNameSlash();
}

void TstFtpUi::sessionNamesRefused() {
    QFETCH(QString, name);
    QFETCH(QString, message);
    makeForm();
    TOpenFTPBox *box = m_ftp->window();
    box->prepareOpen();
    bool stayedOpen = false;
    m_fx->ui.onDialog = [&](QDialog *d) {
        auto *edit = child<QLineEdit>(d, "SessionNameEdit");
        edit->setText(name);
        child<QPushButton>(d, "BoutOK")->click();
        stayedOpen = d->result() != QDialog::Accepted && edit->selectedText() == name;
        return false;
    };
    child<QToolButton>(box, "BoutNouvelleSession")->click();
    QCOMPARE(m_fx->ui.lastMessage(), message);
    QVERIFY(stayedOpen);
    QCOMPARE(FtpSessions::names(*m_fx->store), QStringList{QStringLiteral("Essai")});
}

void TstFtpUi::passwordAskedAndNeverWritten() {
    makeForm();
    TOpenFTPBox *box = m_ftp->window();
    box->prepareOpen();
    int asked = 0;
    m_fx->ui.onDialog = [&](QDialog *d) {
        if (d->objectName() != QLatin1String("TPasswordBox")) return false;
        ++asked;
        child<QLineEdit>(d, "EditMotDePasse")->setText(QStringLiteral("secret"));
        return true;
    };
    QVERIFY(connectBox(box));
    QCOMPARE(asked, 1);
    QCOMPARE(box->currentFolder(), QStringLiteral("/site"));
    QVERIFY(m_ftp->window()->isConnected());
    m_fx->form->findChild<ActionRegistry *>()->runUpdates();
    QVERIFY(m_fx->form->findChild<ActionRegistry *>()
                ->action(QStringLiteral("FileDisconnectFTP"))
                ->isVisible());

    // Disconnect and connect again: the password is remembered for the run.
    m_fx->ui.answers = {MsgAnswer::Yes};
    m_ftp->FileDisconnectFTP();
    QVERIFY(QTest::qWaitFor([box] { return !box->isConnected(); }, 5000));
    QCOMPARE(child<QLabel>(box, "LabelEtat")->text(), FtpTexts::disconnected());
    QVERIFY(connectBox(box));
    QCOMPARE(asked, 1);
    box->reject();
    m_fx->store->sync();
    QFile f(m_fx->store->fileName());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray ini = f.readAll();
    QVERIFY(ini.contains("Essai"));
    QVERIFY(!ini.contains("secret"));
    QVERIFY(!(QFile::permissions(m_fx->store->fileName()) & (QFile::ReadGroup | QFile::ReadOther)));
}

// Without a secret service, the password typed in the session dialog serves the whole
// run, also after a connection that failed for another reason than the password.
void TstFtpUi::typedPasswordKeptForTheRun() {
    makeForm();
    TOpenFTPBox *box = m_ftp->window();
    box->prepareOpen();
    selectSession(box);
    QTcpServer closed; // a port where nothing answers
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const QString deadPort = QString::number(closed.serverPort());
    closed.close();
    int asked = 0;
    QString port = deadPort;
    QString typed = QStringLiteral("secret");
    m_fx->ui.onDialog = [&](QDialog *d) {
        if (d->objectName() == QLatin1String("TPasswordBox")) {
            ++asked;
            child<QLineEdit>(d, "EditMotDePasse")->setText(QStringLiteral("secret"));
            return true;
        }
        child<QLineEdit>(d, "FtpPortEdit")->setText(port);
        if (!typed.isEmpty()) child<QLineEdit>(d, "UserPasswordEdit")->setText(typed);
        child<QPushButton>(d, "BoutOK")->click();
        return d->result() == QDialog::Accepted;
    };
    auto *connectButton = child<QToolButton>(box, "BoutConnexion");
    auto connectOnce = [&] {
        connectButton->click();
        return QTest::qWaitFor([&] { return connectButton->isEnabled() && !box->isTransferring(); },
                               15000) &&
               QTest::qWaitFor([&] { return box->isConnected() || !connectButton->isChecked(); },
                               15000);
    };
    child<QToolButton>(box, "BoutParametres")->click();
    QVERIFY(connectOnce());
    QVERIFY(!box->isConnected());
    // The port mended, the password left as it is shown.
    port = QString::number(m_server->port);
    typed.clear();
    child<QToolButton>(box, "BoutParametres")->click();
    QVERIFY(connectBox(box));
    QCOMPARE(asked, 0);

    // A refused password is forgotten: the next connection asks for it.
    m_fx->ui.answers = {MsgAnswer::Yes};
    m_ftp->FileDisconnectFTP();
    QVERIFY(QTest::qWaitFor([box] { return !box->isConnected(); }, 5000));
    typed = QStringLiteral("faux");
    child<QToolButton>(box, "BoutParametres")->click();
    QVERIFY(connectOnce());
    QVERIFY(!box->isConnected());
    QCOMPARE(asked, 0);
    QVERIFY(connectBox(box));
    QCOMPARE(asked, 1);
}

void TstFtpUi::downloadEditUploadBack_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("added");
    QTest::newRow("Windows-1252") << QByteArray("<p>caf\xe9 \x80</p>\r\n")
                                  << QByteArray("<p>\xe9t\xe9</p>\r\n");
    QTest::newRow("UTF-8") << QByteArray("<p>caf\xc3\xa9 \xe2\x82\xac</p>\n")
                           << QByteArray("<p>\xc3\xa9t\xc3\xa9</p>\n");
}

void TstFtpUi::downloadEditUploadBack() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, added);
    QVERIFY(writeAll(remote(QStringLiteral("site/page #1.html")), bytes));
    makeForm();
    m_passwords->store(QStringLiteral("Essai"), QStringLiteral("secret"));
    auto openOnce = [&] {
        m_fx->ui.onDialog = [&](QDialog *d) {
            auto *box = qobject_cast<TOpenFTPBox *>(d);
            if (!box || !connectBox(box)) return false;
            child<QTreeWidget>(box, "ListeFichiers")
                ->setCurrentItem(row(box, QStringLiteral("page #1.html")));
            if (child<QLineEdit>(box, "EditNomFichier")->text() != QLatin1String("page #1.html"))
                return false;
            child<QPushButton>(box, "BoutOuvrir")->click();
            return QTest::qWaitFor([box] { return box->result() == QDialog::Accepted; }, 15000);
        };
        m_fx->form->findChild<ActionRegistry *>()->action(QStringLiteral("FileOpenFTP"))->trigger();
    };
    auto *tabs = m_fx->form->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    auto ftpDocuments = [tabs] {
        int n = 0;
        for (int i = 0; i < tabs->count(); ++i)
            if (auto *t = qobject_cast<TMyMwCustomEdit *>(tabs->widget(i)))
                n += t->documentKind == KindFtp;
        return n;
    };
    openOnce();
    QCOMPARE(ftpDocuments(), 1);
    auto *e = qobject_cast<TMyMwCustomEdit *>(tabs->currentWidget());
    QVERIFY(e);
    QCOMPARE(e->documentKind, int(KindFtp));
    const QString first = e->fileName;
    QCOMPARE(QFileInfo(first).fileName(), QStringLiteral("page #1.html"));
    QVERIFY(QFileInfo(first).absolutePath().startsWith(m_downloads));
    QVERIFY(QFileInfo(first).dir().dirName().startsWith(QLatin1Char('{')));
    QCOMPARE(readAll(first), bytes);
    QVERIFY(m_fx->form->windowTitle().contains(QStringLiteral("FTP : page #1.html")));

    // The same file again: a second tab with its own copy.
    openOnce();
    auto *second = qobject_cast<TMyMwCustomEdit *>(tabs->currentWidget());
    QVERIFY(second != e);
    QVERIFY(second->fileName != first);
    QCOMPARE(ftpDocuments(), 2);
    QCOMPARE(readAll(second->fileName), bytes);

    // Edit and send back: the local copy is written first, then uploaded.
    second->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
    second->insert(QString::fromUtf8(
        added.startsWith("<p>\xc3") ? added : QString::fromLatin1(added).toUtf8()));
    QVERIFY(second->isModified());
    m_fx->ui.onDialog = [&](QDialog *d) {
        auto *box = qobject_cast<TOpenFTPBox *>(d);
        if (!box || box->mode() != TOpenFTPBox::Mode::Save) return false;
        if (child<QLineEdit>(box, "EditNomFichier")->text() != QLatin1String("page #1.html") ||
            child<QLineEdit>(box, "EditNomFichier")->isReadOnly())
            return false;
        if (!child<QLabel>(box, "PanelConseil")->isVisibleTo(box))
            return false; // the name holds a space
        child<QPushButton>(box, "BoutOuvrir")->click();
        return QTest::qWaitFor(
            [box] { return box->result() == QDialog::Accepted && box->uploaded(); }, 15000);
    };
    m_fx->form->findChild<ActionRegistry *>()->action(QStringLiteral("FileSaveFTP"))->trigger();
    QVERIFY(!second->isModified());
    QVERIFY(!tabs->tabText(tabs->indexOf(second)).endsWith(DocTexts::unsentMark()));
    QCOMPARE(readAll(second->fileName), bytes + added);
    QCOMPARE(readAll(remote(QStringLiteral("site/page #1.html"))), bytes + added);
    QCOMPARE(QDir(remote(QStringLiteral("site"))).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TstFtpUi::abortedDownloadOpensNothing() {
    QByteArray big(50 << 20, 'a');
    QVERIFY(writeAll(remote(QStringLiteral("site/gros.html")), big));
    big.clear();
    makeForm();
    m_passwords->store(QStringLiteral("Essai"), QStringLiteral("secret"));
    auto *tabs = m_fx->form->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    const int before = tabs->count();
    bool sawAbortButton = false;
    m_fx->ui.onDialog = [&](QDialog *d) {
        auto *box = qobject_cast<TOpenFTPBox *>(d);
        if (!box || !connectBox(box)) return false;
        child<QTreeWidget>(box, "ListeFichiers")
            ->setCurrentItem(row(box, QStringLiteral("gros.html")));
        child<QPushButton>(box, "BoutOuvrir")->click();
        auto *abort = child<QToolButton>(box, "BoutInterrompre");
        if (!QTest::qWaitFor([box] { return box->isTransferring(); }, 10000)) return false;
        sawAbortButton = abort->isVisibleTo(box);
        abort->click();
        return QTest::qWaitFor([box] { return !box->isTransferring(); }, 2000) &&
               box->result() != QDialog::Accepted;
    };
    m_ftp->FileOpenFTP();
    QVERIFY(sawAbortButton);
    QCOMPARE(tabs->count(), before);
    TOpenFTPBox *box = m_ftp->window();
    QCOMPARE(child<QLabel>(box, "LabelEtat")->text(), FtpTexts::transferAborted());
    QVERIFY(QDir(m_downloads)
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                .isEmpty());
    for (const ScriptedUi::Message &m : m_fx->ui.messages)
        QVERIFY(m.text != FtpTexts::transferDone());
    QVERIFY(box->isConnected());
}

void TstFtpUi::hostileNamesListedButRefused() {
    QVERIFY(writeAll(remote(QStringLiteral("site/..\\..\\evil.html")), "x"));
    QVERIFY(writeAll(remote(QStringLiteral("site/nom\x1b[2Jcache.html")), "x"));
    makeForm();
    m_passwords->store(QStringLiteral("Essai"), QStringLiteral("secret"));
    TOpenFTPBox *box = m_ftp->window();
    box->prepareOpen();
    QVERIFY(connectBox(box));
    const QStringList names = rowNames(box);
    QVERIFY(names.contains(QStringLiteral("..\\..\\evil.html")));
    QVERIFY(names.contains(QStringLiteral("nom\\x1b[2Jcache.html"))); // made visible
    for (const QString &n :
         {QStringLiteral("..\\..\\evil.html"), QStringLiteral("nom\\x1b[2Jcache.html")}) {
        m_fx->ui.messages.clear();
        child<QTreeWidget>(box, "ListeFichiers")->setCurrentItem(row(box, n));
        child<QPushButton>(box, "BoutOuvrir")->click();
        QCOMPARE(m_fx->ui.messages.size(), 1);
        QCOMPARE(m_fx->ui.lastMessage(), FtpTexts::hostileName(n));
        QVERIFY(box->takeDownloaded().isEmpty());
    }
    QVERIFY(QDir(m_downloads).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    QVERIFY(QFileInfo::exists(remote(QStringLiteral("site/..\\..\\evil.html"))));
}

void TstFtpUi::browsingSortingAndKeys() {
    QVERIFY(writeAll(remote(QStringLiteral("site/b.html")), "0123456789"));
    QVERIFY(writeAll(remote(QStringLiteral("site/A.css")), "0"));
    makeForm();
    m_passwords->store(QStringLiteral("Essai"), QStringLiteral("secret"));
    TOpenFTPBox *box = m_ftp->window();
    box->prepareOpen();
    box->show();
    QVERIFY(connectBox(box));
    QCOMPARE(rowNames(box), (QStringList{"images", "A.css", "b.html", "index.html"}));
    QHeaderView *header = child<QTreeWidget>(box, "ListeFichiers")->header();
    emit header->sectionClicked(0); // descending
    QCOMPARE(rowNames(box), (QStringList{"images", "index.html", "b.html", "A.css"}));
    emit header->sectionClicked(1); // size, ascending
    QCOMPARE(rowNames(box), (QStringList{"images", "A.css", "b.html", "index.html"}));
    emit header->sectionClicked(1); // size, descending: folders still first
    QCOMPARE(rowNames(box), (QStringList{"images", "index.html", "b.html", "A.css"}));

    // Double click enters a folder, Backspace comes back.
    auto *list = child<QTreeWidget>(box, "ListeFichiers");
    list->setCurrentItem(row(box, QStringLiteral("images")));
    emit list->itemDoubleClicked(row(box, QStringLiteral("images")), 0);
    QVERIFY(QTest::qWaitFor([box] { return box->currentFolder() == QLatin1String("/site/images"); },
                            10000));
    QVERIFY(QTest::qWaitFor([box] { return child<QPushButton>(box, "BoutOuvrir")->isEnabled(); },
                            5000));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Backspace);
    QVERIFY(
        QTest::qWaitFor([box] { return box->currentFolder() == QLatin1String("/site"); }, 10000));
    QVERIFY(QTest::qWaitFor([box] { return child<QPushButton>(box, "BoutOuvrir")->isEnabled(); },
                            5000));

    // New folder, with a refused name first (the dialog stays open), then F2 and Delete.
    m_fx->ui.onDialog = [&](QDialog *d) {
        auto *edit = child<QLineEdit>(d, "EditNom");
        edit->setText(QStringLiteral("a\r\nDELE index.html"));
        child<QPushButton>(d, "BoutOK")->click();
        if (d->result() == QDialog::Accepted) return false;
        edit->setText(QStringLiteral("nouveau"));
        child<QPushButton>(d, "BoutOK")->click();
        return d->result() == QDialog::Accepted;
    };
    child<QToolButton>(box, "BoutNouveauDossier")->click();
    QCOMPARE(m_fx->ui.messages.first().text, FtpTexts::controlCharacters());
    QVERIFY(
        QTest::qWaitFor([&] { return rowNames(box).contains(QStringLiteral("nouveau")); }, 10000));
    QVERIFY(QFileInfo(remote(QStringLiteral("site/nouveau"))).isDir());
    QVERIFY(QTest::qWaitFor([box] { return child<QPushButton>(box, "BoutOuvrir")->isEnabled(); },
                            5000));
    list->setCurrentItem(row(box, QStringLiteral("nouveau")));
    m_fx->ui.onDialog = [&](QDialog *d) {
        if (d->windowTitle() != QLatin1String("Renommer un dossier")) return false;
        child<QLineEdit>(d, "EditNom")->setText(QStringLiteral("renommé"));
        return true;
    };
    QTest::keyClick(list, Qt::Key_F2);
    QVERIFY(
        QTest::qWaitFor([&] { return rowNames(box).contains(QStringLiteral("renommé")); }, 10000));
    QVERIFY(QTest::qWaitFor([box] { return child<QPushButton>(box, "BoutOuvrir")->isEnabled(); },
                            5000));
    list->setCurrentItem(row(box, QStringLiteral("renommé")));
    m_fx->ui.answers = {MsgAnswer::Yes};
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(m_fx->ui.lastMessage(), FtpTexts::deleteFolder(QStringLiteral("renommé")));
    QVERIFY(
        QTest::qWaitFor([&] { return !rowNames(box).contains(QStringLiteral("renommé")); }, 10000));
    QVERIFY(!QFileInfo::exists(remote(QStringLiteral("site/renommé"))));

    // The sort is remembered when the window closes.
    box->reject();
    QCOMPARE(m_fx->store->readInteger(QStringLiteral("FTP"), QStringLiteral("TriColonne"), -1), 1);
    QCOMPARE(m_fx->store->readBool(QStringLiteral("FTP"), QStringLiteral("TriInverse"), false),
             true);
}

void TstFtpUi::untitledDocumentAsksFirst() {
    makeForm();
    int shown = 0;
    m_fx->ui.onDialog = [&](QDialog *) {
        ++shown;
        return false;
    };
    m_fx->ui.answers = {MsgAnswer::No};
    m_ftp->FileSaveFTP();
    QCOMPARE(m_fx->ui.lastMessage(), FtpTexts::saveLocallyFirst());
    QCOMPARE(shown, 0);
}

void TstFtpUi::helpPages() {
    QStringList topics;
    makeForm();
    setHelpHandler([&](const QString &t) { topics << t; });
    TOpenFTPBox *box = m_ftp->window();
    box->prepareOpen();
    child<QPushButton>(box, "BoutAide")->click();
    m_fx->ui.onDialog = [&](QDialog *d) {
        child<QPushButton>(d, "BoutAide")->click();
        return false;
    };
    child<QToolButton>(box, "BoutNouvelleSession")->click();
    const QString local = m_fx->writeFile(QStringLiteral("p.html"), "x\r\n");
    box->prepareSave(local);
    child<QPushButton>(box, "BoutAide")->click();
    child<QToolButton>(box, "BoutNouvelleSession")->click();
    QCOMPARE(topics,
             (QStringList{"Ressources/ouvrir_ftp.htm", "Ressources/session_ftp_o.htm",
                          "Ressources/enregistrer_ftp.htm", "Ressources/session_ftp_e.htm"}));
    for (const QString &t : topics)
        QVERIFY2(QFileInfo::exists(QStringLiteral(BALIZOR_SOURCE_DIR "/resources/") + t),
                 qPrintable(t));
    setHelpHandler({});
}

// The road of a screen-reader user: open a file of the server through the FTP window,
// change it, send it back; every control found by its role and spoken name, every
// command given through the accessible actions and texts.
void TstFtpUi::accessibleRoad() {
    QVERIFY(writeAll(remote(QStringLiteral("site/page.html")), "<p>avant</p>\r\n"));
    makeForm();
    // The session used last is chosen when the window opens (the drop-down's own list
    // is not chosen from through its accessible actions).
    m_fx->store->writeInteger(QStringLiteral("FTP"), QStringLiteral("DerniereSession"), 1);
    QAccessible::setActive(true);
    const auto inactive = qScopeGuard([] { QAccessible::setActive(false); });
    QStringList steps; // what went wrong inside the dialogs
    auto stepFailed = [&](const QString &what) {
        steps << what;
        return false;
    };
    m_fx->ui.onDialog = [&](QDialog *d) {
        d->show(); // as the real dialog would be: named when first shown
        QAccessibleInterface *dialog = QAccessible::queryAccessibleInterface(d);
        const QString title = nameOf(dialog);
        if (title == QLatin1String("Mot de passe")) {
            QAccessibleInterface *field =
                findAccessible(dialog, QAccessible::EditableText, [](const QString &n) {
                    return n.startsWith(QLatin1String("Mot de passe de \"balizor\""));
                });
            if (!field || !field->editableTextInterface()) return stepFailed("password field");
            field->editableTextInterface()->insertText(0, QStringLiteral("secret"));
            if (!act(findAccessible(d, QAccessible::Button, QStringLiteral("OK")),
                     QAccessibleActionInterface::pressAction()))
                return stepFailed("password OK");
            // A button's accessible press is an animated click, done a moment later.
            return QTest::qWaitFor([d] { return d->result() == QDialog::Accepted; }, 5000);
        }
        const bool opening = title == QLatin1String("Ouvrir via FTP");
        if (!opening && title != QLatin1String("Enregistrer via FTP"))
            return stepFailed(QStringLiteral("unexpected dialog ") + title);
        QAccessibleInterface *list =
            findAccessible(d, QAccessible::Tree, QStringLiteral("Contenu du dossier"));
        if (!list || !list->tableInterface()) return stepFailed("listing");
        if (list->tableInterface()->rowCount() == 0) {
            // The toggle a reader finds offers "Toggle" only; that must connect.
            if (!act(findAccessible(d, QAccessible::CheckBox, QStringLiteral("Connexion")),
                     QAccessibleActionInterface::toggleAction()))
                return stepFailed("connect toggle");
            if (!QTest::qWaitFor([&] { return list->tableInterface()->rowCount() > 0; }, 15000))
                return stepFailed("no listing after connecting");
            if (!findAccessible(d, QAccessible::CheckBox, QStringLiteral("Se déconnecter")))
                return stepFailed("toggle not renamed once connected");
        }
        if (opening) {
            QAccessibleTableInterface *rows = list->tableInterface();
            int wanted = -1;
            for (int r = 0; r < rows->rowCount(); ++r)
                if (nameOf(rows->cellAt(r, 0)) == QLatin1String("page.html")) wanted = r;
            if (wanted < 0 || !rows->selectRow(wanted)) return stepFailed("row page.html");
        }
        if (!act(findAccessible(d, QAccessible::Button,
                                opening ? QStringLiteral("Ouvrir") : QStringLiteral("Enregistrer")),
                 QAccessibleActionInterface::pressAction()))
            return stepFailed("main button");
        if (!QTest::qWaitFor([d] { return d->isHidden(); }, 15000))
            return stepFailed("transfer did not end");
        return true;
    };

    QVERIFY(runMenuCommand(m_fx->form.get(), {"Fichier", "FTP", "Ouvrir via FTP..."}));
    QVERIFY2(steps.isEmpty(), qPrintable(steps.join(", ")));
    QAccessibleInterface *editor = findAccessible(
        QAccessible::queryAccessibleInterface(m_fx->form.get()), QAccessible::EditableText,
        [](const QString &n) { return n == QLatin1String("Texte du document"); });
    QVERIFY(editor && editor->textInterface() && editor->editableTextInterface());
    QAccessibleTextInterface *text = editor->textInterface();
    QCOMPARE(text->text(0, text->characterCount()), QStringLiteral("<p>avant</p>\r\n"));
    editor->editableTextInterface()->insertText(text->characterCount(),
                                                QStringLiteral("<p>après</p>\r\n"));

    QVERIFY(runMenuCommand(m_fx->form.get(), {"Fichier", "FTP", "Enregistrer via FTP sous..."}));
    QVERIFY2(steps.isEmpty(), qPrintable(steps.join(", ")));
    // An ASCII page is Windows-1252: the accent goes back as one byte.
    QCOMPARE(readAll(remote(QStringLiteral("site/page.html"))),
             QByteArray("<p>avant</p>\r\n<p>apr\xe8s</p>\r\n"));
}

void TstFtpUi::plainPasswordKeptUntilStored() {
    makeForm(); // memory only: the secret service takes nothing
    const QString section = FtpSessions::section() + QStringLiteral("\\Essai");
    const QString key = QStringLiteral("UserPasswordEdit");
    m_fx->store->writeString(section, key, QStringLiteral("ancien")); // an older version's
    TOpenFTPBox *box = m_ftp->window();
    box->prepareOpen();
    selectSession(box);
    QCOMPARE(m_fx->store->readString(section, key, {}), QStringLiteral("ancien"));
    QString password;
    QVERIFY(m_passwords->find(QStringLiteral("Essai"), &password)); // and for this run
    m_fx->ui.onDialog = [](QDialog *) { return true; };
    child<QToolButton>(box, "BoutParametres")->click(); // the session rewritten
    QCOMPARE(m_fx->store->readString(section, key, {}), QStringLiteral("ancien"));
}

void TstFtpUi::unsentEditsStayMarkedAndKept() {
    makeForm();
    // An FTP document as a download leaves it, then edited.
    const QString local = m_fx->writeFile(QStringLiteral("page.html"), "<p>serveur</p>\r\n");
    DocumentManager *docs = m_fx->form->documents();
    docs->OpenDocument(local, false);
    TMyMwCustomEdit *e = docs->ActiveEditor();
    e->documentKind = KindFtp;
    e->insert(QStringLiteral("<p>ajout</p>\r\n"));
    // The window closes without an upload (refused, stopped or never asked for).
    m_fx->ui.onDialog = [](QDialog *) { return false; };
    m_ftp->FileSaveFTP();
    QVERIFY(!e->isModified());
    const QString name = QStringLiteral("page.html");
    QCOMPARE(docs->tabWidget()->tabText(docs->indexOf(e)), name + DocTexts::unsentMark());
    QVERIFY(m_fx->form->windowTitle().endsWith(QStringLiteral("FTP : ") + name +
                                               DocTexts::unsentMark()));
    QCOMPARE(docs->tabCaption(docs->indexOf(e)), name);
    m_fx->ui.answers = {MsgAnswer::No};
    docs->FileClose();
    QCOMPARE(m_fx->ui.lastMessage(), DocTexts::unsentCloseQuestion(name, "\r\n\r\n"));
    QCOMPARE(readAll(local), QByteArray("<p>ajout</p>\r\n<p>serveur</p>\r\n"));
}

void TstFtpUi::closingDuringTransferAsks_data() {
    QTest::addColumn<bool>("upload");
    QTest::addColumn<QString>("how");
    QTest::newRow("download, Annuler") << false << "BoutAnnuler";
    QTest::newRow("download, Escape") << false << "Escape";
    QTest::newRow("download, title bar") << false << "close";
    QTest::newRow("upload, Annuler") << true << "BoutAnnuler";
    QTest::newRow("upload, title bar") << true << "close";
}

void TstFtpUi::closingDuringTransferAsks() {
    QFETCH(bool, upload);
    QFETCH(QString, how);
    const QByteArray old(2 << 20, 'a');
    QVERIFY(writeAll(remote(QStringLiteral("site/gros.html")), old));
    QVERIFY(restartServer({QStringLiteral("--limit"), QString::number(256 << 10)}));
    makeForm();
    m_passwords->store(QStringLiteral("Essai"), QStringLiteral("secret"));
    TOpenFTPBox *box = m_ftp->window();
    if (upload)
        box->prepareSave(m_fx->writeFile(QStringLiteral("gros.html"), QByteArray(2 << 20, 'b')));
    else
        box->prepareOpen();
    box->show();
    QVERIFY(connectBox(box));
    child<QTreeWidget>(box, "ListeFichiers")->setCurrentItem(row(box, QStringLiteral("gros.html")));
    child<QPushButton>(box, "BoutOuvrir")->click();
    QVERIFY(QTest::qWaitFor([box] { return box->isTransferring(); }, 10000));
    auto close = [&] {
        if (how == QLatin1String("Escape"))
            QTest::keyClick(box, Qt::Key_Escape);
        else if (how == QLatin1String("close"))
            box->close();
        else
            child<QPushButton>(box, "BoutAnnuler")->click();
    };
    m_fx->ui.answers = {MsgAnswer::No, MsgAnswer::Yes};
    close(); // "Non": the transfer goes on, the window stays
    QVERIFY(box->isVisible() && box->isTransferring());
    close(); // "Oui": stopped, then the window closes
    QVERIFY(QTest::qWaitFor([box] { return !box->isVisible(); }, 10000));
    QCOMPARE(m_fx->ui.messages.size(), 2);
    QCOMPARE(m_fx->ui.lastMessage(), FtpTexts::stopTransferQuestion());
    QVERIFY(!box->client()->isBusy() && box->takeDownloaded().isEmpty() && !box->uploaded());
    QVERIFY(QDir(m_downloads).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    QCOMPARE(readAll(remote(QStringLiteral("site/gros.html"))), old);
    QTRY_COMPARE_WITH_TIMEOUT(
        QDir(remote(QStringLiteral("site"))).entryList(QDir::Files | QDir::Hidden).size(), 2, 5000);
}

QTEST_MAIN(TstFtpUi)
#include "tst_ftp_ui.moc"
