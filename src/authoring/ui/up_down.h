#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A pair of arrow buttons that steps the integer of a companion entry field within a
// range. The field keeps its own text, so it can be empty or typed freely (digits).
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit *buddy, int minimum, int maximum, QWidget *parent = nullptr);

    // A value outside the new range is brought into it.
    void setRange(int minimum, int maximum);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }

    void stepBy(int steps);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_buddy;
    QToolButton *m_up;
    QToolButton *m_down;
    int m_min;
    int m_max;
};
