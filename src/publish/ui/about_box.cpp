#include "publish/ui/about_box.h"

#include "publish/ui/splash_window.h"
#include "publish/about_info.h"
#include "publish/product_links.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr Qt::KeyboardModifiers kSecret = Qt::ControlModifier | Qt::ShiftModifier;

bool secretHeld(Qt::KeyboardModifiers m) {
    return (m & kSecret) == kSecret;
}

QLabel *label(const QString &text, const char *name, QWidget *parent) {
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}
} // namespace

TAboutLogo::TAboutLogo(QWidget *parent) : QLabel(parent) {
    setObjectName(QStringLiteral("ImageLogo"));
    // The mark and the name, taken from the start-up picture.
    setPixmap(
        TOpenBox::picture().copy(18, 50, 220, 196).scaledToWidth(132, Qt::SmoothTransformation));
    setMouseTracking(true);
}

void TAboutLogo::updateCursor(Qt::KeyboardModifiers modifiers) {
    if (secretHeld(modifiers))
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void TAboutLogo::mouseMoveEvent(QMouseEvent *e) {
    updateCursor(e->modifiers());
    QLabel::mouseMoveEvent(e);
}

void TAboutLogo::enterEvent(QEnterEvent *e) {
    updateCursor(QGuiApplication::queryKeyboardModifiers());
    QLabel::enterEvent(e);
}

void TAboutLogo::mousePressEvent(QMouseEvent *e) {
    if (e->button() == Qt::LeftButton && secretHeld(e->modifiers()))
        emit secretClick();
    else
        QLabel::mousePressEvent(e);
}

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("A propos de Balizor"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_logo = new TAboutLogo(this);
    connect(m_logo, &TAboutLogo::secretClick, this, &TAboutBox::showSplash);

    QLabel *version = label(About::versionLine(), "LabelVersion", this);
    QFont big = version->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    version->setFont(big);

    const qint64 memory = About::totalPhysicalMemory();
    QLabel *memoryLabel = label(About::memoryLabel(About::systemName()), "LabelMemoire", this);
    QLabel *memoryValue =
        label(memory >= 0 ? About::memoryText(memory, QLocale()) : QStringLiteral("inconnue"),
              "LabelMemoireValeur", this);
    QLabel *system = label(About::systemLine(), "LabelSysteme", this);
    system->setWordWrap(true);

    QLabel *siteLabel = label(QStringLiteral("Site web :"), "LabelSite", this);
    const QString address = ProductLinks::homePageAddress();
    auto *site = new QLabel(this);
    site->setObjectName(QStringLiteral("LienSite"));
    site->setTextFormat(Qt::RichText);
    site->setTextInteractionFlags(Qt::TextBrowserInteraction);
    site->setText(QStringLiteral("<a href=\"site\">%1</a>")
                      .arg(address.isEmpty()
                               ? QStringLiteral("Balizor, sa version et ses mises à jour")
                               : address.toHtmlEscaped()));
    connect(site, &QLabel::linkActivated, this, [this] {
        if (openSite) openSite();
    });

    auto *facts = new QGridLayout;
    facts->setHorizontalSpacing(8);
    facts->addWidget(version, 0, 0, 1, 2);
    facts->addWidget(memoryLabel, 1, 0);
    facts->addWidget(memoryValue, 1, 1);
    facts->addWidget(system, 2, 0, 1, 2);
    facts->addWidget(siteLabel, 3, 0);
    facts->addWidget(site, 3, 1);
    facts->setRowMinimumHeight(0, 36);
    facts->setColumnStretch(1, 1);

    auto *top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(m_logo, 0, Qt::AlignTop);
    top->addLayout(facts, 1);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BoutOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(460, 0)));
}

void TAboutBox::keyPressEvent(QKeyEvent *e) {
    m_logo->updateCursor(e->modifiers());
    QDialog::keyPressEvent(e);
}

void TAboutBox::keyReleaseEvent(QKeyEvent *e) {
    m_logo->updateCursor(e->modifiers());
    QDialog::keyReleaseEvent(e);
}

TOpenBox *TAboutBox::splash() const {
    return m_splash;
}

void TAboutBox::showSplash() {
    if (m_splash) {
        m_splash->raise();
        return;
    }
    // A window of the box's own, so that the modal box lets its clicks through.
    m_splash = new TOpenBox(this);
    m_splash->setAttribute(Qt::WA_DeleteOnClose);
    m_splash->setClosesOnClick(true);
    m_splash->show();
}
