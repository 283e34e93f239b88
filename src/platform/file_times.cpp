#include "platform/file_times.h"

#include <QFileInfo>

namespace {
const QDate kEpoch(1899, 12, 30);
}

DateTimeValue fileDateValue(const QDateTime &utcOrLocal)
{
    if (!utcOrLocal.isValid())
        return 0;
    const QDateTime local = utcOrLocal.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    if (d.year() < 1980 || d.year() > 2107)
        return 0;
    const int seconds = t.hour() * 3600 + t.minute() * 60 + (t.second() / 2) * 2;
    return double(kEpoch.daysTo(d)) + seconds / 86400.0;
}

QDateTime dateTimeFromValue(DateTimeValue value)
{
    const qint64 days = qint64(value);
    const int seconds = int((value - double(days)) * 86400.0 + 0.5);
    return QDateTime(kEpoch.addDays(days), QTime(0, 0).addSecs(seconds));
}

bool ReadFileTimes(const QString &path, FileTimes *times)
{
    QFileInfo info(path);
    info.setCaching(false);
    if (path.isEmpty() || !info.exists())
        return false;
    times->creation = fileDateValue(info.birthTime());
    times->lastWrite = fileDateValue(info.lastModified());
    times->lastAccess = fileDateValue(info.lastRead());
    return true;
}

#ifdef Q_OS_UNIX
#include <QFile>
#include <sys/stat.h>
#endif

FileStamp ReadFileStamp(const QString &path) {
    FileStamp s;
    if (path.isEmpty()) return s;
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISDIR(st.st_mode)) return s;
    s.exists = true;
    s.size = st.st_size;
#ifdef Q_OS_MACOS
    s.mtimeNs = qint64(st.st_mtimespec.tv_sec) * 1000000000 + st.st_mtimespec.tv_nsec;
#else
    s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#endif
#else
    QFileInfo info(path);
    info.setCaching(false);
    if (!info.exists() || info.isDir()) return s;
    s.exists = true;
    s.size = info.size();
    s.mtimeNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
#endif
    return s;
}
