// Completion in a real window: typing, the trigger delay, accepting rows.
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "assist/ui/completion_module.h"
#include "assist/ui/completion_popup.h"
#include "ui_test_support.h"

#include <QListWidget>
#include <QTest>

class TestCompletionUi : public QObject {
    Q_OBJECT
private slots:
    void typing_data();
    void typing();
    void keyWithinDelayCancels();
    void notInScript();
    void compHtmlOff();
    void titleRowFirst();
};

namespace {

TMyMwCustomEdit *htmlEditor(MainFormFixture &f) {
    f.form->documents()->OpenDocument(f.writeFile("page.html", "\n"), false);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    e->setFocus();
    return e;
}

// Types text; a "|" waits past the trigger delay.
void type(TMyMwCustomEdit *e, const QString &keys) {
    for (QChar c : keys) {
        if (c == QLatin1Char('|'))
            QTest::qWait(CompletionModule::TriggerDelayMs + 40);
        else if (c == QLatin1Char('\n'))
            QTest::keyClick(e, Qt::Key_Return);
        else if (c == QLatin1Char('\t'))
            QTest::keyClick(e, Qt::Key_Tab);
        else if (c == QLatin1Char('^'))
            QTest::keyClick(e, Qt::Key_Space, Qt::ControlModifier);
        else if (c == QLatin1Char('~'))
            QTest::keyClick(e, Qt::Key_Down);
        else if (c == QLatin1Char('#'))
            QTest::keyClick(e, Qt::Key_Backspace);
        else if (c == QLatin1Char('`'))
            QTest::keyClick(e, Qt::Key_Escape);
        else
            QTest::keyClick(e, c.toLatin1());
    }
}

} // namespace

void TestCompletionUi::typing_data() {
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::newRow("<ta Enter") << false << "<|ta\n"
                               << "<table";
    QTest::newRow("<ta Enter under Casse") << true << "<|ta\n"
                                           << "<TABLE";
    QTest::newRow("<ta >") << false << "<|ta>"
                           << "<table>";
    QTest::newRow("<TA > under Casse") << true << "<|TA>"
                                       << "<TABLE>";
    // The title row chooses nothing: Enter and Tab do what they do without the list.
    QTest::newRow("title row and Tab") << false << "<|\t"
                                       << "<   "; // Tab indents with spaces here
    QTest::newRow("custom element and Enter") << false << "<|xyz\nfin"
                                              << "<xyz\nfin";
    QTest::newRow("custom element and Tab") << false << "<|xyz\t"
                                            << "<xyz    ";
    QTest::newRow("attributes of td without a space, Enter") << false << "<td^\nfin"
                                                             << "<td\nfin";
    QTest::newRow("back to the title row, Enter") << false << "<|t#\n"
                                                  << "<\n";
    QTest::newRow("> on the title row closes") << false << "<|zz>"
                                               << "<zz>";
    QTest::newRow("attributes of td") << false << "<td ^bg\t"
                                      << "<td bgcolor";
    QTest::newRow("attributes of TD under Casse") << true << "<TD ^bg\t"
                                                  << "<TD BGCOLOR";
    QTest::newRow("next row") << false << "<|ta~\n"
                              << "<tbody";
    QTest::newRow("backspace shortens the run") << false << "<|tix##a\t"
                                                << "<table";
    QTest::newRow("escape leaves the text") << false << "<|ta`\n"
                                            << "<ta\n";
    QTest::newRow("word break after a row: - accepts") << false << "<|ta-"
                                                       << "<table-";
    QTest::newRow("closing row") << false << "<|/tit\t"
                                 << "</title";
}

void TestCompletionUi::typing() {
    QFETCH(bool, casse);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    MainFormFixture f;
    f.options.casse = casse;
    TMyMwCustomEdit *e = htmlEditor(f);
    type(e, keys);
    QStringList lines;
    for (int i = 0; i < e->lineCountAsList(); ++i)
        lines << e->lineAt(i);
    QCOMPARE(lines.join('\n'), text);
    auto *popup = f.form->findChild<CompletionPopup *>(QStringLiteral("SynComp"));
    QVERIFY(popup);
    QVERIFY(!popup->isVisible() || keys.endsWith('|'));
    // One undo step takes the accepted row back to what was typed.
    if (text.endsWith("table", Qt::CaseInsensitive) && !keys.contains(QLatin1Char('#'))) {
        e->undo();
        QString typed = keys;
        typed.remove('|').remove('\n').remove('\t');
        QCOMPARE(e->lineAt(0), typed);
    }
}

void TestCompletionUi::keyWithinDelayCancels() {
    MainFormFixture f;
    TMyMwCustomEdit *e = htmlEditor(f);
    type(e, "<ta|");
    auto *popup = f.form->findChild<CompletionPopup *>(QStringLiteral("SynComp"));
    QVERIFY(!popup->isVisible());
    type(e, "\n");
    QCOMPARE(e->lineAt(0), QStringLiteral("<ta"));
}

void TestCompletionUi::notInScript() {
    MainFormFixture f;
    f.form->documents()->OpenDocument(f.writeFile("page.html", "<script>\n\n</script>\n"), false);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    e->setCaretXY({1, 2});
    type(e, "<|");
    auto *popup = f.form->findChild<CompletionPopup *>(QStringLiteral("SynComp"));
    QVERIFY(!popup->isVisible());
    e->setCaretXY({1, 4});
    type(e, "<|");
    QVERIFY(popup->isVisible());
}

void TestCompletionUi::compHtmlOff() {
    MainFormFixture f;
    TMyMwCustomEdit *e = htmlEditor(f);
    auto *module = f.form->findChild<CompletionModule *>();
    QVERIFY(module->isAttached(e));
    f.options.compHTML = false;
    emit f.form->findChild<AppEvents *>()->preferencesApplied();
    QVERIFY(!module->isAttached(e));
    type(e, "<|ta\n");
    QCOMPARE(e->lineAt(0), QStringLiteral("<ta"));
}

void TestCompletionUi::titleRowFirst() {
    MainFormFixture f;
    TMyMwCustomEdit *e = htmlEditor(f);
    type(e, "<|td ^");
    auto *popup = f.form->findChild<CompletionPopup *>(QStringLiteral("SynComp"));
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->selectedRow(), 0);
    QCOMPARE(popup->listWidget()->item(0)->text(), QStringLiteral("Liste des attributs :"));
    QCOMPARE(popup->listWidget()->item(1)->text(), QStringLiteral("abbr"));
    // The title row selected: an end character closes and is typed.
    type(e, "=");
    QVERIFY(!popup->isVisible());
    QCOMPARE(e->lineAt(0), QStringLiteral("<td ="));
}

QTEST_MAIN(TestCompletionUi)
#include "tst_completion_ui.moc"
