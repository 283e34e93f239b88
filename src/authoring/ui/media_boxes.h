#pragma once

#include "authoring/media_markup.h"
#include "authoring/ui/dialog_parts.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

// The background sound dialog, kept for the run, with its six last sources.
class TSonBox : public QDialog {
    Q_OBJECT
public:
    explicit TSonBox(QWidget *parent = nullptr);
    void setFileBrowser(DialogParts::FileBrowser browser) { m_browser = std::move(browser); }

    Authoring::SoundValues values() const;
    void rememberCurrent();
    QStringList history() const { return m_history.items(); }
    // Source emptied, repetitions "1".
    void prepareForShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QComboBox *m_source;
    QLineEdit *m_repeat;
    DialogParts::FileBrowser m_browser;
    Authoring::History<QString> m_history;
    QStringList m_picked; // sources that browsing wrote
};

// The video dialog, kept for the run: the video, a replacement picture and its text.
class TVideoBox : public QDialog {
    Q_OBJECT
public:
    explicit TVideoBox(QWidget *parent = nullptr);
    void setFileBrowser(DialogParts::FileBrowser browser) { m_browser = std::move(browser); }

    Authoring::VideoValues values() const;
    void rememberCurrent();
    QStringList history() const;
    // All three fields emptied.
    void prepareForShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Entry {
        QString source;
        QString image;
        QString alt;
    };
    void sourceChanged(const QString &text);

    QComboBox *m_source;
    QLineEdit *m_image;
    QLineEdit *m_alt;
    DialogParts::FileBrowser m_browser;
    Authoring::History<Entry> m_history;
    QStringList m_picked;
};
