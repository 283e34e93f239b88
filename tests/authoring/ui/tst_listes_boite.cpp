#include "authoring/ui/listes_boite.h"

#include "app/ui/help.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using Authoring::ListKind;

class TestListesBoite : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void controls();
    void pictureButtonsOnePerPage();
    void addDeleteMove();
    void editMode();
    void sortingAndShowHandler();
    void countField();
    void okReturnsValues();

private:
    template <typename T> T *child(const QString &name) {
        T *w = m_dialog->findChild<T *>(name);
        if (!w) qFatal("no control %s", qPrintable(name));
        return w;
    }
    QLineEdit *edit(const char *name) { return child<QLineEdit>(QLatin1String(name)); }
    QPushButton *button(const char *name) { return child<QPushButton>(QLatin1String(name)); }
    QToolButton *tool(const QString &name) { return child<QToolButton>(name); }
    QListWidget *list() { return child<QListWidget>(QStringLiteral("ListBox1")); }
    void add(const QString &text) {
        edit("Editelt")->setText(text);
        button("BoutAjouter")->click();
    }

    TListes_Boite *m_dialog = nullptr;
};

void TestListesBoite::init() {
    m_dialog = new TListes_Boite;
}

void TestListesBoite::cleanup() {
    delete m_dialog;
    m_dialog = nullptr;
}

void TestListesBoite::controls() {
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Listes"));
    auto *pages = child<QTabWidget>(QStringLiteral("PCListe"));
    QCOMPARE(pages->count(), 3);
    QCOMPARE(pages->tabText(0), QStringLiteral("Liste à puces"));
    QCOMPARE(pages->tabText(1), QStringLiteral("Liste ordonnée"));
    QCOMPARE(pages->tabText(2), QStringLiteral("Liste de définitions"));
    const auto groups = m_dialog->findChildren<QGroupBox *>();
    QCOMPARE(groups.size(), 1);
    QCOMPARE(groups.first()->title(), QStringLiteral(" Eléments "));
    QVERIFY(groups.first()->isAncestorOf(edit("Editelt")));
    QCOMPARE(child<QCheckBox>(QStringLiteral("cbTri"))->text(),
             QStringLiteral("Trier les éléments par ordre alphabétique"));

    QStringList topics;
    setHelpHandler([&topics](const QString &t) { topics << t; });
    button("BoutAide")->click();
    setHelpHandler({});
    QCOMPARE(topics, QStringList{QStringLiteral("Ressources/liste.htm")});
}

void TestListesBoite::pictureButtonsOnePerPage() {
    const int pages[3][2] = {{1, 3}, {4, 8}, {9, 9}};
    for (int page = 0; page < 3; ++page) {
        m_dialog->setKind(ListKind(page));
        const auto [first, last] = pages[page];
        QCOMPARE(m_dialog->values().kind, ListKind(page));
        QCOMPARE(m_dialog->values().button, first);
        for (int b = last; b >= first; --b) {
            QVERIFY(!tool(QStringLiteral("BoutType%1").arg(b))->icon().isNull());
            tool(QStringLiteral("BoutType%1").arg(b))->click();
            QCOMPARE(m_dialog->values().button, b);
            for (int other = first; other <= last; ++other)
                QCOMPARE(tool(QStringLiteral("BoutType%1").arg(other))->isChecked(), other == b);
        }
    }
    // Each page keeps its own choice.
    QVERIFY(tool(QStringLiteral("BoutType1"))->isChecked());
    QVERIFY(tool(QStringLiteral("BoutType4"))->isChecked());
}

void TestListesBoite::addDeleteMove() {
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    auto *addButton = button("BoutAjouter");
    QCOMPARE(addButton->text(), QStringLiteral("Ajouter"));
    QVERIFY(addButton->isDefault());
    QVERIFY(!addButton->isEnabled());
    add(QStringLiteral("a"));
    QVERIFY(edit("Editelt")->text().isEmpty());
    QVERIFY(!addButton->isEnabled());
    // Enter in the entry presses the default button, and does nothing when it is empty.
    edit("Editelt")->setText(QStringLiteral("b"));
    QTest::keyClick(edit("Editelt"), Qt::Key_Return);
    QTest::keyClick(edit("Editelt"), Qt::Key_Return);
    QVERIFY(m_dialog->isVisible());
    add(QStringLiteral("c"));
    QCOMPARE(m_dialog->items(), (QStringList{"a", "b", "c"}));
    QCOMPARE(edit("Editlignes")->text(), QStringLiteral("3"));

    auto *up = tool(QStringLiteral("BoutHaut"));
    auto *down = tool(QStringLiteral("BoutBas"));
    auto *del = button("BoutSuppr");
    QVERIFY(!up->isEnabled() && !down->isEnabled() && !del->isEnabled());
    list()->setCurrentRow(0);
    QVERIFY(!up->isEnabled() && down->isEnabled() && del->isEnabled());
    list()->setCurrentRow(2);
    QVERIFY(up->isEnabled() && !down->isEnabled());

    child<QCheckBox>(QStringLiteral("cbTri"))->setChecked(true);
    up->click();
    QCOMPARE(m_dialog->items(), (QStringList{"a", "c", "b"}));
    QCOMPARE(list()->currentRow(), 1);
    QVERIFY(!child<QCheckBox>(QStringLiteral("cbTri"))->isChecked()); // moving ends sorting
    up->click();
    QVERIFY(!up->isEnabled());
    down->click();
    down->click();
    QCOMPARE(m_dialog->items(), (QStringList{"a", "b", "c"}));

    list()->setCurrentRow(1);
    del->click();
    QCOMPARE(m_dialog->items(), (QStringList{"a", "c"}));
    QCOMPARE(edit("Editlignes")->text(), QStringLiteral("2"));
    QVERIFY(!del->isEnabled());
}

void TestListesBoite::editMode() {
    m_dialog->setItems({QStringLiteral("un"), QStringLiteral("deux")});
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    auto *editButton = button("BoutEdit");
    QVERIFY(!editButton->isEnabled());
    list()->setCurrentRow(0);
    editButton->click();
    QCOMPARE(edit("Editelt")->text(), QStringLiteral("un"));
    QCOMPARE(button("BoutAjouter")->text(), QStringLiteral("Modifier"));
    add(QStringLiteral("premier"));
    QCOMPARE(m_dialog->items(), (QStringList{"premier", "deux"}));

    list()->setCurrentRow(1); // another item is loaded while editing
    QCOMPARE(edit("Editelt")->text(), QStringLiteral("deux"));
    editButton->click();
    QVERIFY(edit("Editelt")->text().isEmpty());
    QCOMPARE(button("BoutAjouter")->text(), QStringLiteral("Ajouter"));

    // A double click puts the button down on that item.
    const QRect rect = list()->visualItemRect(list()->item(0));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
    QVERIFY(editButton->isChecked());
    QCOMPARE(edit("Editelt")->text(), QStringLiteral("premier"));

    // Deleting the edited item ends edit mode.
    button("BoutSuppr")->click();
    QVERIFY(!editButton->isChecked());
    QCOMPARE(button("BoutAjouter")->text(), QStringLiteral("Ajouter"));
}

void TestListesBoite::sortingAndShowHandler() {
    auto *sort = child<QCheckBox>(QStringLiteral("cbTri"));
    m_dialog->setItems({"fraise", "éclair", "Abricot", "doux", "banane"});
    list()->setCurrentRow(0);
    sort->setChecked(true);
    QCOMPARE(m_dialog->items(), (QStringList{"Abricot", "banane", "doux", "éclair", "fraise"}));
    QCOMPARE(list()->currentItem()->text(), QStringLiteral("fraise"));
    add(QStringLiteral("cerise"));
    QCOMPARE(m_dialog->items().indexOf(QStringLiteral("cerise")), 2);
    list()->setCurrentRow(0);
    button("BoutEdit")->click();
    add(QStringLiteral("zeste")); // a modified item moves to its place
    QCOMPARE(m_dialog->items().last(), QStringLiteral("zeste"));
    QCOMPARE(list()->currentItem()->text(), QStringLiteral("zeste"));

    // The kept dialog shown again: entry emptied, edit mode off, still sorted, count set.
    m_dialog->setKind(ListKind::Definitions);
    m_dialog->setItems({"z", "y", "x"});
    edit("Editelt")->setText(QStringLiteral("reste"));
    edit("Editlignes")->setText(QStringLiteral("7"));
    m_dialog->show();
    QVERIFY(edit("Editelt")->text().isEmpty());
    QVERIFY(!button("BoutEdit")->isChecked());
    QCOMPARE(m_dialog->items(), (QStringList{"x", "y", "z"}));
    QCOMPARE(edit("Editlignes")->text(), QStringLiteral("3"));
    QCOMPARE(child<QTabWidget>(QStringLiteral("PCListe"))->currentIndex(), 2);
}

void TestListesBoite::countField() {
    auto *count = edit("Editlignes");
    QCOMPARE(count->text(), QStringLiteral("0"));
    count->clear();
    QTest::keyClicks(count, QStringLiteral("1a-2 345"));
    QCOMPARE(count->text(), QStringLiteral("1234")); // digits only, four at most
    QTest::keyClick(count, Qt::Key_Backspace);
    QCOMPARE(count->text(), QStringLiteral("123"));

    auto *upDown = child<QWidget>(QStringLiteral("UpDownLignes"));
    count->setText(QStringLiteral("9999"));
    upDown->findChild<QToolButton *>(QStringLiteral("Up"))->click();
    QCOMPARE(count->text(), QStringLiteral("9999"));
    QTest::keyClick(count, Qt::Key_Down);
    QCOMPARE(count->text(), QStringLiteral("9998"));
}

void TestListesBoite::okReturnsValues() {
    m_dialog->setKind(ListKind::Ordered);
    tool(QStringLiteral("BoutType5"))->click();
    m_dialog->setItems({QStringLiteral("Pommes"), QStringLiteral("Poires")});
    m_dialog->show();
    edit("Editlignes")->setText(QStringLiteral("5"));
    button("BoutOK")->click();
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QVERIFY(!m_dialog->isVisible());
    const Authoring::ListValues v = m_dialog->values();
    QCOMPARE(v.kind, ListKind::Ordered);
    QCOMPARE(v.button, 5);
    QCOMPARE(v.items, (QStringList{"Pommes", "Poires"}));
    QCOMPARE(v.itemCountText, QStringLiteral("5"));

    m_dialog->show();
    button("BoutAnnuler")->click();
    QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestListesBoite)
#include "tst_listes_boite.moc"
