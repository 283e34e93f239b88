#include "authoring/form_markup.h"
#include "authoring/insertion.h"

#include <QTest>

using namespace Authoring;

class TestFormMarkup : public QObject {
    Q_OBJECT
private slots:
    void escaping_data();
    void escaping();
    void itemList_data();
    void itemList();
    void form_data();
    void form();
    void choiceGroups_data();
    void choiceGroups();
    void selects_data();
    void selects();
    void oneLineControls_data();
    void oneLineControls();
    void textArea_data();
    void textArea();
    void textLines_data();
    void textLines();
};

void TestFormMarkup::escaping_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("quote") << "dit \"oui\""
                           << "dit &quot;oui&quot;";
    QTest::newRow("bare ampersand") << "a & b"
                                    << "a &amp; b";
    QTest::newRow("query string") << "p.php?a=1&b=2"
                                  << "p.php?a=1&amp;b=2";
    QTest::newRow("named reference kept") << "&eacute;t&eacute;"
                                          << "&eacute;t&eacute;";
    QTest::newRow("decimal reference kept") << "&#233;"
                                            << "&#233;";
    QTest::newRow("hex reference kept") << "&#xE9;&#XE9;"
                                        << "&#xE9;&#XE9;";
    QTest::newRow("unterminated reference") << "&eacute"
                                            << "&amp;eacute";
    QTest::newRow("empty numeric reference") << "&#;"
                                             << "&amp;#;";
    QTest::newRow("ampersand at end") << "R&"
                                      << "R&amp;";
    QTest::newRow("angle brackets kept") << "<b>"
                                         << "<b>";
}

void TestFormMarkup::escaping() {
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QCOMPARE(EscapeAttributeValue(typed), written);
}

// Operations: "+text" adds unchecked, "*text" adds checked, "s2" selects row 2,
// "d" deletes the selection, "u"/"n" move it up/down, "c1"/"x1" check/uncheck row 1,
// "f1" makes row 1 the default choice. The result lists the items ("*" for checked),
// the selected row and the default choice.
void TestFormMarkup::itemList_data() {
    QTest::addColumn<bool>("single");
    QTest::addColumn<QStringList>("ops");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("defaultChoice");

    QTest::newRow("radio: three added checked, last stays")
        << true << QStringList{"*a", "*b", "*c"} << QStringList{"a", "b", "*c"} << 2 << -1;
    QTest::newRow("check boxes keep every check")
        << false << QStringList{"*a", "*b", "*c"} << QStringList{"*a", "*b", "*c"} << 2 << -1;
    QTest::newRow("radio: deleting the checked item leaves none")
        << true << QStringList{"*a", "+b", "s0", "d"} << QStringList{"b"} << 0 << -1;
    QTest::newRow("radio: clicking a box unchecks the other")
        << true << QStringList{"*a", "+b", "c1"} << QStringList{"a", "*b"} << 1 << -1;
    QTest::newRow("moving a checked item up keeps its check")
        << true << QStringList{"+a", "+b", "*c", "u", "u"} << QStringList{"*c", "a", "b"} << 0
        << -1;
    QTest::newRow("moving down") << false << QStringList{"*a", "+b", "+c", "s0", "n"}
                                 << QStringList{"b", "*a", "c"} << 1 << -1;
    QTest::newRow("no move past the ends")
        << false << QStringList{"+a", "+b", "n", "s0", "u"} << QStringList{"a", "b"} << 0 << -1;
    QTest::newRow("empty entry refused")
        << false << QStringList{"+a", "+"} << QStringList{"a"} << 0 << -1;
    QTest::newRow("delete selects the row taking its place")
        << false << QStringList{"+a", "+b", "+c", "s1", "d"} << QStringList{"a", "c"} << 1 << -1;
    QTest::newRow("delete the last row selects the new last")
        << false << QStringList{"+a", "+b", "d"} << QStringList{"a"} << 0 << -1;
    QTest::newRow("default follows its item up")
        << false << QStringList{"+a", "+b", "+c", "f2", "u"} << QStringList{"a", "c", "b"} << 1
        << 1;
    QTest::newRow("default follows when a neighbour moves over it")
        << false << QStringList{"+a", "+b", "f1", "s0", "n"} << QStringList{"b", "a"} << 1 << 0;
    QTest::newRow("default shifts when an earlier item goes")
        << false << QStringList{"+a", "+b", "+c", "f2", "s0", "d"} << QStringList{"b", "c"} << 0
        << 1;
    QTest::newRow("default cleared with its item")
        << false << QStringList{"+a", "+b", "f1", "d"} << QStringList{"a"} << 0 << -1;
    QTest::newRow("default unchanged by a later delete")
        << false << QStringList{"+a", "+b", "f0", "d"} << QStringList{"a"} << 0 << 0;
}

void TestFormMarkup::itemList() {
    QFETCH(bool, single);
    QFETCH(QStringList, ops);
    QFETCH(QStringList, items);
    QFETCH(int, current);
    QFETCH(int, defaultChoice);
    ItemList list(single);
    for (const QString &op : ops) {
        const QChar c = op.at(0);
        const QString rest = op.mid(1);
        if (c == u'+' || c == u'*')
            list.add(rest, c == u'*');
        else if (c == u's')
            list.setCurrent(rest.toInt());
        else if (c == u'd')
            list.removeCurrent();
        else if (c == u'u')
            list.moveUp();
        else if (c == u'n')
            list.moveDown();
        else if (c == u'c' || c == u'x')
            list.setChecked(rest.toInt(), c == u'c');
        else if (c == u'f')
            list.setDefaultChoice(rest.toInt());
    }
    QStringList got;
    for (const ItemList::Item &item : list.items())
        got << (item.checked ? u'*' + item.text : item.text);
    QCOMPARE(got, items);
    QCOMPARE(list.current(), current);
    QCOMPARE(list.defaultChoice(), defaultChoice);
    QCOMPARE(list.canMoveUp(), current > 0);
    QCOMPARE(list.canMoveDown(), current >= 0 && current < items.size() - 1);
}

void TestFormMarkup::form_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("recipient");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("method");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("opening");

    const int http = int(Recipient::Http);
    QTest::newRow("no recipient: name only")
        << "f" << int(Recipient::None) << "" << 2 << 1 << "_top" << false << "<form name=\"f\">";
    QTest::newRow("no recipient, no name")
        << "" << int(Recipient::None) << "" << 0 << 0 << "" << false << "<form>";
    QTest::newRow("empty action still written")
        << "" << http << "" << 0 << 0 << "" << false << "<form action=\"\">";
    QTest::newRow("get, url-encoded by default")
        << "mon form" << http << "/cgi/s.pl" << 1 << 0 << "" << false
        << "<form name=\"monform\" action=\"/cgi/s.pl\" method=\"get\">";
    QTest::newRow("post, upload, target")
        << "" << http << "up.php" << 2 << 1 << "_blank" << false
        << "<form action=\"up.php\" method=\"post\" enctype=\"multipart/form-data\" "
           "target=\"_blank\">";
    QTest::newRow("mail as text")
        << "" << int(Recipient::Mail) << "mailto:a@b.fr" << 2 << 2 << "" << false
        << "<form action=\"mailto:a@b.fr\" method=\"post\" enctype=\"text/plain\">";
    QTest::newRow("address escaped") << "" << http << "s.php?a=1&b=\"2\"" << 0 << 0 << "" << false
                                     << "<form action=\"s.php?a=1&amp;b=&quot;2&quot;\">";
    QTest::newRow("tag case keeps values")
        << "Contact" << http << "Envoi.PHP" << 2 << 0 << "Cadre" << true
        << "<FORM NAME=\"Contact\" ACTION=\"Envoi.PHP\" METHOD=\"post\" TARGET=\"Cadre\">";
}

void TestFormMarkup::form() {
    QFETCH(QString, name);
    QFETCH(int, recipient);
    QFETCH(QString, action);
    QFETCH(int, method);
    QFETCH(int, encoding);
    QFETCH(QString, target);
    QFETCH(bool, casse);
    QFETCH(QString, opening);
    const FormValues v{
        name, Recipient(recipient), action, SendMethod(method), FormEncoding(encoding), target};
    const WrapMarkup m = BuildFormMarkup(v, casse);
    QCOMPARE(m.opening, opening + "\r\n");
    QCOMPARE(m.closing, casse ? QStringLiteral("\r\n</FORM>") : QStringLiteral("\r\n</form>"));
}

void TestFormMarkup::choiceGroups_data() {
    QTest::addColumn<bool>("radio");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("items"); // "*" marks a checked item
    QTest::addColumn<bool>("lineBreaks");
    QTest::addColumn<bool>("xhtml");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("markup");

    const QStringList ouiNon{"*Oui", "Non"};
    QTest::newRow("radio example")
        << true << "choix" << ouiNon << true << false << false
        << "  <input type=\"radio\" name=\"choix\" value=\"Oui\" checked>Oui<br>\r\n"
           "  <input type=\"radio\" name=\"choix\" value=\"Non\">Non<br>\r\n";
    QTest::newRow("radio example, XHTML")
        << true << "choix" << ouiNon << true << true << false
        << "  <input type=\"radio\" name=\"choix\" value=\"Oui\" checked=\"checked\" />Oui<br "
           "/>\r\n"
           "  <input type=\"radio\" name=\"choix\" value=\"Non\" />Non<br />\r\n";
    QTest::newRow("check boxes without breaks, name stripped")
        << false << "mes choix" << QStringList{"*a", "*b"} << false << false << false
        << "  <input type=\"checkbox\" name=\"meschoix\" value=\"a\" checked>a\r\n"
           "  <input type=\"checkbox\" name=\"meschoix\" value=\"b\" checked>b\r\n";
    QTest::newRow("tag case leaves labels with = alone")
        << true << "q" << QStringList{"x=1 et y"} << true << false << true
        << "  <INPUT TYPE=\"radio\" NAME=\"q\" VALUE=\"x=1 et y\">x=1 et y<BR>\r\n";
    QTest::newRow("quotes in a label are escaped in the value only")
        << false << "c" << QStringList{"dit \"oui\""} << false << false << false
        << "  <input type=\"checkbox\" name=\"c\" value=\"dit &quot;oui&quot;\">dit "
           "\"oui\"\r\n";
    QTest::newRow("no items, nothing")
        << true << "choix" << QStringList{} << true << false << false << "";
}

void TestFormMarkup::choiceGroups() {
    QFETCH(bool, radio);
    QFETCH(QString, name);
    QFETCH(QStringList, items);
    QFETCH(bool, lineBreaks);
    QFETCH(bool, xhtml);
    QFETCH(bool, casse);
    QFETCH(QString, markup);
    ChoiceGroupValues v{name, {}, lineBreaks};
    for (const QString &item : items)
        v.items.append({item.startsWith(u'*') ? item.mid(1) : item, item.startsWith(u'*')});
    QCOMPARE(
        BuildChoiceGroupMarkup(radio ? ChoiceKind::Radio : ChoiceKind::CheckBox, v, xhtml, casse),
        markup);
}

void TestFormMarkup::selects_data() {
    QTest::addColumn<bool>("dropDown");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<bool>("multiple");
    QTest::addColumn<bool>("xhtml");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("markup");

    const QStringList ab{"A", "B"};
    QTest::newRow("drop-down, nothing chosen, XHTML")
        << true << ab << -1 << "" << false << true << false
        << "<select name=\"s\">\r\n  <option value=\"A\">A</option>\r\n"
           "  <option value=\"B\">B</option>\r\n</select>";
    QTest::newRow("drop-down, tag case")
        << true << QStringList{"a=b"} << 0 << "" << false << false << true
        << "<SELECT NAME=\"s\">\r\n  <OPTION VALUE=\"a=b\" selected>a=b</OPTION>\r\n</SELECT>";
    QTest::newRow("list, multiple, XHTML")
        << false << ab << -1 << "5" << true << true << false
        << "<select name=\"s\" size=\"5\" multiple=\"multiple\">\r\n"
           "  <option value=\"A\">A</option>\r\n  <option value=\"B\">B</option>\r\n</select>";
    QTest::newRow("list without items") << false << QStringList{} << -1 << "3" << false << false
                                        << false << "<select name=\"s\" size=\"3\">\r\n</select>";
    QTest::newRow("list, ampersand in item value")
        << false << QStringList{"R&D"} << -1 << "3" << false << false << false
        << "<select name=\"s\" size=\"3\">\r\n  <option value=\"R&amp;D\">R&D</option>\r\n"
           "</select>";
}

void TestFormMarkup::selects() {
    QFETCH(bool, dropDown);
    QFETCH(QStringList, items);
    QFETCH(int, selected);
    QFETCH(QString, lines);
    QFETCH(bool, multiple);
    QFETCH(bool, xhtml);
    QFETCH(bool, casse);
    QFETCH(QString, markup);
    const QString got = dropDown ? BuildDropDownMarkup({"s", items, selected}, xhtml, casse)
                                 : BuildListBoxMarkup({"s", items, lines, multiple}, xhtml, casse);
    QCOMPARE(got, markup);
}

void TestFormMarkup::oneLineControls_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("fields"); // name, then the kind's own fields
    QTest::addColumn<bool>("xhtml");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("markup");

    QTest::newRow("text, all fields")
        << "text" << QStringList{"n", "20", "40", "Votre \"nom\""} << true << false
        << "<input type=\"text\" name=\"n\" size=\"20\" maxlength=\"40\" value=\"Votre "
           "&quot;nom&quot;\" />\r\n";
    QTest::newRow("text, tag case") << "text" << QStringList{"nom", "", "", ""} << false << true
                                    << "<INPUT TYPE=\"text\" NAME=\"nom\">\r\n";
    QTest::newRow("reset button, tag case") << "button2" << QStringList{"", "Effacer"} << false
                                            << true << "<INPUT TYPE=\"reset\" VALUE=\"Effacer\">";
    QTest::newRow("file field, XHTML") << "file" << QStringList{"f", ""} << true << false
                                       << "<input type=\"file\" name=\"f\" />\r\n";
    QTest::newRow("hidden field") << "hidden" << QStringList{"id", "a&b"} << false << false
                                  << "<input type=\"hidden\" name=\"id\" value=\"a&amp;b\">\r\n";
    QTest::newRow("hidden field, empty value")
        << "hidden" << QStringList{"id", ""} << false << true
        << "<INPUT TYPE=\"hidden\" NAME=\"id\" VALUE=\"\">\r\n";
}

void TestFormMarkup::oneLineControls() {
    QFETCH(QString, kind);
    QFETCH(QStringList, fields);
    QFETCH(bool, xhtml);
    QFETCH(bool, casse);
    QFETCH(QString, markup);
    QString got;
    if (kind == "text")
        got = BuildTextFieldMarkup({fields[0], fields[1], fields[2], fields[3]}, xhtml, casse);
    else if (kind == "password")
        got = BuildPasswordMarkup({fields[0], fields[1], fields[2], fields[3]}, xhtml, casse);
    else if (kind.startsWith("button"))
        got = BuildButtonMarkup({ButtonType(kind.back().digitValue()), fields[0], fields[1]}, xhtml,
                                casse);
    else if (kind == "file")
        got = BuildFileFieldMarkup({fields[0], fields[1]}, xhtml, casse);
    else if (kind == "hidden")
        got = BuildHiddenFieldMarkup({fields[0], fields[1]}, xhtml, casse);
    else if (kind == "image")
        got = BuildImageButtonMarkup({fields[0], fields[1]}, xhtml, casse);
    QCOMPARE(got, markup);
}

void TestFormMarkup::textArea_data() {
    QTest::addColumn<int>("wrap");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("closing");
    QTest::newRow("defaults, no text")
        << 0 << QStringList{} << false << "<textarea name=\"t\" cols=\"40\" rows=\"2\">\r\n\r\n"
        << "</textarea>\r\n";
    QTest::newRow("wrap off, two lines")
        << 1 << QStringList{"un", "deux"} << false
        << "<textarea name=\"t\" cols=\"40\" rows=\"2\" wrap=\"off\">\r\nun\r\ndeux\r\n\r\n"
        << "</textarea>\r\n";
    QTest::newRow("virtual, tag case keeps the initial text")
        << 3 << QStringList{"nom=valeur", "<b>x=y</b>"} << true
        << "<TEXTAREA NAME=\"t\" COLS=\"40\" ROWS=\"2\" WRAP=\"virtual\">\r\nnom=valeur\r\n"
           "<b>x=y</b>\r\n\r\n"
        << "</TEXTAREA>\r\n";
}

void TestFormMarkup::textArea() {
    QFETCH(int, wrap);
    QFETCH(QStringList, lines);
    QFETCH(bool, casse);
    QFETCH(QString, opening);
    QFETCH(QString, closing);
    const WrapMarkup m = BuildTextAreaMarkup({"t", "2", "40", TextAreaWrap(wrap), lines}, casse);
    QCOMPARE(m.opening, opening);
    QCOMPARE(m.closing, closing);
}

void TestFormMarkup::textLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("one") << "a" << QStringList{"a"};
    QTest::newRow("final break adds no line") << "a\n" << QStringList{"a"};
    QTest::newRow("blank line kept") << "a\n\nb" << QStringList{"a", "", "b"};
    QTest::newRow("CR LF") << "a\r\nb" << QStringList{"a", "b"};
    QTest::newRow("only a break") << "\n" << QStringList{""};
}

void TestFormMarkup::textLines() {
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(TextLines(text), lines);
}

QTEST_APPLESS_MAIN(TestFormMarkup)
#include "tst_form_markup.moc"
