#include "authoring/insertion.h"

#include <QTest>

using namespace Authoring;

Q_DECLARE_METATYPE(Authoring::TextPos)

namespace QTest {
template <> char *toString(const Authoring::TextPos &p) {
    return qstrdup(QByteArray::number(p.column) + ", " + QByteArray::number(p.line));
}
} // namespace QTest

namespace {

TextPos P(int column, int line) {
    return {column, line};
}

// Offset of a (column, line) position in a CR LF text.
qsizetype offsetOf(const QString &doc, TextPos pos) {
    qsizetype offset = 0;
    for (int line = 1; line < pos.line; ++line)
        offset = doc.indexOf(QStringLiteral("\r\n"), offset) + 2;
    return offset + pos.column - 1;
}

} // namespace

class TestInsertion : public QObject {
    Q_OBJECT
private slots:
    void wrap_data();
    void wrap();
    void wrapKeepsSelectedTextSelected_data();
    void wrapKeepsSelectedTextSelected();
    void insertMarkup();
    void applyTagCase_data();
    void applyTagCase();
    void xhtmlAdjust();
    void relativeUrl_data();
    void relativeUrl();
    void urlEncode_data();
    void urlEncode();
    void selectWholeLines_data();
    void selectWholeLines();
    void smallHelpers();
};

void TestInsertion::wrap_data() {
    QTest::addColumn<TextPos>("start");
    QTest::addColumn<TextPos>("end");
    QTest::addColumn<TextPos>("caret");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");
    QTest::addColumn<bool>("raw");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextPos>("n");
    QTest::addColumn<TextPos>("m");

    // clang-format off
    QTest::newRow("bold on a word") << P(5, 1) << P(8, 1) << P(8, 1) << "mot" << "<b>" << "</b>" << false << false
                                    << "<b>mot</b>" << P(8, 1) << P(11, 1);
    QTest::newRow("no selection") << P(4, 2) << P(4, 2) << P(4, 2) << "" << "<b>" << "</b>" << false << false
                                  << "<b></b>" << P(7, 2) << P(7, 2);
    QTest::newRow("three lines") << P(3, 2) << P(4, 4) << P(3, 2) << "cd\r\nligne\r\nabc" << "<p>" << "</p>" << false << false
                                 << "<p>cd\r\nligne\r\nabc</p>" << P(6, 2) << P(4, 4);
    QTest::newRow("ASP block") << P(1, 1) << P(1, 1) << P(1, 1) << "" << "<%\r\n" << "\r\n%>" << true << false
                               << "<%\r\n\r\n%>" << P(1, 2) << P(1, 2);
    QTest::newRow("two breaks in opening") << P(5, 1) << P(8, 1) << P(8, 1) << "abc" << "<x>\r\n  <y>\r\n    <z>" << "</z>"
                                           << true << false << "<x>\r\n  <y>\r\n    <z>abc</z>" << P(8, 3) << P(11, 3);
    QTest::newRow("closing breaks ignored") << P(2, 1) << P(2, 1) << P(2, 1) << "" << "<b>" << "</b>\r\n\r\n" << true << false
                                            << "<b></b>\r\n\r\n" << P(5, 1) << P(5, 1);
    // A column selection can leave the caret on neither column: its column wins.
    QTest::newRow("caret column wins") << P(3, 2) << P(7, 4) << P(5, 4) << "x" << "<b>" << "</b>" << false << false
                                       << "<b>x</b>" << P(8, 2) << P(5, 4);
    QTest::newRow("tag case on the strings only") << P(1, 1) << P(5, 1) << P(5, 1) << "lien" << "<a href=\"Page.html\">"
                                                  << "</a>" << false << true << "<A HREF=\"Page.html\">lien</A>" << P(21, 1) << P(25, 1);
    QTest::newRow("raw ignores tag case") << P(1, 1) << P(5, 1) << P(5, 1) << "mots" << "<!-- " << " -->" << true << true
                                          << "<!-- mots -->" << P(6, 1) << P(10, 1);
    // clang-format on
}

void TestInsertion::wrap() {
    QFETCH(TextPos, start);
    QFETCH(TextPos, end);
    QFETCH(TextPos, caret);
    QFETCH(QString, selected);
    QFETCH(QString, opening);
    QFETCH(QString, closing);
    QFETCH(bool, raw);
    QFETCH(bool, casse);
    QFETCH(QString, text);
    QFETCH(TextPos, n);
    QFETCH(TextPos, m);

    const WrapEdit edit = WrapSelection(start, end, caret, selected, opening, closing, raw, casse);
    QCOMPARE(edit.text, text);
    QCOMPARE(edit.selStart, n);
    QCOMPARE(edit.selEnd, m);
    QCOMPARE(edit.caret, m);
}

void TestInsertion::wrapKeepsSelectedTextSelected_data() {
    QTest::addColumn<TextPos>("start");
    QTest::addColumn<TextPos>("end");
    QTest::addColumn<QString>("opening");

    QTest::newRow("one line") << P(3, 2) << P(9, 2) << "<strong>";
    QTest::newRow("three lines") << P(4, 1) << P(5, 3) << "<blockquote>";
    QTest::newRow("break, three lines") << P(6, 1) << P(3, 4) << "<div>\r\n  <p>\r\n";
}

// Applies the edit to a real text and checks that N..M holds the old selection.
void TestInsertion::wrapKeepsSelectedTextSelected() {
    QFETCH(TextPos, start);
    QFETCH(TextPos, end);
    QFETCH(QString, opening);

    const QString doc = QStringLiteral("première ligne\r\n\tdeuxième\r\ntroisième ligne\r\nfin");
    const qsizetype s = offsetOf(doc, start);
    const qsizetype e = offsetOf(doc, end);
    const QString selected = doc.mid(s, e - s);
    const WrapEdit edit =
        WrapSelection(start, end, end, selected, opening, QStringLiteral("</x>\r\n"), true, false);
    QString after = doc;
    after.replace(s, e - s, edit.text);
    const qsizetype n = offsetOf(after, edit.selStart);
    QCOMPARE(n, s + opening.size());
    QCOMPARE(after.mid(n, offsetOf(after, edit.selEnd) - n), selected);
}

void TestInsertion::insertMarkup() {
    InsertEdit edit = InsertMarkup(P(3, 2), QStringLiteral("<hr width=\"50%\">"), false, true);
    QCOMPARE(edit.text, QStringLiteral("<HR WIDTH=\"50%\">"));
    QCOMPARE(edit.caret, P(19, 2));
    edit = InsertMarkup(P(3, 2), QStringLiteral("&nbsp;"), true, true);
    QCOMPARE(edit.caret, P(9, 2));
    edit = InsertMarkup(P(5, 3), QStringLiteral("<ul>\r\n  <li></li>\r\n</ul>\r\n"), true, false);
    QCOMPARE(edit.caret, P(1, 6));
    edit = InsertMarkup(P(5, 3), QStringLiteral("<ol>\r\n</ol>"), true, false);
    QCOMPARE(edit.caret, P(6, 4));
}

void TestInsertion::applyTagCase_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("upper");

    // clang-format off
    QTest::newRow("link") << "<a href=\"Page.html\">" << "<A HREF=\"Page.html\">";
    QTest::newRow("after the last value kept") << "<input type=\"checkbox\" name=\"x\" checked>"
                                               << "<INPUT TYPE=\"checkbox\" NAME=\"x\" checked>";
    QTest::newRow("no attribute") << "<br>" << "<BR>";
    QTest::newRow("value with space") << "<option value=\"a b\" selected>" << "<OPTION VALUE=\"a b\" selected>";
    QTest::newRow("unquoted value") << "<font size=3 color=\"red\">" << "<FONT SIZE=3 COLOR=\"red\">";
    QTest::newRow("= inside a value") << "<a href=\"x.php?a=b\" title=\"t\">" << "<A HREF=\"x.php?a=b\" TITLE=\"t\">";
    QTest::newRow("unquoted value at the end") << "<font size=3>" << "<FONT SIZE=3>";
    QTest::newRow("unclosed quote") << "<img src=\"a b.gif>" << "<IMG SRC=\"a b.gif>";
    QTest::newRow("= at the very end") << "<x a=" << "<X A=";
    QTest::newRow("only ASCII letters") << "<légende>" << "<LéGENDE>";
    // clang-format on
}

void TestInsertion::applyTagCase() {
    QFETCH(QString, text);
    QFETCH(QString, upper);
    QCOMPARE(ApplyTagCase(text, true), upper);
    QCOMPARE(ApplyTagCase(text, false), text);
}

void TestInsertion::xhtmlAdjust() {
    QCOMPARE(QStringLiteral("<br") + XhtmlAdjust(QStringLiteral(">"), true),
             QStringLiteral("<br />"));
    QCOMPARE(XhtmlAdjust(QStringLiteral(" selected"), true),
             QStringLiteral(" selected=\"selected\""));
    QCOMPARE(XhtmlAdjust(QStringLiteral(" NOSHADE"), true), QStringLiteral(" NOSHADE=\"noshade\""));
    QCOMPARE(XhtmlAdjust(QStringLiteral(">"), false), QStringLiteral(">"));
    QCOMPARE(XhtmlAdjust(QStringLiteral(" selected"), false), QStringLiteral(" selected"));
}

void TestInsertion::relativeUrl_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("url");

    const QString doc = QStringLiteral("C:\\site\\pages\\index.html");
    const QString posix = QStringLiteral("/home/u/site/pages/index.html");
    // clang-format off
    QTest::newRow("sibling folder") << "C:\\site\\img\\logo.gif" << doc << "../img/logo.gif";
    QTest::newRow("same folder") << "C:\\site\\pages\\a.gif" << doc << "a.gif";
    QTest::newRow("sub-folder") << "C:\\site\\pages\\img\\b.png" << doc << "img/b.png";
    QTest::newRow("two levels up") << "C:\\autre\\x\\c.gif" << doc << "../../autre/x/c.gif";
    QTest::newRow("match after a difference") << "C:\\a\\b\\i.gif" << "C:\\a\\x\\b\\d.html" << "../../b/i.gif";
    QTest::newRow("folder case differs") << "C:\\Site\\pages\\a.gif" << doc << "../../Site/pages/a.gif";
    QTest::newRow("untitled") << "C:\\dossier\\image.gif" << "" << "file:///C:/dossier/image.gif";
    QTest::newRow("other drive") << "C:\\dossier\\image.gif" << "D:\\site\\index.html" << "file:///C:\\dossier\\image.gif";
    QTest::newRow("drive letter case differs") << "c:\\site\\a.gif" << doc << "file:///c:\\site\\a.gif";
    QTest::newRow("posix sibling folder") << "/home/u/site/img/logo.gif" << posix << "../img/logo.gif";
    QTest::newRow("posix same folder") << "/home/u/site/pages/a.gif" << posix << "a.gif";
    QTest::newRow("posix other tree") << "/media/cle/x.gif" << posix << "../../../../media/cle/x.gif";
    QTest::newRow("posix case-sensitive") << "/home/u/Site/a.gif" << posix << "../../Site/a.gif";
    QTest::newRow("posix untitled") << "/home/u/img/a.gif" << "" << "file:///home/u/img/a.gif";
    QTest::newRow("posix backslash in a name") << "/home/u/site/pages/a\\b.gif" << posix << "a\\b.gif";
    // clang-format on
}

void TestInsertion::relativeUrl() {
    QFETCH(QString, path);
    QFETCH(QString, document);
    QFETCH(QString, url);
    QCOMPARE(RelativeUrl(path, document), url);
}

void TestInsertion::urlEncode_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QString>("encoded");

    // clang-format off
    QTest::newRow("space") << "a b.gif" << false << "a%20b.gif";
    QTest::newRow("unsafe ASCII") << "%*+<>" << false << "%25%2A%2B%3C%3E";
    QTest::newRow("left alone") << "/:\\#&=?.-_~'\"" << false << "/:\\#&=?.-_~'\"";
    QTest::newRow("control characters") << "a\tb\r\n\x1f" << false << "a%09b%0D%0A%1F";
    QTest::newRow("windows-1252 document") << "Bonjour à vous" << false << "Bonjour%20%E0%20vous";
    QTest::newRow("utf-8 document") << "Bonjour à vous" << true << "Bonjour%20%C3%A0%20vous";
    QTest::newRow("euro, windows-1252") << "€" << false << "%80";
    QTest::newRow("euro, utf-8") << "€" << true << "%E2%82%AC";
    QTest::newRow("outside the code page") << "ő" << false << "%C5%91";
    QTest::newRow("beyond the basic plane") << "😀" << true << "%F0%9F%98%80";
    // clang-format on
}

void TestInsertion::urlEncode() {
    QFETCH(QString, text);
    QFETCH(bool, utf8);
    QFETCH(QString, encoded);
    QCOMPARE(UrlEncode(text, utf8 ? UrlEncoding::Utf8 : UrlEncoding::Windows1252), encoded);
}

void TestInsertion::selectWholeLines_data() {
    QTest::addColumn<TextPos>("start");
    QTest::addColumn<TextPos>("end");
    QTest::addColumn<int>("lastLine");
    QTest::addColumn<TextPos>("newEnd");

    QTest::newRow("middle") << P(3, 2) << P(5, 4) << 10 << P(1, 5);
    QTest::newRow("end at column 1 stays") << P(3, 2) << P(1, 4) << 10 << P(1, 4);
    QTest::newRow("last line") << P(2, 8) << P(3, 10) << 10 << P(13, 10);
    QTest::newRow("caret only") << P(4, 3) << P(4, 3) << 5 << P(1, 4);
}

void TestInsertion::selectWholeLines() {
    QFETCH(TextPos, start);
    QFETCH(TextPos, end);
    QFETCH(int, lastLine);
    QFETCH(TextPos, newEnd);
    const LineRange r = SelectWholeLines(start, end, lastLine, 12);
    QCOMPARE(r.start, P(1, start.line));
    QCOMPARE(r.end, newEnd);
}

void TestInsertion::smallHelpers() {
    QCOMPARE(StripSpaces(QStringLiteral(" mon  champ\t")), QStringLiteral("monchamp\t"));

    const QString fallback = QStringLiteral("/home/u/defaut");
    QCOMPARE(FileDialogStartFolder(QStringLiteral("C:\\site\\index.html"), fallback),
             QStringLiteral("C:\\site\\"));
    QCOMPARE(FileDialogStartFolder(QStringLiteral("C:index.html"), fallback), QStringLiteral("C:"));
    QCOMPARE(FileDialogStartFolder(QStringLiteral("/home/u/a.html"), fallback),
             QStringLiteral("/home/u/"));
    QCOMPARE(FileDialogStartFolder(QString(), fallback), fallback);

    QCOMPARE(PathFieldSelectionLength(QStringLiteral("../img/logo.gif")), 7);
    QCOMPARE(PathFieldSelectionLength(QStringLiteral("logo.gif")), 0);
    QCOMPARE(PathFieldSelectionLength(QStringLiteral("file:///C:\\d\\x.gif")), 8);

    QCOMPARE(Attribute(QStringLiteral("width"), QStringLiteral("120")),
             QStringLiteral(" width=\"120\""));
    QCOMPARE(OptionalAttribute(QStringLiteral("alt"), QString()), QString());
    // Typed text goes in as typed.
    QCOMPARE(OptionalAttribute(QStringLiteral("alt"), QStringLiteral("\"&<")),
             QStringLiteral(" alt=\"\"&<\""));
}

QTEST_APPLESS_MAIN(TestInsertion)
#include "tst_insertion.moc"
