#pragma once

#include <QObject>

class ActionRegistry;
class DocumentHost;
class SettingsStore;
class TMyMwCustomEdit;
class QMainWindow;
struct Options;

// Notifications shared by the command modules.
class AppEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
signals:
    // Something update handlers depend on may have changed.
    void stateChanged();
    void activeEditorChanged(TMyMwCustomEdit *editor);
    // A new editor view exists (configured, not yet loaded).
    void editorCreated(TMyMwCustomEdit *editor);
    // An editor's tab is about to be removed.
    void editorClosing(TMyMwCustomEdit *editor);
    // The user has let a document go (its tab goes unless a save then fails): what
    // was kept for it under its name, such as the browsers' copy, goes too.
    void documentClosing(TMyMwCustomEdit *editor);
    // A document took another file name (Save as, a rename): oldName and oldCaption
    // are the file name and tab caption it had.
    void documentRenamed(TMyMwCustomEdit *editor, const QString &oldName,
                         const QString &oldCaption);
    // The stored settings have been read (first show) / preferences applied.
    void settingsLoaded();
    void preferencesApplied();
    // The first idle moment after the first show.
    void firstIdle();
    // The main window is about to close for good (after every question).
    void closing();
    // A document's file was read, written, renamed or dropped: what is watched on
    // disk changes.
    void documentFilesChanged();
};

// What every command module is given: the window, the documents, the actions,
// the shared notifications, the options and the settings store.
struct AppContext {
    QMainWindow *window = nullptr;
    DocumentHost *docs = nullptr;
    ActionRegistry *actions = nullptr;
    AppEvents *events = nullptr;
    Options *options = nullptr;
    SettingsStore *store = nullptr;
};
