#include "assist/ui/bracket_highlight.h"

#include "app/ui/document_type_module.h"
#include "app/ui/editor_view.h"
#include "assist/bracket_match.h"
#include "editor/ui/highlight_lexer.h"

#include <algorithm>

namespace {
constexpr long Red = 0x0000ff; // 0xBBGGRR
constexpr long Yellow = 0x00ffff;
} // namespace

BracketHighlight::BracketHighlight(TMyMwCustomEdit *editor) : QObject(editor), m_editor(editor) {
    setObjectName(QStringLiteral("BracketHighlight"));
    connect(editor, &QsciScintilla::cursorPositionChanged, this, &BracketHighlight::update);
    connect(editor, &QsciScintilla::selectionChanged, this, &BracketHighlight::update);
}

void BracketHighlight::ensureStyled(long end) const {
    // From where the colours stop: a lower start would have them redone from there.
    const long styled = m_editor->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
    if (styled < end)
        m_editor->SendScintilla(QsciScintillaBase::SCI_COLOURISE, (unsigned long)styled, end);
}

int BracketHighlight::roleAt(long position) const {
    HighlightLexer *lexer = DocumentTypeModule::lexerOf(m_editor);
    if (!lexer) return -1;
    const int style =
        int(m_editor->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, (unsigned long)position));
    const HighlightLexer::StyleInfo info = lexer->styleInfo(style);
    if (!info.highlighter || info.category < 0) return -1;
    return int(info.highlighter->categoryRole(info.category));
}

bool BracketHighlight::isLoneSymbol(int position) const {
    ensureStyled(position + 1);
    return roleAt(position) == int(TokenRole::Symbol);
}

int BracketHighlight::partnerOf(int bracket) const {
    auto send = [this](unsigned int msg, unsigned long w = 0, long l = 0) {
        return m_editor->SendScintilla(msg, w, l);
    };
    const long length = send(QsciScintillaBase::SCI_GETLENGTH);
    const long lineCount = send(QsciScintillaBase::SCI_GETLINECOUNT);
    const long line = send(QsciScintillaBase::SCI_LINEFROMPOSITION, (unsigned long)bracket);
    const long screen = std::max(1L, send(QsciScintillaBase::SCI_LINESONSCREEN));
    const char c = char(send(QsciScintillaBase::SCI_GETCHARAT, (unsigned long)bracket));
    long low = bracket, high = bracket + 1;
    if (c == '(' || c == '[' || c == '{') {
        const long after = line + screen + 1;
        high = after < lineCount ? send(QsciScintillaBase::SCI_POSITIONFROMLINE, after) : length;
        high = std::min(high, bracket + SearchBytes + 1);
    } else {
        low = send(QsciScintillaBase::SCI_POSITIONFROMLINE, std::max(0L, line - screen));
        low = std::max(low, bracket - SearchBytes);
    }
    ensureStyled(high);
    const char *text = reinterpret_cast<const char *>(
        send(QsciScintillaBase::SCI_GETRANGEPOINTER, (unsigned long)low, high - low));
    return int(Brackets::findPartner(text, low, high, bracket, [this](qsizetype p) {
        const int role = roleAt(long(p));
        return role != int(TokenRole::String) && role != int(TokenRole::Comment);
    }));
}

void BracketHighlight::update() {
    int bracket = -1, partner = -1;
    if (m_editor->preferences().matchBrackets) {
        const qsizetype caret =
            qsizetype(m_editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
        const bool selection =
            m_editor->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEMPTY) == 0;
        bracket = Brackets::highlightedBracket(
            caret, selection,
            [this](qsizetype p) {
                return char(
                    m_editor->SendScintilla(QsciScintillaBase::SCI_GETCHARAT, (unsigned long)p));
            },
            [this](qsizetype p) { return isLoneSymbol(int(p)); });
        if (bracket >= 0) partner = partnerOf(bracket);
    }
    if (bracket != m_bracket || partner != m_partner) paint(bracket, partner);
}

void BracketHighlight::paint(int bracket, int partner) {
    m_bracket = bracket;
    m_partner = partner;
    // Only when changed (a new lexer resets them): each change of a style has the
    // component lay out every line shown again, a long one at great cost.
    for (int style : {QsciScintillaBase::STYLE_BRACELIGHT, QsciScintillaBase::STYLE_BRACEBAD}) {
        if (m_editor->SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, style) != Red)
            m_editor->SendScintilla(QsciScintillaBase::SCI_STYLESETFORE, style, Red);
        if (m_editor->SendScintilla(QsciScintillaBase::SCI_STYLEGETBACK, style) != Yellow)
            m_editor->SendScintilla(QsciScintillaBase::SCI_STYLESETBACK, style, Yellow);
    }
    if (bracket < 0)
        m_editor->SendScintilla(QsciScintillaBase::SCI_BRACEHIGHLIGHT, -1L, -1L);
    else if (partner < 0)
        m_editor->SendScintilla(QsciScintillaBase::SCI_BRACEBADLIGHT, (unsigned long)bracket);
    else
        m_editor->SendScintilla(QsciScintillaBase::SCI_BRACEHIGHLIGHT, (unsigned long)bracket,
                                long(partner));
}
