// The tag reference window: inserting tags and examples into the active document.
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "assist/tag_reference.h"
#include "assist/ui/tag_ref_boite.h"
#include "ui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QTest>

class TestTagRefBoite : public QObject {
    Q_OBJECT
private slots:
    void insertTag_data();
    void insertTag();
    void insertExampleWithKey();
    void toggleAndCheck();
};

namespace {

TTagRefBoite *openReference(MainFormFixture &f) {
    QAction *a = f.form->findChild<QAction *>(QStringLiteral("OutilsMarqueurs"));
    a->trigger();
    auto *box = f.form->findChild<TTagRefBoite *>();
    box->activateWindow();
    if (!QTest::qWaitForWindowActive(box)) qWarning("reference window not active");
    return box;
}

} // namespace

void TestTagRefBoite::insertTag_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("result"); // the document after, "photo.jpg" being selected
    QTest::newRow("img around a file name")
        << "<IMG>" << false << "<img src=\"photo.jpg\" alt=\"\">";
    QTest::newRow("img under Casse") << "<IMG>" << true << "<IMG SRC=\"photo.jpg\" ALT=\"\">";
    QTest::newRow("br before the selection") << "<BR>" << false << "<br>photo.jpg";
    QTest::newRow("noframe") << "<NOFRAME>" << false << "<noframes>photo.jpg</noframes>";
    QTest::newRow("map gets its end tag") << "<MAP>" << false << "<map>photo.jpg</map>";
    QTest::newRow("section") << "<SECTION>" << true << "<SECTION>photo.jpg</SECTION>";
}

void TestTagRefBoite::insertTag() {
    QFETCH(QString, key);
    QFETCH(bool, casse);
    QFETCH(QString, result);
    MainFormFixture f;
    f.options.casse = casse;
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    e->replaceAllText(QStringLiteral("photo.jpg"));
    e->selectRange({1, 1}, {10, 1});
    TTagRefBoite *box = openReference(f);
    QVERIFY(box && box->isVisible());
    auto *list = box->findChild<QListWidget *>(QStringLiteral("Combo1"));
    QCOMPARE(list->item(2)->text(), casse ? QString("<A>") : QString("<a>"));
    box->selectEntry(TagReference::indexOf(key));
    list->scrollToItem(list->currentItem());
    QTest::qWait(20);
    const QPoint at = list->visualItemRect(list->currentItem()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualItemRect(list->currentItem()).center());
    QCOMPARE(e->lineAt(0), result);
    QVERIFY(box->isVisible());
}

void TestTagRefBoite::insertExampleWithKey() {
    MainFormFixture f;
    f.options.casse = true;
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    TTagRefBoite *box = openReference(f);
    box->selectEntry(TagReference::indexOf("<B>"));
    auto *list = box->findChild<QListWidget *>(QStringLiteral("Combo1"));
    // Ctrl+Insert belongs to the list only.
    auto *insertExample = list->findChild<QAction *>(QStringLiteral("Insrerlexemple1"));
    QCOMPARE(insertExample->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    QCOMPARE(insertExample->shortcutContext(), Qt::WidgetShortcut);
    insertExample->trigger();
    // The example follows Casse in its tags only.
    QCOMPARE(e->lineAt(0), QStringLiteral("lisez <B>attentivement</B> les explications"));
    // The copy button puts the example on the clipboard.
    QApplication::clipboard()->clear();
    box->findChild<QWidget *>(QStringLiteral("SpeedButton1"))->setFocus();
    box->copyExample();
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("lisez <B>attentivement</B> les explications"));
    // In the editor, Ctrl+Insert stays Copy.
    e->setFocus();
    e->selectRange({1, 1}, {6, 1});
    QTest::keyClick(e, Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(e->lineAt(0), QStringLiteral("lisez <B>attentivement</B> les explications"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("lisez"));
}

void TestTagRefBoite::toggleAndCheck() {
    MainFormFixture f;
    QAction *a = f.form->findChild<QAction *>(QStringLiteral("OutilsMarqueurs"));
    QCOMPARE(a->text(), QStringLiteral("Afficher la boîte des marqueurs"));
    TTagRefBoite *box = openReference(f);
    QVERIFY(a->isChecked());
    box->selectEntry(5);
    a->trigger();
    QVERIFY(!box->isVisible());
    QVERIFY(!a->isChecked());
    a->trigger();
    QVERIFY(box->isVisible());
    QCOMPARE(box->currentEntry(), 5); // hiding keeps the selection
}

QTEST_MAIN(TestTagRefBoite)
#include "tst_tag_ref_boite.moc"
