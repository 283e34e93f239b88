#include "assist/identifier_scan.h"

#include "editor/plain_highlighters.h"

#include <QMutexLocker>
#include <QSet>

#include <string>
#include <unordered_map>

namespace IdentifierScan {

bool scan(const QByteArray &text, const std::atomic<bool> &stop,
          const std::function<void(int)> &progress, std::vector<Found> *out) {
    out->clear();
    const HtmlHighlighter html; // its own, independent of the editors'
    TokenSink sink;
    std::unordered_map<std::string, int> index;
    std::string key;
    const char *s = text.constData();
    const qsizetype n = text.size();
    LineState state = 0;
    int lastPercent = -1;
    for (qsizetype start = 0; start < n;) {
        if (stop.load(std::memory_order_relaxed)) {
            out->clear();
            return false;
        }
        const char *nl = static_cast<const char *>(std::memchr(s + start, '\n', size_t(n - start)));
        const qsizetype next = nl ? nl - s + 1 : n;
        qsizetype end = nl ? nl - s : n;
        if (end > start && s[end - 1] == '\r') --end;
        const char *line = s + start;
        sink.clear();
        state = html.scanLine(line, int(end - start), state, sink);
        for (const HighlightToken &t : sink.tokens()) {
            if (t.category != HtmlHighlighter::Identifier) continue;
            const bool closing =
                t.start >= 2 && line[t.start - 1] == '/' && line[t.start - 2] == '<';
            key.clear();
            if (closing) key.push_back('/');
            for (int k = 0; k < t.length; ++k) {
                const char c = line[t.start + k];
                key.push_back((c >= 'A' && c <= 'Z') ? char(c + 32) : c);
            }
            auto [it, added] = index.try_emplace(key, int(out->size()));
            if (added)
                out->push_back({(closing ? QStringLiteral("/") : QString()) +
                                    QString::fromLatin1(line + t.start, t.length),
                                0});
            ++(*out)[size_t(it->second)].count;
        }
        start = next;
        const int percent = int((start * 100 + n / 2) / n);
        if (percent != lastPercent && progress) progress(lastPercent = percent);
    }
    return true;
}

Lists buildLists(std::vector<Found> found) {
    std::stable_sort(found.begin(), found.end(), [](const Found &a, const Found &b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    Lists l;
    QSet<QString> names;
    for (const Found &f : found) {
        l.bare << f.name;
        l.full << f.name + QStringLiteral(": ") + QString::number(f.count);
        names.insert(f.name.toLower());
    }
    for (qsizetype i = 0; i < l.full.size(); ++i) {
        const QString &name = l.bare[i];
        const QString counterpart =
            name.startsWith(QLatin1Char('/')) ? name.mid(1) : QLatin1Char('/') + name;
        (names.contains(counterpart.toLower()) ? l.associated : l.unique) << l.full[i];
    }
    return l;
}

} // namespace IdentifierScan

TScanKeywordThread::TScanKeywordThread(QObject *parent) : QThread(parent) {
    qRegisterMetaType<IdentifierScan::Lists>();
}

TScanKeywordThread::~TScanKeywordThread() {
    stop();
}

void TScanKeywordThread::request(const QByteArray &text) {
    QMutexLocker lock(&m_mutex);
    m_text = text;
    m_pending = true;
    m_abandon = true;
    m_wake.wakeOne();
}

void TScanKeywordThread::stop() {
    {
        QMutexLocker lock(&m_mutex);
        m_stop = true;
        m_abandon = true;
        m_wake.wakeOne();
    }
    wait();
}

void TScanKeywordThread::run() {
    for (;;) {
        QByteArray text;
        {
            QMutexLocker lock(&m_mutex);
            while (!m_pending && !m_stop)
                m_wake.wait(&m_mutex);
            if (m_stop) return;
            text.swap(m_text);
            m_pending = false;
            m_abandon = false;
        }
        emit progressChanged(0);
        std::vector<IdentifierScan::Found> found;
        if (!IdentifierScan::scan(
                text, m_abandon, [this](int p) { emit progressChanged(p); }, &found))
            continue; // a new request or the stop
        emit scanned(IdentifierScan::buildLists(std::move(found)));
    }
}
