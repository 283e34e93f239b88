#include "assist/ui/assist_module.h"

#include "assist/ui/completion_module.h"

#include <QMainWindow>

AssistModule::AssistModule(AppContext &ctx, DocumentTypeModule *types)
    : QObject(ctx.window), m_completion(new CompletionModule(ctx, types)) {}
