#include "publish/help_book.h"
#include "publish/product_links.h"
#include "test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTest>
#include <QXmlStreamReader>

using namespace TestSupport;

// The help book's pages and the rules that turn them into the compiled book.
class TstHelpBook : public QObject {
    Q_OBJECT
private slots:
    void pageTitle_data();
    void pageTitle();
    void pageLinks();
    void resolveLink_data();
    void resolveLink();
    void topicUrls_data();
    void topicUrls();
    void parseContents_data();
    void parseContents();
    void projectTree();
    void topicsInSource_data();
    void topicsInSource();
    void missingPage();

    // The real book.
    void everyTopicInTheSourcesHasAPage();
    void everyPageIsReadable();
    void everyLinkResolves();
    void contentsListOnlyPages();

private:
    static QString pagesDir() { return QStringLiteral(BALIZOR_SOURCE_DIR "/resources/Ressources"); }
    static QStringList pages();
};

QStringList TstHelpBook::pages() {
    QStringList out;
    QDirIterator it(pagesDir(), {QStringLiteral("*.htm")}, QDir::Files);
    while (it.hasNext())
        out << it.next();
    out.sort();
    return out;
}

void TstHelpBook::pageTitle_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("title");
    QTest::newRow("plain") << "<html><head><title>Listes</title></head>"
                           << "Listes";
    QTest::newRow("upper case, attribute") << "<TITLE lang=\"fr\">Ligne horizontale</TITLE>"
                                           << "Ligne horizontale";
    QTest::newRow("spread over lines") << "<title>\n  Documents\n  et onglets\n</title>"
                                       << "Documents et onglets";
    QTest::newRow("entities") << "<title>Trucs &amp; astuces &#8211; l&eacute;g&#xE8;res</title>"
                              << QString::fromUtf8("Trucs & astuces – légères");
    QTest::newRow("unknown entity kept") << "<title>a &zzz; b</title>"
                                         << "a &zzz; b";
    QTest::newRow("none") << "<html><body><h1>Titre</h1></body></html>"
                          << "";
    QTest::newRow("first one only") << "<title>Un</title><title>Deux</title>"
                                    << "Un";
}

void TstHelpBook::pageTitle() {
    QFETCH(QString, html);
    QFETCH(QString, title);
    QCOMPARE(HelpBook::pageTitle(html), title);
}

void TstHelpBook::pageLinks() {
    const QString html =
        QStringLiteral("<p><a href=\"liste.htm\">l</a> <img alt='x' src='images/a.png'>"
                       "<!-- <a href=\"exemple.htm\"> dans un commentaire -->"
                       "<A HREF = \"editeur.htm#keys\">e</A> <a name=\"top\">t</a>"
                       "<link rel=\"stylesheet\" href=\"aide.css\"><a href=\"a&amp;b.htm\">x</a>"
                       "<p>href=\"pas-une-balise.htm\"</p>");
    QCOMPARE(HelpBook::pageLinks(html),
             (QStringList{"liste.htm", "images/a.png", "editeur.htm#keys", "aide.css", "a&b.htm"}));
}

void TstHelpBook::resolveLink_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("target");
    const QString liste = QStringLiteral("Ressources/liste.htm");
    QTest::newRow("sibling") << liste << "editeur.htm"
                             << "Ressources/editeur.htm";
    QTest::newRow("picture") << liste << "images/liste.png"
                             << "Ressources/images/liste.png";
    QTest::newRow("anchor dropped") << liste << "editeur.htm#touches"
                                    << "Ressources/editeur.htm";
    QTest::newRow("query dropped") << liste << "editeur.htm?x=1"
                                   << "Ressources/editeur.htm";
    QTest::newRow("parent") << liste << "../autre.htm"
                            << "autre.htm";
    QTest::newRow("from a sub-folder") << "Ressources/images/page.htm"
                                       << "../liste.htm" << liste;
    QTest::newRow("dot segments") << liste << "./images/../liste.htm" << liste;
    QTest::newRow("escaped space") << liste << "mon%20fichier.htm"
                                   << "Ressources/mon fichier.htm";
    QTest::newRow("rooted") << liste << "/Ressources/editeur.htm"
                            << "Ressources/editeur.htm";
    QTest::newRow("anchor only") << liste << "#haut"
                                 << "";
    QTest::newRow("web") << liste << "https://exemple.org/page.htm"
                         << "";
    QTest::newRow("mail") << liste << "mailto:moi@exemple.org"
                          << "";
    QTest::newRow("book address") << liste << "qthelp://fr.balizor.aide/aide/x.htm"
                                  << "";
    QTest::newRow("empty") << liste << ""
                           << "";
}

void TstHelpBook::resolveLink() {
    QFETCH(QString, from);
    QFETCH(QString, link);
    QFETCH(QString, target);
    QCOMPARE(HelpBook::resolveLink(from, link), target);
}

void TstHelpBook::topicUrls_data() {
    QTest::addColumn<QString>("topic");
    QTest::newRow("page") << "Ressources/liste.htm";
    QTest::newRow("page and anchor") << "Ressources/editeur.htm#touches";
    QTest::newRow("picture") << "Ressources/images/liste.png";
    QTest::newRow("accented") << QString::fromUtf8("Ressources/éditeur.htm");
}

void TstHelpBook::topicUrls() {
    QFETCH(QString, topic);
    const QUrl url = HelpBook::topicUrl(topic);
    QCOMPARE(url.scheme(), QStringLiteral("qthelp"));
    QCOMPARE(HelpBook::topicOf(url), topic);
    // Through text and back, as the page view hands addresses around.
    QCOMPARE(HelpBook::topicOf(QUrl(url.toString())), topic);
    // Addresses outside the book are no topic.
    QCOMPARE(HelpBook::topicOf(QUrl(QStringLiteral("https://exemple.org/aide/liste.htm"))),
             QString());
    QUrl other = url;
    other.setHost(QStringLiteral("autre.livre"));
    QCOMPARE(HelpBook::topicOf(other), QString());
}

void TstHelpBook::parseContents_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("entries"); // file:depth, space separated
    QTest::addColumn<QString>("error");
    QTest::newRow("tree") << "a.htm\n  b.htm\n    c.htm\n  d.htm\ne.htm\n"
                          << "a.htm:0 b.htm:1 c.htm:2 d.htm:1 e.htm:0"
                          << "";
    QTest::newRow("comments, blanks, CR LF") << "# sommaire\r\n\r\na.htm\r\n  # note\r\n  b.htm\r\n"
                                             << "a.htm:0 b.htm:1"
                                             << "";
    QTest::newRow("back two levels") << "a.htm\n  b.htm\n    c.htm\nd.htm"
                                     << "a.htm:0 b.htm:1 c.htm:2 d.htm:0"
                                     << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("tab") << "a.htm\n\tb.htm"
                         << ""
                         << "line 2: indent with spaces, not tabs";
    QTest::newRow("odd indent") << "a.htm\n   b.htm"
                                << ""
                                << "line 2: indent by two spaces per level";
    QTest::newRow("two levels down")
        << "a.htm\n    b.htm"
        << ""
        << "line 2: indented more than one level below the line before";
    QTest::newRow("first line indented")
        << "  a.htm"
        << ""
        << "line 1: indented more than one level below the line before";
    QTest::newRow("not a page") << "a.htm\nimages/x.png"
                                << ""
                                << "line 2: expected one page name ending in .htm";
    QTest::newRow("two names") << "a.htm b.htm"
                               << ""
                               << "line 1: expected one page name ending in .htm";
}

void TstHelpBook::parseContents() {
    QFETCH(QString, text);
    QFETCH(QString, entries);
    QFETCH(QString, error);
    QString why = QStringLiteral("not cleared");
    const QList<HelpBook::ContentsEntry> got = HelpBook::parseContents(text, &why);
    QCOMPARE(why, error);
    QStringList flat;
    for (const auto &e : got)
        flat << e.file + QLatin1Char(':') + QString::number(e.depth);
    QCOMPARE(flat.join(QLatin1Char(' ')), entries);
}

void TstHelpBook::projectTree() {
    const QMap<QString, QString> titles = {{"Ressources/a.htm", "Accueil"},
                                           {"Ressources/b.htm", "Boîtes & <dialogues>"},
                                           {"Ressources/c.htm", "C"},
                                           {"Ressources/hors.htm", "Hors sommaire"}};
    QString error;
    const auto contents =
        HelpBook::parseContents("a.htm\n  b.htm\n    c.htm\n  inconnue.htm\n", &error);
    const QStringList files = {"Ressources/a.htm", "Ressources/b.htm", "Ressources/c.htm",
                               "Ressources/hors.htm", "Ressources/images/x.png"};
    const QByteArray qhp = HelpBook::buildProject(titles, contents, files);

    QXmlStreamReader r(qhp);
    QStringList tree, listed, keywords;
    QString ns, folder;
    int depth = 0;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("section")) {
            tree << QString(depth * 2, QLatin1Char(' ')) +
                        r.attributes().value("title").toString() + QLatin1Char('=') +
                        r.attributes().value("ref").toString();
            ++depth;
        } else if (r.isEndElement() && r.name() == QLatin1String("section")) {
            --depth;
        } else if (r.isStartElement() && r.name() == QLatin1String("file")) {
            listed << r.readElementText();
        } else if (r.isStartElement() && r.name() == QLatin1String("keyword")) {
            keywords << r.attributes().value("name").toString();
        } else if (r.isStartElement() && r.name() == QLatin1String("namespace")) {
            ns = r.readElementText();
        } else if (r.isStartElement() && r.name() == QLatin1String("virtualFolder")) {
            folder = r.readElementText();
        }
    }
    QVERIFY2(!r.hasError(), qPrintable(r.errorString()));
    QCOMPARE(ns, HelpBook::namespaceName());
    QCOMPARE(folder, HelpBook::virtualFolder());
    QCOMPARE(tree, (QStringList{"Accueil=Ressources/a.htm",
                                "  Boîtes & <dialogues>=Ressources/b.htm", "    C=Ressources/c.htm",
                                // A listed page without a title still has an entry.
                                "  inconnue.htm=Ressources/inconnue.htm"}));
    // Pages left out of the contents are still in the book, and so searchable.
    QCOMPARE(listed, files);
    QVERIFY(keywords.contains("Hors sommaire"));
    QCOMPARE(depth, 0);
}

void TstHelpBook::topicsInSource_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("topics");
    QTest::newRow("call") << "ShowHelpTopic(QStringLiteral(\"Ressources/liste.htm\"));"
                          << QStringList{"Ressources/liste.htm"};
    QTest::newRow("several")
        << "a(\"Ressources/preferences.htm\"); b(\"Ressources/preferences2.htm\")"
        << QStringList{"Ressources/preferences.htm", "Ressources/preferences2.htm"};
    QTest::newRow("underscore") << "\"Ressources/formulaire_bouton.htm\""
                                << QStringList{"Ressources/formulaire_bouton.htm"};
    QTest::newRow("not a literal of its own") << "\"voir Ressources/liste.htm\"" << QStringList{};
    QTest::newRow("other folder") << "\"Modeles/liste.htm\"" << QStringList{};
    QTest::newRow("picture") << "\"Ressources/images/a.png\"" << QStringList{};
}

void TstHelpBook::topicsInSource() {
    QFETCH(QString, source);
    QFETCH(QStringList, topics);
    QCOMPARE(HelpBook::topicsInSource(source), topics);
}

void TstHelpBook::missingPage() {
    const QString html = HelpBook::missingPageHtml(QStringLiteral("Ressources/<b>x</b>.htm"));
    QCOMPARE(HelpBook::pageTitle(html), QStringLiteral("Page introuvable"));
    QVERIFY(html.contains(QStringLiteral("Ressources/&lt;b&gt;x&lt;/b&gt;.htm")));
    QVERIFY(!html.contains(QStringLiteral("<b>x</b>")));
    // It offers the way back to the introduction.
    QVERIFY(HelpBook::pageLinks(html).contains(
        HelpBook::topicUrl(HelpBook::defaultTopic()).toString()));
}

void TstHelpBook::everyTopicInTheSourcesHasAPage() {
    QMap<QString, QString> topics; // topic -> first file naming it
    QDirIterator it(QStringLiteral(BALIZOR_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        for (const QString &t : HelpBook::topicsInSource(QString::fromUtf8(readAll(file))))
            if (!topics.contains(t)) topics.insert(t, file);
    }
    // The dialogs already built name theirs; so do the default topic and the program's page.
    for (const QString &t : {QStringLiteral("Ressources/liste.htm"),
                             QStringLiteral("Ressources/ligne_horizontale.htm"),
                             HelpBook::defaultTopic(), ProductLinks::aboutTopic()})
        QVERIFY2(topics.contains(t), qPrintable(t + " is not named in the sources"));
    for (auto t = topics.cbegin(); t != topics.cend(); ++t) {
        const QString page = QStringLiteral(BALIZOR_SOURCE_DIR "/resources/") + t.key();
        QVERIFY2(QFileInfo(page).isFile(),
                 qPrintable(t.value() + " opens " + t.key() +
                            ", which has no page in resources/Ressources"));
    }
}

void TstHelpBook::everyPageIsReadable() {
    const QStringList all = pages();
    QVERIFY(all.size() >= 11);
    QSet<QString> titles;
    for (const QString &page : all) {
        const QByteArray bytes = readAll(page);
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString html = utf8.decode(bytes);
        QVERIFY2(!utf8.hasError(), qPrintable(page + " is not UTF-8"));
        QVERIFY2(html.contains(QLatin1String("charset=\"utf-8\"")),
                 qPrintable(page + " does not say it is UTF-8"));
        const QString title = HelpBook::pageTitle(html);
        QVERIFY2(!title.isEmpty(), qPrintable(page + " has no title"));
        QVERIFY2(!titles.contains(title), qPrintable(page + " repeats the title " + title));
        titles.insert(title);
        // Every page starts with its title as a heading.
        QVERIFY2(html.contains(QStringLiteral("<h1>") + title.toHtmlEscaped() +
                               QStringLiteral("</h1>")) ||
                     html.contains(QStringLiteral("<h1>")),
                 qPrintable(page + " has no heading"));
    }
}

void TstHelpBook::everyLinkResolves() {
    const QDir resources(QStringLiteral(BALIZOR_SOURCE_DIR "/resources"));
    for (const QString &page : pages()) {
        const QString inBook = QStringLiteral("Ressources/") + QFileInfo(page).fileName();
        const QString html = QString::fromUtf8(readAll(page));
        const QStringList links = HelpBook::pageLinks(html);
        for (const QString &link : links) {
            const QString target = HelpBook::resolveLink(inBook, link);
            if (target.isEmpty()) continue;
            QVERIFY2(target.startsWith(QLatin1String("Ressources/")),
                     qPrintable(inBook + " links outside the book: " + link));
            QVERIFY2(QFileInfo(resources.filePath(target)).isFile(),
                     qPrintable(inBook + " links to " + link + ", which does not exist"));
            const QString anchor = link.section(QLatin1Char('#'), 1);
            if (!anchor.isEmpty()) {
                const QString targetHtml = QString::fromUtf8(readAll(resources.filePath(target)));
                QVERIFY2(
                    targetHtml.contains(QStringLiteral("id=\"") + anchor + QLatin1Char('"')) ||
                        targetHtml.contains(QStringLiteral("name=\"") + anchor + QLatin1Char('"')),
                    qPrintable(inBook + " links to a missing anchor: " + link));
            }
        }
        // Links outside the book go to the web only, never to the user's files.
        for (const QString &link : links)
            QVERIFY2(!link.startsWith(QLatin1String("file:")), qPrintable(inBook + ": " + link));
    }
}

void TstHelpBook::contentsListOnlyPages() {
    QString error;
    const auto contents = HelpBook::parseContents(
        QString::fromUtf8(readAll(pagesDir() + QStringLiteral("/sommaire.txt"))), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(!contents.isEmpty());
    QCOMPARE(QStringLiteral("Ressources/") + contents.first().file, HelpBook::defaultTopic());
    QSet<QString> seen;
    for (const auto &e : contents) {
        QVERIFY2(QFileInfo(pagesDir() + QLatin1Char('/') + e.file).isFile(), qPrintable(e.file));
        QVERIFY2(!seen.contains(e.file), qPrintable(e.file + " is listed twice"));
        seen.insert(e.file);
    }
}

QTEST_GUILESS_MAIN(TstHelpBook)
#include "tst_help_book.moc"
