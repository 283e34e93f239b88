#include "editor_state.h"

#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "shell/ui/main_form.h"
#include "authoring/ui/colour_widgets.h"
#include "authoring/ui/font_boite.h"
#include "authoring/ui/font_colour_module.h"
#include "authoring/ui/hexa_dec_boite.h"
#include "ui/ui_test_support.h"

#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

// The font and colour commands through the main window: the font tag, the preset
// dialog and menu, the colour palette, bigger and smaller text, the toolbar's
// colour box and the converter.
class TestFontColourCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void wraps_data();
    void wraps();
    void noPresetAsks_data();
    void noPresetAsks();
    void presetDialogThroughControls();
    void newPresetNames_data();
    void newPresetNames();
    void deletingMiddlePresetHidesLastMenuItem();
    void presetMenuSelects();
    void colourSelectorSwatches();
    void paletteWritesUpperCaseColour();
    void toolbarColourBox();
    void converter_data();
    void converter();

private:
    TMyMwCustomEdit *editor() { return f->form->documents()->ActiveEditor(); }
    QAction *action(const QString &name) { return f->form->actions()->action(name); }
    void start(const std::function<void(SettingsStore &)> &preset = {});
    // Runs the preset dialog with `steps` and closes it.
    void runPresetDialog(const std::function<void(TFont_Boite *)> &steps);
    std::unique_ptr<MainFormFixture> f;
};

namespace {

template <typename T> T *child(QObject *parent, const char *name) {
    T *w = parent->findChild<T *>(QLatin1String(name));
    if (!w) qFatal("no control %s in %s", name, qPrintable(parent->objectName()));
    return w;
}

void writePreset(SettingsStore &s, int slot, const QString &name, const QString &size,
                 const QString &colour, const QString &face) {
    const QString sec = QStringLiteral("Fonts\\Font%1").arg(slot);
    s.writeString(sec, QStringLiteral("Nom"), name);
    s.writeString(sec, QStringLiteral("Taille"), size);
    s.writeString(sec, QStringLiteral("Couleur"), colour);
    s.writeString(sec, QStringLiteral("Face"), face);
}

void threePresets(SettingsStore &s) {
    writePreset(s, 1, QStringLiteral("Titres"), QStringLiteral("+1"), QStringLiteral("#FF0000"),
                QStringLiteral("Arial, Helvetica"));
    writePreset(s, 2, QStringLiteral("Vert"), QString(), QStringLiteral("#00FF00"), QString());
    writePreset(s, 3, QStringLiteral("Code & co"), QStringLiteral("-1"), QString(),
                QStringLiteral("Times New Roman, Arial"));
    s.writeInteger(QStringLiteral("Fonts"), QStringLiteral("Select"), 1);
}

void clickSwatch(ColourGrid *grid, const QColor &colour) {
    const int i = ColourGrid::colours().indexOf(colour);
    QVERIFY2(i >= 0, qPrintable(colour.name()));
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->swatchRect(i).center());
}

} // namespace

void TestFontColourCommands::start(const std::function<void(SettingsStore &)> &preset) {
    f.reset(); // one scripted seam at a time
    f = std::make_unique<MainFormFixture>(QStringList{}, true, preset);
}

void TestFontColourCommands::init() {
    start(threePresets);
}

void TestFontColourCommands::cleanup() {
    f.reset();
}

void TestFontColourCommands::runPresetDialog(const std::function<void(TFont_Boite *)> &steps) {
    f->ui.onDialog = [&](QDialog *d) {
        auto *box = qobject_cast<TFont_Boite *>(d);
        if (!box) return false;
        d->show();
        steps(box);
        child<QPushButton>(d, "BoutFermer")->click();
        return true;
    };
    action(QStringLiteral("TextePoliceConf"))->trigger();
}

void TestFontColourCommands::wraps_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("select");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("full preset")
        << "TexteFont" << 0 << false << "{mot}"
        << "<font face=\"Arial, Helvetica\" size=\"+1\" color=\"#FF0000\">{mot}</font>";
    QTest::newRow("full preset, Casse")
        << "TexteFont" << 0 << true << "{mot}"
        << "<FONT FACE=\"Arial, Helvetica\" SIZE=\"+1\" COLOR=\"#FF0000\">{mot}</FONT>";
    QTest::newRow("colour only") << "TexteFont" << 1 << false << "|"
                                 << "<font color=\"#00FF00\">|</font>";
    QTest::newRow("bigger") << "StyleAugmenter" << 0 << false << "a{b}c"
                            << "a<big>{b}</big>c";
    QTest::newRow("smaller, Casse") << "StyleDiminuer" << 0 << true << "|"
                                    << "<SMALL>|</SMALL>";
}

void TestFontColourCommands::wraps() {
    QFETCH(QString, name);
    QFETCH(int, select);
    QFETCH(bool, casse);
    QFETCH(QString, before);
    QFETCH(QString, after);
    f->options.casse = casse;
    f->options.fontSelect = select;
    EditorState::set(editor(), before);
    action(name)->trigger();
    QCOMPARE(EditorState::get(editor()), after);
    QVERIFY(f->ui.messages.isEmpty());
    editor()->undo();
    QCOMPARE(EditorState::get(editor()).remove(QRegularExpression(QStringLiteral("[{}|]"))),
             QString(before).remove(QRegularExpression(QStringLiteral("[{}|]"))));
}

void TestFontColourCommands::noPresetAsks_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes opens the dialog") << true;
    QTest::newRow("no does nothing") << false;
}

void TestFontColourCommands::noPresetAsks() {
    QFETCH(bool, yes);
    start();
    f->ui.answers << (yes ? MsgAnswer::Yes : MsgAnswer::No);
    f->ui.onDialog = [](QDialog *) { return false; };
    EditorState::set(editor(), "a|b");
    action(QStringLiteral("TexteFont"))->trigger();
    QCOMPARE(f->ui.messages.size(), 1);
    QCOMPARE(f->ui.messages.first().text,
             QStringLiteral("Aucun modèle de police n'est configuré.\r\n"
                            "Voulez-vous configurer un modèle maintenant ?"));
    QCOMPARE(f->ui.messages.first().type, MsgType::Warning);
    QCOMPARE(f->ui.dialogsShown.size(), yes ? 1 : 0);
    if (yes) QCOMPARE(f->ui.dialogsShown.first()->objectName(), QStringLiteral("TFont_Boite"));
    QCOMPARE(EditorState::get(editor()), QStringLiteral("a|b"));
}

void TestFontColourCommands::presetDialogThroughControls() {
    start();
    runPresetDialog([this](TFont_Boite *d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Polices"));
        // No preset: only "Nouveau" and "Fermer" work.
        QVERIFY(!child<QWidget>(d, "BoutAjouter")->isEnabled());
        QVERIFY(!child<QWidget>(d, "ComboTaille")->isEnabled());
        QVERIFY(child<QWidget>(d, "BoutNouveau")->isEnabled());
        f->ui.onDialog = [](QDialog *nom) {
            child<QLineEdit>(nom, "EditNom")->setText(QStringLiteral("Corps"));
            nom->accept();
            return nom->result() == QDialog::Accepted;
        };
        child<QPushButton>(d, "BoutNouveau")->click();
        QCOMPARE(child<QComboBox>(d, "ComboModeles")->currentText(), QStringLiteral("Corps"));
        QVERIFY(child<QWidget>(d, "BoutAjouter")->isEnabled());
        for (const char *face : {"Times New Roman", "Arial", "arial"}) {
            child<QFontComboBox>(d, "ComboPolices")->setEditText(QLatin1String(face));
            child<QPushButton>(d, "BoutAjouter")->click();
        }
        // Enter in the font box adds too ("Ajouter" is the default button).
        auto *fonts = child<QFontComboBox>(d, "ComboPolices");
        fonts->setEditText(QStringLiteral("Verdana"));
        QTest::keyClick(fonts->lineEdit(), Qt::Key_Return);
        auto *faces = child<QListWidget>(d, "ListePolices");
        QCOMPARE(faces->count(), 3);
        faces->setCurrentRow(2);
        child<QToolButton>(d, "BoutMonter")->click(); // Verdana before Arial
        faces->setCurrentRow(0);
        QTest::keyClick(faces, Qt::Key_Delete); // Times New Roman goes
        auto *size = child<QComboBox>(d, "ComboTaille");
        size->setCurrentIndex(size->findText(QStringLiteral("+2")));
        emit size->activated(size->currentIndex());
        auto *selector = child<TColorSelector>(d, "ColorSelector");
        QTest::keyClick(selector, Qt::Key_Space);
        QVERIFY(selector->dropDown()->isVisible());
        // The fifth swatch is pure red.
        QTest::mouseClick(selector->dropDown(), Qt::LeftButton, {},
                          selector->dropDown()->swatchRect(4).center());
        QVERIFY(!selector->dropDown()->isVisible());
        QCOMPARE(child<QLineEdit>(d, "EditCouleur")->text(), QStringLiteral("#FF0000"));
    });
    // Written when the dialog closes, the preset shown becomes the selected one.
    QCOMPARE(f->options.fonts[0].nom, QStringLiteral("Corps"));
    QCOMPARE(f->options.fonts[0].face, QStringLiteral("Verdana, Arial"));
    QCOMPARE(f->options.fonts[0].taille, QStringLiteral("+2"));
    QCOMPARE(f->options.fonts[0].couleur, QStringLiteral("#FF0000"));
    QCOMPARE(f->store->readString(QStringLiteral("Fonts\\Font1"), QStringLiteral("Face"), {}),
             QStringLiteral("Verdana, Arial"));
    QCOMPARE(f->store->readInteger(QStringLiteral("Fonts"), QStringLiteral("Select"), -1), 0);
    QVERIFY(action(QStringLiteral("Modele1"))->isVisible());
    QVERIFY(action(QStringLiteral("Modele1"))->isChecked());
    QVERIFY(!action(QStringLiteral("Modele2"))->isVisible());
    EditorState::set(editor(), "|");
    action(QStringLiteral("TexteFont"))->trigger();
    QCOMPARE(
        EditorState::get(editor()),
        QStringLiteral("<font face=\"Verdana, Arial\" size=\"+2\" color=\"#FF0000\">|</font>"));
}

void TestFontColourCommands::newPresetNames_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("count");
    QTest::newRow("empty, then accepted")
        << QStringList{"", "Quatre"} << QStringList{"Le nom de modèle est vide"} << 4;
    QTest::newRow("same name in capitals, then cancelled")
        << QStringList{"TITRES", "<cancel>"}
        << QStringList{"Ce nom de modèle existe déjà.\r\nChoisissez un nouveau nom."} << 3;
}

void TestFontColourCommands::newPresetNames() {
    QFETCH(QStringList, names);
    QFETCH(QStringList, messages);
    QFETCH(int, count);
    runPresetDialog([&](TFont_Boite *d) {
        f->ui.onDialog = [&](QDialog *nom) {
            // The name dialog stays open after a refused name.
            for (const QString &n : std::as_const(names)) {
                if (n == QLatin1String("<cancel>")) {
                    nom->reject();
                    break;
                }
                child<QLineEdit>(nom, "EditNom")->setText(n);
                nom->accept();
                if (nom->result() == QDialog::Accepted) break;
            }
            return nom->result() == QDialog::Accepted;
        };
        child<QPushButton>(d, "BoutNouveau")->click();
    });
    QStringList shown;
    for (const auto &m : f->ui.messages)
        shown << m.text;
    QCOMPARE(shown, messages);
    int n = 0;
    while (n < 10 && !f->options.fonts[n].nom.isEmpty())
        ++n;
    QCOMPARE(n, count);
}

void TestFontColourCommands::deletingMiddlePresetHidesLastMenuItem() {
    QVERIFY(action(QStringLiteral("Modele3"))->isVisible());
    f->ui.answers << MsgAnswer::Yes;
    runPresetDialog([](TFont_Boite *d) {
        auto *names = child<QComboBox>(d, "ComboModeles");
        QCOMPARE(names->currentText(), QStringLiteral("Vert")); // the selected preset
        child<QPushButton>(d, "BoutSupprimerModele")->click();
        QCOMPARE(names->count(), 2);
        QCOMPARE(names->currentText(), QStringLiteral("Titres"));
    });
    QCOMPARE(f->ui.messages.first().text,
             QStringLiteral("Etes-vous sûr de vouloir supprimer ce modèle ?"));
    QCOMPARE(f->options.fonts[0].nom, QStringLiteral("Titres"));
    QCOMPARE(f->options.fonts[1].nom, QStringLiteral("Code & co"));
    QCOMPARE(f->options.fonts[1].face, QStringLiteral("Times New Roman, Arial"));
    QCOMPARE(f->options.fonts[2].nom, QString());
    QVERIFY(!action(QStringLiteral("Modele3"))->isVisible());
    QCOMPARE(action(QStringLiteral("Modele2"))->text(), QStringLiteral("Code && co"));
    QCOMPARE(f->store->readString(QStringLiteral("Fonts\\Font3"), QStringLiteral("Nom"), {}),
             QString());
}

void TestFontColourCommands::presetMenuSelects() {
    QVERIFY(action(QStringLiteral("Modele2"))->isChecked());
    QVERIFY(!action(QStringLiteral("Modele4"))->isVisible());
    action(QStringLiteral("Modele3"))->trigger();
    QCOMPARE(f->options.fontSelect, 2);
    int ticked = 0;
    for (int i = 1; i <= 10; ++i)
        ticked += action(QStringLiteral("Modele%1").arg(i))->isChecked() ? 1 : 0;
    QCOMPARE(ticked, 1);
    QVERIFY(action(QStringLiteral("Modele3"))->isChecked());
    EditorState::set(editor(), "|");
    action(QStringLiteral("TexteFont"))->trigger();
    QCOMPARE(EditorState::get(editor()),
             QStringLiteral("<font face=\"Times New Roman, Arial\" size=\"-1\">|</font>"));
}

void TestFontColourCommands::colourSelectorSwatches() {
    TColorSelector selector;
    selector.show();
    QSignalSpy chosen(&selector, &TColorSelector::colourChosen);
    ColorSelectorPopup *drop = selector.dropDown();
    selector.openDropDown();
    QCOMPARE(drop->size(), QSize(78, 120));
    QCOMPARE(drop->swatchRect(5), QRect(3 + 18, 3 + 18, 16, 16));
    QTest::mouseClick(drop, Qt::LeftButton, {}, drop->swatchRect(17).center());
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(Authoring::ColourText(*selector.colour()), QStringLiteral("#A6CAF0"));
    // "Autre..." asks the system colour dialog, starting from the current colour.
    QColor initial;
    f->ui.onDialog = [&](QDialog *d) {
        auto *c = qobject_cast<QColorDialog *>(d);
        initial = c->currentColor();
        c->setCurrentColor(QColor(0x12, 0x34, 0x56));
        return true;
    };
    selector.openDropDown();
    drop->otherButton()->click();
    QCOMPARE(initial, QColor(0xA6, 0xCA, 0xF0));
    QCOMPARE(chosen.size(), 2);
    QCOMPARE(Authoring::ColourText(*selector.colour()), QStringLiteral("#123456"));
}

void TestFontColourCommands::paletteWritesUpperCaseColour() {
    QMenu *menu = f->form->actions()->menu(QStringLiteral("MenuCouleur"));
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("Couleur"));
    EditorState::set(editor(), "{mot}");
    clickSwatch(menu->findChild<ColourGrid *>(), QColor(255, 0, 0));
    QCOMPARE(EditorState::get(editor()), QStringLiteral("<font color=\"#FF0000\">{mot}</font>"));
    f->options.casse = true;
    EditorState::set(editor(), "|");
    clickSwatch(menu->findChild<ColourGrid *>(), QColor(0, 0, 255));
    QCOMPARE(EditorState::get(editor()), QStringLiteral("<FONT COLOR=\"#0000FF\">|</FONT>"));
}

void TestFontColourCommands::toolbarColourBox() {
    auto *edit = f->form->findChild<QLineEdit *>(QStringLiteral("ColorDropDownEdit"));
    auto *swatch = f->form->findChild<QToolButton *>(QStringLiteral("ColorSwatch"));
    QVERIFY(edit && swatch);
    QCOMPARE(swatch->toolTip(), QStringLiteral("Récupérer une couleur depuis la palette"));
    QCOMPARE(action(QStringLiteral("StylePipette"))->toolTip(),
             QStringLiteral("Récupérer une couleur à l'écran"));
    const QString text = editor()->textCrLf();
    auto *arrow = f->form->findChild<QToolButton *>(QStringLiteral("ColorDropDownArrow"));
    clickSwatch(arrow->menu()->findChild<ColourGrid *>(), QColor(255, 0, 0));
    QCOMPARE(edit->text(), QStringLiteral("#FF0000"));
    f->ui.onDialog = [](QDialog *d) {
        auto *c = qobject_cast<QColorDialog *>(d);
        if (!c || c->currentColor() != QColor(255, 0, 0)) return false;
        c->setCurrentColor(QColor(0xAB, 0xCD, 0xEF));
        return true;
    };
    swatch->click();
    QCOMPARE(edit->text(), QStringLiteral("#ABCDEF"));
    QCOMPARE(f->form->findChild<FontColourModule *>()->currentColour(), QColor(0xAB, 0xCD, 0xEF));
    // Cancelling keeps the colour; nothing ever goes into the document.
    f->ui.onDialog = [](QDialog *) { return false; };
    arrow->menu()->findChild<QAction *>(QStringLiteral("PlusDeCouleurs"))->trigger();
    QCOMPARE(edit->text(), QStringLiteral("#ABCDEF"));
    QCOMPARE(editor()->textCrLf(), text);
}

void TestFontColourCommands::converter_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<QString>("hex");
    QTest::newRow("255") << QStringList{"dec=255"} << "255"
                         << "FF";
    QTest::newRow("hex typed lower case") << QStringList{"hex=a0"} << "160"
                                          << "A0";
    QTest::newRow("one hex digit waits") << QStringList{"dec=7", "hex=F"} << "7"
                                         << "F";
    QTest::newRow("0F up") << QStringList{"hex=0F", "up"} << "16"
                           << "10";
    QTest::newRow("decimal arrow stops at 255") << QStringList{"dec=254", "decup", "decup"} << "255"
                                                << "FF";
}

void TestFontColourCommands::converter() {
    QFETCH(QStringList, steps);
    QFETCH(QString, decimal);
    QFETCH(QString, hex);
    QAction *toggle = action(QStringLiteral("OutilsConvertisseurHexa"));
    toggle->trigger();
    THexaDecBoite *box = f->form->findChild<FontColourModule *>()->converter();
    QVERIFY(box && box->isVisible());
    QVERIFY(toggle->isChecked());
    QCOMPARE(box->windowTitle(), QStringLiteral("Convertisseur Hexadécimal"));
    auto *dec = child<QLineEdit>(box, "EditDecimal");
    auto *hx = child<QLineEdit>(box, "EditHexa");
    QCOMPARE(dec->text(), QStringLiteral("0"));
    QCOMPARE(hx->text(), QStringLiteral("00"));
    for (const QString &s : steps) {
        if (s.startsWith(QLatin1String("dec="))) {
            dec->selectAll();
            QTest::keyClick(dec, Qt::Key_Backspace);
            QTest::keyClicks(dec, s.mid(4));
        } else if (s.startsWith(QLatin1String("hex="))) {
            hx->selectAll();
            QTest::keyClick(hx, Qt::Key_Backspace);
            QTest::keyClicks(hx, s.mid(4));
        } else if (s == QLatin1String("up")) {
            child<QToolButton>(box, "BoutHexaPlus")->click();
        } else if (s == QLatin1String("down")) {
            child<QToolButton>(box, "BoutHexaMoins")->click();
        } else if (s == QLatin1String("decup")) {
            child<QWidget>(box, "UpDownDecimal")->findChildren<QToolButton *>().first()->click();
        }
    }
    QCOMPARE(dec->text(), decimal);
    QCOMPARE(hx->text(), hex);
    toggle->trigger();
    QVERIFY(!box->isVisible());
    QVERIFY(!toggle->isChecked());
    toggle->trigger();
    QVERIFY(toggle->isChecked());
    box->close(); // from its title bar
    QVERIFY(!toggle->isChecked());
}

QTEST_MAIN(TestFontColourCommands)
#include "tst_font_colour_commands.moc"
