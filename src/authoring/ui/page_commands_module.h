#pragma once

#include "app/ui/app_context.h"
#include "authoring/ui/insertion_glue.h"
#include "authoring/ui/proprietes_box.h"

#include <QObject>

class DocumentTypeModule;
class TMyMwCustomEdit;

// The commands that write a whole page: page properties (Modifier menu) and the
// frames wizard (Insertion menu). The new-document wizard starts pages through them.
class PageCommandsModule : public QObject {
    Q_OBJECT
public:
    PageCommandsModule(AppContext &ctx, DocumentTypeModule *types);

    // Each returns true when the page was written.
    bool runPageProperties(TMyMwCustomEdit *editor);
    bool runFrames(TMyMwCustomEdit *editor);

private:
    // Documents with no colouring, or plain-text colouring, become HTML documents.
    void makeHtml(TMyMwCustomEdit *editor, bool always);

    AppContext &m_ctx;
    DocumentTypeModule *m_types;
    KeptDialog<TProprietesBox> m_properties;
};
