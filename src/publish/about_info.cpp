#include "publish/about_info.h"

#include <QFile>
#include <QSysInfo>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(Q_OS_UNIX)
#include <unistd.h>
#endif

#ifndef BALIZOR_VERSION
#error "BALIZOR_VERSION comes from the project's version"
#endif

namespace About {

QString version() {
    return QStringLiteral(BALIZOR_VERSION);
}
QString versionLine() {
    return QStringLiteral("Balizor v") + version();
}

QString memoryLabel(const QString &systemName) {
    return QStringLiteral("Mémoire disponible pour %1 :").arg(systemName);
}

QString memoryText(qint64 kilobytes, const QLocale &locale) {
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(kilobytes) + QStringLiteral(" KB");
}

qint64 memTotalFromMeminfo(const QByteArray &meminfo) {
    for (const QByteArray &line : meminfo.split('\n')) {
        if (!line.startsWith("MemTotal:")) continue;
        QByteArray value = line.mid(9).trimmed();
        qint64 factor = 1; // the kernel writes kB
        if (value.endsWith(" kB")) {
            value.chop(3);
        } else if (value.endsWith(" MB")) {
            value.chop(3);
            factor = 1024;
        }
        bool ok = false;
        const qint64 n = value.trimmed().toLongLong(&ok);
        return ok && n >= 0 ? n * factor : -1;
    }
    return -1;
}

qint64 totalPhysicalMemory() {
#if defined(Q_OS_WIN)
    MEMORYSTATUSEX status;
    status.dwLength = sizeof status;
    if (GlobalMemoryStatusEx(&status)) return qint64(status.ullTotalPhys / 1024);
    return -1;
#else
    QFile f(QStringLiteral("/proc/meminfo"));
    if (f.open(QIODevice::ReadOnly)) {
        const qint64 kb = memTotalFromMeminfo(f.readAll());
        if (kb >= 0) return kb;
    }
#if defined(_SC_PHYS_PAGES) && defined(_SC_PAGESIZE)
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long size = sysconf(_SC_PAGESIZE);
    if (pages > 0 && size > 0) return qint64(pages) * (size / 1024);
#endif
    return -1;
#endif
}

QString windowsSystemLine(const WindowsVersion &v) {
    QString name = QStringLiteral("Windows");
    if (v.major == 3) {
        name = QStringLiteral("Windows NT 3.51");
    } else if (v.major == 4) {
        if (v.platform == WindowsVersion::NT)
            name = QStringLiteral("Windows NT 4.0");
        else if (v.minor == 0)
            name = QStringLiteral("Windows 95");
        else if (v.minor == 10)
            name = QStringLiteral("Windows 98");
        else if (v.minor == 90)
            name = QStringLiteral("Windows ME");
    } else if (v.major == 5) {
        if (v.minor == 0)
            name = QStringLiteral("Windows 2000");
        else if (v.minor == 1)
            name = QStringLiteral("Windows XP ou serveur .NET");
        else if (v.minor == 2)
            name = QStringLiteral("Windows 2003");
    }
    if (v.platform == WindowsVersion::Win32s) return name;
    const int build = v.platform == WindowsVersion::Windows9x ? (v.build & 0xFFFF) : v.build;
    if (!v.servicePack.isEmpty())
        return QStringLiteral("%1 (Construction %2 : %3)").arg(name).arg(build).arg(v.servicePack);
    return QStringLiteral("%1 (Construction %2)").arg(name).arg(build);
}

QString systemName() {
#if defined(Q_OS_WIN)
    return QStringLiteral("Windows");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("macOS");
#elif defined(Q_OS_LINUX)
    return QStringLiteral("Linux");
#else
    const QString kernel = QSysInfo::kernelType();
    return kernel.isEmpty() ? QSysInfo::prettyProductName()
                            : kernel.left(1).toUpper() + kernel.mid(1);
#endif
}

QString systemLine() {
#if defined(Q_OS_WIN)
    // The real version numbers: the compatibility layer hides them from GetVersionEx.
    using RtlGetVersionFn = LONG(WINAPI *)(OSVERSIONINFOEXW *);
    WindowsVersion v;
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        if (auto get = reinterpret_cast<RtlGetVersionFn>(GetProcAddress(ntdll, "RtlGetVersion"));
            get && get(&info) == 0) {
            v.major = int(info.dwMajorVersion);
            v.minor = int(info.dwMinorVersion);
            v.build = int(info.dwBuildNumber);
            v.servicePack = QString::fromWCharArray(info.szCSDVersion);
            v.platform = info.dwPlatformId == VER_PLATFORM_WIN32_NT ? WindowsVersion::NT
                         : info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS
                             ? WindowsVersion::Windows9x
                             : WindowsVersion::Win32s;
        }
    }
    return windowsSystemLine(v);
#else
    return QSysInfo::prettyProductName();
#endif
}

} // namespace About
