#pragma once

#include "app/ui/app_context.h"
#include "site/site_folder.h"
#include "site/ui/find_in_files_box.h"

#include <QObject>
#include <QPointer>

class DocumentManager;
class DocumentTypes;
class FindResultsPanel;
class QMenu;
class SiteLinksPanel;
class SitePanel;

// The site as a whole: "Ouvrir un site..." and the recent sites, the "Site" panel,
// and "Rechercher dans les fichiers..." with its results panel.
class SiteModule : public QObject {
    Q_OBJECT
public:
    SiteModule(AppContext &ctx, DocumentManager *docs, const DocumentTypes &types);

    void openSite(const QString &folder);
    void FileOpenSiteExecute();
    void EditFindInFilesExecute();
    // Checks the links of the open site, or of a folder asked for when none is open.
    void OutilsLiensSiteExecute();
    // Runs a search (or a replace) as the dialog would ask it.
    bool findInFiles(const FindInFilesRequest &request);

    SitePanel *sitePanel() const;
    FindResultsPanel *resultsPanel() const;
    SiteLinksPanel *linksPanel() const;
    // Checks the links of every page under the folder, in the "Liens du site" panel.
    void checkLinks(const QString &folder);
    const SiteFolder::RecentSites &recentSites() const { return m_recent; }

private:
    SitePanel *panel();
    FindResultsPanel *results();
    void rebuildRecentMenu();
    void followRename(const QString &from, const QString &to);
    void saveState();

    AppContext &m_ctx;
    DocumentManager *m_docs;
    const DocumentTypes &m_types;
    QStringList m_patterns;
    SiteFolder::RecentSites m_recent;
    QMenu *m_recentMenu;
    QPointer<SitePanel> m_panel;
    QPointer<FindResultsPanel> m_results;
    QPointer<SiteLinksPanel> m_links;
};
