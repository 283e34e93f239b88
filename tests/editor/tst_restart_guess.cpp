// Where colouring restarts when the state before the screen is not known yet.

#include "app/document_types.h"
#include "editor/restart_guess.h"

#include <QtTest>

class TestRestartGuess : public QObject {
    Q_OBJECT
private slots:
    void guessedLine_data();
    void guessedLine();

private:
    DocumentTypes m_types;
};

void TestRestartGuess::guessedLine_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("target"); // line numbers from 0
    QTest::addColumn<int>("expected");
    const int html = DocumentTypes::SynMultiSynHTML;
    auto row = [](const char *name, int type, const char *text, int target, int expected) {
        QTest::newRow(name) << type << QByteArray(text) << target << expected;
    };
    row("a tag line", html, "<p>a</p>\n<script></script>\n<b>x\n", 2, 2);
    row("text: the tag line before", html, "<div\n  class=x>\nwords\n", 2, 0);
    row("a tag in a script", html, "<p>\n<script type=\"text/javascript\">\n  s = 1;\n  <b>\n", 3,
        1);
    row("a tag in a comment", html, "<p>\n<!-- note\n<b>old</b>\nmore -->\n", 2, 1);
    row("after a comment", html, "<p>\n<!-- note\n-->\n<b>\n", 3, 3);
    row("a comment opened after a tag", html, "<i>\n<p>a</p> <!-- c\n<b>in</b>\n-->\n", 2, 1);
    row("a comment marker in a script", html, "<p>\n<script>\n// <!--\n<p>\n</script>\n", 3, 1);
    row("a tag in a style sheet", html, "<p>\n<style>\n  <i>\n</style>\n", 2, 1);
    row("a tag in a PHP block", DocumentTypes::SynMultiSynPHP,
        "<p><?php echo 1; ?></p>\n<?php\necho '<b>';\n<div>\n?>\n", 3, 1);
    row("a tag in <% %>", DocumentTypes::SynMultiSynPHP, "<p>\n<% $y = 1;\n<i>\n%>\n", 2, 1);
    row("a tag in CDATA", DocumentTypes::SynXMLSyn1,
        "<?xml version=\"1.0\"?>\n<doc>\n<![CDATA[\n<notatag>\n]]>\n", 3, 2);
    row("after CDATA", DocumentTypes::SynXMLSyn1, "<doc>\n<![CDATA[\n]]>\n<e/>\n", 3, 3);
    row("no tag within reach", html, "words\nmore\nand more\n", 2, 0);
    row("CR LF line breaks", html, "<p>\r\n<!--\r\n<b>\r\n-->\r\n", 2, 1);
    row("old Mac line breaks", html, "<p>\r<script>\r<b>\r</script>\r", 2, 1);
    const int css = DocumentTypes::SynCssSyn1;
    row("style sheet: the blank line before", css, "a { }\n\nb {\n  color: red;\n}\n", 3, 1);
    row("style sheet: no blank line", css, "a {\n  b: c;\n}\n", 2, 0);
}

void TestRestartGuess::guessedLine() {
    QFETCH(int, type);
    QFETCH(QByteArray, text);
    QFETCH(int, target);
    QFETCH(int, expected);
    QList<int> starts{0};
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        if (text[i] == '\n' || text[i] == '\r') starts << i + 1;
    }
    const int guess = guessRestartLine(*m_types.highlighter(type), text.constData(),
                                       int(text.size()), starts[target]);
    QCOMPARE(starts.indexOf(guess), expected);
}

QTEST_GUILESS_MAIN(TestRestartGuess)
#include "tst_restart_guess.moc"
