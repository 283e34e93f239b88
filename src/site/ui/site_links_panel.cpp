#include "site/ui/site_links_panel.h"

#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "site/site_texts.h"
#include "site/ui/result_panel_body.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
enum Role { PathRole = Qt::UserRole, LineRole, ColumnRole, LengthRole };
} // namespace

SiteLinksPanel::SiteLinksPanel(DocumentHost *docs, const DocumentTypes &types, QWidget *parent)
    : QDockWidget(SiteTexts::linksTitle(), parent), m_docs(docs), m_types(types) {
    setObjectName(QStringLiteral("LiensSite"));
    const ResultPanelBody b = ResultPanelBody::build(
        this, {QStringLiteral("StatutLiens"), QStringLiteral("ProgressionLiens"),
               QStringLiteral("BoutArreterLiens"), QStringLiteral("ListeLiens")});
    m_status = b.status;
    m_progress = b.progress;
    m_stop = b.stop;
    m_tree = b.tree;
    m_progress->hide();
    m_stop->hide();

    m_timer = new QTimer(this);
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &SiteLinksPanel::refreshStatus);
    connect(m_stop, &QPushButton::clicked, this, &SiteLinksPanel::stop);
    connect(m_tree, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { openItem(item); });
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (item->parent()) openItem(item);
    });
}

SiteLinksPanel::~SiteLinksPanel() {
    cancelAndWait();
}

void SiteLinksPanel::cancelAndWait() {
    if (!m_thread) return;
    m_cancel = true;
    ++m_runs;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_timer->stop();
    m_progress->hide();
    m_stop->hide();
    m_status->setText(SiteTexts::linksStopped());
}

bool SiteLinksPanel::isBusy() const {
    return m_thread != nullptr;
}

QString SiteLinksPanel::status() const {
    return m_status->text();
}

void SiteLinksPanel::run(const QString &folder) {
    cancelAndWait();
    m_folder = QFileInfo(folder).absoluteFilePath();
    m_tree->clear();
    m_cancel = false;
    m_done = 0;
    m_total = 0;
    m_result = {};
    m_thread = QThread::create([this, folder = m_folder] {
        m_result = SiteLinks::check(folder, m_types, &m_cancel, [this](int done, int total) {
            m_done = done;
            m_total = total;
        });
    });
    connect(m_thread, &QThread::finished, this, [this, run = ++m_runs] {
        if (run == m_runs && m_thread) finish();
    });
    m_progress->setRange(0, 0);
    m_progress->show();
    m_stop->show();
    m_status->setText(SiteTexts::linksListing());
    m_timer->start();
    m_thread->start(QThread::LowPriority);
}

void SiteLinksPanel::stop() {
    m_cancel = true;
}

void SiteLinksPanel::refreshStatus() {
    const int total = m_total.load();
    if (total <= 0) return;
    m_progress->setRange(0, total);
    m_progress->setValue(m_done.load());
    m_status->setText(SiteTexts::linksProgress(m_done.load(), total));
}

void SiteLinksPanel::finish() {
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_timer->stop();
    m_progress->hide();
    m_stop->hide();
    const QDir root(m_folder);
    QTreeWidgetItem *page = nullptr;
    QString pagePath;
    m_tree->setUpdatesEnabled(false);
    // Past that many rows the list would only be scrolled, and filling it would hold the
    // window; the count stays whole.
    constexpr int kMaxRows = 10000;
    int rows = 0;
    for (const BrokenLink &b : std::as_const(m_result.broken)) {
        if (++rows > kMaxRows) break;
        if (!page || b.file != pagePath) {
            pagePath = b.file;
            page = new QTreeWidgetItem(m_tree,
                                       {QDir::toNativeSeparators(root.relativeFilePath(b.file))});
            page->setData(0, PathRole, b.file);
            page->setExpanded(true);
        }
        auto *row = new QTreeWidgetItem(
            page,
            {QStringLiteral("Ligne %1, colonne %2 : %3").arg(b.line).arg(b.column).arg(b.message)});
        row->setData(0, PathRole, b.file);
        row->setData(0, LineRole, b.line);
        row->setData(0, ColumnRole, b.column);
        row->setData(0, LengthRole, b.length);
        row->setToolTip(0, b.link);
    }
    m_tree->expandAll();
    m_tree->setUpdatesEnabled(true);
    QString summary = m_result.stopped
                          ? SiteTexts::linksStopped()
                          : SiteTexts::linksSummary(int(m_result.broken.size()), m_result.pages);
    if (rows > kMaxRows) summary += SiteTexts::linksCut(kMaxRows);
    m_status->setText(summary);
    m_result = {};
    emit done();
}

void SiteLinksPanel::openItem(QTreeWidgetItem *item) {
    if (!item) return;
    // A file's row opens the file; a line's row selects its match too.
    const QVariant line = item->data(0, LineRole);
    ResultPanelBody::openAt(
        m_docs, item->data(0, PathRole).toString(), line.isValid() ? line.toInt() : 0,
        item->data(0, ColumnRole).toLongLong(), true, item->data(0, LengthRole).toLongLong());
}
