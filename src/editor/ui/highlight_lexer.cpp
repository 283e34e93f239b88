#include "editor/ui/highlight_lexer.h"

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
    if (QsciScintilla *ed = editor()) {
        ed->SendScintilla(QsciScintillaBase::SCI_STARTSTYLING, 0UL, 0L);
        ed->viewport()->update();
    }
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
    const int line = int(editor()->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                                 (unsigned long)m_pendingPosition));
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
}

int HighlightLexer::lineStart(int line, int lineCount, int length) const {
    if (line >= lineCount) return length;
    return int(
        editor()->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, (unsigned long)line));
}

void HighlightLexer::styleText(int start, int end) {
    QsciScintilla *ed = editor();
    if (!ed) return;
    settlePendingChange();
    const int length = int(ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    const int lineCount = int(ed->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT));
    end = std::min(end, length);
    if ((int)m_states.size() != lineCount) {
        // Out of step with the text (modification notifications masked?):
        // keep nothing as known.
        if (!m_states.empty()) m_validLines = 0;
        m_states.resize(size_t(lineCount), 0);
    }
    m_validLines = std::min(m_validLines, lineCount);

    const auto lineOf = [ed](int pos) {
        return int(ed->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, (unsigned long)pos));
    };
    int line = lineOf(start);
    const int lastLine = lineOf(end);
    LineState state = line > 0 ? m_states[size_t(line - 1)] : 0;
    const StyleMap &map = styleMap();
    constexpr int ChunkBytes = 1 << 18;

    while (line <= lastLine) {
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
        int skipTo = -1; // first line after a run known to be unchanged
        for (; line <= chunkLast; ++line) {
            int eol = offset;
            while (eol < n && text[eol] != '\n' && text[eol] != '\r')
                ++eol;
            int next = eol;
            if (next < n)
                next += (text[next] == '\r' && next + 1 < n && text[next + 1] == '\n') ? 2 : 1;
            if (line == chunkLast) next = n; // Scintilla's own line boundary

            m_sink.clear();
            const LineState newState =
                m_highlighter->scanLine(text + offset, eol - offset, state, m_sink);
            ++m_scannedLines;
            std::memset(styles + offset, 0, size_t(next - offset));
            for (const HighlightToken &t : m_sink.tokens())
                std::memset(styles + offset + t.start, map.style[int(t.language)][t.category],
                            size_t(t.length));
            offset = next;

            const bool same = line < m_validLines && m_states[size_t(line)] == newState;
            m_states[size_t(line)] = newState;
            state = newState;
            if (line == m_validLines) m_validLines = line + 1;
            if (line >= m_dirtyLast) {
                m_dirtyLast = -1;
                if (same && line + 1 < m_validLines) {
                    skipTo = m_validLines;
                    ++line;
                    break;
                }
            }
            if (!same && line == lastLine) m_validLines = std::min(m_validLines, line + 1);
        }
        startStyling(chunkStart);
        ed->SendScintilla(QsciScintillaBase::SCI_SETSTYLINGEX, uintptr_t(offset),
                          static_cast<const char *>(styles));
        if (skipTo >= 0) {
            // The following lines keep their styles; tell Scintilla they are styled.
            line = skipTo;
            state = m_states[size_t(line - 1)];
            if (line > lastLine) {
                startStyling(lineStart(line, lineCount, length));
                break;
            }
        }
    }
    colourAheadLater();
}

void HighlightLexer::colourAheadLater() {
    QsciScintilla *ed = editor();
    if (!ed || m_ahead.isActive()) return;
    const long styled = ed->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
    const long length = ed->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    if (length - styled > BackgroundThreshold) m_ahead.start(0, this);
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
    styleText(int(styled), int(end));
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
    return line - 1 < int(m_states.size()) ? m_states[size_t(line - 1)] : 0;
}

const Highlighter *HighlightLexer::languageAt(int position) {
    QsciScintilla *ed = editor();
    if (!ed || !m_highlighter->isMultiLanguage()) return m_highlighter;
    const int line =
        int(ed->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, (unsigned long)position));
    const LineState state = lineStartState(line);
    const int from =
        int(ed->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, (unsigned long)line));
    const int to =
        int(ed->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, (unsigned long)line));
    QByteArray text(to - from + 1, '\0');
    ed->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, long(from), long(to), text.data());
    return m_highlighter->languageAt(text.constData(), to - from, state, position - from);
}
