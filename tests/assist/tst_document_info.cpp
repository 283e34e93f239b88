// Document statistics, the size line and the rename rules, with real renames.
#include "assist/document_info.h"
#include "platform/file_attributes.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

class TstDocumentInfo : public QObject {
    Q_OBJECT
private slots:
    void statistics_data();
    void statistics();
    void groupedNumbers_data();
    void groupedNumbers();
    void sizes_data();
    void sizes();
    void renameDecision_data();
    void renameDecision();
    void renameOnDisk_data();
    void renameOnDisk();
    void readOnlyMapsToWriteBits();
};

void TstDocumentInfo::statistics_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("lines");
    QTest::addColumn<qint64>("chars");
    QTest::addColumn<qint64>("length");
    QTest::newRow("empty") << QByteArray() << 0LL << 0LL << 0LL;
    QTest::newRow("one line, no break") << QByteArray("abc") << 1LL << 3LL << 3LL;
    QTest::newRow("final break starts no line") << QByteArray("abc\n") << 1LL << 3LL << 3LL;
    QTest::newRow("CR LF lines") << QByteArray("ab\r\ncd\r\n") << 2LL << 4LL << 6LL;
    QTest::newRow("CR lines") << QByteArray("ab\rcd\r\r") << 3LL << 4LL << 8LL;
    QTest::newRow("empty lines") << QByteArray("\n\n") << 2LL << 0LL << 2LL;
    QTest::newRow("accents count once") << QByteArray("\xc3\xa9t\xc3\xa9\n") << 1LL << 3LL << 3LL;
    QTest::newRow("beyond the BMP is two units")
        << QByteArray("\xf0\x9f\x98\x80") << 1LL << 2LL << 2LL;
}

void TstDocumentInfo::statistics() {
    QFETCH(QByteArray, text);
    QFETCH(qint64, lines);
    QFETCH(qint64, chars);
    QFETCH(qint64, length);
    const DocumentStatistics s = documentStatistics(text.constData(), text.size());
    QCOMPARE(s.lines, lines);
    QCOMPARE(s.characters, chars);
    QCOMPARE(s.length, length);
    // As stated for the dialog: characters = L - 2n + 2 when there are lines.
    if (s.lines > 0) QCOMPARE(s.characters, s.length - 2 * s.lines + 2);
}

void TstDocumentInfo::groupedNumbers_data() {
    QTest::addColumn<qint64>("n");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0LL << "0";
    QTest::newRow("123") << 123LL << "123";
    QTest::newRow("1 234") << 1234LL << "1 234";
    QTest::newRow("5 000") << 5000LL << "5 000";
    QTest::newRow("123 456") << 123456LL << "123 456";
    QTest::newRow("1 234 567") << 1234567LL << "1 234 567";
}

void TstDocumentInfo::groupedNumbers() {
    QFETCH(qint64, n);
    QFETCH(QString, text);
    QCOMPARE(groupedNumber(n), text);
}

void TstDocumentInfo::sizes_data() {
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0LL << "0 octets";
    QTest::newRow("1 000") << 1000LL << "1 000 octets";
    QTest::newRow("1 023") << 1023LL << "1 023 octets";
    QTest::newRow("1 024") << 1024LL << "1,00 Ko (1 024 octets)";
    QTest::newRow("1 029") << 1029LL << "1,00 Ko (1 029 octets)";
    QTest::newRow("1 124") << 1124LL << "1,09 Ko (1 124 octets)";
    QTest::newRow("1 536") << 1536LL << "1,50 Ko (1 536 octets)";
    QTest::newRow("5 000") << 5000LL << "4,88 Ko (5 000 octets)";
    QTest::newRow("last Ko") << 1048575LL << "1 023,99 Ko (1 048 575 octets)";
    QTest::newRow("2 000 000") << 2000000LL << "1,90 Mo (2 000 000 octets)";
    QTest::newRow("50 Mo") << 52428800LL << "50,00 Mo (52 428 800 octets)";
    QTest::newRow("3 Go") << 3221225472LL << "3,00 Go (3 221 225 472 octets)";
}

void TstDocumentInfo::sizes() {
    QFETCH(qint64, length);
    QFETCH(QString, text);
    QCOMPARE(sizeText(length), text);
}

void TstDocumentInfo::renameDecision_data() {
    QTest::addColumn<QString>("newName");
    QTest::addColumn<bool>("caseInsensitive");
    QTest::addColumn<int>("verdict");
    const int ok = int(RenameCheck::Ok), bad = int(RenameCheck::BadName),
              exists = int(RenameCheck::Exists), same = int(RenameCheck::Unchanged);
    QTest::newRow("plain new name") << "neuf.htm" << false << ok;
    QTest::newRow("same name") << "page.htm" << false << same;
    QTest::newRow("empty") << "" << false << bad;
    QTest::newRow("dot") << "." << false << bad;
    QTest::newRow("dot dot") << ".." << false << bad;
    QTest::newRow("slash") << "../page.htm" << false << bad;
    QTest::newRow("folder") << "sous/page.htm" << false << bad;
    QTest::newRow("backslash") << "a\\b.htm" << false << bad;
    QTest::newRow("NUL") << QString("a") + QChar(0) + "b" << false << bad;
    QTest::newRow("existing other file") << "autre.htm" << false << exists;
    QTest::newRow("case only, case-sensitive, free") << "Page.htm" << false << ok;
    QTest::newRow("case only, case-sensitive, taken") << "PAGE.htm" << false << exists;
    QTest::newRow("case only, case-insensitive") << "PAGE.htm" << true << ok;
    QTest::newRow("leading dot is a name") << ".cache.htm" << false << ok;
}

void TstDocumentInfo::renameDecision() {
    QFETCH(QString, newName);
    QFETCH(bool, caseInsensitive);
    QFETCH(int, verdict);
    // The folder holds page.htm, autre.htm and (on the case-sensitive system) PAGE.htm.
    const auto exists = [&](const QString &p) {
        const QString n = QFileInfo(p).fileName();
        if (caseInsensitive)
            return n.compare("page.htm", Qt::CaseInsensitive) == 0 || n == "autre.htm";
        return n == "page.htm" || n == "autre.htm" || n == "PAGE.htm";
    };
    const auto sameFile = [&](const QString &a, const QString &b) {
        return caseInsensitive && a.compare(b, Qt::CaseInsensitive) == 0;
    };
    QString target;
    QCOMPARE(int(checkRename("/site/page.htm", newName, exists, sameFile, &target)), verdict);
    if (verdict == int(RenameCheck::Ok))
        QCOMPARE(target, QDir::toNativeSeparators("/site/" + newName));
}

void TstDocumentInfo::renameOnDisk_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("renamed");
    QTest::newRow("free name") << "neuf.htm" << true;
    QTest::newRow("existing target is never replaced") << "autre.htm" << false;
    QTest::newRow("case change with another file of that name") << "PAGE.htm" << false;
    QTest::newRow("case change, free") << "Page.htm" << true;
}

void TstDocumentInfo::renameOnDisk() {
    QFETCH(QString, target);
    QFETCH(bool, renamed);
    QTemporaryDir dir;
    const QString page = dir.filePath("page.htm");
    writeAll(page, "page");
    writeAll(dir.filePath("autre.htm"), "autre");
    writeAll(dir.filePath("PAGE.htm"), "majuscules");
    if (target == "Page.htm") QFile::remove(dir.filePath("PAGE.htm"));
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    QCOMPARE(renameWithoutReplacing(page, dir.filePath(target)), renamed);
    if (renamed) {
        QCOMPARE(readAll(dir.filePath(target)), QByteArray("page"));
        QVERIFY(!QFileInfo::exists(page));
    } else {
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);
        QCOMPARE(readAll(page), QByteArray("page"));
        QVERIFY(readAll(dir.filePath(target)) != QByteArray("page"));
    }
}

void TstDocumentInfo::readOnlyMapsToWriteBits() {
    QTemporaryDir dir;
    const QString p = dir.filePath("a.htm");
    writeAll(p, "x");
    QFile::setPermissions(p, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                 QFile::WriteGroup | QFile::ReadOther);
    QVERIFY(!isReadOnlyFile(p));
    QVERIFY(setReadOnlyAttribute(p, true));
    QVERIFY(isReadOnlyFile(p));
    QCOMPARE(QFileInfo(p).permissions() &
                 (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther),
             QFile::Permissions());
    QVERIFY(setReadOnlyAttribute(p, false));
    QVERIFY(!isReadOnlyFile(p));
    QVERIFY(QFileInfo(p).permissions() & QFile::WriteOwner);
    QVERIFY(!(QFileInfo(p).permissions() & QFile::WriteGroup)); // only the owner's bit comes back
}

QTEST_GUILESS_MAIN(TstDocumentInfo)
#include "tst_document_info.moc"
