#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <cstring>
#include <vector>

// Syntax highlighting engine. A highlighter scans one line of UTF-8 bytes, given
// the state at the start of the line, and reports tokens (start, length,
// category) and the state at the end of the line. Non-ASCII bytes are ordinary
// word or text characters. States are plain 64-bit values, so a caller can keep
// one per line and compare them to know whether a change runs on.

// The state at the start of a text, for every highlighter.
using LineState = std::uint64_t;

// The plain languages; a token names the one whose category it carries.
// Marker is the start or end text of a region of a multi-language highlighter.
enum class Language : std::uint8_t {
    General,
    Html,
    Xml,
    Css,
    JavaScript,
    VBScript,
    Php,
    Perl,
    Sql,
    Marker,
};
inline constexpr int LanguageCount = 10;

// Number of token categories of each language (Marker has one).
int languageCategoryCount(Language language);

// A colour as the settings store keeps it: 0x00BBGGRR for an explicit colour,
// or 0x80000000 plus a system colour index.
struct TextColour {
    static constexpr std::uint32_t SystemFlag = 0x80000000u;
    static constexpr int WindowIndex = 5;
    static constexpr int WindowTextIndex = 8;

    std::uint32_t code = SystemFlag | WindowTextIndex;

    static constexpr TextColour rgb(int r, int g, int b) {
        return TextColour{std::uint32_t(r & 0xff) | std::uint32_t(g & 0xff) << 8 |
                          std::uint32_t(b & 0xff) << 16};
    }
    static constexpr TextColour system(int index) {
        return TextColour{SystemFlag | std::uint32_t(index)};
    }
    static constexpr TextColour window() { return system(WindowIndex); }
    static constexpr TextColour windowText() { return system(WindowTextIndex); }

    bool isSystem() const { return (code & SystemFlag) != 0; }
    int systemIndex() const { return int(code & 0xffffu); }
    int red() const { return int(code & 0xff); }
    int green() const { return int((code >> 8) & 0xff); }
    int blue() const { return int((code >> 16) & 0xff); }
    friend bool operator==(TextColour, TextColour) = default;
};

// Font style bits, as stored.
enum FontStyleBits { StyleBold = 1, StyleItalic = 2, StyleUnderline = 4, StyleStrikeOut = 8 };

// How one token category is drawn.
struct TokenAttribute {
    TextColour foreground = TextColour::windowText();
    TextColour background = TextColour::window();
    int style = 0;
    friend bool operator==(const TokenAttribute &, const TokenAttribute &) = default;
};

// What a category means, for code that needs more than its colour (bracket
// matching skips strings and comments, and only pairs lone symbols).
enum class TokenRole : std::uint8_t { Other, Comment, String, Symbol, Identifier, Keyword, Space };

struct CategoryInfo {
    const char *name; // UTF-8, as shown and as named in the settings store
    TokenRole role;
    TokenAttribute defaults;
};

struct HighlightToken {
    int start;  // byte offset in the line
    int length; // bytes
    std::uint8_t category;
    Language language;
};

// Receives the tokens of a scan. Reuse one across lines: it keeps its capacity.
class TokenSink {
public:
    // A style byte for each (language, category).
    using StyleTable = unsigned char[LanguageCount][32];

    void add(int start, int length, int category) {
        if (m_paint) {
            fill(m_paint + start, length, m_styleRow[category]);
            return;
        }
        m_tokens.push_back({start, length, std::uint8_t(category), m_language});
    }
    void setLanguage(Language language) {
        m_language = language;
        if (m_table) m_styleRow = (*m_table)[int(language)];
    }
    void clear() { m_tokens.clear(); }
    const std::vector<HighlightToken> &tokens() const { return m_tokens; }

    // Instead of keeping the tokens, writes each one's style into `styles`
    // (indexed like the line) from `table`: for callers that only paint, it
    // saves a copy of every token. A null `styles` goes back to keeping them.
    void paintInto(char *styles, const StyleTable *table) {
        m_paint = styles;
        m_table = styles ? table : nullptr;
        if (m_table) m_styleRow = (*m_table)[int(m_language)];
    }

private:
    // Most tokens are short: two overlapping stores beat a call.
    static void fill(char *d, int n, unsigned char style) {
        if (n >= 4 && n <= 16) {
            if (n >= 8) {
                const std::uint64_t v = 0x0101010101010101ull * style;
                std::memcpy(d, &v, 8);
                std::memcpy(d + n - 8, &v, 8);
            } else {
                const std::uint32_t v = 0x01010101u * style;
                std::memcpy(d, &v, 4);
                std::memcpy(d + n - 4, &v, 4);
            }
        } else if (n > 16) {
            std::memset(d, style, size_t(n));
        } else {
            for (int i = 0; i < n; ++i)
                d[i] = char(style);
        }
    }

    std::vector<HighlightToken> m_tokens;
    Language m_language = Language::General;
    char *m_paint = nullptr;
    const StyleTable *m_table = nullptr;
    const unsigned char *m_styleRow = nullptr;
};

class Highlighter : public QObject {
    Q_OBJECT
public:
    ~Highlighter() override;

    // The language of a plain highlighter; Marker for a multi-language one.
    Language language() const { return m_language; }
    virtual bool isMultiLanguage() const { return false; }

    // Token categories (none for a multi-language highlighter).
    int categoryCount() const { return m_categoryCount; }
    QString categoryName(int category) const;
    // Index of the category with that name, or -1.
    int categoryIndex(const QString &name) const;
    TokenRole categoryRole(int category) const;
    // First category with that role, or -1.
    int categoryOfRole(TokenRole role) const;

    // Colours and font styles, shared by every editor using this highlighter.
    const TokenAttribute &attribute(int category) const { return m_attributes[category]; }
    TokenAttribute defaultAttribute(int category) const;
    void setAttribute(int category, const TokenAttribute &attribute);
    const std::vector<TokenAttribute> &attributes() const { return m_attributes; }
    void setAttributes(const std::vector<TokenAttribute> &attributes);

    // Scans bytes [begin, end) of a line of lineLength bytes (line break
    // excluded), starting in `state`; token offsets count from `line`. The
    // tokens cover [begin, end) in order. When end < lineLength the span stops
    // mid-line (a region of another language follows) and constructs that would
    // close at the end of the line stay open. Thread-safe: scanning changes nothing.
    LineState scan(const char *line, int lineLength, int begin, int end, LineState state,
                   TokenSink &out) const {
        out.setLanguage(m_language);
        return scanSpan(line, lineLength, begin, end, state, out);
    }
    LineState scanLine(const char *line, int length, LineState state, TokenSink &out) const {
        return scan(line, length, 0, length, state, out);
    }

    // The plain highlighter in force after a scan that ended in `state`.
    virtual const Highlighter *plainAt(LineState state) const;
    // The plain highlighter in force at byte `column` of a line that starts in
    // `lineStartState` (regions resolved through every level of nesting).
    const Highlighter *languageAt(const char *line, int lineLength, LineState lineStartState,
                                  int column) const;
    // Whether a region coloured by this highlighter may end where a scan that
    // ended in `state` stopped (not inside a string or a block comment, say).
    virtual bool regionMayEndAt(LineState state) const {
        Q_UNUSED(state);
        return true;
    }
    // The plain highlighters this one can colour with (itself when plain).
    virtual void collectPlain(std::vector<const Highlighter *> &out) const;

    // Number of low bits its states can use.
    virtual int stateBits() const = 0;

signals:
    void attributesChanged();

protected:
    Highlighter(Language language, const CategoryInfo *categories, int categoryCount,
                QObject *parent);
    virtual LineState scanSpan(const char *line, int lineLength, int begin, int end,
                               LineState state, TokenSink &out) const = 0;

private:
    Language m_language;
    const CategoryInfo *m_categories;
    int m_categoryCount;
    std::vector<TokenAttribute> m_attributes;
};
