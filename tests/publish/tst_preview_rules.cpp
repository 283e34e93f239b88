#include "publish/browser_targets.h"
#include "publish/preview_copy.h"
#include "publish/preview_rules.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace TestSupport;

// The rules of the preview panel and of browser tests that need no widget.
class TstPreviewRules : public QObject {
    Q_OBJECT
private slots:
    void copyPath_data();
    void copyPath();
    void copyNeverAnOpenDocument_data();
    void copyNeverAnOpenDocument();
    void copyWriting();
    void addressHistory_data();
    void addressHistory();
    void addressForms_data();
    void addressForms();
    void halving_data();
    void halving();
    void targets_data();
    void targets();
    void launchPlans();
};

// A source without a folder is the tab caption of an untitled document.
void TstPreviewRules::copyPath_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("copy");
    QTest::newRow("index.html") << "/site/index.html"
                                << "/site/~$index.html";
    QTest::newRow("dot at 7") << "/site/page12.htm"
                              << "/site/~$age12.htm";
    QTest::newRow("dot at 8") << "/site/contact.php"
                              << "/site/~$ntact.php";
    QTest::newRow("a.htm") << "/site/a.htm"
                           << "/site/~$a.htm";
    QTest::newRow("dot at 6") << "/site/abcde.html"
                              << "/site/~$abcde.html";
    QTest::newRow("abcdef.html") << "/site/abcdef.html"
                                 << "/site/~$bcdef.html";
    QTest::newRow("abcdefg.html") << "/site/abcdefg.html"
                                  << "/site/~$cdefg.html";
    QTest::newRow("no dot, length 8") << "/site/LISEZMOI"
                                      << "/site/~$SEZMOI";
    QTest::newRow("no dot, length 6") << "/site/README"
                                      << "/site/~$README";
    QTest::newRow("dot in the folder") << "/mon.site/LISEZMOI"
                                       << "/mon.site/~$SEZMOI";
    QTest::newRow("untitled") << "Sans Nom (1)"
                              << "/tmp/x/~$ns Nom (1).html";
    QTest::newRow("short caption") << "ab"
                                   << "/tmp/x/~$ab.html";
}

void TstPreviewRules::copyPath()
{
    QFETCH(QString, source);
    QFETCH(QString, copy);
    const bool untitled = !source.contains(QLatin1Char('/'));
    QCOMPARE(PreviewCopyPath(untitled ? QString() : source, untitled ? source : QString(),
                             QStringLiteral("/tmp/x/")),
             copy);
}

void TstPreviewRules::copyNeverAnOpenDocument_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("taken");
    QTest::addColumn<QString>("copy");
    QTest::newRow("free") << "/site/index.html" << QStringList{"/site/a.html"}
                          << "/site/~$index.html";
    QTest::newRow("a leftover copy opened")
        << "/site/~$index.html" << QStringList{"/site/~$index.html"} << "/site/~$~index.html";
    QTest::newRow("twice taken") << "/site/~$index.html"
                                 << QStringList{"/site/~$index.html", "/site/~$~index.html"}
                                 << "/site/~$~~index.html";
    QTest::newRow("another document is the copy")
        << "/site/index.html" << QStringList{"/site/~$index.html"} << "/site/~$~index.html";
    QTest::newRow("same path spelt otherwise")
        << "/site/index.html" << QStringList{"/site/./x/../~$index.html"} << "/site/~$~index.html";
    QTest::newRow("untitled") << "Sans Nom (1)" << QStringList{"/tmp/x/~$ns Nom (1).html"}
                              << "/tmp/x/~$~ns Nom (1).html";
}

void TstPreviewRules::copyNeverAnOpenDocument()
{
    QFETCH(QString, source);
    QFETCH(QStringList, taken);
    QFETCH(QString, copy);
    const bool untitled = !source.contains(QLatin1Char('/'));
    const auto isTaken = [&taken](const QString &p) {
        return std::any_of(taken.begin(), taken.end(),
                           [&p](const QString &t) { return sameFilePath(t, p); });
    };
    QCOMPARE(PreviewCopyPath(untitled ? QString() : source, untitled ? source : QString(),
                             QStringLiteral("/tmp/x/"), isTaken),
             copy);
}

void TstPreviewRules::copyWriting()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("~$index.html"));
    QVERIFY(writePreviewCopy(path, everyByteButCr()));
    QCOMPARE(readAll(path), everyByteButCr());
    // A second test overwrites the same copy, shorter or not.
    QVERIFY(writePreviewCopy(path, QByteArray("<p>deux</p>\r\n")));
    QCOMPARE(readAll(path), QByteArray("<p>deux</p>\r\n"));

    // Failures change nothing: a folder that is gone, a folder holding the name.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("~$dossier.html/dedans")));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
    QVERIFY(!writePreviewCopy(dir.filePath(QStringLiteral("parti/~$page.html")), "x"));
    QVERIFY(!writePreviewCopy(dir.filePath(QStringLiteral("~$dossier.html")), "x"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("~$dossier.html/dedans"))).isDir());
}

// Steps: "p:A" the program opens A (address box, test), "l:A" a link to A is followed.
void TstPreviewRules::addressHistory_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("history");
    QTest::newRow("newest first") << QStringList{"p:a", "p:b", "p:c"} << QStringList{"c", "b", "a"};
    QTest::newRow("same address twice") << QStringList{"p:a", "p:a"} << QStringList{"a"};
    QTest::newRow("again: to the top") << QStringList{"p:a", "p:b", "p:a"} << QStringList{"a", "b"};
    QTest::newRow("links stay out") << QStringList{"p:a", "l:b", "l:c"} << QStringList{"a"};
    QTest::newRow("link first") << QStringList{"l:b", "p:a", "l:b"} << QStringList{"a"};
}

void TstPreviewRules::addressHistory()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, history);
    PreviewNavigation n;
    for (const QString &s : std::as_const(steps)) {
        const bool program = s.startsWith(QLatin1String("p:"));
        if (program)
            n.programNavigates();
        // The flag is consumed by the very next navigation, whoever started it.
        QCOMPARE(n.beforeNavigate(s.mid(2)), program);
        QVERIFY(!n.programNavigationPending());
    }
    QCOMPARE(n.history(), history);
}

void TstPreviewRules::addressForms_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QUrl>("url");
    QTest::addColumn<QString>("shown");
    QTest::newRow("copy path") << "/tmp/mes pages/~$index.html"
                               << QUrl::fromLocalFile("/tmp/mes pages/~$index.html")
                               << "/tmp/mes pages/~$index.html";
    QTest::newRow("# and % in a path")
        << " /tmp/a#b%20c.html " << QUrl::fromLocalFile("/tmp/a#b%20c.html") << "/tmp/a#b%20c.html";
    QTest::newRow("web host") << "www.example.org" << QUrl("http://www.example.org")
                              << "http://www.example.org";
    QTest::newRow("file address") << "file:///tmp/x.html" << QUrl("file:///tmp/x.html")
                                  << "/tmp/x.html";
}

void TstPreviewRules::addressForms()
{
    QFETCH(QString, typed);
    QFETCH(QUrl, url);
    QFETCH(QString, shown);
    QCOMPARE(addressUrl(typed), url);
    QCOMPARE(addressText(url), url.isLocalFile() ? QDir::toNativeSeparators(shown) : shown);
}

void TstPreviewRules::halving_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<PanelSplit>("split");
    QTest::newRow("even") << 500 << PanelSplit{250, 242};
    QTest::newRow("odd: the pixel goes above") << 501 << PanelSplit{251, 242};
    QTest::newRow("panel at its minimum") << 70 << PanelSplit{34, 28};
    QTest::newRow("too small for both") << 60 << PanelSplit{32, 28};
}

void TstPreviewRules::halving()
{
    QFETCH(int, height);
    QFETCH(PanelSplit, split);
    QCOMPARE(halvedPanelSplit(height), split);
}

void TstPreviewRules::targets_data()
{
    QTest::addColumn<QList<bool>>("nav");
    QTest::addColumn<bool>("available");
    QTest::addColumn<TestTarget>("target");
    QTest::addColumn<QList<bool>>("kept");
    using B = QList<bool>;
    QTest::newRow("internal") << B{1, 0, 0, 0} << true << TestTarget::Panel << B{1, 0, 0, 0};
    QTest::newRow("internal missing")
        << B{1, 0, 0, 0} << false << TestTarget::DefaultBrowser << B{0, 1, 0, 0};
    QTest::newRow("user 2") << B{0, 0, 0, 1} << true << TestTarget::UserBrowser2 << B{0, 0, 0, 1};
    QTest::newRow("none stored") << B{0, 0, 0, 0} << true << TestTarget::None << B{0, 0, 0, 0};
    QTest::newRow("several stored")
        << B{0, 0, 1, 1} << true << TestTarget::UserBrowser1 << B{0, 0, 1, 1};
    QTest::newRow("several, internal missing")
        << B{1, 0, 0, 1} << false << TestTarget::DefaultBrowser << B{0, 1, 0, 1};
}

void TstPreviewRules::targets()
{
    QFETCH(QList<bool>, nav);
    QFETCH(bool, available);
    QFETCH(TestTarget, target);
    QFETCH(QList<bool>, kept);
    const std::array<bool, 4> n = {nav[0], nav[1], nav[2], nav[3]};
    QCOMPARE(chosenTarget(n, available), target);
    const std::array<bool, 4> k = availableChoice(n, available);
    QCOMPARE((QList<bool>{k[0], k[1], k[2], k[3]}), kept);
}

// What the system is asked: a user browser gets the copy's path as its one argument,
// spaces and all; the default handler gets the copy itself, whose extension picks
// the program; both start in the copy's folder.
void TstPreviewRules::launchPlans()
{
    QTemporaryDir dir;
    const QString browser = dir.filePath(QStringLiteral("mon navigateur"));
    QVERIFY(writeAll(browser, "#!/bin/sh\n"));
    const QString copy = QStringLiteral("/site/mes pages/~$ntact.php");
    const QString folder = QDir::toNativeSeparators(QStringLiteral("/site/mes pages"));
    BrowserSettings b;
    b.cheminNav4 = browser;
    b.nav = {false, false, false, true};
    const BrowserLaunch user{BrowserLaunch::StartProgram, browser, {copy}, folder, 5};
    QCOMPARE(planBrowserTest(b, copy, true), user);
    b.nav = {false, true, false, false};
    const BrowserLaunch def{BrowserLaunch::OpenWithDefault, copy, {}, folder, 0};
    QCOMPARE(planBrowserTest(b, copy, true), def);
    b.nav = {true, false, false, false};
    QCOMPARE(planBrowserTest(b, copy, false), def);
    b.cheminNav4.clear();
    b.nav = {false, false, false, true};
    QCOMPARE(planBrowserTest(b, copy, true).kind, BrowserLaunch::ProgramMissing);
}

QTEST_GUILESS_MAIN(TstPreviewRules)
#include "tst_preview_rules.moc"
