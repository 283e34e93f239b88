// What typing costs in an editor, checked by what it does rather than by the clock:
// the text buffer has room left after a load, editors keep the light accessibility
// interface while no assistive tool listens, and a large document is coloured in
// the background, exactly as it would be all at once.
#include "app/ui/document_manager.h"
#include "app/ui/document_type_module.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "editor/ui/highlight_lexer.h"
#include "ui_test_support.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QSet>
#include <QTest>

class TstLargeDocuments : public QObject {
    Q_OBJECT
private slots:
    void roomToTypeAfterLoad_data();
    void roomToTypeAfterLoad();
    void accessibility_data();
    void accessibility();
    void colouringAhead_data();
    void colouringAhead();
    void cleanup() { QAccessible::setActive(false); }

private:
    static TMyMwCustomEdit *editor(MainFormFixture &f) {
        return f.form->documents()->ActiveEditor();
    }
};

namespace {
QByteArray lines(qsizetype size) {
    const QByteArray line = "<p>Un paragraphe <b>en gras</b>.</p>\n";
    QByteArray out;
    while (out.size() < size)
        out += line;
    out.truncate(size);
    return out;
}

// Where the text buffer starts; moves only when the buffer is allocated anew.
const void *bufferStart(TMyMwCustomEdit *e) {
    return reinterpret_cast<const void *>(
        e->SendScintilla(QsciScintillaBase::SCI_GETRANGEPOINTER, 0UL, 0L));
}
} // namespace

void TstLargeDocuments::roomToTypeAfterLoad_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("key"); // key typed
    QTest::addColumn<int>("at");      // caret position, in thousandths of the text
    QTest::newRow("tiny, at the start") << 10 << "x" << 0;
    QTest::newRow("1 MB, at the start") << (1 << 20) << "x" << 0;
    QTest::newRow("1 MB, in the middle") << (1 << 20) << "x" << 500;
    QTest::newRow("1 MB, at the end") << (1 << 20) << "x" << 1000;
    QTest::newRow("1 MB, Enter at the end") << (1 << 20) << "\n" << 1000;
    QTest::newRow("4 MB, at the end") << (4 << 20) << "x" << 1000;
    QTest::newRow("4 MB, a word at the end") << (4 << 20) << "abcdefghij" << 1000;
}

// The first keystrokes after a load go into the buffer's free room: a buffer loaded
// full is copied whole into a larger one at the first keystroke.
void TstLargeDocuments::roomToTypeAfterLoad() {
    QFETCH(int, size);
    QFETCH(QString, key);
    QFETCH(int, at);
    MainFormFixture f;
    TMyMwCustomEdit *e = editor(f);
    LoadedText text;
    text.utf8 = lines(size);
    text.lineBreak = LineBreak::Lf;
    e->setLoadedText(text);
    e->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, (unsigned long)(qint64(size) * at / 1000));
    e->setFocus();
    const void *before = bufferStart(e);
    for (QChar c : key) {
        if (c == QLatin1Char('\n'))
            QTest::keyClick(e, Qt::Key_Return);
        else
            QTest::keyClick(e, c.toLatin1());
    }
    QCOMPARE(e->utf8Length(), qsizetype(size + key.size()));
    QCOMPARE(bufferStart(e), before);
}

void TstLargeDocuments::accessibility_data() {
    QTest::addColumn<int>("tool"); // 0: none, 1: listening from the start, 2: starts later
    QTest::addColumn<bool>("textInterface");
    QTest::newRow("no assistive tool") << 0 << false;
    QTest::newRow("tool listening from the start") << 1 << true;
    QTest::newRow("tool started while the editor is shown") << 2 << true;
}

// While no tool listens, an editor's accessibility interface has no text part (the
// component's one counts characters from the start of the text at every change);
// once a tool listens, it gets the full interface, with the document's text.
void TstLargeDocuments::accessibility() {
    QFETCH(int, tool);
    QFETCH(bool, textInterface);
    if (tool == 1) QAccessible::setActive(true);
    MainFormFixture f;
    TMyMwCustomEdit *e = editor(f);
    LoadedText text;
    text.utf8 = "<p>Été</p>\n<p>Hiver</p>\n";
    text.lineBreak = LineBreak::Lf;
    e->setLoadedText(text);
    e->setFocus();
    QTest::keyClick(e, 'x');
    if (tool == 2) QAccessible::setActive(true);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(e);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::EditableText);
    QAccessibleTextInterface *t = iface->textInterface();
    QCOMPARE(t != nullptr, textInterface);
    if (t) QCOMPARE(t->text(0, t->characterCount()), QStringLiteral("x<p>Été</p>\n<p>Hiver</p>\n"));
}

void TstLargeDocuments::colouringAhead_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("background");
    QTest::newRow("small page: coloured as shown") << 200000 << false;
    QTest::newRow("3 MB page: the rest in the background") << (3 << 20) << true;
}

// The styles the background work leaves are the ones colouring the whole text at
// once gives, and the editor knows the whole text is coloured.
void TstLargeDocuments::colouringAhead() {
    QFETCH(int, size);
    QFETCH(bool, background);
    MainFormFixture f;
    QByteArray page = "<html><head><style>\n p { color: red }\n</style></head><body>\n";
    page += lines(size);
    page += "<script>\nvar x = '<p>';\n</script></body></html>\n";
    const QString path = f.writeFile(QStringLiteral("page.html"), page);
    f.form->documents()->OpenDocument(path, false);
    TMyMwCustomEdit *e = editor(f);
    HighlightLexer *lexer = DocumentTypeModule::lexerOf(e);
    QVERIFY(lexer);
    e->repaint(); // the first screen is coloured as it is drawn
    QCOMPARE(lexer->colouringAhead(), background);
    QTRY_VERIFY_WITH_TIMEOUT(!lexer->colouringAhead(), 30000);
    const long length = e->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    if (background) QCOMPARE(e->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED), length);
    const long styled = e->SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
    QByteArray ahead(styled, '\0');
    for (long i = 0; i < styled; ++i)
        ahead[i] = char(e->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, (unsigned long)i));
    // The same text coloured all at once.
    lexer->invalidate();
    e->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
    QByteArray whole(length, '\0');
    for (long i = 0; i < length; ++i)
        whole[i] = char(e->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, (unsigned long)i));
    QVERIFY(ahead == whole.left(ahead.size()));
    // Coloured for real: markup, style sheet and script each have their styles.
    QSet<char> styles;
    for (char c : whole)
        styles.insert(c);
    QVERIFY2(styles.size() >= 6, qPrintable(QString::number(styles.size())));
}

QTEST_MAIN(TstLargeDocuments)
#include "tst_large_documents.moc"
