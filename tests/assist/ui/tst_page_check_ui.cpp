// The page checked as one types, through the main window: underlines, the
// "Vérification" panel, the status bar count, stale results dropped, the
// remembered switch, and no check for other document types.
#include "app/settings_store.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "assist/ui/page_check_module.h"
#include "assist/ui/page_check_panel.h"
#include "shell/ui/main_form.h"
#include "ui_test_support.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

class TestPageCheckUi : public QObject {
    Q_OBJECT
private slots:
    void checkedAsOneTypes();
};

namespace {

QList<long> underlined(TMyMwCustomEdit *e) {
    QList<long> starts;
    const long n = e->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    for (long p = 0; p < n; ++p) {
        const bool on = e->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT,
                                         PageCheckModule::Indicator, p) != 0;
        const bool before = p > 0 && e->SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT,
                                                      PageCheckModule::Indicator, p - 1) != 0;
        if (on && !before) starts << p;
    }
    return starts;
}

} // namespace

void TestPageCheckUi::checkedAsOneTypes() {
    MainFormFixture f;
    auto *module = f.form->findChild<PageCheckModule *>();
    QVERIFY(module);
    QSignalSpy shown(module, &PageCheckModule::resultShown);
    f.form->documents()->OpenDocument(
        f.writeFile("page.html", "<p><b><i>x</b></i></p>\n<img src=\"absent.png\" alt=\"\">\n"),
        false);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    QVERIFY(shown.wait(5000));
    QCOMPARE(underlined(e), (QList<long>{14, 33}));
    auto *count = f.form->findChild<QToolButton *>(QStringLiteral("CompteVerification"));
    QCOMPARE(count->text(), QStringLiteral("2 problèmes"));
    QVERIFY(count->isVisible());

    // The panel lists them; a click goes to the place.
    count->click();
    PageCheckPanel *panel = module->panel();
    QVERIFY(panel->isVisible());
    auto *list = panel->findChild<QTreeWidget *>(QStringLiteral("ListeVerification"));
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(1)->text(2), QStringLiteral("Fichier introuvable : absent.png"));
    panel->goTo(1);
    QCOMPARE(e->caretXY(), (TextPos{11, 2}));

    // A result for a text typed into since its copy is dropped; the pause after the
    // typing brings the right one.
    shown.clear();
    module->checkNow();
    e->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
    e->SendScintilla(QsciScintillaBase::SCI_ADDTEXT, 4, "<div");
    QVERIFY(shown.wait(5000));
    QCOMPARE(shown.size(), 1);
    QCOMPARE(count->text(), QStringLiteral("3 problèmes"));
    QCOMPARE(list->topLevelItem(2)->text(2), QStringLiteral("L'élément <div> n'est jamais fermé"));

    // Off: nothing stays underlined, nothing is checked, and it is remembered.
    QAction *typing = f.form->findChild<QAction *>(QStringLiteral("OutilsVerifierFrappe"));
    typing->trigger();
    QVERIFY(underlined(e).isEmpty());
    QVERIFY(!count->isVisible());
    QVERIFY(
        !f.store->readBool(QStringLiteral("Options"), QStringLiteral("VerificationFrappe"), true));
    e->SendScintilla(QsciScintillaBase::SCI_ADDTEXT, 1, ">");
    QVERIFY(!shown.wait(PageCheckModule::PauseMs * 2));
    // "Vérifier la page" still checks at once.
    f.form->findChild<QAction *>(QStringLiteral("OutilsVerifierPage"))->trigger();
    QVERIFY(shown.wait(5000));
    QCOMPARE(underlined(e).size(), 3);

    // A style sheet is not a page.
    f.form->documents()->OpenDocument(f.writeFile("style.css", "p { color: red }\n"), false);
    QVERIFY(!f.form->findChild<QAction *>(QStringLiteral("OutilsVerifierPage"))->isEnabled());
    QVERIFY(!count->isVisible());
}

QTEST_MAIN(TestPageCheckUi)
#include "tst_page_check_ui.moc"
