#include "editor_state.h"

#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "shell/ui/main_form.h"
#include "ui/ui_test_support.h"

#include "authoring/ui/hr_box.h"
#include "authoring/ui/listes_boite.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QDateTime>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

class TestTextCommandsModule : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void wrapCommands_data();
    void wrapCommands();
    void fontSizes_data();
    void fontSizes();
    void characterReferences_data();
    void characterReferences();
    void characterMenus();
    void insertions_data();
    void insertions();
    void dateFollowsItsFormat();
    void listFromSelection_data();
    void listFromSelection();
    void listCancelledKeepsWidenedSelection();
    void listDialogIsKeptAndShared();
    void listWithoutSelection();
    void rule_data();
    void rule();
    void ruleConversionError();
    void keysReachActions_data();
    void keysReachActions();
    void typingStillReachesTheEditor();
    void enabledOnlyWithADocument();
    void placesInMenusAndToolbars();

private:
    TMyMwCustomEdit *editor() { return f->form->documents()->ActiveEditor(); }
    QAction *action(const QString &name) { return f->form->actions()->action(name); }
    QMenu *providedMenu(const QString &name) { return f->form->actions()->menu(name); }
    // The item of a provided menu, through its submenus' titles.
    QAction *menuItem(const QString &menu, const QStringList &path);
    // Runs a command whose dialog the script fills; undo must restore the text.
    void runAndUndo(const QString &name, const QString &before, const QString &after);
    std::unique_ptr<MainFormFixture> f;
};

QAction *TestTextCommandsModule::menuItem(const QString &menu, const QStringList &path) {
    QMenu *m = providedMenu(menu);
    for (qsizetype i = 0; m && i < path.size(); ++i) {
        const QList<QAction *> items = m->actions();
        const auto it = std::find_if(items.begin(), items.end(),
                                     [&](QAction *a) { return a->text() == path.at(i); });
        if (it == items.end()) return nullptr;
        if (i == path.size() - 1) return *it;
        m = (*it)->menu();
    }
    return nullptr;
}

void TestTextCommandsModule::runAndUndo(const QString &name, const QString &before,
                                        const QString &after) {
    EditorState::set(editor(), before);
    const QString original = editor()->textCrLf();
    QVERIFY2(action(name), qPrintable(name));
    action(name)->trigger();
    QCOMPARE(EditorState::get(editor()), after);
    editor()->undo();
    QCOMPARE(editor()->textCrLf(), original);
    QVERIFY(!editor()->isUndoAvailable());
}

void TestTextCommandsModule::init() {
    f = std::make_unique<MainFormFixture>();
    f->form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f->form.get()));
    editor()->setFocus();
}

void TestTextCommandsModule::cleanup() {
    f.reset();
}

void TestTextCommandsModule::wrapCommands_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");
    const struct {
        const char *name, *caption, *key, *opening, *closing;
    } rows[] = {
        {"StyleGras", "&Gras", "Ctrl+B", "<b>", "</b>"},
        {"StyleItalique", "&Italique", "Ctrl+I", "<i>", "</i>"},
        {"StyleSouligne", "&Souligné", "Ctrl+U", "<u>", "</u>"},
        {"StyleExposant", "Exposant", "", "<sup>", "</sup>"},
        {"StyleIndice", "Indice", "", "<sub>", "</sub>"},
        {"Barr1", "Barré", "", "<s>", "</s>"},
        {"Tltype1", "Télétype", "", "<tt>", "</tt>"},
        {"Accentuation1", "Accentuation", "", "<em>", "</em>"},
        {"Forteaccentuation1", "Forte accentuation", "", "<strong>", "</strong>"},
        {"Code1", "Code", "", "<code>", "</code>"},
        {"Variable1", "Variable", "", "<var>", "</var>"},
        {"Echantillon1", "Echantillon", "", "<samp>", "</samp>"},
        {"Clavie1", "Clavier", "", "<kbd>", "</kbd>"},
        {"Citation1", "Citation", "", "<cite>", "</cite>"},
        {"Dfinition1", "Définition", "", "<dfn>", "</dfn>"},
        {"Head1", "<H&1> (le plus grand)", "Ctrl+F1", "<h1>", "</h1>"},
        {"Head2", "<H&2>", "Ctrl+F2", "<h2>", "</h2>"},
        {"Head3", "<H&3>", "Ctrl+F3", "<h3>", "</h3>"},
        {"Head4", "<H&4>", "Ctrl+F4", "<h4>", "</h4>"},
        {"Head5", "<H&5>", "Ctrl+F5", "<h5>", "</h5>"},
        {"Head6", "<H&6> (le plus petit)", "Ctrl+F6", "<h6>", "</h6>"},
        {"TexteParagraphe", "&Paragraphe", "Ctrl+Shift+P", "<p>", "</p>"},
        {"TexteRetrait", "&Retrait", "", "<blockquote>", "</blockquote>"},
        {"TexteCommentaire", "&Commentaire", "Ctrl+Num+/", "<!-- ", " -->"},
        {"AlignementGauche", "à &gauche", "", "<div align=\"left\">", "</div>"},
        {"AlignementCentre", "&centré", "", "<div align=\"center\">", "</div>"},
        {"AlignementDroite", "à &droite", "", "<div align=\"right\">", "</div>"},
        {"Alignementjustifie", "&justifié", "", "<div style=\"text-align:justify;\">", "</div>"},
    };
    for (const auto &r : rows)
        QTest::newRow(r.name) << r.name << QString::fromUtf8(r.caption) << r.key << r.opening
                              << r.closing;
}

void TestTextCommandsModule::wrapCommands() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, key);
    QFETCH(QString, opening);
    QFETCH(QString, closing);
    QAction *a = action(name);
    QVERIFY(a);
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->statusTip(), QString(caption).remove(QLatin1Char('&')));
    QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), key);
    QVERIFY(!a->icon().isNull());

    // A selection stays selected inside; no selection leaves the caret between.
    runAndUndo(name, "un {mot} ici", "un " + opening + "{mot}" + closing + " ici");
    runAndUndo(name, "a|b", "a" + opening + "|" + closing + "b");
    runAndUndo(name, "un }mot\r\ndeux{ fin", "un " + opening + "{mot\r\ndeux}" + closing + " fin");
}

void TestTextCommandsModule::fontSizes_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("Taille") << "MenuTaille"
                            << "&Taille"
                            << "";
    QTest::newRow("Augmenter") << "MenuAugmenterTaille"
                               << "Au&gmenter la taille"
                               << "+";
    QTest::newRow("Diminuer") << "MenuDiminuerTaille"
                              << "&Diminuer la taille"
                              << "-";
}

void TestTextCommandsModule::fontSizes() {
    QFETCH(QString, menu);
    QFETCH(QString, title);
    QFETCH(QString, prefix);
    QMenu *m = providedMenu(menu);
    QVERIFY(m);
    QCOMPARE(m->title(), title);
    QStringList captions;
    for (QAction *a : m->actions())
        captions << a->text();
    QCOMPARE(captions, (QStringList{"1", "2", "3", "4", "5", "6", "7"}.replaceInStrings(
                           QRegularExpression("^"), prefix)));
    for (const QString &size : {QString("1"), QString("7")}) {
        QAction *item = menuItem(menu, {prefix + size});
        EditorState::set(editor(), "un {mot}");
        item->trigger();
        QCOMPARE(EditorState::get(editor()),
                 "un <font size=\"" + prefix + size + "\">{mot}</font>");
        editor()->undo();
        QCOMPARE(editor()->textCrLf(), "un mot");
    }
    f->options.casse = true;
    EditorState::set(editor(), "|");
    menuItem(menu, {prefix + "2"})->trigger();
    QCOMPARE(EditorState::get(editor()), "<FONT SIZE=\"" + prefix + "2\">|</FONT>");
}

void TestTextCommandsModule::characterReferences_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("numeric");
    const QString acc = "MenuCaracteresAccentues";
    const QString spe = "MenuCaracteresSpeciaux";
    QTest::newRow("a acute") << acc << QStringList{"a", "á"} << "&aacute;"
                             << "&#225;";
    QTest::newRow("e acute") << acc << QStringList{"e", "é"} << "&eacute;"
                             << "&#233;";
    QTest::newRow("o slash") << acc << QStringList{"o", "ø"} << "&oslash;"
                             << "&#248;";
    QTest::newRow("capital Y acute") << acc << QStringList{"Y", "Ý"} << "&Yacute;"
                                     << "&#221;";
    QTest::newRow("less than") << spe << QStringList{"Arithmétiques", "<"} << "&lt;"
                               << "&#60;";
    QTest::newRow("euro") << spe << QStringList{"Monétaires", "€ (Euro)"} << "&euro;"
                          << "&#128;";
    QTest::newRow("pound") << spe << QStringList{"Monétaires", "£ (Livre)"} << "&pound;"
                           << "&#163;";
    QTest::newRow("oe ligature") << spe << QStringList{"Littéraires", "œ"} << "&oelig;"
                                 << "&#156;";
    QTest::newRow("ampersand") << spe << QStringList{"Autres", "&&"} << "&amp;"
                               << "&#38;";
    QTest::newRow("trade mark") << spe << QStringList{"Autres", "™"} << "&trade;"
                                << "&#153;";
}

void TestTextCommandsModule::characterReferences() {
    QFETCH(QString, menu);
    QFETCH(QStringList, path);
    QFETCH(QString, named);
    QFETCH(QString, numeric);
    QAction *item = menuItem(menu, path);
    QVERIFY(item);
    QCOMPARE(item->statusTip(), named);
    // Inserted raw: the tag case never touches a reference.
    f->options.casse = true;
    for (bool alphabetic : {true, false}) {
        f->options.caracteresAlphabetiques = alphabetic;
        EditorState::set(editor(), "a{xyz}b");
        item->trigger();
        QCOMPARE(EditorState::get(editor()), "a" + (alphabetic ? named : numeric) + "|b");
        editor()->undo();
        QCOMPARE(editor()->textCrLf(), "axyzb");
    }
}

void TestTextCommandsModule::characterMenus() {
    QMenu *accents = providedMenu("MenuCaracteresAccentues");
    QMenu *specials = providedMenu("MenuCaracteresSpeciaux");
    QVERIFY(accents && specials);
    QCOMPARE(accents->title(), "Caractères &Accentués");
    QCOMPARE(specials->title(), "&Caractères Spéciaux");
    auto titles = [](QMenu *m) {
        QStringList l;
        for (QAction *a : m->actions())
            l << a->text();
        return l;
    };
    QCOMPARE(titles(accents),
             (QStringList{"a", "e", "i", "o", "u", "y", "A", "E", "I", "O", "U", "Y"}));
    QCOMPARE(titles(specials),
             (QStringList{"Arithmétiques", "Monétaires", "Littéraires", "Autres"}));
    QCOMPARE(titles(accents->actions().at(0)->menu()), (QStringList{"á", "à", "â", "ä", "ã"}));
    QCOMPARE(titles(accents->actions().at(11)->menu()), QStringList{"Ý"});
    int items = 0;
    for (QMenu *top : {accents, specials}) {
        for (QAction *sub : top->actions())
            items += int(sub->menu()->actions().size());
    }
    QCOMPARE(items, 86);
    QCOMPARE(menuItem("MenuCaracteresSpeciaux", {"Arithmétiques", "<"})->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_Less));
}

void TestTextCommandsModule::insertions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<bool>("xhtml");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("break") << "InsertionBreak" << false << false << "a|b"
                           << "a<br>\r\n|b";
    QTest::newRow("break over a selection") << "InsertionBreak" << false << false << "a{x\r\ny}b"
                                            << "a<br>\r\n|b";
    QTest::newRow("break keeps the indent") << "InsertionBreak" << false << false << "    mot|"
                                            << "    mot<br>\r\n    |";
    QTest::newRow("break in tag case") << "InsertionBreak" << true << false << "|"
                                       << "<BR>\r\n|";
    QTest::newRow("break in XHTML") << "InsertionBreak" << false << true << "|"
                                    << "<br />\r\n|";
    QTest::newRow("non-breaking space") << "texteEspace" << true << false << "a{x}b"
                                        << "a&nbsp;|b";
}

void TestTextCommandsModule::insertions() {
    QFETCH(QString, name);
    QFETCH(bool, casse);
    QFETCH(bool, xhtml);
    QFETCH(QString, before);
    QFETCH(QString, after);
    f->options.casse = casse;
    f->options.xhtml = xhtml;
    runAndUndo(name, before, after);
}

void TestTextCommandsModule::dateFollowsItsFormat() {
    QAction *date = action("InsertionDate");
    QCOMPARE(date->text(), "Heure/&Date");
    QCOMPARE(date->shortcut(), QKeySequence(Qt::Key_F5));
    const struct {
        int format;
        const char *pattern;
    } formats[] = {{0, "hh:mm dd/MM/yyyy"},
                   {1, "dd/MM/yyyy hh:mm"},
                   {2, "dd/MM/yyyy"},
                   {3, "dd/MM/yy"},
                   {4, "hh:mm"},
                   {9, "hh:mm dd/MM/yyyy"}};
    for (const auto &fmt : formats) {
        f->options.formatDate = fmt.format;
        EditorState::set(editor(), "|");
        const QDateTime before = QDateTime::currentDateTime();
        date->trigger();
        const QDateTime after = QDateTime::currentDateTime();
        const QString text = editor()->textCrLf();
        // The minute may turn while the command runs.
        QVERIFY2(text == before.toString(fmt.pattern) || text == after.toString(fmt.pattern),
                 qPrintable(text));
        QCOMPARE(EditorState::get(editor()), text + "|");
    }
}

void TestTextCommandsModule::listFromSelection_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("ordered a, from two indented lines")
        << "InsertionListeOrdonnee"
        << "BoutType5"
        << "" << false << "{  Pommes\r\n  Poi}res\r\nfin"
        << "  <ol type=\"a\">\r\n    <li>Pommes</li>\r\n    <li>Poires</li>\r\n  </ol>\r\n|fin";
    QTest::newRow("last line gets an extra break")
        << "InsertionListe"
        << ""
        << "" << false << "  Pommes\r\n{  Poires}"
        << "  Pommes\r\n  <ul>\r\n    <li>Poires</li>\r\n  </ul>\r\n|";
    QTest::newRow("count below the items drops lines") << "InsertionListeOrdonnee"
                                                       << "BoutType4"
                                                       << "1" << false << "{a\r\nb\r\nc\r\n}z"
                                                       << "<ol>\r\n  <li>a</li>\r\n</ol>\r\n|z";
    QTest::newRow("count above the items adds empty ones")
        << "InsertionListe"
        << "BoutType2"
        << "3" << false << "{a\r\n}z"
        << "<ul type=\"square\">\r\n  <li>a</li>\r\n  <li></li>\r\n  <li></li>\r\n</ul>\r\n|z";
    QTest::newRow("count zero") << "InsertionListe"
                                << ""
                                << "0" << false << "{a\r\n}z"
                                << "<ul>\r\n</ul>\r\n|z";
    QTest::newRow("blank line is an empty item")
        << "InsertionListe"
        << ""
        << "" << false << "{a\r\n\r\n b \r\n}"
        << "<ul>\r\n  <li>a</li>\r\n  <li></li>\r\n  <li>b</li>\r\n</ul>\r\n|";
    QTest::newRow("definitions from an indented selection")
        << "InsertionListeDef"
        << ""
        << "4" << false << "{\tterme\r\n\tsens\r\n\tautre\r\n}"
        << "\t<dl>\r\n\t  <dt>terme</dt>\r\n\t    <dd>sens</dd>\r\n\t  <dt>autre</dt>\r\n"
           "\t  <dd></dd>\r\n\t</dl>\r\n|";
    QTest::newRow("tag case spares the items") << "InsertionListeOrdonnee"
                                               << "BoutType5"
                                               << "" << true << "{Mot\r\n}"
                                               << "<OL TYPE=\"a\">\r\n  <LI>Mot</LI>\r\n</OL>\r\n|";
}

void TestTextCommandsModule::listFromSelection() {
    QFETCH(QString, name);
    QFETCH(QString, button);
    QFETCH(QString, count);
    QFETCH(bool, casse);
    QFETCH(QString, before);
    QFETCH(QString, after);
    f->options.casse = casse;
    f->ui.onDialog = [&](QDialog *d) {
        d->show(); // its show handler runs
        if (!button.isEmpty()) d->findChild<QToolButton *>(button)->click();
        if (!count.isEmpty()) d->findChild<QLineEdit *>("Editlignes")->setText(count);
        d->hide();
        return true;
    };
    runAndUndo(name, before, after);
    QCOMPARE(f->ui.dialogsShown.size(), 1);
}

void TestTextCommandsModule::listCancelledKeepsWidenedSelection() {
    f->ui.onDialog = [](QDialog *) { return false; };
    EditorState::set(editor(), "  Pom{mes\r\n  Poi}res\r\nfin");
    action("InsertionListe")->trigger();
    QCOMPARE(EditorState::get(editor()), "{  Pommes\r\n  Poires\r\n}fin");
    QVERIFY(!editor()->isUndoAvailable());
}

void TestTextCommandsModule::listDialogIsKeptAndShared() {
    struct Seen {
        QDialog *dialog;
        int page;
        QStringList items;
    };
    QList<Seen> seen;
    bool sortFirst = true;
    f->ui.onDialog = [&](QDialog *d) {
        d->show();
        auto *list = d->findChild<QListWidget *>("ListBox1");
        if (sortFirst) d->findChild<QCheckBox *>("cbTri")->setChecked(true);
        sortFirst = false;
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
        seen << Seen{d, d->findChild<QTabWidget *>("PCListe")->currentIndex(), items};
        d->hide();
        return false;
    };
    const char *names[] = {"InsertionListe", "InsertionListeOrdonnee", "InsertionListeDef"};
    for (const char *name : names) {
        EditorState::set(editor(), "{poire\r\npomme\r\nabricot\r\n}");
        action(name)->trigger();
    }
    QCOMPARE(seen.size(), 3);
    QCOMPARE(seen[0].page, 0);
    QCOMPARE(seen[1].page, 1);
    QCOMPARE(seen[2].page, 2);
    QCOMPARE(seen[1].dialog, seen[0].dialog);
    QCOMPARE(seen[2].dialog, seen[0].dialog);
    // Sorting chosen once stays on for the next uses.
    QCOMPARE(seen[0].items, (QStringList{"abricot", "poire", "pomme"}));
    QCOMPARE(seen[2].items, (QStringList{"abricot", "poire", "pomme"}));
    QCOMPARE(seen[0].dialog->windowTitle(), "Listes");

    QCOMPARE(action("InsertionListe")->text(), "Li&ste...");
    QCOMPARE(action("InsertionListe")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    QCOMPARE(action("InsertionListeOrdonnee")->text(), "Li&ste ordonnée...");
    QCOMPARE(action("InsertionListeDef")->text(), "Liste de &définitions");
}

void TestTextCommandsModule::listWithoutSelection() {
    f->ui.onDialog = [](QDialog *d) {
        d->show();
        for (const char *item : {"un", "deux"}) {
            d->findChild<QLineEdit *>("Editelt")->setText(item);
            d->findChild<QPushButton *>("BoutAjouter")->click();
        }
        d->hide();
        return true;
    };
    runAndUndo("InsertionListe", "  x|", "  x<ul>\r\n  <li>un</li>\r\n  <li>deux</li>\r\n</ul>|");
}

void TestTextCommandsModule::rule_data() {
    QTest::addColumn<QString>("width");
    QTest::addColumn<bool>("percent");
    QTest::addColumn<QString>("thickness");
    QTest::addColumn<QString>("align");
    QTest::addColumn<bool>("red");
    QTest::addColumn<bool>("effect3D");
    QTest::addColumn<bool>("xhtml");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("after");
    QTest::newRow("defaults") << "100" << true << "2"
                              << "" << false << true << false << false << "a<hr>|b";
    QTest::newRow("defaults in XHTML") << "100" << true << "2"
                                       << "" << false << true << true << false << "a<hr />|b";
    QTest::newRow("every attribute")
        << "50" << false << "1"
        << "RadioDroite" << true << false << false << false
        << "a<hr width=\"50\" size=\"1\" align=\"right\" color=\"#FF0000\" noshade>|b";
    QTest::newRow("every attribute in XHTML") << "50" << false << "1"
                                              << "RadioDroite" << true << false << true << false
                                              << "a<hr width=\"50\" size=\"1\" align=\"right\" "
                                                 "color=\"#FF0000\" noshade=\"noshade\" />|b";
    QTest::newRow("tag case") << "80" << true << "2"
                              << "RadioGauche" << false << true << false << true
                              << "a<HR WIDTH=\"80%\" ALIGN=\"left\">|b";
}

void TestTextCommandsModule::rule() {
    QFETCH(QString, width);
    QFETCH(bool, percent);
    QFETCH(QString, thickness);
    QFETCH(QString, align);
    QFETCH(bool, red);
    QFETCH(bool, effect3D);
    QFETCH(bool, xhtml);
    QFETCH(bool, casse);
    QFETCH(QString, after);
    f->options.xhtml = xhtml;
    f->options.casse = casse;
    QString title;
    f->ui.onDialog = [&](QDialog *d) {
        if (auto *colours = qobject_cast<QColorDialog *>(d)) {
            colours->setCurrentColor(Qt::red);
            return true;
        }
        d->show();
        title = d->windowTitle();
        d->findChild<QCheckBox *>("PourcLarg")->setChecked(percent);
        d->findChild<QLineEdit *>("EditWidth")->setText(width);
        d->findChild<QLineEdit *>("EditEpaisseur")->setText(thickness);
        if (!align.isEmpty()) d->findChild<QRadioButton *>(align)->setChecked(true);
        if (red) d->findChild<QToolButton *>("BoutCouleur1")->click();
        d->findChild<QCheckBox *>("CB3D")->setChecked(effect3D);
        d->hide();
        return true;
    };
    runAndUndo("InsertionHR", "a{x}b", after);
    QCOMPARE(title, "Ligne horizontale");
    QCOMPARE(f->ui.dialogsShown.size(), red ? 2 : 1);
    // Made for one use only.
    QVERIFY(f->form->findChildren<THRBox *>().isEmpty());
    QCOMPARE(action("InsertionHR")->text(), "Ligne &horizontale...");
    QCOMPARE(action("InsertionHR")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Enter));
}

void TestTextCommandsModule::ruleConversionError() {
    for (const char *field : {"EditWidth", "EditEpaisseur"}) {
        f->ui.messages.clear();
        f->ui.onDialog = [field](QDialog *d) {
            d->show();
            d->findChild<QLineEdit *>(field)->clear();
            d->hide();
            return true;
        };
        EditorState::set(editor(), "a|b");
        action("InsertionHR")->trigger();
        QCOMPARE(f->ui.messages.size(), 1);
        QCOMPARE(f->ui.messages[0].type, MsgType::Error);
        QCOMPARE(f->ui.messages[0].buttons, MsgButtons::Ok);
        QCOMPARE(f->ui.messages[0].text, "'' n'est pas une valeur entière correcte");
        QCOMPARE(EditorState::get(editor()), "a|b");
        QVERIFY(!editor()->isUndoAvailable());
    }
}

void TestTextCommandsModule::keysReachActions_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    const int keypad = Qt::KeypadModifier;
    QTest::newRow("Ctrl+B") << int(Qt::Key_B) << ctrl << "un {mot}"
                            << "un <b>{mot}</b>";
    QTest::newRow("Ctrl+I") << int(Qt::Key_I) << ctrl << "un {mot}"
                            << "un <i>{mot}</i>";
    QTest::newRow("Ctrl+U") << int(Qt::Key_U) << ctrl << "un {MOT}"
                            << "un <u>{MOT}</u>";
    QTest::newRow("Ctrl+F1") << int(Qt::Key_F1) << ctrl << "|"
                             << "<h1>|</h1>";
    QTest::newRow("Ctrl+F6") << int(Qt::Key_F6) << ctrl << "|"
                             << "<h6>|</h6>";
    QTest::newRow("Ctrl+Shift+P") << int(Qt::Key_P) << (ctrl | shift) << "|"
                                  << "<p>|</p>";
    QTest::newRow("keypad Ctrl+/") << int(Qt::Key_Slash) << (ctrl | keypad) << "{x}"
                                   << "<!-- {x} -->";
    QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << ctrl << "a|"
                                << "a<br>\r\n|";
    QTest::newRow("keypad Ctrl+Enter") << int(Qt::Key_Enter) << (ctrl | keypad) << "a|"
                                       << "a<br>\r\n|";
    QTest::newRow("Ctrl+Shift+Space") << int(Qt::Key_Space) << (ctrl | shift) << "a|b"
                                      << "a&nbsp;|b";
    QTest::newRow("Ctrl+<") << int(Qt::Key_Less) << ctrl << "|"
                            << "&lt;|";
    QTest::newRow("Ctrl+Shift+<") << int(Qt::Key_Greater) << (ctrl | shift) << "|"
                                  << "&gt;|";
}

void TestTextCommandsModule::keysReachActions() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, before);
    QFETCH(QString, after);
    EditorState::set(editor(), before);
    QTest::keyClick(editor(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(EditorState::get(editor()), after);
}

void TestTextCommandsModule::typingStillReachesTheEditor() {
    // The window's keys are taken from the editor; its plain keys must stay.
    const QString typed = "the quick brown fox jumps over the lazy dog 0123456789 <>[]/";
    EditorState::set(editor(), "|");
    QTest::keyClicks(editor(), typed);
    QCOMPARE(editor()->textCrLf(), typed);
}

void TestTextCommandsModule::enabledOnlyWithADocument() {
    f = std::make_unique<MainFormFixture>(QStringList{}, false);
    QVERIFY(!editor());
    f->form->actions()->runUpdates();
    for (const char *name : {"StyleGras", "Head1", "InsertionBreak", "InsertionDate",
                             "InsertionListe", "InsertionHR", "texteEspace"})
        QVERIFY2(!action(name)->isEnabled(), name);
    QVERIFY(!providedMenu("MenuTaille")->menuAction()->isEnabled());
    QVERIFY(!providedMenu("MenuCaracteresSpeciaux")->menuAction()->isEnabled());

    f->form->show();
    QVERIFY(editor());
    f->form->actions()->runUpdates();
    QVERIFY(action("StyleGras")->isEnabled());
    QVERIFY(action("InsertionHR")->isEnabled());
    QVERIFY(providedMenu("MenuTaille")->menuAction()->isEnabled());
}

void TestTextCommandsModule::placesInMenusAndToolbars() {
    // The names this module gives must be the ones the layout places.
    auto names = [](const QList<QAction *> &actions, const QStringList &keep) {
        QStringList l;
        for (QAction *a : actions) {
            if (keep.contains(a->objectName())) l << a->objectName();
        }
        return l;
    };
    const QStringList texte{"TexteCommentaire",
                            "TexteRetrait",
                            "TexteParagraphe",
                            "texteEspace",
                            "MenuStyle",
                            "MenuAlignement",
                            "MenuHeading",
                            "MenuTaille",
                            "MenuAugmenterTaille",
                            "MenuDiminuerTaille",
                            "MenuCaracteresAccentues",
                            "MenuCaracteresSpeciaux"};
    QMenu *texteMenu = f->form->findChild<QMenu *>("MenuTexte");
    QVERIFY(texteMenu);
    QCOMPARE(names(texteMenu->actions(), texte), texte);
    QMenu *style = f->form->findChild<QMenu *>("MenuStyle");
    const QStringList styles{
        "StyleGras", "StyleItalique", "StyleSouligne", "StyleExposant",      "StyleIndice",
        "Barr1",     "Tltype1",       "Accentuation1", "Forteaccentuation1", "Code1",
        "Variable1", "Echantillon1",  "Clavie1",       "Citation1",          "Dfinition1"};
    QCOMPARE(names(style->actions(), styles), styles);
    const QStringList heads{"Head1", "Head2", "Head3", "Head4", "Head5", "Head6"};
    QCOMPARE(names(f->form->findChild<QMenu *>("MenuHeading")->actions(), heads), heads);

    const QStringList insertion{"InsertionListe", "InsertionBreak", "InsertionHR", "InsertionDate"};
    QCOMPARE(names(f->form->findChild<QMenu *>("MenuInsertion")->actions(), insertion), insertion);

    const QStringList special{"InsertionListe", "InsertionListeOrdonnee", "InsertionListeDef"};
    QCOMPARE(names(f->form->findChild<QToolBar *>("TBSpecial")->actions(), special), special);
    const QStringList texteBar{"StyleGras",         "StyleItalique",    "StyleSouligne",
                               "AlignementGauche",  "AlignementCentre", "AlignementDroite",
                               "Alignementjustifie"};
    QCOMPARE(names(f->form->findChild<QToolBar *>("TBTexte")->actions(), texteBar), texteBar);
    QVERIFY(
        f->form->findChild<QMenu *>("EditorPopup")->actions().contains(action("InsertionListe")));
}

QTEST_MAIN(TestTextCommandsModule)
#include "tst_text_commands_module.moc"
