#include "publish/preview_markup.h"

#include <QRegularExpression>
#include <QTest>

// The panel's copy of a page: line attributes on elements, linked files relinked,
// every other byte kept.
class TstPreviewMarkup : public QObject {
    Q_OBJECT
private slots:
    void lineAttributes_data();
    void lineAttributes();
    void relinking();
    void linkedLocalFile_data();
    void linkedLocalFile();
    void relinkedValue_data();
    void relinkedValue();
};

namespace {
// Writes the expected attribute the short way: "<p@3>" stands for
// "<p data-balizor-line=\"3\">".
QByteArray expand(QByteArray s) {
    static const QRegularExpression at(QStringLiteral("@(\\d+)"));
    return QString::fromLatin1(s)
        .replace(at, QStringLiteral(" data-balizor-line=\"\\1\""))
        .toLatin1();
}
} // namespace

void TstPreviewMarkup::lineAttributes_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("LF") << QByteArray("<p>a</p>\n<div class=\"x\">b</div>\n")
                        << QByteArray("<p@1>a</p>\n<div@2 class=\"x\">b</div>\n");
    QTest::newRow("CR LF") << QByteArray("<p>\r\n<b>x</b>\r\n\r\n<i>")
                           << QByteArray("<p@1>\r\n<b@2>x</b>\r\n\r\n<i@4>");
    QTest::newRow("CR") << QByteArray("<p>\r<b>\r\r<i>") << QByteArray("<p@1>\r<b@2>\r\r<i@4>");
    QTest::newRow("tag over lines") << QByteArray("<p\r\nclass=\"a\"\r\n>\r\n<b>")
                                    << QByteArray("<p@1\r\nclass=\"a\"\r\n>\r\n<b@4>");
    QTest::newRow("comment") << QByteArray("<!-- <p>\n\n -->\n<p>")
                             << QByteArray("<!-- <p>\n\n -->\n<p@4>");
    QTest::newRow("script") << QByteArray("<script>if (a<b) x = '<p>';\r\n</script>\r\n<p>")
                            << QByteArray("<script>if (a<b) x = '<p>';\r\n</script>\r\n<p@3>");
    QTest::newRow("script with src") << QByteArray("<SCRIPT src=\"a.js\"></SCRIPT><b>")
                                     << QByteArray("<SCRIPT src=\"a.js\"></SCRIPT><b@1>");
    QTest::newRow("style") << QByteArray("<style>\np > a { }\n</style><b>")
                           << QByteArray("<style>\np > a { }\n</style><b@3>");
    QTest::newRow("script never closed")
        << QByteArray("<script>var a = '<p>';\n<p>") << QByteArray("<script>var a = '<p>';\n<p>");
    QTest::newRow("PHP") << QByteArray("<?php echo '<p>'; ?>\n<p class=\"<?php echo \"a>\" ?>\">")
                         << QByteArray(
                                "<?php echo '<p>'; ?>\n<p@2 class=\"<?php echo \"a>\" ?>\">");
    QTest::newRow("PHP in a tag") << QByteArray("<td <?php if ($x) echo 'a=\">\"' ?>><i>")
                                  << QByteArray("<td@1 <?php if ($x) echo 'a=\">\"' ?>><i@1>");
    QTest::newRow("name glued to PHP")
        << QByteArray("<h<?= $n ?>>t</h<?= $n ?>>") << QByteArray("<h<?= $n ?>>t</h<?= $n ?>>");
    QTest::newRow("ASP") << QByteArray("<% Response.Write(\"<b>\") %>\r\n<i>")
                         << QByteArray("<% Response.Write(\"<b>\") %>\r\n<i@2>");
    QTest::newRow("textarea and title")
        << QByteArray("<title><b></title><textarea>\n<b>x</b></textarea><b>")
        << QByteArray("<title@1><b></title><textarea@1>\n<b>x</b></textarea><b@2>");
    QTest::newRow("doctype, end tags, empty elements")
        << QByteArray("<!DOCTYPE html>\n<br/><img src=a.png /></p>")
        << QByteArray("<!DOCTYPE html>\n<br@2/><img@2 src=a.png /></p>");
    QTest::newRow("quoted >") << QByteArray("<a title='x>y<b>' href=\"<i>\">t</a><u>")
                              << QByteArray("<a@1 title='x>y<b>' href=\"<i>\">t</a><u@1>");
    QTest::newRow("not tags") << QByteArray("a < b, 3<4 <-> <") << QByteArray("a < b, 3<4 <-> <");
    QTest::newRow("CDATA") << QByteArray("<![CDATA[<p>\n]]><p>")
                           << QByteArray("<![CDATA[<p>\n]]><p@2>");
    QTest::newRow("Windows-1252 and UTF-8 bytes")
        << QByteArray("\xE9t\xE9\n<p>\xC3\xA9t\xC3\xA9</p>")
        << QByteArray("\xE9t\xE9\n<p@2>\xC3\xA9t\xC3\xA9</p>");
    QTest::newRow("tag never closed")
        << QByteArray("<p>\n<a href=\"x") << QByteArray("<p@1>\n<a@2 href=\"x");
}

void TstPreviewMarkup::lineAttributes() {
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, expected);
    PreviewMarkupOptions options;
    options.lineAttributes = true;
    const QByteArray out = decoratePreviewPage(page, options).bytes;
    QCOMPARE(out, expand(expected));
    // Without the attributes, the bytes are the page's.
    QCOMPARE(decoratePreviewPage(page, {}).bytes, page);
}

void TstPreviewMarkup::relinking() {
    const QByteArray page = "<link rel=\"stylesheet\" href=\"css/site.css?v=2\">\n"
                            "<script src='app.js'></script><img src=\"app.js\"><a href=x.html>";
    PreviewMarkupOptions options;
    options.lineAttributes = true;
    options.relink = [](const QByteArray &v) {
        return v == "app.js" || v.startsWith("css/") ? "new/" + v : QByteArray();
    };
    const PreviewMarkup m = decoratePreviewPage(page, options);
    QCOMPARE(m.bytes, expand("<link@1 rel=\"stylesheet\" href=\"new/css/site.css?v=2\">\n"
                             "<script src='new/app.js'></script><img@2 src=\"app.js\"><a@2 "
                             "href=x.html>"));
    QCOMPARE(m.links, (QList<QByteArray>{"css/site.css?v=2", "app.js"}));
}

void TstPreviewMarkup::linkedLocalFile_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("expected");
    const QString page = QStringLiteral("/site/a/page.html");
    QTest::newRow("beside") << page << QByteArray("s.css") << "/site/a/s.css";
    QTest::newRow("above") << page << QByteArray(" ../css/s.css ") << "/site/css/s.css";
    QTest::newRow("query and entity")
        << page << QByteArray("s.css?x=1&amp;y=2#z") << "/site/a/s.css";
    QTest::newRow("escaped") << page << QByteArray("mon%20style.css") << "/site/a/mon style.css";
    QTest::newRow("file address") << page << QByteArray("file:///x/y.js") << "/x/y.js";
    QTest::newRow("web address") << page << QByteArray("http://e.com/s.css") << QString();
    QTest::newRow("fragment") << page << QByteArray("#top") << QString();
    QTest::newRow("untitled page") << QString() << QByteArray("s.css") << QString();
}

void TstPreviewMarkup::linkedLocalFile() {
    QFETCH(QString, page);
    QFETCH(QByteArray, value);
    QFETCH(QString, expected);
    QCOMPARE(::linkedLocalFile(page, value), expected);
}

void TstPreviewMarkup::relinkedValue_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("folder and query")
        << QByteArray("css/site.css?v=2") << "~$site.css" << QByteArray("css/~$site.css?v=2");
    QTest::newRow("name only") << QByteArray("site.js") << "~$site.js" << QByteArray("~$site.js");
    QTest::newRow("fragment") << QByteArray("../a/b.css#x") << "~$b.css"
                              << QByteArray("../a/~$b.css#x");
    QTest::newRow("space and accent")
        << QByteArray("mon%20style.css") << QStringLiteral("~$n style é.css")
        << QByteArray("~$n%20style%20%C3%A9.css");
}

void TstPreviewMarkup::relinkedValue() {
    QFETCH(QByteArray, value);
    QFETCH(QString, name);
    QFETCH(QByteArray, expected);
    QCOMPARE(::relinkedValue(value, name), expected);
}

QTEST_APPLESS_MAIN(TstPreviewMarkup)
#include "tst_preview_markup.moc"
