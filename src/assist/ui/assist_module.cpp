#include "assist/ui/assist_module.h"

#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "assist/ui/bracket_highlight.h"
#include "assist/ui/completion_module.h"

#include <QMainWindow>

AssistModule::AssistModule(AppContext &ctx, DocumentTypeModule *types)
    : QObject(ctx.window), m_completion(new CompletionModule(ctx, types)) {
    // Every editor gets its bracket highlight; the preference is read as the caret moves.
    connect(ctx.events, &AppEvents::editorCreated, this,
            [](TMyMwCustomEdit *e) { new BracketHighlight(e); });
    connect(ctx.events, &AppEvents::preferencesApplied, this, [&ctx] {
        for (int i = 0; i < ctx.docs->EditorCount(); ++i)
            if (auto *b = ctx.docs->EditorAt(i)->findChild<BracketHighlight *>()) b->update();
    });
}
