#include "assist/document_rewrites.h"
#include "assist/html_indenter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

namespace {

QByteArray crlf(const QByteArray &lines) {
    QByteArray s = lines;
    return s.replace("\n", "\r\n");
}

QByteArray withoutBlanks(const QByteArray &s) {
    QByteArray out;
    out.reserve(s.size());
    for (char c : s)
        if (static_cast<unsigned char>(c) > 0x20) out.append(c);
    return out;
}

} // namespace

class TestHtmlIndenter : public QObject {
    Q_OBJECT
private slots:
    void indent_data();
    void indent();
    void failureKeepsRest_data();
    void failureKeepsRest();
    void documentFinalBreak();
    void onlyWhiteSpaceChanges_data();
    void onlyWhiteSpaceChanges();
    void systemDocumentation();
    void depthStaysBounded_data();
    void depthStaysBounded();
};

void TestHtmlIndenter::indent_data() {
    QTest::addColumn<QByteArray>("symbol");
    QTest::addColumn<int>("indentation");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray example = "<html>\n<head>\n<title>Essai</title>\n</head>\n<body>\n"
                               "<p>Du <b>gras</b> et <i>italique</i></p>\n"
                               "<table>\n<tr><td>a</td><td>b</td></tr>\n</table>\n"
                               "<ul>\n<li>un\n<li>deux\n</ul>\n<br><img src=\"x.png\">\n"
                               "</body>\n</html>\n";
    const QByteArray exampleOut = "<html>\n  <head>\n    <title>Essai</title>\n  </head>\n"
                                  "  <body>\n    <p>Du <b>gras</b> et <i>italique</i></p>\n"
                                  "    <table>\n      <tr>\n        <td>a</td><td>b</td>\n"
                                  "      </tr>\n    </table>\n    <ul>\n      <li>un\n"
                                  "      <li>deux\n    </ul>\n    <br><img src=\"x.png\">\n"
                                  "  </body>\n</html>";
    QTest::newRow("worked example") << QByteArray(" ") << 2 << crlf(example) << crlf(exampleOut);
    QTest::newRow("already indented: unchanged")
        << QByteArray(" ") << 2 << crlf(exampleOut) << crlf(exampleOut);
    QTest::newRow("tabs") << QByteArray("\t") << 1 << crlf("<div>\n<p>x</p>\n</div>")
                          << crlf("<div>\n\t<p>x</p>\n</div>");
    QTest::newRow("four spaces") << QByteArray(" ") << 4 << crlf("<div>\n<div>\nx\n</div>\n</div>")
                                 << crlf("<div>\n    <div>\n        x\n    </div>\n</div>");
    QTest::newRow("empty line stays empty and unindented")
        << QByteArray(" ") << 2 << crlf("<div>\na\n\nb\n</div>")
        << crlf("<div>\n  a\n\n  b\n</div>");
    QTest::newRow("line of spaces vanishes, next text gets one space")
        << QByteArray(" ") << 2 << crlf("<div>\na\n   \nb\n</div>")
        << crlf("<div>\n  a\n   b\n</div>");
    QTest::newRow("leading spaces: one space kept; leading tab: none")
        << QByteArray(" ") << 2 << crlf("<div>\n    a\n\tb\n</div>")
        << crlf("<div>\n   a\n  b\n</div>");
    QTest::newRow("runs in tags collapse, quoted values kept")
        << QByteArray(" ") << 2 << QByteArray("<div   class=\"a   b\"\t\t id=x>y</div>")
        << QByteArray("<div class=\"a   b\"\tid=x>y</div>");
    QTest::newRow("tag over two lines: continuation at the tag's depth")
        << QByteArray(" ") << 2 << crlf("<div>\n<img src=a\n      alt=b>\n</div>")
        << crlf("<div>\n  <img src=a\n  alt=b>\n</div>");
    QTest::newRow("structural tags move to their own lines")
        << QByteArray(" ") << 2 << QByteArray("<div>x<table><tr><td>a</td></tr></table></div>")
        << crlf("<div>x\n  <table>\n    <tr>\n      <td>a</td>\n    </tr>\n  </table>\n</div>");
    QTest::newRow("space before an opening container kept, before an other tag lost")
        << QByteArray(" ") << 2 << QByteArray("<b>x</b> <br> <i>y</i>")
        << QByteArray("<b>x</b><br> <i>y</i>");
    QTest::newRow("first tag a frame: empty first line")
        << QByteArray(" ") << 2 << QByteArray("<frame src=a>") << crlf("\n<frame src=a>");
    QTest::newRow("upper-case tags") << QByteArray(" ") << 2 << crlf("<DIV>\n<P>x</P>\n</DIV>")
                                     << crlf("<DIV>\n  <P>x</P>\n</DIV>");
    QTest::newRow("name not followed by space, > or tab is an other tag")
        << QByteArray(" ") << 2 << crlf("<div/>\nx") << crlf("<div/>\nx");
    QTest::newRow("pre kept byte for byte")
        << QByteArray(" ") << 2 << crlf("<div>\n<pre>\n  a  b\n\tc\n   \n</pre>\n<p>x</p>\n</div>")
        << crlf("<div>\n  <pre>\n  a  b\n\tc\n   \n</pre>\n  <p>x</p>\n</div>");
    QTest::newRow("textarea kept byte for byte")
        << QByteArray(" ") << 2 << crlf("<form>\n<TEXTAREA name=t>\n x\n</TeXtArea>\n</form>")
        << crlf("<form>\n  <TEXTAREA name=t>\n x\n</TeXtArea>\n</form>");
    QTest::newRow("script lines are re-indented")
        << QByteArray(" ") << 2 << crlf("<div>\n<script>\nif (a) {\nb();\n}\n</script>\n</div>")
        << crlf("<div>\n  <script>\n    if (a) {\n    b();\n    }\n  </script>\n</div>");
    QTest::newRow("empty") << QByteArray(" ") << 2 << QByteArray() << QByteArray();
    QTest::newRow("only blanks") << QByteArray(" ") << 2 << QByteArray(" \r\n\t\r\n")
                                 << QByteArray();
    QTest::newRow("UTF-8 text") << QByteArray(" ") << 2 << crlf("<p>\nété\n</p>")
                                << crlf("<p>\n  été\n</p>");

    // End tags HTML implies: the next item ends the open one.
    QTest::newRow("paragraphs without end tags stay at one level")
        << QByteArray(" ") << 2 << crlf("<body>\n<p>a\n<p>b\n<p>c\n</body>")
        << crlf("<body>\n  <p>a\n  <p>b\n  <p>c\n</body>");
    QTest::newRow("a paragraph left open ends with the page")
        << QByteArray(" ") << 2 << QByteArray("<p>text") << QByteArray("<p>text");
    QTest::newRow("list items, one holding a paragraph")
        << QByteArray(" ") << 2 << crlf("<ul>\n<li>a\n<li>b\n<li><p>c\n<li>d\n</ul>")
        << crlf("<ul>\n  <li>a\n  <li>b\n  <li><p>c\n  <li>d\n</ul>");
    QTest::newRow("an item of an inner list leaves the outer item open")
        << QByteArray(" ") << 2 << crlf("<ul>\n<li>a\n<ul>\n<li>b\n<li>c\n</ul>\n<li>d\n</ul>")
        << crlf("<ul>\n  <li>a\n    <ul>\n      <li>b\n      <li>c\n    </ul>\n  <li>d\n</ul>");
    QTest::newRow("cells and rows without end tags")
        << QByteArray(" ") << 2 << crlf("<table>\n<tr><td>a<td>b\n<tr><td>c\n</table>")
        << crlf("<table>\n  <tr>\n    <td>a<td>b\n  <tr>\n    <td>c\n</table>");
    QTest::newRow("cells closed by the row's end tag")
        << QByteArray(" ") << 2 << crlf("<table>\n<tr>\n<td>a\n<td>b\n</tr>\n</table>")
        << crlf("<table>\n  <tr>\n    <td>a\n    <td>b\n  </tr>\n</table>");
    QTest::newRow("table parts and a caption")
        << QByteArray(" ") << 2
        << crlf("<table>\n<caption>t\n<thead>\n<tr><th>a\n<tbody>\n<tr><td>b\n<tbody>\n"
                "<tr><td>c\n</table>")
        << crlf("<table>\n  <caption>t\n  <thead>\n    <tr>\n      <th>a\n  <tbody>\n    <tr>\n"
                "      <td>b\n  <tbody>\n    <tr>\n      <td>c\n</table>");
    QTest::newRow("option groups") << QByteArray(" ") << 2
                                   << crlf("<select>\n<optgroup label=a>\n<option>x\n"
                                           "<optgroup label=b>\n<option>y\n</select>")
                                   << crlf("<select>\n  <optgroup label=a>\n    <option>x\n"
                                           "  <optgroup label=b>\n    <option>y\n</select>");
    QTest::newRow("head ended by the body, body by the page's end tag")
        << QByteArray(" ") << 2 << crlf("<html>\n<head>\n<title>t</title>\n<body>\n<p>x\n</html>")
        << crlf("<html>\n  <head>\n    <title>t</title>\n  <body>\n    <p>x\n</html>");
    QTest::newRow("param has no content")
        << QByteArray(" ") << 2 << crlf("<object>\n<param a>\n<param b>\n</object>")
        << crlf("<object>\n  <param a>\n  <param b>\n</object>");
    // Old pages close a paragraph after the block it holds: kept as written.
    QTest::newRow("a block inside a paragraph closed after it")
        << QByteArray(" ") << 2 << crlf("<p>\n<div>\nx\n</div>\n</p>")
        << crlf("<p>\n  <div>\n    x\n  </div>\n</p>");
}

void TestHtmlIndenter::indent() {
    QFETCH(QByteArray, symbol);
    QFETCH(int, indentation);
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, expected);
    THtmlIndenter indenter;
    indenter.Symbol = symbol;
    indenter.Indentation = indentation;
    int errors = 0;
    indenter.OnError = [&](THtmlIndenter *, qsizetype) { ++errors; };
    qsizetype code = 0;
    QCOMPARE(indenter.IndentHtml(source, &code), expected);
    QCOMPARE(code, -1);
    QCOMPARE(errors, 0);
}

void TestHtmlIndenter::failureKeepsRest_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("indentedLength");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");

    const QByteArray cell = crlf("<table>\n<tr>\n<td><span>a\n</tr>\n</table>\n  <p>reste   \n");
    const QByteArray cellOut =
        crlf("<table>\n  <tr>\n    <td><span>a\n      </tr>\n</table>\n  <p>reste");
    QTest::newRow("an element left open in a cell stops at the row's end")
        << cell << cellOut << int(cellOut.indexOf("</tr>") + 5) << 4
        << "élément <span> ouvert à la ligne 3 et non fermé avant </tr>";
    QTest::newRow("stray end tag")
        << crlf("<div>\nx\n</span>\n<div>\n  y") << crlf("<div>\n  x\n</span>\n<div>\n  y")
        << int(crlf("<div>\n  x\n</span>").size()) << 3
        << "balise de fin </span> sans balise d'ouverture";
    QTest::newRow("element left open under one closed by a forced break")
        << crlf("<div>\n<table>\n</table>") << crlf("<div>\n  <table>\n  </table>") << 28 << 3
        << "élément <div> ouvert à la ligne 1 et jamais fermé";
    QTest::newRow("element left open, then text")
        << crlf("<div>\ntexte\n") << crlf("<div>\n  texte") << 14 << 2
        << "élément <div> ouvert à la ligne 1 et jamais fermé";
    QTest::newRow("inner element left open before an end tag")
        << crlf("<div>\n<span>\n<b>x</b>\n</div>\n<p>")
        << crlf("<div>\n  <span>\n    <b>x</b>\n  </div>\n<p>") << 39 << 4
        << "élément <span> ouvert à la ligne 2 et non fermé avant </div>";
    QTest::newRow("end tag of an element opened in a tag over two lines")
        << crlf("<ul>\n<li><span class=x\nid=y>y\n</ul>")
        << crlf("<ul>\n  <li><span class=x\n    id=y>y\n    </ul>") << 48 << 4
        << "élément <span> ouvert à la ligne 2 et non fermé avant </ul>";
    // The open-quote marker hides the pending line break, and the element stays open.
    QTest::newRow("odd quote swallows the rest")
        << crlf("<div>\n<a href=\"x>\n<b>y</b></div>")
        << crlf("<div><a href=\"x>\n  <b>y</b></div>") << 34 << 2
        << "guillemet ouvert à la ligne 1 et jamais fermé";
}

void TestHtmlIndenter::failureKeepsRest() {
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, expected);
    QFETCH(int, indentedLength);
    QFETCH(int, line);
    QFETCH(QString, reason);
    THtmlIndenter indenter;
    indenter.Indentation = 2;
    qsizetype reported = -2;
    indenter.OnError = [&](THtmlIndenter *sender, qsizetype code) {
        QCOMPARE(sender, &indenter);
        reported = code;
    };
    qsizetype code = 0;
    const QByteArray out = indenter.IndentHtml(source, &code);
    QCOMPARE(out, expected);
    QCOMPARE(code, qsizetype(indentedLength));
    QCOMPARE(reported, code);
    QCOMPARE(THtmlIndenter::LineAt(out, code), line);
    QCOMPARE(indenter.LastFailure().line, line);
    QCOMPARE(Assist::IndentStopReason(indenter.LastFailure()), reason);
    // A later run that succeeds forgets the failure.
    indenter.IndentHtml("<b>x</b>");
    QCOMPARE(indenter.LastFailure().stop, THtmlIndenter::Stop::None);
}

void TestHtmlIndenter::documentFinalBreak() {
    // The document's own final break stays, so an indented file is left alone.
    const Assist::IndentOutcome done = Assist::IndentDocument("<p>\r\n\tx\r\n</p>\r\n", false, 4);
    QVERIFY(!done.changed);
    QCOMPARE(done.text, QByteArray("<p>\r\n\tx\r\n</p>\r\n"));
    // A text line that begins with spaces gets one space after the indentation.
    const Assist::IndentOutcome spaced = Assist::IndentDocument("<p>\r\n  x\r\n</p>\r\n", true, 2);
    QCOMPARE(spaced.text, QByteArray("<p>\r\n   x\r\n</p>\r\n"));
    QVERIFY(!Assist::IndentDocument(spaced.text, true, 2).changed);
    const Assist::IndentOutcome tabs = Assist::IndentDocument("<p>\r\nx\r\n</p>", false, 8);
    QVERIFY(tabs.changed);
    QCOMPARE(tabs.text, QByteArray("<p>\r\n\tx\r\n</p>"));
    QCOMPARE(Assist::WithCrLfBreaks("a\nb\rc\r\nd\n\r"), QByteArray("a\r\nb\r\nc\r\nd\r\n\r\n"));
}

void TestHtmlIndenter::onlyWhiteSpaceChanges_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::newRow("nested lists") << crlf("<ul><li>a<ul><li>b</ul><li>c</ul>");
    QTest::newRow("broken tags") << QByteArray("<a <b c=\"<\" > > </ </b>\r\n\r\n<");
    QTest::newRow("lone CR at the end") << QByteArray("<div>x\r");
    static const char controls[] = "<p>\0\x01<b\x02>\r\n</p>";
    QTest::newRow("NUL and controls") << QByteArray(controls, sizeof controls - 1);
    QTest::newRow("optional ends closed by the container")
        << crlf("<div><p>a<p>b<li>c</div><param x></object>");
    QTest::newRow("deep nesting") << QByteArray(3000, 'x').replace("x", "<div>") + "y";
}

void TestHtmlIndenter::onlyWhiteSpaceChanges() {
    QFETCH(QByteArray, source);
    THtmlIndenter indenter;
    const QByteArray out = indenter.IndentHtml(source);
    QCOMPARE(withoutBlanks(out), withoutBlanks(source));
}

void TestHtmlIndenter::systemDocumentation() {
    // A bounded sample of the HTML pages installed on this machine and of the
    // program's own (a machine may keep no documentation): the indenter never
    // crashes and changes nothing but white space.
    QStringList files;
    for (const char *root : {"/usr/share/doc", BALIZOR_SOURCE_DIR "/resources"}) {
        QDirIterator it(QString::fromUtf8(root),
                        {QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
    }
    QVERIFY(!files.isEmpty());
    files.sort();
    const int step = std::max<int>(1, int(files.size()) / 40);
    for (int i = 0; i < files.size(); i += step) {
        QFile f(files.at(i));
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray source = Assist::WithCrLfBreaks(f.read(4 << 20));
        THtmlIndenter indenter;
        const QByteArray out = indenter.IndentHtml(source);
        QVERIFY2(withoutBlanks(out) == withoutBlanks(source), qPrintable(files.at(i)));
    }
}

void TestHtmlIndenter::depthStaysBounded_data() {
    QTest::addColumn<QByteArray>("open");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("close");
    QTest::newRow("paragraphs") << QByteArray("<html>\r\n<body>") << QByteArray("<p>x")
                                << QByteArray("</body>\r\n</html>");
    QTest::newRow("list items") << QByteArray("<ul>") << QByteArray("<li>x") << QByteArray("</ul>");
    QTest::newRow("rows and cells")
        << QByteArray("<table>") << QByteArray("<tr><td>x<td><p>y") << QByteArray("</table>");
    QTest::newRow("table bodies") << QByteArray("<table>") << QByteArray("<tbody><tr><th>x")
                                  << QByteArray("</table>");
    QTest::newRow("option groups")
        << QByteArray("<select>") << QByteArray("<optgroup label=g>") << QByteArray("</select>");
}

void TestHtmlIndenter::depthStaysBounded() {
    // 3 000 lines of items without end tags: every line stays within a few levels.
    QFETCH(QByteArray, open);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, close);
    QByteArray source = open + "\r\n";
    for (int i = 0; i < 3000; ++i)
        source += line + "\r\n";
    source += close;
    THtmlIndenter indenter;
    indenter.Indentation = 2;
    qsizetype code = 0;
    const QByteArray out = indenter.IndentHtml(source, &code);
    QCOMPARE(code, -1);
    int deepest = 0;
    for (const QByteArray &l : out.split('\n')) {
        int n = 0;
        while (n < l.size() && l[n] == ' ')
            ++n;
        deepest = std::max(deepest, n);
    }
    QVERIFY2(deepest <= 8, qPrintable(QString::number(deepest)));
}

QTEST_APPLESS_MAIN(TestHtmlIndenter)
#include "tst_html_indenter.moc"
