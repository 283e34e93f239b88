// Spelling on a 200 KB French page rich in markup, scripts and styles.
//
// 1. Worker time (what the checker's thread spends on the page): the words read
//    from the page, then checked, with nothing looked up before (the first pass
//    after opening) and again (a pass after a change: only new words go to the
//    dictionary). Beside it, in the same run, the reference: every run of
//    non-blank bytes of the page asked to the dictionary directly, markup
//    included and nothing remembered, as a checker that reads the whole source does.
// 2. The window: the page opened in the real main window with Orthographe on,
//    from opening to the underline of the whole page; then keystrokes at the end
//    of the page, each timed from the key to its repaint, right after a pass was
//    asked for (the worker busy) and, in the same run, with Orthographe off.
//
//   cmake --build build --target bench_spelling
//   QT_QPA_PLATFORM=offscreen build/bench_spelling [kilobytes] [keys]
#include "app/app_settings.h"
#include "app/document_types.h"
#include "app/settings_store.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "assist/spell_checker.h"
#include "assist/spelling_words.h"
#include "assist/ui/spelling_module.h"
#include "shell/ui/main_form.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <hunspell.hxx>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

// French words of the installed dictionary (a fixed draw), so that the page has
// the variety of real prose rather than a few words repeated.
QStringList frenchWords(int count) {
    QFile f(QStringLiteral("/usr/share/hunspell/fr.dic"));
    QStringList all;
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray &line : f.readAll().split('\n')) {
            const QString w = QString::fromUtf8(line.left(line.indexOf('/')));
            if (w.size() >= 3 && w.size() <= 12 && w == w.toLower() &&
                std::all_of(w.begin(), w.end(), [](QChar c) { return c.isLetter(); }))
                all << w;
        }
    QRandomGenerator random(42);
    QStringList out;
    for (int i = 0; i < count && !all.isEmpty(); ++i)
        out << all.at(random.bounded(int(all.size())));
    return out;
}

QByteArray makePage(int bytes) {
    const QStringList words = frenchWords(4000);
    QRandomGenerator random(7);
    const auto sentence = [&](int n) {
        QString s;
        for (int i = 0; i < n; ++i) {
            QString w = words.at(random.bounded(int(words.size())));
            if (random.bounded(50) == 0) w.insert(1, w.at(1)); // a misspelling, now and then
            if (i == 0) w[0] = w[0].toUpper();
            s += (i ? QStringLiteral(" ") : QString()) + w;
        }
        return s + QStringLiteral(". ");
    };
    QByteArray page = "<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<title>Banc d'essai de l'orthographe</title>\n"
                      "<style>\nbody { font-family: sans-serif; colr: #333 }\n</style>\n"
                      "</head>\n<body>\n";
    for (int n = 0; page.size() < bytes; ++n) {
        const QByteArray k = QByteArray::number(n);
        page += "<div class=\"article bloc-" + k + "\" id=\"a" + k + "\">\n  <h2>" +
                sentence(4).toUtf8() + "</h2>\n  <p>" + sentence(14).toUtf8() +
                "<a href=\"https://www.exemple.fr/page" + k + ".html\" title=\"" +
                sentence(3).toUtf8() + "\">" + sentence(2).toUtf8() + "</a> " +
                sentence(12).toUtf8() + "</p>\n  <img src=\"images/photo" + k + ".jpg\" alt=\"" +
                sentence(5).toUtf8() + "\">\n";
        if (n % 3 == 0)
            page += "<script>\nfunction bloc" + k +
                    "(elementt) { return document.getElementById(\"a" + k + "\"); }\n</script>\n";
        if (n % 3 == 1)
            page += "<style>\n#a" + k + " .titrre { margin: 0 auto; paddng: 2px }\n</style>\n";
        if (n % 3 == 2) page += "<!-- bloc " + k + " : commentairre de travail -->\n";
        page += "</div>\n";
    }
    return page + "</body>\n</html>\n";
}

double ms(const QElapsedTimer &t) {
    return t.nsecsElapsed() / 1e6;
}

// CPU time of the calling thread: what the work costs whatever else the machine runs.
double threadCpuMs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The value below which a share of the samples fall.
double percentile(std::vector<double> v, double share) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(double(v.size()) * share))];
}

// Counts the paints of the editor's text area.
class PaintWatch : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

double press(QWidget *editor, PaintWatch &watch, QChar c) {
    const int before = watch.paints;
    QElapsedTimer t;
    t.start();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QString(c));
    QApplication::sendEvent(editor, &down);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QString(c));
    QApplication::sendEvent(editor, &up);
    while (watch.paints == before && t.elapsed() < 5000)
        QApplication::processEvents();
    QApplication::processEvents();
    return ms(t);
}

void settle(int wait) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < wait)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

void workerTime(const QByteArray &page) {
    DocumentTypes types;
    const Highlighter *h = types.highlighter(DocumentTypes::SynMultiSynHTML);
    QElapsedTimer t;
    t.start();
    Spelling::Checker checker;
    checker.canCheck(QString());
    const double load = ms(t);

    t.restart();
    double cpu = threadCpuMs();
    std::vector<Spelling::Word> words = Spelling::ExtractWords(page, h);
    const double extract = ms(t), extractCpu = threadCpuMs() - cpu;
    std::vector<Spelling::Misspelling> found;
    t.restart();
    cpu = threadCpuMs();
    checker.check(words, 0, words.size(), found);
    const double check = ms(t), checkCpu = threadCpuMs() - cpu;
    const qint64 asked = checker.lookups();

    t.restart();
    cpu = threadCpuMs();
    words = Spelling::ExtractWords(page, h);
    found.clear();
    checker.check(words, 0, words.size(), found);
    const double again = ms(t), againCpu = threadCpuMs() - cpu;

    // The reference: every run of non-blank bytes to the dictionary, nothing kept.
    const QString affPath =
        checker.dictionaries()[size_t(Spelling::DictionaryFor(checker.dictionaries(), "fr"))]
            .affPath;
    Hunspell hunspell(QFile::encodeName(affPath).constData(),
                      QFile::encodeName(affPath.chopped(4) + ".dic").constData());
    t.restart();
    cpu = threadCpuMs();
    int tokens = 0, wrong = 0;
    for (const QByteArray &token : page.simplified().split(' ')) {
        ++tokens;
        wrong += !hunspell.spell(token.toStdString());
    }
    const double reference = ms(t), referenceCpu = threadCpuMs() - cpu;

    std::printf("page %lld KB, %zu words read (%lld distinct looked up), %zu misspelt\n",
                qint64(page.size() / 1024), words.size(), asked, found.size());
    std::printf("dictionary loaded once:            %7.1f ms\n", load);
    std::printf("first pass (words read + checked): %7.1f ms, cpu %7.1f ms  (read %.1f, checked "
                "%.1f cpu)\n",
                extract + check, extractCpu + checkCpu, extractCpu, checkCpu);
    std::printf("pass after a change:               %7.1f ms, cpu %7.1f ms\n", again, againCpu);
    std::printf(
        "reference, whole source asked:     %7.1f ms, cpu %7.1f ms  (%d runs, %d unknown)\n",
        reference, referenceCpu, tokens, wrong);
}

void window(const QByteArray &page, int keys) {
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    const QString path = dir.filePath("page.html");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(page);
    f.close();
    SettingsStore store(dir.filePath("settings.ini"));
    store.writeBool(SpellingModule::settingsSection(), QStringLiteral("Active"), true);
    Options options;
    TMainForm form(&store, &options, {});
    form.show();
    settle(200);
    auto *module = form.findChild<SpellingModule *>();
    QSignalSpy checked(module, &SpellingModule::documentChecked);

    QElapsedTimer t;
    t.start();
    form.documents()->OpenDocument(path, false);
    checked.wait(30000);
    const double firstWall = ms(t);
    const double firstWorker = checked.isEmpty() ? -1 : checked.last().at(1).toLongLong() / 1e3;
    TMyMwCustomEdit *e = form.documents()->ActiveEditor();
    e->setFocus();
    e->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    settle(300);

    PaintWatch watch;
    e->viewport()->installEventFilter(&watch);
    // A pass after a change, timed by the worker.
    checked.clear();
    press(e, watch, QLatin1Char(' '));
    checked.wait(30000);
    const double changeWorker = checked.isEmpty() ? -1 : checked.last().at(1).toLongLong() / 1e3;
    const auto typeKeys = [&] {
        std::vector<double> v;
        for (int i = 0; i < keys; ++i) {
            if (i % 5 == 0)
                settle(SpellingModule::PauseMs +
                       20); // the pause ends: a pass starts // the pause ends: a pass starts
            v.push_back(press(e, watch, QLatin1Char('a' + i % 26)));
        }
        return v;
    };
    std::vector<double> on = typeKeys();

    form.findChild<QAction *>("OutilsOrthographe")->trigger();
    std::vector<double> off = typeKeys();

    e->viewport()->removeEventFilter(&watch);

    std::printf("window: opened to whole page underlined %7.1f ms (worker cpu %.1f ms for the "
                "first pass, the dictionary loaded before it)\n",
                firstWall, firstWorker);
    std::printf("window: pass after a key, worker cpu     %7.1f ms\n", changeWorker);
    std::printf("%d keys as passes start (Orthographe on): median %5.2f ms, 95%% under %5.2f ms, "
                "worst %5.2f ms\n",
                keys, percentile(on, 0.5), percentile(on, 0.95), percentile(on, 1));
    std::printf("reference, same keys, Orthographe off:   median %5.2f ms, 95%% under %5.2f ms, "
                "worst %5.2f ms\n",
                percentile(off, 0.5), percentile(off, 0.95), percentile(off, 1));
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const int kb = argc > 1 ? std::atoi(argv[1]) : 200;
    const int keys = argc > 2 ? std::atoi(argv[2]) : 100;
    const QByteArray page = makePage(kb * 1024);
    workerTime(page);
    window(page, keys);
    return 0;
}
