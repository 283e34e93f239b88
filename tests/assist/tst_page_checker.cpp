// The page checker on pages with known faults, on clean pages, and on the real
// pages of this machine and of the program's own help book.
#include "app/document_types.h"
#include "assist/page_checker.h"
#include "editor/multi_highlighter.h"

#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPageChecker : public QObject {
    Q_OBJECT
private slots:
    void findings_data();
    void findings();
    void links();
    void helpBookIsClean();
    void realPagesPointAtWhatTheyName();

private:
    const MultiHighlighter *page(int entry) const {
        return static_cast<const MultiHighlighter *>(m_types.highlighter(entry));
    }
    DocumentTypes m_types;
};

namespace {

QStringList run(const QByteArray &text, const PageCheck::Options &o) {
    QStringList out;
    for (const PageCheck::Finding &f : PageCheck::Check(text, o).findings)
        out << QStringLiteral("%1:%2: %3").arg(f.line).arg(f.column).arg(f.message);
    return out;
}

} // namespace

void TestPageChecker::findings_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("expected");
    const int html = DocumentTypes::SynMultiSynHTML;
    const int php = DocumentTypes::SynMultiSynPHP;
    const int asp = DocumentTypes::SynMultiSynASP;

    // Clean pages: what HTML allows to leave out is not a fault.
    QTest::newRow("implied end tags")
        << html
        << QByteArray("<!DOCTYPE html>\n<html><head><title>T</title><meta charset=utf-8>\n"
                      "<body><p>a<p>b<ul><li>x<li>y</ul><dl><dt>t<dd>d</dl>\n"
                      "<table><tr><td>1<td>2<tr><th>3</table><select><option>a<option>b"
                      "</select>\n<p>fin<div>bloc</div></body></html>\n")
        << QStringList();
    QTest::newRow("void elements, XHTML, foreign content")
        << html
        << QByteArray(
               "<p>a<br>b<br/><img src=\"data:x\" alt=\"\"><hr />\r\n<input type=text>"
               "<div/><svg viewBox=\"0 0 1 1\"><path d=\"M0\"/><foreignObject></foreignObject>"
               "</svg><math><mi>x</mi></math>\r\n")
        << QStringList();
    QTest::newRow("custom, data and aria attributes, events")
        << html
        << QByteArray("<my-card data-id=\"1\" foo><span aria-hidden=\"true\" onpointerdown=\"f()\" "
                      "xml:lang=fr>x</span></my-card>")
        << QStringList();
    QTest::newRow("comments, script, style, textarea are not markup")
        << html
        << QByteArray("<!-- <div> </b> -->\n<script>if (a<b) document.write('<div>');</script>\n"
                      "<style>p > a::before { content: '</p>' }</style>\n"
                      "<textarea><b>texte</textarea><title>a <i> b</title>\n"
                      "<script type=\"text/template\"><li><x-y></script>")
        << QStringList();
    QTest::newRow("anchors by id, name, top, percent-encoded")
        << html
        << QByteArray("<a href=\"#b\">1</a><a href=\"#top\">2</a><a href=\"#caf%C3%A9\">3</a>"
                      "<a href=\"#\">4</a><h2 id=b>x</h2><a name=\"café\"></a>")
        << QStringList();

    // Faults, with the line and column of each.
    QTest::newRow("crossing end tags")
        << html << QByteArray("<p><b><i>x</b></i></p>")
        << QStringList{"1:15: Balises croisées : </i> vient après </b> (ligne 1), qui ferme "
                       "l'élément englobant"};
    QTest::newRow("end tag without element, never closed")
        << html << QByteArray("<div>\r\n</span>\r\n<section>\r\n<b>gras\r\n</div>")
        << QStringList{"2:1: Balise de fin </span> sans élément <span> ouvert",
                       "3:1: L'élément <section> n'est pas fermé avant </div> (ligne 5)",
                       "4:1: L'élément <b> n'est pas fermé avant </div> (ligne 5)"};
    QTest::newRow("never closed at the end")
        << html << QByteArray("<div><p>a\n<em>b")
        << QStringList{"1:1: L'élément <div> n'est jamais fermé",
                       "2:1: L'élément <em> n'est jamais fermé"};
    QTest::newRow("end tag of a void element")
        << html << QByteArray("a<br></br>")
        << QStringList{"1:6: <br> est un élément vide : il n'a pas de balise de fin"};
    QTest::newRow("id used twice, columns in characters")
        << html << QByteArray("<p id=\"é\">a</p>\n<h1>Été</h1><p id=\"é\">b</p>")
        << QStringList{"2:20: L'identifiant « é » est déjà utilisé (ligne 1)"};
    QTest::newRow("link to no element")
        << html << QByteArray("<a href=\"#suite\">x</a>\n<p id=\"Suite\">")
        << QStringList{"1:10: Lien « #suite » : aucun élément de la page n'a cet identifiant "
                       "ou ce nom"};
    QTest::newRow("unknown element and attribute")
        << html << QByteArray("<center><foo>x</foo><p colour=red>y</p></center>")
        << QStringList{"1:9: Élément inconnu : <foo>", "1:24: Attribut inconnu : colour"};
    QTest::newRow("picture without alt")
        << html << QByteArray("<p><IMG SRC=\"data:x\"> <img src=\"data:y\" alt></p>")
        << QStringList{"1:4: Image sans texte de remplacement (attribut alt)"};

    // Code blocks: never markup, and what they write is not known.
    QTest::newRow("PHP blocks")
        << php
        << QByteArray("<?php echo '<div>'; if ($a > 1) { ?>\n<p class=\"<?= $c ?>\" "
                      "<?php if ($x) echo 'hidden'; ?>>x</p>\n<h<?= $n ?>>t</h<?= $n ?>>\n"
                      "<img <?= $alt ?> src=\"a.png\">\n<a href=\"<?= $u ?>#x\">l</a><?php } ?>"
                      "\n<?php echo '</b>'; ?>")
        << QStringList();
    QTest::newRow("PHP page, fault outside the code")
        << php << QByteArray("<?php $a = '<b>'; ?>\n<b>x</i>")
        << QStringList{"2:5: Balise de fin </i> sans élément <i> ouvert",
                       "2:1: L'élément <b> n'est jamais fermé"};
    QTest::newRow("ASP blocks") << asp
                                << QByteArray(
                                       "<% Response.Write \"<table>\" %>\n<div id=\"<%= id %>\">"
                                       "<%= \"</div>\" %></div>\n<a href=\"#<%= t %>\">x</a>")
                                << QStringList();
}

void TestPageChecker::findings() {
    QFETCH(int, entry);
    QFETCH(QByteArray, text);
    QFETCH(QStringList, expected);
    PageCheck::Options o;
    o.page = page(entry);
    QStringList found = run(text, o);
    // Findings come in text order; compare as sets where two share a place.
    found.sort();
    expected.sort();
    QCOMPARE(found, expected);
}

void TestPageChecker::links() {
    // Beside a saved page: a relative link to a missing file is a fault; rooted,
    // absolute, fragment and code-written links are not looked for.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir(dir.path()).mkdir(QStringLiteral("img"));
    QFile f(dir.filePath(QStringLiteral("img/logo été.png")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const QByteArray text = "<link rel=stylesheet href=\"style.css\">\n"
                            "<img alt=\"\" src=\"img/logo%20%C3%A9t%C3%A9.png?v=2\">"
                            "<img alt=\"\" src=\"img/logo été.png\">\n"
                            "<a href=\"/racine.html\">1</a><a href=\"https://exemple.fr/x\">2</a>"
                            "<a href=\"mailto:a@b.fr\">3</a><a href=\"page.html#s\">4</a>\n"
                            "<a href=\"{{ url }}\">5</a><a href=\"a.html?x=1&amp;y=2\">6</a>";
    PageCheck::Options o;
    o.page = page(DocumentTypes::SynMultiSynHTML);
    o.baseFolder = dir.path();
    QCOMPARE(run(text, o), (QStringList{"1:28: Fichier introuvable : style.css",
                                        "3:103: Fichier introuvable : page.html",
                                        "4:35: Fichier introuvable : a.html"}));
    // An untitled page: no file is looked for.
    o.baseFolder.clear();
    QCOMPARE(run(text, o), QStringList());
    // A <base> moves every relative link elsewhere.
    o.baseFolder = dir.path();
    QCOMPARE(run("<base href=\"http://x/\">" + text, o), QStringList());

    // Every URL of the page, where it is written, for a check of a whole site.
    const std::vector<PageCheck::Link> all = PageCheck::Links(text, o.page);
    QStringList listed;
    for (const PageCheck::Link &l : all)
        listed << QStringLiteral("%1:%2 %3 %4=%5")
                      .arg(l.line)
                      .arg(l.column)
                      .arg(QString::fromLatin1(l.element), QString::fromLatin1(l.attribute), l.url);
    QCOMPARE(listed.size(), 9);
    QCOMPARE(listed.at(0), QStringLiteral("1:28 link href=style.css"));
    QCOMPARE(listed.at(2), QStringLiteral("2:69 img src=img/logo été.png"));
    QCOMPARE(listed.at(8), QStringLiteral("4:35 a href=a.html?x=1&y=2"));
    QString path;
    QVERIFY(PageCheck::IsRelativeFileUrl(QStringLiteral("../a%20b.html#x"), &path));
    QCOMPARE(path, QStringLiteral("../a b.html"));
}

void TestPageChecker::helpBookIsClean() {
    // The program's own pages, with their pictures and links beside them.
    QDirIterator it(QStringLiteral(BALIZOR_SOURCE_DIR "/resources/Ressources"),
                    {QStringLiteral("*.htm")}, QDir::Files);
    int pages = 0;
    while (it.hasNext()) {
        const QString file = it.next();
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        PageCheck::Options o;
        o.page = page(DocumentTypes::SynMultiSynHTML);
        o.baseFolder = QFileInfo(file).absolutePath();
        QCOMPARE(run(f.readAll(), o), QStringList());
        ++pages;
    }
    QVERIFY(pages > 10);
}

void TestPageChecker::realPagesPointAtWhatTheyName() {
    // A bounded sample of the HTML pages installed on this machine. They hold real
    // faults (tables inside paragraphs, identifiers used twice, pictures the
    // package leaves out); each finding must point at the text it names.
    QStringList files;
    QDirIterator it(QStringLiteral("/usr/share/doc"),
                    {QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    if (files.isEmpty()) QSKIP("no HTML documentation is installed on this machine");
    files.sort();
    const int step = std::max<int>(1, int(files.size()) / 40);
    for (int i = 0; i < files.size(); i += step) {
        QFile f(files.at(i));
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray text = f.read(4 << 20);
        PageCheck::Options o;
        o.page = page(DocumentTypes::SynMultiSynHTML);
        o.baseFolder = QFileInfo(files.at(i)).absolutePath();
        const PageCheck::Result r = PageCheck::Check(text, o);
        const QList<QByteArray> lines = text.split('\n');
        for (const PageCheck::Finding &f : r.findings) {
            const QString where = files.at(i) + QLatin1Char(':') + QString::number(f.line);
            QVERIFY2(f.line <= lines.size(), qPrintable(where));
            // Column counts characters.
            const QString line = QString::fromUtf8(lines.at(f.line - 1));
            const QString at = line.mid(f.column - 1);
            const QString named = QString::fromUtf8(text.mid(f.offset, f.length));
            QVERIFY2(at.startsWith(named.section(QLatin1Char('\n'), 0, 0)), qPrintable(where));
            if (f.kind == PageCheck::Kind::Structure || f.kind == PageCheck::Kind::Alternative)
                QVERIFY2(named.startsWith(QLatin1Char('<')), qPrintable(where));
            else
                QVERIFY2(f.message.contains(named.left(20)) ||
                             f.kind == PageCheck::Kind::MissingFile,
                         qPrintable(where + f.message));
        }
    }
}

QTEST_APPLESS_MAIN(TestPageChecker)
#include "tst_page_checker.moc"
