#include "site/ui/find_results_panel.h"

#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/ui_services.h"
#include "assist/ui/editor_search.h"
#include "site/site_texts.h"
#include "site/ui/result_panel_body.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
enum Role {
    PathRole = Qt::UserRole,
    LineRole,
    ColumnRole,
    LengthRole,
    SpansRole,
};
// Past this many line rows the list keeps only the files and their counts.
constexpr int kMaxRows = 20000;

// Paints a result line with its matches marked.
class MatchDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        const QVariantList spans = index.data(SpansRole).toList();
        if (spans.isEmpty()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
        const QRect r = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
        QList<QTextLayout::FormatRange> formats;
        for (const QVariant &v : spans) {
            const QPoint s = v.toPoint();
            QTextLayout::FormatRange f;
            f.start = s.x();
            f.length = s.y();
            f.format.setBackground(QColor(255, 226, 110));
            f.format.setForeground(QColor(0, 0, 0));
            f.format.setFontWeight(QFont::Bold);
            formats << f;
        }
        QTextLayout layout(text, opt.font);
        layout.setFormats(formats);
        QTextOption to;
        to.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(to);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(1e6);
        layout.endLayout();
        painter->save();
        painter->setClipRect(r);
        painter->setPen(opt.palette.color(
            opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        const qreal y = r.top() + (r.height() - line.height()) / 2;
        layout.draw(painter, QPointF(r.left() + 2, y));
        painter->restore();
    }
};

// The prefix of a line row: its number, aligned.
QString linePrefix(int line) {
    return QStringLiteral("%1 : ").arg(line, 5);
}

// A file of the results, in bold with its count; its whole path in the tooltip. What it
// shows is worked out when asked: thousands of rows are made for a search, few are seen.
class FileRow : public QTreeWidgetItem {
public:
    FileRow(const QString &path, const QString &shown, const QFont *bold)
        : m_path(path), m_shown(shown), m_bold(bold) {}
    QVariant data(int column, int role) const override {
        if (column != 0) return QTreeWidgetItem::data(column, role);
        switch (role) {
        case Qt::DisplayRole:
            return m_shown;
        case Qt::FontRole:
            return *m_bold;
        case Qt::ToolTipRole:
            return QDir::toNativeSeparators(m_path);
        case PathRole:
            return m_path;
        default:
            return QTreeWidgetItem::data(column, role);
        }
    }

private:
    QString m_path;
    QString m_shown;
    const QFont *m_bold;
};

// A line with matches: its number, its text and where the matches lie in it.
class LineRow : public QTreeWidgetItem {
public:
    LineRow(const QString &path, const LineHit &hit) : m_path(path), m_hit(hit) {}
    QVariant data(int column, int role) const override {
        if (column != 0) return QTreeWidgetItem::data(column, role);
        switch (role) {
        case Qt::DisplayRole:
            return linePrefix(m_hit.line) + m_hit.text;
        case PathRole:
            return m_path;
        case LineRole:
            return m_hit.line;
        case ColumnRole:
            return qlonglong(m_hit.column);
        case LengthRole:
            return qlonglong(m_hit.length);
        case SpansRole: {
            const int shift = int(linePrefix(m_hit.line).size());
            QVariantList spans;
            for (const auto &sp : m_hit.spans)
                spans << QPoint(sp.first + shift, sp.second);
            return spans;
        }
        default:
            return QTreeWidgetItem::data(column, role);
        }
    }

private:
    QString m_path;
    LineHit m_hit;
};
} // namespace

FindResultsPanel::FindResultsPanel(DocumentHost *docs, QWidget *parent)
    : QDockWidget(SiteTexts::resultsTitle(), parent), m_docs(docs) {
    setObjectName(QStringLiteral("ResultatsRecherche"));
    m_search = new FileSearchJob(this);
    m_replace = new FileReplaceJob(this);
    const ResultPanelBody b = ResultPanelBody::build(
        this, {QStringLiteral("StatutRecherche"), QStringLiteral("ProgressionRecherche"),
               QStringLiteral("BoutArreter"), QStringLiteral("ListeResultats")});
    m_status = b.status;
    m_progress = b.progress;
    m_stop = b.stop;
    m_tree = b.tree;
    m_tree->setItemDelegate(new MatchDelegate(m_tree));
    m_timer = new QTimer(this);
    m_timer->setInterval(100);
    setBusy(false);

    connect(m_timer, &QTimer::timeout, this, &FindResultsPanel::refreshStatus);
    connect(m_stop, &QPushButton::clicked, this, &FindResultsPanel::stop);
    // The first results show at once, then the list grows four times a second: each
    // growth lays the whole tree out again.
    m_drainTimer = new QTimer(this);
    m_drainTimer->setSingleShot(true);
    m_drainTimer->setInterval(250);
    connect(m_drainTimer, &QTimer::timeout, this, &FindResultsPanel::drain);
    connect(m_search, &FileSearchJob::resultsReady, this, [this] {
        if (m_tree->topLevelItemCount() == 0)
            drain();
        else if (!m_drainTimer->isActive())
            m_drainTimer->start();
    });
    connect(m_tree, &QTreeWidget::itemCollapsed, this, [this] { m_userCollapsed = true; });
    connect(m_search, &FileSearchJob::finished, this, &FindResultsPanel::searchFinished);
    connect(m_replace, &FileReplaceJob::finished, this, &FindResultsPanel::replaceFinished);
    connect(m_tree, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { openItem(item); });
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (item->parent()) openItem(item);
    });
}

bool FindResultsPanel::run(const FindInFilesRequest &request) {
    stop();
    m_request = request;
    m_tree->clear();
    m_boldFont = m_tree->font();
    m_boldFont.setBold(true);
    m_found.clear();
    m_matches = 0;
    m_rows = 0;
    m_replacing = false;
    m_userCollapsed = false;
    QString error;
    FileSearchOptions options = request.options;
    options.forReplace = request.replace;
    if (!m_search->start(options, &error)) {
        ui().message(MsgType::Error, MsgButtons::Ok, error);
        return false;
    }
    setBusy(true);
    m_status->setText(SiteTexts::listing());
    return true;
}

void FindResultsPanel::stop() {
    // The workers stop after the file each one is reading; a replace leaves each
    // file whole, old or new.
    m_search->cancel();
    m_replace->cancel();
}

bool FindResultsPanel::isBusy() const {
    return m_search->isRunning() || m_replace->isRunning() || m_timer->isActive();
}

QString FindResultsPanel::status() const {
    return m_status->text();
}

void FindResultsPanel::setBusy(bool busy) {
    m_stop->setEnabled(busy);
    m_progress->setVisible(busy);
    if (busy) {
        m_progress->setRange(0, 0);
        m_timer->start();
    } else {
        m_timer->stop();
    }
}

void FindResultsPanel::drain() {
    const QList<FileHits> batch = m_search->takeResults();
    if (batch.isEmpty()) return;
    const QDir base(m_request.options.folder);
    QList<QTreeWidgetItem *> items;
    items.reserve(batch.size());
    for (const FileHits &f : batch) {
        m_matches += f.count;
        auto *file = new FileRow(f.path,
                                 QStringLiteral("%1 (%2)")
                                     .arg(QDir::toNativeSeparators(base.relativeFilePath(f.path)))
                                     .arg(f.count),
                                 &m_boldFont);
        if (m_rows < kMaxRows) {
            QList<QTreeWidgetItem *> lines;
            lines.reserve(f.hits.size() + 1);
            for (const LineHit &h : f.hits)
                lines << new LineRow(f.path, h);
            if (f.linesCut) {
                auto *more = new QTreeWidgetItem;
                more->setText(0, SiteTexts::moreLines(f.count));
                more->setFlags(Qt::ItemIsEnabled);
                lines << more;
            }
            m_rows += int(lines.size());
            file->addChildren(lines);
        }
        items << file;
        m_found << f;
    }
    // One call for the whole batch: an assistive tool listening sees one change; and
    // one layout for the whole tree rather than one per file opened.
    m_tree->addTopLevelItems(items);
    if (!m_userCollapsed) {
        m_tree->expandAll();
    } else {
        for (QTreeWidgetItem *i : std::as_const(items))
            i->setExpanded(true);
    }
}

void FindResultsPanel::refreshStatus() {
    if (m_replacing) {
        m_progress->setRange(0, std::max(1, m_replace->filesTotal()));
        m_progress->setValue(m_replace->filesDone());
        m_status->setText(SiteTexts::replacing(m_replace->filesDone(), m_replace->filesTotal()));
        return;
    }
    const int total = m_search->filesTotal();
    if (total < 0) return;
    m_progress->setRange(0, std::max(1, total));
    m_progress->setValue(m_search->filesDone());
    m_status->setText(
        SiteTexts::searching(m_search->filesDone(), total, m_matches, int(m_found.size())));
}

void FindResultsPanel::searchFinished(bool cancelled) {
    m_drainTimer->stop();
    drain();
    setBusy(false);
    if (cancelled) {
        m_status->setText(SiteTexts::searchStopped(m_matches, int(m_found.size())));
        emit done();
        return;
    }
    m_status->setText(
        SiteTexts::searchDone(m_matches, int(m_found.size()), m_search->filesTotal()));
    if (m_request.replace && !m_found.isEmpty()) {
        // Shown after the list is drawn: the user sees the files and counts asked about.
        QTimer::singleShot(0, this, &FindResultsPanel::confirmReplace);
        return;
    }
    emit done();
}

void FindResultsPanel::confirmReplace() {
    if (ui().message(MsgType::Confirmation, MsgButtons::YesNo,
                     SiteTexts::replaceQuestion(m_matches, int(m_found.size()),
                                                m_request.replacement)) != MsgAnswer::Yes) {
        emit done();
        return;
    }
    // An open document changes in its editor, as one undo step: its tab shows it
    // modified and the user saves it, or not.
    QList<FileHits> onDisk;
    m_openReplaced = 0;
    m_openFiles = 0;
    for (const FileHits &f : std::as_const(m_found)) {
        TMyMwCustomEdit *open = nullptr;
        for (int i = 0; m_docs && i < m_docs->EditorCount() && !open; ++i) {
            TMyMwCustomEdit *e = m_docs->EditorAt(i);
            if (e && !e->fileName.isEmpty() && ResultPanelBody::sameFile(e->fileName, f.path))
                open = e;
        }
        if (!open) {
            onDisk << f;
            continue;
        }
        qsizetype to = open->utf8Length();
        const int n =
            EditorSearch::replaceAll(open, m_search->search(), 0, &to, m_request.replacement);
        if (n > 0) {
            m_openReplaced += n;
            ++m_openFiles;
            m_docs->mwCustomEdit1StatusChange(open);
        }
    }
    m_replacing = true;
    setBusy(true);
    m_replace->start(onDisk, m_search->search(), m_request.replacement);
}

void FindResultsPanel::replaceFinished(bool cancelled) {
    if (!m_replacing) return; // a replace stopped by a new search: that search goes on
    setBusy(false);
    m_replacing = false;
    int matches = m_openReplaced;
    int files = m_openFiles;
    QStringList changed, unencodable, failed;
    for (const FileReplaceJob::Outcome &o : m_replace->outcomes()) {
        const QString shown = QDir::toNativeSeparators(o.path);
        switch (o.result.status) {
        case FileSearch::ReplaceStatus::Replaced:
            matches += o.result.count;
            ++files;
            break;
        case FileSearch::ReplaceStatus::ChangedSinceSearch:
            changed << shown;
            break;
        case FileSearch::ReplaceStatus::Unencodable:
            unencodable << shown;
            break;
        case FileSearch::ReplaceStatus::Failed:
            failed << shown;
            break;
        case FileSearch::ReplaceStatus::NoMatch:
            break;
        }
    }
    QString text = SiteTexts::replaceDone(matches, files);
    m_status->setText(text);
    if (cancelled) text += QStringLiteral("\r\n") + SiteTexts::replaceStopped();
    const auto section = [&text](const QString &title, const QStringList &paths) {
        if (!paths.isEmpty())
            text += QStringLiteral("\r\n\r\n") + title + QStringLiteral("\r\n") +
                    paths.join(QStringLiteral("\r\n"));
    };
    section(SiteTexts::skippedChanged(), changed);
    section(SiteTexts::skippedUnencodable(), unencodable);
    section(SiteTexts::skippedFailed(), failed);
    const bool trouble = !changed.isEmpty() || !unencodable.isEmpty() || !failed.isEmpty();
    ui().message(trouble ? MsgType::Warning : MsgType::Information, MsgButtons::Ok, text);
    emit done();
}

void FindResultsPanel::openItem(QTreeWidgetItem *item) {
    if (!item) return;
    // A file's row opens the file; a line's row selects its match too.
    const QVariant line = item->data(0, LineRole);
    ResultPanelBody::openAt(
        m_docs, item->data(0, PathRole).toString(), line.isValid() ? line.toInt() : 0,
        item->data(0, ColumnRole).toLongLong(), false, item->data(0, LengthRole).toLongLong());
}
