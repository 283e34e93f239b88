#pragma once

#include "editor/highlighter.h"

// Where colouring can start when the state before the text to colour is not
// known yet (the text on screen lies far past what has been coloured): a line at
// whose start the highlighter is presumed to be in its initial state.
//
// For markup (HTML, XML and the pages built on them) that is a line that begins
// with a tag and lies outside any script, style sheet, server block, comment or
// CDATA section, as far as the text before it shows; when the nearest such line
// is inside one, the guess moves back to the line that opens it. For other
// languages it is the nearest blank line, where statements and rules tend to end.
//
// `text` holds whole lines, from a line start, and `target` is the start of one
// of them; the answer is the offset of a line start in [0, target]. Markers
// further back than the text given are not seen (the start of the text is the
// answer when nothing better shows): the caller decides how far back to look.
int guessRestartLine(const Highlighter &highlighter, const char *text, int length, int target);

// Whether the highlighter colours markup (directly or as a page's default).
bool coloursMarkup(const Highlighter &highlighter);
