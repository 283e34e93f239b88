#include "app/ui/action_registry.h"
#include "shell/ui/main_form.h"
#include "authoring/font_colour.h"
#include "authoring/ui/font_colour_module.h"
#include "authoring/ui/screen_picker.h"
#include "ui/ui_test_support.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

// The screen colour picker on a real X display, with known colours drawn on the
// screen. The rest of the suite runs offscreen, where there is no screen to read:
// ctest runs this one under its own Xvfb (QT_QPA_PLATFORM=xcb).
class TestScreenPicker : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void picksTheColourUnderThePress_data();
    void picksTheColourUnderThePress();
    void panelFollowsThePointer();
    void cancelPicksNothing();
    void noScreenSaysSo();
    void toolbarCommandShowsThePickedColour();

private:
    QWidget *m_target = nullptr;
};

namespace {

// Two known colours side by side at a known place.
QWidget *showTarget() {
    auto *w = new QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    w->setGeometry(100, 100, 400, 200);
    auto *left = new QLabel(w);
    left->setGeometry(0, 0, 200, 200);
    left->setAutoFillBackground(true);
    left->setStyleSheet(QStringLiteral("background:#3A7FC1"));
    auto *right = new QLabel(w);
    right->setGeometry(200, 0, 200, 200);
    right->setStyleSheet(QStringLiteral("background:#000000"));
    w->show();
    return w;
}

bool xDisplay() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace

void TestScreenPicker::initTestCase() {
#ifndef Q_OS_LINUX
    QSKIP("reads the screen through X, as Linux desktops give it");
#endif
    QVERIFY2(xDisplay(), "needs an X display: run it through ctest, or under xvfb-run with "
                         "QT_QPA_PLATFORM=xcb");
    m_target = showTarget();
    QVERIFY(QTest::qWaitForWindowExposed(m_target));
    QTest::qWait(300); // painted on the screen, not only in our buffers
}

void TestScreenPicker::picksTheColourUnderThePress_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("colour");
    QTest::newRow("blue") << QPoint(150, 150) << "#3A7FC1";
    // A black that is really on the screen is a colour like any other.
    QTest::newRow("real black") << QPoint(400, 150) << "#000000";
}

void TestScreenPicker::picksTheColourUnderThePress() {
    QFETCH(QPoint, at);
    QFETCH(QString, colour);
    ScriptedUi ui;
    QWidget owner;
    ScreenColourPicker picker(&owner);
    QList<QColor> picked;
    picker.start([&](const QColor &c) { picked << c; });
    QVERIFY2(ui.messages.isEmpty(), qPrintable(ui.lastMessage()));
    QPointer<TPipetteBox> box = picker.box();
    QVERIFY(box);
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QCOMPARE(box->panel()->size(), QSize(50, 50));
    QCOMPARE(box->panel()->toolTip(),
             QStringLiteral("Glisser-déplacer pour modifier l'emplacement de la palette"));
    QTest::mouseClick(box, Qt::LeftButton, {}, box->mapFromGlobal(at));
    QCOMPARE(picked.size(), 1);
    QCOMPARE(Authoring::ColourText(
                 {picked.first().red(), picked.first().green(), picked.first().blue()}),
             colour);
    QTRY_VERIFY(!box);
}

void TestScreenPicker::panelFollowsThePointer() {
    ScriptedUi ui;
    QWidget owner;
    ScreenColourPicker picker(&owner);
    picker.start([](const QColor &) {});
    QPointer<TPipetteBox> box = picker.box();
    QVERIFY(box);
    QCursor::setPos(160, 120);
    QTRY_COMPARE(box->panelColour(), QColor(0x3A, 0x7F, 0xC1));
    // The panel shows a still copy: the target going away changes nothing.
    m_target->hide();
    QTest::qWait(150);
    QCOMPARE(box->panelColour(), QColor(0x3A, 0x7F, 0xC1));
    m_target->show();
    box->close();
    QTest::qWait(300);
}

void TestScreenPicker::cancelPicksNothing() {
    ScriptedUi ui;
    QWidget owner;
    ScreenColourPicker picker(&owner);
    int picked = 0;
    picker.start([&](const QColor &) { ++picked; });
    QPointer<TPipetteBox> box = picker.box();
    QVERIFY(box);
    auto *cancel = box->findChild<QLabel *>(QStringLiteral("ImageAnnuler"));
    QVERIFY(cancel);
    QCOMPARE(cancel->toolTip(), QStringLiteral("Annuler la pipette"));
    QTest::mouseClick(cancel, Qt::LeftButton);
    QTRY_VERIFY(!box);
    QCOMPARE(picked, 0);
}

void TestScreenPicker::noScreenSaysSo() {
    // Whatever the desktop: a grab that gives nothing never becomes black.
    const Authoring::PickerEnvironment env = ScreenColourPicker::probe(QImage());
    QVERIFY(env.grabNull);
    QVERIFY(Authoring::ChoosePickerRoute(env) != Authoring::PickerRoute::Grab);
}

void TestScreenPicker::toolbarCommandShowsThePickedColour() {
    MainFormFixture fx;
    m_target->raise();
    QTest::qWait(300);
    fx.form->actions()->action(QStringLiteral("StylePipette"))->trigger();
    TPipetteBox *box = fx.form->findChild<FontColourModule *>()->picker()->box();
    QVERIFY(box);
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QTest::mouseClick(box, Qt::LeftButton, {}, box->mapFromGlobal(QPoint(120, 280)));
    auto *edit = fx.form->findChild<QLineEdit *>(QStringLiteral("ColorDropDownEdit"));
    QCOMPARE(edit->text(), QStringLiteral("#3A7FC1"));
}

QTEST_MAIN(TestScreenPicker)
#include "tst_screen_picker.moc"
