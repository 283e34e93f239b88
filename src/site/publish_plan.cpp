#include "site/publish_plan.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

// ---- the sent-state store ----

QString PublishState::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/publication");
}

QString PublishState::fileFor(const QString &folder, const QString &site, const QString &session,
                              const QString &remoteFolder) {
    // One file per triple; the name says nothing of the site but stays stable.
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(QDir::cleanPath(QFileInfo(site).absoluteFilePath()).toUtf8());
    h.addData(QByteArray(1, '\0'));
    h.addData(session.toUtf8());
    h.addData(QByteArray(1, '\0'));
    h.addData(remoteFolder.toUtf8());
    return folder + QLatin1Char('/') + QString::fromLatin1(h.result().toHex().left(32)) +
           QStringLiteral(".json");
}

bool PublishState::load(const QString &file) {
    files.clear();
    QFile f(file);
    if (!f.exists()) return true;
    if (!f.open(QIODevice::ReadOnly)) return false;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) return false;
    const QJsonObject all = doc.object().value(QStringLiteral("fichiers")).toObject();
    for (auto it = all.begin(); it != all.end(); ++it) {
        const QJsonArray a = it.value().toArray();
        if (a.size() != 3) continue;
        SentFile s;
        s.size = qint64(a.at(0).toDouble(-1));
        s.hash = QByteArray::fromHex(a.at(1).toString().toLatin1());
        s.modified = qint64(a.at(2).toDouble());
        files.insert(it.key(), s);
    }
    return true;
}

bool PublishState::save(const QString &file) const {
    const QString folder = QFileInfo(file).absolutePath();
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QJsonObject all;
    for (auto it = files.begin(); it != files.end(); ++it)
        all.insert(it.key(), QJsonArray{double(it->size), QString::fromLatin1(it->hash.toHex()),
                                        double(it->modified)});
    QJsonObject root;
    root.insert(QStringLiteral("fichiers"), all);
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    f.write(QJsonDocument(root).toJson(QJsonDocument::Compact));
    return f.commit();
}

// ---- the local site ----

namespace PublishScan {

bool isSkippedFolder(const QString &name) {
    static const QStringList skipped = {QStringLiteral(".git"), QStringLiteral(".svn"),
                                        QStringLiteral(".hg"), QStringLiteral("CVS")};
    return skipped.contains(name);
}

QByteArray hashFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (!h.addData(&f)) return {};
    return h.result();
}

QList<LocalFile> scan(const QString &site, const QHash<QString, SentFile> &known,
                      const std::atomic<bool> *stop) {
    QList<LocalFile> out;
    const QDir root(site);
    QStringList folders{QString()};
    while (!folders.isEmpty()) {
        const QString rel = folders.takeFirst();
        const QDir dir(rel.isEmpty() ? site : root.filePath(rel));
        const QFileInfoList entries = dir.entryInfoList(
            QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
        for (const QFileInfo &fi : entries) {
            if (stop && stop->load()) return {};
            const QString path =
                rel.isEmpty() ? fi.fileName() : rel + QLatin1Char('/') + fi.fileName();
            if (fi.isDir()) {
                // A link to a folder could loop: only real folders are walked.
                if (!fi.isSymLink() && !isSkippedFolder(fi.fileName())) folders << path;
                continue;
            }
            LocalFile l;
            l.path = path;
            l.size = fi.size();
            l.modified = fi.lastModified().toMSecsSinceEpoch();
            const auto k = known.constFind(path);
            if (k != known.constEnd() && k->size == l.size && k->modified == l.modified &&
                !k->hash.isEmpty())
                l.hash = k->hash;
            else
                l.hash = hashFile(fi.filePath());
            out << l;
        }
    }
    std::sort(out.begin(), out.end(),
              [](const LocalFile &a, const LocalFile &b) { return a.path < b.path; });
    return out;
}

} // namespace PublishScan

// ---- the plan ----

namespace PublishPlanner {

QString folderOf(const QString &path) {
    const int slash = int(path.lastIndexOf(QLatin1Char('/')));
    return slash < 0 ? QString() : path.left(slash);
}

QString nameOf(const QString &path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString changeText(PublishChange change) {
    switch (change) {
    case PublishChange::New:
        return QStringLiteral("Nouveau");
    case PublishChange::Changed:
        return QStringLiteral("Modifié");
    case PublishChange::Missing:
        return QStringLiteral("Absent du serveur");
    case PublishChange::Extra:
        return QStringLiteral("Sur le serveur seulement");
    }
    return {};
}

PublishPlan build(const QList<LocalFile> &local, const QHash<QString, SentFile> &sent,
                  const RemoteTree &remote) {
    PublishPlan plan;
    QSet<QString> localPaths;
    QSet<QString> needed;
    for (const LocalFile &l : local) {
        localPaths.insert(l.path);
        const auto r = remote.files.constFind(l.path);
        const auto s = sent.constFind(l.path);
        const bool hasSent = s != sent.constEnd();
        const bool sameAsSent = hasSent && s->size == l.size && s->hash == l.hash;
        PublishItem item{l.path, PublishChange::Changed, l.size};
        if (r == remote.files.constEnd()) {
            item.change = hasSent ? PublishChange::Missing : PublishChange::New;
        } else if (sameAsSent) {
            // Ours, unless someone changed the server's copy since.
            if (r->size == s->size) {
                ++plan.unchanged;
                continue;
            }
        } else if (!hasSent && r->size == l.size && r->modified.isValid() &&
                   r->modified.toMSecsSinceEpoch() >= l.modified) {
            plan.adopted.insert(l.path, SentFile{l.size, l.hash, l.modified});
            ++plan.unchanged;
            continue;
        }
        plan.uploads << item;
        plan.bytes += l.size;
        for (QString f = folderOf(l.path);; f = folderOf(f)) {
            if (!f.isEmpty() && remote.folders.contains(f)) break;
            if (f.isEmpty() && remote.rootExists) break;
            needed.insert(f);
            if (f.isEmpty()) break;
        }
    }
    for (auto it = remote.files.begin(); it != remote.files.end(); ++it)
        if (!localPaths.contains(it.key()))
            plan.extras << PublishItem{it.key(), PublishChange::Extra, it->size};
    std::sort(plan.extras.begin(), plan.extras.end(),
              [](const PublishItem &a, const PublishItem &b) { return a.path < b.path; });
    plan.folders = QStringList(needed.begin(), needed.end());
    // Parents first: the root, then by depth.
    const auto depth = [](const QString &f) { return f.isEmpty() ? -1 : int(f.count(u'/')); };
    std::sort(plan.folders.begin(), plan.folders.end(), [&](const QString &a, const QString &b) {
        return std::pair(depth(a), a) < std::pair(depth(b), b);
    });
    return plan;
}

} // namespace PublishPlanner
