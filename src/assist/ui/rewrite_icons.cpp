#include "assist/ui/rewrite_icons.h"

#include "app/ui/icons.h"

#include <QPainter>

namespace {

const QColor kInk(40, 40, 40);
const QColor kBlue(30, 90, 180);
const QColor kGreen(20, 130, 60);

// Two short texts, one above the other, with an arrow between: a conversion.
QIcon conversion(const QString &from, const QString &to, bool live) {
    return Icons::draw([from, to, live](QPainter &p) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setBold(true);
        f.setPixelSize(7);
        p.setFont(f);
        p.setPen(kInk);
        p.drawText(QRectF(0, 0, 9, 8), Qt::AlignCenter, from);
        p.setPen(kBlue);
        p.drawText(QRectF(6, 8, 10, 8), Qt::AlignCenter, to);
        p.setPen(QPen(live ? kGreen : kInk, 1.2));
        p.drawLine(QPointF(3, 9.5), QPointF(3, 13.5));
        p.drawLine(QPointF(3, 13.5), QPointF(6.5, 13.5));
        p.drawLine(QPointF(5, 12), QPointF(6.5, 13.5));
        p.drawLine(QPointF(5, 15), QPointF(6.5, 13.5));
        if (live) {
            p.setPen(QPen(kGreen, 1.0));
            p.drawLine(QPointF(11, 1), QPointF(13, 4));
            p.drawLine(QPointF(13, 4), QPointF(15, 0.5));
        }
    });
}

// Text lines shifted right (indent) or left (unindent), with an arrow.
QIcon block(bool indent) {
    return Icons::draw([indent](QPainter &p) {
        p.setPen(QPen(kInk, 1.0));
        for (int i = 0; i < 5; ++i) {
            const qreal y = 2.5 + i * 2.75;
            const bool shifted = i >= 1 && i <= 3;
            p.drawLine(QPointF(shifted ? 8 : 2, y), QPointF(15, y));
        }
        // A small arrow in the gap left of the shifted lines.
        QPolygonF arrow;
        if (indent)
            arrow << QPointF(1.5, 5) << QPointF(6, 8) << QPointF(1.5, 11);
        else
            arrow << QPointF(6, 5) << QPointF(1.5, 8) << QPointF(6, 11);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(arrow);
    });
}

QIcon indenter() {
    return Icons::draw([](QPainter &p) {
        Icons::page(p, 1.5, 0.5, 13, 15);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(5);
        p.setFont(f);
        p.setPen(kBlue);
        p.drawText(QRectF(3, 1.5, 10, 5), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("<a>"));
        p.drawText(QRectF(6, 6, 8, 5), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("<b>"));
        p.drawText(QRectF(3, 10.5, 10, 5), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("</a>"));
    });
}

} // namespace

QIcon RewriteCommandIcon(const QString &name) {
    if (name == QLatin1String("ModifierConversion"))
        return conversion(QStringLiteral("é"), QStringLiteral("&"), false);
    if (name == QLatin1String("ModifierDeconversion"))
        return conversion(QStringLiteral("&"), QStringLiteral("é"), false);
    if (name == QLatin1String("ModifierConvVolee"))
        return conversion(QStringLiteral("é"), QStringLiteral("&"), true);
    if (name == QLatin1String("EditIndent")) return block(true);
    if (name == QLatin1String("EditIndentInv")) return block(false);
    if (name == QLatin1String("OutilsIndenter")) return indenter();
    if (name == QLatin1String("ModifierMAJ")) return Icons::text(QStringLiteral("AB"));
    if (name == QLatin1String("ModifierMin")) return Icons::text(QStringLiteral("ab"));
    if (name == QLatin1String("ModifierInverser")) return Icons::text(QStringLiteral("aB"));
    if (name == QLatin1String("ModifierCapitalize")) return Icons::text(QStringLiteral("Ab"));
    if (name == QLatin1String("ModifierSensitif")) return Icons::text(QStringLiteral("A."));
    if (name == QLatin1String("OutilsEncodeURL"))
        return Icons::text(QStringLiteral("%20"), kBlue, Icons::Bold);
    return {};
}
