#pragma once

#include "assist/page_checker.h"

#include <QByteArray>
#include <QMutex>
#include <QThread>
#include <QWaitCondition>

#include <atomic>

Q_DECLARE_METATYPE(PageCheck::Result)

// The page checker's worker: it checks copies of a text handed to it and posts
// the findings, never waiting for the window. A new request abandons the check
// under way (its result would be stale); stop() ends the thread within a
// fraction of a second.
class PageCheckThread : public QThread {
    Q_OBJECT
public:
    explicit PageCheckThread(QObject *parent = nullptr);
    ~PageCheckThread() override;

    // `id` comes back with the result, so the caller can tell which text it is for.
    void request(quint64 id, QByteArray text, const PageCheck::Options &options);
    void stop();

signals:
    // The time of the check alone, in milliseconds: elapsed, and of the processor.
    void checked(quint64 id, const PageCheck::Result &result, double workerMs, double cpuMs);

protected:
    void run() override;

private:
    QMutex m_mutex;
    QWaitCondition m_wake;
    QByteArray m_text;
    PageCheck::Options m_options;
    quint64 m_id = 0;
    bool m_pending = false;
    std::atomic<bool> m_abandon{false}; // a new request or the stop
    std::atomic<bool> m_stop{false};
};
