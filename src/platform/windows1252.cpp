#include "platform/windows1252.h"

namespace {
// 0x80..0x9F; the undefined positions keep their own value.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

namespace Windows1252 {

char16_t toUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHigh[byte - 0x80];
    return byte;
}

int fromUnicode(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<int>(ch);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

QString decode(const QByteArray &bytes)
{
    QString s(bytes.size(), Qt::Uninitialized);
    QChar *d = s.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(toUnicode(static_cast<unsigned char>(bytes[i])));
    return s;
}

bool encode(const QString &text, QByteArray *out, qsizetype *badIndex)
{
    out->resize(text.size());
    char *d = out->data();
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
        const int b = fromUnicode(c);
        if (b < 0) {
            if (badIndex)
                *badIndex = i;
            out->clear();
            return false;
        }
        d[n++] = static_cast<char>(b);
    }
    out->resize(n);
    return true;
}

} // namespace Windows1252
