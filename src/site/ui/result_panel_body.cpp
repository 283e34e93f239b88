#include "site/ui/result_panel_body.h"

#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"

#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

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

bool ResultPanelBody::sameFile(const QString &a, const QString &b) {
    const auto clean = [](const QString &p) {
        return QDir::cleanPath(QFileInfo(p).absoluteFilePath());
    };
    return clean(a) == clean(b);
}

void ResultPanelBody::openAt(DocumentHost *docs, const QString &path, int line, qlonglong column,
                             bool characters, qlonglong length) {
    if (!docs || path.isEmpty()) return;
    docs->OpenDocument(path, true);
    TMyMwCustomEdit *e = docs->ActiveEditor();
    if (!e || !sameFile(e->fileName, path) || line < 1) return;
    using Sci = QsciScintillaBase;
    const long lineStart = long(e->SendScintilla(Sci::SCI_POSITIONFROMLINE, long(line - 1)));
    if (lineStart < 0) return;
    const long lineEnd = long(e->SendScintilla(Sci::SCI_GETLINEENDPOSITION, long(line - 1)));
    // The editor's positions count bytes.
    const long at =
        characters ? long(e->SendScintilla(Sci::SCI_POSITIONRELATIVE,
                                           static_cast<unsigned long>(lineStart), long(column - 1)))
                   : long(lineStart + column);
    const long start = std::clamp(at, lineStart, lineEnd);
    const long end =
        std::min<long>(start + long(length), long(e->SendScintilla(Sci::SCI_GETLENGTH)));
    e->SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(start), end);
    e->SendScintilla(Sci::SCI_SCROLLCARET);
    e->setFocus();
}
