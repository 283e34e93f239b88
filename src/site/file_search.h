#pragma once

#include "assist/text_search.h"
#include "platform/text_file.h"

#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

// What a search in files looks for, and where.
struct FileSearchOptions {
    QString pattern;
    MatchRules rules;
    QString folder;
    QString masks;    // "*.html;*.php"; empty: every file
    QString excluded; // folder names or patterns left out, at any depth
    // Each file with matches keeps a hash of its bytes, for a replace to find it unchanged
    // (hashing every file read costs a plain search time for nothing).
    bool forReplace = false;
};

// A line that holds matches, as the results list shows it.
struct LineHit {
    int line = 0;                 // from 1
    qsizetype lineOffset = 0;     // byte offset of the line in the decoded text
    qsizetype column = 0;         // the first match, bytes from the line's start
    qsizetype length = 0;         // its length in bytes
    QString text;                 // the line, cut around the match when long
    QList<QPair<int, int>> spans; // every match in 'text' (start, length)
};

// A file that holds matches, and the state it was found in: a replace leaves it
// alone if it changed since.
struct FileHits {
    QString path;
    qint64 size = 0;
    qint64 modified = 0; // milliseconds since the epoch
    quint64 hash = 0;
    int count = 0;         // every match of the file
    QList<LineHit> hits;   // the first lines only when there are very many
    bool linesCut = false; // lines with matches left out of 'hits'
};

namespace FileSearch {

// How many lines of one file, and of one search, the results keep (the counts are
// still whole): past that the list would only be scrolled, never read.
constexpr int kMaxLinesPerFile = 1000;
constexpr int kMaxLinesPerSearch = 10000;

// A search of the file's raw bytes that finds every match the decoded text can hold,
// or more: a file in which it finds nothing is passed over without being decoded. It
// looks for the pattern's longest run of ASCII (Windows-1252 puts ASCII where UTF-8
// does); an expression, or a text without such a run, has none (false).
bool prepareRawFilter(const QString &pattern, const MatchRules &rules, TextSearch *filter);

// The files under the folder that the masks select, outside the excluded folders,
// sorted by path; empty when cancelled.
QStringList listFiles(const FileSearchOptions &options, const std::atomic<bool> *cancel = nullptr);

// Searches a file's bytes as they are on disk, decoded as the program reads a file
// (UTF-8 with or without its mark, else Windows-1252). Files with a NUL byte near
// their start are pictures or archives, not pages: nothing is found in them.
FileHits searchBytes(const char *data, qsizetype size, const TextSearch &search,
                     int maxLines = kMaxLinesPerFile, const TextSearch *rawFilter = nullptr,
                     bool hash = true);
// Maps the file and searches it; false when it cannot be read.
bool searchFile(const QString &path, const TextSearch &search, FileHits *out,
                int maxLines = kMaxLinesPerFile, const TextSearch *rawFilter = nullptr,
                bool hash = true);

quint64 contentHash(const char *data, qsizetype size);

// Runs work(i) for every i below n on the machine's cores, the calling thread among
// them; stops taking new work on cancel.
void runParallel(int n, const std::atomic<bool> &cancel, const std::function<void(int)> &work);

enum class ReplaceStatus {
    Replaced,
    NoMatch,
    ChangedSinceSearch, // size, time or contents differ from what the search saw
    Unencodable,        // the file's encoding cannot hold the replacement
    Failed              // unreadable, or the write failed (the file is intact)
};
struct ReplaceResult {
    ReplaceStatus status = ReplaceStatus::NoMatch;
    int count = 0;
};

// The new bytes of a file: each match replaced, everything else byte for byte,
// the replacement written in the file's encoding with its line breaks.
ReplaceResult replaceBytes(const QByteArray &bytes, const TextSearch &search,
                           const QString &replacement, QByteArray *out);
// Rewrites the file atomically, unless it changed since 'seen' was taken.
ReplaceResult replaceInFile(const FileHits &seen, const TextSearch &search,
                            const QString &replacement);

} // namespace FileSearch

// A search in files on worker threads: the files are listed, then mapped and searched
// in parallel; the files with matches stream to the owner's thread.
class FileSearchJob : public QObject {
    Q_OBJECT
public:
    explicit FileSearchJob(QObject *parent = nullptr);
    ~FileSearchJob() override; // cancels and waits for the workers

    // False, with a French message, when the pattern does not compile.
    bool start(const FileSearchOptions &options, QString *error = nullptr);
    void cancel();
    bool isRunning() const;
    const FileSearchOptions &options() const { return m_options; }
    const TextSearch &search() const { return m_search; }

    // The files found since the last call.
    QList<FileHits> takeResults();
    int filesDone() const { return m_done.load(); }
    int filesTotal() const { return m_total.load(); } // -1 while listing

signals:
    void resultsReady();
    void finished(bool cancelled);

private:
    struct Shared;
    FileSearchOptions m_options;
    TextSearch m_search;
    TextSearch m_rawFilter;
    bool m_useRawFilter = false;
    std::shared_ptr<Shared> m_shared;
    std::atomic<int> m_done{0};
    std::atomic<int> m_total{-1};
    quint64 m_runs = 0; // which start a queued end belongs to
};

// Replaces in a list of files on worker threads; each file is either rewritten whole
// or left as it was, a cancel included.
class FileReplaceJob : public QObject {
    Q_OBJECT
public:
    struct Outcome {
        QString path;
        FileSearch::ReplaceResult result;
    };
    explicit FileReplaceJob(QObject *parent = nullptr);
    ~FileReplaceJob() override;

    void start(const QList<FileHits> &files, const TextSearch &search, const QString &replacement);
    void cancel();
    bool isRunning() const;
    int filesDone() const { return m_done.load(); }
    int filesTotal() const { return m_totalFiles; }
    // Every file's outcome, once finished (files not reached after a cancel are absent).
    QList<Outcome> outcomes() const;

signals:
    void finished(bool cancelled);

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
    std::atomic<int> m_done{0};
    int m_totalFiles = 0;
    quint64 m_runs = 0;
};
