#include "authoring/ui/text_command_icons.h"

#include "app/ui/icons.h"
#include "authoring/ui/list_style_icons.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kInk(30, 30, 30);
const QColor kBlue(30, 90, 180);
const QColor kGrey(120, 120, 120);

QPen pen(const QColor &c, qreal w = 1.0) {
    QPen p(c, w);
    p.setCapStyle(Qt::FlatCap);
    return p;
}

QFont font(int pixels, bool bold = true, bool italic = false,
           const QString &family = QStringLiteral("DejaVu Sans")) {
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// Four text lines placed by the alignment: 0 left, 1 centre, 2 right, 3 justified.
QIcon alignment(int how) {
    return Icons::draw([how](QPainter &p) {
        p.setPen(pen(kInk, 1.4));
        const qreal widths[] = {13, 9, 12, 7};
        for (int i = 0; i < 4; ++i) {
            const qreal w = how == 3 && i < 3 ? 13 : widths[i];
            const qreal x = how == 0 || how == 3 ? 1.5 : how == 1 ? 8 - w / 2 : 14.5 - w;
            const qreal y = 2.5 + i * 3.6;
            p.drawLine(QPointF(x, y), QPointF(x + w, y));
        }
    });
}

// A letter with a small figure above (superscript) or below (subscript).
QIcon script(bool above) {
    return Icons::draw([above](QPainter &p) {
        p.setFont(font(12));
        p.setPen(kInk);
        p.drawText(QRectF(0, 2, 10, 13), Qt::AlignCenter, QStringLiteral("x"));
        p.setFont(font(8));
        p.setPen(kBlue);
        p.drawText(QRectF(9, above ? 0 : 8, 7, 8), Qt::AlignCenter, QStringLiteral("2"));
    });
}

// The "A" of a font size with an arrow up or down.
QIcon sizeStep(int step) {
    return Icons::draw([step](QPainter &p) {
        p.setFont(font(step == 0 ? 14 : 12));
        p.setPen(kInk);
        p.drawText(QRectF(step == 0 ? 0 : -2, 1, 14, 15), Qt::AlignCenter, QStringLiteral("A"));
        if (step == 0) return;
        p.setPen(Qt::NoPen);
        p.setBrush(step > 0 ? QColor(0, 140, 60) : QColor(200, 40, 40));
        QPolygonF tip;
        if (step > 0)
            tip << QPointF(11, 6) << QPointF(15.5, 6) << QPointF(13.25, 2);
        else
            tip << QPointF(11, 10) << QPointF(15.5, 10) << QPointF(13.25, 14);
        p.drawPolygon(tip);
    });
}

using Table = QHash<QString, std::function<QIcon()>>;

Table makeTable() {
    Table t;
    t[QStringLiteral("StyleGras")] = [] {
        return Icons::text(QStringLiteral("B"), kInk, Icons::Bold);
    };
    t[QStringLiteral("StyleItalique")] = [] {
        return Icons::text(QStringLiteral("I"), kInk, Icons::Bold | Icons::Italic);
    };
    t[QStringLiteral("StyleSouligne")] = [] {
        return Icons::text(QStringLiteral("U"), kInk, Icons::Bold | Icons::Underline);
    };
    t[QStringLiteral("StyleExposant")] = [] { return script(true); };
    t[QStringLiteral("StyleIndice")] = [] { return script(false); };
    t[QStringLiteral("Barr1")] = [] {
        return Icons::text(QStringLiteral("S"), kInk, Icons::Bold | Icons::StrikeOut);
    };
    t[QStringLiteral("Tltype1")] = [] { return Icons::markup(QStringLiteral("tt")); };
    t[QStringLiteral("Accentuation1")] = [] { return Icons::markup(QStringLiteral("em")); };
    t[QStringLiteral("Forteaccentuation1")] = [] { return Icons::markup(QStringLiteral("str")); };
    t[QStringLiteral("Code1")] = [] { return Icons::markup(QStringLiteral("code")); };
    t[QStringLiteral("Variable1")] = [] { return Icons::markup(QStringLiteral("var")); };
    t[QStringLiteral("Echantillon1")] = [] { return Icons::markup(QStringLiteral("samp")); };
    t[QStringLiteral("Clavie1")] = [] { return Icons::markup(QStringLiteral("kbd")); };
    t[QStringLiteral("Citation1")] = [] { return Icons::markup(QStringLiteral("cite")); };
    t[QStringLiteral("Dfinition1")] = [] { return Icons::markup(QStringLiteral("dfn")); };
    for (int level = 1; level <= 6; ++level) {
        t[QStringLiteral("Head%1").arg(level)] = [level] {
            return Icons::text(QStringLiteral("H%1").arg(level), kBlue, Icons::Bold);
        };
    }
    t[QStringLiteral("TexteParagraphe")] = [] {
        return Icons::text(QString(QChar(0x00B6)), kInk, Icons::Bold);
    };
    t[QStringLiteral("TexteRetrait")] = [] {
        return Icons::draw([](QPainter &p) {
            p.setPen(pen(kInk, 1.4));
            p.drawLine(QPointF(1.5, 2.5), QPointF(14.5, 2.5));
            p.drawLine(QPointF(7, 6.5), QPointF(14.5, 6.5));
            p.drawLine(QPointF(7, 10), QPointF(14.5, 10));
            p.drawLine(QPointF(1.5, 14), QPointF(14.5, 14));
            p.setPen(Qt::NoPen);
            p.setBrush(kBlue);
            p.drawPolygon(QPolygonF() << QPointF(1.5, 5.5) << QPointF(5, 8.25) << QPointF(1.5, 11));
        });
    };
    t[QStringLiteral("TexteCommentaire")] = [] {
        return Icons::draw([](QPainter &p) {
            // Four characters squeezed to the width of the picture.
            QPainterPath path;
            path.addText(0, 0, font(11), QStringLiteral("<!--"));
            const QRectF box = path.boundingRect();
            p.translate(0.5, 8 - box.height() / 2);
            p.scale(15 / box.width(), 1);
            p.translate(-box.left(), -box.top());
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 128, 0));
            p.drawPath(path);
        });
    };
    t[QStringLiteral("AlignementGauche")] = [] { return alignment(0); };
    t[QStringLiteral("AlignementCentre")] = [] { return alignment(1); };
    t[QStringLiteral("AlignementDroite")] = [] { return alignment(2); };
    t[QStringLiteral("Alignementjustifie")] = [] { return alignment(3); };
    t[QStringLiteral("InsertionBreak")] = [] {
        return Icons::draw([](QPainter &p) {
            // The return arrow of a line break.
            QPainterPath path;
            path.moveTo(13.5, 2);
            path.lineTo(13.5, 9);
            path.lineTo(4, 9);
            p.setPen(pen(kBlue, 1.8));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
            p.setPen(Qt::NoPen);
            p.setBrush(kBlue);
            p.drawPolygon(QPolygonF() << QPointF(1, 9) << QPointF(5.5, 5) << QPointF(5.5, 13));
        });
    };
    t[QStringLiteral("texteEspace")] = [] {
        return Icons::draw([](QPainter &p) {
            // The open box of a visible space.
            p.setPen(pen(kInk, 1.5));
            p.drawPolyline(QPolygonF()
                           << QPointF(2, 8) << QPointF(2, 12) << QPointF(14, 12) << QPointF(14, 8));
            p.setFont(font(6));
            p.setPen(kBlue);
            p.drawText(QRectF(0, 0, 16, 8), Qt::AlignCenter, QStringLiteral("nbsp"));
        });
    };
    t[QStringLiteral("InsertionDate")] = [] {
        return Icons::draw([](QPainter &p) {
            // A calendar leaf.
            p.setPen(pen(QColor(90, 90, 100), 1));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(1.5, 2.5, 13, 12));
            p.fillRect(QRectF(2, 3, 12, 3), QColor(200, 40, 40));
            p.setPen(pen(kInk, 1.2));
            p.drawLine(QPointF(4.5, 1), QPointF(4.5, 4));
            p.drawLine(QPointF(11.5, 1), QPointF(11.5, 4));
            p.setPen(Qt::NoPen);
            p.setBrush(kGrey);
            for (int row = 0; row < 2; ++row) {
                for (int col = 0; col < 4; ++col)
                    p.drawRect(QRectF(3 + col * 2.7, 8 + row * 3, 1.8, 1.8));
            }
        });
    };
    t[QStringLiteral("InsertionListe")] = [] { return ListStyleIcon(1); };
    t[QStringLiteral("InsertionListeOrdonnee")] = [] { return ListStyleIcon(4); };
    t[QStringLiteral("InsertionListeDef")] = [] { return ListStyleIcon(9); };
    t[QStringLiteral("InsertionHR")] = [] {
        return Icons::draw([](QPainter &p) {
            p.setPen(pen(kGrey, 1));
            p.drawLine(QPointF(3, 3), QPointF(13, 3));
            p.drawLine(QPointF(3, 13), QPointF(13, 13));
            // The rule, with its light and dark edges.
            p.fillRect(QRectF(0.5, 6.5, 15, 3), QColor(150, 150, 160));
            p.setPen(pen(QColor(90, 90, 100), 1));
            p.drawLine(QPointF(0.5, 9.5), QPointF(15.5, 9.5));
            p.setPen(pen(Qt::white, 1));
            p.drawLine(QPointF(0.5, 6.5), QPointF(15.5, 6.5));
        });
    };
    t[QStringLiteral("MenuTaille")] = [] { return sizeStep(0); };
    t[QStringLiteral("MenuAugmenterTaille")] = [] { return sizeStep(1); };
    t[QStringLiteral("MenuDiminuerTaille")] = [] { return sizeStep(-1); };
    t[QStringLiteral("MenuCaracteresAccentues")] = [] {
        return Icons::text(QStringLiteral("é"), kBlue, Icons::Bold);
    };
    t[QStringLiteral("MenuCaracteresSpeciaux")] = [] {
        return Icons::text(QStringLiteral("©"), kBlue, Icons::Bold);
    };
    return t;
}

} // namespace

QIcon TextCommandIcon(const QString &name) {
    static const Table table = makeTable();
    const auto it = table.constFind(name);
    return it == table.constEnd() ? QIcon() : (*it)();
}
