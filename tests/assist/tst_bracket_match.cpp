#include "app/document_types.h"
#include "assist/bracket_match.h"
#include "highlight_probe.h"

#include <QTest>

class TestBracketMatch : public QObject {
    Q_OBJECT
private slots:
    void highlighted_data();
    void highlighted();
    void partner_data();
    void partner();
};

void TestBracketMatch::highlighted_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("text"); // "|" is the caret
    QTest::addColumn<bool>("selection");
    QTest::addColumn<int>("bracket"); // offset in the text without the caret, or -1
    const int page = DocumentTypes::SynMultiSynHTML;
    const int js = DocumentTypes::SynJScriptSyn1;
    QTest::newRow("between ( and ): the right one") << js << QByteArray("f(|)") << false << 2;
    QTest::newRow("after )") << js << QByteArray("f()|;") << false << 2;
    QTest::newRow("before (") << js << QByteArray("f|(x)") << false << 1;
    QTest::newRow("any selection") << js << QByteArray("f(|)") << true << -1;
    QTest::newRow("in a string") << js << QByteArray("s = \"(|\";") << false << -1;
    QTest::newRow("in a comment") << js << QByteArray("// a (|b)") << false << -1;
    QTest::newRow("braces") << js << QByteArray("if (a) {|}") << false << 8;
    QTest::newRow("square") << js << QByteArray("t[|0]") << false << 1;
    QTest::newRow("< right of the caret wins") << js << QByteArray("a(|<b") << false << -1;
    QTest::newRow("> alone") << js << QByteArray("a >|b") << false << -1;
    QTest::newRow("nothing near") << js << QByteArray("ab|cd") << false << -1;
    QTest::newRow("script in a page")
        << page << QByteArray("<script>\nf(|1);\n</script>\n") << false << 10;
    QTest::newRow("parenthesis in HTML text")
        << page << QByteArray("<p>texte (|note)</p>") << false << -1;
    QTest::newRow("css braces") << page
                                << QByteArray(
                                       "<style type=\"text/css\">\np {|color: red}\n</style>")
                                << false << 26;
    QTest::newRow("untyped style")
        << page << QByteArray("<style>\np {|color: red}\n</style>") << false << 10;
}

void TestBracketMatch::highlighted() {
    QFETCH(int, type);
    QFETCH(QByteArray, text);
    QFETCH(bool, selection);
    QFETCH(int, bracket);
    const qsizetype caret = text.indexOf('|');
    text.remove(caret, 1);
    DocumentTypes types;
    const auto lines = probe::scanText(*types.highlighter(type), text);
    // Token of each byte: category role and whether it is one byte long.
    std::vector<bool> lone(size_t(text.size()), false);
    qsizetype lineStart = 0;
    for (const probe::ScannedLine &l : lines) {
        for (const HighlightToken &t : l.tokens) {
            const Highlighter *h = nullptr;
            std::vector<const Highlighter *> plain;
            types.highlighter(type)->collectPlain(plain);
            for (const Highlighter *p : plain)
                if (p->language() == t.language) h = p;
            if (h && t.length == 1 && h->categoryRole(t.category) == TokenRole::Symbol)
                lone[size_t(lineStart + t.start)] = true;
        }
        lineStart += l.text.size() + 1;
    }
    const int got = Brackets::highlightedBracket(
        caret, selection, [&](qsizetype p) { return p < text.size() ? text.at(p) : char(0); },
        [&](qsizetype p) { return lone[size_t(p)]; });
    QCOMPARE(got, bracket);
}

void TestBracketMatch::partner_data() {
    QTest::addColumn<QByteArray>("text"); // "^" marks the bracket; text in "..." does not count
    QTest::addColumn<int>("low");         // bounds of the search, -1: the whole text
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("partner"); // offset in the text without the mark, or -1
    QTest::newRow("forwards") << QByteArray("f^(a)") << -1 << -1 << 3;
    QTest::newRow("nested, backwards") << QByteArray("((a)(b)^)") << -1 << -1 << 0;
    QTest::newRow("other kinds do not pair") << QByteArray("^(]}") << -1 << -1 << -1;
    QTest::newRow("string passed over") << QByteArray("f^(\")\", a)") << -1 << -1 << 8;
    QTest::newRow("unmatched") << QByteArray("^(a(b)") << -1 << -1 << -1;
    QTest::newRow("partner at the bound") << QByteArray("^(ab)cd") << -1 << 3 << -1;
    QTest::newRow("backwards bound") << QByteArray("ab(cd^)") << 3 << -1 << -1;
    QTest::newRow("not a bracket") << QByteArray("^a()") << -1 << -1 << -1;
}

void TestBracketMatch::partner() {
    QFETCH(QByteArray, text);
    QFETCH(int, low);
    QFETCH(int, high);
    QFETCH(int, partner);
    const qsizetype bracket = text.indexOf('^');
    text.remove(bracket, 1);
    if (low < 0) low = 0;
    if (high < 0) high = int(text.size());
    std::vector<bool> quoted(size_t(text.size()), false);
    bool in = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '"') in = !in;
        quoted[size_t(i)] = in;
    }
    const qsizetype got = Brackets::findPartner(text.constData() + low, low, high, bracket,
                                                [&](qsizetype p) { return !quoted[size_t(p)]; });
    QCOMPARE(int(got), partner);
}

QTEST_GUILESS_MAIN(TestBracketMatch)
#include "tst_bracket_match.moc"
