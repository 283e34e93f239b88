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
    return e;
}

QString TstSingleInstance::serverName() const
{
    // The same name the program computes for this user and settings file.
    const QString ini = m_dir->filePath("config/Balizor/Balizor.ini");
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    return InstanceProtocol::serverName(user, ini);
}

void TstSingleInstance::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
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

QTEST_MAIN(TstSingleInstance)
#include "tst_single_instance.moc"
