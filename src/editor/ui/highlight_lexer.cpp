#include "editor/ui/highlight_lexer.h"

#include "editor/restart_guess.h"

#include <QElapsedTimer>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>
#include <QTimerEvent>
#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <cstring>

namespace {

// Style numbers of every (language, category), skipping Scintilla's
// predefined styles 32..39.
struct StyleMap {
    unsigned char style[LanguageCount][32] = {};
    Language language[256] = {};
    signed char category[256];

    StyleMap() {
        std::fill(std::begin(category), std::end(category), -1);
        int next = 1;
        for (int l = 0; l < LanguageCount; ++l) {
            for (int c = 0; c < languageCategoryCount(Language(l)); ++c) {
                if (next == 32) next = 40;
                style[l][c] = (unsigned char)next;
                language[next] = Language(l);
                category[next] = (signed char)c;
                ++next;
            }
        }
        Q_ASSERT(next <= 128);
    }
};

const StyleMap &styleMap() {
    static const StyleMap map;
    return map;
}

const char *languageName(const Highlighter *h) {
    if (h->isMultiLanguage()) return "Balizor multi-language";
    static const char *const names[LanguageCount] = {
        "Balizor General",  "Balizor HTML", "Balizor XML",  "Balizor CSS", "Balizor JavaScript",
        "Balizor VBScript", "Balizor PHP",  "Balizor Perl", "Balizor SQL", "Balizor"};
    return names[int(h->language())];
}

// Windows system colour indexes, as stored, mapped to the palette.
QColor resolve(TextColour c) {
    if (!c.isSystem()) return QColor(c.red(), c.green(), c.blue());
    const QPalette palette = QGuiApplication::palette();
    switch (c.systemIndex()) {
    case 1: // desktop
    case 4: // menu
    case 15:
        return palette.color(QPalette::Button);
    case 5:
        return palette.color(QPalette::Base); // window background
    case 6:
        return palette.color(QPalette::Shadow);
    case 13:
        return palette.color(QPalette::Highlight);
    case 14:
        return palette.color(QPalette::HighlightedText);
    case 16:
        return palette.color(QPalette::Mid);
    case 17:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18:
        return palette.color(QPalette::ButtonText);
    case 20:
        return palette.color(QPalette::Light);
    case 23:
        return palette.color(QPalette::ToolTipText);
    case 24:
        return palette.color(QPalette::ToolTipBase);
    default:
        return palette.color(QPalette::WindowText); // 8: window text, 7: menu text...
    }
}

} // namespace

HighlightLexer::HighlightLexer(const Highlighter *highlighter, QObject *parent)
    : QsciLexerCustom(parent), m_highlighter(highlighter), m_name(languageName(highlighter)),
      m_font(QFontDatabase::systemFont(QFontDatabase::FixedFont)) {
    std::vector<const Highlighter *> plain;
    highlighter->collectPlain(plain);
    for (const Highlighter *h : plain) {
        m_plain[int(h->language())] = h;
        connect(h, &Highlighter::attributesChanged, this, &HighlightLexer::refreshStyles);
    }
    // Scintilla's own default style (the area past the text) follows the palette too.
    QsciLexer::setDefaultFont(m_font);
    QsciLexer::setDefaultColor(resolve(TextColour::windowText()));
    QsciLexer::setDefaultPaper(resolve(TextColour::window()));
}

HighlightLexer::~HighlightLexer() = default;

int HighlightLexer::styleFor(Language language, int category) {
    return styleMap().style[int(language)][category];
}

HighlightLexer::StyleInfo HighlightLexer::styleInfo(int style) const {
    StyleInfo info;
    if (style < 0 || style > 255 || styleMap().category[style] < 0) return info;
    info.language = styleMap().language[style];
    info.category = styleMap().category[style];
    info.highlighter = m_plain[int(info.language)];
    return info;
}

TokenAttribute HighlightLexer::attributeOf(int style) const {
    const StyleInfo info = styleInfo(style);
    if (info.highlighter && info.category < info.highlighter->categoryCount())
        return info.highlighter->attribute(info.category);
    return TokenAttribute{}; // default style and region markers: window text
}

const char *HighlightLexer::language() const {
    return m_name.constData();
}

QString HighlightLexer::description(int style) const {
    if (style == 0) return QStringLiteral("Défaut");
    const StyleInfo info = styleInfo(style);
    if (info.language == Language::Marker && info.category == 0)
        return QStringLiteral("Marqueur de région");
    if (!info.highlighter) return QString();
    return info.highlighter->categoryName(info.category);
}

QColor HighlightLexer::color(int style) const {
    return resolve(attributeOf(style).foreground);
}

QColor HighlightLexer::defaultColor(int style) const {
    return color(style);
}

QColor HighlightLexer::paper(int style) const {
    return resolve(attributeOf(style).background);
}

QColor HighlightLexer::defaultPaper(int style) const {
    return paper(style);
}

QFont HighlightLexer::font(int style) const {
    const int bits = attributeOf(style).style;
    QFont f = m_font;
    f.setBold(bits & StyleBold);
    f.setItalic(bits & StyleItalic);
    f.setUnderline(bits & StyleUnderline);
    f.setStrikeOut(bits & StyleStrikeOut);
    return f;
}

QFont HighlightLexer::defaultFont(int style) const {
    return font(style);
}

bool HighlightLexer::eolFill(int) const {
    return false;
}

void HighlightLexer::setBaseFont(const QFont &font) {
    m_font = font;
    QsciLexer::setDefaultFont(font);
    refreshStyles();
}

void HighlightLexer::refreshStyles() {
    for (int style = 0; style < 128; ++style) {
        if (description(style).isEmpty()) continue;
        emit colorChanged(color(style), style);
        emit paperChanged(paper(style), style);
        emit fontChanged(font(style), style);
    }
}

void HighlightLexer::setEditor(QsciScintilla *editor) {
    QObject::disconnect(m_modified);
    m_ahead.stop();
    QsciLexerCustom::setEditor(editor);
    m_states.clear();
    m_islands.clear();
    m_validLines = 0;
    m_dirtyLast = -1;
    m_pendingPosition = -1;
    if (editor)
        m_modified = connect(editor, &QsciScintillaBase::SCN_MODIFIED, this,
                             &HighlightLexer::handleModified);
}

void HighlightLexer::invalidate() {
    m_validLines = 0;
    m_dirtyLast = -1;
    m_islands.clear();
    if (QsciScintilla *ed = editor()) {
        ed->SendScintilla(QsciScintillaBase::SCI_STARTSTYLING, 0UL, 0L);
        ed->viewport()->update();
    }
}

int HighlightLexer::islandLineCount() const {
    int n = 0;
    for (const Island &island : m_islands)
        n += island.end - island.first;
    return n;
}

// Keeps one end state per line through insertions and deletions of lines, and
// remembers how far the changed text reaches. It listens to the notices sent
// before a change (the editor does not ask for the ones sent after it, whose
// handling costs time in proportion to the document's size), and settles each
// change once it is done: at the next notice or the next request for styles.
void HighlightLexer::handleModified(int position, int modificationType, const char *, int length,
                                    int) {
    if (!(modificationType &
          (QsciScintillaBase::SC_MOD_BEFOREINSERT | QsciScintillaBase::SC_MOD_BEFOREDELETE)) ||
        length <= 0)
        return;
    settlePendingChange();
    QsciScintilla *ed = editor();
    if (m_ahead.isActive()) m_ahead.start(BackgroundPauseMs, this); // the user is typing
    m_pendingPosition = position;
    m_pendingLineCount = int(ed->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT));
}

void HighlightLexer::settlePendingChange() {
    if (m_pendingPosition < 0 || !editor()) return;
    // The line of the change as the text now stands: a position between a CR and an
    // LF belongs to another line once they are parted.
    const int line = lineOf(m_pendingPosition);
    const int linesAdded =
        int(editor()->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT)) - m_pendingLineCount;
    m_pendingPosition = -1;
    const int size = int(m_states.size());
    if (linesAdded > 0 && line <= size) {
        // Line `line` was split: the state that followed it now ends its last part.
        m_states.insert(m_states.begin() + line, size_t(linesAdded), LineState(0));
    } else if (linesAdded < 0 && line < size) {
        const int last = std::min(size, line - linesAdded);
        m_states.erase(m_states.begin() + line, m_states.begin() + last);
    }
    if (m_validLines > line) m_validLines = std::max(line + 1, m_validLines + linesAdded);
    m_validLines = std::min(m_validLines, int(m_states.size()));
    if (m_dirtyLast > line) m_dirtyLast = std::max(line, m_dirtyLast + linesAdded);
    m_dirtyLast = std::max(m_dirtyLast, line + std::max(linesAdded, 0));
    shiftIslands(line, linesAdded);
}

// An island keeps the lines before the changed one; the lines after it move
// with the text. One whose first line went with a deletion is forgotten.
void HighlightLexer::shiftIslands(int line, int linesAdded) {
    const int removedLast = line - std::min(linesAdded, 0); // last line joined to `line`
    for (size_t i = 0; i < m_islands.size();) {
        Island &island = m_islands[i];
        if (island.first > line) {
            if (island.first <= removedLast) {
                m_islands.erase(m_islands.begin() + long(i));
                continue;
            }
            island.first += linesAdded;
            island.end += linesAdded;
        } else if (island.end > line) {
            island.end = line;
        }
        ++i;
    }
    // Islands lie past the lines known for sure.
    while (!m_islands.empty() && m_islands.front().first < m_validLines)
        m_islands.erase(m_islands.begin());
}

int HighlightLexer::lineStart(int line, int lineCount, int length) const {
    if (line >= lineCount) return length;
    return int(
        editor()->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, (unsigned long)line));
}

int HighlightLexer::lineOf(int position) const {
    return int(
        editor()->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, (unsigned long)position));
}

template <class Before, class After>
int HighlightLexer::scanLines(int line, int lastLine, LineState state, Before before, After after) {
    QsciScintilla *ed = editor();
    const int length = int(ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    const int lineCount = int(m_states.size());
    constexpr int ChunkBytes = 1 << 18;
    bool stop = false;
    while (line <= lastLine && !stop) {
        // Copy a run of whole lines and style it with one call.
        const int chunkStart = lineStart(line, lineCount, length);
        const int chunkLast =
            std::clamp(lineOf(std::min(chunkStart + ChunkBytes, length)), line, lastLine);
        const int chunkEnd = lineStart(chunkLast + 1, lineCount, length);
        const int n = chunkEnd - chunkStart;
        m_text.resize(n + 1);
        ed->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, long(chunkStart), long(chunkEnd),
                          m_text.data());
        m_styles.resize(n);
        const char *text = m_text.constData();
        char *styles = m_styles.data();

        int offset = 0;
        for (; line <= chunkLast; ++line) {
            if (before(line, state) == Next::Stop) {
                stop = true;
                break;
            }
            // The line break: the first CR or LF (CR LF counts as one).
            const void *lf = std::memchr(text + offset, '\n', size_t(n - offset));
            int eol = lf ? int(static_cast<const char *>(lf) - text) : n;
            if (const void *cr = std::memchr(text + offset, '\r', size_t(eol - offset)))
                eol = int(static_cast<const char *>(cr) - text);
            int next = eol;
            if (next < n)
                next += (text[next] == '\r' && next + 1 < n && text[next + 1] == '\n') ? 2 : 1;
            if (line == chunkLast) next = n; // Scintilla's own line boundary

            std::memset(styles + offset, 0, size_t(next - offset));
            m_sink.paintInto(styles + offset, &styleMap().style);
            state = m_highlighter->scanLine(text + offset, eol - offset, state, m_sink);
            ++m_scannedLines;
            offset = next;
            if (after(line, state) == Next::Stop) {
                stop = true;
                ++line;
                break;
            }
        }
        m_sink.paintInto(nullptr, nullptr);
        if (offset > 0) {
            startStyling(chunkStart);
            ed->SendScintilla(QsciScintillaBase::SCI_SETSTYLINGEX, uintptr_t(offset),
                              static_cast<const char *>(styles));
        }
    }
    return line;
}

// Settles the last change and keeps one state per line. False without an editor.
bool HighlightLexer::prepare() {
    QsciScintilla *ed = editor();
    if (!ed) return false;
    settlePendingChange();
    const int lineCount = int(ed->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT));
    if ((int)m_states.size() != lineCount) {
        // Out of step with the text (modification notifications masked?):
        // keep nothing as known.
        if (!m_states.empty()) m_validLines = 0;
        m_states.resize(size_t(lineCount), 0);
        m_islands.clear();
    }
    m_validLines = std::min(m_validLines, lineCount);
    return true;
}

void HighlightLexer::styleText(int start, int end) {
    if (!prepare()) return;
    QsciScintilla *ed = editor();
    end = std::min(end, int(ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH)));
    const int firstLine = lineOf(start);
    const int lastLine = lineOf(end);
    // A request that ends on screen far past the coloured text is the screen being
    // painted there: colour it now, the rest in the background. Others (printing,
    // say) get the colours of a pass from the start.
    bool far = end - start > m_farThreshold;
    int shown = 0;
    if (far) {
        shown = int(ed->SendScintilla(
            QsciScintillaBase::SCI_DOCLINEFROMVISIBLE,
            (unsigned long)ed->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE)));
        const int onScreen = int(ed->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN));
        far = lastLine >= shown && lastLine <= shown + onScreen + 4;
    }
    if (far)
        styleShown(firstLine, std::max(shown, firstLine), lastLine);
    else
        styleInOrder(firstLine, lastLine);
    colourAheadLater();
}

// Lines that follow known ones are compared with what they held: once a line past
// the changed text ends in the state it had, the lines after it up to the last
// known one keep their styles. An island met on the way is kept whole if it
// started in the state found there.
void HighlightLexer::styleInOrder(int line, int lastLine) {
    const int lineCount = int(m_states.size());
    const int length = int(editor()->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    LineState state = line > 0 ? m_states[size_t(line - 1)] : 0;
    while (line <= lastLine) {
        bool skip = false;
        const auto before = [&](int l, LineState at) {
            while (!m_islands.empty() && m_islands.front().first < l)
                m_islands.erase(m_islands.begin()); // passed by: stale
            if (m_islands.empty() || m_islands.front().first != l || l < m_validLines)
                return Next::Scan;
            const Island island = m_islands.front();
            m_islands.erase(m_islands.begin());
            if (island.start != at) return Next::Scan; // recoloured on the way
            m_validLines = island.end;
            skip = true;
            return Next::Stop;
        };
        const auto after = [&](int l, LineState endState) {
            const bool same = l < m_validLines && m_states[size_t(l)] == endState;
            m_states[size_t(l)] = endState;
            if (l == m_validLines) m_validLines = l + 1;
            if (l >= m_dirtyLast) {
                m_dirtyLast = -1;
                if (same && l + 1 < m_validLines) {
                    skip = true;
                    return Next::Stop;
                }
            }
            if (!same && l == lastLine) m_validLines = std::min(m_validLines, l + 1);
            return Next::Scan;
        };
        scanLines(line, lastLine, state, before, after);
        if (!skip) break;
        // The following lines keep their styles; tell Scintilla they are styled.
        line = m_validLines;
        state = m_states[size_t(line - 1)];
        if (line > lastLine) {
            startStyling(lineStart(line, lineCount, length));
            break;
        }
    }
}

HighlightLexer::Island HighlightLexer::newIsland(int frontierLine, int line) {
    // A state kept from before a change is the best guess there is.
    if (line <= m_validLines) return {line, line, line > 0 ? m_states[size_t(line - 1)] : 0};
    QsciScintilla *ed = editor();
    const int length = int(ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    const int lineCount = int(m_states.size());
    const int target = lineStart(line, lineCount, length);
    const int lowest = std::max(frontierLine, m_validLines);
    const int from =
        std::max(lineStart(lowest, lineCount, length),
                 lineStart(lineOf(std::max(0, target - m_farThreshold)), lineCount, length));
    // The guess reads the text before the screen and the screen's first line.
    const int to = lineStart(line + 1, lineCount, length);
    QByteArray text(to - from + 1, '\0');
    ed->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, long(from), long(to), text.data());
    const int guess =
        from + guessRestartLine(*m_highlighter, text.constData(), to - from, target - from);
    const int first = std::clamp(lineOf(guess), lowest, line);
    if (first == m_validLines) return {first, first, first > 0 ? m_states[size_t(first - 1)] : 0};
    return {first, first, 0};
}

// The screen is coloured from an island that reaches it, or ends a little before
// it; otherwise from a new one. Islands met on the way join it if they started in
// the state found there, and are recoloured otherwise. Scintilla's own mark of
// the styled text stays where the colouring in order has reached.
void HighlightLexer::styleShown(int frontierLine, int shownLine, int lastLine) {
    QsciScintilla *ed = editor();
    const long endStyled = ed->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
    const int length = int(ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    const int lineCount = int(m_states.size());
    const int shownStart = lineStart(shownLine, lineCount, length);

    size_t index = m_islands.size();
    for (size_t i = 0; i < m_islands.size(); ++i) {
        const Island &island = m_islands[i];
        if (island.first > shownLine) break;
        if (island.end >= shownLine ||
            shownStart - lineStart(island.end, lineCount, length) <= m_farThreshold)
            index = i; // the last one that reaches or nearly reaches the screen
    }
    if (index == m_islands.size()) {
        const Island island = newIsland(frontierLine, shownLine);
        m_validLines = std::min(m_validLines, island.first);
        const auto at =
            std::lower_bound(m_islands.begin(), m_islands.end(), island.first,
                             [](const Island &a, int first) { return a.first < first; });
        index = size_t(at - m_islands.begin());
        m_islands.insert(at, island);
        // Few islands: the one furthest from the screen goes first.
        if (m_islands.size() > MaxIslands) {
            const size_t drop = index > 0 ? 0 : m_islands.size() - 1;
            m_islands.erase(m_islands.begin() + long(drop));
            if (drop < index) --index;
        }
    }

    int line = m_islands[index].end;
    while (line <= lastLine) {
        Island &island = m_islands[index];
        LineState state = line == island.first ? island.start : m_states[size_t(line - 1)];
        bool joined = false;
        const auto before = [&](int l, LineState at) {
            if (index + 1 >= m_islands.size() || m_islands[index + 1].first != l) return Next::Scan;
            const Island next = m_islands[index + 1];
            m_islands.erase(m_islands.begin() + long(index + 1));
            if (next.start != at) return Next::Scan;
            m_islands[index].end = next.end;
            joined = true;
            return Next::Stop;
        };
        const auto after = [&](int l, LineState endState) {
            m_states[size_t(l)] = endState;
            m_islands[index].end = l + 1;
            return Next::Scan;
        };
        line = scanLines(line, lastLine, state, before, after);
        if (!joined) break;
        line = m_islands[index].end;
    }
    startStyling(endStyled);
}

LineState HighlightLexer::stateBefore(int line) const {
    if (line <= 0 || line > int(m_states.size())) return 0;
    if (line > m_validLines)
        for (const Island &island : m_islands)
            if (island.first <= line && line <= island.end)
                return line == island.first ? island.start : m_states[size_t(line - 1)];
    return m_states[size_t(line - 1)];
}

void HighlightLexer::colourAheadLater() {
    QsciScintilla *ed = editor();
    if (!ed || m_ahead.isActive()) return;
    const long styled = ed->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
    const long length = ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    if (length - styled > m_farThreshold || (!m_islands.empty() && styled < length))
        m_ahead.start(0, this);
}

// One slice of the background colouring: as much as fits in a few milliseconds
// (measured), so that keys and paints wait for one slice at most.
void HighlightLexer::timerEvent(QTimerEvent *e) {
    if (e->timerId() != m_ahead.timerId()) {
        QsciLexerCustom::timerEvent(e);
        return;
    }
    QsciScintilla *ed = editor();
    const long styled = ed ? ed->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED) : 0;
    const long length = ed ? ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH) : 0;
    if (!ed || styled >= length) {
        m_ahead.stop();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    const long end = std::min(length, styled + long(m_sliceBytes));
    // Directly: asking the editor to colour would also repaint it at every slice.
    if (prepare()) styleInOrder(lineOf(int(styled)), lineOf(int(end)));
    const qint64 ns = std::max<qint64>(clock.nsecsElapsed(), 1000);
    const qint64 fit = qint64(m_sliceBytes) * BackgroundSliceMs * 1000000 / ns;
    // At most a quarter megabyte: a slice that only skipped known lines was quick.
    m_sliceBytes = int(std::clamp<qint64>(fit, 1 << 14, 1 << 18));
    if (ed->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED) <= styled)
        m_ahead.stop(); // no progress
    else
        m_ahead.start(0, this); // after a pause, at full pace again
}

LineState HighlightLexer::lineStartState(int line) {
    QsciScintilla *ed = editor();
    if (!ed || line <= 0) return 0;
    settlePendingChange();
    const int lineCount = int(ed->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT));
    line = std::min(line, lineCount - 1);
    const int length = int(ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    const int needed = lineStart(line, lineCount, length);
    const int styled = int(ed->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED));
    if (styled < needed)
        ed->SendScintilla(QsciScintillaBase::SCI_COLOURISE, (unsigned long)styled, long(needed));
    return stateBefore(line);
}

const Highlighter *HighlightLexer::languageAt(int position) {
    QsciScintilla *ed = editor();
    if (!ed || !m_highlighter->isMultiLanguage()) return m_highlighter;
    const int line = lineOf(position);
    const LineState state = lineStartState(line);
    const int from =
        int(ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, (unsigned long)line));
    const int to =
        int(ed->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, (unsigned long)line));
    QByteArray text(to - from + 1, '\0');
    ed->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, long(from), long(to), text.data());
    return m_highlighter->languageAt(text.constData(), to - from, state, position - from);
}
