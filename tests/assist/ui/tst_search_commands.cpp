#include "../../authoring/ui/editor_state.h"
#include "app/settings_store.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "shell/ui/toolbar_manager.h"
#include "assist/ui/editor_search.h"
#include "assist/ui/search_commands.h"
#include "app/ui/help.h"
#include "ui/ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

namespace {
// A main window whose dialogs are answered from the fields below.
struct Search {
    MainFormFixture fx;
    // The search or replace dialog.
    QString find;
    QString with;
    QString flags; // c: case, w: whole words, r: expression, u: upwards, k: from the caret
    bool allDocuments = false;
    bool acceptSearch = true;
    QString proposed;
    int pages = 0;
    QString nbDocs;
    QStringList historyShown;
    // The confirmation: "Oui", "Non", "Tout", "Annuler".
    QStringList answers;
    QStringList labels;
    // The go-to-line box: the texts typed in turn.
    QStringList lines;
    QString lineLabel;
    QString lineShown;
    QStringList kinds; // every dialog shown

    Search() {
        fx.ui.onDialog = [this](QDialog *d) { return answer(d); };
    }

    template <typename T> T *child(QDialog *d, const char *name) {
        T *w = d->template findChild<T *>(QString::fromLatin1(name));
        if (!w) qWarning("no %s", name);
        return w;
    }

    bool answer(QDialog *d) {
        const QString kind = d->objectName();
        kinds << kind;
        if (kind == "TTextSearchDialog" || kind == "TTextReplaceDialog") {
            auto *combo = child<QComboBox>(d, "cbSearchText");
            proposed = combo->currentText();
            historyShown.clear();
            for (int i = 0; i < combo->count(); ++i)
                historyShown << combo->itemText(i);
            auto *tabs = child<QTabWidget>(d, "PageControl1");
            pages = tabs->count();
            nbDocs = child<QLabel>(d, "NbDocs")->text();
            combo->setEditText(find);
            if (kind == "TTextReplaceDialog")
                child<QComboBox>(d, "cbReplaceText")->setEditText(with);
            child<QCheckBox>(d, "cbSearchCaseSensitive")->setChecked(flags.contains('c'));
            child<QCheckBox>(d, "cbSearchWholeWords")->setChecked(flags.contains('w'));
            child<QCheckBox>(d, "cbSearchRegularExpression")->setChecked(flags.contains('r'));
            child<QCheckBox>(d, "cbSearchFromCursor")->setChecked(flags.contains('k'));
            child<QCheckBox>(d, "cbSearchSelectedOnly")->setChecked(flags.contains('s'));
            child<QRadioButton>(d, flags.contains('u') ? "rbVersLeHaut" : "rbVersLeBas")
                ->setChecked(true);
            tabs->setCurrentIndex(allDocuments && tabs->count() > 1 ? 1 : 0);
            return acceptSearch;
        }
        if (kind == "TConfirmReplaceDialog") {
            labels << child<QLabel>(d, "lblConfirmation")->text();
            const QString a = answers.isEmpty() ? QStringLiteral("Annuler") : answers.takeFirst();
            const char *name = a == "Oui"    ? "BoutOui"
                               : a == "Non"  ? "BoutNon"
                               : a == "Tout" ? "BoutTout"
                                             : "BoutAnnuler";
            child<QPushButton>(d, name)->click();
            return d->result() == QDialog::Accepted;
        }
        if (kind == "TBoiteLigne") {
            lineLabel = child<QLabel>(d, "LabelNumLigne")->text();
            lineShown = child<QLineEdit>(d, "EditLigne")->text();
            while (!lines.isEmpty()) {
                child<QLineEdit>(d, "EditLigne")->setText(lines.takeFirst());
                child<QPushButton>(d, "BoutOK")->click();
                if (d->result() == QDialog::Accepted) return true;
            }
            return false;
        }
        return false;
    }

    DocumentManager *docs() const { return fx.form->documents(); }
    TMyMwCustomEdit *active() const { return docs()->ActiveEditor(); }
    SearchCommands *commands() const { return fx.form->findChild<SearchCommands *>(); }
    void run(const char *action) {
        fx.form->actions()->action(QString::fromLatin1(action))->trigger();
    }
    QString state() const { return EditorState::get(active()); }
    QStringList messages() const {
        QStringList l;
        for (const ScriptedUi::Message &m : fx.ui.messages)
            l << m.text;
        return l;
    }
    // Tabs holding the given texts, the first one active.
    void openTabs(const QStringList &texts) {
        for (int i = 0; i < texts.size(); ++i) {
            if (i) docs()->FileNew();
            EditorState::set(active(), texts[i] + "|");
        }
        docs()->ActivateTab(0);
    }
};
} // namespace

class TstSearchCommands : public QObject {
    Q_OBJECT
private slots:
    void proposal_data();
    void proposal();
    void findNextAndPrevious();
    void notFoundShowsTheAmpersand();
    void allDocuments();
    void allDocumentsWithoutMatch_data();
    void allDocumentsWithoutMatch();
    void pages();
    void replace_data();
    void replace();
    void replaceAllDocuments();
    void invalidExpression();
    void histories();
    void optionsKept();
    void goToLine_data();
    void goToLine();
    void bookmarks();
    void bookmarkKeys_data();
    void bookmarkKeys();
    void toolbarAndHelp();
    void keys_data();
    void keys();
};

void TstSearchCommands::proposal_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("expected");
    QTest::newRow("selected word") << "un {deux} trois"
                                   << "deux";
    QTest::newRow("selection over two lines: word at the caret") << "un {deux\r\ntr}ois"
                                                                 << "trois";
    QTest::newRow("word at the caret") << "un de|ux"
                                       << "deux";
    QTest::newRow("last search text") << "un   |  "
                                      << "dernier";
}

void TstSearchCommands::proposal() {
    QFETCH(QString, state);
    QFETCH(QString, expected);
    Search s;
    s.commands()->searchText = "dernier";
    EditorState::set(s.active(), state);
    s.acceptSearch = false;
    s.run("EditFind");
    QCOMPARE(s.proposed, expected);
}

void TstSearchCommands::findNextAndPrevious() {
    Search s;
    EditorState::set(s.active(), "un deux un trois u|n");
    QVERIFY(!s.fx.form->actions()->action("EditSearchNext")->isEnabled());
    s.find = "un";
    s.run("EditFind"); // the whole document, from its start
    QCOMPARE(s.state(), QString("{un} deux un trois un"));
    QVERIFY(s.fx.form->actions()->action("EditSearchNext")->isEnabled());
    s.run("EditSearchNext");
    QCOMPARE(s.state(), QString("un deux {un} trois un"));
    s.run("EditSearchNext");
    QCOMPARE(s.state(), QString("un deux un trois {un}"));
    s.run("EditSearchPrev");
    QCOMPARE(s.state(), QString("un deux }un{ trois un"));
    s.run("EditSearchPrev");
    QCOMPARE(s.state(), QString("}un{ deux un trois un"));
    QVERIFY(s.messages().isEmpty());
    s.run("EditSearchPrev");
    QCOMPARE(s.messages(), QStringList{"Chaîne recherchée \"un\" non trouvée"});
    QCOMPARE(s.state(), QString("|un deux un trois un"));

    // Upwards in the dialog: from the end; F3 still goes down.
    s.flags = "u";
    s.run("EditFind");
    QCOMPARE(s.state(), QString("un deux un trois }un{"));
    s.run("EditSearchPrev");
    QCOMPARE(s.state(), QString("un deux }un{ trois un"));
    s.run("EditSearchNext");
    QCOMPARE(s.state(), QString("un deux un trois {un}"));
}

void TstSearchCommands::notFoundShowsTheAmpersand() {
    Search s;
    EditorState::set(s.active(), "a{bc de}f");
    s.find = "a&b";
    s.run("EditFind");
    QCOMPARE(s.fx.ui.messages.size(), 1);
    QCOMPARE(s.fx.ui.messages[0].text, QString("Chaîne recherchée \"a&b\" non trouvée"));
    QCOMPARE(s.fx.ui.messages[0].type, MsgType::Plain);
    QCOMPARE(s.state(), QString("abc de|f")); // collapsed to its end
}

void TstSearchCommands::allDocuments() {
    Search s;
    s.openTabs({"alpha", "beta", "gamma cible"});
    s.find = "cible";
    s.allDocuments = true;
    s.run("EditFind");
    QCOMPARE(s.docs()->activeIndex(), 2);
    QCOMPARE(s.state(), QString("gamma {cible}"));
    QVERIFY(s.messages().isEmpty());
    // The page is offered again, and F3 goes on through the documents.
    EditorState::set(s.docs()->EditorAt(0), "une cible|");
    s.run("EditSearchNext");
    QCOMPARE(s.docs()->activeIndex(), 0);
    QCOMPARE(s.state(), QString("une {cible}"));
}

void TstSearchCommands::allDocumentsWithoutMatch_data() {
    QTest::addColumn<bool>("replace");
    QTest::newRow("search") << false;
    QTest::newRow("replace") << true;
}

void TstSearchCommands::allDocumentsWithoutMatch() {
    // Every tab is visited, and the second one ends active: one move beyond the cycle.
    QFETCH(bool, replace);
    Search s;
    s.openTabs({"alpha", "beta", "gamma"});
    s.find = "zzz";
    s.with = "y";
    s.allDocuments = true;
    s.run(replace ? "EditReplace" : "EditFind");
    QCOMPARE(s.docs()->activeIndex(), 1);
    QCOMPARE(s.messages(), QStringList{"Chaîne recherchée \"zzz\" non trouvée"});
}

void TstSearchCommands::pages() {
    Search s;
    s.acceptSearch = false;
    s.run("EditFind");
    QCOMPARE(s.pages, 1);
    s.run("EditReplace");
    QCOMPARE(s.pages, 1);
    s.docs()->FileNew();
    s.run("EditReplace");
    QCOMPARE(s.pages, 2);
    QCOMPARE(s.nbDocs, QString("Remplace dans les 2 documents ouverts"));
    s.run("EditFind");
    QCOMPARE(s.nbDocs, QString("Recherche dans les 2 documents ouverts"));
}

void TstSearchCommands::replace_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("with");
    QTest::addColumn<QString>("flags");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("notFound");

    QTest::newRow("yes, no, yes") << "a a a"
                                  << "a"
                                  << "b"
                                  << "" << QStringList{"Oui", "Non", "Oui"} << "b a b" << 3
                                  << false;
    QTest::newRow("all") << "a a a"
                         << "a"
                         << "b"
                         << "" << QStringList{"Tout"} << "b b b" << 1 << false;
    QTest::newRow("yes then all") << "a a a"
                                  << "a"
                                  << "b"
                                  << "" << QStringList{"Oui", "Tout"} << "b b b" << 2 << false;
    QTest::newRow("cancel") << "a a a"
                            << "a"
                            << "b"
                            << "" << QStringList{"Annuler"} << "a a a" << 1 << false;
    QTest::newRow("same text: nothing asked or said") << "a a"
                                                      << "a"
                                                      << "a"
                                                      << "" << QStringList{} << "a a" << 0 << false;
    QTest::newRow("case only differs: replaced")
        << "ABC abc"
        << "abc"
        << "abc"
        << "" << QStringList{"Oui"} << "abc abc" << 1 << false;
    QTest::newRow("replacement holds the text, all")
        << "a-a"
        << "a"
        << "aa"
        << "" << QStringList{"Tout"} << "aa-aa" << 1 << false;
    QTest::newRow("expression, all") << "x=1, y=22"
                                     << "(\\w)=(\\d+)"
                                     << "\\2:\\1"
                                     << "r" << QStringList{"Tout"} << "1:x, 22:y" << 1 << false;
    QTest::newRow("upwards") << "a1 a2"
                             << "a"
                             << "b"
                             << "u" << QStringList{"Oui", "Non"} << "a1 b2" << 2 << false;
    QTest::newRow("upwards, all") << "a1 a2 a3"
                                  << "a"
                                  << "b"
                                  << "u" << QStringList{"Non", "Tout"} << "b1 b2 a3" << 2 << false;
    QTest::newRow("not found") << "abc"
                               << "z"
                               << "y"
                               << "" << QStringList{} << "abc" << 0 << true;
}

void TstSearchCommands::replace() {
    QFETCH(QString, text);
    QFETCH(QString, find);
    QFETCH(QString, with);
    QFETCH(QString, flags);
    QFETCH(QStringList, answers);
    QFETCH(QString, expected);
    QFETCH(int, questions);
    QFETCH(bool, notFound);
    Search s;
    EditorState::set(s.active(), text + "|");
    s.find = find;
    s.with = with;
    s.flags = flags;
    s.answers = answers;
    s.run("EditReplace");
    QCOMPARE(s.active()->textCrLf(), expected);
    QCOMPARE(s.labels.size(), questions);
    if (questions)
        QCOMPARE(s.labels[0],
                 QString("Voulez-vous remplacer cette occurence de \"%1\" ?").arg(find));
    QCOMPARE(s.messages(),
             notFound ? QStringList{QString("Chaîne recherchée \"%1\" non trouvée").arg(find)}
                      : QStringList{});
    // The whole replacement is one undo step.
    if (expected != text) {
        s.active()->undo();
        QCOMPARE(s.active()->textCrLf(), text);
        QVERIFY(!s.active()->isUndoAvailable());
    }
}

void TstSearchCommands::replaceAllDocuments() {
    Search s;
    s.openTabs({"a a", "b a", "a"});
    s.find = "a";
    s.with = "c";
    s.allDocuments = true;
    s.answers = {"Non", "Tout"};
    s.run("EditReplace");
    QCOMPARE(s.docs()->EditorAt(0)->textCrLf(), QString("a c"));
    QCOMPARE(s.docs()->EditorAt(1)->textCrLf(), QString("b c"));
    QCOMPARE(s.docs()->EditorAt(2)->textCrLf(), QString("c"));
    QCOMPARE(s.labels.size(), 2); // "Tout" in the first document answers for the others
    QCOMPARE(s.docs()->activeIndex(), 0);
    QVERIFY(s.messages().isEmpty());

    // "Annuler" stops the whole run.
    s.openTabs({"x", "x", "x"});
    for (int i = 0; i < 3; ++i)
        EditorState::set(s.docs()->EditorAt(i), "x|");
    s.find = "x";
    s.answers = {"Oui", "Annuler"};
    s.labels.clear();
    s.run("EditReplace");
    QCOMPARE(s.docs()->EditorAt(0)->textCrLf(), QString("c"));
    QCOMPARE(s.docs()->EditorAt(1)->textCrLf(), QString("x"));
    QCOMPARE(s.docs()->EditorAt(2)->textCrLf(), QString("x"));
    QCOMPARE(s.labels.size(), 2);
}

void TstSearchCommands::invalidExpression() {
    Search s;
    EditorState::set(s.active(), "a (b|");
    s.find = "(b";
    s.with = "x";
    s.flags = "r";
    s.run("EditReplace");
    QCOMPARE(s.fx.ui.messages.size(), 1);
    QVERIFY(s.fx.ui.messages[0].text.startsWith("Expression régulière incorrecte : "));
    QCOMPARE(s.fx.ui.messages[0].type, MsgType::Error);
    QCOMPARE(s.active()->textCrLf(), QString("a (b"));
    // Without the option the same text is found as it is.
    s.flags = "";
    s.answers = {"Oui"};
    s.run("EditReplace");
    QCOMPARE(s.active()->textCrLf(), QString("a x"));
}

void TstSearchCommands::histories() {
    Search s;
    for (int i = 0; i < 12; ++i) {
        s.find = QString("t%1").arg(i);
        s.run("EditFind");
    }
    s.find = "t5";
    s.run("EditFind");
    QStringList expected{"t5", "t11", "t10", "t9", "t8", "t7", "t6", "t4", "t3", "t2"};
    QCOMPARE(s.commands()->searchHistory, expected);
    s.find = "";
    s.run("EditFind"); // an empty text is not kept and searches nothing
    QCOMPARE(s.historyShown, expected);
    QCOMPARE(s.commands()->searchHistory, expected);
    s.find = "r";
    s.with = "w1";
    s.answers = {"Annuler"};
    s.run("EditReplace");
    s.with = "w2";
    s.run("EditReplace");
    QCOMPARE(s.commands()->replaceHistory, (QStringList{"w2", "w1"}));
}

void TstSearchCommands::optionsKept() {
    Search s;
    s.find = "x";
    s.flags = "crku";
    s.run("EditFind");
    const SearchFlags &f = s.fx.options.search;
    QVERIFY(f.caseSensitive && f.regularExpression && f.fromCaret && f.backwards && !f.wholeWords);
    QVERIFY(!s.fx.options.replace.regularExpression);
    // Over all documents, the caret options are stored off.
    s.docs()->FileNew();
    s.allDocuments = true;
    s.flags = "ksw";
    s.run("EditFind");
    QVERIFY(!f.fromCaret && !f.selectionOnly && f.wholeWords);
    s.fx.form->close();
    QVERIFY(s.fx.store->readBool("Search", "SearchWholeWords", false));
    QVERIFY(!s.fx.store->readBool("Search", "SearchRegularExpression", true));
}

void TstSearchCommands::goToLine_data() {
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("refusals");
    QTest::newRow("a line") << 5 << QStringList{"3"} << 3 << 0;
    QTest::newRow("beyond, then a line") << 5 << QStringList{"9", "2"} << 2 << 1;
    QTest::newRow("not a number") << 5 << QStringList{"abc"} << 1 << 0;
    QTest::newRow("beyond only") << 5 << QStringList{"6"} << 4 << 1;
    QTest::newRow("six digits") << 120000 << QStringList{"100000"} << 100000 << 0;
}

void TstSearchCommands::goToLine() {
    QFETCH(int, lineCount);
    QFETCH(QStringList, typed);
    QFETCH(int, expected);
    QFETCH(int, refusals);
    Search s;
    QStringList lines;
    for (int i = 1; i <= lineCount; ++i)
        lines << QString("  ligne %1").arg(i);
    EditorState::set(s.active(), lines.join("\r\n"));
    s.active()->setCaretXY({4, 4});
    s.lines = typed;
    s.run("EditAllerA");
    QCOMPARE(s.lineLabel, QString("Numéro de ligne : (1 - %1)").arg(lineCount));
    QCOMPARE(s.lineShown, QString("4"));
    QCOMPARE(s.fx.ui.messages.size(), refusals);
    if (refusals) QCOMPARE(s.fx.ui.messages[0].text, QString("Numéro de ligne hors limite"));
    const TextPos caret = s.active()->caretXY();
    QCOMPARE(caret.line, expected);
    QCOMPARE(caret.col, expected == 4 && refusals ? 4 : 1);
    QVERIFY(!s.active()->selAvail());
}

void TstSearchCommands::bookmarks() {
    Search s;
    TMyMwCustomEdit *e = s.active();
    EditorState::set(e, "un\r\ndeux\r\ntrois\r\nquatre\r\ncinq");
    QCOMPARE(e->SendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, 1UL), 0L);
    e->setCaretXY({3, 2});
    s.run("BookmarkToggle4");
    QCOMPARE(Bookmarks::line(e, 4), 2);
    QVERIFY(e->SendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, 1UL) > 0);
    e->setCaretXY({2, 5});
    s.run("BookmarkToggle7");
    e->setCaretXY({1, 1});
    s.run("BookmarkGoto4");
    QCOMPARE(e->caretXY(), (TextPos{3, 2}));
    // Lines inserted above move the mark with its line.
    e->insertLine(0, "zéro");
    s.run("BookmarkGoto7");
    QCOMPARE(e->caretXY(), (TextPos{2, 6}));
    // Toggling on the mark's line clears it; elsewhere it moves it.
    e->setCaretXY({1, 3});
    s.run("BookmarkToggle4");
    QCOMPARE(Bookmarks::line(e, 4), 0);
    s.run("BookmarkGoto4");
    QCOMPARE(e->caretXY(), (TextPos{1, 3}));
    e->setCaretXY({2, 1});
    s.run("BookmarkToggle7");
    QCOMPARE(Bookmarks::line(e, 7), 1);
    // Each document has its own marks.
    s.docs()->FileNew();
    QCOMPARE(Bookmarks::line(s.active(), 7), 0);
    s.run("BookmarkGoto7");
    QCOMPARE(s.active()->caretXY(), (TextPos{1, 1}));
    s.docs()->ActivateTab(0);
    s.run("BookmarkClear");
    QCOMPARE(Bookmarks::line(e, 7), 0);
    QCOMPARE(e->SendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, 1UL), 0L);
}

void TstSearchCommands::bookmarkKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("digit");
    QTest::newRow("French key 1") << int(Qt::Key_Ampersand) << "&" << 1;
    QTest::newRow("French key 4") << int(Qt::Key_Apostrophe) << "'" << 4;
    QTest::newRow("French key 9") << int(Qt::Key_Ccedilla) << "ç" << 9;
    QTest::newRow("digit key") << int(Qt::Key_3) << "3" << 3;
}

void TstSearchCommands::bookmarkKeys() {
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, digit);
    Search s;
    TMyMwCustomEdit *e = s.active();
    QStringList lines;
    for (int i = 0; i < 12; ++i)
        lines << QString("ligne %1").arg(i);
    EditorState::set(e, lines.join("\r\n"));
    e->setFocus();
    // Ctrl+Shift+digit sets the marks: the shortcut as a keyboard gives it.
    for (int d = 0; d < 10; ++d) {
        e->setCaretXY({3, d + 2});
        QTest::keyClick(e, Qt::Key(Qt::Key_0 + d), Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Bookmarks::line(e, d), d + 2);
    }
    e->setCaretXY({1, 1});
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier, text);
    QApplication::sendEvent(e, &press);
    QCOMPARE(e->caretXY(), (TextPos{3, digit + 2}));
    QCOMPARE(e->textCrLf(), lines.join("\r\n")); // nothing typed
}

void TstSearchCommands::toolbarAndHelp() {
    Search s;
    QToolBar *bar = s.fx.form->toolbarManager()->toolbar("TBRecherche");
    QVERIFY(bar);
    QVERIFY(!bar->isHidden());
    QStringList names;
    for (QAction *a : bar->actions())
        names << a->objectName();
    QCOMPARE(names, (QStringList{"EditFind", "EditSearchPrev", "EditSearchNext", "EditReplace"}));

    // Every dialog's "Aide" opens its own page, which exists.
    QStringList topics;
    setHelpHandler([&topics](const QString &t) { topics << t; });
    s.fx.ui.onDialog = [](QDialog *d) {
        d->findChild<QPushButton *>("BoutAide")->click();
        return false;
    };
    s.run("EditFind");
    s.run("EditReplace");
    s.run("EditAllerA");
    setHelpHandler({});
    QCOMPARE(topics, (QStringList{"Ressources/rechercher.htm", "Ressources/remplacer.htm",
                                  "Ressources/aller_a_la_ligne.htm"}));
    for (const QString &t : topics)
        QVERIFY2(QFile::exists(QStringLiteral(BALIZOR_SOURCE_DIR "/resources/") + t),
                 qPrintable(t));
}

void TstSearchCommands::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("Ctrl+F") << int(Qt::Key_F) << int(Qt::ControlModifier) << "TTextSearchDialog";
    QTest::newRow("Ctrl+H") << int(Qt::Key_H) << int(Qt::ControlModifier) << "TTextReplaceDialog";
    QTest::newRow("Ctrl+G") << int(Qt::Key_G) << int(Qt::ControlModifier) << "TBoiteLigne";
}

void TstSearchCommands::keys() {
    // The keys reach the window's commands from the editor.
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, dialog);
    Search s;
    s.acceptSearch = false;
    s.active()->setFocus();
    QTest::keyClick(s.active(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(s.kinds, QStringList{dialog});
}

QTEST_MAIN(TstSearchCommands)
#include "tst_search_commands.moc"
