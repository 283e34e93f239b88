// Re-indenting and converting the accents of a 50 MB HTML page (with tables, lists,
// style and script blocks): speed in MB/s and the indenter's peak memory against the
// input size. When the Debian tidy tool is installed (apt-get install tidy), the same
// run times "tidy -indent" on the same page and prints the ratio.
#include "app/document_types.h"
#include "assist/accents.h"
#include "assist/document_rewrites.h"
#include "editor/multi_highlighter.h"

#include "app/app_settings.h"
#include "app/settings_store.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "app/ui/ui_services.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <time.h>

#include <cstdio>

namespace {

QByteArray makePage(qint64 bytes) {
    QByteArray page = "<html>\r\n<head>\r\n<title>Page de test</title>\r\n</head>\r\n<body>\r\n";
    page.reserve(bytes + 4096);
    for (int n = 0; page.size() < bytes; ++n) {
        const QByteArray k = QByteArray::number(n);
        page += "<div class=\"item\" id=\"i" + k + "\">\r\n<h2>Titre " + k +
                "</h2>\r\n<p>Un \xC3\xA9t\xC3\xA9 \xC3\xA0 la campagne, <b>en gras</b> et "
                "<a href=\"page" +
                k +
                ".html\">un lien</a>.</p>\r\n"
                "<table>\r\n<tr><td>cellule</td><td>\xC5\x93uvre</td></tr>\r\n</table>\r\n"
                "<ul>\r\n<li>premier\r\n<li>second &eacute;l&eacute;ment\r\n</ul>\r\n";
        if (n % 8 == 0)
            page += "<style type=\"text/css\">\r\n.item" + k +
                    " { color: #102030; content: \"\xC3\xA9\"; }\r\n</style>\r\n";
        if (n % 8 == 4)
            page += "<script type=\"text/javascript\">\r\nfunction f" + k +
                    "() { return \"\xC3\xA9\" + 1; }\r\n</script>\r\n";
        page += "</div>\r\n";
    }
    page += "</body>\r\n</html>\r\n";
    return page;
}

long rssKb(const char *field) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    return -1;
}

// Wall time and this process's CPU time: on a busy machine the CPU time tells what
// the work itself costs.
struct Clock {
    QElapsedTimer wall;
    double cpu0 = 0;
    static double cpuNow() {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return ts.tv_sec + ts.tv_nsec / 1e9;
    }
    Clock() { restart(); }
    void restart() {
        cpu0 = cpuNow();
        wall.start();
    }
    double wallSeconds() const { return wall.nsecsElapsed() / 1e9; }
    double cpuSeconds() const { return cpuNow() - cpu0; }
};

struct Best {
    double wall = 1e9, cpu = 1e9;
    void take(const Clock &c) {
        wall = std::min(wall, c.wallSeconds());
        cpu = std::min(cpu, c.cpuSeconds());
    }
    void print(const char *what, double mb) const {
        std::printf("%s: %.3f s, %.0f MB/s (CPU %.3f s, %.0f MB/s)\n", what, wall, mb / wall, cpu,
                    mb / cpu);
    }
};

// Confirms every dialog as shown (the accent dialog offers the whole document), and
// answers any question (the page's folder removed meanwhile...) without waiting.
class Confirm : public UiServices {
public:
    int execDialog(QDialog *) override { return QDialog::Accepted; }
    MsgAnswer message(MsgType, MsgButtons, const QString &) override { return MsgAnswer::Cancel; }
};

void resetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int megabytes = argc > 1 ? atoi(argv[1]) : 50;
    const QByteArray page = makePage(qint64(megabytes) * 1000 * 1000);
    const double mb = page.size() / 1e6;
    std::printf("page: %.1f MB, %lld lines\n", mb, (long long)page.count('\n'));

    // Indenter: best of three, and its peak memory over the input held by the caller.
    Best indent;
    long extraKb = 0;
    Assist::IndentOutcome out;
    for (int i = 0; i < 3; ++i) {
        out = Assist::IndentOutcome();
        const long before = rssKb("VmRSS:");
        resetPeak();
        const Clock c;
        out = Assist::IndentDocument(page, true, 2);
        indent.take(c);
        extraKb = std::max(extraKb, rssKb("VmHWM:") - before);
    }
    const double inputKb = page.size() / 1024.0;
    indent.print("indent", mb);
    std::printf("indent run %s, output %.1f MB\n", out.failedAt < 0 ? "complete" : "stopped",
                out.text.size() / 1e6);
    std::printf("indent peak memory: input + %.1f MB = %.2fx the input (target < 3x)\n",
                extraKb / 1024.0, (inputKb + extraKb) / inputKb);
    out = Assist::IndentOutcome();

    // The same page through tidy, when installed.
    const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));
    if (tidy.isEmpty()) {
        std::printf("tidy: not installed (apt-get install tidy) - no reference\n");
    } else {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.html"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(page);
        f.close();
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer t;
        t.start();
        p.start(tidy, {QStringLiteral("-indent"), QStringLiteral("-quiet"), path});
        p.waitForFinished(-1);
        const double s = t.nsecsElapsed() / 1e9;
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        const double cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 +
                           usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
        std::printf("tidy -indent: %.3f s, %.1f MB/s (CPU %.3f s, %.1f MB/s), peak %.1f MB = "
                    "%.1fx the input; the indenter is %.0fx faster (CPU %.0fx)\n",
                    s, mb / s, cpu, mb / cpu, usage.ru_maxrss / 1024.0, usage.ru_maxrss / inputKb,
                    s / indent.wall, cpu / indent.cpu);
    }

    // Accent conversion both ways, with the page's script and style regions left alone.
    DocumentTypes types;
    const Assist::RawTextRegions regions(
        static_cast<const MultiHighlighter *>(types.highlighter(DocumentTypes::SynMultiSynHTML)));
    {
        QElapsedTimer t;
        t.start();
        const auto spans = regions.find(page.constData(), page.size());
        std::printf("script and style regions: %zu found in %.3f s\n", spans.size(),
                    t.nsecsElapsed() / 1e9);
    }
    QByteArray refs;
    Best toRefs, toText;
    for (int i = 0; i < 3; ++i) {
        Clock c;
        refs = Assist::ConvertAccents(page, Assist::AccentDirection::ToReferences, true, regions);
        toRefs.take(c);
        c.restart();
        const QByteArray back =
            Assist::ConvertAccents(refs, Assist::AccentDirection::ToCharacters, true, regions);
        toText.take(c);
        // The page also holds references of its own, so compare in the reference form.
        if (Assist::ConvertAccents(back, Assist::AccentDirection::ToReferences, true, regions) !=
            refs) {
            std::printf("round trip FAILED\n");
            return 1;
        }
    }
    toRefs.print("accents to references", mb);
    toText.print("references to accents (of the converted page)", refs.size() / 1e6);

    // The window commands on the page open in a tab: the whole text in and out of the
    // editor, as one undo step.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.html"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(page);
    }
    SettingsStore store(dir.filePath(QStringLiteral("s.ini")));
    Options options;
    TMainForm form(&store, &options, {});
    form.show();
    form.documents()->OpenDocument(path, false);
    app.processEvents();
    Confirm confirm;
    UiServices::install(&confirm);
    for (const char *name : {"OutilsIndenter", "ModifierConversion", "ModifierDeconversion"}) {
        const Clock c;
        form.actions()->action(QString::fromLatin1(name))->trigger();
        const double wall = c.wallSeconds(), cpu = c.cpuSeconds();
        app.processEvents();
        std::printf("window command %s on the open page: %.3f s (CPU %.3f s), then %.3f s until "
                    "the window is drawn again\n",
                    name, wall, cpu, c.wallSeconds() - wall);
    }
    UiServices::install(nullptr);
    return 0;
}
