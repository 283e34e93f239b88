// Start-up time as a user waits for it: from just before a fresh process is started
// to the first paint of its main window, with a small page given on the command line,
// the settings in a fresh folder (a first start, the tip of the day off). In the same
// run, in turn, three processes:
// - the program's own main(), built into this bench, which reports from inside the
//   process when the window's first paint is done and flushed to the display;
// - the real executable, started as "balizor -N page", timed from outside: the X
//   server's notice that its main window was first drawn into (the splash window is
//   passed over); it is then ended;
// - a bare window holding one QScintilla editor (bench_startup_reference) that shows
//   the same page, timed both ways.
// The processor time each process used up to that moment is reported beside.
// Usage (under an X server, e.g. xvfb-run -a -s "-screen 0 1280x800x24" with
// QT_QPA_PLATFORM=xcb): bench_startup [runs]; BENCH_INI, if set, replaces the settings
// written for each start ("|" for a line break), e.g. "[Options]|ShowTips=0|Splash=0".
#include "startup_clock.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <sys/types.h>

// The program's own entry point, renamed so that this file can start it.
#define main balizorProgramMain
#include "../src/main.cpp"
#undef main

#include "first_draw_watch.h"

namespace {

const char *const kMarkVariable = "BALIZOR_BENCH_MARK";

// Reports at the first paint of the main window, once the paint is flushed.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *o, QEvent *e) override {
        if (!m_seen && e->type() == QEvent::Paint && o->isWidgetType() &&
            static_cast<QWidget *>(o)->window()->inherits("TMainForm")) {
            m_seen = true;
            reportWhenDone(qgetenv(kMarkVariable));
        }
        return false;
    }

private:
    bool m_seen = false;
};

void watchFirstPaint() {
    qApp->installEventFilter(new FirstPaint);
}

struct Stats {
    QList<double> samples;
    double median() const {
        QList<double> s = samples;
        std::sort(s.begin(), s.end());
        return s.isEmpty() ? 0 : s[s.size() / 2];
    }
    double min() const {
        return samples.isEmpty() ? 0 : *std::min_element(samples.begin(), samples.end());
    }
};

struct Sample {
    double wall = -1; // reported from inside the process
    double cpu = -1;
    double drawn = -1;    // seen through the X server
    double drawnCpu = -1; // processor time then, read from outside
};

FirstDrawWatch *g_watch = nullptr;

// Starts a process and waits for its report, or (endAtFirstDraw) for its first
// drawing seen by the X server, after which it is ended. With watchDraw, the first
// drawing is timed when an X server is there.
Sample runChild(const QString &program, const QStringList &args, QProcessEnvironment env,
                bool watchDraw, bool endAtFirstDraw = false) {
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    if (g_watch) g_watch->drain();
    const double mark = monotonicMs();
    env.insert(QString::fromLatin1(kMarkVariable), QString::number(mark, 'f', 3));
    p.setProcessEnvironment(env);
    p.start(program, args);
    Sample s;
    if (g_watch && watchDraw && p.waitForStarted(60000)) {
        const pid_t pid = pid_t(p.processId());
        const double at = g_watch->waitForFirstDraw(pid, 60000);
        if (at >= 0) {
            s.drawn = at - mark;
            s.drawnCpu = FirstDrawWatch::processCpuMs(pid);
        }
    }
    if (endAtFirstDraw) {
        // The program saves its settings and ends; not timed.
        p.terminate();
        if (!p.waitForFinished(20000)) {
            p.kill();
            p.waitForFinished();
        }
        return s;
    }
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return s;
    }
    const QStringList parts =
        QString::fromLatin1(p.readAllStandardOutput()).simplified().split(QLatin1Char(' '));
    bool ok1 = false, ok2 = false;
    if (parts.size() == 2) {
        const double wall = parts[0].toDouble(&ok1);
        const double cpu = parts[1].toDouble(&ok2);
        if (ok1 && ok2) {
            s.wall = wall;
            s.cpu = cpu;
        }
    }
    return s;
}

QByteArray load() {
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly) ? f.readLine().trimmed() : QByteArray("?");
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsSet(kMarkVariable)) {
        qAddPreRoutine(watchFirstPaint);
        return balizorProgramMain(argc, argv);
    }

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? QByteArray(argv[1]).toInt() : 15;
    const QString self = QCoreApplication::applicationFilePath();
    const QString dir = QCoreApplication::applicationDirPath();
    const QString reference = dir + QStringLiteral("/bench_startup_reference");
    const QString executable = dir + QStringLiteral("/balizor");
    FirstDrawWatch watch;
    if (watch.isValid())
        g_watch = &watch;
    else
        std::printf("no X server with the DAMAGE extension: the lines seen through the window "
                    "system are left out\n");
    QTemporaryDir tmp;
    const QString page = tmp.filePath(QStringLiteral("page.html"));
    {
        QFile f(page);
        if (!f.open(QIODevice::WriteOnly)) return 1;
        f.write("<html>\r\n<head>\r\n  <title>Essai</title>\r\n</head>\r\n<body>\r\n");
        for (int i = 0; i < 20; ++i)
            f.write(
                "  <p>Un paragraphe <b>en gras</b> et <a href=\"page.html\">un lien</a>.</p>\r\n");
        f.write("</body>\r\n</html>\r\n");
    }
    // A fresh settings folder for each start: a first start, the tip of the day off.
    auto freshSettings = [&tmp](const QString &name) {
        const QString config = tmp.filePath(name);
        QDir().mkpath(config + QStringLiteral("/Balizor"));
        QFile ini(config + QStringLiteral("/Balizor/Balizor.ini"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(qEnvironmentVariableIsSet("BENCH_INI")
                          ? qgetenv("BENCH_INI").replace('|', '\n')
                          : QByteArray("[Options]\nShowTips=0\n"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        // Nor any document journal left by another run to offer back.
        env.insert(QStringLiteral("XDG_DATA_HOME"), config + QStringLiteral("/data"));
        return env;
    };
    const QByteArray loadBefore = load();
    Stats program, bare, programCpu, bareCpu, pairs;
    Stats real, bareDrawn, realCpu, bareDrawnCpu, realPairs;
    int failures = 0;
    // One run of each to fill the file cache, then alternate.
    for (int i = -1; i < runs; ++i) {
        const QProcessEnvironment env = freshSettings(QStringLiteral("config%1").arg(i + 1));
        const QProcessEnvironment realEnv = freshSettings(QStringLiteral("real%1").arg(i + 1));
        // Run back to back, in turn one order then the other, so that the ratios
        // are little disturbed by the load of a shared machine.
        Sample ms, ref, exe;
        const QStringList realArgs = {QStringLiteral("-N"), page};
        if (i % 2 == 0) {
            ms = runChild(self, {page}, env, false);
            ref = runChild(reference, {page}, QProcessEnvironment::systemEnvironment(), true);
            exe = runChild(executable, realArgs, realEnv, true, true);
        } else {
            exe = runChild(executable, realArgs, realEnv, true, true);
            ref = runChild(reference, {page}, QProcessEnvironment::systemEnvironment(), true);
            ms = runChild(self, {page}, env, false);
        }
        if (qEnvironmentVariableIsSet("BENCH_VERBOSE"))
            std::printf("run %2d: balizor %6.1f  real %6.1f  bare %6.1f / %6.1f\n", i, ms.wall,
                        exe.drawn, ref.wall, ref.drawn);
        if (i < 0) continue;
        if (ms.wall >= 0) {
            program.samples << ms.wall;
            programCpu.samples << ms.cpu;
        }
        if (ref.wall >= 0) {
            bare.samples << ref.wall;
            bareCpu.samples << ref.cpu;
        }
        if (ms.wall > 0 && ref.wall > 0) pairs.samples << ms.wall / ref.wall;
        failures += (ms.wall < 0) + (ref.wall < 0);
        if (g_watch) {
            if (exe.drawn >= 0) {
                real.samples << exe.drawn;
                realCpu.samples << exe.drawnCpu;
            }
            if (ref.drawn >= 0) {
                bareDrawn.samples << ref.drawn;
                bareDrawnCpu.samples << ref.cpu;
            }
            if (exe.drawn > 0 && ref.drawn > 0) realPairs.samples << exe.drawn / ref.drawn;
            failures += (exe.drawn < 0) + (ref.drawn < 0);
        }
    }
    auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    std::printf("start-up to the first paint of the window, %d runs (ms), load %s\n", runs,
                loadBefore.constData());
    std::printf(" reported from inside the process:\n");
    std::printf("  bare window + editor: median %6.1f  min %6.1f   (cpu median %5.1f)\n",
                bare.median(), bare.min(), bareCpu.median());
    std::printf("  balizor:              median %6.1f  min %6.1f   (cpu median %5.1f)\n",
                program.median(), program.min(), programCpu.median());
    std::printf("  ratio:                median %6.2f  min %6.2f   (cpu median %5.2f)\n",
                ratio(program.median(), bare.median()), ratio(program.min(), bare.min()),
                ratio(programCpu.median(), bareCpu.median()));
    std::printf("  ratio of each pair:   median %6.2f\n", pairs.median());
    if (g_watch) {
        std::printf(" the real executable, first drawing seen by the X server:\n");
        std::printf("  bare window + editor: median %6.1f  min %6.1f   (cpu median %5.1f)\n",
                    bareDrawn.median(), bareDrawn.min(), bareDrawnCpu.median());
        std::printf("  balizor -N page:      median %6.1f  min %6.1f   (cpu median %5.1f)\n",
                    real.median(), real.min(), realCpu.median());
        std::printf("  ratio:                median %6.2f  min %6.2f   (cpu median %5.2f)\n",
                    ratio(real.median(), bareDrawn.median()), ratio(real.min(), bareDrawn.min()),
                    ratio(realCpu.median(), bareDrawnCpu.median()));
        std::printf("  ratio of each pair:   median %6.2f\n", realPairs.median());
    }
    if (failures) std::printf("  %d runs did not report\n", failures);
    std::printf(" load after: %s\n", load().constData());
    return 0;
}
