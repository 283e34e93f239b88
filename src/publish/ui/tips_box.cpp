#include "publish/ui/tips_box.h"

#include "app/ui/icons.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPixmap bulb() {
    return Icons::draw([](QPainter &p) {
               p.setPen(QPen(QColor(150, 110, 10), 0.8));
               p.setBrush(QColor(255, 215, 60));
               p.drawEllipse(QRectF(3.5, 1, 9, 9));
               p.drawRect(QRectF(6, 9.5, 4, 2.5));
               p.setBrush(QColor(150, 150, 160));
               p.setPen(QPen(QColor(90, 90, 100), 0.8));
               p.drawRect(QRectF(6, 12, 4, 2.5));
               p.setPen(QPen(Qt::white, 1));
               p.drawArc(QRectF(5.5, 3, 4, 4), 90 * 16, 90 * 16);
           })
        .pixmap(40, 40);
}
} // namespace

TTipsBox::TTipsBox(bool *showTips, TipCycle &cycle, TipCycle::RandomStep random, QWidget *parent)
    : QDialog(parent), m_showTips(showTips), m_cycle(cycle), m_random(std::move(random)) {
    setObjectName(QStringLiteral("TipsBox"));
    setWindowTitle(QStringLiteral("Balizor - Trucs & Astuces"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PanelTip"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, QColor(20, 20, 20));
    panel->setPalette(pal);
    auto *picture = new QLabel(panel);
    picture->setPixmap(bulb());
    picture->setAlignment(Qt::AlignTop);
    auto *heading = new QLabel(QStringLiteral("Le saviez-vous ?"), panel);
    QFont big = heading->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    heading->setFont(big);
    m_text = new QLabel(panel);
    m_text->setObjectName(QStringLiteral("LabelTip"));
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_text->setTextFormat(Qt::PlainText);
    auto *words = new QVBoxLayout;
    words->addWidget(heading);
    words->addWidget(m_text, 1);
    auto *panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(12, 12, 12, 12);
    panelLayout->setSpacing(12);
    panelLayout->addWidget(picture);
    panelLayout->addLayout(words, 1);

    m_check = new QCheckBox(QStringLiteral("Montrer les astuces au démarrage"), this);
    m_check->setObjectName(QStringLiteral("CheckShowTips"));
    m_check->setChecked(*m_showTips);
    auto *next = new QPushButton(QStringLiteral("Astuce suivante"), this);
    next->setObjectName(QStringLiteral("BoutSuivant"));
    auto *close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("BoutFermer"));
    close->setDefault(true);
    connect(next, &QPushButton::clicked, this, &TTipsBox::nextTip);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_check, 1);
    bottom->addWidget(next);
    bottom->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel, 1);
    layout->addLayout(bottom);
    setFixedSize(480, 250);

    nextTip(); // the tip shown on opening
}

QString TTipsBox::tipText() const {
    return Tips::texts().value(m_current);
}

void TTipsBox::nextTip() {
    m_current = m_cycle.next(m_current, m_random);
    m_text->setText(tipText());
}

void TTipsBox::done(int result) {
    *m_showTips = m_check->isChecked();
    QDialog::done(result);
}
