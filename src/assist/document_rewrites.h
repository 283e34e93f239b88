#pragma once

#include "assist/html_indenter.h"

#include <QByteArray>
#include <QString>

namespace Assist {

class RawTextRegions;

// The text of a document as the program's text operations see it: every line break
// (CR LF, LF or CR) written as CR LF.
QByteArray WithCrLfBreaks(const QByteArray &utf8);

struct IndentOutcome {
    QByteArray text;
    qsizetype failedAt = -1; // length of the indented part when the run stopped
    int failedLine = 0;      // its line in the result, from 1
    bool changed = false;    // false: the document is already indented this way
    THtmlIndenter::Failure failure;
};

// Why an indent stopped, in French: "balise de fin </span> sans balise d'ouverture".
QString IndentStopReason(const THtmlIndenter::Failure &failure);

// Re-indents a whole document given with CR LF breaks: one tab per level, or
// `tabWidth` spaces per level when tabs are converted to spaces. A final line break
// of the document is kept (the indenter itself never ends with one), so that an
// already indented document is left as it is.
IndentOutcome IndentDocument(const QByteArray &crlfText, bool spaces, int tabWidth);

} // namespace Assist
