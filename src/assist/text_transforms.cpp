#include "assist/text_transforms.h"

#include "platform/windows1252.h"

#include <QList>

#include <vector>

namespace Assist {

namespace {

// The text as code points, so that a character outside the basic plane is one.
struct Chars {
    std::vector<char32_t> c;
    bool cp1252;

    char32_t upper(char32_t x) const { return fitting(x, QChar::toUpper(x)); }
    char32_t lower(char32_t x) const { return fitting(x, QChar::toLower(x)); }
    char32_t fitting(char32_t from, char32_t to) const {
        if (to == from) return from;
        if ((from > 0xFFFF) != (to > 0xFFFF)) return from;
        if (cp1252 && Windows1252::fromUnicode(to) < 0) return from;
        return to;
    }
    bool countsUpper(size_t i) const { return upper(c[i]) == c[i]; }
    bool countsLower(size_t i) const { return lower(c[i]) == c[i]; }
    void toUpperAt(size_t i) {
        if (!countsUpper(i)) c[i] = upper(c[i]);
    }
    void toLowerAt(size_t i) {
        if (!countsLower(i)) c[i] = lower(c[i]);
    }
};

bool isSeparator(char32_t c) {
    switch (c) {
    case '\t':
    case '\n':
    case '\r':
    case ' ':
    case '!':
    case '"':
    case '\'':
    case '(':
    case ')':
    case ',':
    case '.':
    case '/':
    case ':':
    case ';':
    case '<':
    case '>':
    case '?':
    case '[':
    case '\\':
    case ']':
    case '{':
    case '}':
    case 0xAB:
    case 0xBB:
        return true;
    default:
        return false;
    }
}

bool isSentenceEnd(char32_t c) {
    return c == '.' || c == '!' || c == '?';
}

bool isWhite(char32_t c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

} // namespace

QString ChangeCase(const QString &text, CaseChange change, bool windows1252) {
    Chars s{{}, windows1252};
    const QList<uint> ucs4 = text.toUcs4();
    s.c.assign(ucs4.begin(), ucs4.end());
    const size_t n = s.c.size();
    if (n == 0) return text;

    switch (change) {
    case CaseChange::Upper:
        for (size_t i = 0; i < n; ++i)
            s.c[i] = s.upper(s.c[i]);
        break;
    case CaseChange::Lower:
        for (size_t i = 0; i < n; ++i)
            s.c[i] = s.lower(s.c[i]);
        break;
    case CaseChange::Invert:
        for (size_t i = 0; i < n; ++i)
            s.c[i] = s.countsLower(i) ? s.upper(s.c[i]) : s.lower(s.c[i]);
        break;
    case CaseChange::Capitalize: {
        // 0-based walk; every step stays inside the text, even after a final separator.
        size_t i = 0;
        while (i + 1 < n) {
            if (isSeparator(s.c[i])) {
                size_t k = i;
                while (k < n && isSeparator(s.c[k]))
                    ++k;
                if (k >= n) break;
                s.toUpperAt(k);
                i = k;
            } else {
                ++i;
                s.toLowerAt(i);
            }
        }
        if (s.countsLower(0)) s.c[0] = s.upper(s.c[0]);
        break;
    }
    case CaseChange::Sentence: {
        size_t i = 0;
        while (i + 1 < n) {
            if (isSentenceEnd(s.c[i]) && isWhite(s.c[i + 1])) {
                size_t k = i + 1;
                while (k < n && isWhite(s.c[k]))
                    ++k;
                if (k >= n) break;
                s.toUpperAt(k);
                i = k;
            } else if (isSentenceEnd(s.c[i])) {
                // The letter glued to the full stop keeps its case.
                i += 2;
                if (i >= n) break;
                s.toLowerAt(i);
            } else {
                ++i;
                s.toLowerAt(i);
            }
        }
        s.toUpperAt(0);
        break;
    }
    }
    return QString::fromUcs4(s.c.data(), qsizetype(n));
}

} // namespace Assist
