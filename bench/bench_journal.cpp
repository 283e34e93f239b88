// The crash-recovery journal with a 50 MB page open: the copy taken on the
// user-interface thread, the write on the journal's thread, and keystrokes while
// the journal is at work, against keystrokes with it idle.
#include "app/app_settings.h"
#include "app/recovery_journal.h"
#include "app/settings_store.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "app/ui/main_form.h"
#include "app/ui/recovery_keeper.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

static QByteArray page(qsizetype size) {
    const QByteArray block =
        "<div class=\"article\">\r\n  <h2>Titre de la section</h2>\r\n"
        "  <p>Un paragraphe <b>en gras</b> et <a href=\"page.html\">un lien</a>."
        "</p>\r\n  <p>\xC9t\xE9 \xE0 la campagne, \x80 12.</p>\r\n</div>\r\n";
    QByteArray out;
    out.reserve(size + block.size());
    while (out.size() < size)
        out += block;
    return out;
}

// Median time of one keystroke, in microseconds.
static double keystrokes(TMyMwCustomEdit *e, int n) {
    std::vector<double> t;
    QElapsedTimer c;
    for (int i = 0; i < n; ++i) {
        c.start();
        QTest::keyClick(e, Qt::Key_A);
        t.push_back(c.nsecsElapsed() / 1e3);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    QApplication app(argc, argv);
    const QString path = dir.filePath("page.html");
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(page(50 * 1024 * 1024));
    }
    SettingsStore store(dir.filePath("s.ini"));
    Options options;
    TMainForm form(&store, &options, {path});
    form.show();
    QApplication::processEvents();
    TMyMwCustomEdit *e = form.documents()->ActiveEditor();
    e->setFocus();

    // The copy the timer's tick takes on this thread (the one copy per pause).
    QElapsedTimer t;
    t.start();
    const QByteArray copy(e->utf8Data(), e->utf8Length());
    const double copyMs = t.nsecsElapsed() / 1e6;

    // The write itself, as the journal's thread does it.
    auto session = JournalSession::create(dir.filePath("bench-journal"));
    JournalEntry entry;
    entry.text = copy;
    entry.fileName = path;
    double writeMs = 0;
    QThread *worker = QThread::create([&] {
        QElapsedTimer w;
        w.start();
        session->write(1, entry);
        writeMs = w.nsecsElapsed() / 1e6;
    });
    worker->start();
    worker->wait();
    delete worker;

    const double idle = keystrokes(e, 200);
    // Now with the journal writing in the background: the write is forced, then
    // keystrokes go on while it runs.
    form.recovery()->journalAllNow(); // settles the journal first
    std::vector<double> during;
    QElapsedTimer wait;
    wait.start();
    // The debounce for 50 MB is about 11 s; keystrokes restart it, so the test
    // pauses, lets it fire, then types while the worker writes.
    const int delay = Journal::delayMs(e->utf8Length());
    QTest::qWait(delay + 50);
    const double busy = keystrokes(e, 200);
    form.recovery()->flush();
    const double total = wait.nsecsElapsed() / 1e6;

    std::printf("text: %.1f MB\n", copy.size() / 1048576.0);
    std::printf("copy on the user-interface thread: %.1f ms (once per pause of %d ms)\n", copyMs,
                delay);
    std::printf("journal write on the journal thread: %.1f ms (%.0f MB/s)\n", writeMs,
                copy.size() / 1048576.0 / (writeMs / 1000));
    std::printf("keystroke median, journal idle: %.1f us; while writing: %.1f us (ratio %.2f)\n",
                idle, busy, busy / idle);
    std::printf("(wait and typing took %.0f ms)\n", total);
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    return 0;
}
