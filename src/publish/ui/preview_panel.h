#pragma once

#include <QWidget>

class ActionRegistry;
class PreviewEngine;
class QComboBox;
class QLabel;
class QToolBar;
class QVBoxLayout;

// The preview panel under the document tabs: the navigation bar (the panel's
// toggle, Back, Forward, Stop, Reload and the address box `EditUrls`) over the
// browser, which is put in place the first time it is needed.
class TPreviewPanel : public QWidget {
    Q_OBJECT
public:
    TPreviewPanel(const ActionRegistry &actions, QWidget *parent);
    ~TPreviewPanel() override;

    QComboBox *addressBox() const { return m_address; }
    QToolBar *navigationBar() const { return m_bar; }
    // The panel owns the engine from here on.
    void setEngine(PreviewEngine *engine);
    PreviewEngine *engine() const { return m_engine; }
    // True while the panel is being destroyed: the engine's last notifications are
    // ignored then, as the rest of the window may already be gone.
    bool closing() const { return m_closing; }
    // A line over the page that says why it is not what the document holds;
    // hidden when empty.
    void setNotice(const QString &text);
    QString notice() const;
    // The box's list, newest first; its text stays as it is.
    void setHistory(const QStringList &addresses);

signals:
    // Enter in the address box, or an entry chosen from its list.
    void addressEntered(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QToolBar *m_bar;
    QComboBox *m_address;
    QVBoxLayout *m_layout;
    QLabel *m_notice;
    PreviewEngine *m_engine = nullptr;
    bool m_closing = false;
};
