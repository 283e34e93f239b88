// What typing costs in an editor, checked by what it does rather than by the clock:
// the text buffer has room left after a load, and editors keep the light
// accessibility interface while no assistive tool listens.
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "app/ui/main_form.h"
#include "ui_test_support.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QTest>

class TstLargeDocuments : public QObject {
    Q_OBJECT
private slots:
    void roomToTypeAfterLoad_data();
    void roomToTypeAfterLoad();
    void accessibility_data();
    void accessibility();
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

QTEST_MAIN(TstLargeDocuments)
#include "tst_large_documents.moc"
