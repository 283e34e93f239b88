#include "authoring/ui/insertion_icons.h"

#include "app/ui/icons.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

const QColor kInk(30, 30, 30);
const QColor kBlue(30, 90, 180);

QPen pen(const QColor &c, qreal w) {
    QPen p(c, w);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

// Two letters on a coloured tab, for the server-side and SQL bars.
QIcon badge(const QString &label, const QColor &colour) {
    return Icons::draw([label, colour](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawRoundedRect(QRectF(0.5, 2.5, 15, 11), 2, 2);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(label.size() > 2 ? 6 : 8);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 2, 16, 12), Qt::AlignCenter, label);
    });
}

using Table = QHash<QString, std::function<QIcon()>>;

Table makeTable() {
    Table t;
    t[QStringLiteral("InsertionImage")] = [] {
        return Icons::draw([](QPainter &p) {
            // A framed landscape: sky, sun and a hill.
            p.setPen(pen(QColor(90, 90, 100), 1));
            p.setBrush(QColor(200, 225, 250));
            p.drawRect(QRectF(1.5, 2.5, 13, 11));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(240, 190, 30));
            p.drawEllipse(QPointF(11, 6), 1.8, 1.8);
            p.setBrush(QColor(60, 150, 60));
            p.drawPolygon(QPolygonF() << QPointF(2, 13) << QPointF(6.5, 7) << QPointF(10, 11)
                                      << QPointF(12, 9.5) << QPointF(14, 13));
        });
    };
    t[QStringLiteral("InsertionLien")] = [] {
        return Icons::draw([](QPainter &p) {
            // Two chain links.
            p.setPen(pen(kBlue, 1.6));
            p.setBrush(Qt::NoBrush);
            p.save();
            p.translate(8, 8);
            p.rotate(-45);
            p.drawRoundedRect(QRectF(-7, -2.5, 8, 5), 2.5, 2.5);
            p.drawRoundedRect(QRectF(-1, -2.5, 8, 5), 2.5, 2.5);
            p.restore();
        });
    };
    t[QStringLiteral("InsertionAncre")] = [] {
        return Icons::draw([](QPainter &p) {
            p.setPen(pen(kInk, 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(8, 3), 1.5, 1.5);
            p.drawLine(QPointF(8, 4.5), QPointF(8, 14));
            p.drawLine(QPointF(5, 7), QPointF(11, 7));
            QPainterPath arc;
            arc.moveTo(2.5, 9.5);
            arc.quadTo(3.5, 14, 8, 14);
            arc.quadTo(12.5, 14, 13.5, 9.5);
            p.drawPath(arc);
        });
    };
    t[QStringLiteral("InsertionMail")] = [] {
        return Icons::draw([](QPainter &p) {
            p.setPen(pen(QColor(90, 90, 100), 1));
            p.setBrush(QColor(250, 245, 225));
            p.drawRect(QRectF(1.5, 3.5, 13, 9));
            p.drawPolyline(QPolygonF() << QPointF(1.5, 3.5) << QPointF(8, 9) << QPointF(14.5, 3.5));
        });
    };
    t[QStringLiteral("InsertionSon")] = [] {
        return Icons::draw([](QPainter &p) {
            // A loudspeaker and its waves.
            p.setPen(Qt::NoPen);
            p.setBrush(kInk);
            p.drawPolygon(QPolygonF()
                          << QPointF(1.5, 6) << QPointF(4.5, 6) << QPointF(8.5, 2.5)
                          << QPointF(8.5, 13.5) << QPointF(4.5, 10) << QPointF(1.5, 10));
            p.setPen(pen(kBlue, 1.2));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(7, 5, 5, 6), -60 * 16, 120 * 16);
            p.drawArc(QRectF(6.5, 2.5, 8.5, 11), -60 * 16, 120 * 16);
        });
    };
    t[QStringLiteral("InsertionVideo")] = [] {
        return Icons::draw([](QPainter &p) {
            // A strip of film.
            p.setPen(Qt::NoPen);
            p.setBrush(kInk);
            p.drawRect(QRectF(2, 1.5, 12, 13));
            p.setBrush(Qt::white);
            for (int i = 0; i < 4; ++i) {
                p.drawRect(QRectF(3, 2.5 + i * 3.2, 1.5, 1.6));
                p.drawRect(QRectF(11.5, 2.5 + i * 3.2, 1.5, 1.6));
            }
            p.setBrush(QColor(200, 225, 250));
            p.drawRect(QRectF(5.5, 3, 5, 4.5));
            p.drawRect(QRectF(5.5, 8.5, 5, 4.5));
        });
    };
    t[QStringLiteral("InsertionScript")] = [] { return Icons::markup(QStringLiteral("js")); };
    const QColor asp(120, 60, 150);
    const QColor php(70, 90, 150);
    const QColor sql(190, 110, 30);
    t[QStringLiteral("ASPBloc")] = [asp] { return badge(QStringLiteral("<%"), asp); };
    t[QStringLiteral("ASPCommenter")] = [asp] { return badge(QStringLiteral("'"), asp); };
    t[QStringLiteral("ASPDecommenter")] = [asp] { return badge(QStringLiteral("-'"), asp); };
    t[QStringLiteral("ASPProcedure")] = [asp] { return badge(QStringLiteral("Sub"), asp); };
    t[QStringLiteral("ASPInc")] = [asp] { return badge(QStringLiteral("inc"), asp); };
    t[QStringLiteral("ASPChaine")] = [asp] { return badge(QStringLiteral("\"\""), asp); };
    t[QStringLiteral("PHPBloc")] = [php] { return badge(QStringLiteral("<?"), php); };
    t[QStringLiteral("PHPCommenter")] = [php] { return badge(QStringLiteral("/*"), php); };
    t[QStringLiteral("PHPInc")] = [php] { return badge(QStringLiteral("inc"), php); };
    const struct {
        const char *name, *label;
    } sqlBadges[] = {
        {"SQLCreateTable", "CRT"}, {"SQLDropTable", "DRP"}, {"SQLInsert", "INS"},
        {"SQLSelect", "SEL"},      {"SQLUpdate", "UPD"},    {"SQLDelete", "DEL"},
        {"SQLInnerJoin", "JN"},    {"SQLLeftJoin", "LJ"},   {"SQLRightOuterJoin", "RJ"}};
    for (const auto &b : sqlBadges) {
        const QString label = QLatin1String(b.label);
        t[QLatin1String(b.name)] = [label, sql] { return badge(label, sql); };
    }
    return t;
}

} // namespace

QIcon InsertionIcon(const QString &name) {
    static const Table table = makeTable();
    const auto it = table.constFind(name);
    return it == table.constEnd() ? QIcon() : (*it)();
}
