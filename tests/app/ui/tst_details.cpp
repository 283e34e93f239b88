// Details of the main window and the editor that a user notices at once: the title,
// the gutter, tab captions, the Save dialog's extension, restoring the window,
// keys, smart tabs and the type list.
#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "shell/ui/main_form.h"
#include "test_support.h"
#include "ui_test_support.h"

#include <QAction>
#include <QComboBox>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

using namespace TestSupport;

class TstDetails : public QObject {
    Q_OBJECT
private slots:
    void titleIsTheDocumentOnly();
    void gutterFollowsLineCount_data();
    void gutterFollowsLineCount();
    void ampersandShownInReusedTab();
    void defaultExtensionFromNextStart();
    void restoreKeepsMaximised();
    void hideAllToolbarsKey();
    void smartTab_data();
    void smartTab();
    void typeListShowsWholeNames_data();
    void typeListShowsWholeNames();

private:
    static TMyMwCustomEdit *active(MainFormFixture &f)
    {
        return f.form->documents()->ActiveEditor();
    }
};

void TstDetails::titleIsTheDocumentOnly()
{
    setApplicationIdentity();
    // The system adds an explicitly set display name to every title ("... — Balizor");
    // one left unset follows the application name.
    QCoreApplication::setApplicationName("probe");
    QCOMPARE(QGuiApplication::applicationDisplayName(), QString("probe"));
    setApplicationIdentity();
    QCOMPARE(QCoreApplication::applicationName(), QString("Balizor"));
    MainFormFixture f;
    const QString p = f.writeFile("a.html", "a\n");
    f.form->documents()->OpenDocument(p, true);
    // What the window system shows, not only the widget's own text.
    QCOMPARE(f.form->windowHandle()->title(), "Balizor - " + p);
    QTest::keyClicks(active(f), "x");
    QCOMPARE(f.form->windowHandle()->title(), "Balizor - " + p + "*");
}

void TstDetails::gutterFollowsLineCount_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("9 lines, then 10") << 9;
    QTest::newRow("99 lines, then 100") << 99;
    QTest::newRow("99999 lines, then 100000") << 99999;
}

void TstDetails::gutterFollowsLineCount()
{
    QFETCH(int, lines);
    MainFormFixture f;
    f.options.editor.showLineNumbers = true;
    f.form->ApplyPreferences();
    const QString p = f.writeFile("lines.html", QByteArray("x\n").repeated(lines - 1) + "x");
    f.form->documents()->OpenDocument(p, true);
    DocumentManager *d = f.form->documents();
    TMyMwCustomEdit *e = active(f);
    QCOMPARE(e->lines(), lines);
    // The width the preferences give for the text as it is.
    const auto settled = [&f, d](TMyMwCustomEdit *editor) {
        d->ActivateTab(d->indexOf(editor));
        f.form->ApplyPreferences();
        return editor->marginWidth(0);
    };
    const int loaded = e->marginWidth(0);
    QCOMPARE(loaded, settled(e));
    const QFontMetrics fm(e->editorFont());
    QVERIFY(loaded > fm.horizontalAdvance(QString::number(lines)));

    // One more line adds a digit: the gutter becomes what a page of that many lines has.
    d->OpenDocument(f.writeFile("more.html", QByteArray("x\n").repeated(lines) + "x"), true);
    const int wider = settled(active(f));
    QVERIFY(wider > fm.horizontalAdvance(QString::number(lines + 1)));
    d->ActivateTab(0);
    e->setCaretXY({2, lines});
    e->setFocus();
    QTest::keyClick(e, Qt::Key_Return);
    QCOMPARE(e->lines(), lines + 1);
    QTRY_COMPARE(e->marginWidth(0), wider);
}

void TstDetails::ampersandShownInReusedTab()
{
    MainFormFixture f;
    DocumentManager *d = f.form->documents();
    const QString a = f.writeFile("a&b.html", "a\n");
    const QString c = f.writeFile("c&d.html", "c\n");
    d->OpenDocument(a, true); // reuses "Sans Nom (1)"
    d->OpenDocument(c, true); // a new tab
    for (int i = 0; i < 2; ++i)
        QCOMPARE(f.form->tabs()->tabText(i), QStringList({"a&&b.html", "c&&d.html"}).at(i));
    QCOMPARE(d->tabCaption(0), QString("a&b.html"));
}

void TstDetails::defaultExtensionFromNextStart()
{
    MainFormFixture f;
    f.options.extensionDefaut = "php";
    f.form->ApplyPreferences();
    QTest::keyClicks(active(f), "x");
    f.form->documents()->FileSaveAs(); // cancelled
    QCOMPARE(f.ui.fileRequests.last().defaultSuffix, QString("htm"));
    // Stored: the next start has it.
    MainFormFixture next({}, true, [&](SettingsStore &s) {
        s.writeString("Highlighters", "ExtensionDefaut", "php");
    });
    QTest::keyClicks(next.form->documents()->ActiveEditor(), "x");
    next.form->documents()->FileSaveAs();
    QCOMPARE(next.ui.fileRequests.last().defaultSuffix, QString("php"));
}

void TstDetails::restoreKeepsMaximised()
{
    MainFormFixture f;
    f.form->showMaximized();
    QTRY_VERIFY(f.form->isMaximized());
    f.form->showMinimized();
    QTRY_VERIFY(f.form->isMinimized());
    // A later start brings the window forward.
    f.form->handleForwardedArgument(QString());
    f.form->bringToFront();
    QTRY_VERIFY(!f.form->isMinimized());
    QVERIFY(f.form->isMaximized());
}

void TstDetails::hideAllToolbarsKey()
{
    MainFormFixture f;
    QAction *a = f.form->actions()->action("OutilsBarreMasquer");
    // Ctrl+' would be Ctrl+4 on a French keyboard.
    QCOMPARE(a->shortcuts(), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_twosuperior)});
}

void TstDetails::smartTab_data()
{
    QTest::addColumn<QString>("above");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("tabsToSpaces");
    QTest::addColumn<QString>("result");
    QTest::newRow("spaces") << "<td>   <b>texte</b>"
                            << "" << true << "       ";
    QTest::newRow("tabs, then the rest in spaces") << "<td>   <b>texte</b>"
                                                   << "" << false << "\t   ";
    QTest::newRow("tabs only") << "        <b>"
                               << "" << false << "\t\t";
    QTest::newRow("from inside a tab stop") << "ab      cd"
                                            << "x" << false << "x\t\t";
    QTest::newRow("tab in the line above")
        << "\t<b>\tx"
        << "" << false << "\t"; // the word after the tab, at column 4
    QTest::newRow("tab in the line above, spaces") << "\t<b>\tx"
                                                   << "" << true << "    ";
}

void TstDetails::smartTab()
{
    QFETCH(QString, above);
    QFETCH(QString, line);
    QFETCH(bool, tabsToSpaces);
    QFETCH(QString, result);
    MainFormFixture f;
    f.options.editor.tabsToSpaces = tabsToSpaces;
    f.form->ApplyPreferences();
    TMyMwCustomEdit *e = active(f);
    e->setText(above + "\n" + line);
    e->setCaretXY({int(line.size()) + 1, 2});
    e->setFocus();
    QTest::keyClick(e, Qt::Key_Tab);
    QCOMPARE(e->lineAt(1), result);
}

void TstDetails::typeListShowsWholeNames_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("first start") << 617;
    QTest::newRow("narrow") << 420;
    QTest::newRow("wide") << 1200;
}

void TstDetails::typeListShowsWholeNames()
{
    QFETCH(int, width);
    MainFormFixture f;
    f.form->resize(width, 460);
    auto *list = f.form->findChild<QComboBox *>("cbxHighlighter");
    QVERIFY(list);
    QTest::qWait(50);
    // Shown in its bar or moved to the bar's overflow, never cut.
    if (list->isVisible())
        QVERIFY2(list->width() >= list->sizeHint().width(),
                 qPrintable(QString("%1 < %2").arg(list->width()).arg(list->sizeHint().width())));
    QVERIFY(list->minimumWidth() >= list->sizeHint().width());
}

QTEST_MAIN(TstDetails)
#include "tst_details.moc"
