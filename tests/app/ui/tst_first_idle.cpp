// The work of the first idle moment waits for the window to be drawn: asking the
// clipboard (a round trip to its owner) and the state of every command.
#include "app/ui/action_registry.h"
#include "app/ui/app_context.h"
#include "app/ui/clipboard_state.h"
#include "app/ui/main_form.h"
#include "ui_test_support.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

class TstFirstIdle : public QObject {
    Q_OBJECT
private slots:
    void afterTheFirstExposure_data();
    void afterTheFirstExposure();
};

void TstFirstIdle::afterTheFirstExposure_data() {
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("pasteEnabled");
    // The first row runs while the clipboard has never been asked in this process.
    QTest::newRow("text on the clipboard at start") << QStringLiteral("<p>") << true;
    QTest::newRow("empty clipboard") << QString() << false;
}

void TstFirstIdle::afterTheFirstExposure() {
    QFETCH(QString, clipboard);
    QFETCH(bool, pasteEnabled);
    QGuiApplication::clipboard()->setText(clipboard);
    QCoreApplication::processEvents();
    MainFormFixture f({}, false);
    QSignalSpy idle(f.form->context().events, &AppEvents::firstIdle);
    QAction *paste = f.form->actions()->action(QStringLiteral("EditPaste1"));
    f.form->show();
    // Shown but not yet drawn: nothing of the first idle moment has run.
    QCOMPARE(idle.count(), 0);
    if (QTest::currentDataTag() == QLatin1String("text on the clipboard at start"))
        QVERIFY(!ClipboardState::hasText()); // not asked on the start road
    QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
    QTRY_COMPARE(idle.count(), 1);
    QCOMPARE(ClipboardState::hasText(), pasteEnabled);
    QCOMPARE(paste->isEnabled(), pasteEnabled);
    // Once only.
    f.form->hide();
    f.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
    QTest::qWait(20);
    QCOMPARE(idle.count(), 1);
}

QTEST_MAIN(TstFirstIdle)
#include "tst_first_idle.moc"
