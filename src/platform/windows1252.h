#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

// Windows-1252, extended so that every byte value round-trips: the five bytes the
// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control
// characters of the same value.
namespace Windows1252 {

// The Unicode character of a byte.
char16_t toUnicode(unsigned char byte);
// The byte of a character, or -1 when the code page cannot hold it.
int fromUnicode(char32_t ch);

QString decode(const QByteArray &bytes);
// Encodes; returns false (and the position of the first character that does not
// fit in *badIndex, when given) if the text holds a character outside the code page.
bool encode(const QString &text, QByteArray *out, qsizetype *badIndex = nullptr);

} // namespace Windows1252
