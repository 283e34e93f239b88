#include "publish/ftp_client.h"

#include "publish/ftp_names.h"
#include "publish/ftp_texts.h"
#include "publish/ftp_url.h"

#include "publish/curl_library.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>

// Every call goes through the library loaded at the first client (FtpClient), which
// refuses requests when it could not be loaded.
#define curl_global_init (curlLibrary()->global_init)
#define curl_easy_init (curlLibrary()->easy_init)
#define curl_easy_reset (curlLibrary()->easy_reset)
#define curl_easy_cleanup (curlLibrary()->easy_cleanup)
#define curl_easy_setopt (curlLibrary()->easy_setopt)
#define curl_easy_getinfo (curlLibrary()->easy_getinfo)
#define curl_easy_perform (curlLibrary()->easy_perform)
#define curl_easy_strerror (curlLibrary()->easy_strerror)
#define curl_slist_append (curlLibrary()->slist_append)
#define curl_slist_free_all (curlLibrary()->slist_free_all)
#define curl_multi_init (curlLibrary()->multi_init)
#define curl_multi_add_handle (curlLibrary()->multi_add_handle)
#define curl_multi_remove_handle (curlLibrary()->multi_remove_handle)
#define curl_multi_perform (curlLibrary()->multi_perform)
#define curl_multi_timeout (curlLibrary()->multi_timeout)
#define curl_multi_poll (curlLibrary()->multi_poll)
#define curl_multi_info_read (curlLibrary()->multi_info_read)
#define curl_multi_cleanup (curlLibrary()->multi_cleanup)

// The worker: owns the curl handle (one control connection, kept between
// requests) and runs every request on its own thread.
class FtpWorker : public QObject {
    Q_OBJECT
public:
    FtpWorker(std::shared_ptr<std::atomic<bool>> abort) : m_abort(std::move(abort)) {}
    ~FtpWorker() override { close(); }

    QString trustFolder;
    QString sshKeyFile;
    QByteArray acceptedKey; // a host key the user accepted, added on the next connection

    void run(const FtpRequest &r);

signals:
    void status(const QString &text);
    void transferStarted(qint64 total);
    void transferProgress(qint64 bytes);
    void finished(const FtpReply &reply);

private:
    struct Sink {
        QByteArray *buffer = nullptr;
        QFile *file = nullptr;
        bool failed = false;
    };

    void prepare();
    CURLcode perform(FtpReply &reply);
    CURLcode drive();
    void fail(FtpReply &reply, CURLcode rc);
    bool isFtp() const { return m_session.protocol != FtpProtocol::Sftp; }
    QByteArray url(const QString &path, bool folder) const {
        return FtpUrl::make(m_session.protocol, m_session.host, m_session.port, path, folder);
    }
    QString certificateFile() const;
    QString knownHostsFile() const;
    // Runs server commands (absolute paths) on the folder's connection.
    CURLcode quote(const QString &folder, const QStringList &commands, FtpReply &reply);
    QString sftpPath(const QString &path) const;
    // False when the request failed; *size is -1 when the server does not tell (no SIZE).
    bool remoteSize(const QString &path, FtpReply &reply, qint64 *size);
    // The size of a file just sent, asked on its folder's connection.
    bool storedSize(const QString &folder, const QString &path, FtpReply &reply, qint64 *size);
    QStringList renameCommands(const QString &from, const QString &to) const;
    QStringList deleteCommands(const QString &path) const;
    // Puts an uploaded file in the target's place.
    CURLcode replaceTarget(const QString &folder, const QString &name, const QString &uploaded,
                           const QString &tag, FtpReply &reply);
    CURLcode renameInPlace(const QString &folder, const QString &name, const QString &uploaded,
                           const QString &tag, FtpReply &reply);

    void doConnect(const FtpRequest &r, FtpReply &reply);
    void doList(const QString &folder, FtpReply &reply);
    void doDownload(const FtpRequest &r, FtpReply &reply);
    void doUpload(const FtpRequest &r, FtpReply &reply);
    void fetchCertificate(FtpReply &reply);
    void close();

    static size_t write(char *data, size_t size, size_t n, void *user);
    static size_t ignore(char *data, size_t size, size_t n, void *user);
    static size_t read(char *data, size_t size, size_t n, void *user);
    static int progress(void *user, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t ulTotal,
                        curl_off_t ulNow);
    static int debug(CURL *, curl_infotype type, char *data, size_t size, void *user);
    static int hostKey(CURL *, const struct curl_khkey *known, const struct curl_khkey *found,
                       enum curl_khmatch match, void *user);

    CURL *m_curl = nullptr;
    CURLM *m_multi = nullptr;
    FtpSession m_session;
    std::shared_ptr<std::atomic<bool>> m_abort;
    char m_errorBuffer[CURL_ERROR_SIZE] = {};
    QString m_lastServerLine;
    QString m_sizeLine; // the last "213" reply
    bool m_mlsd = true;
    bool m_transfer = false;
    bool m_unstoppable = false; // the steps that put a sent file in place
    QElapsedTimer m_progressClock;
    qint64 m_lastBytes = -1;
    FtpTrust m_keyTrust;
};

namespace {

bool isProtocolError(CURLcode rc) {
    switch (rc) {
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_QUOTE_ERROR:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_DISK_FULL:
    case CURLE_REMOTE_FILE_EXISTS:
    case CURLE_FTP_COULDNT_SET_TYPE:
    case CURLE_FTP_COULDNT_USE_REST:
        return true;
    default:
        return false;
    }
}

QString colonHex(const QByteArray &bytes) {
    return QString::fromLatin1(bytes.toHex(':').toUpper());
}

// A quoted path for curl's SFTP commands.
QString sftpQuoted(const QString &path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    p.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + p + QLatin1Char('"');
}

void ensurePrivateFolder(const QString &path) {
    QDir().mkpath(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

// ---- callbacks ----

size_t FtpWorker::write(char *data, size_t size, size_t n, void *user) {
    auto *sink = static_cast<Sink *>(user);
    const qint64 len = qint64(size * n);
    if (sink->buffer) {
        sink->buffer->append(data, len);
        return size_t(len);
    }
    if (sink->file && sink->file->write(data, len) == len) return size_t(len);
    sink->failed = true;
    return 0;
}

size_t FtpWorker::ignore(char *, size_t size, size_t n, void *) {
    return size * n;
}

size_t FtpWorker::read(char *data, size_t size, size_t n, void *user) {
    auto *file = static_cast<QFile *>(user);
    const qint64 got = file->read(data, qint64(size * n));
    return got < 0 ? CURL_READFUNC_ABORT : size_t(got);
}

int FtpWorker::progress(void *user, curl_off_t, curl_off_t dlNow, curl_off_t, curl_off_t ulNow) {
    auto *w = static_cast<FtpWorker *>(user);
    if (w->m_abort->load() && !w->m_unstoppable) return 1;
    if (w->m_transfer) {
        const qint64 bytes = qint64(dlNow + ulNow);
        // A few updates a second are plenty for a progress bar.
        if (bytes != w->m_lastBytes &&
            (!w->m_progressClock.isValid() || w->m_progressClock.elapsed() >= 80)) {
            w->m_progressClock.start();
            w->m_lastBytes = bytes;
            emit w->transferProgress(bytes);
        }
    }
    return 0;
}

int FtpWorker::debug(CURL *, curl_infotype type, char *data, size_t size, void *user) {
    auto *w = static_cast<FtpWorker *>(user);
    if (type != CURLINFO_TEXT && type != CURLINFO_HEADER_IN && type != CURLINFO_HEADER_OUT)
        return 0;
    const QString text = QString::fromUtf8(data, qsizetype(size));
    for (QString line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        line = line.trimmed();
        if (line.isEmpty()) continue;
        if (type == CURLINFO_HEADER_OUT &&
            line.startsWith(QLatin1String("PASS "), Qt::CaseInsensitive))
            line = QStringLiteral("PASS ********");
        if (type == CURLINFO_HEADER_IN) {
            w->m_lastServerLine = line;
            if (line.startsWith(QLatin1String("213 "))) w->m_sizeLine = line;
        }
        emit w->status(line);
    }
    return 0;
}

int FtpWorker::hostKey(CURL *, const struct curl_khkey *, const struct curl_khkey *found,
                       enum curl_khmatch match, void *user) {
    auto *w = static_cast<FtpWorker *>(user);
    const QByteArray key = found->len ? QByteArray(found->key, qsizetype(found->len))
                                      : QByteArray::fromBase64(QByteArray(found->key));
    if (match == CURLKHMATCH_OK) return CURLKHSTAT_FINE;
    FtpTrust t;
    t.kind = FtpTrust::HostKey;
    t.host = w->m_session.host;
    t.port = w->m_session.port;
    t.data = key;
    t.keyType = int(found->keytype);
    t.fingerprint = QStringLiteral("SHA256:") +
                    QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256)
                                            .toBase64(QByteArray::OmitTrailingEquals));
    if (match == CURLKHMATCH_MISMATCH) {
        t.changed = true;
        w->m_keyTrust = t;
        return CURLKHSTAT_REJECT;
    }
    if (!w->acceptedKey.isEmpty() && w->acceptedKey == key) {
        w->acceptedKey.clear();
        return CURLKHSTAT_FINE_ADD_TO_FILE;
    }
    w->m_keyTrust = t;
    return CURLKHSTAT_REJECT;
}

// ---- set-up ----

QString FtpWorker::certificateFile() const {
    QString host = m_session.host;
    host.replace(QLatin1Char(':'), QLatin1Char('_'));
    return trustFolder + QStringLiteral("/certificats/") + host + QLatin1Char('_') +
           QString::number(m_session.port) + QStringLiteral(".pem");
}

QString FtpWorker::knownHostsFile() const {
    return trustFolder + QStringLiteral("/known_hosts");
}

void FtpWorker::prepare() {
    if (!m_curl)
        m_curl = curl_easy_init();
    else
        curl_easy_reset(m_curl); // the live connection stays
    CURL *c = m_curl;
    m_errorBuffer[0] = 0;
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, m_errorBuffer);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, 60L);
    curl_easy_setopt(c, CURLOPT_USERNAME, m_session.user.toUtf8().constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, m_session.password.toUtf8().constData());
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &FtpWorker::progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, this);
    // Header-like replies (sizes of NOBODY requests) are not data.
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &FtpWorker::ignore);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &FtpWorker::ignore);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, &FtpWorker::debug);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "ftp,sftp");
    curl_easy_setopt(c, CURLOPT_BUFFERSIZE, 256L * 1024L);
    curl_easy_setopt(c, CURLOPT_UPLOAD_BUFFERSIZE, 2L * 1024L * 1024L);
    if (isFtp()) {
        curl_easy_setopt(c, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_SINGLECWD));
        if (!m_session.passive) curl_easy_setopt(c, CURLOPT_FTPPORT, "-");
        if (m_session.protocol == FtpProtocol::Ftps) {
            curl_easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
            const QString cert = certificateFile();
            // A certificate the user accepted is the only one this server may show.
            if (QFile::exists(cert)) {
                curl_easy_setopt(c, CURLOPT_CAINFO, QFile::encodeName(cert).constData());
                curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 0L);
            }
        }
    } else {
        curl_easy_setopt(
            c, CURLOPT_SSH_AUTH_TYPES,
            long(CURLSSH_AUTH_PUBLICKEY | CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
        curl_easy_setopt(c, CURLOPT_SSH_KNOWNHOSTS,
                         QFile::encodeName(knownHostsFile()).constData());
        curl_easy_setopt(c, CURLOPT_SSH_KEYFUNCTION, &FtpWorker::hostKey);
        curl_easy_setopt(c, CURLOPT_SSH_KEYDATA, this);
        if (!sshKeyFile.isEmpty())
            curl_easy_setopt(c, CURLOPT_SSH_PRIVATE_KEYFILE,
                             QFile::encodeName(sshKeyFile).constData());
    }
}

CURLcode FtpWorker::drive() {
    // curl_easy_perform would do, but libcurl 7.88 leaves a passive data connection
    // out of what it waits on, and then waits a whole second before sending each
    // file: the transfer is driven here, waking at least every millisecond.
    if (!m_multi) m_multi = curl_multi_init();
    if (!m_multi) return CURLE_OUT_OF_MEMORY;
    if (curl_multi_add_handle(m_multi, m_curl) != CURLM_OK) return CURLE_FAILED_INIT;
    CURLcode rc = CURLE_OK;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(m_multi, &running) != CURLM_OK) {
            rc = CURLE_RECV_ERROR;
            break;
        }
        if (!running) break;
        long timeout = -1;
        curl_multi_timeout(m_multi, &timeout);
        // The control connection's replies wake the wait at once.
        curl_socket_t control = CURL_SOCKET_BAD;
        curl_easy_getinfo(m_curl, CURLINFO_ACTIVESOCKET, &control);
        curl_waitfd extra{control, CURL_WAIT_POLLIN, 0};
        const bool known = control != CURL_SOCKET_BAD;
        curl_multi_poll(m_multi, known ? &extra : nullptr, known ? 1 : 0,
                        timeout < 0 || timeout > 1 ? 1 : int(timeout), nullptr);
    }
    int left = 0;
    while (CURLMsg *m = curl_multi_info_read(m_multi, &left))
        if (m->msg == CURLMSG_DONE && m->easy_handle == m_curl) rc = m->data.result;
    curl_multi_remove_handle(m_multi, m_curl);
    return rc;
}

CURLcode FtpWorker::perform(FtpReply &reply) {
    m_lastServerLine.clear();
    m_progressClock.invalidate();
    m_lastBytes = -1;
    const CURLcode rc = drive();
    if (rc != CURLE_OK) fail(reply, rc);
    return rc;
}

void FtpWorker::fail(FtpReply &reply, CURLcode rc) {
    reply.ok = false;
    reply.aborted = rc == CURLE_ABORTED_BY_CALLBACK;
    reply.protocolError = isProtocolError(rc);
    QString why = QString::fromUtf8(m_errorBuffer);
    if (why.isEmpty()) why = QString::fromUtf8(curl_easy_strerror(rc));
    if (reply.protocolError && !m_lastServerLine.isEmpty()) why = m_lastServerLine;
    reply.error = why;
}

QString FtpWorker::sftpPath(const QString &path) const {
    return sftpQuoted(path);
}

CURLcode FtpWorker::quote(const QString &folder, const QStringList &commands, FtpReply &reply) {
    prepare();
    curl_easy_setopt(m_curl, CURLOPT_URL, url(folder, true).constData());
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    curl_slist *list = nullptr;
    for (const QString &c : commands)
        list = curl_slist_append(list, c.toUtf8().constData());
    curl_easy_setopt(m_curl, CURLOPT_QUOTE, list);
    const CURLcode rc = perform(reply);
    curl_easy_setopt(m_curl, CURLOPT_QUOTE, nullptr);
    curl_slist_free_all(list);
    return rc;
}

bool FtpWorker::remoteSize(const QString &path, FtpReply &reply, qint64 *size) {
    *size = -1;
    prepare();
    curl_easy_setopt(m_curl, CURLOPT_URL, url(path, false).constData());
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    if (perform(reply) != CURLE_OK) return false;
    curl_off_t known = -1;
    curl_easy_getinfo(m_curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &known);
    *size = qint64(known);
    return true;
}

bool FtpWorker::storedSize(const QString &folder, const QString &path, FtpReply &reply,
                           qint64 *size) {
    if (!isFtp()) return remoteSize(path, reply, size);
    // SIZE alone on the folder's connection: a bodiless request on the file would
    // cost a REST exchange more for each file sent. "*": a server without SIZE
    // does not fail the request, it just does not tell.
    *size = -1;
    m_sizeLine.clear();
    if (quote(folder, {QStringLiteral("*SIZE ") + path}, reply) != CURLE_OK) return false;
    bool ok = false;
    const qint64 n = m_sizeLine.mid(4).trimmed().toLongLong(&ok);
    if (ok) *size = n;
    return true;
}

QStringList FtpWorker::renameCommands(const QString &from, const QString &to) const {
    if (isFtp()) return {QStringLiteral("RNFR ") + from, QStringLiteral("RNTO ") + to};
    return {QStringLiteral("rename ") + sftpPath(from) + QLatin1Char(' ') + sftpPath(to)};
}

QStringList FtpWorker::deleteCommands(const QString &path) const {
    return {isFtp() ? QStringLiteral("DELE ") + path : QStringLiteral("rm ") + sftpPath(path)};
}

CURLcode FtpWorker::replaceTarget(const QString &folder, const QString &name,
                                  const QString &uploaded, const QString &tag, FtpReply &reply) {
    // The file is on the server whole: a cancel from now on would only leave the
    // caller unsure whether the rename was made. It runs to its end.
    m_unstoppable = true;
    const CURLcode rc = renameInPlace(folder, name, uploaded, tag, reply);
    m_unstoppable = false;
    return rc;
}

CURLcode FtpWorker::renameInPlace(const QString &folder, const QString &name,
                                  const QString &uploaded, const QString &tag, FtpReply &reply) {
    const QString target = FtpNames::join(folder, name);
    CURLcode rc = quote(folder, renameCommands(uploaded, target), reply);
    if (rc == CURLE_OK) return rc;
    // Many servers (SFTP ones too) do not rename over an existing file. The old file
    // is moved aside rather than deleted first: a server that refuses every rename
    // then keeps its file instead of losing it.
    const QString aside = FtpNames::join(folder, FtpNames::setAsideName(name, tag));
    FtpReply step;
    if (quote(folder, renameCommands(target, aside), step) != CURLE_OK)
        return rc; // no old file, or no rename at all: the first refusal says why
    if (quote(folder, renameCommands(uploaded, target), step) != CURLE_OK) {
        reply.error = step.error;
        FtpReply back;
        if (quote(folder, renameCommands(aside, target), back) != CURLE_OK)
            reply.message = FtpTexts::targetSetAside(FtpNames::setAsideName(name, tag), name);
        return CURLE_QUOTE_ERROR;
    }
    FtpReply ignored;
    quote(folder, QStringList{QLatin1Char('*') + deleteCommands(aside).first()}, ignored);
    return CURLE_OK;
}

void FtpWorker::close() {
    // The connection lives in the multi handle: its end says goodbye to the server.
    if (m_multi) {
        curl_multi_cleanup(m_multi);
        m_multi = nullptr;
    }
    if (m_curl) {
        curl_easy_cleanup(m_curl);
        m_curl = nullptr;
    }
}

// ---- requests ----

void FtpWorker::run(const FtpRequest &r) {
    m_abort->store(false);
    FtpReply reply;
    reply.op = r.op;
    reply.folder = r.folder;
    // Names that would change the meaning of a command never reach the server.
    for (const QString *n : {&r.name, &r.newName}) {
        if (!n->isEmpty() && !FtpNames::isPlainRemoteName(*n)) {
            reply.error = FtpNames::printable(*n);
            reply.protocolError = true;
            emit finished(reply);
            return;
        }
    }
    QString missing;
    if (!curlLibrary(&missing)) {
        reply.error = QStringLiteral("Bibliothèque libcurl introuvable : ") + missing;
        emit finished(reply);
        return;
    }
    if (r.op != FtpOp::Connect && r.op != FtpOp::Disconnect && !m_curl) {
        reply.error = QStringLiteral("Non connecté.");
        emit finished(reply);
        return;
    }
    const QString path = FtpNames::join(r.folder, r.name);
    switch (r.op) {
    case FtpOp::Connect:
        doConnect(r, reply);
        break;
    case FtpOp::List:
        doList(r.folder, reply);
        break;
    case FtpOp::MakeFolder:
        reply.ok = quote(r.folder,
                         {isFtp() ? QStringLiteral("MKD ") + path
                                  : QStringLiteral("mkdir ") + sftpPath(path)},
                         reply) == CURLE_OK;
        break;
    case FtpOp::Rename: {
        const QString target = FtpNames::join(r.folder, r.newName);
        reply.ok = quote(r.folder,
                         isFtp() ? QStringList{QStringLiteral("RNFR ") + path,
                                               QStringLiteral("RNTO ") + target}
                                 : QStringList{QStringLiteral("rename ") + sftpPath(path) +
                                               QLatin1Char(' ') + sftpPath(target)},
                         reply) == CURLE_OK;
        break;
    }
    case FtpOp::DeleteFile:
        reply.ok = quote(r.folder,
                         {isFtp() ? QStringLiteral("DELE ") + path
                                  : QStringLiteral("rm ") + sftpPath(path)},
                         reply) == CURLE_OK;
        break;
    case FtpOp::DeleteFolder:
        reply.ok = quote(r.folder,
                         {isFtp() ? QStringLiteral("RMD ") + path
                                  : QStringLiteral("rmdir ") + sftpPath(path)},
                         reply) == CURLE_OK;
        break;
    case FtpOp::Noop:
        reply.ok = quote(r.folder, isFtp() ? QStringList{QStringLiteral("NOOP")} : QStringList{},
                         reply) == CURLE_OK;
        if (!reply.ok) close();
        break;
    case FtpOp::Download:
        doDownload(r, reply);
        break;
    case FtpOp::Upload:
        doUpload(r, reply);
        break;
    case FtpOp::Disconnect:
        close();
        reply.ok = true;
        break;
    }
    emit finished(reply);
}

void FtpWorker::doConnect(const FtpRequest &r, FtpReply &reply) {
    close();
    m_session = r.session;
    m_mlsd = true;
    m_keyTrust = FtpTrust();
    if (!FtpUrl::validHost(m_session.host)) {
        reply.error = QStringLiteral("Nom de serveur invalide : ") + m_session.host;
        return;
    }
    prepare();
    // Log in and learn the folder the server starts us in.
    QByteArray u = url(QStringLiteral("/"), true);
    if (isFtp()) u.chop(4); // no "%2F/": stay in the login folder
    curl_easy_setopt(m_curl, CURLOPT_URL, u.constData());
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    const CURLcode rc = perform(reply);
    if (rc != CURLE_OK) {
        reply.loginRefused = rc == CURLE_LOGIN_DENIED;
        if (m_keyTrust.kind != FtpTrust::None)
            reply.trust = m_keyTrust;
        else if (rc == CURLE_PEER_FAILED_VERIFICATION && m_session.protocol == FtpProtocol::Ftps)
            fetchCertificate(reply);
        close();
        return;
    }
    char *entry = nullptr;
    curl_easy_getinfo(m_curl, CURLINFO_FTP_ENTRY_PATH, &entry);
    const QString start =
        FtpNames::startFolder(entry ? QString::fromUtf8(entry) : QString(), m_session.folder);
    doList(start, reply);
    if (!reply.ok) close();
}

void FtpWorker::fetchCertificate(FtpReply &reply) {
    FtpTrust t;
    t.kind = FtpTrust::Certificate;
    t.host = m_session.host;
    t.port = m_session.port;
    if (QFile::exists(certificateFile())) {
        t.changed = true;
        reply.trust = t;
        return;
    }
    // Only the handshake is wanted: an anonymous login, so that no password goes
    // to a server not trusted yet.
    CURL *c = curl_easy_init();
    QByteArray u = url(QStringLiteral("/"), true);
    u.chop(4);
    curl_easy_setopt(c, CURLOPT_URL, u.constData());
    curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(c, CURLOPT_CERTINFO, 1L);
    curl_easy_setopt(c, CURLOPT_USERNAME, "anonymous");
    curl_easy_setopt(c, CURLOPT_PASSWORD, "");
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_perform(c); // the login may fail: the certificate is known by then
    curl_certinfo *info = nullptr;
    if (curl_easy_getinfo(c, CURLINFO_CERTINFO, &info) == CURLE_OK && info &&
        info->num_of_certs > 0) {
        for (curl_slist *s = info->certinfo[0]; s; s = s->next) {
            const QByteArray field(s->data);
            if (field.startsWith("Cert:")) t.data = field.mid(5);
        }
    }
    curl_easy_cleanup(c);
    if (t.data.isEmpty()) return;
    QByteArray base64 = t.data;
    base64.replace("-----BEGIN CERTIFICATE-----", "").replace("-----END CERTIFICATE-----", "");
    const QByteArray der = QByteArray::fromBase64(base64.simplified().replace(" ", ""));
    t.fingerprint = colonHex(QCryptographicHash::hash(der, QCryptographicHash::Sha256));
    reply.trust = t;
}

void FtpWorker::doList(const QString &folder, FtpReply &reply) {
    reply.folder = folder;
    QByteArray data;
    Sink sink{&data, nullptr, false};
    auto listOnce = [&](bool mlsd) {
        data.clear();
        prepare();
        curl_easy_setopt(m_curl, CURLOPT_URL, url(folder, true).constData());
        curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, &FtpWorker::write);
        curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &sink);
        if (mlsd) curl_easy_setopt(m_curl, CURLOPT_CUSTOMREQUEST, "MLSD");
        return perform(reply);
    };
    const bool mlsd = isFtp() && m_mlsd;
    CURLcode rc = listOnce(mlsd);
    if (rc != CURLE_OK && mlsd && !reply.aborted) {
        long code = 0;
        curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &code);
        // Servers without MLSD answer 500-504: they get LIST from now on.
        if (code >= 500 && code <= 504) {
            m_mlsd = false;
            reply.error.clear();
            rc = listOnce(false);
        }
    }
    if (rc != CURLE_OK) return;
    reply.ok = true;
    reply.error.clear();
    reply.listed = true;
    reply.entries =
        FtpListing::parse(data, mlsd && m_mlsd ? FtpListingFormat::Mlsd : FtpListingFormat::List,
                          QDateTime::currentDateTime());
}

void FtpWorker::doDownload(const FtpRequest &r, FtpReply &reply) {
    const QString path = FtpNames::join(r.folder, r.name);
    reply.localFile = r.localFile;
    qint64 size = -1;
    if (!remoteSize(path, reply, &size) && reply.aborted) return;
    reply.error.clear();
    QFile file(r.localFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        reply.error = file.errorString();
        return;
    }
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    Sink sink{nullptr, &file, false};
    prepare();
    curl_easy_setopt(m_curl, CURLOPT_URL, url(path, false).constData());
    curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, &FtpWorker::write);
    curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &sink);
    m_transfer = true;
    emit transferStarted(qMax<qint64>(size, 0));
    const CURLcode rc = perform(reply);
    m_transfer = false;
    curl_off_t received = -1;
    curl_easy_getinfo(m_curl, CURLINFO_SIZE_DOWNLOAD_T, &received);
    // What the file system did not take shows only when the buffer is written out.
    const bool written = !sink.failed && file.flush();
    file.close();
    const qint64 kept = written && file.error() == QFileDevice::NoError ? file.size() : -1;
    if (rc == CURLE_OK && kept >= 0 && kept == qint64(received) && (size < 0 || kept == size)) {
        reply.ok = true;
        reply.bytes = kept;
        emit transferProgress(reply.bytes);
        return;
    }
    if (rc == CURLE_OK) {
        reply.protocolError = false;
        reply.error = kept < 0 ? FtpTexts::localCopyFailed(file.errorString())
                               : FtpTexts::downloadShort(kept, size >= 0 ? size : received);
    } else if (sink.failed && !reply.aborted) {
        reply.error = FtpTexts::localCopyFailed(file.errorString());
    }
    // Nothing of an aborted, failed or short download is kept.
    file.remove();
}

void FtpWorker::doUpload(const FtpRequest &r, FtpReply &reply) {
    QFile file(r.localFile);
    if (!file.open(QIODevice::ReadOnly)) {
        reply.error = file.errorString();
        return;
    }
    const qint64 size = file.size();
    const QString tag = QString::number(QRandomGenerator::global()->generate(), 16);
    const QString temporary = FtpNames::uploadTemporaryName(r.name, tag);
    const QString temporaryPath = FtpNames::join(r.folder, temporary);

    prepare();
    curl_easy_setopt(m_curl, CURLOPT_URL, url(temporaryPath, false).constData());
    curl_easy_setopt(m_curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(m_curl, CURLOPT_READFUNCTION, &FtpWorker::read);
    curl_easy_setopt(m_curl, CURLOPT_READDATA, &file);
    curl_easy_setopt(m_curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
    m_transfer = true;
    emit transferStarted(size);
    CURLcode rc = perform(reply);
    m_transfer = false;
    curl_off_t sent = -1;
    curl_easy_getinfo(m_curl, CURLINFO_SIZE_UPLOAD_T, &sent);
    file.close();

    // Whatever goes wrong, the temporary file does not stay on the server; one that
    // was sent whole and cannot be removed is named to the user.
    auto removeTemporary = [&](bool whole = false) {
        m_abort->store(false);
        FtpReply ignored;
        if (quote(r.folder, deleteCommands(temporaryPath), ignored) != CURLE_OK && whole)
            reply.leftover = temporary;
    };
    if (rc != CURLE_OK) {
        removeTemporary();
        return;
    }
    emit transferProgress(size);
    // The server must hold every byte before the old file is replaced. A server
    // without SIZE is judged by what the transfer itself counted.
    qint64 stored = -1;
    if (!storedSize(r.folder, temporaryPath, reply, &stored)) {
        removeTemporary();
        return;
    }
    if (stored != size && (stored >= 0 || qint64(sent) != size)) {
        reply.message = stored >= 0 ? FtpTexts::sizeMismatch(size, stored)
                                    : FtpTexts::uploadShort(qint64(sent), size);
        reply.protocolError = stored >= 0;
        reply.bytes = stored >= 0 ? stored : qint64(sent);
        removeTemporary();
        return;
    }
    if (replaceTarget(r.folder, r.name, temporaryPath, tag, reply) != CURLE_OK) {
        removeTemporary(true);
        return;
    }
    reply.ok = true;
    reply.error.clear();
    reply.bytes = size;
}

// ---- the client ----

FtpClient::FtpClient(QObject *parent)
    : QObject(parent), m_abort(std::make_shared<std::atomic<bool>>(false)),
      m_epoch(std::make_shared<std::atomic<quint64>>(0)) {
    static const bool once = [] {
        if (curlLibrary()) curl_global_init(CURL_GLOBAL_DEFAULT);
        qRegisterMetaType<FtpReply>();
        return true;
    }();
    Q_UNUSED(once);
    m_thread = new QThread(this);
    m_worker = new FtpWorker(m_abort);
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &FtpWorker::status, this, &FtpClient::status);
    connect(m_worker, &FtpWorker::transferStarted, this, &FtpClient::transferStarted);
    connect(m_worker, &FtpWorker::transferProgress, this, &FtpClient::transferProgress);
    connect(m_worker, &FtpWorker::finished, this, &FtpClient::onFinished);
    m_thread->start();
    setTrustFolder(defaultTrustFolder());
    // The user's own SSH key is offered before the password.
    const QString ssh = QDir::homePath() + QStringLiteral("/.ssh/");
    for (const char *key : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
        if (QFile::exists(ssh + QLatin1String(key))) {
            setSshKeyFile(ssh + QLatin1String(key));
            break;
        }
    }
}

FtpClient::~FtpClient() {
    abort();
    m_thread->quit();
    m_thread->wait();
}

QString FtpClient::defaultTrustFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/ftp");
}

void FtpClient::setTrustFolder(const QString &folder) {
    m_trustFolder = folder;
    QMetaObject::invokeMethod(m_worker, [w = m_worker, folder] { w->trustFolder = folder; });
}

void FtpClient::setSshKeyFile(const QString &path) {
    QMetaObject::invokeMethod(m_worker, [w = m_worker, path] { w->sshKeyFile = path; });
}

void FtpClient::post(const FtpRequest &request) {
    ++m_pending;
    QMetaObject::invokeMethod(m_worker,
                              [w = m_worker, request, epoch = m_epoch, asked = m_epoch->load()] {
                                  if (asked == epoch->load()) {
                                      w->run(request);
                                      return;
                                  }
                                  // Given up before it started.
                                  FtpReply reply;
                                  reply.op = request.op;
                                  reply.folder = request.folder;
                                  reply.aborted = true;
                                  emit w->finished(reply);
                              });
}

void FtpClient::onFinished(const FtpReply &reply) {
    --m_pending;
    const bool was = m_connected;
    if (reply.op == FtpOp::Connect)
        m_connected = reply.ok;
    else if (reply.op == FtpOp::Disconnect || (reply.op == FtpOp::Noop && !reply.ok))
        m_connected = false;
    emit finished(reply);
    if (was != m_connected) emit connectedChanged(m_connected);
}

void FtpClient::connectTo(const FtpSession &session) {
    m_session = session;
    FtpRequest r;
    r.op = FtpOp::Connect;
    r.session = session;
    post(r);
}

void FtpClient::list(const QString &folder) {
    FtpRequest r;
    r.op = FtpOp::List;
    r.folder = folder;
    post(r);
}

void FtpClient::makeFolder(const QString &folder, const QString &name) {
    FtpRequest r;
    r.op = FtpOp::MakeFolder;
    r.folder = folder;
    r.name = name;
    post(r);
}

void FtpClient::rename(const QString &folder, const QString &from, const QString &to) {
    FtpRequest r;
    r.op = FtpOp::Rename;
    r.folder = folder;
    r.name = from;
    r.newName = to;
    post(r);
}

void FtpClient::deleteFile(const QString &folder, const QString &name) {
    FtpRequest r;
    r.op = FtpOp::DeleteFile;
    r.folder = folder;
    r.name = name;
    post(r);
}

void FtpClient::deleteFolder(const QString &folder, const QString &name) {
    FtpRequest r;
    r.op = FtpOp::DeleteFolder;
    r.folder = folder;
    r.name = name;
    post(r);
}

void FtpClient::noop() {
    FtpRequest r;
    r.op = FtpOp::Noop;
    r.folder = QStringLiteral("/");
    post(r);
}

void FtpClient::download(const QString &folder, const QString &name, const QString &localFile) {
    FtpRequest r;
    r.op = FtpOp::Download;
    r.folder = folder;
    r.name = name;
    r.localFile = localFile;
    post(r);
}

void FtpClient::upload(const QString &localFile, const QString &folder, const QString &name) {
    FtpRequest r;
    r.op = FtpOp::Upload;
    r.folder = folder;
    r.name = name;
    r.localFile = localFile;
    post(r);
}

void FtpClient::disconnectFromHost() {
    FtpRequest r;
    r.op = FtpOp::Disconnect;
    post(r);
}

void FtpClient::abort() {
    m_abort->store(true);
}

void FtpClient::abortAll() {
    m_epoch->fetch_add(1);
    m_abort->store(true);
}

bool FtpClient::trust(const FtpTrust &t) {
    if (t.changed || t.kind == FtpTrust::None) return false;
    ensurePrivateFolder(m_trustFolder);
    if (t.kind == FtpTrust::Certificate) {
        ensurePrivateFolder(m_trustFolder + QStringLiteral("/certificats"));
        QString host = t.host;
        host.replace(QLatin1Char(':'), QLatin1Char('_'));
        QFile f(m_trustFolder + QStringLiteral("/certificats/") + host + QLatin1Char('_') +
                QString::number(t.port) + QStringLiteral(".pem"));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        QByteArray pem = t.data.trimmed();
        if (!pem.startsWith("-----BEGIN"))
            pem = "-----BEGIN CERTIFICATE-----\n" + pem + "\n-----END CERTIFICATE-----";
        return f.write(pem + '\n') > 0;
    }
    // The key is added to our known hosts by curl once it is seen again.
    QMetaObject::invokeMethod(m_worker, [w = m_worker, key = t.data] { w->acceptedKey = key; });
    return true;
}

#include "ftp_client.moc"
