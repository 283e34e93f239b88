#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Reading pictures for the image dialog without decoding more than it shows.
namespace ImageProbe {

struct Info {
    bool exists = false;
    bool ok = false;   // the natural size could be read
    QSize size;        // natural size in pixels
    QByteArray format; // "png", "gif", "svg"... (empty when unknown)
};

// The natural size from the file's header (an SVG's from its width, height or
// viewBox); the picture itself is not decoded.
Info read(const QString &path);

struct Preview {
    QImage image;
    QString error;         // why there is no image
    bool rowByRow = false; // a PNG too large to decode whole: decode it with DecodePngScaled
    QSize target;          // the size of the copy
};

// A copy of the picture that fits `box` (enlarged to fill it when `stretch`),
// decoded at that size where the format allows it. No image and `error` set when it
// cannot be shown, or when decoding it whole would take too much memory.
Preview preview(const QString &path, const QSize &box, bool stretch);

// The most memory a preview may take to decode a picture whose format cannot be
// decoded directly at a smaller size.
constexpr qint64 FullDecodeLimit = 48LL * 1024 * 1024;

} // namespace ImageProbe
