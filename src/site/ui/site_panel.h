#pragma once

#include <QDockWidget>
#include <QStringList>

class QCheckBox;
class QFileSystemModel;
class QLabel;
class QModelIndex;
class QTreeView;

// The "Site" panel: the tree of the site's folder, watched by the system, showing
// the document types' files (or all of them), with rename, new folder and delete
// (to the trash) from its context menu.
class SitePanel : public QDockWidget {
    Q_OBJECT
public:
    SitePanel(const QStringList &documentPatterns, QWidget *parent);

    void setSite(const QString &folder);
    QString site() const { return m_site; }
    void setAllFiles(bool all);
    bool allFiles() const;

    QTreeView *view() const { return m_view; }
    QFileSystemModel *model() const { return m_model; }
    // The file or folder of a tree row.
    QString pathAt(const QModelIndex &index) const;

    // The context menu's commands on the current row.
    void renameCurrent();
    void newFolder();
    void trashCurrent();

signals:
    void openRequested(const QString &path);
    // A file or folder took another name: open documents follow it.
    void renamed(const QString &from, const QString &to);
    void allFilesChanged(bool all);

private:
    void showMenu(const QPoint &at);
    void openIndex(const QModelIndex &index);

    QStringList m_patterns;
    QString m_site;
    QLabel *m_folderLabel;
    QCheckBox *m_all;
    QTreeView *m_view;
    QFileSystemModel *m_model;
    QAction *m_open;
    QAction *m_rename;
    QAction *m_newFolder;
    QAction *m_trash;
};
