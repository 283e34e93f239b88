#pragma once

#include "assist/accents.h"
#include "assist/html_indenter.h"
#include "platform/text_file.h"

#include <QByteArray>

#include <functional>

// The rewrites of whole files, done on the file's own bytes: Windows-1252 and UTF-8
// agree with ASCII on every byte these rewrites look at, so a page is never decoded,
// copied whole or held twice. Each gives the bytes a save from the editor would
// write after the same command, and nothing at all when the text does not change.
namespace Assist {

// Receives the new file's bytes in pieces, in order.
using ByteSink = std::function<void(const char *data, qsizetype size)>;

// A file's bytes as the rewrites see them: its text (after any byte-order mark),
// its encoding and its line-break style, found as when the editor opens it. A
// rewrite that works the same on every encoding may skip looking for it
// (`encoding` false): only a byte-order mark is then recognised.
struct FileText {
    const char *data = nullptr;
    qsizetype size = 0;
    TextEncoding encoding = TextEncoding::Windows1252;
    LineBreak lineBreak = LineBreak::CrLf;
};
FileText InspectFileBytes(const QByteArray &bytes, bool encoding = true);

// The text of `in` with every line break (CR LF, LF or CR) written as `style`, in
// spans: runs of the source whose breaks already are `style`, and the breaks that
// are not, written as `style` (*converted true).
class BreakNormalizer {
public:
    BreakNormalizer(const char *data, qsizetype size, LineBreak style);
    bool next(const char **span, qsizetype *length, bool *converted);

private:
    const char *m_s;
    qsizetype m_n;
    qsizetype m_pos = 0;
    LineBreak m_style;
    QByteArray m_break;
    qsizetype m_pendingBreak = -1; // a break to convert found at the end of the last run
    int m_pendingLength = 0;
};

// Where a rewrite writes its text (every line break already in the file's style).
// Nothing reaches the sink until the text differs from the file's own text (the
// file's bytes with their breaks in that style): a file left as it was is never
// written. From the first difference on, the sink gets the new file: byte-order
// mark, text and final line break, through one buffer.
class RewriteOutput {
public:
    enum class Mode {
        Compare, // the rewrite may give the same text: compare as it goes
        Told,    // the rewrite says when it changes something (markChanged)
    };
    // A null sink only finds out whether the file would change. Without
    // `finalBreak` the text is taken as it is, without the break a save adds.
    RewriteOutput(const FileText &in, LineBreak style, const ByteSink &sink, Mode mode,
                  bool finalBreak = true);
    void write(const char *data, qsizetype size);
    void markChanged();
    // Ends the text; true when the file changes (`force`: even when the text is the
    // same, because the line breaks of the file change).
    bool finish(bool force = false);

private:
    void put(const char *data, qsizetype size);
    qsizetype matching(const char *data, qsizetype size);
    void flush();

    const FileText &m_in;
    LineBreak m_style;
    const ByteSink &m_sink;
    Mode m_mode;
    bool m_finalBreak;
    bool m_changed = false;
    qsizetype m_same = 0; // text written so far while it matched the file's own
    char m_last = 0;      // the text's last byte
    bool m_any = false;   // some text was written
    BreakNormalizer m_reference;
    const char *m_refSpan = nullptr;
    qsizetype m_refLength = 0;
    QByteArray m_buffer;
};

struct FileRewrite {
    bool changed = false;
    THtmlIndenter::Failure failure; // the indenter's, when it stopped
};

// Re-indents a page: one tab per level, or `width` spaces.
FileRewrite IndentFile(const FileText &in, bool spaces, int width, const ByteSink &sink);

// Converts the accents of a page, leaving its script and style regions alone.
FileRewrite ConvertAccentsInFile(const FileText &in, AccentDirection direction, bool named,
                                 const RawTextRegions &regions, const ByteSink &sink);

// Writes every line break as `style` (and ends the last line with one). A file
// whose breaks all are `style` is left as it is.
FileRewrite ChangeLineBreaks(const FileText &in, LineBreak style, const ByteSink &sink);

// The same rewrites of an editor's whole text (UTF-8, its line breaks written as
// `lineBreak`), for the window's commands: the new text in the same breaks, and
// nothing when it would be the same. `progress` is told how much is done at each
// megabyte or so; false stops the rewrite (cancelled, no text).
using RewriteProgress = std::function<bool(qsizetype done, qsizetype total)>;
struct TextRewrite {
    QByteArray text;
    bool changed = false;
    bool cancelled = false;
    THtmlIndenter::Failure failure; // the indenter's, when it stopped
};
TextRewrite IndentText(const char *utf8, qsizetype size, LineBreak lineBreak, bool spaces,
                       int width, const RewriteProgress &progress = {});
TextRewrite ConvertAccentsInText(const char *utf8, qsizetype size, LineBreak lineBreak,
                                 AccentDirection direction, bool named,
                                 const RawTextRegions &regions,
                                 const RewriteProgress &progress = {});

} // namespace Assist
