#pragma once

#include "authoring/font_colour.h"

#include <QColor>
#include <QFrame>
#include <QWidget>

#include <functional>
#include <optional>

class QMenu;
class QPushButton;

namespace ColourUi {

QColor toQColor(const Authoring::Rgb &rgb);
Authoring::Rgb toRgb(const QColor &colour);
// "#RRGGBB" of a colour.
QString colourText(const QColor &colour);

// Chooses a colour in the system colour dialog, fully open, starting from `initial`;
// nothing when cancelled. Goes through the dialog seam, so tests can answer it.
std::optional<QColor> askColour(QWidget *parent, const QColor &initial);

} // namespace ColourUi

// The toolkit's standard grid of colours, for the palettes in menus.
class ColourGrid : public QWidget {
    Q_OBJECT
public:
    explicit ColourGrid(QWidget *parent = nullptr);
    static QList<QColor> colours();
    // The swatch's place (for tests and keyboard users).
    QRect swatchRect(int index) const;

signals:
    void colourChosen(const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    int indexAt(const QPoint &pos) const;
    int m_hover = -1;
};

// Adds a colour grid to a menu; choosing a colour closes the menu and calls `chosen`.
ColourGrid *addColourGrid(QMenu *menu, std::function<void(const QColor &)> chosen);

class ColorSelectorPopup;

// The colour button of the font preset dialog: a sunken colour rectangle (empty for no
// colour) and an arrow; it opens a drop-down of twenty swatches and "&Autre...".
class TColorSelector : public QWidget {
    Q_OBJECT
public:
    explicit TColorSelector(QWidget *parent = nullptr);

    std::optional<Authoring::Rgb> colour() const { return m_colour; }
    // Shows a colour without notifying.
    void setColour(std::optional<Authoring::Rgb> colour);

    // Opens the drop-down below the button (above when the screen ends too soon).
    void openDropDown();
    ColorSelectorPopup *dropDown() const { return m_popup; }

    QSize sizeHint() const override;

signals:
    // A colour was chosen in the drop-down.
    void colourChosen(const Authoring::Rgb &colour);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::optional<Authoring::Rgb> m_colour;
    ColorSelectorPopup *m_popup = nullptr;
};

// The drop-down of TColorSelector: 78 by 120 pixels, 20 swatches of 16 pixels on an
// 18-pixel grid, an extra swatch for another colour and the "&Autre..." button.
class ColorSelectorPopup : public QFrame {
    Q_OBJECT
public:
    explicit ColorSelectorPopup(TColorSelector *owner);
    void setCurrent(std::optional<Authoring::Rgb> colour);
    // Top-left of swatch `index` (0 to 19; 20 is the extra swatch).
    QRect swatchRect(int index) const;
    QPushButton *otherButton() const { return m_other; }

signals:
    void chosen(const Authoring::Rgb &colour);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    std::optional<Authoring::Rgb> m_current;
    QPushButton *m_other;
};
