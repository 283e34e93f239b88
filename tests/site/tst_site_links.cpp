#include "site/site_links.h"

#include "app/document_types.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void write(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestSiteLinks : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void links_data();
    void links();
    void codeBlocksAndStop();
    void manyPagesInOrder();

private:
    QTemporaryDir m_site;
    DocumentTypes m_types;
};

void TestSiteLinks::initTestCase() {
    QVERIFY(m_site.isValid());
    // Targets without links of their own: only the page under test reports.
    write(m_site.filePath("b.html"), "<h1 id=\"x\">B</h1><a name=\"n\"></a><p id=\"caf&#233;\">");
    write(m_site.filePath("img/photo 1.png"), "png");
    write(m_site.filePath("doc.pdf"), "pdf");
    write(m_site.filePath("sub/c.php"), "<?php $x = 1; ?><div id=\"<?= $x ?>\">c</div>");
    // A folder a search leaves out is not listed, but its pages still serve as targets.
    write(m_site.filePath("node_modules/m.html"), "<a href=\"absent.html\"></a><p id=\"m\">");
}

void TestSiteLinks::links_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QStringList>("expected");
    const QString missing = QStringLiteral("Fichier introuvable : %1");
    const QString noAnchor =
        QStringLiteral("Lien « %1 » : la page %2 n'a aucun élément avec cet identifiant ou ce nom");

    QTest::newRow("missing file") << QByteArray("<a href=\"absent.html\">a</a>")
                                  << QStringList{"1:10: " + missing.arg("absent.html")};
    QTest::newRow("existing files")
        << QByteArray("<a href=\"b.html\">b</a><img src=\"img/photo 1.png\" alt=\"\">"
                      "<a href=\"./sub/../b.html\">b</a><a href=\"sub/\">s</a>")
        << QStringList{};
    QTest::newRow("missing anchor, second line")
        << QByteArray("<p>\n  <a href=\"b.html#y\">b</a>")
        << QStringList{"2:12: " + noAnchor.arg("b.html#y", "b.html")};
    QTest::newRow("id, name, top and character references")
        << QByteArray("<a href=\"b.html#x\"></a><a href=\"b.html#n\"></a><a href=\"b.html#top\">"
                      "</a><a href=\"b.html#caf%C3%A9\"></a><a href=\"b.html#caf&#xE9;\"></a>")
        << QStringList{};
    QTest::newRow("query and fragment")
        << QByteArray("<a href=\"b.html?q=1#x\"></a><a href=\"absent.html?q=1#x\"></a>"
                      "<a href=\"b.html?q=#z\"></a>")
        << QStringList{"1:37: " + missing.arg("absent.html"),
                       "1:69: " + noAnchor.arg("b.html?q=#z", "b.html")};
    QTest::newRow("encoded names")
        << QByteArray("<img src=\"img/photo%201.png\" alt=\"\"><img src=\"img/photo%202.png\" "
                      "alt=\"\">")
        << QStringList{"1:47: " + missing.arg("img/photo 2.png")};
    QTest::newRow("script, style and comments ignored")
        << QByteArray("<!-- <a href=\"absent.html\"> --><script>var s = '<img src=\"absent.png\">';"
                      "</script><style>p { background: url(absent.png) }</style>")
        << QStringList{};
    QTest::newRow("not relative files")
        << QByteArray("<a href=\"http://example.org/absent.html\"></a><a href=\"/absent.html\">"
                      "</a><a href=\"mailto:a@b.fr\"></a><a href=\"#local\"></a>")
        << QStringList{};
    QTest::newRow("fragment of a file that is not a page")
        << QByteArray("<a href=\"doc.pdf#page=2\"></a>") << QStringList{};
    QTest::newRow("names written by code")
        << QByteArray("<a href=\"sub/c.php#any\"></a>") << QStringList{};
    QTest::newRow("target in a folder left out")
        << QByteArray(
               "<a href=\"node_modules/m.html#m\"></a><a href=\"node_modules/m.html#q\"></a>")
        << QStringList{"1:46: " + noAnchor.arg("node_modules/m.html#q", "node_modules/m.html")};
    QTest::newRow("base href sends links elsewhere")
        << QByteArray("<base href=\"http://example.org/\"><a href=\"absent.html\"></a>")
        << QStringList{};
    QTest::newRow("columns count characters")
        << QByteArray("<p>\xC3\xA9t\xC3\xA9</p><a href=\"absent.html\"></a>")
        << QStringList{"1:20: " + missing.arg("absent.html")};
}

void TestSiteLinks::links() {
    QFETCH(QByteArray, page);
    QFETCH(QStringList, expected);
    const QString path = m_site.filePath("page.html");
    write(path, page);
    const SiteLinks::Result r = SiteLinks::check(m_site.path(), m_types);
    QCOMPARE(r.pages, 3);
    QStringList got;
    for (const BrokenLink &b : r.broken) {
        QCOMPARE(b.file, QFileInfo(path).absoluteFilePath());
        got << SiteLinks::compilerLine(b, {}).mid(1);
    }
    QCOMPARE(got, expected);
}

void TestSiteLinks::codeBlocksAndStop() {
    // A PHP page's code blocks are not markup; its markup links still count.
    QTemporaryDir site;
    write(site.filePath("index.php"), "<?php echo '<a href=\"absent.html\">'; ?>\n"
                                      "<a href=\"<?= $page ?>.html\">x</a><img src=\"vu.png\">");
    SiteLinks::Result r = SiteLinks::check(site.path(), m_types);
    QCOMPARE(r.broken.size(), 1);
    QCOMPARE(SiteLinks::compilerLine(r.broken.first(), "index.php"),
             QStringLiteral("index.php:2:44: Fichier introuvable : vu.png"));
    const std::atomic<bool> stop{true};
    r = SiteLinks::check(site.path(), m_types, &stop);
    QVERIFY(r.stopped);
    QVERIFY(r.broken.isEmpty());
}

void TestSiteLinks::manyPagesInOrder() {
    // Pages read side by side still give every broken link once, page by page in the
    // order of their paths, and the progress ends at the total.
    QTemporaryDir site;
    constexpr int kPages = 120;
    QStringList expected;
    for (int i = 0; i < kPages; ++i) {
        const QString name =
            QStringLiteral("d%1/p%2.html").arg(i % 12, 2, 10, QChar('0')).arg(i, 3, 10, QChar('0'));
        const QString next = QStringLiteral("../d%1/p%2.html")
                                 .arg((i + 1) % 12, 2, 10, QChar('0'))
                                 .arg((i + 1) % kPages, 3, 10, QChar('0'));
        QByteArray page = "<p id=\"haut\"><a href=\"" + next.toUtf8() +
                          "#haut\">suite</a>\n"
                          "<a href=\"absent.html\">x</a>";
        expected << QStringLiteral("%1:2:10: Fichier introuvable : absent.html").arg(name);
        if (i % 10 == 0) {
            page += "<a href=\"" + next.toUtf8() + "#nulle\">y</a>";
            expected << QStringLiteral("%1:2:37: Lien « %2#nulle » : la page %3 n'a aucun élément "
                                       "avec cet identifiant ou ce nom")
                            .arg(name, next, next.mid(3));
        }
        write(site.filePath(name), page);
    }
    expected.sort(); // by page, then line and column: the pages' paths sort alike here
    int lastDone = 0, lastTotal = 0;
    bool ordered = true;
    const SiteLinks::Result r =
        SiteLinks::check(site.path(), m_types, nullptr, [&](int done, int total) {
            ordered = ordered && done >= lastDone;
            lastDone = done;
            lastTotal = total;
        });
    QCOMPARE(r.pages, kPages);
    QStringList got;
    for (const BrokenLink &b : r.broken)
        got << SiteLinks::compilerLine(b, QDir(site.path()).relativeFilePath(b.file));
    QCOMPARE(got, expected);
    QVERIFY(ordered);
    QCOMPARE(lastDone, kPages);
    QCOMPARE(lastTotal, kPages);
}

QTEST_APPLESS_MAIN(TestSiteLinks)
#include "tst_site_links.moc"
