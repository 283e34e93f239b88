#include "platform/temp_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
// The base is the user's own already (the runtime folder is 0700 and checked by
// Qt); the program's folder inside it must be a real folder of ours, 0700.
bool makePrivate(const QString &path)
{
#ifdef Q_OS_UNIX
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
