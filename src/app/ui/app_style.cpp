#include "app/ui/app_style.h"

#include "app/ui/icons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

AppStyle::AppStyle() : QProxyStyle() {}

QIcon AppStyle::standardIcon(StandardPixmap icon, const QStyleOption *option,
                             const QWidget *widget) const {
    if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(icon, option, widget);
    const bool horizontal = icon == SP_ToolBarHorizontalExtensionButton;
    const QColor ink =
        (option ? option->palette : QApplication::palette()).color(QPalette::ButtonText);
    // Two chevrons pointing the way the hidden buttons are.
    return Icons::draw([horizontal, ink](QPainter &p) {
        if (!horizontal) {
            p.translate(16, 0);
            p.rotate(90);
        }
        QPainterPath path;
        for (qreal x : {4.0, 8.5}) {
            path.moveTo(x, 4.5);
            path.lineTo(x + 3.5, 8);
            path.lineTo(x, 11.5);
        }
        p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    });
}

void AppStyle::install() {
    if (!qobject_cast<AppStyle *>(QApplication::style())) QApplication::setStyle(new AppStyle);
}
