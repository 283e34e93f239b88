// The crash-recovery journal's entries, sessions and the claim of journals left behind.
#include "app/recovery_journal.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace TestSupport;

class TstRecoveryJournal : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void damagedEntriesAreRefused_data();
    void damagedEntriesAreRefused();
    void delayGrowsWithSize_data();
    void delayGrowsWithSize();
    void filesArePrivate();
    void liveSessionIsNeverClaimed();
    void leftJournalIsClaimedOnce();
    void cleanEndLeavesNothing();
};

namespace {
JournalEntry sample(const QByteArray &text, TextEncoding enc, LineBreak lb, const QString &file) {
    JournalEntry e;
    e.text = text;
    e.encoding = enc;
    e.lineBreak = lb;
    e.fileName = file;
    e.caption = file.isEmpty() ? QStringLiteral("Sans Nom (2)") : QFileInfo(file).fileName();
    e.kind = file.isEmpty() ? 0 : 2;
    e.typeName = QStringLiteral("3");
    e.caretLine = 7;
    e.caretCol = 12;
    e.written = QDateTime(QDate(2026, 12, 9), QTime(13, 5, 7, 250), Qt::UTC);
    return e;
}
} // namespace

void TstRecoveryJournal::roundTrip_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<int>("lineBreak");
    QTest::addColumn<QString>("file");
    QTest::newRow("empty untitled") << QByteArray() << 0 << 0 << QString();
    QTest::newRow("cp1252 CR") << QByteArray("caf\xc3\xa9\rligne\r") << 0 << 2
                               << QStringLiteral("/tmp/a b/page été.htm");
    QTest::newRow("utf8 bom LF") << QByteArray("\xe2\x82\xac\n") << 2 << 1
                                 << QStringLiteral("/x/\"quoted\".htm");
    QTest::newRow("NUL and newline in name")
        << QByteArray("a\0b\r\n\n", 6) << 1 << 0 << QStringLiteral("/x/line\nbreak.htm");
    QTest::newRow("header-like text")
        << QByteArray("BALIZOR-JOURNAL 1\n{\"textSize\":\"3\"}\n") << 0 << 1 << QString();
    QTest::newRow("every byte") << everyByteButCr() << 0 << 1 << QStringLiteral("/b.bin");
}

void TstRecoveryJournal::roundTrip() {
    QFETCH(QByteArray, text);
    QFETCH(int, encoding);
    QFETCH(int, lineBreak);
    QFETCH(QString, file);
    const JournalEntry in = sample(text, TextEncoding(encoding), LineBreak(lineBreak), file);
    JournalEntry out;
    QVERIFY(Journal::parse(Journal::serialize(in), &out));
    QCOMPARE(out.text, in.text);
    QCOMPARE(out.fileName, in.fileName);
    QCOMPARE(out.caption, in.caption);
    QCOMPARE(out.kind, in.kind);
    QCOMPARE(int(out.encoding), encoding);
    QCOMPARE(int(out.lineBreak), lineBreak);
    QCOMPARE(out.typeName, in.typeName);
    QCOMPARE(out.caretLine, 7);
    QCOMPARE(out.caretCol, 12);
    QCOMPARE(out.written, in.written);
}

void TstRecoveryJournal::damagedEntriesAreRefused_data() {
    const QByteArray good = Journal::serialize(
        sample("<p>texte</p>\r\n", TextEncoding::Utf8, LineBreak::CrLf, QStringLiteral("/a.htm")));
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("torn in the text") << good.left(good.size() - 3);
    QTest::newRow("torn in the header") << good.left(30);
    QTest::newRow("padded") << good + "x";
    QTest::newRow("other magic") << QByteArray(good).replace("JOURNAL 1", "JOURNAL 9");
    QTest::newRow("unknown encoding") << QByteArray(good).replace("\"utf-8\"", "\"ebcdic\"");
    QTest::newRow("unknown break") << QByteArray(good).replace("\"crlf\"", "\"nel\"");
    QTest::newRow("header not json") << QByteArray("BALIZOR-JOURNAL 1\n{oops\nabc");
    QTest::newRow("negative size")
        << QByteArray("BALIZOR-JOURNAL 1\n{\"encoding\":\"utf-8\",\"lineBreak\":\"lf\","
                      "\"textSize\":\"-1\"}\n");
}

void TstRecoveryJournal::damagedEntriesAreRefused() {
    QFETCH(QByteArray, bytes);
    JournalEntry e;
    e.caption = QStringLiteral("untouched");
    QVERIFY(!Journal::parse(bytes, &e));
    QCOMPARE(e.caption, QStringLiteral("untouched"));
}

void TstRecoveryJournal::delayGrowsWithSize_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::newRow("typing") << qint64(10) << 2000 << 2000;
    QTest::newRow("1 MB") << qint64(1 << 20) << 2000 << 2000;
    QTest::newRow("11 MB") << qint64(11 << 20) << 3900 << 4100;
    QTest::newRow("50 MB") << qint64(50 << 20) << 11000 << 12000;
    QTest::newRow("2 GB capped") << (qint64(2) << 30) << 15000 << 15000;
}

void TstRecoveryJournal::delayGrowsWithSize() {
    QFETCH(qint64, size);
    QFETCH(int, min);
    QFETCH(int, max);
    const int d = Journal::delayMs(size);
    QVERIFY2(d >= min && d <= max, qPrintable(QString::number(d)));
}

void TstRecoveryJournal::filesArePrivate() {
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("deep/journal"));
    auto s = JournalSession::create(root);
    QVERIFY(s);
    QVERIFY(s->write(1, sample("abc\n", TextEncoding::Utf8, LineBreak::Lf, {})));
    for (const QString &p : {root, s->folder(), s->entryPath(1)}) {
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(p).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), p == s->entryPath(1) ? 0600 : 0700);
    }
    // An entry written again replaces the old one whole; no temporary is left.
    QVERIFY(s->write(1, sample("abcdef\n", TextEncoding::Utf8, LineBreak::Lf, {})));
    QCOMPARE(QDir(s->folder()).entryList(QDir::Files | QDir::Hidden).filter(".bjr").size(), 1);
    JournalEntry back;
    QVERIFY(Journal::parse(readAll(s->entryPath(1)), &back));
    QCOMPARE(back.text, QByteArray("abcdef\n"));
}

void TstRecoveryJournal::liveSessionIsNeverClaimed() {
    QTemporaryDir dir;
    auto running = JournalSession::create(dir.path());
    auto me = JournalSession::create(dir.path());
    QVERIFY(running && me);
    QVERIFY(running->write(1, sample("x\n", TextEncoding::Utf8, LineBreak::Lf, {})));
    QVERIFY(OrphanJournal::claimAll(dir.path(), me->folder()).empty());
    QVERIFY(QFileInfo::exists(running->entryPath(1)));
}

void TstRecoveryJournal::leftJournalIsClaimedOnce() {
    QTemporaryDir dir;
    QString left;
    {
        auto gone = JournalSession::create(dir.path());
        QVERIFY(gone->write(1, sample("un\r", TextEncoding::Windows1252, LineBreak::Cr,
                                      QStringLiteral("/p/a.htm"))));
        QVERIFY(gone->write(2, sample("deux\n", TextEncoding::Utf8, LineBreak::Lf, {})));
        // A torn entry stays on disk but is not offered.
        writeAll(gone->folder() + QStringLiteral("/3.bjr"), "BALIZOR-JOURNAL 1\n{");
        left = gone->folder();
    } // its owner is gone without the clean end
    auto me = JournalSession::create(dir.path());
    auto first = OrphanJournal::claimAll(dir.path(), me->folder());
    QCOMPARE(first.size(), size_t(1));
    QCOMPARE(first[0]->folder(), left);
    QCOMPARE(first[0]->items.size(), 2);
    // While claimed, a second instance sees nothing to recover.
    auto other = JournalSession::create(dir.path());
    QVERIFY(OrphanJournal::claimAll(dir.path(), other->folder()).empty());
    // Restoring one and declining the other without deleting it keeps the folder.
    first[0]->discard(first[0]->items.first().path);
    first[0]->removeFolderIfEmpty();
    first.clear();
    QVERIFY(QFileInfo::exists(left));
    auto again = OrphanJournal::claimAll(dir.path(), me->folder());
    QCOMPARE(again.size(), size_t(1));
    QCOMPARE(again[0]->items.size(), 1);
}

void TstRecoveryJournal::cleanEndLeavesNothing() {
    QTemporaryDir dir;
    auto s = JournalSession::create(dir.path());
    QVERIFY(s->write(4, sample("x\n", TextEncoding::Utf8, LineBreak::Lf, {})));
    const QString folder = s->folder();
    s->removeAll();
    QVERIFY(!QFileInfo::exists(folder));
    auto me = JournalSession::create(dir.path());
    QVERIFY(OrphanJournal::claimAll(dir.path(), me->folder()).empty());
}

QTEST_GUILESS_MAIN(TstRecoveryJournal)
#include "tst_recovery_journal.moc"
