#include "site/publish_run.h"

#include "publish/ftp_names.h"
#include "site/publish_site_texts.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace {
// Network failures in a row after which the connection is taken as lost.
constexpr int kLostAfter = 3;
// Files sent at once, each over its own connection, and requests queued on each.
constexpr int kLanes = 2;
constexpr int kQueued = 2;
// Fewer files than this are not worth a second connection.
constexpr int kSecondLaneFrom = 4;
} // namespace

SitePublisher::SitePublisher(QObject *parent)
    : QObject(parent), m_stateFolder(PublishState::defaultFolder()) {
    static const bool once = [] {
        qRegisterMetaType<PublishPlan>();
        qRegisterMetaType<PublishResult>();
        return true;
    }();
    Q_UNUSED(once);
    for (int i = 0; i < kLanes; ++i) {
        Lane lane;
        lane.client = new FtpClient(this);
        lane.ready = i == 0;
        m_lanes << lane;
        connect(lane.client, &FtpClient::finished, this,
                [this, i](const FtpReply &reply) { onLaneReply(i, reply); });
        connect(lane.client, &FtpClient::transferProgress, this, [this, i](qint64 bytes) {
            if (m_state != Publishing || m_lanes[i].inFlight.isEmpty()) return;
            m_lanes[i].bytes = bytes;
            qint64 all = m_doneBytes;
            for (const Lane &l : std::as_const(m_lanes))
                all += l.bytes;
            emit progress(m_tasks.at(m_lanes[i].inFlight.first()).path, bytes, all, m_plan.bytes);
        });
    }
}

void SitePublisher::setTrustFolder(const QString &folder) {
    for (const Lane &l : std::as_const(m_lanes))
        l.client->setTrustFolder(folder);
}

void SitePublisher::setSshKeyFile(const QString &path) {
    for (const Lane &l : std::as_const(m_lanes))
        l.client->setSshKeyFile(path);
}

SitePublisher::~SitePublisher() {
    if (m_stopScan) m_stopScan->store(true);
    if (m_scanThread) {
        m_scanThread->wait();
        delete m_scanThread;
    }
}

QString SitePublisher::stateFile() const {
    return PublishState::fileFor(m_stateFolder, m_site, m_session.name, m_root);
}

QString SitePublisher::remotePath(const QString &rel) const {
    return rel.isEmpty() ? m_root : FtpNames::join(m_root, rel);
}

// ---- comparing ----

void SitePublisher::compare(const FtpSession &session, const QString &site,
                            const QString &remoteFolder) {
    if (isBusy()) return;
    if (m_scanThread) {
        // The reading of a comparison given up ends first.
        m_stopScan->store(true);
        m_scanThread->wait();
        m_scanThread = nullptr;
        ++m_generation;
    }
    m_cancel = false;
    m_session = session;
    m_site = QDir::cleanPath(QDir(site).absolutePath());
    m_remoteFolder = remoteFolder.isEmpty() ? session.folder : remoteFolder;
    m_compared = false;
    m_scanned = m_listed = false;
    m_remote = RemoteTree();
    m_local.clear();
    m_plan = PublishPlan();
    m_state = Connecting;
    emit stage(PublishSiteTexts::connecting(session.host));
    FtpSession s = session;
    s.folder.clear(); // the login folder: the publishing folder may not exist yet
    client()->connectTo(s);
    // The other connections log in meanwhile, ready for the sending.
    for (int i = 1; i < m_lanes.size(); ++i) {
        ++m_lanes[i].connects;
        m_lanes[i].client->connectTo(s);
    }
}

void SitePublisher::onLaneReply(int lane, const FtpReply &reply) {
    Lane &l = m_lanes[lane];
    if (lane > 0 && (reply.op == FtpOp::Connect || reply.op == FtpOp::Disconnect)) {
        // The last connection asked for tells; without it, the first sends everything.
        if (reply.op == FtpOp::Connect) --l.connects;
        if (l.connects == 0) l.ready = reply.op == FtpOp::Connect && reply.ok;
        if (m_state == Publishing) postTasks();
        return;
    }
    if (m_state == Publishing) {
        if (!l.inFlight.isEmpty()) onPublished(lane, reply);
        return;
    }
    if (lane == 0) onReply(reply);
}

void SitePublisher::onReply(const FtpReply &reply) {
    switch (m_state) {
    case Connecting:
        onConnected(reply);
        break;
    case Listing:
        onListed(reply);
        break;
    case Publishing:
    case Idle:
        break;
    }
}

void SitePublisher::onConnected(const FtpReply &reply) {
    if (!reply.ok) {
        m_state = Idle;
        emit compareFailed(reply);
        return;
    }
    m_root = FtpNames::startFolder(reply.folder, m_remoteFolder);
    // The site is read on its own thread while the server is listed.
    m_sent = PublishState();
    m_sent.load(stateFile());
    m_stopScan = std::make_shared<std::atomic<bool>>(false);
    auto result = std::make_shared<QList<LocalFile>>();
    QThread *thread =
        QThread::create([site = m_site, known = m_sent.files, stop = m_stopScan, result] {
            *result = PublishScan::scan(site, known, stop.get());
        });
    m_scanThread = thread;
    const int generation = ++m_generation;
    connect(thread, &QThread::finished, this, [this, result, thread, generation] {
        thread->deleteLater();
        if (generation != m_generation) return; // a comparison given up
        m_scanThread = nullptr;
        m_local = *result;
        m_scanned = true;
        maybeCompared();
    });
    m_scanThread->start();
    m_state = Listing;
    m_toList = QStringList{QString()};
    listNext();
}

void SitePublisher::listNext() {
    if (m_cancel || m_toList.isEmpty()) {
        m_listed = true;
        maybeCompared();
        return;
    }
    m_listing = m_toList.takeFirst();
    emit stage(PublishSiteTexts::listing(remotePath(m_listing)));
    client()->list(remotePath(m_listing));
}

void SitePublisher::onListed(const FtpReply &reply) {
    if (!reply.ok) {
        // A publishing folder not made yet is made by the publishing.
        if (m_listing.isEmpty() && reply.protocolError && !reply.aborted) {
            m_remote.rootExists = false;
            m_listed = true;
            maybeCompared();
            return;
        }
        m_state = Idle;
        if (m_stopScan) m_stopScan->store(true);
        FtpReply r = reply;
        if (!reply.aborted)
            r.message = PublishSiteTexts::listingFailed(remotePath(m_listing), reply.error);
        emit compareFailed(r);
        return;
    }
    for (const FtpEntry &e : reply.entries) {
        // Names that are no plain names are neither ours nor deletable safely.
        if (!FtpNames::isPlainRemoteName(e.name)) continue;
        const QString rel = m_listing.isEmpty() ? e.name : m_listing + QLatin1Char('/') + e.name;
        if (e.type == FtpEntryType::Folder) {
            m_remote.folders.insert(rel);
            if (!PublishScan::isSkippedFolder(e.name)) m_toList << rel;
        } else if (e.type == FtpEntryType::File) {
            m_remote.files.insert(rel, RemoteFile{e.size, e.modified});
        }
    }
    listNext();
}

void SitePublisher::maybeCompared() {
    if (m_state != Listing || !m_scanned || !m_listed) return;
    m_state = Idle;
    if (m_cancel) {
        m_cancel = false;
        FtpReply r;
        r.aborted = true;
        emit compareFailed(r);
        return;
    }
    m_plan = PublishPlanner::build(m_local, m_sent.files, m_remote);
    m_localByPath.clear();
    for (const LocalFile &l : m_local)
        m_localByPath.insert(l.path, l);
    m_compared = true;
    emit compared(m_plan);
}

// ---- publishing ----

void SitePublisher::publish(const QStringList &deleteExtras) {
    if (isBusy() || !m_compared) return;
    m_tasks.clear();
    for (const QString &f : m_plan.folders)
        m_tasks << Task{Step::MakeFolder, f, 0};
    for (const PublishItem &i : m_plan.uploads)
        m_tasks << Task{Step::Upload, i.path, i.size};
    for (const QString &p : deleteExtras)
        m_tasks << Task{Step::Delete, p, 0};
    // What the server already held alike is on record from now on.
    for (auto it = m_plan.adopted.begin(); it != m_plan.adopted.end(); ++it)
        m_sent.files.insert(it.key(), it.value());
    m_posted = 0;
    m_foldersLeft = int(m_plan.folders.size());
    m_announced = QList<bool>(m_tasks.size(), false);
    m_lost = false;
    m_uploads = int(m_plan.uploads.size());
    m_uploadIndex = 0;
    m_doneBytes = 0;
    m_networkFailures = 0;
    m_cancel = false;
    m_result = PublishResult();
    m_state = Publishing;
    for (int i = 1; i < m_lanes.size() && m_uploads >= kSecondLaneFrom; ++i) {
        Lane &l = m_lanes[i];
        if (l.ready || l.connects > 0) continue;
        FtpSession s = m_session;
        s.folder.clear();
        ++l.connects;
        l.client->connectTo(s);
    }
    postTasks();
}

void SitePublisher::onPublished(int laneIndex, const FtpReply &reply) {
    Lane &lane = m_lanes[laneIndex];
    const Task task = m_tasks.at(lane.inFlight.takeFirst());
    lane.bytes = 0;
    if (task.step == Step::MakeFolder) --m_foldersLeft;
    if (reply.ok) {
        m_networkFailures = 0;
        if (task.step == Step::Upload) {
            const LocalFile &l = m_localByPath.value(task.path);
            m_sent.files.insert(task.path, SentFile{l.size, l.hash, l.modified});
            ++m_result.sent;
            m_doneBytes += task.size;
        } else if (task.step == Step::Delete) {
            m_sent.files.remove(task.path);
            ++m_result.deleted;
        }
        if (task.step != Step::MakeFolder) emit fileFinished(task.path, true, QString());
    } else if (reply.aborted) {
        // The file being sent when the cancel came stays the old one.
        if (task.step == Step::Upload) m_result.notSent << task.path;
        m_cancel = true;
    } else {
        // A file gone since the comparison is no fault of the server's.
        const bool local =
            task.step == Step::Upload && !QFileInfo(QDir(m_site).filePath(task.path)).isReadable();
        const QString why = local                      ? PublishSiteTexts::localMissing()
                            : !reply.message.isEmpty() ? reply.message
                                                       : reply.error;
        m_result.failures << PublishFailure{task.path, why};
        if (task.step == Step::Upload) m_doneBytes += task.size;
        emit fileFinished(task.path, false, why);
        if (!local && !reply.protocolError && ++m_networkFailures >= kLostAfter) m_lost = true;
    }
    postTasks();
}

void SitePublisher::postTasks() {
    const bool stopping = m_cancel || m_lost;
    // The next request waits in each worker's queue while one runs, so that no
    // connection idles on this thread's turn.
    for (int i = 0; i < m_lanes.size() && !stopping; ++i) {
        Lane &lane = m_lanes[i];
        if (!lane.ready) continue;
        while (m_posted < m_tasks.size() && lane.inFlight.size() < kQueued) {
            const Task &t = m_tasks.at(m_posted);
            // The folders are made first, in order, on one connection.
            if (t.step == Step::MakeFolder ? i > 0 : m_foldersLeft > 0) break;
            lane.inFlight << m_posted;
            post(lane.client, m_tasks.at(m_posted++));
        }
    }
    bool waiting = false;
    for (const Lane &lane : std::as_const(m_lanes)) {
        if (lane.inFlight.isEmpty()) continue;
        waiting = true;
        const int head = lane.inFlight.first();
        const Task &t = m_tasks.at(head);
        if (t.step == Step::Upload && !m_announced.at(head)) {
            m_announced[head] = true;
            emit fileStarted(t.path, t.size, ++m_uploadIndex, m_uploads);
            emit progress(t.path, 0, m_doneBytes, m_plan.bytes);
        }
    }
    if (waiting) return; // replies still to come
    if (stopping) {
        m_result.cancelled = m_cancel;
        for (int i = m_posted; i < m_tasks.size(); ++i)
            if (m_tasks.at(i).step == Step::Upload) m_result.notSent << m_tasks.at(i).path;
    }
    finishRun();
}

void SitePublisher::post(FtpClient *client, const Task &t) {
    const QString folder = remotePath(PublishPlanner::folderOf(t.path));
    switch (t.step) {
    case Step::MakeFolder:
        emit stage(PublishSiteTexts::makingFolder(remotePath(t.path)));
        if (t.path.isEmpty())
            client->makeFolder(FtpNames::parent(m_root), PublishPlanner::nameOf(m_root));
        else
            client->makeFolder(folder, PublishPlanner::nameOf(t.path));
        break;
    case Step::Upload:
        client->upload(QDir(m_site).filePath(t.path), folder, PublishPlanner::nameOf(t.path));
        break;
    case Step::Delete:
        emit stage(PublishSiteTexts::deleting(t.path));
        client->deleteFile(folder, PublishPlanner::nameOf(t.path));
        break;
    }
}

void SitePublisher::finishRun() {
    m_state = Idle;
    // The extra connections end with the run.
    for (int i = 1; i < m_lanes.size(); ++i) {
        if (m_lanes[i].ready || m_lanes[i].connects > 0) m_lanes[i].client->disconnectFromHost();
        m_lanes[i].ready = false;
        m_lanes[i].inFlight.clear();
    }
    m_cancel = false;
    // What is sent is on the server now: the next comparison starts from there.
    m_compared = false;
    saveState();
    emit published(m_result);
}

void SitePublisher::saveState() {
    // Files gone from the site are no longer ours to remember.
    for (auto it = m_sent.files.begin(); it != m_sent.files.end();) {
        if (!m_localByPath.contains(it.key()))
            it = m_sent.files.erase(it);
        else
            ++it;
    }
    m_sent.save(stateFile());
}

void SitePublisher::cancel() {
    if (m_state == Idle) return;
    m_cancel = true;
    if (m_stopScan) m_stopScan->store(true);
    // What is queued behind the running requests goes nowhere either.
    for (const Lane &l : std::as_const(m_lanes))
        l.client->abortAll();
}

void SitePublisher::disconnectFromServer() {
    cancel();
    for (const Lane &l : std::as_const(m_lanes))
        if (l.client->isConnected()) l.client->disconnectFromHost();
}
