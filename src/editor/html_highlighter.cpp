#include "editor/html_vocabulary.h"
#include "editor/plain_highlighters.h"
#include "editor/scan_support.h"

#include <array>

using scan::byteAt;

namespace {

constexpr TokenAttribute attr(TextColour fg, int style = 0) {
    return {fg, TextColour::window(), style};
}

const CategoryInfo Categories[] = {
    {"Commentaire", TokenRole::Comment, attr(TextColour::rgb(128, 128, 128), StyleItalic)},
    {"Identificateur", TokenRole::Identifier, attr(TextColour::rgb(255, 0, 0))},
    {"Mot réservé", TokenRole::Keyword, attr(TextColour::rgb(128, 0, 0))},
    {"Espace", TokenRole::Space, attr(TextColour::rgb(0, 128, 128))},
    {"Symbole", TokenRole::Symbol, attr(TextColour::rgb(0, 0, 255))},
    {"Texte", TokenRole::Other, attr(TextColour::windowText())},
    {"Mot inconnu", TokenRole::Identifier, attr(TextColour::rgb(255, 0, 255))},
    {"Valeur", TokenRole::String, attr(TextColour::rgb(0, 0, 255))},
    {"Caractères spéciaux", TokenRole::Other, attr(TextColour::rgb(255, 0, 0))},
};
static_assert(std::size(Categories) == HtmlHighlighter::CategoryCount);

// Scanner modes, kept in the line state.
enum Mode {
    InText,
    TagName,     // after "<" or "</"
    DeclName,    // after "<!" or "<?"
    Tag,         // among attributes
    AttrValue,   // after "="
    DoubleValue, // inside "..."
    SingleValue, // inside '...'
    InComment,
};

// Byte classes, looked up once per byte in the loops that run over names and text.
enum ByteClass : unsigned char { NameByte = 1, EndsText = 2 };

constexpr std::array<unsigned char, 256> byteClasses() {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (scan::isWordChar(b) || b == '-' || b == ':' || b == '.') table[size_t(c)] |= NameByte;
        if (scan::isSpace(b) || b == '<' || b == '&') table[size_t(c)] |= EndsText;
    }
    return table;
}
constexpr std::array<unsigned char, 256> ByteClasses = byteClasses();

inline bool isNameChar(unsigned char c) {
    return ByteClasses[c] & NameByte;
}

// A character reference at s[p] == '&': its end, or p when there is none.
int entityEnd(const char *s, int p, int end) {
    int q = p + 1;
    int first = q;
    if (q < end && s[q] == '#') {
        ++q;
        if (q < end && (s[q] | 0x20) == 'x') {
            ++q;
            first = q;
            while (q < end && scan::isHexDigit(byteAt(s, q)))
                ++q;
        } else {
            first = q;
            while (q < end && scan::isDigit(byteAt(s, q)))
                ++q;
        }
    } else {
        if (q >= end || !scan::isAsciiLetter(byteAt(s, q))) return p;
        while (q < end && (scan::isAsciiLetter(byteAt(s, q)) || scan::isDigit(byteAt(s, q))))
            ++q;
    }
    if (q == first) return p;
    if (q < end && s[q] == ';') ++q;
    return q;
}

// Quoted attribute value from p up to the closing quote (included) or the end;
// the token starts at `from` (the opening quote, when on this line). Returns the
// new position and tells whether the quote closed.
int scanQuoted(const char *s, int from, int p, int end, char quote, TokenSink &out, bool *closed) {
    while (p < end) {
        const char c = s[p];
        if (c == quote) {
            ++p;
            out.add(from, p - from, HtmlHighlighter::Value);
            *closed = true;
            return p;
        }
        if (c == '&') {
            const int q = entityEnd(s, p, end);
            if (q > p) {
                scan::emitRun(out, from, p, HtmlHighlighter::Value);
                out.add(p, q - p, HtmlHighlighter::SpecialChar);
                from = p = q;
                continue;
            }
        }
        ++p;
    }
    scan::emitRun(out, from, p, HtmlHighlighter::Value);
    *closed = false;
    return p;
}

} // namespace

HtmlHighlighter::HtmlHighlighter(QObject *parent)
    : Highlighter(Language::Html, Categories, CategoryCount, parent) {}

QStringList HtmlHighlighter::elementNames() {
    QStringList names;
    for (const HtmlVocabulary::Element &e : HtmlVocabulary::elements())
        names << e.name;
    return names;
}

bool HtmlHighlighter::isElementName(const char *name, int length) {
    return HtmlVocabulary::isKnownElement(name, length);
}

LineState HtmlHighlighter::scanSpan(const char *s, int, int begin, int end, LineState state,
                                    TokenSink &out) const {
    int mode = int(state & 7);
    int p = begin;
    while (p < end) {
        const unsigned char c = byteAt(s, p);
        switch (mode) {
        case InComment: {
            const int q = scan::find(s, p, end, "-->");
            const int stop = q < 0 ? end : q + 3;
            out.add(p, stop - p, Comment);
            p = stop;
            if (q >= 0) mode = InText;
            break;
        }
        case DoubleValue:
        case SingleValue: {
            bool closed = false;
            p = scanQuoted(s, p, p, end, mode == DoubleValue ? '"' : '\'', out, &closed);
            if (closed) mode = Tag;
            break;
        }
        case InText:
            if (scan::isSpace(c)) {
                p = scan::emitSpaces(out, s, p, end, Space);
            } else if (c == '<') {
                const int q = p + 1;
                const unsigned char n = q < end ? byteAt(s, q) : 0;
                if (n == '!' && scan::startsWith(s, q, end, "!--")) {
                    const int close = scan::find(s, p + 4, end, "-->");
                    const int stop = close < 0 ? end : close + 3;
                    out.add(p, stop - p, Comment);
                    p = stop;
                    if (close < 0) mode = InComment;
                } else if (n == '/' || n == '!' || n == '?') {
                    out.add(p, 1, Symbol);
                    out.add(q, 1, Symbol);
                    p = q + 1;
                    mode = n == '/' ? TagName : DeclName;
                } else if (scan::isAsciiLetter(n)) {
                    out.add(p, 1, Symbol);
                    p = q;
                    mode = TagName;
                } else {
                    out.add(p++, 1, Text); // "a < b"
                }
            } else if (c == '&') {
                const int q = entityEnd(s, p, end);
                if (q > p) {
                    out.add(p, q - p, SpecialChar);
                    p = q;
                } else {
                    out.add(p++, 1, Text);
                }
            } else {
                const int from = p;
                while (p < end && !(ByteClasses[byteAt(s, p)] & EndsText))
                    ++p;
                out.add(from, p - from, Text);
            }
            break;
        case TagName:
        case DeclName:
            if (isNameChar(c)) {
                const int from = p;
                while (p < end && isNameChar(byteAt(s, p)))
                    ++p;
                int category = ReservedWord;
                if (mode == TagName)
                    category = isElementName(s + from, p - from) ? Identifier : UnknownWord;
                out.add(from, p - from, category);
            }
            mode = Tag;
            break;
        case Tag:
        case AttrValue:
            if (scan::isSpace(c)) {
                p = scan::emitSpaces(out, s, p, end, Space);
            } else if (c == '>') {
                out.add(p++, 1, Symbol);
                mode = InText;
            } else if (c == '"' || c == '\'') {
                bool closed = false;
                p = scanQuoted(s, p, p + 1, end, char(c), out, &closed);
                mode = closed ? Tag : (c == '"' ? DoubleValue : SingleValue);
            } else if (mode == AttrValue) {
                const int from = p;
                while (p < end && !scan::isSpace(byteAt(s, p)) && s[p] != '>')
                    ++p;
                out.add(from, p - from, Value);
                mode = Tag;
            } else if (c == '=') {
                out.add(p++, 1, Symbol);
                mode = AttrValue;
            } else if (c == '<') {
                // An unclosed tag: a new one starts here.
                out.add(p++, 1, Symbol);
                if (p < end && s[p] == '/') out.add(p++, 1, Symbol);
                mode = TagName;
            } else if (c == '/' || c == '?') {
                out.add(p++, 1, Symbol);
            } else {
                const int from = p;
                while (p < end) {
                    const unsigned char k = byteAt(s, p);
                    if (scan::isSpace(k) || k == '>' || k == '/' || k == '=' || k == '"' ||
                        k == '\'' || k == '<')
                        break;
                    ++p;
                }
                out.add(from, p - from, ReservedWord);
            }
            break;
        }
    }
    return LineState(mode);
}
