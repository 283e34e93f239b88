#pragma once

#include "publish/tips.h"

#include <QDialog>

class QCheckBox;
class QLabel;

// The tip of the day. Made for one showing; the tips already read are remembered
// for the run by the cycle. Closing it, however it is closed, copies the check
// box back to the option.
class TTipsBox : public QDialog {
    Q_OBJECT
public:
    TTipsBox(bool *showTips, TipCycle &cycle, TipCycle::RandomStep random,
             QWidget *parent = nullptr);

    int currentTip() const { return m_current; }
    QString tipText() const;
    // "Astuce suivante".
    void nextTip();

    void done(int result) override;

private:
    bool *m_showTips;
    TipCycle &m_cycle;
    TipCycle::RandomStep m_random;
    int m_current = 0; // the first tip is on display when the window is made
    QLabel *m_text;
    QCheckBox *m_check;
};
