#pragma once

#include <QWidget>

// The splash window: borderless, above other windows, centred, sized to its
// picture, with the version drawn over it.
class TOpenBox : public QWidget {
    Q_OBJECT
public:
    explicit TOpenBox(QWidget *parent = nullptr);
    static QString version();
    // The picture, version included.
    static QPixmap picture();
    // The same, drawn once per version and kept in the user's cache folder: its
    // lettering, in large fonts, costs a start more than reading it back.
    static QPixmap keptPicture();
    static QString keptPicturePath();

    // Shown again from the about box, it goes away when clicked.
    void setClosesOnClick(bool on) { m_closesOnClick = on; }

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    bool m_closesOnClick = false;
};
