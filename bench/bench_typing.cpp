// Typing in a 50 MB page through the real window: the page is opened into a tab of
// the main window, the caret goes to the start, the middle or the end, and key events
// go to the editor view. Each keystroke is timed from the key press to the end of the
// repaint it causes (the window title and status bar updated on the way), in wall
// time and in CPU time. Each place gets a fresh window, so that its first keystroke
// meets an untouched document; the end is measured twice, 300 ms after opening and
// once the background colouring of the text is done. Run it on a real display or under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bench_typing [MB] [keys]
//   [start|middle|end|end-later]
#include "app/app_settings.h"
#include "app/settings_store.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "bench_page.h"
#include "editor/ui/highlight_lexer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

double cpuMs() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
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

struct Cost {
    double wall = 0;
    double cpu = 0;
};

// Sends one key press and release to the editor and waits until the editor has
// repainted and every event posted on the way has been handled.
Cost press(QWidget *editor, PaintWatch &watch, Qt::Key key, Qt::KeyboardModifiers mods,
           const QString &text) {
    const int paintsBefore = watch.paints;
    QElapsedTimer wall;
    const double cpu0 = cpuMs();
    wall.start();
    QKeyEvent down(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(editor, &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(editor, &up);
    while (watch.paints == paintsBefore && wall.elapsed() < 20000)
        QApplication::processEvents();
    QApplication::processEvents();
    return {wall.nsecsElapsed() / 1e6, cpuMs() - cpu0};
}

// Lets timers and idle work of the last step run out.
void settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The end twice: right after opening, and once the background colouring is done.
enum Place { Start, Middle, End, EndLater };
const char *const placeNames[] = {"start", "middle", "end", "end-later"};

void measure(const QString &path, const QString &ini, Place place, int keys, bool *withinFrame) {
    SettingsStore store(ini);
    Options options;
    TMainForm form(&store, &options, {});
    form.show();
    settle(200);
    QElapsedTimer t;
    t.start();
    form.documents()->OpenDocument(path, true);
    settle(0);
    const double open = t.nsecsElapsed() / 1e6;
    TMyMwCustomEdit *e = form.documents()->ActiveEditor();
    e->setFocus();
    PaintWatch watch;
    e->viewport()->installEventFilter(&watch);
    settle(300);
    double colouring = 0;
    if (place == EndLater) {
        QElapsedTimer c;
        c.start();
        const auto *lexer = qobject_cast<HighlightLexer *>(e->lexer());
        while (lexer && lexer->colouringAhead() && c.elapsed() < 30000)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        colouring = c.nsecsElapsed() / 1e6 + 300;
    }

    Cost move;
    switch (place) {
    case Start:
        move = press(e, watch, Qt::Key_Home, Qt::ControlModifier, {});
        break;
    case Middle: {
        QElapsedTimer m;
        const double cpu0 = cpuMs();
        m.start();
        e->setCaretXY({1, e->lines() / 2});
        e->ensureCaretVisible();
        const int before = watch.paints;
        while (watch.paints == before && m.elapsed() < 20000)
            QApplication::processEvents();
        move = {m.nsecsElapsed() / 1e6, cpuMs() - cpu0};
        break;
    }
    case End:
    case EndLater:
        move = press(e, watch, Qt::Key_End, Qt::ControlModifier, {});
        break;
    }
    settle(300);

    const QString titleBefore = form.windowTitle();
    const Cost first = press(e, watch, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    const bool titled = form.windowTitle() != titleBefore && form.windowTitle().endsWith('*');
    QList<double> walls, cpus;
    for (int i = 0; i < keys; ++i) {
        const Cost c = press(e, watch, Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
        walls << c.wall;
        cpus << c.cpu;
    }
    walls << first.wall;
    cpus << first.cpu;
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    const double median = walls[walls.size() / 2], worst = walls.last();
    if (place == EndLater)
        std::printf("(colouring done in the background %.0f ms after opening)\n", colouring);
    std::printf("%-9s open %6.0f ms  caret there %6.1f ms  first key %6.1f ms (cpu %6.1f)%s  "
                "with %d more keys: median %5.1f ms, worst %5.1f ms (cpu median %5.1f)\n",
                placeNames[place], open, move.wall, first.wall, first.cpu,
                titled ? "" : " [title not updated]", keys, median, worst, cpus[cpus.size() / 2]);
    std::fflush(stdout);
    if (first.wall >= 16 || worst >= 16) *withinFrame = false;
    // The modified document is dropped with the window: no closing question.
    e->removeEventFilter(&watch);
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const int mb = argc > 1 ? QByteArray(argv[1]).toInt() : 50;
    const int keys = argc > 2 ? QByteArray(argv[2]).toInt() : 30;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.html"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) ||
            f.write(benchPage(qsizetype(mb) * 1024 * 1024, false)) < 0)
            return 1;
    }
    std::printf("typing in a %d MB page, one fresh window per place (%s):\n", mb,
                qPrintable(QApplication::platformName()));
    bool ok = true;
    const QByteArray only = argc > 3 ? QByteArray(argv[3]) : QByteArray();
    for (Place place : {Start, Middle, End, EndLater})
        if (only.isEmpty() || only == placeNames[place])
            measure(path, dir.filePath(QStringLiteral("s%1.ini").arg(int(place))), place, keys,
                    &ok);
    std::printf("every keystroke under 16 ms: %s\n", ok ? "yes" : "NO");
    return 0;
}
