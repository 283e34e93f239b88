#pragma once

#include <QDateTime>
#include <QString>

// A date-time as a number of days since 30 December 1899, the fraction being the
// time of day.
using DateTimeValue = double;

// Creation, last-write and last-access time of a file, as local times with two
// seconds of resolution; 0 when unknown.
struct FileTimes {
    DateTimeValue creation = 0;
    DateTimeValue lastWrite = 0;
    DateTimeValue lastAccess = 0;
    bool operator==(const FileTimes &) const = default;
};

// Local time -> file-date form (even seconds, years 1980 to 2107) -> day count.
// A time that the file-date form cannot hold gives 0.
DateTimeValue fileDateValue(const QDateTime &local);
QDateTime dateTimeFromValue(DateTimeValue value);

// Looks the file up without opening it; false when it does not exist.
bool ReadFileTimes(const QString &path, FileTimes *times);

// What tells one version of a file from another: its modification time at full
// resolution and its size. Two stamps that differ in either mean a change, whether
// the file became newer or older.
struct FileStamp {
    bool exists = false;
    qint64 mtimeNs = 0; // nanoseconds since the epoch, as precise as the file system keeps
    qint64 size = -1;
    bool operator==(const FileStamp &) const = default;
};

FileStamp ReadFileStamp(const QString &path);
