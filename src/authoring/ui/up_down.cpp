#include "authoring/ui/up_down.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

UpDown::UpDown(QLineEdit *buddy, int minimum, int maximum, QWidget *parent)
    : QWidget(parent), m_buddy(buddy), m_min(minimum), m_max(maximum) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const int height = std::max(buddy->sizeHint().height() / 2, 10);
    auto makeButton = [&](Qt::ArrowType arrow, const char *name, int step) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(16, height);
        connect(b, &QToolButton::clicked, this, [this, step] { stepBy(step); });
        layout->addWidget(b);
        return b;
    };
    m_up = makeButton(Qt::UpArrow, "Up", 1);
    m_down = makeButton(Qt::DownArrow, "Down", -1);
    // The arrow keys in the field step too.
    buddy->installEventFilter(this);
}

void UpDown::setRange(int minimum, int maximum) {
    m_min = minimum;
    m_max = maximum;
    bool ok = false;
    const int value = m_buddy->text().toInt(&ok);
    if (ok && (value < m_min || value > m_max))
        m_buddy->setText(QString::number(std::clamp(value, m_min, m_max)));
}

void UpDown::stepBy(int steps) {
    bool ok = false;
    const int value = m_buddy->text().toInt(&ok);
    // From a field that holds no number, the first step lands on the minimum.
    const int next = ok ? std::clamp(value + steps, m_min, m_max) : m_min;
    m_buddy->setText(QString::number(next));
}

bool UpDown::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
