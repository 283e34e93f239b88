#pragma once

#include <QRegularExpression>
#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A region start or end expression, matched against the bytes of one line.
//
// The expression keeps its regular-expression meaning, but the regex engine
// only runs where a cheap test says a match could start: the pattern is read
// once to find the literal text every match begins with, the literal runs every
// match contains, and whether a match can hold a '>' anywhere but at its end
// (then no match reaches past the first '>', and only that much of the line is
// handed to the engine). A pattern that is a plain literal never uses the engine.
class RegionPattern {
public:
    // Where a match can hold a '>': anywhere, only as its last byte, or nowhere.
    enum class GreaterThan { Anywhere, OnlyAtEnd, Never };

    RegionPattern(const QString &pattern, bool caseSensitive);

    QString pattern() const { return m_pattern; }
    // False for an empty pattern or one the engine rejects. A pattern is compiled at
    // its first use by the engine, not when made; one read as well formed here but
    // rejected then simply never matches.
    bool isValid() const { return m_valid; }

    // The earliest non-empty match that starts in [from, to) and ends by `to`.
    bool find(const char *line, int from, int to, int *matchStart, int *matchEnd) const;
    // A non-empty match starting exactly at `pos` and ending by `to`.
    bool matchAt(const char *line, int pos, int to, int *matchEnd) const;
    // False when no match can start with this byte.
    bool canStartWith(unsigned char c) const { return m_firstBytes[c]; }
    // The longest literal run every match contains (lower-cased when case is
    // ignored), or an empty string when the pattern gives none.
    std::string longestRequiredRun() const;
    bool caseSensitive() const { return m_caseSensitive; }

    // For callers that screen many positions against several patterns before
    // calling matchAt: whether the pattern was read (the rest is meaningful only
    // then), the text every match starts with (lower-cased when case is
    // ignored), and where a match can hold a '>'.
    bool isAnalysed() const { return m_analysed; }
    const std::string &prefix() const { return m_prefix; }
    // The literal runs every match contains, in order (lower-cased when case is ignored).
    const std::vector<std::string> &requiredRuns() const { return m_required; }
    GreaterThan greaterThan() const { return m_greaterThan; }

private:
    void analyse(const std::string &pattern);

    QString m_pattern;
    std::uint64_t m_id; // tells patterns apart in the memory of the engine's answers
    QRegularExpression m_regex;
    bool m_caseSensitive;
    bool m_valid = false;
    bool m_analysed = false; // false: every position is a candidate, the whole span is searched
    bool m_literal = false;  // the pattern is m_prefix and nothing else
    std::string m_prefix;    // lower-cased when case is ignored
    std::vector<std::string> m_required;
    GreaterThan m_greaterThan = GreaterThan::Anywhere;
    std::array<bool, 256> m_firstBytes{};
    int m_firstByte = -1; // the only byte a match can start with (case ignored: its lower form)
};
