// Command line, hand-over messages, untitled numbering, file times and texts.
#include "app/command_line.h"
#include "app/document_texts.h"
#include "app/untitled_numbering.h"
#include "platform/file_times.h"
#include "platform/instance_protocol.h"
#include "platform/temp_folder.h"
#include "publish/preview_copy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TstShellRules : public QObject {
    Q_OBJECT
private slots:
    void newInstanceSwitch_data();
    void newInstanceSwitch();
    void filesSkipSwitches();
    void handOverMessages();
    void malformedMessages_data();
    void malformedMessages();
    void untitledNumbering();
    void fileDateValues();
    void readFileTimes();
    void previewCopyNames_data();
    void previewCopyNames();
    void temporaryFolder();
    void privateFolder_data();
    void privateFolder();
    void titlesAndPanels();
};

void TstShellRules::newInstanceSwitch_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("forced");
    QTest::newRow("-N first") << QStringList{"-N", "file.html"} << true;
    QTest::newRow("-N after a file") << QStringList{"file.html", "-N"} << false;
    QTest::newRow("-N after another switch") << QStringList{"-x", "-N", "a"} << true;
    QTest::newRow("lower case") << QStringList{"-n"} << false;
    QTest::newRow("longer") << QStringList{"-NO"} << false;
    QTest::newRow("none") << QStringList{} << false;
}

void TstShellRules::newInstanceSwitch()
{
    QFETCH(QStringList, args);
    QFETCH(bool, forced);
    QCOMPARE(commandLineForcesNewInstance(args), forced);
}

void TstShellRules::filesSkipSwitches()
{
    QCOMPARE(commandLineFiles({"-N", "a.html", "-x", "b.css"}), (QStringList{"a.html", "b.css"}));
}

void TstShellRules::handOverMessages()
{
    const QString longPath = QString(600, QChar(0x00E9)) + QStringLiteral(".html");
    QByteArray buf = InstanceProtocol::encode("/site/a.html") + InstanceProtocol::encode(longPath);
    // Delivered in pieces, as a socket may.
    QByteArray arrived;
    QStringList got;
    for (char c : buf) {
        arrived.append(c);
        QString arg;
        while (InstanceProtocol::decode(arrived, &arg) == InstanceProtocol::Decode::Complete)
            got << arg;
    }
    QCOMPARE(got, (QStringList{"/site/a.html", longPath}));
    QVERIFY(arrived.isEmpty());
    QVERIFY(InstanceProtocol::serverName("u", "/a").startsWith(InstanceProtocol::kMappingName));
    QVERIFY(InstanceProtocol::serverName("u", "/a") != InstanceProtocol::serverName("v", "/a"));
    QCOMPARE(QString(InstanceProtocol::kMappingName).size(), 38);
}

void TstShellRules::malformedMessages_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("huge length") << QByteArray("\x7F\xFF\xFF\xFF", 4);
    QTest::newRow("bad UTF-8") << QByteArray("\0\0\0\x02\xC3\x28", 6);
    QTest::newRow("NUL inside") << QByteArray("\0\0\0\x03" "a\0b", 7);
}

void TstShellRules::malformedMessages()
{
    QFETCH(QByteArray, bytes);
    QString arg;
    QCOMPARE(InstanceProtocol::decode(bytes, &arg), InstanceProtocol::Decode::Malformed);
}

void TstShellRules::untitledNumbering()
{
    UntitledNumbering n;
    QCOMPARE(n.next(), 1);
    QCOMPARE(n.next(), 2);
    QCOMPARE(n.next(), 3);
    n.tabClosed(3, false); // closing (3) gives its number back
    QCOMPARE(n.next(), 3);
    n.tabClosed(2, false); // closing (2) while (3) is open does not
    QCOMPARE(n.next(), 4);
    n.tabClosed(0, false); // a file's tab
    QCOMPARE(n.counter(), 4);
    n.tabClosed(1, true); // the last tab
    QCOMPARE(n.next(), 1);
}

void TstShellRules::fileDateValues()
{
    // 2 January 1900, 12:00 is day 3.5.
    QCOMPARE(fileDateValue(QDateTime(QDate(1980, 1, 1), QTime(0, 0))), 29221.0);
    const DateTimeValue v = fileDateValue(QDateTime(QDate(2026, 7, 3), QTime(9, 5, 7)));
    // Odd seconds fall to the even second below.
    QCOMPARE(v, fileDateValue(QDateTime(QDate(2026, 7, 3), QTime(9, 5, 6))));
    QVERIFY(v < fileDateValue(QDateTime(QDate(2026, 7, 3), QTime(9, 5, 8))));
    QCOMPARE(dateTimeFromValue(v), QDateTime(QDate(2026, 7, 3), QTime(9, 5, 6)));
    // Outside what file dates can hold.
    QCOMPARE(fileDateValue(QDateTime(QDate(1970, 1, 1), QTime(0, 0))), 0.0);
    QCOMPARE(fileDateValue(QDateTime()), 0.0);
}

void TstShellRules::readFileTimes()
{
    QTemporaryDir dir;
    const QString p = dir.filePath("a.html");
    FileTimes t;
    QVERIFY(!ReadFileTimes(p, &t));
    QFile f(p);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    const QDateTime when(QDate(2025, 5, 4), QTime(10, 11, 13));
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
    f.close();
    QVERIFY(ReadFileTimes(p, &t));
    QCOMPARE(t.lastWrite, fileDateValue(when));
    QVERIFY(!ReadFileTimes(dir.filePath("gone"), &t));
}

void TstShellRules::previewCopyNames_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("copy");
    QTest::newRow("index.html") << "/site/index.html" << "/site/~$index.html";
    QTest::newRow("page12.htm") << "/site/page12.htm" << "/site/~$age12.htm";
    QTest::newRow("contact.php") << "/site/contact.php" << "/site/~$ntact.php";
    QTest::newRow("a.htm") << "/site/a.htm" << "/site/~$a.htm";
    QTest::newRow("dot at 7") << "/site/abcdef.html" << "/site/~$bcdef.html";
    QTest::newRow("abcdefg.html") << "/site/abcdefg.html" << "/site/~$cdefg.html";
    QTest::newRow("no dot") << "/site/LISEZMOI" << "/site/~$SEZMOI";
}

void TstShellRules::previewCopyNames()
{
    QFETCH(QString, file);
    QFETCH(QString, copy);
    QCOMPARE(PreviewCopyPath(file, "ignored", "/tmp/"), copy);
}

void TstShellRules::temporaryFolder()
{
    const QString t = TemporaryFolder();
    QVERIFY(t.endsWith(QDir::separator()));
    QVERIFY(!t.endsWith(QString(QDir::separator()) + QDir::separator()));
    QVERIFY(QFileInfo(t).isDir());
    QCOMPARE(PreviewCopyPath(QString(), "Sans Nom (1)", t), t + "~$ns Nom (1).html");
}

void TstShellRules::privateFolder_data()
{
    QTest::addColumn<QString>("before"); // what lies at the folder's name beforehand
    QTest::addColumn<bool>("usable");
    QTest::newRow("nothing") << "" << true;
    QTest::newRow("a folder open to others") << "folder 0755" << true;
    QTest::newRow("a file in the way") << "file" << false;
    QTest::newRow("a link to another folder") << "link" << false;
}

void TstShellRules::privateFolder()
{
    QFETCH(QString, before);
    QFETCH(bool, usable);
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    const QString expected = runtime.path() + "/balizor";
    QTemporaryDir elsewhere;
    if (before == "folder 0755") {
        QVERIFY(QDir().mkdir(expected));
        QFile::setPermissions(expected, QFile::Permissions(0x7755));
    } else if (before == "file") {
        QFile f(expected);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (before == "link") {
        QVERIFY(QFile::link(elsewhere.path(), expected));
    }
    const QString folder = PrivateFolder();
    const QString temporary = TemporaryFolder();
    const QString socket = InstanceProtocol::serverPath("u", "p");
    qputenv("XDG_RUNTIME_DIR", saved);
    if (!usable) {
        QCOMPARE(folder, QString());
        QCOMPARE(temporary, QString());
        return;
    }
    QCOMPARE(folder, expected);
    QCOMPARE(temporary, QFileInfo(expected).canonicalFilePath() + "/");
    QCOMPARE(QFile::permissions(folder) & 0x7077,
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The hand-over socket lives there too.
    QCOMPARE(QFileInfo(socket).absolutePath(), folder);
}

void TstShellRules::titlesAndPanels()
{
    QCOMPARE(DocTexts::windowTitle({}, true), QString("Balizor"));
    QCOMPARE(DocTexts::windowTitle("/site/a.html", true), QString("Balizor - /site/a.html*"));
    QCOMPARE(DocTexts::titleText("/tmp/x/page.html", 1), QString("FTP : page.html"));
    QCOMPARE(DocTexts::titleText("/m/base.htm", 2), QString("Modèle : base.htm"));
    QCOMPARE(DocTexts::caretPanel(12, 3), QString("12:3"));
    QCOMPARE(DocTexts::closeQuestion(true, "a.html", "\r\n\r\n"),
             QString("Le fichier \"a.html\" a été ouvert via FTP.\r\n\r\nVoulez-vous l'enregistrer en local ?"));
}

QTEST_GUILESS_MAIN(TstShellRules)
#include "tst_shell_rules.moc"
