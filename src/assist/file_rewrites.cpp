#include "assist/file_rewrites.h"

#include <algorithm>
#include <cstring>

namespace Assist {

namespace {

constexpr qsizetype kBuffer = 1 << 20;

// Where the next line break in s[from, n) lies that is not written as `style`
// (n when none), and its length.
qsizetype nextOtherBreak(const char *s, qsizetype n, qsizetype from, LineBreak style, int *length) {
    const auto find = [s, n](char c, qsizetype at, qsizetype end) -> qsizetype {
        if (at >= end) return -1;
        const void *hit = std::memchr(s + at, c, size_t(end - at));
        return hit ? static_cast<const char *>(hit) - s : -1;
    };
    switch (style) {
    case LineBreak::Lf: {
        // Every CR starts a break that is not LF.
        const qsizetype cr = find('\r', from, n);
        if (cr < 0) return n;
        *length = cr + 1 < n && s[cr + 1] == '\n' ? 2 : 1;
        return cr;
    }
    case LineBreak::Cr: {
        // Every LF ends one: CR LF, or LF alone.
        const qsizetype lf = find('\n', from, n);
        if (lf < 0) return n;
        if (lf > from && s[lf - 1] == '\r') {
            *length = 2;
            return lf - 1;
        }
        *length = 1;
        return lf;
    }
    case LineBreak::CrLf:
        break;
    }
    // A CR without its LF, or an LF without its CR.
    qsizetype at = from;
    for (;;) {
        const qsizetype lf = find('\n', at, n);
        const qsizetype crEnd = lf < 0 ? n : (lf > at && s[lf - 1] == '\r' ? lf - 1 : lf);
        const qsizetype cr = find('\r', at, crEnd);
        *length = 1;
        if (cr >= 0) return cr;
        if (lf < 0) return n;
        if (crEnd == lf) return lf;
        at = lf + 1;
    }
}

bool endsWithBreak(const char *s, qsizetype n) {
    return n > 0 && (s[n - 1] == '\n' || s[n - 1] == '\r');
}

// Sets `out` to s[0, n) with every line break written as `style`; true when a
// break was written differently.
bool normalizeBreaks(const char *s, qsizetype n, LineBreak style, QByteArray &out) {
    const QByteArray eol = lineBreakBytes(style);
    out.resize(2 * n + 16); // LF or CR alone may each become CR LF
    char *w = out.data();
    bool converted = false;
    qsizetype at = 0;
    for (;;) {
        int length = 0;
        const qsizetype next = nextOtherBreak(s, n, at, style, &length);
        std::memcpy(w, s + at, size_t(next - at));
        w += next - at;
        if (next >= n) break;
        std::memcpy(w, eol.constData(), size_t(eol.size()));
        w += eol.size();
        converted = true;
        at = next + length;
    }
    out.resize(w - out.constData());
    return converted;
}

// The end of the block of about a megabyte that starts at `from`: just after a line
// break (never between CR and LF), so that no character or reference spans two.
qsizetype blockEnd(const FileText &in, qsizetype from) {
    qsizetype to = std::min(in.size, from + kBuffer);
    if (to >= in.size) return in.size;
    const auto endsLine = [&in](qsizetype at) {
        return in.data[at - 1] == '\n' || (in.data[at - 1] == '\r' && in.data[at] != '\n');
    };
    qsizetype cut = to;
    while (cut > from && !endsLine(cut))
        --cut;
    if (cut > from) return cut;
    while (to < in.size && !endsLine(to))
        ++to;
    return to;
}

} // namespace

FileText InspectFileBytes(const QByteArray &bytes, bool encoding) {
    FileText t;
    if (encoding)
        t.encoding = detectEncoding(bytes);
    else if (bytes.startsWith("\xEF\xBB\xBF"))
        t.encoding = TextEncoding::Utf8Bom;
    const qsizetype skip = t.encoding == TextEncoding::Utf8Bom ? 3 : 0;
    t.data = bytes.constData() + skip;
    t.size = bytes.size() - skip;
    t.lineBreak = detectLineBreak(t.data, t.size);
    return t;
}

BreakNormalizer::BreakNormalizer(const char *data, qsizetype size, LineBreak style)
    : m_s(data), m_n(size), m_style(style), m_break(lineBreakBytes(style)) {}

bool BreakNormalizer::next(const char **span, qsizetype *length, bool *converted) {
    if (m_pendingBreak >= 0) {
        m_pos = m_pendingBreak + m_pendingLength;
        m_pendingBreak = -1;
        *span = m_break.constData();
        *length = m_break.size();
        *converted = true;
        return true;
    }
    if (m_pos >= m_n) return false;
    int breakLength = 0;
    const qsizetype at = nextOtherBreak(m_s, m_n, m_pos, m_style, &breakLength);
    if (at > m_pos) {
        *span = m_s + m_pos;
        *length = at - m_pos;
        *converted = false;
        m_pos = at;
        if (at < m_n) {
            m_pendingBreak = at;
            m_pendingLength = breakLength;
        }
        return true;
    }
    m_pendingBreak = at;
    m_pendingLength = breakLength;
    return next(span, length, converted);
}

RewriteOutput::RewriteOutput(const FileText &in, LineBreak style, const ByteSink &sink, Mode mode,
                             bool finalBreak)
    : m_in(in), m_style(style), m_sink(sink), m_mode(mode), m_finalBreak(finalBreak),
      m_reference(in.data, in.size, style) {}

qsizetype RewriteOutput::matching(const char *data, qsizetype size) {
    qsizetype same = 0;
    while (same < size) {
        if (m_refLength == 0) {
            bool converted = false;
            if (!m_reference.next(&m_refSpan, &m_refLength, &converted)) break;
        }
        const qsizetype n = std::min(m_refLength, size - same);
        if (std::memcmp(data + same, m_refSpan, size_t(n)) != 0) {
            // Count the equal bytes exactly: the file is written from there on.
            qsizetype k = 0;
            while (data[same + k] == m_refSpan[k])
                ++k;
            return same + k;
        }
        same += n;
        m_refSpan += n;
        m_refLength -= n;
    }
    return same;
}

void RewriteOutput::write(const char *data, qsizetype size) {
    if (size <= 0) return;
    m_last = data[size - 1];
    m_any = true;
    if (!m_changed) {
        const qsizetype same = m_mode == Mode::Compare ? matching(data, size) : size;
        m_same += same;
        if (same == size) return;
        markChanged();
        data += same;
        size -= same;
    }
    put(data, size);
}

void RewriteOutput::markChanged() {
    if (m_changed) return;
    m_changed = true;
    if (!m_sink) return;
    if (m_in.encoding == TextEncoding::Utf8Bom) put("\xEF\xBB\xBF", 3);
    // What was written so far is the file's own text: take it from there.
    BreakNormalizer again(m_in.data, m_in.size, m_style);
    qsizetype left = m_same;
    const char *span = nullptr;
    qsizetype length = 0;
    bool converted = false;
    while (left > 0 && again.next(&span, &length, &converted)) {
        const qsizetype n = std::min(length, left);
        put(span, n);
        left -= n;
    }
}

bool RewriteOutput::finish(bool force) {
    if (!m_changed && m_mode == Mode::Compare) {
        // A text shorter than the file's own is a change too.
        bool converted = false;
        if (m_refLength > 0 || m_reference.next(&m_refSpan, &m_refLength, &converted))
            markChanged();
    }
    if (force) markChanged();
    if (!m_changed) return false;
    // The last line ends with a break, as a save writes it.
    if (m_finalBreak && m_any && !endsWithBreak(&m_last, 1)) {
        const QByteArray eol = lineBreakBytes(m_style);
        put(eol.constData(), eol.size());
    }
    flush();
    return true;
}

void RewriteOutput::put(const char *data, qsizetype size) {
    if (!m_sink || size <= 0) return;
    if (m_buffer.size() + size > kBuffer) flush();
    if (size >= kBuffer) {
        m_sink(data, size);
        return;
    }
    if (m_buffer.capacity() < kBuffer) m_buffer.reserve(kBuffer);
    m_buffer.append(data, size);
}

void RewriteOutput::flush() {
    if (!m_sink || m_buffer.isEmpty()) return;
    m_sink(m_buffer.constData(), m_buffer.size());
    m_buffer.resize(0);
}

namespace {

struct Run {
    FileRewrite result;
    bool cancelled = false;
};

Run indent(const FileText &in, bool spaces, int width, const ByteSink &sink, bool finalBreak,
           const RewriteProgress &progress) {
    THtmlIndenter indenter;
    if (spaces) {
        indenter.Symbol = " ";
        indenter.Indentation = std::max(1, width);
    } else {
        indenter.Symbol = "\t";
        indenter.Indentation = 1;
    }
    indenter.OnProgress = progress;
    RewriteOutput out(in, in.lineBreak, sink, RewriteOutput::Mode::Compare, finalBreak);
    const QByteArray eol = lineBreakBytes(in.lineBreak);
    bool written = false;
    const THtmlIndenter::Sink pieces = [&](const char *data, qsizetype size) {
        written = written || size > 0;
        out.write(data, size);
    };
    indenter.IndentHtml(in.data, in.size, std::string_view(eol.constData(), size_t(eol.size())),
                        pieces);
    Run r;
    r.cancelled = indenter.Cancelled();
    if (r.cancelled) return r;
    // The document's own final break stays, so that an indented file is left alone.
    if (written && endsWithBreak(in.data, in.size)) out.write(eol.constData(), eol.size());
    r.result.failure = indenter.LastFailure();
    r.result.changed = out.finish();
    return r;
}

Run convertAccents(const FileText &in, AccentDirection direction, bool named,
                   const RawTextRegions &regions, const ByteSink &sink) {
    RewriteOutput out(in, in.lineBreak, sink, RewriteOutput::Mode::Told);
    const auto spans = regions.find(in.data, in.size);
    const bool singleByte = in.encoding == TextEncoding::Windows1252;
    QByteArray converted, normalized;
    Run r;
    for (qsizetype from = 0; from < in.size;) {
        const qsizetype to = blockEnd(in, from);
        converted.resize(0);
        if (AppendConvertedAccents(in.data, from, to, direction, named, singleByte, spans,
                                   converted) > 0)
            out.markChanged();
        // The conversions leave line breaks alone: only the file's own style remains
        // to be applied.
        normalizeBreaks(converted.constData(), converted.size(), in.lineBreak, normalized);
        out.write(normalized.constData(), normalized.size());
        from = to;
    }
    r.result.changed = out.finish();
    return r;
}

FileText editorText(const char *utf8, qsizetype size, LineBreak lineBreak) {
    FileText in;
    in.data = utf8;
    in.size = size;
    in.encoding = TextEncoding::Utf8;
    in.lineBreak = lineBreak;
    return in;
}

} // namespace

FileRewrite IndentFile(const FileText &in, bool spaces, int width, const ByteSink &sink) {
    return indent(in, spaces, width, sink, true, {}).result;
}

FileRewrite ConvertAccentsInFile(const FileText &in, AccentDirection direction, bool named,
                                 const RawTextRegions &regions, const ByteSink &sink) {
    return convertAccents(in, direction, named, regions, sink).result;
}

TextRewrite IndentText(const char *utf8, qsizetype size, LineBreak lineBreak, bool spaces,
                       int width, const RewriteProgress &progress) {
    const FileText in = editorText(utf8, size, lineBreak);
    TextRewrite t;
    t.text.reserve(size + size / 2 + 4096);
    const ByteSink sink = [&t](const char *data, qsizetype n) { t.text.append(data, n); };
    const Run r = indent(in, spaces, width, sink, false, progress);
    t.cancelled = r.cancelled;
    t.changed = r.result.changed && !r.cancelled;
    t.failure = r.result.failure;
    if (!t.changed) t.text = QByteArray();
    return t;
}

TextRewrite ConvertAccentsInText(const char *utf8, qsizetype size, LineBreak lineBreak,
                                 AccentDirection direction, bool named,
                                 const RawTextRegions &regions, const RewriteProgress &progress) {
    // The editor's line breaks stay as they are, mixed or not.
    const FileText in = editorText(utf8, size, lineBreak);
    const auto spans = regions.find(utf8, size);
    TextRewrite t;
    t.text.reserve(size + size / 8 + 16);
    qsizetype replaced = 0;
    for (qsizetype from = 0; from < size;) {
        if (progress && !progress(from, size)) {
            t.cancelled = true;
            t.text = QByteArray();
            return t;
        }
        const qsizetype to = blockEnd(in, from);
        replaced += AppendConvertedAccents(utf8, from, to, direction, named, false, spans, t.text);
        from = to;
    }
    t.changed = replaced > 0;
    if (!t.changed) t.text = QByteArray();
    return t;
}

FileRewrite ChangeLineBreaks(const FileText &in, LineBreak style, const ByteSink &sink) {
    RewriteOutput out(in, style, sink, RewriteOutput::Mode::Told);
    QByteArray normalized;
    for (qsizetype from = 0; from < in.size;) {
        const qsizetype to = blockEnd(in, from);
        if (normalizeBreaks(in.data + from, to - from, style, normalized)) out.markChanged();
        out.write(normalized.constData(), normalized.size());
        from = to;
    }
    // A file without any break reads as CR LF: asking for another style rewrites it,
    // as the editor's command does.
    FileRewrite r;
    r.changed = out.finish(in.lineBreak != style);
    return r;
}

} // namespace Assist
