// Document types in the window: from extensions, the type list, the default type, Save as.
#include "app/document_types.h"
#include "app/ui/document_manager.h"
#include "app/ui/document_type_module.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "editor/ui/highlight_lexer.h"
#include "ui_test_support.h"

#include <QComboBox>
#include <QTest>

class TstDocumentTypesUi : public QObject {
    Q_OBJECT
private slots:
    void defaultType_data();
    void defaultType();
    void typeFromExtension_data();
    void typeFromExtension();
    void typeList();
    void saveAsChoosesTypeOnlyFromAucun();
    void storedExtensionList();
    void dialogFilters();
    void coloursReachTheEditor();

private:
    static QString typeName(MainFormFixture &f, TMyMwCustomEdit *e)
    {
        DocumentTypeModule *m = f.form->documentTypes();
        const int i = m->highlighterOf(e);
        return i < 0 ? QString() : m->types().entry(i).typeName();
    }
    static QComboBox *list(MainFormFixture &f)
    {
        return f.form->findChild<QComboBox *>("cbxHighlighter");
    }
};

void TstDocumentTypesUi::defaultType_data()
{
    QTest::addColumn<int>("typeDefaut");
    QTest::addColumn<QString>("type");
    QTest::newRow("0: Aucun") << 0 << "Aucun";
    QTest::newRow("1: Document HTML") << 1 << "Document HTML";
    QTest::newRow("beyond the list") << 42 << "Document HTML";
    QTest::newRow("9: PHP") << 9 << "PHP";
}

void TstDocumentTypesUi::defaultType()
{
    QFETCH(int, typeDefaut);
    QFETCH(QString, type);
    MainFormFixture f({}, true, [typeDefaut](SettingsStore &s) {
        s.writeInteger("Highlighters", "TypeDefaut", typeDefaut);
    });
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    QCOMPARE(typeName(f, e), type);
    QCOMPARE(list(f)->currentText(), type);
}

void TstDocumentTypesUi::typeFromExtension_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("type");
    QTest::newRow("upper-case PHP") << "page.PHP" << "PHP";
    QTest::newRow("inc") << "lib.inc" << "PHP";
    QTest::newRow("html") << "index.html" << "Document HTML";
    QTest::newRow("css") << "style.css" << "Feuille de style";
    QTest::newRow("asp") << "page.asp" << "ASP";
    QTest::newRow("xsl") << "t.xsl" << "Document XML";
    QTest::newRow("pl") << "script.pl" << "Perl";
    QTest::newRow("txt keeps the untitled tab's type") << "notes.txt" << "Aucun";
    QTest::newRow("no extension") << "LISEZMOI" << "Aucun";
}

void TstDocumentTypesUi::typeFromExtension()
{
    QFETCH(QString, file);
    QFETCH(QString, type);
    MainFormFixture f;
    f.form->documents()->OpenDocument(f.writeFile(file, "<p>x</p>\n"), true);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    QCOMPARE(typeName(f, e), type);
    QCOMPARE(list(f)->currentText(), type);
    // In a new tab too.
    f.form->documents()->FileNew();
    QTest::keyClicks(f.form->documents()->ActiveEditor(), "x");
    f.form->documents()->OpenDocument(f.writeFile("b-" + file, "y\n"), true);
    QCOMPARE(typeName(f, f.form->documents()->ActiveEditor()), type);
}

void TstDocumentTypesUi::typeList()
{
    MainFormFixture f;
    QComboBox *box = list(f);
    QCOMPARE(box->count(), 10);
    QCOMPARE(box->itemText(0), QString("Aucun"));
    QCOMPARE(box->itemText(9), QString("PHP"));
    QCOMPARE(box->maxVisibleItems(), 12);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    box->setCurrentIndex(3);
    emit box->activated(3);
    QCOMPARE(typeName(f, e), QString("Feuille de style"));
    // Switching tabs shows each document's own type.
    f.form->documents()->FileNew();
    QCOMPARE(box->currentText(), QString("Aucun"));
    f.form->documents()->ActivateTab(0);
    QCOMPARE(box->currentText(), QString("Feuille de style"));
}

void TstDocumentTypesUi::saveAsChoosesTypeOnlyFromAucun()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    TMyMwCustomEdit *e = d->ActiveEditor();
    QTest::keyClicks(e, "a");
    f.ui.saveAnswers << f.path("page.css");
    d->FileSaveAs();
    QCOMPARE(typeName(f, e), QString("Feuille de style"));
    QCOMPARE(list(f)->currentText(), QString("Feuille de style"));

    d->OpenDocument(f.writeFile("doc.html", "x\n"), true);
    TMyMwCustomEdit *h = d->ActiveEditor();
    f.ui.saveAnswers << f.path("doc.txt");
    d->FileSaveAs();
    QCOMPARE(typeName(f, h), QString("Document HTML"));
}

void TstDocumentTypesUi::storedExtensionList()
{
    MainFormFixture f({}, true, [](SettingsStore &s) {
        s.writeString("Highlighters", "Document HTML", "Fichiers HTML|*.htm;*.xhtml");
    });
    f.form->documents()->OpenDocument(f.writeFile("a.xhtml", "x\n"), true);
    QCOMPARE(typeName(f, f.form->documents()->ActiveEditor()), QString("Document HTML"));
    f.form->documents()->OpenDocument(f.writeFile("b.html", "x\n"), true);
    QCOMPARE(typeName(f, f.form->documents()->ActiveEditor()), QString("Aucun"));
}

void TstDocumentTypesUi::dialogFilters()
{
    MainFormFixture f;
    f.form->documents()->FileOpen();
    const QString filter = f.ui.fileRequests.last().filter;
    QVERIFY(filter.startsWith("Tous les fichiers connus|*.htm;*.html;*.shtm;*.shtml;*.xml;"));
    QVERIFY(filter.endsWith("|Fichiers texte (*.txt)|*.txt|Tous les fichiers (*.*)|*.*"));
    QCOMPARE(dialogNameFilters(filter).first(),
             QString("Tous les fichiers connus (*.htm *.html *.shtm *.shtml *.xml *.xsd *.xsl "
                     "*.xslt *.dtd *.css *.js *.vbs *.pl *.pm *.cgi *.sql *.asp *.aspx *.asa "
                     "*.php *.php3 *.phtml *.inc *.txt)"));
    f.form->documents()->FileSaveAs();
    QCOMPARE(f.ui.fileRequests.last().filter, filter);
}

void TstDocumentTypesUi::coloursReachTheEditor()
{
    MainFormFixture f;
    TMyMwCustomEdit *e =
        (f.form->documents()->OpenDocument(f.writeFile("c.html", "<!-- note -->\n"), true),
         f.form->documents()->ActiveEditor());
    auto *lexer = DocumentTypeModule::lexerOf(e);
    QVERIFY(lexer);
    e->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
    const int style = int(e->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, 3UL));
    QCOMPARE(lexer->color(style), QColor(128, 128, 128)); // Commentaire: gray
    // The editor font reaches the colouring, and a new font follows.
    QCOMPARE(lexer->baseFont().family(), e->editorFont().family());
    f.options.editor.policeTaille = 14;
    f.form->ApplyPreferences();
    QCOMPARE(lexer->baseFont().pointSize(), 14);
}

QTEST_MAIN(TstDocumentTypesUi)
#include "tst_document_types_ui.moc"
