#include "platform/text_file.h"

#include "platform/windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
// The replacement file keeps the old one's owner and group where that is allowed
// (an administrator saving someone else's file); the permissions are kept by the
// save itself.
void keepOwner(const QString &path, int fd)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (fd < 0 || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return;
    struct stat now;
    if (::fstat(fd, &now) == 0 && (now.st_uid != st.st_uid || now.st_gid != st.st_gid)) {
        // Not allowed for an ordinary user: the file is then that user's.
        [[maybe_unused]] const int r = ::fchown(fd, st.st_uid, st.st_gid);
    }
#else
    Q_UNUSED(path);
    Q_UNUSED(fd);
#endif
}
} // namespace

bool fileIsWritable(const QString &path)
{
#ifdef Q_OS_UNIX
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
#else
    return QFileInfo(path).isWritable();
#endif
}

QByteArray lineBreakBytes(LineBreak lb)
{
    switch (lb) {
    case LineBreak::Lf:
        return QByteArrayLiteral("\n");
    case LineBreak::Cr:
        return QByteArrayLiteral("\r");
    case LineBreak::CrLf:
        break;
    }
    return QByteArrayLiteral("\r\n");
}

LineBreak detectLineBreak(const char *data, qsizetype size)
{
    const bool cr = memchr(data, '\r', size_t(size)) != nullptr;
    const bool lf = memchr(data, '\n', size_t(size)) != nullptr;
    if (cr && !lf)
        return LineBreak::Cr;
    if (lf && !cr)
        return LineBreak::Lf;
    return LineBreak::CrLf;
}

bool isValidUtf8(const char *data, qsizetype size, bool *hasNonAscii)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const auto *end = p + size;
    bool nonAscii = false;
    while (p < end) {
        // ASCII is passed sixteen bytes at a time, up to the next byte that is not.
#ifdef __SSE2__
        if (end - p >= 16) {
            const int high =
                _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p)));
            if (!high) {
                p += 16;
                continue;
            }
            p += __builtin_ctz(unsigned(high));
        }
#else
        while (end - p >= 8) {
            quint64 w;
            memcpy(&w, p, 8);
            if (w & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        if (p >= end)
            break;
#endif
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        nonAscii = true;
        // Two bytes, the accented letters of Western text: the common case first.
        if (c >= 0xC2 && c <= 0xDF) {
            if (end - p < 2 || (p[1] & 0xC0) != 0x80)
                return false;
            p += 2;
            continue;
        }
        int n;
        char32_t min;
        if (c >= 0xE0 && c <= 0xEF) {
            n = 2;
            min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 3;
            min = 0x10000;
        } else {
            return false;
        }
        if (end - p <= n)
            return false;
        char32_t cp = c & (0x3F >> n);
        for (int i = 1; i <= n; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += n + 1;
    }
    if (hasNonAscii)
        *hasNonAscii = nonAscii;
    return true;
}

namespace {
// The UTF-8 of each byte from 0x80 on, read from the code page table once.
struct HighBytes {
    char bytes[128][3];
    unsigned char length[128];
    HighBytes()
    {
        for (int b = 0; b < 128; ++b) {
            const char16_t u = Windows1252::toUnicode(static_cast<unsigned char>(b + 0x80));
            if (u < 0x800) {
                bytes[b][0] = char(0xC0 | (u >> 6));
                bytes[b][1] = char(0x80 | (u & 0x3F));
                length[b] = 2;
            } else {
                bytes[b][0] = char(0xE0 | (u >> 12));
                bytes[b][1] = char(0x80 | ((u >> 6) & 0x3F));
                bytes[b][2] = char(0x80 | (u & 0x3F));
                length[b] = 3;
            }
        }
    }
};
} // namespace

qsizetype windows1252ToUtf8(const char *data, qsizetype size, char *out)
{
    static const HighBytes high;
    char *o = out;
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const auto *end = p + size;
    while (p < end) {
        // Runs of ASCII eight bytes at a time.
        if (end - p >= 8) {
            quint64 w;
            memcpy(&w, p, 8);
            if (!(w & 0x8080808080808080ULL)) {
                memcpy(o, p, 8);
                o += 8;
                p += 8;
                continue;
            }
        }
        const unsigned char b = *p++;
        if (b < 0x80) {
            *o++ = char(b);
            continue;
        }
        const unsigned char n = high.length[b - 0x80];
        memcpy(o, high.bytes[b - 0x80], n);
        o += n;
    }
    return o - out;
}

namespace {
bool declaresUtf8(const QByteArray &bytes)
{
    const QByteArray head = bytes.left(4096).toLower();
    for (const char *pattern : {"charset=utf-8", "charset=\"utf-8", "charset='utf-8",
                                "encoding=\"utf-8", "encoding='utf-8", "@charset \"utf-8"}) {
        if (head.contains(pattern))
            return true;
    }
    return false;
}

QByteArray windows1252ToUtf8(const QByteArray &bytes)
{
    QByteArray out(bytes.size() * 3, Qt::Uninitialized);
    out.truncate(::windows1252ToUtf8(bytes.constData(), bytes.size(), out.data()));
    return out;
}
} // namespace

TextEncoding detectEncoding(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TextEncoding::Utf8Bom;
    bool nonAscii = false;
    if (!isValidUtf8(bytes.constData(), bytes.size(), &nonAscii))
        return TextEncoding::Windows1252;
    if (nonAscii || declaresUtf8(bytes))
        return TextEncoding::Utf8;
    return TextEncoding::Windows1252;
}

LoadedText decodeFileBytes(const QByteArray &bytes)
{
    LoadedText t;
    t.encoding = detectEncoding(bytes);
    switch (t.encoding) {
    case TextEncoding::Utf8Bom:
        t.utf8 = bytes.mid(3);
        break;
    case TextEncoding::Utf8:
        t.utf8 = bytes;
        break;
    case TextEncoding::Windows1252: {
        // ASCII is the same in both; only convert when there is something to convert.
        const bool high = std::any_of(bytes.cbegin(), bytes.cend(),
                                      [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        t.utf8 = high ? windows1252ToUtf8(bytes) : bytes;
        break;
    }
    }
    t.lineBreak = detectLineBreak(t.utf8.constData(), t.utf8.size());
    return t;
}

ReadStatus readTextFile(const QString &path, LoadedText *out)
{
    QByteArray bytes;
    const ReadStatus st = readFileBytes(path, &bytes);
    if (st == ReadStatus::Ok)
        *out = decodeFileBytes(bytes);
    return st;
}

ReadStatus readFileBytes(const QString &path, QByteArray *out)
{
    const QFileInfo info(path);
    if (!info.exists())
        return ReadStatus::NotFound;
    if (!info.isFile())
        return ReadStatus::NotAFile;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return ReadStatus::Unreadable;
    *out = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return ReadStatus::Unreadable;
    return ReadStatus::Ok;
}

namespace {
// Decodes one UTF-8 sequence at p (the text is the editor's own, so a malformed
// sequence is taken byte by byte as Windows-1252 would).
char32_t nextCodePoint(const unsigned char *&p, const unsigned char *end)
{
    const unsigned char c = *p;
    int n = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (c < 0x80 || n == 0 || end - p <= n) {
        ++p;
        return c < 0x80 ? c : Windows1252::toUnicode(c);
    }
    char32_t cp = c & (0x3F >> n);
    for (int i = 1; i <= n; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            ++p;
            return Windows1252::toUnicode(c);
        }
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += n + 1;
    return cp;
}
} // namespace

bool encodeForFile(const char *utf8, qsizetype size, TextEncoding encoding, LineBreak lb,
                   QByteArray *out, qsizetype *badOffset)
{
    const QByteArray eol = lineBreakBytes(lb);
    out->clear();
    out->reserve(size + size / 16 + 4);
    if (encoding == TextEncoding::Utf8Bom)
        out->append("\xEF\xBB\xBF");
    const auto *begin = reinterpret_cast<const unsigned char *>(utf8);
    const auto *p = begin;
    const auto *end = p + size;
    const bool cp1252 = encoding == TextEncoding::Windows1252;
    bool lineOpen = false;
    while (p < end) {
        // Copy the run of ordinary ASCII bytes in one go.
        const auto *run = p;
        while (p < end && *p < 0x80 && *p != '\r' && *p != '\n')
            ++p;
        if (p > run) {
            out->append(reinterpret_cast<const char *>(run), p - run);
            lineOpen = true;
        }
        if (p >= end)
            break;
        if (*p == '\r' || *p == '\n') {
            if (*p == '\r' && p + 1 < end && p[1] == '\n')
                ++p;
            ++p;
            out->append(eol);
            lineOpen = false;
            continue;
        }
        const auto *start = p;
        if (!cp1252) {
            // Keep the editor's bytes as they are.
            out->append(char(*p++));
            lineOpen = true;
            continue;
        }
        const char32_t cp = nextCodePoint(p, end);
        const int b = Windows1252::fromUnicode(cp);
        if (b < 0) {
            if (badOffset)
                *badOffset = start - begin;
            out->clear();
            return false;
        }
        out->append(char(b));
        lineOpen = true;
    }
    if (lineOpen)
        out->append(eol);
    return true;
}

WriteStatus writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    AtomicFileWriter w(path);
    w.write(bytes.constData(), bytes.size());
    return w.commit();
}

struct AtomicFileWriter::Private {
    QSaveFile file;
    bool opened = false;
    WriteStatus status = WriteStatus::Ok;
    explicit Private(const QString &path) : file(path) {}
};

AtomicFileWriter::AtomicFileWriter(const QString &path) : d(new Private(path))
{
    d->file.setDirectWriteFallback(true);
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (d->opened && d->file.isOpen())
        d->file.cancelWriting();
    delete d;
}

void AtomicFileWriter::write(const char *data, qsizetype size)
{
    if (d->status != WriteStatus::Ok)
        return;
    if (!d->opened) {
        d->opened = true;
        if (!d->file.open(QIODevice::WriteOnly)) {
            d->status = WriteStatus::CannotCreate;
            return;
        }
        keepOwner(d->file.fileName(), d->file.handle());
    }
    if (size > 0 && d->file.write(data, size) != size) {
        d->file.cancelWriting();
        d->status = WriteStatus::Failed;
    }
}

WriteStatus AtomicFileWriter::commit()
{
    if (!d->opened)
        write(nullptr, 0); // an empty file
    if (d->status != WriteStatus::Ok)
        return d->status;
    return d->file.commit() ? WriteStatus::Ok : WriteStatus::Failed;
}
