#pragma once

#include "publish/print_settings.h"

#include <Qsci/qsciprinter.h>

#include <QDateTime>

class QFont;
class TMyMwCustomEdit;

// The print engine: prints an editor's text with its colouring, between the margins of
// the print settings, with the header and footer on every page. One for the whole run.
class DocumentPrinter : public QsciPrinter {
public:
    explicit DocumentPrinter(PrinterMode mode = HighResolution);

    PrintSettings settings = PrintSettings::defaults();

    // Prints on this printer (a print job, a PDF file or the preview's pages); the number
    // of pages printed, 0 when the printer could not be opened.
    int printDocument(TMyMwCustomEdit *editor);
    int printDocument(TMyMwCustomEdit *editor, QPainter &painter);
    // Pages of the last print.
    int pageCount() const { return m_pageCount; }

    void formatPage(QPainter &painter, bool drawing, QRect &area, int pagenr) override;

    static QFont toFont(const FontSpec &f);

private:
    int drawBand(QPainter &painter, const HeaderFooter &band, bool drawing, int pagenr, int left,
                 int right, int y, bool fromTop);

    int m_pageCount = 0;
    int m_counted = 0;
    int m_numberWidth = 0; // printer pixels of the line numbers, when printed in the margin
    QDateTime m_when;
};
