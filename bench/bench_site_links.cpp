// The check of broken links across a site as the user waits for it: the whole
// "balizor-cli links SITE" process (wall time, processor time, peak memory), and the
// check alone in this process (what Outils > Vérifier les liens du site runs on its
// worker), beside "rg" finding every href and src of the same pages: the time it takes
// only to read them once. The site is the help book copied many times (its pages,
// its pictures as empty files), each copy with one missing page and one missing name
// added; it is made once in the folder and kept. Best of several alternated runs.
//   cmake --build build --target bench_site_links
//   build/bench_site_links [folder [copies [runs]]]
#include "process_run.h"

#include "app/document_types.h"
#include "site/site_links.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>

namespace {

bool makeSite(const QString &root, int copies) {
    const QString stamp = root + QStringLiteral("/.complete-%1").arg(copies);
    if (QFile::exists(stamp)) return true;
    QDir(root).removeRecursively();
    const QString book = QStringLiteral(BALIZOR_SOURCE_DIR "/resources/Ressources");
    for (int k = 0; k < copies; ++k) {
        const QString dir = QStringLiteral("%1/livre%2").arg(root).arg(k, 3, 10, QChar('0'));
        if (!QDir().mkpath(dir + "/images")) return false;
        for (QDirIterator it(book, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString from = it.next();
            const QString to = dir + "/" + QDir(book).relativeFilePath(from);
            QFile out(to);
            if (!out.open(QIODevice::WriteOnly)) return false;
            if (from.endsWith(QLatin1String(".png"))) continue; // only its name matters here
            QFile in(from);
            if (!in.open(QIODevice::ReadOnly)) return false;
            QByteArray bytes = in.readAll();
            if (from.endsWith(QLatin1String("/site.htm")))
                bytes.replace("</body>", "<p><a href=\"manquante.htm\">x</a> "
                                         "<a href=\"index.htm#nulle-part\">y</a></p>\n</body>");
            out.write(bytes);
        }
    }
    QFile s(stamp);
    return s.open(QIODevice::WriteOnly);
}

struct Best {
    Measure m;
    void take(const Measure &x) {
        m.wall = std::min(m.wall, x.wall);
        m.cpu = std::min(m.cpu, x.cpu);
        m.peakKb = std::max(m.peakKb, x.peakKb);
        m.status = x.status;
    }
};

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QString root =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath() + "/balizor_bench_links";
    const int copies = argc > 2 ? std::max(1, atoi(argv[2])) : 150;
    const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 5;
    const QString rg = QStandardPaths::findExecutable(QStringLiteral("rg"));
    const QString cli = QCoreApplication::applicationDirPath() + "/balizor-cli";
    if (rg.isEmpty()) {
        std::fprintf(stderr, "ripgrep (rg) is missing: bash scripts/install-deps.sh\n");
        return 1;
    }
    if (!makeSite(root, copies)) {
        std::fprintf(stderr, "cannot write the site in %s\n", qPrintable(root));
        return 1;
    }
    qint64 bytes = 0;
    int pages = 0;
    for (QDirIterator it(root, {"*.htm"}, QDir::Files, QDirIterator::Subdirectories);
         it.hasNext();) {
        bytes += QFileInfo(it.next()).size();
        ++pages;
    }
    std::printf("site: %d pages, %.1f MB in %s; best of %d runs, cache warm\n", pages,
                bytes / 1048576.0, qPrintable(root), runs);

    const std::vector<std::string> ours = {cli.toStdString(), "links", root.toStdString()};
    const std::vector<std::string> reference = {rg.toStdString(), "-c", "-e",
                                                "(href|src)=", root.toStdString()};
    runOnce(ours, "/dev/null"); // warm: every page read once by each
    runOnce(reference, "/dev/null");
    Best cliBest, rgBest;
    double engine = 1e9;
    int broken = 0;
    const DocumentTypes types;
    for (int r = 0; r < runs; ++r) {
        rgBest.take(runOnce(reference, "/dev/null"));
        cliBest.take(runOnce(ours, "/dev/null"));
        QElapsedTimer t;
        t.start();
        broken = int(SiteLinks::check(root, types).broken.size());
        engine = std::min(engine, t.nsecsElapsed() / 1e9);
    }
    std::printf("%-28s %9s %9s %9s\n", "", "wall s", "cpu s", "peak MB");
    std::printf("%-28s %9.3f %9.3f %9.1f\n", "rg -c '(href|src)='", rgBest.m.wall, rgBest.m.cpu,
                rgBest.m.peakKb / 1024.0);
    std::printf("%-28s %9.3f %9.3f %9.1f   exit %d\n", "balizor-cli links", cliBest.m.wall,
                cliBest.m.cpu, cliBest.m.peakKb / 1024.0, cliBest.m.status);
    std::printf("%-28s %9.3f\n", "the check in this process", engine);
    std::printf("balizor-cli / rg: %.2fx wall, %.2fx cpu; %d broken links (%d added)\n",
                cliBest.m.wall / rgBest.m.wall, cliBest.m.cpu / rgBest.m.cpu, broken, 2 * copies);
    return 0;
}
