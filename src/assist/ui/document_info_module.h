#pragma once

#include "app/ui/app_context.h"

#include <QObject>

class DocumentManager;
struct DocumentInfoFields;
class TMyMwCustomEdit;

// "Informations document...": facts about the active document, renaming its file
// and changing its read-only attribute.
class DocumentInfoModule : public QObject {
    Q_OBJECT
public:
    DocumentInfoModule(AppContext &ctx, DocumentManager *docs);
    void OutilsInfosExecute();
    static DocumentInfoFields fieldsFor(const TMyMwCustomEdit *editor);

private:
    // Renames the file to the name typed; false when the command stops.
    bool renameTo(TMyMwCustomEdit *editor, const QString &newName);

    AppContext &m_ctx;
    DocumentManager *m_docs;
};
