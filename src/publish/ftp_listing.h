#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

enum class FtpEntryType { File, Folder, Link };

// One entry of a remote folder, as a listing line describes it.
struct FtpEntry {
    QString name;
    qint64 size = 0;
    QDateTime modified; // invalid when the server gave no usable date
    FtpEntryType type = FtpEntryType::File;
    int position = 0; // index in the parsed listing
    bool isFolder() const { return type == FtpEntryType::Folder; }
};

enum class FtpListingFormat { List, Mlsd };

namespace FtpListing {

// One line of a LIST reply: the Unix "ls -l" form or the Windows (DOS) form.
// Dates without a year take the year that puts them at most a few months
// ahead of `now`. False for lines that describe no entry ("total 12"...).
bool parseListLine(const QString &line, const QDateTime &now, FtpEntry *out);
// One line of an MLSD reply: "fact=value;fact=value; name" (dates kept in UTC).
bool parseMlsdLine(const QString &line, FtpEntry *out);

// A whole reply, "." and ".." and unreadable lines left out. Names are UTF-8
// when the bytes are valid UTF-8, Latin-1 otherwise.
QList<FtpEntry> parse(const QByteArray &reply, FtpListingFormat format, const QDateTime &now);

// The date column's text: the local time in the program's French short format
// ("10/12/2026 04:55"), whatever the system's language; empty without a date.
QString dateText(const QDateTime &modified);

// Sort columns of the listing.
enum Column { ByName = 0, BySize = 1, ByDate = 2 };
// Folders first whatever the order; names compare without regard to case.
void sort(QList<FtpEntry> &entries, int column, bool descending);
// The column clicked: descending when it was already the ascending sort column.
void clickColumn(int clicked, int *column, bool *descending);

} // namespace FtpListing
