#include "site/file_search.h"
#include "site/site_folder.h"

#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
MatchRules rules(const QString &flags) {
    MatchRules r;
    r.caseSensitive = flags.contains(QLatin1Char('c'));
    r.wholeWords = flags.contains(QLatin1Char('w'));
    r.regularExpression = flags.contains(QLatin1Char('r'));
    return r;
}

TextSearch prepared(const QString &pattern, const QString &flags) {
    TextSearch s;
    s.prepare(pattern, rules(flags));
    return s;
}

QString spansOf(const LineHit &h) {
    QStringList l;
    for (const auto &s : h.spans)
        l << QStringLiteral("%1:%2").arg(s.first).arg(s.second);
    return l.join(QLatin1Char(' '));
}
} // namespace

class TstFileSearch : public QObject {
    Q_OBJECT
private slots:
    void searchBytes_data();
    void searchBytes();
    void rawFilterHidesNothing_data();
    void rawFilterHidesNothing();
    void listFiles_data();
    void listFiles();
    void replaceBytes_data();
    void replaceBytes();
    void changedSinceSearch_data();
    void changedSinceSearch();
    void jobFindsAndCancels();
    void renamedPath_data();
    void renamedPath();
};

void TstFileSearch::searchBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("flags"); // c: case, w: whole words, r: expression
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("lines"); // the lines kept, from 1
    QTest::addColumn<QString>("firstText");
    QTest::addColumn<QString>("firstSpans");

    QTest::newRow("UTF-8, any case")
        << QByteArray("un \xc3\xa9t\xc3\xa9\nUN \xc3\x89T\xc3\x89\n") << QString::fromUtf8("été")
        << "" << 2 << "1,2" << QString::fromUtf8("un été") << "3:3";
    QTest::newRow("Windows-1252") << QByteArray("caf\xe9\r\nun caf\xe9 noir\r\n")
                                  << QString::fromUtf8("café") << "" << 2 << "1,2"
                                  << QString::fromUtf8("café") << "0:4";
    // Long runs of ASCII between the accents: decoded eight bytes at a time.
    QTest::newRow("Windows-1252, long line")
        << QByteArray("<p>Une longue phrase \xe9"
                      "crite en fran\xe7"
                      "ais, avec des accents : "
                      "\xe0 la fin, FRAN\xc7"
                      "AIS.</p>\n")
        << QString::fromUtf8("français") << "" << 2 << "1"
        << QString::fromUtf8("<p>Une longue phrase écrite en français, avec des accents : "
                             "à la fin, FRANÇAIS.</p>")
        << "31:8 70:8";
    QTest::newRow("UTF-8 mark") << QByteArray("\xef\xbb\xbfhello") << "hello"
                                << "" << 1 << "1"
                                << "hello"
                                << "0:5";
    QTest::newRow("CR LF lines") << QByteArray("a\r\nb\r\n\r\n  needle\r\n") << "needle"
                                 << "" << 1 << "4"
                                 << "needle"
                                 << "0:6";
    QTest::newRow("CR lines") << QByteArray("a\rb\rx needle") << "needle"
                              << "" << 1 << "3"
                              << "x needle"
                              << "2:6";
    QTest::newRow("mixed breaks") << QByteArray("a\nb\r\nc\rd needle") << "needle"
                                  << "" << 1 << "4"
                                  << "d needle"
                                  << "2:6";
    QTest::newRow("expression ends at CR LF") << QByteArray("ab\r\nb\r\ncb\r\n") << "^b$"
                                              << "r" << 1 << "2"
                                              << "b"
                                              << "0:1";
    QTest::newRow("expression dot stops at CR") << QByteArray("x1\rx2\r") << "x."
                                                << "r" << 2 << "1,2"
                                                << "x1"
                                                << "0:2";
    QTest::newRow("whole words") << QByteArray("cat catalog concat cat_x cat") << "cat"
                                 << "w" << 2 << "1"
                                 << "cat catalog concat cat_x cat"
                                 << "0:3 25:3";
    QTest::newRow("whole words, accented neighbour")
        << QByteArray("\xc3\xa9t\xc3\xa9 t t\xc3\xa9") << "t"
        << "w" << 1 << "1" << QString::fromUtf8("été t té") << "4:1";
    QTest::newRow("case") << QByteArray("Cat cat CAT") << "cat"
                          << "c" << 1 << "1"
                          << "Cat cat CAT"
                          << "4:3";
    QTest::newRow("every match of a line") << QByteArray("x x\n\nx") << "x"
                                           << "" << 3 << "1,3"
                                           << "x x"
                                           << "0:1 2:1";
    QTest::newRow("picture bytes") << QByteArray("GIF89a\0\0cat", 11) << "cat"
                                   << "" << 0 << ""
                                   << ""
                                   << "";
    QTest::newRow("expression groups") << QByteArray("<a href=\"x.htm\">") << "href=\"[^\"]+\""
                                       << "r" << 1 << "1"
                                       << "<a href=\"x.htm\">"
                                       << "3:12";
}

void TstFileSearch::searchBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, pattern);
    QFETCH(QString, flags);
    QFETCH(int, count);
    QFETCH(QString, lines);
    QFETCH(QString, firstText);
    QFETCH(QString, firstSpans);
    const FileHits hits =
        FileSearch::searchBytes(bytes.constData(), bytes.size(), prepared(pattern, flags));
    QCOMPARE(hits.count, count);
    QStringList got;
    for (const LineHit &h : hits.hits)
        got << QString::number(h.line);
    QCOMPARE(got.join(QLatin1Char(',')), lines);
    if (hits.hits.isEmpty()) return;
    QCOMPARE(hits.hits.first().text, firstText);
    QCOMPARE(spansOf(hits.hits.first()), firstSpans);
}

void TstFileSearch::rawFilterHidesNothing_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("flags");
    QTest::addColumn<int>("count");
    QTest::newRow("1252, accented")
        << QByteArray("Mises \xe0 JOUR") << QString::fromUtf8("mises à jour") << "" << 1;
    QTest::newRow("UTF-8, accented")
        << QByteArray("Mises \xc3\xa0 jour") << QString::fromUtf8("Mises à jour") << "c" << 1;
    QTest::newRow("whole word next to a 1252 letter") << QByteArray("caf\xe9 caf") << "caf"
                                                      << "w" << 1;
    // The editor's own search does not take the Kelvin sign for a k: nor does the filter.
    QTest::newRow("Kelvin sign") << QByteArray("\xe2\x84\xaaoala \xc3\xa9t\xc3\xa9")
                                 << QString::fromUtf8("koala été") << "" << 0;
    QTest::newRow("absent") << QByteArray("bonjour") << QString::fromUtf8("été") << "" << 0;
    QTest::newRow("ASCII among 1252 letters")
        << QByteArray("caf\xe9<P>\xe9<p>") << QString("<p>") << "" << 2;
    QTest::newRow("ASCII after a mark")
        << QByteArray("\xEF\xBB\xBF<p>\xc3\xa9<p>") << QString("<p>") << "c" << 2;
}

void TstFileSearch::rawFilterHidesNothing() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, pattern);
    QFETCH(QString, flags);
    QFETCH(int, count);
    const TextSearch search = prepared(pattern, flags);
    TextSearch filter;
    const bool filtered = FileSearch::prepareRawFilter(pattern, rules(flags), &filter);
    QCOMPARE(FileSearch::searchBytes(bytes.constData(), bytes.size(), search).count, count);
    QCOMPARE(FileSearch::searchBytes(bytes.constData(), bytes.size(), search,
                                     FileSearch::kMaxLinesPerFile, filtered ? &filter : nullptr)
                 .count,
             count);
    // Counted only, once a search has all the lines it shows.
    QCOMPARE(FileSearch::searchBytes(bytes.constData(), bytes.size(), search, 0,
                                     filtered ? &filter : nullptr)
                 .count,
             count);
}

void TstFileSearch::listFiles_data() {
    QTest::addColumn<QString>("masks");
    QTest::addColumn<QString>("excluded");
    QTest::addColumn<QStringList>("expected");

    const QStringList all = {".git/config.html",      "a.html",      "b.PHP",           "logo.png",
                             "node_modules/x/y.html", "pages/c.htm", "pages/old/d.html"};
    QTest::newRow("every file") << ""
                                << "" << all;
    QTest::newRow("masks, any case") << "*.html;*.php"
                                     << ""
                                     << QStringList{".git/config.html", "a.html", "b.PHP",
                                                    "node_modules/x/y.html", "pages/old/d.html"};
    QTest::newRow("masks with commas and spaces") << "*.htm, *.png"
                                                  << "" << QStringList{"logo.png", "pages/c.htm"};
    QTest::newRow("excluded at any depth")
        << "*.htm*"
        << ".git;node_modules;old" << QStringList{"a.html", "pages/c.htm"};
    QTest::newRow("excluded by pattern")
        << ""
        << "n*;.*;pages" << QStringList{"a.html", "b.PHP", "logo.png"};
}

void TstFileSearch::listFiles() {
    QFETCH(QString, masks);
    QFETCH(QString, excluded);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    for (const char *name : {".git/config.html", "a.html", "b.PHP", "logo.png",
                             "node_modules/x/y.html", "pages/c.htm", "pages/old/d.html"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QVERIFY(TestSupport::writeAll(path, "x"));
    }
    FileSearchOptions o;
    o.folder = dir.path();
    o.masks = masks;
    o.excluded = excluded;
    QStringList got;
    for (const QString &p : FileSearch::listFiles(o))
        got << QDir(dir.path()).relativeFilePath(p);
    got.sort();
    QCOMPARE(got, expected);
}

void TstFileSearch::replaceBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("flags");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<int>("status"); // FileSearch::ReplaceStatus
    QTest::addColumn<QByteArray>("expected");

    const int replaced = int(FileSearch::ReplaceStatus::Replaced);
    QTest::newRow("UTF-8") << QByteArray("un \xc3\xa9t\xc3\xa9\n\xc3\xa9t\xc3\xa9\n")
                           << QString::fromUtf8("été") << ""
                           << "hiver" << replaced << QByteArray("un hiver\nhiver\n");
    QTest::newRow("Windows-1252 stays so")
        << QByteArray("caf\xe9 \x80 caf\xe9\r\n") << QString::fromUtf8("café") << ""
        << QString::fromUtf8("thé") << replaced << QByteArray("th\xe9 \x80 th\xe9\r\n");
    QTest::newRow("undefined 1252 bytes kept")
        << QByteArray("\x81\x8d x \x8f\x90\x9d") << "x"
        << "" << QString::fromUtf8("é") << replaced << QByteArray("\x81\x8d \xe9 \x8f\x90\x9d");
    QTest::newRow("ASCII file takes 1252")
        << QByteArray("a b") << "b"
        << "" << QString::fromUtf8("é") << replaced << QByteArray("a \xe9");
    QTest::newRow("mark kept") << QByteArray("\xef\xbb\xbf"
                                             "a b")
                               << "b"
                               << "" << QString::fromUtf8("é") << replaced
                               << QByteArray("\xef\xbb\xbf"
                                             "a \xc3\xa9");
    QTest::newRow("mixed breaks and no final break kept")
        << QByteArray("a\r\nb\nc\rb") << "b"
        << "c"
        << "B" << replaced << QByteArray("a\r\nB\nc\rB");
    QTest::newRow("line break in the file's style") << QByteArray("a;b\r\n") << ";"
                                                    << "r"
                                                    << "\\n"
                                                    << replaced << QByteArray("a\r\nb\r\n");
    QTest::newRow("expression groups") << QByteArray("ann@site bob@web") << "(\\w+)@(\\w+)"
                                       << "r"
                                       << "\\2/\\1" << replaced << QByteArray("site/ann web/bob");
    QTest::newRow("whole words only") << QByteArray("cat concat") << "cat"
                                      << "w"
                                      << "dog" << replaced << QByteArray("dog concat");
    QTest::newRow("1252 cannot hold it")
        << QByteArray("caf\xe9") << "f"
        << "" << QString::fromUtf8("ł") << int(FileSearch::ReplaceStatus::Unencodable)
        << QByteArray();
    QTest::newRow("nothing found")
        << QByteArray("abc") << "z"
        << ""
        << "y" << int(FileSearch::ReplaceStatus::NoMatch) << QByteArray();
}

void TstFileSearch::replaceBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, pattern);
    QFETCH(QString, flags);
    QFETCH(QString, replacement);
    QFETCH(int, status);
    QFETCH(QByteArray, expected);
    QByteArray out;
    const FileSearch::ReplaceResult r =
        FileSearch::replaceBytes(bytes, prepared(pattern, flags), replacement, &out);
    QCOMPARE(int(r.status), status);
    if (r.status == FileSearch::ReplaceStatus::Replaced) QCOMPARE(out, expected);
}

void TstFileSearch::changedSinceSearch_data() {
    QTest::addColumn<QByteArray>("later"); // written after the search; empty: untouched
    QTest::addColumn<bool>("keepTime");    // the file's time put back after the change
    QTest::addColumn<int>("status");

    QTest::newRow("untouched") << QByteArray() << false << int(FileSearch::ReplaceStatus::Replaced);
    QTest::newRow("other size") << QByteArray("old old old!") << false
                                << int(FileSearch::ReplaceStatus::ChangedSinceSearch);
    QTest::newRow("same size, time put back")
        << QByteArray("old new old") << true << int(FileSearch::ReplaceStatus::ChangedSinceSearch);
    QTest::newRow("same bytes, newer time")
        << QByteArray("old old old") << false << int(FileSearch::ReplaceStatus::ChangedSinceSearch);
}

void TstFileSearch::changedSinceSearch() {
    QFETCH(QByteArray, later);
    QFETCH(bool, keepTime);
    QFETCH(int, status);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.html"));
    const QByteArray original("old old old");
    QVERIFY(TestSupport::writeAll(path, original));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-60);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(before, QFileDevice::FileModificationTime));
    }
    const TextSearch search = prepared(QStringLiteral("old"), QString());
    FileHits seen;
    QVERIFY(FileSearch::searchFile(path, search, &seen));
    QCOMPARE(seen.count, 3);
    if (!later.isEmpty()) {
        QVERIFY(TestSupport::writeAll(path, later));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(keepTime ? before : before.addSecs(5),
                              QFileDevice::FileModificationTime));
    }
    const FileSearch::ReplaceResult r = FileSearch::replaceInFile(seen, search, "new");
    QCOMPARE(int(r.status), status);
    if (later.isEmpty()) {
        QCOMPARE(r.count, 3);
        QCOMPARE(TestSupport::readAll(path), QByteArray("new new new"));
        // Rewritten in place of the old file: its permissions stay.
        QCOMPARE(QFile::permissions(path) & (QFile::ReadGroup | QFile::WriteGroup),
                 QFile::ReadGroup);
    } else {
        QCOMPARE(TestSupport::readAll(path), later);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"p.html"});
}

void TstFileSearch::jobFindsAndCancels() {
    QTemporaryDir dir;
    for (int i = 0; i < 60; ++i)
        QVERIFY(TestSupport::writeAll(dir.filePath(QStringLiteral("f%1.html").arg(i)),
                                      i % 3 ? QByteArray("rien\n") : QByteArray("un mot\nmot\n")));
    FileSearchOptions o;
    o.folder = dir.path();
    o.pattern = QStringLiteral("mot");
    FileSearchJob job;
    QSignalSpy finished(&job, &FileSearchJob::finished);
    QVERIFY(job.start(o));
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.first().first().toBool(), false);
    const QList<FileHits> found = job.takeResults();
    QCOMPARE(found.size(), 20);
    QCOMPARE(job.filesDone(), 60);
    for (const FileHits &f : found)
        QCOMPARE(f.count, 2);

    o.pattern = QStringLiteral("(");
    o.rules.regularExpression = true;
    QString error;
    QVERIFY(!job.start(o, &error));
    QVERIFY(error.startsWith(QStringLiteral("Expression régulière incorrecte")));

    // A cancel at once: the job ends, says so, and stops early.
    o.pattern = QStringLiteral("mot");
    o.rules.regularExpression = false;
    finished.clear();
    QVERIFY(job.start(o));
    job.cancel();
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.first().first().toBool(), true);
    QVERIFY(!job.isRunning());
}

void TstFileSearch::renamedPath_data() {
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("expected");
    QTest::newRow("the file") << "/s/a.html"
                              << "/s/b.html";
    QTest::newRow("inside a renamed folder") << "/s/a.html/x.htm"
                                             << "/s/b.html/x.htm";
    QTest::newRow("a name that only begins alike") << "/s/a.html2"
                                                   << "";
    QTest::newRow("elsewhere") << "/t/a.html"
                               << "";
}

void TstFileSearch::renamedPath() {
    QFETCH(QString, document);
    QFETCH(QString, expected);
    QCOMPARE(SiteFolder::renamedPath(document, "/s/a.html", "/s/b.html"), expected);
}

QTEST_GUILESS_MAIN(TstFileSearch)
#include "tst_file_search.moc"
