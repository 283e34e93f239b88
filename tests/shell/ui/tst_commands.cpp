// Every command of the program, against the menu and toolbar layout: each action
// is reachable, each entry names something that exists and no key is given twice.
// An accelerator letter may repeat inside a menu (each press moves to the next
// entry with it), so captions keep their letters as written.
#include "app/ui/action_registry.h"
#include "shell/ui/main_form.h"
#include "shell/ui/menu_layout.h"
#include "shell/ui/toolbar_manager.h"
#include "publish/ui/preview_panel.h"
#include "ui_test_support.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

#include <memory>

class TstCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyActionIsReachable_data();
    void everyActionIsReachable();
    void everyLayoutNameExists();
    void noSharedShortcut();
    void placesOfTheLayout_data();
    void placesOfTheLayout();
    void toolbarButtons_data();
    void toolbarButtons();

private:
    struct Place {
        QString where;
        QList<QAction *> entries;
    };
    void collectMenu(QMenu *menu, const QString &where);
    void collectToolbar(QToolBar *bar);
    static QList<QAction *> menuEntries(const QString &path, QMenuBar *bar);

    std::unique_ptr<MainFormFixture> m_f;
    QList<Place> m_menus;               // every menu, submenu and context menu
    QHash<QAction *, QStringList> m_at; // where each action shows
    QList<QMenu *> m_context;
};

void TstCommands::collectMenu(QMenu *menu, const QString &where) {
    const qsizetype at = m_menus.size();
    m_menus << Place{where, {}};
    for (QAction *a : menu->actions()) {
        if (a->isSeparator()) continue;
        m_menus[at].entries << a;
        m_at[a] << where;
        // A submenu entry that also runs an action of its own when clicked.
        if (auto *own = a->property("splitAction").value<QAction *>()) m_at[own] << where;
        if (a->menu()) collectMenu(a->menu(), where + QLatin1Char('/') + a->text());
    }
}

void TstCommands::collectToolbar(QToolBar *bar) {
    for (QAction *a : bar->actions()) {
        if (!a->isSeparator()) m_at[a] << bar->objectName();
    }
    // Split and drop-down buttons: their action and their lists.
    for (QToolButton *b : bar->findChildren<QToolButton *>()) {
        if (b->defaultAction()) m_at[b->defaultAction()] << bar->objectName();
        if (b->menu()) collectMenu(b->menu(), bar->objectName() + QLatin1Char('/') + b->text());
    }
}

void TstCommands::initTestCase() {
    m_f = std::make_unique<MainFormFixture>();
    QMenuBar *bar = m_f->form->toolbarManager()->menuBar();
    // The menu bar's own titles, then each menu.
    m_menus << Place{QStringLiteral("Barre de menus"), bar->actions()};
    for (QAction *a : bar->actions()) {
        m_at[a] << QStringLiteral("Barre de menus");
        collectMenu(a->menu(), a->text());
    }
    for (QToolBar *t : m_f->form->toolbarManager()->toolbars())
        collectToolbar(t);
    for (const char *name : {"EditorPopup", "BarreOutilsPopUp", "PopupMenuEditNav"}) {
        QMenu *m = MenuLayout::buildContextMenu(QString::fromLatin1(name), *m_f->form->actions(),
                                                m_f->form.get());
        m_context << m;
        collectMenu(m, QString::fromLatin1(name));
    }
    // The preview panel's own navigation bar.
    auto *panel = new TPreviewPanel(*m_f->form->actions(), m_f->form.get());
    collectToolbar(panel->navigationBar());
}

void TstCommands::cleanupTestCase() {
    m_menus.clear();
    m_f.reset();
}

void TstCommands::everyActionIsReachable_data() {
    QTest::addColumn<QString>("name");
    for (QAction *a : m_f->form->actions()->actions())
        QTest::newRow(qPrintable(a->objectName())) << a->objectName();
}

void TstCommands::everyActionIsReachable() {
    QFETCH(QString, name);
    QAction *a = m_f->form->actions()->action(name);
    QVERIFY(a);
    QVERIFY2(!m_at.value(a).isEmpty(),
             qPrintable(QStringLiteral("%1 is in no menu and on no toolbar").arg(name)));
}

void TstCommands::everyLayoutNameExists() {
    const ActionRegistry &r = *m_f->form->actions();
    QStringList missing;
    std::function<void(const QList<LayoutEntry> &)> walk = [&](const QList<LayoutEntry> &l) {
        for (const LayoutEntry &e : l) {
            switch (e.kind) {
            case LayoutEntry::Action:
                if (!r.has(e.name)) missing << e.name;
                break;
            case LayoutEntry::Provided:
                if (!r.menu(e.name)) missing << e.name + QStringLiteral(" (menu)");
                break;
            case LayoutEntry::Widget:
                if (!r.widget(e.name)) missing << e.name + QStringLiteral(" (widget)");
                break;
            case LayoutEntry::Split:
                // A split button runs its action; a drop-down without caption has one.
                if (!e.name.isEmpty() && e.caption.isEmpty() && !r.has(e.name)) missing << e.name;
                break;
            case LayoutEntry::Submenu:
            case LayoutEntry::Separator:
                break;
            }
            walk(e.children);
        }
    };
    walk(MenuLayout::menuBar());
    for (const ToolbarDef &t : MenuLayout::toolbars())
        walk(t.entries);
    for (const char *name : {"EditorPopup", "BarreOutilsPopUp", "PopupMenuEditNav"})
        walk(MenuLayout::contextMenu(QString::fromLatin1(name)));
    missing.removeDuplicates();
    // The whole list, which a failure message would cut short.
    for (const QString &name : std::as_const(missing))
        qInfo("missing: %s", qPrintable(name));
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("%1 layout names that no module creates: %2")
                            .arg(missing.size())
                            .arg(missing.join(QStringLiteral(", ")))));
}

void TstCommands::noSharedShortcut() {
    QHash<QKeySequence, QStringList> owners;
    for (QAction *a : m_f->form->actions()->actions()) {
        for (const QKeySequence &k : a->shortcuts())
            owners[k] << a->objectName();
    }
    QStringList clashes;
    for (auto it = owners.cbegin(); it != owners.cend(); ++it) {
        if (it.value().size() > 1)
            clashes << it.key().toString() + QStringLiteral(": ") +
                           it.value().join(QLatin1Char(' '));
    }
    QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral("; "))));
    QVERIFY(owners.size() > 20);
}

QList<QAction *> TstCommands::menuEntries(const QString &path, QMenuBar *bar) {
    QList<QAction *> level = bar->actions();
    for (const QString &step : path.split(QLatin1Char('/'))) {
        QAction *found = nullptr;
        for (QAction *a : level) {
            if (a->text() == step) found = a;
        }
        if (!found || !found->menu()) return {};
        level = found->menu()->actions();
    }
    return level;
}

void TstCommands::placesOfTheLayout_data() {
    // A few places where the layout says a command belongs, checked on the built window.
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("sequence"); // names in order, "-" a separator
    QTest::addColumn<QString>("captions"); // the same entries' captions, when given
    QTest::newRow("new group") << "&Fichier"
                               << "FileNew,FileNewWizard,FileNewFrames,FileOpen" << "";
    QTest::newRow("outils end") << "&Outils"
                                << "MenuBarreOutils,OutilsPref" << "";
    QTest::newRow("browsers") << "&Outils/&Navigateur utilisé"
                              << "Nav1,Nav2,Nav3,Nav4,-,NavPerso" << "";
    QTest::newRow("toolbar toggles")
        << "&Outils/&Barre d'outils"
        << "OutilsBarreStandard,OutilsBarreRecherche,OutilsBarreTypeDoc,OutilsBarreTexte,"
           "OutilsBarreAccents,OutilsBarreTable,OutilsBarreForm,OutilsBarreCSS,OutilsBarreSQL,"
           "OutilsBarreASP,OutilsBarrePHP,-,OutilsBarreMasquer"
        << "Standard,Recherche,Type de document,Texte,Accents,Spécialisés,Formulaires,"
           "Feuilles de style,SQL,ASP,PHP,-,Masquer toutes les barres d'outils";
    // Captions whose letters repeat in their menu keep them as written.
    QTest::newRow("links and media")
        << "&Insertion"
        << "InsertionImage,InsertionLien,InsertionAncre,InsertionMail,InsertionSon,InsertionVideo,"
           "-,InsertionTableau"
        << "I&mage...,&Lien...,&Ancre...,&Adresse e-mail...,Effet &sonore...,&Vidéo...,-,"
           "&Tableau...";
    QTest::newRow("script") << "&Insertion"
                            << "InsertionScript,InsertionCSS"
                            << "&Script...,Feuille de style...";
    QTest::newRow("search") << "&Edition"
                            << "EditFind,EditSearchPrev,EditSearchNext,EditReplace,EditFindInFiles,"
                               "-,EditAllerA"
                            << "&Rechercher...,Rechercher le &précédent,Rechercher le &suivant,"
                               "Re&mplacer...,Rechercher dans les &fichiers...,-,A&ller à...";
    QTest::newRow("text") << "&Texte"
                          << "TexteCommentaire,TexteRetrait,TexteParagraphe"
                          << "&Commentaire,&Retrait,&Paragraphe";
    QTest::newRow("test") << "&Outils"
                          << "OutilsTester,MenuNavigateur"
                          << "&Tester,&Navigateur utilisé";
    QTest::newRow("help") << "&?"
                          << "AideAide,-,AideTips"
                          << "&Aide Balizor,-,Trucs && astuces...";
}

void TstCommands::placesOfTheLayout() {
    QFETCH(QString, menu);
    QFETCH(QString, sequence);
    QFETCH(QString, captions);
    const QList<QAction *> entries = menuEntries(menu, m_f->form->toolbarManager()->menuBar());
    QStringList names;
    QStringList texts;
    for (QAction *a : entries) {
        names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    const QString joined = names.join(QLatin1Char(','));
    if (!captions.isEmpty()) {
        const qsizetype at = names.indexOf(sequence.section(QLatin1Char(','), 0, 0));
        QCOMPARE(texts.mid(at, captions.count(QLatin1Char(',')) + 1).join(QLatin1Char(',')),
                 captions);
    }
    QStringList wanted = sequence.split(QLatin1Char(','));
    // Names that no module creates yet are left out of the built menu.
    wanted.erase(std::remove_if(wanted.begin(), wanted.end(),
                                [this](const QString &n) {
                                    return n != "-" && !n.startsWith("Menu") &&
                                           !m_f->form->actions()->has(n);
                                }),
                 wanted.end());
    QVERIFY2(joined.contains(wanted.join(QLatin1Char(','))), qPrintable(joined));
}

void TstCommands::toolbarButtons_data() {
    QTest::addColumn<QString>("toolbar");
    // Buttons in order; a split button is "face(list)", its face running its action.
    QTest::addColumn<QString>("buttons");
    QTest::newRow("SQL") << "TBSQL"
                         << "SQLCreateTable,SQLDropTable,-,SQLSelect,"
                            "SQLInnerJoin(SQLInnerJoin SQLLeftJoin SQLRightOuterJoin),"
                            "SQLInsert,SQLUpdate,SQLDelete";
}

void TstCommands::toolbarButtons() {
    QFETCH(QString, toolbar);
    QFETCH(QString, buttons);
    QToolBar *bar = m_f->form->toolbarManager()->toolbar(toolbar);
    QVERIFY(bar);
    QStringList seen;
    for (QAction *a : bar->actions()) {
        if (a->isSeparator()) {
            seen << QStringLiteral("-");
            continue;
        }
        auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(a));
        if (!button || !button->defaultAction() || !button->menu()) {
            seen << a->objectName();
            continue;
        }
        QStringList list;
        for (QAction *item : button->menu()->actions())
            if (!item->isSeparator()) list << item->objectName();
        seen << button->defaultAction()->objectName() + QLatin1Char('(') +
                    list.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    QCOMPARE(seen.join(QLatin1Char(',')), buttons);
}

QTEST_MAIN(TstCommands)
#include "tst_commands.moc"
