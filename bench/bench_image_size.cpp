// The image dialog with a 20 000 x 20 000 PNG: reading its natural size and loading it
// into the dialog, each in a process of its own so that its peak memory can be told,
// against decoding the whole picture.
#include "app/ui/ui_services.h"
#include "authoring/ui/image_boite.h"
#include "authoring/ui/image_probe.h"
#include "authoring/ui/png_scaled.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>

namespace {

constexpr int kSide = 20000;

quint32 crc32(const QByteArray &bytes) {
    static quint32 table[256] = {};
    if (!table[1]) {
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    }
    quint32 c = 0xFFFFFFFFu;
    for (char b : bytes)
        c = table[(c ^ quint8(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

QByteArray chunk(const char *type, const QByteArray &data) {
    QByteArray body = QByteArray(type, 4) + data;
    QByteArray out(4, 0);
    qToBigEndian<quint32>(quint32(data.size()), out.data());
    out += body;
    QByteArray crc(4, 0);
    qToBigEndian<quint32>(crc32(body), crc.data());
    return out + crc;
}

// A one-bit grey picture with a stripe pattern, so that it is not all one colour.
bool writePng(const QString &path) {
    const int rowBytes = kSide / 8;
    QByteArray raw;
    raw.reserve(qsizetype(kSide) * (rowBytes + 1));
    QByteArray row(rowBytes, '\0');
    for (int i = 0; i < rowBytes; i += 8)
        row[i] = char(0xF0);
    for (int y = 0; y < kSide; ++y) {
        raw += '\0'; // no filter
        raw += (y / 64) % 2 ? row : QByteArray(rowBytes, '\0');
    }
    const QByteArray compressed = qCompress(raw, 9).mid(4); // drop Qt's length prefix
    raw.clear();
    QByteArray header(13, 0);
    qToBigEndian<quint32>(kSide, header.data());
    qToBigEndian<quint32>(kSide, header.data() + 4);
    header[8] = 1; // bit depth
    header[9] = 0; // grey
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write("\x89PNG\r\n\x1a\n", 8);
    f.write(chunk("IHDR", header));
    f.write(chunk("IDAT", compressed));
    f.write(chunk("IEND", {}));
    return f.error() == QFileDevice::NoError;
}

long peakKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Message boxes would block a benchmark.
class QuietUi : public UiServices {
public:
    MsgAnswer message(MsgType, MsgButtons, const QString &text) override {
        std::printf("  (message: %s)\n", qPrintable(text));
        return MsgAnswer::Ok;
    }
};

QString label(const QString &what) {
    if (what == QLatin1String("size")) return QStringLiteral("natural size");
    if (what == QLatin1String("dialog")) return QStringLiteral("image dialog load");
    if (what == QLatin1String("preview")) return QStringLiteral("preview, row by row (background)");
    return QStringLiteral("reference: whole decode");
}

int measure(const QString &what, const QString &path) {
    QElapsedTimer t;
    const long before = peakKb();
    t.start();
    QString result;
    if (what == QLatin1String("size")) {
        const ImageProbe::Info info = ImageProbe::read(path);
        const double cold = t.nsecsElapsed() / 1e6;
        QElapsedTimer again;
        again.start();
        ImageProbe::read(path);
        result = QStringLiteral("%1 x %2; first read with the plugin loading %3 ms, again %4 ms")
                     .arg(info.size.width())
                     .arg(info.size.height())
                     .arg(cold, 0, 'f', 2)
                     .arg(again.nsecsElapsed() / 1e6, 0, 'f', 3);
    } else if (what == QLatin1String("dialog")) {
        QuietUi quiet;
        UiServices::install(&quiet);
        TImage_Boite dialog;
        dialog.loadPicture(path);
        result = QStringLiteral("%1 x %2")
                     .arg(dialog.naturalSize().width())
                     .arg(dialog.naturalSize().height());
        UiServices::install(nullptr);
    } else if (what == QLatin1String("preview")) {
        const std::atomic_bool cancel = false;
        const QImage image = DecodePngScaled(path, QSize(180, 180), cancel);
        result = QStringLiteral("%1 x %2 preview").arg(image.width()).arg(image.height());
    } else {
        QImageReader reader(path);
        reader.setAllocationLimit(0);
        const QImage image = reader.read();
        result = QStringLiteral("%1 x %2 decoded").arg(image.width()).arg(image.height());
    }
    const double ms = t.nsecsElapsed() / 1e6;
    std::printf("%-34s %10.2f ms  peak %7.1f MB (%+.1f MB over the process before)  [%s]\n",
                qPrintable(label(what)), ms, peakKb() / 1024.0, (peakKb() - before) / 1024.0,
                qPrintable(result));
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--measure"))
        return measure(args.at(2), args.at(3));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.png"));
    QElapsedTimer t;
    t.start();
    if (!writePng(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("%d x %d PNG, %lld bytes, made in %.0f ms\n", kSide, kSide, QFile(path).size(),
                t.nsecsElapsed() / 1e6);
    std::fflush(stdout);
    for (const char *what : {"size", "dialog", "preview", "decode"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(app.applicationFilePath(),
                    {QStringLiteral("--measure"), QLatin1String(what), path});
        child.waitForFinished(-1);
    }
    return 0;
}
