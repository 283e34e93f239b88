// The page checker, beside references measured in the same run:
//  - worker time on a 50 MB page and on a 200 KB page, against copying the text
//    (what the window does at each pause) and the identifier scan (the other
//    whole-page pass of the editor's own worker);
//  - the command line on the 50 MB page, whole process, against `tidy -errors`;
//  - keystrokes in the real window while the 50 MB page is being checked, against
//    the same keystrokes with the check turned off;
//  - on the 200 KB page, the wait from the pause to the underlines shown.
//
//   cmake --build build --target bench_page_checker balizor-cli
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bench_page_checker [megabytes]

#include "app/app_settings.h"
#include "app/document_types.h"
#include "app/settings_store.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "assist/identifier_scan.h"
#include "assist/page_check_thread.h"
#include "assist/page_checker.h"
#include "assist/ui/page_check_module.h"
#include "editor/multi_highlighter.h"
#include "shell/ui/main_form.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// A page of repeated sections: identifiers, internal and file links, tables with
// implied end tags, scripts and styles, and one picture without alt in 500.
QByteArray makePage(qint64 bytes) {
    QByteArray page = "<!DOCTYPE html>\n<html>\n<head>\n<title>Banc d'essai</title>\n</head>\n"
                      "<body>\n";
    page.reserve(bytes + 4096);
    for (int n = 0; page.size() < bytes; ++n) {
        const QByteArray k = QByteArray::number(n);
        page += "<div class=\"item\" id=\"i" + k + "\">\n  <h2>Titre " + k +
                "</h2>\n  <p>Un texte avec un <a href=\"page.html\">lien</a>, un <a href=\"#i" + k +
                "\">renvoi</a> et du <b>gras</b>.\n"
                "  <table><tr><td>Cellule<td>" +
                k + "</table>\n";
        if (n % 4 == 1)
            page += "<script>\n  function f" + k +
                    "(a) { if (a < 1) { return '<div>'; } return f(a + 1); }\n</script>\n";
        if (n % 4 == 3) page += "<style>\n  .item" + k + " > p { color: #336699; }\n</style>\n";
        if (n % 500 == 7) page += "<img src=\"page.html\">\n";
        page += "</div>\n";
    }
    page += "</body>\n</html>\n";
    return page;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double worst(const std::vector<double> &v) {
    return *std::max_element(v.begin(), v.end());
}

double cpuMs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Elapsed and processor time of f(), in milliseconds: the machine is shared, so
// the processor time says what the work costs, the elapsed time what one waits.
struct Cost {
    double wall = 0;
    double cpu = 0;
};

template <typename F> Cost cost(F f) {
    QElapsedTimer t;
    const double c0 = cpuMs();
    t.start();
    f();
    return {t.nsecsElapsed() / 1e6, cpuMs() - c0};
}

template <typename F> double timeMs(F f) {
    return cost(f).wall;
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

// One key, from the press to the end of the repaint it causes.
double press(QWidget *editor, PaintWatch &watch) {
    const int before = watch.paints;
    QElapsedTimer t;
    t.start();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
    QApplication::sendEvent(editor, &down);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
    QApplication::sendEvent(editor, &up);
    while (watch.paints == before && t.elapsed() < 5000)
        QApplication::processEvents();
    return t.nsecsElapsed() / 1e6;
}

void settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

double processSeconds(const QString &program, const QStringList &args) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    if (!p.waitForFinished(300000)) return -1;
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char *argv[]) {
    QTemporaryDir dir;
    // The window's recovery journal stays in the run's own folder.
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    QApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 50;
    const QByteArray big = makePage(megabytes << 20);
    const QByteArray small = makePage(200 << 10);
    const QString bigPath = dir.filePath(QStringLiteral("grande.html"));
    const QString smallPath = dir.filePath(QStringLiteral("petite.html"));
    for (const auto &[path, bytes] : {std::pair{bigPath, big}, std::pair{smallPath, small}}) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) return 1;
        f.write(bytes);
    }
    QFile(dir.filePath(QStringLiteral("page.html"))).open(QIODevice::WriteOnly);

    // Worker time, in the core.
    const DocumentTypes types;
    PageCheck::Options o;
    o.page =
        static_cast<const MultiHighlighter *>(types.highlighter(DocumentTypes::SynMultiSynHTML));
    o.baseFolder = dir.path();
    o.limit = PageCheckModule::Limit;
    std::printf("page: %lld MB, %lld findings\n", (long long)megabytes,
                (long long)PageCheck::Check(big, o).findings.size());
    std::vector<double> check, checkCpu, copy, scan, scanCpu;
    for (int k = 0; k < 3; ++k) {
        const Cost c = cost([&] { PageCheck::Check(big, o); });
        check.push_back(c.wall);
        checkCpu.push_back(c.cpu);
        copy.push_back(timeMs([&] {
            QByteArray c(big.constData(), big.size());
            Q_UNUSED(c);
        }));
        const Cost r = cost([&] {
            std::atomic<bool> stop{false};
            std::vector<IdentifierScan::Found> found;
            IdentifierScan::scan(big, stop, {}, &found);
        });
        scan.push_back(r.wall);
        scanCpu.push_back(r.cpu);
    }
    std::printf("%lld MB page, worker time: check median %.0f ms elapsed, %.0f ms processor "
                "(target < 2000 ms); references: copy of the text %.0f ms, identifier scan %.0f ms "
                "elapsed, %.0f ms processor (check = %.2fx the scan in processor time)\n",
                (long long)megabytes, median(check), median(checkCpu), median(copy), median(scan),
                median(scanCpu), median(checkCpu) / median(scanCpu));
    std::vector<double> smallCheck, smallCpu, smallScan;
    for (int k = 0; k < 21; ++k) {
        const Cost c = cost([&] { PageCheck::Check(small, o); });
        smallCheck.push_back(c.wall);
        smallCpu.push_back(c.cpu);
        smallScan.push_back(timeMs([&] {
            std::atomic<bool> stop{false};
            std::vector<IdentifierScan::Found> found;
            IdentifierScan::scan(small, stop, {}, &found);
        }));
    }
    std::printf("200 KB page, worker time: check median %.2f ms elapsed (worst %.2f), %.2f ms "
                "processor (target < 50 ms); reference: identifier scan median %.2f ms\n",
                median(smallCheck), worst(smallCheck), median(smallCpu), median(smallScan));

    // The command line, whole process.
    const QString cli = QApplication::applicationDirPath() + QStringLiteral("/balizor-cli");
    const double cliS = processSeconds(cli, {QStringLiteral("check"), bigPath});
    const double tidyS = processSeconds(
        QStringLiteral("tidy"), {QStringLiteral("-errors"), QStringLiteral("-quiet"), bigPath});
    std::printf("balizor-cli check, %lld MB, whole process: %.2f s; reference tidy -errors: %s\n",
                (long long)megabytes, cliS,
                tidyS < 0 ? "not run" : qPrintable(QStringLiteral("%1 s").arg(tidyS, 0, 'f', 2)));
    std::fflush(stdout);

    // The window: keystrokes while the page is checked, then without the check.
    SettingsStore store(dir.filePath(QStringLiteral("settings.ini")));
    Options options;
    readStartupOptions(store, options);
    TMainForm form(&store, &options, {});
    form.show();
    settle(200);
    auto *module = form.findChild<PageCheckModule *>();
    auto *worker = form.findChild<PageCheckThread *>();
    double lastWorkerMs = 0, lastCpuMs = 0;
    bool checked = false;
    QObject::connect(worker, &PageCheckThread::checked,
                     [&](quint64, const PageCheck::Result &, double ms, double cpu) {
                         lastWorkerMs = ms;
                         lastCpuMs = cpu;
                         checked = true;
                     });
    form.documents()->OpenDocument(bigPath, false);
    TMyMwCustomEdit *e = form.documents()->ActiveEditor();
    e->setFocus();
    PaintWatch watch;
    e->viewport()->installEventFilter(&watch);
    // The first check of the opened page, and the colouring, run out.
    for (QElapsedTimer t; t.isValid() ? t.elapsed() < 20000 && !checked : (t.start(), true);)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    settle(1500);
    e->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    settle(300);

    std::vector<double> during, without;
    for (int round = 0; round < 3; ++round) {
        checked = false;
        const double copyMs = timeMs([&] { module->checkNow(); });
        // While the copy is taken in steps: the longest the event loop is held, which
        // is what a key pressed then would wait (a key ends the copy: the text changed).
        QElapsedTimer copying;
        copying.start();
        double longest = 0;
        while (module->copying()) {
            QElapsedTimer turn;
            turn.start();
            QApplication::processEvents();
            longest = std::max(longest, turn.nsecsElapsed() / 1e6);
        }
        std::printf("window, round %d: copy in steps %.0f ms, longest event-loop turn meanwhile "
                    "%.1f ms\n",
                    round + 1, copying.nsecsElapsed() / 1e6, longest);
        QElapsedTimer t;
        t.start();
        // A key every 30 ms while the worker checks.
        while (!checked && t.elapsed() < 20000) {
            during.push_back(press(e, watch));
            settle(30);
        }
        std::printf("window, round %d: the command returned in %.1f ms; worker %.0f ms "
                    "elapsed, %.0f ms processor, %d keys typed so far\n",
                    round + 1, copyMs, lastWorkerMs, lastCpuMs, int(during.size()));
        std::fflush(stdout);
        settle(PageCheckModule::PauseMs + 200);
    }
    form.findChild<QAction *>(QStringLiteral("OutilsVerifierFrappe"))->setChecked(false);
    settle(300);
    for (size_t k = 0; k < during.size(); ++k) {
        without.push_back(press(e, watch));
        settle(30);
    }
    std::printf("keystroke to repaint, %lld MB page: while checked median %.2f ms, worst %.2f ms "
                "(target < 16 ms); reference without the check median %.2f ms, worst %.2f ms\n",
                (long long)megabytes, median(during), worst(during), median(without),
                worst(without));

    // 200 KB: from the pause to the underlines.
    form.findChild<QAction *>(QStringLiteral("OutilsVerifierFrappe"))->setChecked(true);
    form.documents()->OpenDocument(smallPath, false);
    TMyMwCustomEdit *s = form.documents()->ActiveEditor();
    settle(1500);
    std::vector<double> shownMs;
    QObject::connect(module, &PageCheckModule::resultShown,
                     [&](TMyMwCustomEdit *, double) { checked = true; });
    for (int k = 0; k < 11; ++k) {
        checked = false;
        s->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
        QElapsedTimer t;
        t.start();
        s->SendScintilla(QsciScintillaBase::SCI_ADDTEXT, 1, "x");
        while (!checked && t.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 1);
        shownMs.push_back(t.nsecsElapsed() / 1e6 - PageCheckModule::PauseMs);
        settle(100);
    }
    std::printf("200 KB page, from the end of the %d ms pause after a key to the underlines: "
                "median %.1f ms, worst %.1f ms\n",
                PageCheckModule::PauseMs, median(shownMs), worst(shownMs));
    e->viewport()->removeEventFilter(&watch);
    return 0;
}
