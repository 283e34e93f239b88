#pragma once

#include "platform/file_times.h"

#include <QString>

// What became of a document's file since the program last read or wrote it.
enum class DiskChange { None, Vanished, Changed };

// Any difference in time or size is a change: a file put back to an older version
// (a copy with its date, a checkout) or written twice within a second counts.
DiskChange compareWithDisk(const FileStamp &recorded, const FileStamp &current);

// Files downloaded for a transfer and untitled documents are never checked.
bool isCheckedOnDisk(int documentKind, const QString &fileName);

// Long work that a question must not interrupt (a network transfer): while one
// runs, the outside-change check waits. Held for the length of the work.
class TransferGuard {
public:
    TransferGuard();
    ~TransferGuard();
    TransferGuard(const TransferGuard &) = delete;
    TransferGuard &operator=(const TransferGuard &) = delete;
    static bool active();
};

namespace OutsideTexts {
QString vanishedQuestion(const QString &fileName);
// The text will be lost if the tab closes: said first, Yes closes anyway.
QString vanishedLossWarning(const QString &fileName);
QString changedQuestion(const QString &fileName, bool modified);
} // namespace OutsideTexts
