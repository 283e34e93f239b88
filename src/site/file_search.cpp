#include "site/file_search.h"

#include "platform/windows1252.h"
#include "site/site_folder.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMetaObject>
#include <QMutex>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

namespace {

// How long found files wait before the window is told of them (the first ones do not).
constexpr int kResultsEveryMs = 40;

// Bytes read for the NUL that marks a file that is no page.
constexpr qsizetype kBinaryProbe = 8000;
// A long line is shown around its first match: this many bytes before it, this many in all.
constexpr qsizetype kContextBefore = 120;
constexpr qsizetype kLineShown = 600;

inline bool isBreak(char c) {
    return c == '\n' || c == '\r';
}
inline bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The text a file's bytes hold, decoded only when they are Windows-1252 beyond ASCII.
// Valid until the thread decodes another file.
struct DecodedText {
    const char *data = nullptr;
    qsizetype size = 0;
    bool decoded = false; // from Windows-1252
    TextEncoding encoding = TextEncoding::Windows1252;
    qsizetype bom = 0;
};

// Windows-1252 to UTF-8 into a buffer the thread keeps: the decoding every 1252 file of
// a search goes through.
const char *windows1252ToUtf8(const char *data, qsizetype size, qsizetype *decodedSize) {
    thread_local QByteArray out;
    if (out.size() < size * 3) out.resize(size * 3);
    *decodedSize = ::windows1252ToUtf8(data, size, out.data());
    return out.constData();
}

DecodedText decodeText(const char *data, qsizetype size, bool wantEncoding) {
    DecodedText t;
    const QByteArray raw = QByteArray::fromRawData(data, size);
    if (raw.startsWith("\xEF\xBB\xBF")) {
        t.encoding = TextEncoding::Utf8Bom;
        t.bom = 3;
        t.data = data + 3;
        t.size = size - 3;
        return t;
    }
    bool nonAscii = false;
    if (isValidUtf8(data, size, &nonAscii)) {
        // Pure ASCII is the same text either way; its encoding matters only to a replace.
        t.encoding = nonAscii || (wantEncoding && detectEncoding(raw) == TextEncoding::Utf8)
                         ? TextEncoding::Utf8
                         : TextEncoding::Windows1252;
        t.data = data;
        t.size = size;
        return t;
    }
    t.decoded = true;
    t.data = windows1252ToUtf8(data, size, &t.size);
    return t;
}

qsizetype lineStartBefore(const char *data, qsizetype pos) {
    while (pos > 0 && !isBreak(data[pos - 1]))
        --pos;
    return pos;
}

qsizetype lineEndAfter(const char *data, qsizetype size, qsizetype pos) {
    while (pos < size && !isBreak(data[pos]))
        ++pos;
    return pos;
}

// Line breaks in [from, to): LF, CR LF and a lone CR each count once.
int breaksBetween(const char *data, qsizetype size, qsizetype from, qsizetype to, bool hasCr) {
    int n = 0;
    if (!hasCr) {
        const char *p = data + from;
        const char *end = data + to;
        while (p < end && (p = static_cast<const char *>(memchr(p, '\n', size_t(end - p))))) {
            ++n;
            ++p;
        }
        return n;
    }
    for (qsizetype i = from; i < to; ++i) {
        if (data[i] == '\n' || (data[i] == '\r' && (i + 1 >= size || data[i + 1] != '\n'))) ++n;
    }
    return n;
}

QString shownText(const char *data, qsizetype from, qsizetype to) {
    return QString::fromUtf8(data + from, to - from);
}

// The part of a line the results show: leading blanks dropped, a long line cut
// around its first match.
struct ShownLine {
    qsizetype from = 0;
    qsizetype to = 0;
    bool cut = false; // begins with an ellipsis
};

ShownLine shownPart(const char *data, qsizetype size, qsizetype lineStart, qsizetype matchStart) {
    ShownLine s;
    const qsizetype lineEnd = lineEndAfter(data, size, matchStart);
    s.from = lineStart;
    while (s.from < matchStart && (data[s.from] == ' ' || data[s.from] == '\t'))
        ++s.from;
    s.to = lineEnd;
    if (s.to - s.from > kLineShown) {
        if (matchStart - s.from > kContextBefore) {
            s.from = matchStart - kContextBefore;
            while (s.from > lineStart && isContinuation(data[s.from]))
                --s.from;
            s.cut = true;
        }
        s.to = std::min(lineEnd, s.from + kLineShown);
        while (s.to < lineEnd && isContinuation(data[s.to]))
            ++s.to;
    }
    return s;
}

void addSpan(LineHit &h, const ShownLine &s, const char *data, qsizetype start, qsizetype end) {
    end = std::min(end, s.to);
    if (start < s.from || start >= end) return;
    const int at = int(shownText(data, s.from, start).size()) + (s.cut ? 1 : 0);
    h.spans.append({at, int(shownText(data, start, end).size())});
}

} // namespace

namespace FileSearch {

QStringList listFiles(const FileSearchOptions &options, const std::atomic<bool> *cancel) {
    const SiteFolder::NamePatterns masks(SiteFolder::splitPatterns(options.masks));
    const SiteFolder::NamePatterns excluded(SiteFolder::splitPatterns(options.excluded));
    const bool excludeAny = !SiteFolder::splitPatterns(options.excluded).isEmpty();
    QStringList files;
    QStringList folders{QDir::cleanPath(options.folder)};
    if (options.folder.isEmpty() || !QFileInfo(options.folder).isDir()) return files;
    while (!folders.isEmpty()) {
        if (cancel && cancel->load()) return {};
        const QString folder = folders.takeLast();
        QDirIterator it(folder,
                        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            if (info.isDir()) {
                // Links to folders are not followed: a link may lead back up the tree.
                if (!info.isSymLink() && !(excludeAny && excluded.matches(info.fileName())))
                    folders << info.filePath();
            } else if (info.isFile() && masks.matches(info.fileName())) {
                files << info.filePath();
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool prepareRawFilter(const QString &pattern, const MatchRules &rules, TextSearch *filter) {
    if (rules.regularExpression || pattern.isEmpty()) return false;
    // The longest run of ASCII: its bytes are the same in UTF-8 and in Windows-1252.
    // Without the case, "k" and "s" end a run: the Kelvin sign and the long s fold to them.
    QString best;
    QString run;
    const auto breaksRun = [&rules](QChar c) {
        if (c.unicode() >= 0x80) return true;
        const char l = char(c.toLower().unicode());
        return !rules.caseSensitive && (l == 'k' || l == 's');
    };
    for (QChar c : pattern + QChar(0x80)) {
        if (!breaksRun(c)) {
            run += c;
            continue;
        }
        if (run.size() > best.size()) best = run;
        run.clear();
    }
    const bool whole = best.size() == pattern.size();
    if (!whole && best.size() < 3) return false;
    // Without the whole-word rule: a neighbour decodes otherwise in the raw bytes.
    MatchRules loose = rules;
    loose.wholeWords = false;
    return filter->prepare(whole ? pattern : best, loose) && filter->isValid();
}

FileHits searchBytes(const char *data, qsizetype size, const TextSearch &search, int maxLines,
                     const TextSearch *rawFilter, bool hash) {
    FileHits out;
    out.size = size;
    if (size <= 0 || !search.isValid()) return out;
    if (memchr(data, '\0', size_t(std::min(size, kBinaryProbe)))) return out;
    if (maxLines <= 0 && search.sameInAnyEncoding()) {
        // No line is kept, only the count: the bytes serve as they are.
        search.forEachMatch(data, size, [&out](qsizetype, qsizetype) {
            ++out.count;
            return true;
        });
        out.linesCut = out.count > 0;
        if (hash && out.count > 0) out.hash = contentHash(data, size);
        return out;
    }
    if (rawFilter && !rawFilter->findForward(data, size, 0, size).found()) return out;
    const DecodedText text = decodeText(data, size, false);
    const char *d = text.data;
    const qsizetype n = text.size;
    bool hasCr = false;
    bool crChecked = false;
    int line = 1;
    qsizetype counted = 0; // line breaks counted up to here
    LineHit *current = nullptr;
    qsizetype currentStart = -1;
    ShownLine shown;
    // Past the lines kept, matches are only counted: they are all on later lines.
    const auto visit = [&](qsizetype mStart, qsizetype mEnd) {
        ++out.count;
        if (out.linesCut) return;
        const qsizetype start = lineStartBefore(d, mStart);
        if (start == currentStart) {
            addSpan(*current, shown, d, mStart, mEnd);
            return;
        }
        if (out.hits.size() >= maxLines) {
            out.linesCut = true;
            return;
        }
        if (!crChecked) {
            hasCr = memchr(d, '\r', size_t(n)) != nullptr;
            crChecked = true;
        }
        line += breaksBetween(d, n, counted, start, hasCr);
        counted = start;
        currentStart = start;
        shown = shownPart(d, n, start, mStart);
        LineHit h;
        h.line = line;
        h.lineOffset = start;
        h.column = mStart - start;
        h.length = mEnd - mStart;
        h.text = (shown.cut ? QStringLiteral("…") : QString()) + shownText(d, shown.from, shown.to);
        out.hits.append(std::move(h));
        current = &out.hits.last();
        addSpan(*current, shown, d, mStart, mEnd);
    };
    // One walk over the file, meeting the matches as a replace-all does.
    search.forEachMatch(d, n, [&](qsizetype start, qsizetype end) {
        if (end > start) visit(start, end);
        return true;
    });
    if (hash && out.count > 0) out.hash = contentHash(data, size);
    return out;
}

bool searchFile(const QString &path, const TextSearch &search, FileHits *out, int maxLines,
                const TextSearch *rawFilter, bool hash) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const qint64 size = file.size();
    if (size == 0) {
        *out = FileHits{};
        out->path = path;
        return true;
    }
    // A page is small: reading it into a buffer the thread keeps costs less than mapping
    // and unmapping it, which flushes the other cores' address caches each time.
    constexpr qint64 kReadBelow = 256 * 1024;
    thread_local QByteArray buffer;
    uchar *map = size < kReadBelow ? nullptr : file.map(0, size);
    QByteArray read;
    const char *data = reinterpret_cast<const char *>(map);
    if (!map && size < kReadBelow) {
        if (buffer.size() < size) buffer.resize(kReadBelow);
        if (file.read(buffer.data(), size) != size) return false;
        data = buffer.constData();
    } else if (!map) {
        // Some file systems cannot map: read it instead.
        read = file.readAll();
        if (file.error() != QFileDevice::NoError) return false;
        data = read.constData();
    }
    *out = searchBytes(data, qsizetype(size), search, maxLines, rawFilter, hash);
    if (map) file.unmap(map);
    out->path = path;
    if (out->count > 0)
        out->modified = file.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch();
    return true;
}

quint64 contentHash(const char *data, qsizetype size) {
    return quint64(qHashBits(data, size_t(size), 0));
}

ReplaceResult replaceBytes(const QByteArray &bytes, const TextSearch &search,
                           const QString &replacement, QByteArray *out) {
    ReplaceResult r;
    if (bytes.isEmpty() || !search.isValid()) return r;
    const DecodedText text = decodeText(bytes.constData(), bytes.size(), true);
    const LineBreak lb = detectLineBreak(text.data, text.size);
    const QString eol = QString::fromLatin1(lineBreakBytes(lb));
    QList<Replacement> list =
        search.replacements(text.data, text.size, 0, text.size, replacement, eol);
    list.removeIf([](const Replacement &x) { return x.end <= x.start; });
    if (list.isEmpty()) return r;
    out->clear();
    out->reserve(bytes.size() + bytes.size() / 16);
    if (!text.decoded) {
        // UTF-8 (or ASCII): the text's offsets are the file's, past the mark.
        const char *raw = bytes.constData();
        qsizetype copied = 0;
        const bool ascii1252 = text.encoding == TextEncoding::Windows1252;
        for (const Replacement &x : list) {
            out->append(raw + copied, text.bom + x.start - copied);
            if (ascii1252) {
                QByteArray encoded;
                if (!Windows1252::encode(QString::fromUtf8(x.text), &encoded)) {
                    r.status = ReplaceStatus::Unencodable;
                    return r;
                }
                out->append(encoded);
            } else {
                out->append(x.text);
            }
            copied = text.bom + x.end;
        }
        out->append(raw + copied, bytes.size() - copied);
    } else {
        // Windows-1252 beyond ASCII: walk the file's bytes beside the decoded text.
        const auto *raw = reinterpret_cast<const unsigned char *>(bytes.constData());
        qsizetype i = 0; // file byte
        qsizetype u = 0; // decoded byte
        const auto advanceTo = [&](qsizetype target) {
            while (u < target && i < bytes.size()) {
                const unsigned char b = raw[i++];
                u += b < 0x80 ? 1 : (Windows1252::toUnicode(b) < 0x800 ? 2 : 3);
            }
        };
        qsizetype copied = 0;
        QHash<QByteArray, QByteArray> encodedOf; // one replacement text, most often
        for (const Replacement &x : list) {
            advanceTo(x.start);
            out->append(bytes.constData() + copied, i - copied);
            auto found = encodedOf.find(x.text);
            if (found == encodedOf.end()) {
                QByteArray encoded;
                if (!Windows1252::encode(QString::fromUtf8(x.text), &encoded)) {
                    r.status = ReplaceStatus::Unencodable;
                    return r;
                }
                found = encodedOf.insert(x.text, encoded);
            }
            out->append(*found);
            advanceTo(x.end);
            copied = i;
        }
        out->append(bytes.constData() + copied, bytes.size() - copied);
    }
    r.status = ReplaceStatus::Replaced;
    r.count = int(list.size());
    return r;
}

ReplaceResult replaceInFile(const FileHits &seen, const TextSearch &search,
                            const QString &replacement) {
    ReplaceResult r;
    QByteArray bytes;
    if (readFileBytes(seen.path, &bytes) != ReadStatus::Ok) {
        r.status = ReplaceStatus::Failed;
        return r;
    }
    const qint64 modified = QFileInfo(seen.path).lastModified().toMSecsSinceEpoch();
    if (bytes.size() != seen.size || modified != seen.modified ||
        contentHash(bytes.constData(), bytes.size()) != seen.hash) {
        r.status = ReplaceStatus::ChangedSinceSearch;
        return r;
    }
    QByteArray out;
    r = replaceBytes(bytes, search, replacement, &out);
    if (r.status != ReplaceStatus::Replaced) return r;
    if (writeFileAtomically(seen.path, out) != WriteStatus::Ok) r.status = ReplaceStatus::Failed;
    return r;
}

} // namespace FileSearch

namespace FileSearch {
void runParallel(int n, const std::atomic<bool> &cancel, const std::function<void(int)> &work) {
    std::atomic<int> next{0};
    const auto loop = [&] {
        for (int i; !cancel.load() && (i = next.fetch_add(1)) < n;)
            work(i);
    };
    const int threads = std::clamp(QThread::idealThreadCount(), 1, 16);
    std::vector<std::thread> helpers;
    for (int t = 1; t < std::min(threads, n); ++t)
        helpers.emplace_back(loop);
    loop();
    for (std::thread &t : helpers)
        t.join();
}
} // namespace FileSearch

struct FileSearchJob::Shared {
    std::atomic<bool> cancel{false};
    std::atomic<bool> running{false};
    std::atomic<bool> notifyPending{false};
    std::atomic<bool> told{false}; // the window was told of a first result
    std::atomic<int> linesLeft{FileSearch::kMaxLinesPerSearch};
    QMutex mutex;
    QList<FileHits> pending;
    std::thread master;
};

FileSearchJob::FileSearchJob(QObject *parent) : QObject(parent) {}

FileSearchJob::~FileSearchJob() {
    cancel();
}

bool FileSearchJob::start(const FileSearchOptions &options, QString *error) {
    cancel();
    m_options = options;
    QString message;
    if (!m_search.prepare(options.pattern, options.rules, &message) || !m_search.isValid()) {
        if (error) *error = message;
        return false;
    }
    m_useRawFilter = FileSearch::prepareRawFilter(options.pattern, options.rules, &m_rawFilter);
    m_shared = std::make_shared<Shared>();
    m_done = 0;
    m_total = -1;
    m_shared->running = true;
    Shared *s = m_shared.get();
    const quint64 run = ++m_runs;
    m_shared->master = std::thread([this, s, run] {
        const QStringList files = FileSearch::listFiles(m_options, &s->cancel);
        m_total = int(files.size());
        FileSearch::runParallel(int(files.size()), s->cancel, [&](int i) {
            FileHits hits;
            const int lines = std::clamp(s->linesLeft.load(), 0, int(FileSearch::kMaxLinesPerFile));
            if (FileSearch::searchFile(files[i], m_search, &hits, lines,
                                       m_useRawFilter ? &m_rawFilter : nullptr,
                                       m_options.forReplace) &&
                hits.count > 0) {
                s->linesLeft -= int(hits.hits.size());
                QMutexLocker lock(&s->mutex);
                s->pending.append(std::move(hits));
                lock.unlock();
                // The window takes the first files found at once, then what was found a
                // few times a second, not after each file: waking it for every file costs
                // the search its cores.
                if (!s->notifyPending.exchange(true))
                    QMetaObject::invokeMethod(
                        this,
                        [this, run, first = !s->told.exchange(true)] {
                            QTimer::singleShot(first ? 0 : kResultsEveryMs, this, [this, run] {
                                // Not when the end has taken them already.
                                if (run == m_runs && m_shared->notifyPending.load())
                                    emit resultsReady();
                            });
                        },
                        Qt::QueuedConnection);
            }
            ++m_done;
        });
        const bool cancelled = s->cancel.load();
        s->running = false;
        // A job started again since then has taken the place of this one: its end is
        // not this one's.
        QMetaObject::invokeMethod(
            this,
            [this, run, cancelled] {
                if (run != m_runs) return;
                emit resultsReady();
                emit finished(cancelled);
            },
            Qt::QueuedConnection);
    });
    return true;
}

void FileSearchJob::cancel() {
    if (!m_shared) return;
    m_shared->cancel = true;
    if (m_shared->master.joinable()) m_shared->master.join();
}

bool FileSearchJob::isRunning() const {
    return m_shared && m_shared->running.load();
}

QList<FileHits> FileSearchJob::takeResults() {
    if (!m_shared) return {};
    QMutexLocker lock(&m_shared->mutex);
    m_shared->notifyPending = false;
    return std::exchange(m_shared->pending, {});
}

struct FileReplaceJob::Shared {
    std::atomic<bool> cancel{false};
    std::atomic<bool> running{false};
    QList<FileHits> files;
    TextSearch search;
    QString replacement;
    std::vector<std::optional<FileSearch::ReplaceResult>> results;
    std::thread master;
};

FileReplaceJob::FileReplaceJob(QObject *parent) : QObject(parent) {}

FileReplaceJob::~FileReplaceJob() {
    cancel();
}

void FileReplaceJob::start(const QList<FileHits> &files, const TextSearch &search,
                           const QString &replacement) {
    cancel();
    m_shared = std::make_shared<Shared>();
    Shared *s = m_shared.get();
    const quint64 run = ++m_runs;
    s->files = files;
    s->search = search;
    s->replacement = replacement;
    s->results.resize(size_t(files.size()));
    s->running = true;
    m_done = 0;
    m_totalFiles = int(files.size());
    s->master = std::thread([this, s, run] {
        FileSearch::runParallel(int(s->files.size()), s->cancel, [&](int i) {
            s->results[size_t(i)] =
                FileSearch::replaceInFile(s->files[i], s->search, s->replacement);
            ++m_done;
        });
        const bool cancelled = s->cancel.load();
        s->running = false;
        QMetaObject::invokeMethod(
            this,
            [this, run, cancelled] {
                if (run == m_runs) emit finished(cancelled);
            },
            Qt::QueuedConnection);
    });
}

void FileReplaceJob::cancel() {
    if (!m_shared) return;
    m_shared->cancel = true;
    if (m_shared->master.joinable()) m_shared->master.join();
}

bool FileReplaceJob::isRunning() const {
    return m_shared && m_shared->running.load();
}

QList<FileReplaceJob::Outcome> FileReplaceJob::outcomes() const {
    QList<Outcome> out;
    if (!m_shared || m_shared->running.load()) return out;
    for (size_t i = 0; i < m_shared->results.size(); ++i) {
        if (m_shared->results[i])
            out.append({m_shared->files[qsizetype(i)].path, *m_shared->results[i]});
    }
    return out;
}
