// Opening help: the first F1 of a run (module and engine loaded, the book registered
// with a fresh collection or found in the user's), then moving between pages.
// Usage: bench_help [page switches]
#include "app/app_settings.h"
#include "app/settings_store.h"
#include "shell/ui/main_form.h"
#include "app/ui/help.h"
#include "publish/ui/help_commands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {
// Milliseconds for the first request of a new main window.
double firstRequest(const QString &ini) {
    SettingsStore store(ini);
    store.writeBool(QStringLiteral("Options"), QStringLiteral("ShowTips"), false);
    Options options;
    readStartupOptions(store, options);
    TMainForm form(&store, &options, {});
    form.show();
    QApplication::processEvents();
    QElapsedTimer t;
    t.start();
    ShowHelpTopic(QStringLiteral("Ressources/liste.htm"));
    QApplication::processEvents();
    return t.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A cache of its own, removed at the end: the first request meets no collection.
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("settings.ini"));

    const double fresh = firstRequest(ini);
    const double known = firstRequest(ini);

    const int switches = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    SettingsStore store(ini);
    Options options;
    readStartupOptions(store, options);
    TMainForm form(&store, &options, {});
    ShowHelpTopic();
    const QStringList pages = {"Ressources/liste.htm", "Ressources/ligne_horizontale.htm",
                               "Ressources/introduction.htm", "Ressources/editeur.htm"};
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < switches; ++i)
        ShowHelpTopic(pages[i % pages.size()]);
    const double perPage = t.nsecsElapsed() / 1e6 / switches;

    std::printf("help (ms):\n");
    std::printf("  first request, new collection:      %.1f\n", fresh);
    std::printf("  first request, collection kept:     %.1f\n", known);
    std::printf("  showing another page (%d switches): %.2f each\n", switches, perPage);
    return 0;
}
