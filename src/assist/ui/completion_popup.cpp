#include "assist/ui/completion_popup.h"

#include <QGuiApplication>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// Element, attribute and event-handler attribute icons, 15 by 15.
QIcon rowIcon(int kind) {
    static QIcon icons[3];
    if (icons[kind].isNull()) {
        QPixmap pm(15, 15);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor colours[3] = {QColor(0, 0, 160), QColor(0, 120, 0), QColor(200, 110, 0)};
        p.setPen(QPen(colours[kind], 1.6));
        if (kind == Completion::ElementIcon) {
            p.drawLine(QPointF(6, 3), QPointF(2, 7.5));
            p.drawLine(QPointF(2, 7.5), QPointF(6, 12));
            p.drawLine(QPointF(9, 3), QPointF(13, 7.5));
            p.drawLine(QPointF(13, 7.5), QPointF(9, 12));
        } else if (kind == Completion::AttributeIcon) {
            p.setBrush(colours[kind].lighter(170));
            p.drawRoundedRect(QRectF(2, 3, 11, 9), 2, 2);
            p.drawLine(QPointF(5, 6.5), QPointF(10, 6.5));
            p.drawLine(QPointF(5, 8.5), QPointF(10, 8.5));
        } else {
            p.setBrush(colours[kind]);
            const QPointF bolt[] = {{9, 1}, {3, 8.5}, {7, 8.5}, {5, 14}, {12, 6}, {8, 6}};
            p.drawPolygon(bolt, 6);
        }
        icons[kind] = QIcon(pm);
    }
    return icons[kind];
}

} // namespace

CompletionPopup::CompletionPopup(QWidget *parent)
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                         Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SynComp"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    m_listWidget = new QListWidget(this);
    m_listWidget->setObjectName(QStringLiteral("SynCompList"));
    m_listWidget->setFocusPolicy(Qt::NoFocus);
    m_listWidget->setFrameStyle(QFrame::NoFrame);
    m_listWidget->setIconSize(QSize(15, 15));
    m_listWidget->setUniformItemSizes(true);
    m_listWidget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont f = font();
    f.setPointSize(8);
    m_listWidget->setFont(f);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_listWidget);
    connect(m_listWidget, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row != m_lastRow) {
            m_lastRow = row;
            emit rowChanged(row);
        }
    });
    connect(m_listWidget, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { emit rowActivated(m_listWidget->row(item)); });
    setFixedWidth(200);
}

void CompletionPopup::setList(const Completion::List &list) {
    const QSignalBlocker block(m_listWidget);
    m_listWidget->clear();
    m_lastRow = -1;
    for (const Completion::Row &r : list.rows) {
        auto *item = new QListWidgetItem(r.display, m_listWidget);
        if (r.icon == Completion::NoIcon) {
            QFont f = m_listWidget->font();
            f.setItalic(true);
            item->setFont(f);
        } else {
            item->setIcon(rowIcon(r.icon));
        }
    }
    m_visibleRows = std::max(1, list.visibleRows);
}

void CompletionPopup::selectRow(int row) {
    if (row < 0 || row >= m_listWidget->count()) return;
    m_listWidget->setCurrentRow(row);
    m_listWidget->scrollToItem(m_listWidget->item(row), QAbstractItemView::PositionAtTop);
}

int CompletionPopup::selectedRow() const {
    return m_listWidget->currentRow();
}

int CompletionPopup::rowCount() const {
    return m_listWidget->count();
}

void CompletionPopup::moveSelection(int delta) {
    const int row = std::clamp(selectedRow() + delta, 0, rowCount() - 1);
    m_listWidget->setCurrentRow(row);
    m_listWidget->scrollToItem(m_listWidget->item(row));
}

void CompletionPopup::showAt(const QPoint &globalTopLeft, int lineHeight) {
    // Rows are measured as laid out, so that exactly the rows asked for show.
    m_listWidget->ensurePolished();
    m_listWidget->doItemsLayout();
    int rowHeight = m_listWidget->count()
                        ? m_listWidget->visualRect(m_listWidget->model()->index(0, 0)).height()
                        : 0;
    if (rowHeight <= 0) rowHeight = std::max(m_listWidget->sizeHintForRow(0), 16);
    const int rows = std::min(m_visibleRows, std::max(1, m_listWidget->count()));
    setFixedHeight(rowHeight * rows + 2 * m_listWidget->frameWidth() + 2 * frameWidth() + 2);
    QPoint at = globalTopLeft;
    if (const QScreen *screen = QGuiApplication::screenAt(globalTopLeft)) {
        const QRect area = screen->availableGeometry();
        if (at.y() + height() > area.bottom()) at.ry() -= height() + lineHeight;
        at.setX(std::min(at.x(), area.right() - width()));
    }
    move(at);
    show();
    raise();
}
