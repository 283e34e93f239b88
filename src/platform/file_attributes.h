#pragma once

#include <QString>

// The file exists and may not be written: the read-only attribute (elsewhere, no
// write permission for its owner), or no write access for this user.
bool isReadOnlyFile(const QString &path);
// Adds the "hidden" attribute where the platform has one; true on success or
// where there is no such attribute.
bool setHiddenAttribute(const QString &path);
