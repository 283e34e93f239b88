#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

class DocumentTypes;
class SettingsStore;

// What the site folder's panel and the search in files agree on: which files a site
// shows, which folders a search skips, and the sites opened lately.
namespace SiteFolder {

// The name patterns ("*.html") of every document type's extension list, each once, in
// the types' order: the files the site panel shows unless all files are asked for.
QStringList documentPatterns(const DocumentTypes &types);

// A list of patterns typed by the user ("*.html;*.php", commas and spaces also separate).
QStringList splitPatterns(const QString &text);

// File-name patterns compiled once: '*' and '?' as in a shell, case ignored (sites
// come from systems where "INDEX.HTM" and "index.htm" are one page). An empty list
// matches every name.
class NamePatterns {
public:
    NamePatterns() = default;
    explicit NamePatterns(const QStringList &patterns);
    bool isEmpty() const { return m_any.pattern().isEmpty(); }
    bool matches(const QString &name) const;

private:
    QRegularExpression m_any;
};

// The folders a search leaves out by default: those of version control and packages.
QString defaultExcludedFolders();

// The sites opened lately, most recent first, at most ten, each once.
class RecentSites {
public:
    static constexpr int kMaxEntries = 10;
    void add(const QString &folder);
    void remove(const QString &folder);
    const QStringList &items() const { return m_items; }
    // Section "Sites", values "Site1" to "Site10".
    void load(const SettingsStore &store);
    void save(SettingsStore &store) const;

private:
    QStringList m_items;
};

// The path an open document's file takes when a file or folder of the site is renamed
// from 'from' to 'to'; empty when the rename does not concern it.
QString renamedPath(const QString &document, const QString &from, const QString &to);

} // namespace SiteFolder
