#include "platform/file_attributes.h"

#include "platform/text_file.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#elif defined(Q_OS_MACOS)
#include <QFile>
#include <sys/stat.h>
#include <unistd.h>
#endif

bool isReadOnlyFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return false;
#ifdef Q_OS_WIN
    const DWORD attrs = GetFileAttributesW(reinterpret_cast<LPCWSTR>(path.utf16()));
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY);
#else
    // No write bit for its owner is the read-only attribute; a file the user may
    // not write (another owner's) is read-only to this user too.
    return !(info.permissions() & QFileDevice::WriteOwner) || !fileIsWritable(path);
#endif
}

bool setHiddenAttribute(const QString &path)
{
#ifdef Q_OS_WIN
    const auto *p = reinterpret_cast<LPCWSTR>(path.utf16());
    const DWORD attrs = GetFileAttributesW(p);
    if (attrs == INVALID_FILE_ATTRIBUTES)
        return false;
    return SetFileAttributesW(p, attrs | FILE_ATTRIBUTE_HIDDEN);
#elif defined(Q_OS_MACOS)
    const QByteArray p = QFile::encodeName(path);
    struct stat st;
    return stat(p.constData(), &st) == 0 && chflags(p.constData(), st.st_flags | UF_HIDDEN) == 0;
#else
    return QFileInfo::exists(path);
#endif
}
