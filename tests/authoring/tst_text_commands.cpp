#include "authoring/insertion.h"
#include "authoring/list_markup.h"
#include "authoring/rule_markup.h"
#include "authoring/text_commands.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Authoring;

namespace {

const QString CRLF = QStringLiteral("\r\n");

QString lines(const QStringList &list) {
    return list.join(CRLF) + CRLF;
}

const EntityItem *entity(const QString &hint) {
    for (const EntityItem &item : EntityItems()) {
        if (item.hint == hint) return &item;
    }
    return nullptr;
}

// The list command on a CR LF document: widen lines first..last to whole lines, split
// them into items and put the built list in their place.
QString listCommand(const QString &doc, int first, int last, const ListValues &dialog) {
    const QStringList docLines = doc.split(CRLF);
    const LineRange range = SelectWholeLines({1, first}, {2, last}, int(docLines.size()),
                                             int(docLines.at(last - 1).size()));
    auto offset = [&](TextPos p) {
        qsizetype o = 0;
        for (int l = 1; l < p.line; ++l)
            o += docLines.at(l - 1).size() + 2;
        return o + p.column - 1;
    };
    const qsizetype s = offset(range.start);
    const qsizetype e = offset(range.end);
    const ListSource source = SplitSelectionIntoItems(doc.mid(s, e - s));
    ListValues values = dialog;
    values.items = source.items;
    return QString(doc).replace(s, e - s, BuildListMarkup(values, source, false));
}

} // namespace

class TestTextCommands : public QObject {
    Q_OBJECT
private slots:
    void commandTables();
    void formatDate_data();
    void formatDate();
    void entityText_data();
    void entityText();
    void splitSelection_data();
    void splitSelection();
    void listMarkup_data();
    void listMarkup();
    void listCommandOnDocument_data();
    void listCommandOnDocument();
    void ruleMarkup_data();
    void ruleMarkup();
};

void TestTextCommands::commandTables() {
    const auto &wraps = WrapCommands();
    QCOMPARE(wraps.size(), 28);
    QSet<QString> names;
    for (const WrapCommand &c : wraps) {
        QVERIFY2(!names.contains(c.name), qPrintable(c.name));
        names.insert(c.name);
        QCOMPARE(c.raw, c.name == QStringLiteral("TexteCommentaire"));
        if (!c.raw) {
            const QString tag =
                c.opening.mid(1).section(QRegularExpression(QStringLiteral("[ >]")), 0, 0);
            QCOMPARE(c.closing, QStringLiteral("</%1>").arg(tag));
        }
    }

    const auto &sizes = FontSizeItems();
    QCOMPARE(sizes.size(), 21);
    QCOMPARE(sizes.at(9).submenu, QStringLiteral("Au&gmenter la taille"));
    QCOMPARE(FontSizeOpening(sizes.at(9).caption), QStringLiteral("<font size=\"+3\">"));
    QCOMPARE(sizes.at(20).submenu, QStringLiteral("&Diminuer la taille"));
    QCOMPARE(sizes.at(20).caption, QStringLiteral("-7"));

    const auto &entities = EntityItems();
    QCOMPARE(entities.size(), 86);
    int accented = 0;
    QSet<QString> letters, groups, hints;
    for (const EntityItem &item : entities) {
        QVERIFY2(!hints.contains(item.hint), qPrintable(item.hint));
        hints.insert(item.hint);
        if (item.submenu == QStringLiteral("Caractères &Accentués")) {
            ++accented;
            letters.insert(item.subSubmenu);
            QCOMPARE(item.hint.mid(1, 1), item.subSubmenu); // under its base letter
        } else {
            QCOMPARE(item.submenu, QStringLiteral("&Caractères Spéciaux"));
            groups.insert(item.subSubmenu);
        }
        // Every caption's character has a code-page value.
        QVERIFY2(EntityText(item, false).startsWith(QStringLiteral("&#")), qPrintable(item.hint));
    }
    QCOMPARE(accented, 49);
    QCOMPARE(letters.size(), 12);
    QCOMPARE(groups.size(), 4);
    QVERIFY(!hints.contains(QStringLiteral("&Yuml;")));
    QCOMPARE(entity(QStringLiteral("&lt;"))->shortcut, QStringLiteral("Ctrl+<"));
    QCOMPARE(entity(QStringLiteral("&gt;"))->shortcut, QStringLiteral("Ctrl+Shift+<"));
    QCOMPARE(entity(QStringLiteral("&pound;"))->caption, QStringLiteral("£ (Livre)"));
}

void TestTextCommands::formatDate_data() {
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("text");

    const QDateTime july(QDate(2026, 7, 3), QTime(9, 5, 59));
    const QDateTime eve(QDate(2005, 12, 24), QTime(19, 53));
    QTest::newRow("default") << july << 0 << "09:05 03/07/2026";
    QTest::newRow("1") << july << 1 << "03/07/2026 09:05";
    QTest::newRow("2") << july << 2 << "03/07/2026";
    QTest::newRow("3") << july << 3 << "03/07/26";
    QTest::newRow("4") << july << 4 << "09:05";
    QTest::newRow("unknown value") << july << 7 << "09:05 03/07/2026";
    QTest::newRow("short year keeps its zero") << eve << 3 << "24/12/05";
}

void TestTextCommands::formatDate() {
    QFETCH(QDateTime, when);
    QFETCH(int, format);
    QFETCH(QString, text);
    QCOMPARE(FormatDate(when, format), text);
}

void TestTextCommands::entityText_data() {
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("numeric");

    QTest::newRow("e acute") << "&eacute;"
                             << "&#233;";
    QTest::newRow("euro") << "&euro;"
                          << "&#128;";
    QTest::newRow("ampersand") << "&amp;"
                               << "&#38;";
    QTest::newRow("less than") << "&lt;"
                               << "&#60;";
    QTest::newRow("ellipsis") << "&hellip;"
                              << "&#133;";
    QTest::newRow("OE ligature") << "&OElig;"
                                 << "&#140;";
}

void TestTextCommands::entityText() {
    QFETCH(QString, hint);
    QFETCH(QString, numeric);
    QVERIFY(entity(hint));
    QCOMPARE(EntityText(*entity(hint), true), hint);
    QCOMPARE(EntityText(*entity(hint), false), numeric);
}

void TestTextCommands::splitSelection_data() {
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("indent");
    QTest::addColumn<QStringList>("items");

    // clang-format off
    QTest::newRow("whole lines") << "  Pommes\r\n  Poires\r\n" << "  " << QStringList{"Pommes", "Poires"};
    QTest::newRow("document's last line") << "  Pommes\r\n  Poires" << "  " << QStringList{"Pommes", "Poires"};
    QTest::newRow("blank line, empty item") << "a\r\n   \r\nb\r\n" << "" << QStringList{"a", "", "b"};
    QTest::newRow("tab indent, inner spaces") << "\t\tun  deux \t\r\n" << "\t\t" << QStringList{"un  deux"};
    QTest::newRow("first line's indent") << "x\r\n    y\r\n" << "" << QStringList{"x", "y"};
    QTest::newRow("no-break space kept") << "\u00a0a\r\n" << "" << QStringList{"\u00a0a"};
    QTest::newRow("LF breaks") << " a\n b\n" << " " << QStringList{"a", "b"};
    // clang-format on
}

void TestTextCommands::splitSelection() {
    QFETCH(QString, selected);
    QFETCH(QString, indent);
    QFETCH(QStringList, items);
    const ListSource source = SplitSelectionIntoItems(selected);
    QCOMPARE(source.indent, indent);
    QCOMPARE(source.items, items);
    QCOMPARE(source.trailer, CRLF);

    const ListSource none = SplitSelectionIntoItems(QString());
    QVERIFY(none.items.isEmpty() && none.indent.isEmpty() && none.trailer.isEmpty());
}

void TestTextCommands::listMarkup_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("indent");
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("markup");

    const QStringList fruits{QStringLiteral("Pommes"), QStringLiteral("Poires")};
    // clang-format off
    QTest::newRow("ordered a, indented") << 5 << fruits << "2" << "  " << false
        << lines({"  <ol type=\"a\">", "    <li>Pommes</li>", "    <li>Poires</li>", "  </ol>"});
    QTest::newRow("tag case, items kept") << 5 << QStringList{"<b>x</b>"} << "1" << "" << true
        << lines({"<OL TYPE=\"a\">", "  <LI><b>x</b></LI>", "</OL>"});
    QTest::newRow("square bullets") << 2 << QStringList{"x"} << "1" << "" << false
        << lines({"<ul type=\"square\">", "  <li>x</li>", "</ul>"});
    QTest::newRow("count 0") << 8 << fruits << "0" << "" << false << lines({"<ol type=\"I\">", "</ol>"});
    QTest::newRow("count below the items") << 1 << fruits << "1" << "" << false
        << lines({"<ul>", "  <li>Pommes</li>", "</ul>"});
    QTest::newRow("count above the items") << 3 << QStringList{"a"} << "3" << "" << false
        << lines({"<ul type=\"circle\">", "  <li>a</li>", "  <li></li>", "  <li></li>", "</ul>"});
    QTest::newRow("empty count means 1") << 4 << fruits << "" << "" << false << lines({"<ol>", "  <li>Pommes</li>", "</ol>"});
    QTest::newRow("definitions, indented") << 9 << QStringList{"terme", "sens"} << "2" << "\t" << false
        << lines({"\t<dl>", "\t  <dt>terme</dt>", "\t    <dd>sens</dd>", "\t</dl>"});
    QTest::newRow("definitions, missing items") << 9 << QStringList{"t"} << "4" << "" << false
        << lines({"<dl>", "  <dt>t</dt>", "  <dd></dd>", "  <dt></dt>", "  <dd></dd>", "</dl>"});
    QTest::newRow("definitions, empty item") << 9 << QStringList{"t", ""} << "2" << "" << true
        << lines({"<DL>", "  <DT>t</DT>", "    <DD></DD>", "</DL>"});
    // clang-format on
}

void TestTextCommands::listMarkup() {
    QFETCH(int, button);
    QFETCH(QStringList, items);
    QFETCH(QString, count);
    QFETCH(QString, indent);
    QFETCH(bool, casse);
    QFETCH(QString, markup);

    const ListKind kind = button <= 3   ? ListKind::Bulleted
                          : button <= 8 ? ListKind::Ordered
                                        : ListKind::Definitions;
    const ListValues values{kind, button, items, count};
    const ListSource source{indent, items, CRLF};
    QCOMPARE(BuildListMarkup(values, source, casse), markup);
    // Without a selection there is no trailer.
    QCOMPARE(BuildListMarkup(values, {indent, items, QString()}, casse), markup.chopped(2));
}

void TestTextCommands::listCommandOnDocument_data() {
    QTest::addColumn<QString>("doc");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("result");

    const QString doc = QStringLiteral("<body>\r\n  Pommes\r\n  Poires\r\n</body>");
    // clang-format off
    QTest::newRow("middle lines") << doc << 5 << "2"
        << "<body>\r\n  <ol type=\"a\">\r\n    <li>Pommes</li>\r\n    <li>Poires</li>\r\n  </ol>\r\n</body>";
    QTest::newRow("fewer items: lines disappear") << doc << 1 << "1"
        << "<body>\r\n  <ul>\r\n    <li>Pommes</li>\r\n  </ul>\r\n</body>";
    QTest::newRow("definitions from indented lines") << doc << 9 << "2"
        << "<body>\r\n  <dl>\r\n    <dt>Pommes</dt>\r\n      <dd>Poires</dd>\r\n  </dl>\r\n</body>";
    QTest::newRow("last line gets an extra break") << QStringLiteral("x\r\n  Pommes\r\n  Poires") << 1 << "2"
        << "x\r\n  <ul>\r\n    <li>Pommes</li>\r\n    <li>Poires</li>\r\n  </ul>\r\n";
    // clang-format on
}

void TestTextCommands::listCommandOnDocument() {
    QFETCH(QString, doc);
    QFETCH(int, button);
    QFETCH(QString, count);
    QFETCH(QString, result);
    const ListKind kind = button <= 3   ? ListKind::Bulleted
                          : button <= 8 ? ListKind::Ordered
                                        : ListKind::Definitions;
    QCOMPARE(listCommand(doc, 2, 3, {kind, button, {}, count}), result);
}

void TestTextCommands::ruleMarkup_data() {
    QTest::addColumn<int>("align");
    QTest::addColumn<QString>("width");
    QTest::addColumn<bool>("percent");
    QTest::addColumn<QString>("thickness");
    QTest::addColumn<QString>("color");
    QTest::addColumn<bool>("effect3D");
    QTest::addColumn<bool>("xhtml");
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QString>("error");

    const int centre = int(RuleAlign::Centre);
    const QString badInt = QStringLiteral("'%1' n'est pas une valeur entière correcte");
    // clang-format off
    QTest::newRow("defaults") << centre << "100" << true << "2" << "" << true << false << "<hr>" << "";
    QTest::newRow("defaults, XHTML") << centre << "100" << true << "2" << "" << true << true << "<hr />" << "";
    QTest::newRow("every attribute") << int(RuleAlign::Right) << "50" << false << "1" << "#FF0000" << false << false
        << "<hr width=\"50\" size=\"1\" align=\"right\" color=\"#FF0000\" noshade>" << "";
    QTest::newRow("every attribute, XHTML") << int(RuleAlign::Left) << "75" << true << "3" << "red" << false << true
        << "<hr width=\"75%\" size=\"3\" align=\"left\" color=\"red\" noshade=\"noshade\" />" << "";
    QTest::newRow("100 pixels is written") << centre << "100" << false << "2" << "" << true << false << "<hr width=\"100\">" << "";
    QTest::newRow("empty width") << centre << "" << true << "2" << "" << true << false << "" << badInt.arg("");
    QTest::newRow("empty thickness") << centre << "100" << true << "" << "" << true << false << "" << badInt.arg("");
    QTest::newRow("too large") << centre << "99999999999" << true << "2" << "" << true << false << ""
                               << badInt.arg("99999999999");
    // clang-format on
}

void TestTextCommands::ruleMarkup() {
    QFETCH(int, align);
    QFETCH(QString, width);
    QFETCH(bool, percent);
    QFETCH(QString, thickness);
    QFETCH(QString, color);
    QFETCH(bool, effect3D);
    QFETCH(bool, xhtml);
    QFETCH(QString, markup);
    QFETCH(QString, error);

    QString message = QStringLiteral("stale");
    const RuleValues values{RuleAlign(align), width, percent, thickness, color, effect3D};
    QCOMPARE(BuildRuleMarkup(values, xhtml, &message), markup);
    QCOMPARE(message, error);
}

QTEST_APPLESS_MAIN(TestTextCommands)
#include "tst_text_commands.moc"
