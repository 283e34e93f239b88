#pragma once

#include "authoring/font_colour.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QWidget>

#include <functional>

class QFrame;
class QLabel;
class QTimer;

// The window of the screen colour picker: a still copy of the screen under an
// eyedropper cursor, with a small panel showing the colour under the pointer.
class TPipetteBox : public QWidget {
    Q_OBJECT
public:
    // `shot` is the copy of the screen whose top-left is `origin` on the desktop.
    TPipetteBox(const QImage &shot, const QPoint &origin);

    // The colour of the copy at a point of the desktop (the panel's colour).
    QColor colourAt(const QPoint &global) const;
    QColor panelColour() const { return m_panelColour; }
    QFrame *panel() const { return m_panel; }

signals:
    void picked(const QColor &colour);
    void cancelled();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sample();
    void finish();

    QImage m_shot;
    QPoint m_origin;
    QFrame *m_panel;
    QLabel *m_cancel;
    QTimer *m_timer;
    QColor m_panelColour;
    QPoint m_dragFrom;
    bool m_done = false;
};

// Runs the picker in the way this desktop allows: our own window over a copy of the
// screen, the desktop's colour-picking service, or a message saying that picking
// is not available. `done` receives the colour picked (not called on a cancel).
class ScreenColourPicker : public QObject {
    Q_OBJECT
public:
    explicit ScreenColourPicker(QWidget *window);
    void start(std::function<void(const QColor &)> done);
    // The open picker window, if any (tests).
    TPipetteBox *box() const { return m_box; }

    static Authoring::PickerEnvironment probe(const QImage &shot);

private:
    void startPortal();

    QWidget *m_window;
    TPipetteBox *m_box = nullptr;
    std::function<void(const QColor &)> m_done;
};

// Receives the answer of the desktop's colour-picking service.
class PortalResponse : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    std::function<void(uint, const QVariantMap &)> handler;
public slots:
    void Response(uint response, const QVariantMap &results) {
        if (handler) handler(response, results);
    }
};
