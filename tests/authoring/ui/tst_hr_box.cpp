#include "authoring/ui/hr_box.h"

#include "app/ui/help.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace Authoring;

class TestHRBox : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void defaults();
    void exampleThroughControls();
    void ranges();
    void showingResets();
    void buttons();

private:
    template <typename T> T *child(const char *name) {
        T *w = m_dialog->findChild<T *>(QLatin1String(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }
    QLineEdit *edit(const char *name) { return child<QLineEdit>(name); }
    QCheckBox *check(const char *name) { return child<QCheckBox>(name); }
    QToolButton *arrow(const char *upDown, const char *which) {
        return child<QWidget>(upDown)->findChild<QToolButton *>(QLatin1String(which));
    }
    QString markup(bool xhtml = false) { return BuildRuleMarkup(m_dialog->values(), xhtml); }

    THRBox *m_dialog = nullptr;
    QColor m_pickerInitial;
    std::optional<QColor> m_pickerAnswer;
};

void TestHRBox::init() {
    m_dialog = new THRBox;
    m_pickerAnswer = QColor(255, 0, 0);
    m_dialog->setColourPicker([this](const QColor &initial) {
        m_pickerInitial = initial;
        return m_pickerAnswer;
    });
    m_dialog->show();
}

void TestHRBox::cleanup() {
    delete m_dialog;
    m_dialog = nullptr;
}

void TestHRBox::defaults() {
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Ligne horizontale"));
    const auto groups = m_dialog->findChildren<QGroupBox *>();
    QCOMPARE(groups.size(), 1);
    QCOMPARE(groups.first()->title(), QStringLiteral(" Alignement "));
    QVERIFY(child<QRadioButton>("RadioCentre")->isChecked());
    QCOMPARE(child<QRadioButton>("RadioGauche")->text(), QStringLiteral("à gauche"));
    QCOMPARE(check("CB3D")->text(), QStringLiteral("effet 3D"));
    QCOMPARE(child<QLabel>("LabelPixels")->text(), QStringLiteral("pixels"));
    QCOMPARE(markup(), QStringLiteral("<hr>"));
    QCOMPARE(markup(true), QStringLiteral("<hr />"));
}

void TestHRBox::exampleThroughControls() {
    edit("EditWidth")->clear();
    QTest::keyClicks(edit("EditWidth"), QStringLiteral("5x0 %")); // digits only
    QCOMPARE(edit("EditWidth")->text(), QStringLiteral("50"));
    check("PourcLarg")->click();
    edit("EditEpaisseur")->clear();
    QTest::keyClicks(edit("EditEpaisseur"), QStringLiteral("1"));
    QCOMPARE(child<QLabel>("LabelPixels")->text(), QStringLiteral("pixel"));
    child<QRadioButton>("RadioDroite")->click();
    child<QToolButton>("BoutCouleur1")->click();
    QCOMPARE(edit("EditColor")->text(), QStringLiteral("#FF0000"));
    QVERIFY(!child<QToolButton>("BoutCouleur1")->icon().isNull());
    check("CB3D")->click();
    QCOMPARE(
        markup(),
        QStringLiteral("<hr width=\"50\" size=\"1\" align=\"right\" color=\"#FF0000\" noshade>"));

    // The picker starts from the field's colour and writes upper-case hex digits.
    m_pickerAnswer = QColor(0x0a, 0xbc, 0xde);
    child<QToolButton>("BoutCouleur1")->click();
    QCOMPARE(m_pickerInitial, QColor(255, 0, 0));
    QCOMPARE(edit("EditColor")->text(), QStringLiteral("#0ABCDE"));
    m_pickerAnswer.reset(); // cancelled: the field keeps its text
    child<QToolButton>("BoutCouleur1")->click();
    QCOMPARE(edit("EditColor")->text(), QStringLiteral("#0ABCDE"));

    // An emptied field reaches the command, which reports it.
    edit("EditWidth")->clear();
    QString error;
    QCOMPARE(BuildRuleMarkup(m_dialog->values(), false, &error), QString());
    QCOMPARE(error, QStringLiteral("'' n'est pas une valeur entière correcte"));
}

void TestHRBox::ranges() {
    auto *width = edit("EditWidth");
    arrow("UpDownWidth", "Up")->click();
    QCOMPARE(width->text(), QStringLiteral("100"));
    check("PourcLarg")->setChecked(false);
    arrow("UpDownWidth", "Up")->click();
    QCOMPARE(width->text(), QStringLiteral("101"));
    width->setText(QStringLiteral("500"));
    check("PourcLarg")->setChecked(true); // a percentage cannot stay above 100
    QCOMPARE(width->text(), QStringLiteral("100"));

    auto *thickness = edit("EditEpaisseur");
    arrow("UpDownEpaisseur", "Down")->click();
    arrow("UpDownEpaisseur", "Down")->click();
    QCOMPARE(thickness->text(), QStringLiteral("1"));
    thickness->setText(QStringLiteral("10"));
    arrow("UpDownEpaisseur", "Up")->click();
    QCOMPARE(thickness->text(), QStringLiteral("10"));
    QCOMPARE(child<QLabel>("LabelPixels")->text(), QStringLiteral("pixels"));
    thickness->clear(); // an emptied field steps to the bottom of the range
    arrow("UpDownEpaisseur", "Up")->click();
    QCOMPARE(thickness->text(), QStringLiteral("1"));
}

void TestHRBox::showingResets() {
    edit("EditWidth")->setText(QStringLiteral("30"));
    check("PourcLarg")->setChecked(false);
    edit("EditEpaisseur")->setText(QStringLiteral("5"));
    edit("EditColor")->setText(QStringLiteral("#00FF00"));
    m_dialog->hide();
    m_dialog->show();
    QCOMPARE(edit("EditWidth")->text(), QStringLiteral("100"));
    QVERIFY(check("PourcLarg")->isChecked());
    QCOMPARE(edit("EditEpaisseur")->text(), QStringLiteral("2"));
    QVERIFY(edit("EditColor")->text().isEmpty());
    QVERIFY(child<QToolButton>("BoutCouleur1")->icon().isNull());
}

void TestHRBox::buttons() {
    QStringList topics;
    setHelpHandler([&topics](const QString &t) { topics << t; });
    child<QPushButton>("BoutAide")->click();
    setHelpHandler({});
    QCOMPARE(topics, QStringList{QStringLiteral("Ressources/ligne_horizontale.htm")});
    QVERIFY(m_dialog->isVisible());
    QTest::keyClick(edit("EditWidth"), Qt::Key_Return); // OK is the default button
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    m_dialog->show();
    child<QPushButton>("BoutAnnuler")->click();
    QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestHRBox)
#include "tst_hr_box.moc"
