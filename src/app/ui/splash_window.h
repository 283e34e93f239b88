#pragma once

#include <QWidget>

// The splash window: borderless, above other windows, centred, sized to its
// picture, with the version drawn over it.
class TOpenBox : public QWidget {
    Q_OBJECT
public:
    explicit TOpenBox(QWidget *parent = nullptr);
    static QString version() { return QStringLiteral("2.6.3"); }
    // The picture, version included.
    static QPixmap picture();

protected:
    void paintEvent(QPaintEvent *e) override;
};
