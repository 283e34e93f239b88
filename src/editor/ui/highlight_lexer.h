#pragma once

#include "editor/highlighter.h"

#include <QBasicTimer>
#include <QFont>
#include <Qsci/qscilexercustom.h>

#include <algorithm>
#include <vector>

// Colours a QsciScintilla with one of the program's highlighters.
//
// One lexer per editor; the highlighter (and so its colours) is shared:
//
//   auto *lexer = new HighlightLexer(types.highlighter(DocumentTypes::SynMultiSynPHP), editor);
//   lexer->setBaseFont(font);          // optional: the default is the system fixed font
//   editor->setLexer(lexer);           // QsciScintilla does not take ownership
//
// To change the type, create a new lexer, set it, and delete the old one. The
// highlighter of "Aucun" gives a lexer that colours everything in window text.
// Colour changes (Highlighter::setAttribute/setAttributes) repaint every editor
// whose lexer uses that highlighter.
//
// Styling is incremental: the end state of every line is kept; after an edit,
// lines are rescanned from the first changed one, and as soon as a line past
// the changed text ends in the state it had before, the rest is known to be
// unchanged and is not rescanned. Scintilla asks only for what it shows.
//
// In a large document, the text past what was asked for is coloured in the
// background, a few milliseconds at a time and never while the user types.
// When the screen shows text far past what that has reached (the end of a page
// just opened), the screen is coloured at once from a checkpoint (a state kept
// from before a change, or the end of text coloured that way before) or from a
// guessed restart line (see guessRestartLine): an island of colour. When the
// background colouring reaches an island, it keeps it if the island started in
// the state it finds there, and recolours it otherwise, so that in the end every
// line has the colours a pass from the start gives.
class HighlightLexer : public QsciLexerCustom {
    Q_OBJECT
public:
    explicit HighlightLexer(const Highlighter *highlighter, QObject *parent = nullptr);
    ~HighlightLexer() override;

    const Highlighter *highlighter() const { return m_highlighter; }

    // The font of every style (with each category's bold, italic, underline
    // and strike-out). Should be fixed-pitch: column selection counts pixels.
    void setBaseFont(const QFont &font);
    QFont baseFont() const { return m_font; }

    // Scintilla style number of a category: 1..127 without 32..39 (0 is the
    // default style, used for line breaks).
    static int styleFor(Language language, int category);
    struct StyleInfo {
        Language language = Language::General;
        int category = -1;                        // -1: the default style
        const Highlighter *highlighter = nullptr; // the plain highlighter, if any
    };
    StyleInfo styleInfo(int style) const;

    // The state at the start of a line (styles the text before it if needed).
    LineState lineStartState(int line);
    // The plain highlighter in force at a byte position, regions resolved.
    const Highlighter *languageAt(int position);

    // Lines scanned since the lexer was created (tests and benchmarks).
    qint64 scannedLineCount() const { return m_scannedLines; }

    // Uncoloured text beyond which the rest is coloured in the background (and the
    // screen, when it shows text that far, from a checkpoint or a guess), and the
    // time one slice of that work may take.
    static constexpr int BackgroundThreshold = 1 << 20;
    static constexpr int BackgroundSliceMs = 2;
    // The first distance for this lexer (tests use short texts).
    void setFarThreshold(int bytes) { m_farThreshold = std::max(bytes, 1); }
    // The pause after a change before the background work goes on.
    static constexpr int BackgroundPauseMs = 400;
    // Whether the background colouring is under way.
    bool colouringAhead() const { return m_ahead.isActive(); }
    // Lines coloured from a checkpoint or a guess that the background colouring
    // has not reached yet.
    int islandLineCount() const;

    // QsciLexer interface.
    const char *language() const override;
    QString description(int style) const override;
    QColor color(int style) const override;
    QColor defaultColor(int style) const override;
    QColor paper(int style) const override;
    QColor defaultPaper(int style) const override;
    QFont font(int style) const override;
    QFont defaultFont(int style) const override;
    bool eolFill(int style) const override;
    int styleBitsNeeded() const override { return 8; }
    void setEditor(QsciScintilla *editor) override;
    void styleText(int start, int end) override;

public slots:
    // Sends every style's colours and font to the editor again.
    void refreshStyles();
    // Forgets every line state: the text is rescanned as it is shown.
    void invalidate();

private slots:
    void handleModified(int position, int modificationType, const char *text, int length,
                        int linesAdded);

protected:
    void timerEvent(QTimerEvent *e) override;

private:
    // Lines [first, end) coloured one after the other from the state `start`
    // guessed (or kept) for line `first`, past the lines known for sure.
    struct Island {
        int first;
        int end;
        LineState start;
    };
    enum class Next { Scan, Stop };
    static constexpr size_t MaxIslands = 16;

    void settlePendingChange();
    bool prepare();
    void colourAheadLater();
    int lineStart(int line, int lineCount, int length) const;
    int lineOf(int position) const;
    TokenAttribute attributeOf(int style) const;
    // Scans and styles lines from `line` (starting in `state`) up to `lastLine`;
    // before(line, state) may stop before a line, after(line, endState) after it.
    // Returns the first line not scanned.
    template <class Before, class After>
    int scanLines(int line, int lastLine, LineState state, Before before, After after);
    // Colours lines [firstLine, lastLine] one after the other from the known states.
    void styleInOrder(int firstLine, int lastLine);
    // Colours the lines on screen, [shownLine, lastLine], from an island.
    void styleShown(int frontierLine, int shownLine, int lastLine);
    // Where an island for a screen that starts at `line` begins, and its state.
    Island newIsland(int frontierLine, int line);
    // The state at the start of a line, as far as it is known.
    LineState stateBefore(int line) const;
    void shiftIslands(int line, int linesAdded);

    const Highlighter *m_highlighter;
    const Highlighter *m_plain[LanguageCount] = {};
    QByteArray m_name;
    QFont m_font;
    QMetaObject::Connection m_modified;

    std::vector<LineState> m_states; // end state of each line
    int m_validLines = 0;            // lines [0, n) have styles and states that follow one another
    int m_dirtyLast = -1;            // last line changed since it was styled, or -1
    int m_pendingPosition = -1;      // where a change announced but not yet settled is made
    int m_pendingLineCount = 0;      // the document's line count before that change
    qint64 m_scannedLines = 0;
    std::vector<Island> m_islands; // in order, apart, all at or after m_validLines
    int m_farThreshold = BackgroundThreshold;

    QBasicTimer m_ahead;
    int m_sliceBytes = 1 << 16;

    TokenSink m_sink;
    QByteArray m_text;
    QByteArray m_styles;
};
