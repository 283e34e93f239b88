#pragma once

#include "platform/text_file.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// A document's text taken at one moment, and the copy it is written to: the copy
// is then written away from the window while the user goes on typing.
struct CopySnapshot {
    QByteArray utf8;
    TextEncoding encoding = TextEncoding::Utf8;
    LineBreak lineBreak = LineBreak::CrLf;
    QString path;
};

// The panel's copy of a page, and the unsaved files it links to.
struct PanelCopyJob {
    CopySnapshot page;
    // The document's own file (its links resolve from there); empty when untitled.
    QString pagePath;
    // Markup: the copy may carry line attributes and relinked files.
    bool markup = false;
    bool lineAttributes = false;
    // Files open with changes, by clean absolute path: those the page links to are
    // written to their own copies first, and the page's links name the copies.
    QHash<QString, CopySnapshot> unsaved;
};

struct PanelCopyResult {
    // Empty when written; else the path that could not be.
    QString failedPath;
    // The local files the page links to (style sheets and scripts), clean absolute paths.
    QStringList linkedFiles;
};

// The bytes a save would write; UTF-8 when the document's code page cannot hold
// a character (the document itself stays as it is).
QByteArray snapshotBytes(const CopySnapshot &s);
// Writes the linked files' copies, then the page's own; stops at the first failure.
PanelCopyResult writePanelCopy(const PanelCopyJob &job);
