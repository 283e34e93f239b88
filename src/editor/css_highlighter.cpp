#include "editor/plain_highlighters.h"
#include "editor/scan_support.h"

#include <algorithm>

using scan::byteAt;

namespace {

constexpr TokenAttribute attr(TextColour fg, int style = 0) {
    return {fg, TextColour::window(), style};
}
constexpr TextColour Purple = TextColour::rgb(128, 0, 128);

const CategoryInfo Categories[] = {
    {"Commentaire", TokenRole::Comment, attr(TextColour::windowText(), StyleItalic)},
    {"Propriété", TokenRole::Identifier, attr(TextColour::windowText())},
    {"Mot réservé", TokenRole::Keyword, attr(Purple, StyleBold)},
    {"Propriété inconnue", TokenRole::Identifier, attr(Purple)},
    {"Espace", TokenRole::Space, attr(TextColour::windowText())},
    {"Couleur", TokenRole::Other, attr(TextColour::windowText())},
    {"Nombre", TokenRole::Other, attr(TextColour::windowText())},
    {"Chaîne", TokenRole::String, attr(TextColour::windowText())},
    {"Symbole", TokenRole::Symbol, attr(TextColour::windowText())},
    {"Texte", TokenRole::Other, attr(TextColour::windowText())},
    {"Valeur", TokenRole::Other, attr(TextColour::rgb(0, 0, 255))},
};
static_assert(std::size(Categories) == CssHighlighter::CategoryCount);

const scan::WordTable &properties() {
    static const scan::WordTable table(
        {{1, "accent-color align-content align-items align-self all animation animation-delay "
             "animation-direction animation-duration animation-fill-mode "
             "animation-iteration-count animation-name animation-play-state "
             "animation-timing-function appearance aspect-ratio azimuth backdrop-filter "
             "backface-visibility background background-attachment background-blend-mode "
             "background-clip background-color background-image background-origin "
             "background-position background-position-x background-position-y background-repeat "
             "background-size block-size border border-block border-block-end border-block-start "
             "border-bottom border-bottom-color border-bottom-left-radius "
             "border-bottom-right-radius border-bottom-style border-bottom-width border-collapse "
             "border-color border-image border-image-outset border-image-repeat "
             "border-image-slice border-image-source border-image-width border-inline "
             "border-inline-end border-inline-start border-left border-left-color "
             "border-left-style border-left-width border-radius border-right border-right-color "
             "border-right-style border-right-width border-spacing border-style border-top "
             "border-top-color border-top-left-radius border-top-right-radius border-top-style "
             "border-top-width border-width bottom box-decoration-break box-shadow box-sizing "
             "break-after break-before break-inside caption-side caret-color clear clip "
             "clip-path color color-scheme column-count column-fill column-gap column-rule "
             "column-rule-color column-rule-style column-rule-width column-span column-width "
             "columns contain container container-name container-type content content-visibility "
             "counter-increment counter-reset counter-set cue cue-after cue-before cursor "
             "direction display elevation empty-cells fill filter flex flex-basis flex-direction "
             "flex-flow flex-grow flex-shrink flex-wrap float font font-display font-family "
             "font-feature-settings font-kerning font-size font-size-adjust font-stretch "
             "font-style font-variant font-variant-caps font-variant-ligatures "
             "font-variant-numeric font-weight gap grid grid-area grid-auto-columns "
             "grid-auto-flow grid-auto-rows grid-column grid-column-end grid-column-gap "
             "grid-column-start grid-gap grid-row grid-row-end grid-row-gap grid-row-start "
             "grid-template grid-template-areas grid-template-columns grid-template-rows "
             "hanging-punctuation height hyphens image-rendering inline-size inset inset-block "
             "inset-inline isolation justify-content justify-items justify-self left "
             "letter-spacing line-break line-height list-style list-style-image "
             "list-style-position list-style-type margin margin-block margin-block-end "
             "margin-block-start margin-bottom margin-inline margin-inline-end margin-inline-start "
             "margin-left margin-right margin-top marker-offset marks mask mask-image "
             "max-block-size max-height max-inline-size max-width min-block-size min-height "
             "min-inline-size min-width mix-blend-mode object-fit object-position opacity order "
             "orphans outline outline-color outline-offset outline-style outline-width overflow "
             "overflow-anchor overflow-wrap overflow-x overflow-y overscroll-behavior padding "
             "padding-block padding-block-end padding-block-start padding-bottom padding-inline "
             "padding-inline-end padding-inline-start padding-left padding-right padding-top page "
             "page-break-after page-break-before page-break-inside pause pause-after pause-before "
             "perspective perspective-origin pitch pitch-range place-content place-items "
             "place-self play-during pointer-events position print-color-adjust quotes resize "
             "richness right rotate row-gap scale scroll-behavior scroll-margin scroll-padding "
             "scroll-snap-align scroll-snap-type scrollbar-color scrollbar-gutter scrollbar-width "
             "shape-outside size speak speak-header speak-numeral speak-punctuation speech-rate "
             "src stress stroke stroke-width tab-size table-layout text-align text-align-last "
             "text-decoration text-decoration-color text-decoration-line "
             "text-decoration-style text-decoration-thickness text-emphasis text-indent "
             "text-justify text-orientation text-overflow text-rendering text-shadow "
             "text-transform text-underline-offset text-underline-position top touch-action "
             "transform transform-origin transform-style transition transition-delay "
             "transition-duration transition-property transition-timing-function translate "
             "unicode-bidi unicode-range user-select vertical-align visibility voice-family "
             "volume white-space widows width will-change word-break word-spacing word-wrap "
             "writing-mode z-index zoom"}},
        true);
    return table;
}

const scan::WordTable &colourNames() {
    static const scan::WordTable table(
        {{1, "aliceblue antiquewhite aqua aquamarine azure beige bisque black blanchedalmond blue "
             "blueviolet brown burlywood cadetblue chartreuse chocolate coral cornflowerblue "
             "cornsilk crimson currentcolor cyan darkblue darkcyan darkgoldenrod darkgray "
             "darkgreen darkgrey darkkhaki darkmagenta darkolivegreen darkorange darkorchid "
             "darkred darksalmon darkseagreen darkslateblue darkslategray darkslategrey "
             "darkturquoise darkviolet deeppink deepskyblue dimgray dimgrey dodgerblue firebrick "
             "floralwhite forestgreen fuchsia gainsboro ghostwhite gold goldenrod gray green "
             "greenyellow grey honeydew hotpink indianred indigo ivory khaki lavender "
             "lavenderblush lawngreen lemonchiffon lightblue lightcoral lightcyan "
             "lightgoldenrodyellow lightgray lightgreen lightgrey lightpink lightsalmon "
             "lightseagreen lightskyblue lightslategray lightslategrey lightsteelblue lightyellow "
             "lime limegreen linen magenta maroon mediumaquamarine mediumblue mediumorchid "
             "mediumpurple mediumseagreen mediumslateblue mediumspringgreen mediumturquoise "
             "mediumvioletred midnightblue mintcream mistyrose moccasin navajowhite navy oldlace "
             "olive olivedrab orange orangered orchid palegoldenrod palegreen paleturquoise "
             "palevioletred papayawhip peachpuff peru pink plum powderblue purple rebeccapurple "
             "red rosybrown royalblue saddlebrown salmon sandybrown seagreen seashell sienna "
             "silver skyblue slateblue slategray slategrey snow springgreen steelblue tan teal "
             "thistle tomato transparent turquoise violet wheat white whitesmoke yellow "
             "yellowgreen"}},
        true);
    return table;
}

// At-rules whose block holds declarations rather than rules.
bool opensDeclarations(const char *s, int length) {
    static const scan::WordTable table(
        {{1, "font-face page viewport counter-style property font-palette-values"}}, true);
    return table.contains(s, length);
}

enum Context { Selector, Declarations, ValueContext, AtPrelude };
enum Overlay { NoOverlay, InComment, InDouble, InSingle };

bool isIdentChar(unsigned char c) {
    return scan::isWordChar(c) || c == '-';
}

int identEnd(const char *s, int p, int end) {
    while (p < end && (isIdentChar(byteAt(s, p)) || (s[p] == '\\' && p + 1 < end)))
        p += s[p] == '\\' ? 2 : 1;
    return p;
}

bool startsNumber(const char *s, int p, int end) {
    const unsigned char c = byteAt(s, p);
    if (scan::isDigit(c)) return true;
    if (c == '.' && p + 1 < end && scan::isDigit(byteAt(s, p + 1))) return true;
    if ((c == '+' || c == '-') && p + 1 < end)
        return startsNumber(s, p + 1, end) && s[p + 1] != '+' && s[p + 1] != '-';
    return false;
}

// A number with its unit or '%'.
int cssNumberEnd(const char *s, int p, int end) {
    if (s[p] == '+' || s[p] == '-') ++p;
    while (p < end && scan::isDigit(byteAt(s, p)))
        ++p;
    if (p + 1 < end && s[p] == '.' && scan::isDigit(byteAt(s, p + 1))) {
        ++p;
        while (p < end && scan::isDigit(byteAt(s, p)))
            ++p;
    }
    if (p + 1 < end && (s[p] | 0x20) == 'e') {
        int q = p + 1;
        if (q < end && (s[q] == '+' || s[q] == '-')) ++q;
        if (q < end && scan::isDigit(byteAt(s, q))) {
            p = q;
            while (p < end && scan::isDigit(byteAt(s, p)))
                ++p;
        }
    }
    if (p < end && s[p] == '%') return p + 1;
    while (p < end && scan::isAsciiLetter(byteAt(s, p)))
        ++p;
    return p;
}

bool isKnownProperty(const char *s, int n) {
    if (properties().contains(s, n)) return true;
    if (n > 2 && s[0] == '-' && s[1] == '-') return true; // custom property
    if (n > 1 && s[0] == '-') {
        // Vendor prefix: -webkit-transition is known when transition is.
        for (int i = 1; i < n; ++i)
            if (s[i] == '-') return i + 1 < n && properties().contains(s + i + 1, n - i - 1);
    }
    return false;
}

// A string from p to its closing quote (which clears the overlay) or the end;
// the token starts at `from`.
int scanString(const char *s, int from, int p, int end, char quote, TokenSink &out, int *overlay,
               bool *escapeAtEnd) {
    while (p < end && s[p] != quote) {
        if (s[p] == '\\' && ++p == end) {
            *escapeAtEnd = true;
            break;
        }
        ++p;
    }
    if (p < end) {
        ++p;
        *overlay = NoOverlay;
    }
    out.add(from, p - from, CssHighlighter::String);
    return p;
}

} // namespace

CssHighlighter::CssHighlighter(QObject *parent)
    : Highlighter(Language::Css, Categories, CategoryCount, parent) {}

LineState CssHighlighter::scanSpan(const char *s, int lineLength, int begin, int end,
                                   LineState state, TokenSink &out) const {
    int context = int(state & 3);
    int overlay = int((state >> 2) & 3);
    bool atDeclarations = (state >> 4) & 1;
    bool escapeAtEnd = false;
    int p = begin;
    while (p < end) {
        const unsigned char c = byteAt(s, p);
        if (overlay == InComment) {
            bool commentClosed = false;
            p = scan::emitBlockComment(out, s, p, end, Comment, &commentClosed);
            if (commentClosed) overlay = NoOverlay;
            continue;
        }
        if (overlay == InDouble || overlay == InSingle) {
            p = scanString(s, p, p, end, overlay == InDouble ? '"' : '\'', out, &overlay,
                           &escapeAtEnd);
            continue;
        }
        if (scan::isSpace(c)) {
            p = scan::emitSpaces(out, s, p, end, Space);
            continue;
        }
        if (c == '/' && p + 1 < end && s[p + 1] == '*') {
            overlay = InComment;
            out.add(p, 2, Comment);
            p += 2;
            continue;
        }
        if (c == '"' || c == '\'') {
            overlay = c == '"' ? InDouble : InSingle;
            p = scanString(s, p, p + 1, end, char(c), out, &overlay, &escapeAtEnd);
            continue;
        }
        if (c == '<' && scan::startsWith(s, p, end, "<!--")) {
            out.add(p, 4, Comment);
            p += 4;
            continue;
        }
        if (c == '-' && scan::startsWith(s, p, end, "-->")) {
            out.add(p, 3, Comment);
            p += 3;
            continue;
        }
        if (c == '@' && p + 1 < end && isIdentChar(byteAt(s, p + 1))) {
            const int q = identEnd(s, p + 1, end);
            out.add(p, q - p, ReservedWord);
            atDeclarations = opensDeclarations(s + p + 1, q - p - 1);
            context = AtPrelude;
            p = q;
            continue;
        }
        if (c == '{') {
            out.add(p++, 1, Symbol);
            // A rule's block holds declarations; @media and the like hold rules.
            if (context == AtPrelude)
                context = atDeclarations ? Declarations : Selector;
            else
                context = Declarations;
            atDeclarations = false;
            continue;
        }
        if (c == '}') {
            out.add(p++, 1, Symbol);
            context = Selector;
            continue;
        }
        switch (context) {
        case Selector: {
            const int from = p;
            while (p < end) {
                const unsigned char k = byteAt(s, p);
                if (scan::isSpace(k) || std::strchr("{}(),;[]>+~*=\"'/@|^$!", k)) break;
                ++p;
            }
            if (p == from)
                out.add(p++, 1, Symbol);
            else
                out.add(from, p - from, Text);
            break;
        }
        case Declarations:
            if (isIdentChar(c)) {
                const int q = identEnd(s, p, end);
                out.add(p, q - p, isKnownProperty(s + p, q - p) ? Property : UnknownProperty);
                p = q;
            } else {
                if (c == ':') context = ValueContext;
                out.add(p++, 1, Symbol);
            }
            break;
        case ValueContext:
        case AtPrelude:
            if (startsNumber(s, p, end)) {
                const int q = cssNumberEnd(s, p, end);
                out.add(p, q - p, Number);
                p = q;
            } else if (c == '#' && context == ValueContext) {
                const int q = identEnd(s, p + 1, end);
                int hex = p + 1;
                while (hex < q && scan::isHexDigit(byteAt(s, hex)))
                    ++hex;
                const int n = q - p - 1;
                const bool colour = hex == q && (n == 3 || n == 4 || n == 6 || n == 8);
                out.add(p, q - p, colour ? Colour : Value);
                p = q;
            } else if (c == '!' && context == ValueContext) {
                const int q = scan::skipSpaces(s, p + 1, end);
                if (scan::startsWith(s, q, end, "important", true)) {
                    out.add(p, q + 9 - p, ReservedWord);
                    p = q + 9;
                } else {
                    out.add(p++, 1, Symbol);
                }
            } else if (isIdentChar(c)) {
                const int q = identEnd(s, p, end);
                const bool isColour =
                    context == ValueContext && colourNames().contains(s + p, q - p);
                out.add(p, q - p, isColour ? Colour : Value);
                const bool url = q - p == 3 && scan::startsWith(s, p, q, "url", true);
                p = q;
                if (url && p < end && s[p] == '(') {
                    out.add(p++, 1, Symbol);
                    const int r = scan::skipSpaces(s, p, end);
                    if (r < end && s[r] != '"' && s[r] != '\'') {
                        int t = r;
                        while (t < end && s[t] != ')')
                            ++t;
                        scan::emitRun(out, p, t, String);
                        p = t;
                    }
                }
            } else {
                if (c == ';') context = context == ValueContext ? Declarations : Selector;
                out.add(p++, 1, Symbol);
            }
            break;
        }
    }
    // A string ends with its line unless the line break is escaped.
    if (end == lineLength && (overlay == InDouble || overlay == InSingle) && !escapeAtEnd)
        overlay = NoOverlay;
    return LineState(context | overlay << 2 | int(atDeclarations) << 4);
}
