#include "assist/completion.h"

#include <QTest>

using namespace Completion;

class TestCompletion : public QObject {
    Q_OBJECT
private slots:
    void elementList();
    void elementBeforeCaret_data();
    void elementBeforeCaret();
    void attributeLists_data();
    void attributeLists();
    void opening_data();
    void opening();
    void typedRun_data();
    void typedRun();
    void lineTail_data();
    void lineTail();
    void endCharacters_data();
    void endCharacters();
    void namesKeepTheirCharacters();
};

void TestCompletion::elementList() {
    const List l = BuildElementList(false);
    const int n = int(l.rows.size() - 1) / 2;
    QCOMPARE(int(l.rows.size()), 1 + 2 * n);
    QVERIFY(n >= 92 + 30);
    QCOMPARE(l.visibleRows, 10);
    QCOMPARE(l.rows[0], (Row{ElementTitle, "<", NoIcon}));
    QCOMPARE(l.rows[1], (Row{"a", "<a", ElementIcon}));
    QCOMPARE(l.rows[size_t(n + 1)], (Row{"/a", "</a", ElementIcon}));
    const auto find = [&](const QString &display) {
        return std::find_if(l.rows.begin(), l.rows.end(),
                            [&](const Row &r) { return r.display == display; });
    };
    QCOMPARE(find("Address")->insert, QStringLiteral("<address"));
    QCOMPARE(find("/Address")->insert, QStringLiteral("</address"));
    QVERIFY(find("section") != l.rows.end());
    QVERIFY(find("/video") != l.rows.end());
    const List upper = BuildElementList(true);
    QCOMPARE(upper.rows[1], (Row{"A", "<A", ElementIcon}));
    QCOMPARE(upper.rows[size_t(n + 1)].insert, QStringLiteral("</A"));
}

void TestCompletion::elementBeforeCaret_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("several tags then td") << "<tr><td>x</td><td align=\"left\" "
                                          << "<td";
    QTest::newRow("indented a") << "    <a href=\"x\" "
                                << "<a";
    QTest::newRow("ends with a tag") << "<p>texte</p>"
                                     << "";
    QTest::newRow("plain words") << "des mots simples"
                                 << "des";
    QTest::newRow("just <") << "texte <"
                            << "<";
    QTest::newRow("< then spaces") << "<   "
                                   << "<";
    QTest::newRow("tab cut") << "\t<img\tsrc"
                             << "<img";
    QTest::newRow(">") << "<b>"
                       << "";
    QTest::newRow("closing") << "</td"
                             << "</td";
}

void TestCompletion::elementBeforeCaret() {
    QFETCH(QString, line);
    QFETCH(QString, fragment);
    QCOMPARE(ElementBeforeCaret(line), fragment);
}

void TestCompletion::attributeLists_data() {
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("td") << "<td" << false << true << "abbr"
                        << "width";
    QTest::newRow("TD under Casse") << "<TD" << true << true << "ABBR"
                                    << "WIDTH";
    QTest::newRow("TD without Casse") << "<TD" << false << true << "abbr"
                                      << "width";
    QTest::newRow("no <") << "td" << false << false << ""
                          << "";
    QTest::newRow("closing") << "</td" << false << false << ""
                             << "";
    QTest::newRow("unknown") << "<blah" << false << false << ""
                             << "";
    QTest::newRow("video") << "<video" << false << true << "accesskey"
                           << "width";
}

void TestCompletion::attributeLists() {
    QFETCH(QString, fragment);
    QFETCH(bool, casse);
    QFETCH(bool, found);
    QFETCH(QString, first);
    QFETCH(QString, last);
    List l;
    QCOMPARE(BuildAttributeList(fragment, casse, &l), found);
    if (!found) {
        QVERIFY(l.isEmpty());
        return;
    }
    QCOMPARE(l.rows[0], (Row{AttributeTitle, QString(), NoIcon}));
    QCOMPARE(l.rows[1].display, first);
    QCOMPARE(l.rows.back().insert, last);
    QCOMPARE(l.visibleRows, std::min(10, int(l.rows.size())));
    for (const Row &r : l.rows)
        if (r.display.startsWith(casse ? "ON" : "on")) QCOMPARE(r.icon, int(EventIcon));
}

void TestCompletion::opening_data() {
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<bool>("html");
    QTest::addColumn<QString>("charLeft");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("title");
    QTest::newRow("< in HTML") << "<" << true << "<" << true << ElementTitle;
    QTest::newRow("< in a script") << "<" << false << "<" << false << "";
    QTest::newRow("attributes of td") << "<td" << true << " " << true << AttributeTitle;
    QTest::newRow("attributes outside HTML") << "<td" << false << " " << false << "";
    QTest::newRow("> finds nothing") << "" << true << ">" << false << "";
    QTest::newRow("unknown element") << "<xyz" << true << " " << false << "";
}

void TestCompletion::opening() {
    QFETCH(QString, fragment);
    QFETCH(bool, html);
    QFETCH(QString, charLeft);
    QFETCH(bool, opens);
    QFETCH(QString, title);
    Engine e;
    QCOMPARE(e.execute(fragment, html, charLeft.at(0), false), opens);
    // Both switches are off after every opening, until a real row is selected.
    QVERIFY(!e.endAcceptance());
    QVERIFY(!e.wordBreak());
    if (opens) QCOMPARE(e.list().rows[0].display, title);
    e.rowChanged(3);
    QVERIFY(e.endAcceptance() && e.wordBreak());
    e.rowChanged(0);
    QVERIFY(!e.endAcceptance() && !e.wordBreak());
}

void TestCompletion::typedRun_data() {
    QTest::addColumn<QString>("left");
    QTest::addColumn<bool>("wordBreak");
    QTest::addColumn<QString>("run");
    QTest::addColumn<int>("row"); // in the element list
    QTest::newRow("<") << "texte <" << false << "<" << 0;
    QTest::newRow("<ta") << "x <ta" << false << "<ta" << -1;
    QTest::newRow("</TA") << "</TA" << false << "</TA" << -2;
    QTest::newRow("nothing matches") << "<zz" << false << "<zz" << 0;
    QTest::newRow("after a space") << "<td " << false << "" << 0;
    QTest::newRow("empty run in the attribute list") << "<td " << true << "" << -3;
    QTest::newRow("word break cuts at -") << "<td data-x" << true << "x" << 0;
    QTest::newRow("no word break keeps -") << "<td data-x" << false << "data-x" << 0;
}

void TestCompletion::typedRun() {
    QFETCH(QString, left);
    QFETCH(bool, wordBreak);
    QFETCH(QString, run);
    QFETCH(int, row);
    const QString got = left.mid(typedRunStart(left, endSet(wordBreak)));
    QCOMPARE(got, run);
    List l = BuildElementList(false);
    if (row == -3) {
        QVERIFY(BuildAttributeList("<td", false, &l));
        row = 0; // the title, whose insert text is empty
    }
    const int selected = selectRow(l, got);
    if (row >= 0) {
        QCOMPARE(selected, row);
    } else {
        QVERIFY(selected > 0);
        QCOMPARE(l.rows[size_t(selected)].insert, row == -1 ? QString("<table") : "</table");
    }
}

void TestCompletion::lineTail_data() {
    QTest::addColumn<QString>("left");
    QTest::newRow("tags then td") << "<tr><td>x</td><td align=\"left\" ";
    QTest::newRow("indented a") << "    <a href=\"x\" ";
    QTest::newRow("ends with a tag") << "<p>texte</p>";
    QTest::newRow("words after a tag") << "<b>x</b> mot";
    QTest::newRow("word just after a tag") << "<b>x</b>mot";
    QTest::newRow("plain words") << "  des mots simples";
    QTest::newRow("< after a tag") << "<p>Été à <";
    QTest::newRow("run after accents") << "<p>é</p>àé<ta";
    QTest::newRow("closing run") << "<td>x</TA";
    QTest::newRow("> and spaces") << "<td>   ";
    QTest::newRow("just >") << ">";
    QTest::newRow("attribute with -") << "<p><meta http-equiv";
    QTest::newRow("nothing") << "";
}

// Reading only what follows the line's last ">" gives what the whole line gives.
void TestCompletion::lineTail() {
    QFETCH(QString, left);
    const QByteArray bytes = left.toUtf8();
    const LineTail t = Completion::lineTail(bytes.constData(), bytes.size());
    QCOMPARE(t.ElementBeforeCaret(), ElementBeforeCaret(left));
    QCOMPARE(t.charLeft(), left.isEmpty() ? QChar() : left.back());
    for (bool wordBreak : {false, true}) {
        const QString ends = endSet(wordBreak);
        QCOMPARE(t.typedRunStart(ends), left.left(typedRunStart(left, ends)).toUtf8().size());
    }
}

void TestCompletion::endCharacters_data() {
    QTest::addColumn<QString>("c");
    QTest::addColumn<bool>("wordBreak");
    QTest::addColumn<bool>("acceptance");
    QTest::addColumn<int>("outcome");
    QTest::newRow("letter") << "b" << true << true << int(KeyOutcome::Extend);
    QTest::newRow("> accepts a row") << ">" << false << true << int(KeyOutcome::Accept);
    QTest::newRow("> on the title row") << ">" << false << false << int(KeyOutcome::Close);
    QTest::newRow("space accepts") << " " << false << true << int(KeyOutcome::Accept);
    QTest::newRow("- without word break") << "-" << false << true << int(KeyOutcome::Extend);
    QTest::newRow("- with word break") << "-" << true << true << int(KeyOutcome::Accept);
    QTest::newRow("= closes on the title") << "=" << true << false << int(KeyOutcome::Close);
}

void TestCompletion::endCharacters() {
    QFETCH(QString, c);
    QFETCH(bool, wordBreak);
    QFETCH(bool, acceptance);
    QFETCH(int, outcome);
    QCOMPARE(int(typedCharacter(c.at(0), endSet(wordBreak), acceptance)), outcome);
}

void TestCompletion::namesKeepTheirCharacters() {
    const QString elements = endSet(BuildElementList(false), true);
    QVERIFY(!elements.contains('/'));
    QVERIFY(elements.contains('>') && elements.contains(' ') && elements.contains('-'));
    List meta;
    QVERIFY(BuildAttributeList("<meta", false, &meta));
    const QString attributes = endSet(meta, true);
    QVERIFY(!attributes.contains('-')); // http-equiv
    QVERIFY(attributes.contains('=') && attributes.contains('/'));
    // "</ti" stays one run when the closing rows are listed.
    const QString left = QStringLiteral("x </ti");
    QCOMPARE(left.mid(typedRunStart(left, elements)), QStringLiteral("</ti"));
}

QTEST_GUILESS_MAIN(TestCompletion)
#include "tst_completion.moc"
