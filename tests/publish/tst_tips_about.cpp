#include "publish/about_info.h"
#include "publish/tips.h"
#include "test_support.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace TestSupport;

// The tip of the day's order, and what the about box says of the program and the system.
class TstTipsAbout : public QObject {
    Q_OBJECT
private slots:
    void tipTexts();
    void wholeCycle_data();
    void wholeCycle();
    void twoShowings();
    void newRoundNeverRepeatsTheTipOnDisplay();
    void version();
    void memTotal_data();
    void memTotal();
    void memoryText_data();
    void memoryText();
    void thisMachine();
    void windowsLine_data();
    void windowsLine();
};

namespace {
// Steps taken from a list, in turn.
TipCycle::RandomStep steps(QList<int> list) {
    auto at = std::make_shared<int>(0);
    return [list, at](int) { return list.isEmpty() ? 0 : list[(*at)++ % list.size()]; };
}
} // namespace

void TstTipsAbout::tipTexts() {
    const QStringList &t = Tips::texts();
    QCOMPARE(QSet<QString>(t.begin(), t.end()).size(), 11);
    // As written, odd spacing and spelling included.
    QVERIFY(t[0].endsWith(QStringLiteral("Ctrl + flèche haut ou bas")));
    QVERIFY(t[2].contains(QStringLiteral("en pressant les touche \"Maj + Ctrl + 1\"")));
    QVERIFY(t[8].contains(QStringLiteral("entre autres,  de connaître le poid de votre")));
    QVERIFY(t[10].startsWith(QStringLiteral("Utilisez la combinaison de touches Ctrl+² pour")));
}

void TstTipsAbout::wholeCycle_data() {
    QTest::addColumn<QList<int>>("random");
    QTest::newRow("never moves") << QList<int>{0};
    QTest::newRow("always one") << QList<int>{1};
    QTest::newRow("always the last step") << QList<int>{10};
    QTest::newRow("mixed") << QList<int>{3, 7, 0, 10, 5, 2, 9, 4, 1, 8, 6};
    QTest::newRow("same place") << QList<int>{5};
    QTest::newRow("out of range") << QList<int>{-4, 25};
}

// In a fresh run the opening tip and the next nine are the ten tips other than the
// first, each once; the press after them starts a new round of all eleven.
void TstTipsAbout::wholeCycle() {
    QFETCH(QList<int>, random);
    TipCycle cycle(11);
    const auto step = steps(random);
    int shown = 0; // the first tip is on display when the window is made
    QList<int> round;
    for (int press = 0; press < 10; ++press) {
        shown = cycle.next(shown, step);
        round << shown;
    }
    QCOMPARE(QSet<int>(round.begin(), round.end()), (QSet<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    for (int i = 0; i < 11; ++i)
        QVERIFY(cycle.isMarked(i));

    // The press after them: every tip has been seen, the marks are forgotten.
    QList<int> second;
    for (int press = 0; press < 11; ++press) {
        const int before = shown;
        shown = cycle.next(shown, step);
        QVERIFY2(shown != before, "a tip follows itself");
        QVERIFY(shown >= 0 && shown < 11);
        second << shown;
    }
    QCOMPARE(QSet<int>(second.begin(), second.end()).size(), 11);
}

// The marks last for the run: a second showing starts again from the first tip but
// goes on with the tips not yet read, the one it was closed on included.
void TstTipsAbout::twoShowings() {
    TipCycle cycle(11);
    const auto step = steps({4, 0, 9, 2, 0});
    QList<int> read;
    int shown = 0;
    for (int i = 0; i < 4; ++i) // opening and three presses
        read << (shown = cycle.next(shown, step));
    shown = 0; // the window is made again
    for (int i = 0; i < 6; ++i)
        read << (shown = cycle.next(shown, step));
    QCOMPARE(QSet<int>(read.begin(), read.end()), (QSet<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    // A third showing: all read, a new round, which does not open on the first tip.
    const int opening = cycle.next(0, step);
    QVERIFY(opening != 0);
    QVERIFY(cycle.isMarked(opening));
    for (int i = 0; i < 11; ++i)
        QCOMPARE(cycle.isMarked(i), i == opening);
}

void TstTipsAbout::newRoundNeverRepeatsTheTipOnDisplay() {
    // A round read with various steps, then a step of zero at the press that starts
    // the next round: taken literally it would land on the tip on display.
    for (int k = 0; k < 11; ++k) {
        TipCycle cycle(11);
        int shown = 0;
        for (int press = 0; press < 10; ++press)
            shown = cycle.next(shown, steps({k}));
        const int next = cycle.next(shown, steps({0}));
        QCOMPARE(next, (shown + 1) % 11);
        for (int i = 0; i < 11; ++i)
            QCOMPARE(cycle.isMarked(i), i == next);
    }
    // A single tip can only follow itself.
    TipCycle one(1);
    QCOMPARE(one.next(0, steps({0})), 0);
    QCOMPARE(one.next(0, steps({0})), 0);
}

void TstTipsAbout::version() {
    // One source for the version: the project's own.
    const QString cmake =
        QString::fromUtf8(readAll(QStringLiteral(BALIZOR_SOURCE_DIR "/CMakeLists.txt")));
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("project\\(Balizor VERSION ([0-9.]+)")).match(cmake);
    QVERIFY(m.hasMatch());
    QCOMPARE(About::version(), m.captured(1));
    QCOMPARE(About::versionLine(), QStringLiteral("Balizor v") + m.captured(1));
}

void TstTipsAbout::memTotal_data() {
    QTest::addColumn<QByteArray>("meminfo");
    QTest::addColumn<qint64>("kilobytes");
    QTest::newRow("kernel") << QByteArray("MemTotal:  16314560 kB\nMemFree:  1205332 kB\n")
                            << qint64(16314560);
    QTest::newRow("not first") << QByteArray("MemFree: 12 kB\nMemTotal: 2048 kB\n") << qint64(2048);
    QTest::newRow("megabytes") << QByteArray("MemTotal: 3 MB\n") << qint64(3072);
    QTest::newRow("missing") << QByteArray("SwapTotal: 12 kB\n") << qint64(-1);
    QTest::newRow("garbage") << QByteArray("MemTotal: beaucoup kB\n") << qint64(-1);
    QTest::newRow("negative") << QByteArray("MemTotal: -5 kB\n") << qint64(-1);
}

void TstTipsAbout::memTotal() {
    QFETCH(QByteArray, meminfo);
    QFETCH(qint64, kilobytes);
    QCOMPARE(About::memTotalFromMeminfo(meminfo), kilobytes);
}

void TstTipsAbout::memoryText_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<qint64>("kilobytes");
    QTest::addColumn<QString>("text");
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    const QString fr = QLocale(QLocale::French, QLocale::France).groupSeparator();
    QTest::newRow("english") << en << qint64(16314560) << "16,314,560 KB";
    QTest::newRow("german") << QLocale(QLocale::German) << qint64(16314560) << "16.314.560 KB";
    QTest::newRow("french") << QLocale(QLocale::French) << qint64(16314560)
                            << "16" + fr + "314" + fr + "560 KB";
    QTest::newRow("small") << en << qint64(512) << "512 KB";
    // The C locale leaves out its separator unless asked: the memory is grouped anyway.
    QTest::newRow("C") << QLocale::c() << qint64(2097152) << "2,097,152 KB";
}

void TstTipsAbout::memoryText() {
    QFETCH(QLocale, locale);
    QFETCH(qint64, kilobytes);
    QFETCH(QString, text);
    QCOMPARE(About::memoryText(kilobytes, locale), text);
}

void TstTipsAbout::thisMachine() {
    QVERIFY(About::totalPhysicalMemory() > 0);
#ifdef Q_OS_LINUX
    QCOMPARE(About::totalPhysicalMemory(),
             About::memTotalFromMeminfo(readAll(QStringLiteral("/proc/meminfo"))));
#endif
#ifndef Q_OS_WIN
    // Off Windows the memory label names the system that runs, never "Windows".
    QVERIFY(!About::memoryLabel(About::systemName()).contains(QStringLiteral("Windows")));
    QCOMPARE(About::systemLine(), QSysInfo::prettyProductName());
#endif
}

void TstTipsAbout::windowsLine_data() {
    using V = About::WindowsVersion;
    QTest::addColumn<int>("platform");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("build");
    QTest::addColumn<QString>("pack");
    QTest::addColumn<QString>("line");
    QTest::newRow("NT 3.51") << int(V::NT) << 3 << 51 << 1057 << ""
                             << "Windows NT 3.51 (Construction 1057)";
    QTest::newRow("NT 4.0, never 95") << int(V::NT) << 4 << 0 << 1381 << "Service Pack 6"
                                      << "Windows NT 4.0 (Construction 1381 : Service Pack 6)";
    QTest::newRow("95, low bits of the build") << int(V::Windows9x) << 4 << 0 << 0x040003B6 << ""
                                               << "Windows 95 (Construction 950)";
    QTest::newRow("98") << int(V::Windows9x) << 4 << 10 << 0x040A07CE << " A "
                        << "Windows 98 (Construction 1998 :  A )";
    QTest::newRow("2000") << int(V::NT) << 5 << 0 << 2195 << "Service Pack 4"
                          << "Windows 2000 (Construction 2195 : Service Pack 4)";
    QTest::newRow("XP") << int(V::NT) << 5 << 1 << 2600 << ""
                        << "Windows XP ou serveur .NET (Construction 2600)";
    QTest::newRow("2003") << int(V::NT) << 5 << 2 << 3790 << ""
                          << "Windows 2003 (Construction 3790)";
    QTest::newRow("today's") << int(V::NT) << 10 << 0 << 19045 << ""
                             << "Windows (Construction 19045)";
    QTest::newRow("Win32s: the name alone") << int(V::Win32s) << 3 << 10 << 9 << ""
                                            << "Windows NT 3.51";
}

void TstTipsAbout::windowsLine() {
    QFETCH(int, platform);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, build);
    QFETCH(QString, pack);
    QFETCH(QString, line);
    About::WindowsVersion v;
    v.platform = About::WindowsVersion::Platform(platform);
    v.major = major;
    v.minor = minor;
    v.build = build;
    v.servicePack = pack;
    QCOMPARE(About::windowsSystemLine(v), line);
}

QTEST_GUILESS_MAIN(TstTipsAbout)
#include "tst_tips_about.moc"
