#include "editor_state.h"

#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "shell/ui/main_form.h"
#include "authoring/ui/colour_widgets.h"
#include "authoring/ui/css_box.h"
#include "authoring/ui/css_commands_module.h"
#include "app/ui/help.h"
#include "ui/ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

// The style-sheet commands through the main window: the style-sheet dialog, the
// rule skeletons and the declaration commands in their drop-downs.
class TestCssCommandsModule : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void styleSheet_data();
    void styleSheet();
    void styleSheetHistoryAndBrowse();
    void skeletons_data();
    void skeletons();
    void okNeedsTheRequiredBox_data();
    void okNeedsTheRequiredBox();
    void declarations_data();
    void declarations();
    void familyDropDowns();
    void splitItemWritesTheBareProperty();
    void paletteWritesTheColour();

private:
    TMyMwCustomEdit *editor() { return f->form->documents()->ActiveEditor(); }
    QAction *action(const QString &name) { return f->form->actions()->action(name); }
    std::unique_ptr<MainFormFixture> f;
};

namespace {

template <typename T> T *child(QObject *parent, const char *name) {
    T *w = parent->findChild<T *>(QLatin1String(name));
    if (!w) qFatal("no control %s in %s", name, qPrintable(parent->objectName()));
    return w;
}

QMenu *familyMenu(TMainForm *form, const char *family) {
    auto *b = form->findChild<QToolButton *>(QLatin1String(family));
    return b ? b->menu() : nullptr;
}

QAction *entry(QMenu *menu, const QString &text) {
    for (QAction *a : menu->actions()) {
        if (a->text() == text) return a;
    }
    return nullptr;
}

} // namespace

void TestCssCommandsModule::init() {
    f = std::make_unique<MainFormFixture>(QStringList{}, true, [](SettingsStore &s) {
        // Keep the save-first question out of the way.
        s.writeBool(QStringLiteral("Options"), QStringLiteral("SaveCheck"), true);
    });
}

void TestCssCommandsModule::cleanup() {
    f.reset();
}

void TestCssCommandsModule::styleSheet_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("external");
    QTest::addColumn<bool>("xhtml");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("internal around the selection")
        << "" << false << false << false << "{p}"
        << "<style type=\"text/css\">\r\n{p}\r\n</style>";
    QTest::newRow("typing chooses external")
        << "mes styles/site.css" << false << false << false << "|"
        << "<link rel=\"StyleSheet\" type=\"text/css\" href=\"mes%20styles/site.css\">|";
    QTest::newRow("external, XHTML")
        << "site.css" << true << true << false << "|"
        << "<link rel=\"StyleSheet\" type=\"text/css\" href=\"site.css\" />|";
    QTest::newRow("external, Casse keeps the values")
        << "Site.css" << true << false << true << "|"
        << "<LINK REL=\"StyleSheet\" TYPE=\"text/css\" HREF=\"Site.css\">|";
}

void TestCssCommandsModule::styleSheet() {
    QFETCH(QString, address);
    QFETCH(bool, external);
    QFETCH(bool, xhtml);
    QFETCH(bool, casse);
    QFETCH(QString, before);
    QFETCH(QString, after);
    f->options.xhtml = xhtml;
    f->options.casse = casse;
    QString title;
    f->ui.onDialog = [&](QDialog *d) {
        d->show();
        title = d->windowTitle();
        if (external) child<QRadioButton>(d, "RadioExterne")->setChecked(true);
        if (!address.isEmpty()) QTest::keyClicks(child<QComboBox>(d, "CSSEdit"), address);
        child<QPushButton>(d, "BoutOK")->click();
        return d->result() == QDialog::Accepted;
    };
    EditorState::set(editor(), before);
    action(QStringLiteral("InsertionCSS"))->trigger();
    QCOMPARE(title, QStringLiteral("Feuille de style"));
    QCOMPARE(EditorState::get(editor()), after);
}

void TestCssCommandsModule::styleSheetHistoryAndBrowse() {
    // Seven addresses, one typed twice in another case: six remain, newest first.
    const QStringList typed = {"a.css", "b.css", "c.css", "A.CSS",
                               "d.css", "e.css", "f.css", "g.css"};
    TCSSBox *box = nullptr;
    for (const QString &t : typed) {
        f->ui.onDialog = [&](QDialog *d) {
            box = qobject_cast<TCSSBox *>(d);
            d->show();
            QTest::keyClicks(child<QComboBox>(d, "CSSEdit"), t);
            return true;
        };
        EditorState::set(editor(), "|");
        action(QStringLiteral("InsertionCSS"))->trigger();
        // Kept: the same dialog each time, its box emptied when shown.
        QVERIFY(box);
    }
    QCOMPARE(box->history(), (QStringList{"g.css", "f.css", "e.css", "d.css", "A.CSS", "c.css"}));
    QCOMPARE(child<QComboBox>(box, "CSSEdit")->count(), 6);

    // Browsing chooses "Externe" and selects the folder part of the address.
    QVERIFY(QDir(f->dir.path()).mkpath(QStringLiteral("pages")));
    const QString doc = f->writeFile(QStringLiteral("pages/index.html"), "x\n");
    f->form->documents()->OpenDocument(doc, false);
    f->ui.openAnswers << QStringList{f->path(QStringLiteral("styles/site.css"))};
    QString selected;
    QString shownFirst = QStringLiteral("?");
    f->ui.onDialog = [&](QDialog *d) {
        d->show();
        shownFirst = child<QComboBox>(d, "CSSEdit")->currentText();
        child<QPushButton>(d, "BoutParcourir")->click();
        selected = child<QComboBox>(d, "CSSEdit")->lineEdit()->selectedText();
        return child<QRadioButton>(d, "RadioExterne")->isChecked();
    };
    EditorState::set(editor(), "|");
    action(QStringLiteral("InsertionCSS"))->trigger();
    QCOMPARE(f->ui.fileRequests.last().filter,
             QStringLiteral("Feuilles de style (*.css)|*.css|Tous les fichiers (*.*)|*.*"));
    QCOMPARE(shownFirst, QString()); // emptied when shown
    QCOMPARE(selected, QStringLiteral("../styles/"));
    QCOMPARE(
        EditorState::get(editor()),
        QStringLiteral("<link rel=\"StyleSheet\" type=\"text/css\" href=\"../styles/site.css\">|"));

    // "Aide" opens the page of the dialog.
    QStringList topics;
    setHelpHandler([&](const QString &t) { topics << t; });
    f->ui.onDialog = [&](QDialog *d) {
        child<QPushButton>(d, "BoutAide")->click();
        return false;
    };
    action(QStringLiteral("InsertionCSS"))->trigger();
    setHelpHandler({});
    QCOMPARE(topics, QStringList{QStringLiteral("Ressources/css.htm")});
}

void TestCssCommandsModule::skeletons_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("ruleName");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("tag") << "CSSBalise"
                         << "Insérer une nouvelle balise HTML"
                         << "h1"
                         << "" << false << "|"
                         << "h1{\r\n|\r\n}";
    QTest::newRow("class for h1, Casse") << "CSSClasse"
                                         << "Insérer une nouvelle classe"
                                         << "h1"
                                         << "titre" << true << "|"
                                         << "H1.titre{\r\n|\r\n}";
    QTest::newRow("class alone") << "CSSClasse"
                                 << "Insérer une nouvelle classe"
                                 << ""
                                 << "note" << false << "|"
                                 << ".note{\r\n|\r\n}";
    QTest::newRow("identifier around a selection") << "CSSIdent"
                                                   << "Insérer un nouvel identificateur unique"
                                                   << "div"
                                                   << "menu" << false << "{color:red;}"
                                                   << "div#menu{\r\n{color:red;}\r\n}";
}

void TestCssCommandsModule::skeletons() {
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, selector);
    QFETCH(QString, ruleName);
    QFETCH(bool, casse);
    QFETCH(QString, before);
    QFETCH(QString, after);
    f->options.casse = casse;
    QString shownTitle;
    f->ui.onDialog = [&](QDialog *d) {
        d->show();
        shownTitle = d->windowTitle();
        if (!ruleName.isEmpty()) QTest::keyClicks(child<QLineEdit>(d, "EditNom"), ruleName);
        if (!selector.isEmpty()) {
            if (auto *check = d->findChild<QCheckBox *>(QStringLiteral("CheckBalise")))
                check->setChecked(true);
            QTest::keyClicks(child<QComboBox>(d, "ComboTags"), selector);
        }
        child<QPushButton>(d, "BoutOK")->click();
        return d->result() == QDialog::Accepted;
    };
    EditorState::set(editor(), before);
    action(name)->trigger();
    QCOMPARE(shownTitle, title);
    QCOMPARE(EditorState::get(editor()), after);
}

void TestCssCommandsModule::okNeedsTheRequiredBox_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("tag") << int(Authoring::CssRuleKind::Tag);
    QTest::newRow("class") << int(Authoring::CssRuleKind::Class);
    QTest::newRow("identifier") << int(Authoring::CssRuleKind::Ident);
}

void TestCssCommandsModule::okNeedsTheRequiredBox() {
    QFETCH(int, kind);
    TCssRuleBox box{static_cast<Authoring::CssRuleKind>(kind)};
    auto *ok = child<QPushButton>(&box, "BoutOK");
    auto *tags = child<QComboBox>(&box, "ComboTags");
    QCOMPARE(tags->count(), 100);
    QCOMPARE(tags->itemText(tags->count() - 1), QStringLiteral("wbr"));
    QVERIFY(!ok->isEnabled());
    if (kind == int(Authoring::CssRuleKind::Tag)) {
        tags->setEditText(QStringLiteral("p"));
        QVERIFY(ok->isEnabled());
        return;
    }
    // The selector only counts once ticked; the name is what is required.
    QVERIFY(!tags->isEnabled());
    child<QCheckBox>(&box, "CheckBalise")->setChecked(true);
    QVERIFY(tags->isEnabled());
    tags->setEditText(QStringLiteral("p"));
    QVERIFY(!ok->isEnabled());
    child<QLineEdit>(&box, "EditNom")->setText(QStringLiteral("x"));
    QVERIFY(ok->isEnabled());
}

void TestCssCommandsModule::declarations_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("value before the selection") << "CSSBorderTopWidthThick"
                                                << "{foo}"
                                                << "border-top-width:thick;{foo}";
    QTest::newRow("placeholder around") << "CSSPaddingLeftPourc"
                                        << "{5%}"
                                        << "padding-left:{5%};";
    QTest::newRow("property around") << "CSSMarginTop"
                                     << "{12px}"
                                     << "margin-top:{12px};";
    QTest::newRow("no selection, value") << "CSSTextTextAlignCenter"
                                         << "|"
                                         << "text-align:center;|";
    QTest::newRow("no selection, property") << "CSSFontFamily"
                                            << "|"
                                            << "font-family:|;";
}

void TestCssCommandsModule::declarations() {
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(QString, after);
    f->options.casse = true; // never upper-cased
    EditorState::set(editor(), before);
    action(name)->trigger();
    QCOMPARE(EditorState::get(editor()), after);
}

void TestCssCommandsModule::familyDropDowns() {
    const char *families[][2] = {{"CSSBackground", "Fond"}, {"CSSText", "Texte"},
                                 {"CSSFont", "Police"},     {"CSSBorder", "Bordure"},
                                 {"CSSMargin", "Marges"},   {"CSSPadding", "Remplissage"},
                                 {"CSSListStyle", "Listes"}};
    for (const auto &fam : families) {
        auto *b = f->form->findChild<QToolButton *>(QLatin1String(fam[0]));
        QVERIFY2(b && b->menu(), fam[0]);
        QCOMPARE(b->text(), QString::fromUtf8(fam[1]));
    }
    QMenu *background = familyMenu(f->form.get(), "CSSBackground");
    QCOMPARE(background->actions().first(), action(QStringLiteral("CSSBackground_")));
    QVERIFY(background->actions().at(1)->isSeparator());
    QMenu *position = entry(background, QStringLiteral("Position de l'image de fond"))->menu();
    QVERIFY(position);
    QCOMPARE(position->actions().size(), 9 + 1 + 2);
    QVERIFY(position->actions().at(9)->isSeparator());
    QAction *placeholder = position->actions().at(10);
    QCOMPARE(placeholder, action(QStringLiteral("CSSBackgroundPositionXYpourc")));
    QVERIFY(placeholder->font().italic());
    QCOMPARE(placeholder->toolTip(), QStringLiteral("background-position"));
    QVERIFY(!position->actions().first()->font().italic());
    // The texte family has no shorthand item; a bare property is a plain item.
    QMenu *text = familyMenu(f->form.get(), "CSSText");
    QCOMPARE(text->actions().first()->text(), QStringLiteral("Couleur du texte"));
    QMenu *border = familyMenu(f->form.get(), "CSSBorder");
    QCOMPARE(entry(border, QStringLiteral("Bordure du haut")),
             action(QStringLiteral("CSSBorderTop")));
    // The bar is there, hidden until the user shows it.
    QAction *toggle = action(QStringLiteral("OutilsBarreCSS"));
    QVERIFY(toggle->isVisible());
    QVERIFY(!toggle->isChecked());
}

void TestCssCommandsModule::splitItemWritesTheBareProperty() {
    QMenu *font = familyMenu(f->form.get(), "CSSFont");
    font->popup(QPoint(0, 0));
    QVERIFY(QTest::qWaitForWindowExposed(font));
    QAction *size = entry(font, QStringLiteral("Taille de la police"));
    QVERIFY(size && size->menu());
    EditorState::set(editor(), "{12px}");
    QTest::mouseClick(font, Qt::LeftButton, {}, font->actionGeometry(size).center());
    QVERIFY(!font->isVisible());
    QCOMPARE(EditorState::get(editor()), QStringLiteral("font-size:{12px};"));
}

void TestCssCommandsModule::paletteWritesTheColour() {
    QMenu *background = familyMenu(f->form.get(), "CSSBackground");
    QMenu *colour = entry(background, QStringLiteral("Couleur de fond"))->menu();
    QCOMPARE(colour->actions().first(), action(QStringLiteral("CSSBackgroundColorTransparent")));
    auto *grid = colour->findChild<ColourGrid *>();
    QVERIFY(grid);
    EditorState::set(editor(), "{x}");
    const int red = ColourGrid::colours().indexOf(QColor(255, 0, 0));
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->swatchRect(red).center());
    QCOMPARE(EditorState::get(editor()), QStringLiteral("background-color:#FF0000;{x}"));
    QMenu *borderTop = entry(familyMenu(f->form.get(), "CSSBorder"),
                             QStringLiteral("Couleur de la bordure du haut"))
                           ->menu();
    EditorState::set(editor(), "|");
    grid = borderTop->findChild<ColourGrid *>();
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->swatchRect(red).center());
    QCOMPARE(EditorState::get(editor()), QStringLiteral("border-top-color:#FF0000;|"));
}

QTEST_MAIN(TestCssCommandsModule)
#include "tst_css_commands_module.moc"
