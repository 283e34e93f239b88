#pragma once

#include <QString>

// The hidden copy of a document that browsers are shown: "~$" + the document's
// file name (one or two leading characters dropped from long names) beside the
// document, or in the temporary folder, named from the tab caption, for an
// untitled document.
QString PreviewCopyPath(const QString &fileName, const QString &tabCaption,
                        const QString &temporaryFolder);

// The copy's file name for a document file name part ("index.html" -> "~$index.html").
QString previewCopyName(const QString &name);
