#include "authoring/ui/image_probe.h"

#include <QFileInfo>
#include <QImageReader>
#include <QList>

namespace ImageProbe {

Info read(const QString &path) {
    Info info;
    info.exists = QFileInfo(path).isFile();
    if (!info.exists) return info;
    QImageReader reader(path);
    info.format = reader.format();
    if (info.format.isEmpty()) info.format = QFileInfo(path).suffix().toLower().toLatin1();
    const QSize size = reader.size();
    info.ok = size.isValid() && !size.isEmpty();
    if (info.ok) info.size = size;
    return info;
}

Preview preview(const QString &path, const QSize &box, bool stretch) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize natural = reader.size();
    Preview result;
    auto fail = [&](const QString &message) {
        result.error = message;
        return result;
    };
    if (!natural.isValid() || natural.isEmpty()) return fail(QStringLiteral("Aperçu impossible"));
    QSize target = natural;
    if (stretch || natural.width() > box.width() || natural.height() > box.height())
        target = natural.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));

    // Some handlers accept a scaled size but still decode the whole picture first;
    // these formats really decode at the smaller size.
    static const QList<QByteArray> scaledDecoders = {"jpeg", "jpg", "svg", "svgz", "webp"};
    if (scaledDecoders.contains(reader.format()) &&
        reader.supportsOption(QImageIOHandler::ScaledSize)) {
        reader.setScaledSize(target);
    } else if (qint64(natural.width()) * natural.height() * 4 > FullDecodeLimit) {
        result.target = target;
        result.rowByRow = reader.format() == "png";
        return fail(result.rowByRow ? QStringLiteral("Aperçu en cours...")
                                    : QStringLiteral("Image trop grande pour l'aperçu"));
    }
    QImage image = reader.read();
    if (image.isNull()) return fail(QStringLiteral("Aperçu impossible"));
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    result.image = image;
    result.target = image.size();
    return result;
}

} // namespace ImageProbe
