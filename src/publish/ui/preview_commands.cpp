#include "publish/ui/preview_commands.h"

#include "app/app_settings.h"
#include "app/document_texts.h"
#include "app/ui/action_registry.h"
#include "app/ui/clipboard_state.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/main_status_bar.h"
#include "app/ui/ui_services.h"
#include "platform/temp_folder.h"
#include "platform/text_file.h"
#include "platform/ui/shell.h"
#include "publish/preview_copy.h"
#include "publish/publish_texts.h"
#include "publish/ui/live_preview.h"
#include "publish/ui/preview_engine_loader.h"
#include "publish/ui/preview_panel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QSplitter>
#include <QToolBar>

bool launchBrowser(const BrowserLaunch &l)
{
    switch (l.kind) {
    case BrowserLaunch::OpenWithDefault:
        // Through the desktop's handler: a copy with the execute bit (common on
        // FAT and network mounts) must not run as a program.
        return openWithDesktop(l.program);
    case BrowserLaunch::StartProgram:
        return startProgram(l.program, l.arguments, l.workingFolder);
    case BrowserLaunch::Nothing:
    case BrowserLaunch::ShowInPanel:
    case BrowserLaunch::ProgramMissing:
        break;
    }
    return true;
}

namespace {
QString menuCaption(const QString &label)
{
    QString c = label;
    return c.replace(QLatin1Char('&'), QLatin1String("&&"));
}
} // namespace

PreviewCommands::PreviewCommands(AppContext &ctx, QSplitter *area, MainStatusBar *status)
    : QObject(ctx.window), engineFactory(&PreviewEngineLoader::create), launch(&launchBrowser),
      m_ctx(ctx), m_area(area), m_status(status)
{
    ActionRegistry &r = *ctx.actions;
    DocumentHost *docs = ctx.docs;
    const QString nav = QStringLiteral("Navigateur");
    const QString tools = QStringLiteral("Outils");

    QAction *toggle =
        r.add(QStringLiteral("OutilsBarreNavigateur"),
              QStringLiteral("Afficher le navigateur interne"), QKeySequence(Qt::Key_F9), tools);
    toggle->setToolTip(QStringLiteral("Afficher / Masquer le navigateur interne"));
    toggle->setStatusTip(toggle->toolTip());
    toggle->setCheckable(true);
    connect(toggle, &QAction::triggered, this, [this] { ShowPreviewPanel(!m_shown); });

    QAction *back = r.add(QStringLiteral("NavPrec"), QStringLiteral("&Précédent"), {}, nav);
    connect(back, &QAction::triggered, this, [this] {
        if (PreviewEngine *e = engine())
            e->back();
    });
    QAction *forward = r.add(QStringLiteral("NavSuiv"), QStringLiteral("&Suivant"), {}, nav);
    connect(forward, &QAction::triggered, this, [this] {
        if (PreviewEngine *e = engine())
            e->forward();
    });
    QAction *stop = r.add(QStringLiteral("NavStop"), QStringLiteral("Stop"), {}, nav);
    connect(stop, &QAction::triggered, this, [this] {
        if (PreviewEngine *e = engine())
            e->stop();
    });
    // The engine tells when these become possible.
    for (QAction *a : {back, forward, stop})
        a->setEnabled(false);
    connect(r.add(QStringLiteral("NavReload"), QStringLiteral("&Recharger"),
                  QKeySequence(Qt::CTRL | Qt::Key_R), nav),
            &QAction::triggered, this, &PreviewCommands::NavReload);

    m_live = new LivePreview(ctx, *this);

    connect(r.add(QStringLiteral("OutilsTester"), QStringLiteral("&Tester"),
                  QKeySequence(Qt::CTRL | Qt::Key_F9), tools),
            &QAction::triggered, this, &PreviewCommands::OutilsTester);
    const char *navNames[] = {"Nav1", "Nav2", "Nav3", "Nav4"};
    const QString navCaptions[] = {
        QStringLiteral("Navigateur &interne"), QStringLiteral("Navigateur par &défaut"),
        BrowserSettings::defaultLabel(), BrowserSettings::defaultLabel()};
    for (int i = 0; i < 4; ++i) {
        QAction *a = r.add(QString::fromLatin1(navNames[i]), navCaptions[i], {}, nav);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, i] { chooseBrowser(i); });
        m_nav[i] = a;
    }
    m_nav[0]->setChecked(true);

    QAction *copyPath = r.add(QStringLiteral("OutilsCopierAdresseDoc"),
                              QStringLiteral("Copier l'adresse du document"), {}, tools);
    connect(copyPath, &QAction::triggered, this, [docs] {
        if (TMyMwCustomEdit *e = docs->ActiveEditor(); e && !e->fileName.isEmpty())
            QGuiApplication::clipboard()->setText(e->fileName);
    });
    r.addUpdate([copyPath, docs] {
        const TMyMwCustomEdit *e = docs->ActiveEditor();
        copyPath->setEnabled(e && !e->fileName.isEmpty());
    });

    // The address box's context menu.
    const QString url = QStringLiteral("EditURL");
    struct BoxCommand {
        const char *name;
        const char *caption;
        void (*run)(QLineEdit *);
    };
    const BoxCommand boxCommands[] = {
        {"EditCut2", "&Couper", [](QLineEdit *e) { e->cut(); }},
        {"EditCopy2", "C&opier", [](QLineEdit *e) { e->copy(); }},
        {"EditPaste2", "Co&ller", [](QLineEdit *e) { e->paste(); }},
        {"SelectAllURL", "Sélectionner &tout", [](QLineEdit *e) { e->selectAll(); }}};
    for (const BoxCommand &c : boxCommands) {
        QAction *a = r.add(QString::fromLatin1(c.name), QString::fromUtf8(c.caption), {}, url);
        connect(a, &QAction::triggered, this,
                [this, run = c.run] { run(panel()->addressBox()->lineEdit()); });
    }
    r.addUpdate([this] { updateAddressActions(); });

    connect(ctx.events, &AppEvents::documentClosing, this, &PreviewCommands::DeletePreviewCopy);
    connect(ctx.events, &AppEvents::documentRenamed, this, &PreviewCommands::dropOldCopy);
    connect(ctx.events, &AppEvents::settingsLoaded, this, &PreviewCommands::applyBrowserSettings);
    connect(ctx.events, &AppEvents::preferencesApplied, this,
            &PreviewCommands::applyBrowserSettings);
}

PreviewCommands::~PreviewCommands()
{
    if (m_filtering)
        qApp->removeEventFilter(this);
}

TPreviewPanel *PreviewCommands::panel()
{
    if (m_panel)
        return m_panel;
    ActionRegistry &r = *m_ctx.actions;
    m_panel = new TPreviewPanel(r, m_area);
    m_panel->hide();
    m_area->addWidget(m_panel);
    m_area->setHandleWidth(kPreviewSplitterHeight);
    connect(m_panel, &TPreviewPanel::addressEntered, this, &PreviewCommands::NavigatePreview);

    QMenu *boxMenu = r.buildContextMenu(QStringLiteral("PopupMenuEditNav"), m_panel);
    r.addMenu(QStringLiteral("PopupMenuEditNav"), boxMenu);
    QLineEdit *edit = m_panel->addressBox()->lineEdit();
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(edit, &QWidget::customContextMenuRequested, this,
            [this, edit, boxMenu](const QPoint &p) {
                updateAddressActions();
                boxMenu->popup(edit->mapToGlobal(p));
            });
    return m_panel;
}

PreviewEngine *PreviewCommands::engine() const
{
    return m_panel ? m_panel->engine() : nullptr;
}

QAction *PreviewCommands::action(const char *name) const
{
    return m_ctx.actions->action(QString::fromLatin1(name));
}

// ---- preview copies ----

bool PreviewCommands::isOpenDocument(const QString &path, const TMyMwCustomEdit *except) const
{
    for (int i = 0; i < m_ctx.docs->EditorCount(); ++i) {
        const TMyMwCustomEdit *e = m_ctx.docs->EditorAt(i);
        if (e && e != except && sameFilePath(e->fileName, path))
            return true;
    }
    return false;
}

QString PreviewCommands::PreviewCopyPath(const TMyMwCustomEdit *e) const
{
    const QString own = e->fileName;
    return ::PreviewCopyPath(
        e->fileName, m_ctx.docs->tabCaption(m_ctx.docs->indexOf(e)), TemporaryFolder(),
        [this, own](const QString &p) { return sameFilePath(own, p) || isOpenDocument(p); });
}

void PreviewCommands::DeletePreviewCopy(const TMyMwCustomEdit *e)
{
    const QString p = PreviewCopyPath(e);
    if (QFileInfo::exists(p) && !sameFilePath(p, e->fileName) && !isOpenDocument(p))
        QFile::remove(p);
}

void PreviewCommands::dropOldCopy(TMyMwCustomEdit *e, const QString &oldName,
                                  const QString &oldCaption)
{
    // The copy that belonged to the old name or caption goes, unless it is now a
    // document (the file just written, or another open one).
    const QString oldCopy = ::PreviewCopyPath(
        oldName, oldCaption, TemporaryFolder(), [this, e, oldName](const QString &p) {
            return sameFilePath(oldName, p) || isOpenDocument(p, e);
        });
    if (QFileInfo::exists(oldCopy) && !isOpenDocument(oldCopy))
        QFile::remove(oldCopy);
}

QString PreviewCommands::WritePreviewCopy(TMyMwCustomEdit *e)
{
    const QString path = PreviewCopyPath(e);
    QByteArray bytes;
    // A character the document's code page cannot hold: the copy is what a save
    // would write after switching to UTF-8; the document itself is left as it is.
    if (!e->fileBytes(&bytes))
        encodeForFile(e->utf8Data(), e->utf8Length(), TextEncoding::Utf8, e->lineBreak, &bytes);
    if (!writePreviewCopy(path, bytes)) {
        ui().message(MsgType::Error, MsgButtons::Ok, DocTexts::cannotCreate(path));
        return {};
    }
    return path;
}

// ---- the panel ----

bool PreviewCommands::ensureEngine()
{
    if (engine())
        return true;
    if (m_availability == Availability::Missing)
        return false;
    TPreviewPanel *panel = this->panel();
    PreviewEngine::Notifications n;
    n.statusText = [this](const QString &t) {
        if (!m_panel->closing())
            onStatusText(t);
    };
    n.beforeNavigate = [this](const QUrl &u) {
        if (!m_panel->closing())
            onBeforeNavigate(u);
    };
    n.commandState = [this](PreviewEngine::Command c, bool on) {
        if (!m_panel->closing())
            onCommandState(c, on);
    };
    n.loadFinished = [this](bool ok) {
        if (!m_panel->closing()) m_live->loadFinished(ok);
    };
    PreviewEngine *created = engineFactory ? engineFactory(panel, n) : nullptr;
    if (!created) {
        markMissing();
        return false;
    }
    m_availability = Availability::Ready;
    panel->setEngine(created);
    return true;
}

void PreviewCommands::markMissing()
{
    m_availability = Availability::Missing;
    action("Nav1")->setVisible(false);
    for (const char *name : {"OutilsBarreNavigateur", "NavDirect", "NavSuivreCurseur"})
        action(name)->setVisible(false);
    BrowserSettings &b = m_ctx.options->browser;
    b.nav = availableChoice(b.nav, false);
    showChoice();
}

void PreviewCommands::ShowPreviewPanel(bool visible)
{
    if (visible && !ensureEngine()) {
        // The action checked itself when triggered: it shows what is true.
        action("OutilsBarreNavigateur")->setChecked(m_shown);
        return;
    }
    if (!m_panel)
        return; // hiding what was never shown
    const bool appearing = visible && !m_shown;
    if (!visible && m_panel->isAncestorOf(QApplication::focusWidget())) {
        if (TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor())
            e->setFocus();
    }
    m_shown = visible;
    m_panel->setVisible(visible);
    if (appearing) {
        // The panel takes the lower half; a size set by dragging is not remembered.
        // The splitter's handle must count before the sizes are given.
        m_area->refresh();
        const PanelSplit s =
            halvedPanelSplit(m_area->contentsRect().height(), m_area->handleWidth());
        m_area->setSizes({s.above, s.panel});
    }
    action("OutilsBarreNavigateur")->setChecked(visible);
    m_panel->navigationBar()->setVisible(visible);
    // Alt+Left and Alt+Right reach Back and Forward from anywhere in the window
    // while the browser shows.
    if (visible != m_filtering) {
        m_filtering = visible;
        if (visible)
            qApp->installEventFilter(this);
        else
            qApp->removeEventFilter(this);
    }
    if (appearing) m_live->panelAppeared();
}

void PreviewCommands::NavigatePreview(const QString &address)
{
    const QUrl url = addressUrl(address);
    if (!url.isValid() || url.isEmpty() || !ensureEngine())
        return;
    m_navigation.programNavigates();
    engine()->navigate(url);
}

void PreviewCommands::navigateKeepingScroll(const QUrl &url, const QPoint &scroll) {
    if (!ensureEngine()) return;
    m_navigation.programNavigates();
    engine()->navigateKeepingScroll(url, scroll);
}

void PreviewCommands::NavReload()
{
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    // The panel's own copy, with what following the typing or the caret adds.
    if (e && m_live->active() && engine()) {
        m_live->refresh(e, true);
        return;
    }
    if (!e || WritePreviewCopy(e).isEmpty())
        return;
    PreviewEngine *browser = engine();
    if (browser && !browser->location().isEmpty())
        browser->refresh();
}

void PreviewCommands::onBeforeNavigate(const QUrl &url)
{
    const QString text = addressText(url);
    if (m_navigation.beforeNavigate(text))
        m_panel->setHistory(m_navigation.history());
    m_panel->addressBox()->setEditText(text);
}

void PreviewCommands::onStatusText(const QString &text)
{
    if (!text.isEmpty())
        m_status->setPanel(2, text);
    else // the mouse left the link: the panel shows the editor's mode again
        m_ctx.docs->mwCustomEdit1StatusChange(m_ctx.docs->ActiveEditor());
}

void PreviewCommands::onCommandState(PreviewEngine::Command command, bool enabled)
{
    switch (command) {
    case PreviewEngine::Back:
        action("NavPrec")->setEnabled(enabled);
        break;
    case PreviewEngine::Forward:
        action("NavSuiv")->setEnabled(enabled);
        break;
    case PreviewEngine::Stop:
        action("NavStop")->setEnabled(enabled);
        break;
    }
}

bool PreviewCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto *k = static_cast<QKeyEvent *>(event);
    if (k->modifiers() != Qt::AltModifier ||
        (k->key() != Qt::Key_Left && k->key() != Qt::Key_Right))
        return false;
    PreviewEngine *e = engine();
    if (!e || !e->widget()->isVisible() ||
        static_cast<QWidget *>(watched)->window() != m_ctx.window)
        return false;
    QAction *a = action(k->key() == Qt::Key_Left ? "NavPrec" : "NavSuiv");
    if (!a->isEnabled())
        return false;
    a->trigger();
    return true;
}

void PreviewCommands::updateAddressActions()
{
    const bool selection = m_panel && m_panel->addressBox()->lineEdit()->hasSelectedText();
    action("EditCut2")->setEnabled(selection);
    action("EditCopy2")->setEnabled(selection);
    action("EditPaste2")->setEnabled(ClipboardState::hasText());
}

// ---- browser tests ----

void PreviewCommands::OutilsTester()
{
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (!e)
        return;
    if (m_live->active() && browserAvailable() &&
        planBrowserTest(m_ctx.options->browser, {}, true).kind == BrowserLaunch::ShowInPanel &&
        ensureEngine()) {
        ShowPreviewPanel(true);
        m_live->refresh(e, true);
        return;
    }
    const QString copy = WritePreviewCopy(e);
    if (copy.isEmpty())
        return;
    panel()->addressBox()->setEditText(copy);
    BrowserLaunch l = planBrowserTest(m_ctx.options->browser, copy, browserAvailable());
    if (l.kind == BrowserLaunch::ShowInPanel) {
        if (ensureEngine()) {
            ShowPreviewPanel(true);
            NavigatePreview(copy);
            return;
        }
        // No engine after all: the default browser stands in from now on.
        l = planBrowserTest(m_ctx.options->browser, copy, false);
    }
    if (l.kind == BrowserLaunch::ProgramMissing)
        ui().message(MsgType::Plain, MsgButtons::Ok, PublishTexts::userBrowserMissing());
    else if (l.kind != BrowserLaunch::Nothing && launch && !launch(l) &&
             l.kind == BrowserLaunch::StartProgram)
        ui().message(MsgType::Warning, MsgButtons::Ok, PublishTexts::browserNotStarted(l.program));
}

void PreviewCommands::chooseBrowser(int index)
{
    BrowserSettings &b = m_ctx.options->browser;
    b.nav = {};
    b.nav[index] = true;
    showChoice();
}

void PreviewCommands::showChoice()
{
    for (int i = 0; i < 4; ++i)
        m_nav[i]->setChecked(m_ctx.options->browser.nav[i]);
}

void PreviewCommands::applyBrowserSettings()
{
    BrowserSettings &b = m_ctx.options->browser;
    // Without an engine module there is no preview: known before the first need.
    if (m_availability == Availability::Unknown && PreviewEngineLoader::modulePath().isEmpty())
        markMissing();
    b.nav = availableChoice(b.nav, browserAvailable());
    showChoice();
    b.libelleNav3 = userBrowserLabel(b.libelleNav3);
    b.libelleNav4 = userBrowserLabel(b.libelleNav4);
    for (int i : {2, 3}) {
        const QString &label = i == 2 ? b.libelleNav3 : b.libelleNav4;
        m_nav[i]->setText(menuCaption(label));
        m_nav[i]->setToolTip(label);
        m_nav[i]->setStatusTip(label);
    }
}
