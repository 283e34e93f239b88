#pragma once

#include "assist/identifier_scan.h"

#include <QDialog>
#include <QPointer>

class QListWidget;
class QProgressBar;
class QTabWidget;
class QsciScintilla;

// "Identificateurs": how often each tag name occurs in a text, opening and
// closing forms apart, with the names that occur in one form only. The count
// runs on a worker thread; closing the window stops it at once.
class TScanThreadForm : public QDialog {
    Q_OBJECT
public:
    explicit TScanThreadForm(QWidget *parent = nullptr);
    ~TScanThreadForm() override;

    // Scans a copy of the text (UTF-8).
    void requestScan(const QByteArray &text);
    // Scans a copy of the editor's text, taken a few megabytes per turn of the
    // event loop (taken again if the text changes meanwhile).
    void requestScan(QsciScintilla *editor);
    bool isScanning() const { return m_scanning; }

signals:
    void listsFilled();

private:
    void fill(const IdentifierScan::Lists &lists);
    void copyStep();

    QTabWidget *m_pages;
    QListWidget *m_lists[3];
    QListWidget *m_ghost;
    QProgressBar *m_progress;
    TScanKeywordThread *m_thread;
    bool m_scanning = false;
    QPointer<QsciScintilla> m_source;
    QByteArray m_copy;
    qsizetype m_copyLength = 0;
    bool m_copyScheduled = false;
};
