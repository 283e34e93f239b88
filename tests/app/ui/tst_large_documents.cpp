// What typing costs in an editor, checked by what it does rather than by the clock:
// editors keep the light accessibility interface while no assistive tool listens.
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
    void accessibility_data();
    void accessibility();
    void cleanup() { QAccessible::setActive(false); }

private:
    static TMyMwCustomEdit *editor(MainFormFixture &f) {
        return f.form->documents()->ActiveEditor();
    }
};

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
