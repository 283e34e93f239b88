#pragma once

#include <QByteArray>
#include <QMutex>
#include <QStringList>
#include <QThread>
#include <QWaitCondition>

#include <atomic>
#include <functional>
#include <vector>

// Counts the HTML tag names of a text, opening and closing forms apart, and
// tells which names occur only in one form.
namespace IdentifierScan {

struct Found {
    QString name; // as first met; a closing name carries its "/"
    int count = 0;
};

// The most bytes tokenized between two looks at the stop flag and the progress:
// a page on one line (minified, or with CR line breaks) is taken in pieces of
// at most this size, so that the tokens held at once stay few.
inline constexpr qsizetype ScanPieceBytes = 1 << 16;

// Tokenizes UTF-8 text with the HTML colouring and counts the known element
// names of tags (case ignored). `progress` gets each new whole percentage.
// Returns false, with nothing counted, when `stop` became true.
bool scan(const QByteArray &text, const std::atomic<bool> &stop,
          const std::function<void(int)> &progress, std::vector<Found> *out,
          qsizetype pieceBytes = ScanPieceBytes);

struct Lists {
    QStringList full;       // "name: count", sorted without regard to case
    QStringList bare;       // the names alone, same order
    QStringList unique;     // entries whose counterpart never occurs
    QStringList associated; // entries whose counterpart occurs
};
Lists buildLists(std::vector<Found> found);

} // namespace IdentifierScan

Q_DECLARE_METATYPE(IdentifierScan::Lists)

// The scanner's worker: it scans copies of the text handed to it and posts its
// results, never waiting for the window. A new request abandons the scan under
// way; stop() ends the thread within one piece of text.
class TScanKeywordThread : public QThread {
    Q_OBJECT
public:
    explicit TScanKeywordThread(QObject *parent = nullptr);
    ~TScanKeywordThread() override;

    void request(const QByteArray &text);
    // Asks the thread to end and waits for it (at most one piece of work).
    void stop();

signals:
    void progressChanged(int percent);
    void scanned(const IdentifierScan::Lists &lists);

protected:
    void run() override;

private:
    QMutex m_mutex;
    QWaitCondition m_wake;
    QByteArray m_text;
    bool m_pending = false;
    std::atomic<bool> m_abandon{false}; // a new request or the stop
    std::atomic<bool> m_stop{false};
};
