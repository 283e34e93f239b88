#include "ftp_test_server.h"
#include "publish/ftp_client.h"
#include "publish/ftp_texts.h"
#include "test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {
const char *kScript = BALIZOR_SOURCE_DIR "/tests/support/ftp_test_server.py";

QByteArray bigBytes(qint64 size) {
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (int i = 0; i < chunk.size(); ++i)
        chunk[i] = char((i * 131 + i / 7) & 0xff);
    QByteArray out;
    out.reserve(size);
    while (out.size() < size)
        out += chunk.left(qMin<qint64>(chunk.size(), size - out.size()));
    return out;
}
} // namespace

class TstFtpClient : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listings_data();
    void listings();
    void folderOperations();
    void refusedOperationsKeepTheConnection_data();
    void refusedOperationsKeepTheConnection();
    void downloadAndUploadBack_data();
    void downloadAndUploadBack();
    void abortedDownloadLeavesNothing();
    void abortedUploadLeavesServerFile();
    void uploadToServersThatRefuse_data();
    void uploadToServersThatRefuse();
    void downloadCutShortIsAnError();
    void hostileNamesNeverReachTheServer_data();
    void hostileNamesNeverReachTheServer();
    void wrongPassword();
    void tlsCertificateAcceptedOnce();

private:
    bool start(const QStringList &extra = {});
    FtpReply next();
    FtpReply connectSession(const QString &folder = {},
                            const QString &password = QStringLiteral("secret"),
                            FtpProtocol protocol = FtpProtocol::Ftp);
    // A self-signed certificate for 127.0.0.1 and its SHA-256 fingerprint.
    QString makeCertificate(const QString &name, QString *fingerprint);
    QString remote(const QString &name) const { return m_rootHolder->filePath(name); }
    QString rootPath() const { return m_rootHolder->path(); }

    std::unique_ptr<QTemporaryDir> m_rootHolder;
    QTemporaryDir m_local;
    FtpTestServer m_server;
    FtpClient *m_client = nullptr;
    QSignalSpy *m_spy = nullptr;
};

bool TstFtpClient::start(const QStringList &extra) {
    return m_server.start(QString::fromUtf8(kScript), rootPath(), extra);
}

void TstFtpClient::init() {
    m_rootHolder.reset(new QTemporaryDir);
    QVERIFY(m_rootHolder->isValid());
    QDir(rootPath()).mkdir(QStringLiteral("sous dossier"));
    QVERIFY(TestSupport::writeAll(remote(QStringLiteral("index.html")), "<p>accueil</p>\n"));
    QVERIFY(TestSupport::writeAll(remote(QStringLiteral("a #1 100%.html")), "x"));
    QVERIFY(TestSupport::writeAll(remote(QStringLiteral("sous dossier/été.css")), "p{}\n"));
    m_client = new FtpClient;
    m_client->setTrustFolder(m_local.filePath(QStringLiteral("trust")));
    m_spy = new QSignalSpy(m_client, &FtpClient::finished);
}

void TstFtpClient::cleanup() {
    delete m_spy;
    delete m_client;
    m_spy = nullptr;
    m_client = nullptr;
    m_server.stop();
    for (const QString &f : QDir(m_local.path()).entryList(QDir::Files | QDir::NoDotAndDotDot))
        QFile::remove(m_local.filePath(f));
}

FtpReply TstFtpClient::next() {
    if (m_spy->isEmpty() && !m_spy->wait(20000)) return FtpReply();
    return m_spy->takeFirst().at(0).value<FtpReply>();
}

FtpReply TstFtpClient::connectSession(const QString &folder, const QString &password,
                                      FtpProtocol protocol) {
    FtpSession s;
    s.name = QStringLiteral("test");
    s.host = QStringLiteral("127.0.0.1");
    s.port = m_server.port;
    s.user = QStringLiteral("balizor");
    s.password = password;
    s.folder = folder;
    s.passive = true;
    s.protocol = protocol;
    m_client->connectTo(s);
    return next();
}

void TstFtpClient::listings_data() {
    QTest::addColumn<QStringList>("serverOptions");
    QTest::newRow("MLSD") << QStringList();
    QTest::newRow("LIST only") << QStringList{QStringLiteral("--no-mlsd")};
}

void TstFtpClient::listings() {
    QFETCH(QStringList, serverOptions);
    QVERIFY(start(serverOptions));
    FtpReply r = connectSession();
    QVERIFY2(r.ok, qPrintable(r.error));
    QVERIFY(m_client->isConnected());
    QCOMPARE(r.folder, QStringLiteral("/"));
    FtpListing::sort(r.entries, FtpListing::ByName, false);
    QCOMPARE(r.entries.size(), 3);
    QCOMPARE(r.entries[0].name, QStringLiteral("sous dossier"));
    QVERIFY(r.entries[0].isFolder());
    QCOMPARE(r.entries[1].name, QStringLiteral("a #1 100%.html"));
    QCOMPARE(r.entries[1].size, 1);
    QCOMPARE(r.entries[2].name, QStringLiteral("index.html"));
    QCOMPARE(r.entries[2].size, 15);
    // The date is the file's, to the minute at least.
    const QDateTime written = QFileInfo(remote(QStringLiteral("index.html"))).lastModified();
    QVERIFY(qAbs(r.entries[2].modified.secsTo(written)) < 60);

    // Entering a folder whose name holds a space and an accented file.
    m_client->list(QStringLiteral("/sous dossier"));
    r = next();
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.entries.size(), 1);
    QCOMPARE(r.entries[0].name, QStringLiteral("été.css"));

    // A session folder is where the connection starts.
    m_client->disconnectFromHost();
    next();
    QVERIFY(!m_client->isConnected());
    r = connectSession(QStringLiteral("sous dossier"));
    QVERIFY(r.ok);
    QCOMPARE(r.folder, QStringLiteral("/sous dossier"));
}

void TstFtpClient::folderOperations() {
    QVERIFY(start());
    QVERIFY(connectSession().ok);
    m_client->makeFolder(QStringLiteral("/"), QStringLiteral("nouveau #2"));
    QVERIFY(next().ok);
    QVERIFY(QFileInfo(remote(QStringLiteral("nouveau #2"))).isDir());
    m_client->rename(QStringLiteral("/"), QStringLiteral("nouveau #2"), QStringLiteral("renommé"));
    QVERIFY(next().ok);
    QVERIFY(QFileInfo(remote(QStringLiteral("renommé"))).isDir());
    m_client->deleteFolder(QStringLiteral("/"), QStringLiteral("renommé"));
    QVERIFY(next().ok);
    QVERIFY(!QFileInfo::exists(remote(QStringLiteral("renommé"))));
    m_client->deleteFile(QStringLiteral("/"), QStringLiteral("a #1 100%.html"));
    QVERIFY(next().ok);
    QVERIFY(!QFileInfo::exists(remote(QStringLiteral("a #1 100%.html"))));
    m_client->noop();
    QVERIFY(next().ok);
    QVERIFY(m_client->isConnected());
}

void TstFtpClient::refusedOperationsKeepTheConnection_data() {
    QTest::addColumn<int>("op");
    QTest::newRow("folder that exists") << int(FtpOp::MakeFolder);
    QTest::newRow("delete missing file") << int(FtpOp::DeleteFile);
    QTest::newRow("remove folder not empty") << int(FtpOp::DeleteFolder);
    QTest::newRow("rename missing") << int(FtpOp::Rename);
    QTest::newRow("list missing folder") << int(FtpOp::List);
}

void TstFtpClient::refusedOperationsKeepTheConnection() {
    QFETCH(int, op);
    QVERIFY(start());
    QVERIFY(connectSession().ok);
    switch (FtpOp(op)) {
    case FtpOp::MakeFolder:
        m_client->makeFolder(QStringLiteral("/"), QStringLiteral("sous dossier"));
        break;
    case FtpOp::DeleteFile:
        m_client->deleteFile(QStringLiteral("/"), QStringLiteral("absent.html"));
        break;
    case FtpOp::DeleteFolder:
        m_client->deleteFolder(QStringLiteral("/"), QStringLiteral("sous dossier"));
        break;
    case FtpOp::Rename:
        m_client->rename(QStringLiteral("/"), QStringLiteral("absent"), QStringLiteral("autre"));
        break;
    default:
        m_client->list(QStringLiteral("/absent"));
        break;
    }
    const FtpReply r = next();
    QVERIFY(!r.ok);
    QVERIFY2(r.protocolError, qPrintable(r.error));
    QVERIFY(!r.error.isEmpty());
    // The next request works on the same session.
    m_client->list(QStringLiteral("/sous dossier"));
    const FtpReply again = next();
    QVERIFY2(again.ok, qPrintable(again.error));
    QCOMPARE(again.entries.size(), 1);
}

void TstFtpClient::downloadAndUploadBack_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Windows-1252, CR LF")
        << QByteArray("<p>caf\xe9 \x80 \x9c</p>\r\n<p>\x81\x8d</p>\r\n");
    QTest::newRow("UTF-8 with mark, LF")
        << QByteArray("\xef\xbb\xbf<p>\xc3\xa9t\xc3\xa9 \xe2\x82\xac</p>\n");
    QTest::newRow("every byte") << TestSupport::everyByteButCr();
    QTest::newRow("empty") << QByteArray();
}

void TstFtpClient::downloadAndUploadBack() {
    QFETCH(QByteArray, bytes);
    QVERIFY(TestSupport::writeAll(remote(QStringLiteral("sous dossier/page #1.html")), bytes));
    QVERIFY(start());
    QVERIFY(connectSession().ok);
    const QString local = m_local.filePath(QStringLiteral("page.html"));
    m_client->download(QStringLiteral("/sous dossier"), QStringLiteral("page #1.html"), local);
    FtpReply r = next();
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(TestSupport::readAll(local), bytes);
    QCOMPARE(QFile::permissions(local) & (QFile::ReadOther | QFile::ReadGroup),
             QFile::Permissions());

    const QByteArray edited = bytes + "<!-- modifié -->\r\n";
    QVERIFY(TestSupport::writeAll(local, edited));
    m_client->upload(local, QStringLiteral("/sous dossier"), QStringLiteral("page #1.html"));
    r = next();
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(TestSupport::readAll(remote(QStringLiteral("sous dossier/page #1.html"))), edited);
    // Nothing but the page and the folder's own file remain.
    QCOMPARE(
        QDir(remote(QStringLiteral("sous dossier"))).entryList(QDir::Files | QDir::Hidden).size(),
        2);
}

void TstFtpClient::abortedDownloadLeavesNothing() {
    QVERIFY(TestSupport::writeAll(remote(QStringLiteral("gros.bin")), bigBytes(50 << 20)));
    QVERIFY(start());
    QVERIFY(connectSession().ok);
    const QString local = m_local.filePath(QStringLiteral("gros.bin"));
    QSignalSpy progress(m_client, &FtpClient::transferProgress);
    m_client->download(QStringLiteral("/"), QStringLiteral("gros.bin"), local);
    QVERIFY(progress.wait(10000));
    QElapsedTimer clock;
    clock.start();
    m_client->abort();
    const FtpReply r = next();
    QVERIFY(clock.elapsed() < 1000);
    QVERIFY(!r.ok);
    QVERIFY(r.aborted);
    QVERIFY(!QFileInfo::exists(local));
    // The connection still serves.
    m_client->list(QStringLiteral("/"));
    QVERIFY(next().ok);
}

void TstFtpClient::abortedUploadLeavesServerFile() {
    const QByteArray old = "<p>ancienne version</p>\n";
    QVERIFY(TestSupport::writeAll(remote(QStringLiteral("page.html")), old));
    const QString local = m_local.filePath(QStringLiteral("page.html"));
    QVERIFY(TestSupport::writeAll(local, bigBytes(50 << 20)));
    QVERIFY(start());
    QVERIFY(connectSession().ok);
    QSignalSpy progress(m_client, &FtpClient::transferProgress);
    m_client->upload(local, QStringLiteral("/"), QStringLiteral("page.html"));
    QVERIFY(progress.wait(10000));
    QElapsedTimer clock;
    clock.start();
    m_client->abort();
    const FtpReply r = next();
    QVERIFY(clock.elapsed() < 1000);
    QVERIFY(!r.ok);
    QVERIFY(r.aborted);
    QCOMPARE(TestSupport::readAll(remote(QStringLiteral("page.html"))), old);
    // The temporary copy went too (the server may take a moment to let go of it).
    QTRY_COMPARE_WITH_TIMEOUT(QDir(rootPath()).entryList(QDir::Files | QDir::Hidden).size(), 3,
                              5000);
}

void TstFtpClient::uploadToServersThatRefuse_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("existed"); // the server had a file of that name
    QTest::addColumn<bool>("replaced");
    QTest::newRow("no rename over a file") << QStringList{"--refuse-replace"} << true << true;
    QTest::newRow("no rename at all") << QStringList{"--refuse-rename"} << true << false;
    QTest::newRow("no rename at all, new name") << QStringList{"--refuse-rename"} << false << false;
    QTest::newRow("no SIZE") << QStringList{"--no-size"} << true << true;
}

void TstFtpClient::uploadToServersThatRefuse() {
    QFETCH(QStringList, options);
    QFETCH(bool, existed);
    QFETCH(bool, replaced);
    const QByteArray old = "<p>ancienne</p>\n", edited = "<p>nouvelle version</p>\n";
    const QString target = remote(QStringLiteral("page.html"));
    if (existed) QVERIFY(TestSupport::writeAll(target, old));
    const QString local = m_local.filePath(QStringLiteral("page.html"));
    QVERIFY(TestSupport::writeAll(local, edited));
    QVERIFY(start(options));
    QVERIFY(connectSession().ok);
    m_client->upload(local, QStringLiteral("/"), QStringLiteral("page.html"));
    const FtpReply r = next();
    QCOMPARE(r.ok, replaced);
    QVERIFY(r.ok || !r.error.isEmpty()); // the server's reason, for the message
    QCOMPARE(TestSupport::readAll(target), replaced ? edited : existed ? old : QByteArray());
    // Neither the temporary copy nor the old file set aside stays behind.
    QTRY_COMPARE_WITH_TIMEOUT(QDir(rootPath()).entryList(QDir::Files | QDir::Hidden).size(),
                              existed || replaced ? 3 : 2, 5000);
}

void TstFtpClient::downloadCutShortIsAnError() {
#ifdef Q_OS_UNIX
    QVERIFY(TestSupport::writeAll(remote(QStringLiteral("page.html")), QByteArray(5000, 'x')));
    QVERIFY(start());
    QVERIFY(connectSession().ok);
    const QString local = m_local.filePath(QStringLiteral("page.html"));
    // A disk that fills up: the file system takes the first 4000 bytes only.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = 4000;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    m_client->download(QStringLiteral("/"), QStringLiteral("page.html"), local);
    const FtpReply r = next();
    setrlimit(RLIMIT_FSIZE, &before);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.startsWith(FtpTexts::localCopyFailed(QString())), qPrintable(r.error));
    QVERIFY(!QFileInfo::exists(local));
#endif
}

void TstFtpClient::hostileNamesNeverReachTheServer_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("parent path") << "../../etc/passwd";
    QTest::newRow("back slashes") << "..\\..\\x";
    QTest::newRow("command injection") << "x\r\nDELE index.html";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("escape sequence") << "ligne\x1b[31mrouge";
}

void TstFtpClient::hostileNamesNeverReachTheServer() {
    QFETCH(QString, name);
    // A server that lists such names: they are listed, never used.
    QVERIFY(TestSupport::writeAll(remote(QStringLiteral("..\\..\\x")), "x"));
    QVERIFY(TestSupport::writeAll(remote(QStringLiteral("ligne\x1b[31mrouge")), "x"));
    QVERIFY(start());
    FtpReply r = connectSession();
    QVERIFY(r.ok);
    QStringList names;
    for (const FtpEntry &e : r.entries)
        names << e.name;
    QVERIFY(names.contains(QStringLiteral("..\\..\\x")));
    QVERIFY(names.contains(QStringLiteral("ligne\x1b[31mrouge")));

    const QString local = m_local.filePath(QStringLiteral("x"));
    m_client->download(QStringLiteral("/"), name, local);
    QVERIFY(!next().ok);
    QVERIFY(!QFileInfo::exists(local));
    m_client->rename(QStringLiteral("/"), QStringLiteral("index.html"), name);
    QVERIFY(!next().ok);
    m_client->deleteFile(QStringLiteral("/"), name);
    QVERIFY(!next().ok);
    QVERIFY(QFileInfo::exists(remote(QStringLiteral("index.html"))));
    QVERIFY(QFileInfo::exists(remote(QStringLiteral("..\\..\\x"))));
}

void TstFtpClient::wrongPassword() {
    QVERIFY(start());
    QSignalSpy status(m_client, &FtpClient::status);
    const FtpReply r = connectSession({}, QStringLiteral("faux"));
    QVERIFY(!r.ok);
    QVERIFY(!r.protocolError || !r.error.isEmpty());
    QVERIFY(!m_client->isConnected());
    // The exchange was reported, and the password never shown.
    bool sawPass = false;
    for (const QList<QVariant> &s : status) {
        QVERIFY(!s.at(0).toString().contains(QStringLiteral("faux")));
        sawPass = sawPass || s.at(0).toString().startsWith(QStringLiteral("PASS"));
    }
    QVERIFY(sawPass);
}

QString TstFtpClient::makeCertificate(const QString &name, QString *fingerprint) {
    const QString pem = m_local.filePath(name + QStringLiteral(".pem"));
    const QString key = m_local.filePath(name + QStringLiteral(".key"));
    QProcess p;
    p.start(QStringLiteral("openssl"),
            {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
             "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out",
             pem});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    p.start(QStringLiteral("openssl"), {"x509", "-in", pem, "-noout", "-fingerprint", "-sha256"});
    p.waitForFinished(10000);
    *fingerprint =
        QString::fromLatin1(p.readAllStandardOutput()).trimmed().section(QLatin1Char('='), 1);
    return pem;
}

void TstFtpClient::tlsCertificateAcceptedOnce() {
    QString fingerprint;
    const QString cert = makeCertificate(QStringLiteral("serveur"), &fingerprint);
    QVERIFY(!cert.isEmpty());
    const QString key = m_local.filePath(QStringLiteral("serveur.key"));
    QVERIFY(start({QStringLiteral("--cert"), cert, QStringLiteral("--key"), key}));

    // Not vouched for by an authority: refused, and the certificate is shown.
    FtpReply r = connectSession({}, QStringLiteral("secret"), FtpProtocol::Ftps);
    QVERIFY(!r.ok);
    QVERIFY(!m_client->isConnected());
    QCOMPARE(r.trust.kind, FtpTrust::Certificate);
    QVERIFY(!r.trust.changed);
    QCOMPARE(r.trust.fingerprint, fingerprint);

    // Accepted once: the handshake is verified against it and the login goes
    // through. (The test server's TLS data channel does not work with curl's
    // early data handshake, so transfers over FTPS are not exercised here.)
    QVERIFY(m_client->trust(r.trust));
    QSignalSpy status(m_client, &FtpClient::status);
    r = connectSession({}, QStringLiteral("secret"), FtpProtocol::Ftps);
    QCOMPARE(r.trust.kind, FtpTrust::None);
    bool loggedIn = false;
    for (const QList<QVariant> &line : status)
        loggedIn = loggedIn || line.at(0).toString().startsWith(QStringLiteral("230"));
    QVERIFY(loggedIn);
    const QDir certificates(m_local.filePath(QStringLiteral("trust/certificats")));
    QCOMPARE(certificates.entryList(QDir::Files).size(), 1);
    QCOMPARE(
        QFile::permissions(certificates.filePath(certificates.entryList(QDir::Files).first())) &
            (QFile::ReadOther | QFile::ReadGroup),
        QFile::Permissions());
    m_client->disconnectFromHost();
    next();

    // Another certificate on the same server: refused without a question.
    const int port = m_server.port;
    m_server.stop();
    QString otherPrint;
    const QString other = makeCertificate(QStringLiteral("autre"), &otherPrint);
    QVERIFY(m_server.start(QString::fromUtf8(kScript), rootPath(),
                           {QStringLiteral("--port"), QString::number(port),
                            QStringLiteral("--cert"), other, QStringLiteral("--key"),
                            m_local.filePath(QStringLiteral("autre.key"))}));
    r = connectSession({}, QStringLiteral("secret"), FtpProtocol::Ftps);
    QVERIFY(!r.ok);
    QCOMPARE(r.trust.kind, FtpTrust::Certificate);
    QVERIFY(r.trust.changed);
    QVERIFY(!m_client->trust(r.trust));
}

QTEST_GUILESS_MAIN(TstFtpClient)
#include "tst_ftp_client.moc"
