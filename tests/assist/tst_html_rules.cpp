#include "assist/html_rules.h"

#include <QTest>

using HtmlRules::Implied;
Q_DECLARE_METATYPE(HtmlRules::Implied)

class TestHtmlRules : public QObject {
    Q_OBJECT
private slots:
    void startTags_data();
    void startTags();
    void endTags_data();
    void endTags();
};

void TestHtmlRules::startTags_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("open");
    QTest::addColumn<Implied>("implied");
    QTest::newRow("next paragraph") << "p"
                                    << "p" << Implied::Sibling;
    QTest::newRow("a block ends a paragraph") << "div"
                                              << "p" << Implied::Block;
    QTest::newRow("a list item ends a paragraph") << "li"
                                                  << "p" << Implied::Block;
    QTest::newRow("a table ends a paragraph") << "table"
                                              << "p" << Implied::Block;
    QTest::newRow("phrasing stays inside") << "span"
                                           << "p" << Implied::No;
    QTest::newRow("a definition ends a term") << "dd"
                                              << "dt" << Implied::Sibling;
    QTest::newRow("a row ends a cell") << "tr"
                                       << "td" << Implied::Sibling;
    QTest::newRow("a cell does not end its row") << "td"
                                                 << "tr" << Implied::No;
    QTest::newRow("a body after the head") << "body"
                                           << "head" << Implied::Sibling;
    QTest::newRow("a select's end tag is required") << "option"
                                                    << "select" << Implied::No;
    QTest::newRow("a column ends a caption") << "col"
                                             << "caption" << Implied::Sibling;
    QTest::newRow("a separator ends an option") << "hr"
                                                << "option" << Implied::Sibling;
}

void TestHtmlRules::startTags() {
    QFETCH(QString, tag);
    QFETCH(QString, open);
    QFETCH(Implied, implied);
    const std::string t = tag.toStdString(), o = open.toStdString();
    QCOMPARE(HtmlRules::startTagEnds(t, o), implied);
    // The listing agrees with the question.
    const auto listed = HtmlRules::startTagsEnding(o, implied);
    QCOMPARE(std::find(listed.begin(), listed.end(), t) != listed.end(), implied != Implied::No);
    // Only elements whose end tag may be left out are ever ended this way.
    if (implied != Implied::No) QVERIFY(HtmlRules::endTagOptional(o));
}

void TestHtmlRules::endTags_data() {
    QTest::addColumn<QString>("endTag");
    QTest::addColumn<QString>("open");
    QTest::addColumn<bool>("ends");
    QTest::newRow("list end closes its item") << "ul"
                                              << "li" << true;
    QTest::newRow("table end closes a cell") << "table"
                                             << "td" << true;
    QTest::newRow("a division's end does not close another") << "div"
                                                             << "span" << false;
    QTest::newRow("the body ends only with the page") << "div"
                                                      << "body" << false;
    QTest::newRow("page end closes the body") << "html"
                                              << "body" << true;
    QTest::newRow("nothing closes the page silently") << "html"
                                                      << "html" << false;
}

void TestHtmlRules::endTags() {
    QFETCH(QString, endTag);
    QFETCH(QString, open);
    QFETCH(bool, ends);
    QCOMPARE(HtmlRules::endTagEnds(endTag.toStdString(), open.toStdString()), ends);
}

QTEST_APPLESS_MAIN(TestHtmlRules)
#include "tst_html_rules.moc"
