#include "platform/text_file.h"
#include "platform/windows1252.h"
#include "test_support.h"

#include "platform/file_attributes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
mode_t modeOf(const QString &path)
{
    struct stat st = {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}
} // namespace

using namespace TestSupport;

class TstTextFile : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void mixedBreaksTakeDetectedStyle_data();
    void mixedBreaksTakeDetectedStyle();
    void encodingDetection_data();
    void encodingDetection();
    void windows1252EveryByte();
    void unencodableCharacterIsReported();
    void readFailures();
    void failedWriteKeepsOldFile();
    void saveKeepsPermissions_data();
    void saveKeepsPermissions();
    void anotherUsersFile();
};

// Open then save: the bytes on disk do not change.
void TstTextFile::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("every byte but CR, LF ends") << everyByteButCr();
    QTest::newRow("LF") << QByteArray("<p>un</p>\n<p>deux</p>\n");
    QTest::newRow("CR") << QByteArray("un\rdeux\r\rtrois\r");
    QTest::newRow("CR LF") << QByteArray("un\r\ndeux\r\n\r\n");
    QTest::newRow("UTF-8 without mark") << QByteArray("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\n");
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF<p>\xC3\xA9t\xC3\xA9</p>\r\n");
    QTest::newRow("Windows-1252 accents") << QByteArray("\xE9t\xE9 \x80 \x9C\x81\x8D\x8F\x90\x9D\r\n");
    QTest::newRow("NUL bytes") << QByteArray("a\0b\0\0c\n", 7);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("long line") << QByteArray(3'000'000, 'x').append('\n');
}

void TstTextFile::roundTrip()
{
    QFETCH(QByteArray, bytes);
    const LoadedText t = decodeFileBytes(bytes);
    QByteArray out;
    QVERIFY(encodeForFile(t.utf8.constData(), t.utf8.size(), t.encoding, t.lineBreak, &out));
    QCOMPARE(out, bytes);
}

void TstTextFile::mixedBreaksTakeDetectedStyle_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("LF and CR LF give CR LF") << QByteArray("a\nb\r\nc\n") << QByteArray("a\r\nb\r\nc\r\n");
    QTest::newRow("CR and LF give CR LF") << QByteArray("a\rb\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("no break gives CR LF, added at the end") << QByteArray("abc") << QByteArray("abc\r\n");
    QTest::newRow("missing final LF added") << QByteArray("a\nb") << QByteArray("a\nb\n");
    QTest::newRow("blank lines kept") << QByteArray("\n\n") << QByteArray("\n\n");
}

void TstTextFile::mixedBreaksTakeDetectedStyle()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, saved);
    const LoadedText t = decodeFileBytes(bytes);
    QByteArray out;
    QVERIFY(encodeForFile(t.utf8.constData(), t.utf8.size(), t.encoding, t.lineBreak, &out));
    QCOMPARE(out, saved);
}

void TstTextFile::encodingDetection_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::newRow("ASCII is Windows-1252") << QByteArray("<p>abc</p>") << int(TextEncoding::Windows1252);
    QTest::newRow("ASCII declaring UTF-8")
        << QByteArray("<meta charset=\"UTF-8\"><p>abc</p>") << int(TextEncoding::Utf8);
    QTest::newRow("valid UTF-8") << QByteArray("\xC3\xA9") << int(TextEncoding::Utf8);
    QTest::newRow("mark") << QByteArray("\xEF\xBB\xBF" "abc") << int(TextEncoding::Utf8Bom);
    QTest::newRow("Latin-1 e acute") << QByteArray("\xE9t\xE9") << int(TextEncoding::Windows1252);
    QTest::newRow("overlong form") << QByteArray("\xC0\xAF") << int(TextEncoding::Windows1252);
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << int(TextEncoding::Windows1252);
    QTest::newRow("cut sequence at end") << QByteArray("ab\xE2\x82") << int(TextEncoding::Windows1252);
    // Past a run of sixteen ASCII bytes, read at once: what follows is still checked.
    const QByteArray run(16, 'a');
    QTest::newRow("accent after a run") << run + "\xC3\xA9" + run << int(TextEncoding::Utf8);
    QTest::newRow("stray byte after a run") << run + "\xE9" + run << int(TextEncoding::Windows1252);
    QTest::newRow("sequence across a run's end") << run.left(15) + "\xE2\x82\xAC" + run
                                                 << int(TextEncoding::Utf8);
    QTest::newRow("two-byte lead at the end") << run + "\xC3" << int(TextEncoding::Windows1252);
    QTest::newRow("two-byte lead before ASCII") << run + "\xC3(" + run << int(TextEncoding::Windows1252);
}

void TstTextFile::encodingDetection()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QCOMPARE(int(detectEncoding(bytes)), encoding);
}

void TstTextFile::windows1252EveryByte()
{
    for (int b = 0; b < 256; ++b) {
        const char16_t u = Windows1252::toUnicode(uchar(b));
        QCOMPARE(Windows1252::fromUnicode(u), b);
    }
    QCOMPARE(Windows1252::toUnicode(0x80), char16_t(0x20AC));
    QCOMPARE(Windows1252::fromUnicode(0x2192), -1);
}

void TstTextFile::unencodableCharacterIsReported()
{
    const QByteArray utf8 = QStringLiteral("ab\ncd \u2192 e").toUtf8();
    QByteArray out;
    qsizetype bad = -1;
    QVERIFY(!encodeForFile(utf8.constData(), utf8.size(), TextEncoding::Windows1252, LineBreak::Lf,
                           &out, &bad));
    QCOMPARE(bad, qsizetype(6));
    QVERIFY(encodeForFile(utf8.constData(), utf8.size(), TextEncoding::Utf8, LineBreak::Lf, &out));
    QCOMPARE(out, utf8 + '\n');
}

void TstTextFile::readFailures()
{
    QTemporaryDir dir;
    LoadedText t;
    QCOMPARE(readTextFile(dir.filePath("absent.html"), &t), ReadStatus::NotFound);
    QCOMPARE(readTextFile(dir.path(), &t), ReadStatus::NotAFile);
    const QString p = dir.filePath("a.html");
    QVERIFY(writeAll(p, "x\n"));
    QCOMPARE(readTextFile(p, &t), ReadStatus::Ok);
    QCOMPARE(t.utf8, QByteArray("x\n"));
    QCOMPARE(t.lineBreak, LineBreak::Lf);
}

void TstTextFile::failedWriteKeepsOldFile()
{
    QTemporaryDir dir;
    QCOMPARE(writeFileAtomically(dir.filePath("no/such/folder/a.html"), "x"),
             WriteStatus::CannotCreate);
    const QString p = dir.filePath("keep.html");
    QVERIFY(writeAll(p, "old"));
    QCOMPARE(writeFileAtomically(p, "new"), WriteStatus::Ok);
    QCOMPARE(readAll(p), QByteArray("new"));
    // A folder in the file's place cannot be replaced.
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    QVERIFY(writeFileAtomically(dir.filePath("sub"), "x") != WriteStatus::Ok);
    QVERIFY(QFileInfo(dir.filePath("sub")).isDir());
}

void TstTextFile::saveKeepsPermissions_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("private") << 0600;
    QTest::newRow("group reads") << 0640;
    QTest::newRow("a script") << 0755;
    QTest::newRow("others read, group not") << 0604;
}

void TstTextFile::saveKeepsPermissions()
{
    QFETCH(int, mode);
    QTemporaryDir dir;
    const QString p = dir.filePath("page.html");
    QVERIFY(writeAll(p, "old\n"));
    QCOMPARE(::chmod(QFile::encodeName(p).constData(), mode_t(mode)), 0);
    QCOMPARE(writeFileAtomically(p, "new\n"), WriteStatus::Ok);
    QCOMPARE(readAll(p), QByteArray("new\n"));
    QCOMPARE(int(modeOf(p)), mode);
}

// A file of someone else's, in a folder anyone may write: reported read-only and
// never replaced; an administrator's save keeps its owner.
void TstTextFile::anotherUsersFile()
{
    if (::geteuid() != 0)
        QSKIP("acting as another user needs the administrator");
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::Permissions(0x7755));
    const QString shared = dir.filePath("partage");
    QVERIFY(QDir().mkdir(shared));
    QCOMPARE(::chmod(QFile::encodeName(shared).constData(), 0777), 0);
    const QString p = shared + "/page.html";
    QVERIFY(writeAll(p, "root's\n"));
    QCOMPARE(::chmod(QFile::encodeName(p).constData(), 0644), 0);

    const uid_t nobody = 65534;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(nobody) != 0 || ::setuid(nobody) != 0)
            ::_exit(10);
        int failures = 0;
        if (!isReadOnlyFile(p))
            failures |= 1;
        if (writeFileAtomically(p, "replaced\n") != WriteStatus::CannotCreate)
            failures |= 2;
        ::_exit(failures);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(readAll(p), QByteArray("root's\n"));

    // The other way round: saved by the administrator, still nobody's.
    QCOMPARE(::chown(QFile::encodeName(p).constData(), nobody, nobody), 0);
    QVERIFY(!isReadOnlyFile(p));
    QCOMPARE(writeFileAtomically(p, "fixed\n"), WriteStatus::Ok);
    struct stat st = {};
    QCOMPARE(::stat(QFile::encodeName(p).constData(), &st), 0);
    QCOMPARE(st.st_uid, nobody);
    QCOMPARE(st.st_gid, gid_t(nobody));
    QCOMPARE(int(st.st_mode & 07777), 0644);
}

QTEST_GUILESS_MAIN(TstTextFile)
#include "tst_text_file.moc"
