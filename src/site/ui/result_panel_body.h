#pragma once

#include <QString>

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
};
