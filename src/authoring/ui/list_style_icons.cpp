#include "authoring/ui/list_style_icons.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>

namespace {

constexpr int kSize = 32;
constexpr int kScale = 2; // drawn at twice the size for sharp high-density screens

QPixmap drawList(int button) {
    QPixmap pixmap(kSize * kScale, kSize * kScale);
    pixmap.setDevicePixelRatio(kScale);
    pixmap.fill(Qt::transparent);

    const QPalette palette = QGuiApplication::palette();
    const QColor ink = palette.color(QPalette::Text);
    const QColor line = palette.color(QPalette::Mid);

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setPixelSize(8);
    font.setBold(true);
    p.setFont(font);

    const int rows[] = {6, 15, 24}; // vertical centres
    const QStringList marks[] = {
        {},
        {},
        {},
        {},
        {QStringLiteral("1."), QStringLiteral("2."), QStringLiteral("3.")},
        {QStringLiteral("a."), QStringLiteral("b."), QStringLiteral("c.")},
        {QStringLiteral("A."), QStringLiteral("B."), QStringLiteral("C.")},
        {QStringLiteral("i."), QStringLiteral("ii."), QStringLiteral("iii.")},
        {QStringLiteral("I."), QStringLiteral("II."), QStringLiteral("III.")},
    };

    for (int r = 0; r < 3; ++r) {
        const int y = rows[r];
        int textStart = 12;
        if (button >= 1 && button <= 3) {
            const QRectF mark(3, y - 2.5, 5, 5);
            p.setPen(button == 3 ? QPen(ink, 1.2) : Qt::NoPen);
            p.setBrush(button == 3 ? QBrush(Qt::NoBrush) : QBrush(ink));
            if (button == 2)
                p.drawRect(mark);
            else
                p.drawEllipse(mark);
        } else if (button >= 4 && button <= 8) {
            p.setPen(ink);
            p.drawText(QRectF(0, y - 5, 14, 10), Qt::AlignRight | Qt::AlignVCenter,
                       marks[button].at(r));
            textStart = 16;
        } else {
            // Short dark terms at the margin, their descriptions indented.
            p.setPen(Qt::NoPen);
            if (r != 1) {
                p.setBrush(ink);
                p.drawRect(QRectF(3, y - 1.5, 14, 3));
                continue;
            }
            textStart = 10;
        }
        p.setPen(Qt::NoPen);
        p.setBrush(line);
        p.drawRect(QRectF(textStart, y - 1.5, kSize - 2 - textStart, 3));
    }
    return pixmap;
}

} // namespace

QIcon ListStyleIcon(int button) {
    return QIcon(drawList(button));
}
