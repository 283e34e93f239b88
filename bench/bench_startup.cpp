// Start-up time as a user waits for it: from just before a fresh process is started
// to the first paint of its main window (the window's contents drawn and handed to
// the display), with a small page given on the command line. The program runs its
// own main() unchanged, with its settings in a fresh folder (a first start, the tip
// of the day off); it alternates, in the same run, with a bare window holding one
// QScintilla editor (bench_startup_reference) that shows the same page.
// Usage: bench_startup [runs]
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
            QTimer::singleShot(0, [] { reportAndExit(qgetenv(kMarkVariable).constData()); });
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

double runChild(const QString &program, const QStringList &args, QProcessEnvironment env) {
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    const double mark = monotonicMs();
    env.insert(QString::fromLatin1(kMarkVariable), QString::number(mark, 'f', 3));
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    bool ok = false;
    const double ms = QString::fromLatin1(p.readAllStandardOutput()).trimmed().toDouble(&ok);
    return ok ? ms : -1;
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
    Stats program, bare;
    int failures = 0;
    // One run of each to fill the file cache, then alternate.
    for (int i = -1; i < runs; ++i) {
        // A fresh settings folder for each start: a first start, the tip of the day off.
        const QString config = tmp.filePath(QStringLiteral("config%1").arg(i + 1));
        QDir().mkpath(config + QStringLiteral("/Balizor"));
        {
            QFile ini(config + QStringLiteral("/Balizor/Balizor.ini"));
            if (!ini.open(QIODevice::WriteOnly)) return 1;
            ini.write("[Options]\nShowTips=0\n");
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        const double ms = runChild(self, {page}, env);
        const double ref = runChild(reference, {page}, QProcessEnvironment::systemEnvironment());
        if (i < 0) continue;
        if (ms >= 0) program.samples << ms;
        if (ref >= 0) bare.samples << ref;
        failures += (ms < 0) + (ref < 0);
    }
    std::printf("start-up to the first paint of the window, %d runs (ms):\n", runs);
    std::printf("  bare window + editor: median %.1f  min %.1f\n", bare.median(), bare.min());
    std::printf("  balizor:              median %.1f  min %.1f\n", program.median(), program.min());
    std::printf("  ratio (median):       %.2f\n",
                bare.median() > 0 ? program.median() / bare.median() : 0.0);
    if (failures) std::printf("  %d runs did not report\n", failures);
    return 0;
}
