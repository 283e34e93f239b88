#include "authoring/ui/script_commands_module.h"

#include "app/app_settings.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/ui_services.h"
#include "authoring/ui/insertion_icons.h"
#include "authoring/ui/media_link_module.h"

#include <QAction>
#include <QMainWindow>
#include <QPointer>

namespace {
const QString kTexte = QStringLiteral("Texte");
const QString kInsertion = QStringLiteral("Insertion");
const QString kAsp = QStringLiteral("ASP");
const QString kPhp = QStringLiteral("PHP");
const QString kSql = QStringLiteral("SQL");
} // namespace

ScriptCommandsModule::ScriptCommandsModule(AppContext &ctx) : QObject(ctx.window), m_ctx(ctx) {
    addSnippets(Authoring::EventCommands(), kTexte);
    addSnippets(Authoring::SqlCommands(), kSql);
    // The ASP block, then the PHP block and comment.
    addSnippets(Authoring::ServerBlockCommands(), kAsp);

    connect(add(QStringLiteral("InsertionScript"), QStringLiteral("&Script..."), kInsertion),
            &QAction::triggered, this, &ScriptCommandsModule::scriptCommand);
    connect(add(QStringLiteral("ASPInc"), QStringLiteral("Ajouter une inclusion de fichier"), kAsp),
            &QAction::triggered, this,
            [this] { includeCommand(m_aspInclude, Authoring::IncludeKind::Asp); });
    connect(add(QStringLiteral("PHPInc"), QStringLiteral("Ajouter une inclusion de fichier"), kPhp),
            &QAction::triggered, this,
            [this] { includeCommand(m_phpInclude, Authoring::IncludeKind::Php); });
    connect(add(QStringLiteral("ASPProcedure"), QStringLiteral("Ajouter une procédure"), kAsp),
            &QAction::triggered, this, &ScriptCommandsModule::procedureCommand);
    connect(add(QStringLiteral("ASPCommenter"), QStringLiteral("Commenter le bloc"), kAsp),
            &QAction::triggered, this, [this] { convertLines(Authoring::CommentAspLines); });
    connect(add(QStringLiteral("ASPDecommenter"), QStringLiteral("Décommenter le bloc"), kAsp),
            &QAction::triggered, this, [this] { convertLines(Authoring::UncommentAspLines); });
    connect(add(QStringLiteral("ASPChaine"),
                QStringLiteral("Transformer les lignes sélectinonées en chaîne ASP"), kAsp),
            &QAction::triggered, this, &ScriptCommandsModule::stringCommand);

    m_ctx.actions->addUpdate([this] {
        const bool editor = m_ctx.docs->ActiveEditor() != nullptr;
        for (QAction *a : std::as_const(m_actions))
            a->setEnabled(editor);
    });
}

QAction *ScriptCommandsModule::add(const QString &name, const QString &caption,
                                   const QString &category, const QString &hint) {
    QAction *a = m_ctx.actions->add(name, caption, {}, category);
    a->setIcon(InsertionIcon(name));
    if (!hint.isEmpty()) {
        a->setToolTip(hint);
        a->setStatusTip(hint);
    }
    m_actions << a;
    return a;
}

void ScriptCommandsModule::addSnippets(const QList<Authoring::SnippetCommand> &commands,
                                       const QString &category) {
    for (const Authoring::SnippetCommand &c : commands) {
        const QString name = QLatin1String(c.name);
        QAction *a =
            add(name, c.caption, name.startsWith(QLatin1String("PHP")) ? kPhp : category, c.hint);
        connect(a, &QAction::triggered, this,
                [this, opening = c.opening, closing = c.closing, raw = c.raw] {
                    Markup::WrapSelection(m_ctx, m_ctx.docs->ActiveEditor(), opening, closing, raw);
                });
    }
}

void ScriptCommandsModule::scriptCommand() {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    m_script.run(m_ctx.window, [&](TScriptBoite &dialog) {
        dialog.setFileBrowser(InsertionFileBrowser(m_ctx));
        Markup::SaveFirstPrompt(m_ctx);
        if (ui().execDialog(&dialog) != QDialog::Accepted || !e) return true;
        const Authoring::WrapStrings w =
            Authoring::BuildScriptWrap(dialog.values(), DocumentUrlEncoding(e));
        if (w.beforeSelection) {
            // Each tag gets the tag case, so that the end tag follows it too.
            const bool casse = m_ctx.options->casse;
            Markup::WrapSelection(m_ctx, e,
                                  Authoring::ApplyTagCase(w.opening, casse) +
                                      Authoring::ApplyTagCase(w.closing, casse),
                                  QString(), true);
        } else {
            Markup::WrapSelection(m_ctx, e, w.opening, w.closing, false);
        }
        dialog.rememberCurrent();
        return true;
    });
}

template <typename Box>
void ScriptCommandsModule::includeCommand(KeptDialog<Box> &kept, Authoring::IncludeKind kind) {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    kept.run(m_ctx.window, [&](Box &dialog) {
        dialog.setFileBrowser(InsertionFileBrowser(m_ctx));
        Markup::SaveFirstPrompt(m_ctx);
        if (ui().execDialog(&dialog) != QDialog::Accepted || !e) return true;
        Markup::InsertMarkup(
            m_ctx, e, Authoring::BuildInclude(kind, dialog.secondType(), dialog.path()), true);
        dialog.rememberCurrent();
        return true;
    });
}

void ScriptCommandsModule::procedureCommand() {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    RunPerUseDialog<TASPProcedureBox>(m_ctx.window, [&](TASPProcedureBox &dialog) {
        if (ui().execDialog(&dialog) != QDialog::Accepted || !e) return;
        const Authoring::WrapStrings w =
            Authoring::BuildProcedure(dialog.name(), dialog.isFunction());
        Markup::SelectWholeLines(e);
        Markup::WrapSelection(m_ctx, e, w.opening, w.closing, true);
    });
}

void ScriptCommandsModule::convertLines(const std::function<QString(const QString &)> &convert) {
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    Markup::SelectWholeLines(e);
    const TextPos begin = e->blockBegin();
    const TextPos end = e->blockEnd();
    if (begin == end) return;
    const QString lines = convert(e->textRange(begin, end));
    Markup::InsertMarkup(m_ctx, e, lines, true);
    e->selectRange(begin, e->caretXY());
}

void ScriptCommandsModule::stringCommand() {
    QPointer<TMyMwCustomEdit> e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    Markup::SelectWholeLines(e);
    if (e->blockBegin() == e->blockEnd()) return;
    RunPerUseDialog<TASPChaineBox>(m_ctx.window, [&](TASPChaineBox &dialog) {
        dialog.setName(m_ctx.options->nomVariableASP);
        if (ui().execDialog(&dialog) != QDialog::Accepted || !e) return;
        const QString name = dialog.name();
        const bool multi = dialog.multiLine();
        m_ctx.options->nomVariableASP = name;
        convertLines(
            [&](const QString &text) { return Authoring::AspStringLines(text, name, multi); });
    });
}
