#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

// What the about box tells of the program and of the system it runs on.
namespace About {

QString version();     // "2.6.3", the project's version
QString versionLine(); // "Balizor v2.6.3"

// "Mémoire disponible pour <system> :"
QString memoryLabel(const QString &systemName);
// Total physical memory in kilobytes, thousands grouped by the locale's separator,
// followed by " KB".
QString memoryText(qint64 kilobytes, const QLocale &locale);
// The MemTotal line of /proc/meminfo, in kilobytes; -1 when it is missing.
qint64 memTotalFromMeminfo(const QByteArray &meminfo);
// This machine's total physical memory in kilobytes; -1 when unknown.
qint64 totalPhysicalMemory();

// The system line on Windows, from its version numbers.
struct WindowsVersion {
    enum Platform { Win32s, Windows9x, NT };
    Platform platform = NT;
    int major = 0;
    int minor = 0;
    int build = 0;
    QString servicePack;
};
QString windowsSystemLine(const WindowsVersion &v);

// The running system: its short name for the memory label ("Linux", "Windows"...)
// and the line that describes it.
QString systemName();
QString systemLine();

} // namespace About
