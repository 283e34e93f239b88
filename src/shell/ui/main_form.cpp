#include "shell/ui/main_form.h"

#include "app/app_settings.h"
#include "app/settings_store.h"
#include "app/ui/accessible_names.h"
#include "app/ui/action_registry.h"
#include "app/ui/app_style.h"
#include "app/ui/clipboard_state.h"
#include "app/ui/document_manager.h"
#include "app/ui/document_type_module.h"
#include "app/ui/edit_commands.h"
#include "app/ui/editor_view.h"
#include "app/ui/file_commands.h"
#include "app/ui/main_status_bar.h"
#include "shell/ui/menu_layout.h"
#include "app/ui/preferences_commands.h"
#include "app/ui/new_document_module.h"
#include "publish/ui/splash_window.h"
#include "shell/ui/toolbar_manager.h"
#include "authoring/ui/css_commands_module.h"
#include "authoring/ui/font_colour_module.h"
#include "app/ui/outside_change_check.h"
#include "app/ui/recovery_keeper.h"
#include "assist/ui/document_info_module.h"
#include "authoring/ui/form_commands_module.h"
#include "authoring/ui/media_link_module.h"
#include "authoring/ui/page_commands_module.h"
#include "authoring/ui/script_commands_module.h"
#include "assist/ui/rewrite_commands.h"
#include "assist/ui/search_commands.h"
#include "assist/ui/assist_module.h"
#include "assist/ui/spelling_module.h"
#include "authoring/ui/text_commands_module.h"
#include "publish/ui/ftp_commands.h"
#include "publish/ui/help_commands.h"
#include "publish/ui/preview_commands.h"
#include "publish/ui/print_commands.h"
#include "site/ui/publish_site_commands.h"
#include "site/ui/site_module.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace {
// A question, a dialog or a system file dialog is open.
bool modalWindowOpen()
{
    return QApplication::activeModalWidget() || QGuiApplication::modalWindow();
}
} // namespace

void setApplicationIdentity()
{
    QApplication::setApplicationName(QStringLiteral("Balizor"));
    QApplication::setOrganizationName(QStringLiteral("Balizor"));
    QApplication::setApplicationVersion(TOpenBox::version());
}

TMainForm::TMainForm(SettingsStore *store, Options *options, const QStringList &arguments,
                     QWidget *parent)
    : QMainWindow(parent), m_arguments(arguments)
{
    AppStyle::install();
    setObjectName(QStringLiteral("MainForm"));
    AccessibleNames::install();
    setWindowTitle(QStringLiteral("Balizor"));
    setMinimumHeight(400);
    resize(764, 529);

    m_ctx.window = this;
    m_ctx.store = store;
    m_ctx.options = options;
    m_ctx.events = new AppEvents(this);
    m_ctx.actions = new ActionRegistry(this);
    m_ctx.actions->setContextMenuBuilder([this](const QString &name, QWidget *parent) {
        return MenuLayout::buildContextMenu(name, *m_ctx.actions, parent);
    });
    connect(m_ctx.events, &AppEvents::stateChanged, m_ctx.actions, &ActionRegistry::runUpdates);

    m_status = new MainStatusBar(this);
    setStatusBar(m_status);

    m_central = new QSplitter(Qt::Vertical, this);
    m_central->setObjectName(QStringLiteral("CentralSplitter"));
    m_central->setChildrenCollapsible(false);
    m_tabs = new QTabWidget(m_central);
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    m_tabs->setDocumentMode(true);
    m_tabs->setUsesScrollButtons(true);
    m_tabs->tabBar()->setExpanding(false);
    m_tabs->tabBar()->setAttribute(Qt::WA_Hover);
    m_tabs->setMinimumHeight(32);
    m_central->addWidget(m_tabs);
    setCentralWidget(m_central);

    m_forwardTimer = new QTimer(this);
    m_forwardTimer->setInterval(100);
    connect(m_forwardTimer, &QTimer::timeout, this, &TMainForm::drainForwards);

    m_docs = new DocumentManager(m_ctx, m_tabs, m_status);
    m_ctx.docs = m_docs;

    // Command modules add their actions; the menus and toolbars are laid out after.
    m_fileCommands = new FileCommands(m_ctx, m_docs);
    m_editCommands = new EditCommands(m_ctx);
    new TextCommandsModule(m_ctx);
    new FormCommandsModule(m_ctx);
    new MediaLinkModule(m_ctx);
    new ScriptCommandsModule(m_ctx);
    new SearchCommands(m_ctx);
    new PrintCommands(m_ctx);
    new FontColourModule(m_ctx);
    new CssCommandsModule(m_ctx);
    new PreviewCommands(m_ctx, m_central, m_status);
    new HelpCommands(m_ctx);
    new FtpCommands(m_ctx);
    new PublishSiteCommands(m_ctx);
    m_toolbars = new ToolbarManager(m_ctx);
    m_types = new DocumentTypeModule(m_ctx);
    m_docs->setTypeHooks(m_types);
    new RewriteCommands(m_ctx, m_types->types());
    new AssistModule(m_ctx, m_types);
    new SpellingModule(m_ctx, m_types);
    // Created now and kept; its pages are built when first shown.
    m_preferences = new PreferencesCommands(m_ctx, m_types->types(), [this] { ApplyPreferences(); });
    auto *pages = new PageCommandsModule(m_ctx, m_types);
    new NewDocumentModule(
        m_ctx, m_types, [pages](TMyMwCustomEdit *e) { return pages->runPageProperties(e); },
        [pages](TMyMwCustomEdit *e) { return pages->runFrames(e); });
    new DocumentInfoModule(m_ctx, m_docs);
    new SiteModule(m_ctx, m_docs, m_types->types());
    m_outside = new OutsideChangeCheck(m_ctx, m_docs);
    m_recovery = new RecoveryKeeper(m_ctx, m_docs, m_types);

    m_toolbars->build();
    if (QMenu *windowMenu = m_toolbars->menuBar()->findChild<QMenu *>(QStringLiteral("MenuFenetre")))
        connect(windowMenu, &QMenu::aboutToShow, this,
                [this, windowMenu] { m_fileCommands->rebuildWindowMenu(windowMenu); });
    QMenu *popup = MenuLayout::buildContextMenu(QStringLiteral("EditorPopup"), *m_ctx.actions, this);
    m_ctx.actions->addMenu(QStringLiteral("EditorPopup"), popup);
    m_docs->setEditorPopup(popup);
    m_tabs->tabBar()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tabs->tabBar(), &QWidget::customContextMenuRequested, this, [this, popup](const QPoint &p) {
        const int i = m_tabs->tabBar()->tabAt(p);
        if (i >= 0)
            m_docs->ActivateTab(i);
        popup->popup(m_tabs->tabBar()->mapToGlobal(p));
    });
}

TMainForm::~TMainForm() = default;

void TMainForm::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    if (!m_shown) {
        m_shown = true;
        firstShow();
    }
}

void TMainForm::firstShow()
{
    Options &o = *m_ctx.options;
    loadSettings(*m_ctx.store, o);
    m_docs->recentFiles().load(*m_ctx.store);
    move(o.window.left, o.window.top);
    resize(o.window.width, o.window.height);
    if (o.window.maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
    emit m_ctx.events->settingsLoaded();

    m_docs->UpdateTitle(QString(), false);
    m_toolbars->LoadToolbarLayout();
    m_docs->numbering().reset();
    m_docs->setOpenFolder(o.dossierParDefautSTR);
    m_docs->setSaveFolder(o.dossierParDefautSTR);
    // A new default extension chosen later applies from the next start.
    m_docs->setSaveSuffix(o.extensionDefaut);
    m_docs->FileNew();

    bool opened = false;
    for (const QString &a : m_arguments) {
        if (a.startsWith(QLatin1Char('-')))
            continue;
        const QString path = QFileInfo(a).absoluteFilePath();
        m_docs->openIfExists(QDir::toNativeSeparators(path));
        opened = opened || QFileInfo::exists(path);
    }
    if (TMyMwCustomEdit *e = m_docs->ActiveEditor()) {
        e->update();
        if (opened)
            m_docs->setOpenFolder(QFileInfo(e->fileName).absolutePath());
    }
    drainForwards();
    // The first idle moment comes once the window has been drawn, so that its work
    // (the state of every command, the tip of the day) never delays the window.
    if (QWindow *w = windowHandle()) {
        m_idlePending = true;
        w->installEventFilter(this);
        // A window the system never exposes (another desktop...) still gets it.
        QTimer::singleShot(3000, this, [this] {
            if (std::exchange(m_idlePending, false)) {
                if (QWindow *w = windowHandle())
                    w->removeEventFilter(this);
                firstIdle();
            }
        });
    } else {
        QTimer::singleShot(0, this, &TMainForm::firstIdle);
    }
}

bool TMainForm::eventFilter(QObject *watched, QEvent *e)
{
    // The window draws itself while it handles its first exposure; the timer comes after.
    if (m_idlePending && e->type() == QEvent::Expose && watched == windowHandle()) {
        m_idlePending = false;
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, &TMainForm::firstIdle);
    }
    return QMainWindow::eventFilter(watched, e);
}

void TMainForm::firstIdle()
{
    ClipboardState::instance()->ask();
    emit m_ctx.events->stateChanged();
    emit m_ctx.events->firstIdle();
}

void TMainForm::bringToFront()
{
    // Restored to the state it had before it was minimised (maximised or not).
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    // An open question stays in front of the window it belongs to.
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

void TMainForm::handleForwardedArgument(const QString &argument)
{
    // A document opened under an open question or dialog would change the tab it
    // acts on; the file waits, behind any that already wait.
    if (!m_shown || modalWindowOpen() || !m_pendingForwards.isEmpty()) {
        m_pendingForwards << argument;
        if (m_shown)
            m_forwardTimer->start();
        return;
    }
    openForwarded(argument);
}

void TMainForm::drainForwards()
{
    if (modalWindowOpen()) {
        m_forwardTimer->start(); // asks again a moment later
        return;
    }
    m_forwardTimer->stop();
    const QStringList pending = std::exchange(m_pendingForwards, {});
    for (const QString &a : pending)
        openForwarded(a);
}

void TMainForm::openForwarded(const QString &argument)
{
    if (argument.isEmpty())
        return;
    if (QFileInfo::exists(argument)) {
        m_docs->OpenDocument(argument, true);
        if (TMyMwCustomEdit *e = m_docs->ActiveEditor())
            m_docs->setOpenFolder(QFileInfo(e->fileName).absolutePath());
    } else {
        m_docs->openIfExists(argument);
    }
}

void TMainForm::ApplyPreferences()
{
    savePreferences(*m_ctx.store, *m_ctx.options);
    // A fixed default folder is where the file dialogs open from now on.
    if (m_ctx.options->dossierParDefaut) {
        m_docs->setOpenFolder(m_ctx.options->dossierParDefautSTR);
        m_docs->setSaveFolder(m_ctx.options->dossierParDefautSTR);
    }
    for (int i = 0; i < m_docs->EditorCount(); ++i) {
        if (TMyMwCustomEdit *e = m_docs->EditorAt(i))
            e->applyPreferences(m_ctx.options->editor);
    }
    emit m_ctx.events->preferencesApplied();
    m_ctx.store->sync();
    emit m_ctx.events->stateChanged();
}

void TMainForm::rememberWindowBounds()
{
    WindowBounds &w = m_ctx.options->window;
    w.maximised = isMaximized();
    if (!w.maximised) {
        w.left = pos().x();
        w.top = pos().y();
        w.width = width();
        w.height = height();
    }
}

void TMainForm::closeEvent(QCloseEvent *e)
{
    if (!m_docs->queryCloseAll()) {
        e->ignore();
        return;
    }
    emit m_ctx.events->closing();
    saveSession();
    e->accept();
}

void TMainForm::saveSession() {
    if (m_ctx.actions->action(QStringLiteral("OutilsBarreMasquer"))->isChecked())
        m_toolbars->OutilsBarreMasquer();
    rememberWindowBounds();
    saveSessionSettings(*m_ctx.store, *m_ctx.options);
    m_docs->recentFiles().save(*m_ctx.store);
    m_toolbars->SaveToolbarLayout();
    m_ctx.store->sync();
}

void TMainForm::endOfSession() {
    bool questions = modalWindowOpen();
    for (int i = 0; i < m_docs->EditorCount() && !questions; ++i) {
        const TMyMwCustomEdit *e = m_docs->EditorAt(i);
        questions = e && (e->isModified() || e->documentKind == KindFtp);
    }
    if (!questions) {
        close();
        return;
    }
    // Nobody is there to answer the close questions.
    m_recovery->journalAllNow();
    saveSession();
    std::fflush(nullptr);
    std::_Exit(0);
}

QMenu *TMainForm::createPopupMenu()
{
    return MenuLayout::buildContextMenu(QStringLiteral("BarreOutilsPopUp"), *m_ctx.actions, this);
}
