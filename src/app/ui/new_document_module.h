#pragma once

#include "app/ui/app_context.h"

#include <QObject>

#include <functional>

class DocumentTypeModule;
class TMyMwCustomEdit;

// The new-document wizard and the template commands of the "Modèles" submenu.
class NewDocumentModule : public QObject {
    Q_OBJECT
public:
    // `startPage` and `startFrames` run the page properties and frames commands on
    // a new document.
    using PageStarter = std::function<bool(TMyMwCustomEdit *)>;
    NewDocumentModule(AppContext &ctx, DocumentTypeModule *types, PageStarter startPage,
                      PageStarter startFrames);

    // The templates folder, seeded with the shipped templates on first use.
    static QString templatesFolder();

    void FileNewWizard();
    void FileModeleNew();
    void FileModeleSave();
    void FileModeleModifier();

private:
    void runNewBox(bool templatesFirst);
    void newFromKind(int kind);
    void newFromTemplate(const QString &path);

    AppContext &m_ctx;
    DocumentTypeModule *m_types;
    PageStarter m_startPage;
    PageStarter m_startFrames;
};
