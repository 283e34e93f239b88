#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// The hidden copy of a document that browsers are shown: "~$" + the document's
// file name (one or two leading characters dropped from long names) beside the
// document, or in the temporary folder, named from the tab caption, for an
// untitled document.
QString PreviewCopyPath(const QString &fileName, const QString &tabCaption,
                        const QString &temporaryFolder);

// The same, never one of the paths that isTaken accepts (the open documents): a
// "~" is added after the "~$" until the path is free, so that a document that is
// itself named like a copy is never overwritten or deleted as its own copy.
QString PreviewCopyPath(const QString &fileName, const QString &tabCaption,
                        const QString &temporaryFolder,
                        const std::function<bool(const QString &)> &isTaken);

// Two paths name the same file (compared resolved when they exist).
bool sameFilePath(const QString &a, const QString &b);

// The copy's file name for a document file name part ("index.html" -> "~$index.html").
QString previewCopyName(const QString &name);

// Writes a preview copy: an old copy is removed first (a hidden file cannot be
// replaced in place everywhere), the bytes are written whole, and the copy is
// marked hidden. False when any step fails; no partial or unhidden copy is left.
bool writePreviewCopy(const QString &path, const QByteArray &bytes);
