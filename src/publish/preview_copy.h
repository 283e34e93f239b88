#pragma once

#include <QByteArray>
#include <QString>

// The hidden copy of a document that browsers are shown: "~$" + the document's
// file name (one or two leading characters dropped from long names) beside the
// document, or in the temporary folder, named from the tab caption, for an
// untitled document.
QString PreviewCopyPath(const QString &fileName, const QString &tabCaption,
                        const QString &temporaryFolder);

// The copy's file name for a document file name part ("index.html" -> "~$index.html").
QString previewCopyName(const QString &name);

// Writes a preview copy: an old copy is removed first (a hidden file cannot be
// replaced in place everywhere), the bytes are written whole, and the copy is
// marked hidden. False when any step fails; no partial or unhidden copy is left.
bool writePreviewCopy(const QString &path, const QByteArray &bytes);
