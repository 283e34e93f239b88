// The bracket highlight in a real editor: the partner skips brackets in strings
// and comments, coloured or not yet, and is sought a screenful of lines away at most.
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "assist/ui/bracket_highlight.h"
#include "editor/ui/highlight_lexer.h"
#include "ui_test_support.h"

#include <QTest>

class TestBracketHighlight : public QObject {
    Q_OBJECT
private slots:
    void pairs_data();
    void pairs();
    void preferenceOff();
    void beyondTheStyledPart_data();
    void beyondTheStyledPart();
    void withinAScreen_data();
    void withinAScreen();
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

void TestBracketHighlight::beyondTheStyledPart_data() {
    // "|" caret, "#" the partner; "%" stands for lines enough to put what follows
    // below the lines on screen (which a caret move colours), a screenful below the caret.
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("string") << QByteArray("<script>\nf|(1,\n%\")\", 2#);\n</script>\n");
    QTest::newRow("comment") << QByteArray("<script>\nf|(1,\n%/* ) */ 2#);\n</script>\n");
}

void TestBracketHighlight::beyondTheStyledPart() {
    QFETCH(QByteArray, text);
    MainFormFixture f;
    f.form->documents()->OpenDocument(f.writeFile("size.html", "<p>x</p>\n"), false);
    const int screen = int(
        f.form->documents()->ActiveEditor()->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN));
    text.replace('%', QByteArray(screen - 1, '\n'));
    const int caret = int(text.indexOf('|'));
    text.remove(caret, 1);
    const int partner = int(text.indexOf('#'));
    text.remove(partner, 1);
    f.form->documents()->OpenDocument(f.writeFile("page.html", text), false);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    auto *b = e->findChild<BracketHighlight *>();
    // Nothing coloured yet, as before the page is first shown.
    qobject_cast<HighlightLexer *>(e->lexer())->invalidate();
    e->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, (unsigned long)caret);
    QVERIFY(b->bracket() >= 0);
    QCOMPARE(b->partner(), partner);
}

void TestBracketHighlight::withinAScreen_data() {
    QTest::addColumn<bool>("closing");  // the caret beside the closing bracket
    QTest::addColumn<int>("moreLines"); // between the brackets, beyond a screenful
    QTest::addColumn<int>("moreBytes"); // on one line, beyond the byte limit
    QTest::addColumn<bool>("found");
    QTest::newRow("a screen below") << false << 0 << -1 << true;
    QTest::newRow("a line further") << false << 1 << -1 << false;
    QTest::newRow("a line further up") << true << 1 << -1 << false;
    QTest::newRow("one line, a byte further") << false << -1 << 1 << false;
}

void TestBracketHighlight::withinAScreen() {
    QFETCH(bool, closing);
    QFETCH(int, moreLines);
    QFETCH(int, moreBytes);
    QFETCH(bool, found);
    MainFormFixture f;
    f.form->documents()->OpenDocument(f.writeFile("size.html", "<p>x</p>\n"), false);
    const int screen = int(
        f.form->documents()->ActiveEditor()->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN));
    QVERIFY(screen > 1);
    // The partner `screen` lines or SearchBytes bytes away, plus the row's extra.
    const QByteArray between =
        moreLines >= 0 ? QByteArray(screen + moreLines, '\n')
                       : QByteArray(int(BracketHighlight::SearchBytes) + moreBytes - 1, ' ');
    const QByteArray text = "<script>\nf(" + between + ");\n</script>\n";
    f.form->documents()->OpenDocument(f.writeFile("page.html", text), false);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    auto *b = e->findChild<BracketHighlight *>();
    const int open = int(text.indexOf('(')), close = int(text.indexOf(')'));
    e->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, (unsigned long)(closing ? close : open));
    QCOMPARE(b->bracket(), closing ? close : open);
    QCOMPARE(b->partner(), found ? (closing ? open : close) : -1);
}

QTEST_MAIN(TestBracketHighlight)
#include "tst_bracket_highlight.moc"
