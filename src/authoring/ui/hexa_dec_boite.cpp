#include "authoring/ui/hexa_dec_boite.h"

#include "authoring/font_colour.h"
#include "authoring/ui/up_down.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Shows what is typed in upper case.
class UpperCaseValidator : public QRegularExpressionValidator {
public:
    using QRegularExpressionValidator::QRegularExpressionValidator;
    void fixup(QString &input) const override { input = input.toUpper(); }
    State validate(QString &input, int &pos) const override {
        input = input.toUpper();
        return QRegularExpressionValidator::validate(input, pos);
    }
};

} // namespace

THexaDecBoite::THexaDecBoite(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("THexaDecBoite"));
    setWindowTitle(QStringLiteral("Convertisseur Hexadécimal"));

    auto *decLabel = new QLabel(QStringLiteral("Décimal"), this);
    m_decimal = new QLineEdit(QStringLiteral("0"), this);
    m_decimal->setObjectName(QStringLiteral("EditDecimal"));
    m_decimal->setMaxLength(3);
    m_decimal->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,3}")), m_decimal));
    m_decimal->setFixedWidth(48);
    decLabel->setBuddy(m_decimal);
    m_decimalUpDown = new UpDown(m_decimal, 0, 255, this);
    m_decimalUpDown->setObjectName(QStringLiteral("UpDownDecimal"));

    auto *hexLabel = new QLabel(QStringLiteral("HexaDécimal"), this);
    m_hex = new QLineEdit(QStringLiteral("00"), this);
    m_hex->setObjectName(QStringLiteral("EditHexa"));
    m_hex->setMaxLength(2);
    m_hex->setValidator(
        new UpperCaseValidator(QRegularExpression(QStringLiteral("[0-9A-F]{0,2}")), m_hex));
    m_hex->setFixedWidth(48);
    hexLabel->setBuddy(m_hex);
    auto *up = new QToolButton(this);
    up->setObjectName(QStringLiteral("BoutHexaPlus"));
    up->setArrowType(Qt::UpArrow);
    up->setFixedSize(16, 11);
    auto *down = new QToolButton(this);
    down->setObjectName(QStringLiteral("BoutHexaMoins"));
    down->setArrowType(Qt::DownArrow);
    down->setFixedSize(16, 11);
    auto *arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up);
    arrows->addWidget(down);

    auto *grid = new QGridLayout(this);
    grid->addWidget(decLabel, 0, 0);
    grid->addWidget(m_decimal, 0, 1);
    grid->addWidget(m_decimalUpDown, 0, 2);
    grid->addWidget(hexLabel, 1, 0);
    grid->addWidget(m_hex, 1, 1);
    grid->addLayout(arrows, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_decimal, &QLineEdit::textChanged, this, &THexaDecBoite::decimalChanged);
    connect(m_hex, &QLineEdit::textChanged, this, &THexaDecBoite::hexChanged);
    connect(up, &QToolButton::clicked, this, [this] { step(1); });
    connect(down, &QToolButton::clicked, this, [this] { step(-1); });
}

void THexaDecBoite::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    emit shownChanged(true);
}

void THexaDecBoite::hideEvent(QHideEvent *event) {
    QWidget::hideEvent(event);
    emit shownChanged(false);
}

void THexaDecBoite::decimalChanged(const QString &text) {
    if (m_updating) return;
    const Authoring::HexState s = Authoring::DecimalChanged(text);
    m_updating = true;
    if (s.decimal != text) m_decimal->setText(s.decimal);
    m_hex->setText(s.hex);
    m_updating = false;
}

void THexaDecBoite::hexChanged(const QString &text) {
    if (m_updating) return;
    const std::optional<Authoring::HexState> s = Authoring::HexChanged(text);
    if (!s) return;
    m_updating = true;
    m_decimal->setText(s->decimal);
    m_updating = false;
}

void THexaDecBoite::step(int delta) {
    const Authoring::HexState s = Authoring::HexStep(m_hex->text(), delta);
    m_updating = true;
    m_hex->setText(s.hex);
    m_decimal->setText(s.decimal);
    m_updating = false;
}
