#pragma once

#include "app/recent_files.h"
#include "app/ui/app_context.h"
#include "app/ui/document_host.h"
#include "app/untitled_numbering.h"

#include <QObject>

struct JournalEntry;
class MainStatusBar;
class QMenu;
class QTabWidget;

// The document tabs and the life of a document in them: opening, numbering,
// saving, closing with the save question, the recent-file list, dropped files,
// and the status bar and title.
class DocumentManager : public QObject, public DocumentHost {
    Q_OBJECT
public:
    DocumentManager(AppContext &ctx, QTabWidget *tabs, MainStatusBar *status);

    // DocumentHost
    int EditorCount() const override;
    TMyMwCustomEdit *EditorAt(int i) const override;
    TMyMwCustomEdit *ActiveEditor() const override;
    int activeIndex() const override;
    int indexOf(const TMyMwCustomEdit *editor) const override;
    QString tabCaption(int i) const override;
    void ActivateTab(int i) override;
    void OpenDocument(const QString &path, bool addToRecent) override;
    bool WriteDocument(TMyMwCustomEdit *editor) override;
    bool FileSave() override;
    void FileSaveAs() override;
    void mwCustomEdit1StatusChange(TMyMwCustomEdit *editor) override;
    void setUnsent(TMyMwCustomEdit *editor, bool unsent) override;
    void renameDocument(TMyMwCustomEdit *editor, const QString &path, int kind) override;
    QString currentFolder() const override;

    // Commands.
    void FileNew();
    void FileOpen();
    void FileSaveAll();
    void FileClose();
    void FileCloseAll();
    void openRecent(const QString &path);
    void openDropped(const QStringList &paths);
    // Opens files named by the command line or a second start; reports missing ones.
    void openIfExists(const QString &path);
    // Leaving the program: every document that needs it is asked about; false when
    // the user keeps the program open.
    bool queryCloseAll();

    // A document restored from the crash-recovery journal: a new tab (or the
    // untouched untitled one) holding the text, modified, under its file name.
    TMyMwCustomEdit *openRecovered(const JournalEntry &entry);
    // The document's file vanished and the user keeps the text: it becomes an
    // untitled document (keeping its caption) that saves through Save as.
    void detachFromFile(TMyMwCustomEdit *editor);
    // Closes a tab without a question (its text is given up).
    void discardTab(TMyMwCustomEdit *editor);
    // The file was renamed: the editor, its tab and the recent files follow.
    void fileRenamed(TMyMwCustomEdit *editor, const QString &newPath);
    // Records the file's times and stamp after a read or a write.
    void recordDiskState(TMyMwCustomEdit *editor);

    void UpdateTitle(const QString &text, bool modified);
    static void DiscardFtpDownload(const QString &path);

    RecentFileList &recentFiles() { return m_recent; }
    UntitledNumbering &numbering() { return m_numbering; }
    bool saveAsCancelled() const { return m_saveAsCancelled; }
    void setTypeHooks(DocumentTypeHooks *hooks) { m_types = hooks; }
    DocumentTypeHooks *typeHooks() const { return m_types; }
    void setOpenFolder(const QString &folder) { m_openFolder = folder; }
    void setSaveFolder(const QString &folder) { m_saveFolder = folder; }
    // The Save dialog's default extension, set once at start-up.
    void setSaveSuffix(const QString &suffix) { m_saveSuffix = suffix; }
    QString openFolder() const { return m_openFolder; }
    QString saveFolder() const { return m_saveFolder; }
    void setEditorPopup(QMenu *menu) { m_popup = menu; }
    QTabWidget *tabWidget() const { return m_tabs; }

signals:
    void recentFilesChanged();

private:
    TMyMwCustomEdit *createEditor();
    void configureEditor(TMyMwCustomEdit *e);
    void tabChangeSteps();
    void onCurrentChanged();
    // Save and Save as of one editor, active or not.
    bool saveEditor(TMyMwCustomEdit *e);
    void saveEditorAs(TMyMwCustomEdit *e);
    // The close question for one editor; false when the close is abandoned.
    bool closeQuestion(TMyMwCustomEdit *e, const QString &ftpBreaks);
    // Shows a caption on tab i ("&" doubled, the not-sent mark added).
    void setTabCaption(int i, const QString &caption);
    // Removes tab i; returns the index the tab control activates.
    int removeTab(int i);
    void refreshActive();
    void addRecent(const QString &path);
    QString fileFilter() const;
    QString folderOf(const QString &path) const;

    AppContext &m_ctx;
    QTabWidget *m_tabs;
    MainStatusBar *m_status;
    DocumentTypeHooks *m_types = nullptr;
    QMenu *m_popup = nullptr;
    RecentFileList m_recent;
    UntitledNumbering m_numbering;
    bool m_saveAsCancelled = false;
    bool m_lastWriteOk = false;
    QString m_openFolder;
    QString m_saveFolder;
    QString m_saveSuffix = QStringLiteral("htm");
};
