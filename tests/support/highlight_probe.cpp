#include "highlight_probe.h"

#include "app/document_types.h"

namespace probe {

std::vector<ScannedLine> scanText(const Highlighter &h, const QByteArray &text) {
    std::vector<ScannedLine> lines;
    TokenSink sink;
    LineState state = 0;
    qsizetype p = 0;
    const qsizetype n = text.size();
    while (true) {
        qsizetype e = p;
        while (e < n && text[e] != '\n' && text[e] != '\r')
            ++e;
        ScannedLine line;
        line.text = text.mid(p, e - p);
        line.startState = state;
        sink.clear();
        state = h.scanLine(line.text.constData(), int(line.text.size()), state, sink);
        line.endState = state;
        line.tokens = sink.tokens();
        lines.push_back(std::move(line));
        if (e >= n) break;
        p = e + ((text[e] == '\r' && e + 1 < n && text[e + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

QString languagePrefix(Language language) {
    switch (language) {
    case Language::General:
        return QStringLiteral("general");
    case Language::Html:
        return QStringLiteral("html");
    case Language::Xml:
        return QStringLiteral("xml");
    case Language::Css:
        return QStringLiteral("css");
    case Language::JavaScript:
        return QStringLiteral("js");
    case Language::VBScript:
        return QStringLiteral("vbs");
    case Language::Php:
        return QStringLiteral("php");
    case Language::Perl:
        return QStringLiteral("perl");
    case Language::Sql:
        return QStringLiteral("sql");
    case Language::Marker:
        return QStringLiteral("marker");
    }
    return QString();
}

static const Highlighter *plainOf(const DocumentTypes &types, Language language) {
    static const int entries[] = {DocumentTypes::SynGeneralSyn1, DocumentTypes::SynHTMLSyn1,
                                  DocumentTypes::SynXMLSyn1,     DocumentTypes::SynCssSyn1,
                                  DocumentTypes::SynJScriptSyn1, DocumentTypes::SynVBScriptSyn1,
                                  DocumentTypes::SynPHPSyn1,     DocumentTypes::SynPerlSyn1,
                                  DocumentTypes::SynSQLSyn1};
    if (language == Language::Marker) return nullptr;
    return types.highlighter(entries[int(language)]);
}

QString tokenAt(const DocumentTypes &types, const Highlighter &h, const QByteArray &text,
                const QByteArray &needle, int occurrence) {
    qsizetype at = -1;
    for (int k = 0; k <= occurrence; ++k) {
        at = text.indexOf(needle, at + 1);
        if (at < 0) return QStringLiteral("<needle not found>");
    }
    const std::vector<ScannedLine> lines = scanText(h, text);
    qsizetype lineStart = 0;
    for (const ScannedLine &line : lines) {
        // Line breaks are single "\n" in the test texts.
        if (at < lineStart + line.text.size()) {
            const int col = int(at - lineStart);
            for (const HighlightToken &t : line.tokens) {
                if (t.start <= col && col < t.start + t.length) {
                    if (col + needle.size() > t.start + t.length)
                        return QStringLiteral("<token \"%1\" is shorter than the needle>")
                            .arg(QString::fromUtf8(line.text.mid(t.start, t.length)));
                    if (t.language == Language::Marker) return QStringLiteral("marker");
                    const Highlighter *plain = plainOf(types, t.language);
                    return languagePrefix(t.language) + QLatin1Char(':') +
                           plain->categoryName(t.category);
                }
            }
            return QStringLiteral("<no token>");
        }
        lineStart += line.text.size() + 1;
    }
    return QStringLiteral("<beyond the text>");
}

QString coverageError(const std::vector<ScannedLine> &lines) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const ScannedLine &line = lines[i];
        int expected = 0;
        for (const HighlightToken &t : line.tokens) {
            if (t.start != expected || t.length <= 0)
                return QStringLiteral("line %1: token at %2 (length %3), expected start %4")
                    .arg(i)
                    .arg(t.start)
                    .arg(t.length)
                    .arg(expected);
            if (t.category >= languageCategoryCount(t.language))
                return QStringLiteral("line %1: category %2 out of range").arg(i).arg(t.category);
            expected += t.length;
        }
        if (expected != line.text.size())
            return QStringLiteral("line %1: tokens cover %2 of %3 bytes")
                .arg(i)
                .arg(expected)
                .arg(line.text.size());
    }
    return QString();
}

} // namespace probe
