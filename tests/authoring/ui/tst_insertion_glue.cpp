#include "editor_state.h"

#include "app/ui/document_manager.h"
#include "shell/ui/main_form.h"
#include "authoring/ui/insertion_glue.h"
#include "authoring/ui/save_img_box.h"
#include "test_support.h"
#include "ui/ui_test_support.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <stdexcept>

// The insertion primitives on a real editor of a real main window.
class TestInsertionGlue : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void wrapSelection_data();
    void wrapSelection();
    void wrapKeepsTheDocumentsLineBreak();
    void wrapStartsANewUndoStep();
    void columnSelectionLosesNothing();
    void insertMarkup_data();
    void insertMarkup();
    void insertBeyondTheLineEnd();
    void replaceDocumentText();
    void selectWholeLines_data();
    void selectWholeLines();
    void prepareFileDialog();
    void saveFirstPrompt();
    void saveFirstPromptOnlyForUntitled();
    void pathFieldSelection_data();
    void pathFieldSelection();
    void urlEncodeFollowsTheDocumentsEncoding();
    void keptDialogDiscardedOnFailure();

private:
    TMyMwCustomEdit *editor() { return f->form->documents()->ActiveEditor(); }
    AppContext &ctx() { return f->form->context(); }
    std::unique_ptr<MainFormFixture> f;
};

void TestInsertionGlue::init() {
    f = std::make_unique<MainFormFixture>();
}

void TestInsertionGlue::cleanup() {
    f.reset();
}

void TestInsertionGlue::wrapSelection_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");
    QTest::addColumn<bool>("raw");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("after");

    QTest::newRow("word stays selected") << "un {mot} ici"
                                         << "<b>"
                                         << "</b>" << false << false << "un <b>{mot}</b> ici";
    QTest::newRow("selection made backwards") << "un }mot{ ici"
                                              << "<b>"
                                              << "</b>" << false << false << "un <b>{mot}</b> ici";
    QTest::newRow("caret between the tags") << "un | ici"
                                            << "<b>"
                                            << "</b>" << false << false << "un <b>|</b> ici";
    QTest::newRow("three lines keep their text selected")
        << "ab{cd\r\nef\r\ngh}ij"
        << "<div align=\"left\">"
        << "</div>" << false << false << "ab<div align=\"left\">{cd\r\nef\r\ngh}</div>ij";
    QTest::newRow("opening with two breaks") << "x{mot}y"
                                             << "<%\r\n\r\n"
                                             << "%>" << true << false << "x<%\r\n\r\n{mot}%>y";
    QTest::newRow("block opening leaves caret on the empty line")
        << "|"
        << "<%\r\n"
        << "\r\n%>" << true << false << "<%\r\n|\r\n%>";
    QTest::newRow("tag case on the strings, not the text")
        << "{mot}"
        << "<div align=\"center\">"
        << "</div>" << false << true << "<DIV ALIGN=\"center\">{mot}</DIV>";
    QTest::newRow("raw keeps the case") << "{mot}"
                                        << "<!-- "
                                        << " -->" << true << true << "<!-- {mot} -->";
    QTest::newRow("character outside the basic plane")
        << "a{b\U0001F600c}d"
        << "<i>"
        << "</i>" << false << false << "a<i>{b\U0001F600c}</i>d";
}

void TestInsertionGlue::wrapSelection() {
    QFETCH(QString, before);
    QFETCH(QString, opening);
    QFETCH(QString, closing);
    QFETCH(bool, raw);
    QFETCH(bool, casse);
    QFETCH(QString, after);
    f->options.casse = casse;
    EditorState::set(editor(), before);
    const QString original = editor()->textCrLf();

    Markup::WrapSelection(ctx(), editor(), opening, closing, raw);
    QCOMPARE(EditorState::get(editor()), after);

    // One step takes it all back.
    editor()->undo();
    QCOMPARE(editor()->textCrLf(), original);
    QVERIFY(!editor()->isUndoAvailable());
}

void TestInsertionGlue::wrapKeepsTheDocumentsLineBreak() {
    for (LineBreak lb : {LineBreak::Lf, LineBreak::Cr}) {
        EditorState::set(editor(), "a\r\n{b\r\nc}\r\n", lb);
        Markup::WrapSelection(ctx(), editor(), "<%\r\n", "\r\n%>", true);
        QCOMPARE(EditorState::get(editor()), "a\r\n<%\r\n{b\r\nc}\r\n%>\r\n");
        QByteArray bytes;
        QVERIFY(editor()->fileBytes(&bytes));
        const QByteArray eol = lineBreakBytes(lb);
        QCOMPARE(bytes, "a" + eol + "<%" + eol + "b" + eol + "c" + eol + "%>" + eol);
    }
}

void TestInsertionGlue::wrapStartsANewUndoStep() {
    f->form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f->form.get()));
    EditorState::set(editor(), "|");
    editor()->setFocus();
    QTest::keyClicks(editor(), "abc");
    QCOMPARE(EditorState::get(editor()), "abc|");
    Markup::WrapSelection(ctx(), editor(), "<b>", "</b>", false);
    QCOMPARE(EditorState::get(editor()), "abc<b>|</b>");
    editor()->undo();
    QCOMPARE(editor()->textCrLf(), "abc");
}

void TestInsertionGlue::columnSelectionLosesNothing() {
    // A column selection is taken from corner to corner, as one stretch of text.
    EditorState::set(editor(), "abc\r\ndef\r\nghi");
    editor()->setColumnMode(true);
    editor()->selectRange({2, 1}, {3, 2});
    Markup::WrapSelection(ctx(), editor(), "<b>", "</b>", false);
    QCOMPARE(editor()->textCrLf(), "a<b>bc\r\nde</b>f\r\nghi");
    EditorState::set(editor(), "abc\r\ndef\r\nghi");
    editor()->selectRange({2, 1}, {3, 2});
    Markup::InsertMarkup(ctx(), editor(), "<hr>", false);
    QCOMPARE(editor()->textCrLf(), "a<hr>f\r\nghi");
    editor()->setColumnMode(false);
}

void TestInsertionGlue::insertMarkup_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("raw");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("after");

    QTest::newRow("at the caret") << "a|b"
                                  << "<br>" << false << false << "a<br>|b";
    QTest::newRow("over the selection") << "a{xyz}b"
                                        << "<hr>" << false << false << "a<hr>|b";
    QTest::newRow("over a selection made backwards") << "a}x\r\ny{b"
                                                     << "&nbsp;" << true << false << "a&nbsp;|b";
    QTest::newRow("several lines") << "|x"
                                   << "<ul>\r\n  <li></li>\r\n</ul>\r\n"
                                   << true << false << "<ul>\r\n  <li></li>\r\n</ul>\r\n|x";
    QTest::newRow("tag case") << "|"
                              << "<input type=\"checkbox\" name=\"x\" checked>" << false << true
                              << "<INPUT TYPE=\"checkbox\" NAME=\"x\" checked>|";
    QTest::newRow("raw ignores the case") << "|"
                                          << "&nbsp;" << true << true << "&nbsp;|";
}

void TestInsertionGlue::insertMarkup() {
    QFETCH(QString, before);
    QFETCH(QString, text);
    QFETCH(bool, raw);
    QFETCH(bool, casse);
    QFETCH(QString, after);
    f->options.casse = casse;
    EditorState::set(editor(), before);
    const QString original = editor()->textCrLf();

    Markup::InsertMarkup(ctx(), editor(), text, raw);
    QCOMPARE(EditorState::get(editor()), after);
    editor()->undo();
    QCOMPARE(editor()->textCrLf(), original);
    QVERIFY(!editor()->isUndoAvailable());
}

void TestInsertionGlue::insertBeyondTheLineEnd() {
    // With the caret allowed past the end of a line, markup lands where the caret shows.
    EditorPreferences prefs = editor()->preferences();
    prefs.scrollPastEol = true;
    editor()->applyPreferences(prefs);
    EditorState::set(editor(), "ab|\r\ncd");
    editor()->setFocus();
    QTest::keyClick(editor(), Qt::Key_Right);
    QTest::keyClick(editor(), Qt::Key_Right);
    QCOMPARE(editor()->caretXY(), (TextPos{5, 1}));
    Markup::WrapSelection(ctx(), editor(), "<b>", "</b>", false);
    QCOMPARE(EditorState::get(editor()), "ab  <b>|</b>\r\ncd");
}

void TestInsertionGlue::replaceDocumentText() {
    EditorState::set(editor(), "un\r\ndeux|\r\n", LineBreak::Lf);
    QVERIFY(!editor()->isUndoAvailable());

    // The same text: nothing changes, not even the undo history.
    Markup::ReplaceDocumentText(editor(), "un\r\ndeux\r\n");
    QVERIFY(!editor()->isUndoAvailable());
    QVERIFY(!editor()->isModified());
    QCOMPARE(EditorState::get(editor()), "un\r\ndeux|\r\n");

    Markup::ReplaceDocumentText(editor(), "UN\r\nDEUX\r\ntrois\r\n");
    QCOMPARE(EditorState::get(editor()), "UN\r\nDEUX\r\ntrois\r\n|");
    QVERIFY(editor()->isModified());
    QByteArray bytes;
    QVERIFY(editor()->fileBytes(&bytes));
    QCOMPARE(bytes, "UN\nDEUX\ntrois\n");
    QVERIFY(editor()->updatesEnabled());

    editor()->undo();
    QCOMPARE(editor()->textCrLf(), "un\r\ndeux\r\n");
    QVERIFY(!editor()->isUndoAvailable());
}

void TestInsertionGlue::selectWholeLines_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("middle of two lines") << "a{b\r\ncd}e\r\nf"
                                         << "{ab\r\ncde\r\n}f";
    QTest::newRow("backwards") << "a}b\r\ncd{e\r\nf"
                               << "{ab\r\ncde\r\n}f";
    QTest::newRow("end at column 1 leaves that line out") << "a{b\r\n}cd"
                                                          << "{ab\r\n}cd";
    QTest::newRow("last line without a break") << "ab\r\nc{d}e"
                                               << "ab\r\n{cde}";
    QTest::newRow("caret only") << "a|b\r\nc"
                                << "{ab\r\n}c";
}

void TestInsertionGlue::selectWholeLines() {
    QFETCH(QString, before);
    QFETCH(QString, after);
    EditorState::set(editor(), before);
    Markup::SelectWholeLines(editor());
    QCOMPARE(EditorState::get(editor()), after);
}

void TestInsertionGlue::prepareFileDialog() {
    f->options.dossierParDefautSTR = f->dir.path();
    FileDialogRequest untitled;
    Markup::PrepareFileDialog(ctx(), untitled);
    QCOMPARE(untitled.startFolder, f->dir.path());

    const QString page = f->writeFile(QStringLiteral("page.html"), "<p>\r\n");
    f->form->documents()->OpenDocument(page, false);
    FileDialogRequest titled;
    Markup::PrepareFileDialog(ctx(), titled);
    QCOMPARE(titled.startFolder, QDir(f->dir.path()).absolutePath() + QLatin1Char('/'));
}

void TestInsertionGlue::saveFirstPrompt() {
    const QString target = f->path(QStringLiteral("nouveau.html"));
    QString title, question;
    f->ui.onDialog = [&](QDialog *d) {
        auto *box = qobject_cast<TSaveImgBox *>(d);
        if (!box) return false;
        title = box->windowTitle();
        question = box->findChild<QLabel *>(QStringLiteral("LabelQuestion"))->text();
        return true; // "&Oui", the box left unchecked
    };
    EditorState::set(editor(), "<p>|");
    f->ui.saveAnswers << target;

    // "&Oui" saves, and the unchecked box keeps the question.
    Markup::SaveFirstPrompt(ctx());
    QCOMPARE(f->ui.dialogsShown.size(), 1);
    QCOMPARE(title, QStringLiteral("Balizor"));
    QCOMPARE(question, QStringLiteral("Il est préférable de sauvegarder votre document une "
                                      "première fois avant de continuer. Voulez-vous le "
                                      "sauvegarder maintenant ?"));
    QCOMPARE(editor()->fileName, target);
    QCOMPARE(TestSupport::readAll(target), "<p>\r\n");
    QVERIFY(!f->options.saveCheck);

    // "&Non" with the box checked: nothing saved, never asked again.
    f->form->documents()->FileNew();
    f->ui.onDialog = [](QDialog *d) {
        d->findChild<QCheckBox *>()->setChecked(true);
        return false;
    };
    Markup::SaveFirstPrompt(ctx());
    QCOMPARE(f->ui.dialogsShown.size(), 2);
    QVERIFY(editor()->fileName.isEmpty());
    QCOMPARE(f->ui.fileRequests.size(), 1);
    QVERIFY(f->options.saveCheck);
    Markup::SaveFirstPrompt(ctx());
    QCOMPARE(f->ui.dialogsShown.size(), 2);
}

void TestInsertionGlue::saveFirstPromptOnlyForUntitled() {
    const QString page = f->writeFile(QStringLiteral("page.html"), "x\r\n");
    f->form->documents()->OpenDocument(page, false);
    Markup::SaveFirstPrompt(ctx());
    QVERIFY(f->ui.dialogsShown.isEmpty());

    // The window's own buttons and texts.
    TSaveImgBox box;
    auto *yes = box.findChild<QPushButton *>(QStringLiteral("BoutOui"));
    auto *no = box.findChild<QPushButton *>(QStringLiteral("BoutNon"));
    QCOMPARE(yes->text(), QStringLiteral("&Oui"));
    QVERIFY(yes->isDefault());
    QCOMPARE(no->text(), QStringLiteral("&Non"));
    QCOMPARE(box.findChild<QCheckBox *>()->text(), QStringLiteral("Ne plus poser cette question"));
    QVERIFY(!box.dontAskAgain());
}

void TestInsertionGlue::pathFieldSelection_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("selected");
    QTest::newRow("folder part") << "../img/logo.gif"
                                 << "../img/";
    QTest::newRow("address") << "file:///C:/dossier/image.gif"
                             << "file:///C:/dossier/";
    QTest::newRow("bare name") << "logo.gif"
                               << "";
}

void TestInsertionGlue::pathFieldSelection() {
    QFETCH(QString, path);
    QFETCH(QString, selected);
    QLineEdit field;
    field.setText(path);
    Markup::SelectPathFolder(&field);
    QCOMPARE(field.selectedText(), selected);
    QCOMPARE(field.selectionStart(), selected.isEmpty() ? -1 : 0);
    QTest::keyClicks(&field, "x/");
    QVERIFY(field.text().startsWith("x/"));
    QVERIFY(field.text().endsWith(path.mid(selected.size())));
}

void TestInsertionGlue::urlEncodeFollowsTheDocumentsEncoding() {
    editor()->encoding = TextEncoding::Windows1252;
    QCOMPARE(Markup::UrlEncode(editor(), "é t€.gif"), "%E9%20t%80.gif");
    editor()->encoding = TextEncoding::Utf8;
    QCOMPARE(Markup::UrlEncode(editor(), "é t€.gif"), "%C3%A9%20t%E2%82%AC.gif");
    editor()->encoding = TextEncoding::Utf8Bom;
    QCOMPARE(Markup::UrlEncode(editor(), "é"), "%C3%A9");
}

void TestInsertionGlue::keptDialogDiscardedOnFailure() {
    QWidget parent;
    KeptDialog<QDialog> kept;
    QDialog *first = nullptr;
    kept.run(&parent, [&](QDialog &d) {
        first = &d;
        return true;
    });
    QVERIFY(first);
    QDialog *second = nullptr;
    kept.run(&parent, [&](QDialog &d) {
        second = &d;
        return true;
    });
    QCOMPARE(second, first);

    kept.run(&parent, [](QDialog &) -> bool { throw std::runtime_error("échec"); });
    QVERIFY(!kept.dialog());
    QVERIFY(parent.findChildren<QDialog *>().isEmpty());

    kept.run(&parent, [](QDialog &) { return false; });
    QVERIFY(!kept.dialog());
    kept.run(&parent, [](QDialog &) { return true; });
    QVERIFY(kept.dialog());
}

QTEST_MAIN(TestInsertionGlue)
#include "tst_insertion_glue.moc"
