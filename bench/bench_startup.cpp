// Start-up time: from just before a fresh process is started to the moment the
// main window's first show is done and the event loop is idle, against a bare
// window with one editor (bench_startup_reference). Each run is a new process, so
// library loading counts. Usage: bench_startup [runs]
#include "startup_clock.h"

#include "app/app_settings.h"
#include "app/settings_store.h"
#include "app/ui/main_form.h"
#include "app/ui/splash_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <algorithm>
#include <memory>

namespace {
// The program's own start road (main.cpp) without the single-instance hand-over:
// a first start with an empty store, the tip of the day off.
int runProgram(int argc, char *argv[], const QByteArray &mark, const QString &ini)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Balizor"));
    QApplication::setOrganizationName(QStringLiteral("Balizor"));
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);
    SettingsStore store(ini);
    store.writeBool(QStringLiteral("Options"), QStringLiteral("ShowTips"), false);
    Options options;
    readStartupOptions(store, options);
    std::unique_ptr<TOpenBox> splash;
    if (options.splash) {
        splash = std::make_unique<TOpenBox>();
        splash->show();
        splash->repaint();
        QApplication::processEvents();
    }
    TMainForm form(&store, &options, {});
    QTimer::singleShot(0, [&splash] { splash.reset(); });
    form.show();
    QTimer::singleShot(0, [mark] { reportAndExit(mark.constData()); });
    return app.exec();
}

struct Stats {
    QList<double> samples;
    double median() const
    {
        QList<double> s = samples;
        std::sort(s.begin(), s.end());
        return s.isEmpty() ? 0 : s[s.size() / 2];
    }
    double min() const
    {
        return samples.isEmpty() ? 0 : *std::min_element(samples.begin(), samples.end());
    }
};

double runChild(const QString &program, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    const double mark = monotonicMs();
    p.start(program, QStringList{QString::number(mark, 'f', 3)} + args);
    p.waitForFinished(60000);
    bool ok = false;
    const double ms = QString::fromLatin1(p.readAllStandardOutput()).trimmed().toDouble(&ok);
    return ok ? ms : -1;
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 3 && QByteArray(argv[1]) == "--child")
        return runProgram(argc, argv, argv[2], QString::fromLocal8Bit(argv[3]));

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? QByteArray(argv[1]).toInt() : 15;
    const QString dir = QCoreApplication::applicationDirPath();
    const QString self = QCoreApplication::applicationFilePath();
    const QString reference = dir + QStringLiteral("/bench_startup_reference");
    Stats program, bare;
    QTemporaryDir tmp;
    // One run of each to fill the file cache, then alternate.
    for (int i = -1; i < runs; ++i) {
        const QString ini = tmp.filePath(QStringLiteral("s%1.ini").arg(i + 1));
        QProcess p;
        const double mark = monotonicMs();
        p.start(self, {QStringLiteral("--child"), QString::number(mark, 'f', 3), ini});
        p.waitForFinished(60000);
        bool ok = false;
        const double ms = QString::fromLatin1(p.readAllStandardOutput()).trimmed().toDouble(&ok);
        const double ref = runChild(reference, {});
        if (i < 0)
            continue;
        if (ok)
            program.samples << ms;
        if (ref >= 0)
            bare.samples << ref;
    }
    std::printf("start-up to first show, %d runs (ms):\n", runs);
    std::printf("  bare window + editor: median %.1f  min %.1f\n", bare.median(), bare.min());
    std::printf("  balizor:              median %.1f  min %.1f\n", program.median(), program.min());
    std::printf("  difference (median):  %.1f\n", program.median() - bare.median());
    return 0;
}
