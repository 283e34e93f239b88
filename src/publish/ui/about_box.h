#pragma once

#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <functional>

class TOpenBox;

// The program's logo in the about box. Holding Ctrl and Shift over it shows a
// hand; Ctrl+Shift+click shows the start-up picture again.
class TAboutLogo : public QLabel {
    Q_OBJECT
public:
    explicit TAboutLogo(QWidget *parent);
    void updateCursor(Qt::KeyboardModifiers modifiers);

signals:
    void secretClick();

protected:
    void mouseMoveEvent(QMouseEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void enterEvent(QEnterEvent *e) override;
};

// "A propos de Balizor": the version, the memory and the system of this machine,
// and the program's site.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);
    // The site link's action (the program's home page).
    std::function<void()> openSite;
    // The start-up picture shown by the logo, while it is up.
    TOpenBox *splash() const;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;

private:
    void showSplash();
    TAboutLogo *m_logo;
    QPointer<TOpenBox> m_splash;
};
