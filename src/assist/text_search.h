#pragma once

#include "editor/line_regex.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

// How a search text is matched.
struct MatchRules {
    bool caseSensitive = false;
    bool wholeWords = false;
    bool regularExpression = false;
};

// One match in a UTF-8 text: byte offsets, and for a regular expression the
// captured groups (0 is the whole match).
struct TextMatch {
    qsizetype start = -1;
    qsizetype end = -1;
    QStringList captures;
    bool found() const { return start >= 0; }
    qsizetype length() const { return end - start; }
};

// One replacement of a replace-all: the bytes [start, end) of the original text and the
// bytes that take their place.
struct Replacement {
    qsizetype start = 0;
    qsizetype end = 0;
    QByteArray text;
};

// Finds a search text in UTF-8 text, forwards or backwards, with the case, whole-word
// and regular-expression rules; works on the editor's bytes directly so that a search
// over a large document copies nothing.
class TextSearch {
public:
    // False, with a French message, when the pattern is a regular expression that does
    // not compile. An empty pattern never matches.
    bool prepare(const QString &pattern, const MatchRules &rules, QString *error = nullptr);
    bool isValid() const { return m_valid; }
    // A text of ASCII alone, without the whole-word rule: it finds the same matches in a
    // file's bytes whether they are UTF-8 or Windows-1252 (neither puts ASCII bytes
    // inside another character), so the bytes need no decoding to be counted.
    bool sameInAnyEncoding() const { return m_valid && m_ascii && !m_rules.wholeWords; }
    const MatchRules &rules() const { return m_rules; }

    // The first match that starts at or after 'from' and ends at or before 'limit'.
    // Matches of no length are passed over.
    TextMatch findForward(const char *data, qsizetype len, qsizetype from, qsizetype limit) const;
    // The last match that starts at or after 'lower' and ends at or before 'from'.
    TextMatch findBackward(const char *data, qsizetype len, qsizetype from, qsizetype lower) const;

    // The text that replaces a match: the replacement as typed, or for a regular
    // expression with \0 to \9 standing for the groups, \n, \t and \\. A line break in
    // it is written as 'eol'.
    QString replacementFor(const TextMatch &m, const QString &replacement,
                           const QString &eol = QStringLiteral("\r\n")) const;

    // Every match in [from, to) with its replacement, in order, as positions in the original
    // text: the search goes on after each match, so a replacement that holds the search text
    // never loops. For a regular expression an empty match is replaced too (once per place).
    // Applied from the last one back, the positions stay valid.
    QList<Replacement> replacements(const char *data, qsizetype len, qsizetype from, qsizetype to,
                                    const QString &replacement,
                                    const QString &eol = QStringLiteral("\r\n")) const;

    // Calls visit(start, end) for every match of [0, len) in order, as a replace-all meets
    // them, without the groups; stops when visit says false.
    void forEachMatch(const char *data, qsizetype len,
                      const std::function<bool(qsizetype, qsizetype)> &visit) const;

private:
    // The first place at or after 'from' (up to 'last') where the pattern's two rarest
    // bytes both lie, compared sixteen places at a time; -1 when none.
    TextMatch findPair(const char *data, qsizetype len, qsizetype from, qsizetype limit) const;
    bool literalAt(const char *data, qsizetype len, qsizetype pos, qsizetype limit,
                   qsizetype *end) const;
    bool wordBoundaries(const char *data, qsizetype len, qsizetype start, qsizetype end) const;
    static TextMatch fromRegex(LineRegex::Match &&m);

    MatchRules m_rules;
    bool m_valid = false;
    QByteArray m_pattern; // UTF-8 of the literal pattern
    QByteArray m_mapped;  // the pattern through m_map
    std::array<unsigned char, 256> m_map{};
    std::array<qsizetype, 256> m_skipForward{};
    std::array<qsizetype, 256> m_skipBackward{};
    // The byte of the pattern least likely in text, searched with memchr: its offset in
    // the pattern and its two cases (-1: none suits, the skip tables serve).
    qsizetype m_rare = -1;
    unsigned char m_rareLower = 0;
    unsigned char m_rareUpper = 0;
    // Two bytes of the pattern compared together (m_pair false: the pattern has no two
    // that suit): their offsets, and a byte ORed in before comparing with the target
    // (0x20 for a letter of either case).
    bool m_pair = false;
    qsizetype m_pairAt[2] = {0, 0};
    unsigned char m_pairOr[2] = {0, 0};
    unsigned char m_pairWant[2] = {0, 0};
    bool m_ascii = false; // a literal pattern of ASCII bytes
    bool m_needsFold = false; // case-insensitive with letters beyond ASCII
    QList<char32_t> m_folded; // the pattern's code points, case-folded
    LineRegex m_regex;
};
