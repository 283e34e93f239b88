#pragma once

#include "editor/highlighter.h"

#include <QByteArray>
#include <QString>

#include <vector>

class DocumentTypes;

// Test helpers that run a highlighter over a whole text, line by line, the way
// an editor does (each line starts in the state the previous one ended in).
namespace probe {

struct ScannedLine {
    QByteArray text;
    LineState startState = 0;
    LineState endState = 0;
    std::vector<HighlightToken> tokens;
};

// Lines split at "\n", "\r\n" and "\r".
std::vector<ScannedLine> scanText(const Highlighter &h, const QByteArray &text);

// "language:Catégorie" of the token holding the `occurrence`-th match of
// `needle` (counting from 0), such as "css:Propriété", or "marker" for a region
// marker; a text in angle brackets when the needle is not inside one token.
QString tokenAt(const DocumentTypes &types, const Highlighter &h, const QByteArray &text,
                const QByteArray &needle, int occurrence = 0);

// Empty when the tokens of every line cover it exactly, in order, with valid
// categories; otherwise what is wrong.
QString coverageError(const std::vector<ScannedLine> &lines);

// Short prefix of a language, as tokenAt writes it.
QString languagePrefix(Language language);

} // namespace probe
