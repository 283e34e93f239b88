#include "authoring/ui/screen_picker.h"

#include "app/ui/ui_services.h"

#include <QApplication>
#include <QBitmap>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>

namespace {

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// An eyedropper drawn in code: a slanted tube whose tip is the hot spot.
QCursor eyedropperCursor() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPen outline(Qt::white, 4, Qt::SolidLine, Qt::RoundCap);
    QPen line(Qt::black, 2, Qt::SolidLine, Qt::RoundCap);
    for (const QPen &pen : {outline, line}) {
        p.setPen(pen);
        p.drawLine(2, 29, 18, 13);
    }
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::black);
    p.drawEllipse(QPoint(23, 8), 6, 6);
    p.end();
    return QCursor(pm, 1, 30);
}

QPixmap cancelImage() {
    QPixmap pm(12, 12);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(2, 2, 9, 9);
    p.drawLine(9, 2, 2, 9);
    return pm;
}

} // namespace

TPipetteBox::TPipetteBox(const QImage &shot, const QPoint &origin)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_shot(shot),
      m_origin(origin) {
    setObjectName(QStringLiteral("TPipetteBox"));
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(eyedropperCursor());
    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("PanelCouleur"));
    m_panel->setFrameShape(QFrame::Box);
    m_panel->setGeometry(0, 0, 50, 50);
    m_panel->setAutoFillBackground(true);
    m_panel->setToolTip(
        QStringLiteral("Glisser-déplacer pour modifier l'emplacement de la palette"));
    m_panel->setCursor(Qt::SizeAllCursor);
    m_panel->installEventFilter(this);
    m_cancel = new QLabel(m_panel);
    m_cancel->setObjectName(QStringLiteral("ImageAnnuler"));
    m_cancel->setPixmap(cancelImage());
    m_cancel->setGeometry(36, 2, 12, 12);
    m_cancel->setToolTip(QStringLiteral("Annuler la pipette"));
    m_cancel->setCursor(Qt::ArrowCursor);
    m_cancel->installEventFilter(this);
    m_timer = new QTimer(this);
    m_timer->setInterval(50);
    connect(m_timer, &QTimer::timeout, this, &TPipetteBox::sample);
    m_timer->start();
    sample();
}

QColor TPipetteBox::colourAt(const QPoint &global) const {
    const qreal ratio = m_shot.devicePixelRatio();
    const QPoint at = ((global - m_origin) * ratio);
    if (!m_shot.rect().contains(at)) return m_panelColour;
    return m_shot.pixelColor(at);
}

void TPipetteBox::sample() {
    const QColor c = colourAt(QCursor::pos());
    if (c == m_panelColour || !c.isValid()) return;
    m_panelColour = c;
    QPalette pal = m_panel->palette();
    pal.setColor(QPalette::Window, c);
    m_panel->setPalette(pal);
}

void TPipetteBox::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.drawImage(QRect(mapFromGlobal(m_origin), m_shot.deviceIndependentSize().toSize()), m_shot);
}

void TPipetteBox::mousePressEvent(QMouseEvent *event) {
    if (m_done || event->button() != Qt::LeftButton) return;
    m_timer->stop();
    // The pixel under the press, even if the pointer moved since the last sample.
    m_panelColour = colourAt(event->globalPosition().toPoint());
    m_done = true;
    emit picked(m_panelColour);
    close();
}

void TPipetteBox::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape) finish();
}

void TPipetteBox::finish() {
    if (m_done) return;
    m_done = true;
    m_timer->stop();
    emit cancelled();
    close();
}

bool TPipetteBox::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_cancel && event->type() == QEvent::MouseButtonPress) {
        finish();
        return true;
    }
    if (watched == m_panel && (event->type() == QEvent::MouseButtonPress ||
                               event->type() == QEvent::MouseMove)) {
        // Only mouse events are read as such.
        auto *me = static_cast<QMouseEvent *>(event);
        if (event->type() == QEvent::MouseButtonPress) {
            m_dragFrom = me->position().toPoint();
            return true;
        }
        if (event->type() == QEvent::MouseMove && (me->buttons() & Qt::LeftButton)) {
            m_panel->move(m_panel->mapToParent(me->position().toPoint()) - m_dragFrom);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------

ScreenColourPicker::ScreenColourPicker(QWidget *window) : QObject(window), m_window(window) {}

Authoring::PickerEnvironment ScreenColourPicker::probe(const QImage &shot) {
    Authoring::PickerEnvironment env;
    const QString platform = QGuiApplication::platformName();
    env.wayland = platform.startsWith(QLatin1String("wayland")) ||
                  qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
                  qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    env.grabNull = shot.isNull();
    if (!shot.isNull()) {
        env.grabAllBlack = true;
        const QImage small = shot.scaled(64, 64).convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < small.height() && env.grabAllBlack; ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(small.constScanLine(y));
            for (int x = 0; x < small.width(); ++x) {
                if ((line[x] & 0xFFFFFF) != 0) {
                    env.grabAllBlack = false;
                    break;
                }
            }
        }
    }
    // The desktop's service is asked about only when our own copy cannot serve.
    if (env.wayland || env.grabNull) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        env.portalAvailable = bus.isConnected() && bus.interface() &&
                              bus.interface()->isServiceRegistered(kPortalService).value();
    }
    return env;
}

void ScreenColourPicker::start(std::function<void(const QColor &)> done) {
    if (m_box) return;
    m_done = std::move(done);
    QScreen *screen = m_window ? m_window->screen() : QGuiApplication::primaryScreen();
    QImage shot;
    QPoint origin;
    if (screen) {
        const QPixmap pm = screen->grabWindow(0);
        shot = pm.toImage();
        origin = screen->geometry().topLeft();
    }
    switch (Authoring::ChoosePickerRoute(probe(shot))) {
    case Authoring::PickerRoute::Grab: {
        m_box = new TPipetteBox(shot, origin);
        connect(m_box, &TPipetteBox::picked, this, [this](const QColor &c) {
            if (m_done) m_done(c);
        });
        connect(m_box, &QObject::destroyed, this, [this] { m_box = nullptr; });
        m_box->setGeometry(screen->geometry());
        m_box->showFullScreen();
        m_box->activateWindow();
        break;
    }
    case Authoring::PickerRoute::Portal:
        startPortal();
        break;
    case Authoring::PickerRoute::Unavailable:
        ui().message(MsgType::Information, MsgButtons::Ok, Authoring::PickerUnavailableMessage());
        break;
    }
}

void ScreenColourPicker::startPortal() {
    // The service answers later on a request object: the window stays usable meanwhile.
    QDBusMessage call = QDBusMessage::createMethodCall(
        kPortalService, kPortalPath, QStringLiteral("org.freedesktop.portal.Screenshot"),
        QStringLiteral("PickColor"));
    const QString token = QStringLiteral("balizor%1").arg(QRandomGenerator::global()->generate());
    call << QString() << QVariantMap{{QStringLiteral("handle_token"), token}};
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (reply.isError()) {
            ui().message(MsgType::Information, MsgButtons::Ok,
                         Authoring::PickerUnavailableMessage());
            return;
        }
        auto *receiver = new PortalResponse(this);
        receiver->handler = [this, receiver](uint response, const QVariantMap &results) {
            receiver->deleteLater();
            if (response != 0) return; // cancelled by the user
            const QDBusArgument arg = results.value(QStringLiteral("color")).value<QDBusArgument>();
            double r = 0, g = 0, b = 0;
            arg.beginStructure();
            arg >> r >> g >> b;
            arg.endStructure();
            if (m_done) m_done(QColor::fromRgbF(float(r), float(g), float(b)));
        };
        QDBusConnection::sessionBus().connect(
            kPortalService, reply.value().path(), QStringLiteral("org.freedesktop.portal.Request"),
            QStringLiteral("Response"), receiver, SLOT(Response(uint, QVariantMap)));
    });
}
