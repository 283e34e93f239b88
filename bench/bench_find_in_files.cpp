// The search in files over a site of 10 000 pages / 200 MB made from real pages (the
// help book's, the templates, a test page), beside ripgrep on the same folder in the
// same run, cache warm. What the user waits for: from the search's start to the last
// result in the results panel; the engine alone (the worker threads, no list) beside it.
//   cmake --build build --target bench_find_in_files
//   build/bench_find_in_files [folder [search]]   (the site is made once in the folder and
//   kept; a search name picks one of the searches)
#include "platform/windows1252.h"
#include "site/file_search.h"
#include "site/ui/find_results_panel.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int kFiles = 10000;
constexpr qint64 kTotal = 200LL * 1024 * 1024;
constexpr int kRuns = 5;

QList<QByteArray> realPages() {
    QList<QByteArray> pages;
    const QString src = QStringLiteral(BALIZOR_SOURCE_DIR);
    for (const QString &dir :
         {src + "/resources/Ressources", src + "/resources/Modeles", src + "/tests/data"}) {
        QDirIterator it(dir, {"*.htm", "*.html"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            if (f.open(QIODevice::ReadOnly)) pages << f.readAll();
        }
    }
    return pages;
}

// 100 folders of 100 pages, each page a run of real pages; one in five in
// Windows-1252, one in ten with CR LF line breaks, as old sites are.
void makeSite(const QString &root) {
    const QString stamp = root + "/.complete";
    if (QFile::exists(stamp)) return;
    QDir(root).removeRecursively();
    const QList<QByteArray> pages = realPages();
    QRandomGenerator rng(2026);
    const qint64 mean = kTotal / kFiles;
    for (int i = 0; i < kFiles; ++i) {
        const QString dir =
            QStringLiteral("%1/rubrique%2").arg(root).arg(i / 100, 3, 10, QChar('0'));
        QDir().mkpath(dir);
        const qint64 size = mean / 2 + qint64(rng.bounded(int(mean)));
        QByteArray bytes;
        while (bytes.size() < size)
            bytes += pages[int(rng.bounded(int(pages.size())))];
        bytes.truncate(size);
        while (!bytes.isEmpty() && (uchar(bytes.back()) & 0xC0) == 0x80)
            bytes.chop(1);
        if (i % 10 == 3) bytes.replace("\n", "\r\n");
        if (i % 5 == 1) {
            QByteArray cp;
            Windows1252::encode(QString::fromUtf8(bytes), &cp);
            bytes = cp;
        }
        QFile f(QStringLiteral("%1/page%2.html").arg(dir).arg(i));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write the site in %s\n", qPrintable(root));
            std::exit(1);
        }
    }
    QFile s(stamp);
    s.open(QIODevice::WriteOnly);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Case {
    const char *name;
    QString pattern;
    MatchRules rules;
    QStringList rgArgs;
};

double timeRg(const Case &c, const QString &root, qint64 *lines) {
    QElapsedTimer t;
    QProcess rg;
    rg.setStandardOutputFile(QProcess::nullDevice());
    QStringList args = c.rgArgs;
    args << "--no-heading"
         << "-n"
         << "-e" << c.pattern << root;
    t.start();
    rg.start("rg", args);
    rg.waitForFinished(-1);
    const double ms = t.nsecsElapsed() / 1e6;
    if (lines) {
        QProcess count;
        count.start("rg", c.rgArgs + QStringList{"-c", "--no-filename", "-e", c.pattern, root});
        count.waitForFinished(-1);
        *lines = 0;
        for (const QByteArray &l : count.readAllStandardOutput().split('\n'))
            *lines += l.toLongLong();
    }
    return ms;
}

double timeEngine(const Case &c, const QString &root, qint64 *lines) {
    FileSearchOptions o;
    o.pattern = c.pattern;
    o.rules = c.rules;
    o.folder = root;
    FileSearchJob job;
    QSignalSpy done(&job, &FileSearchJob::finished);
    QElapsedTimer t;
    t.start();
    job.start(o);
    qint64 n = 0;
    QObject::connect(&job, &FileSearchJob::resultsReady, [&] {
        for (const FileHits &f : job.takeResults())
            n += f.hits.size();
    });
    done.wait(600000);
    const double ms = t.nsecsElapsed() / 1e6;
    if (lines) *lines = n;
    return ms;
}

double timePanel(const Case &c, const QString &root, FindResultsPanel *panel) {
    FindInFilesRequest r;
    r.options.pattern = c.pattern;
    r.options.rules = c.rules;
    r.options.folder = root;
    QSignalSpy done(panel, &FindResultsPanel::done);
    QElapsedTimer t;
    t.start();
    panel->run(r);
    done.wait(600000);
    return t.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString root =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath() + "/balizor_bench_site";
    if (QStandardPaths::findExecutable("rg").isEmpty()) {
        std::fprintf(stderr, "ripgrep (rg) is missing: bash scripts/install-deps.sh\n");
        return 1;
    }
    QElapsedTimer made;
    made.start();
    makeSite(root);
    qint64 bytes = 0;
    int files = 0;
    for (QDirIterator it(root, {"*.html"}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        bytes += QFileInfo(it.next()).size();
        ++files;
    }
    std::printf("site: %d files, %.1f MB in %s (ready in %.1f s)\n", files, bytes / 1048576.0,
                qPrintable(root), made.elapsed() / 1000.0);

    MatchRules any;
    MatchRules caseOn;
    caseOn.caseSensitive = true;
    MatchRules words;
    words.wholeWords = true;
    MatchRules regex;
    regex.regularExpression = true;
    regex.caseSensitive = true;
    const QList<Case> cases = {
        {"absent text", "zq-absent-qz", caseOn, {"-F"}},
        {"rare text, any case", "copier l'adresse", any, {"-i", "-F"}},
        {"accented, any case", "Mises à jour", any, {"-i", "-F"}},
        {"common text, case", "<p>", caseOn, {"-F"}},
        {"whole word, any case", "lien", words, {"-i", "-w", "-F"}},
        {"expression", R"(href="[a-z_]+[0-9]\.htm")", regex, {}},
    };
    FindResultsPanel panel(nullptr, nullptr);
    panel.resize(900, 400);
    panel.show();
    std::printf("%-22s %10s %10s %10s %7s %12s\n", "search", "rg ms", "engine ms", "panel ms",
                "panel/rg", "lines rg/us");
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    for (const Case &c : cases) {
        if (!only.isEmpty() && only != QLatin1String(c.name)) continue;
        qint64 rgLines = 0, ourLines = 0;
        // Warm: every file read once by each before timing.
        timeRg(c, root, &rgLines);
        timeEngine(c, root, &ourLines);
        std::vector<double> rg, engine, shown;
        for (int i = 0; i < kRuns; ++i) {
            rg.push_back(timeRg(c, root, nullptr));
            engine.push_back(timeEngine(c, root, nullptr));
            shown.push_back(timePanel(c, root, &panel));
        }
        std::printf("%-22s %10.0f %10.0f %10.0f %7.2f %6lld/%lld\n", c.name, median(rg),
                    median(engine), median(shown), median(shown) / median(rg),
                    static_cast<long long>(rgLines), static_cast<long long>(ourLines));
    }
    return 0;
}
