#include "authoring/table_markup.h"

#include <QTest>

using namespace Authoring;

class TestTableMarkup : public QObject {
    Q_OBJECT
private slots:
    void cellStoreBounds();
    void cellWalk_data();
    void cellWalk();
    void counts_data();
    void counts();
    void sizes_data();
    void sizes();
    void markup_data();
    void markup();
    void countThatIsNotANumber();
};

void TestTableMarkup::cellStoreBounds() {
    CellStore cells;
    cells.setCell(1, 1, "a");
    cells.setCell(99, 99, "z");
    for (const auto &[r, c] : {std::pair{0, 1}, {1, 0}, {100, 1}, {1, 100}, {-5, -5}}) {
        cells.setCell(r, c, "hors");
        QCOMPARE(cells.cell(r, c), QString());
    }
    QCOMPARE(cells.cell(1, 1), "a");
    QCOMPARE(cells.cell(99, 99), "z");
    QCOMPARE(cells.cell(1, 99), QString()); // rows do not run into each other
    QCOMPARE(cells.cell(2, 1), QString());
    cells.clear();
    QCOMPARE(cells.cell(99, 99), QString());
}

void TestTableMarkup::cellWalk_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("nextRow");
    QTest::addColumn<int>("nextColumn");
    QTest::newRow("next column") << 1 << 1 << 2 << 2 << 1 << 2;
    QTest::newRow("next row") << 1 << 2 << 2 << 2 << 2 << 1;
    QTest::newRow("last cell stays") << 2 << 2 << 2 << 2 << 2 << 2;
    QTest::newRow("one cell") << 1 << 1 << 1 << 1 << 1 << 1;
    QTest::newRow("single column") << 1 << 1 << 3 << 1 << 2 << 1;
    QTest::newRow("biggest table's end") << 99 << 99 << 99 << 99 << 99 << 99;
}

void TestTableMarkup::cellWalk() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, nextRow);
    QFETCH(int, nextColumn);
    QCOMPARE(NextCell({row, column}, rows, columns), (CellPos{nextRow, nextColumn}));
}

void TestTableMarkup::counts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count"); // -1: refused
    QTest::newRow("one") << "1" << 1;
    QTest::newRow("ninety-nine") << "99" << 99;
    QTest::newRow("zero kept") << "0" << 0;
    QTest::newRow("negative brought to zero") << "-4" << 0;
    QTest::newRow("too many brought down") << "150" << 99;
    QTest::newRow("huge") << "99999999999" << -1;
    QTest::newRow("spaces") << " 7 " << 7;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("letters") << "abc" << -1;
    QTest::newRow("digits and letters") << "3x" << -1;
}

void TestTableMarkup::counts() {
    QFETCH(QString, text);
    QFETCH(int, count);
    const std::optional<int> got = TableCount(text);
    QCOMPARE(got.value_or(-1), count);
}

void TestTableMarkup::sizes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    QTest::newRow("number") << "100"
                            << "100";
    QTest::newRow("zero emptied") << "0"
                                  << "";
    QTest::newRow("zeros emptied") << "000"
                                   << "";
    QTest::newRow("leading zero dropped") << "050"
                                          << "50";
    QTest::newRow("not a number") << "abc"
                                  << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestTableMarkup::sizes() {
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QCOMPARE(TableSizeText(text), kept);
}

void TestTableMarkup::markup_data() {
    QTest::addColumn<QStringList>("fields"); // name=value pairs over the defaults
    QTest::addColumn<bool>("casse");
    QTest::addColumn<QString>("markup");

    const QString abcd = "<tr>\r\n   <td>a</td>\r\n   <td>b</td>\r\n</tr>\r\n"
                         "<tr>\r\n   <td>c</td>\r\n   <td>d</td>\r\n</tr>\r\n</table>";
    QTest::newRow("example") << QStringList{"rows=2", "columns=2", "border=1"} << false
                             << "<table border=\"1\">\r\n" + abcd;
    QTest::newRow("defaults: one cell, border written")
        << QStringList{} << false
        << "<table border=\"0\">\r\n<tr>\r\n   <td>a</td>\r\n</tr>\r\n"
           "</table>";
    QTest::newRow("empty border still written")
        << QStringList{"border="} << false
        << "<table border=\"\">\r\n<tr>\r\n   <td>a</td>\r\n</tr>\r\n</table>";
    QTest::newRow("every attribute, in order")
        << QStringList{"width=100",   "width%",    "height=50", "border=2",
                       "align=right", "padding=0", "spacing=5", "colour=#FF0000"}
        << false
        << "<table width=\"100%\" height=\"50\" border=\"2\" align=\"right\" cellpadding=\"0\" "
           "cellspacing=\"5\" bgcolor=\"#FF0000\">\r\n<tr>\r\n   <td>a</td>\r\n</tr>\r\n</table>";
    QTest::newRow("width 0 and defaults never written")
        << QStringList{"width=0", "height=0", "height%", "padding=1", "spacing=2"} << false
        << "<table border=\"0\">\r\n<tr>\r\n   <td>a</td>\r\n</tr>\r\n</table>";
    QTest::newRow("empty spacing and padding left out")
        << QStringList{"padding=", "spacing=", "align=centre"} << false
        << "<table border=\"0\" align=\"center\">\r\n<tr>\r\n   <td>a</td>\r\n</tr>\r\n</table>";
    QTest::newRow("caption")
        << QStringList{"caption=Tarifs 2024"} << false
        << "<table border=\"0\">\r\n<caption>Tarifs 2024</caption>\r\n<tr>\r\n   <td>a</td>\r\n"
           "</tr>\r\n</table>";
    QTest::newRow("tag case: caption and cells keep their case")
        << QStringList{"rows=2",   "columns=2", "border=1", "caption=Prix=Total",
                       "width=80", "width%"}
        << true
        << "<TABLE WIDTH=\"80%\" BORDER=\"1\">\r\n<CAPTION>Prix=Total</CAPTION>\r\n"
           "<TR>\r\n   <TD>a</TD>\r\n   <TD>b</TD>\r\n</TR>\r\n"
           "<TR>\r\n   <TD>c</TD>\r\n   <TD>d</TD>\r\n</TR>\r\n</TABLE>";
    QTest::newRow("cells outside the counts kept but not written")
        << QStringList{"rows=1", "columns=1"} << false
        << "<table border=\"0\">\r\n<tr>\r\n   <td>a</td>\r\n</tr>\r\n</table>";
    QTest::newRow("zero rows: nothing") << QStringList{"rows=0", "columns=2"} << false << "";
    QTest::newRow("zero columns: nothing") << QStringList{"rows=3", "columns=0"} << false << "";
    QTest::newRow("colour escaped")
        << QStringList{"colour=\"red\""} << false
        << "<table border=\"0\" bgcolor=\"&quot;red&quot;\">\r\n<tr>\r\n   <td>a</td>\r\n</tr>\r\n"
           "</table>";
}

void TestTableMarkup::markup() {
    QFETCH(QStringList, fields);
    QFETCH(bool, casse);
    QFETCH(QString, markup);
    TableValues v;
    for (const QString &f : fields) {
        const QString name = f.section(u'=', 0, 0);
        const QString value = f.section(u'=', 1);
        if (name == "rows")
            v.rows = value;
        else if (name == "columns")
            v.columns = value;
        else if (name == "border")
            v.border = value;
        else if (name == "width")
            v.width = value;
        else if (name == "width%")
            v.widthPercent = true;
        else if (name == "height")
            v.height = value;
        else if (name == "height%")
            v.heightPercent = true;
        else if (name == "padding")
            v.padding = value;
        else if (name == "spacing")
            v.spacing = value;
        else if (name == "colour")
            v.bgColor = value;
        else if (name == "caption")
            v.caption = value;
        else if (name == "align")
            v.align = value == "right" ? TableAlign::Right : TableAlign::Centre;
        else
            QFAIL(qPrintable(f));
    }
    CellStore cells;
    cells.setCell(1, 1, "a");
    cells.setCell(1, 2, "b");
    cells.setCell(2, 1, "c");
    cells.setCell(2, 2, "d");
    QString error = "old";
    QCOMPARE(BuildTableMarkup(v, cells, casse, &error), markup);
    QVERIFY(error.isEmpty());
}

void TestTableMarkup::countThatIsNotANumber() {
    CellStore cells;
    for (const auto &[rows, columns, bad] :
         {std::tuple{"x", "2", "x"}, {"2", "", ""}, {"", "y", ""}}) {
        TableValues v;
        v.rows = rows;
        v.columns = columns;
        QString error;
        QCOMPARE(BuildTableMarkup(v, cells, false, &error), QString());
        QCOMPARE(error, QStringLiteral("'%1' n'est pas une valeur entière correcte").arg(bad));
    }
}

QTEST_APPLESS_MAIN(TestTableMarkup)
#include "tst_table_markup.moc"
