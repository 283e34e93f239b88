#pragma once

// Editor text and selection written as one string, for readable test tables:
// "{" marks the selection's anchor and "}" its caret; "|" marks the caret when
// nothing is selected. Line breaks are written CR LF whatever the document's own.

#include "app/ui/editor_view.h"

#include <QStringList>

namespace EditorState {

// Editor columns count characters; a character outside the basic plane is two
// UTF-16 units.
inline TextPos posOf(const QString &text, qsizetype offset) {
    const qsizetype lineStart = text.lastIndexOf(QLatin1String("\r\n"), offset - 1);
    const qsizetype from = lineStart < 0 || offset == 0 ? 0 : lineStart + 2;
    const int line = int(text.left(offset).count(QLatin1String("\r\n"))) + 1;
    return {int(text.mid(from, offset - from).toUcs4().size()) + 1, line};
}

inline qsizetype offsetOf(const QString &text, const TextPos &p) {
    qsizetype offset = 0;
    for (int line = 1; line < p.line; ++line)
        offset = text.indexOf(QLatin1String("\r\n"), offset) + 2;
    for (int col = 1; col < p.col; ++col)
        offset += text.at(offset).isHighSurrogate() ? 2 : 1;
    return offset;
}

// Loads the text (as a file with the given line break would) and sets the selection.
inline void set(TMyMwCustomEdit *e, const QString &state, LineBreak lb = LineBreak::CrLf) {
    QString text = state;
    qsizetype anchor = text.indexOf(QLatin1Char('{'));
    qsizetype caret = text.indexOf(QLatin1Char('}'));
    if (anchor >= 0 && caret >= 0) {
        // Remove the later marker first, then shift it past the earlier one.
        const qsizetype first = std::min(anchor, caret);
        const qsizetype last = std::max(anchor, caret);
        text.remove(last, 1);
        text.remove(first, 1);
        (anchor == last ? anchor : caret) -= 1;
    } else {
        caret = anchor = std::max<qsizetype>(text.indexOf(QLatin1Char('|')), 0);
        if (text.contains(QLatin1Char('|'))) text.remove(caret, 1);
    }
    LoadedText t;
    QString stored = text;
    stored.replace(QLatin1String("\r\n"), QString::fromLatin1(lineBreakBytes(lb)));
    t.utf8 = stored.toUtf8();
    t.lineBreak = lb;
    e->setLoadedText(t);
    e->selectRange(posOf(text, anchor), posOf(text, caret));
}

// The editor's text and selection in the same notation.
inline QString get(const TMyMwCustomEdit *e) {
    QString text = e->textCrLf();
    const TextPos caret = e->caretXY();
    if (!e->selAvail()) {
        text.insert(offsetOf(text, caret), QLatin1Char('|'));
        return text;
    }
    const TextPos begin = e->blockBegin();
    const TextPos end = e->blockEnd();
    const bool caretAtEnd = caret == end;
    const qsizetype a = offsetOf(text, begin);
    const qsizetype b = offsetOf(text, end);
    text.insert(b, caretAtEnd ? QLatin1Char('}') : QLatin1Char('{'));
    text.insert(a, caretAtEnd ? QLatin1Char('{') : QLatin1Char('}'));
    return text;
}

} // namespace EditorState
