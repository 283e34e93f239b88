// balizor-cli as a user runs it: the whole process on a generated 50 MB Windows-1252
// page read from standard input, written to /dev/null. For each command it prints
// the wall time, the processor time and the peak memory, beside the same figures for
// "tidy -indent" (apt-get install tidy) and for "cat" (the I/O floor), all measured in
// this run. Best of several alternated runs (tidy, which takes long, runs once
// unless asked).
//   bench_cli [megabytes] [runs] [tidy runs]
//   bench_cli --page FILE [megabytes]   writes the page only, for /usr/bin/time

#include "process_run.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Real markup of several kinds, with accents, entities, script and style blocks,
// paragraphs and list items without end tags, CR LF breaks.
QByteArray makePage(qint64 bytes) {
    QByteArray page = "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
                      "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" "
                      "content=\"text/html; charset=windows-1252\">\r\n"
                      "<title>Page de test</title>\r\n</head>\r\n<body>\r\n";
    page.reserve(bytes + 8192);
    for (int n = 0; page.size() < bytes; ++n) {
        const QByteArray k = QByteArray::number(n);
        page += "<div class=\"article\" id=\"a" + k + "\">\r\n<h2>Chapitre " + k +
                " : \xC9t\xE9 \xE0 la campagne</h2>\r\n"
                "<p>Un paragraphe <b>en gras</b>, <i>en italique</i> et "
                "<a href=\"page" +
                k +
                ".html\">un lien</a> ; l'\x9C"
                "uvre co\xFBte 12 \x80.\r\n"
                "<p>Second paragraphe sans balise de fin, avec &eacute;t&eacute; et "
                "&agrave; bient&ocirc;t.\r\n"
                "<table border=\"1\" cellpadding=\"2\">\r\n"
                "<tr><td>cellule</td><td align=\"right\">Fran\xE7ois</td></tr>\r\n"
                "<tr><td>seconde</td><td>gar\xE7on</td></tr>\r\n</table>\r\n"
                "<ul>\r\n<li>premier \xE9l\xE9ment\r\n<li>second &eacute;l&eacute;ment\r\n"
                "</ul>\r\n<!-- fin de l'article " +
                k + " -->\r\n";
        if (n % 8 == 0)
            page += "<style type=\"text/css\">\r\n.article" + k +
                    " { color: #102030; content: \"\xE9\"; }\r\n</style>\r\n";
        if (n % 8 == 4)
            page += "<script type=\"text/javascript\">\r\nfunction f" + k +
                    "() { return \"\xE9\" + (1 < 2); }\r\n</script>\r\n";
        page += "</div>\r\n";
    }
    page += "</body>\r\n</html>\r\n";
    return page;
}

struct Command {
    const char *label;
    std::vector<std::string> argv;
    Measure best;
};

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc > 2 && std::string(argv[1]) == "--page") {
        const QByteArray page = makePage(qint64(argc > 3 ? atoi(argv[3]) : 50) * 1000 * 1000);
        QFile f(QString::fromLocal8Bit(argv[2]));
        return f.open(QIODevice::WriteOnly) && f.write(page) == page.size() ? 0 : 1;
    }
    const int megabytes = argc > 1 ? atoi(argv[1]) : 50;
    const int runs = argc > 2 ? atoi(argv[2]) : 3;
    const int tidyRuns = argc > 3 ? atoi(argv[3]) : 1;
    const std::string cli =
        (QCoreApplication::applicationDirPath() + QStringLiteral("/balizor-cli")).toStdString();
    const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));

    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("page50.html")));
    {
        const QByteArray page = makePage(qint64(megabytes) * 1000 * 1000);
        QFile f(QString::fromLocal8Bit(path));
        if (!f.open(QIODevice::WriteOnly) || f.write(page) != page.size()) {
            std::printf("cannot write the page\n");
            return 1;
        }
    }
    const double mb = double(QFile(QString::fromLocal8Bit(path)).size()) / 1e6;
    std::printf("page: %.1f MB of Windows-1252 HTML, CR LF breaks; best of %d runs\n", mb, runs);

    std::vector<Command> commands = {
        {"cat", {"cat"}, {}},
        {"balizor-cli indent --spaces 4", {cli, "indent", "--spaces", "4", "-"}, {}},
        {"balizor-cli accents --to-entities", {cli, "accents", "--to-entities", "-"}, {}},
        {"balizor-cli eol --lf", {cli, "eol", "--lf", "-"}, {}},
    };
    if (!tidy.isEmpty() && tidyRuns > 0)
        commands.push_back({"tidy -indent", {tidy.toStdString(), "-indent", "-quiet"}, {}});
    else
        std::printf("tidy: not installed (apt-get install tidy) - no reference\n");

    for (int r = 0; r < runs; ++r)
        for (Command &c : commands) {
            if (r >= tidyRuns && c.label == std::string("tidy -indent")) continue;
            const Measure m = runOnce(c.argv, path.constData());
            c.best.wall = std::min(c.best.wall, m.wall);
            c.best.cpu = std::min(c.best.cpu, m.cpu);
            c.best.peakKb = std::max(c.best.peakKb, m.peakKb);
            c.best.status = m.status;
        }

    const double inputKb = mb * 1e6 / 1024.0;
    const Measure *tidyBest = tidy.isEmpty() || tidyRuns < 1 ? nullptr : &commands.back().best;
    // On a loaded machine the wall time mostly measures the wait for a processor:
    // the processor time gives the rate the work itself allows.
    std::printf("%-34s %8s %8s %8s %9s %9s %8s %s\n", "command", "wall s", "CPU s", "MB/s",
                "MB/s CPU", "peak MB", "x input", "exit");
    for (const Command &c : commands) {
        const Measure &m = c.best;
        std::printf("%-34s %8.3f %8.3f %8.0f %9.0f %9.1f %8.2f %d", c.label, m.wall, m.cpu,
                    mb / m.wall, mb / m.cpu, m.peakKb / 1024.0, m.peakKb / inputKb, m.status);
        if (tidyBest && &m != tidyBest && std::string(c.label).find("indent") != std::string::npos)
            std::printf("   %.1fx faster than tidy (CPU %.1fx)", tidyBest->wall / m.wall,
                        tidyBest->cpu / m.cpu);
        std::printf("\n");
    }
    std::printf("targets: indent >= 13x tidy; accents >= 150 MB/s; eol >= 400 MB/s; "
                "peak memory <= 2x input\n");
    return 0;
}
