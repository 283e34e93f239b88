// The built program started twice: the second start hands its files to the first.
#include "app/settings_store.h"
#include "platform/instance_protocol.h"
#include "platform/ui/single_instance.h"
#include "test_support.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <future>
#include <unistd.h>

class TstSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void secondStartHandsFilesToFirst();
    void forwardedArgumentsInOrderAndWhole();
    void newInstanceSwitchOnlyWhenLeading();
    void oneInstanceOffGivesNewWindow();
    void malformedMessagesAreIgnored();
    void socketIsInThePrivateFolder();
    void otherUsersAreNotHeard();
    void twoFirstStartsAtOnce();
    void raceLoserHandsOver_data();
    void raceLoserHandsOver();

private:
    QProcessEnvironment env() const;
    QString serverName() const;
    bool waitForServer(int ms = 15000) const;
    int runSecond(const QStringList &args, int ms = 15000);
    QStringList recentAfterClose(QProcess &first);

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<QProcess *> m_started;
};

QProcessEnvironment TstSingleInstance::env() const
{
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("XDG_CONFIG_HOME", m_dir->filePath("config"));
    e.insert("QT_QPA_PLATFORM", "offscreen");
    e.insert("XDG_RUNTIME_DIR", m_dir->filePath("run"));
    // Nor documents journaled by another run on this machine, offered back in a
    // question that would hold the forwarded files.
    e.insert("XDG_DATA_HOME", m_dir->filePath("data"));
    return e;
}

QString TstSingleInstance::serverName() const
{
    // The same name the program computes for this user and settings file.
    const QString ini = m_dir->filePath("config/Balizor/Balizor.ini");
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    return InstanceProtocol::serverPath(user, ini);
}

void TstSingleInstance::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    // This process and the programs it starts share a runtime folder of their own.
    QDir().mkpath(m_dir->filePath("run"));
    QFile::setPermissions(m_dir->filePath("run"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", m_dir->filePath("run").toUtf8());
    // No splash or tips in the way.
    QDir().mkpath(m_dir->filePath("config/Balizor"));
    QSettings s(m_dir->filePath("config/Balizor/Balizor.ini"), QSettings::IniFormat);
    s.setValue("Options/Splash", "0");
    s.setValue("Options/ShowTips", "0");
}

void TstSingleInstance::cleanup()
{
    for (QProcess *p : m_started) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
        delete p;
    }
    m_started.clear();
}

bool TstSingleInstance::waitForServer(int ms) const
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (instanceRunning(serverName()))
            return true;
        QTest::qWait(50);
    }
    return false;
}

int TstSingleInstance::runSecond(const QStringList &args, int ms)
{
    QProcess p;
    p.setProcessEnvironment(env());
    p.setWorkingDirectory(m_dir->path());
    p.start(BALIZOR_BINARY, args);
    if (!p.waitForFinished(ms)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    return p.exitCode();
}

QStringList TstSingleInstance::recentAfterClose(QProcess &first)
{
    ::kill(pid_t(first.processId()), SIGTERM);
    if (!first.waitForFinished(15000))
        return {"(still running)"};
    QSettings s(m_dir->filePath("config/Balizor/Balizor.ini"), QSettings::IniFormat);
    QStringList recent;
    for (int i = 1; i <= 10; ++i) {
        const QString v = s.value(QStringLiteral("Recent/MRU%1").arg(i)).toString();
        if (!v.isEmpty())
            recent << v;
    }
    return recent;
}

void TstSingleInstance::secondStartHandsFilesToFirst()
{
    const QString a = m_dir->filePath("a.html");
    const QString b = m_dir->filePath("b.html");
    const QString c = m_dir->filePath("c.css");
    for (const QString &f : {a, b, c})
        QVERIFY(TestSupport::writeAll(f, "<p>x</p>\n"));

    auto *first = new QProcess;
    m_started << first;
    first->setProcessEnvironment(env());
    first->start(BALIZOR_BINARY, {a});
    QVERIFY(waitForServer());

    // Relative names are the second start's: they arrive as full paths.
    QCOMPARE(runSecond({"b.html", c}), 0);
    QCOMPARE(first->state(), QProcess::Running);
    // Most recent first: c, b, then the first instance's own file.
    QCOMPARE(recentAfterClose(*first), (QStringList{c, b, a}));
    QCOMPARE(first->exitCode(), 0);
}

void TstSingleInstance::forwardedArgumentsInOrderAndWhole()
{
    // This process plays the first instance; each argument is answered only after a
    // pause, so a sender that did not wait would have its messages pile up.
    InstanceServer server;
    QVERIFY(server.listen(serverName()));
    QStringList got;
    QList<qint64> handledAt;
    QElapsedTimer clock;
    clock.start();
    server.onArgument = [&](const QString &arg) {
        got << arg;
        QTest::qWait(150);
        handledAt << clock.elapsed();
    };
    const QString longName = m_dir->filePath(QString(520, QLatin1Char('n')));
    QProcess second;
    second.setProcessEnvironment(env());
    second.setWorkingDirectory(m_dir->path());
    second.start(BALIZOR_BINARY, {"x.html", "-N", longName});
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 15000);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(got, (QStringList{m_dir->filePath("x.html"), "-N", longName}));
    QVERIFY(got.last().size() > 511);
}

void TstSingleInstance::newInstanceSwitchOnlyWhenLeading()
{
    InstanceServer server;
    QVERIFY(server.listen(serverName()));
    bool contacted = false;
    server.onActivate = [&] { contacted = true; };
    auto *second = new QProcess;
    m_started << second;
    second->setProcessEnvironment(env());
    second->start(BALIZOR_BINARY, {"-N", m_dir->filePath("file.html")});
    // A new window: the program keeps running and never contacts the first.
    QVERIFY(!second->waitForFinished(2500));
    QCoreApplication::processEvents();
    QVERIFY(!contacted);
}

void TstSingleInstance::oneInstanceOffGivesNewWindow()
{
    {
        QSettings s(m_dir->filePath("config/Balizor/Balizor.ini"), QSettings::IniFormat);
        s.setValue("Options/OneInstance", "0");
    }
    InstanceServer server;
    QVERIFY(server.listen(serverName()));
    bool contacted = false;
    server.onActivate = [&] { contacted = true; };
    auto *second = new QProcess;
    m_started << second;
    second->setProcessEnvironment(env());
    second->start(BALIZOR_BINARY, {});
    QVERIFY(!second->waitForFinished(2500));
    QCoreApplication::processEvents();
    QVERIFY(!contacted);
}

void TstSingleInstance::malformedMessagesAreIgnored()
{
    const QString a = m_dir->filePath("a.html");
    QVERIFY(TestSupport::writeAll(a, "x\n"));
    auto *first = new QProcess;
    m_started << first;
    first->setProcessEnvironment(env());
    first->start(BALIZOR_BINARY, {});
    QVERIFY(waitForServer());
    for (const QByteArray &junk : {QByteArray("\xFF\xFF\xFF\xFF garbage"), QByteArray("\0\0", 2),
                                   QByteArray("\0\0\0\x02\xC3\x28", 6)}) {
        QLocalSocket s;
        s.connectToServer(serverName());
        QVERIFY(s.waitForConnected(3000));
        s.write(junk);
        s.waitForBytesWritten(1000);
        s.waitForDisconnected(500);
    }
    // Still alive and still answering properly.
    QCOMPARE(runSecond({a}), 0);
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE(recentAfterClose(*first), QStringList{a});
}

void TstSingleInstance::socketIsInThePrivateFolder()
{
    auto *first = new QProcess;
    m_started << first;
    first->setProcessEnvironment(env());
    first->start(BALIZOR_BINARY, {});
    QVERIFY(waitForServer());
    const QString folder = m_dir->filePath("run/balizor");
    const QStringList inside = QDir(folder).entryList(QDir::System | QDir::Files);
    QCOMPARE(inside.size(), 1);
    QVERIFY(inside.first().startsWith(QLatin1String(InstanceProtocol::kMappingName)));
    QCOMPARE(QFile::permissions(folder) & 0x7077,
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Nothing of ours in the shared temporary folder.
    QVERIFY(QDir::temp()
                .entryList({QLatin1String(InstanceProtocol::kMappingName) + "*"}, QDir::System)
                .filter(QFileInfo(serverName()).fileName())
                .isEmpty());
}

void TstSingleInstance::otherUsersAreNotHeard()
{
    InstanceServer server;
    QVERIFY(server.listen(serverName()));
    // As though this process belonged to someone else.
    server.setAllowedUser(qint64(::geteuid()) + 1);
    QStringList got;
    server.onArgument = [&](const QString &a) { got << a; };
    auto handed = std::async(
        std::launch::async, [name = serverName()] { return handOverArguments(name, {"/x.html"}); });
    QTRY_VERIFY_WITH_TIMEOUT(handed.wait_for(std::chrono::seconds(0)) == std::future_status::ready,
                             10000);
    QVERIFY(!handed.get());
    QVERIFY(got.isEmpty());
}

void TstSingleInstance::twoFirstStartsAtOnce()
{
    const QString a = m_dir->filePath("a.html");
    const QString b = m_dir->filePath("b.html");
    for (const QString &f : {a, b})
        QVERIFY(TestSupport::writeAll(f, "x\n"));
    QProcess *starts[2];
    for (int i = 0; i < 2; ++i) {
        starts[i] = new QProcess;
        m_started << starts[i];
        starts[i]->setProcessEnvironment(env());
    }
    starts[0]->start(BALIZOR_BINARY, {a});
    starts[1]->start(BALIZOR_BINARY, {b});
    // One of them hands its file to the other and ends without an error.
    QTRY_VERIFY_WITH_TIMEOUT(starts[0]->state() == QProcess::NotRunning ||
                                 starts[1]->state() == QProcess::NotRunning,
                             15000);
    QProcess *loser = starts[0]->state() == QProcess::NotRunning ? starts[0] : starts[1];
    QProcess *winner = loser == starts[0] ? starts[1] : starts[0];
    QCOMPARE(loser->exitCode(), 0);
    QCOMPARE(winner->state(), QProcess::Running);
    QStringList recent = recentAfterClose(*winner);
    recent.sort();
    QCOMPARE(recent, (QStringList{a, b}));
}

void TstSingleInstance::raceLoserHandsOver_data()
{
    QTest::addColumn<bool>("mayHandOver");
    QTest::addColumn<int>("role");
    QTest::newRow("one instance") << true << int(StartRole::HandedOver);
    QTest::newRow("new window asked for") << false << int(StartRole::Alone);
}

void TstSingleInstance::raceLoserHandsOver()
{
    QFETCH(bool, mayHandOver);
    QFETCH(int, role);
    // The winner took the name between the loser's look and its own listen.
    InstanceServer winner;
    QVERIFY(winner.listen(serverName()));
    QStringList got;
    winner.onArgument = [&](const QString &a) { got << a; };
    auto loser = std::async(std::launch::async, [name = serverName(), mayHandOver] {
        InstanceServer server;
        return claimOrHandOver(server, name, {"/a.html", "/b.html"}, mayHandOver);
    });
    QTRY_VERIFY_WITH_TIMEOUT(loser.wait_for(std::chrono::seconds(0)) == std::future_status::ready,
                             10000);
    QCOMPARE(int(loser.get()), role);
    QCOMPARE(got, mayHandOver ? (QStringList{"/a.html", "/b.html"}) : QStringList());
}

QTEST_MAIN(TstSingleInstance)
#include "tst_single_instance.moc"
