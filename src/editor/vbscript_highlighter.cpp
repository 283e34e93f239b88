#include "editor/plain_highlighters.h"
#include "editor/scan_support.h"

using scan::byteAt;

namespace {

constexpr TokenAttribute attr(TextColour fg, int style = 0) {
    return {fg, TextColour::window(), style};
}
constexpr TextColour Text = TextColour::windowText();

const CategoryInfo Categories[] = {
    {"Commentaire", TokenRole::Comment, attr(TextColour::rgb(0, 128, 0))},
    {"Identificateur", TokenRole::Identifier, attr(Text)},
    {"Mot réservé", TokenRole::Keyword, attr(TextColour::rgb(0, 0, 255), StyleBold)},
    {"Nombre", TokenRole::Other, attr(Text)},
    {"Espace", TokenRole::Space, attr(Text)},
    {"Chaîne", TokenRole::String, attr(Text)},
    {"Symbole", TokenRole::Symbol, attr(Text)},
};
static_assert(std::size(Categories) == VBScriptHighlighter::CategoryCount);

const scan::WordTable &keywords() {
    static const scan::WordTable table(
        {{1, "and as boolean byref byte byval call case class const currency date debug dim do "
             "double each else elseif empty end endif enum eqv erase error event exit explicit "
             "false for function get goto if imp implements in integer is let like long loop "
             "lset me mod new next not nothing null on option optional or paramarray preserve "
             "private property public raiseevent randomize redim rem resume rset select set "
             "shared single static step stop string sub then to true type typeof until variant "
             "wend while with xor"}},
        true);
    return table;
}

// Strings and comments stop at the end of the line; between regions of a page
// they stay open.
enum Mode { Normal, InComment, InString };

} // namespace

VBScriptHighlighter::VBScriptHighlighter(QObject *parent)
    : Highlighter(Language::VBScript, Categories, CategoryCount, parent) {}

LineState VBScriptHighlighter::scanSpan(const char *s, int lineLength, int begin, int end,
                                        LineState state, TokenSink &out) const {
    int mode = int(state & 3);
    int p = begin;
    while (p < end) {
        const unsigned char c = byteAt(s, p);
        if (mode == InComment) {
            out.add(p, end - p, Comment);
            p = end;
        } else if (mode == InString || c == '"') {
            // "" inside a string is a quote.
            const int from = p;
            if (mode != InString) ++p;
            mode = InString;
            while (p < end) {
                if (s[p] == '"') {
                    if (p + 1 < end && s[p + 1] == '"') {
                        p += 2;
                        continue;
                    }
                    ++p;
                    mode = Normal;
                    break;
                }
                ++p;
            }
            out.add(from, p - from, String);
        } else if (scan::isSpace(c)) {
            p = scan::emitSpaces(out, s, p, end, Space);
        } else if (c == '\'') {
            out.add(p, end - p, Comment);
            p = end;
            mode = InComment;
        } else if (scan::isDigit(c) ||
                   (c == '.' && p + 1 < end && scan::isDigit(byteAt(s, p + 1)))) {
            const int q = scan::numberEnd(s, p, end);
            out.add(p, q - p, Number);
            p = q;
        } else if (c == '&' && p + 1 < end &&
                   ((s[p + 1] | 0x20) == 'h' || (s[p + 1] | 0x20) == 'o')) {
            int q = p + 2;
            while (q < end && scan::isHexDigit(byteAt(s, q)))
                ++q;
            if (q < end && s[q] == '&') ++q;
            if (q == p + 2) q = p + 1; // a lone "&" joins strings
            out.add(p, q - p, q > p + 1 ? Number : Symbol);
            p = q;
        } else if (c == '#' && p + 1 < end && scan::isDigit(byteAt(s, p + 1))) {
            // Date literal #1/31/2024#.
            int q = p + 1;
            while (q < end && s[q] != '#')
                ++q;
            if (q < end) {
                out.add(p, q + 1 - p, Number);
                p = q + 1;
            } else {
                out.add(p++, 1, Symbol);
            }
        } else if (scan::isWordStart(c)) {
            const int from = p;
            p = scan::skipWord(s, p, end);
            const int n = p - from;
            if (n == 3 && scan::startsWith(s, from, p, "rem", true)) {
                out.add(from, end - from, Comment);
                p = end;
                mode = InComment;
            } else {
                out.add(from, n, keywords().contains(s + from, n) ? ReservedWord : Identifier);
            }
        } else {
            out.add(p++, 1, Symbol);
        }
    }
    if (end == lineLength) mode = Normal;
    return LineState(mode);
}
