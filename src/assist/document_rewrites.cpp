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
    o.failure = indenter.LastFailure();
    o.failedLine = o.failure.line;
    if (crlfText.endsWith("\r\n") && !o.text.isEmpty()) o.text.append("\r\n", 2);
    o.changed = o.text != crlfText;
    return o;
}

QString IndentStopReason(const THtmlIndenter::Failure &f) {
    const QString element = QString::fromLatin1(f.element);
    switch (f.stop) {
    case THtmlIndenter::Stop::None:
        break;
    case THtmlIndenter::Stop::UnmatchedEnd:
        return QStringLiteral("balise de fin </%1> sans balise d'ouverture").arg(element);
    case THtmlIndenter::Stop::UnclosedElement:
        if (f.atEnd)
            return QStringLiteral("élément <%1> ouvert à la ligne %2 et jamais fermé")
                .arg(element)
                .arg(f.openedAt);
        return QStringLiteral("élément <%1> ouvert à la ligne %2 et non fermé avant </%3>")
            .arg(element)
            .arg(f.openedAt)
            .arg(QString::fromLatin1(f.endTag));
    case THtmlIndenter::Stop::OpenQuote:
        return QStringLiteral("guillemet ouvert à la ligne %1 et jamais fermé").arg(f.openedAt);
    }
    return {};
}

} // namespace Assist
