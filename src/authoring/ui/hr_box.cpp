#include "authoring/ui/hr_box.h"

#include "app/ui/ui_services.h"
#include "authoring/ui/up_down.h"
#include "app/ui/help.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

const QString THRBox::HelpPage = QStringLiteral("Ressources/ligne_horizontale.htm");

namespace {

QValidator *digitsOnly(int maxDigits, QObject *parent) {
    return new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(maxDigits)), parent);
}

} // namespace

THRBox::THRBox(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("THRBox"));
    setWindowTitle(QStringLiteral("Ligne horizontale"));

    auto *alignment = new QGroupBox(QStringLiteral(" Alignement "), this);
    m_centre = new QRadioButton(QStringLiteral("au centre"), alignment);
    m_centre->setObjectName(QStringLiteral("RadioCentre"));
    m_left = new QRadioButton(QStringLiteral("à gauche"), alignment);
    m_left->setObjectName(QStringLiteral("RadioGauche"));
    m_right = new QRadioButton(QStringLiteral("à droite"), alignment);
    m_right->setObjectName(QStringLiteral("RadioDroite"));
    m_centre->setChecked(true);
    auto *alignLayout = new QVBoxLayout(alignment);
    alignLayout->addWidget(m_centre);
    alignLayout->addWidget(m_left);
    alignLayout->addWidget(m_right);

    auto *widthLabel = new QLabel(QStringLiteral("largeur"), this);
    m_width = new QLineEdit(this);
    m_width->setObjectName(QStringLiteral("EditWidth"));
    m_width->setValidator(digitsOnly(4, m_width));
    m_width->setMaximumWidth(60);
    widthLabel->setBuddy(m_width);
    m_widthUpDown = new UpDown(m_width, 0, 100, this);
    m_widthUpDown->setObjectName(QStringLiteral("UpDownWidth"));
    m_percent = new QCheckBox(QStringLiteral("%"), this);
    m_percent->setObjectName(QStringLiteral("PourcLarg"));

    auto *thicknessLabel = new QLabel(QStringLiteral("épaisseur"), this);
    m_thickness = new QLineEdit(this);
    m_thickness->setObjectName(QStringLiteral("EditEpaisseur"));
    m_thickness->setValidator(digitsOnly(2, m_thickness));
    m_thickness->setMaximumWidth(60);
    thicknessLabel->setBuddy(m_thickness);
    auto *thicknessUpDown = new UpDown(m_thickness, 1, 10, this);
    thicknessUpDown->setObjectName(QStringLiteral("UpDownEpaisseur"));
    m_unit = new QLabel(QStringLiteral("pixels"), this);
    m_unit->setObjectName(QStringLiteral("LabelPixels"));

    auto *colourLabel = new QLabel(QStringLiteral("couleur"), this);
    m_colourButton = new QToolButton(this);
    m_colourButton->setObjectName(QStringLiteral("BoutCouleur1"));
    m_colourButton->setIconSize(QSize(24, 14));
    m_colour = new QLineEdit(this);
    m_colour->setObjectName(QStringLiteral("EditColor"));
    m_colour->setMaximumWidth(90);
    colourLabel->setBuddy(m_colour);

    m_3d = new QCheckBox(QStringLiteral("effet 3D"), this);
    m_3d->setObjectName(QStringLiteral("CB3D"));
    m_3d->setChecked(true);

    auto *fields = new QGridLayout;
    fields->addWidget(widthLabel, 0, 0);
    fields->addWidget(m_width, 0, 1);
    fields->addWidget(m_widthUpDown, 0, 2);
    fields->addWidget(m_percent, 0, 3);
    fields->addWidget(thicknessLabel, 1, 0);
    fields->addWidget(m_thickness, 1, 1);
    fields->addWidget(thicknessUpDown, 1, 2);
    fields->addWidget(m_unit, 1, 3);
    fields->addWidget(colourLabel, 2, 0);
    auto *colourRow = new QHBoxLayout;
    colourRow->addWidget(m_colourButton);
    colourRow->addWidget(m_colour);
    fields->addLayout(colourRow, 2, 1, 1, 3);
    fields->addWidget(m_3d, 3, 0, 1, 4);
    fields->setColumnStretch(4, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(alignment);
    top->addLayout(fields, 1);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BoutOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Annuler"), this);
    cancel->setObjectName(QStringLiteral("BoutAnnuler"));
    auto *help = new QPushButton(QStringLiteral("Aide"), this);
    help->setObjectName(QStringLiteral("BoutAide"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    // The colour dialog goes through the dialog seam like every modal dialog; its
    // current colour is the chosen one once accepted (also when a script accepts it).
    m_picker = [this](const QColor &initial) -> std::optional<QColor> {
        QColorDialog dialog(initial.isValid() ? initial : QColor(Qt::black), this);
        if (ui().execDialog(&dialog) != QDialog::Accepted) return std::nullopt;
        return dialog.currentColor();
    };

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { ShowHelpTopic(HelpPage); });
    connect(m_percent, &QCheckBox::toggled, this,
            [this](bool on) { m_widthUpDown->setRange(0, on ? 100 : 9999); });
    connect(m_thickness, &QLineEdit::textChanged, this, &THRBox::thicknessChanged);
    connect(m_colourButton, &QToolButton::clicked, this, &THRBox::chooseColour);
    connect(m_colour, &QLineEdit::textChanged, this, &THRBox::colourTextChanged);

    prepareForShow();
}

void THRBox::setColourPicker(ColourPicker picker) {
    m_picker = std::move(picker);
}

Authoring::RuleValues THRBox::values() const {
    Authoring::RuleValues v;
    v.align = m_left->isChecked()    ? Authoring::RuleAlign::Left
              : m_right->isChecked() ? Authoring::RuleAlign::Right
                                     : Authoring::RuleAlign::Centre;
    v.width = m_width->text();
    v.percent = m_percent->isChecked();
    v.thickness = m_thickness->text();
    v.color = m_colour->text();
    v.effect3D = m_3d->isChecked();
    return v;
}

void THRBox::prepareForShow() {
    m_colour->clear();
    m_percent->setChecked(true);
    m_width->setText(QStringLiteral("100"));
    m_thickness->setText(QStringLiteral("2"));
    colourTextChanged(QString());
}

void THRBox::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) prepareForShow();
    QDialog::showEvent(event);
}

void THRBox::chooseColour() {
    if (!m_picker) return;
    const std::optional<QColor> chosen = m_picker(QColor::fromString(m_colour->text()));
    if (!chosen || !chosen->isValid()) return;
    const QRgb rgb = chosen->rgb();
    m_colour->setText(QStringLiteral("#%1%2%3")
                          .arg(qRed(rgb), 2, 16, QLatin1Char('0'))
                          .arg(qGreen(rgb), 2, 16, QLatin1Char('0'))
                          .arg(qBlue(rgb), 2, 16, QLatin1Char('0'))
                          .toUpper());
}

void THRBox::colourTextChanged(const QString &text) {
    // The button shows the colour the field names; no swatch for no colour.
    const QColor colour = QColor::fromString(text);
    if (!colour.isValid()) {
        m_colourButton->setIcon(QIcon());
        m_colourButton->setText(QStringLiteral("..."));
        return;
    }
    QPixmap swatch(m_colourButton->iconSize());
    swatch.fill(colour);
    QPainter p(&swatch);
    p.setPen(palette().color(QPalette::Shadow));
    p.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    p.end();
    m_colourButton->setIcon(QIcon(swatch));
}

void THRBox::thicknessChanged(const QString &text) {
    m_unit->setText(text.toInt() == 1 ? QStringLiteral("pixel") : QStringLiteral("pixels"));
}
