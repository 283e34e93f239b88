// The bracket highlight in a real editor: the partner comes from the editor's
// own brace matching, which skips brackets in strings and comments.
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "assist/ui/bracket_highlight.h"
#include "ui_test_support.h"

#include <QTest>

class TestBracketHighlight : public QObject {
    Q_OBJECT
private slots:
    void pairs_data();
    void pairs();
    void preferenceOff();
};

void TestBracketHighlight::pairs_data() {
    QTest::addColumn<QByteArray>("text"); // "|" caret
    QTest::addColumn<int>("bracket");
    QTest::addColumn<int>("partner");
    QTest::newRow("pair across lines")
        << QByteArray("<script>\nif (a) {|\n  f();\n}\n</script>\n") << 16 << 25;
    QTest::newRow("backwards") << QByteArray("<script>\nf(a, b)|;\n</script>\n") << 15 << 10;
    QTest::newRow("string skipped")
        << QByteArray("<script>\nf|(\")\", 1);\n</script>\n") << 10 << 17;
    QTest::newRow("comment skipped")
        << QByteArray("<script>\nf|(/* ) */ 1);\n</script>\n") << 10 << 20;
    QTest::newRow("unmatched still painted")
        << QByteArray("<script>\nf|(1;\n</script>\n") << 10 << -1;
    QTest::newRow("html text") << QByteArray("<p>a (|b)</p>\n") << -1 << -1;
}

void TestBracketHighlight::pairs() {
    QFETCH(QByteArray, text);
    QFETCH(int, bracket);
    QFETCH(int, partner);
    const int caret = int(text.indexOf('|'));
    text.remove(caret, 1);
    MainFormFixture f;
    f.form->documents()->OpenDocument(f.writeFile("page.html", text), false);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    auto *b = e->findChild<BracketHighlight *>();
    QVERIFY(b);
    e->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0L, -1L);
    e->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, (unsigned long)caret);
    QCOMPARE(b->bracket(), bracket);
    QCOMPARE(b->partner(), partner);
    // Any selection switches it off.
    e->SendScintilla(QsciScintillaBase::SCI_SETSEL, (unsigned long)caret, long(caret + 1));
    QCOMPARE(b->bracket(), -1);
}

void TestBracketHighlight::preferenceOff() {
    MainFormFixture f;
    f.form->documents()->OpenDocument(f.writeFile("page.html", "<script>\nf(1);\n</script>\n"),
                                      false);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    auto *b = e->findChild<BracketHighlight *>();
    e->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0L, -1L);
    e->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 11UL);
    QCOMPARE(b->bracket(), 10);
    EditorPreferences p = e->preferences();
    p.matchBrackets = false;
    e->applyPreferences(p);
    emit f.form->findChild<AppEvents *>()->preferencesApplied();
    QCOMPARE(b->bracket(), -1);
}

QTEST_MAIN(TestBracketHighlight)
#include "tst_bracket_highlight.moc"
