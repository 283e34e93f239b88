#include "editor/html_vocabulary.h"
#include "editor/plain_highlighters.h"

#include <QTest>

using namespace HtmlVocabulary;

class TestHtmlVocabulary : public QObject {
    Q_OBJECT
private slots:
    void classicTables();
    void classicAttributeLists_data();
    void classicAttributeLists();
    void todaysHtml_data();
    void todaysHtml();
    void colouringKnowsEveryListedElement();
};

namespace {
QStringList names(const std::vector<int> &indexes) {
    QStringList out;
    for (int i : indexes)
        out << attributes()[i].name;
    return out;
}
const QStringList EventNames = {"onclick",     "ondblclick",  "onkeydown",   "onkeypress",
                                "onkeyup",     "onmousedown", "onmousemove", "onmouseout",
                                "onmouseover", "onmouseup"};
} // namespace

void TestHtmlVocabulary::classicTables() {
    const QStringList classic = completionElements(true);
    QCOMPARE(classic.size(), 92);
    QCOMPARE(classic.first(), QStringLiteral("a"));
    QCOMPARE(classic.last(), QStringLiteral("var"));
    QCOMPARE(classic.indexOf(QStringLiteral("isindex")), 49);
    int count = 0, events = 0;
    QStringList order;
    for (const Attribute &a : attributes())
        if (a.classic) {
            ++count;
            order << a.name;
            if (a.icon == IconEvent) ++events;
        }
    QCOMPARE(count, 119);
    QCOMPARE(events, 19); // the 18 "on" names and "object"
    QCOMPARE(order.mid(0, 4), QStringList({"abbr", "accept-charset", "accept", "accesskey"}));
    QCOMPARE(order.last(), QStringLiteral("width"));
    QStringList sorted = order.mid(2);
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(order.mid(2), sorted);
    // Every classic element accepts something.
    for (const QString &e : classic)
        QVERIFY2(!attributesOf(e, true).empty(), qPrintable(e));
}

void TestHtmlVocabulary::classicAttributeLists_data() {
    QTest::addColumn<QString>("element");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("sample"); // exact list when count matches its size
    QTest::newRow("td") << "td" << 31 << QStringList{"abbr", "width"};
    QTest::newRow("th") << "th" << 31 << QStringList{"abbr", "width"};
    QTest::newRow("input") << "input" << 36 << QStringList{"accept", "value"};
    QTest::newRow("object") << "object" << 33 << QStringList{"align", "width"};
    QTest::newRow("a") << "a" << 30 << QStringList{"accesskey", "type"};
    QTest::newRow("base") << "base" << 2 << QStringList{"href", "target"};
    QTest::newRow("title") << "title" << 2 << QStringList{"dir", "lang"};
    QTest::newRow("head") << "head" << 3 << QStringList{"dir", "lang", "profile"};
    QTest::newRow("html") << "html" << 3 << QStringList{"dir", "lang", "version"};
    QTest::newRow("br") << "br" << 5 << QStringList{"class", "clear", "id", "style", "title"};
    QTest::newRow("menu") << "menu" << 17
                          << (QStringList{"class", "compact", "dir", "id", "lang"} + EventNames +
                              QStringList{"style", "title"});
    QTest::newRow("upper case") << "TD" << 31 << QStringList{"abbr", "width"};
    QTest::newRow("not an element") << "blah" << 0 << QStringList{};
    QTest::newRow("today's element") << "video" << 0 << QStringList{};
}

void TestHtmlVocabulary::classicAttributeLists() {
    QFETCH(QString, element);
    QFETCH(int, count);
    QFETCH(QStringList, sample);
    const QStringList list = names(attributesOf(element, true));
    QCOMPARE(list.size(), count);
    if (sample.size() == count) {
        QCOMPARE(list, sample);
    } else if (!sample.isEmpty()) {
        QCOMPARE(list.first(), sample.first());
        QCOMPARE(list.last(), sample.last());
    }
    if (element == QLatin1String("h1")) QCOMPARE(list, names(attributesOf("h2", true)));
}

void TestHtmlVocabulary::todaysHtml_data() {
    QTest::addColumn<QString>("element");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    QTest::newRow("img") << "img" << QStringList{"loading", "srcset", "sizes", "alt", "data-*"}
                         << QStringList{"controls"};
    QTest::newRow("video") << "video" << QStringList{"controls", "autoplay",   "poster", "class",
                                                     "id",       "aria-label", "onclick"}
                           << QStringList{"href"};
    QTest::newRow("input") << "input" << QStringList{"placeholder",  "required", "pattern",
                                                     "autocomplete", "oninput",  "type"}
                           << QStringList{"srcset"};
    QTest::newRow("script") << "script" << QStringList{"async", "defer", "type", "integrity"}
                            << QStringList{"class"};
    QTest::newRow("section") << "SECTION" << QStringList{"class", "id", "lang", "hidden"}
                             << QStringList{"src"};
    QTest::newRow("legacy only") << "marquee" << QStringList{} << QStringList{"class"};
}

void TestHtmlVocabulary::todaysHtml() {
    QFETCH(QString, element);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    const QStringList list = names(attributesOf(element));
    for (const QString &a : present)
        QVERIFY2(list.contains(a), qPrintable(a));
    for (const QString &a : absent)
        QVERIFY2(!list.contains(a), qPrintable(a));
    // Listing order holds in the full view too.
    for (int i = 1; i < list.size(); ++i)
        if (!(list[i - 1] == "accept-charset" && list[i] == "accept"))
            QVERIFY2(list[i - 1] < list[i], qPrintable(list[i]));
}

void TestHtmlVocabulary::colouringKnowsEveryListedElement() {
    const QStringList all = completionElements();
    for (const char *e : {"section", "article", "nav", "main", "header", "footer", "figure",
                          "picture", "video", "audio", "source", "template", "dialog"})
        QVERIFY2(all.contains(QLatin1String(e)), e);
    for (const QString &e : all) {
        const QByteArray b = e.toUpper().toLatin1();
        QVERIFY2(HtmlHighlighter::isElementName(b.constData(), int(b.size())), b.constData());
    }
    QVERIFY(HtmlHighlighter::isElementName("marquee", 7));
    QVERIFY(!all.contains(QStringLiteral("marquee")));
    const auto data = std::find_if(attributes().begin(), attributes().end(),
                                   [](const Attribute &a) { return a.name == "data-*"; });
    QVERIFY(data != attributes().end());
    QCOMPARE(data->insertText, QStringLiteral("data-"));
}

QTEST_GUILESS_MAIN(TestHtmlVocabulary)
#include "tst_html_vocabulary.moc"
