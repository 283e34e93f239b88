// The preferences window: what start-up pays to create it (its pages wait for the
// first showing) against what the first and later showings pay to build and fill
// them. Usage: bench_preferences [runs]
#include "app/app_settings.h"
#include "app/document_types.h"
#include "app/settings_store.h"
#include "app/ui/document_type_module.h"
#include "shell/ui/main_form.h"
#include "app/ui/preferences_dialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("settings.ini")));
    store.writeBool(QStringLiteral("Options"), QStringLiteral("ShowTips"), false);
    Options options;
    readStartupOptions(store, options);
    TMainForm form(&store, &options, {});
    form.show();
    app.processEvents();

    std::vector<double> create, first, again;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        auto *d = new TfrmEnvOpts(form.context(), form.documentTypes()->types(), &form);
        create.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        d->prepare();
        first.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        d->prepare();
        again.push_back(t.nsecsElapsed() / 1e6);
        delete d;
    }
    std::printf("preferences window, median of %d runs:\n", runs);
    std::printf("  created with the main window : %8.3f ms\n", median(create));
    std::printf("  first showing (pages built)  : %8.3f ms\n", median(first));
    std::printf("  later showing (filled again) : %8.3f ms\n", median(again));
    std::printf("  start-up pays %.1f%% of what building every page at once would cost\n",
                100.0 * median(create) / (median(create) + median(first)));
    return 0;
}
