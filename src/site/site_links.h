#pragma once

#include <QList>
#include <QString>

#include <atomic>
#include <functional>

class DocumentTypes;

// A relative link of a site's page that leads nowhere: a missing file, or a
// "page.html#name" whose page has no element of that identifier or name.
struct BrokenLink {
    QString file;   // the page, absolute
    int line = 0;   // from 1
    int column = 0; // characters from the line start, from 1
    int length = 0; // of the link's value, in bytes
    QString link;   // as written, character references resolved
    QString message;
};

namespace SiteLinks {

struct Result {
    QList<BrokenLink> broken; // by page path, then in text order
    int pages = 0;
    bool stopped = false;
};

// Reads every page under the folder (the document types' extensions, outside the
// folders a search leaves out), decoded as the editor reads a file, and checks its
// relative href and src links; each page's identifiers are read once, however many
// links lead to it. `progress` is called from the calling thread with the pages done.
Result check(const QString &folder, const DocumentTypes &types,
             const std::atomic<bool> *cancel = nullptr,
             const std::function<void(int done, int total)> &progress = {});

// "file:line:column: message", the way compilers write it.
QString compilerLine(const BrokenLink &b, const QString &shownPath);

} // namespace SiteLinks
