#include "app/app_settings.h"
#include "app/settings_store.h"
#include "app/ui/action_registry.h"
#include "shell/ui/main_form.h"
#include "publish/ui/splash_window.h"
#include "publish/about_info.h"
#include "publish/help_book.h"
#include "publish/tips.h"
#include "publish/ui/about_box.h"
#include "app/ui/help.h"
#include "publish/ui/help_commands.h"
#include "publish/ui/tips_box.h"
#include "test_support.h"
#include "ui/ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTextBrowser>
#include <QTreeView>

using namespace TestSupport;

// The help window, the tips of the day and the about box, in a real main window.
class TstHelpUi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { m_f = std::make_unique<MainFormFixture>(); }
    void cleanup();
    void helpWaitsUntilAskedFor();
    void showTopic_data();
    void showTopic();
    void linksAndHistory();
    void contentsAndSearch();
    void missingBook();
    void helpFromAModalDialog();
    void programPages();
    void tipsAtFirstIdle();
    void tipsWindow();
    void showTipsRoundTrip();
    void aboutBox();
    void aboutLogo();

private:
    HelpCommands *commands() const { return m_f->form->findChild<HelpCommands *>(); }
    QMainWindow *help() const { return commands()->helpWindow(); }
    QString shown() const { return help()->property("currentTopic").toString(); }
    template <typename T> T *inHelp(const char *name) const {
        return help()->findChild<T *>(QLatin1String(name));
    }
    void search(const QString &words) {
        inHelp<QLineEdit>("HelpSearchBox")->setText(words);
        inHelp<QPushButton>("HelpSearchButton")->click();
    }
    void trigger(const char *action) {
        m_f->form->actions()->action(QLatin1String(action))->trigger();
    }
    std::unique_ptr<MainFormFixture> m_f;
};

void TstHelpUi::initTestCase() {
    // The engine's collection and index go to a test folder, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/Balizor.qch")));
}

void TstHelpUi::cleanup() {
    m_f.reset();
    setHelpHandler({});
}

void TstHelpUi::helpWaitsUntilAskedFor() {
#ifndef Q_OS_LINUX
    QSKIP("reads the loaded libraries from /proc");
#endif
    const auto helpLoaded = [] {
        return readAll(QStringLiteral("/proc/self/maps")).contains("libQt6Help");
    };
    QVERIFY(!help());
    QVERIFY(!helpLoaded()); // start-up does not even load the help libraries
    QCOMPARE(m_f->form->actions()->action("AideAide")->shortcut(), QKeySequence(Qt::Key_F1));
    trigger("AideAide");
    QVERIFY(help() && help()->isVisible() && helpLoaded());
    QCOMPARE(shown(), HelpBook::defaultTopic());

    // Its engine's files are private to the user, and none go beside the program.
    const QString folder = help()->property("cacheFolder").toString();
    QVERIFY(folder.startsWith(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)));
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    for (const QString &path : {folder, folder + QStringLiteral("/balizor.qhc")})
        QVERIFY2(QFileInfo::exists(path) && !(QFileInfo(path).permissions() & others),
                 qPrintable(path));
    QVERIFY(QDir(QCoreApplication::applicationDirPath()).entryList({"*.qhc"}).isEmpty());
}

void TstHelpUi::showTopic_data() {
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("list") << "Ressources/liste.htm"
                          << "Ressources/liste.htm"
                          << "Listes"
                          << "Nombre d'éléments";
    QTest::newRow("none") << ""
                          << "Ressources/introduction.htm"
                          << "Bienvenue dans Balizor"
                          << "La fenêtre principale";
    QTest::newRow("unknown") << "Ressources/nulle_part.htm"
                             << "Ressources/nulle_part.htm"
                             << "Page introuvable"
                             << "ne contient pas la page « Ressources/nulle_part.htm »";
    QTest::newRow("outside the book") << "../autre.htm"
                                      << "../autre.htm"
                                      << "Page introuvable"
                                      << "../autre.htm";
}

void TstHelpUi::showTopic() {
    QFETCH(QString, topic);
    QFETCH(QString, page);
    QFETCH(QString, title);
    QFETCH(QString, text);
    ShowHelpTopic(topic);
    QVERIFY(help() && help()->isVisible());
    QCOMPARE(shown(), page);
    QCOMPARE(help()->windowTitle(), QStringLiteral("Aide de Balizor - ") + title);
    const QString words =
        inHelp<QTextBrowser>("HelpBrowser")->toPlainText().replace(QChar(0xA0), u' ');
    QVERIFY2(words.contains(text), qPrintable(words.left(300)));
    QVERIFY(m_f->ui.messages.isEmpty());
    // One window, whatever the number of requests.
    ShowHelpTopic(QStringLiteral("Ressources/liste.htm"));
    QCOMPARE(m_f->form->findChildren<QMainWindow *>(QStringLiteral("HelpWindow")).size(), 1);
}

void TstHelpUi::linksAndHistory() {
    ShowHelpTopic();
    QTextBrowser *b = inHelp<QTextBrowser>("HelpBrowser");
    emit b->anchorClicked(QUrl(QStringLiteral("liste.htm")));
    QCOMPARE(shown(), QStringLiteral("Ressources/liste.htm"));
    // The page's pictures come out of the book.
    const QVariant picture =
        b->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("images/liste.png")));
    QVERIFY(QImage::fromData(picture.toByteArray()).width() > 100);
    emit b->anchorClicked(QUrl(QStringLiteral("ligne_horizontale.htm")));
    QAction *back = inHelp<QAction>("HelpBack");
    back->trigger();
    back->trigger();
    QCOMPARE(shown(), HelpBook::defaultTopic());
    QVERIFY(!back->isEnabled());
    inHelp<QAction>("HelpForward")->trigger();
    QCOMPARE(shown(), QStringLiteral("Ressources/liste.htm"));
}

void TstHelpUi::contentsAndSearch() {
    ShowHelpTopic(QStringLiteral("Ressources/liste.htm"));
    QAbstractItemModel *model = inHelp<QTreeView>("HelpContents")->model();
    QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), 1, 10000);
    const QModelIndex root = model->index(0, 0);
    QCOMPARE(root.data().toString(), QStringLiteral("Bienvenue dans Balizor"));
    QTRY_VERIFY(model->rowCount(root) >= 8);
    QCOMPARE(model->index(0, 0, root).data().toString(), QStringLiteral("Documents et onglets"));

    QListWidget *list = inHelp<QListWidget>("HelpSearchResults");
    const auto found = [list] {
        QStringList titles;
        for (int i = 0; i < list->count(); ++i)
            titles << list->item(i)->text();
        return titles;
    };
    search(QStringLiteral("chiffres romains")); // words of the list page only
    QTRY_COMPARE_WITH_TIMEOUT(found(), QStringList{"Listes"}, 20000);
    search(QStringLiteral("xylophone"));
    QTRY_COMPARE(found(), QStringList{"Aucune page ne contient ces mots."});
    search(QStringLiteral("noshade"));
    QTRY_COMPARE(found(), QStringList{"Ligne horizontale"});
    emit list->itemClicked(list->item(0)); // a result opens its page
    QCOMPARE(shown(), QStringLiteral("Ressources/ligne_horizontale.htm"));
}

void TstHelpUi::missingBook() {
    const QString text = QStringLiteral("HTML Help n'est pas installé sur cet ordinateur.");
    commands()->bookPath = m_f->path(QStringLiteral("absent.qch"));
    trigger("AideAide");
    writeAll(commands()->bookPath, "pas un livre d'aide");
    ShowHelpTopic(QStringLiteral("Ressources/liste.htm"));
    QVERIFY(!help());
    setHelpHandler({}); // no help window at all
    ShowHelpTopic(QStringLiteral("Ressources/liste.htm"));
    QCOMPARE(m_f->ui.messages.size(), 3);
    for (const auto &m : m_f->ui.messages)
        QVERIFY(m.type == MsgType::Plain && m.text == text);
}

void TstHelpUi::helpFromAModalDialog() {
    auto *dialog = new QDialog(m_f->form.get());
    dialog->open(); // modal: only its own windows take input
    QTRY_COMPARE(QApplication::activeModalWidget(), dialog);
    ShowHelpTopic(QStringLiteral("Ressources/liste.htm"));
    QCOMPARE(help()->parentWidget(), dialog);
    QVERIFY(help()->isWindow() && help()->isVisible());
    dialog->accept();
    delete dialog;
    // The help window stays open when the dialog goes.
    QVERIFY(help() && help()->isVisible());
    QCOMPARE(help()->parentWidget(), m_f->form.get());
}

void TstHelpUi::programPages() {
    QStringList opened;
    commands()->openAddress = [&opened](const QString &a) { opened << a; };
    QCOMPARE(m_f->form->actions()->action("AideMiseAJour")->toolTip(),
             QStringLiteral("Vérifier les mises à jour"));
    for (const char *action : {"AideAccueil", "AideMiseAJour"}) {
        ShowHelpTopic();
        trigger(action);
        // No public pages yet: the book's page about the program, not an address that answers
        // nothing.
        QCOMPARE(shown(), QStringLiteral("Ressources/a_propos.htm"));
    }
    QVERIFY(opened.isEmpty());
}

void TstHelpUi::tipsAtFirstIdle() {
    for (bool on : {true, false}) {
        m_f = std::make_unique<MainFormFixture>(QStringList(), true, [on](SettingsStore &s) {
            s.writeBool(QStringLiteral("Options"), QStringLiteral("ShowTips"), on);
        });
        QTest::qWait(50);
        QCOMPARE(bool(commands()->tipsBox()), on);
        QVERIFY(!help()); // and still no help engine
    }
}

void TstHelpUi::tipsWindow() {
    TipCycle cycle(11);
    commands()->tipCycle = &cycle;
    commands()->randomStep = [](int) { return 0; };
    trigger("AideTips");
    TTipsBox *box = commands()->tipsBox();
    QVERIFY(box && box->isVisible());
    QCOMPARE(box->windowTitle(), QStringLiteral("Balizor - Trucs & Astuces"));
    QVERIFY(box->windowFlags() & Qt::WindowStaysOnTopHint);
    auto *label = box->findChild<QLabel *>(QStringLiteral("LabelTip"));
    // The first tip is on display when the window is made, so another one opens it.
    QCOMPARE(label->text(), Tips::texts()[1]);
    box->findChild<QPushButton *>(QStringLiteral("BoutSuivant"))->click();
    QCOMPARE(label->text(), Tips::texts()[2]);
    trigger("AideTips"); // the same window comes forward
    QCOMPARE(commands()->tipsBox(), box);
    QTest::keyClick(box, Qt::Key_Escape);
    QTRY_VERIFY(!commands()->tipsBox());
    // The next showing goes on where the last one stopped.
    trigger("AideTips");
    QCOMPARE(commands()->tipsBox()->currentTip(), 3);
    commands()->tipsBox()->close();
}

void TstHelpUi::showTipsRoundTrip() {
    QVERIFY(!m_f->options.showTips); // the fixture starts without tips
    for (bool ticked : {true, false, true}) {
        trigger("AideTips");
        auto *check =
            commands()->tipsBox()->findChild<QCheckBox *>(QStringLiteral("CheckShowTips"));
        QCOMPARE(check->text(), QStringLiteral("Montrer les astuces au démarrage"));
        QCOMPARE(check->isChecked(), !ticked);
        check->setChecked(ticked);
        QCOMPARE(m_f->options.showTips, !ticked); // copied back when the window closes
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
#ifndef Q_OS_LINUX
    QSKIP("the expected memory and system lines are read as Linux gives them");
#endif
    QStringList seen;
    m_f->ui.onDialog = [&](QDialog *d) {
        seen << d->windowTitle();
        for (const char *name :
             {"LabelVersion", "LabelMemoire", "LabelMemoireValeur", "LabelSysteme"})
            seen << d->findChild<QLabel *>(QLatin1String(name))->text();
        // The site link leads to the book's page about the program.
        emit d->findChild<QLabel *>(QStringLiteral("LienSite"))
            ->linkActivated(QStringLiteral("site"));
        return true;
    };
    trigger("AideApropos");
    const qint64 kb = About::memTotalFromMeminfo(readAll(QStringLiteral("/proc/meminfo")));
    QCOMPARE(seen, (QStringList{"A propos de Balizor", "Balizor v2.6.3",
                                "Mémoire disponible pour Linux :", About::memoryText(kb, QLocale()),
                                QSysInfo::prettyProductName()}));
    QCOMPARE(shown(), QStringLiteral("Ressources/a_propos.htm"));
}

void TstHelpUi::aboutLogo() {
    TAboutBox box(m_f->form.get());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto *logo = box.findChild<TAboutLogo *>(QStringLiteral("ImageLogo"));
    logo->updateCursor(Qt::ControlModifier | Qt::ShiftModifier); // a hand only with both
    QCOMPARE(logo->cursor().shape(), Qt::PointingHandCursor);
    logo->updateCursor(Qt::ControlModifier);
    QCOMPARE(logo->cursor().shape(), Qt::ArrowCursor);
    const Qt::KeyboardModifiers both = Qt::ControlModifier | Qt::ShiftModifier;
    for (Qt::KeyboardModifiers m :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ControlModifier),
          Qt::KeyboardModifiers(Qt::ShiftModifier), both}) {
        QTest::mouseClick(logo, Qt::LeftButton, m);
        QCOMPARE(bool(box.splash()), m == both);
    }
    QVERIFY(box.splash()->isVisible());
    QCOMPARE(box.splash()->size(), QSize(440, 286));
    QTest::mouseClick(box.splash(), Qt::LeftButton); // the picture goes away when clicked
    QTRY_VERIFY(!box.splash());
}

QTEST_MAIN(TstHelpUi)
#include "tst_help_ui.moc"
