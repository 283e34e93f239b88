#include "publish/ftp_client.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// SFTP against an OpenSSH server started for the test on a loopback port, with
// its own configuration, host key and authorized key in a temporary folder.
class TstFtpSftp : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void hostKeyAskedThenKeptThenRefusedWhenChanged();
    void transfersAndCommands_data();
    void transfersAndCommands();

private:
    bool keygen(const QString &file);
    bool startServer(const QString &hostKey);
    void stopServer();
    FtpReply connectSession();
    FtpReply next();

    QTemporaryDir m_dir;
    QString m_root;
    QProcess m_sshd;
    int m_port = 0;
    QString m_log;
    FtpClient *m_client = nullptr;
    QSignalSpy *m_spy = nullptr;
};

bool TstFtpSftp::keygen(const QString &file) {
    QProcess p;
    p.start(QStringLiteral("ssh-keygen"),
            {"-q", "-t", "ecdsa", "-b", "256", "-m", "PEM", "-N", "", "-f", file});
    return p.waitForFinished(30000) && p.exitCode() == 0;
}

bool TstFtpSftp::startServer(const QString &hostKey) {
    const QString config = m_dir.filePath(QStringLiteral("sshd_config"));
    QFile f(config);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(QStringLiteral("ListenAddress 127.0.0.1\n"
                           "HostKey %1\n"
                           "PidFile %2\n"
                           "AuthorizedKeysFile %3\n"
                           "StrictModes no\n"
                           "UsePAM no\n"
                           "PasswordAuthentication no\n"
                           "KbdInteractiveAuthentication no\n"
                           "PubkeyAuthentication yes\n"
                           "PermitRootLogin prohibit-password\n"
                           "Subsystem sftp internal-sftp\n")
                .arg(hostKey, m_dir.filePath(QStringLiteral("sshd.pid")),
                     m_dir.filePath(QStringLiteral("authorized_keys")))
                .toUtf8());
    f.close();
    m_sshd.start(QStringLiteral("/usr/sbin/sshd"),
                 {"-D", "-e", "-f", config, "-p", QString::number(m_port)});
    if (!m_sshd.waitForStarted(5000)) return false;
    // Ready once it says so (-e: its log goes to standard error).
    QByteArray log;
    const bool ready = QTest::qWaitFor(
        [&] {
            log += m_sshd.readAllStandardError();
            return log.contains("Server listening") || m_sshd.state() == QProcess::NotRunning;
        },
        5000);
    m_log = QString::fromLocal8Bit(log);
    return ready && m_sshd.state() == QProcess::Running;
}

void TstFtpSftp::stopServer() {
    if (m_sshd.state() != QProcess::NotRunning) {
        m_sshd.terminate();
        if (!m_sshd.waitForFinished(3000)) {
            m_sshd.kill();
            m_sshd.waitForFinished(3000);
        }
    }
}

void TstFtpSftp::initTestCase() {
    QVERIFY2(QFileInfo::exists(QStringLiteral("/usr/sbin/sshd")),
             "no OpenSSH server (/usr/sbin/sshd): bash scripts/install-deps.sh installs it");
    // sshd insists on its privilege separation folder.
    if (!QFileInfo::exists(QStringLiteral("/run/sshd")) &&
        !QDir().mkpath(QStringLiteral("/run/sshd")))
        QSKIP("making /run/sshd, which sshd insists on, needs the administrator's rights");
    QVERIFY(keygen(m_dir.filePath(QStringLiteral("host_key"))));
    QVERIFY(keygen(m_dir.filePath(QStringLiteral("autre_host_key"))));
    QVERIFY(keygen(m_dir.filePath(QStringLiteral("id_ecdsa"))));
    QVERIFY(QFile::copy(m_dir.filePath(QStringLiteral("id_ecdsa.pub")),
                        m_dir.filePath(QStringLiteral("authorized_keys"))));
    m_root = m_dir.filePath(QStringLiteral("site web"));
    QVERIFY(QDir().mkpath(m_root));
    // A high port of this run's own; another one if it is taken.
    m_port = 20000 + int(QCoreApplication::applicationPid() % 20000);
    bool started = false;
    for (int attempt = 0; attempt < 5 && !started; ++attempt, m_port += 1009)
        started = startServer(m_dir.filePath(QStringLiteral("host_key")));
    m_port -= 1009;
    QVERIFY2(started, qPrintable(m_log));
    m_client = new FtpClient;
    m_client->setTrustFolder(m_dir.filePath(QStringLiteral("confiance")));
    m_client->setSshKeyFile(m_dir.filePath(QStringLiteral("id_ecdsa")));
    m_spy = new QSignalSpy(m_client, &FtpClient::finished);
}

void TstFtpSftp::cleanupTestCase() {
    delete m_spy;
    delete m_client;
    stopServer();
}

FtpReply TstFtpSftp::next() {
    if (m_spy->isEmpty() && !m_spy->wait(20000)) return FtpReply();
    return m_spy->takeFirst().at(0).value<FtpReply>();
}

FtpReply TstFtpSftp::connectSession() {
    FtpSession s;
    s.name = QStringLiteral("sftp");
    s.protocol = FtpProtocol::Sftp;
    s.host = QStringLiteral("127.0.0.1");
    s.port = m_port;
    s.user = qEnvironmentVariable("USER", QStringLiteral("root"));
    s.folder = m_root;
    m_client->connectTo(s);
    return next();
}

void TstFtpSftp::hostKeyAskedThenKeptThenRefusedWhenChanged() {
    // First connection: unknown key, nothing sent, the fingerprint shown.
    FtpReply r = connectSession();
    QVERIFY(!r.ok);
    QCOMPARE(r.trust.kind, FtpTrust::HostKey);
    QVERIFY(!r.trust.changed);
    QProcess p;
    p.start(QStringLiteral("ssh-keygen"),
            {"-l", "-E", "sha256", "-f", m_dir.filePath(QStringLiteral("host_key.pub"))});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(r.trust.fingerprint,
             QString::fromLatin1(p.readAllStandardOutput()).section(QLatin1Char(' '), 1, 1));

    // Accepted: connects and lists, and the key is kept in our known hosts.
    QVERIFY(m_client->trust(r.trust));
    r = connectSession();
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.folder, m_root);
    QVERIFY(QFileInfo(m_dir.filePath(QStringLiteral("confiance/known_hosts"))).size() > 0);
    m_client->disconnectFromHost();
    next();
    r = connectSession();
    QVERIFY2(r.ok, qPrintable(r.error));
    m_client->disconnectFromHost();
    next();

    // The same server with another key: refused, and the trust cannot be given.
    stopServer();
    QVERIFY(startServer(m_dir.filePath(QStringLiteral("autre_host_key"))));
    r = connectSession();
    QVERIFY(!r.ok);
    QCOMPARE(r.trust.kind, FtpTrust::HostKey);
    QVERIFY(r.trust.changed);
    QVERIFY(!m_client->trust(r.trust));
    stopServer();
    QVERIFY(startServer(m_dir.filePath(QStringLiteral("host_key"))));
}

void TstFtpSftp::transfersAndCommands_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Windows-1252") << "page #1.html" << QByteArray("<p>caf\xe9 \x80</p>\r\n");
    QTest::newRow("UTF-8") << "été 100%.html" << QByteArray("<p>\xc3\xa9t\xc3\xa9</p>\n");
}

void TstFtpSftp::transfersAndCommands() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QString remote = m_root + QLatin1Char('/') + name;
    QVERIFY(TestSupport::writeAll(remote, bytes));
    FtpReply r = connectSession();
    QVERIFY2(r.ok, qPrintable(r.error));
    QVERIFY(std::any_of(r.entries.begin(), r.entries.end(),
                        [&](const FtpEntry &e) { return e.name == name; }));

    const QString local = m_dir.filePath(QStringLiteral("copie"));
    QFile::remove(local);
    m_client->download(m_root, name, local);
    r = next();
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(TestSupport::readAll(local), bytes);
    QVERIFY(TestSupport::writeAll(local, bytes + bytes));
    m_client->upload(local, m_root, name);
    r = next();
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(TestSupport::readAll(remote), bytes + bytes);

    m_client->makeFolder(m_root, QStringLiteral("dossier"));
    QVERIFY(next().ok);
    m_client->rename(m_root, QStringLiteral("dossier"), QStringLiteral("renommé"));
    QVERIFY(next().ok);
    m_client->deleteFolder(m_root, QStringLiteral("renommé"));
    QVERIFY(next().ok);
    m_client->deleteFile(m_root, name);
    QVERIFY(next().ok);
    m_client->deleteFile(m_root, name);
    r = next();
    QVERIFY(!r.ok);
    QVERIFY(r.protocolError);
    QCOMPARE(QDir(m_root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
    m_client->disconnectFromHost();
    next();
}

QTEST_GUILESS_MAIN(TstFtpSftp)
#include "tst_ftp_sftp.moc"
