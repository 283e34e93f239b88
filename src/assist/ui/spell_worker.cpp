#include "assist/ui/spell_worker.h"

#include "app/document_types.h"

#include <QElapsedTimer>
#include <QMetaObject>

#ifdef Q_OS_UNIX
#include <ctime>
#endif

namespace {
// Words checked between two looks at whether a newer pass was asked for.
constexpr size_t Slice = 512;

// The time this thread has run (its wall time where the system does not say).
qint64 threadMicroseconds(const QElapsedTimer &wall) {
#ifdef Q_OS_UNIX
    timespec t;
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t) == 0)
        return qint64(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
#endif
    return wall.nsecsElapsed() / 1000;
}
} // namespace

SpellWorker::SpellWorker(QObject *receiver, const std::atomic<quint64> *latest,
                         std::vector<Spelling::Dictionary> dictionaries,
                         const QString &personalPath)
    : m_receiver(receiver), m_latest(latest), m_dictionaries(std::move(dictionaries)),
      m_personalPath(personalPath) {}

SpellWorker::~SpellWorker() = default;

Spelling::Checker &SpellWorker::checker() {
    if (!m_checker) {
        m_checker = std::make_unique<Spelling::Checker>(m_dictionaries);
        m_checker->addWords(Spelling::ReadPersonalWords(m_personalPath));
    }
    return *m_checker;
}

void SpellWorker::answer(std::function<void()> f) {
    if (m_receiver) QMetaObject::invokeMethod(m_receiver, std::move(f), Qt::QueuedConnection);
}

void SpellWorker::check(const Pass &pass, const QString &defaultLanguage,
                        const std::function<void(const Result &)> &done) {
    const auto stale = [&] { return m_latest->load(std::memory_order_relaxed) != pass.id; };
    if (stale()) return;
    Spelling::Checker &c = checker();
    c.setDefaultLanguage(defaultLanguage);
    c.canCheck(QString()); // loads the dictionary the first time, before the pass is timed
    QElapsedTimer clock;
    clock.start();
    const qint64 started = threadMicroseconds(clock);
    if (!m_types) m_types = std::make_unique<DocumentTypes>();
    const Highlighter *h = pass.type >= 0 ? m_types->highlighter(pass.type) : nullptr;

    // The part on screen first, then the whole text (the words on screen are known
    // by then). The words are read twice rather than kept: a huge text's words
    // would take far more memory than the text.
    size_t count = 0;
    bool stopped = false;
    const auto run = [&](qsizetype from, qsizetype to, std::vector<Spelling::Misspelling> &out) {
        Spelling::ForEachWord(pass.text.constData(), pass.text.size(), h,
                              [&](const Spelling::Word &w) {
                                  if (++count % Slice == 0 && stale()) {
                                      stopped = true;
                                      return false;
                                  }
                                  if (w.start >= to) return false;
                                  if (w.start >= from) c.check(w, out);
                                  return true;
                              });
        return !stopped;
    };
    Result shown;
    shown.id = pass.id;
    shown.from = pass.visibleFrom;
    shown.to = pass.visibleTo;
    if (!run(pass.visibleFrom, pass.visibleTo, shown.found)) return;
    shown.languages = c.languages();
    shown.microseconds = threadMicroseconds(clock) - started;
    answer([done, shown] { done(shown); });

    Result all;
    all.id = pass.id;
    all.to = pass.text.size();
    all.complete = true;
    if (!run(0, pass.text.size() + 1, all.found)) return;
    all.languages = c.languages();
    all.microseconds = threadMicroseconds(clock) - started;
    answer([done, all] { done(all); });
}

void SpellWorker::suggest(const QString &word, const QString &language,
                          const std::function<void(const QStringList &)> &done) {
    const QStringList words = checker().suggestions(word, language, 8);
    answer([done, words] { done(words); });
}

void SpellWorker::ignore(const QString &word) {
    checker().ignore(word);
}

void SpellWorker::addWord(const QString &word, const std::function<void(bool)> &done) {
    checker().addWord(word);
    const bool written = Spelling::AddPersonalWord(m_personalPath, word);
    answer([done, written] { done(written); });
}
