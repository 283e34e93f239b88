#include "authoring/ui/form_command_icons.h"

#include "app/ui/icons.h"

#include <QFont>
#include <QHash>
#include <QPainter>

#include <functional>

namespace {

const QColor kInk(30, 30, 30);
const QColor kBlue(30, 90, 180);
const QColor kFrame(90, 90, 100);

QPen pen(const QColor &c, qreal w = 1.0) {
    return QPen(c, w, Qt::SolidLine, Qt::FlatCap);
}

// A white entry field with a sunken frame.
void field(QPainter &p, const QRectF &r) {
    p.setPen(pen(kFrame));
    p.setBrush(Qt::white);
    p.drawRect(r);
}

void label(QPainter &p, const QRectF &r, const QString &text, int pixels, const QColor &c = kInk) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(true);
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, Qt::AlignCenter, text);
}

// A raised push button with a caption.
QIcon button(const QString &caption, const QColor &c) {
    return Icons::draw([caption, c](QPainter &p) {
        p.setPen(pen(kFrame));
        p.setBrush(QColor(225, 225, 230));
        p.drawRoundedRect(QRectF(0.5, 3.5, 15, 9), 2, 2);
        label(p, QRectF(0, 3, 16, 10), caption, 7, c);
    });
}

using Table = QHash<QString, std::function<QIcon()>>;

Table makeTable() {
    Table t;
    t[QStringLiteral("InsertionFormulaire")] = [] {
        return Icons::draw([](QPainter &p) {
            Icons::page(p, 1.5, 0.5, 13, 15);
            field(p, QRectF(3.5, 4.5, 9, 3));
            field(p, QRectF(3.5, 9.5, 9, 3));
        });
    };
    t[QStringLiteral("FormulaireRadio")] = [] {
        return Icons::draw([](QPainter &p) {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(pen(kFrame));
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(8, 8), 6, 6);
            p.setPen(Qt::NoPen);
            p.setBrush(kInk);
            p.drawEllipse(QPointF(8, 8), 2.8, 2.8);
        });
    };
    t[QStringLiteral("FormulaireCocher")] = [] {
        return Icons::draw([](QPainter &p) {
            field(p, QRectF(2.5, 2.5, 11, 11));
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(pen(kInk, 1.8));
            p.drawPolyline(QPolygonF() << QPointF(4.5, 8) << QPointF(7, 10.5) << QPointF(11.5, 5));
        });
    };
    t[QStringLiteral("FormulaireListeDeroulante")] = [] {
        return Icons::draw([](QPainter &p) {
            field(p, QRectF(0.5, 4.5, 15, 7));
            p.fillRect(QRectF(10, 5, 5.5, 6.5), QColor(210, 210, 215));
            p.setPen(Qt::NoPen);
            p.setBrush(kInk);
            p.drawPolygon(QPolygonF() << QPointF(11, 7) << QPointF(14.5, 7) << QPointF(12.75, 9.5));
        });
    };
    t[QStringLiteral("FormulaireListe")] = [] {
        return Icons::draw([](QPainter &p) {
            field(p, QRectF(0.5, 1.5, 15, 13));
            p.fillRect(QRectF(11, 2, 4.5, 12.5), QColor(210, 210, 215));
            p.fillRect(QRectF(2, 6, 8.5, 3), QColor(60, 110, 200));
            p.setPen(pen(kInk));
            p.drawLine(QPointF(3, 4), QPointF(9, 4));
            p.drawLine(QPointF(3, 11), QPointF(9, 11));
        });
    };
    t[QStringLiteral("FormulaireTexte")] = [] {
        return Icons::draw([](QPainter &p) {
            field(p, QRectF(0.5, 3.5, 15, 9));
            label(p, QRectF(0, 3, 12, 10), QStringLiteral("ab"), 8, kBlue);
            p.setPen(pen(kInk));
            p.drawLine(QPointF(12.5, 5), QPointF(12.5, 11));
        });
    };
    t[QStringLiteral("FormulairePassword")] = [] {
        return Icons::draw([](QPainter &p) {
            field(p, QRectF(0.5, 3.5, 15, 9));
            label(p, QRectF(0, 4, 16, 10), QStringLiteral("***"), 9, kBlue);
        });
    };
    t[QStringLiteral("FormulaireTexteMultiligne")] = [] {
        return Icons::draw([](QPainter &p) {
            field(p, QRectF(0.5, 0.5, 15, 15));
            p.fillRect(QRectF(12, 1, 3.5, 14.5), QColor(210, 210, 215));
            p.setPen(pen(kBlue));
            for (int i = 0; i < 4; ++i)
                p.drawLine(QPointF(2.5, 3.5 + i * 3), QPointF(i == 3 ? 7 : 10, 3.5 + i * 3));
        });
    };
    t[QStringLiteral("FormulaireBouton")] = [] { return button(QStringLiteral("ok"), kInk); };
    t[QStringLiteral("FormulaireBoutonSoumettre")] = [] {
        return Icons::draw([](QPainter &p) {
            p.setPen(pen(kFrame));
            p.setBrush(QColor(225, 225, 230));
            p.drawRoundedRect(QRectF(0.5, 3.5, 15, 9), 2, 2);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(pen(QColor(20, 140, 40), 1.8));
            p.drawPolyline(QPolygonF()
                           << QPointF(4.5, 8) << QPointF(7, 10.5) << QPointF(11.5, 5.5));
        });
    };
    t[QStringLiteral("FormulaireBoutonReinitialiser")] = [] {
        return Icons::draw([](QPainter &p) {
            p.setPen(pen(kFrame));
            p.setBrush(QColor(225, 225, 230));
            p.drawRoundedRect(QRectF(0.5, 3.5, 15, 9), 2, 2);
            Icons::cross(p, 5, 5, 6);
        });
    };
    t[QStringLiteral("FormulaireBoutonParcourir")] = [] {
        return Icons::draw([](QPainter &p) {
            field(p, QRectF(0.5, 4.5, 9, 7));
            p.setPen(pen(kFrame));
            p.setBrush(QColor(225, 225, 230));
            p.drawRect(QRectF(10.5, 4.5, 5, 7));
            label(p, QRectF(10, 3, 6, 10), QStringLiteral("..."), 7);
        });
    };
    t[QStringLiteral("FormulaireHidden")] = [] {
        return Icons::draw([](QPainter &p) {
            QPen dashed = pen(kFrame);
            dashed.setStyle(Qt::DashLine);
            p.setPen(dashed);
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(0.5, 3.5, 15, 9));
            label(p, QRectF(0, 3, 16, 10), QStringLiteral("h"), 8, QColor(140, 140, 150));
        });
    };
    t[QStringLiteral("FormulaireImage")] = [] {
        return Icons::draw([](QPainter &p) {
            p.setPen(pen(kFrame));
            p.setBrush(QColor(200, 225, 250));
            p.drawRect(QRectF(0.5, 2.5, 15, 11));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(60, 150, 60));
            p.drawPolygon(QPolygonF() << QPointF(1, 13) << QPointF(6, 7) << QPointF(10, 11)
                                      << QPointF(12, 9) << QPointF(15, 13));
            p.setBrush(QColor(240, 200, 40));
            p.drawEllipse(QPointF(11.5, 5.5), 1.6, 1.6);
        });
    };
    t[QStringLiteral("InsertionTableau")] = [] {
        return Icons::draw([](QPainter &p) {
            p.setPen(pen(kFrame));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(0.5, 1.5, 15, 13));
            p.fillRect(QRectF(1, 2, 14.5, 3.5), QColor(60, 110, 200));
            p.setPen(pen(kFrame));
            for (qreal y : {5.5, 8.5, 11.5})
                p.drawLine(QPointF(0.5, y), QPointF(15.5, y));
            for (qreal x : {5.5, 10.5})
                p.drawLine(QPointF(x, 1.5), QPointF(x, 14.5));
        });
    };
    return t;
}

} // namespace

QIcon FormCommandIcon(const QString &name) {
    static const Table table = makeTable();
    const auto it = table.constFind(name);
    return it == table.constEnd() ? QIcon() : (*it)();
}
