// The preview's browser engine, built as a module of its own: the program loads it
// the first time the preview panel is needed (see preview_engine.h).
#include "publish/ui/preview_engine.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QMenu>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

namespace {

// The engine's own menu entries that the preview offers, in French (the engine
// ships no French texts of its own). Downloads, saving, the inspector and the
// source view are left out: the editor is where the page is worked on.
struct MenuText {
    QWebEnginePage::WebAction action;
    const char *text;
};
constexpr MenuText kMenuTexts[] = {
    {QWebEnginePage::Back, "&Précédent"},
    {QWebEnginePage::Forward, "&Suivant"},
    {QWebEnginePage::Reload, "&Actualiser"},
    {QWebEnginePage::Undo, "&Annuler"},
    {QWebEnginePage::Redo, "&Rétablir"},
    {QWebEnginePage::Cut, "&Couper"},
    {QWebEnginePage::Copy, "C&opier"},
    {QWebEnginePage::Paste, "Co&ller"},
    {QWebEnginePage::PasteAndMatchStyle, "Coller sans la mise en forme"},
    {QWebEnginePage::SelectAll, "Sélectionner &tout"},
    {QWebEnginePage::Unselect, "Désélectionner"},
    {QWebEnginePage::OpenLinkInThisWindow, "&Ouvrir le lien"},
    {QWebEnginePage::CopyLinkToClipboard, "Copier l'adresse du &lien"},
    {QWebEnginePage::CopyImageToClipboard, "Copier l'&image"},
    {QWebEnginePage::CopyImageUrlToClipboard, "Copier l'adresse de l'image"},
    {QWebEnginePage::CopyMediaUrlToClipboard, "Copier l'adresse du média"},
    {QWebEnginePage::ToggleMediaPlayPause, "Lecture / Pause"},
    {QWebEnginePage::ToggleMediaMute, "Couper le son"},
    {QWebEnginePage::ToggleMediaLoop, "Lire en boucle"},
    {QWebEnginePage::ToggleMediaControls, "Afficher les commandes"},
    {QWebEnginePage::ExitFullScreen, "Quitter le plein écran"},
};

class PreviewPage : public QWebEnginePage {
public:
    PreviewPage(std::function<void(const QUrl &)> beforeNavigate, QObject *parent)
        : QWebEnginePage(parent), m_beforeNavigate(std::move(beforeNavigate))
    {
    }

    void loadKeepingScroll(const QUrl &url, const QPoint &scroll) {
        forgetScroll();
        if (!scroll.isNull()) {
            // Run when the new document is read, in a world of its own so that the
            // page's scripts neither see nor disturb it.
            QWebEngineScript s;
            s.setName(QString::fromLatin1(kScrollScript));
            s.setInjectionPoint(QWebEngineScript::DocumentReady);
            s.setWorldId(QWebEngineScript::ApplicationWorld);
            s.setRunsOnSubFrames(false);
            s.setSourceCode(
                QStringLiteral("window.scrollTo(%1, %2);").arg(scroll.x()).arg(scroll.y()));
            scripts().insert(s);
        }
        m_keepingScroll = true;
        load(url);
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType, bool isMainFrame) override
    {
        // Frames of a page load without touching the address box.
        if (!isMainFrame) return true;
        // The scroll is for that one load: a link followed later opens at its top.
        if (!m_keepingScroll) forgetScroll();
        m_keepingScroll = false;
        if (m_beforeNavigate) m_beforeNavigate(url);
        return true;
    }

private:
    static constexpr char kScrollScript[] = "balizor-scroll";

    void forgetScroll() {
        for (const QWebEngineScript &s : scripts().find(QString::fromLatin1(kScrollScript)))
            scripts().remove(s);
    }

    std::function<void(const QUrl &)> m_beforeNavigate;
    bool m_keepingScroll = false;
};

class WebEnginePreview final : public QWebEngineView, public PreviewEngine {
public:
    WebEnginePreview(QWidget *parent, const Notifications &notify)
        : QWebEngineView(parent), m_notify(notify)
    {
        setObjectName(QStringLiteral("PreviewBrowser"));
        auto *page = m_page = new PreviewPage(notify.beforeNavigate, this);
        setPage(page);
        connect(page, &QWebEnginePage::linkHovered, this, [this](const QString &url) {
            if (m_notify.statusText)
                m_notify.statusText(url);
        });
        connect(page, &QWebEnginePage::loadStarted, this, [this] { setBusy(true); });
        connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
            setBusy(false);
            if (m_notify.loadFinished) m_notify.loadFinished(ok);
        });
        watch(page->action(QWebEnginePage::Back), Back);
        watch(page->action(QWebEnginePage::Forward), Forward);
        for (const MenuText &t : kMenuTexts)
            page->action(t.action)->setText(QString::fromUtf8(t.text));
    }

    QWidget *widget() override { return this; }
    void navigate(const QUrl &url) override { load(url); }
    void back() override { QWebEngineView::back(); }
    void forward() override { QWebEngineView::forward(); }
    void refresh() override { reload(); }
    void stop() override { QWebEngineView::stop(); }
    QUrl location() const override { return url(); }
    bool busy() const override { return m_busy; }
    QPoint scrollPosition() const override { return page()->scrollPosition().toPoint(); }
    void navigateKeepingScroll(const QUrl &url, const QPoint &scroll) override {
        m_page->loadKeepingScroll(url, scroll);
    }
    void runScript(const QString &source) override {
        page()->runJavaScript(source, QWebEngineScript::ApplicationWorld);
    }

protected:
    // Pages that ask for a new window (target="_blank", window.open) open here.
    QWebEngineView *createWindow(QWebEnginePage::WebWindowType) override { return this; }

    void contextMenuEvent(QContextMenuEvent *e) override
    {
        QMenu *menu = createStandardContextMenu();
        QList<QAction *> offered;
        for (const MenuText &t : kMenuTexts)
            offered << page()->action(t.action);
        // Separators are kept only between entries that stay.
        bool pendingSeparator = false, any = false;
        for (QAction *a : menu->actions()) {
            if (a->isSeparator() || !offered.contains(a)) {
                pendingSeparator = pendingSeparator || (a->isSeparator() && any);
                menu->removeAction(a);
                continue;
            }
            if (pendingSeparator)
                menu->insertSeparator(a);
            pendingSeparator = false;
            any = true;
        }
        if (menu->actions().isEmpty()) {
            delete menu;
            return;
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(e->globalPos());
    }

private:
    void watch(QAction *a, Command c)
    {
        connect(a, &QAction::changed, this, [this, a, c] { notifyCommand(c, a->isEnabled()); });
    }
    void setBusy(bool busy)
    {
        m_busy = busy;
        notifyCommand(Stop, busy);
    }
    void notifyCommand(Command c, bool enabled)
    {
        if (m_notify.commandState)
            m_notify.commandState(c, enabled);
    }

    Notifications m_notify;
    PreviewPage *m_page;
    bool m_busy = false;
};

bool anyFileExists(const QStringList &candidates)
{
    for (const QString &c : candidates) {
        if (!c.isEmpty() && QFileInfo::exists(c))
            return true;
    }
    return false;
}

// The engine ends the process when its helper program or its resources are
// missing; look where it looks before creating anything.
bool engineInstalled()
{
    const QString app = QCoreApplication::applicationDirPath();
    const QString helper = QStringLiteral("QtWebEngineProcess")
#ifdef Q_OS_WIN
                           + QStringLiteral(".exe")
#endif
        ;
    const QString pak = QStringLiteral("qtwebengine_resources.pak");
    const bool process = anyFileExists(
        {qEnvironmentVariable("QTWEBENGINEPROCESS_PATH"),
         QDir(QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath)).filePath(helper),
         QDir(app).filePath(helper)});
    const QString resourcesEnv = qEnvironmentVariable("QTWEBENGINE_RESOURCES_PATH");
    const bool resources = anyFileExists(
        {resourcesEnv.isEmpty() ? QString() : QDir(resourcesEnv).filePath(pak),
         QDir(QLibraryInfo::path(QLibraryInfo::DataPath))
             .filePath(QStringLiteral("resources/") + pak),
         QDir(app).filePath(pak), QDir(app).filePath(QStringLiteral("resources/") + pak)});
    return process && resources;
}

} // namespace

extern "C" Q_DECL_EXPORT PreviewEngine *
balizorCreatePreviewEngine(QWidget *parent, const PreviewEngine::Notifications &notify)
{
    if (!engineInstalled())
        return nullptr;
    // The engine describes its set-up on the console at every start; the user has no use for it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    // Its own pages (errors, form messages) speak French, whatever the system's language;
    // read when the first page is made.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--lang"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags + " --lang=fr").trimmed());
    return new WebEnginePreview(parent, notify);
}
