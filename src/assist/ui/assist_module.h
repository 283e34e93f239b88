#pragma once

#include "app/ui/app_context.h"
#include "assist/ui/tag_ref_boite.h"

#include <QObject>
#include <QPointer>

class CompletionModule;
class DocumentTypeModule;

// Code assistance in the editors: completion, the bracket highlight, the tag
// reference and the identifier scanner.
class AssistModule : public QObject {
    Q_OBJECT
public:
    AssistModule(AppContext &ctx, DocumentTypeModule *types);
    CompletionModule *completion() const { return m_completion; }
    TTagRefBoite *tagReference() const { return m_tagRef; }

private:
    void addTagReference(AppContext &ctx, DocumentTypeModule *types);
    void addScanner(AppContext &ctx);

    CompletionModule *m_completion;
    QPointer<TTagRefBoite> m_tagRef;
};
