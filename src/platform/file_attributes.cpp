#include "platform/file_attributes.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
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
    return !(info.permissions() & QFileDevice::WriteOwner);
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
#else
    return QFileInfo::exists(path);
#endif
}
