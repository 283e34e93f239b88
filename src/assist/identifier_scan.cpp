#include "assist/identifier_scan.h"

#include "editor/plain_highlighters.h"
#include "editor/scan_support.h"

#include <QMutexLocker>
#include <QSet>

#include <string>
#include <unordered_map>

namespace IdentifierScan {

namespace {

bool runsOnInATag(unsigned char c) {
    return scan::isWordChar(c) || c == '-' || c == ':' || c == '.' || c == '<' || c == '/' ||
           c == '!' || c == '?';
}

// Where a piece of a line longer than the limit ends. Just after a space or a
// ">" no token that counts runs on (an element name, the "<" or "</" before it,
// the end of a comment), and the colouring's state carries the rest. Failing
// one in the second half of the piece, before the name or tag opening that the
// limit would cut.
qsizetype pieceEnd(const char *s, qsizetype start, qsizetype limit) {
    for (qsizetype p = limit; p > start + (limit - start) / 2; --p) {
        const unsigned char c = static_cast<unsigned char>(s[p - 1]);
        if (scan::isSpace(c) || c == '>') return p;
    }
    qsizetype p = limit;
    while (p > start && runsOnInATag(static_cast<unsigned char>(s[p - 1])))
        --p;
    return p > start ? p : limit;
}

} // namespace

bool scan(const QByteArray &text, const std::atomic<bool> &stop,
          const std::function<void(int)> &progress, std::vector<Found> *out, qsizetype pieceBytes) {
    out->clear();
    const HtmlHighlighter html; // its own, independent of the editors'
    TokenSink sink;
    std::unordered_map<std::string, int> index;
    std::string key;
    const char *s = text.constData();
    const qsizetype n = text.size();
    pieceBytes = std::max<qsizetype>(pieceBytes, 1);
    LineState state = 0;
    int lastPercent = -1;
    qsizetype lineStart = 0;
    // Piece by piece: a line, or a part of a long one, never more than pieceBytes.
    for (qsizetype start = 0; start < n;) {
        if (stop.load(std::memory_order_relaxed)) {
            out->clear();
            return false;
        }
        // Lines end at CR, LF or CR LF, as the editor's lines do.
        const qsizetype limit = std::min(n, start + pieceBytes);
        qsizetype eol = start;
        while (eol < limit && s[eol] != '\n' && s[eol] != '\r')
            ++eol;
        const bool lineEnds = eol < limit || limit == n;
        const qsizetype end = lineEnds ? eol : pieceEnd(s, start, limit);
        const char *line = s + lineStart;
        sink.clear();
        // A piece inside its line says so (length past its end): nothing closes there.
        state = html.scan(line, int(end - lineStart) + (lineEnds ? 0 : 1), int(start - lineStart),
                          int(end - lineStart), state, sink);
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
        if (lineEnds) {
            start = end;
            if (start < n)
                start += (s[start] == '\r' && start + 1 < n && s[start + 1] == '\n') ? 2 : 1;
            lineStart = start;
        } else {
            start = end;
        }
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
