#include "app/ui/file_commands.h"

#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "app/ui/icons.h"
#include "platform/ui/shell.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QMainWindow>
#include <QMenu>

FileCommands::FileCommands(AppContext &ctx, DocumentManager *docs)
    : QObject(ctx.window), m_ctx(ctx), m_docs(docs)
{
    ActionRegistry &r = *ctx.actions;
    const QString cat = QStringLiteral("File");
    connect(r.add(QStringLiteral("FileNew"), QStringLiteral("&Nouveau"), QKeySequence(Qt::CTRL | Qt::Key_N), cat),
            &QAction::triggered, docs, &DocumentManager::FileNew);
    connect(r.add(QStringLiteral("FileOpen"), QStringLiteral("&Ouvrir..."), QKeySequence(Qt::CTRL | Qt::Key_O), cat),
            &QAction::triggered, docs, &DocumentManager::FileOpen);
    connect(r.add(QStringLiteral("FileSave"), QStringLiteral("&Enregistrer"), QKeySequence(Qt::CTRL | Qt::Key_S), cat),
            &QAction::triggered, docs, [docs] { docs->FileSave(); });
    connect(r.add(QStringLiteral("FileSaveAs"), QStringLiteral("Enregistrer &sous..."),
                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), cat),
            &QAction::triggered, docs, &DocumentManager::FileSaveAs);
    QAction *saveAll = r.add(QStringLiteral("FileSaveAll"), QStringLiteral("Enregistrer to&ut"), {}, cat);
    connect(saveAll, &QAction::triggered, docs, &DocumentManager::FileSaveAll);
    r.addUpdate([saveAll, docs] {
        bool any = false;
        for (int i = 0; i < docs->EditorCount() && !any; ++i) {
            const TMyMwCustomEdit *e = docs->EditorAt(i);
            any = e && (e->isModified() || e->fileName.isEmpty() || e->documentKind == KindFtp);
        }
        saveAll->setEnabled(any);
    });
    connect(r.add(QStringLiteral("FileClose"), QStringLiteral("&Fermer"), QKeySequence(Qt::CTRL | Qt::Key_W), cat),
            &QAction::triggered, docs, &DocumentManager::FileClose);
    connect(r.add(QStringLiteral("FileCloseAll"), QStringLiteral("Fermer &tout"), {}, cat),
            &QAction::triggered, docs, &DocumentManager::FileCloseAll);

    // "Réouvrir": the recent files, also the Open button's drop-down.
    m_recent = new QMenu(QStringLiteral("Réouvrir"), ctx.window);
    m_recent->setObjectName(QStringLiteral("FileReOpenMenu"));
    QAction *reopen = m_recent->menuAction();
    reopen->setObjectName(QStringLiteral("FileReOpen"));
    reopen->setIcon(Icons::forAction(QStringLiteral("FileOpen")));
    r.addMenu(QStringLiteral("FileReOpen"), m_recent);
    r.addUpdate([this, reopen] { reopen->setEnabled(!m_docs->recentFiles().isEmpty()); });
    connect(docs, &DocumentManager::recentFilesChanged, this, &FileCommands::rebuildRecentMenu);
    connect(ctx.events, &AppEvents::settingsLoaded, this, &FileCommands::rebuildRecentMenu);

    QAction *instance = r.add(QStringLiteral("FileNewInstance"),
                              QStringLiteral("Nouvelle instance de &Balizor"), {}, cat);
    instance->setToolTip(QStringLiteral("Nouvelle instance de Balizor"));
    instance->setStatusTip(instance->toolTip());
    connect(instance, &QAction::triggered, this, [] {
        const QString folder = QCoreApplication::applicationDirPath();
        ShellOpen(QCoreApplication::applicationFilePath(), QStringLiteral("-N"), folder, 5);
    });
    QAction *quit = r.add(QStringLiteral("MenuQuitter"), QStringLiteral("&Quitter"),
                          QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(quit, &QAction::triggered, ctx.window, &QWidget::close);

    QAction *prev = r.add(QStringLiteral("MenuDocPrecedent"), QStringLiteral("Document &Précédent"),
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab));
    prev->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)});
    connect(prev, &QAction::triggered, this, [docs] {
        const int n = docs->EditorCount();
        if (n >= 2)
            docs->ActivateTab((docs->activeIndex() - 1 + n) % n);
    });
    QAction *next = r.add(QStringLiteral("MenuDocSuivant"), QStringLiteral("Document &Suivant"),
                          QKeySequence(Qt::CTRL | Qt::Key_Tab));
    connect(next, &QAction::triggered, this, [docs] {
        const int n = docs->EditorCount();
        if (n >= 2)
            docs->ActivateTab((docs->activeIndex() + 1) % n);
    });
}

void FileCommands::rebuildRecentMenu()
{
    m_recent->clear();
    const QStringList items = m_docs->recentFiles().items();
    for (int i = 0; i < items.size(); ++i) {
        QString label = items[i];
        label.replace(QLatin1String("&"), QLatin1String("&&"));
        QAction *a = m_recent->addAction(
            (i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QStringLiteral("1&0 ")) + label);
        const QString path = items[i];
        connect(a, &QAction::triggered, this, [this, path] { m_docs->openRecent(path); });
    }
    m_recent->menuAction()->setEnabled(!items.isEmpty());
}

void FileCommands::rebuildWindowMenu(QMenu *menu)
{
    const int n = m_docs->EditorCount();
    m_ctx.actions->action(QStringLiteral("MenuDocPrecedent"))->setEnabled(n >= 2);
    m_ctx.actions->action(QStringLiteral("MenuDocSuivant"))->setEnabled(n >= 2);
    const QList<QAction *> items = menu->actions();
    for (int i = 3; i < items.size(); ++i) {
        menu->removeAction(items[i]);
        if (items[i]->parent() == menu)
            delete items[i];
    }
    if (items.size() < 3)
        menu->addSeparator();
    for (int i = 0; i < n; ++i) {
        QString caption = m_docs->tabCaption(i);
        caption.replace(QLatin1String("&"), QLatin1String("&&"));
        QAction *a = menu->addAction(caption);
        a->setCheckable(true);
        a->setChecked(i == m_docs->activeIndex());
        connect(a, &QAction::triggered, this, [this, i] { m_docs->ActivateTab(i); });
    }
}
