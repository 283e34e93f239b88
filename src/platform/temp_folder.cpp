#include "platform/temp_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

// The base is the user's own already (the runtime folder is 0700 and checked by
// Qt); the program's folder inside it must be a real folder of ours, 0700.
bool makePrivateFolder(const QString &path) {
#ifdef Q_OS_UNIX
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray p = QFile::encodeName(path);
    if (::mkdir(p.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st;
    if (::lstat(p.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    return (st.st_mode & 07777) == 0700 || ::chmod(p.constData(), 0700) == 0;
#else
    return QDir().mkpath(path);
#endif
}

namespace {
bool makePrivate(const QString &path) {
    return makePrivateFolder(path);
}
} // namespace

QString PrivateFolder()
{
#ifdef Q_OS_UNIX
    const QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
#else
    // The temporary folder is the user's own on Windows.
    const QString base = QDir::tempPath();
#endif
    if (base.isEmpty())
        return {};
    const QString path = base + QStringLiteral("/balizor");
    return makePrivate(path) ? path : QString();
}

QString TemporaryFolder()
{
    QString path = PrivateFolder();
    if (path.isEmpty())
        return {};
    // The long, resolved form: no short names, no symbolic links.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (!canonical.isEmpty())
        path = canonical;
    path = QDir::toNativeSeparators(path);
    while (path.size() > 1 && path.endsWith(QDir::separator()))
        path.chop(1);
    return path + QDir::separator();
}

bool writePrivateFileAtomically(const QString &path, const QByteArray &head,
                                const QByteArray &body) {
    // A temporary file is created 0600; it replaces the old one only once whole.
    QTemporaryFile tmp(path + QStringLiteral(".XXXXXX"));
    tmp.setAutoRemove(true);
    if (!tmp.open()) return false;
    if (tmp.write(head) != head.size() || tmp.write(body) != body.size() || !tmp.flush())
        return false;
#ifdef Q_OS_UNIX
    if (::fsync(tmp.handle()) != 0) return false;
    if (::rename(QFile::encodeName(tmp.fileName()).constData(),
                 QFile::encodeName(path).constData()) != 0)
        return false;
    tmp.setAutoRemove(false);
    return true;
#else
    tmp.close();
    QFile::remove(path);
    if (!tmp.rename(path)) return false;
    tmp.setAutoRemove(false);
    return true;
#endif
}
