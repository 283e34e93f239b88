#include "publish/ui/print_commands.h"

#include "app/ui/action_registry.h"
#include "app/ui/document_host.h"
#include "app/ui/editor_view.h"
#include "app/ui/icons.h"
#include "app/ui/ui_services.h"
#include "publish/ui/document_printer.h"
#include "publish/ui/page_setup_dialog.h"
#include "publish/ui/print_preview_dialog.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QPainter>
#include <QPrintDialog>

namespace {
QIcon printerIcon(bool page) {
    return Icons::draw([page](QPainter &p) {
        if (page) {
            Icons::page(p, 3.5, 0.5, 10, 13);
            p.setPen(QPen(QColor(30, 90, 180), 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(6, 6, 6, 6));
            p.drawLine(QPointF(11, 11), QPointF(14.5, 14.5));
            return;
        }
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(QColor(255, 255, 255));
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(170, 170, 180));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
        p.setBrush(QColor(255, 255, 255));
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
    });
}
} // namespace

PrintCommands::PrintCommands(AppContext &ctx) : QObject(ctx.window), m_ctx(ctx) {
    setObjectName(QStringLiteral("PrintCommands"));
    ActionRegistry &r = *ctx.actions;
    const QString cat = QStringLiteral("File");
    QAction *print = r.add(QStringLiteral("FilePrint"), QStringLiteral("&Imprimer..."),
                           QKeySequence(Qt::CTRL | Qt::Key_P), cat);
    print->setIcon(printerIcon(false));
    connect(print, &QAction::triggered, this, &PrintCommands::FilePrint);
    QAction *setup =
        r.add(QStringLiteral("FilePrintSetup"), QStringLiteral("&Mise en page..."), {}, cat);
    connect(setup, &QAction::triggered, this, &PrintCommands::FilePrintSetup);
    QAction *preview = r.add(QStringLiteral("FilePrintPreview"),
                             QStringLiteral("&Aperçu avant impression"), {}, cat);
    preview->setIcon(printerIcon(true));
    connect(preview, &QAction::triggered, this, &PrintCommands::FilePrintPreview);
    DocumentHost *docs = ctx.docs;
    r.addUpdate([print, preview, docs] {
        const bool any = docs->ActiveEditor() != nullptr;
        print->setEnabled(any);
        preview->setEnabled(any);
    });
}

PrintCommands::~PrintCommands() = default;

DocumentPrinter *PrintCommands::printer() {
    if (!m_printer) m_printer = std::make_unique<DocumentPrinter>();
    return m_printer.get();
}

void PrintCommands::setTitle() {
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    printer()->settings.title = e ? QDir::toNativeSeparators(e->fileName) : QString();
    printer()->setDocName(e && !e->fileName.isEmpty() ? e->fileName : QStringLiteral("Balizor"));
}

bool PrintCommands::printActive() {
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (!e) return false;
    setTitle();
    int pages;
    {
        PrintProgress progress(printer(), m_ctx.window);
        pages = printer()->printDocument(e);
    }
    const QString file = printer()->outputFileName();
    if (printer()->stopped()) {
        // A PDF cut short is of no use: the file this print began is taken away.
        if (printer()->outputFormat() == QPrinter::PdfFormat && !file.isEmpty())
            QFile::remove(file);
        return false;
    }
    if (pages > 0) return true;
    ui().message(MsgType::Error, MsgButtons::Ok,
                 file.isEmpty() ? QStringLiteral("Impossible d'imprimer le document.")
                                : QStringLiteral("Impossible de créer le fichier %1")
                                      .arg(QDir::toNativeSeparators(file)));
    return false;
}

void PrintCommands::allPages() {
    printer()->setPrintRange(QPrinter::AllPages);
    printer()->setFromTo(0, 0);
}

void PrintCommands::FilePrint() {
    if (!m_ctx.docs->ActiveEditor()) return;
    QPrintDialog dlg(printer(), m_ctx.window);
    dlg.setWindowTitle(QStringLiteral("Imprimer"));
    // Every page is printed; a chosen range is honoured, for this print only (the
    // preview shares the printer).
    allPages();
    if (ui().execDialog(&dlg) == QDialog::Accepted) printActive();
    allPages();
}

void PrintCommands::FilePrintSetup() {
    TPageSetupDlg dlg(m_ctx.window);
    dlg.setSettings(printer()->settings);
    if (ui().execDialog(&dlg) != QDialog::Accepted) return;
    PrintSettings s;
    if (!dlg.collect(&s)) {
        // Nothing is applied from a dialog with a length that is not a number.
        ui().message(MsgType::Error, MsgButtons::Ok, QStringLiteral("Nombre invalide !"));
        return;
    }
    s.title = printer()->settings.title;
    printer()->settings = s;
}

void PrintCommands::FilePrintPreview() {
    TMyMwCustomEdit *e = m_ctx.docs->ActiveEditor();
    if (!e) return;
    setTitle();
    allPages();
    TTestPrintPreviewDlg dlg(printer(), e, m_ctx.window);
    dlg.onPrint = [this] { FilePrint(); };
    ui().execDialog(&dlg);
}
