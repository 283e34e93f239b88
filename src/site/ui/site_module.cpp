#include "site/ui/site_module.h"

#include "app/document_types.h"
#include "app/settings_store.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "app/ui/ui_services.h"
#include "assist/ui/editor_search.h"
#include "site/site_texts.h"
#include "site/ui/find_results_panel.h"
#include "site/ui/site_links_panel.h"
#include "site/ui/site_panel.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>

namespace {
const QString kSection = QStringLiteral("Sites");
const QString kCategory = QStringLiteral("Fichier");
} // namespace

SiteModule::SiteModule(AppContext &ctx, DocumentManager *docs, const DocumentTypes &types)
    : QObject(ctx.window), m_ctx(ctx), m_docs(docs), m_types(types),
      m_patterns(SiteFolder::documentPatterns(types)) {
    ActionRegistry &r = *ctx.actions;
    QAction *open =
        r.add(QStringLiteral("FileOpenSite"), QStringLiteral("Ouvrir un &site..."), {}, kCategory);
    open->setStatusTip(QStringLiteral("Ouvre un dossier de pages dans le panneau Site"));
    connect(open, &QAction::triggered, this, &SiteModule::FileOpenSiteExecute);

    m_recentMenu = new QMenu(QStringLiteral("Sites ré&cents"), ctx.window);
    m_recentMenu->setObjectName(QStringLiteral("FileRecentSitesMenu"));
    m_recentMenu->menuAction()->setObjectName(QStringLiteral("FileRecentSites"));
    r.addMenu(QStringLiteral("FileRecentSites"), m_recentMenu);
    r.addUpdate([this] { m_recentMenu->menuAction()->setEnabled(!m_recent.items().isEmpty()); });

    // Ctrl+Shift+F belongs to "Police" (TexteFont).
    QAction *find =
        r.add(QStringLiteral("EditFindInFiles"), QStringLiteral("Rechercher dans les &fichiers..."),
              QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F), QStringLiteral("Edition"));
    find->setStatusTip(QStringLiteral("Recherche ou remplace un texte dans tous les fichiers "
                                      "d'un dossier"));
    connect(find, &QAction::triggered, this, &SiteModule::EditFindInFilesExecute);

    QAction *links =
        r.add(QStringLiteral("OutilsLiensSite"), QStringLiteral("Vérifier les &liens du site"), {},
              QStringLiteral("Outils"));
    links->setStatusTip(QStringLiteral("Liste les liens relatifs du site qui mènent à un fichier "
                                       "ou à un identifiant introuvable"));
    connect(links, &QAction::triggered, this, &SiteModule::OutilsLiensSiteExecute);

    connect(ctx.events, &AppEvents::settingsLoaded, this, [this] {
        m_recent.load(*m_ctx.store);
        rebuildRecentMenu();
        // The site open when the program last closed comes back with its panel.
        if (m_ctx.store->readBool(kSection, QStringLiteral("Ouvert"), false) &&
            !m_recent.items().isEmpty() && QFileInfo(m_recent.items().first()).isDir())
            openSite(m_recent.items().first());
    });
    connect(ctx.events, &AppEvents::closing, this, &SiteModule::saveState);
}

SitePanel *SiteModule::sitePanel() const {
    return m_panel;
}

FindResultsPanel *SiteModule::resultsPanel() const {
    return m_results;
}

SiteLinksPanel *SiteModule::linksPanel() const {
    return m_links;
}

SitePanel *SiteModule::panel() {
    if (!m_panel) {
        m_panel = new SitePanel(m_patterns, m_ctx.window);
        m_panel->setAllFiles(
            m_ctx.store->readBool(kSection, QStringLiteral("TousFichiers"), false));
        m_ctx.window->addDockWidget(Qt::LeftDockWidgetArea, m_panel);
        connect(m_panel, &SitePanel::openRequested, this,
                [this](const QString &path) { m_docs->OpenDocument(path, true); });
        connect(m_panel, &SitePanel::renamed, this, &SiteModule::followRename);
        connect(m_panel, &SitePanel::allFilesChanged, this, [this](bool all) {
            m_ctx.store->writeBool(kSection, QStringLiteral("TousFichiers"), all);
        });
    }
    return m_panel;
}

FindResultsPanel *SiteModule::results() {
    if (!m_results) {
        m_results = new FindResultsPanel(m_docs, m_ctx.window);
        m_ctx.window->addDockWidget(Qt::BottomDockWidgetArea, m_results);
    }
    return m_results;
}

void SiteModule::openSite(const QString &folder) {
    if (!QFileInfo(folder).isDir()) {
        ui().message(MsgType::Error, MsgButtons::Ok, SiteTexts::siteMissing(folder));
        m_recent.remove(folder);
        rebuildRecentMenu();
        return;
    }
    SitePanel *p = panel();
    p->setSite(folder);
    p->show();
    p->raise();
    m_recent.add(folder);
    m_recent.save(*m_ctx.store);
    rebuildRecentMenu();
    emit m_ctx.events->stateChanged();
}

void SiteModule::FileOpenSiteExecute() {
    QString start = m_panel ? m_panel->site() : QString();
    if (start.isEmpty()) start = m_docs->currentFolder();
    const QString folder = ui().selectFolder(m_ctx.window, SiteTexts::chooseSite(), start);
    if (!folder.isEmpty()) openSite(folder);
}

void SiteModule::rebuildRecentMenu() {
    m_recentMenu->clear();
    int n = 0;
    for (const QString &folder : m_recent.items()) {
        ++n;
        QString caption = QDir::toNativeSeparators(folder);
        caption.replace(QLatin1String("&"), QLatin1String("&&"));
        QAction *a = m_recentMenu->addAction(n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(caption)
                                                    : caption);
        connect(a, &QAction::triggered, this, [this, folder] { openSite(folder); });
    }
    m_recentMenu->menuAction()->setEnabled(n > 0);
}

void SiteModule::followRename(const QString &from, const QString &to) {
    for (int i = 0; i < m_docs->EditorCount(); ++i) {
        TMyMwCustomEdit *e = m_docs->EditorAt(i);
        if (!e) continue;
        const QString now = SiteFolder::renamedPath(e->fileName, from, to);
        if (!now.isEmpty()) m_docs->fileRenamed(e, QDir::toNativeSeparators(now));
    }
}

void SiteModule::saveState() {
    // The check reads the window's document types: it ends before they do.
    if (m_links) m_links->cancelAndWait();
    const bool open = m_panel && m_panel->isVisible() && !m_panel->site().isEmpty();
    m_ctx.store->writeBool(kSection, QStringLiteral("Ouvert"), open);
    m_recent.save(*m_ctx.store);
}

void SiteModule::EditFindInFilesExecute() {
    QString folder = m_panel ? m_panel->site() : QString();
    TMyMwCustomEdit *e = m_docs->ActiveEditor();
    if (folder.isEmpty() && e && !e->fileName.isEmpty())
        folder = QFileInfo(e->fileName).absolutePath();
    if (folder.isEmpty()) folder = m_docs->currentFolder();
    QString proposed;
    if (e) {
        const QString sel = e->selText();
        proposed =
            !sel.isEmpty() && !sel.contains(QLatin1Char('\n')) && !sel.contains(QLatin1Char('\r'))
                ? sel
                : EditorSearch::wordAtCaret(e);
    }
    TRechercheFichiersBoite box(m_ctx.window);
    box.load(*m_ctx.store, QDir::toNativeSeparators(folder), proposed);
    if (ui().execDialog(&box) != QDialog::Accepted) return;
    box.save(*m_ctx.store);
    findInFiles(box.request());
}

bool SiteModule::findInFiles(const FindInFilesRequest &request) {
    FindResultsPanel *p = results();
    p->show();
    p->raise();
    return p->run(request);
}

void SiteModule::OutilsLiensSiteExecute() {
    QString folder = m_panel && m_panel->isVisible() ? m_panel->site() : QString();
    if (folder.isEmpty()) {
        folder = ui().selectFolder(m_ctx.window, SiteTexts::chooseLinksFolder(),
                                   m_docs->currentFolder());
        if (folder.isEmpty()) return;
    }
    checkLinks(folder);
}

void SiteModule::checkLinks(const QString &folder) {
    if (!m_links) {
        m_links = new SiteLinksPanel(m_docs, m_types, m_ctx.window);
        m_ctx.window->addDockWidget(Qt::BottomDockWidgetArea, m_links);
    }
    m_links->show();
    m_links->raise();
    m_links->run(folder);
}
