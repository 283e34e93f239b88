// What the start road leaves out until the window is drawn: picture-format plugins
// (the toolbars' overflow buttons are drawn, not read from files), the libraries of
// features used later (transfers, networking, the secret service, printing), and the
// work of the first idle moment: asking the clipboard (a round trip to its owner) and
// the state of every command.
#include "app/ui/action_registry.h"
#include "app/ui/app_context.h"
#include "app/ui/clipboard_state.h"
#include "shell/ui/main_form.h"
#include "ui_test_support.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

class TstStartRoad : public QObject {
    Q_OBJECT
private slots:
    void noPicturePlugins();
    void noLibrariesOfLaterFeatures_data();
    void noLibrariesOfLaterFeatures();
    void afterTheFirstExposure_data();
    void afterTheFirstExposure();
};

namespace {
// Whether a library whose path holds this text is mapped into the process.
bool libraryLoaded(const QByteArray &name) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name);
}
} // namespace

// First in the process: nothing else has read a picture or asked the clipboard yet.
void TstStartRoad::noPicturePlugins() {
#ifdef Q_OS_LINUX
    QGuiApplication::clipboard()->setText(QStringLiteral("<p>"));
    QVERIFY(!libraryLoaded("/imageformats/"));
    MainFormFixture f({}, false);
    f.form->show();
    QVERIFY(!libraryLoaded("/imageformats/"));
    QVERIFY(!ClipboardState::hasText()); // not asked yet
#else
    QSKIP("reads the process's memory map");
#endif
}

void TstStartRoad::noLibrariesOfLaterFeatures_data() {
    QTest::addColumn<QByteArray>("library");
    QTest::newRow("file transfers") << QByteArray("/libcurl.so");
    QTest::newRow("networking") << QByteArray("/libQt6Network.so");
    QTest::newRow("secret service") << QByteArray("/libqt6keychain.so");
    QTest::newRow("printing system") << QByteArray("/printsupport/");
}

void TstStartRoad::noLibrariesOfLaterFeatures() {
#ifdef Q_OS_LINUX
    QFETCH(QByteArray, library);
    MainFormFixture f({}, false);
    f.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
    QVERIFY2(!libraryLoaded(library), library.constData());
#else
    QSKIP("reads the process's memory map");
#endif
}

void TstStartRoad::afterTheFirstExposure_data() {
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("pasteEnabled");
    QTest::newRow("text on the clipboard at start") << QStringLiteral("<p>") << true;
    QTest::newRow("empty clipboard") << QString() << false;
}

void TstStartRoad::afterTheFirstExposure() {
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

QTEST_MAIN(TstStartRoad)
#include "tst_start_road.moc"
