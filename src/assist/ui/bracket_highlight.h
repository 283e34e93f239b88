#pragma once

#include <QObject>

class TMyMwCustomEdit;

// The matching-bracket highlight of one editor: when the caret moves, the
// bracket beside it and its partner are drawn red on yellow (the editor's brace
// highlight); a bracket without partner is drawn alone. Off while MatchBrackets
// is off or text is selected. The partner is sought a screenful of lines away
// at most (at most SearchBytes for long lines): one farther away is never on
// screen together with its bracket, and a caret move beside an unmatched
// bracket stays quick in a large page.
class BracketHighlight : public QObject {
    Q_OBJECT
public:
    explicit BracketHighlight(TMyMwCustomEdit *editor);

    static constexpr long SearchBytes = 1 << 18;

    // Recomputes the highlight for the caret as it stands.
    void update();
    // The highlighted bracket and its partner (-1: none), byte positions.
    int bracket() const { return m_bracket; }
    int partner() const { return m_partner; }

private:
    // Colours the text up to `end` if it is not yet: strings and comments are
    // told by their colours.
    void ensureStyled(long end) const;
    int roleAt(long position) const; // TokenRole, or -1 for none
    bool isLoneSymbol(int position) const;
    int partnerOf(int bracket) const;
    void paint(int bracket, int partner);

    TMyMwCustomEdit *m_editor;
    int m_bracket = -1;
    int m_partner = -1;
};
