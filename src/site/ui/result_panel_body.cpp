#include "site/ui/result_panel_body.h"

#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

ResultPanelBody ResultPanelBody::build(QDockWidget *dock, const Names &names) {
    ResultPanelBody b;
    auto *body = new QWidget(dock);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    auto *top = new QHBoxLayout;
    b.status = new QLabel(body);
    b.status->setObjectName(names.status);
    b.progress = new QProgressBar(body);
    b.progress->setObjectName(names.progress);
    b.progress->setAccessibleName(QStringLiteral("Progression"));
    b.progress->setMaximumWidth(220);
    b.progress->setTextVisible(false);
    b.stop = new QPushButton(QStringLiteral("&Arrêter"), body);
    b.stop->setObjectName(names.stop);
    top->addWidget(b.status, 1);
    top->addWidget(b.progress);
    top->addWidget(b.stop);
    layout->addLayout(top);
    b.tree = new QTreeWidget(body);
    b.tree->setObjectName(names.tree);
    b.tree->setAccessibleName(dock->windowTitle());
    b.tree->setHeaderHidden(true);
    b.tree->setUniformRowHeights(true);
    layout->addWidget(b.tree, 1);
    dock->setWidget(body);
    return b;
}
