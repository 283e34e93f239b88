// The plain highlighters on snippets of their languages.

#include "app/document_types.h"
#include "editor/plain_highlighters.h"
#include "editor/scan_support.h"
#include "highlight_probe.h"

#include <QRandomGenerator>
#include <QtTest>

class TestScanners : public QObject {
    Q_OBJECT
private slots:
    void categories_data();
    void categories();
    void exactTokens_data();
    void exactTokens();
    void htmlElementNames();
    void elementNamesOfAnyCase_data();
    void elementNamesOfAnyCase();
    void findAgreesWithAPlainSearch_data();
    void findAgreesWithAPlainSearch();
    void multiLineStatesSettle_data();
    void multiLineStatesSettle();

private:
    DocumentTypes m_types;
};

void TestScanners::categories_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("needle");
    QTest::addColumn<int>("occurrence");
    QTest::addColumn<QString>("expected");

    auto row = [](const char *name, int type, const char *text, const char *needle, int occurrence,
                  const char *expected) {
        QTest::newRow(name) << type << QByteArray(text) << QByteArray(needle) << occurrence
                            << QString::fromUtf8(expected);
    };
    const int general = DocumentTypes::SynGeneralSyn1;
    row("general/markup", general, "<b>x</b> /* y */", "<b>x</b>", 0, "general:Identificateur");
    row("general/comment", general, "<b>x</b> /* y */", "/*", 0, "general:Identificateur");

    const int html = DocumentTypes::SynHTMLSyn1;
    const char *table = "<table border=\"1\" class=x>caf&eacute; &#233;&#x41;</TABLE>";
    row("html/known element", html, table, "table", 0, "html:Identificateur");
    row("html/closing element", html, table, "TABLE", 0, "html:Identificateur");
    row("html/slash", html, table, "/", 0, "html:Symbole");
    row("html/open", html, table, "<", 0, "html:Symbole");
    row("html/close", html, table, ">", 0, "html:Symbole");
    row("html/equals", html, table, "=", 0, "html:Symbole");
    row("html/attribute", html, table, "border", 0, "html:Mot réservé");
    row("html/quoted value", html, table, "\"1\"", 0, "html:Valeur");
    row("html/bare value", html, table, "x", 0, "html:Valeur");
    row("html/text", html, table, "caf", 0, "html:Texte");
    row("html/named entity", html, table, "&eacute;", 0, "html:Caractères spéciaux");
    row("html/decimal entity", html, table, "&#233;", 0, "html:Caractères spéciaux");
    row("html/hex entity", html, table, "&#x41;", 0, "html:Caractères spéciaux");
    row("html/unknown element", html, "<blah>x</blah>", "blah", 1, "html:Mot inconnu");
    row("html/comment continues", html, "a <!-- one\ntwo\nthree --> b", "two", 0,
        "html:Commentaire");
    row("html/after comment", html, "a <!-- one\ntwo --> b", "b", 0, "html:Texte");
    row("html/value continues", html, "<a title=\"two\nlines\" href=y>", "lines", 0, "html:Valeur");
    row("html/attribute after value", html, "<a title=\"two\nlines\" href=y>", "href", 0,
        "html:Mot réservé");
    row("html/tag continues", html, "<img\n  src=\"a.png\"\n  alt=\"\">", "alt", 0,
        "html:Mot réservé");
    row("html/lone less-than", html, "a < b", "<", 0, "html:Texte");
    row("html/doctype", html, "<!DOCTYPE html>", "DOCTYPE", 0, "html:Mot réservé");
    row("html/entity in value", html, "<a title=\"&amp;\">", "&amp;", 0,
        "html:Caractères spéciaux");
    row("html/accented text", html, "<p>été</p>", "été", 0, "html:Texte");

    const int xml = DocumentTypes::SynXMLSyn1;
    const char *doc = "<?xml version=\"1.0\"?>\n<root xmlns:x=\"urn:a\" id='5'>&amp; txt</root>";
    row("xml/declaration", xml, doc, "version", 0, "xml:Instruction de traitement");
    row("xml/element", xml, doc, "root", 0, "xml:Nom d'élément");
    row("xml/namespace attribute", xml, doc, "xmlns:x", 0, "xml:Nom d'attribut d'espace");
    row("xml/namespace value", xml, doc, "\"urn:a\"", 0, "xml:Valeur d'attribut d'espace");
    row("xml/attribute", xml, doc, "id", 0, "xml:Nom d'attribut");
    row("xml/value", xml, doc, "'5'", 0, "xml:Valeur d'attribut");
    row("xml/entity", xml, doc, "&amp;", 0, "xml:Entité de référence");
    row("xml/text", xml, doc, "txt", 0, "xml:Texte");
    row("xml/cdata continues", xml, "<a><![CDATA[ x < y\nstill ]]></a>", "still", 0,
        "xml:Section CDATA");
    row("xml/after cdata", xml, "<a><![CDATA[ x\n]]></a>", "a", 1, "xml:Nom d'élément");
    row("xml/doctype subset", xml, "<!DOCTYPE n [\n<!ENTITY e \"v\">\n]>\n<n/>", "ENTITY", 0,
        "xml:Section DOCTYPE");
    row("xml/after doctype", xml, "<!DOCTYPE n [\n<!ENTITY e \"v\">\n]>\n<n/>", "n", 1,
        "xml:Nom d'élément");
    row("xml/comment continues", xml, "<!-- c\nd -->", "d", 0, "xml:Commentaire");

    const int css = DocumentTypes::SynCssSyn1;
    const char *rule = "body { color: #FF0000; margin: 10px 1.5em; colr: red }";
    row("css/selector", css, rule, "body", 0, "css:Texte");
    row("css/brace", css, rule, "{", 0, "css:Symbole");
    row("css/property", css, rule, "color", 0, "css:Propriété");
    row("css/hex colour", css, rule, "#FF0000", 0, "css:Couleur");
    row("css/length", css, rule, "10px", 0, "css:Nombre");
    row("css/float unit", css, rule, "1.5em", 0, "css:Nombre");
    row("css/unknown property", css, rule, "colr", 0, "css:Propriété inconnue");
    row("css/named colour", css, rule, "red", 0, "css:Couleur");
    const char *media = "@media screen and (max-width: 600px) {\n  p.x { font-size: 12pt "
                        "!important; width: 50% }\n}\nh1 {}";
    row("css/at-rule", css, media, "@media", 0, "css:Mot réservé");
    row("css/media type", css, media, "screen", 0, "css:Valeur");
    row("css/nested selector", css, media, "p.x", 0, "css:Texte");
    row("css/nested property", css, media, "font-size", 0, "css:Propriété");
    row("css/important", css, media, "!important", 0, "css:Mot réservé");
    row("css/percentage", css, media, "50%", 0, "css:Nombre");
    row("css/after nested block", css, media, "h1", 0, "css:Texte");
    row("css/comment continues", css, "/* multi\nline */ h1 {}", "line", 0, "css:Commentaire");
    row("css/after comment", css, "/* multi\nline */ h1 {}", "h1", 0, "css:Texte");
    row("css/url", css, "a { background: url(img/a.png) no-repeat }", "img/a.png", 0, "css:Chaîne");
    row("css/value keyword", css, "a { background: url(img/a.png) no-repeat }", "no-repeat", 0,
        "css:Valeur");
    row("css/string", css, "a:hover { content: \"x;y\" }", "\"x;y\"", 0, "css:Chaîne");
    row("css/pseudo-class", css, "a:hover { content: \"x;y\" }", "a:hover", 0, "css:Texte");
    row("css/font-face", css, "@font-face { font-family: Foo }", "font-family", 0, "css:Propriété");
    row("css/vendor prefix", css, "x { -webkit-transition: none; --main: 1 }", "-webkit-transition",
        0, "css:Propriété");
    row("css/custom property", css, "x { -webkit-transition: none; --main: 1 }", "--main", 0,
        "css:Propriété");
    row("css/id selector", css, "#menu { top: 0 }", "#menu", 0, "css:Texte");

    const int js = DocumentTypes::SynJScriptSyn1;
    const char *fn = "function f(a) { return a * 0x1F + 1.5e3; }";
    row("js/reserved", js, fn, "function", 0, "js:Mot réservé");
    row("js/identifier", js, fn, "f", 1, "js:Identificateur");
    row("js/hex", js, fn, "0x1F", 0, "js:Nombre");
    row("js/float", js, fn, "1.5e3", 0, "js:Nombre");
    row("js/paren", js, fn, "(", 0, "js:Symbole");
    row("js/comment continues", js, "/* a\nb */ var x", "b", 0, "js:Commentaire");
    row("js/after block comment", js, "/* a\nb */ var x", "var", 0, "js:Mot réservé");
    row("js/line comment ends", js, "// c\nlet y", "let", 0, "js:Mot réservé");
    row("js/escaped quote", js, "var s = 'it\\'s'; t = \"q\";", "'it\\'s'", 0, "js:Chaîne");
    row("js/after string", js, "var s = 'it\\'s'; t = \"q\";", "t", 1, "js:Identificateur");
    row("js/template continues", js, "var t = `a\n${x}\nb`;\nvar z;", "b", 0, "js:Chaîne");
    row("js/template expression", js, "var t = `a\n${x}\nb`;\nvar z;", "x", 0, "js:Identificateur");
    row("js/after template", js, "var t = `a\n${x}\nb`;\nvar z;", "z", 0, "js:Identificateur");
    row("js/built-in", js, "document.onclick = alert;", "document", 0, "js:Mot clé non réservé");
    row("js/event", js, "document.onclick = alert;", "onclick", 0, "js:Evénement");
    row("js/division", js, "x = a / b / c", "/", 0, "js:Symbole");
    row("js/regex", js, "r = /ab+c/gi.test(s)", "/ab+c/gi", 0, "js:Chaîne");
    row("js/regex after paren", js, "if (/[/]x/.test(s)) {}", "/[/]x/", 0, "js:Chaîne");
    row("js/continued string", js, "var s = \"a\\\ncontinued\";", "continued", 0, "js:Chaîne");
    row("js/unterminated string ends", js, "var s = \"a\nvar", "var", 1, "js:Mot réservé");

    const int vbs = DocumentTypes::SynVBScriptSyn1;
    row("vbs/reserved any case", vbs, "DIM x ' note", "DIM", 0, "vbs:Mot réservé");
    row("vbs/comment", vbs, "DIM x ' note", "note", 0, "vbs:Commentaire");
    row("vbs/rem", vbs, "Rem note\nx = 1", "note", 0, "vbs:Commentaire");
    row("vbs/after rem", vbs, "Rem note\nx = 1", "x", 0, "vbs:Identificateur");
    const char *cond = "If x = &HFF Then y = \"a\"\"b\" : d = #1/2/2003#";
    row("vbs/hex", vbs, cond, "&HFF", 0, "vbs:Nombre");
    row("vbs/doubled quote", vbs, cond, "\"a\"\"b\"", 0, "vbs:Chaîne");
    row("vbs/then", vbs, cond, "Then", 0, "vbs:Mot réservé");
    row("vbs/date", vbs, cond, "#1/2/2003#", 0, "vbs:Nombre");

    const int php = DocumentTypes::SynPHPSyn1;
    row("php/variable", php, "$name = 'x'; // c", "$name", 0, "php:Variable");
    row("php/string", php, "$name = 'x'; // c", "'x'", 0, "php:Chaîne");
    row("php/line comment", php, "$name = 'x'; // c", "// c", 0, "php:Commentaire");
    row("php/hash comment", php, "# c\necho \"Hi $user!\";", "# c", 0, "php:Commentaire");
    row("php/keyword", php, "# c\necho \"Hi $user!\";", "echo", 0, "php:Mot réservé");
    row("php/interpolated", php, "# c\necho \"Hi $user!\";", "$user", 0, "php:Variable");
    row("php/string text", php, "# c\necho \"Hi $user!\";", "Hi", 0, "php:Chaîne");
    row("php/comment continues", php, "/* a\nb */ function", "b", 0, "php:Commentaire");
    row("php/keyword any case", php, "/* a\nb */ FUNCTION", "FUNCTION", 0, "php:Mot réservé");
    const char *heredoc = "$s = <<<EOT\nText $v\n  EOT;\n$t = 1;";
    row("php/heredoc body", php, heredoc, "Text", 0, "php:Chaîne");
    row("php/heredoc variable", php, heredoc, "$v", 0, "php:Variable");
    row("php/heredoc end", php, heredoc, "EOT", 1, "php:Chaîne");
    row("php/after heredoc", php, heredoc, "$t", 0, "php:Variable");
    row("php/nowdoc", php, "$n = <<<'EOT'\n$raw\nEOT;\n$k;", "$raw", 0, "php:Chaîne");
    row("php/after nowdoc", php, "$n = <<<'EOT'\n$raw\nEOT;\n$k;", "$k", 0, "php:Variable");
    row("php/numbers", php, "$x = 0x1A + 3.14;", "3.14", 0, "php:Nombre");
    row("php/multi-line string", php, "$s = 'multi\nline';\n$u;", "line", 0, "php:Chaîne");
    row("php/after multi-line string", php, "$s = 'multi\nline';\n$u;", "$u", 0, "php:Variable");
    row("php/attribute", php, "#[Attr]\nclass A {}", "#", 0, "php:Symbole");

    const int perl = DocumentTypes::SynPerlSyn1;
    row("perl/my", perl, "my $x = 42; # c", "my", 0, "perl:Mot réservé");
    row("perl/scalar", perl, "my $x = 42; # c", "$x", 0, "perl:Variable");
    row("perl/number", perl, "my $x = 42; # c", "42", 0, "perl:Nombre");
    row("perl/comment", perl, "my $x = 42; # c", "# c", 0, "perl:Commentaire");
    row("perl/pragma", perl, "use strict;\nuse POSIX;", "strict", 0, "perl:Pragma");
    row("perl/module", perl, "use strict;\nuse POSIX;", "POSIX", 0, "perl:Identificateur");
    row("perl/named operator", perl, "if ($a eq 'b') {}", "eq", 0, "perl:Opérateur");
    row("perl/string continues", perl, "print \"a\nb\";\nmy $c;", "b", 0, "perl:Chaîne");
    row("perl/after string", perl, "print \"a\nb\";\nmy $c;", "$c", 0, "perl:Variable");
    row("perl/pod", perl, "=pod\ndoc\n=cut\nmy $y;", "doc", 0, "perl:Commentaire");
    row("perl/after pod", perl, "=pod\ndoc\n=cut\nmy $y;", "my", 0, "perl:Mot réservé");
    row("perl/substitution", perl, "$s =~ s/a/b/g;", "s/a/b/g", 0, "perl:Chaîne");
    row("perl/bracketed substitution", perl, "$s =~ s{a}\n{b}x; $t", "{b}x", 0, "perl:Chaîne");
    row("perl/after substitution", perl, "$s =~ s{a}\n{b}x; $t", "$t", 0, "perl:Variable");
    row("perl/qw continues", perl, "@l = qw(a (b)\nc);\n$z", "c", 0, "perl:Chaîne");
    row("perl/after qw", perl, "@l = qw(a (b)\nc);\n$z", "$z", 0, "perl:Variable");
    row("perl/array", perl, "@l = qw(a (b)\nc);\n$z", "@l", 0, "perl:Variable");
    row("perl/match", perl, "if ($x =~ /a\\/b/i) {}", "/a\\/b/i", 0, "perl:Chaîne");
    row("perl/division", perl, "$r = $x / 2;", "/", 0, "perl:Symbole");
    row("perl/heredoc body", perl, "print <<EOF;\nbody $x\nEOF\nmy $z;", "body", 0, "perl:Chaîne");
    row("perl/heredoc end", perl, "print <<EOF;\nbody $x\nEOF\nmy $z;", "EOF", 1, "perl:Chaîne");
    row("perl/after heredoc", perl, "print <<EOF;\nbody $x\nEOF\nmy $z;", "my", 0,
        "perl:Mot réservé");
    row("perl/data", perl, "1;\n__END__\nmy $q", "my", 0, "perl:Commentaire");
    row("perl/hash element", perl, "$h{key} = %ENV;", "%ENV", 0, "perl:Variable");
    row("perl/modulo", perl, "$m = $a % 3;", "%", 0, "perl:Symbole");
    row("perl/fat comma", perl, "%h = (s => 1, y => 2);", "y", 0, "perl:Identificateur");
    row("perl/illegal", perl, "my \x01 $x", "\x01", 0, "perl:Caractère illégal");

    const int sql = DocumentTypes::SynSQLSyn1;
    const char *select = "SELECT COUNT(*) FROM `my table` WHERE id = 0x1F; -- c";
    row("sql/keyword", sql, select, "SELECT", 0, "sql:Mot réservé");
    row("sql/function", sql, select, "COUNT", 0, "sql:Fonction");
    row("sql/delimited", sql, select, "`my table`", 0, "sql:Identifiant délimité");
    row("sql/hex", sql, select, "0x1F", 0, "sql:Nombre");
    row("sql/comment", sql, select, "-- c", 0, "sql:Commentaire");
    row("sql/identifier", sql, select, "id", 0, "sql:Identificateur");
    row("sql/type", sql, "CREATE TABLE t (id INT, name varchar(20))", "INT", 0,
        "sql:Type de données");
    row("sql/type lower case", sql, "CREATE TABLE t (id INT, name varchar(20))", "varchar", 0,
        "sql:Type de données");
    row("sql/conditional", sql, "/*!40101 SET NAMES utf8 */ SELECT", "NAMES", 0,
        "sql:Commentaire conditionnel");
    row("sql/comment continues", sql, "/* a\nb */ SELECT", "b", 0, "sql:Commentaire");
    row("sql/after comment", sql, "/* a\nb */ SELECT", "SELECT", 0, "sql:Mot réservé");
    row("sql/variable", sql, "SET @v = 'a\nb';\nSELECT @@version;", "@v", 0, "sql:Variable");
    row("sql/string continues", sql, "SET @v = 'a\nb';\nSELECT @@version;", "b", 0, "sql:Chaîne");
    row("sql/system variable", sql, "SET @v = 'a\nb';\nSELECT @@version;", "@@version", 0,
        "sql:Variable");
    row("sql/hash comment", sql, "# c\nSELECT 1", "# c", 0, "sql:Commentaire");
    row("sql/dash without space", sql, "SELECT 1--2", "-", 0, "sql:Symbole");
    row("sql/left function", sql, "SELECT LEFT(a, 1) FROM a LEFT JOIN b", "LEFT", 0,
        "sql:Fonction");
    row("sql/left keyword", sql, "SELECT LEFT(a, 1) FROM a LEFT JOIN b", "LEFT", 1,
        "sql:Mot réservé");
    row("sql/escaped quote", sql, "SELECT 'it''s \\' x' AS y", "'it''s \\' x'", 0, "sql:Chaîne");
    row("sql/delimiter command", sql, "DELIMITER $$", "DELIMITER", 0, "sql:Commande SQL*Plus");
}

void TestScanners::categories() {
    QFETCH(int, type);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, needle);
    QFETCH(int, occurrence);
    QFETCH(QString, expected);
    QCOMPARE(probe::tokenAt(m_types, *m_types.highlighter(type), text, needle, occurrence),
             expected);
}

// Token boundaries of whole lines: "text|text|..." with the category initials.
void TestScanners::exactTokens_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("tokens");

    QTest::newRow("html tag") << int(DocumentTypes::SynHTMLSyn1) << QByteArray("<a href='x'>b</a>")
                              << QString("<|a| |href|=|'x'|>|b|<|/|a|>");
    QTest::newRow("js operators") << int(DocumentTypes::SynJScriptSyn1)
                                  << QByteArray("if(a>=b){c[0]()}")
                                  << QString("if|(|a|>|=|b|)|{|c|[|0|]|(|)|}");
    QTest::newRow("css declaration")
        << int(DocumentTypes::SynCssSyn1) << QByteArray("p{margin:0 auto}")
        << QString("p|{|margin|:|0| |auto|}");
    QTest::newRow("general") << int(DocumentTypes::SynGeneralSyn1) << QByteArray("a(b) c\td")
                             << QString("a(b)| |c|\t|d");
}

void TestScanners::exactTokens() {
    QFETCH(int, type);
    QFETCH(QByteArray, line);
    QFETCH(QString, tokens);
    const auto lines = probe::scanText(*m_types.highlighter(type), line);
    QStringList parts;
    for (const HighlightToken &t : lines[0].tokens)
        parts << QString::fromUtf8(line.mid(t.start, t.length));
    QCOMPARE(parts.join(QLatin1Char('|')), tokens);
}

void TestScanners::htmlElementNames() {
    const QStringList names = HtmlHighlighter::elementNames();
    for (const char *name : {"html", "table", "td", "script", "style", "iframe", "section", "b"})
        QVERIFY2(names.contains(QLatin1String(name)), name);
    QVERIFY(!names.contains(QLatin1String("blah")));
    QVERIFY(HtmlHighlighter::isElementName("TaBlE", 5));
    QVERIFY(!HtmlHighlighter::isElementName("tab", 3));
}

void TestScanners::elementNamesOfAnyCase_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("known");
    for (const char *name : {"H1", "B", "NoScript", "FIELDset", "blockquote"})
        QTest::newRow(name) << QByteArray(name) << true;
    for (const char *name : {"h\x11", "_", "t@ble", "bloc", "a-b", "t\xc3\xa9", ""})
        QTest::newRow(name) << QByteArray(name) << false;
}

// Names are looked up fast by their packed bytes: every case of a known name, and
// no byte that packs like a letter or a digit without being one.
void TestScanners::elementNamesOfAnyCase() {
    QFETCH(QByteArray, name);
    QFETCH(bool, known);
    QCOMPARE(HtmlHighlighter::isElementName(name.constData(), int(name.size())), known);
}

void TestScanners::findAgreesWithAPlainSearch_data() {
    QTest::addColumn<QByteArray>("literal");
    QTest::addColumn<bool>("caseInsensitive");
    for (const char *literal : {"script", "</style", "s/c", "s"})
        QTest::newRow(literal) << QByteArray(literal) << true;
    for (const char *literal : {"script", "-->", ">", "<?"})
        QTest::newRow(literal) << QByteArray(literal) << false;
}

// The search looks at sixteen positions at a time and goes back for the last
// few: every start, end and length around those steps finds what a plain search
// finds.
void TestScanners::findAgreesWithAPlainSearch() {
    QFETCH(QByteArray, literal);
    QFETCH(bool, caseInsensitive);
    const QByteArray alphabet = "sScCrRiIpPtT<>/-?! \xe9" + literal;
    QRandomGenerator rng(99);
    int hits = 0;
    for (int round = 0; round < 4000; ++round) {
        QByteArray text;
        const int n = int(rng.bounded(0, 70));
        for (int i = 0; i < n; ++i)
            text += alphabet[int(rng.bounded(alphabet.size()))];
        if (round % 3 == 0)
            text.insert(int(rng.bounded(text.size() + 1)),
                        caseInsensitive ? literal.toUpper() : literal);
        const int from = int(rng.bounded(text.size() / 3 + 1));
        const int to = std::max(from, int(text.size() - rng.bounded(text.size() / 3 + 1)));
        int expected = -1;
        for (int p = from; p + literal.size() <= to && expected < 0; ++p) {
            const QByteArray here = text.mid(p, literal.size());
            if (caseInsensitive ? here.compare(literal, Qt::CaseInsensitive) == 0 : here == literal)
                expected = p;
        }
        hits += expected >= 0;
        const int found = scan::find(text.constData(), from, to, literal.constData(),
                                     int(literal.size()), caseInsensitive);
        QVERIFY2(found == expected, qPrintable(QStringLiteral("\"%1\" [%2, %3)")
                                                   .arg(QString::fromLatin1(text))
                                                   .arg(from)
                                                   .arg(to)));
    }
    QVERIFY(hits > 400);
}

// After a construct spanning lines closes, the state must be the initial one
// again (otherwise every later line would compare as changed).
void TestScanners::multiLineStatesSettle_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("html") << int(DocumentTypes::SynHTMLSyn1)
                          << QByteArray("<!-- a\nb -->\n<p title=\"x\ny\">\n");
    QTest::newRow("xml") << int(DocumentTypes::SynXMLSyn1)
                         << QByteArray("<![CDATA[\n]]>\n<?pi\n?>\n");
    QTest::newRow("css") << int(DocumentTypes::SynCssSyn1)
                         << QByteArray("a {\n color: red;\n}\n/*\n*/\n");
    QTest::newRow("js") << int(DocumentTypes::SynJScriptSyn1)
                        << QByteArray("x = `\n${ {a:1} }\n`;\n/*\n*/\n;\n");
    QTest::newRow("php") << int(DocumentTypes::SynPHPSyn1)
                         << QByteArray("$a = <<<X\nx\nX;\n/*\n*/\n");
    QTest::newRow("perl") << int(DocumentTypes::SynPerlSyn1)
                          << QByteArray("print <<E;\ne\nE\n=head1\n=cut\n$x = q{\n};\n1;\n");
    QTest::newRow("sql") << int(DocumentTypes::SynSQLSyn1)
                         << QByteArray("/*!\n*/ SELECT 'a\nb';\n");
}

void TestScanners::multiLineStatesSettle() {
    QFETCH(int, type);
    QFETCH(QByteArray, text);
    const auto lines = probe::scanText(*m_types.highlighter(type), text);
    QVERIFY(lines.size() > 2);
    QVERIFY(lines[0].endState != 0);
    QCOMPARE(lines.back().startState, LineState(0));
}

QTEST_GUILESS_MAIN(TestScanners)
#include "tst_scanners.moc"
