// Outside changes to open documents: each question's road through a real window.
#include "app/outside_changes.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "app/ui/outside_change_check.h"
#include "test_support.h"
#include "ui_test_support.h"

#include <QDialog>
#include <QFile>
#include <QTest>
#include <QTimer>

using namespace TestSupport;

class TstOutsideChangesUi : public QObject {
    Q_OBJECT
private slots:
    void changedQuestion_data();
    void changedQuestion();
    void reloadIsOneUndoStep();
    void olderVersionRestoredIsNoticed();
    void vanishedQuestion_data();
    void vanishedQuestion();
    void closingTheLastTabLeavesAnUntitledOne();
    void watcherAsksWithoutBeingCalled();
    void waitsForModalWindowAndTransfer();
    void notCheckedDocuments();
    void optionOffChecksNothing();
    void failedReloadKeepsText();

private:
    static DocumentManager *docs(MainFormFixture &f) { return f.form->documents(); }
    static TMyMwCustomEdit *active(MainFormFixture &f) { return docs(f)->ActiveEditor(); }
    static void check(MainFormFixture &f) { f.form->outsideChanges()->CheckDocumentsOnDisk(); }
    static QString text(TMyMwCustomEdit *e) {
        return QString::fromUtf8(e->utf8Data(), e->utf8Length());
    }
    // Writes the file anew with a different time, as another program would.
    static void changeOnDisk(const QString &p, const QByteArray &bytes, int secs = 5) {
        writeAll(p, bytes);
        QFile f(p);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(secs),
                              QFileDevice::FileModificationTime));
    }
};

void TstOutsideChangesUi::changedQuestion_data() {
    QTest::addColumn<bool>("modifiedBefore");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<bool>("modifiedAfter");
    QTest::newRow("unmodified, Oui reloads") << false << int(MsgAnswer::Yes) << "dehors\r\n"
                                             << false;
    QTest::newRow("unmodified, Non keeps and marks modified")
        << false << int(MsgAnswer::No) << "dedans\r\n"
        << true;
    QTest::newRow("modified, Oui reloads") << true << int(MsgAnswer::Yes) << "dehors\r\n" << false;
    QTest::newRow("modified, Non keeps") << true << int(MsgAnswer::No) << "Xdedans\r\n" << true;
}

void TstOutsideChangesUi::changedQuestion() {
    QFETCH(bool, modifiedBefore);
    QFETCH(int, answer);
    QFETCH(QString, textAfter);
    QFETCH(bool, modifiedAfter);
    MainFormFixture f;
    const QString p = f.writeFile("a.htm", "dedans\r\n");
    docs(f)->OpenDocument(p, false);
    TMyMwCustomEdit *e = active(f);
    if (modifiedBefore) QTest::keyClicks(e, "X");
    changeOnDisk(p, "dehors\r\n");
    f.ui.answers = {MsgAnswer(answer)};
    const int before = f.ui.messages.size();
    check(f);
    QCOMPARE(f.ui.messages.size(), before + 1);
    QCOMPARE(f.ui.messages.last().buttons, MsgButtons::YesNo);
    QCOMPARE(f.ui.lastMessage(), OutsideTexts::changedQuestion(p, modifiedBefore));
    QCOMPARE(text(e), textAfter);
    QCOMPARE(e->isModified(), modifiedAfter);
    // Asked once: the question comes again only after a further change.
    check(f);
    QCOMPARE(f.ui.messages.size(), before + 1);
    changeOnDisk(p, "encore\r\n", 9);
    f.ui.answers = {MsgAnswer::No};
    check(f);
    QCOMPARE(f.ui.messages.size(), before + 2);
}

void TstOutsideChangesUi::reloadIsOneUndoStep() {
    MainFormFixture f;
    // A Windows-1252 file with CR breaks, reloaded as UTF-8 with LF breaks.
    const QString p = f.writeFile("b.htm", "caf\xe9\rdeux\r");
    docs(f)->OpenDocument(p, false);
    TMyMwCustomEdit *e = active(f);
    QTest::keyClicks(e, "ab");
    const QString typed = text(e);
    changeOnDisk(p, "nouveau \xe2\x82\xac\nfin\n");
    f.ui.answers = {MsgAnswer::Yes};
    check(f);
    QCOMPARE(text(e), QString::fromUtf8("nouveau €\nfin\n"));
    QCOMPARE(e->encoding, TextEncoding::Utf8);
    QCOMPARE(e->lineBreak, LineBreak::Lf);
    QVERIFY(!e->isModified());
    // Ctrl+Z brings back what was in the editor, in one step.
    QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(text(e), typed);
    QVERIFY(e->isModified());
    QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(text(e), QString::fromUtf8("nouveau €\nfin\n"));
}

void TstOutsideChangesUi::olderVersionRestoredIsNoticed() {
    MainFormFixture f;
    const QString p = f.writeFile("c.htm", "version 2\r\n");
    docs(f)->OpenDocument(p, false);
    // Another program puts back the old version with its old date, same size.
    changeOnDisk(p, "version 1\r\n", -3600 * 24 * 30);
    f.ui.answers = {MsgAnswer::Yes};
    check(f);
    QCOMPARE(f.ui.lastMessage(), OutsideTexts::changedQuestion(p, false));
    QCOMPARE(text(active(f)), QStringLiteral("version 1\r\n"));
}

void TstOutsideChangesUi::vanishedQuestion_data() {
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("closed");
    const int yes = int(MsgAnswer::Yes), no = int(MsgAnswer::No), cancel = int(MsgAnswer::Cancel);
    QTest::newRow("Oui keeps it untitled") << false << QList<int>{yes} << 1 << false;
    QTest::newRow("Annuler keeps it untitled") << false << QList<int>{cancel} << 1 << false;
    QTest::newRow("Non closes an unmodified one") << false << QList<int>{no} << 1 << true;
    QTest::newRow("Non on unsaved changes warns; Non keeps")
        << true << QList<int>{no, no} << 2 << false;
    QTest::newRow("Non on unsaved changes warns; Oui closes")
        << true << QList<int>{no, yes} << 2 << true;
}

void TstOutsideChangesUi::vanishedQuestion() {
    QFETCH(bool, modified);
    QFETCH(QList<int>, answers);
    QFETCH(int, questions);
    QFETCH(bool, closed);
    MainFormFixture f;
    f.options.multiDoc = true;
    const QString keep = f.writeFile("keep.htm", "reste\r\n");
    const QString p = f.writeFile("gone.htm", "texte\r\n");
    docs(f)->OpenDocument(keep, false);
    docs(f)->OpenDocument(p, false);
    TMyMwCustomEdit *e = active(f);
    if (modified) QTest::keyClicks(e, "Z");
    QVERIFY(QFile::remove(p));
    for (int a : answers)
        f.ui.answers << MsgAnswer(a);
    const int before = f.ui.messages.size();
    check(f);
    QCOMPARE(f.ui.messages.size(), before + questions);
    QCOMPARE(f.ui.messages[before].text, OutsideTexts::vanishedQuestion(p));
    QCOMPARE(f.ui.messages[before].buttons, MsgButtons::YesNoCancel);
    if (questions > 1)
        QCOMPARE(f.ui.messages[before + 1].text, OutsideTexts::vanishedLossWarning(p));
    QCOMPARE(docs(f)->indexOf(e) < 0, closed);
    QCOMPARE(docs(f)->EditorCount(), closed ? 1 : 2);
    if (!closed) {
        QVERIFY(e->fileName.isEmpty());
        QVERIFY(e->isModified());
        QCOMPARE(docs(f)->tabCaption(docs(f)->indexOf(e)), QStringLiteral("gone.htm"));
        // No longer checked: the question does not come back.
        check(f);
        QCOMPARE(f.ui.messages.size(), before + questions);
        // It saves through Save as.
        f.ui.saveAnswers = {f.path("ailleurs.htm")};
        docs(f)->ActivateTab(docs(f)->indexOf(e));
        QVERIFY(docs(f)->FileSave());
        QCOMPARE(readAll(f.path("ailleurs.htm")),
                 modified ? QByteArray("Ztexte\r\n") : QByteArray("texte\r\n"));
    }
}

void TstOutsideChangesUi::closingTheLastTabLeavesAnUntitledOne() {
    MainFormFixture f;
    const QString p = f.writeFile("seul.htm", "x\r\n");
    docs(f)->OpenDocument(p, false);
    QCOMPARE(docs(f)->EditorCount(), 1);
    QVERIFY(QFile::remove(p));
    f.ui.answers = {MsgAnswer::No};
    check(f);
    QCOMPARE(docs(f)->EditorCount(), 1);
    QVERIFY(active(f)->fileName.isEmpty());
    QVERIFY(docs(f)->tabCaption(0).startsWith(QStringLiteral("Sans Nom (")));
}

void TstOutsideChangesUi::watcherAsksWithoutBeingCalled() {
    MainFormFixture f;
    const QString p = f.writeFile("w.htm", "avant\r\n");
    docs(f)->OpenDocument(p, false);
    QTRY_VERIFY(f.form->outsideChanges()->installed());
    f.ui.answers = {MsgAnswer::Yes};
    const int before = f.ui.messages.size();
    QTest::qWait(50);
    changeOnDisk(p, "apres\r\n");
    QTRY_COMPARE(f.ui.messages.size(), before + 1);
    QCOMPARE(text(active(f)), QStringLiteral("apres\r\n"));
}

void TstOutsideChangesUi::waitsForModalWindowAndTransfer() {
    MainFormFixture f;
    const QString p = f.writeFile("m.htm", "un\r\n");
    docs(f)->OpenDocument(p, false);
    changeOnDisk(p, "deux\r\n");
    const int before = f.ui.messages.size();
    {
        auto transfer = std::make_unique<TransferGuard>();
        check(f);
        QCOMPARE(f.ui.messages.size(), before);
        QDialog modal(f.form.get());
        modal.setModal(true);
        modal.show();
        transfer.reset();
        QTRY_VERIFY(QApplication::activeModalWidget() == &modal);
        check(f);
        QTest::qWait(400);
        QCOMPARE(f.ui.messages.size(), before);
        f.ui.answers = {MsgAnswer::No};
    }
    // Once the dialog has gone, the check asks by itself.
    QTRY_COMPARE(f.ui.messages.size(), before + 1);
}

void TstOutsideChangesUi::notCheckedDocuments() {
    MainFormFixture f;
    f.options.multiDoc = true;
    const QString ftp = f.writeFile("ftp.htm", "a\r\n");
    docs(f)->OpenDocument(ftp, false);
    active(f)->documentKind = KindFtp;
    const QString tpl = f.writeFile("modele.htm", "b\r\n");
    docs(f)->OpenDocument(tpl, false);
    active(f)->documentKind = KindTemplate;
    QFile::remove(ftp);
    QFile::remove(tpl);
    f.ui.answers = {MsgAnswer::Yes};
    const int before = f.ui.messages.size();
    check(f);
    // Only the template is asked about.
    QCOMPARE(f.ui.messages.size(), before + 1);
    QCOMPARE(f.ui.lastMessage(), OutsideTexts::vanishedQuestion(tpl));
}

void TstOutsideChangesUi::optionOffChecksNothing() {
    MainFormFixture f({}, true, [](SettingsStore &s) {
        s.writeBool(QStringLiteral("Options"), QStringLiteral("DocExiste"), false);
    });
    const QString p = f.writeFile("o.htm", "a\r\n");
    docs(f)->OpenDocument(p, false);
    QTest::qWait(20);
    QVERIFY(!f.form->outsideChanges()->installed());
    QFile::remove(p);
    const int before = f.ui.messages.size();
    check(f);
    QTest::qWait(100);
    QCOMPARE(f.ui.messages.size(), before);
}

void TstOutsideChangesUi::failedReloadKeepsText() {
    MainFormFixture f;
    const QString p = f.writeFile("r.htm", "lisible\r\n");
    docs(f)->OpenDocument(p, false);
    QTest::keyClicks(active(f), "Q");
    changeOnDisk(p, "illisible\r\n");
    QFile::setPermissions(p, QFile::WriteOwner);
    if (QFile(p).open(QIODevice::ReadOnly))
        QSKIP("needs a plain user's rights: the administrator reads any file");
    f.ui.answers = {MsgAnswer::Yes};
    check(f);
    QCOMPARE(f.ui.lastMessage(), QStringLiteral("Impossible d'ouvrir le fichier %1").arg(p));
    QCOMPARE(text(active(f)), QStringLiteral("Qlisible\r\n"));
    QVERIFY(active(f)->isModified());
}

QTEST_MAIN(TstOutsideChangesUi)
#include "tst_outside_changes_ui.moc"
