#include "assist/tag_reference.h"
#include "editor/html_vocabulary.h"

#include <QRegularExpression>
#include <QTest>

using namespace TagReference;

class TestTagReference : public QObject {
    Q_OBJECT
private slots:
    void classicKeysInOrder();
    void texts_data();
    void texts();
    void everyEntryIsComplete();
    void markupCase_data();
    void markupCase();
};

namespace {
const char *const ClassicKeys[] = {
    "<!-- -->",  "<!DOCTYPE>",   "<A>",        "<ABBR>",     "<ACRONYM>",  "<ADDRESS>",  "<APPLET>",
    "<AREA>",    "<B>",          "<BASE>",     "<BASEFONT>", "<BDO>",      "<BGSOUND>",  "<BIG>",
    "<BLINK>",   "<BLOCKQUOTE>", "<BODY>",     "<BR>",       "<BUTTON>",   "<CAPTION>",  "<CENTER>",
    "<CITE>",    "<CODE>",       "<COL>",      "<COLGROUP>", "<DD>",       "<DEL>",      "<DFN>",
    "<DIR>",     "<DIV>",        "<DL>",       "<DT>",       "<EMBED>",    "<FIELDSET>", "<FONT>",
    "<FORM>",    "<FRAME>",      "<FRAMESET>", "<H1>",       "<H2>",       "<H3>",       "<H4>",
    "<H5>",      "<H6>",         "<HEAD>",     "<HR>",       "<HTML>",     "<I>",        "<IFRAME>",
    "<IMG>",     "<INPUT>",      "<INS>",      "<ISINDEX>",  "<KBD>",      "<LABEL>",    "<LEGEND>",
    "<LI>",      "<LINK>",       "<MAP>",      "<MARQUEE>",  "<MENU>",     "<META>",     "<NOBR>",
    "<NOFRAME>", "<NOSCRIPT>",   "<OBJECT>",   "<OL>",       "<OPTGROUP>", "<OPTION>",   "<P>",
    "<PARAM>",   "<PRE>",        "<Q>",        "<S>",        "<SAMP>",     "<SCRIPT>",   "<SELECT>",
    "<SMALL>",   "<SPAN>",       "<STRIKE>",   "<STRONG>",   "<STYLE>",    "<SUB>",      "<SUP>",
    "<TABLE>",   "<TBODY>",      "<TD>",       "<TEXTAREA>", "<TFOOT>",    "<TH>",       "<THEAD>",
    "<TITLE>",   "<TR>",         "<TT>",       "<U>",        "<UL>",       "<VAR>",      "<WBR>"};
} // namespace

void TestTagReference::classicKeysInOrder() {
    QCOMPARE(int(std::size(ClassicKeys)), 98);
    int last = -1;
    for (const char *k : ClassicKeys) {
        const int i = indexOf(QString::fromLatin1(k));
        QVERIFY2(i > last, k);
        last = i;
    }
    for (const char *k :
         {"<SECTION>", "<ARTICLE>", "<NAV>", "<MAIN>", "<HEADER>", "<FOOTER>", "<FIGURE>",
          "<PICTURE>", "<VIDEO>", "<AUDIO>", "<SOURCE>", "<TEMPLATE>", "<DIALOG>"})
        QVERIFY2(indexOf(QString::fromLatin1(k)) >= 0, k);
}

void TestTagReference::texts_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");
    QTest::newRow("rule") << "<TABLE>"
                          << "<table>"
                          << "</table>";
    QTest::newRow("comment") << "<!-- -->"
                             << "<!--"
                             << "-->";
    QTest::newRow("bgsound") << "<BGSOUND>"
                             << "<bgsound src=\""
                             << "\" loop=\"infinite\">";
    QTest::newRow("img with alt") << "<IMG>"
                                  << "<img src=\""
                                  << "\" alt=\"\">";
    QTest::newRow("noframe") << "<NOFRAME>"
                             << "<noframes>"
                             << "</noframes>";
    QTest::newRow("br") << "<BR>"
                        << "<br>"
                        << "";
    QTest::newRow("doctype") << "<!DOCTYPE>"
                             << "<!DOCTYPE html>"
                             << "";
    QTest::newRow("option") << "<OPTION>"
                            << "<option>"
                            << "";
    QTest::newRow("wbr") << "<WBR>"
                         << "<wbr>"
                         << "";
    QTest::newRow("source") << "<SOURCE>"
                            << "<source>"
                            << "";
    // End tags that markup needs.
    QTest::newRow("map") << "<MAP>"
                         << "<map>"
                         << "</map>";
    QTest::newRow("label") << "<LABEL>"
                           << "<label>"
                           << "</label>";
    QTest::newRow("video") << "<VIDEO>"
                           << "<video>"
                           << "</video>";
}

void TestTagReference::texts() {
    QFETCH(QString, key);
    QFETCH(QString, opening);
    QFETCH(QString, closing);
    const int i = indexOf(key);
    QVERIFY(i >= 0);
    QCOMPARE(entries()[size_t(i)].opening, opening);
    QCOMPARE(entries()[size_t(i)].closing, closing);
}

void TestTagReference::everyEntryIsComplete() {
    QCOMPARE(entries()[size_t(indexOf("<B>"))].description,
             QStringLiteral("Affiche le texte en gras"));
    QCOMPARE(entries()[size_t(indexOf("<BR>"))].example,
             QStringLiteral("Voici une première ligne.<br>\r\nEt maintenant une deuxième ligne"));
    QCOMPARE(entries()[size_t(indexOf("<HR>"))].example, QStringLiteral("<hr width=\"80%\">"));
    const QRegularExpression bareBreak(QStringLiteral("[^\r]\n"));
    for (const Entry &e : entries()) {
        QVERIFY2(!e.description.isEmpty(), qPrintable(e.key));
        QVERIFY2(!e.example.isEmpty(), qPrintable(e.key));
        QVERIFY2(!e.example.contains(bareBreak), qPrintable(e.key));
        QCOMPARE(e.obsolete, e.description.contains(QStringLiteral("obsolète")));
        // The example shows the element itself.
        const QString open = e.opening.left(e.opening.indexOf(QRegularExpression("[ >\"]|$")));
        QVERIFY2(e.example.contains(open, Qt::CaseInsensitive), qPrintable(e.key));
        // Elements of today's HTML are not called obsolete; the colouring knows each one.
        const QString name = e.key.mid(1, e.key.size() - 2).toLower();
        if (!name.startsWith('!')) {
            const bool known =
                HtmlVocabulary::isKnownElement(name == "noframe" ? "noframes" : name);
            QVERIFY2(known, qPrintable(e.key));
        }
        // Every end tag opened in an example is closed (void elements aside).
        QRegularExpression tag(QStringLiteral("<(/?)([a-z][a-z0-9]*)"));
        QStringList stack;
        for (const auto &m : tag.globalMatch(e.example)) {
            const QString n = m.captured(2);
            if (e.closing.isEmpty() && n == name) continue;
            if (m.captured(1).isEmpty())
                stack << n;
            else
                QVERIFY2(stack.removeOne(n), qPrintable(e.key + " " + n));
        }
    }
}

void TestTagReference::markupCase_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("result");
    QTest::newRow("off") << "<b>gras</b>" << false << "<b>gras</b>";
    QTest::newRow("text kept") << "lisez <b>attentivement</b> les explications" << true
                               << "lisez <B>attentivement</B> les explications";
    QTest::newRow("values kept") << "<a href=\"page.html\" title='Un lien'>voir</a>" << true
                                 << "<A HREF=\"page.html\" TITLE='Un lien'>voir</A>";
    QTest::newRow("comment kept") << "<!-- note <b> -->x<i>" << true << "<!-- note <b> -->x<I>";
    QTest::newRow("open value") << "<img src=\"" << true << "<IMG SRC=\"";
    QTest::newRow("accents in text") << "é<br>è" << true << "é<BR>è";
}

void TestTagReference::markupCase() {
    QFETCH(QString, text);
    QFETCH(bool, casse);
    QFETCH(QString, result);
    QCOMPARE(TagReference::markupCase(text, casse), result);
}

QTEST_GUILESS_MAIN(TestTagReference)
#include "tst_tag_reference.moc"
