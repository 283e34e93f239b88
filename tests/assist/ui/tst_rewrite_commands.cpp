#include "../../authoring/ui/editor_state.h"

#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "shell/ui/main_form.h"
#include "app/ui/main_status_bar.h"
#include "assist/ui/rewrite_commands.h"
#include "cli/batch_command.h"
#include "app/ui/help.h"
#include "ui/ui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

class TestRewriteCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void accentDialog_data();
    void accentDialog();
    void accentDialogCancelAndHelp();
    void accentsInEveryDocument();
    void convertWhileTyping_data();
    void convertWhileTyping();
    void typingInsideAScriptStaysText();
    void caseChanges_data();
    void caseChanges();
    void columnSelectionStaysWhole();
    void accentsOverAColumnSelection_data();
    void accentsOverAColumnSelection();
    void blockIndentKeys();
    void lineBreakStyle();
    void indenterGivesTheCommandLineBytes_data();
    void indenterGivesTheCommandLineBytes();
    void indenterStopsAndSaysWhere();
    void wholeDocumentProgress_data();
    void wholeDocumentProgress();

private:
    TMyMwCustomEdit *editor() { return f->form->documents()->ActiveEditor(); }
    QAction *action(const QString &name) { return f->form->actions()->action(name); }
    void update() { f->form->actions()->runUpdates(); }
    std::unique_ptr<MainFormFixture> f;
};

void TestRewriteCommands::init() {
    f = std::make_unique<MainFormFixture>();
    f->form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f->form.get()));
    editor()->setFocus();
}

void TestRewriteCommands::cleanup() {
    f.reset();
}

void TestRewriteCommands::accentDialog_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("selection, middle of lines") << "ModifierConversion" << true << "RadioDocSel"
                                                << "é{é\r\nà}à"
                                                << "é{&eacute;\r\n&agrave;}à";
    QTest::newRow("whole document, numeric") << "ModifierConversion" << false << "RadioDoc"
                                             << "é\r\nŒ|"
                                             << "&#233;\r\n|&#338;";
    QTest::newRow("deconversion, whatever the option")
        << "ModifierDeconversion" << false << "RadioDoc"
        << "&eacute;&#233;&Eacute;&EACUTE;|"
        << "|ééÉ&EACUTE;";
    QTest::newRow("script left alone") << "ModifierConversion" << true << "RadioDoc"
                                       << "<script>a='é'</script>é|"
                                       << "|<script>a='é'</script>&eacute;";
}

void TestRewriteCommands::accentDialog() {
    QFETCH(QString, command);
    QFETCH(bool, named);
    QFETCH(QString, radio);
    QFETCH(QString, before);
    QFETCH(QString, after);
    f->options.caracteresAlphabetiques = named;
    EditorState::set(editor(), before);
    QString title;
    bool selectionOffered = false;
    f->ui.onDialog = [&](QDialog *d) {
        title = d->windowTitle();
        selectionOffered = d->findChild<QRadioButton *>("RadioDocSel")->isChecked();
        d->findChild<QRadioButton *>(radio)->setChecked(true);
        return true;
    };
    action(command)->trigger();
    QCOMPARE(title, command == "ModifierConversion" ? QString("Conversion des accents")
                                                    : QString("Déconversion des accents"));
    QCOMPARE(selectionOffered, before.contains('{'));
    QCOMPARE(EditorState::get(editor()), after);
    editor()->undo();
    QCOMPARE(editor()->textCrLf(), EditorState::get(editor()).remove('{').remove('}').remove('|'));
    QCOMPARE(editor()->textCrLf(), QString(before).remove('{').remove('}').remove('|'));
}

void TestRewriteCommands::accentDialogCancelAndHelp() {
    EditorState::set(editor(), "é|");
    QString topic;
    setHelpHandler([&](const QString &t) { topic = t; });
    f->ui.onDialog = [](QDialog *d) {
        d->findChild<QPushButton *>("BoutAide")->click();
        return false;
    };
    action("ModifierConversion")->trigger();
    QCOMPARE(topic, QString("Ressources/accents.htm"));
    QCOMPARE(editor()->textCrLf(), QString("é"));
    QVERIFY(!editor()->isUndoAvailable());
    setHelpHandler({});
}

void TestRewriteCommands::accentsInEveryDocument() {
    DocumentManager *d = f->form->documents();
    EditorState::set(editor(), "à|");
    d->FileNew();
    EditorState::set(editor(), "&agrave;|");
    d->FileNew();
    EditorState::set(editor(), "ô|");
    f->ui.onDialog = [](QDialog *dlg) {
        dlg->findChild<QRadioButton *>("RadioDocAll")->setChecked(true);
        return true;
    };
    action("ModifierConversion")->trigger();
    QCOMPARE(d->EditorAt(0)->textCrLf(), QString("&agrave;"));
    QCOMPARE(d->EditorAt(1)->textCrLf(), QString("&agrave;"));
    QVERIFY(!d->EditorAt(1)->isUndoAvailable());
    QCOMPARE(d->EditorAt(2)->textCrLf(), QString("&ocirc;"));
    QVERIFY(f->form->mainStatusBar()->progressBar()->isHidden());
    d->EditorAt(0)->undo();
    QCOMPARE(d->EditorAt(0)->textCrLf(), QString("à"));
}

void TestRewriteCommands::convertWhileTyping_data() {
    QTest::addColumn<bool>("on");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::newRow("off") << false << true << "a|"
                         << "é"
                         << "aé|";
    QTest::newRow("named") << true << true << "a|"
                           << "é"
                           << "a&eacute;|";
    QTest::newRow("numeric over a selection") << true << false << "{ab}"
                                              << "à"
                                              << "&#224;|";
    QTest::newRow("euro passes") << true << true << "|"
                                 << "€"
                                 << "€|";
    QTest::newRow("ligature passes") << true << true << "|"
                                     << "œ"
                                     << "œ|";
    QTest::newRow("ascii passes") << true << true << "|"
                                  << "e"
                                  << "e|";
}

void TestRewriteCommands::convertWhileTyping() {
    QFETCH(bool, on);
    QFETCH(bool, named);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QVERIFY(!action("ModifierConvVolee")->isChecked());
    if (on) action("ModifierConvVolee")->trigger();
    f->options.caracteresAlphabetiques = named;
    EditorState::set(editor(), before);
    // Typed as a keyboard with that key sends it (QTest only knows ASCII keys).
    for (const QChar c : typed) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(editor(), &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(editor(), &release);
    }
    QCOMPARE(EditorState::get(editor()), after);
}

void TestRewriteCommands::typingInsideAScriptStaysText() {
    f->form->documents()->OpenDocument(
        f->writeFile("s.html", "<p>\n<script type=\"text/javascript\">\nx\n</script>\n"), false);
    action("ModifierConvVolee")->trigger();
    for (int line : {1, 3}) {
        editor()->setCaretXY({1, line});
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("é"));
        QApplication::sendEvent(editor(), &press);
    }
    QCOMPARE(editor()->lineAt(0), QString("&eacute;<p>"));
    QCOMPARE(editor()->lineAt(2), QString("éx"));
}

void TestRewriteCommands::caseChanges_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("sentence") << "ModifierSensitif"
                              << "x {le CHAT noir. il dort ! vraiment}"
                              << "x {Le chat noir. Il dort ! Vraiment}";
    QTest::newRow("capitalize, caret at the start") << "ModifierCapitalize"
                                                    << "}bonjour  le monde (et l'été){"
                                                    << "}Bonjour  Le Monde (Et L'Été){";
    QTest::newRow("invert") << "ModifierInverser"
                            << "{Été}"
                            << "{éTÉ}";
    QTest::newRow("upper over lines") << "ModifierMAJ"
                                      << "a{bé\r\nœc}d"
                                      << "a{BÉ\r\nŒC}d";
    QTest::newRow("lower") << "ModifierMin"
                           << "{ÀB}"
                           << "{àb}";
    QTest::newRow("percent-encoding") << "OutilsEncodeURL"
                                      << "{a b%}"
                                      << "a%20b%25|";
}

void TestRewriteCommands::caseChanges() {
    QFETCH(QString, command);
    QFETCH(QString, before);
    QFETCH(QString, after);
    EditorState::set(editor(), before);
    update();
    QVERIFY(action(command)->isEnabled());
    action(command)->trigger();
    QCOMPARE(EditorState::get(editor()), after);
    editor()->undo();
    QCOMPARE(editor()->textCrLf(), QString(before).remove('{').remove('}'));
    EditorState::set(editor(), "a|b");
    update();
    QVERIFY(!action(command)->isEnabled());
}

void TestRewriteCommands::columnSelectionStaysWhole() {
    EditorState::set(editor(), "abé|\r\nxyz\r\nlast");
    action("EditModeColonne")->setChecked(true);
    TMyMwCustomEdit *e = editor();
    e->SendScintilla(QsciScintillaBase::SCI_SETSELECTIONMODE, QsciScintillaBase::SC_SEL_RECTANGLE);
    e->SendScintilla(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONANCHOR,
                     e->positionFromXY({2, 1}));
    e->SendScintilla(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONCARET,
                     e->positionFromXY({4, 2}));
    update();
    action("ModifierMAJ")->trigger();
    QCOMPARE(e->textCrLf(), QString("aBÉ\r\nxYZ\r\nlast"));
    QVERIFY(e->SendScintilla(QsciScintillaBase::SCI_SELECTIONISRECTANGLE));
    QCOMPARE(int(e->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONS)), 2);
    e->undo();
    QCOMPARE(e->textCrLf(), QString("abé\r\nxyz\r\nlast"));
}

void TestRewriteCommands::accentsOverAColumnSelection_data() {
    QTest::addColumn<QPoint>("anchor"); // (column, line) from 1
    QTest::addColumn<QPoint>("caret");
    QTest::newRow("made downwards") << QPoint(2, 1) << QPoint(3, 3);
    QTest::newRow("made up and leftwards") << QPoint(3, 3) << QPoint(2, 1);
}

void TestRewriteCommands::accentsOverAColumnSelection() {
    QFETCH(QPoint, anchor);
    QFETCH(QPoint, caret);
    TMyMwCustomEdit *e = editor();
    const QString before = "xéa yé\r\nxàb yà\r\nxôc yô\r\nlast";
    EditorState::set(e, before + "|");
    e->SendScintilla(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONANCHOR,
                     e->positionFromXY({anchor.x(), anchor.y()}));
    e->SendScintilla(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONCARET,
                     e->positionFromXY({caret.x(), caret.y()}));
    f->ui.onDialog = [](QDialog *d) {
        return d->findChild<QRadioButton *>("RadioDocSel")->isChecked();
    };
    action("ModifierConversion")->trigger();
    QCOMPARE(e->textCrLf(), QString("x&eacute;a yé\r\nx&agrave;b yà\r\nx&ocirc;c yô\r\nlast"));
    // Still a column selection, as wide as the widest reference, its anchor where it was.
    QVERIFY(e->SendScintilla(QsciScintillaBase::SCI_SELECTIONISRECTANGLE));
    QStringList selected;
    for (long i = 0; i < e->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONS); ++i) {
        const long a = e->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONNSTART, i);
        const long b = e->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONNEND, i);
        selected << QString::fromUtf8(e->utf8Data() + a, int(b - a));
    }
    selected.sort();
    QCOMPARE(selected, (QStringList{"&agrave;", "&eacute;", "&ocirc;c"}));
    const TextPos newAnchor = e->xyFromPosition(
        int(e->SendScintilla(QsciScintillaBase::SCI_GETRECTANGULARSELECTIONANCHOR)));
    QCOMPARE(newAnchor.line, anchor.y());
    QCOMPARE(newAnchor.col, anchor.x() < caret.x() ? 2 : 10);
    e->undo();
    QCOMPARE(e->textCrLf(), before);
}

void TestRewriteCommands::blockIndentKeys() {
    TMyMwCustomEdit *e = editor();
    EditorState::set(e, "x\r\na{b\r\nc}d");
    update();
    QVERIFY(action("EditIndent")->isEnabled());
    QTest::keyClick(e, Qt::Key_Tab);
    const QString step = e->indentationsUseTabs() ? QString("\t") : QString(e->tabWidth(), ' ');
    QCOMPARE(e->textCrLf(), "x\r\n" + step + "ab\r\n" + step + "cd");
    QTest::keyClick(e, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(e->textCrLf(), QString("x\r\nab\r\ncd"));
    // Within one line, Tab is the editor's own.
    EditorState::set(e, "a{b}c");
    update();
    QVERIFY(!action("EditIndent")->isEnabled());
    QTest::keyClick(e, Qt::Key_Tab);
    QVERIFY(e->textCrLf() != QString("abc"));
    QVERIFY(!e->textCrLf().contains('b'));
    QVERIFY(action("EditIndent")->text().startsWith("Indenter le bloc\t"));
}

void TestRewriteCommands::lineBreakStyle() {
    DocumentManager *d = f->form->documents();
    const QString path = f->writeFile("lf.html", "a\nb\n");
    d->OpenDocument(path, false);
    update();
    QVERIFY(!action("EditBRWin")->isChecked());
    QVERIFY(action("EditBRLinux")->isChecked());
    QVERIFY(d->FileSave());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("a\nb\n"));
    file.close();
    action("EditBRWin")->trigger();
    QVERIFY(action("EditBRWin")->isChecked());
    QVERIFY(d->FileSave());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("a\r\nb\r\n"));
}

void TestRewriteCommands::indenterGivesTheCommandLineBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("spaces");
    QTest::newRow("Windows-1252, LF, tabs")
        << QByteArray(
               "<html>\n<body>\n<p>caf\xE9\n<table><tr><td>x</td></tr></table>\n</body>\n</html>\n")
        << false;
    QTest::newRow("UTF-8 with BOM, CR LF, spaces")
        << QByteArray("\xEF\xBB\xBF<ul>\r\n<li>été\r\n<li>b\r\n</ul>\r\n") << true;
    QTest::newRow("UTF-8, CR, pre kept") << QByteArray("<div>\r<pre>\r  é\r</pre>\r</div>") << true;
}

void TestRewriteCommands::indenterGivesTheCommandLineBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, spaces);
    const QString inEditor = f->writeFile("editor.html", bytes);
    const QString inBatch = f->writeFile("batch.html", bytes);
    EditorPreferences prefs = editor()->preferences();
    prefs.tabsToSpaces = spaces;
    f->options.editor = prefs;
    f->form->ApplyPreferences();
    f->form->documents()->OpenDocument(inEditor, false);
    action("OutilsIndenter")->trigger();
    QVERIFY(editor()->isUndoAvailable());
    QVERIFY(f->form->documents()->FileSave());

    Batch::Io io;
    io.readStdin = [] { return QByteArray(); };
    io.writeStdout = [](const QByteArray &) {};
    io.writeStderr = [](const QString &) {};
    const QStringList width = spaces
                                  ? QStringList{"--spaces", QString::number(editor()->tabWidth())}
                                  : QStringList{"--tabs"};
    QCOMPARE(Batch::Run(QStringList{"indent"} + width + QStringList{inBatch}, io), 0);
    QFile a(inEditor), b(inBatch);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray saved = a.readAll();
    QVERIFY(saved != bytes);
    QCOMPARE(saved, b.readAll());

    // Once indented, the command leaves the document alone: no undo step.
    editor()->clearUndoHistory();
    action("OutilsIndenter")->trigger();
    QVERIFY(!editor()->isUndoAvailable());
}

void TestRewriteCommands::indenterStopsAndSaysWhere() {
    EditorState::set(editor(), "<div>\r\nx\r\n</span>\r\n   <p>y|");
    action("OutilsIndenter")->trigger();
    const QString step =
        editor()->preferences().tabsToSpaces ? QString(editor()->tabWidth(), ' ') : QString("\t");
    QCOMPARE(editor()->textCrLf(), "<div>\r\n" + step + "x\r\n</span>\r\n   <p>y");
    QVERIFY(f->form->statusBar()->currentMessage().contains("ligne 3"));
    editor()->undo();
    QCOMPARE(editor()->textCrLf(), QString("<div>\r\nx\r\n</span>\r\n   <p>y"));
}

void TestRewriteCommands::wholeDocumentProgress_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("stop");
    QTest::addColumn<QString>("message");
    QTest::newRow("indenter, stopped") << "OutilsIndenter" << true << "Indentation annulée";
    QTest::newRow("indenter, let run") << "OutilsIndenter" << false << "";
    QTest::newRow("accents, stopped")
        << "ModifierConversion" << true << "Conversion des accents annulée";
    QTest::newRow("accents, let run") << "ModifierConversion" << false << "";
}

void TestRewriteCommands::wholeDocumentProgress() {
    // A page of a few megabytes: the progress shows at once here, as it does for
    // a long run, and its "Annuler" leaves the document as it was.
    QFETCH(QString, command);
    QFETCH(bool, stop);
    QFETCH(QString, message);
    QString page;
    while (page.size() < 3 << 20)
        page += "<div>\r\n<p>Été <b>gras</b>\r\n</div>\r\n";
    EditorState::set(editor(), page + "|");
    editor()->clearUndoHistory();
    f->ui.onDialog = [](QDialog *) { return true; };
    const int delay = RewriteCommands::ProgressDelay;
    RewriteCommands::ProgressDelay = 0;
    QString label;
    bool modal = false;
    QTimer::singleShot(0, f->form.get(), [&] {
        auto *dialog = f->form->findChild<QProgressDialog *>("RewriteProgress");
        QVERIFY(dialog);
        label = dialog->labelText();
        modal = dialog->isVisible() && dialog->windowModality() == Qt::WindowModal;
        if (stop) {
            auto *button = dialog->findChild<QPushButton *>();
            QCOMPARE(button->text(), QString("Annuler"));
            button->click();
        }
    });
    action(command)->trigger();
    RewriteCommands::ProgressDelay = delay;
    QVERIFY(modal);
    QVERIFY(!label.isEmpty());
    QVERIFY(!f->form->findChild<QProgressDialog *>("RewriteProgress"));
    if (stop) {
        QCOMPARE(editor()->textCrLf(), page);
        QVERIFY(!editor()->isUndoAvailable());
        QVERIFY(f->form->statusBar()->currentMessage().startsWith(message));
    } else {
        QVERIFY(editor()->textCrLf() != page);
        editor()->undo();
        QCOMPARE(editor()->textCrLf(), page);
    }
}

QTEST_MAIN(TestRewriteCommands)
#include "tst_rewrite_commands.moc"
