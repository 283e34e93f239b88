// The preferences window: every option to its stored value and back, Apply / OK /
// Annuler, the linked boxes, the checks of typed values, browsers and colours.
#include "app/document_types.h"
#include "app/settings_store.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/document_type_module.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "app/ui/preferences_commands.h"
#include "app/ui/preferences_dialog.h"
#include "editor/highlighter.h"
#include "editor/ui/highlight_lexer.h"
#include "app/ui/help.h"
#include "ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <Qsci/qsciscintilla.h>

class TstPreferences : public QObject {
    Q_OBJECT
private slots:
    void optionToStoreAndBack_data();
    void optionToStoreAndBack();
    void applyOkCancel_data();
    void applyOkCancel();
    void linkedBoxes_data();
    void linkedBoxes();
    void gutterAfterOkInEveryEditor();
    void refusedValues_data();
    void refusedValues();
    void extensionListTakesEffectAtOnce();
    void defaultExtensionRefusesTypedCharacter();
    void browserChoice();
    void userBrowserFields();
    void colourEditReachesEditor();
    void resetColours();
    void helpPerPage_data();
    void helpPerPage();
    void builtOnlyWhenShown();

private:
    static TfrmEnvOpts *dialog(MainFormFixture &f) { return f.form->preferences()->dialog(); }
    template <typename T> static T *child(QDialog *d, const QString &name) {
        T *w = d->findChild<T *>(name);
        if (!w) qWarning("no control %s", qPrintable(name));
        return w;
    }
    static void click(QDialog *d, const char *button) {
        child<QPushButton>(d, QString::fromLatin1(button))->click();
    }
    // Sets a control the way a user would leave it.
    static void setControl(QDialog *d, const QString &name, const QVariant &value) {
        if (auto *c = d->findChild<QCheckBox *>(name)) {
            if (c->isChecked() != value.toBool()) c->click();
        } else if (auto *r = d->findChild<QRadioButton *>(name)) {
            r->click();
        } else if (auto *b = d->findChild<QComboBox *>(name)) {
            if (b->isEditable())
                b->setEditText(value.toString());
            else
                b->setCurrentIndex(value.toInt());
        } else if (auto *e = d->findChild<QLineEdit *>(name)) {
            e->setText(value.toString());
        } else {
            QFAIL(qPrintable(QStringLiteral("no control %1").arg(name)));
        }
    }
    static QVariant controlValue(QDialog *d, const QString &name) {
        if (auto *c = d->findChild<QCheckBox *>(name)) return c->isChecked();
        if (auto *r = d->findChild<QRadioButton *>(name)) return r->isChecked();
        if (auto *b = d->findChild<QComboBox *>(name))
            return b->isEditable() ? QVariant(b->currentText()) : QVariant(b->currentIndex());
        if (auto *e = d->findChild<QLineEdit *>(name)) return e->text();
        return {};
    }
    // Opens the window, lets `fill` act in it and closes it with a button
    // ("BoutOK", "BoutAnnuler"; the window stays open when OK is refused).
    static bool showPreferences(MainFormFixture &f, const std::function<void(QDialog *)> &fill,
                                const char *closeWith = "BoutOK") {
        f.ui.onDialog = [&](QDialog *d) {
            d->setResult(QDialog::Rejected);
            fill(d);
            click(d, closeWith);
            return d->result() == QDialog::Accepted;
        };
        const int before = int(f.ui.dialogsShown.size());
        f.form->actions()->action(QStringLiteral("OutilsPref"))->trigger();
        f.ui.onDialog = nullptr;
        return f.ui.dialogsShown.size() > before &&
               f.ui.dialogsShown.last()->result() == QDialog::Accepted;
    }
};

void TstPreferences::optionToStoreAndBack_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    auto row = [](const char *control, const QVariant &v, const char *section, const char *key,
                  const char *stored) {
        QTest::newRow(control) << QString::fromLatin1(control) << v << QString::fromLatin1(section)
                               << QString::fromLatin1(key) << QString::fromLatin1(stored);
    };
    row("cbnormeXHTML", true, "Options", "XHTML", "1");
    row("cbCasseMarqueurs", true, "Options", "Casse", "1");
    row("comboDate", 3, "Options", "FormatDate", "3");
    row("cbSaveCheck", false, "Options", "SaveCheck", "1"); // inverted
    row("cbCompHTML", false, "Options", "CompHTML", "0");
    row("cbDocExiste", false, "Options", "DocExiste", "0");
    row("cbInstances", true, "Options", "OneInstance", "0"); // inverted
    row("cbMultiDoc", true, "Options", "MultiDoc", "1");
    row("ExtDefaut", QStringLiteral("html"), "Highlighters", "ExtensionDefaut", "html");
    row("OptcbxHighlighter", 2, "Highlighters", "TypeDefaut", "2");
    row("cbSplashScreen", false, "Options", "Splash", "0");
    row("cbLastDoc", false, "Text", "DossierParDefaut", "1"); // inverted
    row("RBCarN", true, "Text", "CaracteresAlphabetiques", "0");
    row("cbDragDropEditing", false, "Editor", "DragDropEditing", "0");
    row("cbDropFiles", false, "Editor", "DropFiles", "0");
    row("cbHalfPageScroll", false, "Editor", "HalfPageScroll", "0");
    row("cbScrollPastEol", true, "Editor", "ScrollPastEol", "1");
    row("cbKeepCaretX", false, "Editor", "KeepCaretX", "0");
    row("cbGroupUndo", false, "Editor", "GroupUndo", "0");
    row("cbAutoIndent", false, "Editor", "AutoIndent", "0");
    row("cbEnhanceHomeKey", false, "Editor", "EnhanceHomeKey", "0");
    row("cbWantTabs", false, "Editor", "WantTabs", "0");
    row("cbTabsToSpaces", false, "Editor", "TabsToSpaces", "0");
    row("cbSmartTabs", false, "Editor", "SmartTabs", "0");
    row("cbMatchBrackets", false, "Editor", "MatchBrackets", "0");
    row("cbGutterVisible", false, "Gutter", "ShowGutter", "0");
    row("cbShowLineNumbers", true, "Gutter", "ShowLineNumbers", "1");
    row("cbxRightEdge", QStringLiteral("80"), "RightEdge", "RightEdgeSize", "80");
    row("cbxGutterSize", QStringLiteral("45"), "Gutter", "GutterSize", "45");
    row("cbxTabSize", QStringLiteral("8"), "Editor", "TabsWidth", "8");
}

void TstPreferences::optionToStoreAndBack() {
    QFETCH(QString, control);
    QFETCH(QVariant, value);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, stored);
    MainFormFixture f;
    QVERIFY(!f.store->valueExists(section, key) || f.store->readString(section, key, {}) != stored);
    QVERIFY(showPreferences(f, [&](QDialog *d) { setControl(d, control, value); }));
    QCOMPARE(f.store->readString(section, key, {}), stored);

    // Shown again, the window shows what was chosen.
    QVariant shown;
    showPreferences(
        f, [&](QDialog *d) { shown = controlValue(d, control); }, "BoutAnnuler");
    QCOMPARE(shown, value);

    // And a new run reads it back into the same control.
    const QString file = f.dir.filePath(QStringLiteral("settings.ini"));
    f.store->sync();
    QFile::copy(file, f.dir.filePath(QStringLiteral("copy.ini")));
    MainFormFixture g({}, true, [&](SettingsStore &s) {
        SettingsStore old(f.dir.filePath(QStringLiteral("copy.ini")));
        s.writeString(section, key, old.readString(section, key, {}));
    });
    showPreferences(
        g, [&](QDialog *d) { shown = controlValue(d, control); }, "BoutAnnuler");
    QCOMPARE(shown, value);
}

void TstPreferences::applyOkCancel_data() {
    QTest::addColumn<QStringList>("buttons"); // pressed in order
    QTest::addColumn<int>("formatDateForRun");
    QTest::addColumn<bool>("stored");
    QTest::newRow("cancel") << QStringList{"BoutAnnuler"} << 0 << false;
    QTest::newRow("apply then cancel") << QStringList{"BoutAppliquer", "BoutAnnuler"} << 2 << false;
    QTest::newRow("ok") << QStringList{"BoutOK"} << 2 << true;
    QTest::newRow("apply then ok") << QStringList{"BoutAppliquer", "BoutOK"} << 2 << true;
}

void TstPreferences::applyOkCancel() {
    QFETCH(QStringList, buttons);
    QFETCH(int, formatDateForRun);
    QFETCH(bool, stored);
    MainFormFixture f;
    const QString last = buttons.takeLast();
    const QByteArray closeWith = last.toLatin1();
    showPreferences(
        f,
        [&](QDialog *d) {
            setControl(d, QStringLiteral("comboDate"), 2);
            for (const QString &b : buttons)
                click(d, b.toLatin1().constData());
        },
        closeWith.constData());
    QCOMPARE(f.options.formatDate, formatDateForRun);
    QCOMPARE(f.store->valueExists(QStringLiteral("Options"), QStringLiteral("FormatDate")), stored);
    // Shown again after a cancel, the window shows the option in force.
    QVariant shown;
    showPreferences(
        f, [&](QDialog *d) { shown = controlValue(d, QStringLiteral("comboDate")); },
        "BoutAnnuler");
    QCOMPARE(shown.toInt(), formatDateForRun);
}

void TstPreferences::linkedBoxes_data() {
    // Start state, one user action, end state. State: gutter, line numbers, gutter
    // size, tabs to spaces, smart tabs.
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("end");
    QTest::newRow("smart tabs checks conversion") << "1,0,30,0,0"
                                                  << "click cbSmartTabs"
                                                  << "1,0,30,1,1";
    QTest::newRow("no conversion unchecks smart tabs") << "1,0,30,1,1"
                                                       << "click cbTabsToSpaces"
                                                       << "1,0,30,0,0";
    QTest::newRow("line numbers show the gutter at 30") << "0,0,0,1,1"
                                                        << "click cbShowLineNumbers"
                                                        << "1,1,30,1,1";
    QTest::newRow("gutter off: size 0, no numbers") << "1,1,45,1,1"
                                                    << "click cbGutterVisible"
                                                    << "0,0,0,1,1";
    QTest::newRow("gutter on from 0 gives 30") << "0,0,0,1,1"
                                               << "click cbGutterVisible"
                                               << "1,0,30,1,1";
    QTest::newRow("gutter on keeps a size") << "0,0,12,1,1"
                                            << "click cbGutterVisible"
                                            << "1,0,12,1,1";
    QTest::newRow("gutter on over junk gives 30") << "0,0,abc,1,1"
                                                  << "click cbGutterVisible"
                                                  << "1,0,30,1,1";
    QTest::newRow("typed size shows the gutter") << "0,0,0,1,1"
                                                 << "type 25"
                                                 << "1,0,25,1,1";
    QTest::newRow("typed zero hides it, text stays") << "1,0,30,1,1"
                                                     << "type 0"
                                                     << "0,0,0,1,1";
    QTest::newRow("typed zero hides the numbers too") << "1,1,30,1,1"
                                                      << "type 0"
                                                      << "0,0,0,1,1";
    QTest::newRow("typing past an empty box") << "1,0,30,1,1"
                                              << "type "
                                              << "0,0,,1,1";
}

void TstPreferences::linkedBoxes() {
    QFETCH(QString, start);
    QFETCH(QString, action);
    QFETCH(QString, end);
    MainFormFixture f;
    auto state = [](QDialog *d) {
        return QStringList{child<QCheckBox>(d, "cbGutterVisible")->isChecked() ? "1" : "0",
                           child<QCheckBox>(d, "cbShowLineNumbers")->isChecked() ? "1" : "0",
                           child<QComboBox>(d, "cbxGutterSize")->currentText(),
                           child<QCheckBox>(d, "cbTabsToSpaces")->isChecked() ? "1" : "0",
                           child<QCheckBox>(d, "cbSmartTabs")->isChecked() ? "1" : "0"}
            .join(',');
    };
    QString got;
    showPreferences(
        f,
        [&](QDialog *d) {
            const QStringList s = start.split(',');
            // Set the start state without the links acting, as a stored state would.
            auto *gutter = child<QCheckBox>(d, "cbGutterVisible");
            auto *numbers = child<QCheckBox>(d, "cbShowLineNumbers");
            auto *size = child<QComboBox>(d, "cbxGutterSize");
            auto *spaces = child<QCheckBox>(d, "cbTabsToSpaces");
            auto *smart = child<QCheckBox>(d, "cbSmartTabs");
            for (QObject *o : {(QObject *)gutter, (QObject *)numbers, (QObject *)size,
                               (QObject *)spaces, (QObject *)smart})
                o->blockSignals(true);
            gutter->setChecked(s[0] == "1");
            numbers->setChecked(s[1] == "1");
            size->setEditText(s[2]);
            spaces->setChecked(s[3] == "1");
            smart->setChecked(s[4] == "1");
            for (QObject *o : {(QObject *)gutter, (QObject *)numbers, (QObject *)size,
                               (QObject *)spaces, (QObject *)smart})
                o->blockSignals(false);
            if (action.startsWith("click "))
                child<QCheckBox>(d, action.mid(6))->click();
            else
                size->setEditText(action.mid(5));
            got = state(d);
        },
        "BoutAnnuler");
    QCOMPARE(got, end);
}

void TstPreferences::gutterAfterOkInEveryEditor() {
    MainFormFixture f({}, true, [](SettingsStore &s) {
        s.writeBool("Gutter", "ShowGutter", false);
        s.writeString("Gutter", "GutterSize", "0");
    });
    f.form->documents()->FileNew();
    QCOMPARE(f.form->documents()->EditorCount(), 2);
    QCOMPARE(f.form->documents()->EditorAt(0)->marginWidth(0), 0);
    QVERIFY(showPreferences(f, [](QDialog *d) {
        QVERIFY(!child<QCheckBox>(d, "cbGutterVisible")->isChecked());
        QCOMPARE(child<QComboBox>(d, "cbxGutterSize")->currentText(), QString("0"));
        child<QCheckBox>(d, "cbShowLineNumbers")->click();
    }));
    for (int i = 0; i < 2; ++i) {
        TMyMwCustomEdit *e = f.form->documents()->EditorAt(i);
        QVERIFY(e->marginWidth(0) >= 30);
        QVERIFY(e->marginLineNumbers(0));
    }
    QCOMPARE(f.store->readString("Gutter", "GutterSize", {}), QString("30"));
}

void TstPreferences::refusedValues_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("tab width 0") << "cbxTabSize"
                                 << "0"
                                 << "L'arrêt de tabulation doit être";
    QTest::newRow("tab width words") << "cbxTabSize"
                                     << "huit"
                                     << "\"huit\" ne convient pas";
    QTest::newRow("pasted size with unit") << "cbxGutterSize"
                                           << "30px"
                                           << "La largeur de gouttière";
    QTest::newRow("negative edge") << "cbxRightEdge"
                                   << "-1"
                                   << "La marge de droite";
    QTest::newRow("empty extensions") << "EditExtensions"
                                      << ""
                                      << "Document HTML";
    QTest::newRow("bar in extensions") << "EditExtensions"
                                       << "*.htm|*.x"
                                       << "*.htm|*.x";
    QTest::newRow("paren in extensions") << "EditExtensions"
                                         << "*.htm)"
                                         << "ne sont pas valides";
    QTest::newRow("bare names") << "EditExtensions"
                                << "htm; html"
                                << "*.ext";
}

void TstPreferences::refusedValues() {
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QString, message);
    MainFormFixture f;
    const Options before = f.options;
    const QString htmlFilter =
        f.form->documentTypes()->types().entry(DocumentTypes::SynMultiSynHTML).filter;
    int page = -1;
    const bool accepted = showPreferences(f, [&](QDialog *d) {
        setControl(d, QStringLiteral("cbxTabSize"), QStringLiteral("8")); // a valid change too
        if (auto *e = d->findChild<QLineEdit *>(control)) {
            e->selectAll();
            e->del();
            QTest::keyClicks(e, text); // as typed, through the box's own handlers
        } else {
            setControl(d, control, text);
        }
        click(d, "BoutAppliquer");
        page = d->findChild<QTabWidget *>("PageControl1")->currentIndex();
    });
    QVERIFY(!accepted);
    QVERIFY2(f.ui.lastMessage().contains(message), qPrintable(f.ui.lastMessage()));
    QCOMPARE(f.ui.messages.last().type, MsgType::Error);
    // Nothing applied: the page with the fault is shown.
    QCOMPARE(f.options.editor.tabsWidth, before.editor.tabsWidth);
    QCOMPARE(f.form->documentTypes()->types().entry(DocumentTypes::SynMultiSynHTML).filter,
             htmlFilter);
    QCOMPARE(page, control == "EditExtensions" ? 1 : 4);
}

void TstPreferences::extensionListTakesEffectAtOnce() {
    MainFormFixture f;
    QVERIFY(showPreferences(f, [](QDialog *d) {
        auto *types = child<QComboBox>(d, "cbxHighlighter");
        QCOMPARE(types->itemText(0), QString("Document HTML"));
        QCOMPARE(child<QLineEdit>(d, "EditExtensions")->text(),
                 QString("*.htm;*.html;*.shtm;*.shtml"));
        auto *e = child<QLineEdit>(d, "EditExtensions");
        e->selectAll();
        QTest::keyClicks(e, "*.htm; *.xhtml");
        // Another type shows its own list; coming back shows the edited one.
        types->setCurrentIndex(2);
        QCOMPARE(e->text(), QString("*.css"));
        types->setCurrentIndex(0);
        QCOMPARE(e->text(), QString("*.htm; *.xhtml"));
    }));
    const DocumentTypes &t = f.form->documentTypes()->types();
    QCOMPARE(t.entry(DocumentTypes::SynMultiSynHTML).filter,
             QString("Fichiers HTML (*.htm; *.xhtml)|*.htm; *.xhtml"));
    QCOMPARE(HighlighterForExtension(t, "xhtml"), int(DocumentTypes::SynMultiSynHTML));
    QCOMPARE(HighlighterForExtension(t, "html"), -1);
    QCOMPARE(f.store->readString("Highlighters", "Document HTML", {}),
             QString("Fichiers HTML (*.htm; *.xhtml)|*.htm; *.xhtml"));
    // A file opened now gets the new list's type.
    const QString page = f.writeFile("page.xhtml", "<p>x</p>\r\n");
    f.form->documents()->OpenDocument(page, true);
    QCOMPARE(f.form->documentTypes()->highlighterOf(f.form->documents()->ActiveEditor()),
             int(DocumentTypes::SynMultiSynHTML));
}

void TstPreferences::defaultExtensionRefusesTypedCharacter() {
    MainFormFixture f;
    QString shown;
    showPreferences(
        f,
        [&](QDialog *d) {
            auto *e = child<QLineEdit>(d, "ExtDefaut");
            e->clear();
            QTest::keyClicks(e, "h/t");
            shown = e->text();
            // A pasted name is checked as a whole.
            e->selectAll();
            e->insert("a:b");
            QCOMPARE(e->text(), QString("ht"));
        },
        "BoutAnnuler");
    QCOMPARE(shown, QString("ht"));
    QCOMPARE(f.ui.messages.size(), 2);
    QCOMPARE(f.ui.messages.first().text,
             QString::fromUtf8("Une extension de fichier ne peut contenir l'un des caractères "
                               "suivants :\r\n\\ / : * ? \" < > |"));
}

void TstPreferences::browserChoice() {
    MainFormFixture f;
    ActionRegistry *r = f.form->actions();
    // Whether the embedded browser counts depends on the machine: read the list.
    int defaultEntry = -1;
    showPreferences(
        f,
        [&](QDialog *d) {
            auto *nav = child<QComboBox>(d, "ComboNav");
            defaultEntry = nav->findText(QString::fromUtf8("Navigateur par défaut"));
            QCOMPARE(nav->count(), r->action("Nav1")->isVisible() ? 4 : 3);
            nav->setCurrentIndex(defaultEntry);
            emit nav->activated(defaultEntry);
            QVERIFY(!child<QWidget>(d, "PanelNavUtilisateur")->isVisibleTo(d));
        },
        "BoutAnnuler");
    // Chosen at once, and not undone by Annuler.
    QVERIFY(r->action("Nav2")->isChecked());
    QVERIFY(!r->action("Nav1")->isChecked());
    QCOMPARE(f.options.browser.nav, (std::array<bool, 4>{false, true, false, false}));

    // NavPerso opens the window on the page with the choice.
    int pageShown = -1;
    QString choiceShown;
    f.ui.onDialog = [&](QDialog *d) {
        pageShown = d->findChild<QTabWidget *>("PageControl1")->currentIndex();
        choiceShown = child<QComboBox>(d, "ComboNav")->currentText();
        return false;
    };
    dialog(f)->showPage(3);
    r->action("NavPerso")->trigger();
    QCOMPARE(pageShown, 0);
    QCOMPARE(choiceShown, QString::fromUtf8("Navigateur par défaut"));
    QCOMPARE(r->action("NavPerso")->toolTip(), QString("Personnalier"));
}

void TstPreferences::userBrowserFields() {
    MainFormFixture f;
    ActionRegistry *r = f.form->actions();
    const QString text = f.writeFile("notes.txt", "x");
    const QString program = f.writeFile("navigateur.sh", "#!/bin/sh\n");
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
    f.ui.openAnswers = {{text}, {program}};
    showPreferences(
        f,
        [&](QDialog *d) {
            auto *nav = child<QComboBox>(d, "ComboNav");
            const int entry = nav->count() - 2; // user browser 1
            nav->setCurrentIndex(entry);
            emit nav->activated(entry);
            QVERIFY(child<QWidget>(d, "PanelNavUtilisateur")->isVisibleTo(d));
            auto *label = child<QLineEdit>(d, "LibelleEdit");
            QCOMPARE(label->text(), QString("Navigateur utilisateur"));
            label->clear();
            QTest::keyClicks(label, "Mon & navigateur");
            emit label->editingFinished();
            QCOMPARE(nav->currentText(), QString("Mon & navigateur"));
            // A file that is not a program is refused.
            auto *browse = d->findChild<QToolButton *>("BoutParcourirNav");
            QCOMPARE(browse->toolTip(), QString("Parcourir..."));
            browse->click();
            QCOMPARE(child<QLineEdit>(d, "CheminEdit")->text(), QString());
            QVERIFY(f.ui.lastMessage().contains("n'est pas un programme exécutable"));
            browse->click();
            QCOMPARE(child<QLineEdit>(d, "CheminEdit")->text(), program);
            QVERIFY(f.ui.fileRequests.last().filter.indexOf(".exe") < 0);
            // An emptied caption comes back as the default one.
            label->clear();
            emit label->editingFinished();
            QCOMPARE(label->text(), QString("Navigateur utilisateur"));
            label->clear();
            QTest::keyClicks(label, "Essai");
            emit label->editingFinished();
        },
        "BoutAnnuler");
    QVERIFY(r->action("Nav3")->isChecked());
    QCOMPARE(f.options.browser.cheminNav3, program);
    QCOMPARE(f.options.browser.libelleNav3, QString("Essai"));
    QCOMPARE(r->action("Nav3")->text(), QString("Essai"));
}

void TstPreferences::colourEditReachesEditor() {
    MainFormFixture f;
    const QString page = f.writeFile("page.htm", "<!-- note -->\r\n<p>x</p>\r\n");
    f.form->documents()->OpenDocument(page, true);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    auto *lexer = DocumentTypeModule::lexerOf(e);
    QVERIFY(lexer);
    const Highlighter *html =
        f.form->documentTypes()->types().highlighter(DocumentTypes::SynHTMLSyn1);
    const int comment = html->categoryIndex(QStringLiteral("Commentaire"));
    const int style = HighlightLexer::styleFor(Language::Html, comment);
    QCOMPARE(lexer->color(style), QColor(128, 128, 128));
    const int styleBefore = html->attribute(comment).style;

    auto edit = [&](QDialog *d) {
        auto *types = child<QListWidget>(d, "lbLanguage");
        QCOMPARE(types->count(), 8);
        QCOMPARE(types->item(0)->text(), QString("Document HTML"));
        QCOMPARE(types->item(5)->text(), QString("PHP"));
        types->setCurrentRow(0);
        child<QListWidget>(d, "lbElement")->setCurrentRow(comment);
        QWidget *grid = child<QWidget>(d, "ColorGrid");
        grid->resize(105, 81);
        // Red is the second cell of the third row; a right click on white sets the fond.
        QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(26 + 13, 40 + 10));
        QTest::mouseClick(grid, Qt::RightButton, {}, QPoint(3 * 26 + 13, 60 + 10));
        // The box shows the category's style; a click turns italic over.
        auto *italic = child<QCheckBox>(d, "cbItalic");
        QCOMPARE(italic->isChecked(), bool(styleBefore & StyleItalic));
        italic->click();
        // The sample shows the edit before anything is applied.
        auto *sample = d->findChild<QsciScintilla *>("ApercuCouleurs");
        QCOMPARE(sample->lexer()->color(style), QColor(255, 0, 0));
        QCOMPARE(lexer->color(style), QColor(128, 128, 128));
    };
    showPreferences(f, edit, "BoutAnnuler");
    QCOMPARE(html->attribute(comment).foreground, TextColour::rgb(128, 128, 128));
    QCOMPARE(html->attribute(comment).style, styleBefore);

    QVERIFY(showPreferences(f, edit));
    QCOMPARE(html->attribute(comment).foreground, TextColour::rgb(255, 0, 0));
    QCOMPARE(html->attribute(comment).background, TextColour::rgb(255, 255, 255));
    QCOMPARE(html->attribute(comment).style, styleBefore ^ StyleItalic);
    QCOMPARE(lexer->color(style), QColor(255, 0, 0));
    QCOMPARE(lexer->paper(style), QColor(255, 255, 255));
    QCOMPARE(lexer->font(style).italic(), !(styleBefore & StyleItalic));
    // Stored under the type's key, category by category.
    QCOMPARE(f.store->readInteger("Highlighters\\Document HTML\\Commentaire", "Foreground", 0),
             0x0000FF);
}

void TstPreferences::resetColours() {
    MainFormFixture f;
    f.store->writeInteger("Highlighters\\Document HTML\\Commentaire", "Foreground", 0xFF);
    f.ui.answers = {MsgAnswer::Yes};
    showPreferences(
        f, [](QDialog *d) { child<QPushButton>(d, "BoutReinitialiser")->click(); }, "BoutAnnuler");
    QCOMPARE(f.ui.messages.size(), 2);
    QCOMPARE(f.ui.messages[0].buttons, MsgButtons::YesNo);
    QCOMPARE(f.ui.messages[1].text,
             QString::fromUtf8("Les modifications seront prises en compte après redémarrage de "
                               "l'application."));
    QVERIFY(!f.store->sectionExists("Highlighters\\Document HTML"));
    QVERIFY(f.form->documentTypes()->types().coloursReset());
}

void TstPreferences::helpPerPage_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("topic");
    QTest::newRow("Général") << 0 << "Ressources/preferences.htm";
    for (int p = 1; p < 6; ++p)
        QTest::newRow(qPrintable(QString::number(p)))
            << p << QStringLiteral("Ressources/preferences%1.htm").arg(p + 1);
}

void TstPreferences::helpPerPage() {
    QFETCH(int, page);
    QFETCH(QString, topic);
    MainFormFixture f;
    QString asked;
    setHelpHandler([&](const QString &t) { asked = t; });
    showPreferences(
        f,
        [&](QDialog *d) {
            d->findChild<QTabWidget *>("PageControl1")->setCurrentIndex(page);
            click(d, "BoutAide");
        },
        "BoutAnnuler");
    setHelpHandler(nullptr);
    QCOMPARE(asked, topic);
}

void TstPreferences::builtOnlyWhenShown() {
    MainFormFixture f;
    // Made with the main window, its pages wait for the first showing.
    QVERIFY(dialog(f));
    QVERIFY(!dialog(f)->built());
    QVERIFY(!dialog(f)->findChild<QTabWidget *>());
    showPreferences(
        f,
        [](QDialog *d) {
            auto *pages = d->findChild<QTabWidget *>("PageControl1");
            QStringList names;
            for (int i = 0; i < pages->count(); ++i)
                names << pages->tabText(i);
            QCOMPARE(names, (QStringList{"Général", "Type de document", "Démarrage", "Accents",
                                         "Editeur", "Couleurs"}));
            QCOMPARE(d->windowTitle(), QString::fromUtf8("Préférences"));
        },
        "BoutAnnuler");
    QVERIFY(dialog(f)->built());
}

QTEST_MAIN(TstPreferences)
#include "tst_preferences.moc"
