#include "publish/ui/document_printer.h"

#include "app/ui/editor_view.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace {
using Sci = QsciScintillaBase;

// Thrown from a page to leave the component's page loop when the user stops.
struct PrintStopped {};

// Keeps the user's input away from every window but the progress dialog: keys,
// clicks, shortcuts and close requests are dropped, as a modal dialog would.
class InputBlock : public QObject {
public:
    explicit InputBlock(QWidget *allowed) : m_allowed(allowed) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        switch (event->type()) {
        case QEvent::Close:
            if (watched->isWidgetType() && watched != m_allowed &&
                static_cast<QWidget *>(watched)->isWindow()) {
                event->ignore();
                return true;
            }
            return false;
        case QEvent::Shortcut:
            return true; // the dialog has none
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::DragEnter:
        case QEvent::Drop:
            return !allowed(watched);
        default:
            return false;
        }
    }

private:
    bool allowed(QObject *o) const {
        if (o->isWidgetType()) return static_cast<QWidget *>(o)->window() == m_allowed;
        if (o->isWindowType()) return o == static_cast<QObject *>(m_allowed->windowHandle());
        return false;
    }
    QWidget *m_allowed;
};

QColor rgb(quint32 c) {
    return QColor::fromRgb(QRgb(0xFF000000u | c));
}

// Changes the editor for printing and puts it back afterwards.
class PrintSetup {
public:
    PrintSetup(TMyMwCustomEdit *e, const PrintSettings &s) : m_e(e) {
        m_colourMode = e->SendScintilla(Sci::SCI_GETPRINTCOLOURMODE);
        m_marginType = e->SendScintilla(Sci::SCI_GETMARGINTYPEN, 0UL);
        m_marginWidth = e->SendScintilla(Sci::SCI_GETMARGINWIDTHN, 0UL);
        // With the colouring: the text's colours on white paper, or the screen's
        // backgrounds too; without it: black on white.
        const long mode = !s.syntax   ? Sci::SC_PRINT_BLACKONWHITE
                          : s.colours ? Sci::SC_PRINT_NORMAL
                                      : Sci::SC_PRINT_COLOURONWHITE;
        e->SendScintilla(Sci::SCI_SETPRINTCOLOURMODE, mode);
        if (s.lineNumbers) {
            e->SendScintilla(Sci::SCI_SETMARGINTYPEN, 0UL, long(Sci::SC_MARGIN_NUMBER));
            e->SendScintilla(Sci::SCI_SETMARGINWIDTHN, 0UL, std::max(m_marginWidth, 1L));
        } else {
            e->SendScintilla(Sci::SCI_SETMARGINWIDTHN, 0UL, 0L);
        }
    }
    ~PrintSetup() {
        m_e->SendScintilla(Sci::SCI_SETPRINTCOLOURMODE, m_colourMode);
        m_e->SendScintilla(Sci::SCI_SETMARGINTYPEN, 0UL, m_marginType);
        m_e->SendScintilla(Sci::SCI_SETMARGINWIDTHN, 0UL, m_marginWidth);
    }

private:
    TMyMwCustomEdit *m_e;
    long m_colourMode;
    long m_marginType;
    long m_marginWidth;
};
} // namespace

DocumentPrinter::DocumentPrinter(PrinterMode mode) : QsciPrinter(mode) {
    setFullPage(true); // the margins are ours
}

QFont DocumentPrinter::toFont(const FontSpec &f) {
    QFont font(f.family);
    font.setPointSizeF(f.pointSize > 0 ? f.pointSize : 10);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    return font;
}

int DocumentPrinter::printDocument(TMyMwCustomEdit *editor) {
    QPainter painter;
    if (!painter.begin(this)) return 0;
    const int pages = printDocument(editor, painter);
    if (m_stopped) abort();
    painter.end();
    return pages;
}

int DocumentPrinter::printDocument(TMyMwCustomEdit *editor, QPainter &painter) {
    PrintSetup setup(editor, settings);
    setWrapMode(settings.wrapLines ? QsciScintilla::WrapWord : QsciScintilla::WrapNone);
    setMagnification(0);
    m_when = QDateTime::currentDateTime();
    m_numberWidth = 0;
    if (settings.lineNumbers && settings.numbersInMargin) {
        // The component prints its numbers five digits wide in the line-number style.
        QFont f = editor->editorFont();
        m_numberWidth =
            int(QFontMetricsF(f, painter.device()).horizontalAdvance(QStringLiteral("99999 ")));
    }

    m_stopped = false;
    try {
        return printPages(editor, painter);
    } catch (const PrintStopped &) {
        m_stopped = true;
        m_counting = false;
        return 0;
    }
}

int DocumentPrinter::printPages(TMyMwCustomEdit *editor, QPainter &painter) {
    // A first pass that draws nothing counts the pages for $PAGECOUNT$.
    // (The copies cannot change once the printer is open: a copy counts the same pages.)
    const int from = fromPage(), to = toPage();
    setFromTo(1000000, 1000000);
    m_counted = 0;
    m_counting = true;
    const int counted = printRange(editor, painter);
    m_counting = false;
    m_pageCount = std::max(m_counted, 1);
    setFromTo(from, to);
    if (!counted) return 0;
    if (!printRange(editor, painter)) return 0;
    return m_pageCount;
}

int DocumentPrinter::drawBand(QPainter &painter, const HeaderFooter &band, bool drawing, int pagenr,
                              int left, int right, int y, bool fromTop) {
    const QList<QList<HeaderItem>> lines = PrintRules::lines(band.items);
    if (lines.isEmpty()) return 0;
    const double dpmm = resolution() / 25.4;
    const int inner = int(settings.internalMargin * dpmm);
    const int textLeft = left + int(settings.leftIndent * dpmm);
    const int textRight = right - int(settings.rightIndent * dpmm);
    QList<int> heights;
    int total = 2 * inner;
    for (const QList<HeaderItem> &l : lines) {
        qreal h = QFontMetricsF(toFont(band.defaultFont), painter.device()).height();
        for (const HeaderItem &it : l)
            h = std::max(h, QFontMetricsF(toFont(it.font), painter.device()).height());
        heights << int(std::ceil(h));
        total += heights.last();
    }
    if (!drawing) return total;
    const int top = fromTop ? y : y - total;
    const QRect block(left, top, right - left, total);
    painter.save();
    if (band.shade) painter.fillRect(block, rgb(band.shadeColor));
    painter.setPen(QPen(rgb(band.lineColor), std::max(1.0, resolution() / 150.0)));
    if (band.box)
        painter.drawRect(block);
    else if (band.line)
        painter.drawLine(fromTop ? block.bottomLeft() : block.topLeft(),
                         fromTop ? block.bottomRight() : block.topRight());
    const bool swap = band.mirror && pagenr % 2 == 0;
    int ly = top + inner;
    for (int i = 0; i < lines.size(); ++i) {
        for (const HeaderItem &it : lines[i]) {
            ItemAlign a = it.align;
            if (swap && a != ItemAlign::Centre)
                a = a == ItemAlign::Left ? ItemAlign::Right : ItemAlign::Left;
            const Qt::Alignment flags = a == ItemAlign::Left    ? Qt::AlignLeft
                                        : a == ItemAlign::Right ? Qt::AlignRight
                                                                : Qt::AlignHCenter;
            painter.setFont(toFont(it.font));
            painter.setPen(rgb(it.font.color));
            const QString text =
                PrintRules::expandFields(it.text, pagenr, m_pageCount, settings.title, m_when);
            painter.drawText(QRect(textLeft, ly, textRight - textLeft, heights[i]),
                             int(flags | Qt::AlignBottom | Qt::TextSingleLine), text);
        }
        ly += heights[i];
    }
    painter.restore();
    return total;
}

void DocumentPrinter::formatPage(QPainter &painter, bool drawing, QRect &area, int pagenr) {
    m_counted = std::max(m_counted, pagenr);
    if (progress && (m_counting || drawing) && !progress(pagenr, m_counting ? 0 : m_pageCount))
        throw PrintStopped{};
    const double dpmm = resolution() / 25.4;
    const QRect page = area;
    const PrintSettings &s = settings;
    // Mirrored margins put the left margin and the gutter on the inside of each page.
    const bool even = s.mirrorMargins && pagenr % 2 == 0;
    const double inside = s.left + s.gutter;
    const int left = page.left() + int((even ? s.right : inside) * dpmm);
    const int right = page.right() - int((even ? inside : s.right) * dpmm);
    int top = page.top() + int(s.top * dpmm);
    int bottom = page.bottom() - int(s.bottom * dpmm);

    if (drawing && s.background != 0xFFFFFF) painter.fillRect(page, rgb(s.background));
    const double gap = 2 * dpmm;
    const int headerTop = page.top() + int(s.headerDistance * dpmm);
    const int headerHeight =
        drawBand(painter, s.header, drawing, pagenr, left, right, headerTop, true);
    if (headerHeight) top = std::max(top, int(headerTop + headerHeight + gap));
    const int footerBottom = page.bottom() - int(s.footerDistance * dpmm);
    const int footerHeight =
        drawBand(painter, s.footer, drawing, pagenr, left, right, footerBottom, false);
    if (footerHeight) bottom = std::min(bottom, int(footerBottom - footerHeight - gap));

    const int textLeft = left - m_numberWidth;
    area = QRect(textLeft, top, std::max(1, right - textLeft), std::max(1, bottom - top));
}

PrintProgress::PrintProgress(DocumentPrinter *printer, QWidget *window)
    : m_printer(printer),
      m_dialog(QStringLiteral("Mise en pages..."), QStringLiteral("Annuler"), 0, 0, window) {
    m_dialog.setWindowTitle(QStringLiteral("Impression"));
    m_dialog.setWindowModality(Qt::WindowModal);
    m_dialog.setMinimumDuration(400);
    m_dialog.setAutoReset(false);
    m_dialog.setAutoClose(false);
    m_dialog.setValue(0);
    m_inputBlock = std::make_unique<InputBlock>(&m_dialog);
    QCoreApplication::instance()->installEventFilter(m_inputBlock.get());
    printer->progress = [this](int page, int count) {
        if (count == 0) {
            m_dialog.setLabelText(QStringLiteral("Mise en pages : page %1...").arg(page));
            m_dialog.setValue(0);
        } else {
            if (m_dialog.maximum() != count) m_dialog.setMaximum(count);
            m_dialog.setLabelText(
                QStringLiteral("Impression de la page %1 sur %2").arg(page).arg(count));
            m_dialog.setValue(page - 1);
        }
        QCoreApplication::processEvents();
        return !m_dialog.wasCanceled();
    };
}

PrintProgress::~PrintProgress() {
    m_printer->progress = nullptr;
    QCoreApplication::instance()->removeEventFilter(m_inputBlock.get());
}
