// Document tabs and file commands through a real main window.
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "app/ui/main_status_bar.h"
#include "publish/ui/preview_commands.h"
#include "test_support.h"
#include "ui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTabWidget>
#include <QTest>

using namespace TestSupport;

class TstDocuments : public QObject {
    Q_OBJECT
private slots:
    void firstShowGivesOneUntitledTab();
    void openReusesUntouchedUntitledTab();
    void alreadyOpenIsActivatedNotReloaded();
    void multiDocOpensSecondTab();
    void untitledNumbering();
    void commandLineFiles();
    void openDialogWithMissingFile();
    void savedFilesAreByteIdentical_data();
    void savedFilesAreByteIdentical();
    void saveUntitledGoesThroughSaveAs();
    void saveAllStopsAtCancelledSaveAs();
    void templateAndFtpSaveThroughSaveAs();
    void readOnlyTargetIsReported();
    void unencodableCharacterAsksForUtf8();
    void closeModifiedYesThenCancelKeepsTab();
    void closeFtpDocumentNoDiscardsDownload();
    void failedSaveOnCloseKeepsTab();
    void closeAllNeighbours();
    void closeSavesTheDocumentAskedAbout_data();
    void closeSavesTheDocumentAskedAbout();
    void handOverWaitsForModalWindow();
    void documentNamedLikeACopyIsKept_data();
    void documentNamedLikeACopyIsKept();
    void recentEntryWhoseFileVanished();
    void unreadableFileKeepsUntitledTab();
    void statusBarAndTitle();
    void windowMenuListsTabs();
    void closeRoadStoresSession();

private:
    static TMyMwCustomEdit *active(MainFormFixture &f) { return f.form->documents()->ActiveEditor(); }
    static QStringList captions(MainFormFixture &f)
    {
        QStringList l;
        for (int i = 0; i < f.form->documents()->EditorCount(); ++i)
            l << f.form->documents()->tabCaption(i);
        return l;
    }
    static void type(TMyMwCustomEdit *e, const QString &text) { QTest::keyClicks(e, text); }
};

void TstDocuments::firstShowGivesOneUntitledTab()
{
    MainFormFixture f;
    QCOMPARE(captions(f), QStringList{"Sans Nom (1)"});
    QCOMPARE(f.form->windowTitle(), QString("Balizor"));
    QCOMPARE(f.form->mainStatusBar()->panel(0), QString("1:1"));
    QCOMPARE(f.form->mainStatusBar()->panel(2), QString("Insertion"));
    // A first start with an empty store: 617 x 460 at the top-left corner.
    QCOMPARE(f.form->size(), QSize(617, 460));
}

void TstDocuments::openReusesUntouchedUntitledTab()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    const QString a = f.writeFile("a.html", "<p>a</p>\n");
    const QString b = f.writeFile("b.html", "<p>b</p>\n");
    d->OpenDocument(a, true);
    QCOMPARE(captions(f), QStringList{"a.html"});
    QCOMPARE(active(f)->fileName, a);
    QVERIFY(!active(f)->isModified());
    QVERIFY(!active(f)->isUndoAvailable());
    d->FileNew();
    type(active(f), "x");
    d->OpenDocument(b, true);
    // The reused tab kept its number 1, so the next untitled one is 2.
    QCOMPARE(captions(f), (QStringList{"a.html", "Sans Nom (2)", "b.html"}));
    QCOMPARE(d->recentFiles().items().first(), b);
}

void TstDocuments::alreadyOpenIsActivatedNotReloaded()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    const QString a = f.writeFile("a.html", "un\n");
    d->OpenDocument(a, true);
    d->FileNew();
    writeAll(a, "deux\n");
    d->OpenDocument(a, true);
    QCOMPARE(d->EditorCount(), 2);
    QCOMPARE(d->activeIndex(), 0);
    QCOMPARE(active(f)->lineAt(0), QString("un"));
}

void TstDocuments::multiDocOpensSecondTab()
{
    MainFormFixture f;
    f.options.multiDoc = true;
    const QString a = f.writeFile("a.html", "x\n");
    f.form->documents()->OpenDocument(a, true);
    f.form->documents()->OpenDocument(a, true);
    QCOMPARE(captions(f), (QStringList{"a.html", "a.html"}));
}

void TstDocuments::untitledNumbering()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    d->FileNew();
    d->FileNew();
    QCOMPARE(captions(f), (QStringList{"Sans Nom (1)", "Sans Nom (2)", "Sans Nom (3)"}));
    d->FileClose(); // (3)
    d->FileNew();
    QCOMPARE(captions(f).last(), QString("Sans Nom (3)"));
    d->ActivateTab(1);
    d->FileClose(); // (2) while (3) is open
    d->FileNew();
    QCOMPARE(captions(f), (QStringList{"Sans Nom (1)", "Sans Nom (3)", "Sans Nom (4)"}));
    d->FileCloseAll();
    QCOMPARE(captions(f), QStringList{"Sans Nom (1)"});
}

void TstDocuments::commandLineFiles()
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.html");
    const QString b = dir.filePath("b.css");
    writeAll(a, "a\n");
    writeAll(b, "b\n");
    MainFormFixture f({"-x", a, dir.filePath("missing.html"), b});
    QCOMPARE(captions(f), (QStringList{"a.html", "b.css"}));
    QCOMPARE(f.ui.messages.size(), 1);
    QCOMPARE(f.ui.lastMessage(), "Le fichier \"" + dir.filePath("missing.html") + "\" n'existe pas");
    QCOMPARE(f.form->documents()->openFolder(), dir.path());
}

void TstDocuments::openDialogWithMissingFile()
{
    MainFormFixture f;
    const QString a = f.writeFile("a.html", "a\n");
    const QString b = f.writeFile("b.html", "b\n");
    f.ui.openAnswers << QStringList{a, f.path("gone.html"), b};
    f.form->documents()->FileOpen();
    QCOMPARE(captions(f), (QStringList{"a.html", "b.html"}));
    QVERIFY(f.ui.lastMessage().contains("gone.html\" n'existe pas"));
    QVERIFY(f.ui.fileRequests.first().multiple);
    QVERIFY(!f.form->mainStatusBar()->progressBar()->isVisible());
}

void TstDocuments::savedFilesAreByteIdentical_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("every byte but CR") << everyByteButCr();
    QTest::newRow("LF") << QByteArray("<p>\n\tun</p>\n");
    QTest::newRow("CR") << QByteArray("un\rdeux\r");
    QTest::newRow("CR LF") << QByteArray("un\r\ndeux\r\n");
    QTest::newRow("UTF-8") << QByteArray("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\n");
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9\r\n");
}

void TstDocuments::savedFilesAreByteIdentical()
{
    QFETCH(QByteArray, bytes);
    MainFormFixture f;
    const QString p = f.writeFile("doc.html", bytes);
    f.form->documents()->OpenDocument(p, true);
    QVERIFY(f.form->documents()->FileSave());
    QCOMPARE(readAll(p), bytes);
    QVERIFY(f.ui.messages.isEmpty());
    // Typing a line keeps the document's own line break.
    TMyMwCustomEdit *e = active(f);
    e->setCaretXY({1, 1});
    QTest::keyClick(e, Qt::Key_Return);
    QVERIFY(f.form->documents()->FileSave());
    const QByteArray eol = lineBreakBytes(e->lineBreak);
    QVERIFY(readAll(p).endsWith(eol));
    QCOMPARE(readAll(p).count(eol), bytes.count(eol) + 1);
}

void TstDocuments::saveUntitledGoesThroughSaveAs()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    d->FileNew();
    type(active(f), "abc");
    d->FileSave(); // cancelled
    QCOMPARE(f.ui.fileRequests.last().fileName, QString("Sans Nom (2)"));
    QCOMPARE(f.ui.fileRequests.last().defaultSuffix, QString("htm"));
    QVERIFY(active(f)->fileName.isEmpty());
    QVERIFY(active(f)->isModified());
    QVERIFY(d->saveAsCancelled());
    const QString p = f.path("page.html");
    f.ui.saveAnswers << p;
    QVERIFY(d->FileSave());
    QCOMPARE(readAll(p), QByteArray("abc\r\n"));
    QCOMPARE(captions(f).last(), QString("page.html"));
    QVERIFY(!active(f)->isModified());
    QCOMPARE(f.form->windowTitle(), "Balizor - " + p);
}

void TstDocuments::saveAllStopsAtCancelledSaveAs()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    const QString a = f.writeFile("a.html", "a\n");
    const QString c = f.writeFile("c.html", "c\n");
    d->OpenDocument(a, true);
    type(active(f), "1");
    d->FileNew();
    type(active(f), "2");
    d->OpenDocument(c, true);
    type(active(f), "3");
    d->FileSaveAll(); // the untitled one's Save as is cancelled
    QCOMPARE(readAll(a), QByteArray("1a\n"));
    QCOMPARE(readAll(c), QByteArray("c\n"));
    QVERIFY(d->EditorAt(2)->isModified());
}

void TstDocuments::templateAndFtpSaveThroughSaveAs()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    const QString t = f.writeFile("modele.html", "m\n");
    d->OpenDocument(t, false);
    active(f)->documentKind = KindTemplate;
    d->mwCustomEdit1StatusChange(active(f));
    QCOMPARE(f.form->windowTitle(), QString("Balizor - Modèle : modele.html"));
    const QString p = f.path("copie.html");
    f.ui.saveAnswers << p;
    d->FileSave();
    QCOMPARE(active(f)->documentKind, int(KindOrdinary));
    QCOMPARE(readAll(p), QByteArray("m\n"));
    QCOMPARE(readAll(t), QByteArray("m\n"));
}

void TstDocuments::readOnlyTargetIsReported()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    const QString p = f.writeFile("ro.html", "x\n");
    QFile::setPermissions(p, QFile::ReadOwner | QFile::ReadUser);
    d->OpenDocument(p, true);
    type(active(f), "y");
    d->FileSave(); // message, then Save as (cancelled)
    QCOMPARE(f.ui.messages.first().text,
             p + "\r\nCe fichier  existe avec un attribut en lecture seule.\r\n"
                 "Veuillez utiliser un nom de fichier différent.");
    QCOMPARE(f.ui.fileRequests.size(), 1);
    QCOMPARE(readAll(p), QByteArray("x\n"));
    QFile::setPermissions(p, QFile::ReadOwner | QFile::WriteOwner);
}

void TstDocuments::unencodableCharacterAsksForUtf8()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    const QString p = f.writeFile("w.html", "caf\xE9\n");
    d->OpenDocument(p, true);
    QCOMPARE(active(f)->encoding, TextEncoding::Windows1252);
    active(f)->setCaretXY({5, 1});
    active(f)->setSelText(QStringLiteral(" \u2192 ok"));
    f.ui.answers << MsgAnswer::No;
    QVERIFY(!d->FileSave());
    QVERIFY(f.ui.lastMessage().contains("ligne 1, colonne 6"));
    QCOMPARE(readAll(p), QByteArray("caf\xE9\n"));
    QVERIFY(active(f)->isModified());
    f.ui.answers << MsgAnswer::Yes;
    QVERIFY(d->FileSave());
    QCOMPARE(readAll(p), QStringLiteral("café \u2192 ok\n").toUtf8());
}

void TstDocuments::closeModifiedYesThenCancelKeepsTab()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    type(active(f), "x");
    f.ui.answers << MsgAnswer::Yes; // save? yes; Save as then cancelled
    d->FileClose();
    QCOMPARE(f.ui.messages.first().text,
             QString("Le texte dans le fichier \"Sans Nom (1)\" a changé.\r\n"
                     "Voulez-vous enregistrer les modifications ?"));
    QCOMPARE(f.ui.messages.first().buttons, MsgButtons::YesNoCancel);
    QCOMPARE(d->EditorCount(), 1);
    QVERIFY(active(f)->isModified());
    f.ui.answers << MsgAnswer::No;
    d->FileClose();
    QCOMPARE(captions(f), QStringList{"Sans Nom (1)"});
    QVERIFY(!active(f)->isModified());
}

void TstDocuments::closeFtpDocumentNoDiscardsDownload()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    QDir(f.dir.path()).mkdir("ftp1");
    const QString p = f.writeFile("ftp1/page.html", "x\n");
    d->OpenDocument(p, false);
    active(f)->documentKind = KindFtp;
    f.ui.answers << MsgAnswer::No;
    d->FileClose();
    QCOMPARE(f.ui.messages.first().text,
             QString("Le fichier \"page.html\" a été ouvert via FTP.\r\n\r\n"
                     "Voulez-vous l'enregistrer en local ?"));
    QVERIFY(!QFile::exists(p));
    QVERIFY(!QFileInfo::exists(f.path("ftp1")));
}

void TstDocuments::failedSaveOnCloseKeepsTab()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    QDir(f.dir.path()).mkdir("gone");
    const QString p = f.writeFile("gone/a.html", "x\n");
    d->OpenDocument(p, true);
    type(active(f), "edit");
    QVERIFY(QDir(f.path("gone")).removeRecursively());
    f.ui.answers << MsgAnswer::Yes;
    d->FileClose();
    QVERIFY(f.ui.lastMessage().startsWith("Impossible de sauvegarder le fichier car"));
    QCOMPARE(captions(f), QStringList{"a.html"});
    QCOMPARE(active(f)->lineAt(0), QString("editx"));
}

void TstDocuments::closeAllNeighbours()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    d->FileNew();
    d->FileNew();
    d->FileNew(); // 1 2 3 4
    d->ActivateTab(3);
    d->FileClose(); // the last of three or more: its left neighbour
    QCOMPARE(d->activeIndex(), 2);
    d->ActivateTab(1);
    type(active(f), "keep");
    f.ui.answers << MsgAnswer::Cancel;
    d->FileCloseAll(); // (2) asks and stops; nothing more is closed
    QCOMPARE(captions(f), (QStringList{"Sans Nom (1)", "Sans Nom (2)", "Sans Nom (3)"}));
}

void TstDocuments::closeSavesTheDocumentAskedAbout_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("close") << "FileClose";
    QTest::newRow("close all") << "FileCloseAll";
    QTest::newRow("leaving") << "leaving";
}

void TstDocuments::closeSavesTheDocumentAskedAbout()
{
    QFETCH(QString, command);
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    const QString a = f.writeFile("a.html", "a\n");
    const QString b = f.writeFile("b.html", "b\n");
    d->OpenDocument(a, true);
    type(active(f), "edit ");
    // While the question is open another document becomes active, as when a later
    // start hands a file over; then Yes.
    f.ui.whileAsking = [&](const QString &) {
        f.ui.whileAsking = nullptr;
        d->FileNew();
        type(active(f), "untitled");
        d->OpenDocument(b, true);
        type(active(f), "other ");
    };
    f.ui.answers << MsgAnswer::Yes << MsgAnswer::No << MsgAnswer::No;
    if (command == "leaving")
        QVERIFY(d->queryCloseAll());
    else
        f.form->actions()->action(command)->trigger();
    QCOMPARE(readAll(a), QByteArray("edit a\n"));
    QCOMPARE(readAll(b), QByteArray("b\n"));
    QVERIFY(f.ui.fileRequests.isEmpty()); // the untitled one was never saved
    // Close all goes round once per tab present at the start: one here.
    if (command != "leaving")
        QCOMPARE(captions(f), (QStringList{"Sans Nom (2)", "b.html"}));
}

void TstDocuments::handOverWaitsForModalWindow()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    const QString a = f.writeFile("a.html", "a\n");
    const QString b = f.writeFile("b.html", "b\n");
    type(active(f), "x");
    QDialog question(f.form.get());
    question.setWindowModality(Qt::ApplicationModal);
    question.show();
    QCOMPARE(QApplication::activeModalWidget(), &question);
    f.form->handleForwardedArgument(a);
    f.form->handleForwardedArgument(b);
    QTest::qWait(250);
    QCOMPARE(captions(f), QStringList{"Sans Nom (1)"});
    question.close();
    // Then both, in order, and the untitled tab (typed into) is kept.
    QTRY_COMPARE(captions(f), (QStringList{"Sans Nom (1)", "a.html", "b.html"}));
    QCOMPARE(d->activeIndex(), 2);
}

void TstDocuments::documentNamedLikeACopyIsKept_data()
{
    QTest::addColumn<QString>("road");
    QTest::newRow("close unmodified") << "close";
    QTest::newRow("close, answer No") << "no";
    QTest::newRow("test in a browser") << "test";
    QTest::newRow("save as the old copy's name") << "saveas";
}

void TstDocuments::documentNamedLikeACopyIsKept()
{
    QFETCH(QString, road);
    MainFormFixture f;
    f.options.browser.nav = {false, false, false, false}; // the test writes the copy only
    DocumentManager *d = f.form->documents();
    const QByteArray work = "<p>recovered work</p>\n";
    const QString copyName = f.path("~$index.html");
    if (road == "saveas") {
        // index.html's copy is ~$index.html: the file the save just wrote.
        d->OpenDocument(f.writeFile("index.html", "old\n"), true);
        f.ui.saveAnswers << copyName;
        d->FileSaveAs();
        QCOMPARE(readAll(copyName), QByteArray("old\n"));
        return;
    }
    f.writeFile("~$index.html", work);
    d->OpenDocument(copyName, true);
    if (road == "no") {
        type(active(f), "x");
        f.ui.answers << MsgAnswer::No;
    }
    if (road == "test") {
        f.form->actions()->action("OutilsTester")->trigger();
        QCOMPARE(f.form->findChild<PreviewCommands *>()->PreviewCopyPath(active(f)),
                 f.path("~$~index.html"));
        QCOMPARE(readAll(f.path("~$~index.html")), work);
    }
    d->FileClose();
    QCOMPARE(readAll(copyName), work);
    QVERIFY(!QFile::exists(f.path("~$~index.html")));
}

void TstDocuments::recentEntryWhoseFileVanished()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    const QString p = f.writeFile("old.html", "x\n");
    d->OpenDocument(p, true);
    QFile::remove(p);
    f.ui.answers << MsgAnswer::No << MsgAnswer::Yes;
    d->openRecent(p);
    QCOMPARE(f.ui.lastMessage(),
             "Le fichier \"" + p + "\" n'existe plus.\r\n"
                                   "Voulez-vous supprimer le raccourci de la liste des fichiers récents ?");
    QVERIFY(d->recentFiles().items().contains(p));
    d->openRecent(p);
    QVERIFY(!d->recentFiles().items().contains(p));
}

void TstDocuments::unreadableFileKeepsUntitledTab()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    d->OpenDocument(f.dir.path(), true); // a folder
    QCOMPARE(captions(f), QStringList{"Sans Nom (1)"});
    QCOMPARE(f.ui.lastMessage(), "Impossible d'ouvrir le fichier " + f.dir.path());
    type(active(f), "x");
    d->OpenDocument(f.dir.path(), true); // into a new tab: removed again, silently
    QCOMPARE(captions(f), QStringList{"Sans Nom (1)"});
    QCOMPARE(f.ui.messages.size(), 1);
}

void TstDocuments::statusBarAndTitle()
{
    MainFormFixture f;
    const QString p = f.writeFile("s.html", "ab\ncd\n");
    f.form->documents()->OpenDocument(p, true);
    TMyMwCustomEdit *e = active(f);
    e->setCaretXY({2, 2});
    QCOMPARE(f.form->mainStatusBar()->panel(0), QString("2:2"));
    QCOMPARE(f.form->windowTitle(), "Balizor - " + p);
    type(e, "x");
    QCOMPARE(f.form->mainStatusBar()->panel(1), QString("Modifié"));
    QCOMPARE(f.form->windowTitle(), "Balizor - " + p + "*");
    QTest::keyClick(e, Qt::Key_Insert);
    QCOMPARE(f.form->mainStatusBar()->panel(2), QString("Remplacement"));
}

void TstDocuments::windowMenuListsTabs()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    auto *menu = f.form->findChild<QMenu *>("MenuFenetre");
    QVERIFY(menu);
    QMetaObject::invokeMethod(menu, "aboutToShow");
    QVERIFY(!f.form->actions()->action("MenuDocSuivant")->isEnabled());
    d->FileNew();
    d->FileNew();
    QMetaObject::invokeMethod(menu, "aboutToShow");
    QCOMPARE(menu->actions().size(), 6);
    QVERIFY(menu->actions().at(5)->isChecked());
    menu->actions().at(3)->trigger();
    QCOMPARE(d->activeIndex(), 0);
    f.form->actions()->action("MenuDocPrecedent")->trigger();
    QCOMPARE(d->activeIndex(), 2);
    f.form->actions()->action("MenuDocSuivant")->trigger();
    QCOMPARE(d->activeIndex(), 0);
}

void TstDocuments::closeRoadStoresSession()
{
    QTemporaryDir other;
    const QString a = other.filePath("a.html");
    writeAll(a, "a\n");
    MainFormFixture f({a});
    f.form->move(30, 40);
    QVERIFY(f.form->close());
    SettingsStore check(f.store->fileName());
    QCOMPARE(check.readString("Recent", "MRU1", {}), a);
    QCOMPARE(check.readInteger("Form", "Largeur", 0), 617);
    QCOMPARE(check.readString("Text", "DossierParDefautSTR", {}), other.path());
}

QTEST_MAIN(TstDocuments)
#include "tst_documents.moc"
