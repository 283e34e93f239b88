#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUrl>

// The help book: French HTML pages under "Ressources/", compiled at build time
// into one help file beside the program. A topic is a page's path inside the
// book, such as "Ressources/liste.htm", optionally followed by "#anchor".
namespace HelpBook {

QString defaultTopic(); // "Ressources/introduction.htm"
QString fileName();     // the compiled book beside the program
QString namespaceName();
QString virtualFolder();

// The address of a topic inside the compiled book, and back (empty when the
// address is not inside the book).
QUrl topicUrl(const QString &topic);
QString topicOf(const QUrl &url);

// The text of a page's <title>, entities decoded and spaces collapsed.
QString pageTitle(const QString &html);
// Every href and src value of a page, in order.
QStringList pageLinks(const QString &html);
// A link of a page resolved to a path inside the book (no fragment), or empty for
// a link that leaves the book (http:, mailto:...) or only names an anchor.
QString resolveLink(const QString &fromPage, const QString &link);

// The table of contents: one page file per line, indented by two spaces per
// level; blank lines and lines starting with "#" are ignored.
struct ContentsEntry {
    QString file;
    int depth = 0;
};
QList<ContentsEntry> parseContents(const QString &text, QString *error);

// The help project handed to the help compiler. `titles` maps every page file
// (relative to the book's folder, such as "Ressources/liste.htm") to its title;
// `contents` uses file names relative to the pages' folder "Ressources/".
// `files` lists everything the book holds (pages and pictures).
QByteArray buildProject(const QMap<QString, QString> &titles, const QList<ContentsEntry> &contents,
                        const QStringList &files);

// The page the help window shows for a topic the book does not hold.
QString missingPageHtml(const QString &topic);

// The help topics named as literals in a source text ("Ressources/<page>.htm").
QStringList topicsInSource(const QString &source);

} // namespace HelpBook
