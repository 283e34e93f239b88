#include "app/ui/sliced_copy.h"

#include "app/ui/editor_view.h"

#include <QTimer>

#include <algorithm>

SlicedCopy::SlicedCopy(TMyMwCustomEdit *editor, qsizetype slice)
    : QObject(editor), m_editor(editor), m_slice(std::max<qsizetype>(1, slice)),
      m_timer(new QTimer(this)) {
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &SlicedCopy::step);
    connect(editor, &TMyMwCustomEdit::textChanging, this, &SlicedCopy::cancel);
}

void SlicedCopy::start(Done done) {
    cancel();
    const qsizetype length = m_editor->utf8Length();
    if (length <= m_slice) {
        done(m_editor->utf8Copy());
        return;
    }
    m_callback = std::move(done);
    m_text = QByteArray(length, Qt::Uninitialized);
    m_done = 0;
    m_timer->start();
}

void SlicedCopy::cancel() {
    m_timer->stop();
    m_done = -1;
    m_text = QByteArray();
    m_callback = nullptr;
}

void SlicedCopy::step() {
    const qsizetype length = m_text.size();
    if (m_done < 0 || m_editor->utf8Length() != length) {
        cancel();
        return;
    }
    const qsizetype gap = std::clamp<qsizetype>(m_editor->gapPosition(), 0, length);
    const qsizetype end = m_done < gap ? gap : length;
    const qsizetype n = std::min(m_slice, end - m_done);
    m_editor->copyUtf8(m_text.data() + m_done, m_done, n);
    m_done += n;
    if (m_done < length) return;
    m_timer->stop();
    m_done = -1;
    // The owner may start another copy from its callback.
    const Done callback = std::exchange(m_callback, nullptr);
    callback(std::exchange(m_text, QByteArray()));
}
