#pragma once

#include <QObject>

// Whether the clipboard holds text. The system is asked only when the clipboard
// changes: asking it at every update could mean a round trip to another program
// on each keystroke. Connect to changed(), which comes after the new state is known.
class ClipboardState : public QObject {
    Q_OBJECT
public:
    static ClipboardState *instance();
    // False until the first question (refresh()) has been asked.
    static bool hasText() { return instance()->m_hasText; }
    // Asks the system once, if not done yet; changed() follows. Called at the first
    // idle moment rather than at start: the answer (a round trip to the clipboard's
    // owner, and Qt's list of picture formats) would delay the window.
    void ask();

signals:
    void changed();

private:
    ClipboardState();
    void refresh();
    bool m_known = false;
    bool m_hasText = false;
};
