#include "platform/install_paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Each row lays out a tree of files, then looks one up from the program's folder.
class TstInstallPaths : public QObject {
    Q_OBJECT
private slots:
    void lookup_data();
    void lookup();
    void runningProgramFindsItsBuildFolderFiles();
};

void TstInstallPaths::lookup_data() {
    QTest::addColumn<QStringList>("files");  // relative paths to create
    QTest::addColumn<QString>("programDir"); // relative folder of the program
    QTest::addColumn<bool>("module");        // Kind::Module (by base name) or Kind::Data
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected"); // relative path found, empty when none

    QTest::newRow("build folder: module beside the program")
        << QStringList{"build/balizor", "build/libbalizor_webengine.so"} << "build" << true
        << "balizor_webengine"
        << "build/libbalizor_webengine.so";
    QTest::newRow("installed: module in lib/balizor")
        << QStringList{"usr/bin/balizor", "usr/lib/balizor/libbalizor_helpwindow.so"} << "usr/bin"
        << true << "balizor_helpwindow"
        << "usr/lib/balizor/libbalizor_helpwindow.so";
    QTest::newRow("installed: module in lib64/balizor")
        << QStringList{"opt/b/bin/balizor", "opt/b/lib64/balizor/libbalizor_webengine.so"}
        << "opt/b/bin" << true << "balizor_webengine"
        << "opt/b/lib64/balizor/libbalizor_webengine.so";
    QTest::newRow("beside the program wins over the installed copy")
        << QStringList{"usr/bin/libbalizor_webengine.so", "usr/lib/balizor/libbalizor_webengine.so"}
        << "usr/bin" << true << "balizor_webengine"
        << "usr/bin/libbalizor_webengine.so";
    QTest::newRow("a module is never looked for in the data folder")
        << QStringList{"usr/bin/balizor", "usr/share/balizor/libbalizor_webengine.so"} << "usr/bin"
        << true << "balizor_webengine"
        << "";
    QTest::newRow("another program's module folder is not ours")
        << QStringList{"usr/bin/balizor", "usr/lib/libbalizor_webengine.so"} << "usr/bin" << true
        << "balizor_webengine"
        << "";
    QTest::newRow("build folder: help book beside the program")
        << QStringList{"build/Balizor.qch"} << "build" << false << "Balizor.qch"
        << "build/Balizor.qch";
    QTest::newRow("installed: help book in share/balizor")
        << QStringList{"usr/bin/balizor", "usr/share/balizor/Balizor.qch"} << "usr/bin" << false
        << "Balizor.qch"
        << "usr/share/balizor/Balizor.qch";
    QTest::newRow("installed: templates folder in share/balizor")
        << QStringList{"usr/local/bin/balizor", "usr/local/share/balizor/Modeles/page.htm"}
        << "usr/local/bin" << false << "Modeles"
        << "usr/local/share/balizor/Modeles";
    QTest::newRow("data is never looked for in the module folder")
        << QStringList{"usr/bin/balizor", "usr/lib/balizor/Balizor.qch"} << "usr/bin" << false
        << "Balizor.qch"
        << "";
    QTest::newRow("nothing installed")
        << QStringList{"usr/bin/balizor"} << "usr/bin" << false << "Balizor.qch"
        << "";
    QTest::newRow("empty name finds nothing, not the folder itself")
        << QStringList{"usr/bin/balizor"} << "usr/bin" << false << ""
        << "";
}

void TstInstallPaths::lookup() {
    QFETCH(QStringList, files);
    QFETCH(QString, programDir);
    QFETCH(bool, module);
    QFETCH(QString, name);
    QFETCH(QString, expected);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    for (const QString &f : files) {
        const QString path = root.filePath(f);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString dir = root.filePath(programDir);
    QVERIFY(QDir().mkpath(dir));
    const QString found = module ? InstallPaths::findModule(name, dir)
                                 : InstallPaths::find(InstallPaths::Kind::Data, name, dir);
    if (expected.isEmpty())
        QCOMPARE(found, QString());
    else
        QCOMPARE(QFileInfo(found).canonicalFilePath(),
                 QFileInfo(root.filePath(expected)).canonicalFilePath());
}

// The test program sits in the build tree, not beside the real program: the default
// folder is the running program's own, so a file put there is found.
void TstInstallPaths::runningProgramFindsItsBuildFolderFiles() {
    const QString dir = QCoreApplication::applicationDirPath();
    QVERIFY(InstallPaths::searchFolders(InstallPaths::Kind::Data, QString()).constFirst() == dir);
    QCOMPARE(InstallPaths::find(InstallPaths::Kind::Data,
                                QFileInfo(QCoreApplication::applicationFilePath()).fileName()),
             QDir(dir).filePath(QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
}

QTEST_GUILESS_MAIN(TstInstallPaths)
#include "tst_install_paths.moc"
