// balizor-cli spell: compiler-style lines, the exit status, the dictionary chosen.
#include "cli/batch_command.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSpellCommand : public QObject {
    Q_OBJECT
private slots:
    void run_data();
    void run();
};

void TestSpellCommand::run_data() {
    QTest::addColumn<QStringList>("args"); // %1 stands for the temporary folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QString>("error");
    QTest::newRow("page, Windows-1252, CR LF")
        << QStringList{"spell", "%1/page.html"} << 1
        << QByteArray("%1/page.html:2:19: nouvele\n%1/page.html:3:24: mondde\n") << QString();
    QTest::newRow("clean page") << QStringList{"spell", "%1/propre.htm"} << 0 << QByteArray()
                                << QString();
    QTest::newRow("plain text, another dictionary")
        << QStringList{"spell", "--lang", "en_US", "%1/notes.txt"} << 1
        << QByteArray("%1/notes.txt:1:1: Bonjour\n%1/notes.txt:1:13: wrold\n") << QString();
    QTest::newRow("style sheet: code only")
        << QStringList{"spell", "%1/style.css"} << 0 << QByteArray() << QString();
    QTest::newRow("several files, one missing")
        << QStringList{"spell", "%1/absent.html", "%1/page.html"} << 2
        << QByteArray("%1/page.html:2:19: nouvele\n%1/page.html:3:24: mondde\n")
        << QStringLiteral("balizor-cli : impossible de lire le fichier %1/absent.html");
    QTest::newRow("no such dictionary")
        << QStringList{"spell", "--lang", "xx", "%1/page.html"} << 2 << QByteArray()
        << QStringLiteral("balizor-cli : aucun dictionnaire installé pour la langue « xx »");
}

void TestSpellCommand::run() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QString, error);
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    const auto write = [&](const char *name, const QByteArray &bytes) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    // "é" as one Windows-1252 byte: columns count characters.
    write("page.html", "<html lang=\"fr\"><body>\r\n<p>Nouvelle \xe9t\xe9 : nouvele\r\n"
                       "<b class=\"zz\">\xe9t\xe9</b>, mondde<script>var motss;</script></p>\r\n");
    write("propre.htm", "<p>Une page bien \xe9\x63rite.</p>\n");
    write("notes.txt", "Bonjour the wrold\n");
    write("style.css", "body { colr: rouje }\n");
    Batch::Io io;
    QByteArray stdoutBytes;
    QStringList errors;
    io.readStdin = [] { return QByteArray(); };
    io.writeStdout = [&](const QByteArray &b) { stdoutBytes += b; };
    io.writeStderr = [&](const QString &m) { errors << m; };
    for (QString &a : args)
        a = a.arg(dir.path());
    QCOMPARE(Batch::Run(args, io), status);
    QCOMPARE(stdoutBytes, QString::fromLatin1(out).arg(dir.path()).toUtf8());
    QCOMPARE(errors.join('\n'), error.contains("%1") ? error.arg(dir.path()) : error);
}

QTEST_GUILESS_MAIN(TestSpellCommand)
#include "tst_spell_command.moc"
