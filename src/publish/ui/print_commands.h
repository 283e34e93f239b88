#pragma once

#include "app/ui/app_context.h"

#include <QObject>
#include <memory>

class DocumentPrinter;

// Printing the active document: the page set-up, the print dialog (a printer or a PDF
// file) and the preview. The print settings last for the run.
class PrintCommands : public QObject {
    Q_OBJECT
public:
    explicit PrintCommands(AppContext &ctx);
    ~PrintCommands() override;

    void FilePrint();
    void FilePrintSetup();
    void FilePrintPreview();

    // Made at the first print command: a printer asks the printing system for its
    // printers and loads its libraries, which the window's first display can do without.
    DocumentPrinter *printer();

private:
    void setTitle();
    void allPages();
    bool printActive();

    AppContext &m_ctx;
    std::unique_ptr<DocumentPrinter> m_printer;
};
