#include "platform/file_attributes.h"

#include "platform/text_file.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
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

bool setReadOnlyAttribute(const QString &path, bool readOnly) {
#ifdef Q_OS_WIN
    const auto *p = reinterpret_cast<LPCWSTR>(path.utf16());
    const DWORD attrs = GetFileAttributesW(p);
    if (attrs == INVALID_FILE_ATTRIBUTES) return false;
    const DWORD want =
        readOnly ? (attrs | FILE_ATTRIBUTE_READONLY) : (attrs & ~FILE_ATTRIBUTE_READONLY);
    return want == attrs || SetFileAttributesW(p, want);
#else
    const QByteArray p = QFile::encodeName(path);
    struct stat st;
    if (::stat(p.constData(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    mode = readOnly ? (mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
    return mode == (st.st_mode & 07777) || ::chmod(p.constData(), mode) == 0;
#endif
}

bool isHiddenFile(const QString &path) {
    return QFileInfo(path).isHidden();
}

bool hasChangeableHiddenAndArchive() {
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

bool isArchiveFile(const QString &path) {
#ifdef Q_OS_WIN
    const DWORD attrs = GetFileAttributesW(reinterpret_cast<LPCWSTR>(path.utf16()));
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_ARCHIVE);
#else
    Q_UNUSED(path);
    return false;
#endif
}

bool sameExistingFile(const QString &a, const QString &b) {
#ifdef Q_OS_WIN
    return QFileInfo(a).canonicalFilePath().compare(QFileInfo(b).canonicalFilePath(),
                                                    Qt::CaseInsensitive) == 0 &&
           QFileInfo::exists(a) && QFileInfo::exists(b);
#else
    struct stat sa, sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
#endif
}

bool renameWithoutReplacing(const QString &from, const QString &to) {
    if (QFileInfo::exists(to) && !sameExistingFile(from, to)) return false;
#ifdef Q_OS_WIN
    // Without the replace flag the system refuses an existing target.
    return MoveFileExW(reinterpret_cast<LPCWSTR>(from.utf16()),
                       reinterpret_cast<LPCWSTR>(to.utf16()), 0);
#else
    const QByteArray f = QFile::encodeName(from);
    const QByteArray t = QFile::encodeName(to);
    if (QFileInfo::exists(to))
        return ::rename(f.constData(), t.constData()) == 0; // same file: a change of case
#if defined(SYS_renameat2)
    // The kernel refuses an existing target, closing the gap after the check above.
    if (::syscall(SYS_renameat2, AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), 1u) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    // A hard link fails on an existing target; the old name goes once the new one exists.
    if (::link(f.constData(), t.constData()) != 0) return false;
    return ::unlink(f.constData()) == 0;
#endif
}

bool setHiddenAndArchive(const QString &path, bool hidden, bool archive) {
#ifdef Q_OS_WIN
    const auto *p = reinterpret_cast<LPCWSTR>(path.utf16());
    DWORD attrs = GetFileAttributesW(p);
    if (attrs == INVALID_FILE_ATTRIBUTES) return false;
    attrs = hidden ? (attrs | FILE_ATTRIBUTE_HIDDEN) : (attrs & ~FILE_ATTRIBUTE_HIDDEN);
    attrs = archive ? (attrs | FILE_ATTRIBUTE_ARCHIVE) : (attrs & ~FILE_ATTRIBUTE_ARCHIVE);
    return SetFileAttributesW(p, attrs);
#else
    Q_UNUSED(path);
    Q_UNUSED(hidden);
    Q_UNUSED(archive);
    return true;
#endif
}
