// Menus and toolbars laid out from the table; toolbar visibility and layout across restarts.
#include "app/ui/action_registry.h"
#include "shell/ui/main_form.h"
#include "shell/ui/menu_layout.h"
#include "shell/ui/toolbar_manager.h"
#include "ui_test_support.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

class TstToolbars : public QObject {
    Q_OBJECT
private slots:
    void menusHaveNoDeadOrDanglingEntries();
    void toolbarsAndToggles();
    void hideAllAndShowAgain();
    void hiddenBarsSurviveRestart();
    void placeSurvivesRestart();
    void dockAreaMenu();
    void splitButtonRunsActionAndOpensList();

private:
    static QList<QToolBar *> withContent(MainFormFixture &f)
    {
        QList<QToolBar *> l;
        for (QToolBar *b : f.form->toolbarManager()->toolbars()) {
            if (!b->actions().isEmpty())
                l << b;
        }
        return l;
    }
    static void checkMenu(QMenu *m)
    {
        const QList<QAction *> a = m->actions();
        QVERIFY2(!a.isEmpty(), qPrintable(m->title()));
        QVERIFY2(!a.first()->isSeparator(), qPrintable(m->title()));
        QVERIFY2(!a.last()->isSeparator() || m->objectName() == "MenuFenetre",
                 qPrintable(m->title()));
        for (int i = 1; i < a.size(); ++i)
            QVERIFY2(!(a[i]->isSeparator() && a[i - 1]->isSeparator()), qPrintable(m->title()));
        for (QAction *x : a) {
            // The recent files and sites may be none.
            if (x->menu() && x->objectName() != "FileReOpen" && x->objectName() != "FileRecentSites")
                checkMenu(x->menu());
        }
    }
};

void TstToolbars::menusHaveNoDeadOrDanglingEntries()
{
    MainFormFixture f;
    QMenuBar *bar = f.form->toolbarManager()->menuBar();
    QStringList titles;
    for (QAction *a : bar->actions()) {
        titles << a->text();
        checkMenu(a->menu());
    }
    // Menus appear in their order; each is there once it has an entry.
    QCOMPARE(titles.first(), QString("&Fichier"));
    QVERIFY(titles.contains("&Edition"));
    QVERIFY(titles.indexOf("Fe&nêtre") > titles.indexOf("&Outils"));
    auto *file = f.form->findChild<QMenu *>("MenuFichier");
    QStringList names;
    for (QAction *a : file->actions())
        names << (a->isSeparator() ? "-" : a->objectName());
    QCOMPARE(names.mid(0, 8),
             (QStringList{"FileNew", "FileNewWizard", "FileNewFrames", "FileOpen", "FileReOpen",
                          "FileOpenSite", "FileRecentSites", "MenuModeles"}));
    QStringList templates;
    for (QAction *a : f.form->findChild<QMenu *>("MenuModeles")->actions())
        templates << (a->isSeparator() ? "-" : a->objectName());
    QCOMPARE(templates, (QStringList{"FileModeleNew", "-", "FileModeleSave", "FileModeleModifier"}));
    QVERIFY(names.join(',').contains("FileSave,FileSaveAs,FileSaveAll,FileClose,FileCloseAll"));
    QCOMPARE(names.mid(names.size() - 3), (QStringList{"FileNewInstance", "-", "MenuQuitter"}));
    QCOMPARE(f.form->actions()->action("FileSave")->shortcut(), QKeySequence("Ctrl+S"));
}

void TstToolbars::toolbarsAndToggles()
{
    MainFormFixture f;
    const QList<ToolbarDef> &defs = MenuLayout::toolbars();
    QCOMPARE(defs.size(), 11);
    for (const ToolbarDef &def : defs) {
        QToolBar *b = f.form->toolbarManager()->toolbar(def.name);
        QVERIFY(b);
        QCOMPARE(b->windowTitle(), def.caption);
        QAction *t = f.form->actions()->action(def.toggleAction);
        QCOMPARE(t->text(), def.toggleCaption);
        if (b->actions().isEmpty())
            continue; // nothing on it yet: neither the bar nor its toggle shows
        QCOMPARE(!b->isHidden(), def.visibleByDefault);
        QCOMPARE(t->isChecked(), def.visibleByDefault);
        t->trigger();
        QCOMPARE(b->isHidden(), def.visibleByDefault);
        QCOMPARE(t->isChecked(), !def.visibleByDefault);
        b->setVisible(def.visibleByDefault); // as by the bar itself
        QCOMPARE(t->isChecked(), def.visibleByDefault);
    }
}

void TstToolbars::hideAllAndShowAgain()
{
    MainFormFixture f;
    const QList<QToolBar *> bars = withContent(f);
    QVERIFY(!bars.isEmpty());
    bars.first()->hide();
    QList<bool> before;
    for (QToolBar *b : bars)
        before << !b->isHidden();
    QAction *hide = f.form->actions()->action("OutilsBarreMasquer");
    hide->trigger();
    QVERIFY(hide->isChecked());
    for (QToolBar *b : bars)
        QVERIFY(b->isHidden());
    QVERIFY(!f.form->actions()->action("OutilsBarreStandard")->isEnabled());
    hide->trigger();
    QVERIFY(!hide->isChecked());
    for (int i = 0; i < bars.size(); ++i)
        QCOMPARE(!bars[i]->isHidden(), before[i]);
    QVERIFY(f.form->actions()->action("OutilsBarreStandard")->isEnabled());
    QCOMPARE(hide->shortcuts().first(), QKeySequence(Qt::CTRL | Qt::Key_twosuperior));
}

void TstToolbars::hiddenBarsSurviveRestart()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("s.ini");
    QStringList shown;
    ScriptedUi ui;
    {
        SettingsStore store(ini);
        Options o;
        TMainForm form(&store, &o, {});
        form.show();
        for (QToolBar *b : form.toolbarManager()->toolbars()) {
            if (!b->isHidden())
                shown << b->objectName();
        }
        form.actions()->action("OutilsBarreMasquer")->trigger();
        QVERIFY(form.close());
    }
    SettingsStore store(ini);
    Options o;
    TMainForm form(&store, &o, {});
    form.show();
    QStringList now;
    for (QToolBar *b : form.toolbarManager()->toolbars()) {
        if (!b->isHidden())
            now << b->objectName();
    }
    QCOMPARE(now, shown);
    QVERIFY(!form.actions()->action("OutilsBarreMasquer")->isChecked());
}

void TstToolbars::placeSurvivesRestart()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("s.ini");
    ScriptedUi ui;
    {
        SettingsStore store(ini);
        Options o;
        TMainForm form(&store, &o, {});
        form.show();
        QToolBar *b = form.toolbarManager()->toolbar("TBPrinc");
        form.addToolBar(Qt::LeftToolBarArea, b);
        QVERIFY(form.close());
        SettingsStore check(ini);
        QCOMPARE(check.readString("Toolbars\\TBPrinc", "DockedTo", {}), QString("TBDock2"));
        QCOMPARE(check.readInteger("Toolbars\\TBPrinc", "Rev", 0), 2000);
        QCOMPARE(check.readInteger("Toolbars\\TBPrinc", "Visible", 0), 1);
        QCOMPARE(check.readString("Toolbars\\MainMenu", "DockedTo", {}), QString("TBDock1"));
    }
    for (bool withRecord : {true, false}) {
        if (!withRecord) {
            // Only the per-bar keys: the place still comes back.
            SettingsStore s(ini);
            s.deleteValue("Toolbars", "State");
        }
        SettingsStore store(ini);
        Options o;
        TMainForm form(&store, &o, {});
        form.show();
        QCOMPARE(form.toolBarArea(form.toolbarManager()->toolbar("TBPrinc")), Qt::LeftToolBarArea);
    }
}

void TstToolbars::dockAreaMenu()
{
    MainFormFixture f;
    std::unique_ptr<QMenu> m(f.form->createPopupMenu());
    QCOMPARE(m->objectName(), QString("BarreOutilsPopUp"));
    QStringList names;
    for (QAction *a : m->actions())
        names << (a->isSeparator() ? "-" : a->objectName());
    QCOMPARE(names.last(), QString("OutilsBarreMasquer"));
    QCOMPARE(names.at(names.size() - 2), QString("-"));
    const QStringList order = MenuLayout::toggleOrder();
    QCOMPARE(names.mid(0, order.size()), order);
}

void TstToolbars::splitButtonRunsActionAndOpensList()
{
    MainFormFixture f;
    QToolBar *bar = f.form->toolbarManager()->toolbar("TBPrinc");
    QToolButton *open = nullptr;
    for (QToolButton *b : bar->findChildren<QToolButton *>()) {
        if (b->defaultAction() && b->defaultAction()->objectName() == "FileOpen")
            open = b;
    }
    QVERIFY(open);
    QCOMPARE(open->popupMode(), QToolButton::MenuButtonPopup);
    QCOMPARE(open->menu(), f.form->actions()->menu("FileReOpen"));
    open->click();
    QCOMPARE(f.ui.fileRequests.size(), 1); // the Open dialog was asked for
}

QTEST_MAIN(TstToolbars)
#include "tst_toolbars.moc"
