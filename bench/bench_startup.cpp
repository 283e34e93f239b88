// Start-up time as a user waits for it: from just before a fresh process is started
// to the first paint of its main window (the window's contents drawn and handed to
// the display), with a small page given on the command line. The program runs its
// own main() unchanged, with its settings in a fresh folder (a first start, the tip
// of the day off); it alternates, in the same run, with a bare window holding one
// QScintilla editor (bench_startup_reference) that shows the same page.
// The processor time each process used up to that moment is reported beside.
// Usage: bench_startup [runs]; BENCH_INI, if set, replaces the settings written for
// each start ("|" for a line break), e.g. "[Options]|ShowTips=0|Splash=0".
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

// The program's own entry point, renamed so that this file can start it.
#define main balizorProgramMain
#include "../src/main.cpp"
#undef main

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
    double wall = -1;
    double cpu = -1;
};

Sample runChild(const QString &program, const QStringList &args, QProcessEnvironment env) {
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    const double mark = monotonicMs();
    env.insert(QString::fromLatin1(kMarkVariable), QString::number(mark, 'f', 3));
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    const QStringList parts =
        QString::fromLatin1(p.readAllStandardOutput()).simplified().split(QLatin1Char(' '));
    bool ok1 = false, ok2 = false;
    Sample s;
    if (parts.size() == 2) {
        s.wall = parts[0].toDouble(&ok1);
        s.cpu = parts[1].toDouble(&ok2);
    }
    return ok1 && ok2 ? s : Sample{};
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
    const QString reference =
        QCoreApplication::applicationDirPath() + QStringLiteral("/bench_startup_reference");
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
    Stats program, bare, programCpu, bareCpu, pairs;
    int failures = 0;
    // One run of each to fill the file cache, then alternate.
    for (int i = -1; i < runs; ++i) {
        // A fresh settings folder for each start: a first start, the tip of the day off.
        const QString config = tmp.filePath(QStringLiteral("config%1").arg(i + 1));
        QDir().mkpath(config + QStringLiteral("/Balizor"));
        {
            QFile ini(config + QStringLiteral("/Balizor/Balizor.ini"));
            if (!ini.open(QIODevice::WriteOnly)) return 1;
            ini.write(qEnvironmentVariableIsSet("BENCH_INI")
                          ? qgetenv("BENCH_INI").replace('|', '\n')
                          : QByteArray("[Options]\nShowTips=0\n"));
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        // Each pair runs back to back, in turn one first then the other, so that the
        // ratio of a pair is little disturbed by the load of a shared machine.
        Sample ms, ref;
        if (i % 2 == 0) {
            ms = runChild(self, {page}, env);
            ref = runChild(reference, {page}, QProcessEnvironment::systemEnvironment());
        } else {
            ref = runChild(reference, {page}, QProcessEnvironment::systemEnvironment());
            ms = runChild(self, {page}, env);
        }
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
    }
    std::printf("start-up to the first paint of the window, %d runs (ms):\n", runs);
    std::printf("  bare window + editor: median %6.1f  min %6.1f   (cpu median %5.1f)\n",
                bare.median(), bare.min(), bareCpu.median());
    std::printf("  balizor:              median %6.1f  min %6.1f   (cpu median %5.1f)\n",
                program.median(), program.min(), programCpu.median());
    std::printf("  ratio:                median %6.2f  min %6.2f   (cpu median %5.2f)\n",
                bare.median() > 0 ? program.median() / bare.median() : 0.0,
                bare.min() > 0 ? program.min() / bare.min() : 0.0,
                bareCpu.median() > 0 ? programCpu.median() / bareCpu.median() : 0.0);
    std::printf("  ratio of each pair:   median %6.2f\n", pairs.median());
    if (failures) std::printf("  %d runs did not report\n", failures);
    return 0;
}
