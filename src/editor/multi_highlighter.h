#pragma once

#include "editor/highlighter.h"
#include "editor/region_pattern.h"

#include <QString>

#include <memory>
#include <vector>

// One kind of region of a multi-language highlighter.
struct RegionScheme {
    QString name;
    QString startExpression;
    QString endExpression;
    bool caseSensitive = false;
    const Highlighter *highlighter = nullptr;
    // The end expression only counts where the region's highlighter allows an
    // end (outside its strings and block comments).
    bool endInCodeOnly = false;
};

// Colours text with a default highlighter, except in regions: a region begins
// at a match of a scheme's start expression and ends at the next match of its
// end expression; its text is coloured by the scheme's highlighter, and the two
// matches (markers) are reported as Language::Marker tokens. Where several
// schemes could start, the earliest match wins, then the first scheme in order.
// Regions begin and end anywhere in a line and run on across lines. The default
// and region highlighters may themselves be multi-language; the default
// highlighter's state is kept while a region runs, so a region inside an
// attribute value resumes that value after it.
class MultiHighlighter : public Highlighter {
    Q_OBJECT
public:
    MultiHighlighter(const Highlighter *defaultHighlighter, const QString &defaultLanguageName,
                     const std::vector<RegionScheme> &schemes, QObject *parent = nullptr);
    ~MultiHighlighter() override;

    bool isMultiLanguage() const override { return true; }
    const Highlighter *defaultHighlighter() const { return m_default; }
    QString defaultLanguageName() const { return m_defaultLanguageName; }
    int schemeCount() const { return int(m_schemes.size()); }
    const RegionScheme &scheme(int index) const { return m_schemes[index]->definition; }

    // Index of the scheme whose region is open after a scan that ended in
    // `state`, or -1 when the text there is the default highlighter's.
    int schemeAt(LineState state) const;

    const Highlighter *plainAt(LineState state) const override;
    void collectPlain(std::vector<const Highlighter *> &out) const override;
    int stateBits() const override { return m_schemeBits + m_regionBits + m_defaultBits; }

    // The region markers alone, for callers that need where regions are but no
    // colours: the earliest region start in line[from, to), and the end marker of
    // a scheme's region.
    bool findRegionStart(const char *line, int from, int to, int *scheme, int *matchStart,
                         int *matchEnd) const {
        return findStart(line, from, to, scheme, matchStart, matchEnd);
    }
    bool findRegionEnd(int scheme, const char *line, int from, int to, int *matchStart,
                       int *matchEnd) const {
        return m_schemes[size_t(scheme)]->end.find(line, from, to, matchStart, matchEnd);
    }
    // False when no region can start in the line: a quick test on the literal text
    // every start marker contains, for callers that look through whole documents.
    bool lineMayStartRegion(const char *line, int length) const;
    // Where in s[from, to) the next such literal text begins (to when nowhere;
    // from when regions cannot be told apart this way).
    qsizetype nextRegionLiteral(const char *s, qsizetype from, qsizetype to) const;

protected:
    LineState scanSpan(const char *line, int lineLength, int begin, int end, LineState state,
                       TokenSink &out) const override;

private:
    struct CompiledScheme {
        RegionScheme definition;
        RegionPattern start;
        RegionPattern end;
        // Literal runs the start needs (indexes into m_runs), to screen candidates.
        std::vector<int> runs;
    };
    // A literal run some start expression needs, and the screen's memory of
    // where it next occurs in the span being searched.
    struct Run {
        std::string text;
        bool caseInsensitive;
    };
    bool findStart(const char *line, int from, int to, int *scheme, int *matchStart,
                   int *matchEnd) const;
    bool findEnd(const CompiledScheme &scheme, const char *line, int lineLength, int from, int to,
                 LineState region, int *matchStart, int *matchEnd) const;

    const Highlighter *m_default;
    QString m_defaultLanguageName;
    std::vector<std::unique_ptr<CompiledScheme>> m_schemes;
    std::vector<Run> m_runs;
    // Screens of the first 64 schemes, one bit each: those whose start can begin
    // with a byte, can have a byte second (index 256: the span ends after one
    // byte), and those that need a run.
    std::array<std::uint64_t, 256> m_firstByteSchemes{};
    std::array<std::uint64_t, 257> m_secondByteSchemes{};
    std::vector<std::uint64_t> m_runSchemes;
    std::array<bool, 256> m_startBytes{};
    int m_startByte = -1; // the only byte a region can start with, if there is one
    // Distinct literal runs, one of which every region start contains (empty: no test).
    std::vector<std::pair<std::string, bool>> m_startLiterals;
    std::array<bool, 256> m_literalFirstBytes{}; // either case when case is ignored
    bool m_filterLines = true;
    int m_onlyFirstByte = -1; // the literals' first byte when they all share one
    // The literals' first two bytes (either case when case is ignored); empty when a
    // literal is one byte long.
    std::vector<quint64> m_literalPairs;
    // State layout: scheme index + 1 (0: default), region state, default state.
    int m_schemeBits = 0;
    int m_regionBits = 0;
    int m_defaultBits = 0;
};
