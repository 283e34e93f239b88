#pragma once

#include "site/file_search.h"
#include "site/ui/find_in_files_box.h"

#include <QDockWidget>
#include <QFont>

class DocumentHost;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

// The results of a search in files, grouped by file, streaming in while the search
// runs on worker threads; a click opens the file at the match. It also runs the
// replace that follows a search: the files and counts first, then the rewrite.
class FindResultsPanel : public QDockWidget {
    Q_OBJECT
public:
    FindResultsPanel(DocumentHost *docs, QWidget *parent);

    // Starts a search (and a replace after it when asked); false with a message when
    // the pattern does not compile.
    bool run(const FindInFilesRequest &request);
    void stop();
    bool isBusy() const;

    QTreeWidget *tree() const { return m_tree; }
    QString status() const;
    int matchCount() const { return m_matches; }

    // Opens the file of a result row at its match.
    void openItem(QTreeWidgetItem *item);

signals:
    // A search or a replace ended (after its summary).
    void done();

private:
    void drain();
    void refreshStatus();
    void searchFinished(bool cancelled);
    void confirmReplace();
    void replaceFinished(bool cancelled);
    void setBusy(bool busy);

    DocumentHost *m_docs;
    FileSearchJob *m_search;
    FileReplaceJob *m_replace;
    FindInFilesRequest m_request;
    QLabel *m_status;
    QProgressBar *m_progress;
    QPushButton *m_stop;
    QTreeWidget *m_tree;
    QTimer *m_timer;
    QTimer *m_drainTimer;
    QList<FileHits> m_found;
    QFont m_boldFont; // the files' rows
    int m_matches = 0;
    int m_rows = 0;
    int m_openReplaced = 0;
    int m_openFiles = 0;
    bool m_replacing = false;
    bool m_userCollapsed = false;
};
