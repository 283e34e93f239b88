#include "authoring/ui/png_scaled.h"

#include <QFile>

#include <png.h>

#include <csetjmp>
#include <vector>

namespace {

void readFromFile(png_structp png, png_bytep data, size_t length) {
    auto *file = static_cast<QFile *>(png_get_io_ptr(png));
    if (file->read(reinterpret_cast<char *>(data), qint64(length)) != qint64(length))
        png_error(png, "short read");
}

void quietWarning(png_structp, png_const_charp) {}
[[noreturn]] void quietError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// Everything the decoding touches lives here, made before libpng may jump out.
struct Work {
    QFile file;
    QImage out;
    std::vector<png_byte> row;
    std::vector<quint64> sums; // four channels per target pixel
    std::vector<quint32> counts;
    std::vector<int> column; // target column of each source column
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~Work() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

void flush(Work &w, int targetRow) {
    uchar *line = w.out.scanLine(targetRow);
    const int width = w.out.width();
    for (int x = 0; x < width; ++x) {
        const quint32 n = w.counts[size_t(x)];
        for (int c = 0; c < 4; ++c)
            line[x * 4 + c] = n ? uchar(w.sums[size_t(x) * 4 + c] / n) : 0;
    }
    std::fill(w.sums.begin(), w.sums.end(), 0);
    std::fill(w.counts.begin(), w.counts.end(), 0);
}

// Returns false on an interlaced picture or a cancel; a libpng error jumps back to
// the caller's setjmp.
bool decode(Work &w, const QSize &target, const std::atomic_bool &cancel) {
    png_read_info(w.png, w.info);
    png_uint_32 width = 0, height = 0;
    int depth = 0, colour = 0, interlace = 0;
    png_get_IHDR(w.png, w.info, &width, &height, &depth, &colour, &interlace, nullptr, nullptr);
    if (interlace != PNG_INTERLACE_NONE || width == 0 || height == 0) return false;

    // Everything becomes 8-bit RGBA.
    if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(w.png);
    if ((colour & PNG_COLOR_MASK_COLOR) == 0 && depth < 8) png_set_expand_gray_1_2_4_to_8(w.png);
    if (png_get_valid(w.png, w.info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(w.png);
    if (depth == 16) png_set_strip_16(w.png);
    if ((colour & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(w.png);
    png_set_filler(w.png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(w.png, w.info);
    if (png_get_rowbytes(w.png, w.info) != size_t(width) * 4) return false;

    const int tw = std::max(1, std::min(target.width(), int(width)));
    const int th = std::max(1, std::min(target.height(), int(height)));
    w.out = QImage(tw, th, QImage::Format_RGBA8888);
    if (w.out.isNull()) return false;
    w.row.resize(size_t(width) * 4);
    w.sums.assign(size_t(tw) * 4, 0);
    w.counts.assign(size_t(tw), 0);
    w.column.resize(width);
    for (png_uint_32 x = 0; x < width; ++x)
        w.column[x] = int(quint64(x) * tw / width);

    int current = 0;
    for (png_uint_32 y = 0; y < height; ++y) {
        if ((y & 63) == 0 && cancel.load(std::memory_order_relaxed)) return false;
        png_read_row(w.png, w.row.data(), nullptr);
        const int ty = int(quint64(y) * th / height);
        if (ty != current) {
            flush(w, current);
            current = ty;
        }
        const png_byte *p = w.row.data();
        for (png_uint_32 x = 0; x < width; ++x, p += 4) {
            quint64 *s = &w.sums[size_t(w.column[x]) * 4];
            s[0] += p[0];
            s[1] += p[1];
            s[2] += p[2];
            s[3] += p[3];
            ++w.counts[size_t(w.column[x])];
        }
    }
    flush(w, current);
    return true;
}

} // namespace

QImage DecodePngScaled(const QString &path, const QSize &target, const std::atomic_bool &cancel) {
    if (target.isEmpty()) return {};
    Work w;
    w.file.setFileName(path);
    if (!w.file.open(QIODevice::ReadOnly)) return {};
    w.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (!w.png) return {};
    w.info = png_create_info_struct(w.png);
    if (!w.info) return {};
    png_set_read_fn(w.png, &w.file, readFromFile);
    // libpng reports errors by jumping back here; `w` outlives the jump.
    if (setjmp(png_jmpbuf(w.png))) return {};
    if (!decode(w, target, cancel)) return {};
    return w.out;
}
