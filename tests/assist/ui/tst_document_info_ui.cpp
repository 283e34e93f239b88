// The document information dialog through a real window: what it shows, renaming
// and the read-only attribute.
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "assist/document_info.h"
#include "platform/file_attributes.h"
#include "test_support.h"
#include "ui_test_support.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

using namespace TestSupport;

class TstDocumentInfoUi : public QObject {
    Q_OBJECT
private slots:
    void untitledDocument();
    void documentWithFile();
    void rename_data();
    void rename();
    void ftpDocumentCannotBeRenamed();

private:
    struct Shown {
        QStringList edits;
        QList<bool> editable;
        QList<bool> checked, enabled;
    };
    static Shown run(MainFormFixture &f, const std::function<void(QDialog *)> &fill = {},
                     bool accept = false) {
        Shown s;
        f.ui.onDialog = [&](QDialog *d) {
            for (int i = 1; i <= 8; ++i) {
                auto *e = d->findChild<QLineEdit *>(QStringLiteral("Edit%1").arg(i));
                s.edits << e->text();
                s.editable << !e->isReadOnly();
            }
            for (const char *n : {"cbLectureSeule", "cbCache", "cbArchive"}) {
                auto *c = d->findChild<QCheckBox *>(n);
                s.checked << c->isChecked();
                s.enabled << c->isEnabled();
            }
            if (fill) fill(d);
            return accept;
        };
        f.form->actions()->action("OutilsInfos")->trigger();
        return s;
    }
};

void TstDocumentInfoUi::untitledDocument() {
    MainFormFixture f;
    QTest::keyClicks(f.form->documents()->ActiveEditor(), "abc");
    const Shown s = run(f);
    const QString n = InfoTexts::kNotSaved;
    QCOMPARE(s.edits, QStringList({n, n, "1", "3", "3 octets", n, n, n}));
    QCOMPARE(s.editable[0], false);
    QCOMPARE(s.checked, QList<bool>({false, false, false}));
    QCOMPARE(s.enabled, QList<bool>({false, false, false}));
}

void TstDocumentInfoUi::documentWithFile() {
    MainFormFixture f;
    QByteArray text;
    for (int i = 0; i < 1234; ++i)
        text += "ligne\r\n";
    const QString p = f.writeFile("page.htm", text);
    f.form->documents()->OpenDocument(p, false);
    const Shown s = run(f);
    QCOMPARE(s.edits[0], QStringLiteral("page.htm"));
    QCOMPARE(s.edits[1], QDir::toNativeSeparators(p));
    QCOMPARE(s.edits[2], QStringLiteral("1 234"));
    QCOMPARE(s.edits[3], QStringLiteral("6 170"));
    QCOMPARE(s.edits[4], QStringLiteral("8,43 Ko (8 636 octets)"));
    QVERIFY(!s.edits[6].isEmpty());
    QCOMPARE(s.editable[0], true);
    // Read-only can change; hidden and archive mean nothing here.
    QCOMPARE(s.enabled, QList<bool>({true, false, false}));
}

void TstDocumentInfoUi::rename_data() {
    QTest::addColumn<QString>("newName");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("finalName");
    QTest::addColumn<QString>("message");
    QTest::newRow("renamed") << "neuf.htm" << int(MsgAnswer::Yes) << "neuf.htm" << QString();
    // The old name's copy for the browsers is now the document itself: it stays.
    QTest::newRow("to its own copy's name")
        << "~$page.htm" << int(MsgAnswer::Yes) << "~$page.htm" << QString();
    QTest::newRow("not confirmed") << "neuf.htm" << int(MsgAnswer::No) << "page.htm" << QString();
    QTest::newRow("existing file kept")
        << "autre.htm" << int(MsgAnswer::Yes) << "page.htm" << InfoTexts::renameExists();
    QTest::newRow("folder in the name") << "../fuite.htm" << int(MsgAnswer::Yes) << "page.htm"
                                        << InfoTexts::renameBadName("../fuite.htm");
}

void TstDocumentInfoUi::rename() {
    QFETCH(QString, newName);
    QFETCH(int, answer);
    QFETCH(QString, finalName);
    QFETCH(QString, message);
    MainFormFixture f;
    const QString p = f.writeFile("page.htm", "page\r\n");
    f.writeFile("autre.htm", "autre\r\n");
    DocumentManager *d = f.form->documents();
    d->OpenDocument(p, true);
    f.ui.answers = {MsgAnswer(answer)};
    run(
        f,
        [&](QDialog *dlg) {
            dlg->findChild<QLineEdit *>("Edit1")->setText(newName);
            // The attribute change applies whatever becomes of the rename.
            dlg->findChild<QCheckBox *>("cbLectureSeule")->setChecked(true);
        },
        true);
    if (!message.isEmpty()) QCOMPARE(f.ui.lastMessage(), message);
    TMyMwCustomEdit *e = d->ActiveEditor();
    QCOMPARE(QFileInfo(e->fileName).fileName(), finalName);
    QCOMPARE(d->tabCaption(0), finalName);
    QVERIFY(QFileInfo::exists(e->fileName));
    QCOMPARE(readAll(e->fileName), QByteArray("page\r\n"));
    QCOMPARE(readAll(f.path("autre.htm")), QByteArray("autre\r\n"));
    QVERIFY(!(QFileInfo(e->fileName).permissions() & QFile::WriteOwner));
    QCOMPARE(d->recentFiles().items().first(), e->fileName);
    QCOMPARE(d->recentFiles().items().contains(p), finalName == "page.htm");
    // The renamed file is not taken for a deleted one.
    const int before = f.ui.messages.size();
    QTest::qWait(100);
    QCOMPARE(f.ui.messages.size(), before);
    setReadOnlyAttribute(e->fileName, false);
}

void TstDocumentInfoUi::ftpDocumentCannotBeRenamed() {
    MainFormFixture f;
    const QString p = f.writeFile("distant.htm", "x\r\n");
    f.form->documents()->OpenDocument(p, false);
    f.form->documents()->ActiveEditor()->documentKind = KindFtp;
    const Shown s = run(f);
    QCOMPARE(s.edits[0], QStringLiteral("distant.htm"));
    QCOMPARE(s.editable[0], false);
    QCOMPARE(s.enabled, QList<bool>({false, false, false}));
}

QTEST_MAIN(TstDocumentInfoUi)
#include "tst_document_info_ui.moc"
