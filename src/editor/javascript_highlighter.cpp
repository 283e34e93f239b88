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
    {"Mot réservé", TokenRole::Keyword, attr(TextColour::rgb(0, 0, 128), StyleBold)},
    {"Mot clé non réservé", TokenRole::Keyword, attr(Text)},
    {"Evénement", TokenRole::Keyword, attr(Text)},
    {"Nombre", TokenRole::Other, attr(Text)},
    {"Espace", TokenRole::Space, attr(Text)},
    {"Chaîne", TokenRole::String, attr(Text)},
    {"Symbole", TokenRole::Symbol, attr(Text)},
};
static_assert(std::size(Categories) == JavaScriptHighlighter::CategoryCount);

// Reserved words after which a value follows (so "/" starts a regular expression).
enum WordKind { Reserved = 2, ReservedValue = 9, NonReserved = 3 };

const scan::WordTable &keywords() {
    static const scan::WordTable table(
        {{ReservedValue, "this super true false null"},
         {Reserved,
          "break case catch class const continue debugger default delete do else enum export "
          "extends finally for function if import in instanceof let new return static switch "
          "throw try typeof var void while with yield await implements interface package "
          "private protected public"},
         {NonReserved,
          "abstract arguments async boolean byte char double final float goto int long native "
          "short synchronized throws transient volatile of get set undefined NaN Infinity eval "
          "isFinite isNaN parseFloat parseInt decodeURI decodeURIComponent encodeURI "
          "encodeURIComponent escape unescape Array ArrayBuffer BigInt Boolean DataView Date "
          "Error EvalError Function Intl JSON Map Math Number Object Promise Proxy RangeError "
          "ReferenceError Reflect RegExp Set String Symbol SyntaxError TypeError URIError "
          "WeakMap WeakSet alert blur clearInterval clearTimeout close confirm console "
          "document fetch focus history localStorage location navigator open print prompt "
          "screen sessionStorage setInterval setTimeout window XMLHttpRequest"}},
        false);
    return table;
}

const scan::WordTable &events() {
    static const scan::WordTable table(
        {{1, "onabort onafterprint onbeforeprint onbeforeunload onblur oncanplay onchange "
             "onclick oncontextmenu oncopy oncut ondblclick ondrag ondragend ondragenter "
             "ondragleave ondragover ondragstart ondrop ondurationchange onended onerror "
             "onfocus onhashchange oninput oninvalid onkeydown onkeypress onkeyup onload "
             "onloadeddata onloadedmetadata onloadstart onmessage onmousedown onmouseenter "
             "onmouseleave onmousemove onmouseout onmouseover onmouseup onmousewheel onoffline "
             "ononline onpagehide onpageshow onpaste onpause onplay onplaying onpopstate "
             "onprogress onratechange onreset onresize onscroll onsearch onseeked onseeking "
             "onselect onstalled onstorage onsubmit onsuspend ontimeupdate ontoggle "
             "ontouchcancel ontouchend ontouchmove ontouchstart onunload onvolumechange "
             "onwaiting onwheel"}},
        true);
    return table;
}

enum Mode { Normal, BlockComment, SingleString, DoubleString, Template, LineComment };

bool isIdentChar(unsigned char c) {
    return scan::isWordChar(c) || c == '$';
}

// A quoted string from p (past the opening quote) to the closing quote or the
// end; `from` is where the token starts.
int scanString(const char *s, int from, int p, int end, char quote, TokenSink &out, bool *closed,
               bool *escapeAtEnd) {
    while (p < end && s[p] != quote) {
        if (s[p] == '\\' && ++p == end) {
            *escapeAtEnd = true;
            break;
        }
        ++p;
    }
    *closed = p < end;
    if (*closed) ++p;
    out.add(from, p - from, JavaScriptHighlighter::String);
    return p;
}

} // namespace

JavaScriptHighlighter::JavaScriptHighlighter(QObject *parent)
    : Highlighter(Language::JavaScript, Categories, CategoryCount, parent) {}

LineState JavaScriptHighlighter::scanSpan(const char *s, int lineLength, int begin, int end,
                                          LineState state, TokenSink &out) const {
    int mode = int(state & 7);
    bool afterOperand = (state >> 3) & 1;  // "/" divides rather than starts a regex
    int templates = int((state >> 4) & 3); // open template literals
    int braces = int((state >> 6) & 15);   // open braces in the innermost ${...}
    bool escapeAtEnd = false;
    bool closed = false;
    int p = begin;
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
        case DoubleString:
            p = scanString(s, p, p, end, mode == SingleString ? '\'' : '"', out, &closed,
                           &escapeAtEnd);
            if (closed) {
                mode = Normal;
                afterOperand = true;
            }
            break;
        case Template: {
            const int from = p;
            while (p < end && s[p] != '`' && !(s[p] == '$' && p + 1 < end && s[p + 1] == '{'))
                p += (s[p] == '\\') ? 2 : 1;
            p = std::min(p, end);
            scan::emitRun(out, from, p, String);
            if (p == end) break;
            if (s[p] == '`') {
                out.add(p++, 1, String);
                templates = std::max(templates - 1, 0);
                afterOperand = true;
            } else {
                out.add(p, 2, Symbol);
                p += 2;
                afterOperand = false;
            }
            mode = Normal;
            braces = 0;
            break;
        }
        default: // Normal
            if (scan::isSpace(c)) {
                p = scan::emitSpaces(out, s, p, end, Space);
            } else if (c == '/' && p + 1 < end && s[p + 1] == '/') {
                out.add(p, end - p, Comment);
                p = end;
                if (end < lineLength) mode = LineComment;
            } else if (c == '/' && p + 1 < end && s[p + 1] == '*') {
                const int q = scan::find(s, p + 2, end, "*/");
                const int stop = q < 0 ? end : q + 2;
                out.add(p, stop - p, Comment);
                p = stop;
                if (q < 0) mode = BlockComment;
            } else if (c == '/') {
                int q = p + 1;
                if (!afterOperand) {
                    bool inClass = false;
                    while (q < end && (inClass || s[q] != '/')) {
                        if (s[q] == '\\')
                            ++q;
                        else if (s[q] == '[')
                            inClass = true;
                        else if (s[q] == ']')
                            inClass = false;
                        ++q;
                    }
                }
                if (!afterOperand && q < end) {
                    q = scan::skipWord(s, q + 1, end); // flags
                    out.add(p, q - p, String);
                    p = q;
                    afterOperand = true;
                } else {
                    out.add(p++, 1, Symbol);
                    afterOperand = false;
                }
            } else if (c == '\'' || c == '"') {
                p = scanString(s, p, p + 1, end, char(c), out, &closed, &escapeAtEnd);
                if (closed)
                    afterOperand = true;
                else
                    mode = c == '\'' ? SingleString : DoubleString;
            } else if (c == '`') {
                out.add(p++, 1, String);
                templates = std::min(templates + 1, 3);
                mode = Template;
            } else if (c == '}' && templates > 0 && braces == 0) {
                out.add(p++, 1, Symbol);
                mode = Template;
            } else if (scan::isDigit(c) ||
                       (c == '.' && p + 1 < end && scan::isDigit(byteAt(s, p + 1)))) {
                const int q = scan::numberEnd(s, p, end);
                out.add(p, q - p, Number);
                p = q;
                afterOperand = true;
            } else if (scan::isWordStart(c) || c == '$') {
                const int from = p;
                while (p < end && isIdentChar(byteAt(s, p)))
                    ++p;
                const int kind = keywords().lookup(s + from, p - from);
                if (kind == ReservedValue || kind == Reserved) {
                    out.add(from, p - from, ReservedWord);
                    afterOperand = kind == ReservedValue;
                } else {
                    const bool event = kind < 0 && events().contains(s + from, p - from);
                    out.add(from, p - from,
                            kind == NonReserved ? NonReservedKeyword
                            : event             ? Event
                                                : Identifier);
                    afterOperand = true;
                }
            } else {
                if (c == '{' && templates > 0)
                    braces = std::min(braces + 1, 15);
                else if (c == '}' && braces > 0)
                    --braces;
                afterOperand = c == ')' || c == ']';
                out.add(p++, 1, Symbol);
            }
            break;
        }
    }
    if (end == lineLength) {
        if (mode == LineComment) mode = Normal;
        // A quoted string ends with its line unless the line break is escaped.
        if ((mode == SingleString || mode == DoubleString) && !escapeAtEnd) mode = Normal;
    }
    return LineState(mode) | LineState(afterOperand) << 3 | LineState(templates) << 4 |
           LineState(braces) << 6;
}
