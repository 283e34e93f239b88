#include "assist/document_rewrites.h"

#include "assist/html_indenter.h"

namespace Assist {

QByteArray WithCrLfBreaks(const QByteArray &utf8) {
    QByteArray out;
    out.reserve(utf8.size() + utf8.size() / 32 + 8);
    const char *s = utf8.constData();
    const qsizetype n = utf8.size();
    qsizetype run = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = s[i];
        if (c == '\n' || (c == '\r' && (i + 1 >= n || s[i + 1] != '\n'))) {
            out.append(s + run, i - run);
            out.append("\r\n", 2);
            run = i + 1;
        } else if (c == '\r') {
            ++i; // a CR LF pair stays as it is
        }
    }
    out.append(s + run, n - run);
    return out;
}

IndentOutcome IndentDocument(const QByteArray &crlfText, bool spaces, int tabWidth) {
    THtmlIndenter indenter;
    if (spaces) {
        indenter.Symbol = " ";
        indenter.Indentation = qMax(1, tabWidth);
    } else {
        indenter.Symbol = "\t";
        indenter.Indentation = 1;
    }
    IndentOutcome o;
    o.text = indenter.IndentHtml(crlfText, &o.failedAt);
    if (o.failedAt >= 0) o.failedLine = THtmlIndenter::LineAt(o.text, o.failedAt);
    if (crlfText.endsWith("\r\n") && !o.text.isEmpty()) o.text.append("\r\n", 2);
    o.changed = o.text != crlfText;
    return o;
}

} // namespace Assist
