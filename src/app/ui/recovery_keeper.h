#pragma once

#include "app/ui/app_context.h"

#include <QHash>
#include <QObject>
#include <QThread>
#include <memory>

class DocumentManager;
class DocumentTypeModule;
class JournalSession;
class QTimer;
class SlicedCopy;
class TMyMwCustomEdit;
struct JournalEntry;

// The crash-recovery journal of this run: a short while after each change, the
// text of every modified document is written (off the user-interface thread) to
// the session's private journal; a save or close removes it, a clean exit leaves
// none. At the first idle moment, journals left by a run that did not end are
// offered back.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    RecoveryKeeper(AppContext &ctx, DocumentManager *docs, DocumentTypeModule *types,
                   const QString &root = defaultRoot());
    ~RecoveryKeeper() override;

    // The journal root in the user's data folder.
    static QString defaultRoot();
    QString root() const { return m_root; }
    QString sessionFolder() const;

    // The journals of runs that did not end: asks which to restore.
    void offerRecovery();
    // Writes every modified document now, on this thread (the session ends).
    void journalAllNow();
    // Waits until every write asked for so far is on disk.
    void flush();

private:
    struct Tracked {
        int id = 0;
        QTimer *timer = nullptr;
        // A large text is copied over several turns of the event loop; a change
        // abandons the copy (the next pause starts another).
        SlicedCopy *copy = nullptr;
    };
    void post(TMyMwCustomEdit *e, JournalEntry entry);
    void track(TMyMwCustomEdit *e);
    void untrack(TMyMwCustomEdit *e);
    void changed(TMyMwCustomEdit *e);
    void writeInBackground(TMyMwCustomEdit *e);
    void remove(TMyMwCustomEdit *e);
    JournalEntry entryOf(TMyMwCustomEdit *e) const;
    // The identity part of an entry, without the text.
    JournalEntry identityOf(TMyMwCustomEdit *e) const;

    AppContext &m_ctx;
    DocumentManager *m_docs;
    DocumentTypeModule *m_types;
    QString m_root;
    std::unique_ptr<JournalSession> m_session;
    QThread m_thread;
    QObject *m_worker = nullptr; // lives in m_thread
    QHash<TMyMwCustomEdit *, Tracked> m_tracked;
    int m_nextId = 1;
};
