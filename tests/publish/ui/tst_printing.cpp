#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "app/ui/outside_change_check.h"
#include "publish/ui/document_printer.h"
#include "app/ui/help.h"
#include "publish/ui/print_commands.h"
#include "publish/ui/print_preview_dialog.h"
#include "ui/ui_test_support.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {
QString run(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString &pdf) {
    const QRegularExpressionMatch m =
        QRegularExpression("Pages:\\s+(\\d+)").match(run("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString pdfText(const QString &pdf, int page) {
    return run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
}

QString lines(int count) {
    QStringList l;
    for (int i = 1; i <= count; ++i)
        l << QStringLiteral("<p>ligne %1</p>").arg(i);
    return l.join("\r\n") + "\r\n";
}

struct Printing {
    MainFormFixture fx;
    QString pdf;
    // Header boxes the page set-up is given (left, centre, right); empty: untouched.
    QStringList header;
    QStringList margins; // the ten boxes, empty: untouched
    int unit = -1;
    QString lastError;
    std::function<void(TTestPrintPreviewDlg *)> onPreview;

    Printing() {
        fx.ui.onDialog = [this](QDialog *d) {
            if (auto *p = qobject_cast<QPrintDialog *>(d)) {
                p->printer()->setOutputFormat(QPrinter::PdfFormat);
                p->printer()->setOutputFileName(pdf);
                return true;
            }
            if (d->objectName() == "TPageSetupDlg") return setup(d);
            if (auto *v = qobject_cast<TTestPrintPreviewDlg *>(d)) {
                if (onPreview) onPreview(v);
                return true;
            }
            return false;
        };
    }
    bool setup(QDialog *d) {
        if (unit >= 0) d->findChild<QComboBox *>("CBUnites")->setCurrentIndex(unit);
        const QStringList names = {
            "EditGauche",      "EditDroite",         "EditHaut",       "EditBas",
            "EditGouttiere",   "EditEnTete",         "EditPiedDePage", "EditMargeGauche",
            "EditMargeDroite", "EditMargeInterieure"};
        for (int i = 0; i < margins.size(); ++i)
            d->findChild<QLineEdit *>(names[i])->setText(margins[i]);
        const QStringList boxes = {"REHeaderLeft", "REHeaderCenter", "REHeaderRight"};
        for (int i = 0; i < header.size(); ++i)
            d->findChild<QTextEdit *>(boxes[i])->setPlainText(header[i]);
        if (!header.isEmpty()) {
            for (const char *f : {"REFooterLeft", "REFooterCenter", "REFooterRight"})
                d->findChild<QTextEdit *>(f)->clear();
        }
        d->findChild<QPushButton *>("BoutOK")->click();
        return d->result() == QDialog::Accepted;
    }
    DocumentPrinter *printer() const { return fx.form->findChild<PrintCommands *>()->printer(); }
    void action(const char *name) {
        fx.form->actions()->action(QString::fromLatin1(name))->trigger();
    }
    void open(const QString &name, const QString &text) {
        fx.form->documents()->OpenDocument(fx.writeFile(name, text.toUtf8()), false);
    }
    void untitled(const QString &text) {
        LoadedText t;
        t.utf8 = text.toUtf8();
        fx.form->documents()->ActiveEditor()->setLoadedText(t);
    }
};
} // namespace

class TstPrinting : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void threePagePdf();
    void defaultHeader();
    void titles_data();
    void titles();
    void colours_data();
    void colours();
    void unwritablePdf();
    void stop();
    void pageSetup();
    void invalidMarginAppliesNothing();
    void preview();
    void previewAfterAPageRange();
    void inputWaitsForThePrint_data();
    void inputWaitsForThePrint();
    void help();
};

void TstPrinting::initTestCase() {
    if (run("pdfinfo", {"-v"}).isNull() && QProcess::execute("pdfinfo", {"-v"}) < 0)
        QFAIL("pdfinfo and pdftotext (poppler-utils) are needed");
}

void TstPrinting::threePagePdf() {
    Printing p;
    p.header = {"", "$PAGENUM$ / $PAGECOUNT$", ""};
    p.action("FilePrintSetup");
    // How many lines a page holds, from a first print.
    p.untitled(lines(300));
    p.pdf = p.fx.path("mesure.pdf");
    p.action("FilePrint");
    QVERIFY(QFile::exists(p.pdf));
    const int perPage = int(pdfText(p.pdf, 1).count(QRegularExpression("ligne \\d+")));
    QVERIFY2(perPage > 10 && perPage < 300, qPrintable(QString::number(perPage)));

    p.open("trois.html", lines(perPage * 2 + perPage / 2));
    p.pdf = p.fx.path("trois.pdf");
    p.action("FilePrint");
    QCOMPARE(pdfPages(p.pdf), 3);
    for (int page = 1; page <= 3; ++page) {
        // The text tool may drop the spaces of a short centred line.
        const QString text = pdfText(p.pdf, page).remove(QLatin1Char(' '));
        QVERIFY2(text.startsWith(QString("%1/3\n").arg(page)), qPrintable(text.left(100)));
        QCOMPARE(text.count("/3"), 1);
    }
    QVERIFY(pdfText(p.pdf, 3).contains(QString("ligne %1").arg(perPage * 2 + perPage / 2)));
    QVERIFY(p.fx.ui.messages.isEmpty());
}

void TstPrinting::defaultHeader() {
    // A new run: the page counter, the full path, the date and time; the footer's counter.
    Printing p;
    p.open("defaut.html", lines(100));
    p.pdf = p.fx.path("defaut.pdf");
    p.action("FilePrint");
    const int pages = pdfPages(p.pdf);
    const QString text = pdfText(p.pdf, 2).remove(' ');
    const QString date = QDate::currentDate().toString("dd/MM/yyyy");
    for (const QString &part : {QString("Page:2sur%1").arg(pages),
                                QDir::toNativeSeparators(p.fx.path("defaut.html")).remove(' '),
                                "Dated'impression:" + date + ".Heure:", QString("2/%1").arg(pages)})
        QVERIFY2(text.contains(part), qPrintable(part + " in " + text.left(300)));
}

void TstPrinting::titles_data() {
    QTest::addColumn<bool>("titled");
    QTest::newRow("untitled") << false;
    QTest::newRow("file") << true;
}

void TstPrinting::titles() {
    QFETCH(bool, titled);
    Printing p;
    p.header = {"[$TITLE$]", "", ""};
    p.action("FilePrintSetup");
    if (titled)
        p.open("titre.html", "<p>x</p>\r\n");
    else
        p.untitled("<p>x</p>\r\n");
    p.pdf = p.fx.path("titre.pdf");
    p.action("FilePrint");
    const QString text = pdfText(p.pdf, 1);
    if (titled)
        QVERIFY2(text.contains("[" + QDir::toNativeSeparators(p.fx.path("titre.html")) + "]"),
                 qPrintable(text));
    else
        QVERIFY2(text.contains("[]"), qPrintable(text));
}

void TstPrinting::colours_data() {
    QTest::addColumn<bool>("syntax");
    QTest::newRow("with the colouring") << true;
    QTest::newRow("black on white") << false;
}

void TstPrinting::colours() {
    // The document's colours reach the page: coloured pixels only with the colouring.
    QFETCH(bool, syntax);
    Printing p;
    p.open("couleurs.html", QString("<p class=\"a\">texte</p>\r\n").repeated(40));
    p.printer()->settings.syntax = syntax;
    p.pdf = p.fx.path("couleurs.pdf");
    p.action("FilePrint");
    const QString png = p.fx.path("page");
    QProcess::execute("pdftoppm",
                      {"-r", "60", "-f", "1", "-l", "1", "-png", "-singlefile", p.pdf, png});
    QImage image(png + ".png");
    QVERIFY(!image.isNull());
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            coloured += std::max({c.red(), c.green(), c.blue()}) -
                            std::min({c.red(), c.green(), c.blue()}) >
                        60;
        }
    }
    QCOMPARE(coloured > 20, syntax);
}

void TstPrinting::unwritablePdf() {
    Printing p;
    p.untitled("x\r\n");
    p.pdf = p.fx.path("absent/dossier/x.pdf");
    p.action("FilePrint");
    QCOMPARE(p.fx.ui.messages.size(), 1);
    QVERIFY(p.fx.ui.lastMessage().startsWith("Impossible de créer le fichier "));
}

void TstPrinting::stop() {
    // Stopping at page 2 ends the print there; the editor is as before and prints again.
    Printing p;
    p.untitled(lines(300));
    TMyMwCustomEdit *e = p.fx.form->documents()->ActiveEditor();
    const long margin = e->SendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, 0UL);
    DocumentPrinter &printer = *p.printer();
    printer.settings.lineNumbers = true;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(p.fx.path("arret.pdf"));
    QList<int> seen;
    printer.progress = [&seen](int page, int count) {
        seen << count;
        return !(count > 0 && page == 2);
    };
    const int printed = printer.printDocument(e);
    QCOMPARE(printed, 0);
    QVERIFY(printer.stopped());
    QVERIFY(seen.contains(0) && seen.last() > 2); // counted, then printed, then stopped
    QCOMPARE(e->SendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, 0UL), margin);
    printer.progress = nullptr;
    QCOMPARE(printer.printDocument(e), seen.last());
    QVERIFY(!printer.stopped());
}

void TstPrinting::pageSetup() {
    Printing p;
    QString shown;
    p.fx.ui.onDialog = [&](QDialog *d) {
        shown = d->findChild<QLineEdit *>("EditGauche")->text();
        d->findChild<QComboBox *>("CBUnites")->setCurrentIndex(1); // cm
        shown += "|" + d->findChild<QLineEdit *>("EditGauche")->text();
        shown += "|" + d->findChild<QLineEdit *>("EditMargeInterieure")->text();
        d->findChild<QLineEdit *>("EditGauche")->setText("3");
        for (const char *b : {"REHeaderLeft", "REHeaderCenter", "REHeaderRight"})
            d->findChild<QTextEdit *>(b)->clear();
        d->findChild<QPushButton *>("BoutOK")->click();
        return d->result() == QDialog::Accepted;
    };
    p.action("FilePrintSetup");
    QCOMPARE(shown, QString("25|2.5|0.05"));
    const PrintSettings &s = p.printer()->settings;
    QCOMPARE(s.left, 30.0);
    QCOMPARE(s.right, 15.0);
    QCOMPARE(s.unit, MarginUnit::Centimetres);
    QVERIFY(s.header.items.isEmpty()); // every header line deleted: no header
    QCOMPARE(s.footer.items.size(), 1);
    // The settings last for the run: the dialog shows them again.
    p.fx.ui.onDialog = [&](QDialog *d) {
        shown = d->findChild<QLineEdit *>("EditGauche")->text();
        shown += "|" + d->findChild<QComboBox *>("CBUnites")->currentText();
        shown += "|" + d->findChild<QTextEdit *>("REFooterRight")->toPlainText();
        return false;
    };
    p.action("FilePrintSetup");
    QCOMPARE(shown, QString("3|cm|$PAGENUM$/$PAGECOUNT$"));
}

void TstPrinting::invalidMarginAppliesNothing() {
    Printing p;
    int refusals = 0;
    p.fx.ui.onDialog = [&](QDialog *d) {
        d->findChild<QLineEdit *>("EditGauche")->setText("40");
        d->findChild<QLineEdit *>("EditBas")->setText("deux");
        d->findChild<QPushButton *>("BoutOK")->click();
        refusals += d->result() != QDialog::Accepted;
        return false;
    };
    p.action("FilePrintSetup");
    QCOMPARE(refusals, 1);
    QCOMPARE(p.fx.ui.messages.size(), 1);
    QCOMPARE(p.fx.ui.lastMessage(), QString("Nombre invalide !"));
    QCOMPARE(p.printer()->settings.left, 25.0); // the box before the bad one is not taken
    // A script that accepts without the dialog's own check is refused just the same.
    p.fx.ui.onDialog = [](QDialog *d) {
        d->findChild<QLineEdit *>("EditGauche")->setText("40");
        d->findChild<QLineEdit *>("EditGouttiere")->setText("1,2,3");
        return true;
    };
    p.action("FilePrintSetup");
    QCOMPARE(p.fx.ui.messages.size(), 2);
    QCOMPARE(p.printer()->settings.left, 25.0);
}

void TstPrinting::preview() {
    Printing p;
    p.header = {"", "$PAGENUM$ / $PAGECOUNT$", ""};
    p.action("FilePrintSetup");
    p.untitled(lines(150));
    int pages = 0;
    QStringList seen;
    p.onPreview = [&](TTestPrintPreviewDlg *v) {
        v->show(); // the page shown follows the view's scrolling
        QVERIFY(QTest::qWaitForWindowExposed(v));
        pages = v->view()->pageCount();
        QLabel *page = v->findChild<QLabel *>("PanelPage");
        seen << page->text();
        QVERIFY(v->wholePage());
        v->clickZoom(false);
        seen << QString::number(v->zoomPercent());
        v->clickZoom(false);
        v->clickZoom(false);
        v->clickZoom(false);
        seen << QString::number(v->zoomPercent());
        v->clickZoom(true);
        seen << QString::number(v->zoomPercent());
        for (int i = 0; i < 5; ++i)
            v->clickZoom(true);
        seen << QString::number(v->zoomPercent());
        v->showWholePage();
        v->findChild<QAction *>("PreviewLast")->trigger();
        seen << page->text();
        v->findChild<QAction *>("PreviewPrev")->trigger();
        seen << page->text();
        seen << v->findChild<QAction *>("PreviewPrint")->toolTip().left(8);
    };
    p.action("FilePrintPreview");
    QVERIFY(pages >= 2);
    QCOMPARE(seen,
             (QStringList{" Page : 1", "100", "400", "200", "25", QString(" Page : %1").arg(pages),
                          QString(" Page : %1").arg(pages - 1), "Imprimer"}));
}

void TstPrinting::previewAfterAPageRange() {
    Printing p;
    p.untitled(lines(300));
    QList<int> previewed;
    p.onPreview = [&](TTestPrintPreviewDlg *v) {
        v->show();
        QVERIFY(QTest::qWaitForWindowExposed(v));
        previewed << v->view()->pageCount();
    };
    p.action("FilePrintPreview");
    p.pdf = p.fx.path("plage.pdf");
    p.fx.ui.onDialog = [script = p.fx.ui.onDialog](QDialog *d) {
        if (auto *print = qobject_cast<QPrintDialog *>(d)) { // pages 2 to 3 chosen
            print->printer()->setPrintRange(QPrinter::PageRange);
            print->printer()->setFromTo(2, 3);
        }
        return script(d);
    };
    p.action("FilePrint");
    QCOMPARE(pdfPages(p.pdf), 2);
    p.action("FilePrintPreview");
    QVERIFY(previewed.first() > 3);
    QCOMPARE(previewed, (QList<int>{previewed.first(), previewed.first()}));
}

void TstPrinting::inputWaitsForThePrint_data() {
    // What reaches the main window while a print starts.
    QTest::addColumn<QString>("what");
    QTest::newRow("a key in the editor") << "key";
    QTest::newRow("closing the window") << "close";
    QTest::newRow("the file deleted outside") << "vanished";
}

void TstPrinting::inputWaitsForThePrint() {
    QFETCH(QString, what);
    Printing p;
    p.open("page.html", lines(300));
    TMyMwCustomEdit *e = p.fx.form->documents()->ActiveEditor();
    e->replaceAllText(lines(301)); // modified: closing it would ask
    const QString text = e->textCrLf(), file = e->fileName;
    p.pdf = p.fx.path("page.pdf");
    bool during = false;
    QTimer::singleShot(0, p.fx.form.get(), [&] {
        during = true;
        if (what == "key") {
            QTest::keyClick(e, Qt::Key_X);
        } else if (what == "close") {
            p.fx.form->close();
        } else {
            QFile::remove(file);
            p.fx.form->outsideChanges()->CheckDocumentsOnDisk();
        }
    });
    p.action("FilePrint");
    QVERIFY(during && QFile::exists(p.pdf));
    QCOMPARE(p.fx.ui.messages.size(), 0);
    QVERIFY(p.fx.form->isVisible());
    QCOMPARE(p.fx.form->documents()->ActiveEditor(), e);
    QCOMPARE(e->textCrLf(), text);
    // The outside-change check is only put off until the print has ended.
    if (what == "vanished") QTRY_COMPARE(p.fx.ui.messages.size(), 1);
}

void TstPrinting::help() {
    Printing p;
    QStringList topics;
    setHelpHandler([&topics](const QString &t) { topics << t; });
    p.fx.ui.onDialog = [](QDialog *d) {
        if (auto *b = d->findChild<QPushButton *>("BoutAide")) b->click();
        if (auto *a = d->findChild<QAction *>("PreviewAide")) a->trigger();
        return false;
    };
    p.action("FilePrintSetup");
    p.action("FilePrintPreview");
    setHelpHandler({});
    QCOMPARE(topics, (QStringList{"Ressources/mise_en_page.htm", "Ressources/imprimer.htm"}));
    for (const QString &t : topics)
        QVERIFY2(QFile::exists(QStringLiteral(BALIZOR_SOURCE_DIR "/resources/") + t),
                 qPrintable(t));
}

QTEST_MAIN(TstPrinting)
#include "tst_printing.moc"
