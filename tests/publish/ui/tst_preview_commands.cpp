#include "app/document_texts.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "app/ui/main_status_bar.h"
#include "platform/temp_folder.h"
#include "publish/ui/live_preview.h"
#include "publish/ui/preview_commands.h"
#include "publish/ui/preview_panel.h"
#include "shell/ui/main_form.h"
#include "test_support.h"
#include "ui/ui_test_support.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace TestSupport;

// Stands in for the desktop's URL handler.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

namespace {
// Stands in for the browser engine: records what it is asked and reports each
// navigation before it happens, as an engine does.
class FakeEngine : public QWidget, public PreviewEngine {
public:
    FakeEngine(QWidget *parent, const Notifications &n) : QWidget(parent), notify(n) {}
    QWidget *widget() override { return this; }
    void navigate(const QUrl &url) override
    {
        navigations << url;
        followLink(url);
    }
    void back() override { ++backs; }
    void forward() override { ++forwards; }
    void refresh() override { ++refreshes; }
    void stop() override {}
    QUrl location() const override { return current; }
    bool busy() const override { return false; }
    QPoint scrollPosition() const override { return {}; }
    void navigateKeepingScroll(const QUrl &url, const QPoint &) override { navigate(url); }
    void runScript(const QString &) override {}
    // A navigation the page starts itself.
    void followLink(const QUrl &url)
    {
        notify.beforeNavigate(url);
        current = url;
    }

    Notifications notify;
    QList<QUrl> navigations;
    QUrl current;
    int backs = 0, forwards = 0, refreshes = 0;
};

// A main window whose engine is a FakeEngine (or missing) and whose outside
// browsers are recorded instead of started.
struct Preview {
    explicit Preview(const std::function<void(SettingsStore &)> &preset = {},
                     bool engineMissing = false, bool realLaunch = false)
        : fx({}, false, preset)
    {
        commands = fx.form->findChild<PreviewCommands *>();
        commands->engineFactory =
            [=, this](QWidget *parent, const PreviewEngine::Notifications &n) -> PreviewEngine * {
            return engineMissing ? nullptr : (engine = new FakeEngine(parent, n));
        };
        if (!realLaunch)
            commands->launch = [this](const BrowserLaunch &l) {
                launches << l;
                return true;
            };
        fx.form->show();
    }
    QAction *action(const char *name) const
    {
        return fx.form->actions()->action(QString::fromLatin1(name));
    }
    TMyMwCustomEdit *active() const { return fx.form->documents()->ActiveEditor(); }
    QString open(const QString &name, const QByteArray &bytes)
    {
        const QString path = fx.writeFile(name, bytes);
        fx.form->documents()->OpenDocument(path, false);
        return path;
    }
    void test() { action("OutilsTester")->trigger(); }
    QComboBox *box() const { return commands->panel()->addressBox(); }
    QList<bool> choice() const
    {
        QList<bool> l;
        for (const char *n : {"Nav1", "Nav2", "Nav3", "Nav4"})
            l << action(n)->isChecked();
        return l;
    }
    QStringList history() const
    {
        QStringList l;
        for (int i = 0; i < box()->count(); ++i)
            l << box()->itemText(i);
        return l;
    }

    MainFormFixture fx;
    PreviewCommands *commands;
    FakeEngine *engine = nullptr;
    QList<BrowserLaunch> launches;
};

QString native(const QString &p)
{
    return QDir::toNativeSeparators(p);
}

QStringList entryNames(const QMenu *m)
{
    QStringList l;
    for (const QAction *a : m->actions())
        l << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return l;
}

void setBrowser(SettingsStore &s, const char *name, const QString &value)
{
    s.writeString(QStringLiteral("Browser"), QString::fromLatin1(name), value);
}

void chooseDefaultBrowser(SettingsStore &s)
{
    setBrowser(s, "Nav1", QStringLiteral("0"));
    setBrowser(s, "Nav2", QStringLiteral("1"));
}
} // namespace

class TstPreviewCommands : public QObject {
    Q_OBJECT
private slots:
    void untitledDocumentTestsThroughTemporaryCopy();
    void copyIsWrittenAsSaveWrites_data();
    void copyIsWrittenAsSaveWrites();
    void copiesGoOnCloseAndSaveAs();
    void unwritableCopyStopsTheCommand();
    void targets_data();
    void targets();
    void userBrowserGetsTheCopyAsItsOneArgument();
    void missingEngineFallsBackToDefaultBrowser();
    void launchesNeverRunADocument_data();
    void launchesNeverRunADocument();
    void userBrowserThatCannotStartIsReported();
    void choiceIsExclusiveAndMirrored();
    void panelIsCreatedOnNeedAndTakesTheLowerHalf();
    void addressBox();
    void engineNotificationsAndAltArrows();
    void reloadRewritesTheCopy();
    void reloadWithoutDocumentDoesNothing();
    void toggleWithoutEngineStaysUnchecked();
    void copyDocumentAddress();
    void livePreviewPausesOnLargePages();
};

void TstPreviewCommands::untitledDocumentTestsThroughTemporaryCopy()
{
    Preview p(chooseDefaultBrowser);
    TMyMwCustomEdit *e = p.active();
    e->setText(QStringLiteral("<p>un</p>\n<p>deux</p>"));
    const QString copy = TemporaryFolder() + QStringLiteral("~$ns Nom (1).html");
    p.test();
    QCOMPARE(p.launches.size(), 1);
    QCOMPARE(p.launches[0].kind, BrowserLaunch::OpenWithDefault);
    QCOMPARE(p.launches[0].program, copy);
    QCOMPARE(readAll(copy), QByteArray("<p>un</p>\r\n<p>deux</p>\r\n"));
    QCOMPARE(p.box()->currentText(), copy);
    // In the user's private folder, for the user's eyes only.
    QVERIFY(!copy.startsWith(QDir::tempPath() + "/~$"));
    QCOMPARE(QFile::permissions(copy) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(QFile::permissions(TemporaryFolder()) & 0x7077,
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Neither saved nor renamed.
    QVERIFY(e->isModified());
    QVERIFY(e->fileName.isEmpty());

    // A second test overwrites the same copy. A character the code page cannot hold
    // makes the copy UTF-8, as a save would after asking; the document is not changed.
    e->setText(QStringLiteral("\u00e9t\u00e9 \u0151"));
    p.test();
    QCOMPARE(p.launches.size(), 2);
    QCOMPARE(p.launches[1].program, copy);
    QCOMPARE(readAll(copy), QByteArray("\xC3\xA9t\xC3\xA9 \xC5\x91\r\n"));
    QCOMPARE(e->encoding, TextEncoding::Windows1252);
    QVERIFY(p.fx.ui.messages.isEmpty());
    p.commands->DeletePreviewCopy(e);
}

void TstPreviewCommands::copyIsWrittenAsSaveWrites_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("LF, Windows-1252") << QByteArray("<p>\xE9t\xE9 \x80</p>\n<p>fin</p>\n");
    QTest::newRow("CR") << QByteArray("un\rdeux\r");
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF<p>\xC3\xA9t\xC3\xA9</p>\r\n");
    QTest::newRow("every byte but CR") << everyByteButCr();
}

void TstPreviewCommands::copyIsWrittenAsSaveWrites()
{
    QFETCH(QByteArray, bytes);
    Preview p(chooseDefaultBrowser);
    p.open(QStringLiteral("page.html"), bytes);
    p.test();
    QCOMPARE(readAll(p.fx.path(QStringLiteral("~$page.html"))), bytes);
}

void TstPreviewCommands::copiesGoOnCloseAndSaveAs()
{
    Preview p(chooseDefaultBrowser);
    DocumentManager *docs = p.fx.form->documents();
    // Untitled, then saved under a name: the temporary copy goes.
    p.active()->setText(QStringLiteral("x"));
    p.test();
    const QString temporary = TemporaryFolder() + QStringLiteral("~$ns Nom (1).html");
    QVERIFY(QFileInfo::exists(temporary));
    p.fx.ui.saveAnswers << p.fx.path(QStringLiteral("index.html"));
    docs->FileSaveAs();
    QVERIFY(!QFileInfo::exists(temporary));

    // Save as under another name removes the copy of the old name.
    p.test();
    const QString first = p.fx.path(QStringLiteral("~$index.html"));
    QVERIFY(QFileInfo::exists(first));
    p.fx.ui.saveAnswers << p.fx.path(QStringLiteral("contact.php"));
    docs->FileSaveAs();
    QVERIFY(!QFileInfo::exists(first));

    // Closing the tab removes the copy.
    p.test();
    const QString second = p.fx.path(QStringLiteral("~$ntact.php"));
    QCOMPARE(p.launches.last().program, second);
    p.action("FileClose")->trigger();
    QVERIFY(!QFileInfo::exists(second));
}

void TstPreviewCommands::unwritableCopyStopsTheCommand()
{
    Preview p; // the internal browser is chosen
    QVERIFY(QDir(p.fx.dir.path()).mkpath(QStringLiteral("sous")));
    p.open(QStringLiteral("sous/page.html"), "<p>a</p>\n");
    QVERIFY(QDir(p.fx.path(QStringLiteral("sous"))).removeRecursively());
    p.box()->setEditText(QStringLiteral("avant"));

    for (const char *command : {"OutilsTester", "NavReload"}) {
        p.fx.ui.messages.clear();
        p.action(command)->trigger();
        QCOMPARE(p.fx.ui.messages.size(), 1);
        QCOMPARE(p.fx.ui.lastMessage(), QStringLiteral("Impossible de créer le fichier ") +
                                            native(p.fx.path(QStringLiteral("sous/~$page.html"))));
        QVERIFY(!p.commands->panelShown());
        QCOMPARE(p.box()->currentText(), QStringLiteral("avant"));
    }
    QVERIFY(p.launches.isEmpty());
    QCOMPARE(p.active()->text(), QStringLiteral("<p>a</p>\n"));
}

// What a test does for a stored choice: start something, say something, or nothing.
void TstPreviewCommands::targets_data()
{
    QTest::addColumn<QStringList>("stored"); // name=value pairs of section Browser
    QTest::addColumn<int>("launched");       // kind of the one launch, or -1
    QTest::addColumn<QString>("message");
    const QString missing =
        QStringLiteral("Le chemin que vous avez spécifié en tant que Navigateur Utilisateur "
                       "n'existe pas.\r\nVous pouvez régler ce problème dans le menu "
                       "\"Outils/Préférences\", onglet \"général/Navigateur utilisé\"");
    QTest::newRow("default browser")
        << QStringList{"Nav1=0", "Nav2=1"} << int(BrowserLaunch::OpenWithDefault) << QString();
    QTest::newRow("user browser without path") << QStringList{"Nav1=0", "Nav3=1"} << -1 << missing;
    QTest::newRow("user browser path to nothing")
        << QStringList{"Nav1=0", "Nav4=1", "CheminNav4=/nulle/part/nav"} << -1 << missing;
    QTest::newRow("user browser path to a folder")
        << QStringList{"Nav1=0", "Nav4=1", "CheminNav4=" + QDir::tempPath()} << -1 << missing;
    QTest::newRow("nothing chosen") << QStringList{"Nav1=0"} << -1 << QString();
}

void TstPreviewCommands::targets()
{
    QFETCH(QStringList, stored);
    QFETCH(int, launched);
    QFETCH(QString, message);
    Preview p([&stored](SettingsStore &s) {
        for (const QString &v : std::as_const(stored))
            setBrowser(s, qPrintable(v.section('=', 0, 0)), v.section('=', 1));
    });
    p.open(QStringLiteral("page.html"), "<p>a</p>\n");
    p.test();
    const QString copy = native(p.fx.path(QStringLiteral("~$page.html")));
    // The copy is written and named in the address box in every case, and stays.
    QVERIFY(QFileInfo::exists(copy));
    QCOMPARE(p.box()->currentText(), copy);
    QCOMPARE(p.launches.size(), launched < 0 ? 0 : 1);
    if (launched >= 0)
        QCOMPARE(int(p.launches[0].kind), launched);
    QCOMPARE(p.fx.ui.lastMessage(), message);
    if (!message.isEmpty())
        QCOMPARE(p.fx.ui.messages[0].type, MsgType::Plain);
    QVERIFY(!p.commands->panelShown());
}

void TstPreviewCommands::userBrowserGetsTheCopyAsItsOneArgument()
{
    QTemporaryDir work;
    QVERIFY(QDir(work.path()).mkpath(QStringLiteral("mon navigateur")));
    const QByteArray record = work.filePath(QStringLiteral("appel.txt")).toUtf8();
    const QString script = work.filePath(QStringLiteral("mon navigateur/nav.sh"));
    // Records its arguments and working folder, then shows the record whole.
    QVERIFY(writeAll(script, "#!/bin/sh\n{ echo \"$#\"; printf '%s\\n' \"$@\"; pwd -P; } > '" +
                                 record + ".part'\nmv '" + record + ".part' '" + record + "'\n"));
    QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);

    Preview p(
        [&script](SettingsStore &s) {
            setBrowser(s, "Nav1", "0");
            setBrowser(s, "Nav3", "1");
            setBrowser(s, "CheminNav3", script);
        },
        false, /*realLaunch=*/true);
    QVERIFY(QDir(p.fx.dir.path()).mkpath(QStringLiteral("mes pages")));
    p.open(QStringLiteral("mes pages/page d'accueil.html"), "<p>a</p>\n");
    p.test();

    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(QString::fromUtf8(record)), 10000);
    const QString copy = native(p.fx.path(QStringLiteral("mes pages/~$ge d'accueil.html")));
    const QString folder = QFileInfo(p.fx.path(QStringLiteral("mes pages"))).canonicalFilePath();
    QCOMPARE(QString::fromUtf8(readAll(QString::fromUtf8(record))),
             QStringLiteral("1\n") + copy + "\n" + folder + "\n");
}

void TstPreviewCommands::launchesNeverRunADocument_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("executable"); // the file named as the program has the bit
    QTest::addColumn<bool>("started");
    QTest::addColumn<bool>("handedToDesktop");
    QTest::addColumn<bool>("ran");
    const int def = BrowserLaunch::OpenWithDefault, user = BrowserLaunch::StartProgram;
    QTest::newRow("default, copy with the execute bit") << def << true << true << true << false;
    QTest::newRow("default, plain copy") << def << false << true << true << false;
    QTest::newRow("user browser, a program") << user << true << true << false << true;
    QTest::newRow("user browser, not a program") << user << false << false << false << false;
}

void TstPreviewCommands::launchesNeverRunADocument()
{
    QFETCH(int, kind);
    QFETCH(bool, executable);
    QFETCH(bool, started);
    QFETCH(bool, handedToDesktop);
    QFETCH(bool, ran);
    UrlRecorder desktop;
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("ran"));
    // A page that is also a shell script, as a copy on a FAT mount can be.
    const QString file = dir.filePath(QStringLiteral("~$page.html"));
    QVERIFY(writeAll(file, "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\nexit 0\n<p>page</p>\n"));
    if (executable)
        QFile::setPermissions(file, QFile::permissions(file) | QFile::ExeOwner);
    BrowserLaunch l;
    l.kind = BrowserLaunch::Kind(kind);
    l.program = file;
    l.workingFolder = dir.path();
    if (kind == BrowserLaunch::StartProgram)
        l.arguments = {dir.filePath(QStringLiteral("~$autre.html"))};
    QCOMPARE(launchBrowser(l), started);
    QCOMPARE(desktop.urls,
             handedToDesktop ? QList<QUrl>{QUrl::fromLocalFile(file)} : QList<QUrl>{});
    if (ran)
        QTRY_VERIFY(QFileInfo::exists(marker));
    QTest::qWait(ran ? 0 : 300);
    QCOMPARE(QFileInfo::exists(marker), ran);
}

void TstPreviewCommands::userBrowserThatCannotStartIsReported()
{
    UrlRecorder desktop;
    QTemporaryDir work;
    const QString notAProgram = work.filePath(QStringLiteral("navigateur.txt"));
    QVERIFY(writeAll(notAProgram, "texte\n"));
    Preview p(
        [&](SettingsStore &s) {
            setBrowser(s, "Nav1", "0");
            setBrowser(s, "Nav3", "1");
            setBrowser(s, "CheminNav3", notAProgram);
        },
        false, /*realLaunch=*/true);
    p.open(QStringLiteral("page.html"), "<p>a</p>\n");
    p.test();
    QCOMPARE(p.fx.ui.messages.size(), 1);
    QCOMPARE(p.fx.ui.lastMessage(), "Impossible de lancer le navigateur \"" + notAProgram +
                                        "\".\r\nVérifiez qu'il s'agit d'un programme exécutable.");
    QVERIFY(desktop.urls.isEmpty());
}

void TstPreviewCommands::missingEngineFallsBackToDefaultBrowser()
{
    Preview p({}, /*engineMissing=*/true);
    QVERIFY(p.action("Nav1")->isVisible());
    p.open(QStringLiteral("page.html"), "<p>a</p>\n");
    p.test();
    QCOMPARE(p.launches.size(), 1);
    QCOMPARE(p.launches[0].kind, BrowserLaunch::OpenWithDefault);
    QCOMPARE(p.launches[0].program, native(p.fx.path(QStringLiteral("~$page.html"))));
    QVERIFY(!p.action("Nav1")->isVisible());
    QVERIFY(!p.action("OutilsBarreNavigateur")->isVisible());
    QCOMPARE(p.choice(), (QList<bool>{false, true, false, false}));
    QCOMPARE(p.fx.options.browser.nav, (std::array<bool, 4>{false, true, false, false}));
    p.commands->ShowPreviewPanel(true);
    QVERIFY(!p.commands->panel()->isVisible());
    QVERIFY(p.fx.ui.messages.isEmpty());
}

void TstPreviewCommands::choiceIsExclusiveAndMirrored()
{
    Preview p([](SettingsStore &s) {
        setBrowser(s, "LibelleNav3", QString());
        setBrowser(s, "LibelleNav4", QStringLiteral("Lynx & co"));
    });
    QCOMPARE(p.choice(), (QList<bool>{true, false, false, false}));
    p.action("Nav3")->trigger();
    p.action("Nav3")->trigger(); // chosen again, it stays chosen
    QCOMPARE(p.choice(), (QList<bool>{false, false, true, false}));
    QCOMPARE(p.fx.options.browser.nav, (std::array<bool, 4>{false, false, true, false}));

    // The Outils submenu and the Test button's drop-down hold the same entries.
    const QMenu *submenu = p.fx.form->findChild<QMenu *>(QStringLiteral("MenuNavigateur"));
    const QMenu *dropDown = nullptr;
    for (const QToolButton *b : p.fx.form->findChildren<QToolButton *>()) {
        if (b->defaultAction() == p.action("OutilsTester"))
            dropDown = b->menu();
    }
    QVERIFY(submenu && dropDown);
    for (const QMenu *m : {submenu, dropDown}) {
        QCOMPARE(entryNames(m), (QStringList{"Nav1", "Nav2", "Nav3", "Nav4", "-", "NavPerso"}));
        for (QAction *a : m->actions())
            QCOMPARE(a->isChecked(), a->objectName() == QLatin1String("Nav3"));
    }
    // Captions of the user browsers: never empty, "&" shown as typed.
    QCOMPARE(p.action("Nav3")->text(), QStringLiteral("Navigateur utilisateur"));
    QCOMPARE(p.action("Nav4")->text(), QStringLiteral("Lynx && co"));
    QCOMPARE(p.action("Nav4")->toolTip(), QStringLiteral("Lynx & co"));
}

void TstPreviewCommands::panelIsCreatedOnNeedAndTakesTheLowerHalf()
{
    Preview p;
    QSplitter *area = p.fx.form->centralSplitter();
    QAction *toggle = p.action("OutilsBarreNavigateur");
    QVERIFY(p.commands->panel()->navigationBar()->actions().contains(toggle));
    for (int round = 0; round < 2; ++round) {
        QVERIFY(round > 0 || !p.engine);
        toggle->trigger();
        QVERIFY(p.engine);
        QVERIFY(p.commands->panel()->isVisible());
        QVERIFY(toggle->isChecked());
        QCOMPARE(area->handleWidth(), 8);
        const PanelSplit s = halvedPanelSplit(area->contentsRect().height());
        QTest::qWait(20); // once the window has laid itself out
        QCOMPARE(area->sizes(), (QList<int>{s.above, s.panel}));
        // A size set by dragging is forgotten when the panel is hidden.
        area->setSizes({s.above + 40, s.panel - 40});
        toggle->trigger();
        QVERIFY(!p.commands->panel()->isVisible());
        QVERIFY(!toggle->isChecked());
    }
}

void TstPreviewCommands::addressBox()
{
    Preview p;
    p.commands->ShowPreviewPanel(true);
    QLineEdit *edit = p.box()->lineEdit();
    auto type = [&](const QString &text) {
        edit->clear();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    };
    const QString a = native(QStringLiteral("/site/a.html"));
    const QString b = native(QStringLiteral("/site/b.html"));
    type(a);
    type(a);
    type(b);
    // Enter opens the address once each time; the list has it once, newest first.
    QCOMPARE(p.engine->navigations.size(), 3);
    QCOMPARE(p.engine->navigations[0], QUrl::fromLocalFile(QStringLiteral("/site/a.html")));
    QCOMPARE(p.history(), (QStringList{b, a}));

    // A followed link shows in the box but stays out of the list.
    p.engine->followLink(QUrl(QStringLiteral("https://example.org/")));
    QCOMPARE(p.box()->currentText(), QStringLiteral("https://example.org/"));
    QCOMPARE(p.history(), (QStringList{b, a}));

    // Choosing an entry of the list opens it.
    p.box()->setCurrentIndex(0);
    QTest::keyClick(p.box(), Qt::Key_Down);
    QCOMPARE(p.engine->navigations.size(), 4);
    QCOMPARE(p.history(), (QStringList{a, b}));

    // The box's context menu.
    const QMenu *menu = p.fx.form->actions()->menu(QStringLiteral("PopupMenuEditNav"));
    QCOMPARE(entryNames(menu),
             (QStringList{"EditCut2", "EditCopy2", "EditPaste2", "-", "SelectAllURL"}));
    p.action("SelectAllURL")->trigger();
    p.fx.form->actions()->runUpdates();
    p.action("EditCut2")->trigger();
    QCOMPARE(edit->text(), QString());
    QCOMPARE(QGuiApplication::clipboard()->text(), a);
    p.fx.form->actions()->runUpdates();
    QVERIFY(!p.action("EditCopy2")->isEnabled());
    p.action("EditPaste2")->trigger();
    QCOMPARE(edit->text(), a);
}

void TstPreviewCommands::engineNotificationsAndAltArrows()
{
    Preview p;
    TMyMwCustomEdit *e = p.active();
    p.commands->ShowPreviewPanel(true);
    for (const char *name : {"NavPrec", "NavSuiv", "NavStop"})
        QVERIFY(!p.action(name)->isEnabled());
    const PreviewEngine::Notifications &n = p.engine->notify;
    n.commandState(PreviewEngine::Back, true);
    n.commandState(PreviewEngine::Stop, true);
    QVERIFY(p.action("NavPrec")->isEnabled());
    QVERIFY(!p.action("NavSuiv")->isEnabled());
    QVERIFY(p.action("NavStop")->isEnabled());

    MainStatusBar *status = p.fx.form->mainStatusBar();
    n.statusText(QStringLiteral("https://example.org/lien"));
    QCOMPARE(status->panel(2), QStringLiteral("https://example.org/lien"));
    n.statusText(QString()); // the editor's mode comes back
    QCOMPARE(status->panel(2), DocTexts::modePanel(false));

    // Alt+Left / Alt+Right click Back / Forward, only when enabled and with Alt alone.
    QTest::keyClick(e, Qt::Key_Left, Qt::AltModifier);
    QTest::keyClick(e, Qt::Key_Right, Qt::AltModifier);
    QTest::keyClick(e, Qt::Key_Left, Qt::AltModifier | Qt::ControlModifier);
    QCOMPARE(p.engine->backs, 1);
    QCOMPARE(p.engine->forwards, 0);
    n.commandState(PreviewEngine::Forward, true);
    QTest::keyClick(p.box()->lineEdit(), Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(p.engine->forwards, 1);
    // Not while the browser is hidden.
    p.commands->ShowPreviewPanel(false);
    QTest::keyClick(e, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(p.engine->backs, 1);
}

void TstPreviewCommands::reloadRewritesTheCopy()
{
    Preview p;
    const QString path = p.open(QStringLiteral("page.html"), "<p>a</p>\n");
    const QString copy = p.fx.path(QStringLiteral("~$page.html"));
    // Nothing shown yet: the copy is written, the panel and its browser stay away.
    p.action("NavReload")->trigger();
    QCOMPARE(readAll(copy), QByteArray("<p>a</p>\n"));
    QVERIFY(!p.commands->panelShown());
    QVERIFY(!p.engine);

    p.test();
    QCOMPARE(p.engine->navigations, QList<QUrl>{QUrl::fromLocalFile(copy)});
    p.active()->setText(QStringLiteral("<p>b</p>\n"));
    // The panel shows another page now: that page is refreshed, nothing navigates.
    p.engine->followLink(QUrl(QStringLiteral("https://example.org/")));
    p.action("NavReload")->trigger();
    QCOMPARE(readAll(copy), QByteArray("<p>b</p>\n"));
    QCOMPARE(p.engine->refreshes, 1);
    QCOMPARE(p.engine->navigations.size(), 1);
    QCOMPARE(readAll(path), QByteArray("<p>a</p>\n"));
}

void TstPreviewCommands::reloadWithoutDocumentDoesNothing()
{
    Preview p;
    p.open(QStringLiteral("page.html"), "<p>a</p>\n");
    p.test();
    QCOMPARE(p.engine->navigations.size(), 1);
    // No document left (the tabs are gone while the panel still shows a page).
    QTabWidget *tabs = p.fx.form->tabs();
    while (tabs->count() > 0)
        delete tabs->widget(0);
    QVERIFY(!p.active());
    p.action("NavReload")->trigger();
    QCOMPARE(p.engine->refreshes, 0);
    QVERIFY(p.fx.ui.messages.isEmpty());
}

void TstPreviewCommands::toggleWithoutEngineStaysUnchecked()
{
    Preview p({}, /*engineMissing=*/true);
    QAction *toggle = p.action("OutilsBarreNavigateur");
    toggle->trigger();
    QVERIFY(!p.commands->panelShown());
    QVERIFY(!toggle->isChecked());
    toggle->trigger(); // asked again: still nothing to show, still unchecked
    QVERIFY(!toggle->isChecked());
}

void TstPreviewCommands::copyDocumentAddress()
{
    Preview p;
    QAction *copy = p.action("OutilsCopierAdresseDoc");
    p.fx.form->actions()->runUpdates();
    QVERIFY(!copy->isEnabled());
    const QString path = p.open(QStringLiteral("page.html"), "<p>a</p>\n");
    p.fx.form->actions()->runUpdates();
    copy->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), native(path));
}

void TstPreviewCommands::livePreviewPausesOnLargePages() {
    Preview p;
    const QString copy = p.fx.path(QStringLiteral("~$page.html"));
    p.open(QStringLiteral("page.html"), "<p>a</p>\n");
    QAction *live = p.action("NavDirect");
    QVERIFY(!live->isChecked());
    // On: the panel shows and follows the page (its copy is written away from the window).
    live->setChecked(true);
    QVERIFY(p.commands->panelShown());
    QTRY_COMPARE(p.engine->navigations.size(), 1);
    QCOMPARE(p.fx.store->readString(QStringLiteral("Browser"), QStringLiteral("ApercuDirect"), {}),
             QStringLiteral("1"));

    // Too large: typing no longer refreshes, and the panel says why.
    QByteArray large(LivePreview::kLargePage, 'x');
    p.active()->replaceAllUtf8("<p>" + large + "</p>\n");
    QTRY_VERIFY(!p.commands->panel()->notice().isEmpty());
    QTest::qWait(LivePreview::kTypingPauseMs + 100);
    QCOMPARE(p.engine->navigations.size(), 1);
    QCOMPARE(readAll(copy), QByteArray("<p>a</p>\n"));
    // By hand (Recharger, Tester) it is refreshed.
    p.action("NavReload")->trigger();
    QCOMPARE(readAll(copy).size(), large.size() + 8);
    QCOMPARE(p.engine->navigations.size(), 2);
    p.test();
    QCOMPARE(p.engine->navigations.size(), 3);
    // Small again: live again.
    p.active()->replaceAllUtf8("<p>b</p>\n");
    QTRY_COMPARE(p.engine->navigations.size(), 4);
    QVERIFY(p.commands->panel()->notice().isEmpty());
    QCOMPARE(readAll(copy), QByteArray("<p>b</p>\n"));
}

QTEST_MAIN(TstPreviewCommands)
#include "tst_preview_commands.moc"
