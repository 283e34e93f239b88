#include "site/publish_plan.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// What a publishing would change: the site against what was sent and what the
// server holds; and the store that remembers what was sent.
class TstPublishPlan : public QObject {
    Q_OBJECT
private slots:
    void plan_data();
    void plan();
    void foldersMadeParentsFirst();
    void stateKeptPrivateAndReadBack();
    void scanReusesHashesOfUnchangedFiles();
};

namespace {
const QDateTime kOld = QDateTime::fromMSecsSinceEpoch(1'000'000'000'000);
const QDateTime kNew = kOld.addDays(1);

LocalFile local(const QString &path, const QByteArray &content) {
    return LocalFile{path, content.size(), content, kOld.toMSecsSinceEpoch()};
}
} // namespace

// One file each time: what the site has ("" none), what was sent ("" never),
// what the server has (-1 none) and the change found ("" none, "adopted").
void TstPublishPlan::plan_data() {
    QTest::addColumn<QByteArray>("site");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<qint64>("serverSize");
    QTest::addColumn<QDateTime>("serverDate");
    QTest::addColumn<QString>("change");
    QTest::newRow("never sent, not on server")
        << QByteArray("abc") << QByteArray() << -1ll << QDateTime() << "Nouveau";
    QTest::newRow("sent, unchanged") << QByteArray("abc") << QByteArray("abc") << 3ll << kOld << "";
    QTest::newRow("changed, same size")
        << QByteArray("abd") << QByteArray("abc") << 3ll << kOld << "Modifié";
    QTest::newRow("changed, other size")
        << QByteArray("abcd") << QByteArray("abc") << 3ll << kOld << "Modifié";
    QTest::newRow("sent, deleted from server")
        << QByteArray("abc") << QByteArray("abc") << -1ll << QDateTime() << "Absent du serveur";
    QTest::newRow("sent, changed on server")
        << QByteArray("abc") << QByteArray("abc") << 7ll << kNew << "Modifié";
    QTest::newRow("never sent, server alike and newer")
        << QByteArray("abc") << QByteArray() << 3ll << kNew << "adopted";
    QTest::newRow("never sent, server alike but older")
        << QByteArray("abc") << QByteArray() << 3ll << kOld.addSecs(-60) << "Modifié";
    QTest::newRow("never sent, server without date")
        << QByteArray("abc") << QByteArray() << 3ll << QDateTime() << "Modifié";
    QTest::newRow("never sent, server other size")
        << QByteArray("abc") << QByteArray() << 9ll << kNew << "Modifié";
    QTest::newRow("gone from the site, on server")
        << QByteArray() << QByteArray("abc") << 3ll << kOld << "Sur le serveur seulement";
}

void TstPublishPlan::plan() {
    QFETCH(QByteArray, site);
    QFETCH(QByteArray, sent);
    QFETCH(qint64, serverSize);
    QFETCH(QDateTime, serverDate);
    QFETCH(QString, change);
    const QString path = QStringLiteral("pages/été.html");
    QList<LocalFile> files;
    if (!site.isEmpty()) files << local(path, site);
    QHash<QString, SentFile> record;
    if (!sent.isEmpty()) record.insert(path, SentFile{sent.size(), sent, kOld.toMSecsSinceEpoch()});
    RemoteTree remote;
    remote.folders.insert(QStringLiteral("pages"));
    if (serverSize >= 0) remote.files.insert(path, RemoteFile{serverSize, serverDate});

    const PublishPlan plan = PublishPlanner::build(files, record, remote);
    QStringList found;
    for (const PublishItem &i : plan.uploads + plan.extras) {
        QCOMPARE(i.path, path);
        found << PublishPlanner::changeText(i.change);
    }
    if (plan.adopted.contains(path)) found << QStringLiteral("adopted");
    QCOMPARE(found.join(QLatin1Char(',')), change);
    QCOMPARE(plan.unchanged + plan.uploads.size() + plan.extras.size(), 1);
    QCOMPARE(plan.bytes, plan.uploads.isEmpty() ? 0 : site.size());
    QVERIFY(plan.folders.isEmpty());
}

void TstPublishPlan::foldersMadeParentsFirst() {
    RemoteTree remote;
    remote.rootExists = false;
    const QList<LocalFile> files = {local("a/b/c/x.html", "1"), local("a/y.html", "2"),
                                    local("z/w.css", "3"), local("index.html", "4")};
    QCOMPARE(PublishPlanner::build(files, {}, remote).folders,
             QStringList({"", "a", "z", "a/b", "a/b/c"}));
    remote.rootExists = true;
    remote.folders = {"a", "a/b"};
    QCOMPARE(PublishPlanner::build(files, {}, remote).folders, QStringList({"z", "a/b/c"}));
}

void TstPublishPlan::stateKeptPrivateAndReadBack() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("données/publication"));
    const QString file = PublishState::fileFor(folder, QStringLiteral("/site"),
                                               QStringLiteral("Mon site"), QStringLiteral("/www"));
    // Another session or remote folder is another record.
    QVERIFY(file != PublishState::fileFor(folder, "/site", "Autre", "/www"));
    QVERIFY(file != PublishState::fileFor(folder, "/site", "Mon site", "/www/test"));
    PublishState state;
    QVERIFY(state.load(file)); // none yet: empty
    QVERIFY(state.files.isEmpty());
    state.files.insert(QStringLiteral("été/a b.html"), SentFile{12, QByteArray(32, '\xfe'), 99});
    QVERIFY(state.save(file));
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QVERIFY(!(QFileInfo(folder).permissions() & others));
    QVERIFY(!(QFileInfo(file).permissions() & others));
    PublishState back;
    QVERIFY(back.load(file));
    QCOMPARE(back.files.size(), 1);
    const SentFile s = back.files.value(QStringLiteral("été/a b.html"));
    QCOMPARE(s.size, 12);
    QCOMPARE(s.hash, QByteArray(32, '\xfe'));
    QCOMPARE(s.modified, 99);
    // A damaged record is reported, not taken as "nothing sent".
    QVERIFY(TestSupport::writeAll(file, "{fichiers"));
    QVERIFY(!back.load(file));
}

void TstPublishPlan::scanReusesHashesOfUnchangedFiles() {
    QTemporaryDir dir;
    QVERIFY(TestSupport::writeAll(dir.filePath("index.html"), "<p>a</p>"));
    QVERIFY(QDir(dir.path()).mkpath("css/.git"));
    QVERIFY(TestSupport::writeAll(dir.filePath("css/site.css"), "p{}"));
    QVERIFY(TestSupport::writeAll(dir.filePath("css/.git/HEAD"), "ref"));
    QVERIFY(TestSupport::writeAll(dir.filePath(".htaccess"), "Options -Indexes"));
    QList<LocalFile> files = PublishScan::scan(dir.path(), {});
    QStringList paths;
    for (const LocalFile &f : files)
        paths << f.path;
    QCOMPARE(paths, QStringList({".htaccess", "css/site.css", "index.html"}));
    QCOMPARE(files.at(2).hash, PublishScan::hashFile(dir.filePath("index.html")));
    // A record whose size and time match is trusted without reading the file.
    QHash<QString, SentFile> known;
    known.insert("index.html", SentFile{files.at(2).size, "recorded", files.at(2).modified});
    known.insert("css/site.css", SentFile{files.at(1).size, "stale", files.at(1).modified - 5});
    files = PublishScan::scan(dir.path(), known);
    QCOMPARE(files.at(2).hash, QByteArray("recorded"));
    QCOMPARE(files.at(1).hash, PublishScan::hashFile(dir.filePath("css/site.css")));
}

QTEST_GUILESS_MAIN(TstPublishPlan)
#include "tst_publish_plan.moc"
