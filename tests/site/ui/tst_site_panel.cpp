// The site through a real window: opening a folder, its filtered tree, opening,
// renaming and trashing files from the panel; a search in files and a replace.
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "site/ui/find_results_panel.h"
#include "site/ui/site_module.h"
#include "site/ui/site_panel.h"
#include "test_support.h"
#include "ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDirIterator>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

using namespace TestSupport;

namespace {
// The names the panel shows under its root, once the model has read the folder.
QStringList shownNames(SitePanel *p) {
    QFileSystemModel *m = p->model();
    const QModelIndex root = p->view()->rootIndex();
    QTest::qWaitFor([&] { return m->rowCount(root) > 0; }, 5000);
    QTest::qWait(50); // the filter is applied after the rows arrive
    QStringList names;
    for (int i = 0; i < m->rowCount(root); ++i)
        names << m->fileName(m->index(i, 0, root));
    names.sort();
    return names;
}

QModelIndex indexOf(SitePanel *p, const QString &path) {
    QModelIndex i;
    QTest::qWaitFor([&] { return (i = p->model()->index(path)).isValid(); }, 5000);
    return i;
}
} // namespace

class TstSitePanel : public QObject {
    Q_OBJECT
private slots:
    void panelRoad();
    void findAndReplaceInFiles();
    void dialogRoad();
};

void TstSitePanel::panelRoad() {
    MainFormFixture f;
    const QString site = f.path("site");
    QDir().mkpath(site + "/pages");
    writeAll(site + "/index.html", "<p>accueil</p>\n");
    writeAll(site + "/style.css", "p {}\n");
    writeAll(site + "/logo.png", "PNG");
    writeAll(site + "/pages/a.htm", "a\n");
    auto *module = f.form->findChild<SiteModule *>();
    QVERIFY(module);

    f.ui.folderAnswers << site;
    f.form->actions()->action("FileOpenSite")->trigger();
    SitePanel *p = module->sitePanel();
    QVERIFY(p && p->isVisible());
    QCOMPARE(shownNames(p), QStringList({"index.html", "pages", "style.css"}));
    p->setAllFiles(true);
    QCOMPARE(shownNames(p), QStringList({"index.html", "logo.png", "pages", "style.css"}));
    QCOMPARE(f.store->readString("Sites", "Site1", QString()), QDir::cleanPath(site));

    // A double click opens; a second one activates the same tab.
    const QModelIndex index = indexOf(p, site + "/index.html");
    const auto doubleClick = [&] {
        QTest::mouseDClick(p->view()->viewport(), Qt::LeftButton, {},
                           p->view()->visualRect(index).center());
    };
    doubleClick();
    const int count = f.form->documents()->EditorCount();
    f.form->documents()->OpenDocument(QString(), false);
    doubleClick();
    QCOMPARE(f.form->documents()->EditorCount(), count + 1);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    QCOMPARE(QFileInfo(e->fileName).fileName(), QStringLiteral("index.html"));

    // Renamed in the tree: the open document follows its file, and so does one
    // inside a renamed folder.
    QVERIFY(p->model()->setData(indexOf(p, site + "/index.html"), "accueil.html"));
    QTRY_COMPARE(QFileInfo(e->fileName).fileName(), QStringLiteral("accueil.html"));
    QVERIFY(QFile::exists(site + "/accueil.html"));
    f.form->documents()->OpenDocument(site + "/pages/a.htm", false);
    TMyMwCustomEdit *inner = f.form->documents()->ActiveEditor();
    QVERIFY(p->model()->setData(indexOf(p, site + "/pages"), "textes"));
    // A name already taken is refused, in French.
    QVERIFY(!p->model()->setData(indexOf(p, site + "/accueil.html"), "textes"));
    QCOMPARE(f.ui.lastMessage(), QString::fromUtf8("Impossible de renommer « accueil.html » : le "
                                                   "nom est pris ou refusé par le système."));
    QTRY_COMPARE(QDir::cleanPath(inner->fileName), QDir::cleanPath(site + "/textes/a.htm"));

    // Delete asks first, then goes to the trash, never to oblivion.
    p->view()->setCurrentIndex(indexOf(p, site + "/style.css"));
    f.ui.answers << MsgAnswer::No;
    p->trashCurrent();
    QVERIFY(QFile::exists(site + "/style.css"));
    QCOMPARE(f.ui.lastMessage(),
             QString::fromUtf8("Mettre le fichier « style.css » à la corbeille ?"));
    f.ui.answers << MsgAnswer::Yes;
    p->trashCurrent();
    QVERIFY(!QFile::exists(site + "/style.css"));
    QDirIterator trash(f.path("data/Trash/files"), {"style.css*"}, QDir::Files);
    QVERIFY(trash.hasNext());
    QCOMPARE(readAll(trash.next()), QByteArray("p {}\n"));

    // The site comes back at the next start.
    f.form->close();
    QVERIFY(f.store->readBool("Sites", "Ouvert", false));
}

void TstSitePanel::findAndReplaceInFiles() {
    MainFormFixture f;
    const QString site = f.path("site");
    QDir().mkpath(site + "/sub");
    writeAll(site + "/a.html", "<p>un chat</p>\r\n<p>Chat noir</p>\r\n");
    writeAll(site + "/sub/b.html", "caf\xe9 et chat\n");
    writeAll(site + "/c.html", "rien\n");
    auto *module = f.form->findChild<SiteModule *>();
    f.form->documents()->OpenDocument(site + "/a.html", false);
    TMyMwCustomEdit *open = f.form->documents()->ActiveEditor();

    FindInFilesRequest r;
    r.options.pattern = "chat";
    r.options.folder = site;
    r.options.masks = "*.html";
    QVERIFY(module->findInFiles(r));
    FindResultsPanel *panel = module->resultsPanel();
    QSignalSpy done(panel, &FindResultsPanel::done);
    QVERIFY(done.wait(5000));
    QCOMPARE(panel->matchCount(), 3);
    QTreeWidget *tree = panel->tree();
    QCOMPARE(tree->topLevelItemCount(), 2);
    QTreeWidgetItem *b = tree->findItems("sub/b.html (1)", Qt::MatchExactly).value(0);
    QVERIFY(b);
    QCOMPARE(b->child(0)->text(0), QString::fromUtf8("    1 : café et chat"));

    // A click opens the file at its match.
    panel->openItem(b->child(0));
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    QCOMPARE(QFileInfo(e->fileName).fileName(), QStringLiteral("b.html"));
    QCOMPARE(e->selText(), QStringLiteral("chat"));
    f.form->documents()->discardTab(e);

    // Replace: the question with the counts first; the open document changes in its
    // editor (one undo step), the other file on disk in its own encoding.
    r.replace = true;
    r.replacement = QString::fromUtf8("félin");
    f.ui.answers << MsgAnswer::Yes << MsgAnswer::Ok;
    done.clear();
    QVERIFY(module->findInFiles(r));
    QVERIFY(done.wait(5000));
    QCOMPARE(f.ui.messages.at(f.ui.messages.size() - 2).text,
             QString::fromUtf8("Remplacer 3 occurrence(s) dans 2 fichier(s) par « félin » ?"));
    QCOMPARE(f.ui.lastMessage(),
             QString::fromUtf8("3 occurrence(s) remplacée(s) dans 2 fichier(s)."));
    QCOMPARE(readAll(site + "/sub/b.html"), QByteArray("caf\xe9 et f\xe9lin\n"));
    QCOMPARE(readAll(site + "/a.html"), QByteArray("<p>un chat</p>\r\n<p>Chat noir</p>\r\n"));
    QCOMPARE(open->textCrLf(), QString::fromUtf8("<p>un félin</p>\r\n<p>félin noir</p>\r\n"));
    QVERIFY(open->isModified());
    open->undo();
    QCOMPARE(open->textCrLf(), QStringLiteral("<p>un chat</p>\r\n<p>Chat noir</p>\r\n"));
}

// Ctrl+Alt+F with a site open: the dialog starts in the site's folder, its choices
// run the search and are remembered.
void TstSitePanel::dialogRoad() {
    MainFormFixture f;
    const QString site = f.path("site");
    QDir().mkpath(site);
    writeAll(site + "/a.php", "un chat, des chats\n");
    auto *module = f.form->findChild<SiteModule *>();
    module->openSite(site);
    QString folderShown;
    f.ui.onDialog = [&](QDialog *d) {
        folderShown = d->findChild<QLineEdit *>("EditDossier")->text();
        d->findChild<QComboBox *>("EditRecherche")->setEditText("chat");
        d->findChild<QCheckBox *>("CheckMotsEntiers")->setChecked(true);
        d->findChild<QPushButton *>("BoutRechercher")->click();
        return d->result() == QDialog::Accepted;
    };
    QAction *find = f.form->actions()->action("EditFindInFiles");
    QCOMPARE(find->shortcut(), QKeySequence("Ctrl+Alt+F"));
    find->trigger();
    QCOMPARE(folderShown, QDir::toNativeSeparators(QDir::cleanPath(site)));
    FindResultsPanel *panel = module->resultsPanel();
    QVERIFY(panel);
    QTRY_VERIFY(!panel->isBusy());
    QCOMPARE(panel->matchCount(), 1);
    QCOMPARE(f.store->readString("RechercheFichiers", "Recherche1", QString()),
             QStringLiteral("chat"));
    QVERIFY(f.store->readBool("RechercheFichiers", "MotsEntiers", false));
}

QTEST_MAIN(TstSitePanel)
#include "tst_site_panel.moc"
