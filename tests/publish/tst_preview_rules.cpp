#include "platform/temp_folder.h"
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
    void copyIsWrittenWholeAndReplaced();
    void copyWriteFailures_data();
    void copyWriteFailures();
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

void TstPreviewRules::copyPath_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("expected");
    QTest::newRow("index.html") << "/site/index.html"
                                << ""
                                << "/site/~$index.html";
    QTest::newRow("page12.htm: dot at 7") << "/site/page12.htm"
                                          << ""
                                          << "/site/~$age12.htm";
    QTest::newRow("contact.php: dot at 8") << "/site/contact.php"
                                           << ""
                                           << "/site/~$ntact.php";
    QTest::newRow("a.htm") << "/site/a.htm"
                           << ""
                           << "/site/~$a.htm";
    QTest::newRow("abcde.html: dot at 6") << "/site/abcde.html"
                                          << ""
                                          << "/site/~$abcde.html";
    QTest::newRow("abcdef.html") << "/site/abcdef.html"
                                 << ""
                                 << "/site/~$bcdef.html";
    QTest::newRow("abcdefg.html") << "/site/abcdefg.html"
                                  << ""
                                  << "/site/~$cdefg.html";
    QTest::newRow("no dot, length 8") << "/site/LISEZMOI"
                                      << ""
                                      << "/site/~$SEZMOI";
    QTest::newRow("no dot, length 6") << "/site/README"
                                      << ""
                                      << "/site/~$README";
    QTest::newRow("dot in the folder only") << "/mon.site/LISEZMOI"
                                            << ""
                                            << "/mon.site/~$SEZMOI";
    QTest::newRow("two dots") << "/s/jquery.min.js"
                              << ""
                              << "/s/~$query.min.js";
    QTest::newRow("untitled") << ""
                              << "Sans Nom (1)"
                              << "/tmp/x/~$ns Nom (1).html";
    QTest::newRow("short caption") << ""
                                   << "ab"
                                   << "/tmp/x/~$ab.html";
}

void TstPreviewRules::copyPath()
{
    QFETCH(QString, fileName);
    QFETCH(QString, caption);
    QFETCH(QString, expected);
    QCOMPARE(PreviewCopyPath(fileName, caption, QStringLiteral("/tmp/x/")), expected);
}

void TstPreviewRules::copyIsWrittenWholeAndReplaced()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("~$index.html"));
    const QByteArray first = everyByteButCr();
    QVERIFY(writePreviewCopy(path, first));
    QCOMPARE(readAll(path), first);
    // A second test of the same document overwrites the same copy, shorter or not.
    QVERIFY(writePreviewCopy(path, QByteArray("<p>deux</p>\r\n")));
    QCOMPARE(readAll(path), QByteArray("<p>deux</p>\r\n"));
    QVERIFY(writePreviewCopy(path, QByteArray()));
    QCOMPARE(QFileInfo(path).size(), 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"~$index.html"});
}

void TstPreviewRules::copyWriteFailures_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("folder gone") << "gone/~$page.html";
    QTest::newRow("a folder holds the name") << "~$dossier.html";
    QTest::newRow("empty name") << "";
}

void TstPreviewRules::copyWriteFailures()
{
    QFETCH(QString, relative);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("~$dossier.html/inside")));
    const QString path = relative.isEmpty() ? QString() : dir.filePath(relative);
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
    QVERIFY(!writePreviewCopy(path, QByteArray("x")));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("~$dossier.html/inside"))).isDir());
}

// Steps: "p:A" the program opens A (box, test), "l:A" a link to A is followed.
void TstPreviewRules::addressHistory_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("history");
    QTest::newRow("newest first") << QStringList{"p:a", "p:b", "p:c"} << QStringList{"c", "b", "a"};
    QTest::newRow("same address twice") << QStringList{"p:a", "p:a"} << QStringList{"a"};
    QTest::newRow("again moves to the top")
        << QStringList{"p:a", "p:b", "p:c", "p:a"} << QStringList{"a", "c", "b"};
    QTest::newRow("links do not enter") << QStringList{"p:a", "l:b", "l:c"} << QStringList{"a"};
    QTest::newRow("a link before any program navigation") << QStringList{"l:b"} << QStringList{};
    QTest::newRow("link then program") << QStringList{"p:a", "l:b", "p:b"} << QStringList{"b", "a"};
}

void TstPreviewRules::addressHistory()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, history);
    PreviewNavigation n;
    for (const QString &s : std::as_const(steps)) {
        if (s.startsWith(QLatin1String("p:")))
            n.programNavigates();
        QCOMPARE(n.beforeNavigate(s.mid(2)), s.startsWith(QLatin1String("p:")));
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
    QTest::newRow("hash and percent in a path")
        << "/tmp/a#b%20c.html" << QUrl::fromLocalFile("/tmp/a#b%20c.html") << "/tmp/a#b%20c.html";
    QTest::newRow("web host") << "www.example.org" << QUrl("http://www.example.org")
                              << "http://www.example.org";
    QTest::newRow("web address") << "https://example.org/a?b=1" << QUrl("https://example.org/a?b=1")
                                 << "https://example.org/a?b=1";
    QTest::newRow("file address") << "file:///tmp/x.html" << QUrl("file:///tmp/x.html")
                                  << "/tmp/x.html";
    QTest::newRow("spaces around")
        << "  /tmp/x.html " << QUrl::fromLocalFile("/tmp/x.html") << "/tmp/x.html";
    QTest::newRow("empty") << "" << QUrl() << "";
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
    QTest::addColumn<int>("above");
    QTest::addColumn<int>("panel");
    QTest::newRow("even") << 500 << 250 << 242;
    QTest::newRow("odd: the extra pixel goes above") << 501 << 251 << 242;
    QTest::newRow("small") << 100 << 50 << 42;
    QTest::newRow("panel at its minimum") << 70 << 34 << 28;
    QTest::newRow("too small for both") << 60 << 32 << 28;
}

void TstPreviewRules::halving()
{
    QFETCH(int, height);
    QFETCH(int, above);
    QFETCH(int, panel);
    const PanelSplit s = halvedPanelSplit(height);
    QCOMPARE(s.above, above);
    QCOMPARE(s.panel, panel);
    if (height >= kPreviewMinAbove + kPreviewMinPanel + kPreviewSplitterHeight)
        QCOMPARE(s.above + kPreviewSplitterHeight + s.panel, height);
}

void TstPreviewRules::targets_data()
{
    QTest::addColumn<QList<bool>>("nav");
    QTest::addColumn<bool>("available");
    QTest::addColumn<int>("target");
    QTest::addColumn<QList<bool>>("kept");
    using B = QList<bool>;
    const int none = int(TestTarget::None), panel = int(TestTarget::Panel),
              def = int(TestTarget::DefaultBrowser), user1 = int(TestTarget::UserBrowser1),
              user2 = int(TestTarget::UserBrowser2);
    QTest::newRow("internal") << B{1, 0, 0, 0} << true << panel << B{1, 0, 0, 0};
    QTest::newRow("internal missing") << B{1, 0, 0, 0} << false << def << B{0, 1, 0, 0};
    QTest::newRow("default") << B{0, 1, 0, 0} << true << def << B{0, 1, 0, 0};
    QTest::newRow("user 1") << B{0, 0, 1, 0} << false << user1 << B{0, 0, 1, 0};
    QTest::newRow("user 2") << B{0, 0, 0, 1} << true << user2 << B{0, 0, 0, 1};
    QTest::newRow("none stored") << B{0, 0, 0, 0} << true << none << B{0, 0, 0, 0};
    QTest::newRow("several stored: the first wins")
        << B{0, 0, 1, 1} << true << user1 << B{0, 0, 1, 1};
    QTest::newRow("several stored, internal missing")
        << B{1, 0, 0, 1} << false << def << B{0, 1, 0, 1};
}

void TstPreviewRules::targets()
{
    QFETCH(QList<bool>, nav);
    QFETCH(bool, available);
    QFETCH(int, target);
    QFETCH(QList<bool>, kept);
    const std::array<bool, 4> n = {nav[0], nav[1], nav[2], nav[3]};
    QCOMPARE(int(chosenTarget(n, available)), target);
    const std::array<bool, 4> k = availableChoice(n, available);
    QCOMPARE((QList<bool>{k[0], k[1], k[2], k[3]}), kept);
}

void TstPreviewRules::launchPlans()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("mon navigateur")));
    const QString browser = dir.filePath(QStringLiteral("mon navigateur/nav"));
    QVERIFY(writeAll(browser, "#!/bin/sh\n"));
    const QString copy = QStringLiteral("/site/mes pages/~$ntact.php");
    const QString folder = QDir::toNativeSeparators(QStringLiteral("/site/mes pages"));

    BrowserSettings b;
    b.cheminNav3 = browser;
    b.nav = {false, false, true, false};
    BrowserLaunch l = planBrowserTest(b, copy, true);
    QCOMPARE(l.kind, BrowserLaunch::StartProgram);
    QCOMPARE(l.program, browser);
    QCOMPARE(l.arguments, QStringList{copy}); // one argument, spaces and all
    QCOMPARE(l.workingFolder, folder);
    QCOMPARE(l.showCommand, 5);

    // Missing user browsers: no path, a path to nothing, a folder.
    b.nav = {false, false, false, true};
    for (const QString &p : {QString(), dir.filePath(QStringLiteral("absent")),
                             dir.filePath(QStringLiteral("mon navigateur"))}) {
        b.cheminNav4 = p;
        QCOMPARE(planBrowserTest(b, copy, true).kind, BrowserLaunch::ProgramMissing);
    }

    // The default browser gets the copy itself, with its own extension.
    b.nav = {false, true, false, false};
    l = planBrowserTest(b, copy, true);
    QCOMPARE(l.kind, BrowserLaunch::OpenWithDefault);
    QCOMPARE(l.program, copy);
    QVERIFY(l.arguments.isEmpty());
    QCOMPARE(l.workingFolder, folder);
    QCOMPARE(l.showCommand, 0);
    // ...also when it stands in for a missing internal browser.
    b.nav = {true, false, false, false};
    QCOMPARE(planBrowserTest(b, copy, false), l);
    QCOMPARE(planBrowserTest(b, copy, true).kind, BrowserLaunch::ShowInPanel);
    b.nav = {};
    QCOMPARE(planBrowserTest(b, copy, true).kind, BrowserLaunch::Nothing);

    QCOMPARE(userBrowserLabel(QString()), QStringLiteral("Navigateur utilisateur"));
    QCOMPARE(userBrowserLabel(QStringLiteral("Mon navigateur")), QStringLiteral("Mon navigateur"));
}

QTEST_GUILESS_MAIN(TstPreviewRules)
#include "tst_preview_rules.moc"
