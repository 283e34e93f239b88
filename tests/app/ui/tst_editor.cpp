// The editor view's configuration, preferences and the Edit commands.
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "app/ui/sliced_copy.h"
#include "shell/ui/main_form.h"
#include "ui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>

class TstEditor : public QObject {
    Q_OBJECT
private slots:
    void keysLeftToTheWindow();
    void ctrlDeleteDeletesWordRight();
    void editCommandUpdates();
    void editCommands();
    void wordWrapAndFormattingCharsForAllEditors();
    void columnModeNotInherited();
    void alwaysOnTopImages();
    void numbersAsTyped_data();
    void numbersAsTyped();
    void tabKeyPreferences();
    void smartTabsFollowLineAbove();
    void enhancedHomeKey();
    void groupUndo();
    void halfPageScroll();
    void droppedFiles();
    void lineOperations();
    void slicedCopy_data();
    void slicedCopy();

private:
    static TMyMwCustomEdit *editor(MainFormFixture &f) { return f.form->documents()->ActiveEditor(); }
    static void setText(TMyMwCustomEdit *e, const QString &t)
    {
        LoadedText lt;
        lt.utf8 = t.toUtf8();
        lt.lineBreak = LineBreak::Lf;
        e->setLoadedText(lt);
    }
    static QAction *act(MainFormFixture &f, const char *name)
    {
        return f.form->actions()->action(QString::fromLatin1(name));
    }
};

void TstEditor::keysLeftToTheWindow()
{
    MainFormFixture f;
    TMyMwCustomEdit *e = editor(f);
    setText(e, "un\ndeux\n");
    e->setFocus();
    e->setCaretXY({1, 2});
    for (const QKeySequence &k : {QKeySequence("Ctrl+T"), QKeySequence("Ctrl+Y"),
                                  QKeySequence("Ctrl+Shift+C"), QKeySequence("Ctrl+Shift+L"),
                                  QKeySequence("Ctrl+Shift+U"), QKeySequence("Ctrl+Shift+I"),
                                  QKeySequence("Ctrl+Shift+Y")}) {
        QVERIFY2(!e->isKeyBound(k), qPrintable(k.toString()));
        QTest::keySequence(e, k);
    }
    QCOMPARE(e->textCrLf(), QString("un\r\ndeux\r\n"));
    // No key of a window command is taken by the editor (a keypad key is only let
    // through, the same key on the main keyboard keeps its editing command).
    for (const QKeySequence &k : f.form->actions()->shortcuts()) {
        if (!(k[0].keyboardModifiers() & Qt::KeypadModifier))
            QVERIFY2(!e->isKeyBound(k), qPrintable(k.toString()));
    }
    // Ctrl+Z reaches the window's undo.
    QTest::keyClicks(e, "x");
    QTest::keySequence(e, QKeySequence("Ctrl+Z"));
    QCOMPARE(e->textCrLf(), QString("un\r\ndeux\r\n"));
}

void TstEditor::ctrlDeleteDeletesWordRight()
{
    MainFormFixture f;
    TMyMwCustomEdit *e = editor(f);
    setText(e, "un deux trois");
    e->setCaretXY({4, 1});
    QTest::keyClick(e, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(e->lineAt(0), QString("un trois"));
}

void TstEditor::editCommandUpdates()
{
    MainFormFixture f;
    TMyMwCustomEdit *e = editor(f);
    QApplication::clipboard()->clear();
    QCoreApplication::processEvents();
    for (const char *name : {"EditCut1", "EditCopy1", "EditEffacer", "EditUndo", "EditRedo",
                             "EditPaste1"})
        QVERIFY2(!act(f, name)->isEnabled(), name);
    QVERIFY(act(f, "EditSelectAll")->isEnabled());
    QTest::keyClicks(e, "abc");
    QVERIFY(act(f, "EditUndo")->isEnabled());
    e->selectRange({1, 1}, {3, 1});
    for (const char *name : {"EditCut1", "EditCopy1", "EditEffacer"})
        QVERIFY2(act(f, name)->isEnabled(), name);
    act(f, "EditCopy1")->trigger();
    QCoreApplication::processEvents();
    QVERIFY(act(f, "EditPaste1")->isEnabled());
    QCOMPARE(act(f, "EditPaste1")->shortcuts(),
             (QList<QKeySequence>{QKeySequence("Ctrl+V"), QKeySequence("Shift+Ins")}));
    act(f, "EditUndo")->trigger();
    QVERIFY(act(f, "EditRedo")->isEnabled());
}

void TstEditor::editCommands()
{
    MainFormFixture f;
    TMyMwCustomEdit *e = editor(f);
    setText(e, "un deux");
    e->selectRange({1, 1}, {3, 1});
    act(f, "EditCut1")->trigger();
    QCOMPARE(e->lineAt(0), QString(" deux"));
    QCOMPARE(QApplication::clipboard()->text(), QString("un"));
    e->setCaretXY({6, 1});
    act(f, "EditPaste1")->trigger();
    QCOMPARE(e->lineAt(0), QString(" deuxun"));
    act(f, "EditSelectAll")->trigger();
    QVERIFY(e->selAvail());
    act(f, "EditEffacer")->trigger();
    QCOMPARE(e->utf8Length(), 0);
    act(f, "EditUndo")->trigger();
    QCOMPARE(e->lineAt(0), QString(" deuxun"));
    act(f, "EditRedo")->trigger();
    QCOMPARE(e->utf8Length(), 0);
}

void TstEditor::wordWrapAndFormattingCharsForAllEditors()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    d->FileNew();
    act(f, "EditWordWrap")->trigger();
    act(f, "EditSpecialCar")->trigger();
    for (int i = 0; i < d->EditorCount(); ++i) {
        QCOMPARE(d->EditorAt(i)->wrapMode(), QsciScintilla::WrapWord);
        QCOMPARE(d->EditorAt(i)->whitespaceVisibility(), QsciScintilla::WsVisible);
        QVERIFY(d->EditorAt(i)->eolVisibility());
    }
    d->FileNew(); // later documents too
    QCOMPARE(editor(f)->wrapMode(), QsciScintilla::WrapWord);
    QVERIFY(editor(f)->eolVisibility());
    act(f, "EditWordWrap")->trigger();
    QCOMPARE(d->EditorAt(0)->wrapMode(), QsciScintilla::WrapNone);
    QVERIFY(!f.options.wordWrap);
}

void TstEditor::columnModeNotInherited()
{
    MainFormFixture f;
    act(f, "EditModeColonne")->trigger();
    QVERIFY(editor(f)->columnMode());
    f.form->documents()->FileNew();
    QVERIFY(!editor(f)->columnMode());
    QVERIFY(act(f, "EditModeColonne")->isChecked());
}

void TstEditor::alwaysOnTopImages()
{
    MainFormFixture f;
    QAction *a = act(f, "EditOnTop");
    const QImage off = a->icon().pixmap(16).toImage();
    a->trigger();
    QVERIFY(f.form->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(a->icon().pixmap(16).toImage() != off);
    a->trigger();
    QVERIFY(!(f.form->windowFlags() & Qt::WindowStaysOnTopHint));
    QCOMPARE(a->icon().pixmap(16).toImage(), off);
}

void TstEditor::numbersAsTyped_data()
{
    QTest::addColumn<QString>("tabs");
    QTest::addColumn<QString>("edge");
    QTest::addColumn<QString>("gutter");
    QTest::addColumn<int>("tabWidth");
    QTest::addColumn<int>("edgeColumn");
    QTest::addColumn<int>("gutterWidth");
    QTest::newRow("numbers") << "8" << "80" << "40" << 8 << 80 << 40;
    QTest::newRow("not numbers") << "abc" << "x" << "" << 4 << 0 << 30;
}

void TstEditor::numbersAsTyped()
{
    QFETCH(QString, tabs);
    QFETCH(QString, edge);
    QFETCH(QString, gutter);
    QFETCH(int, tabWidth);
    QFETCH(int, edgeColumn);
    QFETCH(int, gutterWidth);
    MainFormFixture f;
    f.options.editor.tabsWidth = tabs;
    f.options.editor.rightEdgeSize = edge;
    f.options.editor.gutterSize = gutter;
    f.form->ApplyPreferences();
    TMyMwCustomEdit *e = editor(f);
    QCOMPARE(e->tabWidth(), tabWidth);
    QCOMPARE(e->edgeMode() == QsciScintilla::EdgeNone ? 0 : e->edgeColumn(), edgeColumn);
    QCOMPARE(e->marginWidth(0), gutterWidth);
    f.options.editor.showGutter = false;
    f.form->ApplyPreferences();
    QCOMPARE(e->marginWidth(0), 0);
    // Stored, so the next start has them.
    SettingsStore check(f.store->fileName());
    QCOMPARE(check.readString("Editor", "TabsWidth", {}), tabs);
}

void TstEditor::tabKeyPreferences()
{
    MainFormFixture f;
    TMyMwCustomEdit *e = editor(f);
    e->setFocus();
    QTest::keyClick(e, Qt::Key_Tab);
    QCOMPARE(e->lineAt(0), QString("    ")); // tabs become spaces by default
    f.options.editor.tabsToSpaces = false;
    f.options.editor.smartTabs = false;
    f.form->ApplyPreferences();
    setText(e, "");
    QTest::keyClick(e, Qt::Key_Tab);
    QCOMPARE(e->lineAt(0), QString("\t"));
    // Without WantTabs the key moves the focus and the text stays.
    auto *other = new QLineEdit(f.form.get());
    other->show();
    f.options.editor.wantTabs = false;
    f.form->ApplyPreferences();
    setText(e, "");
    e->setFocus();
    QTest::keyClick(e, Qt::Key_Tab);
    QCOMPARE(e->utf8Length(), 0);
}

void TstEditor::smartTabsFollowLineAbove()
{
    MainFormFixture f;
    TMyMwCustomEdit *e = editor(f);
    setText(e, "<td>   <b>texte</b>\n");
    e->setCaretXY({1, 2});
    QTest::keyClick(e, Qt::Key_Tab);
    QCOMPARE(e->caretXY(), (TextPos{8, 2})); // under "<b>"
    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->caretXY(), (TextPos{1, 2}));
    QCOMPARE(e->lineAt(1), QString());
}

void TstEditor::enhancedHomeKey()
{
    MainFormFixture f;
    TMyMwCustomEdit *e = editor(f);
    setText(e, "    texte");
    e->setCaretXY({8, 1});
    QTest::keyClick(e, Qt::Key_Home);
    QCOMPARE(e->caretXY().col, 5);
    f.options.editor.enhanceHomeKey = false;
    f.form->ApplyPreferences();
    e->setCaretXY({8, 1});
    QTest::keyClick(e, Qt::Key_Home);
    QCOMPARE(e->caretXY().col, 1);
}

void TstEditor::groupUndo()
{
    MainFormFixture f;
    TMyMwCustomEdit *e = editor(f);
    QTest::keyClicks(e, "abc");
    e->undo();
    QCOMPARE(e->utf8Length(), 0);
    f.options.editor.groupUndo = false;
    f.form->ApplyPreferences();
    QTest::keyClicks(e, "abc");
    e->undo();
    QCOMPARE(e->lineAt(0), QString("ab"));
}

void TstEditor::halfPageScroll()
{
    MainFormFixture f;
    TMyMwCustomEdit *e = editor(f);
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("ligne %1\n").arg(i);
    setText(e, text);
    e->setCaretXY({1, 1});
    const int onScreen = int(e->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN));
    QTest::keyClick(e, Qt::Key_PageDown);
    QCOMPARE(e->caretXY().line, 1 + std::max(1, onScreen / 2));
    f.options.editor.halfPageScroll = false;
    f.form->ApplyPreferences();
    e->setCaretXY({1, 1});
    QTest::keyClick(e, Qt::Key_PageDown);
    QVERIFY(e->caretXY().line > 1 + onScreen / 2);
}

void TstEditor::droppedFiles()
{
    MainFormFixture f;
    const QString a = f.writeFile("drop.html", "x\n");
    TMyMwCustomEdit *e = editor(f);
    auto drop = [&] {
        // As a real drag does: enter (which makes the editor the target), then drop.
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(a)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(e->viewport(), &enter);
        QDropEvent ev(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(e->viewport(), &ev);
    };
    f.options.editor.dropFiles = false;
    f.form->ApplyPreferences();
    drop();
    QVERIFY(editor(f)->fileName.isEmpty());
    f.options.editor.dropFiles = true;
    f.form->ApplyPreferences();
    drop();
    QCOMPARE(editor(f)->fileName, a);
}

void TstEditor::lineOperations()
{
    MainFormFixture f;
    TMyMwCustomEdit *e = editor(f);
    setText(e, "un\ndeux\ntrois");
    QCOMPARE(e->lineCountAsList(), 3);
    e->replaceLine(1, QString::fromUtf8("DEUX é"));
    e->insertLine(0, "zéro");
    e->insertLine(4, "quatre");
    e->deleteLine(2);
    QCOMPARE(e->textCrLf(), QString::fromUtf8("zéro\r\nun\r\ntrois\r\nquatre\r\n"));
    e->replaceLine(1, QString::fromUtf8("DEUX é"));
    QCOMPARE(e->lineAt(1), QString::fromUtf8("DEUX é"));
    QCOMPARE(e->xyFromPosition(e->positionFromXY({6, 2})), (TextPos{6, 2}));
    QCOMPARE(e->xyFromPosition(e->positionFromXY({7, 2})), (TextPos{7, 2}));
    QVERIFY(!e->replaceAllText(e->textCrLf()));
    QVERIFY(e->replaceAllText("a\r\nb"));
    QCOMPARE(QByteArray(e->utf8Data(), int(e->utf8Length())), QByteArray("a\nb"));
    e->undo();
    QCOMPARE(e->lineAt(0), QString::fromUtf8("zéro"));
}

void TstEditor::slicedCopy_data()
{
    QTest::addColumn<QString>("road");
    QTest::addColumn<int>("slice");
    QTest::newRow("slices on both sides of the gap") << "whole" << 16;
    QTest::newRow("one slice: at once") << "whole" << 1000;
    QTest::newRow("typed into meanwhile: abandoned") << "typed" << 16;
    QTest::newRow("asked again meanwhile: the last one only") << "again" << 16;
}

void TstEditor::slicedCopy()
{
    QFETCH(QString, road);
    QFETCH(int, slice);
    MainFormFixture f;
    TMyMwCustomEdit *e = editor(f);
    setText(e, QString::fromUtf8("Été ").repeated(30));
    // The gap in the middle of the text: an insertion leaves it there.
    e->SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, 50UL, "<b>");
    auto *copy = new SlicedCopy(e, slice);
    QList<QByteArray> first, second;
    copy->start([&](QByteArray t) { first << t; });
    const bool atOnce = !first.isEmpty();
    QCOMPARE(atOnce, e->utf8Length() <= slice);
    if (road == QLatin1String("typed")) {
        // "É" becomes "Ex": the length stays, the text does not.
        e->SendScintilla(QsciScintillaBase::SCI_SETTARGETSTART, 0UL);
        e->SendScintilla(QsciScintillaBase::SCI_SETTARGETEND, 2UL);
        e->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, 2UL, "Ex");
    }
    if (road == QLatin1String("again"))
        copy->start([&](QByteArray t) { second << t; });
    QTRY_VERIFY(!copy->running());
    QTest::qWait(20);
    if (road == QLatin1String("whole")) {
        QCOMPARE(first, QList<QByteArray>{e->utf8Copy()});
    } else if (road == QLatin1String("typed")) {
        QVERIFY(first.isEmpty());
    } else {
        QVERIFY(first.isEmpty());
        QCOMPARE(second, QList<QByteArray>{e->utf8Copy()});
    }
}

QTEST_MAIN(TstEditor)
#include "tst_editor.moc"
