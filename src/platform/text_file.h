#pragma once

#include <QByteArray>
#include <QString>

// How a document's bytes map to text, and how its lines end.
enum class TextEncoding { Windows1252, Utf8, Utf8Bom };
enum class LineBreak { CrLf, Lf, Cr };

QByteArray lineBreakBytes(LineBreak lb);

// Only CR seen: CR; only LF seen: LF; otherwise (both, or neither) CR LF.
LineBreak detectLineBreak(const char *data, qsizetype size);

// Chooses the encoding of file bytes: a UTF-8 byte-order mark, or non-ASCII bytes
// that are all valid UTF-8, mean UTF-8; pure ASCII is Windows-1252 unless the page
// declares a UTF-8 charset near its start; everything else is Windows-1252.
TextEncoding detectEncoding(const QByteArray &bytes);
bool isValidUtf8(const char *data, qsizetype size, bool *hasNonAscii = nullptr);
// Windows-1252 bytes as UTF-8 into `out`, which holds at least 3 * size bytes; returns
// the length written.
qsizetype windows1252ToUtf8(const char *data, qsizetype size, char *out);

// A file's text as the editor holds it: UTF-8 bytes with the original line breaks.
struct LoadedText {
    QByteArray utf8;
    TextEncoding encoding = TextEncoding::Windows1252;
    LineBreak lineBreak = LineBreak::CrLf;
};

// Converts file bytes to the editor's UTF-8 (byte-order mark removed).
LoadedText decodeFileBytes(const QByteArray &bytes);

enum class ReadStatus { Ok, NotFound, NotAFile, Unreadable };
ReadStatus readTextFile(const QString &path, LoadedText *out);
// The file's bytes as they are.
ReadStatus readFileBytes(const QString &path, QByteArray *out);

// Builds the bytes of a file from the editor's UTF-8 text: every line, the last
// one included, ends in the given break; an empty text gives an empty file.
// Fails when the encoding cannot hold a character; *badOffset is then the byte
// offset of that character in the text.
bool encodeForFile(const char *utf8, qsizetype size, TextEncoding encoding, LineBreak lb,
                   QByteArray *out, qsizetype *badOffset = nullptr);

// The user may write this existing file (the real test, not the owner's bit).
bool fileIsWritable(const QString &path);

enum class WriteStatus { Ok, CannotCreate, Failed };
// Writes the whole file atomically: a failed write leaves the old file intact.
// An existing file keeps its permissions and, where allowed, its owner; one the
// user may not write is left alone (CannotCreate).
WriteStatus writeFileAtomically(const QString &path, const QByteArray &bytes);

// The same write given in pieces: nothing replaces the file before commit().
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const QString &path);
    ~AtomicFileWriter();
    // Opens the new file at the first piece.
    void write(const char *data, qsizetype size);
    WriteStatus commit();

private:
    struct Private;
    Private *d;
};
