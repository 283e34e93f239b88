#pragma once

#include <QString>

class TMyMwCustomEdit;

// The document operations every command module uses to reach the open documents.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;

    virtual int EditorCount() const = 0;
    // The editor view of tab i (0-based), or nullptr.
    virtual TMyMwCustomEdit *EditorAt(int i) const = 0;
    virtual TMyMwCustomEdit *ActiveEditor() const = 0;
    virtual int activeIndex() const = 0;
    virtual int indexOf(const TMyMwCustomEdit *editor) const = 0;
    virtual QString tabCaption(int i) const = 0;
    virtual void ActivateTab(int i) = 0;

    // Opens a file in a tab (or activates its tab); an empty path creates an
    // untitled document. The result is the active editor.
    virtual void OpenDocument(const QString &path, bool addToRecent) = 0;
    // Writes the editor's text to its file; true when written.
    virtual bool WriteDocument(TMyMwCustomEdit *editor) = 0;
    // Save and Save as on the active editor; true when the document was written.
    virtual bool FileSave() = 0;
    virtual void FileSaveAs() = 0;
    // Gives a document another file name and kind (the tab follows), without writing
    // it; an empty name makes it untitled again.
    virtual void renameDocument(TMyMwCustomEdit *editor, const QString &path, int kind) = 0;
    // Marks an FTP document as holding changes the server does not have (its tab and
    // the title say so), or clears the mark after an upload.
    virtual void setUnsent(TMyMwCustomEdit *editor, bool unsent) = 0;
    // Refreshes the status bar and title for an editor.
    virtual void mwCustomEdit1StatusChange(TMyMwCustomEdit *editor) = 0;

    // The current folder: start folder of file dialogs.
    virtual QString currentFolder() const = 0;
};

// What document types add to opening, activating and saving documents.
class DocumentTypeHooks {
public:
    virtual ~DocumentTypeHooks() = default;
    // A file is being loaded: give the editor the type its extension selects; false
    // when no type matches (the editor keeps its highlighter).
    virtual bool assignFromExtension(TMyMwCustomEdit *editor, const QString &path) = 0;
    // The tab-change steps: a document without type gets the default type; the
    // type list shows the active document's type.
    virtual void tabChanged(TMyMwCustomEdit *editor) = 0;
    // After Save as: a document without type, or of type "Aucun", takes the type of
    // its new extension.
    virtual void afterSaveAs(TMyMwCustomEdit *editor) = 0;
    // The filter list of the Open and Save dialogs.
    virtual QString fileFilter() const = 0;
};
