#pragma once

#include <QByteArray>
#include <QString>

// The program's temporary folder as a full, canonical path ending with exactly one
// separator: the per-user private folder below; empty when there is none.
QString TemporaryFolder();

// The per-user private folder for what the program writes outside the documents'
// own folders (untitled preview copies, the single-instance socket): inside the
// user's runtime folder where there is one, created on first use, readable by its
// owner only (0700). Empty when it cannot be made so.
QString PrivateFolder();

// Creates the folder (and its parents) and makes it the user's own, 0700; false
// when it cannot be made so (another owner, a link).
bool makePrivateFolder(const QString &path);

// Writes head then body to a 0600 file that replaces path atomically: a crash
// leaves either the old file or the new one whole.
bool writePrivateFileAtomically(const QString &path, const QByteArray &head,
                                const QByteArray &body);
