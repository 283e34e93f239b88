#pragma once

#include <QDialog>
#include <functional>

class DocumentPrinter;
class QLabel;
class QPrintPreviewWidget;
class QToolButton;
class TMyMwCustomEdit;

// The print preview: the pages as they will print, page by page, with zoom by the
// drop-down or by clicking the page, and printing from there.
class TTestPrintPreviewDlg : public QDialog {
    Q_OBJECT
public:
    TTestPrintPreviewDlg(DocumentPrinter *printer, TMyMwCustomEdit *editor,
                         QWidget *parent = nullptr);

    // What the print button does (the print dialog, then the print).
    std::function<void()> onPrint;

    QPrintPreviewWidget *view() const { return m_view; }
    // The scale shown, in percent.
    int zoomPercent() const;
    bool wholePage() const;
    void setZoomPercent(int percent);
    void showWholePage();
    void showPageWidth();
    // A click on the page: the left button zooms in, the right one out.
    void clickZoom(bool rightButton);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updatePageLabel();
    void updatePrintHint();

    DocumentPrinter *m_printer;
    TMyMwCustomEdit *m_editor;
    QPrintPreviewWidget *m_view;
    QLabel *m_hint;
    QLabel *m_page;
    QAction *m_print = nullptr;
};
