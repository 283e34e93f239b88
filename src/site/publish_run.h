#pragma once

#include "publish/ftp_client.h"
#include "publish/ftp_session.h"
#include "site/publish_plan.h"

#include <QObject>
#include <QStringList>
#include <atomic>
#include <memory>

class QThread;

// A file that could not be sent (or made, or deleted), and why.
struct PublishFailure {
    QString path;
    QString error;
};

struct PublishResult {
    int sent = 0;
    int deleted = 0;
    bool cancelled = false;
    QList<PublishFailure> failures;
    QStringList notSent; // left when the run stopped (cancel, lost connection)
};

// Publishes a local site into a remote folder through its own FTP clients (the
// FTP window's, with its transactional upload): every network call runs on a
// client's worker thread and the local files are read on another. Files go over
// two connections, so that one's wait for the server is the other's sending.
// compare() finds what would change; publish() sends it once the user agreed.
class SitePublisher : public QObject {
    Q_OBJECT
public:
    explicit SitePublisher(QObject *parent = nullptr);
    ~SitePublisher() override;

    // The connection that compares (and makes folders); files go over two.
    FtpClient *client() const { return m_lanes.first().client; }
    // Where trusted servers are kept, and the SSH key offered: for every connection.
    void setTrustFolder(const QString &folder);
    void setSshKeyFile(const QString &path);
    // Where what was sent is remembered (the user's data folder by default).
    void setStateFolder(const QString &folder) { m_stateFolder = folder; }
    QString stateFile() const;

    // `remoteFolder` is absolute or relative to the login folder (empty: the session's).
    void compare(const FtpSession &session, const QString &site, const QString &remoteFolder);
    // Sends the compared plan; `deleteExtras` are the server's files to delete.
    void publish(const QStringList &deleteExtras = {});
    // Stops at the end of the file being sent (which is then old or new, never half).
    void cancel();
    void disconnectFromServer();

    bool isBusy() const { return m_state != Idle; }
    const PublishPlan &plan() const { return m_plan; }
    bool hasPlan() const { return m_compared; }
    QString remoteRoot() const { return m_root; }

signals:
    void stage(const QString &text);
    void compared(const PublishPlan &plan);
    // The comparison could not be made (its reply tells why: login, trust...).
    void compareFailed(const FtpReply &reply);
    void fileStarted(const QString &path, qint64 size, int index, int count);
    // Bytes of a file being sent, and of the whole run so far.
    void progress(const QString &path, qint64 fileBytes, qint64 doneBytes, qint64 totalBytes);
    void fileFinished(const QString &path, bool ok, const QString &error);
    void published(const PublishResult &result);

private:
    enum State { Idle, Connecting, Listing, Publishing };
    enum class Step { MakeFolder, Upload, Delete };
    struct Task {
        Step step;
        QString path;
        qint64 size = 0;
    };

    void onReply(const FtpReply &reply);
    void onConnected(const FtpReply &reply);
    void onListed(const FtpReply &reply);
    void listNext();
    void scanFinished();
    void maybeCompared();
    struct Lane {
        FtpClient *client = nullptr;
        QList<int> inFlight; // task indexes, in the order posted
        bool ready = false;
        int connects = 0; // asked for, not answered yet
        qint64 bytes = 0; // of the file it sends
    };

    void onLaneReply(int lane, const FtpReply &reply);
    void onPublished(int lane, const FtpReply &reply);
    // Keeps the worker fed; ends the run once every reply is in.
    void postTasks();
    void post(FtpClient *client, const Task &task);
    void finishRun();
    void saveState();
    QString remotePath(const QString &rel) const;

    QList<Lane> m_lanes;
    QString m_stateFolder;
    FtpSession m_session;
    QString m_site;
    QString m_remoteFolder;
    QString m_root;
    State m_state = Idle;
    bool m_compared = false;

    // Comparing.
    QThread *m_scanThread = nullptr;
    int m_generation = 0;
    std::shared_ptr<std::atomic<bool>> m_stopScan;
    QList<LocalFile> m_local;
    bool m_scanned = false;
    bool m_listed = false;
    QStringList m_toList;
    QString m_listing;
    RemoteTree m_remote;
    PublishState m_sent;
    PublishPlan m_plan;

    // Publishing.
    QList<Task> m_tasks;
    int m_posted = 0;
    int m_foldersLeft = 0;
    QList<bool> m_announced;
    bool m_lost = false;
    int m_uploads = 0;
    int m_uploadIndex = 0;
    qint64 m_doneBytes = 0;
    int m_networkFailures = 0;
    bool m_cancel = false;
    PublishResult m_result;
    QHash<QString, LocalFile> m_localByPath;
};

Q_DECLARE_METATYPE(PublishPlan)
Q_DECLARE_METATYPE(PublishResult)
