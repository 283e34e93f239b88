#include "authoring/script_markup.h"

#include <QTest>

using namespace Authoring;

namespace {

const SnippetCommand *find(const QList<SnippetCommand> &list, const QString &name) {
    for (const SnippetCommand &c : list)
        if (QLatin1String(c.name) == name) return &c;
    return nullptr;
}

} // namespace

class TestScriptMarkup : public QObject {
    Q_OBJECT
private slots:
    void snippets_data();
    void snippets();
    void sqlTemplates_data();
    void sqlTemplates();
    void script_data();
    void script();
    void include_data();
    void include();
    void procedure_data();
    void procedure();
    void lines_data();
    void lines();
};

void TestScriptMarkup::snippets_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");
    QTest::newRow("Events1") << "Events1"
                             << "OnClick" << false << " onclick=\""
                             << "\"";
    QTest::newRow("Events1 in capitals") << "Events1"
                                         << "OnClick" << true << " ONCLICK=\""
                                         << "\"";
    QTest::newRow("Events2") << "Events2"
                             << "OnDblClick" << false << " ondblclick=\""
                             << "\"";
    QTest::newRow("Events10") << "Events10"
                              << "OnMouseUp" << true << " ONMOUSEUP=\""
                              << "\"";
    QTest::newRow("ASPBloc, raw") << "ASPBloc"
                                  << "Insérer un bloc de script" << true << "<%\r\n"
                                  << "\r\n%>";
    QTest::newRow("PHPBloc, raw") << "PHPBloc"
                                  << "Insérer un bloc de script" << true << "<?php\r\n"
                                  << "\r\n?>";
    QTest::newRow("PHPCommenter") << "PHPCommenter"
                                  << "Commenter la sélection" << true << "/* "
                                  << " */";
}

void TestScriptMarkup::snippets() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, casse);
    QFETCH(QString, opening);
    QFETCH(QString, closing);
    // The list outlives the pointer into it.
    const auto commands = EventCommands() + ServerBlockCommands();
    const SnippetCommand *c = find(commands, name);
    QVERIFY(c);
    QCOMPARE(c->caption, caption);
    // What the wrap primitive writes: the raw ones as given.
    QCOMPARE(c->raw ? c->opening : ApplyTagCase(c->opening, casse), opening);
    QCOMPARE(c->raw ? c->closing : ApplyTagCase(c->closing, casse), closing);
    QCOMPARE(c->raw, !name.startsWith(QLatin1String("Events")));
}

void TestScriptMarkup::sqlTemplates_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("text");
    QTest::newRow("create") << "SQLCreateTable"
                            << "Creation d'une table"
                            << "Créer une table (Create Table)"
                            << "CREATE TABLE NomTable\r\n    (NomColonne varchar(20),\r\n    "
                               "NomColonne char(20),\r\n    NomColonne integer)\r\n";
    QTest::newRow("drop") << "SQLDropTable"
                          << "Suppression d'une table"
                          << "Supprimer une table (Drop Table)"
                          << "DROP TABLE NomTable\r\n";
    QTest::newRow("insert") << "SQLInsert"
                            << "Insertion"
                            << "Insérer (Insert)"
                            << "INSERT INTO NomTable\r\n    (NomColonne, NomColonneEntier)\r\n    "
                               "VALUES ('Valeur', ValeurNumerique)\r\n";
    QTest::newRow("select") << "SQLSelect"
                            << "Sélection"
                            << "Sélectionner (Select)"
                            << "SELECT NomColonne\r\n    FROM NomTable\r\n    WHERE NomColonne = "
                               "'Valeur'\r\n";
    QTest::newRow("update") << "SQLUpdate"
                            << "Mise à jour"
                            << "Mettre à jour (Update)"
                            << "UPDATE NomTable\r\n    SET NomColonne = 'valeur'\r\n    WHERE "
                               "NomColonne = 'Valeur'\r\n";
    QTest::newRow("delete") << "SQLDelete"
                            << "Suppression"
                            << "Supprimer (Delete)"
                            << "DELETE\r\n    FROM NomTable\r\n    WHERE NomColonne = 'Valeur'\r\n";
    const QString join = QStringLiteral(
        "SELECT NomColonne\r\n    FROM NomTable1\r\n    %1 JOIN NomTable2\r\n    ON "
        "NomTable1.NomColonne1 = NomTable2.NomColonne2\r\n    WHERE NomTable1.NomColonne = "
        "'Valeur'\r\n");
    QTest::newRow("inner") << "SQLInnerJoin"
                           << "Jointure"
                           << "Jointure (Inner Join)" << join.arg("INNER");
    QTest::newRow("left") << "SQLLeftJoin"
                          << "Jointure à gauche"
                          << "Jointure (Left Join)" << join.arg("LEFT OUTER");
    QTest::newRow("right") << "SQLRightOuterJoin"
                           << "Jointure à droite"
                           << "Jointure (Right Outer Join)" << join.arg("RIGHT OUTER");
}

void TestScriptMarkup::sqlTemplates() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(QString, text);
    QCOMPARE(SqlCommands().size(), 9);
    const SnippetCommand *c = find(SqlCommands(), name);
    QVERIFY(c);
    QCOMPARE(c->caption, caption);
    QCOMPARE(c->hint, hint);
    QCOMPARE(c->opening, text);
    QCOMPARE(c->closing, QString());
    QVERIFY(c->raw);
}

void TestScriptMarkup::script_data() {
    QTest::addColumn<bool>("external");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("picked");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("server");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");
    QTest::newRow("internal JavaScript") << false << "" << false << "JavaScript" << false << false
                                         << "<script language=\"JavaScript\">\r\n<!--\r\n"
                                         << "\r\n// -->\r\n</script>";
    QTest::newRow("lower-case javascript1.2 is guarded")
        << false << "" << false << "javascript1.2" << false << false
        << "<script language=\"javascript1.2\">\r\n<!--\r\n"
        << "\r\n// -->\r\n</script>";
    QTest::newRow("JScript is not") << false << "" << false << "JScript" << false << false
                                    << "<script language=\"JScript\">\r\n"
                                    << "\r\n</script>";
    QTest::newRow("server VBScript in capitals")
        << false << "" << false << "VBScript" << true << true
        << "<SCRIPT LANGUAGE=\"VBScript\" RUNAT=\"server\">\r\n"
        << "\r\n</SCRIPT>";
    QTest::newRow("external, typed")
        << true << "js/mon script.js" << false << "JavaScript" << false << false
        << "<script language=\"JavaScript\" "
           "src=\"js/mon%20script.js\">"
        << "</script>";
    QTest::newRow("external, picked") << true << "a%41.js" << true << "" << false << false
                                      << "<script language=\"\" src=\"a%2541.js\">"
                                      << "</script>";
    QTest::newRow("odd language escaped")
        << false << "" << false << "x\"y" << false << false << "<script language=\"x&quot;y\">\r\n"
        << "\r\n</script>";
}

void TestScriptMarkup::script() {
    QFETCH(bool, external);
    QFETCH(QString, file);
    QFETCH(bool, picked);
    QFETCH(QString, language);
    QFETCH(bool, server);
    QFETCH(bool, casse);
    QFETCH(QString, opening);
    QFETCH(QString, closing);
    const WrapStrings w =
        BuildScriptWrap({external, file, picked, language, server}, UrlEncoding::Windows1252);
    QCOMPARE(ApplyTagCase(w.opening, casse), opening);
    QCOMPARE(ApplyTagCase(w.closing, casse), closing);
}

void TestScriptMarkup::include_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("second");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("text");
    QTest::newRow("ASP file") << 0 << false << "inc/haut.asp"
                              << "<!-- #include file = \"inc/haut.asp\" -->";
    QTest::newRow("ASP virtual") << 0 << true << "/inc/haut.asp"
                                 << "<!-- #include virtual = \"/inc/haut.asp\" -->";
    QTest::newRow("ASP quote doubled") << 0 << false << "a\"b.inc"
                                       << "<!-- #include file = \"a\"\"b.inc\" -->";
    QTest::newRow("PHP include") << 1 << false << "inc/haut.php"
                                 << "include 'inc/haut.php';";
    QTest::newRow("PHP require") << 1 << true << "inc/haut.php"
                                 << "require 'inc/haut.php';";
    QTest::newRow("PHP quote and backslash escaped") << 1 << false << "l'en-tête\\x.php"
                                                     << "include 'l\\'en-tête\\\\x.php';";
    QTest::newRow("PHP path not encoded") << 1 << false << "mon dossier/a b.php"
                                          << "include 'mon dossier/a b.php';";
}

void TestScriptMarkup::include() {
    QFETCH(int, kind);
    QFETCH(bool, second);
    QFETCH(QString, path);
    QFETCH(QString, text);
    QCOMPARE(BuildInclude(IncludeKind(kind), second, path), text);
}

void TestScriptMarkup::procedure_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("function");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");
    QTest::newRow("sub") << "Affiche" << false << "Sub Affiche()\r\n"
                         << "\r\nEnd Sub\r\n";
    QTest::newRow("function with arguments")
        << "Calcul(a, b)" << true << "Function Calcul(a, b)\r\n"
        << "\r\nEnd Function\r\n";
}

void TestScriptMarkup::procedure() {
    QFETCH(QString, name);
    QFETCH(bool, function);
    QFETCH(QString, opening);
    QFETCH(QString, closing);
    const WrapStrings w = BuildProcedure(name, function);
    QCOMPARE(w.opening, opening);
    QCOMPARE(w.closing, closing);
}

void TestScriptMarkup::lines_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("result");
    QTest::newRow("comment") << "comment"
                             << "a\r\n  b\r\n"
                             << "'a\r\n'  b\r\n";
    QTest::newRow("comment, last line without break") << "comment"
                                                      << "a"
                                                      << "'a\r\n";
    QTest::newRow("comment, LF lines") << "comment"
                                       << "a\nb\n"
                                       << "'a\r\n'b\r\n";
    QTest::newRow("uncomment keeps the indentation") << "uncomment"
                                                     << "  'x\r\n'y\r\nz\r\n\t' 'w\r\n"
                                                     << "  x\r\ny\r\nz\r\n\t 'w\r\n";
    QTest::newRow("nothing selected") << "comment"
                                      << ""
                                      << "";
    QTest::newRow("string, several lines")
        << "multi"
        << "<p>\r\nTexte \"cité\"\r\n"
        << "sHtml = \"<p> \"\r\nsHtml = sHtml & \"Texte \"\"cité\"\" \"\r\n";
    QTest::newRow("string, trailing blank kept") << "multi"
                                                 << "a \r\n\r\n"
                                                 << "sHtml = \"a \"\r\nsHtml = sHtml & \" \"\r\n";
    QTest::newRow("single line, one line") << "single"
                                           << "<p>\r\n"
                                           << "sHtml = \"<p> \"\r\n";
    QTest::newRow("single line, three lines")
        << "single"
        << "a\r\nb\r\nc"
        << "sHtml = \"a \" & _ \r\n        \"b \" & _\r\n        \"c \"\r\n";
}

void TestScriptMarkup::lines() {
    QFETCH(QString, command);
    QFETCH(QString, selection);
    QFETCH(QString, result);
    const QString v = QStringLiteral("sHtml");
    const QString out = command == "comment"     ? CommentAspLines(selection)
                        : command == "uncomment" ? UncommentAspLines(selection)
                                                 : AspStringLines(selection, v, command == "multi");
    QCOMPARE(out, result);
}

QTEST_APPLESS_MAIN(TestScriptMarkup)
#include "tst_script_markup.moc"
