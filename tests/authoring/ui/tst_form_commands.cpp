#include "editor_state.h"

#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "shell/ui/main_form.h"
#include "app/ui/help.h"
#include "test_support.h"
#include "ui/ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

// The form and table commands driven through their dialogs, control by control.
// A script is a list of steps:
//   "Name=text"   types into a line edit, an editable combo or the memo ("\n" breaks)
//   "Name#2"      picks entry 2 of a drop-down list
//   "+Name"/"-Name" checks/unchecks a check box or radio button
//   "!Name"       clicks a button
//   "add:text"    types an item and clicks "Ajouter"
//   "row:1"       selects row 1 of the item list
//   "tick:1"      clicks the check box of item 1
//   "enter:Name"  presses Enter in a field
//   "ok"          clicks OK (the dialog may stay open)
// Unless the script ends with "stay", OK is clicked last.
class TestFormCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void commands_data();
    void commands();
    void requiredName_data();
    void requiredName();
    void cancelInsertsNothing();
    void dialogTexts_data();
    void dialogTexts();
    void helpPages_data();
    void helpPages();
    void formRecipients();
    void itemListButtons();
    void dropDownFollowsEdits();
    void imageBrowse();
    void tableCellWalk();
    void tableStoreKeptAcrossUses();
    void tableResetAndCounts();
    void tableColour();
    void placesInMenusAndToolbars();

private:
    TMyMwCustomEdit *editor() { return f->form->documents()->ActiveEditor(); }
    QAction *action(const QString &name) { return f->form->actions()->action(name); }
    // Runs the script on the dialog; true when it was accepted.
    static bool play(QDialog *d, QStringList script);
    std::unique_ptr<MainFormFixture> f;
};

namespace {

template <typename T> T *child(QObject *parent, const QString &name) {
    T *w = parent->findChild<T *>(name);
    if (!w) qFatal("no control %s in %s", qPrintable(name), qPrintable(parent->objectName()));
    return w;
}

QListWidget *itemList(QDialog *d) {
    if (auto *l = d->findChild<QListWidget *>(QStringLiteral("CheckListBox1"))) return l;
    return child<QListWidget>(d, QStringLiteral("ListBox1"));
}

} // namespace

bool TestFormCommands::play(QDialog *d, QStringList script) {
    d->show();
    const bool stay = !script.isEmpty() && script.last() == QLatin1String("stay");
    if (stay)
        script.removeLast();
    else
        script << QStringLiteral("ok");
    for (const QString &step : std::as_const(script)) {
        if (step == QLatin1String("ok")) {
            child<QPushButton>(d, QStringLiteral("BoutOK"))->click();
        } else if (step.startsWith(QLatin1String("add:"))) {
            child<QLineEdit>(d, QStringLiteral("Editelt"))->setText(step.mid(4));
            child<QPushButton>(d, QStringLiteral("BoutAjouter"))->click();
        } else if (step.startsWith(QLatin1String("row:"))) {
            itemList(d)->setCurrentRow(step.mid(4).toInt());
        } else if (step.startsWith(QLatin1String("tick:"))) {
            QListWidgetItem *item = itemList(d)->item(step.mid(5).toInt());
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        } else if (step.startsWith(QLatin1String("enter:"))) {
            QTest::keyClick(child<QWidget>(d, step.mid(6)), Qt::Key_Return);
        } else if (step.startsWith(u'!')) {
            child<QAbstractButton>(d, step.mid(1))->click();
        } else if (step.startsWith(u'+') || step.startsWith(u'-')) {
            child<QAbstractButton>(d, step.mid(1))->setChecked(step.startsWith(u'+'));
        } else if (step.contains(u'#') && !step.contains(u'=')) {
            child<QComboBox>(d, step.section(u'#', 0, 0))
                ->setCurrentIndex(step.section(u'#', 1).toInt());
        } else {
            const QString name = step.section(u'=', 0, 0);
            const QString text = step.section(u'=', 1);
            QObject *w = child<QObject>(d, name);
            if (auto *e = qobject_cast<QLineEdit *>(w))
                e->setText(text);
            else if (auto *c = qobject_cast<QComboBox *>(w))
                c->setEditText(text);
            else if (auto *m = qobject_cast<QPlainTextEdit *>(w))
                m->setPlainText(text);
            else
                qFatal("cannot type into %s", qPrintable(name));
        }
    }
    const bool accepted = d->result() == QDialog::Accepted && !d->isVisible();
    d->hide();
    return accepted;
}

void TestFormCommands::init() {
    f = std::make_unique<MainFormFixture>();
    editor()->setFocus();
}

void TestFormCommands::cleanup() {
    setHelpHandler({});
    f.reset();
}

void TestFormCommands::commands_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<bool>("xhtml");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");

    QTest::newRow("form wraps the selection")
        << "InsertionFormulaire" << QStringList{"Edit_id=contact", "EditAction=envoi.php", "+post"}
        << false << false << "x{mot}y"
        << "x<form name=\"contact\" action=\"envoi.php\" method=\"post\">\r\n{mot}\r\n</form>y";
    QTest::newRow("form without recipient")
        << "InsertionFormulaire" << QStringList{"+aucun"} << false << false << "|"
        << "<form>\r\n|\r\n</form>";
    QTest::newRow("radio group example, one undo step, before the selection")
        << "FormulaireRadio"
        << QStringList{"Edit_id=choix", "+CheckChecked", "add:Oui", "-CheckChecked", "add:Non"}
        << false << false << "{sel}"
        << "  <input type=\"radio\" name=\"choix\" value=\"Oui\" checked>Oui<br>\r\n"
           "  <input type=\"radio\" name=\"choix\" value=\"Non\">Non<br>\r\n{sel}";
    QTest::newRow("check boxes, no breaks, Enter adds")
        << "FormulaireCocher"
        << QStringList{"Edit_id=c", "+CheckChecked", "Editelt=a",        "enter:Editelt",
                       "Editelt=b", "enter:Editelt", "-CheckRetourLigne"}
        << false << false << "|"
        << "  <input type=\"checkbox\" name=\"c\" value=\"a\" checked>a\r\n"
           "  <input type=\"checkbox\" name=\"c\" value=\"b\" checked>b\r\n|";
    QTest::newRow("radio without items inserts nothing")
        << "FormulaireRadio" << QStringList{} << false << false << "a|b"
        << "a|b";
    QTest::newRow("drop-down with its default")
        << "FormulaireListeDeroulante"
        << QStringList{"Edit_id=pays", "add:France", "add:Belgique", "ComboBox1#1"} << false
        << false << "|"
        << "<select name=\"pays\">\r\n  <option value=\"France\">France</option>\r\n"
           "  <option value=\"Belgique\" selected>Belgique</option>\r\n</select>|";
    QTest::newRow("drop-down without items")
        << "FormulaireListeDeroulante" << QStringList{} << false << false << "|"
        << "<select name=\"\">\r\n</select>|";
    QTest::newRow("list, tag case")
        << "FormulaireListe" << QStringList{"Edit_id=l", "add:Un", "Editlignes=4", "+CBMultiple"}
        << true << false << "|"
        << "<SELECT NAME=\"l\" SIZE=\"4\" multiple>\r\n  <OPTION VALUE=\"Un\">Un</OPTION>\r\n"
           "</SELECT>|";
    QTest::newRow("text, name with spaces")
        << "FormulaireTexte" << QStringList{"Edit_id=mon champ"} << false << false << "|"
        << "<input type=\"text\" name=\"monchamp\">\r\n|";
    QTest::newRow("password")
        << "FormulairePassword" << QStringList{"Edit_id=mdp", "EditVis=8"} << false << true << "|"
        << "<input type=\"password\" name=\"mdp\" size=\"8\" value=\"\" />\r\n|";
    QTest::newRow("text area wraps the selection after its text")
        << "FormulaireTexteMultiligne"
        << QStringList{"Edit_id=t", "Editligne=5", "editcol=60", "ComboWrap#3", "Memo=a=b\nligne"}
        << true << false << "{sel}"
        << "<TEXTAREA NAME=\"t\" COLS=\"60\" ROWS=\"5\" WRAP=\"virtual\">\r\na=b\r\nligne\r\n"
           "\r\n{sel}</TEXTAREA>\r\n";
    QTest::newRow("button, no name")
        << "FormulaireBouton" << QStringList{"EditButton=Calculer"} << false << false << "|"
        << "<input type=\"button\" value=\"Calculer\">|";
    QTest::newRow("submit button")
        << "FormulaireBoutonSoumettre" << QStringList{"Edit_id=go", "EditButton=Envoyer"} << false
        << false << "|"
        << "<input type=\"submit\" name=\"go\" value=\"Envoyer\">|";
    QTest::newRow("reset button switched to standard")
        << "FormulaireBoutonReinitialiser" << QStringList{"+TypeBouton0", "EditButton=X"} << false
        << false << "|"
        << "<input type=\"button\" value=\"X\">|";
    QTest::newRow("file field") << "FormulaireBoutonParcourir"
                                << QStringList{"Edit_id=f", "EditVis=20"} << false << false << "|"
                                << "<input type=\"file\" name=\"f\" size=\"20\">\r\n|";
    QTest::newRow("hidden field goes before the selection")
        << "FormulaireHidden" << QStringList{"Edit_id=id", "EditHidden=42"} << false << false
        << "a{b}c"
        << "a<input type=\"hidden\" name=\"id\" value=\"42\">\r\n{b}c";
    QTest::newRow("image button") << "FormulaireImage"
                                  << QStringList{"Edit_id=ok", "EditSRC=img/ok.gif"} << false
                                  << false << "|"
                                  << "<input type=\"image\" name=\"ok\" src=\"img/ok.gif\">\r\n|";
    QTest::newRow("table example, cells by Enter")
        << "InsertionTableau"
        << QStringList{"EditLignes=2",    "EditColonnes=2", "EditBorder=1",    "EditTable=a",
                       "enter:EditTable", "EditTable=b",    "enter:EditTable", "EditTable=c",
                       "enter:EditTable", "EditTable=d",    "enter:EditTable"}
        << false << false << "|"
        << "<table border=\"1\">\r\n<tr>\r\n   <td>a</td>\r\n   <td>b</td>\r\n</tr>\r\n"
           "<tr>\r\n   <td>c</td>\r\n   <td>d</td>\r\n</tr>\r\n</table>|";
    QTest::newRow("table, tag case keeps caption and cells")
        << "InsertionTableau"
        << QStringList{"EditCaption=Prix=Total",
                       "EditTable=Bonjour",
                       "!BitBtn3",
                       "+Radiohor1",
                       "Editw=100",
                       "+pourcw",
                       "cellpad=0"}
        << true << false << "|"
        << "<TABLE WIDTH=\"100%\" BORDER=\"0\" ALIGN=\"center\" CELLPADDING=\"0\">\r\n"
           "<CAPTION>Prix=Total</CAPTION>\r\n<TR>\r\n   <TD>Bonjour</TD>\r\n</TR>\r\n</TABLE>|";
}

void TestFormCommands::commands() {
    QFETCH(QString, name);
    QFETCH(QStringList, script);
    QFETCH(bool, casse);
    QFETCH(bool, xhtml);
    QFETCH(QString, before);
    QFETCH(QString, after);
    f->options.casse = casse;
    f->options.xhtml = xhtml;
    f->ui.onDialog = [script](QDialog *d) { return play(d, script); };
    EditorState::set(editor(), before);
    const QString original = editor()->textCrLf();
    QVERIFY2(action(name), qPrintable(name));
    action(name)->trigger();
    QCOMPARE(f->ui.dialogsShown.size(), 1);
    QVERIFY(f->ui.messages.isEmpty());
    QCOMPARE(EditorState::get(editor()), after);
    if (after == before) {
        QVERIFY(!editor()->isUndoAvailable());
        return;
    }
    // One command, one undo step.
    editor()->undo();
    QCOMPARE(editor()->textCrLf(), original);
    QVERIFY(!editor()->isUndoAvailable());
}

void TestFormCommands::requiredName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<bool>("required");
    QTest::newRow("text") << "FormulaireTexte" << QStringList{} << true;
    QTest::newRow("password, spaces only")
        << "FormulairePassword" << QStringList{"Edit_id=  "} << true;
    QTest::newRow("text area") << "FormulaireTexteMultiligne" << QStringList{} << true;
    QTest::newRow("file") << "FormulaireBoutonParcourir" << QStringList{} << true;
    QTest::newRow("hidden") << "FormulaireHidden" << QStringList{} << true;
    QTest::newRow("image") << "FormulaireImage" << QStringList{"EditSRC=a.gif"} << true;
    QTest::newRow("radio with an item") << "FormulaireRadio" << QStringList{"add:a"} << true;
    QTest::newRow("check box with an item") << "FormulaireCocher" << QStringList{"add:a"} << true;
    QTest::newRow("drop-down with an item")
        << "FormulaireListeDeroulante" << QStringList{"add:a"} << true;
    QTest::newRow("list with an item") << "FormulaireListe" << QStringList{"add:a"} << true;
    QTest::newRow("list, empty") << "FormulaireListe" << QStringList{} << false;
    QTest::newRow("form") << "InsertionFormulaire" << QStringList{} << false;
    QTest::newRow("button") << "FormulaireBouton" << QStringList{} << false;
}

void TestFormCommands::requiredName() {
    QFETCH(QString, name);
    QFETCH(QStringList, script);
    QFETCH(bool, required);
    bool accepted = false;
    bool focusOnName = false;
    f->ui.onDialog = [&](QDialog *d) {
        accepted = play(d, script + QStringList{"ok", "stay"});
        focusOnName = d->focusWidget() == d->findChild<QLineEdit *>("Edit_id");
        if (!accepted) {
            // The dialog stayed open: a name now lets it through.
            d->show();
            child<QLineEdit>(d, "Edit_id")->setText("n");
            accepted = play(d, {});
        }
        return accepted;
    };
    EditorState::set(editor(), "|");
    action(name)->trigger();
    QCOMPARE(f->ui.messages.size(), required ? 1 : 0);
    if (required) {
        QCOMPARE(f->ui.messages[0].type, MsgType::Information);
        QCOMPARE(f->ui.messages[0].buttons, MsgButtons::Ok);
        QCOMPARE(f->ui.messages[0].text, "Veuillez spécifier un Nom identificateur.");
        QVERIFY(focusOnName);
    }
    QVERIFY(accepted);
}

void TestFormCommands::cancelInsertsNothing() {
    const char *names[] = {
        "InsertionFormulaire",       "FormulaireRadio",           "FormulaireCocher",
        "FormulaireListeDeroulante", "FormulaireListe",           "FormulaireTexte",
        "FormulairePassword",        "FormulaireTexteMultiligne", "FormulaireBouton",
        "FormulaireBoutonParcourir", "FormulaireHidden",          "FormulaireImage",
        "InsertionTableau"};
    f->ui.onDialog = [](QDialog *d) {
        d->show();
        if (auto *name = d->findChild<QLineEdit *>("Edit_id")) name->setText("n");
        child<QPushButton>(d, "BoutAnnuler")->click();
        return d->result() == QDialog::Accepted;
    };
    for (const char *name : names) {
        EditorState::set(editor(), "a{b}c");
        action(name)->trigger();
        QCOMPARE(EditorState::get(editor()), "a{b}c");
        QVERIFY(!editor()->isUndoAvailable());
    }
    QCOMPARE(f->ui.dialogsShown.size(), int(std::size(names)));
}

void TestFormCommands::dialogTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("dialogClass");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("texts"); // captions that must be on show
    QTest::newRow("form") << "InsertionFormulaire"
                          << "TFormulaire_Boite"
                          << "Feuille de formulaire"
                          << QStringList{" Type du destinataire ",
                                         "( Aucun )",
                                         "Lien HTTP",
                                         "Lien FTP",
                                         "Adresse e-mail",
                                         "Groupe de discussion",
                                         "( NewsGroup )",
                                         "Action :",
                                         " Mode d'envoi ",
                                         "Défaut",
                                         "Réception (GET)",
                                         "Emission (POST)",
                                         " Type d'encodage ",
                                         "Mode MIME",
                                         "Mode TEXTE",
                                         " Cible ",
                                         "TARGET =",
                                         " Nom identificateur "};
    QTest::newRow("radio") << "FormulaireRadio"
                           << "TForm_Radio_Boite"
                           << "Cases radio"
                           << QStringList{" Elément ", "&Ajouter", "&Supprimer",
                                          "Case cochée par défaut",
                                          "Retour à la ligne après chaque élément"};
    QTest::newRow("check") << "FormulaireCocher"
                           << "TForm_Check_Boite"
                           << "Cases à cocher"
                           << QStringList{"Case cochée par défaut",
                                          "Retour à la ligne après chaque élément"};
    QTest::newRow("combo") << "FormulaireListeDeroulante"
                           << "TForm_Combo_Boite"
                           << "Boîte liste déroulante" << QStringList{" Sélection par défaut "};
    QTest::newRow("list") << "FormulaireListe"
                          << "TForm_ListBox_Boite"
                          << "Boîte liste"
                          << QStringList{"Lignes visibles", "Liste à sélection multiple"};
    QTest::newRow("text") << "FormulaireTexte"
                          << "TForm_edit_Boite"
                          << "Boîte texte"
                          << QStringList{" Elément ", "Taille", "(nb car.)",
                                         "Longueur maximale autorisée"};
    QTest::newRow("password") << "FormulairePassword"
                              << "TForm_pass_Boite"
                              << "Boîte mot de passe"
                              << QStringList{"Longueur maximale visible",
                                             "Longueur maximale autorisée"};
    QTest::newRow("memo") << "FormulaireTexteMultiligne"
                          << "TForm_Memo_Boite"
                          << "Boîte texte multiligne"
                          << QStringList{"Ligne", "Colonne", "Barres de défilement"};
    QTest::newRow("button") << "FormulaireBoutonSoumettre"
                            << "TBoite_Bouton"
                            << "Bouton"
                            << QStringList{"Type de bouton ", "Bouton standard", "Bouton soumettre",
                                           "Bouton réinitialiser", "Texte affiché sur le bouton "};
    QTest::newRow("file") << "FormulaireBoutonParcourir"
                          << "TFormParcBoite"
                          << "Bouton parcourir" << QStringList{"Taille"};
    QTest::newRow("hidden") << "FormulaireHidden"
                            << "TBoite_Hidden"
                            << "Entrée cachée" << QStringList{" Valeur cachée associée "};
    QTest::newRow("image") << "FormulaireImage"
                           << "TBoite_FormImage"
                           << "Image" << QStringList{" Image "};
    QTest::newRow("table") << "InsertionTableau"
                           << "TTab_Boite"
                           << "Tableau"
                           << QStringList{"Nombre de lignes",
                                          "Nombre de colonnes",
                                          "Taille de la bordure",
                                          "Espacement entre les cellules",
                                          "Espacement dans les cellules",
                                          "Largeur",
                                          "Hauteur",
                                          "%",
                                          "Couleur du fond",
                                          " Alignement horizontal ",
                                          "à gauche (défaut)",
                                          "au centre",
                                          "à droite",
                                          "Titre (optionnel) :",
                                          "Ligne",
                                          "Colonne",
                                          "Ajouter",
                                          "Tout réinitialiser",
                                          "OK",
                                          "Annuler",
                                          "Aide"};
}

void TestFormCommands::dialogTexts() {
    QFETCH(QString, name);
    QFETCH(QString, dialogClass);
    QFETCH(QString, title);
    QFETCH(QStringList, texts);
    QStringList shown;
    QString objectName, windowTitle;
    QStringList tabChain;
    f->ui.onDialog = [&](QDialog *d) {
        d->show();
        // Tab runs through the dialog's own controls, then OK, Annuler and Aide.
        QWidget *first = d->findChild<QLineEdit *>(QStringLiteral("Edit_id"));
        if (!first) first = child<QLineEdit>(d, QStringLiteral("EditLignes"));
        for (QWidget *w = first; tabChain.size() < 100; w = w->nextInFocusChain()) {
            if (w->focusPolicy() & Qt::TabFocus && d->isAncestorOf(w)) tabChain << w->objectName();
            if (w->nextInFocusChain() == first) break;
        }
        d->hide();
        objectName = d->objectName();
        windowTitle = d->windowTitle();
        for (auto *b : d->findChildren<QAbstractButton *>())
            shown << b->text();
        for (auto *l : d->findChildren<QLabel *>())
            shown << l->text();
        for (auto *g : d->findChildren<QGroupBox *>())
            shown << g->title();
        return false;
    };
    action(name)->trigger();
    QCOMPARE(objectName, dialogClass);
    QCOMPARE(windowTitle, title);
    QVERIFY2(tabChain.size() > 4, qPrintable(tabChain.join(u' ')));
    QCOMPARE(tabChain.mid(tabChain.size() - 3), (QStringList{"BoutOK", "BoutAnnuler", "BoutAide"}));
    for (const QString &text : texts)
        QVERIFY2(shown.contains(text), qPrintable(text));
}

void TestFormCommands::helpPages_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("topic");
    const char *rows[][2] = {
        {"InsertionFormulaire", "formulaire"},
        {"FormulaireRadio", "formulaire_radio"},
        {"FormulaireCocher", "formulaire_coche"},
        {"FormulaireListeDeroulante", "formulaire_combo"},
        {"FormulaireListe", "formulaire_liste"},
        {"FormulaireTexte", "formulaire_texte"},
        {"FormulairePassword", "formulaire_mdp"},
        {"FormulaireTexteMultiligne", "formulaire_memo"},
        {"FormulaireBouton", "formulaire_bouton"},
        {"FormulaireBoutonReinitialiser", "formulaire_bouton"},
        {"FormulaireBoutonParcourir", "formulaire_parcourir"},
        {"FormulaireHidden", "formulaire_hidden"},
        {"FormulaireImage", "formulaire_image"},
        {"InsertionTableau", "tableau"},
    };
    for (const auto &r : rows)
        QTest::newRow(r[0]) << r[0] << QStringLiteral("Ressources/%1.htm").arg(r[1]);
}

void TestFormCommands::helpPages() {
    QFETCH(QString, name);
    QFETCH(QString, topic);
    QStringList topics;
    setHelpHandler([&](const QString &t) { topics << t; });
    bool stillOpen = false;
    f->ui.onDialog = [&](QDialog *d) {
        d->show();
        child<QPushButton>(d, "BoutAide")->click();
        stillOpen = d->isVisible();
        d->hide();
        return false;
    };
    action(name)->trigger();
    QCOMPARE(topics, QStringList{topic});
    QVERIFY(stillOpen);
    // The page exists in the help book's sources.
    const QString page = QStringLiteral(BALIZOR_SOURCE_DIR "/resources/") + topic;
    QVERIFY2(QFile::exists(page), qPrintable(page));
}

void TestFormCommands::formRecipients() {
    f->ui.onDialog = [](QDialog *d) {
        d->show();
        auto *action = child<QLineEdit>(d, "EditAction");
        auto *method = child<QRadioButton>(d, "post")->parentWidget();
        // Defaults: HTTP, with its example address.
        [&] {
            QVERIFY(child<QRadioButton>(d, "http")->isChecked());
            QVERIFY(action->text().startsWith("http://"));
            QVERIFY(child<QRadioButton>(d, "ModeDefaut")->isChecked());
            QVERIFY(child<QRadioButton>(d, "nul")->isChecked());
            QVERIFY(child<QComboBox>(d, "edit_target")->currentText().isEmpty());
            QCOMPARE(child<QComboBox>(d, "edit_target")->count(), 4);
            child<QRadioButton>(d, "ftp")->setChecked(true);
            QVERIFY(action->text().startsWith("ftp://"));
            child<QRadioButton>(d, "mail")->setChecked(true);
            QVERIFY(action->text().startsWith("mailto:"));
            child<QRadioButton>(d, "news")->setChecked(true);
            QVERIFY(action->text().startsWith("news:"));
            child<QRadioButton>(d, "aucun")->setChecked(true);
            QVERIFY(action->text().isEmpty());
            QVERIFY(!method->isEnabled());
            QVERIFY(!child<QRadioButton>(d, "mime")->isEnabled());
            QVERIFY(!child<QComboBox>(d, "edit_target")->isEnabled());
            child<QRadioButton>(d, "http")->setChecked(true);
            QVERIFY(method->isEnabled());
            QVERIFY(child<QComboBox>(d, "edit_target")->isEnabled());
        }();
        d->hide();
        return false;
    };
    action("InsertionFormulaire")->trigger();
    QCOMPARE(f->ui.dialogsShown.size(), 1);
}

void TestFormCommands::itemListButtons() {
    f->ui.onDialog = [](QDialog *d) {
        d->show();
        auto *add = child<QPushButton>(d, "BoutAjouter");
        auto *del = child<QPushButton>(d, "BoutSuppr");
        auto *up = child<QToolButton>(d, "BoutHaut");
        auto *down = child<QToolButton>(d, "BoutBas");
        auto *list = itemList(d);
        auto *entry = child<QLineEdit>(d, "Editelt");
        [&] {
            QVERIFY(!add->isEnabled());
            QVERIFY(!del->isEnabled());
            QVERIFY(add->isDefault());
            entry->setText("a");
            QVERIFY(add->isEnabled());
            play(d, {"+CheckChecked", "add:a", "add:b", "add:c", "stay"});
            d->show();
            QVERIFY(entry->text().isEmpty());
            QVERIFY(!add->isEnabled());
            // Only the last one added stays checked in a radio group.
            QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
            QCOMPARE(list->item(2)->checkState(), Qt::Checked);
            QCOMPARE(list->currentRow(), 2);
            QVERIFY(up->isEnabled());
            QVERIFY(!down->isEnabled());
            up->click();
            up->click();
            QCOMPARE(list->item(0)->text(), "c");
            QCOMPARE(list->item(0)->checkState(), Qt::Checked);
            QCOMPARE(list->currentRow(), 0);
            QVERIFY(!up->isEnabled());
            QVERIFY(down->isEnabled());
            // Clicking a box with the mouse unchecks the other.
            QStyleOptionViewItem option;
            option.initFrom(list);
            option.rect = list->visualItemRect(list->item(1));
            option.features = QStyleOptionViewItem::HasCheckIndicator;
            const QRect box =
                list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
            QCOMPARE(list->item(1)->checkState(), Qt::Checked);
            QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
            list->setCurrentRow(1);
            del->click();
            QCOMPARE(list->count(), 2);
            for (int i = 0; i < list->count(); ++i)
                QCOMPARE(list->item(i)->checkState(), Qt::Unchecked);
        }();
        d->hide();
        return false;
    };
    action("FormulaireRadio")->trigger();
    QCOMPARE(f->ui.dialogsShown.size(), 1);
}

void TestFormCommands::dropDownFollowsEdits() {
    f->ui.onDialog = [](QDialog *d) {
        auto *combo = child<QComboBox>(d, "ComboBox1");
        auto entries = [combo] {
            QStringList l;
            for (int i = 0; i < combo->count(); ++i)
                l << combo->itemText(i);
            return l;
        };
        play(d, {"add:a", "add:b", "add:c", "stay"});
        [&] {
            QCOMPARE(entries(), (QStringList{"a", "b", "c"}));
            QCOMPARE(combo->currentIndex(), -1);
            combo->setCurrentIndex(2);
            play(d, {"row:2", "!BoutHaut", "stay"});
            QCOMPARE(entries(), (QStringList{"a", "c", "b"}));
            QCOMPARE(combo->currentText(), "c");
            play(d, {"row:0", "!BoutSuppr", "stay"});
            QCOMPARE(entries(), (QStringList{"c", "b"}));
            QCOMPARE(combo->currentText(), "c");
            play(d, {"row:0", "!BoutSuppr", "stay"});
            QCOMPARE(entries(), QStringList{"b"});
            QCOMPARE(combo->currentIndex(), -1);
        }();
        return play(d, {"Edit_id=s"});
    };
    EditorState::set(editor(), "|");
    action("FormulaireListeDeroulante")->trigger();
    QCOMPARE(EditorState::get(editor()),
             "<select name=\"s\">\r\n  <option value=\"b\">b</option>\r\n</select>|");
}

void TestFormCommands::imageBrowse() {
    const QString folder = f->dir.filePath("site");
    QDir().mkpath(folder + "/img");
    const QString page = folder + "/page.html";
    TestSupport::writeAll(page, "x\r\n");
    f->form->documents()->OpenDocument(page, false);
    f->ui.openAnswers << QStringList{folder + "/img/envoi.gif"};
    QString selected;
    f->ui.onDialog = [&](QDialog *d) {
        d->show();
        child<QPushButton>(d, "BoutParcourir")->click();
        selected = child<QLineEdit>(d, "EditSRC")->selectedText();
        return play(d, {"Edit_id=ok"});
    };
    EditorState::set(editor(), "|");
    action("FormulaireImage")->trigger();
    QCOMPARE(f->ui.fileRequests.size(), 1);
    QCOMPARE(f->ui.fileRequests[0].startFolder, folder + "/");
    QVERIFY(f->ui.fileRequests[0].filter.startsWith(
        "Fichiers image (*.gif;*.jpg;*.jpeg;*.png)|*.gif;*.jpg;*.jpeg;*.png|Gif image"));
    QCOMPARE(selected, "img/");
    QCOMPARE(EditorState::get(editor()),
             "<input type=\"image\" name=\"ok\" src=\"img/envoi.gif\">\r\n|");
}

void TestFormCommands::tableCellWalk() {
    f->ui.onDialog = [](QDialog *d) {
        d->show();
        auto *row = child<QLineEdit>(d, "ligne");
        auto *column = child<QLineEdit>(d, "colonne");
        auto *cell = child<QLineEdit>(d, "EditTable");
        auto *rowUp = child<QWidget>(d, "UpDownligne")->findChild<QToolButton *>("Up");
        [&] {
            QVERIFY(child<QPushButton>(d, "BitBtn3")->isDefault());
            QCOMPARE(child<QLineEdit>(d, "EditLignes")->text(), "1");
            QCOMPARE(child<QLineEdit>(d, "cellspac")->text(), "2");
            QCOMPARE(child<QLineEdit>(d, "cellpad")->text(), "1");
            QCOMPARE(child<QLineEdit>(d, "EditBorder")->text(), "0");
            // The row arrows stop at the row count.
            rowUp->click();
            QCOMPARE(row->text(), "1");
            play(d, {"EditLignes=2", "EditColonnes=2", "stay"});
            rowUp->click();
            rowUp->click();
            QCOMPARE(row->text(), "2");
            column->setText("2");
            play(d, {"EditTable=d", "enter:EditTable", "stay"});
            // The last cell stays the current one.
            QCOMPARE(row->text(), "2");
            QCOMPARE(column->text(), "2");
            QCOMPARE(cell->text(), "d");
            row->setText("1");
            column->setText("1");
            QCOMPARE(cell->text(), QString());
            play(d, {"EditTable=a", "enter:EditTable", "stay"});
            QCOMPARE(column->text(), "2");
            play(d, {"EditTable=b", "enter:EditTable", "stay"});
            QCOMPARE(row->text(), "2");
            QCOMPARE(column->text(), "1");
            // Going back shows what was stored.
            column->setText("2");
            QCOMPARE(cell->text(), "d");
            // Fewer columns bring the column back into range.
            play(d, {"EditColonnes=1", "stay"});
            QCOMPARE(column->text(), "1");
        }();
        return play(d, {});
    };
    EditorState::set(editor(), "|");
    action("InsertionTableau")->trigger();
    QCOMPARE(EditorState::get(editor()),
             "<table border=\"0\">\r\n<tr>\r\n   <td>a</td>\r\n</tr>\r\n"
             "<tr>\r\n   <td></td>\r\n</tr>\r\n</table>|");
}

void TestFormCommands::tableStoreKeptAcrossUses() {
    // First use: a 2 x 2 table.
    f->ui.onDialog = [](QDialog *d) {
        return play(d, {"EditLignes=2", "EditColonnes=2", "EditTable=a", "enter:EditTable",
                        "EditTable=b", "enter:EditTable", "EditTable=c", "enter:EditTable",
                        "EditTable=d", "enter:EditTable"});
    };
    EditorState::set(editor(), "|");
    action("InsertionTableau")->trigger();
    // Second use, a new dialog: cell (1, 1) shows what was stored; 3 x 3 reuses it all.
    QString firstCell;
    f->ui.onDialog = [&](QDialog *d) {
        d->show();
        firstCell = child<QLineEdit>(d, "EditTable")->text();
        return play(d, {"EditLignes=3", "EditColonnes=3"});
    };
    EditorState::set(editor(), "|");
    action("InsertionTableau")->trigger();
    QCOMPARE(f->ui.dialogsShown.size(), 2);
    QCOMPARE(firstCell, "a");
    QCOMPARE(EditorState::get(editor()),
             "<table border=\"0\">\r\n"
             "<tr>\r\n   <td>a</td>\r\n   <td>b</td>\r\n   <td></td>\r\n</tr>\r\n"
             "<tr>\r\n   <td>c</td>\r\n   <td>d</td>\r\n   <td></td>\r\n</tr>\r\n"
             "<tr>\r\n   <td></td>\r\n   <td></td>\r\n   <td></td>\r\n</tr>\r\n</table>|");
}

void TestFormCommands::tableResetAndCounts() {
    f->ui.onDialog = [](QDialog *d) {
        play(d, {"EditLignes=3", "EditColonnes=4", "EditBorder=5", "cellspac=0", "cellpad=7",
                 "Editw=50", "+pourcw", "Edith=20", "+pourch", "EditBGColor=#FF0000", "+Radiohor2",
                 "EditCaption=T", "EditTable=x", "enter:EditTable", "stay"});
        [&] {
            d->show();
            child<QPushButton>(d, "BitBtn4")->click();
            for (const auto &[name, text] : {std::pair{"EditLignes", "1"},
                                             {"EditColonnes", "1"},
                                             {"EditBorder", "5"},
                                             {"cellspac", "2"},
                                             {"cellpad", "1"},
                                             {"Editw", ""},
                                             {"Edith", ""},
                                             {"EditBGColor", ""},
                                             {"EditCaption", ""},
                                             {"ligne", "1"},
                                             {"colonne", "1"},
                                             {"EditTable", ""}})
                QCOMPARE(child<QLineEdit>(d, name)->text(), QString::fromLatin1(text));
            QVERIFY(child<QRadioButton>(d, "Radiohor0")->isChecked());
            QVERIFY(!child<QCheckBox>(d, "pourcw")->isChecked());
            QVERIFY(!child<QCheckBox>(d, "pourch")->isChecked());
            QVERIFY(child<QToolButton>(d, "BoutCouleur1")->icon().isNull());
            // A zero width is emptied when the field is left.
            auto *width = child<QLineEdit>(d, "Editw");
            width->setText("0");
            emit width->editingFinished();
            QCOMPARE(width->text(), QString());
            // A count of 0 is kept when the field is left (it makes no table).
            auto *rows = child<QLineEdit>(d, "EditLignes");
            rows->setText("0");
            emit rows->editingFinished();
            QCOMPARE(rows->text(), "0");
            rows->clear();
            QTest::keyClicks(rows, "x123");
            QCOMPARE(rows->text(), "12");
        }();
        // A count that is not a number is refused; the dialog stays open.
        return play(d, {"EditColonnes=", "ok", "stay"}) ||
               play(d, {"EditLignes=2", "EditColonnes=2"});
    };
    EditorState::set(editor(), "|");
    action("InsertionTableau")->trigger();
    QCOMPARE(f->ui.messages.size(), 1);
    QCOMPARE(f->ui.messages[0].type, MsgType::Error);
    QCOMPARE(f->ui.messages[0].text, "'' n'est pas une valeur entière correcte");
    // The reset emptied every cell, even those typed before it.
    QCOMPARE(EditorState::get(editor()),
             "<table border=\"5\">\r\n"
             "<tr>\r\n   <td></td>\r\n   <td></td>\r\n</tr>\r\n"
             "<tr>\r\n   <td></td>\r\n   <td></td>\r\n</tr>\r\n</table>|");
}

void TestFormCommands::tableColour() {
    f->ui.onDialog = [](QDialog *d) {
        if (auto *colours = qobject_cast<QColorDialog *>(d)) {
            colours->setCurrentColor(QColor(10, 188, 222));
            return true;
        }
        d->show();
        child<QToolButton>(d, "BoutCouleur1")->click();
        const bool swatch = !child<QToolButton>(d, "BoutCouleur1")->icon().isNull();
        return swatch && play(d, {});
    };
    EditorState::set(editor(), "|");
    action("InsertionTableau")->trigger();
    QCOMPARE(EditorState::get(editor()),
             "<table border=\"0\" bgcolor=\"#0ABCDE\">\r\n<tr>\r\n   <td></td>\r\n</tr>\r\n"
             "</table>|");
}

void TestFormCommands::placesInMenusAndToolbars() {
    QCOMPARE(action("InsertionTableau")->shortcut(),
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    QCOMPARE(action("FormulaireRadio")->text(), "Case &radio...");
    QCOMPARE(action("FormulaireImage")->text(), "Image de formulaire...");
    auto *forms = f->form->findChild<QToolBar *>("TBForm");
    QVERIFY(forms);
    QVERIFY(forms->isVisible());
    QCOMPARE(forms->actions().first(), action("InsertionFormulaire"));
    QVERIFY(forms->actions().contains(action("FormulaireHidden")));
    auto *special = f->form->findChild<QToolBar *>("TBSpecial");
    QVERIFY(special && special->actions().contains(action("InsertionTableau")));
    QMenu *objects = f->form->findChild<QMenu *>("MenuObjetFormulaire");
    QVERIFY(objects);
    QCOMPARE(objects->actions().size(), 13);
    for (QAction *a : objects->actions())
        QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
    // Pressing the key runs the command.
    f->ui.onDialog = [](QDialog *) { return false; };
    QTest::keyClick(editor(), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f->ui.dialogsShown.size(), 1);
    QCOMPARE(f->ui.dialogsShown[0]->objectName(), "TTab_Boite");
    // Nothing to write into before there is a document.
    f = std::make_unique<MainFormFixture>(QStringList{}, false);
    QVERIFY(!editor());
    f->form->actions()->runUpdates();
    QVERIFY(!action("FormulaireRadio")->isEnabled());
    QVERIFY(!action("InsertionTableau")->isEnabled());
    f->form->show();
    f->form->actions()->runUpdates();
    QVERIFY(action("InsertionTableau")->isEnabled());
}

QTEST_MAIN(TestFormCommands)
#include "tst_form_commands.moc"
