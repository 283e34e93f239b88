// The identifier scanner window: its lists from the active document, and its
// worker stopped at once when the window closes mid-scan.
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "assist/ui/scan_thread_form.h"
#include "ui_test_support.h"

#include <QAction>
#include <QElapsedTimer>
#include <QListWidget>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

class TestScanThreadForm : public QObject {
    Q_OBJECT
private slots:
    void listsOfTheActiveDocument();
    void closingMidScanReturnsAtOnce();
    void textChangedDuringTheCopy();
};

namespace {
QStringList items(QDialog *d, const char *name) {
    QStringList out;
    auto *list = d->findChild<QListWidget *>(QLatin1String(name));
    for (int i = 0; list && i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}
} // namespace

void TestScanThreadForm::listsOfTheActiveDocument() {
    MainFormFixture f;
    f.form->documents()->OpenDocument(
        f.writeFile("page.html", "<html><body>\n<p>Un<br>deux</p>\n<P>trois</p>\n</b>\n"
                                 "</body></html>\n"),
        false);
    QStringList full, unique, associated, tabs;
    QString title;
    f.ui.onDialog = [&](QDialog *d) {
        auto *form = qobject_cast<TScanThreadForm *>(d);
        if (!form) return false;
        title = d->windowTitle();
        QSignalSpy filled(form, &TScanThreadForm::listsFilled);
        if (!filled.wait(5000)) return false;
        full = items(d, "ListBox1");
        unique = items(d, "ListBox2");
        associated = items(d, "ListBox3");
        auto *pages = d->findChild<QTabWidget *>();
        for (int i = 0; i < pages->count(); ++i)
            tabs << pages->tabText(i);
        return false;
    };
    f.form->findChild<QAction *>(QStringLiteral("OutilsScanTokens"))->trigger();
    QCOMPARE(title, QStringLiteral("Identificateurs"));
    QCOMPARE(tabs, (QStringList{"Liste complète", "Eléments uniques", "Eléments associés"}));
    QCOMPARE(full, (QStringList{"/b: 1", "/body: 1", "/html: 1", "/p: 2", "body: 1", "br: 1",
                                "html: 1", "p: 2"}));
    QCOMPARE(unique, (QStringList{"/b: 1", "br: 1"}));
    QCOMPARE(associated,
             (QStringList{"/body: 1", "/html: 1", "/p: 2", "body: 1", "html: 1", "p: 2"}));
}

void TestScanThreadForm::closingMidScanReturnsAtOnce() {
    QByteArray page;
    page.reserve(50 << 20);
    while (page.size() < (50 << 20))
        page += "<div class=\"x\"><p>Un paragraphe avec <b>du gras</b> et <i>de l'italique</i>"
                ".</p><table><tr><td>cellule</td></tr></table></div>\n";
    auto *form = new TScanThreadForm;
    QSignalSpy filled(form, &TScanThreadForm::listsFilled);
    form->requestScan(page);
    QTest::qWait(20);
    QVERIFY(form->isScanning());
    QElapsedTimer clock;
    clock.start();
    delete form;
    QVERIFY2(clock.elapsed() < 250, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(filled.count(), 0);
    QTest::qWait(20); // nothing is delivered to the closed window
}

void TestScanThreadForm::textChangedDuringTheCopy() {
    // Large enough to be copied over several turns of the event loop.
    QByteArray page;
    while (page.size() < (9 << 20))
        page += "<p>un paragraphe de texte</p>\n";
    QsciScintilla editor;
    editor.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, (unsigned long)page.size(),
                         page.constData());
    TScanThreadForm form;
    QSignalSpy filled(&form, &TScanThreadForm::listsFilled);
    form.requestScan(&editor);
    QCoreApplication::processEvents(); // one chunk copied
    editor.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0UL);
    editor.SendScintilla(QsciScintillaBase::SCI_ADDTEXT, 7UL, "<table>");
    QVERIFY(filled.wait(10000));
    QStringList full = items(&form, "ListBox1");
    QCOMPARE(full.size(), 3);
    QCOMPARE(full.last(), QStringLiteral("table: 1"));
    QVERIFY(full.first().startsWith(QStringLiteral("/p: ")));
}

QTEST_MAIN(TestScanThreadForm)
#include "tst_scan_thread_form.moc"
