#include "assist/ui/selection_rewrite.h"

#include "app/ui/editor_view.h"

#include <QList>

#include <algorithm>

namespace {

struct Piece {
    qsizetype from;
    qsizetype to;
    QByteArray bytes;
};

long send(TMyMwCustomEdit *e, unsigned int msg, unsigned long w = 0, long l = 0) {
    return e->SendScintilla(msg, w, l);
}

} // namespace

bool RewriteSelection(TMyMwCustomEdit *e, const PieceRewrite &rewrite) {
    return RewriteSelectionPieces(e,
                                  [&rewrite](const char *s, qsizetype n,
                                             const QList<std::pair<qsizetype, qsizetype>> &ranges) {
                                      QList<QByteArray> out;
                                      out.reserve(ranges.size());
                                      for (const auto &[from, to] : ranges)
                                          out << rewrite(s, n, from, to);
                                      return out;
                                  });
}

bool RewriteSelectionPieces(TMyMwCustomEdit *e, const PiecesRewrite &rewrite) {
    if (!e || !e->selAvail()) return false;
    const bool rectangular = send(e, QsciScintillaBase::SCI_SELECTIONISRECTANGLE) != 0;
    QList<Piece> pieces;
    if (rectangular) {
        const int n = int(send(e, QsciScintillaBase::SCI_GETSELECTIONS));
        for (int i = 0; i < n; ++i)
            pieces.append({send(e, QsciScintillaBase::SCI_GETSELECTIONNSTART, i),
                           send(e, QsciScintillaBase::SCI_GETSELECTIONNEND, i),
                           {}});
        std::sort(pieces.begin(), pieces.end(),
                  [](const Piece &a, const Piece &b) { return a.from < b.from; });
    } else {
        pieces.append({send(e, QsciScintillaBase::SCI_GETSELECTIONSTART),
                       send(e, QsciScintillaBase::SCI_GETSELECTIONEND),
                       {}});
    }

    QList<std::pair<qsizetype, qsizetype>> ranges;
    ranges.reserve(pieces.size());
    for (const Piece &p : std::as_const(pieces))
        ranges.append({p.from, p.to});
    const char *text = e->utf8Data();
    QList<QByteArray> rewritten = rewrite(text, e->utf8Length(), ranges);
    bool changed = false;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        Piece &p = pieces[i];
        p.bytes = std::move(rewritten[i]);
        changed = changed || p.bytes.size() != p.to - p.from ||
                  memcmp(p.bytes.constData(), text + p.from, size_t(p.bytes.size())) != 0;
    }
    if (!changed) return false;

    // Corners of a column selection as (line, column), to rebuild it afterwards.
    const TextPos anchor =
        e->xyFromPosition(int(send(e, QsciScintillaBase::SCI_GETRECTANGULARSELECTIONANCHOR)));
    const TextPos caret =
        e->xyFromPosition(int(send(e, QsciScintillaBase::SCI_GETRECTANGULARSELECTIONCARET)));

    const bool caretAtStart =
        send(e, QsciScintillaBase::SCI_GETCURRENTPOS) < send(e, QsciScintillaBase::SCI_GETANCHOR);

    // The column selection shrinks to its anchor's line while its pieces are replaced:
    // the editing component moves every line's range at each change, which over
    // thousands of lines takes seconds. It is rebuilt whole afterwards.
    if (rectangular)
        send(e, QsciScintillaBase::SCI_SETRECTANGULARSELECTIONCARET,
             send(e, QsciScintillaBase::SCI_GETRECTANGULARSELECTIONANCHOR));
    e->undoGroupBreak();
    send(e, QsciScintillaBase::SCI_BEGINUNDOACTION);
    // From the last piece back, so earlier offsets stay valid.
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) {
        send(e, QsciScintillaBase::SCI_SETTARGETRANGE, it->from, it->to);
        e->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET,
                         static_cast<unsigned long>(it->bytes.size()), it->bytes.constData());
    }
    send(e, QsciScintillaBase::SCI_ENDUNDOACTION);

    if (!rectangular) {
        const qsizetype end = pieces.first().from + pieces.first().bytes.size();
        if (caretAtStart)
            send(e, QsciScintillaBase::SCI_SETSEL, end, pieces.first().from);
        else
            send(e, QsciScintillaBase::SCI_SETSEL, pieces.first().from, end);
    } else {
        // The rectangle keeps its left edge; its width is that of the widest new piece.
        int grow = 0;
        qsizetype shift = 0;
        for (const Piece &p : std::as_const(pieces)) {
            const qsizetype from = p.from + shift;
            const TextPos a = e->xyFromPosition(int(from));
            const TextPos b = e->xyFromPosition(int(from + p.bytes.size()));
            grow = std::max(grow, (b.col - a.col));
            shift += p.bytes.size() - (p.to - p.from);
        }
        const int left = std::min(anchor.col, caret.col);
        const int right = left + grow;
        const TextPos newAnchor{anchor.col <= caret.col ? left : right, anchor.line};
        const TextPos newCaret{anchor.col <= caret.col ? right : left, caret.line};
        send(e, QsciScintillaBase::SCI_SETRECTANGULARSELECTIONANCHOR, e->positionFromXY(newAnchor));
        send(e, QsciScintillaBase::SCI_SETRECTANGULARSELECTIONCARET, e->positionFromXY(newCaret));
    }
    return true;
}
