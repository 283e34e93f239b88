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
                                  "        <li>deux\n    </ul>\n    <br><img src=\"x.png\">\n"
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

    const QByteArray cells = crlf("<table>\n<tr>\n<td>a\n<td>b\n</tr>\n</table>\n  <p>reste   \n");
    const QByteArray cellsOut =
        crlf("<table>\n  <tr>\n    <td>a\n      <td>b\n      </tr>\n</table>\n  <p>reste");
    QTest::newRow("cells without end tags stop at the row's end")
        << cells << cellsOut << int(cellsOut.indexOf("</tr>") + 5) << 5;
    QTest::newRow("stray end tag")
        << crlf("<div>\nx\n</span>\n<div>\n  y") << crlf("<div>\n  x\n</span>\n<div>\n  y")
        << int(crlf("<div>\n  x\n</span>").size()) << 3;
    QTest::newRow("unclosed element at the end")
        << QByteArray("<p>text") << QByteArray("<p>text") << 7 << 1;
    // The open-quote marker hides the pending line break, and the element stays open.
    QTest::newRow("odd quote swallows the rest")
        << crlf("<div>\n<a href=\"x>\n<b>y</b></div>")
        << crlf("<div><a href=\"x>\n  <b>y</b></div>") << 34 << 2;
}

void TestHtmlIndenter::failureKeepsRest() {
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, expected);
    QFETCH(int, indentedLength);
    QFETCH(int, line);
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

QTEST_APPLESS_MAIN(TestHtmlIndenter)
#include "tst_html_indenter.moc"
