#include "cli/batch_command.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QStringList errors;
};

Run run(const QStringList &args, const QByteArray &input = {}) {
    Run r;
    Batch::Io io;
    io.readStdin = [input] { return input; };
    io.writeStdout = [&r](const QByteArray &b) { r.out += b; };
    io.writeStderr = [&r](const QString &m) { r.errors << m; };
    r.status = Batch::Run(args, io);
    return r;
}

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestBatchCommand : public QObject {
    Q_OBJECT
private slots:
    void bytes_data();
    void bytes();
    void check();
    void failuresLeaveOtherFilesDone();
    void usage_data();
    void usage();
};

void TestBatchCommand::bytes_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    const QStringList indent{"indent", "--spaces", "2"};
    QTest::newRow("indent, Windows-1252, LF")
        << indent << QByteArray("<p>\n\xE9t\xE9\n</p>\n") << QByteArray("<p>\n  \xE9t\xE9\n</p>\n");
    QTest::newRow("indent, UTF-8, CR LF")
        << indent << QByteArray("<p>\r\nété\r\n</p>\r\n") << QByteArray("<p>\r\n  été\r\n</p>\r\n");
    QTest::newRow("indent, UTF-8 with BOM, CR") << indent << QByteArray("\xEF\xBB\xBF<p>\rx\r</p>")
                                                << QByteArray("\xEF\xBB\xBF<p>\r  x\r</p>\r");
    QTest::newRow("indent, tabs") << QStringList{"indent", "--tabs"}
                                  << QByteArray("<ul>\n<li>a\n</ul>\n")
                                  << QByteArray("<ul>\n\t<li>a\n</ul>\n");
    QTest::newRow("indent keeps undefined code page bytes")
        << indent << QByteArray("<b>\n\x81\x8D\x8F\x90\x9D\x01\n</b>\n")
        << QByteArray("<b>\n  \x81\x8D\x8F\x90\x9D\x01\n</b>\n");
    QTest::newRow("accents to entities, Windows-1252")
        << QStringList{"accents", "--to-entities"} << QByteArray("caf\xE9 \x9C\n")
        << QByteArray("caf&eacute; &oelig;\n");
    QTest::newRow("accents to numeric entities, UTF-8")
        << QStringList{"accents", "--to-entities", "--numeric"} << QByteArray("à\r\n")
        << QByteArray("&#224;\r\n");
    QTest::newRow("accents to text, UTF-8 BOM")
        << QStringList{"accents", "--to-text"} << QByteArray("\xEF\xBB\xBF&eacute;\n")
        << QByteArray("\xEF\xBB\xBFé\n");
    QTest::newRow("accents to text, ASCII file becomes Windows-1252")
        << QStringList{"accents", "--to-text"} << QByteArray("&eacute;&#339;\r\n")
        << QByteArray("\xE9\x9C\r\n");
    QTest::newRow("eol to CR LF") << QStringList{"eol", "--crlf"} << QByteArray("a\nb\n\xE9\n")
                                  << QByteArray("a\r\nb\r\n\xE9\r\n");
    QTest::newRow("eol to CR") << QStringList{"eol", "--cr"} << QByteArray("a\r\nb")
                               << QByteArray("a\rb\r");
    QTest::newRow("eol unchanged: file untouched")
        << QStringList{"eol", "--lf"} << QByteArray("a\nb") << QByteArray("a\nb");
    QTest::newRow("already indented: file untouched")
        << QStringList{"indent", "--tabs"} << QByteArray("<p>\n\tx\n</p>")
        << QByteArray("<p>\n\tx\n</p>");
    QTest::newRow("indent adds the final line break a save writes")
        << indent << QByteArray("<p>\nx\n</p>") << QByteArray("<p>\n  x\n</p>\n");
}

void TestBatchCommand::bytes() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.html"));
    write(path, before);
    const Run r = run(args + QStringList{path});
    QCOMPARE(r.status, int(Batch::Done));
    QCOMPARE(readAll(path), after);

    // Standard input gives the same bytes on standard output.
    const Run piped = run(args + QStringList{"-"}, before);
    QCOMPARE(piped.status, int(Batch::Done));
    QCOMPARE(piped.out, after);
}

void TestBatchCommand::check() {
    QTemporaryDir dir;
    const QString messy = dir.filePath(QStringLiteral("a.html"));
    const QString tidy = dir.filePath(QStringLiteral("b.html"));
    write(messy, "<div>\nx\n</div>\n");
    write(tidy, "<div>\n\tx\n</div>\n");
    Run r = run({"indent", "--tabs", "--check", tidy});
    QCOMPARE(r.status, int(Batch::Done));
    r = run({"indent", "--check", "--tabs", tidy, messy});
    QCOMPARE(r.status, int(Batch::WouldChange));
    QCOMPARE(readAll(messy), QByteArray("<div>\nx\n</div>\n"));
    QCOMPARE(r.errors.size(), 1);
    QVERIFY(r.errors.first().contains(messy));
    r = run({"indent", "--check", "-"}, "<div>\nx\n</div>");
    QCOMPARE(r.status, int(Batch::WouldChange));
    QVERIFY(r.out.isEmpty());

    // A stopped indent says where, and still rewrites the indented part.
    const QString broken = dir.filePath(QStringLiteral("c.html"));
    write(broken, "<div>\nx\n</span>\n<p>y\n");
    r = run({"indent", "--tabs", broken});
    QCOMPARE(r.status, int(Batch::Done));
    QCOMPARE(readAll(broken), QByteArray("<div>\n\tx\n</span>\n<p>y\n"));
    QCOMPARE(r.errors.size(), 1);
    QVERIFY(r.errors.first().contains(QStringLiteral("ligne 3")));
}

void TestBatchCommand::failuresLeaveOtherFilesDone() {
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.html"));
    write(good, "\xE9\n");
    const QString missing = dir.filePath(QStringLiteral("absent.html"));
    const Run r = run({"accents", "--to-entities", missing, dir.path(), good});
    QCOMPARE(r.status, int(Batch::Failed));
    QCOMPARE(readAll(good), QByteArray("&eacute;\n"));
    QCOMPARE(r.errors.size(), 2);
    QCOMPARE(r.errors.at(0),
             QStringLiteral("balizor-cli : impossible de lire le fichier %1").arg(missing));
    QVERIFY(!QFile::exists(missing));

    // A folder that cannot take the new file: the old one stays.
    const QString locked = dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkdir(locked));
    const QString inside = locked + QStringLiteral("/p.html");
    write(inside, "\xE9\n");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const Run w = run({"accents", "--to-entities", inside});
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (w.status == int(Batch::Done))
        QSKIP("needs a plain user's rights: the administrator writes in any folder");
    QCOMPARE(w.status, int(Batch::Failed));
    QCOMPARE(readAll(inside), QByteArray("\xE9\n"));
    QVERIFY(w.errors.first().startsWith(QStringLiteral("balizor-cli : impossible d'écrire")));
}

void TestBatchCommand::usage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("help") << QStringList{"--help"} << 0 << QString();
    QTest::newRow("nothing") << QStringList{} << 2 << "commande manquante";
    QTest::newRow("unknown command") << QStringList{"tidy", "a"} << 2 << "commande inconnue";
    QTest::newRow("unknown option")
        << QStringList{"indent", "--crlf", "a"} << 2 << "option inconnue « --crlf »";
    QTest::newRow("bad width") << QStringList{"indent", "--spaces", "x", "a"} << 2 << "--spaces";
    QTest::newRow("no direction") << QStringList{"accents", "a"} << 2 << "--to-entities";
    QTest::newRow("no style") << QStringList{"eol", "a"} << 2 << "--crlf";
    QTest::newRow("no file") << QStringList{"eol", "--lf"} << 2 << "aucun fichier";
}

void TestBatchCommand::usage() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, message);
    const Run r = run(args);
    QCOMPARE(r.status, status);
    if (status == 0) {
        QVERIFY(r.out.contains("Utilisation"));
        QVERIFY(r.errors.isEmpty());
    } else {
        QCOMPARE(r.errors.size(), 1);
        QVERIFY2(r.errors.first().contains(message), qPrintable(r.errors.first()));
    }
}

QTEST_APPLESS_MAIN(TestBatchCommand)
#include "tst_batch_command.moc"
