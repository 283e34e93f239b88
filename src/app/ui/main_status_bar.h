#pragma once

#include <QStatusBar>

class QLabel;
class QProgressBar;

// The status bar: caret position, modified mark, insert or overwrite mode (65, 75
// and 50 pixels), and a progress bar over it while several files are opened.
class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit MainStatusBar(QWidget *parent = nullptr);
    void setPanel(int index, const QString &text);
    QString panel(int index) const;

    void ShowProgress(int max);
    void StepProgress(int i);
    void HideProgress();
    QProgressBar *progressBar() const { return m_progress; }

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    QLabel *m_panels[3];
    QProgressBar *m_progress;
};
