#include "app/ui/action_registry.h"
#include "app/ui/document_manager.h"
#include "app/ui/editor_view.h"
#include "publish/ui/live_preview.h"
#include "publish/ui/preview_commands.h"
#include "publish/ui/preview_panel.h"
#include "shell/ui/main_form.h"
#include "test_support.h"
#include "ui/ui_test_support.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QOpenGLContext>
#include <QSignalSpy>
#include <QTest>

using namespace TestSupport;

// The preview with the real browser engine, loaded from its module as the program
// loads it, under the offscreen platform.
class TstPreviewEngine : public QObject {
    Q_OBJECT
private slots:
    void pageWithRelativeFilesAndLinks();
    void livePreviewFollowsTheTyping();
};

namespace {
// Whether a library whose file name holds this text is mapped into the process.
bool libraryLoaded(const QByteArray &name)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    return maps.readAll().contains(name);
}

const QByteArray kPage = R"(<html><head><title>Essai</title>
<link rel="stylesheet" href="styles/site.css">
<script>
window.onload = function () {
  var img = document.getElementById('photo');
  var h1 = document.getElementsByTagName('h1')[0];
  document.title += '|' + img.naturalWidth + '|' + getComputedStyle(h1).color;
};
</script></head>
<body><h1>Titre</h1><img id="photo" src="images/photo.png"></body></html>
)";

// Follows its link once it has loaded, as a user would; not again when come back
// to. (A link followed while the page loads would replace it in the history.)
const QByteArray kLinks = R"(<html><head><title>Liens</title><script>
window.onload = function () {
  var n = performance.getEntriesByType('navigation')[0];
  if (n && n.type === 'navigate')
    setTimeout(function () { document.getElementById('suite').click(); }, 50);
};
</script></head><body><a id="suite" href="fin.html">suite</a></body></html>
)";

// Opens a link meant for a new window once it has loaded.
const QByteArray kNewWindow = R"(<html><head><title>Fenêtre</title><script>
window.onload = function () {
  setTimeout(function () { document.getElementById('ailleurs').click(); }, 50);
};
</script></head><body><a id="ailleurs" href="nouvelle.html" target="_blank">ailleurs</a></body></html>
)";
} // namespace

void TstPreviewEngine::pageWithRelativeFilesAndLinks()
{
    MainFormFixture fx;
    auto *commands = fx.form->findChild<PreviewCommands *>();
    ActionRegistry *actions = fx.form->actions();
    auto action = [actions](const char *n) { return actions->action(QString::fromLatin1(n)); };
    QDir dir(fx.dir.path());
    QVERIFY(dir.mkpath(QStringLiteral("images")) && dir.mkpath(QStringLiteral("styles")));
    QImage photo(37, 21, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    QVERIFY(photo.save(fx.path(QStringLiteral("images/photo.png"))));
    fx.writeFile(QStringLiteral("styles/site.css"), "h1 { color: rgb(200, 0, 0); }\n");
    fx.writeFile(QStringLiteral("links.html"), kLinks);
    fx.writeFile(QStringLiteral("fin.html"), "<html><head><title>Fin</title></head></html>\n");
    fx.form->documents()->OpenDocument(fx.writeFile(QStringLiteral("page.html"), kPage), false);
    // Nothing of the engine before it is needed: neither its libraries nor the
    // shared graphics context it asks of the window system.
    QVERIFY(!commands->panel()->engine());
    QVERIFY(!QOpenGLContext::globalShareContext());
    QVERIFY(!QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
#ifdef Q_OS_LINUX
    QVERIFY(!libraryLoaded("WebEngineCore"));
#endif

    // The internal browser is the default target.
    action("OutilsTester")->trigger();
    QVERIFY(commands->panelShown());
    PreviewEngine *engine = commands->panel()->engine();
    QVERIFY2(engine, "the browser engine module did not load");
    QVERIFY(QOpenGLContext::globalShareContext());
    QVERIFY(QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
    QWidget *view = engine->widget();
    // The image and the style sheet were found beside the copy.
    QTRY_COMPARE_WITH_TIMEOUT(view->property("title").toString(),
                              QStringLiteral("Essai|37|rgb(200, 0, 0)"), 30000);
    const QString copy = QDir::toNativeSeparators(fx.path(QStringLiteral("~$page.html")));
    QComboBox *box = commands->panel()->addressBox();
    QCOMPARE(box->currentText(), copy);
    QCOMPARE(box->count(), 1);
    QCOMPARE(box->itemText(0), copy);
    QTRY_VERIFY(!action("NavStop")->isEnabled());

    // A link followed in the panel changes the box's text, not its list.
    const QString links = QDir::toNativeSeparators(fx.path(QStringLiteral("links.html")));
    commands->NavigatePreview(links);
    QTRY_COMPARE_WITH_TIMEOUT(view->property("title").toString(), QStringLiteral("Fin"), 15000);
    QCOMPARE(box->currentText(), QDir::toNativeSeparators(fx.path(QStringLiteral("fin.html"))));
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->itemText(0), links);
    QTRY_VERIFY(action("NavPrec")->isEnabled());
    QVERIFY(!action("NavSuiv")->isEnabled());

    // Alt+Left in the editor goes back (past the page that left without the user,
    // as the engine does); Forward becomes possible.
    TMyMwCustomEdit *editor = fx.form->documents()->ActiveEditor();
    QTest::keyClick(editor, Qt::Key_Left, Qt::AltModifier);
    QTRY_COMPARE_WITH_TIMEOUT(engine->location(),
                              QUrl::fromLocalFile(fx.path(QStringLiteral("~$page.html"))), 15000);
    QTRY_VERIFY(action("NavSuiv")->isEnabled());

    // A link meant for a new window opens in the panel.
    fx.writeFile(QStringLiteral("fenetre.html"), kNewWindow);
    fx.writeFile(QStringLiteral("nouvelle.html"),
                 "<html><head><title>Nouvelle</title></head></html>\n");
    commands->NavigatePreview(QDir::toNativeSeparators(fx.path(QStringLiteral("fenetre.html"))));
    QTRY_COMPARE_WITH_TIMEOUT(view->property("title").toString(), QStringLiteral("Nouvelle"),
                              15000);
    QCOMPARE(box->currentText(),
             QDir::toNativeSeparators(fx.path(QStringLiteral("nouvelle.html"))));
}

namespace {
// A tall page whose title tells its version and the colour its style sheet gives
// the heading at the end; a slow one keeps its load going for seconds.
QByteArray tallPage(const char *version, bool slow = false) {
    QByteArray page = "<html><head><title>" + QByteArray(version) +
                      "</title><link rel=\"stylesheet\" href=\"site.css\"><script>\n"
                      "window.onload = function () { document.title += '|' + "
                      "getComputedStyle(document.getElementById('fin')).color; };\n"
                      "</script></head><body>\n";
    for (int i = 0; i < 200; ++i)
        page += "<p style=\"height: 40px; margin: 0\">ligne</p>\n";
    if (slow) page += "<script>for (var t = Date.now() + 3000; Date.now() < t;);</script>\n";
    return page + "<h1 id=\"fin\">Fin</h1>\n</body></html>\n";
}
} // namespace

void TstPreviewEngine::livePreviewFollowsTheTyping() {
    MainFormFixture fx;
    auto *commands = fx.form->findChild<PreviewCommands *>();
    ActionRegistry *actions = fx.form->actions();
    DocumentHost *docs = fx.form->documents();
    const QByteArray css = "h1 { color: rgb(200, 0, 0); }\n";
    docs->OpenDocument(fx.writeFile(QStringLiteral("site.css"), css), false);
    const QString pagePath = fx.writeFile(QStringLiteral("page.html"), tallPage("v1"));
    docs->OpenDocument(pagePath, false);
    TMyMwCustomEdit *page = docs->ActiveEditor();

    actions->action(QStringLiteral("NavDirect"))->setChecked(true);
    PreviewEngine *engine = commands->panel()->engine();
    QVERIFY(engine);
    QWidget *view = engine->widget();
    auto title = [view] { return view->property("title").toString(); };
    QTRY_COMPARE_WITH_TIMEOUT(title(), QStringLiteral("v1|rgb(200, 0, 0)"), 30000);
    engine->runScript(QStringLiteral("window.scrollTo(0, 1500);"));
    QTRY_COMPARE(engine->scrollPosition().y(), 1500);

    // Typing refreshes the page where it was.
    page->selectRange({20, 1}, {22, 1});
    page->setSelText(QStringLiteral("v2"));
    QTRY_COMPARE_WITH_TIMEOUT(title(), QStringLiteral("v2|rgb(200, 0, 0)"), 15000);
    QTRY_COMPARE(engine->scrollPosition().y(), 1500);

    // A refresh while the previous one still loads replaces it: the slow page never
    // finishes, and the page is put back where it was.
    QSignalSpy loads(view, SIGNAL(loadFinished(bool)));
    page->replaceAllText(QString::fromLatin1(tallPage("v3", true)));
    QTRY_VERIFY_WITH_TIMEOUT(engine->busy(), 15000);
    page->replaceAllText(QString::fromLatin1(tallPage("v4")));
    QTRY_COMPARE_WITH_TIMEOUT(title(), QStringLiteral("v4|rgb(200, 0, 0)"), 15000);
    QTRY_VERIFY(!engine->busy());
    QTRY_COMPARE(engine->scrollPosition().y(), 1500);
    QList<bool> finished;
    for (const QList<QVariant> &l : loads)
        finished << l.at(0).toBool();
    QVERIFY2(finished.count(true) == 1, qPrintable(QString::number(finished.size())));

    // The unsaved style sheet, edited in its own tab, shows in the page.
    docs->ActivateTab(0);
    TMyMwCustomEdit *sheet = docs->ActiveEditor();
    sheet->selectRange({17, 1}, {26, 1});
    sheet->setSelText(QStringLiteral("0, 0, 200"));
    QTRY_COMPARE_WITH_TIMEOUT(title(), QStringLiteral("v4|rgb(0, 0, 200)"), 15000);
    QCOMPARE(engine->location(), QUrl::fromLocalFile(fx.path(QStringLiteral("~$page.html"))));
    QCOMPARE(readAll(fx.path(QStringLiteral("site.css"))), css);
    QCOMPARE(readAll(pagePath), tallPage("v1"));

    // Following the caret: the page shows the element the caret is in.
    docs->ActivateTab(1);
    actions->action(QStringLiteral("NavSuivreCurseur"))->setChecked(true);
    QTRY_VERIFY(
        readAll(fx.path(QStringLiteral("~$page.html"))).contains("<h1 data-balizor-line=\"204\""));
    page->setCaretXY({3, 204});
    QTRY_VERIFY_WITH_TIMEOUT(engine->scrollPosition().y() > 6000, 15000);
    page->setCaretXY({3, 4});
    QTRY_VERIFY_WITH_TIMEOUT(engine->scrollPosition().y() < 200, 15000);
}

QTEST_MAIN(TstPreviewEngine)
#include "tst_preview_engine.moc"
