#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <cstdio>
#include <ctime>

// The system-wide monotonic clock in milliseconds, so that a parent and its child
// process measure on the same scale.
inline double monotonicMs() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The processor time the process has used so far, all its threads, in milliseconds.
inline double processCpuMs() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// A child prints the time since the parent's mark and the processor time it used,
// and ends at once, so that the measure holds neither the event loop's end nor the
// tear-down.
[[noreturn]] inline void reportAndExit(const char *mark) {
    std::printf("%.2f %.2f\n", monotonicMs() - QByteArray(mark).toDouble(), processCpuMs());
    std::fflush(stdout);
    std::_Exit(0);
}

// Reports once the event being handled is done (a paint: once it is flushed to the
// display), before any work the program has queued meanwhile: a posted event of
// high priority is handled first.
inline void reportWhenDone(const QByteArray &mark)
{
    struct Reporter : QObject {
        QByteArray mark;
        bool event(QEvent *e) override
        {
            if (e->type() == QEvent::User)
                reportAndExit(mark.constData());
            return QObject::event(e);
        }
    };
    static Reporter *reporter = new Reporter;
    reporter->mark = mark;
    QCoreApplication::postEvent(reporter, new QEvent(QEvent::User), Qt::HighEventPriority);
}
