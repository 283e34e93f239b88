#include "app/ui/icons.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QStyle>
#include <QStyleOption>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace Icons {

namespace {
const QColor kInk(40, 40, 40);
const QColor kBlue(30, 90, 180);
const QColor kPaper(255, 255, 255);

QPen pen(const QColor &c, qreal w = 1.0)
{
    QPen p(c, w);
    p.setJoinStyle(Qt::RoundJoin);
    p.setCapStyle(Qt::RoundCap);
    return p;
}

void textLines(QPainter &p, qreal x, qreal y, qreal w, int n, qreal step = 2.5)
{
    p.setPen(pen(QColor(120, 120, 120), 1));
    for (int i = 0; i < n; ++i)
        p.drawLine(QPointF(x, y + i * step), QPointF(x + w - (i % 2) * 2, y + i * step));
}

void pin(QPainter &p, bool pushed)
{
    p.save();
    if (!pushed) {
        p.translate(8, 8);
        p.rotate(-45);
        p.translate(-8, -8);
    }
    const QColor head = pushed ? QColor(210, 40, 40) : QColor(130, 130, 140);
    p.setPen(pen(kInk, 1));
    p.setBrush(head);
    p.drawRoundedRect(QRectF(5, 1.5, 6, 6), 1.5, 1.5);
    p.drawRect(QRectF(3.5, 7.5, 9, 1.8));
    p.setPen(pen(kInk, 1.3));
    p.drawLine(QPointF(8, 9.5), QPointF(8, pushed ? 13 : 15));
    p.restore();
}

void scissors(QPainter &p)
{
    p.setPen(pen(kInk, 1.2));
    p.drawLine(QPointF(4, 1.5), QPointF(10.5, 10));
    p.drawLine(QPointF(12, 1.5), QPointF(5.5, 10));
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(QColor(200, 40, 40), 1.4));
    p.drawEllipse(QRectF(2, 10, 4, 4));
    p.drawEllipse(QRectF(10, 10, 4, 4));
}

void clipboard(QPainter &p)
{
    p.setPen(pen(QColor(110, 70, 30), 1));
    p.setBrush(QColor(200, 150, 90));
    p.drawRoundedRect(QRectF(2.5, 2.5, 9, 12), 1, 1);
    p.setBrush(QColor(160, 160, 170));
    p.setPen(pen(kInk, 1));
    p.drawRect(QRectF(5, 1.5, 4, 2.5));
    page(p, 7, 6, 7.5, 9);
    textLines(p, 8.5, 9, 4.5, 3, 2);
}

void curvedArrow(QPainter &p, bool redo)
{
    p.save();
    if (redo) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    QPainterPath path;
    path.moveTo(4, 6);
    path.cubicTo(8, 2.5, 14, 4, 13, 10);
    path.cubicTo(12.5, 12.5, 10, 13.5, 8, 13.5);
    p.setPen(pen(kBlue, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    QPolygonF head;
    head << QPointF(1.5, 6.5) << QPointF(6.5, 2.5) << QPointF(6.5, 9.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(head);
    p.restore();
}

using Table = QHash<QString, Painter>;

Table makeTable()
{
    Table t;
    t[QStringLiteral("FileNew")] = [](QPainter &p) {
        page(p, 2.5, 1.5, 10, 13);
        p.setPen(pen(QColor(230, 170, 0), 1.4));
        p.drawLine(QPointF(12, 1), QPointF(12, 6));
        p.drawLine(QPointF(9.5, 3.5), QPointF(14.5, 3.5));
    };
    t[QStringLiteral("FileOpen")] = [](QPainter &p) { folder(p); };
    t[QStringLiteral("FileSave")] = [](QPainter &p) { floppy(p, 1.5, 1.5, 13); };
    t[QStringLiteral("FileSaveAs")] = [](QPainter &p) {
        floppy(p, 1, 1, 11);
        p.setPen(pen(QColor(200, 120, 20), 2));
        p.drawLine(QPointF(9, 14), QPointF(14.5, 8.5));
    };
    t[QStringLiteral("FileSaveAll")] = [](QPainter &p) {
        floppy(p, 4, 0.5, 11);
        floppy(p, 1, 4.5, 11);
    };
    t[QStringLiteral("FileClose")] = [](QPainter &p) {
        page(p, 2, 1.5, 10, 13);
        cross(p, 8.5, 8.5, 6);
    };
    t[QStringLiteral("FileCloseAll")] = [](QPainter &p) {
        page(p, 4.5, 0.5, 9, 11);
        page(p, 1.5, 3.5, 9, 11.5);
        cross(p, 8.5, 8.5, 6);
    };
    t[QStringLiteral("FileNewInstance")] = [](QPainter &p) {
        p.setPen(pen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 2.5, 12, 10));
        p.fillRect(QRectF(2, 3, 11, 2.5), kBlue);
        p.setPen(pen(QColor(0, 140, 60), 2));
        p.drawLine(QPointF(12, 9), QPointF(12, 15));
        p.drawLine(QPointF(9, 12), QPointF(15, 12));
    };
    t[QStringLiteral("MenuQuitter")] = [](QPainter &p) {
        p.setPen(pen(kInk, 1));
        p.setBrush(QColor(170, 120, 70));
        p.drawRect(QRectF(2.5, 1.5, 7, 13));
        arrow(p, true, QColor(200, 40, 40));
    };
    t[QStringLiteral("EditUndo")] = [](QPainter &p) { curvedArrow(p, false); };
    t[QStringLiteral("EditRedo")] = [](QPainter &p) { curvedArrow(p, true); };
    t[QStringLiteral("EditCut1")] = [](QPainter &p) { scissors(p); };
    t[QStringLiteral("EditCopy1")] = [](QPainter &p) {
        page(p, 1.5, 1.5, 8.5, 10);
        page(p, 6, 5, 8.5, 10);
        textLines(p, 7.5, 8, 5, 3, 2);
    };
    t[QStringLiteral("EditPaste1")] = [](QPainter &p) { clipboard(p); };

    t[QStringLiteral("EditEffacer")] = [](QPainter &p) {
        p.save();
        p.translate(8, 8);
        p.rotate(-40);
        p.setPen(pen(kInk, 1));
        p.setBrush(QColor(240, 120, 140));
        p.drawRect(QRectF(-6, -3, 7, 6));
        p.setBrush(QColor(90, 120, 220));
        p.drawRect(QRectF(1, -3, 5, 6));
        p.restore();
    };
    t[QStringLiteral("EditSelectAll")] = [](QPainter &p) {
        QPen dash = pen(kBlue, 1);
        dash.setStyle(Qt::DashLine);
        p.setPen(dash);
        p.setBrush(QColor(200, 220, 250));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        textLines(p, 4, 5, 8, 3, 3);
    };
    t[QStringLiteral("EditWordWrap")] = [](QPainter &p) {
        textLines(p, 1.5, 3, 12, 1);
        p.setPen(pen(kInk, 1));
        p.drawLine(QPointF(1.5, 7), QPointF(9, 7));
        p.drawLine(QPointF(1.5, 12), QPointF(5, 12));
        QPainterPath path;
        path.moveTo(9, 7);
        path.lineTo(12, 7);
        path.cubicTo(15, 7, 15, 12, 12, 12);
        path.lineTo(8, 12);
        p.setPen(pen(kBlue, 1.4));
        p.drawPath(path);
        p.drawLine(QPointF(8, 12), QPointF(10, 10));
        p.drawLine(QPointF(8, 12), QPointF(10, 14));
    };
    t[QStringLiteral("EditModeColonne")] = [](QPainter &p) {
        textLines(p, 1.5, 2.5, 13, 5, 2.7);
        p.setPen(pen(kBlue, 1));
        p.setBrush(QColor(80, 130, 220, 110));
        p.drawRect(QRectF(5.5, 1, 5, 13.5));
    };
    t[QStringLiteral("EditSpecialCar")] = [](QPainter &p) {
        QFont f(QStringLiteral("Serif"));
        f.setPixelSize(15);
        f.setBold(true);
        p.setFont(f);
        p.setPen(kBlue);
        p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QString(QChar(0x00B6)));
    };
    t[QStringLiteral("EditOnTop")] = [](QPainter &p) { pin(p, false); };
    t[QStringLiteral("EditOnTop:on")] = [](QPainter &p) { pin(p, true); };
    t[QStringLiteral("MenuDocPrecedent")] = [](QPainter &p) { arrow(p, false, kBlue); };
    t[QStringLiteral("MenuDocSuivant")] = [](QPainter &p) { arrow(p, true, kBlue); };
    t[QStringLiteral("OutilsBarreMasquer")] = [](QPainter &p) {
        toolbarGlyph(p);
        p.setPen(pen(QColor(200, 30, 30), 1.6));
        p.drawLine(QPointF(2, 14), QPointF(14, 2));
    };
    for (const char *bar : {"OutilsBarreStandard", "OutilsBarreRecherche", "OutilsBarreTypeDoc",
                            "OutilsBarreTexte", "OutilsBarreTable", "OutilsBarreForm",
                            "OutilsBarreAccents", "OutilsBarreCSS", "OutilsBarreSQL",
                            "OutilsBarreASP", "OutilsBarrePHP"})
        t[QString::fromLatin1(bar)] = [](QPainter &p) { toolbarGlyph(p); };

    // Browsers and the preview panel.
    auto globe = [](QPainter &p, QRectF r) {
        p.setPen(pen(QColor(20, 90, 150), 1));
        p.setBrush(QColor(120, 185, 235));
        p.drawEllipse(r);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(r.adjusted(r.width() * 0.3, 0, -r.width() * 0.3, 0));
        p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
    };
    t[QStringLiteral("OutilsTester")] = [globe](QPainter &p) {
        globe(p, QRectF(1.5, 1.5, 11, 11));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 140, 60));
        p.drawPolygon(QPolygonF() << QPointF(9, 8) << QPointF(15.5, 11.5) << QPointF(9, 15));
    };
    t[QStringLiteral("OutilsBarreNavigateur")] = [globe](QPainter &p) {
        p.setPen(pen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(0.5, 1.5, 15, 13));
        p.fillRect(QRectF(1, 2, 14, 2.5), kBlue);
        globe(p, QRectF(4.5, 6, 7, 7));
    };
    t[QStringLiteral("NavPrec")] = [](QPainter &p) { arrow(p, false, QColor(40, 160, 70)); };
    t[QStringLiteral("NavSuiv")] = [](QPainter &p) { arrow(p, true, QColor(40, 160, 70)); };
    t[QStringLiteral("NavStop")] = [](QPainter &p) {
        QPolygonF octagon;
        for (int i = 0; i < 8; ++i) {
            const qreal a = (22.5 + 45 * i) * M_PI / 180;
            octagon << QPointF(8 + 7 * std::cos(a), 8 + 7 * std::sin(a));
        }
        p.setPen(pen(QColor(140, 20, 20), 1));
        p.setBrush(QColor(215, 45, 45));
        p.drawPolygon(octagon);
        p.setPen(pen(kPaper, 1.8));
        p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
        p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
    };
    t[QStringLiteral("NavReload")] = [](QPainter &p) {
        p.setPen(pen(QColor(40, 160, 70), 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 100 * 16, 290 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 160, 70));
        p.drawPolygon(QPolygonF() << QPointF(7, 0) << QPointF(11.5, 3) << QPointF(7, 6));
    };
    t[QStringLiteral("NavDirect")] = [](QPainter &p) {
        // A page with a flash: shown as it is typed.
        page(p, 1.5, 0.5, 10, 14);
        p.setPen(pen(QColor(150, 90, 0), 0.8));
        p.setBrush(QColor(250, 190, 30));
        p.drawPolygon(QPolygonF() << QPointF(11, 3) << QPointF(6.5, 10) << QPointF(9.5, 10)
                                  << QPointF(8, 15.5) << QPointF(14.5, 7.5) << QPointF(11, 7.5)
                                  << QPointF(13, 3));
    };
    t[QStringLiteral("NavSuivreCurseur")] = [](QPainter &p) {
        // A text caret and the line of the page it points at.
        p.setPen(pen(kInk, 1.2));
        p.drawLine(QPointF(4, 2), QPointF(4, 14));
        p.drawLine(QPointF(2.5, 2), QPointF(5.5, 2));
        p.drawLine(QPointF(2.5, 14), QPointF(5.5, 14));
        p.fillRect(QRectF(7.5, 6.5, 7.5, 3), kBlue);
        p.setPen(pen(kBlue, 1));
        p.drawLine(QPointF(8, 3.5), QPointF(15, 3.5));
        p.drawLine(QPointF(8, 12.5), QPointF(15, 12.5));
    };
    return t;
}

const Table &table()
{
    static const Table t = makeTable();
    return t;
}
} // namespace

namespace {
// Paints a drawing only when a size of it is first shown, so that creating the
// program's hundreds of actions costs no painting at start-up.
class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(Painter paint) : m_paint(std::move(paint)) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = std::max(1, std::min(size.width(), size.height()));
        const quint64 key = quint64(side) << 8 | quint64(mode);
        auto it = m_cache.constFind(key);
        if (it != m_cache.constEnd())
            return *it;
        QPixmap pm(side, side);
        pm.fill(Qt::transparent);
        {
            QPainter p(&pm);
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::TextAntialiasing);
            p.scale(side / 16.0, side / 16.0);
            m_paint(p);
        }
        if (mode == QIcon::Disabled || mode == QIcon::Selected) {
            QStyleOption opt;
            opt.palette = QApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, pm, &opt);
        }
        m_cache.insert(key, pm);
        return pm;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48)};
    }

    QIconEngine *clone() const override { return new DrawnIconEngine(m_paint); }

private:
    Painter m_paint;
    QHash<quint64, QPixmap> m_cache;
};
} // namespace

QIcon draw(const Painter &paint)
{
    return QIcon(new DrawnIconEngine(paint));
}

QIcon text(const QString &label, const QColor &color, int style)
{
    return draw([label, color, style](QPainter &p) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setBold(style & Bold);
        f.setItalic(style & Italic);
        f.setUnderline(style & Underline);
        f.setStrikeOut(style & StrikeOut);
        f.setPixelSize(label.size() <= 1 ? 14 : label.size() == 2 ? 10 : 7);
        f.setStretch(label.size() > 3 ? QFont::Condensed : QFont::Unstretched);
        p.setFont(f);
        p.setPen(color);
        p.drawText(QRectF(-2, 0, 20, 16), Qt::AlignCenter, label);
    });
}

QIcon markup(const QString &label, const QColor &color)
{
    return draw([label, color](QPainter &p) {
        page(p, 1.5, 0.5, 13, 15);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setBold(true);
        f.setPixelSize(label.size() <= 2 ? 8 : 6);
        f.setStretch(QFont::Condensed);
        p.setFont(f);
        p.setPen(color);
        p.drawText(QRectF(0, 3, 16, 12), Qt::AlignCenter, label);
    });
}

QIcon forAction(const QString &name)
{
    const auto it = table().constFind(name);
    if (it == table().constEnd())
        return {};
    return draw(*it);
}

void page(QPainter &p, qreal x, qreal y, qreal w, qreal h)
{
    const qreal fold = std::min(w, h) * 0.3;
    QPolygonF poly;
    poly << QPointF(x, y) << QPointF(x + w - fold, y) << QPointF(x + w, y + fold)
         << QPointF(x + w, y + h) << QPointF(x, y + h);
    p.setPen(pen(QColor(90, 90, 100), 1));
    p.setBrush(kPaper);
    p.drawPolygon(poly);
    p.drawPolyline(QPolygonF() << QPointF(x + w - fold, y) << QPointF(x + w - fold, y + fold)
                               << QPointF(x + w, y + fold));
}

void folder(QPainter &p)
{
    p.setPen(pen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(240, 200, 90));
    QPolygonF back;
    back << QPointF(1.5, 3) << QPointF(6, 3) << QPointF(7.5, 4.5) << QPointF(14.5, 4.5)
         << QPointF(14.5, 13.5) << QPointF(1.5, 13.5);
    p.drawPolygon(back);
    p.setBrush(QColor(250, 220, 120));
    QPolygonF front;
    front << QPointF(1.5, 13.5) << QPointF(3.5, 7) << QPointF(15.5, 7) << QPointF(14.5, 13.5);
    p.drawPolygon(front);
}

void floppy(QPainter &p, qreal x, qreal y, qreal s)
{
    p.setPen(pen(QColor(20, 40, 90), 1));
    p.setBrush(QColor(50, 100, 190));
    p.drawRoundedRect(QRectF(x, y, s, s), 1, 1);
    p.setBrush(kPaper);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(x + s * 0.2, y + s * 0.08, s * 0.6, s * 0.38));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(x + s * 0.25, y + s * 0.62, s * 0.5, s * 0.38));
    p.setBrush(QColor(50, 100, 190));
    p.drawRect(QRectF(x + s * 0.55, y + s * 0.68, s * 0.1, s * 0.25));
}

void cross(QPainter &p, qreal x, qreal y, qreal s, const QColor &c)
{
    p.setPen(pen(c, 2));
    p.drawLine(QPointF(x, y), QPointF(x + s, y + s));
    p.drawLine(QPointF(x + s, y), QPointF(x, y + s));
}

void arrow(QPainter &p, bool right, const QColor &c)
{
    p.save();
    if (!right) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    QPolygonF poly;
    poly << QPointF(2, 6) << QPointF(8, 6) << QPointF(8, 2.5) << QPointF(14.5, 8)
         << QPointF(8, 13.5) << QPointF(8, 10) << QPointF(2, 10);
    p.setPen(pen(c.darker(140), 1));
    p.setBrush(c);
    p.drawPolygon(poly);
    p.restore();
}

void toolbarGlyph(QPainter &p)
{
    p.setPen(pen(QColor(90, 90, 100), 1));
    p.setBrush(QColor(225, 228, 235));
    p.drawRect(QRectF(1.5, 5, 13, 6));
    p.setBrush(kBlue);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(3 + i * 4, 6.5, 2.8, 3));
}

} // namespace Icons
