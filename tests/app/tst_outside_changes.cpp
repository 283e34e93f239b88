// The decision that a document's file changed, on stamps and on real files.
#include "app/outside_changes.h"
#include "test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

class TstOutsideChanges : public QObject {
    Q_OBJECT
private slots:
    void decision_data();
    void decision();
    void realFiles_data();
    void realFiles();
};

void TstOutsideChanges::decision_data() {
    QTest::addColumn<qint64>("recTime");
    QTest::addColumn<qint64>("recSize");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<qint64>("curTime");
    QTest::addColumn<qint64>("curSize");
    QTest::addColumn<int>("change");
    const int none = int(DiskChange::None), changed = int(DiskChange::Changed),
              vanished = int(DiskChange::Vanished);
    const qint64 t = 1765285200LL * 1000000000;
    QTest::newRow("same") << t << 10LL << true << t << 10LL << none;
    QTest::newRow("newer") << t << 10LL << true << t + 5 << 10LL << changed;
    QTest::newRow("older (restored copy)")
        << t << 10LL << true << t - 86400000000000 << 10LL << changed;
    QTest::newRow("within the same second") << t << 10LL << true << t + 1000 << 10LL << changed;
    QTest::newRow("same time, other size") << t << 10LL << true << t << 11LL << changed;
    QTest::newRow("gone") << t << 10LL << false << 0LL << -1LL << vanished;
}

void TstOutsideChanges::decision() {
    QFETCH(qint64, recTime);
    QFETCH(qint64, recSize);
    QFETCH(bool, exists);
    QFETCH(qint64, curTime);
    QFETCH(qint64, curSize);
    QFETCH(int, change);
    const FileStamp rec{true, recTime, recSize};
    const FileStamp cur{exists, curTime, curSize};
    QCOMPARE(int(compareWithDisk(rec, cur)), change);
}

void TstOutsideChanges::realFiles_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("change");
    QTest::newRow("untouched") << "none" << int(DiskChange::None);
    QTest::newRow("restored with an older date") << "older" << int(DiskChange::Changed);
    QTest::newRow("same size written in the same second")
        << "sameSecond" << int(DiskChange::Changed);
    QTest::newRow("replaced by a rename") << "replace" << int(DiskChange::Changed);
    QTest::newRow("deleted") << "delete" << int(DiskChange::Vanished);
    QTest::newRow("folder renamed") << "folder" << int(DiskChange::Vanished);
}

void TstOutsideChanges::realFiles() {
    QFETCH(QString, action);
    QFETCH(int, change);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("site");
    const QString p = dir.filePath("site/page.htm");
    writeAll(p, "version 2");
    QFile f(p);
    const QDateTime when = QDateTime::currentDateTime().addSecs(-10);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
    f.close();
    const FileStamp recorded = ReadFileStamp(p);
    QVERIFY(recorded.exists);
    if (action == "older") {
        writeAll(p, "version 1");
        QFile g(p);
        QVERIFY(g.open(QIODevice::ReadWrite));
        QVERIFY(g.setFileTime(when.addDays(-30), QFileDevice::FileModificationTime));
    } else if (action == "sameSecond") {
        writeAll(p, "version 3");
        QFile g(p);
        QVERIFY(g.open(QIODevice::ReadWrite));
        // Same second, a few milliseconds on: a two-second comparison misses it.
        QVERIFY(g.setFileTime(when.addMSecs(20), QFileDevice::FileModificationTime));
    } else if (action == "replace") {
        writeAll(dir.filePath("site/new.tmp"), "version 2 bis");
        QVERIFY(QFile::remove(p));
        QVERIFY(QFile::rename(dir.filePath("site/new.tmp"), p));
    } else if (action == "delete") {
        QVERIFY(QFile::remove(p));
    } else if (action == "folder") {
        QVERIFY(QDir(dir.path()).rename("site", "site2"));
    }
    QCOMPARE(int(compareWithDisk(recorded, ReadFileStamp(p))), change);
}

QTEST_GUILESS_MAIN(TstOutsideChanges)
#include "tst_outside_changes.moc"
