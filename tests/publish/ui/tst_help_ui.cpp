#include "app/app_settings.h"
#include "app/settings_store.h"
#include "app/ui/action_registry.h"
#include "app/ui/main_form.h"
#include "app/ui/splash_window.h"
#include "publish/about_info.h"
#include "publish/help_book.h"
#include "publish/tips.h"
#include "publish/ui/about_box.h"
#include "publish/ui/help.h"
#include "publish/ui/help_commands.h"
#include "publish/ui/tips_box.h"
#include "test_support.h"
#include "ui/ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTest>
#include <QTextBrowser>
#include <QTreeView>

using namespace TestSupport;

// The help window, the tips of the day and the about box, in a real main window.
class TstHelpUi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void helpEngineWaitsUntilAskedFor();
    void showTopic_data();
    void showTopic();
    void linksAndHistory();
    void contentsAndSearch();
    void cacheIsPrivate();
    void missingBook();
    void helpFromAModalDialog();
    void programPages_data();
    void programPages();

    void tipsAtFirstIdle_data();
    void tipsAtFirstIdle();
    void tipsWindow();
    void showTipsRoundTrip();

    void aboutBox();
    void aboutLogo();

private:
    HelpCommands *commands() const { return m_f->form->findChild<HelpCommands *>(); }
    QMainWindow *help() const { return commands()->helpWindow(); }
    QString shownTopic() const { return help()->property("currentTopic").toString(); }
    QTextBrowser *browser() const {
        return help()->findChild<QTextBrowser *>(QStringLiteral("HelpBrowser"));
    }
    QListWidget *results() const {
        return help()->findChild<QListWidget *>(QStringLiteral("HelpSearchResults"));
    }
    void search(const QString &words) {
        help()->findChild<QLineEdit *>(QStringLiteral("HelpSearchBox"))->setText(words);
        help()->findChild<QPushButton *>(QStringLiteral("HelpSearchButton"))->click();
    }
    int helpWindows() const {
        int n = 0;
        for (QMainWindow *w : m_f->form->findChildren<QMainWindow *>())
            n += w->objectName() == QLatin1String("HelpWindow");
        return n;
    }
    void trigger(const char *action) {
        m_f->form->actions()->action(QLatin1String(action))->trigger();
    }
    std::unique_ptr<MainFormFixture> m_f;
};

void TstHelpUi::initTestCase() {
    // The engine's collection and index go to a test folder, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY2(QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/Balizor.qch")),
             "the help book is built beside the program");
}

void TstHelpUi::init() {
    m_f = std::make_unique<MainFormFixture>();
}

void TstHelpUi::cleanup() {
    m_f.reset();
    setHelpHandler({});
}

static bool helpLibraryLoaded() {
    return readAll(QStringLiteral("/proc/self/maps")).contains("libQt6Help");
}

void TstHelpUi::helpEngineWaitsUntilAskedFor() {
    QVERIFY(commands());
    QVERIFY(!help());
#ifdef Q_OS_LINUX
    // A started program has not even loaded the help libraries.
    QVERIFY(!helpLibraryLoaded());
#endif
    QCOMPARE(m_f->form->actions()->action("AideAide")->shortcut(), QKeySequence(Qt::Key_F1));
    trigger("AideAide");
    QVERIFY(help());
#ifdef Q_OS_LINUX
    QVERIFY(helpLibraryLoaded());
#endif
    QVERIFY(help()->isVisible());
    QCOMPARE(shownTopic(), HelpBook::defaultTopic());
    QVERIFY(m_f->ui.messages.isEmpty());
}

void TstHelpUi::showTopic_data() {
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("list") << "Ressources/liste.htm"
                          << "Ressources/liste.htm"
                          << "Listes"
                          << "Nombre d'éléments";
    QTest::newRow("rule") << "Ressources/ligne_horizontale.htm"
                          << "Ressources/ligne_horizontale.htm"
                          << "Ligne horizontale"
                          << "effet 3D";
    QTest::newRow("none") << ""
                          << "Ressources/introduction.htm"
                          << "Bienvenue dans Balizor"
                          << "La fenêtre principale";
    QTest::newRow("unknown") << "Ressources/nulle_part.htm"
                             << "Ressources/nulle_part.htm"
                             << "Page introuvable"
                             << "ne contient pas la page « Ressources/nulle_part.htm »";
    QTest::newRow("outside the folder") << "autre.htm"
                                        << "autre.htm"
                                        << "Page introuvable"
                                        << "autre.htm";
}

void TstHelpUi::showTopic() {
    QFETCH(QString, topic);
    QFETCH(QString, shown);
    QFETCH(QString, title);
    QFETCH(QString, text);
    ShowHelpTopic(topic);
    QVERIFY(help());
    QVERIFY(help()->isVisible());
    QCOMPARE(shownTopic(), shown);
    QCOMPARE(browser()->documentTitle(), title);
    QCOMPARE(help()->windowTitle(), QStringLiteral("Aide de Balizor - ") + title);
    const QString page = browser()->toPlainText().replace(QChar(0xA0), QLatin1Char(' '));
    QVERIFY2(page.contains(text), qPrintable(page.left(300)));
    QVERIFY(m_f->ui.messages.isEmpty());
    // One window, whatever the number of requests.
    ShowHelpTopic(QStringLiteral("Ressources/liste.htm"));
    QCOMPARE(helpWindows(), 1);
}

void TstHelpUi::linksAndHistory() {
    ShowHelpTopic();
    QTextBrowser *b = browser();
    emit b->anchorClicked(QUrl(QStringLiteral("liste.htm")));
    QCOMPARE(shownTopic(), QStringLiteral("Ressources/liste.htm"));
    // The page's pictures come out of the book.
    const QVariant picture =
        b->loadResource(QTextDocument::ImageResource,
                        HelpBook::topicUrl(QStringLiteral("Ressources/images/liste.png")));
    QVERIFY(QImage::fromData(picture.toByteArray()).width() > 100);
    emit b->anchorClicked(QUrl(QStringLiteral("ligne_horizontale.htm")));
    QCOMPARE(shownTopic(), QStringLiteral("Ressources/ligne_horizontale.htm"));
    QAction *back = help()->findChild<QAction *>(QStringLiteral("HelpBack"));
    QAction *forward = help()->findChild<QAction *>(QStringLiteral("HelpForward"));
    QVERIFY(back->isEnabled());
    back->trigger();
    back->trigger();
    QCOMPARE(shownTopic(), HelpBook::defaultTopic());
    QVERIFY(!back->isEnabled());
    forward->trigger();
    QCOMPARE(shownTopic(), QStringLiteral("Ressources/liste.htm"));
    help()->findChild<QAction *>(QStringLiteral("HelpHome"))->trigger();
    QCOMPARE(shownTopic(), HelpBook::defaultTopic());
}

void TstHelpUi::contentsAndSearch() {
    ShowHelpTopic(QStringLiteral("Ressources/liste.htm"));
    QAbstractItemModel *model =
        help()->findChild<QTreeView *>(QStringLiteral("HelpContents"))->model();
    QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), 1, 10000);
    const QModelIndex root = model->index(0, 0);
    QCOMPARE(root.data().toString(), QStringLiteral("Bienvenue dans Balizor"));
    QTRY_VERIFY(model->rowCount(root) >= 8);
    QStringList children;
    for (int i = 0; i < model->rowCount(root); ++i)
        children << model->index(i, 0, root).data().toString();
    QVERIFY2(children.contains(QStringLiteral("Documents et onglets")),
             qPrintable(children.join('|')));
    QVERIFY(children.contains(QStringLiteral("Les commandes de balisage")));

    // Words from the list page only; and words from no page.
    search(QStringLiteral("chiffres romains"));
    QListWidget *list = results();
    QTRY_VERIFY_WITH_TIMEOUT(list->count() > 0 && list->item(0)->flags() != Qt::NoItemFlags, 20000);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Listes"));
    search(QStringLiteral("xylophone"));
    QTRY_COMPARE_WITH_TIMEOUT(list->count() == 1 ? list->item(0)->text() : QString(),
                              QStringLiteral("Aucune page ne contient ces mots."), 10000);
    // A result opens its page.
    search(QStringLiteral("noshade"));
    QTRY_VERIFY_WITH_TIMEOUT(list->count() > 0 && list->item(0)->flags() != Qt::NoItemFlags, 10000);
    emit list->itemClicked(list->item(0));
    QCOMPARE(shownTopic(), QStringLiteral("Ressources/ligne_horizontale.htm"));
}

void TstHelpUi::cacheIsPrivate() {
    ShowHelpTopic();
    const QString folder = help()->property("cacheFolder").toString();
    QVERIFY(folder.startsWith(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)));
    QVERIFY(!folder.startsWith(QCoreApplication::applicationDirPath() + QLatin1Char('/')));
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(QFileInfo(folder).permissions() & others, QFile::Permissions());
    const QString collection = folder + QStringLiteral("/balizor.qhc");
    QVERIFY(QFileInfo(collection).isFile());
    QCOMPARE(QFileInfo(collection).permissions() & others, QFile::Permissions());
    // Nothing of the engine's beside the program.
    QVERIFY(QDir(QCoreApplication::applicationDirPath()).entryList({"*.qhc"}).isEmpty());
}

void TstHelpUi::missingBook() {
    commands()->bookPath = m_f->path(QStringLiteral("absent.qch"));
    trigger("AideAide");
    QVERIFY(!help());
    QCOMPARE(m_f->ui.messages.size(), 1);
    QCOMPARE(m_f->ui.messages[0].type, MsgType::Plain);
    QCOMPARE(m_f->ui.lastMessage(),
             QStringLiteral("HTML Help n'est pas installé sur cet ordinateur."));
    QCOMPARE(helpWindows(), 0);

    // A file that is not a help book is no better.
    writeAll(commands()->bookPath, "pas un livre d'aide");
    ShowHelpTopic(QStringLiteral("Ressources/liste.htm"));
    QVERIFY(!help());
    QCOMPARE(m_f->ui.messages.size(), 2);

    // Without the help window at all.
    setHelpHandler({});
    ShowHelpTopic(QStringLiteral("Ressources/liste.htm"));
    QCOMPARE(m_f->ui.messages.size(), 3);
    QCOMPARE(m_f->ui.lastMessage(),
             QStringLiteral("HTML Help n'est pas installé sur cet ordinateur."));
}

void TstHelpUi::helpFromAModalDialog() {
    auto *dialog = new QDialog(m_f->form.get());
    dialog->open(); // modal: only its own windows take input
    QTRY_COMPARE(QApplication::activeModalWidget(), dialog);
    ShowHelpTopic(QStringLiteral("Ressources/liste.htm"));
    QVERIFY(help());
    QCOMPARE(help()->parentWidget(), dialog);
    QVERIFY(help()->isWindow());
    QVERIFY(help()->isVisible());
    dialog->accept();
    // The help window stays open when the dialog goes.
    QCOMPARE(help()->parentWidget(), m_f->form.get());
    QVERIFY(help()->isVisible());
    delete dialog;
    QVERIFY(help());
    QCOMPARE(shownTopic(), QStringLiteral("Ressources/liste.htm"));
}

void TstHelpUi::programPages_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::newRow("home") << "AideAccueil"
                          << "Page d'accueil de &Balizor..."
                          << "Page d'accueil de Balizor";
    QTest::newRow("updates") << "AideMiseAJour"
                             << "&Mises à jour du logiciel..."
                             << "Vérifier les mises à jour";
}

void TstHelpUi::programPages() {
    QFETCH(QString, action);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QStringList opened;
    commands()->openAddress = [&opened](const QString &a) { opened << a; };
    QAction *a = m_f->form->actions()->action(action);
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->toolTip(), hint);
    a->trigger();
    // No public pages yet: the book's page about the program, never an address that answers
    // nothing.
    QVERIFY(opened.isEmpty());
    QVERIFY(help());
    QCOMPARE(shownTopic(), QStringLiteral("Ressources/a_propos.htm"));
    QVERIFY(browser()->toPlainText().contains(About::version()));
}

void TstHelpUi::tipsAtFirstIdle_data() {
    QTest::addColumn<bool>("showTips");
    QTest::newRow("on") << true;
    QTest::newRow("off") << false;
}

void TstHelpUi::tipsAtFirstIdle() {
    QFETCH(bool, showTips);
    m_f.reset();
    m_f = std::make_unique<MainFormFixture>(QStringList(), true, [showTips](SettingsStore &s) {
        s.writeBool(QStringLiteral("Options"), QStringLiteral("ShowTips"), showTips);
    });
    QTest::qWait(50);
    if (showTips) {
        QTRY_VERIFY(commands()->tipsBox() && commands()->tipsBox()->isVisible());
    } else {
        QVERIFY(!commands()->tipsBox());
    }
    // The help engine is still not made.
    QVERIFY(!help());
}

void TstHelpUi::tipsWindow() {
    auto cycle = std::make_unique<TipCycle>(11);
    commands()->tipCycle = cycle.get();
    commands()->randomStep = [](int) { return 0; };
    trigger("AideTips");
    TTipsBox *box = commands()->tipsBox();
    QVERIFY(box && box->isVisible());
    QCOMPARE(box->windowTitle(), QStringLiteral("Balizor - Trucs & Astuces"));
    QVERIFY(box->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(box->minimumSize(), box->maximumSize()); // fixed size
    QCOMPARE(m_f->form->actions()->action("AideTips")->text(),
             QStringLiteral("Trucs && astuces..."));
    auto *label = box->findChild<QLabel *>(QStringLiteral("LabelTip"));
    // The first tip is on display when the window is made, so another one opens it.
    QCOMPARE(box->currentTip(), 1);
    QCOMPARE(label->text(), Tips::texts()[1]);
    box->findChild<QPushButton *>(QStringLiteral("BoutSuivant"))->click();
    QCOMPARE(box->currentTip(), 2);
    QCOMPARE(label->text(), Tips::texts()[2]);
    // Asking again brings the same window forward.
    trigger("AideTips");
    QCOMPARE(commands()->tipsBox(), box);
    QCOMPARE(box->currentTip(), 2);
    QTest::keyClick(box, Qt::Key_Escape);
    QTRY_VERIFY(!commands()->tipsBox());
    // The next showing goes on where the last one stopped.
    trigger("AideTips");
    QCOMPARE(commands()->tipsBox()->currentTip(), 3);
    commands()->tipsBox()->close();
}

void TstHelpUi::showTipsRoundTrip() {
    QVERIFY(!m_f->options.showTips); // the fixture starts without tips
    // Ticked, unticked, ticked: each closing copies the box back.
    for (bool ticked : {true, false, true}) {
        trigger("AideTips");
        auto *check =
            commands()->tipsBox()->findChild<QCheckBox *>(QStringLiteral("CheckShowTips"));
        QCOMPARE(check->text(), QStringLiteral("Montrer les astuces au démarrage"));
        QCOMPARE(check->isChecked(), !ticked);
        check->setChecked(ticked);
        QCOMPARE(m_f->options.showTips, !ticked); // only when the window closes
        commands()->tipsBox()->findChild<QPushButton *>(QStringLiteral("BoutFermer"))->click();
        QTRY_VERIFY(!commands()->tipsBox());
        QCOMPARE(m_f->options.showTips, ticked);
    }
    // Kept by the close road (the stored value was off), read at the next start.
    QVERIFY(m_f->form->close());
    const QString copy = m_f->path(QStringLiteral("next-start.ini"));
    QVERIFY(QFile::copy(m_f->path(QStringLiteral("settings.ini")), copy));
    SettingsStore again(copy);
    Options o;
    o.showTips = false;
    readStartupOptions(again, o);
    QVERIFY(o.showTips);
}

void TstHelpUi::aboutBox() {
    QStringList seen;
    m_f->ui.onDialog = [&](QDialog *d) {
        auto text = [d](const char *name) {
            return d->findChild<QLabel *>(QLatin1String(name))->text();
        };
        seen << d->objectName() << d->windowTitle() << text("LabelVersion") << text("LabelMemoire")
             << text("LabelMemoireValeur") << text("LabelSysteme") << text("LabelSite");
        // The site link leads to the book's page about the program.
        emit d->findChild<QLabel *>(QStringLiteral("LienSite"))
            ->linkActivated(QStringLiteral("site"));
        return true;
    };
    trigger("AideApropos");
    QCOMPARE(m_f->form->actions()->action("AideApropos")->text(),
             QStringLiteral("A &propos de..."));
    QCOMPARE(seen.size(), 7);
    QCOMPARE(seen[0], QStringLiteral("AboutBox"));
    QCOMPARE(seen[1], QStringLiteral("A propos de Balizor"));
    QCOMPARE(seen[2], QStringLiteral("Balizor v2.6.3"));
#ifdef Q_OS_LINUX
    QCOMPARE(seen[3], QStringLiteral("Mémoire disponible pour Linux :"));
    const qint64 kb = About::memTotalFromMeminfo(readAll(QStringLiteral("/proc/meminfo")));
    QCOMPARE(seen[4], About::memoryText(kb, QLocale()));
    QCOMPARE(seen[5], QSysInfo::prettyProductName());
#endif
    QVERIFY(seen[4].endsWith(QStringLiteral(" KB")));
    QCOMPARE(seen[6], QStringLiteral("Site web :"));
    QVERIFY(help());
    QCOMPARE(shownTopic(), QStringLiteral("Ressources/a_propos.htm"));
}

void TstHelpUi::aboutLogo() {
    TAboutBox box(m_f->form.get());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto *logo = box.findChild<TAboutLogo *>(QStringLiteral("ImageLogo"));
    QVERIFY(logo);
    // A hand only while Ctrl and Shift are held.
    logo->updateCursor(Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(logo->cursor().shape(), Qt::PointingHandCursor);
    logo->updateCursor(Qt::ControlModifier);
    QCOMPARE(logo->cursor().shape(), Qt::ArrowCursor);

    const struct {
        Qt::KeyboardModifiers modifiers;
        bool splash;
    } clicks[] = {{Qt::NoModifier, false},
                  {Qt::ControlModifier, false},
                  {Qt::ShiftModifier, false},
                  {Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier, true},
                  {Qt::ControlModifier | Qt::ShiftModifier, true}};
    for (const auto &c : clicks) {
        QTest::mouseClick(logo, Qt::LeftButton, c.modifiers);
        QCOMPARE(bool(box.splash()), c.splash);
        if (box.splash()) {
            QVERIFY(box.splash()->isVisible());
            QCOMPARE(box.splash()->size(), QSize(440, 286));
            // The picture goes away when clicked.
            QTest::mouseClick(box.splash(), Qt::LeftButton);
            QTRY_VERIFY(!box.splash());
        }
    }
}

QTEST_MAIN(TstHelpUi)
#include "tst_help_ui.moc"
