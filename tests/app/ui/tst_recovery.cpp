// The crash-recovery journal through a real window, and a real crash: the program
// in a child process, killed, then started again.
#include "app/recovery_journal.h"
#include "shell/ui/app_main.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "app/ui/recovery_box.h"
#include "app/ui/recovery_keeper.h"
#include "test_support.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QKeyEvent>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <csignal>
#include <cstdio>

using namespace TestSupport;

namespace {
QStringList journalFiles(const QString &root) {
    QStringList out;
    QDirIterator it(root, {QStringLiteral("*.bjr")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << it.next();
    return out;
}

// The bytes the child types into each document, and what the saved files must hold.
const QByteArray kCp1252File("ligne un\rligne deux\r");
const QString kTypedInFile = QString::fromUtf8("Ajouté ");
const QByteArray kExpectedFile("Ajout\xe9 ligne un\rligne deux\r");
const QString kTypedUntitled = QString::fromUtf8("Café crème, brouillon");
const QByteArray kExpectedUntitled("Caf\xe9 cr\xe8me, brouillon\r\n");

// Typing as the keyboard does it, accented letters included.
void type(QWidget *w, const QString &text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QApplication::sendEvent(w, &release);
    }
}

// The child: the program itself, driven through its start hook.
int childMain(int argc, char *argv[], const QString &mode, const QString &saveAs) {
    ScriptedUi ui;
    ui.onDialog = [](QDialog *d) { return qobject_cast<TRecuperationBox *>(d) != nullptr; };
    ui.saveAnswers = {saveAs};
    return runBalizor(argc, argv, [mode](TMainForm &form) {
        QTimer::singleShot(300, &form, [mode, &form] {
            DocumentManager *docs = form.documents();
            if (mode == QLatin1String("restore")) {
                for (int i = 0; i < docs->EditorCount(); ++i) {
                    docs->ActivateTab(i);
                    docs->FileSave();
                }
                std::printf("SAVED %d\n", int(docs->EditorCount()));
                std::fflush(stdout);
                QTimer::singleShot(0, &form, [&form] { form.close(); });
                return;
            }
            // The file from the command line, then a new untitled document.
            TMyMwCustomEdit *file = docs->ActiveEditor();
            file->setFocus();
            type(file, kTypedInFile);
            if (mode == QLatin1String("crash")) {
                docs->FileNew();
                type(docs->ActiveEditor(), kTypedUntitled);
            }
            const int want = mode == QLatin1String("crash") ? 2 : 0;
            auto *poll = new QTimer(&form);
            QObject::connect(poll, &QTimer::timeout, &form, [poll, want, &form] {
                if (journalFiles(form.recovery()->root()).size() < want) return;
                poll->stop();
                std::printf("READY\n");
                std::fflush(stdout);
            });
            poll->start(50);
        });
    });
}
} // namespace

class TstRecovery : public QObject {
    Q_OBJECT
private slots:
    void modifiedDocumentsAreJournaled();
    void saveCloseAndExitRemoveTheJournal();
    void largeTextIsJournaledWhole();
    void recoveryDialogRestoresChosenOnes_data();
    void recoveryDialogRestoresChosenOnes();
    void killedProgramIsRestoredByteForByte();
    void endOfSessionJournalsAndEnds();

private:
    static DocumentManager *docs(MainFormFixture &f) { return f.form->documents(); }
    static QProcess *startChild(const QString &home, const QString &mode, const QStringList &args,
                                const QString &saveAs = {});
};

QProcess *TstRecovery::startChild(const QString &home, const QString &mode, const QStringList &args,
                                  const QString &saveAs) {
    auto *p = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("XDG_DATA_HOME", home + "/data");
    env.insert("XDG_RUNTIME_DIR", home + "/run");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("BALIZOR_TEST_CHILD", mode);
    env.insert("BALIZOR_TEST_SAVE_AS", saveAs);
    QDir().mkpath(home + "/run");
    QFile::setPermissions(home + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(QCoreApplication::applicationFilePath(), QStringList{"-N"} + args);
    return p;
}

void TstRecovery::modifiedDocumentsAreJournaled() {
    MainFormFixture f;
    RecoveryKeeper *k = f.form->recovery();
    QVERIFY(!k->sessionFolder().isEmpty());
    TMyMwCustomEdit *e = docs(f)->ActiveEditor();
    QTest::keyClicks(e, "abc");
    // Nothing during typing: the write waits for a pause.
    k->flush();
    QVERIFY(journalFiles(k->root()).isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(journalFiles(k->root()).size(), 1, 5000);
    k->flush();
    JournalEntry j;
    QVERIFY(Journal::parse(readAll(journalFiles(k->root()).first()), &j));
    QCOMPARE(j.text, QByteArray("abc"));
    QCOMPARE(j.caption, QStringLiteral("Sans Nom (1)"));
    QCOMPARE(j.caretCol, 4);
    // Typing on in a document already journaled writes it again.
    QTest::keyClicks(e, "de");
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            k->flush();
            const QStringList files = journalFiles(k->root());
            return files.size() == 1 && Journal::parse(readAll(files.first()), &j) &&
                   j.text == "abcde";
        }(),
        5000);
    // Undone back to the unmodified text: nothing left to recover.
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!e->isModified());
    k->flush();
    QVERIFY(journalFiles(k->root()).isEmpty());
}

void TstRecovery::saveCloseAndExitRemoveTheJournal() {
    MainFormFixture f;
    f.options.multiDoc = true;
    RecoveryKeeper *k = f.form->recovery();
    const QString a = f.writeFile("a.htm", "a\r\n");
    const QString b = f.writeFile("b.htm", "b\r\n");
    const QString c = f.writeFile("c.htm", "c\r\n");
    for (const QString &p : {a, b, c}) {
        docs(f)->OpenDocument(p, false);
        QTest::keyClicks(docs(f)->ActiveEditor(), "x");
    }
    k->journalAllNow();
    QCOMPARE(journalFiles(k->root()).size(), 3);
    QVERIFY(docs(f)->FileSave()); // c saved
    k->flush();
    QCOMPARE(journalFiles(k->root()).size(), 2);
    f.ui.answers = {MsgAnswer::No}; // b closed without saving
    docs(f)->ActivateTab(1);
    docs(f)->FileClose();
    k->flush();
    QCOMPARE(journalFiles(k->root()).size(), 1);
    f.ui.answers = {MsgAnswer::No};
    QVERIFY(f.form->close()); // a given up on the way out
    QVERIFY(journalFiles(k->root()).isEmpty());
    QVERIFY(QDir(k->root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

void TstRecovery::largeTextIsJournaledWhole()
{
    // Over two slices on each side of the component's gap: the copy taken in
    // turns must still be the text, byte for byte.
    MainFormFixture f;
    QByteArray big;
    while (big.size() < 9 * 1024 * 1024)
        big += "<p>\xc9t\xe9 \xe0 la plage, ligne longue de texte.</p>\r\n";
    const QString p = f.writeFile("gros.htm", big);
    f.form->documents()->OpenDocument(p, false);
    TMyMwCustomEdit *e = f.form->documents()->ActiveEditor();
    e->setCaretXY({3, e->lineCountAsList() / 3});
    QTest::keyClicks(e, "xyz");
    RecoveryKeeper *k = f.form->recovery();
    QTRY_COMPARE_WITH_TIMEOUT(journalFiles(k->root()).size(), 1, 15000);
    k->flush();
    JournalEntry j;
    QVERIFY(Journal::parse(readAll(journalFiles(k->root()).first()), &j));
    QCOMPARE(j.text.size(), e->utf8Length());
    QVERIFY(j.text == e->utf8Copy());
    QCOMPARE(j.encoding, TextEncoding::Windows1252);
    QCOMPARE(j.fileName, p);
}

void TstRecovery::recoveryDialogRestoresChosenOnes_data() {
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("deleteDeclined");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("left"); // entries still offered next time
    QTest::newRow("restore the first, keep the other") << true << false << 1 << 1;
    QTest::newRow("restore the first, delete the other") << true << true << 1 << 0;
    QTest::newRow("later: nothing restored, nothing deleted") << false << false << 0 << 2;
}

void TstRecovery::recoveryDialogRestoresChosenOnes() {
    QFETCH(bool, accept);
    QFETCH(bool, deleteDeclined);
    QFETCH(int, tabs);
    QFETCH(int, left);
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    const QString root = RecoveryKeeper::defaultRoot();
    QVERIFY(root.startsWith(home.path()));
    const QString file = home.filePath("page.htm");
    writeAll(file, "ancien\r");
    {
        auto gone = JournalSession::create(root);
        JournalEntry e;
        e.text = "texte r\xc3\xa9"
                 "cup\xc3\xa9r\xc3\xa9\rsuite\r";
        e.fileName = file;
        e.caption = "page.htm";
        e.encoding = TextEncoding::Windows1252;
        e.lineBreak = LineBreak::Cr;
        e.caretLine = 2;
        e.caretCol = 3;
        e.written = QDateTime::currentDateTimeUtc();
        QVERIFY(gone->write(1, e));
        JournalEntry u;
        u.text = "brouillon";
        u.caption = "Sans Nom (4)";
        QVERIFY(gone->write(2, u));
    }
    ScriptedUi ui;
    QStringList listed;
    ui.onDialog = [&](QDialog *d) {
        auto *list = d->findChild<QTreeWidget *>("ListeDocuments");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            listed << list->topLevelItem(i)->text(0) + "|" + list->topLevelItem(i)->text(2);
        list->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        d->findChild<QCheckBox *>("cbSupprimer")->setChecked(deleteDeclined);
        return accept;
    };
    SettingsStore store(home.filePath("s.ini"));
    Options options;
    readStartupOptions(store, options);
    {
        TMainForm form(&store, &options, {});
        QCOMPARE(form.recovery()->root(), root);
        form.show();
        QTRY_COMPARE(ui.dialogsShown.size(), 1);
        QCOMPARE(listed, QStringList({QDir::toNativeSeparators(file) + "|24 octets",
                                      "Sans Nom (4)|9 octets"}));
        DocumentManager *d = form.documents();
        QCOMPARE(d->EditorCount(), 1);
        TMyMwCustomEdit *e = d->ActiveEditor();
        if (tabs == 1) {
            QCOMPARE(e->fileName, file);
            QVERIFY(e->isModified());
            QCOMPARE(d->tabCaption(0), QStringLiteral("page.htm"));
            QCOMPARE(e->caretXY(), (TextPos{3, 2}));
            QVERIFY(d->FileSave());
            QCOMPARE(readAll(file), QByteArray("texte r\xe9"
                                               "cup\xe9r\xe9\rsuite\r"));
        } else {
            QVERIFY(e->fileName.isEmpty());
            QVERIFY(!e->isModified());
        }
        form.recovery()->flush();
        // Restored ones now live in this run's journal only.
        int offered = 0;
        for (const QString &j : journalFiles(root))
            if (!j.startsWith(form.recovery()->sessionFolder())) ++offered;
        QCOMPARE(offered, left);
        form.setAttribute(Qt::WA_DeleteOnClose, false);
    }
}

void TstRecovery::killedProgramIsRestoredByteForByte() {
    QTemporaryDir home;
    const QString file = home.filePath("ancien.htm");
    writeAll(file, kCp1252File);
    const QString untitledOut = home.filePath("sans_nom.htm");

    std::unique_ptr<QProcess> first(startChild(home.path(), "crash", {file}));
    QVERIFY(first->waitForStarted());
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT((out += first->readAllStandardOutput()).contains("READY"), 20000);
    ::kill(first->processId(), SIGKILL);
    QVERIFY(first->waitForFinished());
    QCOMPARE(first->exitStatus(), QProcess::CrashExit);
    QCOMPARE(readAll(file), kCp1252File); // the file itself was never touched

    std::unique_ptr<QProcess> second(startChild(home.path(), "restore", {}, untitledOut));
    QVERIFY(second->waitForFinished(30000));
    const QByteArray said = second->readAllStandardOutput();
    QVERIFY2(said.contains("SAVED 2"), said.constData());
    QCOMPARE(readAll(file), kExpectedFile);
    QCOMPARE(readAll(untitledOut), kExpectedUntitled);
    // A clean end: nothing is offered again.
    QVERIFY(journalFiles(home.filePath("data")).isEmpty());
}

void TstRecovery::endOfSessionJournalsAndEnds() {
    QTemporaryDir home;
    const QString file = home.filePath("t.htm");
    writeAll(file, kCp1252File);
    std::unique_ptr<QProcess> p(startChild(home.path(), "term", {file}));
    QVERIFY(p->waitForStarted());
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT((out += p->readAllStandardOutput()).contains("READY"), 20000);
    ::kill(p->processId(), SIGTERM);
    QVERIFY(p->waitForFinished(5000));
    QCOMPARE(p->exitStatus(), QProcess::NormalExit);
    QCOMPARE(p->exitCode(), 0);
    const QStringList left = journalFiles(home.filePath("data"));
    QCOMPARE(left.size(), 1);
    JournalEntry j;
    QVERIFY(Journal::parse(readAll(left.first()), &j));
    QCOMPARE(j.fileName, file);
    QCOMPARE(j.text, (kTypedInFile + QStringLiteral("ligne un\rligne deux\r")).toUtf8());
    // The settings were kept: the recent-file list names the document.
    QDirIterator it(home.filePath("config"), {"*.ini", "*.conf"}, QDir::Files,
                    QDirIterator::Subdirectories);
    QVERIFY(it.hasNext());
    QVERIFY(readAll(it.next()).contains("t.htm"));
}

int main(int argc, char *argv[]) {
    const QString mode = qEnvironmentVariable("BALIZOR_TEST_CHILD");
    if (!mode.isEmpty())
        return childMain(argc, argv, mode, qEnvironmentVariable("BALIZOR_TEST_SAVE_AS"));
    QApplication app(argc, argv);
    TstRecovery t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_recovery.moc"
