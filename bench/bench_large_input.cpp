// Large and unusual input through the real window:
//  - brackets: arrow keys beside an unmatched "(" in a 50 MB page of lines, and in
//    a 5 MB page of the same markup written on one line (minified; the editing
//    component lays out one line of 50 MB for seconds at every key), timed from
//    the key press to the repaint; the reference is the same key between two
//    letters (no bracket) of the same page;
//  - scan: the identifier scan of the one-line page and of the page with CR line
//    breaks only: progress steps shown, longest stall of the event loop, peak memory
//    over the text, and the time the window takes to close in the middle of a scan;
//  - accents: "Conversion des accents" over a column selection of 20 000 lines of a
//    1 MB page, from the command to the end of the repaint; the reference is the
//    same command over the whole document.
// Run it on a real display or under Xvfb:
//   cmake --build build --target bench_large_input
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bench_large_input [MB] [brackets|scan|accents]
//     [MB of the one-line page for the brackets]
#include "app/app_settings.h"
#include "app/settings_store.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "app/ui/ui_services.h"
#include "assist/ui/bracket_highlight.h"
#include "assist/ui/scan_thread_form.h"
#include "editor/ui/highlight_lexer.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QProgressBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Lines of markup with scripts and styles; `lineBreak` between lines (a space
// gives the one-line page). An unmatched "(" sits in a script in the middle.
QByteArray makePage(qint64 bytes, const QByteArray &lineBreak) {
    QByteArray page;
    page.reserve(bytes + 4096);
    const QByteArray nl = lineBreak;
    page += "<!DOCTYPE html>" + nl + "<html>" + nl + "<body>" + nl;
    bool unmatched = false;
    for (int n = 0; page.size() < bytes; ++n) {
        const QByteArray k = QByteArray::number(n);
        page += "<div class=\"item\" id=\"i" + k + "\">" + nl + "  <h2>Titre " + k + "</h2>" + nl +
                "  <p>Un texte avec un <a href=\"page" + k +
                ".html\">lien</a> et du <b>gras</b>.</p>" + nl;
        if (n % 4 == 1)
            page += "<script>" + nl + "  function f" + k +
                    "(a) { if (a > 1) { return [a, \"(\"]; } return f(a + 1); }" + nl +
                    "</script>" + nl;
        if (n % 4 == 3)
            page += "<style>" + nl + "  .item" + k + " { color: #336699; }" + nl + "</style>" + nl;
        if (!unmatched && page.size() > bytes / 2) {
            page += "<script>" + nl + "  g((1); // hole" + nl + "</script>" + nl;
            unmatched = true;
        }
        page += "</div>" + nl;
    }
    page += "</body>" + nl + "</html>" + nl;
    return page;
}

// Counts the paints of the editor's text area.
class PaintWatch : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// One key press and release, then waits for the repaint it causes.
double press(QWidget *editor, PaintWatch &watch, Qt::Key key) {
    const int before = watch.paints;
    QElapsedTimer t;
    t.start();
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(editor, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(editor, &up);
    while (watch.paints == before && t.elapsed() < 60000)
        QApplication::processEvents();
    return t.nsecsElapsed() / 1e6;
}

void settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long procKb(const char *field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    return -1;
}

void resetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

QString writeFile(const QTemporaryDir &dir, const char *name, const QByteArray &bytes) {
    const QString path = dir.filePath(QLatin1String(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) std::exit(1);
    return path;
}

// Left and right arrows around one place, timed to the repaint.
std::vector<double> arrows(TMyMwCustomEdit *e, PaintWatch &watch, int count) {
    std::vector<double> times;
    for (int i = 0; i < count; ++i)
        times.push_back(press(e, watch, i % 2 ? Qt::Key_Left : Qt::Key_Right));
    return times;
}

void brackets(const QTemporaryDir &dir, qint64 megabytes, const char *what,
              const QByteArray &lineBreak) {
    const QString path = writeFile(dir, "brackets.html", makePage(megabytes << 20, lineBreak));
    SettingsStore store(dir.filePath(QStringLiteral("brackets.ini")));
    Options options;
    TMainForm form(&store, &options, {});
    form.resize(1200, 760);
    form.show();
    settle(200);
    QElapsedTimer open;
    open.start();
    form.documents()->OpenDocument(path, false);
    TMyMwCustomEdit *e = form.documents()->ActiveEditor();
    PaintWatch watch;
    e->viewport()->installEventFilter(&watch);
    while (watch.paints == 0 && open.elapsed() < 120000)
        QApplication::processEvents();
    const double openMs = open.nsecsElapsed() / 1e6;
    e->setFocus();
    const qsizetype hole = QByteArrayView(e->utf8Data(), e->utf8Length()).indexOf("g((1)");
    auto *highlight = e->findChild<BracketHighlight *>();
    const auto *lexer = qobject_cast<HighlightLexer *>(e->lexer());
    std::printf("%s page: %lld MB, %d lines, shown in %.0f ms\n", what, (long long)megabytes,
                e->lines(), openMs);

    for (const bool later : {false, true}) {
        if (later) {
            QElapsedTimer c;
            c.start();
            while (lexer && lexer->colouringAhead() && c.elapsed() < 120000)
                QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        // The reference: between two letters of "hole", no bracket near.
        e->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, (unsigned long)(hole + 12));
        e->SendScintilla(QsciScintillaBase::SCI_SCROLLCARET);
        settle(later ? 100 : 300);
        const std::vector<double> plain = arrows(e, watch, 20);
        // Beside the outer "(" of "g((1)", which has no partner.
        e->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, (unsigned long)(hole + 1));
        settle(100);
        const std::vector<double> beside = arrows(e, watch, 20);
        const bool lit = highlight->bracket() >= 0;
        std::printf("  %s: arrow beside the unmatched \"(\" to repaint: median %.2f ms, worst "
                    "%.2f ms%s; reference (no bracket) median %.2f ms: %.2fx (target < 16 ms)\n",
                    later ? "once coloured" : "just shown  ", median(beside),
                    *std::max_element(beside.begin(), beside.end()), lit ? "" : " [no highlight]",
                    median(plain), median(beside) / median(plain));
        std::fflush(stdout);
    }
    e->removeEventFilter(&watch);
}

// Scans `page` in a shown window: progress steps, stall, memory, close time.
void scan(const char *what, const QByteArray &page) {
    const long before = procKb("VmRSS:");
    resetPeak();
    int steps = 0;
    qint64 worstGap = 0;
    QElapsedTimer total;
    {
        TScanThreadForm form;
        form.show();
        settle(100);
        auto *bar = form.findChild<QProgressBar *>(QStringLiteral("ProgressBar1"));
        QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) { steps += v > 0; });
        bool done = false;
        QObject::connect(&form, &TScanThreadForm::listsFilled, [&] { done = true; });
        QElapsedTimer loop;
        QTimer tick;
        tick.setInterval(5);
        QObject::connect(&tick, &QTimer::timeout,
                         [&] { worstGap = std::max(worstGap, loop.restart()); });
        total.start();
        loop.start();
        tick.start();
        form.requestScan(page);
        while (!done)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    const double scanMs = total.nsecsElapsed() / 1e6;
    const long extraKb = procKb("VmHWM:") - before;

    // Closed at about a third of the way (by the bar, or by the time of the first run).
    double closeMs = 0;
    int shownAtClose = 0;
    qint64 closedAfter = 0;
    {
        auto *form = new TScanThreadForm;
        form->show();
        auto *bar = form->findChild<QProgressBar *>(QStringLiteral("ProgressBar1"));
        form->requestScan(page);
        QElapsedTimer wait;
        wait.start();
        while (bar->value() < 33 && wait.elapsed() < scanMs / 3)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        shownAtClose = bar->value();
        closedAfter = wait.elapsed();
        QElapsedTimer t;
        t.start();
        form->close();
        delete form;
        closeMs = t.nsecsElapsed() / 1e6;
    }
    std::printf("identifier scan, %s (%.0f MB): %.0f ms, %d progress steps shown, longest "
                "event-loop stall %lld ms (target < 50 ms), peak memory text + %.1f MB; closed "
                "%lld ms into a scan (bar at %d %%): %.1f ms (target < 50 ms)\n",
                what, page.size() / 1048576.0, scanMs, steps, (long long)worstGap, extraKb / 1024.0,
                (long long)closedAfter, shownAtClose, closeMs);
    std::fflush(stdout);
}

// Answers the accent dialog with the given choice.
class Choose : public UiServices {
public:
    const char *choice = "RadioDocSel";
    int execDialog(QDialog *d) override {
        if (auto *r = d->findChild<QRadioButton *>(QLatin1String(choice))) r->setChecked(true);
        return QDialog::Accepted;
    }
};

void accents(const QTemporaryDir &dir) {
    // 20 000 lines of about 52 bytes: 1 MB.
    QByteArray page;
    for (int i = 0; i < 20000; ++i) {
        QByteArray line = "<p>\xC3\xA9t\xC3\xA9 \xC3\xA0 la campagne, ligne " +
                          QByteArray::number(i) + " \xC5\x93uvre.</p>";
        page += line.leftJustified(50, ' ') + "\r\n";
    }
    const QString path = writeFile(dir, "accents.html", page);
    Choose choose;
    UiServices::install(&choose);
    for (const char *choice : {"RadioDoc", "RadioDocSel"}) {
        SettingsStore store(dir.filePath(QStringLiteral("accents.ini")));
        Options options;
        TMainForm form(&store, &options, {});
        form.resize(1200, 760);
        form.show();
        form.documents()->OpenDocument(path, false);
        TMyMwCustomEdit *e = form.documents()->ActiveEditor();
        PaintWatch watch;
        e->viewport()->installEventFilter(&watch);
        settle(300);
        // Columns 4 to 30 of every line, anchor at the top.
        QElapsedTimer making;
        making.start();
        e->SendScintilla(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONANCHOR,
                         (unsigned long)e->positionFromXY({4, 1}));
        e->SendScintilla(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONCARET,
                         (unsigned long)e->positionFromXY({30, 20000}));
        const double selecting = making.nsecsElapsed() / 1e6;
        settle(100);
        choose.choice = choice;
        const int paints = watch.paints;
        QElapsedTimer t;
        t.start();
        form.actions()->action(QStringLiteral("ModifierConversion"))->trigger();
        const double command = t.nsecsElapsed() / 1e6;
        while (watch.paints == paints && t.elapsed() < 600000)
            QApplication::processEvents();
        const double drawn = t.nsecsElapsed() / 1e6;
        const int selections = int(e->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONS));
        std::printf("accents over %s (%d lines, %d selections after): command %.1f ms, drawn "
                    "%.1f ms; the editing component took %.1f ms to make the column "
                    "selection\n",
                    choice == QByteArrayView("RadioDoc") ? "the whole document (reference)"
                                                         : "a column selection",
                    e->lines(), selections, command, drawn, selecting);
        std::fflush(stdout);
        e->removeEventFilter(&watch);
    }
    UiServices::install(nullptr);
}

} // namespace

int main(int argc, char **argv) {
    QTemporaryDir dir;
    // The recovery journal of the pages left modified goes with the run.
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    QApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 50;
    const QByteArray only = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    const qint64 oneLineMegabytes = argc > 3 ? QByteArray(argv[3]).toLongLong() : 5;
    std::printf("large input (%s)\n", qPrintable(QApplication::platformName()));
    if (only.isEmpty() || only == "brackets") {
        brackets(dir, megabytes, "lines", "\n");
        brackets(dir, oneLineMegabytes, "one-line", " ");
    }
    if (only.isEmpty() || only == "scan") {
        scan("one line", makePage(megabytes << 20, " "));
        scan("CR line breaks", makePage(megabytes << 20, "\r"));
    }
    if (only.isEmpty() || only == "accents") accents(dir);
    return 0;
}
