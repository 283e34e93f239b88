#include "platform/temp_folder.h"

#include <QDir>
#include <QFileInfo>

QString TemporaryFolder()
{
    QString path = QDir::tempPath();
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
