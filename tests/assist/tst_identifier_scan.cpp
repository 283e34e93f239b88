#include "assist/identifier_scan.h"
#include "editor/html_vocabulary.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace IdentifierScan;

class TestIdentifierScan : public QObject {
    Q_OBJECT
private slots:
    void lists_data();
    void lists();
    void realPage();
    void stopAbandons();
    void worker();
    void longLinesInPieces_data();
    void longLinesInPieces();
    void oneLineProgress_data();
    void oneLineProgress();
};

namespace {
Lists scanText(const QByteArray &text) {
    std::atomic<bool> stop{false};
    std::vector<Found> found;
    int last = -1;
    bool ordered = true;
    scan(
        text, stop,
        [&](int p) {
            ordered = ordered && p > last;
            last = p;
        },
        &found);
    if (!text.isEmpty()) {
        if (!ordered || last != 100) qWarning("progress out of order");
    }
    return buildLists(found);
}
} // namespace

void TestIdentifierScan::lists_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("full");
    QTest::addColumn<QStringList>("unique");
    QTest::newRow("first form met is listed") << QByteArray("<Table>\n<table>\n<TABLE>")
                                              << QStringList{"Table: 3"} << QStringList{"Table: 3"};
    QTest::newRow("paragraphs closed, br and img alone")
        << QByteArray("<p>a<br>b</p>\r\n<P>c<img src=x></p>")
        << QStringList{"/p: 2", "br: 1", "img: 1", "p: 2"} << QStringList{"br: 1", "img: 1"};
    QTest::newRow("closing b alone")
        << QByteArray("texte</b>") << QStringList{"/b: 1"} << QStringList{"/b: 1"};
    QTest::newRow("unknown names left out") << QByteArray("<tabel><custom-x></tabel><div>")
                                            << QStringList{"div: 1"} << QStringList{"div: 1"};
    QTest::newRow("comments and values left out")
        << QByteArray("<!-- <b> -->\n<a title=\"<i>\">x</a>") << QStringList{"/a: 1", "a: 1"}
        << QStringList{};
    QTest::newRow("tag across lines") << QByteArray("<td\n  align=left>x</td\n>")
                                      << QStringList{"/td: 1", "td: 1"} << QStringList{};
    QTest::newRow("today's elements")
        << QByteArray("<section><video></video></section>")
        << QStringList{"/section: 1", "/video: 1", "section: 1", "video: 1"} << QStringList{};
    QTest::newRow("empty") << QByteArray() << QStringList{} << QStringList{};
}

void TestIdentifierScan::lists() {
    QFETCH(QByteArray, text);
    QFETCH(QStringList, full);
    QFETCH(QStringList, unique);
    const Lists l = scanText(text);
    QCOMPARE(l.full, full);
    QCOMPARE(l.unique, unique);
    QCOMPARE(l.unique.size() + l.associated.size(), l.full.size());
    for (const QString &e : l.associated)
        QVERIFY(!l.unique.contains(e));
}

void TestIdentifierScan::realPage() {
    QFile f(QStringLiteral(BALIZOR_SOURCE_DIR "/resources/Ressources/reference_marqueurs.htm"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray page = f.readAll();
    const Lists l = scanText(page);
    // Count each known element another way: its tags in the page, outside
    // comments (the page has none), whatever its case.
    const QString text = QString::fromUtf8(page);
    QRegularExpression tag(QStringLiteral("<(/?)([A-Za-z][A-Za-z0-9]*)(?=[\\s>/])"));
    QMap<QString, int> expected;
    for (const auto &m : tag.globalMatch(text))
        if (HtmlVocabulary::isKnownElement(m.captured(2)))
            ++expected[m.captured(1) + m.captured(2).toLower()];
    QCOMPARE(l.full.size(), expected.size());
    for (qsizetype i = 0; i < l.full.size(); ++i)
        QCOMPARE(l.full[i],
                 l.bare[i] + ": " + QString::number(expected.value(l.bare[i].toLower())));
    QVERIFY(l.full.contains(QStringLiteral("h2: 4")));
    QVERIFY(l.unique.contains(QStringLiteral("meta: 1")));
    QVERIFY(l.associated.contains(QStringLiteral("/ul: 1")));
    QVERIFY(l.full.first().startsWith('/'));
}

void TestIdentifierScan::stopAbandons() {
    std::atomic<bool> stop{true};
    std::vector<Found> found;
    QVERIFY(!scan("<p>x</p>", stop, {}, &found));
    QVERIFY(found.empty());
}

void TestIdentifierScan::worker() {
    TScanKeywordThread thread;
    QList<Lists> results;
    connect(&thread, &TScanKeywordThread::scanned, this, [&](const Lists &l) { results << l; });
    thread.start();
    thread.request("<b>gras</b>");
    QTRY_COMPARE(results.size(), 1);
    QCOMPARE(results[0].full, (QStringList{"/b: 1", "b: 1"}));
    thread.request("<i>");
    QTRY_COMPARE(results.size(), 2);
    QCOMPARE(results[1].full, QStringList{"i: 1"});
    thread.stop();
    QVERIFY(thread.isFinished());
}

namespace {
QByteArray markupPage() {
    QFile f(QStringLiteral(BALIZOR_SOURCE_DIR "/resources/Ressources/reference_marqueurs.htm"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
QByteArray withBreaks(QByteArray page, const QByteArray &lineBreak) {
    page.replace("\r\n", "\n");
    return page.replace("\n", lineBreak);
}
} // namespace

void TestIdentifierScan::longLinesInPieces_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("reference"); // the same tags on lines of their own
    const QByteArray tricky =
        "<blockquote title=\"a <b> b\"><!--<i>--><table border=1><tr><td>x<td\n"
        "align=left>y</td></tr></table><a href=a<b>z</a>&eacute;<br/></blockquote>";
    QTest::newRow("minified page")
        << withBreaks(markupPage(), " ") << withBreaks(markupPage(), "\n");
    QTest::newRow("CR line breaks")
        << withBreaks(markupPage(), "\r") << withBreaks(markupPage(), "\n");
    QTest::newRow("tags, values and comments across the cuts")
        << withBreaks(tricky.repeated(6), " ") << withBreaks(tricky, "\n").repeated(6);
}

void TestIdentifierScan::longLinesInPieces() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, reference);
    QVERIFY(!text.isEmpty());
    const QStringList expected = scanText(reference).full;
    QVERIFY(expected.size() > 1);
    std::atomic<bool> stop{false};
    for (qsizetype piece : {16, 23, 64, 100, 257}) {
        std::vector<Found> found;
        QVERIFY(scan(text, stop, {}, &found, piece));
        QCOMPARE(buildLists(found).full, expected);
    }
}

void TestIdentifierScan::oneLineProgress_data() {
    QTest::addColumn<QByteArray>("text");
    const QByteArray page = withBreaks(markupPage(), " ").repeated(20);
    QTest::newRow("one line") << page;
    QTest::newRow("CR line breaks") << QByteArray(page).replace("<p", "\r<p");
}

void TestIdentifierScan::oneLineProgress() {
    QFETCH(QByteArray, text);
    const qsizetype piece = text.size() / 200;
    std::atomic<bool> stop{false};
    std::vector<Found> found;
    QList<int> shown;
    QVERIFY(scan(
        text, stop, [&](int p) { shown << p; }, &found, piece));
    QVERIFY2(shown.size() >= 90, qPrintable(QString::number(shown.size())));
    QCOMPARE(shown.last(), 100);
    // Stopped at the first step: the rest of the line is never read.
    shown.clear();
    QVERIFY(!scan(
        text, stop,
        [&](int p) {
            shown << p;
            stop = true;
        },
        &found, piece));
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first() < 5);
    QVERIFY(found.empty());
}

QTEST_GUILESS_MAIN(TestIdentifierScan)
#include "tst_identifier_scan.moc"
