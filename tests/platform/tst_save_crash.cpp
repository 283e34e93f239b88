// A save killed at any moment leaves the file whole: the old bytes or the new ones.
// The test runs itself as the saving program ("--save FILE") and kills it with
// SIGKILL at moments spread over the save.
#include "platform/text_file.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <thread>

using namespace TestSupport;

namespace {
constexpr qsizetype kSize = 20 * 1024 * 1024;

// A 20 MB page whose every line tells which version it belongs to.
QByteArray page(char version)
{
    QByteArray line = "<p>version ";
    line += version;
    line += " ";
    line += QByteArray(60, version);
    line += "</p>\r\n";
    QByteArray bytes;
    bytes.reserve(kSize + line.size());
    while (bytes.size() < kSize)
        bytes += line;
    return bytes;
}

// The child: builds the new text as the editor holds it, says so, then saves it the
// way a document is saved.
int saveChild(const QString &path)
{
    const LoadedText text = decodeFileBytes(page('N'));
    QByteArray bytes;
    if (!encodeForFile(text.utf8.constData(), text.utf8.size(), text.encoding, text.lineBreak,
                       &bytes))
        return 2;
    fputs("saving\n", stdout);
    fflush(stdout);
    const bool ok = writeFileAtomically(path, bytes) == WriteStatus::Ok;
    fputs("saved\n", stdout);
    fflush(stdout);
    return ok ? 0 : 1;
}
} // namespace

class TstSaveCrash : public QObject {
    Q_OBJECT
private slots:
    void killedSavesLeaveTheFileWhole();
};

void TstSaveCrash::killedSavesLeaveTheFileWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.html"));
    const QByteArray oldBytes = page('O');
    const QByteArray newBytes = page('N');

    const auto startSave = [&path](QProcess &p) {
        p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--save"), path});
        return p.waitForStarted(10000) && p.waitForReadyRead(20000);
    };

    // One save left alone tells how long a save takes here.
    QVERIFY(writeAll(path, oldBytes));
    QElapsedTimer clock;
    {
        QProcess p;
        QVERIFY(startSave(p));
        clock.start();
        while (!p.canReadLine() || p.readLine() != "saving\n")
            QVERIFY(p.waitForReadyRead(20000));
        while (!p.canReadLine())
            QVERIFY(p.waitForReadyRead(30000));
        QCOMPARE(p.readLine(), QByteArray("saved\n"));
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
    }
    const qint64 saveUs = std::max<qint64>(clock.nsecsElapsed() / 1000, 1000);
    QVERIFY(readAll(path) == newBytes);

    // Kill moments spread over the save, from its start to its end.
    QRandomGenerator random(20261209);
    const int tries = 24;
    int old = 0, fresh = 0;
    for (int i = 0; i < tries; ++i) {
        QVERIFY(writeAll(path, oldBytes));
        QProcess p;
        QVERIFY(startSave(p));
        const qint64 delay = qint64(random.bounded(double(saveUs)));
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        p.kill();
        QVERIFY(p.waitForFinished(10000));
        const QByteArray now = readAll(path);
        QVERIFY2(now == oldBytes || now == newBytes,
                 qPrintable(QStringLiteral("try %1 (%2 µs): %3 bytes, neither version whole")
                                .arg(i)
                                .arg(delay)
                                .arg(now.size())));
        (now == oldBytes ? old : fresh) += 1;
    }
    // A save cut short may leave its unfinished temporary file beside the page.
    const qsizetype leftovers = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() - 1;
    qInfo("%d saves killed (a save takes %lld µs here): %d left the old file, %d the new one, "
          "0 a torn one; %lld unfinished temporary files left beside it",
          tries, saveUs, old, fresh, qint64(leftovers));
}

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--save") == 0) {
        QCoreApplication app(argc, argv);
        return saveChild(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    TstSaveCrash test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_save_crash.moc"
