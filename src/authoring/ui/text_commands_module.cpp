#include "authoring/ui/text_commands_module.h"

#include "app/app_settings.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/ui_services.h"
#include "authoring/rule_markup.h"
#include "authoring/text_commands.h"
#include "authoring/ui/hr_box.h"
#include "authoring/ui/text_command_icons.h"

#include <QAction>
#include <QDateTime>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QTextDocument>

namespace {

const QString kTexte = QStringLiteral("Texte");
const QString kInsertion = QStringLiteral("Insertion");

QKeySequence keyFromTable(const QString &text) {
    return QKeySequence::fromString(text, QKeySequence::PortableText);
}

// Captions such as "<H1> (le plus grand)" would be read as markup by a tool tip.
void setPlainToolTip(QAction *a) {
    a->setToolTip(Qt::convertFromPlainText(a->statusTip(), Qt::WhiteSpaceNormal));
}

} // namespace

TextCommandsModule::TextCommandsModule(AppContext &ctx) : QObject(ctx.window), m_ctx(ctx) {
    addWrapCommands();
    addSizeMenus();
    addEntityMenus();
    addInsertions();
    addListCommands();

    m_ctx.actions->addUpdate([this] {
        const bool editor = m_ctx.docs->ActiveEditor() != nullptr;
        for (QAction *a : std::as_const(m_markupActions))
            a->setEnabled(editor);
    });
}

QMenu *TextCommandsModule::addMenu(const QString &name, const QString &title) {
    auto *menu = new QMenu(title, m_ctx.window);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    menu->menuAction()->setIcon(TextCommandIcon(name));
    m_ctx.actions->addMenu(name, menu);
    m_markupActions << menu->menuAction();
    return menu;
}

void TextCommandsModule::addWrapCommands() {
    ActionRegistry &r = *m_ctx.actions;
    for (const Authoring::WrapCommand &c : Authoring::WrapCommands()) {
        QAction *a = r.add(c.name, c.caption, keyFromTable(c.shortcut), kTexte);
        a->setIcon(TextCommandIcon(c.name));
        setPlainToolTip(a);
        connect(a, &QAction::triggered, this,
                [this, opening = c.opening, closing = c.closing, raw = c.raw] {
                    wrap(opening, closing, raw);
                });
        m_markupActions << a;
    }
}

void TextCommandsModule::addSizeMenus() {
    const struct {
        const char *name;
        QString title;
    } menus[] = {{"MenuTaille", QStringLiteral("&Taille")},
                 {"MenuAugmenterTaille", QStringLiteral("Au&gmenter la taille")},
                 {"MenuDiminuerTaille", QStringLiteral("&Diminuer la taille")}};
    for (const auto &m : menus) {
        QMenu *menu = addMenu(QLatin1String(m.name), m.title);
        for (const Authoring::FontSizeItem &item : Authoring::FontSizeItems()) {
            if (item.submenu != m.title) continue;
            QAction *a = menu->addAction(item.caption);
            // One handler for all the sizes: the size is the item's caption.
            connect(a, &QAction::triggered, this, [this, a] {
                wrap(Authoring::FontSizeOpening(a->text()), Authoring::FontSizeClosing(), false);
            });
        }
    }
}

void TextCommandsModule::addEntityMenus() {
    QMenu *accents =
        addMenu(QStringLiteral("MenuCaracteresAccentues"), QStringLiteral("Caractères &Accentués"));
    QMenu *specials =
        addMenu(QStringLiteral("MenuCaracteresSpeciaux"), QStringLiteral("&Caractères Spéciaux"));
    const QList<Authoring::EntityItem> &items = Authoring::EntityItems();
    QMenu *group = nullptr;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const Authoring::EntityItem &item = items.at(i);
        QMenu *top = item.submenu == accents->title() ? accents : specials;
        if (!group || group->title() != item.subSubmenu || group->parent() != top) {
            group = new QMenu(item.subSubmenu, top);
            top->addMenu(group);
        }
        QAction *a = group->addAction(item.caption);
        a->setStatusTip(item.hint);
        a->setToolTip(item.hint);
        if (!item.shortcut.isEmpty()) {
            QList<QKeySequence> keys{keyFromTable(item.shortcut)};
            // Shift with the "<>" key arrives as ">".
            if (item.shortcut == QLatin1String("Ctrl+Shift+<"))
                keys << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Greater);
            a->setShortcuts(keys);
            // Keys work while the menu is closed.
            m_ctx.window->addAction(a);
        }
        connect(a, &QAction::triggered, this, [this, i] {
            const bool named = m_ctx.options->caracteresAlphabetiques;
            insert(Authoring::EntityText(Authoring::EntityItems().at(i), named), true);
        });
    }
}

void TextCommandsModule::addInsertions() {
    ActionRegistry &r = *m_ctx.actions;
    auto add = [&](const char *name, const QString &caption, const QList<QKeySequence> &keys,
                   const QString &category) {
        QAction *a = r.add(QLatin1String(name), caption, keys.value(0), category);
        a->setShortcuts(keys);
        a->setIcon(TextCommandIcon(QLatin1String(name)));
        m_markupActions << a;
        return a;
    };
    // The Enter key and the keypad's Enter both count.
    QAction *br =
        add("InsertionBreak", QStringLiteral("&Retour ligne"),
            {QKeySequence(Qt::CTRL | Qt::Key_Enter), QKeySequence(Qt::CTRL | Qt::Key_Return)},
            kInsertion);
    connect(br, &QAction::triggered, this, &TextCommandsModule::lineBreak);

    QAction *nbsp = add("texteEspace", QStringLiteral("&Espace insécable"),
                        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Space)}, kTexte);
    connect(nbsp, &QAction::triggered, this, [this] { insert(QStringLiteral("&nbsp;"), true); });

    QAction *date =
        add("InsertionDate", QStringLiteral("Heure/&Date"), {QKeySequence(Qt::Key_F5)}, kInsertion);
    connect(date, &QAction::triggered, this, [this] {
        insert(Authoring::FormatDate(QDateTime::currentDateTime(), m_ctx.options->formatDate),
               true);
    });

    QAction *hr = add("InsertionHR", QStringLiteral("Ligne &horizontale..."),
                      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Enter),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Return)},
                      kInsertion);
    connect(hr, &QAction::triggered, this, &TextCommandsModule::ruleCommand);
}

void TextCommandsModule::addListCommands() {
    ActionRegistry &r = *m_ctx.actions;
    const struct {
        const char *name;
        QString caption;
        QKeySequence key;
        Authoring::ListKind kind;
    } lists[] = {
        {"InsertionListe", QStringLiteral("Li&ste..."),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), Authoring::ListKind::Bulleted},
        {"InsertionListeOrdonnee",
         QStringLiteral("Li&ste ordonnée..."),
         {},
         Authoring::ListKind::Ordered},
        {"InsertionListeDef",
         QStringLiteral("Liste de &définitions"),
         {},
         Authoring::ListKind::Definitions},
    };
    for (const auto &l : lists) {
        QAction *a = r.add(QLatin1String(l.name), l.caption, l.key, kInsertion);
        a->setIcon(TextCommandIcon(QLatin1String(l.name)));
        connect(a, &QAction::triggered, this, [this, kind = l.kind] { listCommand(kind); });
        m_markupActions << a;
    }
}

void TextCommandsModule::wrap(const QString &opening, const QString &closing, bool raw) {
    Markup::WrapSelection(m_ctx, m_ctx.docs->ActiveEditor(), opening, closing, raw);
}

void TextCommandsModule::insert(const QString &text, bool raw) {
    Markup::InsertMarkup(m_ctx, m_ctx.docs->ActiveEditor(), text, raw);
}

void TextCommandsModule::lineBreak() {
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    // The tag and the new line undo together.
    e->undoGroupBreak();
    e->beginUndoAction();
    Markup::InsertMarkup(
        m_ctx, e, QStringLiteral("<br") + Markup::XhtmlAdjust(m_ctx, QStringLiteral(">")), false);
    e->newLine();
    e->endUndoAction();
    e->ensureCaretVisible();
}

void TextCommandsModule::listCommand(Authoring::ListKind kind) {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    m_lists.run(m_ctx.window, [&](TListes_Boite &dialog) {
        dialog.setKind(kind);
        Authoring::ListSource source;
        if (e->selAvail()) {
            Markup::SelectWholeLines(e);
            source =
                Authoring::SplitSelectionIntoItems(e->textRange(e->blockBegin(), e->blockEnd()));
        }
        dialog.setItems(source.items);
        if (ui().execDialog(&dialog) != QDialog::Accepted || !e) return true;
        const QString list =
            Authoring::BuildListMarkup(dialog.values(), source, m_ctx.options->casse);
        Markup::InsertMarkup(m_ctx, e, list, true);
        return true;
    });
}

void TextCommandsModule::ruleCommand() {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    RunPerUseDialog<THRBox>(m_ctx.window, [&](THRBox &dialog) {
        if (ui().execDialog(&dialog) != QDialog::Accepted || !e) return;
        QString error;
        const QString rule =
            Authoring::BuildRuleMarkup(dialog.values(), m_ctx.options->xhtml, &error);
        if (rule.isEmpty()) {
            ui().message(MsgType::Error, MsgButtons::Ok, error);
            return;
        }
        Markup::InsertMarkup(m_ctx, e, rule, false);
    });
}
