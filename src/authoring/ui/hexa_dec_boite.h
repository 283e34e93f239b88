#pragma once

#include <QWidget>

class QLineEdit;
class UpDown;

// The small decimal / hexadecimal converter, a tool window kept above the others.
class THexaDecBoite : public QWidget {
    Q_OBJECT
public:
    explicit THexaDecBoite(QWidget *parent = nullptr);

signals:
    void shownChanged(bool shown);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void decimalChanged(const QString &text);
    void hexChanged(const QString &text);
    void step(int delta);

    QLineEdit *m_decimal;
    UpDown *m_decimalUpDown;
    QLineEdit *m_hex;
    bool m_updating = false;
};
