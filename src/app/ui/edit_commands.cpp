#include "app/ui/edit_commands.h"

#include "app/app_settings.h"
#include "app/ui/action_registry.h"
#include "app/ui/clipboard_state.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/icons.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMimeData>

EditCommands::EditCommands(AppContext &ctx) : QObject(ctx.window), m_ctx(ctx) {
    ActionRegistry &r = *ctx.actions;
    DocumentHost *docs = ctx.docs;
    const QString cat = QStringLiteral("Edit");
    auto active = [docs] { return docs->ActiveEditor(); };

    QAction *undo = r.add(QStringLiteral("EditUndo"), QStringLiteral("&Annuler"),
                          QKeySequence(Qt::CTRL | Qt::Key_Z), cat);
    connect(undo, &QAction::triggered, this, [active] {
        if (auto *e = active()) e->undo();
    });
    r.addUpdate([undo, active] { undo->setEnabled(active() && active()->isUndoAvailable()); });

    QAction *redo = r.add(QStringLiteral("EditRedo"), QStringLiteral("&Rétablir"),
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), cat);
    connect(redo, &QAction::triggered, this, [active] {
        if (auto *e = active()) e->redo();
    });
    r.addUpdate([redo, active] { redo->setEnabled(active() && active()->isRedoAvailable()); });

    auto whenSelection = [active](QAction *a) {
        return [a, active] { a->setEnabled(active() && active()->selAvail()); };
    };
    QAction *cut = r.add(QStringLiteral("EditCut1"), QStringLiteral("&Couper"),
                         QKeySequence(Qt::CTRL | Qt::Key_X), cat);
    connect(cut, &QAction::triggered, this, [active] {
        if (auto *e = active()) e->cut();
    });
    r.addUpdate(whenSelection(cut));
    QAction *copy = r.add(QStringLiteral("EditCopy1"), QStringLiteral("C&opier"),
                          QKeySequence(Qt::CTRL | Qt::Key_C), cat);
    connect(copy, &QAction::triggered, this, [active] {
        if (auto *e = active()) e->copy();
    });
    r.addUpdate(whenSelection(copy));

    auto paste = [active] {
        if (auto *e = active()) e->paste();
    };
    auto canPaste = [active](QAction *a) {
        return [a, active] {
            TMyMwCustomEdit *e = active();
            a->setEnabled(e && !e->isReadOnly() && ClipboardState::hasText());
        };
    };
    QAction *paste1 = r.add(QStringLiteral("EditPaste1"), QStringLiteral("Co&ller"),
                            QKeySequence(Qt::CTRL | Qt::Key_V), cat);
    // Shift+Insert is the same command: one entry in the menus, two keys.
    paste1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
    connect(paste1, &QAction::triggered, this, paste);
    r.addUpdate(canPaste(paste1));

    QAction *erase = r.add(QStringLiteral("EditEffacer"), QStringLiteral("&Effacer"), {}, cat);
    connect(erase, &QAction::triggered, this, [active] {
        if (auto *e = active()) e->removeSelectedText();
    });
    r.addUpdate(whenSelection(erase));

    QAction *all = r.add(QStringLiteral("EditSelectAll"), QStringLiteral("Sélectionner &tout"),
                         QKeySequence(Qt::CTRL | Qt::Key_A), cat);
    connect(all, &QAction::triggered, this, [active] {
        if (auto *e = active()) e->selectAll(true);
    });

    QAction *wrap = r.add(QStringLiteral("EditWordWrap"),
                          QStringLiteral("Retour automatique à la l&igne"), {}, cat);
    wrap->setCheckable(true);
    connect(wrap, &QAction::toggled, this, [this](bool on) {
        m_ctx.options->wordWrap = on;
        forEachEditor([on](TMyMwCustomEdit *e) {
            e->setWrapMode(on ? QsciScintilla::WrapWord : QsciScintilla::WrapNone);
        });
    });

    QAction *column =
        r.add(QStringLiteral("EditModeColonne"), QStringLiteral("Sélection en mode colonne"),
              QKeySequence(Qt::ALT | Qt::Key_C), cat);
    column->setCheckable(true);
    connect(column, &QAction::toggled, this,
            [this](bool on) { forEachEditor([on](TMyMwCustomEdit *e) { e->setColumnMode(on); }); });

    QAction *special = r.add(QStringLiteral("EditSpecialCar"),
                             QStringLiteral("Voir les caractères de formatage"), {}, cat);
    special->setCheckable(true);
    connect(special, &QAction::toggled, this, [this](bool on) {
        m_ctx.options->showSpecialChars = on;
        forEachEditor([on](TMyMwCustomEdit *e) { e->setShowFormattingChars(on); });
    });

    QAction *onTop =
        r.add(QStringLiteral("EditOnTop"), QStringLiteral("Toujours au dessus"), {}, cat);
    onTop->setCheckable(true);
    connect(onTop, &QAction::toggled, this, &EditCommands::setOnTop);

    // Clipboard contents decide whether Paste is possible.
    connect(ClipboardState::instance(), &ClipboardState::changed, ctx.events,
            &AppEvents::stateChanged);
    connect(ctx.events, &AppEvents::settingsLoaded, this, [this, wrap, special, onTop] {
        wrap->setChecked(m_ctx.options->wordWrap);
        special->setChecked(m_ctx.options->showSpecialChars);
        if (m_ctx.options->alwaysOnTop) onTop->trigger();
    });
}

void EditCommands::setOnTop(bool on) {
    QMainWindow *w = m_ctx.window;
    m_ctx.options->alwaysOnTop = on;
    QAction *a = m_ctx.actions->action(QStringLiteral("EditOnTop"));
    // Image 125 when off, 126 when on.
    a->setIcon(Icons::forAction(on ? QStringLiteral("EditOnTop:on") : QStringLiteral("EditOnTop")));
    const bool visible = w->isVisible();
    w->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible) w->show();
}

void EditCommands::forEachEditor(const std::function<void(TMyMwCustomEdit *)> &f) {
    for (int i = 0; i < m_ctx.docs->EditorCount(); ++i) {
        if (TMyMwCustomEdit *e = m_ctx.docs->EditorAt(i)) f(e);
    }
}
