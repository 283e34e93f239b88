#pragma once

#include "app/ui/app_context.h"

#include <QObject>

class DocumentManager;
class QFileSystemWatcher;
class QTimer;

// Notices documents changed, replaced or deleted by other programs: a file-system
// watcher marks the check due, and it runs at the next idle moment or when the
// window is activated, never under an open modal window or during a transfer.
// Installed while the option DocExiste is on, from the first idle moment.
class OutsideChangeCheck : public QObject {
    Q_OBJECT
public:
    OutsideChangeCheck(AppContext &ctx, DocumentManager *docs);

    bool installed() const { return m_installed; }
    // Walks the documents and asks about each one whose file changed or vanished.
    void CheckDocumentsOnDisk();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setInstalled(bool on);
    void schedule();
    void syncWatches();
    void askVanished(class TMyMwCustomEdit *e);
    void askChanged(class TMyMwCustomEdit *e);

    AppContext &m_ctx;
    DocumentManager *m_docs;
    QFileSystemWatcher *m_watcher;
    QTimer *m_idle;  // the next idle moment
    QTimer *m_retry; // a modal window or a transfer made the check wait
    bool m_installed = false;
    bool m_running = false;
};
