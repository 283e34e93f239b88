#pragma once

#include "app/ui/app_context.h"

#include <QMainWindow>
#include <QStringList>

class DocumentManager;
class DocumentTypeModule;
class EditCommands;
class FileCommands;
class MainStatusBar;
class PreferencesCommands;
class OutsideChangeCheck;
class RecoveryKeeper;
class QSplitter;
class QTabWidget;
class QTimer;
class ToolbarManager;

// The program's name, organisation and version for the settings store and the
// desktop. No display name: the system would add it to every window title.
void setApplicationIdentity();

// The main window: owns the document tabs, the command modules, the menus and
// toolbars laid out from the layout table, and the status bar; runs the first
// show, the first idle moment and the close road.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    TMainForm(SettingsStore *store, Options *options, const QStringList &arguments,
              QWidget *parent = nullptr);
    ~TMainForm() override;

    AppContext &context() { return m_ctx; }
    DocumentManager *documents() const { return m_docs; }
    ActionRegistry *actions() const { return m_ctx.actions; }
    ToolbarManager *toolbarManager() const { return m_toolbars; }
    DocumentTypeModule *documentTypes() const { return m_types; }
    MainStatusBar *mainStatusBar() const { return m_status; }
    PreferencesCommands *preferences() const { return m_preferences; }
    QTabWidget *tabs() const { return m_tabs; }
    // The area under the tabs that panels (the preview) join.
    QSplitter *centralSplitter() const { return m_central; }

    // After the preferences dialog's OK: store the preferences and apply them to
    // every open editor and every module (preferencesApplied).
    void ApplyPreferences();

    // A path handed over by a later start (empty: only bring the window forward).
    // While a modal window is open it waits until that window has closed.
    void handleForwardedArgument(const QString &argument);
    void bringToFront();

    // The session ends (SIGTERM, SIGHUP): with nothing to ask, the normal close;
    // otherwise every modified document goes to the recovery journal, the settings
    // are kept, and the program ends at once, offering them back next time.
    void endOfSession();
    RecoveryKeeper *recovery() const { return m_recovery; }
    OutsideChangeCheck *outsideChanges() const { return m_outside; }

protected:
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
public:
    QMenu *createPopupMenu() override;

private:
    void firstShow();
    void firstIdle();
    void rememberWindowBounds();
    void saveSession();
    void openForwarded(const QString &argument);
    void drainForwards();

    AppContext m_ctx;
    QStringList m_arguments;
    QStringList m_pendingForwards;
    bool m_shown = false;
    QTimer *m_forwardTimer;
    bool m_idlePending = false;
    QTabWidget *m_tabs;
    QSplitter *m_central;
    MainStatusBar *m_status;
    DocumentManager *m_docs;
    FileCommands *m_fileCommands;
    EditCommands *m_editCommands;
    ToolbarManager *m_toolbars;
    DocumentTypeModule *m_types;
    PreferencesCommands *m_preferences;
    OutsideChangeCheck *m_outside;
    RecoveryKeeper *m_recovery;
};
