// Spelling in a real window: the underline on the page's misspelt words only, the
// context menu's suggestion replacing the word as one undo step, the personal word
// list, and the Outils entry remembered.
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "assist/ui/spelling_module.h"
#include "shell/ui/main_form.h"
#include "ui_test_support.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

namespace {

const QByteArray Page = "<html lang=\"fr\">\n<head><title>Essai</title>\n"
                        "<style>body { colr: rouje }</style></head>\n"
                        "<body class=\"zorglub\">\n<!-- commentairre -->\n"
                        "<p>Une bonne nouvele pour tous.</p>\n"
                        "<script>var maisonn = 1;</script>\n</body></html>\n";

void turnOn(SettingsStore &s) {
    s.writeBool(SpellingModule::settingsSection(), QStringLiteral("Active"), true);
}

// The [start, end) runs of the underline.
QList<QPair<int, int>> underlined(TMyMwCustomEdit *e) {
    QList<QPair<int, int>> runs;
    const int length = int(e->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    int p = 0;
    while (p < length) {
        const int end = int(e->SendScintilla(QsciScintillaBase::SCI_INDICATOREND,
                                             SpellingModule::Indicator, long(p)));
        if (e->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, SpellingModule::Indicator,
                             long(p)))
            runs << qMakePair(p, end);
        if (end <= p) break;
        p = end;
    }
    return runs;
}

QMenu *openMenuAt(TMyMwCustomEdit *e, int position) {
    const QPoint at(
        int(e->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, long(position))) + 2,
        int(e->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, long(position))) + 2);
    QContextMenuEvent ev(QContextMenuEvent::Mouse, at, e->viewport()->mapToGlobal(at));
    QApplication::sendEvent(e->viewport(), &ev);
    return e->findChild<QMenu *>(QStringLiteral("SpellingPopup"));
}

} // namespace

class TestSpellingModule : public QObject {
    Q_OBJECT
private slots:
    void underlineAndMenu();
    void toggleRemembered();
    void languageChosen();
};

void TestSpellingModule::underlineAndMenu() {
    MainFormFixture f({}, true, turnOn);
    auto *module = f.form->findChild<SpellingModule *>();
    QVERIFY(module && module->isOn());
    module->setPersonalWordsPath(f.path(QStringLiteral("perso/Orthographe/personnel.dic")));
    QSignalSpy checked(module, &SpellingModule::documentChecked);
    f.form->documents()->OpenDocument(f.writeFile("page.html", Page), false);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    QVERIFY(checked.wait(10000));
    const int word = int(Page.indexOf("nouvele"));
    QCOMPARE(underlined(e), (QList<QPair<int, int>>{{word, word + 7}}));

    // A suggestion replaces the word, and one undo brings it back.
    QMenu *menu = openMenuAt(e, word + 2);
    QVERIFY(menu);
    QTRY_VERIFY_WITH_TIMEOUT(!menu->findChildren<QAction *>("OrthographeSuggestion").isEmpty(),
                             10000);
    QAction *first = menu->findChildren<QAction *>("OrthographeSuggestion").first();
    QCOMPARE(first->text(), QStringLiteral("nouvelle"));
    QVERIFY(menu->actions().contains(f.form->findChild<QAction *>("EditCopy1")));
    first->trigger();
    menu->close();
    QVERIFY(e->text().contains("Une bonne nouvelle pour"));
    e->undo();
    QVERIFY(e->text().contains("Une bonne nouvele pour"));
    QVERIFY(checked.wait(10000));
    QCOMPARE(underlined(e).size(), 1);

    // Added to the dictionary: no longer underlined, kept in a private file.
    menu = openMenuAt(e, word + 2);
    QVERIFY(menu);
    menu->findChild<QAction *>("OrthographeAjouter")->trigger();
    menu->close();
    QTRY_VERIFY_WITH_TIMEOUT(underlined(e).isEmpty(), 10000);
    const QString list = f.path(QStringLiteral("perso/Orthographe/personnel.dic"));
    QTRY_VERIFY(QFileInfo::exists(list));
    QCOMPARE(QFile::permissions(list) & 0x0077, QFile::Permissions());
    QFile file(list);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("nouvele\n"));
}

void TestSpellingModule::toggleRemembered() {
    MainFormFixture f({}, true, turnOn);
    auto *module = f.form->findChild<SpellingModule *>();
    QSignalSpy checked(module, &SpellingModule::documentChecked);
    f.form->documents()->OpenDocument(f.writeFile("page.html", Page), false);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    QVERIFY(checked.wait(10000));
    QCOMPARE(underlined(e).size(), 1);
    QAction *toggle = f.form->findChild<QAction *>("OutilsOrthographe");
    QVERIFY(toggle->isCheckable());
    toggle->trigger();
    QVERIFY(underlined(e).isEmpty());
    QVERIFY(!f.store->readBool(SpellingModule::settingsSection(), "Active", true));
    // Off: typing a wrong word underlines nothing.
    e->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, 8UL, " zorglub");
    QTest::qWait(SpellingModule::PauseMs * 2);
    QVERIFY(underlined(e).isEmpty());
}

void TestSpellingModule::languageChosen() {
    // Text without a lang attribute is in the language chosen in the menu.
    MainFormFixture f({}, true, turnOn);
    auto *module = f.form->findChild<SpellingModule *>();
    QSignalSpy checked(module, &SpellingModule::documentChecked);
    f.form->documents()->OpenDocument(f.writeFile("note.html", "<p>Brown fox jumps wrold</p>\n"),
                                      false);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    QVERIFY(checked.wait(10000));
    QCOMPARE(underlined(e).size(), 2);
    auto *menu = f.form->findChild<QMenu *>("MenuLangueOrthographe");
    QAction *english = nullptr;
    for (QAction *a : menu->actions())
        if (a->text().endsWith("en_US")) english = a;
    QVERIFY(english);
    english->trigger();
    QVERIFY(checked.wait(10000));
    QCOMPARE(underlined(e), (QList<QPair<int, int>>{{19, 24}}));
    QCOMPARE(f.store->readString(SpellingModule::settingsSection(), "Langue", {}), "en_US");
}

QTEST_MAIN(TestSpellingModule)
#include "tst_spelling_module.moc"
