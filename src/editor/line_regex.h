#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// A regular expression over UTF-8 text in which CR LF, LF and CR each end a line: "^",
// "$", "." and \N see all three alike, since documents come with any of them (and new
// ones with CR LF). Every search of the program reads its expressions through this
// class. It matches the UTF-8 bytes where they lie (PCRE2 in its 8-bit form), so a
// search never copies or decodes the text and costs only the distance it covers.
// Positions are byte offsets; bytes that are not UTF-8 are matched by nothing.
class LineRegex {
public:
    struct Match {
        qsizetype start = -1;
        qsizetype end = -1;
        QStringList captures; // 0 is the whole match
        bool found() const { return start >= 0; }
    };
    // Whether a match found in [start, end) is taken; the search goes on after it if not.
    using Filter = std::function<bool(qsizetype start, qsizetype end)>;

    // False, with a French message, when the pattern does not compile.
    bool setPattern(const QString &pattern, bool caseSensitive, QString *error = nullptr);
    bool isValid() const { return m_code != nullptr; }
    const QString &pattern() const { return m_pattern; }
    bool caseSensitive() const { return m_caseSensitive; }

    // The first match that starts at or after 'from' and ends at or before 'limit', the
    // text being cut at 'limit'; the whole text before 'from' is seen by "^" and
    // look-behind.
    Match first(const char *data, qsizetype from, qsizetype limit, const Filter &accept) const;
    // The last match that starts at or after 'lower' and ends at or before 'from' (the
    // text cut there), as a search from a line start before it meets the matches.
    Match last(const char *data, qsizetype from, qsizetype lower, const Filter &accept) const;
    // Every match in [from, to) in order, empty ones included; stops when 'visit' says so.
    void forEach(const char *data, qsizetype from, qsizetype to,
                 const std::function<bool(const Match &)> &visit) const;

    // The same walk giving only where each match lies, for a search that needs no groups.
    void forEachSpan(const char *data, qsizetype from, qsizetype to,
                     const std::function<bool(qsizetype start, qsizetype end)> &visit) const;

    // The newline convention put before every pattern.
    static QString linePattern(const QString &pattern);

private:
    struct Code;
    QString m_pattern;
    bool m_caseSensitive = false;
    std::shared_ptr<const Code> m_code; // shared by copies: a compiled pattern never changes
};
