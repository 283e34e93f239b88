// Page properties over a large page: reading, writing back unchanged, and writing a
// new title, colour and meta element (the steps that scan the page again).
//
//   cmake --build build --target bench_page_properties
//   build/bench_page_properties [megabytes]

#include "authoring/page_properties.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace Authoring;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const qint64 mb = argc > 1 ? QByteArray(argv[1]).toLongLong() : 20;
    QString page = QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<title>Banc d'essai</title>\n"
                                  "<meta name=\"author\" content=\"Moi\">\n</head>\n"
                                  "<body bgcolor=\"#FFFFFF\">\n");
    for (int n = 0; page.size() < mb * 1024 * 1024; ++n) {
        const QString k = QString::number(n);
        page += QStringLiteral("<div class=\"item\" id=\"i") + k +
                QStringLiteral("\">\n  <p>Un texte avec un <a href=\"page") + k +
                QStringLiteral(".html\" title=\"Lien\">lien</a> et du <b>gras</b>.</p>\n"
                               "  <!-- commentaire -->\n</div>\n");
    }
    page += QStringLiteral("</body>\n</html>\n");
    const double size = double(page.size()) / (1024 * 1024);

    QElapsedTimer t;
    t.start();
    const PageProperties read = ReadPageProperties(page);
    const double readMs = double(t.nsecsElapsed()) / 1e6;

    t.restart();
    const PageWrite same = WritePageProperties(page, read, QStringLiteral("\n"), false, false);
    const double sameMs = double(t.nsecsElapsed()) / 1e6;

    PageProperties changed = read;
    changed.title = QStringLiteral("Nouveau titre");
    changed.body[BodyBgcolor] = QStringLiteral("#000000");
    changed.hasMeta[MetaGenerator] = true;
    changed.meta[MetaGenerator] = QStringLiteral("Balizor");
    t.restart();
    const PageWrite w = WritePageProperties(page, changed, QStringLiteral("\n"), false, false);
    const double changedMs = double(t.nsecsElapsed()) / 1e6;

    std::printf("page: %.1f MB (%s)\n", size,
                same.text == page ? "unchanged by a plain write" : "CHANGED");
    std::printf("read:             %8.1f ms  %7.1f MB/s\n", readMs, size / readMs * 1000);
    std::printf("write, no change: %8.1f ms  %7.1f MB/s\n", sameMs, size / sameMs * 1000);
    std::printf("write, 3 changes: %8.1f ms  %7.1f MB/s (%s)\n", changedMs, size / changedMs * 1000,
                w.error.isEmpty() ? "written" : "failed");
    return 0;
}
