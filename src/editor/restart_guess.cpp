#include "editor/restart_guess.h"

#include "editor/multi_highlighter.h"
#include "editor/scan_support.h"

namespace {

bool isLineBreak(char c) {
    return c == '\n' || c == '\r';
}

// Start of the line that holds offset p.
int lineStartOf(const char *s, int p) {
    while (p > 0 && !isLineBreak(s[p - 1]))
        --p;
    return p;
}

// Start of the line before the one that starts at p, or -1.
int previousLineStart(const char *s, int p) {
    if (p <= 0) return -1;
    int q = p - 1; // the line break that ends the line before
    if (s[q] == '\n' && q > 0 && s[q - 1] == '\r') --q;
    return lineStartOf(s, q);
}

// Whether the line at p begins, after blanks, with a tag, a declaration, a
// comment or a server block: text that reads the same from the initial state.
bool beginsWithTag(const char *s, int p, int length) {
    while (p < length && (s[p] == ' ' || s[p] == '\t'))
        ++p;
    if (p + 1 >= length || s[p] != '<') return false;
    const unsigned char c = static_cast<unsigned char>(s[p + 1]);
    return scan::isAsciiLetter(c) || c == '/' || c == '!' || c == '?' || c == '%';
}

bool isNameEnd(const char *s, int p, int length) {
    return p >= length || !(scan::isWordChar(static_cast<unsigned char>(s[p])) || s[p] == '-');
}

// The start of the construct (script, style sheet, server block, comment, CDATA
// section) that is open at p, judged by the nearest marker before p; -1 when
// the nearest marker closes one, or there is none.
int openConstructBefore(const char *s, int p, int length) {
    for (int i = p - 1; i >= 0; --i) {
        const char c = s[i];
        if (c == '>') {
            if (i >= 1 && (s[i - 1] == '?' || s[i - 1] == '%')) return -1;
            if (i >= 2 &&
                ((s[i - 1] == '-' && s[i - 2] == '-') || (s[i - 1] == ']' && s[i - 2] == ']')))
                return -1;
        } else if (c == '<') {
            if (scan::startsWith(s, i, length, "</script", true) ||
                scan::startsWith(s, i, length, "</style", true))
                return -1;
            if (scan::startsWith(s, i, length, "<!--") ||
                scan::startsWith(s, i, length, "<![CDATA[") ||
                scan::startsWith(s, i, length, "<?") || scan::startsWith(s, i, length, "<%"))
                return i;
            if ((scan::startsWith(s, i, length, "<script", true) && isNameEnd(s, i + 7, length)) ||
                (scan::startsWith(s, i, length, "<style", true) && isNameEnd(s, i + 6, length)))
                return i;
        }
    }
    return -1;
}

bool isBlankLine(const char *s, int p, int length) {
    while (p < length && (s[p] == ' ' || s[p] == '\t'))
        ++p;
    return p >= length || isLineBreak(s[p]);
}

} // namespace

bool coloursMarkup(const Highlighter &highlighter) {
    const Highlighter *h = &highlighter;
    while (const auto *multi = qobject_cast<const MultiHighlighter *>(h))
        h = multi->defaultHighlighter();
    return h->language() == Language::Html || h->language() == Language::Xml;
}

int guessRestartLine(const Highlighter &highlighter, const char *text, int length, int target) {
    if (target <= 0) return 0;
    if (!coloursMarkup(highlighter)) {
        for (int line = target; line >= 0; line = previousLineStart(text, line))
            if (isBlankLine(text, line, length)) return line;
        return 0;
    }
    // Each round moves strictly back: the line that opens a construct comes before
    // the line found inside it.
    int candidate = target;
    for (;;) {
        int line = candidate;
        while (line >= 0 && !beginsWithTag(text, line, length))
            line = previousLineStart(text, line);
        if (line < 0) return 0;
        const int opener = openConstructBefore(text, line, length);
        if (opener < 0) return line;
        candidate = lineStartOf(text, opener);
    }
}
