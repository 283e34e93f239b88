#include "app/templates.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
void write(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

class TestTemplates : public QObject {
    Q_OBJECT
private slots:
    void nameRules_data();
    void nameRules();
    void seedOnlyOnce();
    void shippedTemplates();
    void renameRules_data();
    void renameRules();
    void removeStaysInFolder();
    void listSorted();
};

void TestTemplates::nameRules_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain") << "Page.html" << true;
    QTest::newRow("spaces and accents") << "Mon modèle de page.htm" << true;
    QTest::newRow("dots inside") << "v1..2.css" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank") << "   " << false;
    QTest::newRow("slash") << "../x.html" << false;
    QTest::newRow("backslash") << "a\\b.html" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("line break") << "a\nb" << false;
}

void TestTemplates::nameRules() {
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    QCOMPARE(Templates::nameError(name).isEmpty(), accepted);
}

void TestTemplates::seedOnlyOnce() {
    QTemporaryDir dir;
    const QString shipped = dir.filePath(QStringLiteral("shipped"));
    QDir().mkpath(shipped);
    write(shipped + QStringLiteral("/a.html"), "<p>a</p>\r\n");
    QFile::setPermissions(shipped + QStringLiteral("/a.html"),
                          QFile::ReadOwner); // as resources are
    const QString folder = dir.filePath(QStringLiteral("data/Modeles"));
    QVERIFY(Templates::seed(folder, shipped));
    QCOMPARE(Templates::list(folder), QStringList{QStringLiteral("a.html")});
    // Private to the user, and writable by the user.
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const QFile::Permissions file = QFileInfo(folder + QStringLiteral("/a.html")).permissions();
    QVERIFY(!(file & others));
    QVERIFY(file.testFlags(QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(!(QFileInfo(folder).permissions() & others));
    // Deleted by the user: it stays deleted.
    QVERIFY(Templates::remove(folder, QStringLiteral("a.html")));
    QVERIFY(Templates::seed(folder, shipped));
    QVERIFY(Templates::list(folder).isEmpty());
}

void TestTemplates::shippedTemplates() {
    // The templates the program ships: an HTML5 page, an XHTML 1.0 strict page, a PHP
    // page and a style sheet.
    const QDir shipped(QStringLiteral(BALIZOR_SOURCE_DIR "/resources/Modeles"));
    const QStringList names = shipped.entryList(QDir::Files);
    QCOMPARE(names.size(), 4);
    QStringList kinds;
    for (const QString &n : names) {
        QFile f(shipped.filePath(n));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY2(bytes.endsWith("\r\n"), qPrintable(n));
        if (bytes.startsWith("<!DOCTYPE html>"))
            kinds << QStringLiteral("html5");
        else if (bytes.contains("XHTML 1.0 Strict"))
            kinds << QStringLiteral("xhtml");
        else if (bytes.startsWith("<?php"))
            kinds << QStringLiteral("php");
        else if (n.endsWith(QLatin1String(".css")))
            kinds << QStringLiteral("css");
    }
    kinds.sort();
    QCOMPARE(kinds, (QStringList{"css", "html5", "php", "xhtml"}));
}

void TestTemplates::renameRules_data() {
    QTest::addColumn<QString>("newName");
    QTest::addColumn<bool>("renamed");
    QTest::newRow("free name") << "c.html" << true;
    QTest::newRow("same name") << "a.html" << true;
    QTest::newRow("taken name") << "b.html" << false;
    QTest::newRow("folder separator") << "../c.html" << false;
    QTest::newRow("empty") << "" << false;
}

void TestTemplates::renameRules() {
    QFETCH(QString, newName);
    QFETCH(bool, renamed);
    QTemporaryDir dir;
    write(dir.filePath(QStringLiteral("a.html")), "A");
    write(dir.filePath(QStringLiteral("b.html")), "B");
    const QString error = Templates::rename(dir.path(), QStringLiteral("a.html"), newName);
    QCOMPARE(error.isEmpty(), renamed);
    // Never a lost template: b keeps its text, a is either renamed or still there.
    QFile b(dir.filePath(QStringLiteral("b.html")));
    QVERIFY(b.open(QIODevice::ReadOnly));
    QCOMPARE(b.readAll(), QByteArray("B"));
    QVERIFY(QFileInfo::exists(dir.filePath(renamed ? newName : QStringLiteral("a.html"))));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("../c.html"))));
}

void TestTemplates::removeStaysInFolder() {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("Modeles")));
    write(dir.filePath(QStringLiteral("outside.html")), "x");
    QVERIFY(!Templates::remove(dir.filePath(QStringLiteral("Modeles")),
                               QStringLiteral("../outside.html")));
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("outside.html"))));
    QVERIFY(
        !Templates::remove(dir.filePath(QStringLiteral("Modeles")), QStringLiteral("absent.html")));
}

void TestTemplates::listSorted() {
    QTemporaryDir dir;
    for (const char *n : {"b.css", "A.html", "c.php"})
        write(dir.filePath(QLatin1String(n)), "x");
    QDir().mkpath(dir.filePath(QStringLiteral("sous-dossier")));
    QCOMPARE(Templates::list(dir.path()), (QStringList{"A.html", "b.css", "c.php"}));
}

QTEST_APPLESS_MAIN(TestTemplates)
#include "tst_templates.moc"
