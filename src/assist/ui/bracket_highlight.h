#pragma once

#include <QObject>

class TMyMwCustomEdit;

// The matching-bracket highlight of one editor: when the caret moves, the
// bracket beside it and its partner are drawn red on yellow (the editor's brace
// highlight); a bracket without partner is drawn alone. Off while MatchBrackets
// is off or text is selected.
class BracketHighlight : public QObject {
    Q_OBJECT
public:
    explicit BracketHighlight(TMyMwCustomEdit *editor);

    // Recomputes the highlight for the caret as it stands.
    void update();
    // The highlighted bracket and its partner (-1: none), byte positions.
    int bracket() const { return m_bracket; }
    int partner() const { return m_partner; }

private:
    bool isLoneSymbol(int position) const;
    void paint(int bracket, int partner);

    TMyMwCustomEdit *m_editor;
    int m_bracket = -1;
    int m_partner = -1;
};
