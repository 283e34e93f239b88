#include "publish/preview_copy.h"

#include "platform/file_attributes.h"
#include "platform/temp_folder.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
qsizetype lastSeparator(const QString &path)
{
#ifdef Q_OS_WIN
    return std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
#else
    return path.lastIndexOf(QLatin1Char('/'));
#endif
}
} // namespace

QString previewCopyName(const QString &name)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    const qsizetype p = dot < 0 ? name.size() : dot + 1;
    QString n = name;
    if (p == 7)
        n.remove(0, 1);
    else if (p >= 8)
        n.remove(0, 2);
    return QStringLiteral("~$") + n;
}

QString PreviewCopyPath(const QString &fileName, const QString &tabCaption,
                        const QString &temporaryFolder)
{
    const QString source =
        fileName.isEmpty() ? temporaryFolder + tabCaption + QStringLiteral(".html") : fileName;
    const qsizetype sep = lastSeparator(source);
    return source.left(sep + 1) + previewCopyName(source.mid(sep + 1));
}

QString PreviewCopyPath(const QString &fileName, const QString &tabCaption,
                        const QString &temporaryFolder,
                        const std::function<bool(const QString &)> &isTaken)
{
    QString path = PreviewCopyPath(fileName, tabCaption, temporaryFolder);
    if (!isTaken)
        return path;
    const qsizetype at = lastSeparator(path) + 3; // after "~$"
    while (isTaken(path))
        path.insert(at, QLatin1Char('~'));
    return path;
}

bool sameFilePath(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo fa(a), fb(b);
    const QString ca = fa.canonicalFilePath(), cb = fb.canonicalFilePath();
    if (!ca.isEmpty() && !cb.isEmpty())
        return ca == cb;
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

bool writePreviewCopy(const QString &path, const QByteArray &bytes)
{
    if (QFileInfo::exists(path) && !QFile::remove(path))
        return false;
    if (writeFileAtomically(path, bytes) != WriteStatus::Ok)
        return false;
    if (!setHiddenAttribute(path)) {
        QFile::remove(path);
        return false;
    }
    // A copy in the private folder (an untitled document's) is its owner's only.
    const QString temporary = TemporaryFolder();
    if (!temporary.isEmpty() && path.startsWith(temporary))
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return true;
}
