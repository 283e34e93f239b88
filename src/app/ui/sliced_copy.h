#pragma once

#include <QByteArray>
#include <QObject>

#include <functional>

class QTimer;
class TMyMwCustomEdit;

// A copy of an editor's text for a worker thread, taken over several turns of the event
// loop a slice at a time, so that a large document never holds the window for long (50 MB
// in one go keeps it 30 ms). Slices end at the component's gap, so taking one never makes
// it move the text. A change to the text abandons the copy: its owner asks again at its
// next pause. A text of one slice or less is copied at once, within start().
class SlicedCopy : public QObject {
public:
    static constexpr qsizetype DefaultSlice = 2 << 20;
    using Done = std::function<void(QByteArray text)>;

    // Lives as long as the editor.
    explicit SlicedCopy(TMyMwCustomEdit *editor, qsizetype slice = DefaultSlice);

    // Starts a copy, abandoning one under way; `done` gets the whole text, on this thread.
    void start(Done done);
    void cancel();
    bool running() const { return m_done >= 0; }

private:
    void step();

    TMyMwCustomEdit *m_editor;
    qsizetype m_slice;
    QTimer *m_timer;
    QByteArray m_text;
    qsizetype m_done = -1; // -1: no copy under way
    Done m_callback;
};
