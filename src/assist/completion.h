#pragma once

#include <QString>

#include <vector>

// Tag and attribute completion without an editor: the lists the pop-up shows,
// which fragment of a line names the element being written, and the rules that
// decide when the pop-up opens and what an end character does.
namespace Completion {

// Characters that accept the selected row and are then typed.
inline const QString EndCharacters = QStringLiteral(" >=%?!:");
// Characters that end the typed run while the word-break switch is on.
inline const QString WordBreakCharacters = QStringLiteral("\"!'()*+,-./:;=?[\\]^{|}");

enum Icon { NoIcon = -1, ElementIcon = 0, AttributeIcon = 1, EventIcon = 2 };

struct Row {
    QString display;
    QString insert;
    int icon = NoIcon;
    friend bool operator==(const Row &, const Row &) = default;
};

// Row 0 is the title row.
struct List {
    std::vector<Row> rows;
    int visibleRows = 0;
    bool isEmpty() const { return rows.empty(); }
};

inline const QString ElementTitle = QStringLiteral("Liste des marqueurs :");
inline const QString AttributeTitle = QStringLiteral("Liste des attributs :");

// Names follow the tag case: upper case when `casse` is on.
List BuildElementList(bool casse);
// The attributes of the element a fragment such as "<td" names (case ignored);
// false, and an empty list, when it names no element or one without attributes.
bool BuildAttributeList(const QString &fragment, bool casse, List *out);

// The fragment naming the element being written, from the text of the caret's
// line left of the caret.
QString ElementBeforeCaret(const QString &lineLeftOfCaret);

// The part of the caret's line that completion reads: from just after the line's last
// ">" (or its start) to the caret. Nothing before that ">" changes the element fragment,
// the character left of the caret or the typed run (">" ends every run), so a long
// line is never decoded whole.
struct LineTail {
    QString text;
    bool afterGt = false; // a ">" stands just before the text
    qsizetype offset = 0; // the text's first byte in the line
    QString ElementBeforeCaret() const;
    QChar charLeft() const;
    // The byte offset in the line where the typed run begins.
    qsizetype typedRunStart(const QString &endSet) const;
};
// `line` holds the UTF-8 bytes of the caret's line left of the caret.
LineTail lineTail(const char *line, qsizetype len);

// The characters that end a typed run at an opening.
QString endSet(bool wordBreak);
// The same for a given list: a character that its insert texts contain ("/" of
// the closing rows, "-" of "http-equiv") is part of a name, never an end.
QString endSet(const List &list, bool wordBreak);
// Where the typed run begins in the text left of the caret.
qsizetype typedRunStart(const QString &textLeftOfCaret, const QString &endSet);
// The first row whose insert text begins with the run (case ignored), else 0.
int selectRow(const List &list, const QString &run);

// The pop-up's state from one opening to the next: the lists and the two
// switches, changed only as the handlers below say.
class Engine {
public:
    const List &list() const { return m_list; }
    bool endAcceptance() const { return m_endAcceptance; }
    bool wordBreak() const { return m_wordBreak; }

    // Whether the pop-up opens. `fragment` is ElementBeforeCaret at the caret,
    // `html` whether the language at the caret is HTML and `charLeft` the
    // character just left of the caret.
    bool execute(const QString &fragment, bool html, QChar charLeft, bool casse);
    // The selected row changed.
    void rowChanged(int index);
    // A row is accepted by `endChar` (null for Tab and Enter); `fragment` is
    // ElementBeforeCaret before the insertion. Prepares the next opening's lists.
    void accepted(QChar endChar, const QString &fragment, bool html, bool casse);

private:
    List m_list;
    bool m_endAcceptance = true;
    bool m_wordBreak = true;
};

// What a typed character does while the pop-up is open.
enum class KeyOutcome {
    Extend, // typed into the run
    Accept, // the selected row is inserted, then the character is typed
    Close,  // the pop-up closes and the character is typed
};
KeyOutcome typedCharacter(QChar c, const QString &endSet, bool endAcceptance);

} // namespace Completion
