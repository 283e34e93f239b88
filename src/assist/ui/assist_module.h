#pragma once

#include "app/ui/app_context.h"

#include <QObject>

class CompletionModule;
class DocumentTypeModule;

// Code assistance in the editors: completion, the bracket highlight, the tag
// reference and the identifier scanner.
class AssistModule : public QObject {
    Q_OBJECT
public:
    AssistModule(AppContext &ctx, DocumentTypeModule *types);
    CompletionModule *completion() const { return m_completion; }

private:
    CompletionModule *m_completion;
};
