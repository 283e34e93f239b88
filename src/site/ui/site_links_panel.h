#pragma once

#include "site/site_links.h"

#include <QDockWidget>

#include <atomic>

class DocumentHost;
class DocumentTypes;
class QLabel;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

// The broken links of a whole site, checked on a worker thread with its progress
// and a stop; the results are grouped by page, and a click opens the page at the link.
class SiteLinksPanel : public QDockWidget {
    Q_OBJECT
public:
    SiteLinksPanel(DocumentHost *docs, const DocumentTypes &types, QWidget *parent);
    ~SiteLinksPanel() override; // stops the check and waits for it

    void run(const QString &folder);
    void stop();
    // Stops the check under way and waits for its thread (the window is closing).
    void cancelAndWait();
    bool isBusy() const;

    QTreeWidget *tree() const { return m_tree; }
    QString status() const;
    void openItem(QTreeWidgetItem *item);

signals:
    void done();

private:
    void finish();
    void refreshStatus();

    DocumentHost *m_docs;
    const DocumentTypes &m_types;
    QString m_folder;
    QLabel *m_status;
    QProgressBar *m_progress;
    QPushButton *m_stop;
    QTreeWidget *m_tree;
    QTimer *m_timer;
    QThread *m_thread = nullptr;
    quint64 m_runs = 0; // which run a queued end belongs to
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_done{0};
    std::atomic<int> m_total{0};
    SiteLinks::Result m_result; // written by the worker, read once it ended
};
