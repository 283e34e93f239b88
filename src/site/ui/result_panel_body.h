#pragma once

#include <QString>

class DocumentHost;
class QDockWidget;
class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

// The body the site's result panels share: a status line, a progress bar and "Arrêter"
// over a tree of results grouped by file. Each control gets its object name.
struct ResultPanelBody {
    QLabel *status = nullptr;
    QProgressBar *progress = nullptr;
    QPushButton *stop = nullptr;
    QTreeWidget *tree = nullptr;

    struct Names {
        QString status, progress, stop, tree;
    };
    // Built inside the dock and set as its widget; the tree is named by the dock's title.
    static ResultPanelBody build(QDockWidget *dock, const Names &names);

    // Whether two paths name the same file.
    static bool sameFile(const QString &a, const QString &b);

    // Opens a result's file (an open one comes forward) and selects `length` bytes at its
    // line (from 1) and column: bytes from the line start, or characters from 1 when
    // `characters` is true.
    static void openAt(DocumentHost *docs, const QString &path, int line, qlonglong column,
                       bool characters, qlonglong length);
};
