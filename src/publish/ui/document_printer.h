#pragma once

#include "app/outside_changes.h"
#include "publish/print_settings.h"

#include <Qsci/qsciprinter.h>

#include <QDateTime>
#include <QProgressDialog>
#include <functional>
#include <memory>

class QFont;
class TMyMwCustomEdit;

// The print engine: prints an editor's text with its colouring, between the margins of
// the print settings, with the header and footer on every page. One for the whole run.
class DocumentPrinter : public QsciPrinter {
public:
    explicit DocumentPrinter(PrinterMode mode = HighResolution);

    PrintSettings settings = PrintSettings::defaults();
    // Told of each page (pageCount 0 while the pages are still being counted); false
    // stops the print.
    std::function<bool(int page, int pageCount)> progress;

    // Prints on this printer (a print job, a PDF file or the preview's pages); the number
    // of pages printed, 0 when the printer could not be opened or the print was stopped.
    int printDocument(TMyMwCustomEdit *editor);
    int printDocument(TMyMwCustomEdit *editor, QPainter &painter);
    // Pages of the last print.
    int pageCount() const { return m_pageCount; }
    bool stopped() const { return m_stopped; }

    void formatPage(QPainter &painter, bool drawing, QRect &area, int pagenr) override;

    static QFont toFont(const FontSpec &f);

private:
    int printPages(TMyMwCustomEdit *editor, QPainter &painter);
    int drawBand(QPainter &painter, const HeaderFooter &band, bool drawing, int pagenr, int left,
                 int right, int y, bool fromTop);

    int m_pageCount = 0;
    bool m_counting = false;
    bool m_stopped = false;
    int m_counted = 0;
    int m_numberWidth = 0; // printer pixels of the line numbers, when printed in the margin
    QDateTime m_when;
};

// While it lives, a print or a preview shows its progress in a window-modal dialog whose
// "Annuler" stops it. From its start, before the dialog shows, the user's input goes
// to that dialog only, and the outside-change check waits: nothing may close the
// document being printed.
class PrintProgress {
public:
    PrintProgress(DocumentPrinter *printer, QWidget *window);
    ~PrintProgress();
    PrintProgress(const PrintProgress &) = delete;
    PrintProgress &operator=(const PrintProgress &) = delete;

private:
    DocumentPrinter *m_printer;
    QProgressDialog m_dialog;
    TransferGuard m_guard;
    std::unique_ptr<QObject> m_inputBlock;
};
