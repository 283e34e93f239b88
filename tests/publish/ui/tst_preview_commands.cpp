#include "app/document_texts.h"
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "app/ui/main_form.h"
#include "app/ui/main_status_bar.h"
#include "platform/temp_folder.h"
#include "publish/ui/preview_commands.h"
#include "publish/ui/preview_panel.h"
#include "test_support.h"
#include "ui/ui_test_support.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace TestSupport;

namespace {
// Stands in for the browser engine: records what it is asked and reports each
// navigation the way an engine does, before it happens.
class FakeEngine : public QWidget, public PreviewEngine {
public:
    FakeEngine(QWidget *parent, const Notifications &n) : QWidget(parent), notify(n)
    {
        setObjectName(QStringLiteral("PreviewBrowser"));
    }
    QWidget *widget() override { return this; }
    void navigate(const QUrl &url) override
    {
        navigations << url;
        followLink(url);
    }
    void back() override { ++backs; }
    void forward() override { ++forwards; }
    void refresh() override { ++refreshes; }
    void stop() override { ++stops; }
    QUrl location() const override { return current; }
    bool busy() const override { return false; }
    // A navigation the page itself starts (a link).
    void followLink(const QUrl &url)
    {
        notify.beforeNavigate(url);
        current = url;
    }

    Notifications notify;
    QList<QUrl> navigations;
    QUrl current;
    int backs = 0, forwards = 0, refreshes = 0, stops = 0;
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
            [this, engineMissing](QWidget *parent,
                                  const PreviewEngine::Notifications &n) -> PreviewEngine * {
            if (engineMissing)
                return nullptr;
            engine = new FakeEngine(parent, n);
            return engine;
        };
        if (!realLaunch)
            commands->launch = [this](const BrowserLaunch &l) { launches << l; };
        fx.form->show();
    }
    QAction *action(const char *name) const
    {
        return fx.form->actions()->action(QString::fromLatin1(name));
    }
    TMyMwCustomEdit *active() const { return fx.form->documents()->ActiveEditor(); }
    QString open(const QString &path)
    {
        fx.form->documents()->OpenDocument(path, false);
        return path;
    }
    QComboBox *box() const { return commands->panel()->addressBox(); }
    void choose(const char *nav) { action(nav)->trigger(); }
    QList<bool> choice() const
    {
        return {action("Nav1")->isChecked(), action("Nav2")->isChecked(),
                action("Nav3")->isChecked(), action("Nav4")->isChecked()};
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
} // namespace

class TstPreviewCommands : public QObject {
    Q_OBJECT
private slots:
    void untitledDocumentTestsThroughTemporaryCopy();
    void copyIsWrittenAsSaveWrites_data();
    void copyIsWrittenAsSaveWrites();
    void characterOutsideCodePageGoesAsUtf8();
    void copiesGoOnCloseAndSaveAs();
    void unwritableCopyStopsTheCommand();
    void userBrowserGetsTheCopyAsItsOneArgument();
    void missingUserBrowser();
    void noTargetChosen();
    void choiceIsExclusiveAndMirrored();
    void userBrowserLabels();
    void missingEngineFallsBackToDefaultBrowser();
    void panelIsCreatedOnNeedAndTakesTheLowerHalf();
    void addressBoxHistory();
    void addressBoxContextMenu();
    void engineNotifications();
    void altArrowsClickBackAndForward();
    void reloadRewritesTheCopy();
    void copyDocumentAddress();
};

void TstPreviewCommands::untitledDocumentTestsThroughTemporaryCopy()
{
    Preview p;
    p.choose("Nav2");
    TMyMwCustomEdit *e = p.active();
    e->setText(QStringLiteral("<p>un</p>\n<p>deux</p>"));
    QVERIFY(e->isModified());
    const QString copy = TemporaryFolder() + QStringLiteral("~$ns Nom (1).html");
    QFile::remove(copy);
    p.action("OutilsTester")->trigger();

    QCOMPARE(p.launches.size(), 1);
    QCOMPARE(p.launches[0].kind, BrowserLaunch::OpenWithDefault);
    QCOMPARE(p.launches[0].program, copy);
    QCOMPARE(readAll(copy), QByteArray("<p>un</p>\r\n<p>deux</p>\r\n"));
    QCOMPARE(p.box()->currentText(), copy);
    // The document is neither saved nor renamed.
    QVERIFY(e->isModified());
    QVERIFY(e->fileName.isEmpty());
    QVERIFY(!p.commands->panelShown());

    // A second test overwrites the same copy.
    e->setText(QStringLiteral("<p>trois</p>"));
    p.action("OutilsTester")->trigger();
    QCOMPARE(p.launches.size(), 2);
    QCOMPARE(p.launches[1].program, copy);
    QCOMPARE(readAll(copy), QByteArray("<p>trois</p>\r\n"));
    p.fx.form->documents()->DeletePreviewCopy(e);
    QVERIFY(!QFileInfo::exists(copy));
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
    Preview p;
    p.choose("Nav2");
    const QString path = p.open(p.fx.writeFile(QStringLiteral("page.html"), bytes));
    p.action("OutilsTester")->trigger();
    const QString copy = p.fx.path(QStringLiteral("~$page.html"));
    QCOMPARE(readAll(copy), bytes);
    QVERIFY(p.fx.ui.messages.isEmpty());
    QCOMPARE(readAll(path), bytes);
}

// A save would ask to switch to UTF-8; the copy takes that form without asking
// and without changing the document.
void TstPreviewCommands::characterOutsideCodePageGoesAsUtf8()
{
    Preview p;
    p.choose("Nav2");
    TMyMwCustomEdit *e = p.active();
    QCOMPARE(e->encoding, TextEncoding::Windows1252);
    e->setText(QStringLiteral("\u00e9t\u00e9 \u0151"));
    p.action("OutilsTester")->trigger();
    QCOMPARE(p.launches.size(), 1);
    QCOMPARE(readAll(p.launches[0].program), QByteArray("\xC3\xA9t\xC3\xA9 \xC5\x91\r\n"));
    QCOMPARE(e->encoding, TextEncoding::Windows1252);
    QVERIFY(p.fx.ui.messages.isEmpty());
    QFile::remove(p.launches[0].program);
}

void TstPreviewCommands::copiesGoOnCloseAndSaveAs()
{
    Preview p;
    p.choose("Nav2");
    // Untitled, then saved under a name: the temporary copy goes.
    p.active()->setText(QStringLiteral("x"));
    p.action("OutilsTester")->trigger();
    const QString temporary = TemporaryFolder() + QStringLiteral("~$ns Nom (1).html");
    QVERIFY(QFileInfo::exists(temporary));
    p.fx.ui.saveAnswers << p.fx.path(QStringLiteral("index.html"));
    p.fx.form->documents()->FileSaveAs();
    QVERIFY(!QFileInfo::exists(temporary));

    // A copy beside the file; Save as under another name removes it.
    p.action("OutilsTester")->trigger();
    const QString first = p.fx.path(QStringLiteral("~$index.html"));
    QVERIFY(QFileInfo::exists(first));
    p.fx.ui.saveAnswers << p.fx.path(QStringLiteral("contact.php"));
    p.fx.form->documents()->FileSaveAs();
    QVERIFY(!QFileInfo::exists(first));

    // Closing the tab removes the copy of the new name.
    p.action("OutilsTester")->trigger();
    const QString second = p.fx.path(QStringLiteral("~$ntact.php"));
    QCOMPARE(p.launches.last().program, second);
    QVERIFY(QFileInfo::exists(second));
    p.action("FileClose")->trigger();
    QVERIFY(!QFileInfo::exists(second));
    QVERIFY(QFileInfo::exists(p.fx.path(QStringLiteral("contact.php"))));
}

void TstPreviewCommands::unwritableCopyStopsTheCommand()
{
    Preview p; // the internal browser is chosen
    QVERIFY(QDir(p.fx.dir.path()).mkpath(QStringLiteral("sous")));
    p.open(p.fx.writeFile(QStringLiteral("sous/page.html"), "<p>a</p>\n"));
    QVERIFY(QDir(p.fx.path(QStringLiteral("sous"))).removeRecursively());
    p.box()->setEditText(QStringLiteral("avant"));

    p.action("OutilsTester")->trigger();
    const QString copy = native(p.fx.path(QStringLiteral("sous/~$page.html")));
    QCOMPARE(p.fx.ui.messages.size(), 1);
    QCOMPARE(p.fx.ui.lastMessage(), QStringLiteral("Impossible de créer le fichier ") + copy);
    QVERIFY(p.launches.isEmpty());
    QVERIFY(!p.commands->panelShown());
    QCOMPARE(p.box()->currentText(), QStringLiteral("avant"));
    QCOMPARE(p.active()->text(), QStringLiteral("<p>a</p>\n"));

    p.action("NavReload")->trigger();
    QCOMPARE(p.fx.ui.messages.size(), 2);
    QVERIFY(!p.commands->panelShown());
}

void TstPreviewCommands::userBrowserGetsTheCopyAsItsOneArgument()
{
    QTemporaryDir work;
    QVERIFY(QDir(work.path()).mkpath(QStringLiteral("mon navigateur")));
    const QString record = work.filePath(QStringLiteral("appel.txt"));
    const QString script = work.filePath(QStringLiteral("mon navigateur/nav.sh"));
    QVERIFY(writeAll(script, "#!/bin/sh\n{ echo \"$#\"; printf '%s\\n' \"$@\"; pwd -P; } > '" +
                                 record.toUtf8() + ".part'\nmv '" + record.toUtf8() + ".part' '" +
                                 record.toUtf8() + "'\n"));
    QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);

    Preview p(
        [&script](SettingsStore &s) {
            s.writeBool(QStringLiteral("Browser"), QStringLiteral("Nav1"), false);
            s.writeBool(QStringLiteral("Browser"), QStringLiteral("Nav3"), true);
            s.writeString(QStringLiteral("Browser"), QStringLiteral("CheminNav3"), script);
        },
        false, /*realLaunch=*/true);
    QCOMPARE(p.choice(), (QList<bool>{false, false, true, false}));
    QVERIFY(QDir(p.fx.dir.path()).mkpath(QStringLiteral("mes pages")));
    p.open(p.fx.writeFile(QStringLiteral("mes pages/page d'accueil.html"), "<p>a</p>\n"));
    p.action("OutilsTester")->trigger();

    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), 10000);
    const QString copy = native(p.fx.path(QStringLiteral("mes pages/~$ge d'accueil.html")));
    const QString folder = QFileInfo(p.fx.path(QStringLiteral("mes pages"))).canonicalFilePath();
    QCOMPARE(QString::fromUtf8(readAll(record)),
             QStringLiteral("1\n") + copy + "\n" + folder + "\n");
    QVERIFY(p.fx.ui.messages.isEmpty());
}

void TstPreviewCommands::missingUserBrowser()
{
    Preview p([](SettingsStore &s) {
        s.writeString(QStringLiteral("Browser"), QStringLiteral("CheminNav4"),
                      QStringLiteral("/nulle/part/navigateur"));
    });
    p.choose("Nav4");
    p.open(p.fx.writeFile(QStringLiteral("page.html"), "<p>a</p>\n"));
    p.action("OutilsTester")->trigger();
    QCOMPARE(p.fx.ui.messages.size(), 1);
    QCOMPARE(p.fx.ui.messages[0].type, MsgType::Plain);
    QCOMPARE(p.fx.ui.messages[0].buttons, MsgButtons::Ok);
    QCOMPARE(p.fx.ui.lastMessage(),
             QStringLiteral("Le chemin que vous avez spécifié en tant que Navigateur Utilisateur "
                            "n'existe pas.\r\nVous pouvez régler ce problème dans le menu "
                            "\"Outils/Préférences\", onglet \"général/Navigateur utilisé\""));
    QVERIFY(p.launches.isEmpty());
    // The copy was written and stays.
    QVERIFY(QFileInfo::exists(p.fx.path(QStringLiteral("~$page.html"))));
}

void TstPreviewCommands::noTargetChosen()
{
    Preview p([](SettingsStore &s) {
        s.writeBool(QStringLiteral("Browser"), QStringLiteral("Nav1"), false);
    });
    QCOMPARE(p.choice(), (QList<bool>{false, false, false, false}));
    p.open(p.fx.writeFile(QStringLiteral("page.html"), "<p>a</p>\n"));
    p.action("OutilsTester")->trigger();
    const QString copy = native(p.fx.path(QStringLiteral("~$page.html")));
    QVERIFY(QFileInfo::exists(copy));
    QCOMPARE(p.box()->currentText(), copy);
    QVERIFY(p.launches.isEmpty());
    QVERIFY(!p.commands->panelShown());
    QVERIFY(!p.engine);
}

void TstPreviewCommands::choiceIsExclusiveAndMirrored()
{
    Preview p;
    QCOMPARE(p.choice(), (QList<bool>{true, false, false, false}));
    p.choose("Nav3");
    QCOMPARE(p.choice(), (QList<bool>{false, false, true, false}));
    p.choose("Nav3"); // choosing it again keeps it chosen
    QCOMPARE(p.choice(), (QList<bool>{false, false, true, false}));
    QCOMPARE(p.fx.options.browser.nav, (std::array<bool, 4>{false, false, true, false}));

    // The Outils submenu and the Test button's drop-down hold the same four entries.
    const QStringList expected{"Nav1", "Nav2", "Nav3", "Nav4"};
    auto names = [](const QMenu *m) {
        QStringList l;
        for (const QAction *a : m->actions())
            l << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return l;
    };
    const QMenu *submenu = p.fx.form->findChild<QMenu *>(QStringLiteral("MenuNavigateur"));
    QVERIFY(submenu);
    QCOMPARE(names(submenu), expected);
    const QMenu *dropDown = nullptr;
    for (const QToolButton *b : p.fx.form->findChildren<QToolButton *>()) {
        if (b->defaultAction() == p.action("OutilsTester"))
            dropDown = b->menu();
    }
    QVERIFY(dropDown);
    QCOMPARE(names(dropDown), expected);
    for (const QMenu *m : {submenu, dropDown}) {
        for (QAction *a : m->actions())
            QCOMPARE(a->isChecked(), a->objectName() == QLatin1String("Nav3"));
    }
    // The editor's context menu offers the test and the address.
    const QMenu *popup = p.fx.form->actions()->menu(QStringLiteral("EditorPopup"));
    QVERIFY(popup->actions().contains(p.action("OutilsTester")));
    QVERIFY(popup->actions().contains(p.action("OutilsCopierAdresseDoc")));
}

void TstPreviewCommands::userBrowserLabels()
{
    Preview p([](SettingsStore &s) {
        s.writeString(QStringLiteral("Browser"), QStringLiteral("LibelleNav3"), QString());
        s.writeString(QStringLiteral("Browser"), QStringLiteral("LibelleNav4"),
                      QStringLiteral("Lynx & co"));
    });
    QCOMPARE(p.action("Nav3")->text(), QStringLiteral("Navigateur utilisateur"));
    QCOMPARE(p.action("Nav3")->toolTip(), QStringLiteral("Navigateur utilisateur"));
    QCOMPARE(p.action("Nav4")->text(), QStringLiteral("Lynx && co"));
    QCOMPARE(p.action("Nav4")->toolTip(), QStringLiteral("Lynx & co"));
    QCOMPARE(p.fx.options.browser.libelleNav3, QStringLiteral("Navigateur utilisateur"));
}

void TstPreviewCommands::missingEngineFallsBackToDefaultBrowser()
{
    Preview p({}, /*engineMissing=*/true);
    QVERIFY(p.action("Nav1")->isVisible());
    p.open(p.fx.writeFile(QStringLiteral("page.html"), "<p>a</p>\n"));
    p.action("OutilsTester")->trigger();

    QCOMPARE(p.launches.size(), 1);
    QCOMPARE(p.launches[0].kind, BrowserLaunch::OpenWithDefault);
    QCOMPARE(p.launches[0].program, native(p.fx.path(QStringLiteral("~$page.html"))));
    QVERIFY(!p.commands->browserAvailable());
    QVERIFY(!p.action("Nav1")->isVisible());
    QVERIFY(!p.action("OutilsBarreNavigateur")->isVisible());
    QCOMPARE(p.choice(), (QList<bool>{false, true, false, false}));
    QCOMPARE(p.fx.options.browser.nav, (std::array<bool, 4>{false, true, false, false}));
    QVERIFY(!p.commands->panelShown());
    p.commands->ShowPreviewPanel(true);
    QVERIFY(!p.commands->panel()->isVisible());
    QVERIFY(p.fx.ui.messages.isEmpty());
}

void TstPreviewCommands::panelIsCreatedOnNeedAndTakesTheLowerHalf()
{
    Preview p;
    QSplitter *area = p.fx.form->centralSplitter();
    QVERIFY(!p.engine);
    QVERIFY(!p.commands->panel()->isVisible());

    QAction *toggle = p.action("OutilsBarreNavigateur");
    QCOMPARE(toggle->shortcut(), QKeySequence(Qt::Key_F9));
    QVERIFY(p.commands->panel()->navigationBar()->actions().contains(toggle));
    for (int round = 0; round < 2; ++round) {
        toggle->trigger();
        QVERIFY(p.engine);
        QVERIFY(p.commands->panel()->isVisible());
        QVERIFY(toggle->isChecked());
        QCOMPARE(area->handleWidth(), 8);
        const PanelSplit s = halvedPanelSplit(area->contentsRect().height());
        QCOMPARE(area->sizes(), (QList<int>{s.above, s.panel}));
        QTest::qWait(20); // and it stays so once the window has laid itself out
        QCOMPARE(area->sizes(), (QList<int>{s.above, s.panel}));
        // A size set by dragging is forgotten when the panel is hidden.
        area->setSizes({s.above + 40, s.panel - 40});
        toggle->trigger();
        QVERIFY(!p.commands->panel()->isVisible());
        QVERIFY(!toggle->isChecked());
    }
}

void TstPreviewCommands::addressBoxHistory()
{
    Preview p;
    p.commands->ShowPreviewPanel(true);
    QLineEdit *edit = p.box()->lineEdit();
    auto type = [&](const QString &text) {
        edit->clear();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    };
    const QString a = native(QStringLiteral("/site/a.html")),
                  b = native(QStringLiteral("/site/b.html"));
    type(a);
    QCOMPARE(p.engine->navigations,
             QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/site/a.html"))});
    type(a);
    QCOMPARE(p.engine->navigations.size(), 2);
    QCOMPARE(p.history(), QStringList{a});
    type(b);
    QCOMPARE(p.history(), (QStringList{b, a}));
    QCOMPARE(p.box()->currentText(), b);

    // A followed link shows in the box but stays out of the list.
    p.engine->followLink(QUrl(QStringLiteral("https://example.org/")));
    QCOMPARE(p.box()->currentText(), QStringLiteral("https://example.org/"));
    QCOMPARE(p.history(), (QStringList{b, a}));

    // Choosing an entry of the list opens it.
    p.box()->setCurrentIndex(0);
    QTest::keyClick(p.box(), Qt::Key_Down);
    QCOMPARE(p.engine->navigations.size(), 4);
    QCOMPARE(p.engine->navigations.last(), QUrl::fromLocalFile(QStringLiteral("/site/a.html")));
    QCOMPARE(p.history(), (QStringList{a, b}));

    // A test goes into the list as well.
    p.open(p.fx.writeFile(QStringLiteral("page.html"), "<p>a</p>\n"));
    p.action("OutilsTester")->trigger();
    const QString copy = native(p.fx.path(QStringLiteral("~$page.html")));
    QCOMPARE(p.history(), (QStringList{copy, a, b}));
    QCOMPARE(p.box()->currentText(), copy);
}

void TstPreviewCommands::addressBoxContextMenu()
{
    Preview p;
    p.commands->ShowPreviewPanel(true);
    const QMenu *menu = p.fx.form->actions()->menu(QStringLiteral("PopupMenuEditNav"));
    QVERIFY(menu);
    QStringList names;
    for (const QAction *a : menu->actions())
        names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    QCOMPARE(names, (QStringList{"EditCut2", "EditCopy2", "EditPaste2", "-", "SelectAllURL"}));

    QLineEdit *edit = p.box()->lineEdit();
    edit->setText(QStringLiteral("https://example.org/page"));
    edit->deselect();
    QGuiApplication::clipboard()->clear();
    p.fx.form->actions()->runUpdates();
    QVERIFY(!p.action("EditCut2")->isEnabled());
    QVERIFY(!p.action("EditCopy2")->isEnabled());
    QVERIFY(!p.action("EditPaste2")->isEnabled());

    p.action("SelectAllURL")->trigger();
    QCOMPARE(edit->selectedText(), edit->text());
    p.fx.form->actions()->runUpdates();
    QVERIFY(p.action("EditCopy2")->isEnabled());
    p.action("EditCut2")->trigger();
    QCOMPARE(edit->text(), QString());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("https://example.org/page"));
    p.fx.form->actions()->runUpdates();
    QVERIFY(p.action("EditPaste2")->isEnabled());
    p.action("EditPaste2")->trigger();
    p.action("EditPaste2")->trigger();
    QCOMPARE(edit->text(), QStringLiteral("https://example.org/pagehttps://example.org/page"));
    edit->setSelection(0, 8);
    p.fx.form->actions()->runUpdates();
    p.action("EditCopy2")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("https://"));
}

void TstPreviewCommands::engineNotifications()
{
    Preview p;
    p.commands->ShowPreviewPanel(true);
    for (const char *name : {"NavPrec", "NavSuiv", "NavStop"})
        QVERIFY(!p.action(name)->isEnabled());
    const PreviewEngine::Notifications &n = p.engine->notify;
    n.commandState(PreviewEngine::Back, true);
    n.commandState(PreviewEngine::Stop, true);
    QVERIFY(p.action("NavPrec")->isEnabled());
    QVERIFY(!p.action("NavSuiv")->isEnabled());
    QVERIFY(p.action("NavStop")->isEnabled());
    n.commandState(PreviewEngine::Forward, true);
    n.commandState(PreviewEngine::Back, false);
    QVERIFY(!p.action("NavPrec")->isEnabled());
    QVERIFY(p.action("NavSuiv")->isEnabled());
    p.action("NavStop")->trigger();
    QCOMPARE(p.engine->stops, 1);

    MainStatusBar *status = p.fx.form->mainStatusBar();
    n.statusText(QStringLiteral("https://example.org/lien"));
    QCOMPARE(status->panel(2), QStringLiteral("https://example.org/lien"));
    n.statusText(QString());
    QCOMPARE(status->panel(2), DocTexts::modePanel(false));
}

void TstPreviewCommands::altArrowsClickBackAndForward()
{
    Preview p;
    TMyMwCustomEdit *e = p.active();
    p.commands->ShowPreviewPanel(true);
    p.engine->notify.commandState(PreviewEngine::Back, true);
    e->setFocus();
    QTest::keyClick(e, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(p.engine->backs, 1);
    // Forward is disabled: the key is not taken.
    QTest::keyClick(e, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(p.engine->forwards, 0);
    // Only Alt alone.
    QTest::keyClick(e, Qt::Key_Left, Qt::AltModifier | Qt::ControlModifier);
    QCOMPARE(p.engine->backs, 1);
    p.engine->notify.commandState(PreviewEngine::Forward, true);
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
    const QString path = p.open(p.fx.writeFile(QStringLiteral("page.html"), "<p>a</p>\n"));
    const QString copy = p.fx.path(QStringLiteral("~$page.html"));
    // Before anything was shown: the copy is written, the panel stays hidden.
    QCOMPARE(p.action("NavReload")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    p.action("NavReload")->trigger();
    QCOMPARE(readAll(copy), QByteArray("<p>a</p>\n"));
    QVERIFY(!p.commands->panelShown());
    QVERIFY(!p.engine);

    p.action("OutilsTester")->trigger();
    QVERIFY(p.commands->panelShown());
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

void TstPreviewCommands::copyDocumentAddress()
{
    Preview p;
    QAction *copy = p.action("OutilsCopierAdresseDoc");
    p.fx.form->actions()->runUpdates();
    QVERIFY(!copy->isEnabled());
    const QString path = p.open(p.fx.writeFile(QStringLiteral("page.html"), "<p>a</p>\n"));
    p.fx.form->actions()->runUpdates();
    QVERIFY(copy->isEnabled());
    copy->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), native(path));
}

QTEST_MAIN(TstPreviewCommands)
#include "tst_preview_commands.moc"
