#include "editor/plain_highlighters.h"
#include "editor/scan_support.h"

#include <algorithm>

using scan::byteAt;

namespace {

constexpr TokenAttribute attr(TextColour fg, int style = 0) {
    return {fg, TextColour::window(), style};
}
constexpr TextColour Text = TextColour::windowText();

const CategoryInfo Categories[] = {
    {"Commentaire", TokenRole::Comment, attr(TextColour::rgb(128, 128, 128), StyleItalic)},
    {"Identificateur", TokenRole::Identifier, attr(Text)},
    {"Mot réservé", TokenRole::Keyword, attr(Text, StyleBold)},
    {"Nombre", TokenRole::Other, attr(Text)},
    {"Espace", TokenRole::Space, attr(Text)},
    {"Chaîne", TokenRole::String, attr(Text)},
    {"Symbole", TokenRole::Symbol, attr(Text)},
    {"Variable", TokenRole::Identifier, attr(Text)},
};
static_assert(std::size(Categories) == PhpHighlighter::CategoryCount);

const scan::WordTable &keywords() {
    static const scan::WordTable table(
        {{1, "__halt_compiler abstract and array as break callable case catch class clone const "
             "continue declare default die do echo else elseif empty enddeclare endfor "
             "endforeach endif endswitch endwhile enum eval exit extends final finally fn for "
             "foreach function global goto if implements include include_once instanceof "
             "insteadof interface isset list match namespace new or print private protected "
             "public readonly require require_once return static switch throw trait try unset "
             "use var while xor yield true false null self parent bool int float string void "
             "iterable object mixed never __class__ __dir__ __file__ __function__ __line__ "
             "__method__ __namespace__ __trait__"}},
        true);
    return table;
}

enum Mode {
    Normal,
    BlockComment,
    LineComment, // only between regions: a line comment ends with its line
    SingleString,
    DoubleString,
    Backtick,
    Heredoc,
    Nowdoc,
};

// Text of a string in which $variables are expanded, from p to the closing
// `quote` (0: no closing quote, as in a heredoc) or the end; the string token
// starts at `from`.
int scanInterpolated(const char *s, int from, int p, int end, char quote, TokenSink &out,
                     bool *closed) {
    *closed = false;
    while (p < end) {
        const char c = s[p];
        if (c == '\\') {
            p = std::min(p + 2, end);
        } else if (quote && c == quote) {
            ++p;
            *closed = true;
            break;
        } else if (c == '$' && p + 1 < end && scan::isWordStart(byteAt(s, p + 1))) {
            scan::emitRun(out, from, p, PhpHighlighter::String);
            from = p;
            p = scan::skipWord(s, p + 1, end);
            out.add(from, p - from, PhpHighlighter::Variable);
            from = p;
        } else {
            ++p;
        }
    }
    scan::emitRun(out, from, p, PhpHighlighter::String);
    return p;
}

int scanSingleQuoted(const char *s, int from, int p, int end, TokenSink &out, bool *closed) {
    while (p < end && s[p] != '\'')
        p = std::min(p + (s[p] == '\\' ? 2 : 1), end);
    *closed = p < end;
    if (*closed) ++p;
    out.add(from, p - from, PhpHighlighter::String);
    return p;
}

} // namespace

PhpHighlighter::PhpHighlighter(QObject *parent)
    : Highlighter(Language::Php, Categories, CategoryCount, parent) {}

bool PhpHighlighter::regionMayEndAt(LineState state) const {
    const int mode = int(state & 7);
    return mode == Normal || mode == LineComment;
}

LineState PhpHighlighter::scanSpan(const char *s, int lineLength, int begin, int end,
                                   LineState state, TokenSink &out) const {
    int mode = int(state & 7);
    std::uint32_t tag = std::uint32_t(state >> 3); // hash of the heredoc's closing word
    bool closed = false;
    int p = begin;
    if ((mode == Heredoc || mode == Nowdoc) && begin == 0) {
        // The closing word may be indented and followed by ";" or ",".
        const int q = scan::skipSpaces(s, 0, end);
        const int r = scan::skipWord(s, q, end);
        if (r > q && scan::wordHash(s + q, r - q) == tag) {
            scan::emitRun(out, 0, q, Space);
            out.add(q, r - q, String);
            p = r;
            mode = Normal;
            tag = 0;
        }
    }
    while (p < end) {
        const unsigned char c = byteAt(s, p);
        switch (mode) {
        case LineComment:
            out.add(p, end - p, Comment);
            p = end;
            break;
        case BlockComment: {
            bool commentClosed = false;
            p = scan::emitBlockComment(out, s, p, end, Comment, &commentClosed);
            if (commentClosed) mode = Normal;
            break;
        }
        case SingleString:
            p = scanSingleQuoted(s, p, p, end, out, &closed);
            if (closed) mode = Normal;
            break;
        case DoubleString:
        case Backtick:
            p = scanInterpolated(s, p, p, end, mode == DoubleString ? '"' : '`', out, &closed);
            if (closed) mode = Normal;
            break;
        case Heredoc:
            p = scanInterpolated(s, p, p, end, 0, out, &closed);
            break;
        case Nowdoc:
            out.add(p, end - p, String);
            p = end;
            break;
        default: // Normal
            if (scan::isSpace(c)) {
                p = scan::emitSpaces(out, s, p, end, Space);
            } else if ((c == '#' && !(p + 1 < end && s[p + 1] == '[')) ||
                       (c == '/' && p + 1 < end && s[p + 1] == '/')) {
                out.add(p, end - p, Comment);
                p = end;
                mode = LineComment;
            } else if (c == '/' && p + 1 < end && s[p + 1] == '*') {
                const int q = scan::find(s, p + 2, end, "*/");
                const int stop = q < 0 ? end : q + 2;
                out.add(p, stop - p, Comment);
                p = stop;
                if (q < 0) mode = BlockComment;
            } else if (c == '\'') {
                p = scanSingleQuoted(s, p, p + 1, end, out, &closed);
                if (!closed) mode = SingleString;
            } else if (c == '"' || c == '`') {
                p = scanInterpolated(s, p, p + 1, end, char(c), out, &closed);
                if (!closed) mode = c == '"' ? DoubleString : Backtick;
            } else if (c == '<' && scan::startsWith(s, p, end, "<<<")) {
                int q = p + 3;
                while (q < end && (s[q] == ' ' || s[q] == '\t'))
                    ++q;
                const char quote = (q < end && (s[q] == '\'' || s[q] == '"')) ? s[q] : 0;
                if (quote) ++q;
                const int r = scan::skipWord(s, q, end);
                if (r > q && (!quote || (r < end && s[r] == quote))) {
                    tag = scan::wordHash(s + q, r - q);
                    const int stop = quote ? r + 1 : r;
                    out.add(p, stop - p, String);
                    p = stop;
                    mode = quote == '\'' ? Nowdoc : Heredoc;
                } else {
                    out.add(p++, 1, Symbol);
                }
            } else if (c == '$' && p + 1 < end &&
                       (scan::isWordStart(byteAt(s, p + 1)) || s[p + 1] == '$')) {
                const int from = p;
                while (p < end && s[p] == '$')
                    ++p;
                p = scan::skipWord(s, p, end);
                out.add(from, p - from, Variable);
            } else if (scan::isDigit(c) ||
                       (c == '.' && p + 1 < end && scan::isDigit(byteAt(s, p + 1)))) {
                const int q = scan::numberEnd(s, p, end);
                out.add(p, q - p, Number);
                p = q;
            } else if (scan::isWordStart(c)) {
                const int from = p;
                p = scan::skipWord(s, p, end);
                out.add(from, p - from,
                        keywords().contains(s + from, p - from) ? ReservedWord : Identifier);
            } else {
                out.add(p++, 1, Symbol);
            }
            break;
        }
    }
    if (end == lineLength && mode == LineComment) mode = Normal;
    return LineState(mode) | LineState(tag) << 3;
}
