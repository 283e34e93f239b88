#include "authoring/ui/colour_widgets.h"

#include "app/ui/ui_services.h"

#include <QApplication>
#include <QColorDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QWidgetAction>
#include <qdrawutil.h>

namespace ColourUi {

QColor toQColor(const Authoring::Rgb &rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

Authoring::Rgb toRgb(const QColor &colour) {
    const QColor c = colour.toRgb();
    return {c.red(), c.green(), c.blue()};
}

QString colourText(const QColor &colour) {
    return Authoring::ColourText(toRgb(colour));
}

std::optional<QColor> askColour(QWidget *parent, const QColor &initial) {
    QColorDialog dialog(initial.isValid() ? initial : QColor(Qt::black), parent);
    dialog.setWindowTitle(QStringLiteral("Couleur"));
    if (ui().execDialog(&dialog) != QDialog::Accepted) return std::nullopt;
    const QColor c = dialog.currentColor();
    if (!c.isValid()) return std::nullopt;
    return c;
}

} // namespace ColourUi

namespace {
constexpr int kGridColumns = 8;
constexpr int kGridRows = 6;
constexpr int kCell = 18;
constexpr int kSwatch = 14;
} // namespace

ColourGrid::ColourGrid(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ColourGrid"));
    setMouseTracking(true);
    setFixedSize(kGridColumns * kCell + 4, kGridRows * kCell + 4);
}

QList<QColor> ColourGrid::colours() {
    QList<QColor> l;
    for (int i = 0; i < kGridColumns * kGridRows; ++i)
        l << QColorDialog::standardColor(i);
    return l;
}

QRect ColourGrid::swatchRect(int index) const {
    // The standard grid is stored column by column.
    const int col = index / kGridRows;
    const int row = index % kGridRows;
    return QRect(2 + col * kCell + 2, 2 + row * kCell + 2, kSwatch, kSwatch);
}

int ColourGrid::indexAt(const QPoint &pos) const {
    for (int i = 0; i < kGridColumns * kGridRows; ++i) {
        if (swatchRect(i).adjusted(-2, -2, 2, 2).contains(pos)) return i;
    }
    return -1;
}

void ColourGrid::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const QList<QColor> cs = colours();
    for (int i = 0; i < cs.size(); ++i) {
        const QRect r = swatchRect(i);
        if (i == m_hover) {
            p.setPen(palette().color(QPalette::Highlight));
            p.drawRect(r.adjusted(-2, -2, 1, 1));
        }
        p.fillRect(r, cs.at(i));
        p.setPen(palette().color(QPalette::Shadow));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

void ColourGrid::mouseMoveEvent(QMouseEvent *event) {
    const int i = indexAt(event->position().toPoint());
    if (i != m_hover) {
        m_hover = i;
        update();
    }
}

void ColourGrid::leaveEvent(QEvent *) {
    m_hover = -1;
    update();
}

void ColourGrid::mouseReleaseEvent(QMouseEvent *event) {
    const int i = indexAt(event->position().toPoint());
    if (i >= 0) emit colourChosen(colours().at(i));
}

ColourGrid *addColourGrid(QMenu *menu, std::function<void(const QColor &)> chosen) {
    auto *action = new QWidgetAction(menu);
    auto *grid = new ColourGrid(menu);
    action->setDefaultWidget(grid);
    menu->addAction(action);
    QObject::connect(grid, &ColourGrid::colourChosen, menu, [menu, chosen](const QColor &c) {
        // Close the whole chain of menus, as choosing any menu item does.
        for (QWidget *w = menu; w; w = w->parentWidget()) {
            if (auto *m = qobject_cast<QMenu *>(w)) m->close();
        }
        chosen(c);
    });
    return grid;
}

// ---------------------------------------------------------------------------------------

namespace {
constexpr int kPopupWidth = 78;
constexpr int kPopupHeight = 120;
constexpr int kSelSwatch = 16;
constexpr int kSelGrid = 18;
} // namespace

TColorSelector::TColorSelector(QWidget *parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setToolTip(QStringLiteral("Couleur"));
    m_popup = new ColorSelectorPopup(this);
    connect(m_popup, &ColorSelectorPopup::chosen, this, [this](const Authoring::Rgb &c) {
        m_popup->hide();
        m_colour = c;
        update();
        emit colourChosen(c);
    });
}

QSize TColorSelector::sizeHint() const {
    return QSize(44, 22);
}

void TColorSelector::setColour(std::optional<Authoring::Rgb> colour) {
    m_colour = colour;
    update();
}

void TColorSelector::openDropDown() {
    m_popup->setCurrent(m_colour);
    QPoint at = mapToGlobal(QPoint(0, height()));
    const QScreen *s = screen();
    const QRect avail = s ? s->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
    if (avail.bottom() - at.y() < kPopupHeight) at = mapToGlobal(QPoint(0, -kPopupHeight));
    m_popup->move(at);
    m_popup->show();
    m_popup->raise();
}

void TColorSelector::paintEvent(QPaintEvent *) {
    QPainter p(this);
    QStyleOptionButton opt;
    opt.initFrom(this);
    opt.state |= m_popup->isVisible() ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, this);
    const int arrowWidth = 12;
    const QRect colourRect = rect().adjusted(4, 4, -arrowWidth - 4, -4);
    qDrawShadePanel(&p, colourRect, palette(), true, 1);
    if (m_colour) p.fillRect(colourRect.adjusted(1, 1, -1, -1), ColourUi::toQColor(*m_colour));
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = QRect(width() - arrowWidth - 3, 0, arrowWidth, height());
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &p, this);
    if (hasFocus()) {
        QStyleOptionFocusRect f;
        f.initFrom(this);
        f.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &f, &p, this);
    }
}

void TColorSelector::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && isEnabled()) openDropDown();
}

void TColorSelector::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Space) {
        openDropDown();
        return;
    }
    QWidget::keyPressEvent(event);
}

ColorSelectorPopup::ColorSelectorPopup(TColorSelector *owner)
    : QFrame(owner, Qt::Popup | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("ColorSelectorDropDown"));
    setFixedSize(kPopupWidth, kPopupHeight);
    setFrameShape(QFrame::Box);
    m_other = new QPushButton(QStringLiteral("&Autre..."), this);
    m_other->setObjectName(QStringLiteral("BoutAutre"));
    m_other->setGeometry(3, kPopupHeight - 24, 50, 21);
    connect(m_other, &QPushButton::clicked, this, [this, owner] {
        hide();
        const std::optional<QColor> c = ColourUi::askColour(
            owner->window(), m_current ? ColourUi::toQColor(*m_current) : QColor());
        if (c) emit chosen(ColourUi::toRgb(*c));
    });
}

void ColorSelectorPopup::setCurrent(std::optional<Authoring::Rgb> colour) {
    m_current = colour;
    update();
}

QRect ColorSelectorPopup::swatchRect(int index) const {
    if (index >= 20) // the extra swatch, bottom right
        return QRect(kPopupWidth - 3 - kSelSwatch, kPopupHeight - 3 - 19, kSelSwatch, kSelSwatch);
    return QRect(3 + (index % 4) * kSelGrid, 3 + (index / 4) * kSelGrid, kSelSwatch, kSelSwatch);
}

void ColorSelectorPopup::paintEvent(QPaintEvent *event) {
    QFrame::paintEvent(event);
    QPainter p(this);
    const auto &swatches = Authoring::SelectorSwatches();
    const int current = m_current ? Authoring::SwatchIndex(*m_current) : -1;
    auto draw = [&](int i, const QColor &c, bool framed) {
        const QRect r = swatchRect(i);
        p.fillRect(r, c);
        qDrawShadePanel(&p, r, palette(), true, 1);
        if (framed) {
            p.setPen(QPen(palette().color(QPalette::Highlight), 2));
            p.drawRect(r.adjusted(-1, -1, 0, 0));
        }
    };
    for (int i = 0; i < int(swatches.size()); ++i)
        draw(i, ColourUi::toQColor(swatches[i]), i == current);
    if (m_current && current < 0) draw(20, ColourUi::toQColor(*m_current), true);
}

void ColorSelectorPopup::mouseReleaseEvent(QMouseEvent *event) {
    const QPoint pos = event->position().toPoint();
    if (!rect().contains(pos)) {
        hide();
        return;
    }
    const auto &swatches = Authoring::SelectorSwatches();
    for (int i = 0; i < int(swatches.size()); ++i) {
        if (swatchRect(i).contains(pos)) {
            emit chosen(swatches[i]);
            return;
        }
    }
    if (m_current && Authoring::SwatchIndex(*m_current) < 0 && swatchRect(20).contains(pos))
        emit chosen(*m_current);
}
