// The crash-recovery journal with a 50 MB page open: the copy taken on the
// user-interface thread, the write on the journal's thread, and keystrokes while
// the journal is at work, against keystrokes with it idle.
#include "app/app_settings.h"
#include "app/recovery_journal.h"
#include "app/settings_store.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "app/ui/sliced_copy.h"
#include "shell/ui/main_form.h"
#include "app/ui/recovery_keeper.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

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
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(e, &press);
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

    // The copy the timer's tick takes on this thread (the one copy per pause),
    // with the caret in the middle of the text as when typing there.
    e->SendScintilla(QsciScintilla::SCI_GOTOPOS, static_cast<unsigned long>(e->utf8Length() / 2));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(e, &key);
    std::vector<double> copies;
    QByteArray copy;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        copy = e->utf8Copy();
        copies.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(copies.begin(), copies.end());
    // What the journal, the spelling and the page checker do instead: the copy taken a
    // slice per turn of the event loop (SlicedCopy), the longest turn timed (twice: the
    // first also meets the memory's first use).
    const auto worstTurn = [&] {
        auto *sliced = new SlicedCopy(e);
        QByteArray got;
        sliced->start([&](QByteArray t) { got = std::move(t); });
        double worst = 0;
        while (sliced->running()) {
            QElapsedTimer t;
            t.start();
            QApplication::processEvents();
            worst = std::max(worst, t.nsecsElapsed() / 1e6);
        }
        if (got != copy) std::printf("sliced copy differs!\n");
        delete sliced;
        return worst;
    };
    const double worstSlice = worstTurn();
    const double worstSliceAgain = worstTurn();
    const double copyMs = copies[copies.size() / 2];
    const double firstMs = copies.back();

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
    QEventLoop loop;
    QTimer::singleShot(delay + 50, &loop, &QEventLoop::quit);
    loop.exec();
    const double busy = keystrokes(e, 200);
    form.recovery()->flush();
    const double total = wait.nsecsElapsed() / 1e6;

    std::printf("text: %.1f MB\n", copy.size() / 1048576.0);
    std::printf("copy on the user-interface thread: median %.1f ms, worst %.1f ms (once per pause "
                "of %d ms)\n",
                copyMs, firstMs, delay);
    std::printf("sliced copy as the journal, the spelling and the page checker take it: worst "
                "turn %.1f ms, then %.1f ms\n",
                worstSlice, worstSliceAgain);
    std::printf("journal write on the journal thread: %.1f ms (%.0f MB/s)\n", writeMs,
                copy.size() / 1048576.0 / (writeMs / 1000));
    std::printf("keystroke median, journal idle: %.1f us; while writing: %.1f us (ratio %.2f)\n",
                idle, busy, busy / idle);
    std::printf("(wait and typing took %.0f ms)\n", total);
    form.setAttribute(Qt::WA_DeleteOnClose, false);
    return 0;
}
