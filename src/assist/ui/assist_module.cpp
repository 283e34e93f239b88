#include "assist/ui/assist_module.h"

#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/document_type_module.h"
#include "app/ui/editor_view.h"
#include "assist/ui/bracket_highlight.h"
#include "assist/ui/completion_module.h"
#include "assist/ui/page_check_module.h"
#include "assist/ui/tag_ref_boite.h"

#include <QAction>

#include "app/ui/ui_services.h"
#include "assist/ui/scan_thread_form.h"

#include <QMainWindow>

AssistModule::AssistModule(AppContext &ctx, DocumentTypeModule *types)
    : QObject(ctx.window), m_completion(new CompletionModule(ctx, types)) {
    // Every editor gets its bracket highlight; the preference is read as the caret moves.
    connect(ctx.events, &AppEvents::editorCreated, this,
            [](TMyMwCustomEdit *e) { new BracketHighlight(e); });
    addTagReference(ctx, types);
    addScanner(ctx);
    new PageCheckModule(ctx, types);
    connect(ctx.events, &AppEvents::preferencesApplied, this, [this, &ctx] {
        if (m_tagRef) m_tagRef->refresh();
        for (int i = 0; i < ctx.docs->EditorCount(); ++i)
            if (auto *b = ctx.docs->EditorAt(i)->findChild<BracketHighlight *>()) b->update();
    });
}

void AssistModule::addTagReference(AppContext &ctx, DocumentTypeModule *types) {
    QAction *a = ctx.actions->add(QStringLiteral("OutilsMarqueurs"),
                                  QStringLiteral("Afficher la boîte des marqueurs"), {},
                                  QStringLiteral("Outils"));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, &ctx, types, a] {
        if (!m_tagRef) {
            m_tagRef = new TTagRefBoite(ctx, types->types().highlighter(DocumentTypes::SynHTMLSyn1),
                                        ctx.window);
            connect(m_tagRef, &TTagRefBoite::visibilityChanged, a, &QAction::setChecked);
        }
        m_tagRef->setVisible(!m_tagRef->isVisible());
        a->setChecked(m_tagRef->isVisible());
    });
}

void AssistModule::addScanner(AppContext &ctx) {
    QAction *a = ctx.actions->add(QStringLiteral("OutilsScanTokens"),
                                  QStringLiteral("Liste des identificateurs HTML"), {},
                                  QStringLiteral("Outils"));
    connect(a, &QAction::triggered, this, [&ctx] {
        TMyMwCustomEdit *e = ctx.docs->ActiveEditor();
        TScanThreadForm form(ctx.window);
        // The worker gets a copy: the document may change while it counts.
        if (e)
            form.requestScan(e->utf8Copy());
        else
            form.requestScan({});
        ui().execDialog(&form);
    });
    ctx.actions->addUpdate([&ctx, a] { a->setEnabled(ctx.docs->ActiveEditor() != nullptr); });
}
