// The live preview through the real window and browser engine.
//
// 1. Keystrokes in a 1 MB page, typed in bursts with pauses long enough for the
//    preview to refresh, so that keys meet the copy being written and the page
//    loading; each key is timed from the press to the end of the repaint it causes.
//    References in the same run: the same keys with the panel hidden, and with the
//    panel showing the page (Tester) but live preview off: the window's own cost of
//    drawing beside a browser view.
// 2. In a 200 KB page, a key in the title, then the time until the preview shows
//    the new title. Reference in the same run: Recharger (Ctrl+R) at once, the
//    engine's own floor (copy written, page loaded) without the typing pause.
// Run it on a real display or under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bench_live_preview [rounds]
#include "app/app_settings.h"
#include "app/settings_store.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "bench_page.h"
#include "publish/ui/live_preview.h"
#include "publish/ui/preview_commands.h"
#include "publish/ui/preview_panel.h"
#include "shell/ui/main_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

class PaintWatch : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

void settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// One key, from the press to the repaint it causes, in ms.
double press(QWidget *editor, PaintWatch &watch, const QString &text) {
    const int before = watch.paints;
    QElapsedTimer t;
    t.start();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, text);
    QApplication::sendEvent(editor, &down);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, text);
    QApplication::sendEvent(editor, &up);
    while (watch.paints == before && t.elapsed() < 20000)
        QApplication::processEvents();
    QApplication::processEvents();
    return t.nsecsElapsed() / 1e6;
}

QByteArray pageOf(qsizetype size) {
    return "<html><head><title>T</title></head><body>\r\n" + benchPage(size, true) +
           "</body></html>\r\n";
}

struct Window {
    // Each window keeps its crash-recovery journal apart: the document left modified
    // in one must not be offered to the next.
    explicit Window(const QString &ini)
        : data((qputenv("XDG_DATA_HOME", (ini + QStringLiteral(".data")).toLocal8Bit()), 0)),
          store(ini), form(&store, &options, {}) {
        form.show();
        settle(200);
        form.resize(1200, 780);
        commands = form.findChild<PreviewCommands *>();
    }
    QAction *action(const char *name) const {
        return form.actions()->action(QString::fromLatin1(name));
    }
    QString title() const {
        PreviewEngine *e = commands->panel()->engine();
        return e ? e->widget()->property("title").toString() : QString();
    }
    int data;
    SettingsStore store;
    Options options;
    TMainForm form;
    PreviewCommands *commands;
};

struct Spread {
    double median = 0, p95 = 0, worst = 0;
};
Spread spread(QList<double> v) {
    std::sort(v.begin(), v.end());
    if (v.isEmpty()) return {};
    return {v[v.size() / 2], v[std::min<qsizetype>(v.size() - 1, v.size() * 95 / 100)], v.last()};
}

// Keys in bursts of ten with a pause after each: the panel hidden, shown with live
// preview off, or live preview on.
enum Mode { PanelHidden, LiveOff, LiveOn };
Spread typing(const QString &path, const QString &ini, Mode mode, int rounds, int *refreshes) {
    Window w(ini);
    w.form.documents()->OpenDocument(path, false);
    TMyMwCustomEdit *e = w.form.documents()->ActiveEditor();
    std::unique_ptr<QSignalSpy> loads;
    if (mode != PanelHidden) {
        if (mode == LiveOn)
            w.action("NavDirect")->setChecked(true);
        else
            w.action("OutilsTester")->trigger();
        // Counted from the engine's own signal, whatever the module's classes.
        loads = std::make_unique<QSignalSpy>(w.commands->panel()->engine()->widget(),
                                             SIGNAL(loadFinished(bool)));
    }
    settle(2000);
    e->setCaretXY({10, e->lines() / 2});
    e->ensureCaretVisible();
    e->setFocus();
    settle(500);
    if (loads) loads->clear();
    PaintWatch watch;
    e->viewport()->installEventFilter(&watch);
    QList<double> keys;
    for (int r = 0; r < rounds; ++r) {
        for (int k = 0; k < 10; ++k) {
            keys << press(e, watch, QStringLiteral("x"));
            settle(40); // a quick typist: 25 keys a second
        }
        settle(LivePreview::kTypingPauseMs + 150);
    }
    e->viewport()->removeEventFilter(&watch);
    *refreshes = loads ? int(loads->size()) : 0;
    return spread(keys);
}

// The time from a key in the title (or from Ctrl+R) to the preview showing it.
Spread latency(const QString &path, const QString &ini, bool live, int rounds) {
    Window w(ini);
    w.form.documents()->OpenDocument(path, false);
    TMyMwCustomEdit *e = w.form.documents()->ActiveEditor();
    // The reference shows the page with Tester, then reloads it by hand.
    if (live)
        w.action("NavDirect")->setChecked(true);
    else
        w.action("OutilsTester")->trigger();
    QElapsedTimer wait;
    wait.start();
    while (w.title() != QStringLiteral("T") && wait.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    e->setCaretXY({21, 1}); // after the "T" of the title
    e->setFocus();
    PaintWatch watch;
    e->viewport()->installEventFilter(&watch);
    QString expected = QStringLiteral("T");
    QList<double> times;
    for (int r = 0; r < rounds; ++r) {
        settle(300);
        const QString letter = QString(QChar('a' + r % 26));
        expected += letter;
        QElapsedTimer t;
        t.start();
        press(e, watch, letter);
        if (!live) w.action("NavReload")->trigger();
        while (w.title() != expected && t.elapsed() < 20000)
            QApplication::processEvents(QEventLoop::AllEvents, 2);
        times << t.nsecsElapsed() / 1e6;
    }
    e->viewport()->removeEventFilter(&watch);
    return spread(times);
}

} // namespace

int main(int argc, char **argv) {
    // The windows keep their journals and caches in a folder of the run, never the user's
    // (a journal left there would open its recovery question in the middle of the run).
    QTemporaryDir home;
    for (const char *name : {"XDG_CACHE_HOME", "XDG_CONFIG_HOME"})
        qputenv(name, home.path().toLocal8Bit() + '/' + name);
    if (getuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    QTemporaryDir dir;
    auto write = [&dir](const char *name, const QByteArray &bytes) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) std::exit(2);
        return path;
    };
    const QString big = write("grande.html", pageOf(1024 * 1024));
    const QString medium = write("moyenne.html", pageOf(200 * 1024));
    auto ini = [&dir](const char *name) { return dir.filePath(QString::fromLatin1(name)); };

    std::printf("Keys in a 1 MB page, %d bursts of 10 keys (40 ms apart) each followed by a "
                "%d ms pause:\n",
                rounds, LivePreview::kTypingPauseMs + 150);
    const char *names[] = {"panel hidden (reference)", "live preview off (reference)",
                           "live preview on"};
    Spread on;
    for (Mode mode : {PanelHidden, LiveOff, LiveOn}) {
        int loads = 0;
        const Spread k = typing(big, dir.filePath(QStringLiteral("typing%1.ini").arg(mode)), mode,
                                rounds, &loads);
        std::printf("  %-29s median %5.1f ms  p95 %5.1f ms  worst %5.1f ms  (%d page loads)\n",
                    names[mode], k.median, k.p95, k.worst, loads);
        on = k;
    }

    std::printf("From a key in the title of a 200 KB page to the preview showing it, %d "
                "times:\n",
                rounds);
    const Spread hand = latency(medium, ini("hand.ini"), false, rounds);
    const Spread live = latency(medium, ini("live.ini"), true, rounds);
    std::printf("  Recharger at once (reference) median %5.0f ms  p95 %5.0f ms  worst %5.0f ms\n",
                hand.median, hand.p95, hand.worst);
    std::printf("  live preview (%d ms pause)   median %5.0f ms  p95 %5.0f ms  worst %5.0f ms\n",
                LivePreview::kTypingPauseMs, live.median, live.p95, live.worst);
    std::printf("keys under 16 ms with live preview on: %s; shown within 500 ms: %s\n",
                on.worst < 16 ? "yes" : "NO", live.worst < 500 ? "yes" : "NO");
    return 0;
}
