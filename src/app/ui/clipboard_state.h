#pragma once

#include <QObject>

// Whether the clipboard holds text. The system is asked only when the clipboard
// changes: asking it at every update could mean a round trip to another program
// on each keystroke. Connect to changed(), which comes after the new state is known.
class ClipboardState : public QObject {
    Q_OBJECT
public:
    static ClipboardState *instance();
    static bool hasText() { return instance()->m_hasText; }

signals:
    void changed();

private:
    ClipboardState();
    void refresh();
    bool m_hasText = false;
};
