#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

// The private attribute the panel's preview copy gives each element: the line of
// its start tag in the document, from 1. The preview scrolls to it.
inline constexpr char kPreviewLineAttribute[] = "data-balizor-line";

struct PreviewMarkupOptions {
    // Each element's start tag gets the line attribute after its name.
    bool lineAttributes = false;
    // Called with the href of a <link> and the src of a <script> as written; a
    // non-empty result is written in its place (a linked file's own preview copy).
    std::function<QByteArray(const QByteArray &value)> relink;
};

struct PreviewMarkup {
    QByteArray bytes;
    // The href of every <link> and the src of every <script>, as written.
    QList<QByteArray> links;
};

// The panel's copy of a page: the document's bytes (ASCII-compatible: UTF-8 or
// Windows-1252) with line attributes and relinked files, every other byte as it
// was. Nothing is added inside scripts, style sheets, comments, PHP or ASP blocks,
// nor inside elements whose content is not markup (textarea, title, ...); script
// and style elements get no attribute. Lines end in CR LF, LF or CR.
PreviewMarkup decoratePreviewPage(const QByteArray &page, const PreviewMarkupOptions &options);

// The local file a link of a page names (relative to the page's file, or a file:
// address); empty for other addresses or when the page has no file.
QString linkedLocalFile(const QString &pagePath, const QByteArray &value);

// The link rewritten to name another file of the same folder: its last path part
// becomes fileName, the folders, query and fragment stay.
QByteArray relinkedValue(const QByteArray &value, const QString &fileName);
