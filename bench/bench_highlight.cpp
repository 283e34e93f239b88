// Colouring speed: a 50 MB HTML page with style and script blocks (and some
// PHP), coloured whole through HighlightLexer in an offscreen QsciScintilla,
// against QScintilla's own HTML lexer on the same text in the same run; then
// the cost of one keystroke in the middle of the page; then the page just
// loaded and shown at its end, and keys typed there.
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
#include <ctime>
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
    // Room to type, as the program leaves when it loads a file.
    editor.SendScintilla(QsciScintillaBase::SCI_ALLOCATE, (unsigned long)(text.size() * 7 / 6));
    editor.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, uintptr_t(text.size()),
                         text.constData());
    editor.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
}

double cpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Cost {
    double wall = 1e9; // seconds
    double cpu = 1e9;
    void keepBest(const Cost &c) {
        wall = std::min(wall, c.wall);
        cpu = std::min(cpu, c.cpu);
    }
};

// Attaching a lexer clears the styles; the whole text is then styled.
Cost colourAll(QsciScintilla &editor, QsciLexer *lexer) {
    editor.setLexer(nullptr);
    QElapsedTimer timer;
    const double cpu = cpuSeconds();
    timer.start();
    editor.setLexer(lexer);
    editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
    return {timer.nsecsElapsed() / 1e9, cpuSeconds() - cpu};
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

struct EndScreen {
    double show = 0;     // ms: the screen at the end coloured
    double firstKey = 0; // ms: a key there, and the screen restyled
    double keys = 0;     // ms, median of the next ones
    double worstKey = 0;
};

// The page just loaded and shown at its end, as Ctrl+End shows it: the time to
// colour that screen (what painting asks for), then keys typed on its last line,
// each followed by the screen's restyling.
EndScreen endScreen(QsciScintilla &editor, QsciLexer *lexer) {
    editor.setLexer(nullptr);
    editor.setLexer(lexer);
    editor.SendScintilla(QsciScintillaBase::SCI_STARTSTYLING, 0UL, 0L); // nothing coloured yet
    const long lines = editor.SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT);
    const long onScreen = editor.SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN);
    const auto styleScreen = [&] {
        const long end = editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        const long styled = editor.SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
        editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, (unsigned long)styled, end);
    };
    EndScreen out;
    QElapsedTimer timer;
    timer.start();
    editor.SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE,
                         (unsigned long)std::max(0L, lines - onScreen));
    styleScreen();
    out.show = timer.nsecsElapsed() / 1e6;
    std::vector<double> keys;
    const long at = editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                         (unsigned long)std::max(0L, lines - 2));
    for (int i = 0; i < 21; ++i) {
        timer.start();
        editor.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, (unsigned long)(at + i), "x");
        styleScreen();
        const double ms = timer.nsecsElapsed() / 1e6;
        if (i == 0)
            out.firstKey = ms;
        else
            keys.push_back(ms);
    }
    std::sort(keys.begin(), keys.end());
    out.keys = keys[keys.size() / 2];
    out.worstKey = keys.back();
    editor.SendScintilla(QsciScintillaBase::SCI_DELETERANGE, (unsigned long)at, 21L);
    return out;
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 50;
    const QByteArray page = makePage(megabytes * 1000 * 1000);
    const double mb = page.size() / 1e6;
    std::printf("page: %.1f MB, %lld lines\n", mb, (long long)page.count('\n'));

    DocumentTypes types;
    // The program's own editor view, configured as every document's is, shown
    // (offscreen) so that it has a screen of lines.
    TMyMwCustomEdit editor;
    editor.resize(1000, 700);
    editor.show();
    QApplication::processEvents();
    load(editor, page);

    // One lexer alone, for a profiler: "reference", "html" or "php".
    if (argc > 2) {
        const QByteArray only(argv[2]);
        QsciLexerHTML reference;
        HighlightLexer html(types.highlighter(DocumentTypes::SynMultiSynHTML));
        HighlightLexer php(types.highlighter(DocumentTypes::SynMultiSynPHP));
        QsciLexer *lexer = only == "reference" ? static_cast<QsciLexer *>(&reference)
                           : only == "php"     ? static_cast<QsciLexer *>(&php)
                                               : static_cast<QsciLexer *>(&html);
        std::printf("%s alone: %.2f s\n", only.constData(), colourAll(editor, lexer).wall);
        editor.setLexer(nullptr);
        return 0;
    }

    QsciLexerHTML reference;
    HighlightLexer html(types.highlighter(DocumentTypes::SynMultiSynHTML));
    HighlightLexer php(types.highlighter(DocumentTypes::SynMultiSynPHP));

    // The end of the page just loaded, before anything else has been coloured.
    const EndScreen refEnd = endScreen(editor, &reference);
    const EndScreen htmlEnd = endScreen(editor, &html);
    const EndScreen phpEnd = endScreen(editor, &php);
    editor.SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, 0UL);

    // The reference and ours in turn, best of three: the machine may be busy.
    Cost refTime, htmlTime, phpTime;
    Keystroke refKey, htmlKey, htmlKeyComment, phpKey;
    qint64 scanned = 0;
    for (int round = 0; round < 3; ++round) {
        refTime.keepBest(colourAll(editor, &reference));
        if (round == 0) refKey = keystroke(editor, "x");
        const qint64 before = html.scannedLineCount();
        htmlTime.keepBest(colourAll(editor, &html));
        if (round == 0) {
            scanned = html.scannedLineCount() - before;
            htmlKey = keystroke(editor, "x");
            htmlKeyComment = keystroke(editor, "<!--");
        }
        phpTime.keepBest(colourAll(editor, &php));
        if (round == 0) phpKey = keystroke(editor, "x");
    }
    editor.setLexer(nullptr);

    std::printf("colouring the whole page (best of 3, wall and CPU time):\n");
    const auto line = [&](const char *name, const Cost &c, bool reference) {
        std::printf("  %-26s %6.2f s  %6.1f MB/s  CPU %6.2f s", name, c.wall, mb / c.wall, c.cpu);
        if (!reference)
            std::printf("  %.2fx the reference (CPU %.2fx)", refTime.wall / c.wall,
                        refTime.cpu / c.cpu);
        std::printf("\n");
    };
    line("QsciLexerHTML (reference)", refTime, true);
    line("Document HTML", htmlTime, false);
    line("PHP", phpTime, false);
    std::printf("restyling after one keystroke in the middle (median):\n");
    std::printf("  QsciLexerHTML (reference)  %.3f ms\n", refKey.restyle);
    std::printf("  Document HTML              %.3f ms (typing \"<!--\": %.3f ms)\n",
                htmlKey.restyle, htmlKeyComment.restyle);
    std::printf("  PHP                        %.3f ms\n", phpKey.restyle);
    std::printf("the insertion itself, in QScintilla, before any styling: %.3f ms\n",
                htmlKey.insert);
    std::printf("lines scanned by the Document HTML lexer for the whole page: %lld\n",
                (long long)scanned);
    std::printf("the page just loaded, its last screen shown (as Ctrl+End), then keys typed "
                "there:\n");
    const auto end = [](const char *name, const EndScreen &e) {
        std::printf("  %-26s screen %8.2f ms  first key %6.2f ms  next keys: median %5.2f ms, "
                    "worst %5.2f ms\n",
                    name, e.show, e.firstKey, e.keys, e.worstKey);
    };
    end("QsciLexerHTML (reference)", refEnd);
    end("Document HTML", htmlEnd);
    end("PHP", phpEnd);
    return 0;
}
