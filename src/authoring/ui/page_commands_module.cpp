#include "authoring/ui/page_commands_module.h"

#include "app/app_settings.h"
#include "app/document_types.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/document_type_module.h"
#include "app/ui/editor_view.h"
#include "app/ui/icons.h"
#include "app/ui/ui_services.h"
#include "authoring/frames_markup.h"
#include "authoring/page_properties.h"
#include "authoring/ui/cadres_box.h"
#include "authoring/ui/media_link_module.h"

#include <QAction>
#include <QMainWindow>
#include <QPainter>
#include <QPointer>

namespace {

const QString kNotEmpty = QStringLiteral(
    "Attention : votre document n'est pas vide. Si vous continuez, le texte contenu dans votre "
    "document sera effacé. Voulez vous supprimer le contenu de votre document et continuer la "
    "procédure d'insertion des cadres ?");

// The editor position of a character offset in its whole text.
TextPos positionOf(const TMyMwCustomEdit *e, const QString &text, int offset) {
    return e->xyFromPosition(int(QStringView(text).left(offset).toUtf8().size()));
}

// Writes `after` over `before` (the editor's text) by replacing only the span that
// differs, so that the rest of the document, its bookmarks and folds stay. One undo step.
void replaceChangedSpan(TMyMwCustomEdit *e, const QString &before, const QString &after) {
    const Authoring::ChangedSpan span = Authoring::FindChangedSpan(before, after);
    if (span.from == span.beforeEnd && span.from == span.afterEnd) return;
    e->undoGroupBreak();
    e->replaceRange(positionOf(e, before, span.from), positionOf(e, before, span.beforeEnd),
                    after.mid(span.from, span.afterEnd - span.from));
}

} // namespace

PageCommandsModule::PageCommandsModule(AppContext &ctx, DocumentTypeModule *types)
    : QObject(ctx.window), m_ctx(ctx), m_types(types) {
    QAction *props = m_ctx.actions->add(
        QStringLiteral("ModifierProprietes"), QStringLiteral("&Propriétés de la page..."),
        QKeySequence(Qt::CTRL | Qt::Key_J), QStringLiteral("Modifier"));
    props->setIcon(Icons::draw([](QPainter &p) {
        Icons::page(p, 2, 1, 11, 14);
        p.fillRect(QRectF(4, 3, 7, 2), QColor(40, 90, 160));
        p.fillRect(QRectF(4, 7, 7, 1), QColor(120, 120, 120));
        p.fillRect(QRectF(4, 10, 5, 1), QColor(120, 120, 120));
    }));
    QAction *frames =
        m_ctx.actions->add(QStringLiteral("InsertionCadres"), QStringLiteral("&Cadres..."),
                           QKeySequence(), QStringLiteral("Insertion"));
    frames->setIcon(QIcon(FrameLayoutPicture(4, QSize(16, 16), false)));
    connect(props, &QAction::triggered, this,
            [this] { runPageProperties(m_ctx.docs->ActiveEditor()); });
    connect(frames, &QAction::triggered, this, [this] { runFrames(m_ctx.docs->ActiveEditor()); });
    m_ctx.actions->addUpdate([this, props, frames] {
        const bool editor = m_ctx.docs->ActiveEditor() != nullptr;
        props->setEnabled(editor);
        frames->setEnabled(editor);
    });
}

void PageCommandsModule::makeHtml(TMyMwCustomEdit *e, bool always) {
    if (!m_types) return;
    const int current = m_types->highlighterOf(e);
    if (always ? current != DocumentTypes::SynMultiSynHTML
               : (current < 0 || current == DocumentTypes::SynGeneralSyn1))
        m_types->SetEditorHighlighter(e, DocumentTypes::SynMultiSynHTML);
}

bool PageCommandsModule::runPageProperties(TMyMwCustomEdit *editor) {
    QPointer<TMyMwCustomEdit> e = editor;
    if (!e) return false;
    bool written = false;
    m_properties.run(m_ctx.window, [&](TProprietesBox &dialog) {
        dialog.setFileBrowser(InsertionFileBrowser(m_ctx));
        dialog.setValues(Authoring::PagePropertiesFields(Authoring::ReadPageProperties(e->text())));
        if (ui().execDialog(&dialog) != QDialog::Accepted || !e) return true;
        const QString before = e->text();
        const Authoring::PageWrite w = Authoring::WritePageProperties(
            before, dialog.values(), e->eolString(), m_ctx.options->casse, m_ctx.options->xhtml);
        if (!w.error.isEmpty()) {
            ui().message(MsgType::Warning, MsgButtons::Ok, w.error);
            return true;
        }
        makeHtml(e, false);
        replaceChangedSpan(e, before, w.text);
        e->setCaretXY(positionOf(e, w.text, w.caret));
        e->ensureCaretVisible();
        m_ctx.docs->mwCustomEdit1StatusChange(e);
        written = true;
        return true;
    });
    return written;
}

bool PageCommandsModule::runFrames(TMyMwCustomEdit *editor) {
    QPointer<TMyMwCustomEdit> e = editor;
    if (!e) return false;
    bool written = false;
    const auto dialog =
        std::make_unique<TBoiteCadres>(m_ctx.window, m_ctx.options->casse, m_ctx.options->xhtml);
    dialog->setFileBrowser(InsertionFileBrowser(m_ctx));
    if (m_types)
        m_types->SetEditorHighlighter(dialog->noFramesEditor(), DocumentTypes::SynMultiSynHTML);
    if (ui().execDialog(dialog.get()) != QDialog::Accepted || !e) return false;
    const QString text =
        Authoring::BuildFramesDocument(dialog->layout(), dialog->frames(), dialog->noFramesText(),
                                       m_ctx.options->casse, m_ctx.options->xhtml);
    if (e->utf8Length() > 0 &&
        ui().message(MsgType::Warning, MsgButtons::YesNo, kNotEmpty) != MsgAnswer::Yes)
        return false;
    // The type changes only once the user has agreed to replace the text.
    makeHtml(e, true);
    Markup::ReplaceDocumentText(e, text);
    m_ctx.docs->mwCustomEdit1StatusChange(e);
    written = true;
    return written;
}
