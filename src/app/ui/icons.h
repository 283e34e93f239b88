#pragma once

#include <QColor>
#include <QIcon>
#include <QString>
#include <functional>

class QPainter;

// The program's pictures, drawn rather than shipped: each is painted on a 16x16
// grid and rendered at several sizes.
namespace Icons {

using Painter = std::function<void(QPainter &p)>;

// Renders a 16x16 drawing at 16, 24, 32 and 48 pixels.
QIcon draw(const Painter &paint);
// Letters as a picture ("B", "H1", "<p>"...).
enum TextStyle { Plain = 0, Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
QIcon text(const QString &label, const QColor &color = QColor(30, 30, 30), int style = Bold);
// Letters on a small page, for commands that write markup.
QIcon markup(const QString &label, const QColor &color = QColor(20, 70, 160));

// The picture of an action, by its name; a null icon when there is none.
QIcon forAction(const QString &name);

// Shapes shared by pictures.
void page(QPainter &p, qreal x, qreal y, qreal w, qreal h);
void folder(QPainter &p);
void floppy(QPainter &p, qreal x, qreal y, qreal size);
void cross(QPainter &p, qreal x, qreal y, qreal size, const QColor &c = QColor(200, 30, 30));
void arrow(QPainter &p, bool right, const QColor &c);
void toolbarGlyph(QPainter &p);

} // namespace Icons
