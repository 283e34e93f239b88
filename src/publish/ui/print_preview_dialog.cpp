#include "publish/ui/print_preview_dialog.h"

#include "app/ui/icons.h"
#include "publish/print_settings.h"
#include "publish/ui/document_printer.h"
#include "app/ui/help.h"

#include <QAction>
#include <QGraphicsView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// "Short|Long" hints: the short one as tooltip, the long one in the status bar.
void setHint(QAction *a, const QString &hint) {
    const QStringList parts = hint.split(QLatin1Char('|'));
    a->setToolTip(parts.value(0));
    a->setStatusTip(parts.value(1, parts.value(0)));
}

QIcon pageArrow(bool forward, bool toEnd) {
    return Icons::draw([forward, toEnd](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 180));
        const qreal x0 = forward ? 4 : 12, x1 = forward ? 11 : 5;
        p.drawPolygon(QPolygonF() << QPointF(x0, 3) << QPointF(x1, 8) << QPointF(x0, 13));
        if (toEnd) p.drawRect(QRectF(forward ? 11.5 : 2.5, 3, 2, 10));
    });
}
} // namespace

TTestPrintPreviewDlg::TTestPrintPreviewDlg(DocumentPrinter *printer, TMyMwCustomEdit *editor,
                                           QWidget *parent)
    : QDialog(parent), m_printer(printer), m_editor(editor) {
    setObjectName(QStringLiteral("TTestPrintPreviewDlg"));
    setWindowTitle(QStringLiteral("Aperçu avant impression"));
    resize(900, 700);

    m_view = new QPrintPreviewWidget(printer, this);
    m_view->setObjectName(QStringLiteral("PrintPreview"));
    connect(m_view, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *) {
        PrintProgress progress(m_printer, this);
        m_printer->printDocument(m_editor);
    });
    connect(m_view, &QPrintPreviewWidget::previewChanged, this,
            &TTestPrintPreviewDlg::updatePageLabel);

    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBarApercu"));
    auto add = [this, bar](const char *name, const QString &caption, const QKeySequence &key,
                           const QString &hint, const QIcon &icon) {
        QAction *a = bar->addAction(icon, caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        setHint(a, hint);
        connect(a, &QAction::hovered, this,
                [this, a] { m_hint->setText(QStringLiteral("  ") + a->statusTip()); });
        return a;
    };
    QAction *first =
        add("PreviewFirst", QStringLiteral("Premier"), QKeySequence(Qt::ALT | Qt::Key_F),
            QStringLiteral("Premier|Aller à la première page"), pageArrow(false, true));
    QAction *prev =
        add("PreviewPrev", QStringLiteral("Précédent"), QKeySequence(Qt::ALT | Qt::Key_P),
            QStringLiteral("Précédent|Aller à la page précédente"), pageArrow(false, false));
    QAction *next = add("PreviewNext", QStringLiteral("Suivant"), QKeySequence(Qt::ALT | Qt::Key_N),
                        QStringLiteral("Suivant|Aller à la page suivante"), pageArrow(true, false));
    QAction *last =
        add("PreviewLast", QStringLiteral("Dernière"), QKeySequence(Qt::ALT | Qt::Key_L),
            QStringLiteral("Dernière|Aller à la dernière page"), pageArrow(true, true));
    auto go = [this](const std::function<int()> &page) {
        return [this, page] {
            const int n = std::clamp(page(), 1, std::max(1, m_view->pageCount()));
            m_view->setCurrentPage(n);
            // At a small scale several pages show: the label names the one asked for.
            m_page->setText(QStringLiteral(" Page : %1").arg(n));
        };
    };
    connect(first, &QAction::triggered, this, go([] { return 1; }));
    connect(prev, &QAction::triggered, this, go([this] { return m_view->currentPage() - 1; }));
    connect(next, &QAction::triggered, this, go([this] { return m_view->currentPage() + 1; }));
    connect(last, &QAction::triggered, this, go([this] { return m_view->pageCount(); }));
    bar->addSeparator();

    QAction *zoom = add("PreviewZoom", QStringLiteral("Zoom"), QKeySequence(Qt::ALT | Qt::Key_Z),
                        QStringLiteral("Zoom|Zoom Avant/Arrière"), Icons::draw([](QPainter &p) {
                            p.setPen(QPen(QColor(40, 40, 40), 1.6));
                            p.setBrush(QColor(200, 225, 250));
                            p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
                            p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
                        }));
    connect(zoom, &QAction::triggered, this, &TTestPrintPreviewDlg::showWholePage);
    auto *zoomMenu = new QMenu(this);
    zoomMenu->setObjectName(QStringLiteral("MenuZoom"));
    zoomMenu->addAction(QStringLiteral("Page entière"), this, &TTestPrintPreviewDlg::showWholePage);
    zoomMenu->addAction(QStringLiteral("Largeur page"), this, &TTestPrintPreviewDlg::showPageWidth);
    for (int percent : {25, 50, 100, 200, 400})
        zoomMenu->addAction(QStringLiteral("%1%").arg(percent), this,
                            [this, percent] { setZoomPercent(percent); });
    zoom->setMenu(zoomMenu);
    if (auto *b = qobject_cast<QToolButton *>(bar->widgetForAction(zoom)))
        b->setPopupMode(QToolButton::MenuButtonPopup);
    bar->addSeparator();

    m_print = add("PreviewPrint", QStringLiteral("Imprimer"), QKeySequence(Qt::CTRL | Qt::Key_P),
                  QStringLiteral("Imprimer|Imprimer le document"), Icons::draw([](QPainter &p) {
                      p.setPen(QPen(QColor(60, 60, 60), 1));
                      p.setBrush(QColor(255, 255, 255));
                      p.drawRect(QRectF(4.5, 1.5, 7, 5));
                      p.setBrush(QColor(170, 170, 180));
                      p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
                      p.setBrush(QColor(255, 255, 255));
                      p.drawRect(QRectF(4.5, 10.5, 7, 4));
                  }));
    connect(m_print, &QAction::triggered, this, [this] {
        if (onPrint) onPrint();
        updatePrintHint();
    });
    QAction *close =
        add("PreviewClose", QStringLiteral("Fermer"), QKeySequence(Qt::ALT | Qt::Key_C),
            QStringLiteral("Fermer|Fermer l'aperçu avant impression"), {});
    connect(close, &QAction::triggered, this, &QDialog::accept);
    QAction *help = add("PreviewAide", QStringLiteral("Aide"), {},
                        QStringLiteral("Aide|Aide sur l'impression"), {});
    connect(help, &QAction::triggered, this,
            [] { ShowHelpTopic(QStringLiteral("Ressources/imprimer.htm")); });
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    auto *status = new QStatusBar(this);
    m_hint = new QLabel(QStringLiteral("  "), status);
    m_page = new QLabel(status);
    m_page->setObjectName(QStringLiteral("PanelPage"));
    status->addWidget(m_hint, 1);
    status->addPermanentWidget(m_page);

    auto *main = new QVBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);
    main->addWidget(bar);
    main->addWidget(m_view, 1);
    main->addWidget(status);

    if (auto *gv = m_view->findChild<QGraphicsView *>()) gv->viewport()->installEventFilter(this);
    updatePrintHint();
    m_view->setViewMode(QPrintPreviewWidget::SinglePageView);
    m_view->fitInView();
    m_view->updatePreview();
    m_view->setCurrentPage(1);
    updatePageLabel();
}

int TTestPrintPreviewDlg::zoomPercent() const {
    return qRound(m_view->zoomFactor() * 100);
}

bool TTestPrintPreviewDlg::wholePage() const {
    return m_view->zoomMode() == QPrintPreviewWidget::FitInView;
}

void TTestPrintPreviewDlg::setZoomPercent(int percent) {
    m_view->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_view->setZoomFactor(percent / 100.0);
}

void TTestPrintPreviewDlg::showWholePage() {
    m_view->fitInView();
}
void TTestPrintPreviewDlg::showPageWidth() {
    m_view->fitToWidth();
}

void TTestPrintPreviewDlg::clickZoom(bool rightButton) {
    setZoomPercent(PrintRules::zoomAfterClick(zoomPercent(), wholePage(), rightButton));
}

bool TTestPrintPreviewDlg::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() == Qt::LeftButton || me->button() == Qt::RightButton) {
            clickZoom(me->button() == Qt::RightButton);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TTestPrintPreviewDlg::updatePageLabel() {
    m_page->setText(QStringLiteral(" Page : %1").arg(m_view->currentPage()));
}

void TTestPrintPreviewDlg::updatePrintHint() {
    const QString name = m_printer->printerName();
    setHint(m_print, name.isEmpty()
                         ? QStringLiteral("Imprimer|Imprimer le document")
                         : QStringLiteral("Imprimer (%1)|Imprimer le document sur %1").arg(name));
}
