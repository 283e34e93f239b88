#pragma once

#include "app/document_types.h"
#include "app/ui/app_context.h"
#include "app/ui/document_host.h"

#include <QObject>
#include <QPointer>

class HighlightLexer;
class QComboBox;

// Document types: the shared highlighters, the type of each document (from its
// extension, the user's choice in the type list, or the default type), the type
// list of the "Type de document" toolbar and the file dialogs' filters.
class DocumentTypeModule : public QObject, public DocumentTypeHooks {
    Q_OBJECT
public:
    explicit DocumentTypeModule(AppContext &ctx);

    DocumentTypes &types() { return m_types; }
    const TypeLists &typeLists() const { return m_lists; }

    // Attaches the highlighter of table entry `index` to the editor and shows its
    // type in the list when the editor is the active one.
    void SetEditorHighlighter(TMyMwCustomEdit *editor, int index);
    // The table entry of the editor's highlighter, or -1.
    int highlighterOf(const TMyMwCustomEdit *editor) const;
    static HighlightLexer *lexerOf(const TMyMwCustomEdit *editor);
    // From the file name's extension; false when no type matches.
    bool AssignerHighlighter(TMyMwCustomEdit *editor);
    void BuildTypeLists();

    // DocumentTypeHooks
    bool assignFromExtension(TMyMwCustomEdit *editor, const QString &path) override;
    void tabChanged(TMyMwCustomEdit *editor) override;
    void afterSaveAs(TMyMwCustomEdit *editor) override;
    QString fileFilter() const override;

signals:
    // An editor was given another highlighter (completion follows the type).
    void highlighterChanged(TMyMwCustomEdit *editor);

private:
    void fitTypeList();
    void selectInList(int listIndex);
    void typeChosen(int listIndex);
    QWidget *createTypeList(QWidget *parent);

    AppContext &m_ctx;
    DocumentTypes m_types;
    TypeLists m_lists;
    bool m_built = false;
    QPointer<QComboBox> m_list;
};
