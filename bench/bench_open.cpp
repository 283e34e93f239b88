// Opening a 50 MB HTML file into a tab, against the editing component's own load.
#include "app/app_settings.h"
#include "app/settings_store.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "bench_page.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <Qsci/qsciscintilla.h>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const qsizetype size = 50 * 1024 * 1024;
    for (bool accents : {false, true}) {
        const QByteArray bytes = benchPage(size, accents);
        const QString path = dir.filePath(accents ? "accents.html" : "ascii.html");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        f.close();

        // Reference: the component alone, bytes already in memory.
        double reference;
        {
            QsciScintilla sci;
            sci.setUtf8(true);
            QElapsedTimer t;
            t.start();
            sci.SendScintilla(QsciScintilla::SCI_APPENDTEXT, (unsigned long)bytes.size(),
                              bytes.constData());
            reference = t.nsecsElapsed() / 1e9;
        }

        SettingsStore store(dir.filePath("s.ini"));
        Options options;
        TMainForm form(&store, &options, {});
        form.show();
        QElapsedTimer t;
        t.start();
        form.documents()->OpenDocument(path, true);
        app.processEvents();
        const double open = t.nsecsElapsed() / 1e9;
        TMyMwCustomEdit *e = form.documents()->ActiveEditor();
        t.restart();
        QByteArray out;
        e->fileBytes(&out);
        const double encode = t.nsecsElapsed() / 1e9;
        std::printf("%s file, %.1f MB: open into a tab %.3f s (component alone %.3f s, ratio %.2f); "
                    "bytes for saving %.3f s; identical %s\n",
                    accents ? "Windows-1252" : "ASCII", size / 1048576.0, open, reference,
                    open / reference, encode, out == bytes ? "yes" : "NO");
        form.documents()->FileClose();
    }
    return 0;
}
