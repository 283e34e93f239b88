#include "ftp_test_server.h"
#include "site/publish_run.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Publishing a site to real servers: the test FTP server (and its ways of
// refusing) and an OpenSSH server for SFTP.
class TstPublishRun : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void publishOnlyWhatChanged_data();
    void publishOnlyWhatChanged();
    void cancelLeavesOldOrNewThenRepublishSendsTheRest();
    void droppedConnectionListsTheRest();
    void sftp();

private:
    bool startFtp(const QStringList &extra = {});
    FtpSession session() const;
    // Runs a comparison to its end; the plan, or a failed test.
    bool compare(const FtpSession &s, const QString &remote = QStringLiteral("/www"));
    PublishResult publish(const QStringList &extras = {});
    QStringList paths(const QList<PublishItem> &items) const;
    QString change(const QString &path) const;
    void makeSite(int files, int size);
    // The server's files under www, with their bytes; temporary ones included.
    QMap<QString, QByteArray> server() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_site, m_root;
    FtpTestServer m_server;
    SitePublisher *m_publisher = nullptr;
};

namespace {
const char *kScript = BALIZOR_SOURCE_DIR "/tests/support/ftp_test_server.py";
} // namespace

void TstPublishRun::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_site = m_dir->filePath(QStringLiteral("mon site"));
    m_root = m_dir->filePath(QStringLiteral("serveur"));
    QVERIFY(QDir().mkpath(m_site) && QDir().mkpath(m_root));
    m_publisher = new SitePublisher;
    m_publisher->setStateFolder(m_dir->filePath(QStringLiteral("données")));
    m_publisher->setTrustFolder(m_dir->filePath(QStringLiteral("confiance")));
}

void TstPublishRun::cleanup() {
    delete m_publisher;
    m_publisher = nullptr;
    m_server.stop();
    m_dir.reset();
}

bool TstPublishRun::startFtp(const QStringList &extra) {
    return m_server.start(QString::fromUtf8(kScript), m_root, extra);
}

FtpSession TstPublishRun::session() const {
    FtpSession s;
    s.name = QStringLiteral("essai");
    s.host = QStringLiteral("127.0.0.1");
    s.port = m_server.port;
    s.user = QStringLiteral("balizor");
    s.password = QStringLiteral("secret");
    s.passive = true;
    return s;
}

bool TstPublishRun::compare(const FtpSession &s, const QString &remote) {
    QSignalSpy done(m_publisher, &SitePublisher::compared);
    QSignalSpy failed(m_publisher, &SitePublisher::compareFailed);
    m_publisher->compare(s, m_site, remote);
    if (!QTest::qWaitFor([&] { return !done.isEmpty() || !failed.isEmpty(); }, 30000)) return false;
    if (!failed.isEmpty()) qWarning() << failed.first().first().value<FtpReply>().error;
    return !done.isEmpty();
}

PublishResult TstPublishRun::publish(const QStringList &extras) {
    QSignalSpy done(m_publisher, &SitePublisher::published);
    m_publisher->publish(extras);
    if (!done.wait(60000)) return PublishResult{0, 0, true, {{"", "timeout"}}, {}};
    return done.first().first().value<PublishResult>();
}

QStringList TstPublishRun::paths(const QList<PublishItem> &items) const {
    QStringList out;
    for (const PublishItem &i : items)
        out << i.path;
    return out;
}

QString TstPublishRun::change(const QString &path) const {
    for (const PublishItem &i : m_publisher->plan().uploads + m_publisher->plan().extras)
        if (i.path == path) return PublishPlanner::changeText(i.change);
    return {};
}

void TstPublishRun::makeSite(int files, int size) {
    for (int i = 0; i < files; ++i) {
        const QString path = QStringLiteral("%1/page %2.html").arg(i % 2 ? "été" : "doc/a").arg(i);
        QDir(m_site).mkpath(QFileInfo(QDir(m_site).filePath(path)).path());
        QVERIFY(TestSupport::writeAll(QDir(m_site).filePath(path),
                                      QByteArray(size, char('a' + i % 26))));
    }
}

QMap<QString, QByteArray> TstPublishRun::server() const {
    QMap<QString, QByteArray> out;
    const QString www = m_root + QStringLiteral("/www");
    QDirIterator it(www, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString f = it.next();
        out.insert(f.mid(www.size() + 1), TestSupport::readAll(f));
    }
    return out;
}

void TstPublishRun::publishOnlyWhatChanged_data() {
    QTest::addColumn<QStringList>("serverOptions");
    QTest::newRow("plain") << QStringList();
    QTest::newRow("no MLSD") << QStringList{QStringLiteral("--no-mlsd")};
    QTest::newRow("no rename over a file") << QStringList{QStringLiteral("--refuse-replace")};
}

void TstPublishRun::publishOnlyWhatChanged() {
    QFETCH(QStringList, serverOptions);
    QVERIFY(startFtp(serverOptions));
    makeSite(6, 300);
    QVERIFY(TestSupport::writeAll(m_site + QStringLiteral("/index.html"), "<p>accueil</p>"));

    // First time: the publishing folder and everything in it are made.
    QVERIFY(compare(session()));
    QCOMPARE(m_publisher->plan().uploads.size(), 7);
    QCOMPARE(change("index.html"), QStringLiteral("Nouveau"));
    QCOMPARE(m_publisher->plan().folders, QStringList({"", "doc", "été", "doc/a"}));
    QVERIFY(server().isEmpty()); // nothing before the user agreed
    PublishResult r = publish();
    QVERIFY(r.failures.isEmpty());
    QCOMPARE(r.sent, 7);
    QCOMPARE(server().size(), 7);
    QCOMPARE(server().value("index.html"), QByteArray("<p>accueil</p>"));

    // Nothing changed: nothing to send.
    QVERIFY(compare(session()));
    QVERIFY(m_publisher->plan().isEmpty());
    QCOMPARE(m_publisher->plan().unchanged, 7);

    // A page changed (same size), one deleted on the server, one only there.
    QVERIFY(TestSupport::writeAll(m_site + QStringLiteral("/index.html"), "<p>ACCUEIL</p>"));
    QVERIFY(QFile::remove(m_root + QStringLiteral("/www/été/page 1.html")));
    QVERIFY(TestSupport::writeAll(m_root + QStringLiteral("/www/vieux.html"), "ancien"));
    QVERIFY(TestSupport::writeAll(m_root + QStringLiteral("/www/doc/garde.html"), "gardé"));
    QVERIFY(compare(session()));
    QCOMPARE(paths(m_publisher->plan().uploads), QStringList({"index.html", "été/page 1.html"}));
    QCOMPARE(change("index.html"), QStringLiteral("Modifié"));
    QCOMPARE(change("été/page 1.html"), QStringLiteral("Absent du serveur"));
    QCOMPARE(paths(m_publisher->plan().extras), QStringList({"doc/garde.html", "vieux.html"}));
    // Only the ticked one goes.
    r = publish({QStringLiteral("vieux.html")});
    QVERIFY(r.failures.isEmpty());
    QCOMPARE(r.sent, 2);
    QCOMPARE(r.deleted, 1);
    const QMap<QString, QByteArray> now = server();
    QCOMPARE(now.value("index.html"), QByteArray("<p>ACCUEIL</p>"));
    QVERIFY(now.contains("été/page 1.html") && now.contains("doc/garde.html"));
    QVERIFY(!now.contains("vieux.html"));
    QCOMPARE(now.size(), 8); // no temporary or set-aside file left
}

void TstPublishRun::cancelLeavesOldOrNewThenRepublishSendsTheRest() {
    // Slow enough that the cancel comes while files are still to go.
    QVERIFY(startFtp({QStringLiteral("--limit"), QStringLiteral("40000")}));
    makeSite(8, 20000);
    QVERIFY(compare(session()));
    QSignalSpy finished(m_publisher, &SitePublisher::fileFinished);
    connect(m_publisher, &SitePublisher::fileFinished, m_publisher, &SitePublisher::cancel);
    const PublishResult r = publish();
    QVERIFY(r.cancelled);
    QVERIFY(r.failures.isEmpty());
    // Files already queued on the two connections may still go, whole.
    QVERIFY(r.sent >= 1 && r.sent <= 4);
    QCOMPARE(r.notSent.size(), 8 - r.sent);
    // The sent ones whole, the others absent: no half file, no temporary one.
    const QMap<QString, QByteArray> after = server();
    QCOMPARE(after.size(), r.sent);
    for (const QByteArray &b : after)
        QCOMPARE(b.size(), 20000);

    disconnect(m_publisher, &SitePublisher::fileFinished, m_publisher, &SitePublisher::cancel);
    QVERIFY(compare(session()));
    QStringList rest = r.notSent;
    rest.sort();
    QCOMPARE(paths(m_publisher->plan().uploads), rest);
    m_server.stop();
    QVERIFY(startFtp());
    QVERIFY(compare(session()));
    QCOMPARE(publish().sent, 8 - r.sent);
    QCOMPARE(server().size(), 8);
}

void TstPublishRun::droppedConnectionListsTheRest() {
    QVERIFY(startFtp({QStringLiteral("--limit"), QStringLiteral("40000")}));
    makeSite(6, 20000);
    QVERIFY(compare(session()));
    // The server goes away after the first file.
    bool stopped = false;
    connect(m_publisher, &SitePublisher::fileFinished, this, [&] {
        if (!stopped) m_server.stop();
        stopped = true;
    });
    const PublishResult r = publish();
    QVERIFY(!r.cancelled);
    QVERIFY(r.sent >= 1 && r.sent <= 4);
    // A few fail as the connection is found gone, the rest is not tried.
    QCOMPARE(r.failures.size() + r.notSent.size(), 6 - r.sent);
    QVERIFY(!r.failures.isEmpty());

    // Back again: only what is missing goes. A temporary file the server kept
    // when it went away is listed apart, and goes when ticked.
    QVERIFY(startFtp());
    QVERIFY(compare(session()));
    QCOMPARE(m_publisher->plan().uploads.size(), 6 - r.sent);
    const QStringList leftovers = paths(m_publisher->plan().extras);
    for (const QString &p : leftovers)
        QVERIFY2(p.endsWith(QLatin1String(".part")), qPrintable(p));
    const PublishResult again = publish(leftovers);
    QCOMPARE(again.sent, 6 - r.sent);
    QCOMPARE(again.deleted, leftovers.size());
    QCOMPARE(server().size(), 6);
    for (const QByteArray &b : server())
        QCOMPARE(b.size(), 20000);
}

void TstPublishRun::sftp() {
    QVERIFY2(QFileInfo::exists(QStringLiteral("/usr/sbin/sshd")),
             "no OpenSSH server (/usr/sbin/sshd): bash scripts/install-deps.sh installs it");
    if (!QFileInfo::exists(QStringLiteral("/run/sshd")) &&
        !QDir().mkpath(QStringLiteral("/run/sshd")))
        QSKIP("making /run/sshd, which sshd insists on, needs the administrator's rights");
    const QString dir = m_dir->path();
    for (const char *key : {"host_key", "id_ecdsa"}) {
        QProcess p;
        p.start(QStringLiteral("ssh-keygen"), {"-q", "-t", "ecdsa", "-b", "256", "-m", "PEM", "-N",
                                               "", "-f", dir + QLatin1Char('/') + key});
        QVERIFY(p.waitForFinished(30000) && p.exitCode() == 0);
    }
    QVERIFY(QFile::copy(dir + "/id_ecdsa.pub", dir + "/authorized_keys"));
    QVERIFY(TestSupport::writeAll(
        dir + "/sshd_config",
        QStringLiteral("ListenAddress 127.0.0.1\nHostKey %1/host_key\nPidFile %1/sshd.pid\n"
                       "AuthorizedKeysFile %1/authorized_keys\nStrictModes no\nUsePAM no\n"
                       "PasswordAuthentication no\nKbdInteractiveAuthentication no\n"
                       "PubkeyAuthentication yes\nPermitRootLogin prohibit-password\n"
                       "Subsystem sftp internal-sftp\n")
            .arg(dir)
            .toUtf8()));
    QProcess sshd;
    const int port = 21000 + int(QCoreApplication::applicationPid() % 20000);
    sshd.start(QStringLiteral("/usr/sbin/sshd"),
               {"-D", "-e", "-f", dir + "/sshd_config", "-p", QString::number(port)});
    QByteArray log;
    QVERIFY(QTest::qWaitFor(
        [&] {
            log += sshd.readAllStandardError();
            return log.contains("Server listening") || sshd.state() == QProcess::NotRunning;
        },
        5000));
    QVERIFY2(sshd.state() == QProcess::Running, log.constData());
    m_publisher->setSshKeyFile(dir + "/id_ecdsa");

    FtpSession s;
    s.name = QStringLiteral("sftp");
    s.protocol = FtpProtocol::Sftp;
    s.host = QStringLiteral("127.0.0.1");
    s.port = port;
    s.user = qEnvironmentVariable("USER", QStringLiteral("root"));
    makeSite(4, 1000);
    // The host key is asked about first, as in the FTP window.
    QSignalSpy failed(m_publisher, &SitePublisher::compareFailed);
    QVERIFY(!compare(s, m_root + QStringLiteral("/www")));
    const FtpReply refused = failed.first().first().value<FtpReply>();
    QCOMPARE(refused.trust.kind, FtpTrust::HostKey);
    QVERIFY(m_publisher->client()->trust(refused.trust));
    QVERIFY(compare(s, m_root + QStringLiteral("/www")));
    QCOMPARE(m_publisher->plan().uploads.size(), 4);
    QVERIFY(publish().failures.isEmpty());
    QCOMPARE(server().size(), 4);
    QVERIFY(TestSupport::writeAll(m_site + QStringLiteral("/été/page 1.html"), "nouveau"));
    QVERIFY(compare(s, m_root + QStringLiteral("/www")));
    QCOMPARE(paths(m_publisher->plan().uploads), QStringList({"été/page 1.html"}));
    QCOMPARE(publish().sent, 1);
    QCOMPARE(server().value("été/page 1.html"), QByteArray("nouveau"));
    m_publisher->disconnectFromServer();
    sshd.terminate();
    sshd.waitForFinished(3000);
}

QTEST_GUILESS_MAIN(TstPublishRun)
#include "tst_publish_run.moc"
