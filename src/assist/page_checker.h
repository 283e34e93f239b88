#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

#include <atomic>
#include <vector>

class MultiHighlighter;

// Checks the markup of an HTML page, or of the HTML parts of a PHP or ASP page,
// the way a browser reads it: end tags without their element, elements never
// closed, crossing end tags (void elements and the end tags HTML implies follow
// HtmlRules), identifiers used twice, "#name" links to nothing, elements and
// attributes the vocabulary does not know, pictures without a text alternative
// and relative links to files that are not there. Script, style, comments and
// the code blocks of the page's regions are never read as markup.
namespace PageCheck {

enum class Kind { Structure, Identifier, Anchor, Unknown, Alternative, MissingFile };

struct Finding {
    qsizetype offset = 0; // byte offset in the UTF-8 text
    int length = 0;       // bytes underlined
    int line = 0;         // from 1
    int column = 0;       // characters from the line start, from 1
    Kind kind = Kind::Structure;
    QString message;
};

// A URL written in an attribute: the links of a page, for this check and for a
// check of a whole site.
struct Link {
    qsizetype offset = 0; // of the value (inside its quotes)
    int length = 0;
    int line = 0;
    int column = 0;
    QByteArray element;   // lower case
    QByteArray attribute; // lower case: href, src, poster, data, action
    QString url;          // character references resolved
    // The value holds code of the page's regions (PHP, ASP): it is not known here.
    bool dynamic = false;
};

struct Options {
    // The page's multi-language highlighter, whose regions are code; null: none.
    const MultiHighlighter *page = nullptr;
    // Folder of the saved document; relative links are looked for there. Empty: no
    // file is looked for (an untitled document).
    QString baseFolder;
    // Set by another thread to abandon the run (the result is then empty).
    const std::atomic<bool> *stop = nullptr;
    // The most findings kept (0: all).
    int limit = 0;
};

struct Result {
    std::vector<Finding> findings; // in text order
    bool truncated = false;        // more findings than the limit
    bool stopped = false;
};

// Checks UTF-8 text (taken by value: the check masks the code regions in it).
Result Check(QByteArray text, const Options &options);

// The links of a page, in text order.
std::vector<Link> Links(QByteArray text, const MultiHighlighter *page);

// What a check of a whole site needs of a page: its links, and the identifiers and
// names that a "page.html#name" link may lead to.
struct PageLinks {
    std::vector<Link> links;
    QSet<QString> targets;       // id and name values, character references resolved
    bool dynamicTargets = false; // one is written by code: any name may exist
};
PageLinks LinksAndTargets(QByteArray text, const MultiHighlighter *page);

// Whether a URL names a file beside the page: not absolute, not rooted, not a
// fragment alone, not written by code. `path` gets the file part, decoded.
bool IsRelativeFileUrl(const QString &url, QString *path);

} // namespace PageCheck
