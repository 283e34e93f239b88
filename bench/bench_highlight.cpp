// Colouring speed: a 50 MB HTML page with style and script blocks (and some
// PHP), coloured whole through HighlightLexer in an offscreen QsciScintilla,
// against QScintilla's own HTML lexer on the same text in the same run; then
// the cost of one keystroke in the middle of the page.
//
//   cmake --build build --target benchmarks
//   QT_QPA_PLATFORM=offscreen build/bench_highlight [megabytes]

#include "app/document_types.h"
#include "app/ui/editor_view.h"
#include "editor/ui/highlight_lexer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray makePage(qint64 bytes) {
    QByteArray page =
        "<!DOCTYPE html>\n<html>\n<head>\n<title>Banc d'essai</title>\n</head>\n<body>\n";
    page.reserve(bytes + 4096);
    for (int n = 0; page.size() < bytes; ++n) {
        const QByteArray k = QByteArray::number(n);
        page += "<div class=\"item\" id=\"i" + k + "\">\n  <h2>Titre " + k +
                "</h2>\n  <p>Un texte avec des &eacute;l&eacute;ments, un <a href=\"page" + k +
                ".html\" title=\"Lien num&eacute;ro " + k +
                "\">lien</a> et du <b>gras</b>, puis <i>de l'italique</i>.</p>\n"
                "  <table border=\"0\"><tr><td>Cellule</td><td align=\"right\">" +
                k + "</td></tr></table>\n";
        if (n % 4 == 0)
            page += "<style type=\"text/css\">\n  .item" + k +
                    " { color: #336699; margin: 0 auto; font-size: 12px; }\n"
                    "  a:hover { text-decoration: underline; } /* survol */\n</style>\n";
        if (n % 4 == 1)
            page += "<script type=\"text/javascript\">\n  function f" + k +
                    "(a) { var s = \"cha\xc3\xaene\"; return a * 0x1F + 1.5e3; } // note\n"
                    "  document.getElementById('i" +
                    k + "').onclick = function () { f" + k + "(2); };\n</script>\n";
        if (n % 8 == 2) page += "<?php echo $valeur" + k + "; /* serveur */ ?>\n";
        if (n % 8 == 5) page += "<!-- commentaire\n     sur deux lignes -->\n";
        page += "</div>\n";
    }
    page += "</body>\n</html>\n";
    return page;
}

void load(QsciScintilla &editor, const QByteArray &text) {
    editor.SendScintilla(QsciScintillaBase::SCI_CLEARALL);
    editor.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    editor.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, uintptr_t(text.size()),
                         text.constData());
    editor.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
}

// Attaching a lexer clears the styles; the whole text is then styled.
double colourAll(QsciScintilla &editor, QsciLexer *lexer) {
    editor.setLexer(nullptr);
    QElapsedTimer timer;
    timer.start();
    editor.setLexer(lexer);
    editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
    return timer.nsecsElapsed() / 1e9;
}

struct Keystroke {
    double restyle; // ms, median
    double insert;  // ms, median: the editing component's own work
};

// A keystroke in the middle of the page: insert one character, then style what
// a screen of 60 lines below it needs, as painting would.
Keystroke keystroke(QsciScintilla &editor, const char *typed) {
    std::vector<double> times, insertTimes;
    const int lines = int(editor.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT));
    for (int i = 0; i < 21; ++i) {
        const int line = lines / 2 + i * 97;
        const long pos =
            editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, (unsigned long)line);
        const long screenEnd = editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                                    (unsigned long)(line + 60));
        QElapsedTimer timer;
        timer.start();
        editor.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, (unsigned long)pos, typed);
        insertTimes.push_back(timer.nsecsElapsed() / 1e6);
        timer.start();
        const long styled = editor.SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
        editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, (unsigned long)styled, screenEnd);
        times.push_back(timer.nsecsElapsed() / 1e6);
        editor.undo();
        editor.SendScintilla(
            QsciScintillaBase::SCI_COLOURISE,
            (unsigned long)editor.SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED), screenEnd);
    }
    std::sort(times.begin(), times.end());
    std::sort(insertTimes.begin(), insertTimes.end());
    return {times[times.size() / 2], insertTimes[insertTimes.size() / 2]};
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 50;
    const QByteArray page = makePage(megabytes * 1000 * 1000);
    const double mb = page.size() / 1e6;
    std::printf("page: %.1f MB, %lld lines\n", mb, (long long)page.count('\n'));

    DocumentTypes types;
    // The program's own editor view, configured as every document's is.
    TMyMwCustomEdit editor;
    load(editor, page);

    // The reference first, then ours, then the reference again: best of two.
    QsciLexerHTML reference;
    double refTime = colourAll(editor, &reference);
    const Keystroke refKey = keystroke(editor, "x");

    HighlightLexer html(types.highlighter(DocumentTypes::SynMultiSynHTML));
    double htmlTime = colourAll(editor, &html);
    const Keystroke htmlKey = keystroke(editor, "x");
    const Keystroke htmlKeyComment = keystroke(editor, "<!--");
    const qint64 scanned = html.scannedLineCount();

    HighlightLexer php(types.highlighter(DocumentTypes::SynMultiSynPHP));
    const double phpTime = colourAll(editor, &php);
    const Keystroke phpKey = keystroke(editor, "x");

    refTime = std::min(refTime, colourAll(editor, &reference));
    htmlTime = std::min(htmlTime, colourAll(editor, &html));
    editor.setLexer(nullptr);

    std::printf("colouring the whole page:\n");
    std::printf("  QsciLexerHTML (reference)  %6.2f s  %6.1f MB/s\n", refTime, mb / refTime);
    std::printf("  Document HTML              %6.2f s  %6.1f MB/s  %.2fx the reference\n", htmlTime,
                mb / htmlTime, refTime / htmlTime);
    std::printf("  PHP                        %6.2f s  %6.1f MB/s  %.2fx the reference\n", phpTime,
                mb / phpTime, refTime / phpTime);
    std::printf("restyling after one keystroke in the middle (median):\n");
    std::printf("  QsciLexerHTML (reference)  %.3f ms\n", refKey.restyle);
    std::printf("  Document HTML              %.3f ms (typing \"<!--\": %.3f ms)\n",
                htmlKey.restyle, htmlKeyComment.restyle);
    std::printf("  PHP                        %.3f ms\n", phpKey.restyle);
    std::printf("the insertion itself, in QScintilla, before any styling: %.3f ms\n",
                htmlKey.insert);
    std::printf("lines scanned by the Document HTML lexer: %lld\n", (long long)scanned);
    return 0;
}
