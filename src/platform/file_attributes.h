#pragma once

#include <QString>

// The file exists and may not be written: the read-only attribute (elsewhere, no
// write permission for its owner), or no write access for this user.
bool isReadOnlyFile(const QString &path);
// Adds the "hidden" attribute where the platform has one; true on success or
// where there is no such attribute.
bool setHiddenAttribute(const QString &path);

// Read-only as this platform keeps it: set clears every write permission bit;
// cleared gives the owner the write bit back (elsewhere, the read-only attribute).
bool setReadOnlyAttribute(const QString &path, bool readOnly);
// The file is hidden: the attribute, or here a name starting with ".".
bool isHiddenFile(const QString &path);
// Whether the platform has hidden and archive attributes that a user can change.
bool hasChangeableHiddenAndArchive();
bool isArchiveFile(const QString &path);

// The two paths name the same file (a name differing by letter case on a system
// that ignores case).
bool sameExistingFile(const QString &a, const QString &b);

// Renames without ever replacing an existing file: false when the target exists
// (unless it is the very file being renamed, a change of letter case) or the
// rename fails.
bool renameWithoutReplacing(const QString &from, const QString &to);

// Sets or clears the hidden and archive attributes where the platform has them.
bool setHiddenAndArchive(const QString &path, bool hidden, bool archive);
