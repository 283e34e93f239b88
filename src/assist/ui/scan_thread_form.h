#pragma once

#include "assist/identifier_scan.h"

#include <QDialog>

class QListWidget;
class QProgressBar;
class QTabWidget;

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
    bool isScanning() const { return m_scanning; }

signals:
    void listsFilled();

private:
    void fill(const IdentifierScan::Lists &lists);

    QTabWidget *m_pages;
    QListWidget *m_lists[3];
    QListWidget *m_ghost;
    QProgressBar *m_progress;
    TScanKeywordThread *m_thread;
    bool m_scanning = false;
};
