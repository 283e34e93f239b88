#pragma once

#include <QByteArray>
#include <QList>

#include <functional>
#include <utility>

class TMyMwCustomEdit;

// Rewrites the selected text of an editor in place as one undo step, and selects
// the result. A column selection is rewritten line piece by line piece and stays a
// column selection. `rewrite` gets the whole UTF-8 text and the byte range of one
// piece, and returns that piece's new bytes. Returns false when nothing changed
// (no undo step is added then).
using PieceRewrite =
    std::function<QByteArray(const char *utf8, qsizetype size, qsizetype from, qsizetype to)>;
bool RewriteSelection(TMyMwCustomEdit *editor, const PieceRewrite &rewrite);

// The same for rewrites that take every piece in one call: they get the byte
// ranges of the pieces in text order and return the new bytes of each.
using PiecesRewrite = std::function<QList<QByteArray>(
    const char *utf8, qsizetype size, const QList<std::pair<qsizetype, qsizetype>> &pieces)>;
bool RewriteSelectionPieces(TMyMwCustomEdit *editor, const PiecesRewrite &rewrite);
