#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <atomic>

// What was last sent of one file: its size and content hash, and the local file's
// modification time when it was hashed (a file whose size and time are unchanged
// is not read again).
struct SentFile {
    qint64 size = -1;
    QByteArray hash;     // SHA-256, raw
    qint64 modified = 0; // ms since the epoch
};

// A file of the local site; `path` is relative, with "/" separators.
struct LocalFile {
    QString path;
    qint64 size = 0;
    QByteArray hash;
    qint64 modified = 0;
};

// What the server holds under the publishing folder, by relative path.
struct RemoteFile {
    qint64 size = 0;
    QDateTime modified;
};
struct RemoteTree {
    QHash<QString, RemoteFile> files;
    QSet<QString> folders;
    bool rootExists = true;
};

// What was sent from one site with one session into one remote folder, kept in the
// user's private data folder (never in the site).
class PublishState {
public:
    QHash<QString, SentFile> files;

    // The store's file for a site, a session and a remote folder, under `folder`.
    static QString fileFor(const QString &folder, const QString &site, const QString &session,
                           const QString &remoteFolder);
    // The user's data folder for these files.
    static QString defaultFolder();
    // A missing file is an empty state; false for an unreadable one (left as it is).
    bool load(const QString &file);
    // Written whole (never half), the folder 0700 and the file 0600.
    bool save(const QString &file) const;
};

namespace PublishScan {

// The site's files, sorted by path. Version-control folders are left out. A file
// whose size and time match its entry in `known` keeps that hash unread. Empty
// when `stop` was raised.
QList<LocalFile> scan(const QString &site, const QHash<QString, SentFile> &known,
                      const std::atomic<bool> *stop = nullptr);
QByteArray hashFile(const QString &path);
bool isSkippedFolder(const QString &name);

} // namespace PublishScan

enum class PublishChange { New, Changed, Missing, Extra };

struct PublishItem {
    QString path;
    PublishChange change = PublishChange::New;
    qint64 size = 0;
};

struct PublishPlan {
    QList<PublishItem> uploads; // new, changed and missing files, by path
    QList<PublishItem> extras;  // on the server only: deleted only when the user ticks them
    QStringList folders;        // remote folders to make, parents first ("" is the root)
    // Files not recorded yet that the server already holds alike: recorded as sent.
    QHash<QString, SentFile> adopted;
    int unchanged = 0;
    qint64 bytes = 0; // to send
    bool isEmpty() const { return uploads.isEmpty() && extras.isEmpty(); }
};

namespace PublishPlanner {

// Compares the site with what was sent and with the server. A file never sent
// that the server holds with the same size and a date not older than the local
// file's is taken as already there.
PublishPlan build(const QList<LocalFile> &local, const QHash<QString, SentFile> &sent,
                  const RemoteTree &remote);
// The folder part of a relative path ("" for the root) and its name part.
QString folderOf(const QString &path);
QString nameOf(const QString &path);
QString changeText(PublishChange change);

} // namespace PublishPlanner
