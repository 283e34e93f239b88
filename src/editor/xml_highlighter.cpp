#include "editor/plain_highlighters.h"
#include "editor/scan_support.h"

#include <algorithm>

using scan::byteAt;

namespace {

constexpr TokenAttribute attr(TextColour fg, int style = 0) {
    return {fg, TextColour::window(), style};
}

const CategoryInfo Categories[] = {
    {"Nom d'élément", TokenRole::Identifier, attr(TextColour::rgb(0, 0, 128), StyleBold)},
    {"Texte", TokenRole::Other, attr(TextColour::windowText())},
    {"Espace", TokenRole::Space, attr(TextColour::windowText())},
    {"Entité de référence", TokenRole::Other, attr(TextColour::rgb(0, 128, 128))},
    {"Instruction de traitement", TokenRole::Other, attr(TextColour::rgb(128, 0, 128))},
    {"Section CDATA", TokenRole::String, attr(TextColour::rgb(128, 128, 0))},
    {"Commentaire", TokenRole::Comment, attr(TextColour::rgb(128, 128, 128), StyleItalic)},
    {"Section DOCTYPE", TokenRole::Other, attr(TextColour::rgb(128, 0, 0))},
    {"Nom d'attribut", TokenRole::Keyword, attr(TextColour::rgb(128, 0, 0))},
    {"Nom d'attribut d'espace", TokenRole::Keyword, attr(TextColour::rgb(255, 0, 0))},
    {"Valeur d'attribut", TokenRole::String, attr(TextColour::rgb(0, 0, 255))},
    {"Valeur d'attribut d'espace", TokenRole::String, attr(TextColour::rgb(0, 0, 255))},
    {"Symbole", TokenRole::Symbol, attr(TextColour::rgb(0, 0, 255))},
};
static_assert(std::size(Categories) == XmlHighlighter::CategoryCount);

enum Mode {
    InText,
    TagName,
    Tag,
    NsAfterName, // after an xmlns attribute name
    AttrValue,
    NsAttrValue,
    DoubleValue,
    SingleValue,
    NsDoubleValue,
    NsSingleValue,
    InComment,
    InCData,
    InPI,
    InDocType,
    InDocTypeSubset,
};

bool isNameChar(unsigned char c) {
    return scan::isWordChar(c) || c == '-' || c == ':' || c == '.';
}

int entityEnd(const char *s, int p, int end) {
    int q = p + 1;
    if (q < end && s[q] == '#') ++q;
    const int first = q;
    while (q < end && (scan::isWordChar(byteAt(s, q)) || s[q] == '-' || s[q] == '.'))
        ++q;
    if (q == first || q >= end || s[q] != ';') return p;
    return q + 1;
}

// Scans until `close` (included); returns the end and tells whether it closed.
int scanUntil(const char *s, int p, int end, const char *close, int category, TokenSink &out,
              bool *closed) {
    const int q = scan::find(s, p, end, close);
    const int stop = q < 0 ? end : q + int(std::strlen(close));
    scan::emitRun(out, p, stop, category);
    *closed = q >= 0;
    return stop;
}

// Quoted attribute value: the token starts at `from` (the opening quote when on
// this line) and runs to the closing quote or the end of the span.
int scanValue(const char *s, int from, int p, int end, char quote, bool ns, TokenSink &out,
              bool *closed) {
    const int category =
        ns ? XmlHighlighter::NamespaceAttributeValue : XmlHighlighter::AttributeValue;
    while (p < end && s[p] != quote) {
        if (s[p] == '&') {
            const int q = entityEnd(s, p, end);
            if (q > p) {
                scan::emitRun(out, from, p, category);
                out.add(p, q - p, XmlHighlighter::EntityReference);
                from = p = q;
                continue;
            }
        }
        ++p;
    }
    *closed = p < end;
    if (*closed) ++p;
    scan::emitRun(out, from, p, category);
    return p;
}

} // namespace

XmlHighlighter::XmlHighlighter(QObject *parent)
    : Highlighter(Language::Xml, Categories, CategoryCount, parent) {}

LineState XmlHighlighter::scanSpan(const char *s, int, int begin, int end, LineState state,
                                   TokenSink &out) const {
    int mode = int(state & 15);
    int p = begin;
    bool closed = false;
    while (p < end) {
        const unsigned char c = byteAt(s, p);
        switch (mode) {
        case InComment:
            p = scanUntil(s, p, end, "-->", Comment, out, &closed);
            if (closed) mode = InText;
            break;
        case InCData:
            p = scanUntil(s, p, end, "]]>", CData, out, &closed);
            if (closed) mode = InText;
            break;
        case InPI:
            p = scanUntil(s, p, end, "?>", ProcessingInstruction, out, &closed);
            if (closed) mode = InText;
            break;
        case InDocType:
        case InDocTypeSubset: {
            const int from = p;
            while (p < end) {
                const char k = s[p++];
                if (mode == InDocTypeSubset) {
                    if (k == ']') mode = InDocType;
                } else if (k == '[') {
                    mode = InDocTypeSubset;
                } else if (k == '>') {
                    mode = InText;
                    break;
                }
            }
            out.add(from, p - from, DocType);
            break;
        }
        case DoubleValue:
        case SingleValue:
        case NsDoubleValue:
        case NsSingleValue: {
            const bool ns = mode == NsDoubleValue || mode == NsSingleValue;
            const char quote = (mode == DoubleValue || mode == NsDoubleValue) ? '"' : '\'';
            p = scanValue(s, p, p, end, quote, ns, out, &closed);
            if (closed) mode = Tag;
            break;
        }
        case InText:
            if (scan::isSpace(c)) {
                p = scan::emitSpaces(out, s, p, end, Space);
            } else if (c == '&') {
                const int q = entityEnd(s, p, end);
                out.add(p, std::max(q, p + 1) - p, q > p ? EntityReference : Text);
                p = std::max(q, p + 1);
            } else if (c == '<') {
                if (scan::startsWith(s, p, end, "<!--")) {
                    p = scanUntil(s, p, end, "-->", Comment, out, &closed);
                    if (!closed) mode = InComment;
                } else if (scan::startsWith(s, p, end, "<![CDATA[")) {
                    p = scanUntil(s, p, end, "]]>", CData, out, &closed);
                    if (!closed) mode = InCData;
                } else if (scan::startsWith(s, p, end, "<?")) {
                    p = scanUntil(s, p, end, "?>", ProcessingInstruction, out, &closed);
                    if (!closed) mode = InPI;
                } else if (scan::startsWith(s, p, end, "<!")) {
                    out.add(p, 2, DocType);
                    p += 2;
                    mode = InDocType;
                } else {
                    out.add(p++, 1, Symbol);
                    if (p < end && s[p] == '/') out.add(p++, 1, Symbol);
                    mode = TagName;
                }
            } else {
                const int from = p;
                while (p < end) {
                    const unsigned char k = byteAt(s, p);
                    if (scan::isSpace(k) || k == '<' || k == '&') break;
                    ++p;
                }
                out.add(from, p - from, Text);
            }
            break;
        case TagName:
            if (isNameChar(c)) {
                const int from = p;
                while (p < end && isNameChar(byteAt(s, p)))
                    ++p;
                out.add(from, p - from, ElementName);
            }
            mode = Tag;
            break;
        default: // Tag, NsAfterName, AttrValue, NsAttrValue
            if (scan::isSpace(c)) {
                p = scan::emitSpaces(out, s, p, end, Space);
            } else if (c == '>') {
                out.add(p++, 1, Symbol);
                mode = InText;
            } else if (c == '"' || c == '\'') {
                const bool ns = mode == NsAttrValue || mode == NsAfterName;
                p = scanValue(s, p, p + 1, end, char(c), ns, out, &closed);
                if (closed)
                    mode = Tag;
                else if (ns)
                    mode = c == '"' ? NsDoubleValue : NsSingleValue;
                else
                    mode = c == '"' ? DoubleValue : SingleValue;
            } else if (c == '=') {
                out.add(p++, 1, Symbol);
                mode = mode == NsAfterName ? NsAttrValue : AttrValue;
            } else if (c == '/' || c == '?' || c == '<') {
                out.add(p++, 1, Symbol);
                if (c == '<') mode = TagName;
            } else if (mode == AttrValue || mode == NsAttrValue) {
                const int from = p;
                while (p < end && !scan::isSpace(byteAt(s, p)) && s[p] != '>')
                    ++p;
                out.add(from, p - from,
                        mode == NsAttrValue ? NamespaceAttributeValue : AttributeValue);
                mode = Tag;
            } else {
                const int from = p;
                while (p < end) {
                    const unsigned char k = byteAt(s, p);
                    if (scan::isSpace(k) || k == '>' || k == '/' || k == '=' || k == '"' ||
                        k == '\'' || k == '<')
                        break;
                    ++p;
                }
                const int n = p - from;
                const bool ns = (n == 5 && scan::startsWith(s, from, p, "xmlns")) ||
                                scan::startsWith(s, from, p, "xmlns:");
                out.add(from, n, ns ? NamespaceAttributeName : AttributeName);
                mode = ns ? NsAfterName : Tag;
            }
            break;
        }
    }
    return LineState(mode);
}
