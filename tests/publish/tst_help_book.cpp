#include "publish/help_book.h"
#include "publish/product_links.h"
#include "test_support.h"

#include <QDirIterator>
#include <QSet>
#include <QStringDecoder>
#include <QTest>
#include <QXmlStreamReader>

using namespace TestSupport;

// The help book's pages, and the rules that turn them into the compiled book.
class TstHelpBook : public QObject {
    Q_OBJECT
private slots:
    void pageTitle_data();
    void pageTitle();
    void pageLinks();
    void resolveLink_data();
    void resolveLink();
    void topicUrls();
    void parseContents_data();
    void parseContents();
    void projectTree();
    void topicsInSource();
    // The real book.
    void everyTopicInTheSourcesHasAPage();
    void everyPageHasATitle();
    void everyLinkResolves();

private:
    static QString pages(const QString &name = {}) {
        return QStringLiteral(BALIZOR_SOURCE_DIR "/resources/Ressources/") + name;
    }
};

void TstHelpBook::pageTitle_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("title");
    QTest::newRow("plain") << "<head><title>Listes</title></head>"
                           << "Listes";
    QTest::newRow("case, attribute, lines")
        << "<TITLE lang=\"fr\">\n  Documents\n  et onglets\n</TITLE>"
        << "Documents et onglets";
    QTest::newRow("entities")
        << "<title>Trucs &amp; astuces &#8211; l&eacute;g&#xE8;res &zzz;</title>"
        << QString::fromUtf8("Trucs & astuces – légères &zzz;");
    QTest::newRow("none") << "<body><h1>Titre</h1></body>"
                          << "";
}

void TstHelpBook::pageTitle() {
    QFETCH(QString, html);
    QFETCH(QString, title);
    QCOMPARE(HelpBook::pageTitle(html), title);
}

void TstHelpBook::pageLinks() {
    const QString html = QStringLiteral(
        "<a href=\"liste.htm\">l</a> <img alt='x' src='images/a.png'>"
        "<!-- <a href=\"exemple.htm\"> dans un commentaire -->"
        "<A HREF = \"editeur.htm#keys\">e</A> <a name=\"top\">t</a> <a href=\"a&amp;b.htm\">x</a>"
        "<p>href=\"pas-une-balise.htm\"</p>");
    QCOMPARE(HelpBook::pageLinks(html),
             (QStringList{"liste.htm", "images/a.png", "editeur.htm#keys", "a&b.htm"}));
}

void TstHelpBook::resolveLink_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("target");
    const QString liste = QStringLiteral("Ressources/liste.htm");
    QTest::newRow("sibling, anchor") << liste << "editeur.htm#touches"
                                     << "Ressources/editeur.htm";
    QTest::newRow("picture") << liste << "images/liste.png"
                             << "Ressources/images/liste.png";
    QTest::newRow("parent") << liste << "../autre.htm"
                            << "autre.htm";
    QTest::newRow("from a sub-folder") << "Ressources/images/p.htm"
                                       << "../liste.htm" << liste;
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
}

void TstHelpBook::resolveLink() {
    QFETCH(QString, from);
    QFETCH(QString, link);
    QFETCH(QString, target);
    QCOMPARE(HelpBook::resolveLink(from, link), target);
}

void TstHelpBook::topicUrls() {
    for (const QString topic :
         {"Ressources/liste.htm", "Ressources/editeur.htm#touches", "Ressources/éditeur.htm"}) {
        const QUrl url = HelpBook::topicUrl(topic);
        QCOMPARE(HelpBook::topicOf(url), topic);
        QCOMPARE(HelpBook::topicOf(QUrl(url.toString())), topic);
        QUrl other = url;
        other.setHost(QStringLiteral("autre.livre"));
        QCOMPARE(HelpBook::topicOf(other), QString());
    }
    QCOMPARE(HelpBook::topicOf(QUrl(QStringLiteral("https://exemple.org/aide/liste.htm"))),
             QString());
}

void TstHelpBook::parseContents_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("entries"); // file:depth, space separated
    QTest::addColumn<QString>("error");
    QTest::newRow("tree") << "# sommaire\r\na.htm\r\n  b.htm\n\n    c.htm\n  d.htm\ne.htm\n"
                          << "a.htm:0 b.htm:1 c.htm:2 d.htm:1 e.htm:0"
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
    QTest::newRow("not a page") << "a.htm\nimages/x.png"
                                << ""
                                << "line 2: expected one page name ending in .htm";
}

void TstHelpBook::parseContents() {
    QFETCH(QString, text);
    QFETCH(QString, entries);
    QFETCH(QString, error);
    QString why = QStringLiteral("not cleared");
    QStringList flat;
    for (const auto &e : HelpBook::parseContents(text, &why))
        flat << e.file + QLatin1Char(':') + QString::number(e.depth);
    QCOMPARE(why, error);
    QCOMPARE(flat.join(QLatin1Char(' ')), entries);
}

void TstHelpBook::projectTree() {
    const QMap<QString, QString> titles = {{"Ressources/a.htm", "Accueil"},
                                           {"Ressources/b.htm", "Boîtes & <dialogues>"},
                                           {"Ressources/c.htm", "C"},
                                           {"Ressources/hors.htm", "Hors sommaire"}};
    QString error;
    const auto contents = HelpBook::parseContents("a.htm\n  b.htm\n    c.htm\n  x.htm\n", &error);
    const QStringList files = {"Ressources/a.htm", "Ressources/b.htm", "Ressources/c.htm",
                               "Ressources/hors.htm", "Ressources/images/x.png"};
    QXmlStreamReader r(HelpBook::buildProject(titles, contents, files));
    QStringList tree, listed;
    int depth = 0;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("section"))
            tree << QString(depth++ * 2, QLatin1Char(' ')) +
                        r.attributes().value("title").toString() + QLatin1Char('=') +
                        r.attributes().value("ref").toString();
        else if (r.isEndElement() && r.name() == QLatin1String("section"))
            --depth;
        else if (r.isStartElement() && r.name() == QLatin1String("file"))
            listed << r.readElementText();
    }
    QVERIFY2(!r.hasError(), qPrintable(r.errorString()));
    QCOMPARE(tree,
             (QStringList{"Accueil=Ressources/a.htm", "  Boîtes & <dialogues>=Ressources/b.htm",
                          "    C=Ressources/c.htm", "  x.htm=Ressources/x.htm"}));
    // Pages left out of the contents are still in the book, and so searchable.
    QCOMPARE(listed, files);
}

void TstHelpBook::topicsInSource() {
    QCOMPARE(
        HelpBook::topicsInSource(
            "ShowHelpTopic(QStringLiteral(\"Ressources/liste.htm\")); b(\"Ressources/a_b2.htm\"); "
            "\"voir Ressources/x.htm\" \"Modeles/y.htm\" \"Ressources/images/a.png\""),
        (QStringList{"Ressources/liste.htm", "Ressources/a_b2.htm"}));
}

// Every dialog's "Aide" names its page as a literal; each must have its page.
void TstHelpBook::everyTopicInTheSourcesHasAPage() {
    QMap<QString, QString> topics; // topic -> a file naming it
    QDirIterator it(QStringLiteral(BALIZOR_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        for (const QString &t : HelpBook::topicsInSource(QString::fromUtf8(readAll(file))))
            topics.insert(t, file);
    }
    for (const QString &t : {QStringLiteral("Ressources/liste.htm"),
                             QStringLiteral("Ressources/ligne_horizontale.htm"),
                             HelpBook::defaultTopic(), ProductLinks::aboutTopic()})
        QVERIFY2(topics.contains(t), qPrintable(t + " is not named in the sources"));
    for (auto t = topics.cbegin(); t != topics.cend(); ++t)
        QVERIFY2(QFileInfo(pages(t.key().mid(11))).isFile(),
                 qPrintable(t.value() + " opens " + t.key() + ", which has no page"));
}

void TstHelpBook::everyPageHasATitle() {
    QSet<QString> titles;
    QDirIterator it(pages(), {QStringLiteral("*.htm")}, QDir::Files);
    while (it.hasNext()) {
        const QString page = it.next();
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString title = HelpBook::pageTitle(utf8.decode(readAll(page)));
        QVERIFY2(!utf8.hasError(), qPrintable(page + " is not UTF-8"));
        QVERIFY2(!title.isEmpty() && !titles.contains(title),
                 qPrintable(page + ": title " + title));
        titles.insert(title);
    }
    QVERIFY(titles.size() >= 11);
    // The contents list pages only, each once, the introduction first.
    QString error;
    const auto contents =
        HelpBook::parseContents(QString::fromUtf8(readAll(pages("sommaire.txt"))), &error);
    QVERIFY2(error.isEmpty() && !contents.isEmpty(), qPrintable(error));
    QCOMPARE(QStringLiteral("Ressources/") + contents.first().file, HelpBook::defaultTopic());
    QSet<QString> seen;
    for (const auto &e : contents) {
        QVERIFY2(QFileInfo(pages(e.file)).isFile() && !seen.contains(e.file), qPrintable(e.file));
        seen.insert(e.file);
    }
}

void TstHelpBook::everyLinkResolves() {
    QDirIterator it(pages(), {QStringLiteral("*.htm")}, QDir::Files);
    while (it.hasNext()) {
        const QString page = it.next();
        const QString inBook = QStringLiteral("Ressources/") + QFileInfo(page).fileName();
        for (const QString &link : HelpBook::pageLinks(QString::fromUtf8(readAll(page)))) {
            QVERIFY2(!link.startsWith(QLatin1String("file:")), qPrintable(inBook + ": " + link));
            const QString target = HelpBook::resolveLink(inBook, link);
            if (target.isEmpty()) continue;
            const QString file = QStringLiteral(BALIZOR_SOURCE_DIR "/resources/") + target;
            QVERIFY2(target.startsWith(QLatin1String("Ressources/")) && QFileInfo(file).isFile(),
                     qPrintable(inBook + " links to " + link + ", which is not in the book"));
            const QString anchor = link.section(QLatin1Char('#'), 1);
            if (!anchor.isEmpty())
                QVERIFY2(readAll(file).contains("id=\"" + anchor.toUtf8() + '"'),
                         qPrintable(inBook + " links to a missing anchor: " + link));
        }
    }
}

QTEST_GUILESS_MAIN(TstHelpBook)
#include "tst_help_book.moc"
