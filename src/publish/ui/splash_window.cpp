#include "publish/ui/splash_window.h"

#include "publish/about_info.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>

#include <cstring>

TOpenBox::TOpenBox(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("OpenBox"));
    setFixedSize(440, 286);
    if (QScreen *s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

QString TOpenBox::version() { return About::version(); }

QPixmap TOpenBox::picture() {
    QPixmap pm(440, 286);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, 286);
    sky.setColorAt(0, QColor(248, 250, 253));
    sky.setColorAt(1, QColor(214, 225, 242));
    p.fillRect(pm.rect(), sky);

    // Faint markup in the background.
    QFont code(QStringLiteral("DejaVu Sans Mono"));
    code.setPixelSize(13);
    p.setFont(code);
    p.setPen(QColor(180, 195, 220));
    const char *lines[] = {"<html>",
                           "  <head>",
                           "    <title>Site</title>",
                           "  </head>",
                           "  <body>",
                           "    <h1>Bienvenue</h1>",
                           "    <p>Bonjour !</p>",
                           "  </body>",
                           "</html>"};
    int y = 30;
    for (const char *l : lines) {
        p.drawText(244, y, QString::fromLatin1(l));
        y += 19;
    }

    // The mark: a blue tag bracket pair around a slash.
    QPainterPath mark;
    mark.moveTo(70, 70);
    mark.lineTo(34, 104);
    mark.lineTo(70, 138);
    mark.moveTo(118, 70);
    mark.lineTo(154, 104);
    mark.lineTo(118, 138);
    mark.moveTo(104, 60);
    mark.lineTo(84, 148);
    QPen pen(QColor(82, 117, 179), 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.drawPath(mark);

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(46);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(40, 60, 100));
    p.drawText(QRect(30, 160, 300, 60), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Balizor"));

    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(14);
    p.setFont(sub);
    p.setPen(QColor(70, 85, 115));
    p.drawText(QRect(32, 216, 300, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("L'éditeur de pages web"));

    // The version: Verdana, 29 pixels, bold italic, RGB(82, 117, 179), no background.
    QFont v(QStringLiteral("Verdana"));
    v.setPixelSize(29);
    v.setBold(true);
    v.setItalic(true);
    p.setFont(v);
    p.setPen(QColor(82, 117, 179));
    p.drawText(QRect(0, 230, 420, 44), Qt::AlignRight | Qt::AlignVCenter, version());

    p.setPen(QColor(150, 165, 190));
    p.setBrush(Qt::NoBrush);
    p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
    return pm;
}

namespace {
// The kept picture's file: a mark, the width and height, then the pixels as they lie
// in memory. Nothing to decode: a compressed picture costs a start about as much to
// read back as to draw.
constexpr char kKeptMark[8] = {'B', 'l', 'z', 'S', 'p', 'l', 's', '1'};
constexpr QImage::Format kKeptFormat = QImage::Format_ARGB32_Premultiplied;
constexpr qint64 kKeptHeader = sizeof kKeptMark + 2 * sizeof(qint32);

bool readKept(const QString &path, QImage *out) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    char mark[sizeof kKeptMark];
    qint32 size[2];
    if (f.read(mark, sizeof mark) != qint64(sizeof mark) ||
        memcmp(mark, kKeptMark, sizeof mark) != 0 ||
        f.read(reinterpret_cast<char *>(size), sizeof size) != qint64(sizeof size) ||
        size[0] != 440 || size[1] != 286)
        return false;
    QImage image(size[0], size[1], kKeptFormat);
    if (f.size() != kKeptHeader + image.sizeInBytes() ||
        f.read(reinterpret_cast<char *>(image.bits()), image.sizeInBytes()) != image.sizeInBytes())
        return false;
    *out = image;
    return true;
}

void writeKept(const QString &path, const QImage &picture) {
    // A folder of the user's own, closed to others.
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) return;
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QImage image = picture.convertToFormat(kKeptFormat);
    const qint32 size[2] = {image.width(), image.height()};
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return;
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    f.write(kKeptMark, sizeof kKeptMark);
    f.write(reinterpret_cast<const char *>(size), sizeof size);
    f.write(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
    f.commit();
}
} // namespace

QString TOpenBox::keptPicturePath() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (dir.isEmpty()) return {};
    return QDir(dir).filePath(QStringLiteral("splash-") + version() + QStringLiteral(".pixels"));
}

QPixmap TOpenBox::keptPicture() {
    const QString path = keptPicturePath();
    if (path.isEmpty()) return picture();
    QImage kept;
    if (readKept(path, &kept)) return QPixmap::fromImage(kept);
    const QPixmap pm = picture();
    writeKept(path, pm.toImage());
    return pm;
}

void TOpenBox::paintEvent(QPaintEvent *) {
    static const QPixmap pm = keptPicture();
    QPainter p(this);
    p.drawPixmap(0, 0, pm);
}

void TOpenBox::mousePressEvent(QMouseEvent *e)
{
    if (m_closesOnClick && e->button() == Qt::LeftButton)
        close();
    else
        QWidget::mousePressEvent(e);
}
