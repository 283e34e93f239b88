#include "assist/ui/bracket_highlight.h"

#include "app/ui/document_type_module.h"
#include "app/ui/editor_view.h"
#include "assist/bracket_match.h"
#include "editor/ui/highlight_lexer.h"

namespace {
constexpr long Red = 0x0000ff; // 0xBBGGRR
constexpr long Yellow = 0x00ffff;
} // namespace

BracketHighlight::BracketHighlight(TMyMwCustomEdit *editor) : QObject(editor), m_editor(editor) {
    setObjectName(QStringLiteral("BracketHighlight"));
    connect(editor, &QsciScintilla::cursorPositionChanged, this, &BracketHighlight::update);
    connect(editor, &QsciScintilla::selectionChanged, this, &BracketHighlight::update);
}

bool BracketHighlight::isLoneSymbol(int position) const {
    HighlightLexer *lexer = DocumentTypeModule::lexerOf(m_editor);
    if (!lexer) return false;
    const int style =
        int(m_editor->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, (unsigned long)position));
    const HighlightLexer::StyleInfo info = lexer->styleInfo(style);
    return info.highlighter && info.category >= 0 &&
           info.highlighter->categoryRole(info.category) == TokenRole::Symbol;
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
        if (bracket >= 0)
            partner = int(m_editor->SendScintilla(QsciScintillaBase::SCI_BRACEMATCH,
                                                  (unsigned long)bracket, 0L));
    }
    if (bracket != m_bracket || partner != m_partner) paint(bracket, partner);
}

void BracketHighlight::paint(int bracket, int partner) {
    m_bracket = bracket;
    m_partner = partner;
    for (int style : {QsciScintillaBase::STYLE_BRACELIGHT, QsciScintillaBase::STYLE_BRACEBAD}) {
        m_editor->SendScintilla(QsciScintillaBase::SCI_STYLESETFORE, style, Red);
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
