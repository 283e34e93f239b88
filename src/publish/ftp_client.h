#pragma once

#include "publish/ftp_listing.h"
#include "publish/ftp_session.h"

#include <QList>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

class QThread;
class FtpWorker;

enum class FtpOp {
    Connect,
    List,
    MakeFolder,
    Rename,
    DeleteFile,
    DeleteFolder,
    Noop,
    Download,
    Upload,
    Disconnect
};

// A server the program does not trust yet, or no longer: a TLS certificate not
// vouched for by an authority, or an SSH host key not in our known hosts.
struct FtpTrust {
    enum Kind { None, Certificate, HostKey };
    Kind kind = None;
    bool changed = false; // differs from the one accepted before: refused
    QString host;
    int port = 0;
    QString fingerprint;
    QByteArray data; // the certificate (PEM) or the key (raw)
    int keyType = 0; // curl's key type, for host keys
};

// What one request gave.
struct FtpReply {
    FtpOp op = FtpOp::Noop;
    bool ok = false;
    bool aborted = false;
    bool protocolError = false; // the server refused (as opposed to a network failure)
    bool loginRefused = false;  // Connect: the server refused the user name or password
    QString error;              // the server's or the library's text
    QString message;            // a complete message for the user, when there is one
    QString folder;             // the folder listed (Connect, List)
    bool listed = false;
    QList<FtpEntry> entries;
    QString localFile; // Download: the file written
    QString leftover;  // Upload: the temporary name left on the server
    qint64 bytes = 0;
    FtpTrust trust;
};

// One request to the worker.
struct FtpRequest {
    FtpOp op = FtpOp::Noop;
    FtpSession session; // Connect
    QString folder;     // absolute remote folder
    QString name;       // entry in that folder
    QString newName;    // Rename
    QString localFile;  // Download (created) / Upload (read)
};

// The FTP, FTPS and SFTP client. Every network call runs on a worker thread
// with curl; this object lives on the caller's thread, sends requests in order
// and reports through signals. abort() stops a running request within a second.
class FtpClient : public QObject {
    Q_OBJECT
public:
    explicit FtpClient(QObject *parent = nullptr);
    ~FtpClient() override;

    // Where our known SSH hosts and accepted certificates are kept (created 0700).
    void setTrustFolder(const QString &folder);
    QString trustFolder() const { return m_trustFolder; }
    static QString defaultTrustFolder();
    // An SSH private key to offer before the password (by default the first of
    // ~/.ssh/id_ed25519, id_ecdsa and id_rsa that exists).
    void setSshKeyFile(const QString &path);

    void connectTo(const FtpSession &session);
    void list(const QString &folder);
    void makeFolder(const QString &folder, const QString &name);
    void rename(const QString &folder, const QString &from, const QString &to);
    void deleteFile(const QString &folder, const QString &name);
    void deleteFolder(const QString &folder, const QString &name);
    void noop();
    void download(const QString &folder, const QString &name, const QString &localFile);
    void upload(const QString &localFile, const QString &folder, const QString &name);
    void disconnectFromHost();
    // Thread-safe: the running transfer stops at the next progress call.
    void abort();
    // Thread-safe: aborts the running request and every one asked for so far.
    void abortAll();

    // Accepts a certificate or host key the user agreed to; the next Connect uses it.
    bool trust(const FtpTrust &trust);

    bool isConnected() const { return m_connected; }
    bool isBusy() const { return m_pending > 0; }
    FtpSession session() const { return m_session; }

signals:
    void status(const QString &text);
    void transferStarted(qint64 total);
    void transferProgress(qint64 bytes);
    void finished(const FtpReply &reply);
    void connectedChanged(bool connected);

private:
    void post(const FtpRequest &request);
    void onFinished(const FtpReply &reply);

    QThread *m_thread = nullptr;
    FtpWorker *m_worker = nullptr;
    std::shared_ptr<std::atomic<bool>> m_abort;
    std::shared_ptr<std::atomic<quint64>> m_epoch; // raised by abortAll()
    QString m_trustFolder;
    FtpSession m_session;
    bool m_connected = false;
    int m_pending = 0;
};

Q_DECLARE_METATYPE(FtpReply)
