#include "assist/page_check_thread.h"

#include <QElapsedTimer>
#include <QMutexLocker>

#include <ctime>

namespace {

// The processor time of the calling thread, where the system keeps it apart
// (else the elapsed time): what a check costs whatever else the machine does.
double threadCpuMs() {
#if defined(CLOCK_THREAD_CPUTIME_ID)
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
#else
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    return clock.nsecsElapsed() / 1e6;
#endif
}

} // namespace

PageCheckThread::PageCheckThread(QObject *parent) : QThread(parent) {
    qRegisterMetaType<PageCheck::Result>();
}

PageCheckThread::~PageCheckThread() {
    stop();
}

void PageCheckThread::request(quint64 id, QByteArray text, const PageCheck::Options &options) {
    QMutexLocker lock(&m_mutex);
    m_text = std::move(text);
    m_options = options;
    m_id = id;
    m_pending = true;
    m_abandon = true;
    m_wake.wakeOne();
    if (!isRunning() && !m_stop) start(QThread::LowPriority);
}

void PageCheckThread::stop() {
    {
        QMutexLocker lock(&m_mutex);
        m_stop = true;
        m_abandon = true;
        m_wake.wakeOne();
    }
    wait();
}

void PageCheckThread::run() {
    for (;;) {
        QByteArray text;
        PageCheck::Options options;
        quint64 id = 0;
        {
            QMutexLocker lock(&m_mutex);
            while (!m_pending && !m_stop)
                m_wake.wait(&m_mutex);
            if (m_stop) return;
            text.swap(m_text);
            options = m_options;
            id = m_id;
            m_pending = false;
            m_abandon = false;
        }
        options.stop = &m_abandon;
        QElapsedTimer t;
        const double cpu0 = threadCpuMs();
        t.start();
        // The check masks code regions in place: the only copy is the one handed over.
        PageCheck::Result r = PageCheck::Check(std::move(text), options);
        if (r.stopped) continue;
        emit checked(id, r, t.nsecsElapsed() / 1e6, threadCpuMs() - cpu0);
    }
}
