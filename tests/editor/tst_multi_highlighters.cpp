// Multi-language highlighters: regions, nesting, the language at a position,
// and region expressions matched the way the regex engine would.

#include "app/document_types.h"
#include "editor/multi_highlighter.h"
#include "editor/region_pattern.h"
#include "highlight_probe.h"

#include <QRandomGenerator>
#include <QtTest>

class TestMultiHighlighters : public QObject {
    Q_OBJECT
private slots:
    void regions_data();
    void regions();
    void markerExtents();
    void firstSchemeWinsAtSamePosition_data();
    void firstSchemeWinsAtSamePosition();
    void languageAt_data();
    void languageAt();
    void patternsAgreeWithRegexEngine_data();
    void patternsAgreeWithRegexEngine();
    void malformedPatterns_data();
    void malformedPatterns();
    void regionStartsFollowTheSchemes_data();
    void regionStartsFollowTheSchemes();

private:
    DocumentTypes m_types;
};

void TestMultiHighlighters::regions_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("needle");
    QTest::addColumn<int>("occurrence");
    QTest::addColumn<QString>("expected");
    auto row = [](const char *name, int type, const char *text, const char *needle, int occurrence,
                  const char *expected) {
        QTest::newRow(name) << type << QByteArray(text) << QByteArray(needle) << occurrence
                            << QString::fromUtf8(expected);
    };

    const int html = DocumentTypes::SynMultiSynHTML;
    const char *style = "<style type=\"text/css\">\nbody { color: red }\n</style>\n<em>x</em>";
    row("css region", html, style, "color", 0, "css:Propriété");
    row("css start marker", html, style, "<style type=\"text/css\">", 0, "marker");
    row("css end marker", html, style, "</style>", 0, "marker");
    row("html after css", html, style, "em", 0, "html:Identificateur");
    row("script language", html, "<script language=\"javascript\">var a;</script>", "var", 0,
        "js:Mot réservé");
    row("script language jscript", html, "<SCRIPT Language='JScript'>var a;</SCRIPT>", "var", 0,
        "js:Mot réservé");
    row("script type", html, "<script type=\"text/javascript\">\nvar a;\n</script>", "var", 0,
        "js:Mot réservé");
    row("bare script", html, "<script>if (x) {}</script><b>", "if", 0, "js:Mot réservé");
    row("html after script", html, "<script>if (x) {}</script><b>", "b", 0, "html:Identificateur");
    row("vbscript language", html, "<SCRIPT LANGUAGE=\"VBScript\">\nDim x\n</SCRIPT>", "Dim", 0,
        "vbs:Mot réservé");
    row("vbscript type", html, "<script type=\"text/vbscript\">Dim y</script>", "Dim", 0,
        "vbs:Mot réservé");
    // Today's pages: untyped styles, modules and typed non-script blocks.
    row("style without type", html, "<style>p { color: red }</style>", "color", 0, "css:Propriété");
    row("style with media only", html, "<style media=\"print\">\np { color: red }\n</style>",
        "color", 0, "css:Propriété");
    row("style of another language", html, "<style type=\"text/less\">@a: 1;</style>", "@a", 0,
        "general:Identificateur");
    row("not a style element", html, "<styles>p {}</styles>", "p", 0, "html:Texte");
    row("script with src and defer", html, "<script src=\"a.js\" defer>var a;</script>", "var", 0,
        "js:Mot réservé");
    row("script async", html, "<script async>var a;</script>", "var", 0, "js:Mot réservé");
    row("module script", html, "<script type=\"module\">import x from './x.js';</script>", "import",
        0, "js:Mot réservé");
    row("application/javascript", html, "<script type='application/javascript'>var a;</script>",
        "var", 0, "js:Mot réservé");
    row("json stays plain", html, "<script type=\"application/json\">{\"var\": 1}</script>", "var",
        0, "general:Identificateur");
    row("template stays plain", html, "<script type=\"text/template\"><b>var</b></script><i>",
        "var", 0, "general:Identificateur");
    row("html after plain script", html, "<script type=\"text/template\"><b>var</b></script><u>",
        "u", 0, "html:Identificateur");
    row("vbscript keeps its region", html, "<script type=\"text/vbscript\" defer>Dim y</script>",
        "Dim", 0, "vbs:Mot réservé");
    row("style single quotes", html, "<style type='text/css' media=\"screen\">a{}</style>", "a", 1,
        "css:Texte");
    row("region mid-line", html, "<p>a</p><script>x=1</script><p>b</p>", "x", 0,
        "js:Identificateur");
    row("html after mid-line region", html, "<p>a</p><script>x=1</script><p>b</p>", "b", 0,
        "html:Texte");
    row("region across lines", html, "<script>\n/* c\nd */\n</script>\n<em>", "d", 0,
        "js:Commentaire");
    row("html after multi-line region", html, "<script>\n/* c\nd */\n</script>\n<em>", "em", 0,
        "html:Identificateur");
    row("end marker inside js string", html, "<script>s = \"</script>\";", "\";", 0, "html:Texte");

    const int asp = DocumentTypes::SynMultiSynASP;
    row("asp code", asp, "<p><% Dim a %></p>", "Dim", 0, "vbs:Mot réservé");
    row("asp marker", asp, "<p><% Dim a %></p>", "<%", 0, "marker");
    row("asp end marker", asp, "<p><% Dim a %></p>", "%>", 0, "marker");
    row("asp html", asp, "<p><% Dim a %></p>", "p", 1, "html:Identificateur");
    row("asp inside script", asp, "<script>var v = <%= x %>;</script>", "x", 0,
        "vbs:Identificateur");
    row("asp script resumes", asp, "<script>var v = <%= x %>;\nvar w;</script>", "var", 1,
        "js:Mot réservé");

    const int php = DocumentTypes::SynMultiSynPHP;
    const char *page = "<p><?php echo $a; ?></p>\n<% $b = 1; %>\n"
                       "<style type=\"text/css\">b { color: red }</style>\n"
                       "<script>var c;</script>";
    row("php tag", php, page, "echo", 0, "php:Mot réservé");
    row("php variable", php, page, "$a", 0, "php:Variable");
    row("php start marker", php, page, "<?php", 0, "marker");
    row("php end marker", php, page, "?>", 0, "marker");
    row("php percent", php, page, "$b", 0, "php:Variable");
    row("php keeps css", php, page, "color", 0, "css:Propriété");
    row("php keeps script", php, page, "var", 0, "js:Mot réservé");
    row("php keeps html", php, page, "p", 0, "html:Identificateur");
    row("php in attribute", php, "<a href=\"<?php echo $u ?>\">link</a>", "$u", 0, "php:Variable");
    row("attribute resumes", php, "<a href=\"<?php echo $u ?>\">link</a>", "\"", 1, "html:Valeur");
    row("text after attribute", php, "<a href=\"<?php echo $u ?>\">link</a>", "link", 0,
        "html:Texte");
    row("js string resumes", php, "<script>var u = \"<?php echo $u ?>\"; go();</script>", "go", 0,
        "js:Identificateur");
    row("short tag is case-sensitive", php, "<?PHP x ?>", "PHP", 0, "php:Identificateur");
    // PHP ends its mode at "?>" outside strings and block comments only.
    const char *xml = "<?php\n$x = \"<?xml version='1.0'?>\";\n$y = 2;\n?>\n<p>fin</p>";
    row("?> in a string", php, xml, "$y", 0, "php:Variable");
    row("end after the string", php, xml, "?>", 1, "marker");
    row("html after", php, xml, "fin", 0, "html:Texte");
    row("?> in a single-quoted string", php, "<?php $s = '?>'; $t = 1; ?><b>", "$t", 0,
        "php:Variable");
    row("?> in a block comment", php, "<?php /* ?> */ $t = 1; ?><b>", "$t", 0, "php:Variable");
    row("?> ends a // comment", php, "<?php // note ?><b>x</b>", "b", 0, "html:Identificateur");
    row("?> ends a # comment", php, "<?php # note ?><b>x</b>", "b", 0, "html:Identificateur");
    row("string over lines", php, "<?php $s = \"a\n?>\nb\"; $t = 1;\n?>", "$t", 0, "php:Variable");
    row("php script element", php, "<script language=\"php\">$x = 1;</script>", "$x", 0,
        "php:Variable");
    const char *nested = "<script>\nvar a = 1;\n<?php\n$b = 2;\n?>\nvar zz;\n</script>\n<em>";
    row("nested php", php, nested, "$b", 0, "php:Variable");
    row("nested js before", php, nested, "a", 1, "js:Identificateur");
    row("nested js after", php, nested, "zz", 0, "js:Identificateur");
    row("nested html after", php, nested, "em", 0, "html:Identificateur");
    row("php comment across lines", php, "<?php /* a\nb */ ?>x", "b", 0, "php:Commentaire");
    row("html after php comment", php, "<?php /* a\nb */ ?>x", "x", 0, "html:Texte");
}

void TestMultiHighlighters::regions() {
    QFETCH(int, type);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, needle);
    QFETCH(int, occurrence);
    QFETCH(QString, expected);
    QCOMPARE(probe::tokenAt(m_types, *m_types.highlighter(type), text, needle, occurrence),
             expected);
}

void TestMultiHighlighters::markerExtents() {
    const QByteArray line("a<?php $x ?>b<%c%>");
    const auto lines = probe::scanText(*m_types.highlighter(DocumentTypes::SynMultiSynPHP), line);
    QStringList markers;
    for (const HighlightToken &t : lines[0].tokens)
        if (t.language == Language::Marker)
            markers << QString::fromLatin1(line.mid(t.start, t.length));
    QCOMPARE(markers, QStringList({"<?php", "?>", "<%", "%>"}));
}

void TestMultiHighlighters::firstSchemeWinsAtSamePosition_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("scheme");
    QTest::newRow("language") << QByteArray("<script language=\"javascript\">")
                              << "JSSchemeLanguage";
    QTest::newRow("type") << QByteArray("<script type=\"text/javascript\">") << "JSSchemeType";
    QTest::newRow("vb type") << QByteArray("<script type=\"text/vbscript\">") << "VBSchemeType";
    QTest::newRow("bare") << QByteArray("<script src=\"a.js\">") << "JSScheme";
    QTest::newRow("css") << QByteArray("<STYLE TYPE=\"TEXT/CSS\">") << "CSSScheme";
}

void TestMultiHighlighters::firstSchemeWinsAtSamePosition() {
    QFETCH(QByteArray, line);
    QFETCH(QString, scheme);
    auto *h = static_cast<MultiHighlighter *>(m_types.highlighter(DocumentTypes::SynMultiSynHTML));
    TokenSink sink;
    const LineState state = h->scanLine(line.constData(), int(line.size()), 0, sink);
    QVERIFY(h->schemeAt(state) >= 0);
    QCOMPARE(h->scheme(h->schemeAt(state)).name, scheme);
}

void TestMultiHighlighters::languageAt_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("expected");

    const int php = DocumentTypes::SynMultiSynPHP;
    const char *page = "<p><?php $x ?></p>";
    QTest::newRow("before php") << php << QByteArray(page) << 0 << 0 << "html";
    QTest::newRow("on start marker") << php << QByteArray(page) << 0 << 3 << "html";
    QTest::newRow("inside marker") << php << QByteArray(page) << 0 << 4 << "html";
    QTest::newRow("shortest marker") << php << QByteArray(page) << 0 << 5 << "php";
    QTest::newRow("after start marker") << php << QByteArray(page) << 0 << 8 << "php";
    QTest::newRow("before end marker") << php << QByteArray(page) << 0 << 12 << "php";
    QTest::newRow("after end marker") << php << QByteArray(page) << 0 << 14 << "html";
    QTest::newRow("end of line") << php << QByteArray(page) << 0 << 18 << "html";
    const char *script = "<script>\nvar a;\n<?php\n$b;\n?>\n</script>\n";
    QTest::newRow("script line") << php << QByteArray(script) << 1 << 2 << "js";
    QTest::newRow("php in script") << php << QByteArray(script) << 3 << 1 << "php";
    QTest::newRow("back to script") << php << QByteArray(script) << 4 << 2 << "js";
    QTest::newRow("after script") << php << QByteArray(script) << 6 << 0 << "html";
    QTest::newRow("css") << int(DocumentTypes::SynMultiSynHTML)
                         << QByteArray("<style type=\"text/css\">a{}</style>") << 0 << 24 << "css";
    QTest::newRow("asp") << int(DocumentTypes::SynMultiSynASP) << QByteArray("<% x %>") << 0 << 3
                         << "vbs";
    QTest::newRow("plain") << int(DocumentTypes::SynCssSyn1) << QByteArray("<script>") << 0 << 8
                           << "css";
}

void TestMultiHighlighters::languageAt() {
    QFETCH(int, type);
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, expected);
    const Highlighter *h = m_types.highlighter(type);
    const auto lines = probe::scanText(*h, text);
    const probe::ScannedLine &l = lines[size_t(line)];
    const Highlighter *plain =
        h->languageAt(l.text.constData(), int(l.text.size()), l.startState, column);
    QCOMPARE(probe::languagePrefix(plain->language()), expected);
}

void TestMultiHighlighters::patternsAgreeWithRegexEngine_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QByteArray>("alphabet");

    const QByteArray tagBytes("<>/='\" scriptlanguagetypetextjavavbcssSTYLEphp?%");
    QTest::newRow("css")
        << QString(R"(<style[^>]+type[^>]*[=][^>]*[\'\"]?text[\/]css[^>]*[\'\"]?[^>]*>)") << false
        << tagBytes;
    QTest::newRow("js language")
        << QString(
               R"(<[^>]*script[^>]+language[^>]*[=][^>]*[\'\"]?j(ava)?script[^>]*[\'\"]?[^>]*>)")
        << false << tagBytes;
    QTest::newRow("vb type")
        << QString(R"(<[^>]*script[^>]+type[^>]*[=][^>]*[\'\"]?text[\/]vbscript[^>]*[\'\"]?[^>]*>)")
        << false << tagBytes;
    QTest::newRow("bare script") << QString("<script[^>]*>") << false << tagBytes;
    QTest::newRow("end script") << QString("</script>") << false << tagBytes;
    QTest::newRow("php start") << QString(R"(<\?(php)?)") << true << QByteArray("<?phpPH x");
    QTest::newRow("php end") << QString(R"(\?>)") << true << QByteArray("?> <");
    QTest::newRow("percent") << QString("<%") << true << QByteArray("<%> ");
    // Constructs outside the table: repeats, classes, groups, anchors.
    QTest::newRow("repeat") << QString("a+b{2}[cd]?e") << false << QByteArray("abBcdeE ");
    QTest::newRow("group with '>'") << QString("<(a|>)+x") << true << QByteArray("<a>x ");
    QTest::newRow("anchored") << QString("^ab") << true << QByteArray("ab ");
    QTest::newRow("shorthand") << QString(R"(<\w+\s*>)") << true << QByteArray("<ab1 >_");
}

// RegionPattern skips the regex engine where it can; it must find exactly what
// the engine finds: the earliest non-empty match, ending within the line.
void TestMultiHighlighters::patternsAgreeWithRegexEngine() {
    QFETCH(QString, pattern);
    QFETCH(bool, caseSensitive);
    QFETCH(QByteArray, alphabet);
    const RegionPattern rp(pattern, caseSensitive);
    QVERIFY(rp.isValid());
    const QRegularExpression re(pattern, caseSensitive ? QRegularExpression::NoPatternOption
                                                       : QRegularExpression::CaseInsensitiveOption);
    const char *const samples[] = {"<script language=\"javascript\">",
                                   "<SCRIPT type='text/vbscript' >",
                                   "<script>",
                                   "<style type=\"text/css\">",
                                   "<style media=x type=text/css>",
                                   "</script>",
                                   "</STYLE>",
                                   "<?php",
                                   "<?",
                                   "?>",
                                   "<%",
                                   "%>",
                                   "<script language=php>",
                                   "aabbce",
                                   "<ab1 >",
                                   "<a>a>x"};
    QRandomGenerator rng(1234);
    int matches = 0;
    // Random lines, and fragments of the pattern's own words mixed in.
    for (int round = 0; round < 3000; ++round) {
        QByteArray line;
        const int n = int(rng.bounded(1, 40));
        for (int i = 0; i < n; ++i)
            line += alphabet[int(rng.bounded(alphabet.size()))];
        if (round % 2 == 0) {
            QByteArray sample = samples[int(rng.bounded(int(std::size(samples))))];
            if (round % 4 == 0) // damage it a little
                sample[int(rng.bounded(sample.size()))] =
                    alphabet[int(rng.bounded(alphabet.size()))];
            line.insert(int(rng.bounded(line.size() + 1)), sample);
        }
        const QString text = QString::fromLatin1(line);
        int expectedStart = -1, expectedEnd = -1;
        for (int p = 0; p < text.size() && expectedStart < 0; ++p) {
            const auto m = re.match(text, p, QRegularExpression::NormalMatch,
                                    QRegularExpression::AnchorAtOffsetMatchOption);
            if (m.hasMatch() && m.capturedLength() > 0) {
                expectedStart = p;
                expectedEnd = int(m.capturedEnd());
            }
        }
        matches += expectedStart >= 0;
        int start = -1, end = -1;
        if (!rp.find(line.constData(), 0, int(line.size()), &start, &end)) start = end = -1;
        QVERIFY2(start == expectedStart && end == expectedEnd,
                 qPrintable(QStringLiteral("\"%1\": %2-%3, engine %4-%5")
                                .arg(text)
                                .arg(start)
                                .arg(end)
                                .arg(expectedStart)
                                .arg(expectedEnd)));
    }
    QVERIFY2(matches > 20, "the samples should match now and then");
}

void TestMultiHighlighters::malformedPatterns_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("unclosed group") << QString("<(script") << false << QByteArray("<script");
    QTest::newRow("unclosed class") << QString("<[a-") << false << QByteArray("<a");
    QTest::newRow("empty") << QString() << false << QByteArray("<p>");
    QTest::newRow("reversed range") << QString("<[z-a]") << false << QByteArray("<b <z");
    // Read as well formed, rejected by the engine at its first use.
    QTest::newRow("reversed repeat") << QString("<a{3,1}") << true << QByteArray("<aaa <a");
}

// A malformed pattern never matches, whether it is found out when made or at its
// first use, and asks nothing of the engine again.
void TestMultiHighlighters::malformedPatterns() {
    QFETCH(QString, pattern);
    QFETCH(bool, valid);
    QFETCH(QByteArray, line);
    const RegionPattern rp(pattern, false);
    int start = -1, end = -1;
    for (int i = 0; i < 2; ++i) {
        QVERIFY(!rp.find(line.constData(), 0, int(line.size()), &start, &end));
        QVERIFY(!rp.matchAt(line.constData(), 0, int(line.size()), &end));
    }
    QCOMPARE(rp.isValid(), valid);
}

void TestMultiHighlighters::regionStartsFollowTheSchemes_data() {
    QTest::addColumn<int>("type");
    QTest::newRow("html page") << int(DocumentTypes::SynMultiSynHTML);
    QTest::newRow("php page") << int(DocumentTypes::SynMultiSynPHP);
    QTest::newRow("asp page") << int(DocumentTypes::SynMultiSynASP);
}

// Candidates are screened (first bytes, runs such as "script" before the tag's
// end, what earlier candidates learnt) before any full match: the region found
// must be the one trying every scheme in order at every position finds.
void TestMultiHighlighters::regionStartsFollowTheSchemes() {
    QFETCH(int, type);
    const auto *h = static_cast<const MultiHighlighter *>(m_types.highlighter(type));
    std::vector<QRegularExpression> starts;
    for (int k = 0; k < h->schemeCount(); ++k)
        starts.emplace_back(h->scheme(k).startExpression,
                            h->scheme(k).caseSensitive ? QRegularExpression::NoPatternOption
                                                       : QRegularExpression::CaseInsensitiveOption);
    const char *const pieces[] = {
        "<script",       "<SCRIPT", " language=", "\"php\"", " type=",  "'text/javascript'",
        "text/vbscript", "module",  "text/css",   "<style",  "<STYLE ", ">",
        "<?php",         "<?",      "?>",         "<%",      "%>",      "<div",
        "</script>",     " ",       "x",          "=",       "\"",      "javascript"};
    QRandomGenerator rng(2024);
    int found = 0;
    for (int round = 0; round < 4000; ++round) {
        QByteArray line;
        const int n = int(rng.bounded(1, 14));
        for (int i = 0; i < n; ++i)
            line += pieces[rng.bounded(int(std::size(pieces)))];
        const int from = int(rng.bounded(line.size() / 2 + 1));
        const int to = std::max(from, int(line.size() - rng.bounded(line.size() / 4 + 1)));
        const QString text = QString::fromLatin1(line.left(to));
        int expectedScheme = -1, expectedStart = -1, expectedEnd = -1;
        for (int p = from; p < to && expectedScheme < 0; ++p)
            for (int k = 0; k < int(starts.size()) && expectedScheme < 0; ++k) {
                const auto m =
                    starts[size_t(k)].match(text, p, QRegularExpression::NormalMatch,
                                            QRegularExpression::AnchorAtOffsetMatchOption);
                if (m.hasMatch() && m.capturedLength() > 0) {
                    expectedScheme = k;
                    expectedStart = p;
                    expectedEnd = int(m.capturedEnd());
                }
            }
        found += expectedScheme >= 0;
        int scheme = -1, start = -1, end = -1;
        if (!h->findRegionStart(line.constData(), from, to, &scheme, &start, &end))
            scheme = start = end = -1;
        QVERIFY2(
            scheme == expectedScheme && start == expectedStart && end == expectedEnd,
            qPrintable(QStringLiteral("\"%1\" from %2: scheme %3 at %4-%5, expected %6 at %7-%8")
                           .arg(text)
                           .arg(from)
                           .arg(scheme)
                           .arg(start)
                           .arg(end)
                           .arg(expectedScheme)
                           .arg(expectedStart)
                           .arg(expectedEnd)));
    }
    QVERIFY2(found > 300, qPrintable(QString::number(found)));
}

QTEST_GUILESS_MAIN(TestMultiHighlighters)
#include "tst_multi_highlighters.moc"
