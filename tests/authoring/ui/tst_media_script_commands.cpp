#include "editor_state.h"

#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "shell/ui/main_form.h"
#include "authoring/ui/image_boite.h"
#include "app/ui/help.h"
#include "ui/ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {

const QString kLogo = QStringLiteral(BALIZOR_SOURCE_DIR "/tests/data/logo_48x30.png");

template <typename T> T *child(QObject *parent, const char *name) {
    T *w = parent->findChild<T *>(QLatin1String(name));
    if (!w) qFatal("no control %s", name);
    return w;
}

QComboBox *combo(QObject *d, const char *name) {
    return child<QComboBox>(d, name);
}
QLineEdit *edit(QObject *d, const char *name) {
    return child<QLineEdit>(d, name);
}

} // namespace

class TestMediaScriptCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void imageFromTestData();
    void pictureFormats_data();
    void pictureFormats();
    void unitsFollowTheNaturalSize();
    void imageHistory();
    void savePromptForUntitled();
    void soundAndVideo_data();
    void soundAndVideo();
    void linkThenAnchor();
    void mailFromSelection_data();
    void mailFromSelection();
    void snippets_data();
    void snippets();
    void lineCommands_data();
    void lineCommands();
    void dialogsCommands_data();
    void dialogsCommands();
    void helpTopics_data();
    void helpTopics();
    void toolbarsHaveTheirCommands();

private:
    TMyMwCustomEdit *editor() { return f->form->documents()->ActiveEditor(); }
    QAction *action(const QString &name) { return f->form->actions()->action(name); }
    // A saved document in <temp>/site/pages/, with the logo copied to <temp>/site/img/.
    QString openSiteDocument();
    std::unique_ptr<MainFormFixture> f;
};

void TestMediaScriptCommands::init() {
    f = std::make_unique<MainFormFixture>();
    f->options.saveCheck = true;
}

void TestMediaScriptCommands::cleanup() {
    f.reset();
    setHelpHandler({});
}

QString TestMediaScriptCommands::openSiteDocument() {
    QDir(f->dir.path()).mkpath(QStringLiteral("site/pages"));
    QDir(f->dir.path()).mkpath(QStringLiteral("site/img"));
    QFile::copy(kLogo, f->path(QStringLiteral("site/img/logo.png")));
    const QString doc = f->writeFile(QStringLiteral("site/pages/index.html"), "");
    f->form->documents()->OpenDocument(doc, false);
    return f->path(QStringLiteral("site/img/logo.png"));
}

void TestMediaScriptCommands::imageFromTestData() {
    const QString logo = openSiteDocument();
    f->ui.openAnswers << QStringList{logo};
    QString width, height;
    bool preview = false;
    QString folder;
    f->ui.onDialog = [&](QDialog *d) {
        d->show();
        child<QToolButton>(d, "BoutParcourir")->click();
        width = edit(d, "Edit_Width")->text();
        height = edit(d, "Edit_Height")->text();
        preview = !child<QLabel>(d, "Preview")->pixmap().isNull();
        // The folder part is selected, ready to be typed over.
        folder = combo(d, "Edit_SRC")->lineEdit()->selectedText();
        edit(d, "Edit_Alt")->setText(QStringLiteral("Logo \"maison\""));
        d->hide();
        return true;
    };
    action("InsertionImage")->trigger();
    QCOMPARE(width, "48");
    QCOMPARE(height, "30");
    QVERIFY(preview);
    QCOMPARE(folder, "../img/");
    QCOMPARE(f->ui.fileRequests.size(), 1);
    QCOMPARE(QDir::cleanPath(f->ui.fileRequests.first().startFolder),
             QDir::cleanPath(f->path("site/pages")));
    QCOMPARE(EditorState::get(editor()),
             "<img src=\"../img/logo.png\" width=\"48\" height=\"30\" border=\"0\" "
             "alt=\"Logo &quot;maison&quot;\">|");
    editor()->undo();
    QCOMPARE(editor()->textCrLf(), QString());
}

void TestMediaScriptCommands::pictureFormats_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("message");
    QTest::newRow("svg width and height")
        << "a.svg"
        << QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='120' height='45'>"
                      "<rect width='120' height='45' fill='red'/></svg>")
        << "120"
        << "45"
        << "";
    QTest::newRow("svg viewBox")
        << "b.svg"
        << QByteArray("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 64 32'>"
                      "<circle cx='32' cy='16' r='10'/></svg>")
        << "64"
        << "32"
        << "";
    QTest::newRow("svg beyond four digits")
        << "g.svg"
        << QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='20000' height='12000'/>")
        << "20000"
        << "12000"
        << "";
    QTest::newRow("webp") << "c.webp" << QByteArray() << "40"
                          << "20"
                          << "";
    QTest::newRow("broken png") << "d.png" << QByteArray("\x89PNG\r\n\x1a\nnot really") << "7"
                                << "8"
                                << "Impossible d'ouvrir cette image PNG";
    QTest::newRow("broken gif") << "e.gif" << QByteArray("GIF89a") << "7"
                                << "8"
                                << "Impossible d'ouvrir cette image GIF";
    QTest::newRow("not a picture") << "f.jpg" << QByteArray("texte") << "7"
                                   << "8"
                                   << "Impossible d'ouvrir cette image";
    QTest::newRow("missing file") << "" << QByteArray() << "7"
                                  << "8"
                                  << "";
}

void TestMediaScriptCommands::pictureFormats() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QString, message);
    QString path = f->path(name.isEmpty() ? QStringLiteral("absent.png") : name);
    if (name.endsWith(QLatin1String(".webp"))) {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY2(image.save(path, "webp"), "the WebP image plugin is missing");
    } else if (!name.isEmpty()) {
        f->writeFile(name, bytes);
    }
    TImage_Boite dialog;
    dialog.show();
    // Another picture first: its size must not outlive it.
    dialog.loadPicture(kLogo);
    edit(&dialog, "Edit_Width")->setText("7");
    edit(&dialog, "Edit_Height")->setText("8");
    dialog.loadPicture(path);
    QCOMPARE(edit(&dialog, "Edit_Width")->text(), width);
    QCOMPARE(edit(&dialog, "Edit_Height")->text(), height);
    QCOMPARE(f->ui.lastMessage(), message);
    child<QToolButton>(&dialog, "Image2")->click();
    QCOMPARE(edit(&dialog, "Edit_Height")->text(), height);
    // A picture whose size is unknown never divides anything.
    child<QComboBox>(&dialog, "UniteLargeur")->setCurrentIndex(1);
    if (message.isEmpty() && !name.isEmpty())
        QCOMPARE(edit(&dialog, "Edit_Width")->text(), "100");
    else
        QCOMPARE(edit(&dialog, "Edit_Width")->text(), "7");
}

void TestMediaScriptCommands::unitsFollowTheNaturalSize() {
    QImage image(240, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QString path = f->path("large.png");
    QVERIFY(image.save(path));
    TImage_Boite dialog;
    dialog.show();
    dialog.loadPicture(path);
    QLineEdit *width = edit(&dialog, "Edit_Width");
    QComboBox *unit = combo(&dialog, "UniteLargeur");
    QVERIFY(!width->font().bold());
    width->setText("120");
    QVERIFY(width->font().bold());
    unit->setCurrentIndex(1);
    QCOMPARE(width->text(), "50");
    QVERIFY(width->font().bold());
    width->setText("33");
    unit->setCurrentIndex(0);
    QCOMPARE(width->text(), "79");
    unit->setCurrentIndex(1);
    child<QToolButton>(&dialog, "Image1")->click();
    QCOMPARE(width->text(), "100");
    QVERIFY(!width->font().bold());
    unit->setCurrentIndex(0);
    QCOMPARE(width->text(), "240");
    // An empty field changes unit without a message.
    width->clear();
    unit->setCurrentIndex(1);
    QCOMPARE(width->text(), "");
    QVERIFY(f->ui.messages.isEmpty());
    child<QToolButton>(&dialog, "Image2")->click();
    QCOMPARE(edit(&dialog, "Edit_Height")->text(), "100");
}

void TestMediaScriptCommands::imageHistory() {
    const QString logo = openSiteDocument();
    QDialog *seen = nullptr;
    f->ui.openAnswers << QStringList{logo} << QStringList{logo};
    QString alt = QStringLiteral("premier");
    f->ui.onDialog = [&](QDialog *d) {
        seen = d;
        d->show();
        child<QToolButton>(d, "BoutParcourir")->click();
        edit(d, "Edit_Alt")->setText(alt);
        d->hide();
        return true;
    };
    action("InsertionImage")->trigger();
    alt = QStringLiteral("second");
    EditorState::set(editor(), "|");
    action("InsertionImage")->trigger();
    auto *dialog = qobject_cast<TImage_Boite *>(seen);
    QVERIFY(dialog);
    QCOMPARE(dialog->history(), QStringList{"../img/logo.png"});
    // Choosing the remembered source brings back its values and its size.
    int remembered = 0;
    f->ui.onDialog = [&](QDialog *d) {
        d->show();
        remembered = combo(d, "Edit_SRC")->count();
        combo(d, "Edit_SRC")->setEditText("../img/logo.png");
        d->hide();
        return true;
    };
    EditorState::set(editor(), "|");
    action("InsertionImage")->trigger();
    QCOMPARE(remembered, 1);
    QCOMPARE(dialog->naturalSize(), QSize(48, 30));
    QCOMPARE(EditorState::get(editor()), "<img src=\"../img/logo.png\" width=\"48\" height=\"30\" "
                                         "border=\"0\" alt=\"second\">|");
}

void TestMediaScriptCommands::savePromptForUntitled() {
    f->options.saveCheck = false;
    QStringList shown;
    f->ui.onDialog = [&](QDialog *d) {
        shown << d->objectName();
        if (d->objectName() == QLatin1String("TSaveImgBox"))
            child<QCheckBox>(d, "CheckNePlusDemander")->setChecked(true);
        return false;
    };
    for (const char *name : {"InsertionImage", "InsertionLien", "InsertionSon", "InsertionVideo",
                             "InsertionScript", "ASPInc", "PHPInc"})
        action(name)->trigger();
    QCOMPARE(shown, QStringList({"TSaveImgBox", "TImage_Boite", "TLien_Boite", "TSonBox",
                                 "TVideoBox", "TScriptBoite", "TASPIncludeBox", "TPHPIncludeBox"}));
    QVERIFY(f->options.saveCheck);
    QCOMPARE(editor()->textCrLf(), QString());
}

void TestMediaScriptCommands::soundAndVideo_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("xhtml");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("after");
    QTest::newRow("sound") << "InsertionSon" << false
                           << QStringList{"SonEdit", "fond.wav", "EditRep", "3"}
                           << "<bgsound src=\"fond.wav\" loop=\"3\">|";
    QTest::newRow("sound forever, xhtml")
        << "InsertionSon" << true << QStringList{"SonEdit", "fond sonore.mid", "EditRep", "0"}
        << "<bgsound src=\"fond%20sonore.mid\" loop=\"infinite\" />|";
    QTest::newRow("video") << "InsertionVideo" << false
                           << QStringList{"VideoEdit", "film.avi", "ImgEdit",
                                          "film.gif",  "AltEdit",  "Le film"}
                           << "<img dynsrc=\"film.avi\" src=\"film.gif\" alt=\"Le film\">|";
}

void TestMediaScriptCommands::soundAndVideo() {
    QFETCH(QString, name);
    QFETCH(bool, xhtml);
    QFETCH(QStringList, fields);
    QFETCH(QString, after);
    f->options.xhtml = xhtml;
    f->ui.onDialog = [&](QDialog *d) {
        d->show();
        for (qsizetype i = 0; i < fields.size(); i += 2) {
            QWidget *w = d->findChild<QWidget *>(fields.at(i));
            if (auto *c = qobject_cast<QComboBox *>(w))
                c->setEditText(fields.at(i + 1));
            else
                qobject_cast<QLineEdit *>(w)->setText(fields.at(i + 1));
        }
        d->hide();
        return true;
    };
    EditorState::set(editor(), "|");
    action(name)->trigger();
    QCOMPARE(EditorState::get(editor()), after);
}

void TestMediaScriptCommands::linkThenAnchor() {
    f->options.casse = true;
    QStringList described;
    f->ui.onDialog = [&](QDialog *d) {
        d->show();
        combo(d, "Edit_Href")->setEditText("#haut");
        combo(d, "edit_target")->setEditText("_parent");
        described << child<QLabel>(d, "LabelTarget")->text();
        combo(d, "edit_target")->setEditText("_parents");
        described << child<QLabel>(d, "LabelTarget")->text();
        combo(d, "edit_target")->setEditText("");
        d->hide();
        return true;
    };
    EditorState::set(editor(), "Aller {en haut}");
    action("InsertionLien")->trigger();
    QCOMPARE(described, QStringList({"Ouverture dans le cadre parent", ""}));
    QCOMPARE(EditorState::get(editor()), "Aller <A HREF=\"#haut\">{en haut}</A>");

    QString offered;
    f->ui.onDialog = [&](QDialog *d) {
        offered = combo(d, "Edit_name")->currentText();
        return true;
    };
    EditorState::set(editor(), "|Titre");
    action("InsertionAncre")->trigger();
    QCOMPARE(offered, "haut");
    QCOMPARE(EditorState::get(editor()), "<A NAME=\"haut\"></A>|Titre");
}

void TestMediaScriptCommands::mailFromSelection_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("after");
    QTest::newRow("address in a sentence")
        << "{Écrire : <jean@site.fr>}"
        << "jean@site.fr"
        << "Bonjour à vous"
        << "<a href=\"mailto:jean@site.fr?subject=Bonjour%20%C3%A0%20vous\">{Écrire : "
           "<jean@site.fr>}</a>";
    QTest::newRow("no dot after @") << "{jean@site}"
                                    << ""
                                    << ""
                                    << "<a href=\"mailto:\">{jean@site}</a>";
    QTest::newRow("no selection") << "|"
                                  << ""
                                  << ""
                                  << "<a href=\"mailto:\">|</a>";
}

void TestMediaScriptCommands::mailFromSelection() {
    QFETCH(QString, before);
    QFETCH(QString, offered);
    QFETCH(QString, subject);
    QFETCH(QString, after);
    QString seen;
    f->ui.onDialog = [&](QDialog *d) {
        seen = edit(d, "MailEdit")->text();
        edit(d, "SujetEdit")->setText(subject);
        return true;
    };
    EditorState::set(editor(), before);
    action("InsertionMail")->trigger();
    QCOMPARE(seen, offered);
    QCOMPARE(EditorState::get(editor()), after);
}

void TestMediaScriptCommands::snippets_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("event, capitals") << "Events1" << true << "<p{}>"
                                     << "<p ONCLICK=\"|\">";
    QTest::newRow("event around a selection") << "Events9" << false << "<a {f()}>"
                                              << "<a  onmouseover=\"{f()}\">";
    QTest::newRow("ASP block") << "ASPBloc" << true << "|"
                               << "<%\r\n|\r\n%>";
    QTest::newRow("PHP block around lines") << "PHPBloc" << true << "{echo 1;}"
                                            << "<?php\r\n{echo 1;}\r\n?>";
    QTest::newRow("PHP comment") << "PHPCommenter" << true << "{x}"
                                 << "/* {x} */";
    QTest::newRow("SQL before the selection, never cased") << "SQLDropTable" << true << "{x}"
                                                           << "DROP TABLE NomTable\r\n{x}";
}

void TestMediaScriptCommands::snippets() {
    QFETCH(QString, name);
    QFETCH(bool, casse);
    QFETCH(QString, before);
    QFETCH(QString, after);
    f->options.casse = casse;
    EditorState::set(editor(), before);
    action(name)->trigger();
    QCOMPARE(EditorState::get(editor()), after);
    editor()->undo();
    QCOMPARE(EditorState::get(editor()).remove(QRegularExpression("[{}|]")),
             QString(before).remove(QRegularExpression("[{}|]")));
}

void TestMediaScriptCommands::lineCommands_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("comment") << "ASPCommenter"
                             << "a{b\r\nc}d\r\ne"
                             << "{'ab\r\n'cd\r\n}e";
    QTest::newRow("comment stops before a line taken at column 1") << "ASPCommenter"
                                                                   << "{a\r\n}b"
                                                                   << "{'a\r\n}b";
    QTest::newRow("uncomment keeps indentation") << "ASPDecommenter"
                                                 << "{  'x}"
                                                 << "{  x\r\n}";
    QTest::newRow("nothing selected at column 1") << "ASPCommenter"
                                                  << "|a"
                                                  << "|a";
}

void TestMediaScriptCommands::lineCommands() {
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(QString, after);
    EditorState::set(editor(), before);
    action(name)->trigger();
    QCOMPARE(EditorState::get(editor()), after);
}

void TestMediaScriptCommands::dialogsCommands_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("internal script")
        << "InsertionScript" << QStringList{"cblanguage", "JavaScript"} << "|"
        << "<script language=\"JavaScript\">\r\n<!--\r\n|\r\n// -->\r\n</script>";
    QTest::newRow("external script")
        << "InsertionScript" << QStringList{"cblanguage", "JScript", "ScriptEdit", "a b.js"} << "|x"
        << "<script language=\"JScript\" src=\"a%20b.js\"></script>|x";
    QTest::newRow("external script in capitals")
        << "InsertionScript" << QStringList{"cblanguage", "VBScript", "ScriptEdit", "a.vbs"} << "|x"
        << "<SCRIPT LANGUAGE=\"VBScript\" SRC=\"a.vbs\"></SCRIPT>|x";
    QTest::newRow("ASP include, virtual")
        << "ASPInc" << QStringList{"cbTypeVirtuel", "", "EditInclude", "/inc/a.asp"} << "|"
        << "<!-- #include virtual = \"/inc/a.asp\" -->|";
    QTest::newRow("PHP require") << "PHPInc"
                                 << QStringList{"cbTypeVirtuel", "", "EditInclude", "l'en-tête.php"}
                                 << "|"
                                 << "require 'l\\'en-tête.php';|";
    QTest::newRow("procedure around lines")
        << "ASPProcedure" << QStringList{"EditNom", "Calcul(a, b)", "RadioFunc", ""} << "x = {1}"
        << "Function Calcul(a, b)\r\n{x = 1}\r\nEnd Function\r\n";
    QTest::newRow("ASP string")
        << "ASPChaine" << QStringList{"EditNom", "sHtml"} << "{<p>\r\nTexte \"cité\"}"
        << "{sHtml = \"<p> \"\r\nsHtml = sHtml & \"Texte \"\"cité\"\" \"\r\n}";
}

void TestMediaScriptCommands::dialogsCommands() {
    QFETCH(QString, name);
    QFETCH(QStringList, fields);
    QFETCH(QString, before);
    QFETCH(QString, after);
    f->options.casse = QByteArray(QTest::currentDataTag()).contains("capitals");
    f->ui.onDialog = [&](QDialog *d) {
        d->show();
        for (qsizetype i = 0; i < fields.size(); i += 2) {
            QWidget *w = child<QWidget>(d, qPrintable(fields.at(i)));
            if (auto *c = qobject_cast<QComboBox *>(w))
                c->setEditText(fields.at(i + 1));
            else if (auto *e = qobject_cast<QLineEdit *>(w))
                e->setText(fields.at(i + 1));
            else if (auto *r = qobject_cast<QRadioButton *>(w))
                r->click();
        }
        d->hide();
        return true;
    };
    EditorState::set(editor(), before);
    action(name)->trigger();
    QCOMPARE(EditorState::get(editor()), after);
    if (name == QLatin1String("ASPChaine")) QCOMPARE(f->options.nomVariableASP, "sHtml");
}

void TestMediaScriptCommands::helpTopics_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("topic");
    QTest::newRow("image") << "InsertionImage"
                           << "Ressources/image.htm";
    QTest::newRow("son") << "InsertionSon"
                         << "Ressources/son.htm";
    QTest::newRow("video") << "InsertionVideo"
                           << "Ressources/video.htm";
    QTest::newRow("lien") << "InsertionLien"
                          << "Ressources/lien.htm";
    QTest::newRow("ancre") << "InsertionAncre"
                           << "Ressources/ancre.htm";
    QTest::newRow("email") << "InsertionMail"
                           << "Ressources/email.htm";
    QTest::newRow("script") << "InsertionScript"
                            << "Ressources/script.htm";
    QTest::newRow("asp include") << "ASPInc"
                                 << "Ressources/asp_include.htm";
    QTest::newRow("php include") << "PHPInc"
                                 << "Ressources/php_include.htm";
    QTest::newRow("procedure") << "ASPProcedure"
                               << "Ressources/asp_procedure.htm";
    QTest::newRow("chaine") << "ASPChaine"
                            << "Ressources/asp_chaine.htm";
}

void TestMediaScriptCommands::helpTopics() {
    QFETCH(QString, name);
    QFETCH(QString, topic);
    QString opened;
    setHelpHandler([&](const QString &t) { opened = t; });
    f->ui.onDialog = [&](QDialog *d) {
        child<QPushButton>(d, "BoutAide")->click();
        return false;
    };
    EditorState::set(editor(), "{a}");
    action(name)->trigger();
    QCOMPARE(opened, topic);
    QVERIFY2(QFile::exists(QStringLiteral(BALIZOR_SOURCE_DIR "/resources/") + topic),
             qPrintable(topic));
}

void TestMediaScriptCommands::toolbarsHaveTheirCommands() {
    auto names = [&](const char *bar) {
        QStringList l;
        for (QAction *a : f->form->findChild<QToolBar *>(QLatin1String(bar))->actions())
            if (!a->isSeparator() && !a->objectName().isEmpty()) l << a->objectName();
        return l;
    };
    QCOMPARE(names("TBASP"), QStringList({"ASPBloc", "ASPCommenter", "ASPDecommenter",
                                          "ASPProcedure", "ASPInc", "ASPChaine"}));
    QCOMPARE(names("TBPHP"), QStringList({"PHPBloc", "PHPCommenter", "PHPInc"}));
    QVERIFY(names("TBSQL").contains("SQLCreateTable"));
    for (const char *n :
         {"InsertionImage", "InsertionLien", "InsertionAncre", "ASPInc", "SQLSelect"})
        QVERIFY2(!action(n)->icon().isNull(), n);
    QCOMPARE(action("InsertionImage")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
    QCOMPARE(action("InsertionLien")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    QCOMPARE(action("InsertionMail")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    QCOMPARE(action("InsertionSon")->statusTip(), "Effet sonore (Explorer)");
    QCOMPARE(action("SQLSelect")->statusTip(), "Sélectionner (Select)");
    QCOMPARE(action("Events2")->text(), "OnDblClick");
    QCOMPARE(action("Events2")->statusTip(), "OnDbleClick");
}

QTEST_MAIN(TestMediaScriptCommands)
#include "tst_media_script_commands.moc"
